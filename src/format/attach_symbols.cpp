#include "format/attach_symbols.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "format/doc_options.h"

namespace nuo4 {

const char* EnumName(TNuo4SymbolArcShape AValue) {
    static constexpr const char* Names[] = {"assEllipseFill", "assEllipseStroke", "assFlatFill",
                                            "assFlatStroke"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

const char* EnumName(TNuo4ArcArrowStyle AValue) {
    static constexpr const char* Names[] = {"aasNone", "aasArrow", "aasDot", "aasArrowAndDot",
                                            "aasHorzLine"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

const char* EnumName(TNuo4AttachFangZiType AValue) {
    static constexpr const char* Names[] = {"afztFangZi", "afztRepeatNoCount", "afztDashedLine",
                                            "afztLine", "afztWaveLine"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

const char* EnumName(TNuo4AttachBraceStyle AValue) {
    static constexpr const char* Names[] = {"absZhiKuoHao", "absHuaKuoHao", "absHuaKuoHao2"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

const char* EnumName(TNuo4AttachBraceDirection AValue) {
    static constexpr const char* Names[] = {"abdUp", "abdDown", "abdLeft", "abdRight"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

namespace attach_values {

bool Number(TText AText, TKoRange AValue, float& AResult) {
    float V;
    int32_t End;
    if (!ABC_ParseFloat(AText, AValue, true, V, End)) return false;
    AResult = V;
    return true;
}

bool Integer(TText AText, TKoRange AValue, int32_t& AResult) {
    int32_t V, End;
    if (!ABC_ParseInt(AText, AValue, V, End) || End != AValue.EndIndex()) return false;
    AResult = V;
    return true;
}

bool Bool(TText AText, TKoRange AValue, bool& AResult) {
    bool V;
    int32_t End;
    if (!ABC_ParseBool(AText, AValue, true, V, End)) return false;
    AResult = V;
    return true;
}

void Took(TKoRange AValue, int32_t& AEndPos) {
    if (AValue.IsNonEmpty() && AValue.EndIndex() > AEndPos) AEndPos = AValue.EndIndex();
}

}  // namespace attach_values

using namespace attach_values;

namespace {

const TKoRange kNoValue = TKoRange::Invalid();

TKoRange ValueAt(const TKoRangeArray& AValues, size_t AIndex) {
    return AIndex < AValues.size() ? AValues[AIndex] : kNoValue;
}

// Optional transform value; skipped when it does not read.
void OptionalTransform(TText AText, TKoRange AValue, TrecNuo4SymbolTransform2& ATransform,
                       TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    int32_t End;
    if (ReadSymbolTransform(AText, AValue, ATransform, End, &ATokens)) Took(AValue, AEndPos);
}

bool ReadOcupy(TText AText, TKoRange AValue, TNuo4AttachmentsOcupyTypes& AOcupy,
               TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    TNuo4AttachmentsOcupyTypes O;
    int32_t End;
    if (!ABC_ParseOcupy(AText, AValue, O, End) || End != AValue.EndIndex()) return false;
    AOcupy = O;
    ATokens.AddItem(ttOcupy, AValue);
    Took(AValue, AEndPos);
    return true;
}

bool ReadBoolValue(TText AText, TKoRange AValue, bool& AResult, TNuo4ABCTokenInfoItems& ATokens,
                   int32_t& AEndPos) {
    if (!Bool(AText, AValue, AResult)) return false;
    ATokens.AddItem(ttBool, AValue);
    Took(AValue, AEndPos);
    return true;
}

bool ReadNumberValue(TText AText, TKoRange AValue, float& AResult, TNuo4ABCTokenInfoItems& ATokens,
                     int32_t& AEndPos) {
    if (!Number(AText, AValue, AResult)) return false;
    ATokens.AddItem(ttNumber, AValue);
    Took(AValue, AEndPos);
    return true;
}

bool ReadIntegerValue(TText AText, TKoRange AValue, int32_t& AResult,
                      TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    if (!Integer(AText, AValue, AResult)) return false;
    ATokens.AddItem(ttNumber, AValue);
    Took(AValue, AEndPos);
    return true;
}

// A text value taken raw; an empty piece is an empty text (the writer produces one).
std::u16string RawText(TText AText, TKoRange AValue, size_t ACapacity,
                       TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    if (AValue.IsNonEmpty()) {
        ATokens.AddItem(ttString, AValue);
        Took(AValue, AEndPos);
    }
    return ABC_CutToCapacity(ABC_GetRangeText(AText, AValue), ACapacity);
}

std::u16string Join(std::initializer_list<std::u16string> AParts) {
    std::u16string S;
    for (const auto& P : AParts) {
        if (!S.empty()) S += u", ";
        S += P;
    }
    return S;
}

// A raw text as an item value. A "{" without its "}" would make the list split swallow the
// values after it, a comma outside braces would split the text, white space at either end would
// be trimmed, and "/*" or " //" would hide the rest of the score as a comment (all only arise
// when a text was read as the last value, cut to its capacity or set by a program): they are
// written coded, so the text reads back as one value with the same meaning instead of growing
// on every rewrite.
std::u16string CodedTextValue(TText AText) {
    return ABC_GuardText(AText, tgCommas | tgOpenBraces | tgEndWhite);
}

// The coded text is what the reader stores again, so it must fit the capacity; otherwise the
// text is shortened until it does (the reader would cut it anyway, possibly inside an escape).
std::u16string TextValue(const std::u16string& AText, size_t ACapacity) {
    std::u16string S = CodedTextValue(AText);
    if (S.size() <= ACapacity) return S;
    size_t Lo = 0, Hi = AText.size();  // the longest prefix whose coded form fits
    while (Lo < Hi) {
        const size_t Mid = (Lo + Hi + 1) / 2;
        if (CodedTextValue(TText(AText).substr(0, Mid)).size() <= ACapacity)
            Lo = Mid;
        else
            Hi = Mid - 1;
    }
    return CodedTextValue(TText(AText).substr(0, Lo));
}

std::u16string LineText(const char16_t* APrefix, float ALength) {
    return u"{" + std::u16string(APrefix) + ABC_FormatFloat(ALength, 1) + u"}";
}

}  // namespace

// ---- Special text --------------------------------------------------------------------------

void TrecNuo4SymbolAttachText::SetABCText(TText AText) {
    Text_ABC = ABC_CutToCapacity(std::u16string(AText), Nuo4CharArray2Capacity);
}

void TrecNuo4SymbolAttachText::SetABCTextFromRealText(TText AText) {
    std::u16string S;
    for (size_t I = 0; I < AText.size(); ++I) {
        const char16_t C = AText[I];
        const bool bAtEnd = I == 0 || I + 1 == AText.size();
        if (C == u',' || C == u'{' || C == u'}')
            S += ABC_EscapeChar(C, false, true);
        else
            S += ABC_EscapeChar(C, bAtEnd);  // the only white written raw is an inner space
    }
    // "/*" and " //" would open a comment in the score.
    SetABCText(ABC_GuardText(S));
}

void TrecNuo4SymbolAttachText::SetABCTextToSolidLine(bool bVert, float ALength) {
    SetABCText(LineText(bVert ? u"slv:" : u"slh:", ALength));
}

void TrecNuo4SymbolAttachText::SetABCTextToWaveLine(bool bVert, float ALength) {
    SetABCText(LineText(bVert ? u"wlv:" : u"wlh:", ALength));
}

void TrecNuo4SymbolAttachText::InitializeToBarNumber(int32_t ABarNumber,
                                                     TNuo4AttachmentsOcupyTypes AOcupy) {
    SetToDefault();
    SetABCText(GetABCText_BarNumber(ABarNumber));
    Ocupy = AOcupy;
}

void TrecNuo4SymbolAttachText::InitializeToWaveLine(bool bVert, float ALength,
                                                    TNuo4AttachmentsOcupyTypes AOcupy) {
    SetToDefault();
    SetABCTextToWaveLine(bVert, ALength);
    Ocupy = AOcupy;
}

bool TrecNuo4SymbolAttachText::GetSingleElement(TRecNuo4TextElement& AElement) const {
    const TNuo4TextElementArray E = GetElementArray();
    if (E.size() != 1) return false;
    AElement = E[0];
    return true;
}

bool TrecNuo4SymbolAttachText::IsNormalText(std::u16string& AText) const {
    TRecNuo4TextElement E;
    return GetSingleElement(E) && E.IsNormalText(AText);
}

bool TrecNuo4SymbolAttachText::IsPartName(std::u16string& AText) const {
    return FontUsage == fuPartName && IsNormalText(AText);
}

bool TrecNuo4SymbolAttachText::IsBarNumber(std::u16string& ABarNumber) const {
    TRecNuo4TextElement E;
    return GetSingleElement(E) && E.IsBarNumber(ABarNumber);
}

bool TrecNuo4SymbolAttachText::IsPureNote(TrecNuo4MusicPureNote& ANote) const {
    TRecNuo4TextElement E;
    return GetSingleElement(E) && E.IsPureNote(ANote);
}

bool TrecNuo4SymbolAttachText::IsChord_SingleNote(TrecNuo4Pitch& APitch) const {
    TRecNuo4TextElement E;
    return GetSingleElement(E) && E.IsChord_SingleNote(APitch);
}

bool TrecNuo4SymbolAttachText::IsGeneralLine(TNuo4GeneralLineType& AType, bool& bVert,
                                             float& ALength) const {
    TRecNuo4TextElement E;
    return GetSingleElement(E) && E.IsGeneralLine(AType, bVert, ALength);
}

bool TrecNuo4SymbolAttachText::IsSolidLine(bool& bVert, float& ALength) const {
    TRecNuo4TextElement E;
    return GetSingleElement(E) && E.IsSolidLine(bVert, ALength);
}

bool TrecNuo4SymbolAttachText::IsWaveLine(bool& bVert, float& ALength) const {
    TRecNuo4TextElement E;
    return GetSingleElement(E) && E.IsWaveLine(bVert, ALength);
}

bool TrecNuo4SymbolAttachText::IsRectangle(TrecNuo4SizeF& ASize, bool& bDashed,
                                           bool& bFilled) const {
    TRecNuo4TextElement E;
    return GetSingleElement(E) && E.IsRectangle(ASize, bDashed, bFilled);
}

bool TrecNuo4SymbolAttachText::IsEllipse(TrecNuo4SizeF& ASize, bool& bDashed, bool& bFilled) const {
    TRecNuo4TextElement E;
    return GetSingleElement(E) && E.IsEllipse(ASize, bDashed, bFilled);
}

bool TrecNuo4SymbolAttachText::IsArc(float& ALength, int32_t& AStyle) const {
    TRecNuo4TextElement E;
    return GetSingleElement(E) && E.IsArc(ALength, AStyle);
}

bool TrecNuo4SymbolAttachText::IsKeyChange(TrecNuo4KeySignature& AKey) const {
    static constexpr char16_t Zhuan = u'\u8F6C';
    const size_t P = Text_ABC.find_first_not_of(u' ');
    if (P == std::u16string::npos || Text_ABC[P] != Zhuan) return false;
    for (const TRecNuo4TextElement& E : GetElementArray()) {
        TrecNuo4KeyAndMeters KM;
        if (E.IsKeyAndMeters(KM) && KM.Key.IsValid()) {
            AKey = KM.Key;
            return true;
        }
    }
    return false;
}

bool TrecNuo4SymbolAttachText::IsLineSymbol(bool& bVert, float& ALength) const {
    TRecNuo4TextElement E;
    if (!GetSingleElement(E)) return false;
    TNuo4GeneralLineType T;
    TrecNuo4SizeF Size;
    bool bDashed, bFilled;
    int32_t Style;
    if (E.IsWaveLine(bVert, ALength) || E.IsSolidLine(bVert, ALength) ||
        E.IsGeneralLine(T, bVert, ALength))
        return true;
    if (E.IsRectangle(Size, bDashed, bFilled)) {
        bVert = Size.Height > Size.Width;
        ALength = std::max(Size.Width, Size.Height);
        return true;
    }
    if (E.IsArc(ALength, Style)) {
        bVert = false;
        return true;
    }
    return false;
}

std::u16string TrecNuo4SymbolAttachText::ToABCText() const {
    return Join({ABC_FontUsageName(FontUsage), TextValue(Text_ABC, Nuo4CharArray2Capacity),
                 Transform.ToABCText(true), ABC_OcupyToText(Ocupy), ABC_ColorToText(Color)});
}

bool TrecNuo4SymbolAttachText::FromABCValues(TText AText, const TKoRangeArray& AValues,
                                             TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    AEndPos = -1;
    if (AValues.size() < 2) return false;
    TrecNuo4SymbolAttachText R;
    int32_t End;
    if (!ABC_ParseFontUsage(AText, AValues[0], R.FontUsage, End)) return false;
    ATokens.AddItem(ttFontUsage, AValues[0]);
    Took(AValues[0], AEndPos);
    R.Text_ABC = RawText(AText, AValues[1], Nuo4CharArray2Capacity, ATokens, AEndPos);
    OptionalTransform(AText, ValueAt(AValues, 2), R.Transform, ATokens, AEndPos);
    ReadOcupy(AText, ValueAt(AValues, 3), R.Ocupy, ATokens, AEndPos);
    TNuo4Color Color;
    if (ABC_ParseColor(AText, ValueAt(AValues, 4), Color, End)) {
        R.Color = Color;
        ATokens.AddItem(ttGeneral, AValues[4]);
        Took(AValues[4], AEndPos);
    }
    *this = R;
    return true;
}

// ---- Special volta and lines ---------------------------------------------------------------

void TrecNuo4SymbolAttachFangZi::SetToDefault(TNuo4AttachFangZiType AFangZiType,
                                              TNuo4LineSymbolContinueStyle AContinueStyle,
                                              bool AbAutoAlign) {
    *this = TrecNuo4SymbolAttachFangZi();
    FangZiType = AFangZiType;
    ContinueStyle = AContinueStyle;
    bAutoAlign = AbAutoAlign;
}

namespace {
// In the order the type words are matched; on equal positions the earlier word wins.
const std::vector<TText> kFangZiWords = {u"Full",       u"Left", u"Right",   u"RepeatNoCount",
                                         u"DashedLine", u"Line", u"WaveLine"};
}  // namespace

std::u16string TrecNuo4SymbolAttachFangZi::ToABCText() const {
    std::u16string Word;
    switch (FangZiType) {
        case afztFangZi:
            Word = ABC_LineSymbolContinueStyleName(ContinueStyle);
            break;
        case afztRepeatNoCount:
            Word = u"RepeatNoCount";
            break;
        case afztDashedLine:
            Word = u"DashedLine";
            break;
        case afztLine:
            Word = u"Line";
            break;
        default:
            Word = u"WaveLine";
            break;
    }
    return Join({Word, ABC_FormatFloat(Length, 2), TextValue(Text_ABC, Nuo4CharArray1Capacity),
                 ABC_BoolToText(bOcupy), ABC_BoolToText(bAutoAlign)});
}

bool TrecNuo4SymbolAttachFangZi::FromABCValues(TText AText, const TKoRangeArray& AValues,
                                               TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    AEndPos = -1;
    if (AValues.size() < 3) return false;
    int WordIndex;
    if (ABC_FindEarliestOf(AText, AValues[0], kFangZiWords, WordIndex) < 0) return false;
    TrecNuo4SymbolAttachFangZi R;
    static constexpr TNuo4AttachFangZiType kTypes[] = {afztRepeatNoCount, afztDashedLine, afztLine,
                                                       afztWaveLine};
    if (WordIndex < 3)
        R.SetToDefault(afztFangZi, static_cast<TNuo4LineSymbolContinueStyle>(WordIndex), false);
    else
        R.SetToDefault(kTypes[WordIndex - 3], lscsFull, false);
    ATokens.AddItem(ttLineSymbolContinueStyle, AValues[0]);
    Took(AValues[0], AEndPos);
    if (!ReadNumberValue(AText, AValues[1], R.Length, ATokens, AEndPos)) return false;
    R.Text_ABC = RawText(AText, AValues[2], Nuo4CharArray1Capacity, ATokens, AEndPos);
    ReadBoolValue(AText, ValueAt(AValues, 3), R.bOcupy, ATokens, AEndPos);
    R.bAutoAlign = AValues.size() < 5;
    ReadBoolValue(AText, ValueAt(AValues, 4), R.bAutoAlign, ATokens, AEndPos);
    *this = R;
    return true;
}

// ---- Special arc ---------------------------------------------------------------------------

void TrecNuo4SymbolAttachArc::SetToDefault(TNuo4LineSymbolContinueStyle AContinueStyle,
                                           bool AbAutoAlign) {
    *this = TrecNuo4SymbolAttachArc();
    Shape = Nuo4DocOptions().Param_Arc.DefaultShape;
    ContinueStyle = AContinueStyle;
    bAutoAlign = AbAutoAlign;
}

void TrecNuo4SymbolAttachArc::SetLength(float ALength) {
    if (IsFull()) {
        Length_Full = Length_LeftOrRight = ALength;
    } else {
        Length_LeftOrRight = ALength;
        Length_Full = 2 * ALength;
    }
}

std::u16string TrecNuo4SymbolAttachArc::ToABCText() const {
    return Join({ABC_LineSymbolContinueStyleName(ContinueStyle), ABC_FormatInt(Shape),
                 ABC_FormatFloat(Length_Full, 2), ABC_FormatFloat(Length_LeftOrRight, 2),
                 ABC_FormatInt(TupletNumber), ABC_BoolToText(bOcupy), ABC_FormatInt(ArrowStyle),
                 ABC_BoolToText(bAutoAlign)});
}

bool TrecNuo4SymbolAttachArc::FromABCValues(TText AText, const TKoRangeArray& AValues,
                                            TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    AEndPos = -1;
    if (AValues.size() < 3) return false;
    TrecNuo4SymbolAttachArc R;
    R.SetToDefault(lscsFull, false);
    int32_t End;
    if (!ABC_ParseLineSymbolContinueStyle(AText, AValues[0], R.ContinueStyle, End)) return false;
    ATokens.AddItem(ttLineSymbolContinueStyle, AValues[0]);
    Took(AValues[0], AEndPos);
    int32_t Shape;
    if (!ReadIntegerValue(AText, AValues[1], Shape, ATokens, AEndPos)) return false;
    // An unknown shape number keeps the default shape.
    if (Shape >= assEllipseFill && Shape <= assFlatStroke)
        R.Shape = static_cast<TNuo4SymbolArcShape>(Shape);
    if (!ReadNumberValue(AText, AValues[2], R.Length_Full, ATokens, AEndPos)) return false;
    if (AValues.size() > 3 &&
        !ReadNumberValue(AText, AValues[3], R.Length_LeftOrRight, ATokens, AEndPos))
        return false;
    if (AValues.size() > 4 &&
        !ReadIntegerValue(AText, AValues[4], R.TupletNumber, ATokens, AEndPos))
        return false;
    ReadBoolValue(AText, ValueAt(AValues, 5), R.bOcupy, ATokens, AEndPos);
    if (AValues.size() > 6) {
        int32_t Arrow;
        if (!ReadIntegerValue(AText, AValues[6], Arrow, ATokens, AEndPos)) return false;
        // As with the shape, a number outside the enumeration keeps the default.
        if (Arrow >= aasNone && Arrow <= aasHorzLine)
            R.ArrowStyle = static_cast<TNuo4ArcArrowStyle>(Arrow);
    }
    // Older lines without the flag: a short right part does not align, anything else does.
    R.bAutoAlign = !(R.ContinueStyle == lscsRight && R.Length_LeftOrRight <= 8.0f);
    if (AValues.size() >= 8) {
        R.bAutoAlign = false;
        ReadBoolValue(AText, AValues[7], R.bAutoAlign, ATokens, AEndPos);
    }
    *this = R;
    return true;
}

// ---- Crescendo and diminuendo --------------------------------------------------------------

void TrecNuo4SymbolAttachDynamic::Initialize(float ALength, bool AbJianRuo, bool AbPartial,
                                             bool AbOcupy) {
    Length = ALength;
    bJianRuo = AbJianRuo;
    bPartial = AbPartial;
    bOcupy = AbOcupy;
}

std::u16string TrecNuo4SymbolAttachDynamic::ToABCText() const {
    return Join({ABC_FormatFloat(Length, 2), ABC_BoolToText(bJianRuo), ABC_BoolToText(bPartial),
                 ABC_BoolToText(bOcupy)});
}

bool TrecNuo4SymbolAttachDynamic::FromABCValues(TText AText, const TKoRangeArray& AValues,
                                                TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    AEndPos = -1;
    if (AValues.size() < 2) return false;
    TrecNuo4SymbolAttachDynamic R;
    if (!ReadNumberValue(AText, AValues[0], R.Length, ATokens, AEndPos)) return false;
    if (!ReadBoolValue(AText, AValues[1], R.bJianRuo, ATokens, AEndPos)) return false;
    ReadBoolValue(AText, ValueAt(AValues, 2), R.bPartial, ATokens, AEndPos);
    ReadBoolValue(AText, ValueAt(AValues, 3), R.bOcupy, ATokens, AEndPos);
    *this = R;
    return true;
}

// ---- Often-used mark -----------------------------------------------------------------------

void TrecNuo4SymbolAttachOften::Initialize(TNuo4AttachmentsGroupItemType_Often AItemType) {
    const auto& D = AttachOftenDefaults(AItemType);
    NoteStyleIndex.SetToDefault();
    ItemType = AItemType;
    Transform = D.Transform;
    Ocupy = D.Ocupy;
}

std::u16string TrecNuo4SymbolAttachOften::ToABCText() const {
    return Join({AttachOftenName(ItemType), Transform.ToABCText(true), ABC_OcupyToText(Ocupy)});
}

bool TrecNuo4SymbolAttachOften::FromABCValues(TText AText, const TKoRangeArray& AValues,
                                              TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    AEndPos = -1;
    if (AValues.size() < 2) return false;
    TNuo4AttachmentsGroupItemType_Often Type;
    int32_t End;
    if (!ABC_ParseAttachOftenName(AText, AValues[0], Type, End)) return false;
    TrecNuo4SymbolAttachOften R;
    R.Initialize(Type);
    ATokens.AddItem(ttAttachOftenTypeName, AValues[0]);
    Took(AValues[0], AEndPos);
    OptionalTransform(AText, AValues[1], R.Transform, ATokens, AEndPos);
    ReadOcupy(AText, ValueAt(AValues, 2), R.Ocupy, ATokens, AEndPos);
    *this = R;
    return true;
}

// ---- Extend symbol -------------------------------------------------------------------------

void TrecNuo4SymbolAttachExtend::Initialize(char16_t AUnicode, float AScaleX, float AScaleY,
                                            TNuo4AttachmentsOcupyTypes AOcupy) {
    Initialize(u"{" + ABC_EscapeChar(AUnicode, false, true) + u"}", AScaleX, AScaleY, AOcupy, false,
               false, rtNone);
}

void TrecNuo4SymbolAttachExtend::Initialize(TText AText_ABC, float AScaleX, float AScaleY,
                                            TNuo4AttachmentsOcupyTypes AOcupy, bool AbMirror,
                                            bool AbItalic, TNuo4RotateType ARotateType) {
    SetToDefault();
    Text_ABC = ABC_CutToCapacity(std::u16string(AText_ABC), Nuo4CharArray2Capacity);
    Transform.Sx = AScaleX;
    Transform.Sy = AScaleY;
    Transform.bMirror = AbMirror;
    Transform.bItalic = AbItalic;
    Transform.Rotate.aType = ARotateType;
    Ocupy = AOcupy;
}

bool TrecNuo4SymbolAttachExtend::GetData(TrecNuo4AttachExtendData& AValue) const {
    return AValue.FromABCText(Text_ABC);
}

bool TrecNuo4SymbolAttachExtend::IsSingleChar() const {
    char16_t C;
    return IsSingleChar(C);
}

bool TrecNuo4SymbolAttachExtend::IsSingleChar(char16_t& AUnicode) const {
    TrecNuo4AttachExtendData D;
    if (!GetData(D) || D.Items.size() != 1) return false;
    const std::u16string& T = D.Items[0].Text_ABC;
    const std::u16string Chars = ABC_Unescape(T, TKoRange(0, static_cast<int32_t>(T.size())));
    if (Chars.size() != 1) return false;
    AUnicode = Chars[0];
    return true;
}

bool TrecNuo4SymbolAttachExtend::IsBrace_ZhiKuoHao() const {
    char16_t C;
    return IsSingleChar(C) && C == u'\xF0D4';
}

bool TrecNuo4SymbolAttachExtend::IsLineSymbol() const {
    char16_t C;
    return IsSingleChar(C) && C == u'\xF00C';
}

bool TrecNuo4SymbolAttachExtend::EditFirstChar(int ADelta,
                                               const TNuo4GlyphExistsTest& AGlyphExists) {
    TrecNuo4AttachExtendData D;
    if (!GetData(D)) return false;
    const std::u16string& T = D.Items[0].Text_ABC;
    std::u16string Decoded = ABC_Unescape(T, TKoRange(0, static_cast<int32_t>(T.size())));
    if (Decoded.empty()) return false;
    const int32_t Next = static_cast<int32_t>(Decoded[0]) + ADelta;
    if (Next < 0 || Next > 0xFFFF) return false;
    if (AGlyphExists && !AGlyphExists(static_cast<char16_t>(Next))) return false;
    Decoded[0] = static_cast<char16_t>(Next);
    D.Items[0].Text_ABC = ABC_EscapeText(Decoded, false, true);
    const std::u16string NewText = D.ToABCText(true);
    if (NewText.size() > Nuo4CharArray2Capacity) return false;
    Text_ABC = NewText;
    return true;
}

bool TrecNuo4SymbolAttachExtend::EditFirstChar_Next(const TNuo4GlyphExistsTest& AGlyphExists) {
    return EditFirstChar(1, AGlyphExists);
}

bool TrecNuo4SymbolAttachExtend::EditFirstChar_Prev(const TNuo4GlyphExistsTest& AGlyphExists) {
    return EditFirstChar(-1, AGlyphExists);
}

std::u16string TrecNuo4SymbolAttachExtend::ToABCText() const {
    if (Ocupy == 0 && Transform.IsDefault()) return Text_ABC;
    if (Ocupy == 0) return Join({Text_ABC, Transform.ToABCText(true)});
    return Join({Text_ABC, Transform.ToABCText(true), ABC_OcupyToText(Ocupy)});
}

bool TrecNuo4SymbolAttachExtend::FromABCValues(TText AText, const TKoRangeArray& AValues,
                                               TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    AEndPos = -1;
    if (AValues.empty()) return false;
    TrecNuo4AttachExtendData D;
    int32_t End;
    if (!D.FromABCText(AText, AValues[0], End)) return false;
    TrecNuo4SymbolAttachExtend R;
    if (static_cast<size_t>(AValues[0].Length) <= Nuo4CharArray2Capacity) {
        R.Text_ABC = RawText(AText, AValues[0], Nuo4CharArray2Capacity, ATokens, AEndPos);
    } else {
        // Cutting the raw list would break it: keep the leading items that fit, written anew.
        while (!D.Items.empty() && D.ToABCText(true).size() > Nuo4CharArray2Capacity)
            D.Items.pop_back();
        if (D.Items.empty()) return false;
        R.Text_ABC = D.ToABCText(true);
        ATokens.AddItem(ttString, AValues[0]);
        Took(AValues[0], AEndPos);
    }
    OptionalTransform(AText, ValueAt(AValues, 1), R.Transform, ATokens, AEndPos);
    ReadOcupy(AText, ValueAt(AValues, 2), R.Ocupy, ATokens, AEndPos);
    *this = R;
    return true;
}

// ---- Brace ---------------------------------------------------------------------------------

namespace {
const std::vector<TText> kBraceStyles = {u"ZhiKuoHao", u"HuaKuoHao", u"HuaKuoHao2"};
const std::vector<TText> kBraceDirections = {u"Up", u"Down", u"Left", u"Right"};
}  // namespace

std::u16string TrecNuo4SymbolAttachBrace::ToABCText() const {
    std::u16string S =
        Join({std::u16string(kBraceStyles[Style]), std::u16string(kBraceDirections[Direction]),
              ABC_FormatFloat(Length, 1), ABC_OcupyToText(Ocupy)});
    if (std::fabs(Length_ExtraLine) >= 0.01f) S += u", " + ABC_FormatFloat(Length_ExtraLine, 2);
    return S;
}

bool TrecNuo4SymbolAttachBrace::FromABCValues(TText AText, const TKoRangeArray& AValues,
                                              TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    AEndPos = -1;
    if (AValues.size() < 4) return false;
    TrecNuo4SymbolAttachBrace R;
    int Index;
    int32_t End;
    if (!ABC_StartsWithOneOf(AText, AValues[0], kBraceStyles, true, true, Index, End)) return false;
    R.Style = static_cast<TNuo4AttachBraceStyle>(Index);
    ATokens.AddItem(ttGeneral, AValues[0]);
    Took(AValues[0], AEndPos);
    if (!ABC_StartsWithOneOf(AText, AValues[1], kBraceDirections, true, true, Index, End))
        return false;
    R.Direction = static_cast<TNuo4AttachBraceDirection>(Index);
    ATokens.AddItem(ttGeneral, AValues[1]);
    Took(AValues[1], AEndPos);
    if (!ReadNumberValue(AText, AValues[2], R.Length, ATokens, AEndPos)) return false;
    if (!ReadOcupy(AText, AValues[3], R.Ocupy, ATokens, AEndPos)) return false;
    float Extra;
    if (ReadNumberValue(AText, ValueAt(AValues, 4), Extra, ATokens, AEndPos))
        R.Length_ExtraLine = Extra < 0 ? 0 : Extra;
    *this = R;
    return true;
}

}  // namespace nuo4
