#pragma once
// The item list of an extend symbol: music-font characters, each with an optional position
// and transform, written "{" item ", " item ... "}".

#include <functional>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/symbol_transform.h"

namespace nuo4 {

struct TrecNuo4AttachExtendDataItem {
    std::u16string Text_ABC;  // one or more characters written as escapes
    TNuo4PointF Pos;          // in units of the digit size
    TrecNuo4SymbolTransform2 Transform;

    bool IsValid() const { return !Text_ABC.empty(); }
    // [X, Y,] text [, Sx, Sy, bMirror, bItalic, RotateN] (the range without outer braces).
    bool FromABCText(TText AText, TKoRange ARange);
    std::u16string ToABCText(bool bWithDaKuoHao) const;
    bool operator==(const TrecNuo4AttachExtendDataItem&) const = default;
};

struct TrecNuo4AttachExtendData {
    std::vector<TrecNuo4AttachExtendDataItem> Items;

    // The range must begin with "{" and hold its matching "}"; items are read until one does
    // not, and the list reads when at least one item did. AEndPos is the closing "}".
    bool FromABCText(TText AText, TKoRange ARange, int32_t& AEndPos);
    bool FromABCText(TText AText);
    // The items, each in braces of its own, joined by ", " (in braces with bWithDaKuoHao).
    std::u16string ToABCText(bool bWithDaKuoHao) const;
    bool operator==(const TrecNuo4AttachExtendData&) const = default;
};

// Whether the music font has a glyph for the code point. The font lives in the render layer,
// which passes its test in; without one every code point counts as present.
using TNuo4GlyphExistsTest = std::function<bool(char16_t)>;

}  // namespace nuo4
