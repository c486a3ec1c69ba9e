#pragma once
// Sections of the symbol specimen ("nuo4-cli glyphs --symbols"): each draws real symbols onto a
// millimetre surface from a top-left point within a width and returns the height it used.

#ifdef NUO4_CLI_WITH_RENDER

#include <vector>

#include "render/draw_utils.h"

namespace nuo4::cli {

struct TSymbolSpecimenSection {
    const char* Title;
    double (*Draw)(TKoGraphics& G, double AX, double AY, double AWidth);
};

// Bar lines (plain and script), voltas, meters and markers, keys, tempo marks, standard texts
// and the paragraph mark.
const std::vector<TSymbolSpecimenSection>& BasicSymbolSpecimenSections();

// Notes in every duration, octave, accidental, digit face and sub style, rests and drums,
// chords in both spacing modes, grace groups before and after, articulations.
const std::vector<TSymbolSpecimenSection>& NoteSymbolSpecimenSections();

}  // namespace nuo4::cli

#endif
