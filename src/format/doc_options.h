#pragma once
// Document options: the parameters that steer the look and layout of a score, the option
// items of the ".Options" section that change them, and the process-wide current options.
//
// Lengths are millimetres; fields whose names contain "Coef" are factors of the digit height
// unless said otherwise. Positions are UTF-16 code unit indexes into the scanned text.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/arc_styles.h"
#include "format/geometry_types.h"
#include "format/ko_range.h"
#include "format/music_common.h"

namespace nuo4 {

struct TNuo4RectF {
    float X = 0;
    float Y = 0;
    float Width = 0;
    float Height = 0;
    float Left() const { return X; }
    float Top() const { return Y; }
    float Right() const { return X + Width; }
    float Bottom() const { return Y + Height; }
    bool operator==(const TNuo4RectF&) const = default;
};

enum TNuo4SectionOptionItemType : uint8_t {
    soitDigit,
    soitPaper,
    soitHorzSpacing_AW,
    soitHorzSpacing_Gap,
    soitVertSpacing,
    soitFitFactor,
    soitArc,
    soitAccomp,
    soitChord,
    soitDrumPitchChar,
    soitLyric,
};
constexpr int Nuo4SectionOptionItemTypeCount = 11;
const char* EnumName(TNuo4SectionOptionItemType AValue);
// The item name in the text: "Digit", "Paper", ... "Lyric".
const char16_t* OptionItemName(TNuo4SectionOptionItemType AValue);

enum TNuo4CaseForArcConvertToFlat : uint8_t {
    cfactfNever,
    cfactfWrap,
    cfactfWrapOrOverMeasure,
    cfactfWrapOrOverLength,
    cfactfWrapOrOverMeasureAndOverLength,
};
const char* EnumName(TNuo4CaseForArcConvertToFlat AValue);

// ---- Parameter groups ---------------------------------------------------------------------------

struct TrecNuo4DocOptionsParam_Paper {
    float Width = 210;
    float Height = 297;
    float MarginLeft = 20;
    float MarginRight = 20;
    float MarginTop = 20;
    float MarginBottom = 20;

    void SetToDefault() { *this = TrecNuo4DocOptionsParam_Paper(); }
    // Sides above 10 mm, margins not negative and leaving a layout area on both axes.
    bool Check() const;
    TNuo4RectF GetPaperRect() const { return {0, 0, Width, Height}; }
    TNuo4RectF GetLayoutRect() const {
        return {MarginLeft, MarginTop, GetLayoutWidth(), GetLayoutHeight()};
    }
    float GetLayoutLeft() const { return MarginLeft; }
    float GetLayoutRight() const { return Width - MarginRight; }
    float GetLayoutWidth() const { return Width - MarginLeft - MarginRight; }
    float GetLayoutHeight() const { return Height - MarginTop - MarginBottom; }
    bool IsDefault_Width() const;
    bool IsDefault_Height() const;
    bool IsDefault_MarginLeft() const;
    bool IsDefault_MarginRight() const;
    bool IsDefault_MarginTop() const;
    bool IsDefault_MarginBottom() const;
    bool IsDefault_AfterHeight() const;  // all four margins default
    bool IsDefault_All() const;
    bool operator==(const TrecNuo4DocOptionsParam_Paper&) const = default;
};

struct TrecNuo4DocOptionsParam_Digit {
    TNuo4DigitFace Face = dfFace0;
    float Height = 3.0f;
    float WHRatio = 0.8f;  // width / height

    void SetToDefault() { *this = TrecNuo4DocOptionsParam_Digit(); }
    bool IsScript() const { return Face == dfFace3; }  // the handwritten face
    bool operator==(const TrecNuo4DocOptionsParam_Digit&) const = default;
};

// The advance width of a note as a function of its duration.
struct TrecNuo4DocOptionsParam_HorzSpacing_AWCoef {
    static constexpr int TableSize = 8;
    // Beats of the table's reference durations: 16th, 8th, dotted 8th, quarter, dotted
    // quarter, half, dotted half, whole.
    static constexpr std::array<float, TableSize> TableBeats = {0.25f, 0.5f, 0.75f, 1.0f,
                                                                1.5f,  2.0f, 3.0f,  4.0f};

    bool bUseAWCoefTable = false;
    TNuo4Duration RefDuration = sd16th;
    float RefAWCoef = 1.3f;
    float PowerFactor = 0.6f;
    std::array<float, TableSize> AWCoefTable{};

    TrecNuo4DocOptionsParam_HorzSpacing_AWCoef() { AutoUpdateAWCoefTable(); }
    void SetToDefault() { *this = TrecNuo4DocOptionsParam_HorzSpacing_AWCoef(); }

    // ADV is the note's length in beats.
    float GetAWCoef(double ADV) const;
    float GetAWCoef_FromParams(double ADV) const;
    float GetAWCoef_FromTable(double ADV) const;
    void AutoUpdateAWCoefTable();
    // Every value at least 1 and the values non-decreasing.
    bool CheckAWCoefTable() const;
    bool operator==(const TrecNuo4DocOptionsParam_HorzSpacing_AWCoef&) const = default;
};

// Minimum gaps between neighbours.
struct TrecNuo4DocOptionsParam_HorzSpacing_MinGapCoef {
    float Note_Note = 0;                       // any two notes
    float Note_Note_FullBeat = 1.0f;           // after a note that completes a beat
    float Note_Note_NonFullBeat_To4th = 0.7f;  // from a note not completing a beat to a quarter
    float Note_Barline = 1.0f;
    float Note_Other = 0.5f;
    bool bNoteBarlineGapIsFixed = true;

    void SetToDefault() { *this = TrecNuo4DocOptionsParam_HorzSpacing_MinGapCoef(); }
    bool operator==(const TrecNuo4DocOptionsParam_HorzSpacing_MinGapCoef&) const = default;
};

struct TrecNuo4DocOptionsParam_VertSpacing {
    float GapCoef_TitleBlock_Score = 1.0f;
    float GapCoef_Score_Lyric = 0.3f;
    float GapCoef_Lyric_Lyric = 0.2f;
    float GapCoef_Lyric_Score = 2.0f;

    void SetToDefault() { *this = TrecNuo4DocOptionsParam_VertSpacing(); }
    bool operator==(const TrecNuo4DocOptionsParam_VertSpacing&) const = default;
};

// How far lines and pages may be stretched to fill.
struct TrecNuo4DocOptionsParam_FitFactor {
    float MaxFactorForFitWidth = 3.0f;
    bool bFitWidthForLastLine = true;
    float MaxFactorForFitHeight = 2.0f;
    bool bFitHeightForLastPage = true;

    void SetToDefault() { *this = TrecNuo4DocOptionsParam_FitFactor(); }
    bool operator==(const TrecNuo4DocOptionsParam_FitFactor&) const = default;
};

struct TrecNuo4DocOptionsParam_Arc {
    TNuo4SymbolArcShape DefaultShape = assEllipseFill;
    TNuo4CaseForArcConvertToFlat CaseForConvertToFlat = cfactfWrapOrOverMeasureAndOverLength;
    float MaxLengthForConvertToFlat = 20;  // mm
    float GapCoefY_Arc_Underlay = 0.4f;    // arc to note
    float GapCoefY_Arcs = 0.2f;            // arc to arc

    void SetToDefault() { *this = TrecNuo4DocOptionsParam_Arc(); }
    // The shape an arc is drawn with: a rounded default turns flat in the configured cases.
    TNuo4SymbolArcShape GetArcShape(bool bWrap, bool bOverMeasure, float AArcLength_Full) const;
    bool operator==(const TrecNuo4DocOptionsParam_Arc&) const = default;
};

struct TrecNuo4DocOptionsParam_Accomp {
    TNuo4NoteSubStyle NoteSubStyle = nssNormal;
    bool bAccompMarkerBreakUnderline = false;  // the parentheses break the underlines

    void SetToDefault() { *this = TrecNuo4DocOptionsParam_Accomp(); }
    bool operator==(const TrecNuo4DocOptionsParam_Accomp&) const = default;
};

struct TrecNuo4DocOptionsParam_Chord_NoteSpacing {
    bool bGapMode = false;  // false: fixed distance between chord notes; true: fixed gap
    float SpacingCoef_GapMode = 0.4f;
    float SpacingCoef_NonGapMode = 1.7f;
    bool operator==(const TrecNuo4DocOptionsParam_Chord_NoteSpacing&) const = default;
};

struct TrecNuo4DocOptionsParam_Chord {
    TNuo4NoteSubStyle NoteSubStyle = nssZip;  // also the default of chord text elements
    bool bUseCommonRightDuration = true;      // chord notes share one set of dots and lines
    float CommonRightDurationPosYCoef = 0.4f;
    TrecNuo4DocOptionsParam_Chord_NoteSpacing NoteSpacing;

    void SetToDefault() { *this = TrecNuo4DocOptionsParam_Chord(); }
    bool operator==(const TrecNuo4DocOptionsParam_Chord&) const = default;
};

// Placement of percussion characters.
struct TrecNuo4DocOptionsParam_DrumPitchChar {
    TNuo4PointF ExternalFont_OffsetCoef{0, -0.1f};
    TNuo4PointF CoreFont_OffsetCoef{0, 0};
    float CoreFont_Scale = 1.0f;

    void SetToDefault() { *this = TrecNuo4DocOptionsParam_DrumPitchChar(); }
    bool operator==(const TrecNuo4DocOptionsParam_DrumPitchChar&) const = default;
};

struct TrecNuo4DocOptionsParam_Lyric {
    bool bCompressBiaoDian = true;         // compress punctuation marks
    float GapBetweenLyrics = 0;            // mm
    float GapBetweenEnglishLyrics = 1.0f;  // mm

    void SetToDefault() { *this = TrecNuo4DocOptionsParam_Lyric(); }
    bool operator==(const TrecNuo4DocOptionsParam_Lyric&) const = default;
};

// ---- The options record ---------------------------------------------------------------------

struct TrecNuo4DocOptions {
    int32_t tttt = 0, tttt2 = 0, tttt3 = 0;
    bool bAutoBeam = true;
    // The output device of the current drawing; owned by the drawing code, opaque here.
    void* DestGraphics = nullptr;
    TrecNuo4DocOptionsParam_DrumPitchChar Param_DrumPitchChar;
    TrecNuo4DocOptionsParam_Paper Param_Paper;
    TNuo4NoteMainStyle NoteMainStyle_Default = 0;
    TNuo4NoteSubStyle NoteSubStyle_Default = nssNormal;
    TrecNuo4DocOptionsParam_Digit Param_MainDigit;
    bool bSubStyleSmallSizeIsItalic = false;
    float SubStyleSmallSizeScaleXY = 0.85f;
    float SubStyleChordScaleX = 1.0f;
    float SubStyleChordScaleY = 0.7f;
    float SubStyleGraceScaleXY = 0.65f;
    float Accidental_HeightCoef = 1.2f;
    float Accidental_WHRatio = 0.35f;
    TNuo4PointF Accidental_PosCoef{-0.6f, -0.8f};
    TNuo4PointF RightDot_DefaultPosCoef{0.9f, -0.4f};
    bool RightDot_HorzPosAdjustable = false;
    float RightLine_SpacingCoef_Default = 1.0f;
    TNuo4PointF Grace_PosCoef{0.1f, 0};
    TrecNuo4DocOptionsParam_Chord Param_Chord;
    float BarlineHeightCoef_Top = 1.6f;
    float BarlineHeightCoef_Bottom = 0.5f;
    std::array<float, Nuo4ArticulationCount> ArticulationScales{1, 1, 1, 1, 1, 1, 1, 1};
    float ArticulationPosCoefY = -0.3f;
    TrecNuo4DocOptionsParam_HorzSpacing_AWCoef Param_HorzSpacing_AW;
    TrecNuo4DocOptionsParam_HorzSpacing_MinGapCoef Param_HorzSpacing_Gap;
    TrecNuo4DocOptionsParam_FitFactor Param_FitFactor;
    bool HorzSpacing_IgnoreLockedAWCoef = true;
    TrecNuo4DocOptionsParam_Lyric Param_Lyric;
    TrecNuo4DocOptionsParam_VertSpacing Param_VertSpacing;
    bool bFirstLineLyricGapYIsRelToBaseline = false;
    float TitleBlock_HeightForLayout = 0;
    TrecNuo4DocOptionsParam_Arc Param_Arc;
    TrecNuo4DocOptionsParam_Accomp Param_Accomp;
    float FangZiGapCoefY_Barline = 0.3f;
    float FangZiGapCoefY_Arc = 0.5f;

    void SetToDefault();
    void SetToDefault_ArticulationScales() { ArticulationScales.fill(1.0f); }
    float GetArticulationScale(TNuo4Articulation A) const {
        return A < Nuo4ArticulationCount ? ArticulationScales[A] : 1.0f;
    }

    TNuo4RectF GetLayoutRect() const { return Param_Paper.GetLayoutRect(); }
    float GetLayoutWidth() const { return Param_Paper.GetLayoutWidth(); }
    float GetLayoutHeight() const { return Param_Paper.GetLayoutHeight(); }
    // The digit of the default note style: height x WHRatio wide, height high.
    TNuo4SizeF GetNormalStyleDigitSize() const {
        return {Param_MainDigit.Height * Param_MainDigit.WHRatio, Param_MainDigit.Height};
    }
    // The gap between two lyric lines, a factor of the digit height.
    float GetLyricTextLineSpacingCoef() const { return Param_VertSpacing.GapCoef_Lyric_Lyric; }
    // From one lyric line to the next: the lyric font's line height plus that gap.
    float GetLyricTextLineTotalSpacing(float ALyricLineHeight) const {
        return ALyricLineHeight + GetLyricTextLineSpacingCoef() * Param_MainDigit.Height;
    }
};

// The process-wide current options (user-interface thread only).
TrecNuo4DocOptions& Nuo4DocOptions();

// Called after a "Digit" item was applied to the global options, so the note-style table can
// refresh the metrics it derives from the digit size. Null until the style table installs it.
using TNuo4MainDigitChangedHook = void (*)(const TrecNuo4DocOptions& AOptions);
void Nuo4DocOptions_SetMainDigitChangedHook(TNuo4MainDigitChangedHook AHook);
TNuo4MainDigitChangedHook Nuo4DocOptions_GetMainDigitChangedHook();

// ---- Option items -----------------------------------------------------------------------------

// One line "Name = value, value, ..." of the ".Options" section. Only the group of ItemType is
// meaningful.
struct TrecNuo4ABCParseInfo_OptionItem {
    TrecNuo4ABCParseInfo_SymbolHeader Header;  // pitOption; name through the last value read
    TKoRange NameRange;
    TKoRangeArray ValueRanges;  // every value present, read or not
    TNuo4SectionOptionItemType ItemType = soitDigit;
    // Every value present read and accepted and not more than the item allows: only then is
    // the group applied to the global options.
    bool bAllValuesAccepted = false;

    TrecNuo4DocOptionsParam_Digit Param_Digit;
    TrecNuo4DocOptionsParam_Paper Param_Paper;
    TrecNuo4DocOptionsParam_HorzSpacing_AWCoef Param_HorzSpacing_AW;
    TrecNuo4DocOptionsParam_HorzSpacing_MinGapCoef Param_HorzSpacing_Gap;
    TrecNuo4DocOptionsParam_VertSpacing Param_VertSpacing;
    TrecNuo4DocOptionsParam_FitFactor Param_FitFactor;
    TrecNuo4DocOptionsParam_Arc Param_Arc;
    TrecNuo4DocOptionsParam_Accomp Param_Accomp;
    TrecNuo4DocOptionsParam_Chord Param_Chord;
    TrecNuo4DocOptionsParam_DrumPitchChar Param_DrumPitchChar;
    TrecNuo4DocOptionsParam_Lyric Param_Lyric;

    // Each sets the type and the group's defaults and clears the parse information.
    void Initialize(TNuo4SectionOptionItemType AType);
    void Initialize_Digit() { Initialize(soitDigit); }
    void Initialize_Paper() { Initialize(soitPaper); }
    void Initialize_HorzSpacing_AW() { Initialize(soitHorzSpacing_AW); }
    void Initialize_HorzSpacing_Gap() { Initialize(soitHorzSpacing_Gap); }
    void Initialize_VertSpacing() { Initialize(soitVertSpacing); }
    void Initialize_FitFactor() { Initialize(soitFitFactor); }
    void Initialize_Arc() { Initialize(soitArc); }
    void Initialize_Accomp() { Initialize(soitAccomp); }
    void Initialize_Chord() { Initialize(soitChord); }
    void Initialize_DrumPitchChar() { Initialize(soitDrumPitchChar); }
    void Initialize_Lyric() { Initialize(soitLyric); }

    // The item's value text ("1, 3.30, 0.80"); empty when the group needs no line.
    std::u16string ValueText() const;
    // "Name = values", or nothing when the value text is empty.
    std::u16string ToABCText() const;
    // Copies the item's group into the options (and runs the digit hook for "Digit").
    void ApplyTo(TrecNuo4DocOptions& AOptions) const;
};

// Value counts an item accepts.
int OptionItem_MinValueCount(TNuo4SectionOptionItemType AType);
int OptionItem_MaxValueCount(TNuo4SectionOptionItemType AType);

// Reads one option item line. Succeeds when the name is an item name (ignoring case) and at
// least the item's minimum number of values is present; with bParseOnly false a fully valid
// item is also applied to Nuo4DocOptions(). AEndPos is the end of the header range.
bool ReadOptionItem(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_OptionItem& AItem,
                    bool bParseOnly, int32_t& AEndPos);

struct TrecNuo4ABCParseInfo_Section_Options {
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;  // line indexes
    std::vector<TrecNuo4ABCParseInfo_OptionItem> Buffer;

    void Clear() {
        ABCTextRange_SectionName.SetToInvalid();
        ABCTextRange_All.SetToInvalid();
        ABCTextRange_Line.SetToInvalid();
        Buffer.clear();
    }
    void AddItem(const TrecNuo4ABCParseInfo_OptionItem& AItem) { Buffer.push_back(AItem); }
    int GetCount() const { return static_cast<int>(Buffer.size()); }
    bool BufferIsEmpty() const { return Buffer.empty(); }
    // Index of the first item of the type, -1 when none (an edit replaces that line).
    int IndexOfItemType(TNuo4SectionOptionItemType AType) const;
};

}  // namespace nuo4
