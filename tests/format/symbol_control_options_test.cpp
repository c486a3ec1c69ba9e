#include "format/symbol_control_options.h"

#include <gtest/gtest.h>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;

namespace {

struct TReadResult {
    bool bOk = false;
    int32_t EndPos = -1;
    TrecNuo4ABCParseInfo_SymbolControlOptions Rec;
};

TReadResult Read(const std::u16string& S) {
    TReadResult R;
    R.bOk = ReadSymbolControlOptions(S, All(S), R.Rec, R.EndPos);
    return R;
}

}  // namespace

TEST(ControlOptionsGroup, AWPartLocksTheAdvanceFactor) {
    const std::u16string S = u"{C:1.5}|";
    const auto R = Read(S);
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 6);
    EXPECT_FLOAT_EQ(R.Rec.Value.AWCoef.AWCoef, 1.5f);
    EXPECT_TRUE(R.Rec.Value.AWCoefIsLocked());
    EXPECT_FALSE(R.Rec.Value.RightLineSpacingCoefIsLocked());
    EXPECT_EQ(R.Rec.Header.aType, pitSymbolControlOptions);
    EXPECT_EQ(R.Rec.Header.ABCTextRange, TKoRange(0, 7));
    ASSERT_EQ(R.Rec.Header.TokenItems.size(), 1u);
    EXPECT_EQ(R.Rec.Header.TokenItems[0].aType, ttControlOptions);
}

TEST(ControlOptionsGroup, RightLineFactorsFollowTheNumberDirectly) {
    const auto R = Read(u"{C:1.000(1.200,1.200,0,0,0,0,0),All,Connect}");
    ASSERT_TRUE(R.bOk);
    const auto& V = R.Rec.Value;
    EXPECT_FLOAT_EQ(V.AWCoef.AWCoef, 1.0f);
    EXPECT_FLOAT_EQ(V.AWCoef.RightLineSpacingCoefArray[0], 1.2f);
    EXPECT_FLOAT_EQ(V.AWCoef.RightLineSpacingCoefArray[1], 1.2f);
    EXPECT_FLOAT_EQ(V.AWCoef.RightLineSpacingCoefArray[2], 0.0f);
    EXPECT_EQ(V.HideLevel, shlNone);
    EXPECT_EQ(V.UnderlineConnectType, ulctAlwaysConnect);
}

TEST(ControlOptionsGroup, FactorReadingStopsAtTheFirstNonNegativeFailure) {
    const auto R = Read(u"{C:1(2,-1,3)}");
    ASSERT_TRUE(R.bOk);
    EXPECT_FLOAT_EQ(R.Rec.Value.AWCoef.RightLineSpacingCoefArray[0], 2.0f);
    EXPECT_FLOAT_EQ(R.Rec.Value.AWCoef.RightLineSpacingCoefArray[1], 0.0f);
    EXPECT_FLOAT_EQ(R.Rec.Value.AWCoef.RightLineSpacingCoefArray[2], 0.0f);
    // More than seven factors: the extra ones are ignored.
    const auto R2 = Read(u"{C:1(1,2,3,4,5,6,7,8)}");
    ASSERT_TRUE(R2.bOk);
    EXPECT_FLOAT_EQ(R2.Rec.Value.AWCoef.RightLineSpacingCoefArray[6], 7.0f);
}

TEST(ControlOptionsGroup, NamesMatchAtPieceStartLongestFirstIgnoringCase) {
    EXPECT_EQ(Read(u"{C:0,None}").Rec.Value.HideLevel, shlAll);
    EXPECT_EQ(Read(u"{C:0,UnderlineOnly2}").Rec.Value.HideLevel, shlDurationExclude2);
    EXPECT_EQ(Read(u"{C:0,underlineonly}").Rec.Value.HideLevel, shlDurationExclude);
    EXPECT_EQ(Read(u"{C:0,DigitExclude2}").Rec.Value.HideLevel, shlDigitOnly2);
    EXPECT_EQ(Read(u"{C:0,Other}").Rec.Value.HideLevel, shlNote);
    EXPECT_EQ(Read(u"{C:0,Note}").Rec.Value.HideLevel, shlOther);
    EXPECT_EQ(Read(u"{C:0, None }").Rec.Value.HideLevel, shlAll);
    const auto R = Read(u"{C:0,Bogus,unconnect}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.Rec.Value.HideLevel, shlNone);
    EXPECT_EQ(R.Rec.Value.UnderlineConnectType, ulctAlwaysUnconnect);
}

TEST(ControlOptionsGroup, RejectedGroups) {
    EXPECT_FALSE(Read(u"{C:-1}").bOk);     // below -0.01
    EXPECT_FALSE(Read(u"{C:}").bOk);       // no AW part
    EXPECT_FALSE(Read(u"{C:abc}").bOk);    // not a number
    EXPECT_FALSE(Read(u"{C:1.5x}").bOk);   // junk after the AW part
    EXPECT_FALSE(Read(u"{C:1(2,3}").bOk);  // unclosed factor list
    EXPECT_FALSE(Read(u"{C:1.5").bOk);     // unclosed group
    EXPECT_FALSE(Read(u"{X:1.5}").bOk);    // not opened by "{C:"
    EXPECT_FALSE(Read(u"C:1.5}").bOk);
    // Within the tolerance: kept as written, and written back the same.
    const auto Small = Read(u"{C:-0.005}");
    ASSERT_TRUE(Small.bOk);
    EXPECT_FLOAT_EQ(Small.Rec.Value.AWCoef.AWCoef, -0.005f);
    EXPECT_EQ(Small.Rec.Value.ToABCText(), u"{C:-0.005}");
    EXPECT_TRUE(Read(u"{C:-0.01}").bOk);
    TrecNuo4ABCParseInfo_SymbolControlOptions Rec;
    int32_t End = 0;
    EXPECT_FALSE(ReadSymbolControlOptions(u"", TKoRange(0, 0), Rec, End));
    EXPECT_EQ(End, -1);
    EXPECT_FALSE(Rec.IsValid());
}

TEST(ControlOptionsGroup, GroupRangeStopsAtTheMatchingBrace) {
    const std::u16string S = u"5{C:1.5}{C:2}";
    TrecNuo4ABCParseInfo_SymbolControlOptions Rec;
    int32_t End = -1;
    ASSERT_TRUE(ReadSymbolControlOptions(S, TKoRange(1, 12), Rec, End));
    EXPECT_EQ(End, 7);
    EXPECT_EQ(Rec.Header.ABCTextRange, TKoRange(1, 7));
}

TEST(ControlOptionsText, WrittenFormsByWhichOptionsDiffer) {
    TrecNuo4SymbolControlOptions O;
    EXPECT_EQ(O.ToABCText(), u"");
    O.LockTo(1.25f);
    EXPECT_EQ(O.ToABCText(), u"{C:1.250}");
    O.SetToDefault();
    O.HideLevel = shlAll;
    EXPECT_EQ(O.ToABCText(), u"{C:0,None}");
    O.SetToDefault();
    O.UnderlineConnectType = ulctAlwaysConnect;
    EXPECT_EQ(O.ToABCText(), u"{C:0,All,Connect}");
    O.SetToDefault();
    O.LockTo(1.0f);
    O.AWCoef.RightLineSpacingCoefArray[0] = 1.2f;
    O.AWCoef.RightLineSpacingCoefArray[1] = 1.2f;
    O.UnderlineConnectType = ulctAlwaysConnect;
    EXPECT_EQ(O.ToABCText(), u"{C:1.000(1.200,1.200,0,0,0,0,0),All,Connect}");
    // Locked right-line factors with an automatic advance factor keep the factor list.
    O.SetToDefault();
    O.AWCoef.RightLineSpacingCoefArray[0] = 2.0f;
    EXPECT_EQ(O.ToABCText(), u"{C:0.000(2.000,0,0,0,0,0,0)}");
    // Factors after an unlocked first one mean nothing and are not written.
    O.SetToDefault();
    O.AWCoef.RightLineSpacingCoefArray[3] = 2.0f;
    EXPECT_EQ(O.ToABCText(), u"");
}

TEST(ControlOptionsText, WrittenTextReadsBack) {
    for (int H = 0; H < Nuo4SymbolHideLevelCount; ++H)
        for (int C = 0; C < Nuo4UnderlineConnectTypeCount; ++C) {
            TrecNuo4SymbolControlOptions O;
            O.HideLevel = static_cast<TNuo4SymbolHideLevel>(H);
            O.UnderlineConnectType = static_cast<TNuo4UnderlineConnectType>(C);
            O.LockTo(0.5f * H);
            if (C == 1) O.AWCoef.RightLineSpacingCoefArray = {1.5f, 0.25f, 0, 0, 0, 0, 3.0f};
            const std::u16string S = O.ToABCText();
            if (O.IsDefault_All()) {
                EXPECT_EQ(S, u"");
                continue;
            }
            const auto R = Read(S);
            ASSERT_TRUE(R.bOk) << nuo4::test::Utf8(S);
            EXPECT_EQ(R.Rec.Value, O) << nuo4::test::Utf8(S);
        }
}

TEST(ControlOptionsChange, ChangeAWCoefScalesLockedRightLines) {
    TrecNuo4SymbolControlOptions O;
    // Not locked: the value locks and any stale factors are dropped.
    O.AWCoef.RightLineSpacingCoefArray[0] = 3.0f;
    O.ChangeAWCoef(2.0f);
    EXPECT_FLOAT_EQ(O.AWCoef.AWCoef, 2.0f);
    EXPECT_FALSE(O.RightLineSpacingCoefIsLocked());
    // Locked without factors: only the value changes.
    O.ChangeAWCoef(3.0f);
    EXPECT_FLOAT_EQ(O.AWCoef.AWCoef, 3.0f);
    EXPECT_FALSE(O.RightLineSpacingCoefIsLocked());
    // Locked with factors: the factors keep their proportion.
    O.AWCoef.RightLineSpacingCoefArray = {1.5f, 3.0f, 0, 0, 0, 0, 0};
    O.ChangeAWCoef(6.0f);
    EXPECT_FLOAT_EQ(O.AWCoef.AWCoef, 6.0f);
    EXPECT_FLOAT_EQ(O.AWCoef.RightLineSpacingCoefArray[0], 3.0f);
    EXPECT_FLOAT_EQ(O.AWCoef.RightLineSpacingCoefArray[1], 6.0f);
    // Zero unlocks everything.
    O.ChangeAWCoef(0);
    EXPECT_TRUE(O.IsDefault_AWCoef());
    EXPECT_FLOAT_EQ(O.AWCoef.RightLineSpacingCoefArray[1], 0.0f);
}

TEST(ControlOptionsChange, LockAndUnlockOperations) {
    TrecNuo4SymbolControlOptions O;
    O.InitializeToLock(1.5f);
    O.AWCoef.RightLineSpacingCoefArray[0] = 1.0f;
    O.UnlockAWCoef();
    EXPECT_FALSE(O.AWCoefIsLocked());
    EXPECT_TRUE(O.RightLineSpacingCoefIsLocked());
    O.LockTo(2.0f);
    O.UnlockRightLineSpacing();
    EXPECT_TRUE(O.AWCoefIsLocked());
    EXPECT_FALSE(O.RightLineSpacingCoefIsLocked());
    O.AWCoef.RightLineSpacingCoefArray[0] = 1.0f;
    O.Unlock();
    EXPECT_TRUE(O.IsDefault_AWCoef());
    O.HideLevel = shlDigitOnly;
    EXPECT_FALSE(O.IsDefault_All());
    EXPECT_FALSE(O.IsDefault_DisplayElement_UnderlineConnect());
    EXPECT_TRUE(O.IsDefault_UnderlineConnect());
}

TEST(ControlOptionsNames, EnumAndTextNames) {
    EXPECT_STREQ(EnumName(shlDurationExclude2), "shlDurationExclude2");
    EXPECT_STREQ(EnumName(ulctAlwaysUnconnect), "ulctAlwaysUnconnect");
    EXPECT_EQ(std::u16string(SymbolHideLevelName(shlAll)), u"None");
    EXPECT_EQ(std::u16string(SymbolHideLevelName(shlNone)), u"All");
    EXPECT_EQ(std::u16string(UnderlineConnectTypeName(ulctAuto)), u"Auto");
    EXPECT_EQ(std::u16string(SymbolHideLevelName(static_cast<TNuo4SymbolHideLevel>(99))), u"");
}
