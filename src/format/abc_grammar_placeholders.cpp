// Stand-ins for the section item grammars that have not landed yet: every reader recognises
// nothing and every writer writes nothing, so the scanner can be built and tested on its own.
// Each block belongs to the owner of one section header; whoever connects the real grammar
// deletes that block.

#include "format/section_lyrics.h"

namespace nuo4 {

// ==== Lyrics (section_lyrics.h) ===============================================================

bool Lyrics_StartsWithVersePrefix(TText, TKoRange) {
    return false;
}

void ScanLyrics(const TNuo4ABCScanLines&, TrecNuo4ABCParseInfo_Section_Lyrics&) {}

}  // namespace nuo4
