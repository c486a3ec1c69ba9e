#pragma once
// The process-wide settings that symbol drawing consults: highlight colours, the switches of
// auxiliary information on the score view, and the colour new symbols take.

#include "render/draw_utils.h"

namespace nuo4 {

struct TrecNuo4SymbolViewSettings {
    TGPColor HighlightColor = 0x800000FFu;    // foreground of highlighted symbols
    TGPColor HighlightBkColor = 0xFFF0F8FFu;  // background of highlighted symbols
    // Hidden parts are drawn faintly (alpha 32) instead of not at all.
    bool bShowAuxInfo_HidedSymbol = true;
    // Paragraph marks are drawn at all.
    bool bShowAuxInfo_ReturnSymbol = true;
    bool bShowAuxInfo_LyricVerseStart = true;
    TGPColor LyricVerseStartBkColor = 0x40808080u;
    bool bShowAuxInfo_AttachmentsBk = true;
    TGPColor AttachmentsBkColor = 0x20A52A2Au;
    bool bShowAuxInfo_PageSymbolBk = true;
    TGPColor PageSymbolBkColor = 0x20FFFF00u;

    void SetToDefault() { *this = TrecNuo4SymbolViewSettings(); }
    // The alpha of hidden parts.
    uint8_t GhostAlpha() const { return bShowAuxInfo_HidedSymbol ? 32 : 0; }
};

// The settings in force (user-interface thread only).
TrecNuo4SymbolViewSettings& Nuo4SymbolViewSettings();

constexpr TGPColor Nuo4ReturnSymbolColor = 0xFFD3D3D3u;  // paragraph marks: light grey

// The colour of a new symbol, an application option; opaque black unless changed.
TGPColor Nuo4DefaultSymbolColor();
void Nuo4SetDefaultSymbolColor(TGPColor AColor);

}  // namespace nuo4
