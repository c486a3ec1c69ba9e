#include "format/doc_options.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;
using nuo4::test::Utf8;

namespace {

// Every test starts from default global options and leaves them so.
class OptionItem : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4DocOptions().SetToDefault(); }
    void TearDown() override {
        Nuo4DocOptions().SetToDefault();
        Nuo4DocOptions_SetMainDigitChangedHook(nullptr);
    }

    // Reads the line in the applying mode; returns whether it is an option item.
    bool Apply(std::u16string_view S) {
        Item = {};
        End = -1;
        return ReadOptionItem(S, All(S), Item, false, End);
    }
    bool Parse(std::u16string_view S) {
        Item = {};
        End = -1;
        return ReadOptionItem(S, All(S), Item, true, End);
    }

    TrecNuo4ABCParseInfo_OptionItem Item;
    int32_t End = -1;
};

const TrecNuo4DocOptions& G() {
    return Nuo4DocOptions();
}

}  // namespace

// ---- Defaults ---------------------------------------------------------------------------------

TEST(DocOptionsDefaults, GroupsStartAtTheirDocumentedValues) {
    TrecNuo4DocOptions O;
    O.Param_Paper.Width = 1;
    O.ArticulationScales[3] = 5;
    O.DestGraphics = &O;
    O.SetToDefault();
    EXPECT_EQ(O.Param_Paper.Width, 210);
    EXPECT_EQ(O.Param_Paper.Height, 297);
    EXPECT_FLOAT_EQ(O.GetLayoutWidth(), 170);
    EXPECT_FLOAT_EQ(O.GetLayoutHeight(), 257);
    EXPECT_EQ(O.GetLayoutRect(), (TNuo4RectF{20, 20, 170, 257}));
    EXPECT_EQ(O.GetArticulationScale(mfsaYanYin), 1.0f);
    EXPECT_EQ(O.DestGraphics, nullptr);
    EXPECT_TRUE(O.bAutoBeam);
    EXPECT_EQ(O.NoteSubStyle_Default, nssNormal);
    EXPECT_EQ(O.Param_Chord.NoteSubStyle, nssZip);
    EXPECT_EQ(O.Param_Arc.CaseForConvertToFlat, cfactfWrapOrOverMeasureAndOverLength);
    EXPECT_EQ(O.Param_HorzSpacing_AW.RefDuration, sd16th);
    EXPECT_EQ(O.Accidental_PosCoef, (TNuo4PointF{-0.6f, -0.8f}));
    EXPECT_EQ(O.Param_DrumPitchChar.ExternalFont_OffsetCoef, (TNuo4PointF{0, -0.1f}));
    // The normal digit is 2.4 wide and 3 high.
    EXPECT_FLOAT_EQ(O.GetNormalStyleDigitSize().Width, 2.4f);
    EXPECT_FLOAT_EQ(O.GetNormalStyleDigitSize().Height, 3.0f);
    EXPECT_FLOAT_EQ(O.GetLyricTextLineSpacingCoef(), 0.2f);
    EXPECT_FLOAT_EQ(O.GetLyricTextLineTotalSpacing(5), 5.6f);
    O.SetToDefault_ArticulationScales();
    EXPECT_EQ(O.GetArticulationScale(static_cast<TNuo4Articulation>(40)), 1.0f);
}

TEST(DocOptionsPaper, CheckAndDefaultPredicates) {
    TrecNuo4DocOptionsParam_Paper P;
    EXPECT_TRUE(P.Check());
    EXPECT_TRUE(P.IsDefault_All());
    EXPECT_EQ(P.GetLayoutRight(), 190);
    P.MarginTop = 5;
    EXPECT_FALSE(P.IsDefault_AfterHeight());
    EXPECT_TRUE(P.IsDefault_Width());
    EXPECT_FALSE(P.IsDefault_All());
    P.SetToDefault();
    P.Width = 10;
    EXPECT_FALSE(P.Check());
    P.Width = 40;  // margins would take the whole width
    EXPECT_FALSE(P.Check());
    P.Width = 41;
    EXPECT_TRUE(P.Check());
    P.MarginLeft = -1;
    EXPECT_FALSE(P.Check());
    P.MarginLeft = NAN;
    EXPECT_FALSE(P.Check());
}

// ---- Advance width ------------------------------------------------------------------------------

TEST(DocOptionsAWCoef, ParametersGivePowerAboveAndLineBelowTheReference) {
    const TrecNuo4DocOptionsParam_HorzSpacing_AWCoef A;
    EXPECT_NEAR(A.GetAWCoef(1), 1.3 * std::pow(4.0, 0.6), 1e-5);  // about 2.987
    EXPECT_NEAR(A.GetAWCoef(1), 2.987, 0.001);
    EXPECT_NEAR(A.GetAWCoef(0.125), 1.15, 1e-6);
    EXPECT_NEAR(A.GetAWCoef(0.25), 1.3, 1e-6);
    EXPECT_NEAR(A.GetAWCoef(0), 1.0, 1e-6);
    TrecNuo4DocOptionsParam_HorzSpacing_AWCoef B;
    B.RefDuration = sd4th;
    B.RefAWCoef = 2;
    B.PowerFactor = 1;
    EXPECT_NEAR(B.GetAWCoef(4), 8, 1e-5);
    EXPECT_NEAR(B.GetAWCoef(0.5), 1.5, 1e-6);
}

TEST(DocOptionsAWCoef, TableInterpolatesAndExtrapolates) {
    TrecNuo4DocOptionsParam_HorzSpacing_AWCoef A;
    A.bUseAWCoefTable = true;
    A.AWCoefTable = {1.2f, 1.6f, 2.0f, 2.4f, 2.8f, 3.2f, 3.6f, 4.0f};
    EXPECT_NEAR(A.GetAWCoef(0.125), 1.1, 1e-6);  // from 1 at 0 beats
    EXPECT_NEAR(A.GetAWCoef(0.25), 1.2, 1e-6);
    EXPECT_NEAR(A.GetAWCoef(0.625), 1.8, 1e-6);
    EXPECT_NEAR(A.GetAWCoef(1.25), 2.6, 1e-6);
    EXPECT_NEAR(A.GetAWCoef(2.5), 3.4, 1e-6);
    EXPECT_NEAR(A.GetAWCoef(4), 4.0, 1e-6);
    EXPECT_NEAR(A.GetAWCoef(8), 5.6, 1e-5);  // slope of the last two values, 0.4 per beat
    A.bUseAWCoefTable = false;
    EXPECT_NEAR(A.GetAWCoef(1), 2.987, 0.001);
}

TEST(DocOptionsAWCoef, AutoUpdatedTableMatchesTheParameters) {
    TrecNuo4DocOptionsParam_HorzSpacing_AWCoef A;
    A.RefDuration = sd8th;
    A.RefAWCoef = 1.8f;
    A.AutoUpdateAWCoefTable();
    EXPECT_TRUE(A.CheckAWCoefTable());
    for (int I = 0; I < A.TableSize; ++I) {
        const double Beats = A.TableBeats[I];
        EXPECT_FLOAT_EQ(A.AWCoefTable[I], A.GetAWCoef_FromParams(Beats));
        A.bUseAWCoefTable = true;
        EXPECT_NEAR(A.GetAWCoef(Beats), A.GetAWCoef_FromParams(Beats), 1e-5);
        A.bUseAWCoefTable = false;
    }
    // The default record already carries its computed table.
    const TrecNuo4DocOptionsParam_HorzSpacing_AWCoef D;
    EXPECT_NEAR(D.AWCoefTable[3], 2.987, 0.001);
}

TEST(DocOptionsAWCoef, CheckRequiresAtLeastOneAndNonDecreasing) {
    TrecNuo4DocOptionsParam_HorzSpacing_AWCoef A;
    A.AWCoefTable = {1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_TRUE(A.CheckAWCoefTable());
    A.AWCoefTable[0] = 0.99f;
    EXPECT_FALSE(A.CheckAWCoefTable());
    A.AWCoefTable = {1, 2, 3, 4, 5, 6, 5.5f, 7};
    EXPECT_FALSE(A.CheckAWCoefTable());
}

// ---- Arc shape
// ------------------------------------------------------------------------------------

TEST(DocOptionsArc, RoundedShapesTurnFlatInTheConfiguredCases) {
    TrecNuo4DocOptionsParam_Arc A;  // wrap, or over a bar line and longer than 20
    EXPECT_EQ(A.GetArcShape(true, false, 1), assFlatFill);
    EXPECT_EQ(A.GetArcShape(false, true, 21), assFlatFill);
    EXPECT_EQ(A.GetArcShape(false, true, 20), assEllipseFill);
    EXPECT_EQ(A.GetArcShape(false, false, 50), assEllipseFill);
    A.DefaultShape = assEllipseStroke;
    EXPECT_EQ(A.GetArcShape(true, false, 1), assFlatStroke);

    A.CaseForConvertToFlat = cfactfNever;
    EXPECT_EQ(A.GetArcShape(true, true, 50), assEllipseStroke);
    A.CaseForConvertToFlat = cfactfWrap;
    EXPECT_EQ(A.GetArcShape(false, true, 50), assEllipseStroke);
    A.CaseForConvertToFlat = cfactfWrapOrOverMeasure;
    EXPECT_EQ(A.GetArcShape(false, true, 1), assFlatStroke);
    EXPECT_EQ(A.GetArcShape(false, false, 50), assEllipseStroke);
    A.CaseForConvertToFlat = cfactfWrapOrOverLength;
    EXPECT_EQ(A.GetArcShape(false, false, 50), assFlatStroke);
    EXPECT_EQ(A.GetArcShape(false, true, 1), assEllipseStroke);

    A.DefaultShape = assFlatFill;  // a flat default stays flat
    A.CaseForConvertToFlat = cfactfNever;
    EXPECT_EQ(A.GetArcShape(false, false, 0), assFlatFill);
}

// ---- Option item line
// -----------------------------------------------------------------------------

TEST_F(OptionItem, PaperSetsLandscapeWithDefaultMargins) {
    ASSERT_TRUE(Apply(u"Paper = 297, 210"));
    EXPECT_TRUE(Item.bAllValuesAccepted);
    EXPECT_EQ(Item.ItemType, soitPaper);
    EXPECT_EQ(G().Param_Paper.Width, 297);
    EXPECT_EQ(G().Param_Paper.Height, 210);
    EXPECT_EQ(G().Param_Paper.MarginLeft, 20);
}

TEST_F(OptionItem, OutOfRangeValueIsAnItemThatChangesNothing) {
    ASSERT_TRUE(Apply(u"Paper = 5, 210"));
    EXPECT_FALSE(Item.bAllValuesAccepted);
    EXPECT_EQ(G().Param_Paper.Width, 210);
    // Only the name was read: the header ends there and has no value token.
    EXPECT_EQ(Item.Header.TokenItems.size(), 1u);
    EXPECT_EQ(Item.Header.ABCTextRange, TKoRange(0, 5));
    EXPECT_EQ(End, 4);
}

TEST_F(OptionItem, PaperWithoutLayoutRoomIsNotApplied) {
    ASSERT_TRUE(Apply(u"Paper = 30, 210"));  // 20 + 20 margins exceed 30
    EXPECT_FALSE(Item.bAllValuesAccepted);
    EXPECT_EQ(G().Param_Paper.Width, 210);
    ASSERT_TRUE(Apply(u"Paper = 30, 210, 5, 5"));
    EXPECT_TRUE(Item.bAllValuesAccepted);
    EXPECT_EQ(G().Param_Paper.Width, 30);
    EXPECT_EQ(G().Param_Paper.MarginTop, 20);
}

TEST_F(OptionItem, NamesIgnoreCaseAndMustBeKnown) {
    ASSERT_TRUE(Apply(u"paper = 297, 210"));
    EXPECT_EQ(G().Param_Paper.Width, 297);
    EXPECT_FALSE(Apply(u"PaperX = 1"));
    EXPECT_FALSE(Apply(u"= 1"));
    EXPECT_FALSE(Apply(u"Paper ="));
    EXPECT_FALSE(Apply(u"Paper 297"));
    EXPECT_TRUE(Apply(u"  DRUMCHAR=1,2,3,4,5"));
    EXPECT_EQ(Item.ItemType, soitDrumPitchChar);
    EXPECT_EQ(G().Param_DrumPitchChar.CoreFont_Scale, 5);
}

TEST_F(OptionItem, SurplusValuesKeepTheItemButAreNotApplied) {
    ASSERT_TRUE(Apply(u"Digit = 1, 3.3, 0.8, 9"));
    EXPECT_FALSE(Item.bAllValuesAccepted);
    EXPECT_EQ(G().Param_MainDigit.Face, dfFace0);
    EXPECT_EQ(G().Param_MainDigit.Height, 3.0f);
    // The values up to the maximum were read into the record.
    EXPECT_EQ(Item.Param_Digit.Face, dfFace1);
    EXPECT_FLOAT_EQ(Item.Param_Digit.Height, 3.3f);
    EXPECT_EQ(Item.ValueRanges.size(), 4u);
}

TEST_F(OptionItem, FewerThanTheMinimumIsNoItem) {
    EXPECT_FALSE(Apply(u"FitFactor = 2.5, True"));
    EXPECT_FALSE(Apply(u"DrumChar = 1, 2, 3, 4"));
    EXPECT_FALSE(Apply(u"Lyric = True, 1"));
    EXPECT_TRUE(Apply(u"FitFactor = 2.5, True, 1.5, false"));
    EXPECT_FLOAT_EQ(G().Param_FitFactor.MaxFactorForFitHeight, 1.5f);
    EXPECT_FALSE(G().Param_FitFactor.bFitHeightForLastPage);
}

TEST_F(OptionItem, FieldsReadBeforeAFailureStayInTheRecord) {
    ASSERT_TRUE(Apply(u"Digit = 2, 4.5, x"));
    EXPECT_FALSE(Item.bAllValuesAccepted);
    EXPECT_EQ(Item.Param_Digit.Face, dfFace2);
    EXPECT_FLOAT_EQ(Item.Param_Digit.Height, 4.5f);
    EXPECT_FLOAT_EQ(Item.Param_Digit.WHRatio, 0.8f);
    EXPECT_EQ(G().Param_MainDigit.Face, dfFace0);
    // Tokens: the name and the two values read; the header ends at the second value.
    ASSERT_EQ(Item.Header.TokenItems.size(), 3u);
    EXPECT_EQ(Item.Header.TokenItems[0].aType, ttOpionName);
    EXPECT_EQ(Item.Header.TokenItems[2].aType, ttOptionValue);
    EXPECT_EQ(Item.Header.TokenItems[2].ABCTextRange, TKoRange(11, 3));
    EXPECT_EQ(Item.Header.ABCTextRange, TKoRange(0, 14));
    EXPECT_EQ(Item.Header.aType, pitOption);
    EXPECT_EQ(End, 13);
}

TEST_F(OptionItem, EmptyValueBetweenCommasFails) {
    ASSERT_TRUE(Apply(u"Digit = 1, , 0.9"));
    EXPECT_FALSE(Item.bAllValuesAccepted);
    EXPECT_EQ(G().Param_MainDigit.WHRatio, 0.8f);
    // Even where any text keeps the default, an empty value is no value: the header and the
    // end position stay on the name.
    ASSERT_TRUE(Apply(u"HorzSpacing_AW = , 2"));
    EXPECT_FALSE(Item.bAllValuesAccepted);
    EXPECT_EQ(End, 13);
    EXPECT_EQ(Item.Header.ABCTextRange, TKoRange(0, 14));
    EXPECT_EQ(Item.Header.TokenItems.size(), 1u);
}

TEST_F(OptionItem, ParseOnlyNeverTouchesTheGlobalOptions) {
    ASSERT_TRUE(Parse(u"Paper = 297, 210"));
    EXPECT_TRUE(Item.bAllValuesAccepted);
    EXPECT_EQ(Item.Param_Paper.Width, 297);
    EXPECT_EQ(G().Param_Paper.Width, 210);
}

TEST_F(OptionItem, ALineSetsItsWholeGroup) {
    ASSERT_TRUE(Apply(u"HorzSpacing_AW = 4th, 2, 1, True"));
    EXPECT_EQ(G().Param_HorzSpacing_AW.RefDuration, sd4th);
    EXPECT_TRUE(G().Param_HorzSpacing_AW.bUseAWCoefTable);
    ASSERT_TRUE(Apply(u"HorzSpacing_AW = 8th"));
    EXPECT_EQ(G().Param_HorzSpacing_AW.RefDuration, sd8th);
    EXPECT_FLOAT_EQ(G().Param_HorzSpacing_AW.RefAWCoef, 1.3f);
    EXPECT_FLOAT_EQ(G().Param_HorzSpacing_AW.PowerFactor, 0.6f);
    EXPECT_FALSE(G().Param_HorzSpacing_AW.bUseAWCoefTable);
}

TEST_F(OptionItem, ALaterLineOfTheSameItemWins) {
    ASSERT_TRUE(Apply(u"Lyric = False, 0.5, 2"));
    ASSERT_TRUE(Apply(u"Lyric = True, 1.5, 2"));
    EXPECT_TRUE(G().Param_Lyric.bCompressBiaoDian);
    EXPECT_FLOAT_EQ(G().Param_Lyric.GapBetweenLyrics, 1.5f);
}

TEST_F(OptionItem, DigitRangesAndFaceFallback) {
    ASSERT_TRUE(Apply(u"Digit = 3"));
    EXPECT_TRUE(G().Param_MainDigit.IsScript());
    ASSERT_TRUE(Apply(u"Digit = 10, 2"));
    EXPECT_TRUE(Item.bAllValuesAccepted);
    EXPECT_EQ(G().Param_MainDigit.Face, dfFace0);  // no such face: the standard one
    EXPECT_FLOAT_EQ(G().Param_MainDigit.Height, 2.0f);
    for (const std::u16string S : {u"Digit = 11", u"Digit = -1", u"Digit = 1.5", u"Digit = 1, -2",
                                   u"Digit = 1, 2, -0.1", u"Digit = x"}) {
        ASSERT_TRUE(Apply(S)) << Utf8(S);
        EXPECT_FALSE(Item.bAllValuesAccepted) << Utf8(S);
    }
}

TEST_F(OptionItem, DigitAppliedRunsTheMetricsHookOnlyWhenApplied) {
    static int Calls = 0;
    static float SeenHeight = 0;
    Calls = 0;
    Nuo4DocOptions_SetMainDigitChangedHook([](const TrecNuo4DocOptions& O) {
        ++Calls;
        SeenHeight = O.Param_MainDigit.Height;
    });
    ASSERT_TRUE(Apply(u"Digit = 1, 4"));
    EXPECT_EQ(Calls, 1);
    EXPECT_FLOAT_EQ(SeenHeight, 4.0f);
    ASSERT_TRUE(Parse(u"Digit = 1, 5"));
    ASSERT_TRUE(Apply(u"Digit = 1, 5, 0.8, 1"));
    ASSERT_TRUE(Apply(u"Paper = 300, 400"));
    EXPECT_EQ(Calls, 1);
}

TEST_F(OptionItem, HorzSpacingAWRanges) {
    ASSERT_TRUE(Apply(u"HorzSpacing_AW = 8TH, 2"));  // exact case only: default kept
    EXPECT_TRUE(Item.bAllValuesAccepted);
    EXPECT_EQ(G().Param_HorzSpacing_AW.RefDuration, sd16th);
    EXPECT_FLOAT_EQ(G().Param_HorzSpacing_AW.RefAWCoef, 2);
    ASSERT_TRUE(Apply(u"HorzSpacing_AW = 16th, 1.3, 0.6, true, 1.1,1.2,1.3,1.4,1.5,1.6,1.7,1.8"));
    EXPECT_TRUE(Item.bAllValuesAccepted);
    EXPECT_FLOAT_EQ(G().Param_HorzSpacing_AW.AWCoefTable[7], 1.8f);
    for (const std::u16string S :
         {u"HorzSpacing_AW = 16th, 0.9", u"HorzSpacing_AW = 16th, 5.1",
          u"HorzSpacing_AW = 16th, 2, 1.1", u"HorzSpacing_AW = 16th, 2, 0.5, yes",
          u"HorzSpacing_AW = 16th, 2, 0.5, true, 0.9",
          u"HorzSpacing_AW = 16th, 1.3, 0.6, true, 1,1,1,1,1,1,1,1,1"}) {
        ASSERT_TRUE(Apply(S)) << Utf8(S);
        EXPECT_FALSE(Item.bAllValuesAccepted) << Utf8(S);
    }
    EXPECT_FLOAT_EQ(G().Param_HorzSpacing_AW.AWCoefTable[7], 1.8f);
}

TEST_F(OptionItem, GapVertAndFitFactorValues) {
    ASSERT_TRUE(Apply(u"HorzSpacing_Gap = 0.1, 0.2, 0.3, 0.4, 0.5, False"));
    EXPECT_FLOAT_EQ(G().Param_HorzSpacing_Gap.Note_Other, 0.5f);
    EXPECT_FALSE(G().Param_HorzSpacing_Gap.bNoteBarlineGapIsFixed);
    ASSERT_TRUE(Apply(u"HorzSpacing_Gap = 0.1, -0.2"));
    EXPECT_FALSE(Item.bAllValuesAccepted);
    ASSERT_TRUE(Apply(u"VertSpacing = -1, 2, 3, 4"));  // any number
    EXPECT_FLOAT_EQ(G().Param_VertSpacing.GapCoef_TitleBlock_Score, -1);
    EXPECT_FLOAT_EQ(G().Param_VertSpacing.GapCoef_Lyric_Score, 4);
    ASSERT_TRUE(Apply(u"FitFactor = 1, 2, 3, True"));  // a number where a boolean belongs
    EXPECT_FALSE(Item.bAllValuesAccepted);
}

TEST_F(OptionItem, ArcValues) {
    ASSERT_TRUE(Apply(u"Arc = 3, 0, 1, 0, 0"));
    EXPECT_EQ(G().Param_Arc.DefaultShape, assFlatStroke);
    EXPECT_EQ(G().Param_Arc.CaseForConvertToFlat, cfactfNever);
    EXPECT_FLOAT_EQ(G().Param_Arc.MaxLengthForConvertToFlat, 1);
    for (const std::u16string S :
         {u"Arc = 4", u"Arc = 0, 5", u"Arc = 0, 1, 0.5", u"Arc = 0, 1, 2, -1"}) {
        ASSERT_TRUE(Apply(S)) << Utf8(S);
        EXPECT_FALSE(Item.bAllValuesAccepted) << Utf8(S);
    }
}

TEST_F(OptionItem, SubStyleNamesIgnoreCase) {
    ASSERT_TRUE(Apply(u"Accomp = substylesmallsize, true"));
    EXPECT_EQ(G().Param_Accomp.NoteSubStyle, nssSmallSize);
    EXPECT_TRUE(G().Param_Accomp.bAccompMarkerBreakUnderline);
    ASSERT_TRUE(Apply(u"Chord = SubStyleItalicZip, False, 0.5, True, 0.3, 1.5"));
    EXPECT_EQ(G().Param_Chord.NoteSubStyle, nssItalicZip);
    EXPECT_TRUE(G().Param_Chord.NoteSpacing.bGapMode);
    EXPECT_FLOAT_EQ(G().Param_Chord.NoteSpacing.SpacingCoef_NonGapMode, 1.5f);
    ASSERT_TRUE(Apply(u"Accomp = Zip"));
    EXPECT_FALSE(Item.bAllValuesAccepted);
    EXPECT_EQ(G().Param_Accomp.NoteSubStyle, nssSmallSize);
}

TEST_F(OptionItem, InitializeSetsTypeAndDefaults) {
    Item.Param_Lyric.GapBetweenLyrics = 7;
    Item.ValueRanges.push_back(TKoRange(1, 1));
    Item.Initialize_Lyric();
    EXPECT_EQ(Item.ItemType, soitLyric);
    EXPECT_EQ(Item.Param_Lyric.GapBetweenLyrics, 0);
    EXPECT_TRUE(Item.ValueRanges.empty());
    EXPECT_EQ(Item.Header.aType, pitOption);
}

// ---- Writer -------------------------------------------------------------------------------------

TEST_F(OptionItem, WriterFormatsEachItem) {
    TrecNuo4ABCParseInfo_OptionItem I;
    I.Initialize_Digit();
    I.Param_Digit.Face = dfFace1;
    I.Param_Digit.Height = 3.3f;
    EXPECT_EQ(I.ToABCText(), u"Digit = 1, 3.30, 0.80");
    I.Initialize_Lyric();
    I.Param_Lyric.GapBetweenLyrics = 0.5f;
    EXPECT_EQ(I.ToABCText(), u"Lyric = True, 0.5, 1.0");
    I.Initialize_HorzSpacing_AW();
    I.Param_HorzSpacing_AW.RefDuration = sd32th;  // not offered: written as the 16th
    EXPECT_EQ(I.ToABCText(),
              u"HorzSpacing_AW = 16th, 1.30, 0.60, False, "
              u"1.30,1.97,2.51,2.99,3.81,4.53,5.77,6.86");
    I.Initialize_HorzSpacing_Gap();
    EXPECT_EQ(I.ToABCText(), u"HorzSpacing_Gap = 0.00, 1.00, 0.70, 1.00, 0.50, True");
    I.Initialize_VertSpacing();
    EXPECT_EQ(I.ToABCText(), u"VertSpacing = 1.00, 0.30, 0.20, 2.00");
    I.Initialize_FitFactor();
    EXPECT_EQ(I.ToABCText(), u"FitFactor = 3.00, True, 2.00, True");
    I.Initialize_Accomp();
    EXPECT_EQ(I.ToABCText(), u"Accomp = SubStyleNormal, False");
    I.Initialize_Chord();
    EXPECT_EQ(I.ToABCText(), u"Chord = SubStyleZip, True, 0.40, False, 0.40, 1.70");
    I.Initialize_DrumPitchChar();
    EXPECT_EQ(I.ToABCText(), u"DrumChar = 0.00, -0.10, 0.00, 0.00, 1.00");
}

TEST_F(OptionItem, PaperWriterDropsDefaults) {
    TrecNuo4ABCParseInfo_OptionItem I;
    I.Initialize_Paper();
    EXPECT_EQ(I.ToABCText(), u"");
    I.Param_Paper.Width = 297;
    I.Param_Paper.Height = 210;
    EXPECT_EQ(I.ToABCText(), u"Paper = 297, 210");
    I.Param_Paper.MarginBottom = 15.4f;
    EXPECT_EQ(I.ToABCText(), u"Paper = 297, 210, 20, 20, 20, 15");
    I.Param_Paper.SetToDefault();
    I.Param_Paper.MarginLeft = 10;  // a margin alone still needs all six
    EXPECT_EQ(I.ToABCText(), u"Paper = 210, 297, 10, 20, 20, 20");
}

TEST_F(OptionItem, ArcWriterDropsTrailingDefaults) {
    TrecNuo4ABCParseInfo_OptionItem I;
    I.Initialize_Arc();
    EXPECT_EQ(I.ToABCText(), u"");
    I.Param_Arc.DefaultShape = assFlatFill;
    EXPECT_EQ(I.ToABCText(), u"Arc = 2");
    I.Param_Arc.MaxLengthForConvertToFlat = 25.25f;
    EXPECT_EQ(I.ToABCText(), u"Arc = 2, 4, 25.2");
    I.Param_Arc.DefaultShape = assEllipseFill;
    I.Param_Arc.MaxLengthForConvertToFlat = 20;
    I.Param_Arc.GapCoefY_Arcs = 0.3f;
    EXPECT_EQ(I.ToABCText(), u"Arc = 0, 4, 20.0, 0.40, 0.30");
}

// Every written item reads back to a record that writes the same text and holds the same group.
TEST_F(OptionItem, WrittenItemsReadBackToTheSameRecord) {
    std::vector<TrecNuo4ABCParseInfo_OptionItem> Items;
    auto Add = [&](TNuo4SectionOptionItemType T, auto AEdit) {
        TrecNuo4ABCParseInfo_OptionItem I;
        I.Initialize(T);
        AEdit(I);
        Items.push_back(I);
    };
    Add(soitDigit, [](auto& I) { I.Param_Digit = {dfFace2, 3.25f, 0.75f}; });
    Add(soitPaper, [](auto& I) { I.Param_Paper = {297, 210, 15, 15, 10, 25}; });
    Add(soitPaper, [](auto& I) { I.Param_Paper.Width = 250; });
    Add(soitHorzSpacing_AW, [](auto& I) {
        auto& P = I.Param_HorzSpacing_AW;
        P.RefDuration = sd8th;
        P.RefAWCoef = 1.5f;
        P.PowerFactor = 0.5f;
        P.bUseAWCoefTable = true;
        P.AWCoefTable = {1, 1.25f, 1.5f, 1.75f, 2, 2.25f, 2.5f, 3};
    });
    Add(soitHorzSpacing_AW, [](auto& I) { I.Param_HorzSpacing_AW.RefDuration = sd4th; });
    Add(soitHorzSpacing_Gap,
        [](auto& I) { I.Param_HorzSpacing_Gap = {0.25f, 0.5f, 0.75f, 1.25f, 1.5f, false}; });
    Add(soitVertSpacing, [](auto& I) { I.Param_VertSpacing = {-0.5f, 0.25f, 0.75f, 3}; });
    Add(soitFitFactor, [](auto& I) { I.Param_FitFactor = {1.5f, false, 4, true}; });
    Add(soitArc, [](auto& I) { I.Param_Arc.DefaultShape = assEllipseStroke; });
    Add(soitArc, [](auto& I) {
        I.Param_Arc = {assFlatStroke, cfactfWrapOrOverLength, 12.5f, 0.5f, 0.25f};
    });
    Add(soitArc, [](auto& I) {
        I.Param_Arc.CaseForConvertToFlat = cfactfWrap;
        I.Param_Arc.MaxLengthForConvertToFlat = 5.5f;
    });
    for (int S = 0; S < Nuo4NoteSubStyleCount; ++S) {
        Add(soitAccomp, [S](auto& I) {
            I.Param_Accomp = {static_cast<TNuo4NoteSubStyle>(S), S % 2 == 0};
        });
    }
    Add(soitChord, [](auto& I) { I.Param_Chord = {nssGrace, false, -0.25f, {true, 0.5f, 2.25f}}; });
    Add(soitDrumPitchChar, [](auto& I) {
        I.Param_DrumPitchChar = {{0.5f, -0.25f}, {1, 2}, 0.75f};
    });
    Add(soitLyric, [](auto& I) { I.Param_Lyric = {false, 0.5f, 2.5f}; });

    for (const auto& I : Items) {
        const std::u16string Text = I.ToABCText();
        ASSERT_FALSE(Text.empty()) << EnumName(I.ItemType);
        TrecNuo4ABCParseInfo_OptionItem R;
        int32_t E = -1;
        ASSERT_TRUE(ReadOptionItem(Text, All(Text), R, false, E)) << Utf8(Text);
        EXPECT_TRUE(R.bAllValuesAccepted) << Utf8(Text);
        EXPECT_EQ(R.ItemType, I.ItemType);
        EXPECT_EQ(E, static_cast<int32_t>(Text.size()) - 1) << Utf8(Text);
        EXPECT_EQ(R.ToABCText(), Text);
        EXPECT_EQ(R.Header.TokenItems.size(), R.ValueRanges.size() + 1);
        switch (I.ItemType) {
            case soitDigit:
                EXPECT_EQ(R.Param_Digit, I.Param_Digit);
                EXPECT_EQ(G().Param_MainDigit, I.Param_Digit);
                break;
            case soitPaper:
                EXPECT_EQ(R.Param_Paper, I.Param_Paper);
                break;
            case soitHorzSpacing_AW:
                if (I.Param_HorzSpacing_AW.bUseAWCoefTable)
                    EXPECT_EQ(R.Param_HorzSpacing_AW, I.Param_HorzSpacing_AW);
                else
                    EXPECT_EQ(R.Param_HorzSpacing_AW.RefDuration,
                              I.Param_HorzSpacing_AW.RefDuration);
                break;
            case soitHorzSpacing_Gap:
                EXPECT_EQ(R.Param_HorzSpacing_Gap, I.Param_HorzSpacing_Gap);
                break;
            case soitVertSpacing:
                EXPECT_EQ(R.Param_VertSpacing, I.Param_VertSpacing);
                break;
            case soitFitFactor:
                EXPECT_EQ(R.Param_FitFactor, I.Param_FitFactor);
                break;
            case soitArc:
                EXPECT_EQ(R.Param_Arc, I.Param_Arc);
                EXPECT_EQ(G().Param_Arc, I.Param_Arc);
                break;
            case soitAccomp:
                EXPECT_EQ(R.Param_Accomp, I.Param_Accomp);
                break;
            case soitChord:
                EXPECT_EQ(R.Param_Chord, I.Param_Chord);
                break;
            case soitDrumPitchChar:
                EXPECT_EQ(R.Param_DrumPitchChar, I.Param_DrumPitchChar);
                break;
            case soitLyric:
                EXPECT_EQ(R.Param_Lyric, I.Param_Lyric);
                break;
        }
    }
}

TEST(OptionSection, IndexOfItemTypeFindsTheFirst) {
    TrecNuo4ABCParseInfo_Section_Options S;
    S.Clear();
    EXPECT_TRUE(S.BufferIsEmpty());
    TrecNuo4ABCParseInfo_OptionItem I;
    I.Initialize_Paper();
    S.AddItem(I);
    I.Initialize_Lyric();
    S.AddItem(I);
    S.AddItem(I);
    EXPECT_EQ(S.GetCount(), 3);
    EXPECT_EQ(S.IndexOfItemType(soitLyric), 1);
    EXPECT_EQ(S.IndexOfItemType(soitArc), -1);
    EXPECT_FALSE(S.ABCTextRange_All.IsValid());
}

TEST(OptionNames, EveryItemTypeHasNameAndCounts) {
    EXPECT_STREQ(EnumName(soitDrumPitchChar), "soitDrumPitchChar");
    EXPECT_EQ(std::u16string(OptionItemName(soitDrumPitchChar)), u"DrumChar");
    EXPECT_STREQ(EnumName(assFlatStroke), "assFlatStroke");
    EXPECT_STREQ(EnumName(cfactfWrapOrOverMeasureAndOverLength),
                 "cfactfWrapOrOverMeasureAndOverLength");
    EXPECT_EQ(OptionItem_MinValueCount(soitFitFactor), 4);
    EXPECT_EQ(OptionItem_MaxValueCount(soitHorzSpacing_AW), 12);
}
