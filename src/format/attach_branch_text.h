#pragma once
// Reading the texts of a temporary voice: its voice text into voice symbols and its lyrics text
// into verses. Positions in the voice records are positions inside the voice text (the layout
// engine offsets them into the score); positions in the verses are positions inside the
// decoded lyrics text.

#include <vector>

#include "format/abc_common.h"
#include "format/attach_branch.h"
#include "format/section_lyrics.h"
#include "format/section_voice.h"

namespace nuo4 {

// The symbols of a temporary voice text, in order: its pieces (split at white space, brace
// groups kept) are read symbol after symbol until one does not read. Notes, bar lines,
// accompaniment markers, meters and texts are taken; the first symbol of another kind (a
// return) ends the voice there.
std::vector<TNuo4VoiceSymbolPtr> Branch_ReadVoiceSymbols(TText AVoiceText);

// A voice text is valid when it yields at least one symbol.
bool Branch_VoiceTextIsValid(TText AVoiceText);

// The verses of a temporary voice's lyrics text. The text is trimmed (empty: no verses),
// decoded (so line breaks are written "\n") and split into lines; each trimmed line is the
// verse of its index: its own verse prefix when it begins with one, otherwise a default prefix
// for verse number = line index that takes no room (bOcupy false), then the lyrics read one
// after another. An empty line leaves an empty, invalid verse at its index.
std::vector<TrecNuo4ABCParseInfo_Lyrics_Verse> Branch_ReadLyricsVerses(TText ALyricsText);

}  // namespace nuo4
