#pragma once
// Reading the texts of a temporary voice: its voice text into voice symbols. Positions in the
// records are positions inside the voice text (the layout engine offsets them into the score).

#include <vector>

#include "format/abc_common.h"
#include "format/attach_branch.h"
#include "format/section_voice.h"

namespace nuo4 {

// The symbols of a temporary voice text, in order: its pieces (split at white space, brace
// groups kept) are read symbol after symbol until one does not read. Notes, bar lines,
// accompaniment markers, meters and texts are taken; the first symbol of another kind (a
// return) ends the voice there.
std::vector<TNuo4VoiceSymbolPtr> Branch_ReadVoiceSymbols(TText AVoiceText);

// A voice text is valid when it yields at least one symbol.
bool Branch_VoiceTextIsValid(TText AVoiceText);

}  // namespace nuo4
