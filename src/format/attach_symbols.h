#pragma once
// Records of the attachment kinds and the value forms they take in an attachment item line
// (the part after "="). Each value reader gets the item's value ranges in order and returns
// success with the end of the last value it read; required values that do not read fail it,
// optional ones are skipped.

#include <cstdint>
#include <string>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/arc_styles.h"
#include "format/attach_extend.h"
#include "format/attach_often.h"
#include "format/note_style_index.h"
#include "format/symbol_control_options.h"
#include "format/symbol_transform.h"
#include "format/text_element.h"

namespace nuo4 {

// Occupancy of records that only know "takes vertical room" or not.
constexpr TNuo4AttachmentsOcupyTypes Nuo4OcupyUpDown = (1 << atotUp) | (1 << atotDown);
inline TNuo4AttachmentsOcupyTypes OcupyFromBool(bool bOcupy) {
    return bOcupy ? Nuo4OcupyUpDown : 0;
}

// ---- Special text --------------------------------------------------------------------------

struct TrecNuo4SymbolAttachText {
    TrecNuo4NoteStyleIndex NoteStyleIndex;  // written by the layout engine, not part of the text
    TNuo4FontUsage FontUsage = fuAttachText1;
    std::u16string Text_ABC;  // a standard text, escapes as written, at most 1000 characters
    TrecNuo4SymbolTransform2 Transform;
    TNuo4AttachmentsOcupyTypes Ocupy = 0;
    TNuo4Color Color = Nuo4DefaultColor;

    void SetToDefault() { *this = TrecNuo4SymbolAttachText(); }
    void SetABCText(TText AText);
    void SetABCTextFromEscapedText(TText AText) { SetABCText(AText); }
    // Escapes a plain text so that it reads back unchanged from an item line: besides the
    // usual escapes, commas and braces (which would split the value or open a group) and
    // white space at either end (which the value trim would drop) are written coded.
    void SetABCTextFromRealText(TText AText);
    void SetABCTextToSolidLine(bool bVert, float ALength);  // "{slv:%.1f}" / "{slh:%.1f}"
    void SetABCTextToWaveLine(bool bVert, float ALength);   // "{wlv:%.1f}" / "{wlh:%.1f}"
    // Reset to the defaults, then the boxed bar number / a wave line with that occupancy.
    void InitializeToBarNumber(int32_t ABarNumber, TNuo4AttachmentsOcupyTypes AOcupy);
    void InitializeToWaveLine(bool bVert, float ALength, TNuo4AttachmentsOcupyTypes AOcupy);

    // The elements of the text.
    TNuo4TextElementArray GetElementArray() const { return GetElementArray_FromABCText(Text_ABC); }
    // The only element of a text of exactly one element.
    bool GetSingleElement(TRecNuo4TextElement& AElement) const;
    // Each is true for a text of exactly one element of that kind and gives its data.
    bool IsNormalText(std::u16string& AText) const;
    // A normal text in the part-name font.
    bool IsPartName(std::u16string& AText) const;
    bool IsBarNumber(std::u16string& ABarNumber) const;
    bool IsPureNote(TrecNuo4MusicPureNote& ANote) const;
    bool IsChord_SingleNote(TrecNuo4Pitch& APitch) const;
    bool IsGeneralLine(TNuo4GeneralLineType& AType, bool& bVert, float& ALength) const;
    bool IsSolidLine(bool& bVert, float& ALength) const;
    bool IsWaveLine(bool& bVert, float& ALength) const;
    bool IsRectangle(TrecNuo4SizeF& ASize, bool& bDashed, bool& bFilled) const;
    bool IsEllipse(TrecNuo4SizeF& ASize, bool& bDashed, bool& bFilled) const;
    bool IsArc(float& ALength, int32_t& AStyle) const;
    // A text that starts with "转" and holds a key-and-meters element with a valid key.
    bool IsKeyChange(TrecNuo4KeySignature& AKey) const;
    // A single wave, solid or general line, rectangle or arc. bVert: a vertical line or a
    // rectangle taller than wide; ALength: the line's length, the rectangle's longer side.
    bool IsLineSymbol(bool& bVert, float& ALength) const;
    bool IsLineSymbol() const {
        bool V;
        float L;
        return IsLineSymbol(V, L);
    }
    // "%s, %s, %s, %s, %s": usage, text, transform in braces, occupancy, colour.
    std::u16string ToABCText() const;
    // At least 2 values: usage and text required; transform, occupancy, colour optional.
    bool FromABCValues(TText AText, const TKoRangeArray& AValues, TNuo4ABCTokenInfoItems& ATokens,
                       int32_t& AEndPos);
    bool operator==(const TrecNuo4SymbolAttachText&) const = default;
};

// ---- Special volta and lines ---------------------------------------------------------------

enum TNuo4AttachFangZiType : uint8_t {
    afztFangZi,
    afztRepeatNoCount,
    afztDashedLine,
    afztLine,
    afztWaveLine,
};
const char* EnumName(TNuo4AttachFangZiType AValue);

struct TrecNuo4SymbolAttachFangZi {
    TrecNuo4NoteStyleIndex NoteStyleIndex;  // written by the layout engine, not part of the text
    TNuo4AttachFangZiType FangZiType = afztFangZi;
    TNuo4LineSymbolContinueStyle ContinueStyle = lscsFull;
    float Length = 30.0f;
    std::u16string Text_ABC = u"1.";  // at most 200 characters
    bool bOcupy = true;
    bool bAutoAlign = false;

    void SetToDefault(TNuo4AttachFangZiType AFangZiType,
                      TNuo4LineSymbolContinueStyle AContinueStyle, bool AbAutoAlign);
    TNuo4AttachmentsOcupyTypes Ocupy() const { return OcupyFromBool(bOcupy); }
    // "%s, %.2f, %s, %s, %s": type word (the continue style for a volta), length, text,
    // bOcupy, bAutoAlign.
    std::u16string ToABCText() const;
    // At least 3 values: type word, length, text required; bOcupy and bAutoAlign optional,
    // bAutoAlign true when the line has fewer than five values.
    bool FromABCValues(TText AText, const TKoRangeArray& AValues, TNuo4ABCTokenInfoItems& ATokens,
                       int32_t& AEndPos);
    bool operator==(const TrecNuo4SymbolAttachFangZi&) const = default;
};

// ---- Special arc ---------------------------------------------------------------------------

struct TrecNuo4SymbolAttachArc {
    TrecNuo4NoteStyleIndex NoteStyleIndex;  // written by the layout engine, not part of the text
    TNuo4LineSymbolContinueStyle ContinueStyle = lscsFull;
    float Length_Full = 10.0f;
    float Length_LeftOrRight = 5.0f;
    TNuo4SymbolArcShape Shape = assEllipseFill;
    int32_t TupletNumber = 0;
    bool bAutoAlign = false;
    bool bOcupy = true;
    TNuo4ArcArrowStyle ArrowStyle = aasNone;

    // The shape comes from the document's default arc shape (the process-wide options).
    void SetToDefault(TNuo4LineSymbolContinueStyle AContinueStyle, bool AbAutoAlign);
    bool IsFull() const { return ContinueStyle == lscsFull; }
    float GetLength() const { return IsFull() ? Length_Full : Length_LeftOrRight; }
    // A part of a split arc is half of the whole arc.
    void SetLength(float ALength);
    TNuo4AttachmentsOcupyTypes Ocupy() const { return OcupyFromBool(bOcupy); }
    // "%s, %d, %.2f, %.2f, %d, %s, %d, %s": continue style, shape, the two lengths, tuplet
    // number, bOcupy, arrow style, bAutoAlign.
    std::u16string ToABCText() const;
    bool FromABCValues(TText AText, const TKoRangeArray& AValues, TNuo4ABCTokenInfoItems& ATokens,
                       int32_t& AEndPos);
    bool operator==(const TrecNuo4SymbolAttachArc&) const = default;
};

// ---- Crescendo and diminuendo --------------------------------------------------------------

struct TrecNuo4SymbolAttachDynamic {
    TrecNuo4NoteStyleIndex NoteStyleIndex;  // written by the layout engine, not part of the text
    float Length = 15.0f;
    bool bJianRuo = false;  // diminuendo; false is a crescendo
    bool bPartial = false;  // open at the narrow end
    bool bOcupy = true;

    void SetToDefault() { *this = TrecNuo4SymbolAttachDynamic(); }
    void Initialize(float ALength, bool AbJianRuo, bool AbPartial, bool AbOcupy);
    TNuo4AttachmentsOcupyTypes Ocupy() const { return OcupyFromBool(bOcupy); }
    std::u16string ToABCText() const;  // "%.2f, %s, %s, %s"
    bool FromABCValues(TText AText, const TKoRangeArray& AValues, TNuo4ABCTokenInfoItems& ATokens,
                       int32_t& AEndPos);
    bool operator==(const TrecNuo4SymbolAttachDynamic&) const = default;
};

// ---- Often-used mark -----------------------------------------------------------------------

struct TrecNuo4SymbolAttachOften {
    TrecNuo4NoteStyleIndex NoteStyleIndex;  // written by the layout engine, not part of the text
    TNuo4AttachmentsGroupItemType_Often ItemType = agitoHuanQi;
    TrecNuo4SymbolTransform2 Transform;
    TNuo4AttachmentsOcupyTypes Ocupy = 0;

    // Transform and occupancy from the often-used table.
    void Initialize(TNuo4AttachmentsGroupItemType_Often AItemType);
    void SetToDefault() { Initialize(agitoHuanQi); }
    std::u16string ToABCText() const;  // "%s, %s, %s": name, transform in braces, occupancy
    bool FromABCValues(TText AText, const TKoRangeArray& AValues, TNuo4ABCTokenInfoItems& ATokens,
                       int32_t& AEndPos);
    bool operator==(const TrecNuo4SymbolAttachOften&) const = default;
};

// ---- Extend symbol -------------------------------------------------------------------------

struct TrecNuo4SymbolAttachExtend {
    TrecNuo4NoteStyleIndex NoteStyleIndex;  // written by the layout engine, not part of the text
    std::u16string Text_ABC;                // the item list, at most 1000 characters
    TrecNuo4SymbolTransform2 Transform;
    TNuo4AttachmentsOcupyTypes Ocupy = 0;

    void SetToDefault() { *this = TrecNuo4SymbolAttachExtend(); }
    // The one-item list "{\x%.4x}" of the character with scale (AScaleX, AScaleY).
    void Initialize(char16_t AUnicode, float AScaleX, float AScaleY,
                    TNuo4AttachmentsOcupyTypes AOcupy);
    void Initialize(TText AText_ABC, float AScaleX, float AScaleY,
                    TNuo4AttachmentsOcupyTypes AOcupy, bool AbMirror, bool AbItalic,
                    TNuo4RotateType ARotateType);
    // Reads Text_ABC as an item list.
    bool GetData(TrecNuo4AttachExtendData& AValue) const;
    bool IsSingleChar() const;
    // One item whose resolved text is one character, and that character.
    bool IsSingleChar(char16_t& AUnicode) const;
    // The single character U+F0D4 (a square bracket drawn as a character).
    bool IsBrace_ZhiKuoHao() const;
    // The single character U+F00C (a horizontal line).
    bool IsLineSymbol() const;
    // Move the first character of the first item to the next or previous code point when the
    // music font has a glyph there (AGlyphExists); the item text is stored again as forced
    // escapes. False, with nothing changed, when there is no such glyph or no item.
    bool EditFirstChar_Next(const TNuo4GlyphExistsTest& AGlyphExists = {});
    bool EditFirstChar_Prev(const TNuo4GlyphExistsTest& AGlyphExists = {});
    // The list alone, "list, transform" or "list, transform, occupancy".
    std::u16string ToABCText() const;
    bool FromABCValues(TText AText, const TKoRangeArray& AValues, TNuo4ABCTokenInfoItems& ATokens,
                       int32_t& AEndPos);
    bool operator==(const TrecNuo4SymbolAttachExtend&) const = default;

  private:
    bool EditFirstChar(int ADelta, const TNuo4GlyphExistsTest& AGlyphExists);
};

// ---- Brace ---------------------------------------------------------------------------------

enum TNuo4AttachBraceStyle : uint8_t { absZhiKuoHao, absHuaKuoHao, absHuaKuoHao2 };
const char* EnumName(TNuo4AttachBraceStyle AValue);
enum TNuo4AttachBraceDirection : uint8_t { abdUp, abdDown, abdLeft, abdRight };
const char* EnumName(TNuo4AttachBraceDirection AValue);

struct TrecNuo4SymbolAttachBrace {
    TrecNuo4NoteStyleIndex NoteStyleIndex;  // written by the layout engine, not part of the text
    TrecNuo4SymbolControlOptions ControlOptions;  // not part of the text either
    TNuo4AttachmentsOcupyTypes Ocupy = 0;
    float Length = 15.0f;
    TNuo4AttachBraceStyle Style = absZhiKuoHao;
    TNuo4AttachBraceDirection Direction = abdRight;
    float Length_ExtraLine = 0;

    void SetToDefault() { *this = TrecNuo4SymbolAttachBrace(); }
    bool StyleIsZhiKuoHao() const { return Style == absZhiKuoHao; }
    bool StyleIsHuaKuoHao2() const { return Style == absHuaKuoHao2; }
    // Only the square bracket and the second curly style draw an extra line.
    float GetExtraLineLength() const {
        return (StyleIsZhiKuoHao() || StyleIsHuaKuoHao2()) && Length_ExtraLine > 0
                   ? Length_ExtraLine
                   : 0.0f;
    }
    float GetTotalLength() const { return Length + GetExtraLineLength(); }
    bool GetWithExtraLine() const { return GetExtraLineLength() > 0; }
    // "%s, %s, %.1f, %s" and, when there is an extra line, its length with two decimals.
    std::u16string ToABCText() const;
    // At least 4 values: style, direction, length, occupancy; the extra line optional.
    bool FromABCValues(TText AText, const TKoRangeArray& AValues, TNuo4ABCTokenInfoItems& ATokens,
                       int32_t& AEndPos);
    bool operator==(const TrecNuo4SymbolAttachBrace&) const = default;
};

// ---- Value helpers shared by the kinds -----------------------------------------------------

namespace attach_values {
// A whole value as a number / an integer / a boolean.
bool Number(TText AText, TKoRange AValue, float& AResult);
bool Integer(TText AText, TKoRange AValue, int32_t& AResult);
bool Bool(TText AText, TKoRange AValue, bool& AResult);
// Moves AEndPos to the end of a value that was read.
void Took(TKoRange AValue, int32_t& AEndPos);
}  // namespace attach_values

}  // namespace nuo4
