#include "format/doc_options.h"

#include <algorithm>
#include <cmath>

namespace nuo4 {

namespace {

template <typename T, size_t N>
const char* NameOf(const char* const (&ANames)[N], T AValue) {
    const size_t I = static_cast<size_t>(AValue);
    return I < N ? ANames[I] : "";
}

std::u16string Join(const std::vector<std::u16string>& AParts, TText ASep) {
    std::u16string S;
    for (size_t I = 0; I < AParts.size(); ++I) {
        if (I > 0) S += ASep;
        S += AParts[I];
    }
    return S;
}

std::u16string F(double AValue, int ADecimals) {
    return ABC_FormatFloat(AValue, ADecimals);
}

TNuo4MainDigitChangedHook GMainDigitChangedHook = nullptr;

}  // namespace

// ---- Enumeration names ------------------------------------------------------------------------

const char* EnumName(TNuo4SectionOptionItemType AValue) {
    static const char* const Names[] = {"soitDigit",
                                        "soitPaper",
                                        "soitHorzSpacing_AW",
                                        "soitHorzSpacing_Gap",
                                        "soitVertSpacing",
                                        "soitFitFactor",
                                        "soitArc",
                                        "soitAccomp",
                                        "soitChord",
                                        "soitDrumPitchChar",
                                        "soitLyric"};
    return NameOf(Names, AValue);
}

const char16_t* OptionItemName(TNuo4SectionOptionItemType AValue) {
    static const char16_t* const Names[Nuo4SectionOptionItemTypeCount] = {
        u"Digit", u"Paper",  u"HorzSpacing_AW", u"HorzSpacing_Gap", u"VertSpacing", u"FitFactor",
        u"Arc",   u"Accomp", u"Chord",          u"DrumChar",        u"Lyric"};
    return AValue < Nuo4SectionOptionItemTypeCount ? Names[AValue] : u"";
}

const char* EnumName(TNuo4CaseForArcConvertToFlat AValue) {
    static const char* const Names[] = {"cfactfNever", "cfactfWrap", "cfactfWrapOrOverMeasure",
                                        "cfactfWrapOrOverLength",
                                        "cfactfWrapOrOverMeasureAndOverLength"};
    return NameOf(Names, AValue);
}

// ---- Paper
// ---------------------------------------------------------------------------------------

bool TrecNuo4DocOptionsParam_Paper::Check() const {
    // Written as negations so a NaN fails every test.
    if (!(Width > 10) || !(Height > 10)) return false;
    if (!(MarginLeft >= 0) || !(MarginRight >= 0) || !(MarginTop >= 0) || !(MarginBottom >= 0))
        return false;
    return GetLayoutWidth() > 0 && GetLayoutHeight() > 0;
}

namespace {
const TrecNuo4DocOptionsParam_Paper DefaultPaper;
}

bool TrecNuo4DocOptionsParam_Paper::IsDefault_Width() const {
    return Width == DefaultPaper.Width;
}
bool TrecNuo4DocOptionsParam_Paper::IsDefault_Height() const {
    return Height == DefaultPaper.Height;
}
bool TrecNuo4DocOptionsParam_Paper::IsDefault_MarginLeft() const {
    return MarginLeft == DefaultPaper.MarginLeft;
}
bool TrecNuo4DocOptionsParam_Paper::IsDefault_MarginRight() const {
    return MarginRight == DefaultPaper.MarginRight;
}
bool TrecNuo4DocOptionsParam_Paper::IsDefault_MarginTop() const {
    return MarginTop == DefaultPaper.MarginTop;
}
bool TrecNuo4DocOptionsParam_Paper::IsDefault_MarginBottom() const {
    return MarginBottom == DefaultPaper.MarginBottom;
}
bool TrecNuo4DocOptionsParam_Paper::IsDefault_AfterHeight() const {
    return IsDefault_MarginLeft() && IsDefault_MarginRight() && IsDefault_MarginTop() &&
           IsDefault_MarginBottom();
}
bool TrecNuo4DocOptionsParam_Paper::IsDefault_All() const {
    return IsDefault_Width() && IsDefault_Height() && IsDefault_AfterHeight();
}

// ---- Advance width
// ---------------------------------------------------------------------------------

float TrecNuo4DocOptionsParam_HorzSpacing_AWCoef::GetAWCoef(double ADV) const {
    return bUseAWCoefTable ? GetAWCoef_FromTable(ADV) : GetAWCoef_FromParams(ADV);
}

float TrecNuo4DocOptionsParam_HorzSpacing_AWCoef::GetAWCoef_FromParams(double ADV) const {
    double R = Duration_Beats(RefDuration);
    if (!(R > 0)) R = 0.25;
    const double B = ADV / R;
    if (ADV >= R) return static_cast<float>(RefAWCoef * std::pow(B, PowerFactor));
    return static_cast<float>((RefAWCoef - 1.0) * B + 1.0);
}

float TrecNuo4DocOptionsParam_HorzSpacing_AWCoef::GetAWCoef_FromTable(double ADV) const {
    const auto& X = TableBeats;
    const auto& Y = AWCoefTable;
    auto Lerp = [](double X0, double Y0, double X1, double Y1, double AX) {
        return Y0 + (Y1 - Y0) * (AX - X0) / (X1 - X0);
    };
    if (ADV <= X[0]) return static_cast<float>(Lerp(0, 1, X[0], Y[0], ADV));
    const int Last = TableSize - 1;
    if (ADV >= X[Last])
        return static_cast<float>(Lerp(X[Last - 1], Y[Last - 1], X[Last], Y[Last], ADV));
    int I = 1;
    while (I < Last && ADV > X[I]) ++I;
    return static_cast<float>(Lerp(X[I - 1], Y[I - 1], X[I], Y[I], ADV));
}

void TrecNuo4DocOptionsParam_HorzSpacing_AWCoef::AutoUpdateAWCoefTable() {
    for (int I = 0; I < TableSize; ++I) AWCoefTable[I] = GetAWCoef_FromParams(TableBeats[I]);
}

bool TrecNuo4DocOptionsParam_HorzSpacing_AWCoef::CheckAWCoefTable() const {
    for (int I = 0; I < TableSize; ++I) {
        if (!(AWCoefTable[I] >= 1)) return false;
        if (I > 0 && AWCoefTable[I] < AWCoefTable[I - 1]) return false;
    }
    return true;
}

// ---- Arc
// -------------------------------------------------------------------------------------------

TNuo4SymbolArcShape TrecNuo4DocOptionsParam_Arc::GetArcShape(bool bWrap, bool bOverMeasure,
                                                             float AArcLength_Full) const {
    if (DefaultShape != assEllipseFill && DefaultShape != assEllipseStroke) return DefaultShape;
    const bool bOverLength = AArcLength_Full > MaxLengthForConvertToFlat;
    bool bFlat = false;
    switch (CaseForConvertToFlat) {
        case cfactfNever:
            break;
        case cfactfWrap:
            bFlat = bWrap;
            break;
        case cfactfWrapOrOverMeasure:
            bFlat = bWrap || bOverMeasure;
            break;
        case cfactfWrapOrOverLength:
            bFlat = bWrap || bOverLength;
            break;
        case cfactfWrapOrOverMeasureAndOverLength:
            bFlat = bWrap || (bOverMeasure && bOverLength);
            break;
    }
    if (!bFlat) return DefaultShape;
    return DefaultShape == assEllipseFill ? assFlatFill : assFlatStroke;
}

// ---- Options record
// ---------------------------------------------------------------------------------

void TrecNuo4DocOptions::SetToDefault() {
    *this = TrecNuo4DocOptions();
}

TrecNuo4DocOptions& Nuo4DocOptions() {
    static TrecNuo4DocOptions Options;
    return Options;
}

void Nuo4DocOptions_SetMainDigitChangedHook(TNuo4MainDigitChangedHook AHook) {
    GMainDigitChangedHook = AHook;
}

TNuo4MainDigitChangedHook Nuo4DocOptions_GetMainDigitChangedHook() {
    return GMainDigitChangedHook;
}

// ---- Option items
// ------------------------------------------------------------------------------------

int OptionItem_MinValueCount(TNuo4SectionOptionItemType AType) {
    static constexpr int Min[Nuo4SectionOptionItemTypeCount] = {1, 1, 1, 1, 1, 4, 1, 1, 1, 5, 3};
    return AType < Nuo4SectionOptionItemTypeCount ? Min[AType] : 1;
}

int OptionItem_MaxValueCount(TNuo4SectionOptionItemType AType) {
    static constexpr int Max[Nuo4SectionOptionItemTypeCount] = {3, 6, 12, 6, 4, 4, 5, 2, 6, 5, 3};
    return AType < Nuo4SectionOptionItemTypeCount ? Max[AType] : 0;
}

void TrecNuo4ABCParseInfo_OptionItem::Initialize(TNuo4SectionOptionItemType AType) {
    *this = TrecNuo4ABCParseInfo_OptionItem();
    ItemType = AType;
    Header.aType = pitOption;
}

namespace {

const char16_t* RefDurationText(TNuo4Duration D) {
    if (D == sd4th) return u"4th";
    if (D == sd8th) return u"8th";
    return u"16th";
}

}  // namespace

std::u16string TrecNuo4ABCParseInfo_OptionItem::ValueText() const {
    const auto B = [](bool V) { return ABC_BoolToText(V); };
    switch (ItemType) {
        case soitDigit:
            return Join({ABC_FormatInt(Param_Digit.Face), F(Param_Digit.Height, 2),
                         F(Param_Digit.WHRatio, 2)},
                        u", ");
        case soitPaper: {
            const auto& P = Param_Paper;
            if (P.IsDefault_All()) return u"";
            if (P.IsDefault_AfterHeight()) return Join({F(P.Width, 0), F(P.Height, 0)}, u", ");
            return Join({F(P.Width, 0), F(P.Height, 0), F(P.MarginLeft, 0), F(P.MarginRight, 0),
                         F(P.MarginTop, 0), F(P.MarginBottom, 0)},
                        u", ");
        }
        case soitHorzSpacing_AW: {
            const auto& P = Param_HorzSpacing_AW;
            std::vector<std::u16string> Table;
            for (float V : P.AWCoefTable) Table.push_back(F(V, 2));
            return Join({RefDurationText(P.RefDuration), F(P.RefAWCoef, 2), F(P.PowerFactor, 2),
                         B(P.bUseAWCoefTable), Join(Table, u",")},
                        u", ");
        }
        case soitHorzSpacing_Gap: {
            const auto& P = Param_HorzSpacing_Gap;
            return Join(
                {F(P.Note_Note, 2), F(P.Note_Note_FullBeat, 2), F(P.Note_Note_NonFullBeat_To4th, 2),
                 F(P.Note_Barline, 2), F(P.Note_Other, 2), B(P.bNoteBarlineGapIsFixed)},
                u", ");
        }
        case soitVertSpacing: {
            const auto& P = Param_VertSpacing;
            return Join({F(P.GapCoef_TitleBlock_Score, 2), F(P.GapCoef_Score_Lyric, 2),
                         F(P.GapCoef_Lyric_Lyric, 2), F(P.GapCoef_Lyric_Score, 2)},
                        u", ");
        }
        case soitFitFactor: {
            const auto& P = Param_FitFactor;
            return Join({F(P.MaxFactorForFitWidth, 2), B(P.bFitWidthForLastLine),
                         F(P.MaxFactorForFitHeight, 2), B(P.bFitHeightForLastPage)},
                        u", ");
        }
        case soitArc: {
            const auto& P = Param_Arc;
            const TrecNuo4DocOptionsParam_Arc D;
            const bool bGapsDefault = P.GapCoefY_Arc_Underlay == D.GapCoefY_Arc_Underlay &&
                                      P.GapCoefY_Arcs == D.GapCoefY_Arcs;
            const bool bAfterShapeDefault =
                bGapsDefault && P.CaseForConvertToFlat == D.CaseForConvertToFlat &&
                P.MaxLengthForConvertToFlat == D.MaxLengthForConvertToFlat;
            if (bAfterShapeDefault && P.DefaultShape == D.DefaultShape) return u"";
            if (bAfterShapeDefault) return ABC_FormatInt(P.DefaultShape);
            std::vector<std::u16string> Parts = {ABC_FormatInt(P.DefaultShape),
                                                 ABC_FormatInt(P.CaseForConvertToFlat),
                                                 F(P.MaxLengthForConvertToFlat, 1)};
            if (!bGapsDefault) {
                Parts.push_back(F(P.GapCoefY_Arc_Underlay, 2));
                Parts.push_back(F(P.GapCoefY_Arcs, 2));
            }
            return Join(Parts, u", ");
        }
        case soitAccomp:
            return Join({NoteSubStyleName(Param_Accomp.NoteSubStyle),
                         B(Param_Accomp.bAccompMarkerBreakUnderline)},
                        u", ");
        case soitChord: {
            const auto& P = Param_Chord;
            return Join({NoteSubStyleName(P.NoteSubStyle), B(P.bUseCommonRightDuration),
                         F(P.CommonRightDurationPosYCoef, 2), B(P.NoteSpacing.bGapMode),
                         F(P.NoteSpacing.SpacingCoef_GapMode, 2),
                         F(P.NoteSpacing.SpacingCoef_NonGapMode, 2)},
                        u", ");
        }
        case soitDrumPitchChar: {
            const auto& P = Param_DrumPitchChar;
            return Join({F(P.ExternalFont_OffsetCoef.X, 2), F(P.ExternalFont_OffsetCoef.Y, 2),
                         F(P.CoreFont_OffsetCoef.X, 2), F(P.CoreFont_OffsetCoef.Y, 2),
                         F(P.CoreFont_Scale, 2)},
                        u", ");
        }
        case soitLyric: {
            const auto& P = Param_Lyric;
            return Join(
                {B(P.bCompressBiaoDian), F(P.GapBetweenLyrics, 1), F(P.GapBetweenEnglishLyrics, 1)},
                u", ");
        }
    }
    return u"";
}

std::u16string TrecNuo4ABCParseInfo_OptionItem::ToABCText() const {
    const std::u16string V = ValueText();
    if (V.empty()) return u"";
    return std::u16string(OptionItemName(ItemType)) + u" = " + V;
}

void TrecNuo4ABCParseInfo_OptionItem::ApplyTo(TrecNuo4DocOptions& AOptions) const {
    switch (ItemType) {
        case soitDigit:
            AOptions.Param_MainDigit = Param_Digit;
            if (GMainDigitChangedHook) GMainDigitChangedHook(AOptions);
            break;
        case soitPaper:
            AOptions.Param_Paper = Param_Paper;
            break;
        case soitHorzSpacing_AW:
            AOptions.Param_HorzSpacing_AW = Param_HorzSpacing_AW;
            break;
        case soitHorzSpacing_Gap:
            AOptions.Param_HorzSpacing_Gap = Param_HorzSpacing_Gap;
            break;
        case soitVertSpacing:
            AOptions.Param_VertSpacing = Param_VertSpacing;
            break;
        case soitFitFactor:
            AOptions.Param_FitFactor = Param_FitFactor;
            break;
        case soitArc:
            AOptions.Param_Arc = Param_Arc;
            break;
        case soitAccomp:
            AOptions.Param_Accomp = Param_Accomp;
            break;
        case soitChord:
            AOptions.Param_Chord = Param_Chord;
            break;
        case soitDrumPitchChar:
            AOptions.Param_DrumPitchChar = Param_DrumPitchChar;
            break;
        case soitLyric:
            AOptions.Param_Lyric = Param_Lyric;
            break;
    }
}

namespace {

// Value readers: each must take the whole (trimmed) value range.
bool ReadFloatValue(TText AText, TKoRange R, float& AValue) {
    int32_t End = -1;
    float V = 0;
    if (!R.IsNonEmpty() || !ABC_ParseFloat(AText, R, true, V, End)) return false;
    if (!std::isfinite(V)) return false;
    AValue = V;
    return true;
}

bool ReadIntValue(TText AText, TKoRange R, int32_t& AValue) {
    int32_t End = -1;
    int32_t V = 0;
    if (!R.IsNonEmpty() || !ABC_ParseInt(AText, R, V, End) || End != R.EndIndex()) return false;
    AValue = V;
    return true;
}

bool ReadBoolValue(TText AText, TKoRange R, bool& AValue) {
    int32_t End = -1;
    bool V = false;
    if (!R.IsNonEmpty() || !ABC_ParseBool(AText, R, false, V, End) || End != R.EndIndex())
        return false;
    AValue = V;
    return true;
}

bool ReadSubStyleValue(TText AText, TKoRange R, TNuo4NoteSubStyle& AValue) {
    for (int I = 0; I < Nuo4NoteSubStyleCount; ++I) {
        const auto S = static_cast<TNuo4NoteSubStyle>(I);
        if (ABC_RangeEquals(AText, R, NoteSubStyleName(S), true)) {
            AValue = S;
            return true;
        }
    }
    return false;
}

// A number that must satisfy AAccept.
template <typename TAccept>
bool ReadFloatIn(TText AText, TKoRange R, float& AField, TAccept AAccept) {
    float V = 0;
    if (!ReadFloatValue(AText, R, V) || !AAccept(V)) return false;
    AField = V;
    return true;
}

bool ReadFloatAny(TText AText, TKoRange R, float& AField) {
    return ReadFloatValue(AText, R, AField);
}

bool ReadIntIn(TText AText, TKoRange R, int32_t AMin, int32_t AMax, int32_t& AValue) {
    int32_t V = 0;
    if (!ReadIntValue(AText, R, V) || V < AMin || V > AMax) return false;
    AValue = V;
    return true;
}

const auto NonNegative = [](float V) { return V >= 0; };

// Reads value AIndex of the item into its group; false when it does not read or is out of
// range.
bool ReadOptionValue(TText AText, TKoRange R, int AIndex, TrecNuo4ABCParseInfo_OptionItem& AItem) {
    switch (AItem.ItemType) {
        case soitDigit: {
            auto& P = AItem.Param_Digit;
            if (AIndex == 0) {
                int32_t Face = 0;
                if (!ReadIntIn(AText, R, 0, 10, Face)) return false;
                // Only four faces exist; a higher number would address glyphs past them.
                P.Face = Face < Nuo4DigitFaceCount ? static_cast<TNuo4DigitFace>(Face) : dfFace0;
                return true;
            }
            if (AIndex == 1) return ReadFloatIn(AText, R, P.Height, NonNegative);
            return ReadFloatIn(AText, R, P.WHRatio, NonNegative);
        }
        case soitPaper: {
            auto& P = AItem.Param_Paper;
            const auto Above10 = [](float V) { return V > 10; };
            float* Fields[6] = {&P.Width,       &P.Height,    &P.MarginLeft,
                                &P.MarginRight, &P.MarginTop, &P.MarginBottom};
            if (AIndex < 2) return ReadFloatIn(AText, R, *Fields[AIndex], Above10);
            return ReadFloatIn(AText, R, *Fields[AIndex], NonNegative);
        }
        case soitHorzSpacing_AW: {
            auto& P = AItem.Param_HorzSpacing_AW;
            switch (AIndex) {
                case 0:
                    // Exact case; any other text keeps the default reference.
                    if (ABC_RangeEquals(AText, R, u"4th"))
                        P.RefDuration = sd4th;
                    else if (ABC_RangeEquals(AText, R, u"8th"))
                        P.RefDuration = sd8th;
                    else if (ABC_RangeEquals(AText, R, u"16th"))
                        P.RefDuration = sd16th;
                    return true;
                case 1:
                    return ReadFloatIn(AText, R, P.RefAWCoef,
                                       [](float V) { return V >= 1 && V <= 5; });
                case 2:
                    return ReadFloatIn(AText, R, P.PowerFactor,
                                       [](float V) { return V >= 0 && V <= 1; });
                case 3:
                    return ReadBoolValue(AText, R, P.bUseAWCoefTable);
                default:
                    return ReadFloatIn(AText, R, P.AWCoefTable[AIndex - 4],
                                       [](float V) { return V >= 1; });
            }
        }
        case soitHorzSpacing_Gap: {
            auto& P = AItem.Param_HorzSpacing_Gap;
            float* Fields[5] = {&P.Note_Note, &P.Note_Note_FullBeat, &P.Note_Note_NonFullBeat_To4th,
                                &P.Note_Barline, &P.Note_Other};
            if (AIndex < 5) return ReadFloatIn(AText, R, *Fields[AIndex], NonNegative);
            return ReadBoolValue(AText, R, P.bNoteBarlineGapIsFixed);
        }
        case soitVertSpacing: {
            auto& P = AItem.Param_VertSpacing;
            float* Fields[4] = {&P.GapCoef_TitleBlock_Score, &P.GapCoef_Score_Lyric,
                                &P.GapCoef_Lyric_Lyric, &P.GapCoef_Lyric_Score};
            return ReadFloatAny(AText, R, *Fields[AIndex]);
        }
        case soitFitFactor: {
            auto& P = AItem.Param_FitFactor;
            switch (AIndex) {
                case 0:
                    return ReadFloatAny(AText, R, P.MaxFactorForFitWidth);
                case 1:
                    return ReadBoolValue(AText, R, P.bFitWidthForLastLine);
                case 2:
                    return ReadFloatAny(AText, R, P.MaxFactorForFitHeight);
                default:
                    return ReadBoolValue(AText, R, P.bFitHeightForLastPage);
            }
        }
        case soitArc: {
            auto& P = AItem.Param_Arc;
            int32_t V = 0;
            switch (AIndex) {
                case 0:
                    if (!ReadIntIn(AText, R, 0, 3, V)) return false;
                    P.DefaultShape = static_cast<TNuo4SymbolArcShape>(V);
                    return true;
                case 1:
                    if (!ReadIntIn(AText, R, 0, 4, V)) return false;
                    P.CaseForConvertToFlat = static_cast<TNuo4CaseForArcConvertToFlat>(V);
                    return true;
                case 2:
                    return ReadFloatIn(AText, R, P.MaxLengthForConvertToFlat,
                                       [](float X) { return X >= 1; });
                case 3:
                    return ReadFloatIn(AText, R, P.GapCoefY_Arc_Underlay, NonNegative);
                default:
                    return ReadFloatIn(AText, R, P.GapCoefY_Arcs, NonNegative);
            }
        }
        case soitAccomp: {
            auto& P = AItem.Param_Accomp;
            if (AIndex == 0) return ReadSubStyleValue(AText, R, P.NoteSubStyle);
            return ReadBoolValue(AText, R, P.bAccompMarkerBreakUnderline);
        }
        case soitChord: {
            auto& P = AItem.Param_Chord;
            switch (AIndex) {
                case 0:
                    return ReadSubStyleValue(AText, R, P.NoteSubStyle);
                case 1:
                    return ReadBoolValue(AText, R, P.bUseCommonRightDuration);
                case 2:
                    return ReadFloatAny(AText, R, P.CommonRightDurationPosYCoef);
                case 3:
                    return ReadBoolValue(AText, R, P.NoteSpacing.bGapMode);
                case 4:
                    return ReadFloatAny(AText, R, P.NoteSpacing.SpacingCoef_GapMode);
                default:
                    return ReadFloatAny(AText, R, P.NoteSpacing.SpacingCoef_NonGapMode);
            }
        }
        case soitDrumPitchChar: {
            auto& P = AItem.Param_DrumPitchChar;
            float* Fields[5] = {&P.ExternalFont_OffsetCoef.X, &P.ExternalFont_OffsetCoef.Y,
                                &P.CoreFont_OffsetCoef.X, &P.CoreFont_OffsetCoef.Y,
                                &P.CoreFont_Scale};
            return ReadFloatAny(AText, R, *Fields[AIndex]);
        }
        case soitLyric: {
            auto& P = AItem.Param_Lyric;
            if (AIndex == 0) return ReadBoolValue(AText, R, P.bCompressBiaoDian);
            if (AIndex == 1) return ReadFloatAny(AText, R, P.GapBetweenLyrics);
            return ReadFloatAny(AText, R, P.GapBetweenEnglishLyrics);
        }
    }
    return false;
}

}  // namespace

bool ReadOptionItem(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_OptionItem& AItem,
                    bool bParseOnly, int32_t& AEndPos) {
    AEndPos = -1;
    TKoRange Name;
    TKoRangeArray Values;
    int32_t SplitEnd = -1;
    if (!ABC_SplitNameValues(AText, ARange, u',', u'=', true, true, Name, Values, SplitEnd))
        return false;
    int TypeIndex = -1;
    for (int I = 0; I < Nuo4SectionOptionItemTypeCount && TypeIndex < 0; ++I)
        if (ABC_RangeEquals(AText, Name, OptionItemName(static_cast<TNuo4SectionOptionItemType>(I)),
                            true))
            TypeIndex = I;
    if (TypeIndex < 0) return false;
    const auto Type = static_cast<TNuo4SectionOptionItemType>(TypeIndex);
    const int Count = static_cast<int>(Values.size());
    if (Count < OptionItem_MinValueCount(Type)) return false;

    TrecNuo4ABCParseInfo_OptionItem Item;
    Item.Initialize(Type);
    Item.NameRange = Name;
    Item.ValueRanges = Values;
    Item.Header.TokenItems.AddItem(ttOpionName, Name);
    int32_t End = Name.EndIndex();
    const int Max = OptionItem_MaxValueCount(Type);
    bool bAllRead = true;
    for (int I = 0; I < std::min(Count, Max); ++I) {
        // An empty value (",,") reads as nothing, even where any text would do.
        if (!Values[I].IsNonEmpty() || !ReadOptionValue(AText, Values[I], I, Item)) {
            bAllRead = false;
            break;
        }
        Item.Header.TokenItems.AddItem(ttOptionValue, Values[I]);
        End = Values[I].EndIndex();
    }
    Item.bAllValuesAccepted = bAllRead && Count <= Max;
    // A paper whose margins leave no room would break every later layout step.
    if (Type == soitPaper && !Item.Param_Paper.Check()) Item.bAllValuesAccepted = false;
    Item.Header.ABCTextRange = TKoRange::FromStartEnd(Name.StartIndex, End);
    if (!bParseOnly && Item.bAllValuesAccepted) Item.ApplyTo(Nuo4DocOptions());
    AItem = std::move(Item);
    AEndPos = End;
    return true;
}

int TrecNuo4ABCParseInfo_Section_Options::IndexOfItemType(TNuo4SectionOptionItemType AType) const {
    for (size_t I = 0; I < Buffer.size(); ++I)
        if (Buffer[I].ItemType == AType) return static_cast<int>(I);
    return -1;
}

}  // namespace nuo4
