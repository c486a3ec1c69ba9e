#include "format/symbol_transform.h"

#include <gtest/gtest.h>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;

namespace {

bool ReadT(std::u16string_view S, TrecNuo4SymbolTransform2& T) {
    int32_t End;
    return ReadSymbolTransform(S, All(S), T, End);
}

}  // namespace

TEST(RotateFromAngle, QuarterTurnsSnapWithinTolerance) {
    TrecNuo4Rotate R;
    R.FromAngle(90.005f);
    EXPECT_EQ(R.aType, rt90);
    R.FromAngle(450);
    EXPECT_EQ(R.aType, rt90);
    R.FromAngle(-90);
    EXPECT_EQ(R.aType, rt270);
    R.FromAngle(359.995f);
    EXPECT_EQ(R.aType, rtNone);
    R.FromAngle(-720);
    EXPECT_EQ(R.aType, rtNone);
}

TEST(RotateFromAngle, OtherAnglesKeepTheUnreducedValue) {
    TrecNuo4Rotate R;
    R.FromAngle(405);
    EXPECT_EQ(R.aType, rtAny);
    EXPECT_FLOAT_EQ(R.Angle, 405);
    EXPECT_FLOAT_EQ(R.ToAngle(), 405);
    R.FromAngle(90.02f);
    EXPECT_EQ(R.aType, rtAny);
}

TEST(RotateFromAngle, IncreaseAndDecreaseStepByQuarterTurns) {
    TrecNuo4Rotate R;
    R.Increase90();
    EXPECT_EQ(R.aType, rt90);
    R.Increase90();
    R.Increase90();
    EXPECT_EQ(R.aType, rt270);
    R.Increase90();
    EXPECT_EQ(R.aType, rtNone);
    R.Decrease90();
    EXPECT_EQ(R.aType, rt270);
    R.FromAngle(30);
    R.Increase90();
    EXPECT_EQ(R.aType, rtAny);
    EXPECT_FLOAT_EQ(R.Angle, 120);
}

TEST(TransformText, WriterUsesTheShortestForm) {
    TrecNuo4SymbolTransform2 T;
    EXPECT_EQ(T.ToABCText(false), u"");
    EXPECT_EQ(T.ToABCText(true), u"{}");
    T.Sx = 1.2f;
    T.Sy = 0.8f;
    EXPECT_EQ(T.ToABCText(true), u"{1.20, 0.80}");
    T.Rotate.FromAngle(45.4f);
    EXPECT_EQ(T.ToABCText(false), u"1.20, 0.80, False, False, Rotate45");
    T.Rotate.SetToDefault();
    T.bItalic = true;
    EXPECT_EQ(T.ToABCText(false), u"1.20, 0.80, False, True, Rotate0");
}

TEST(TransformText, ScaleAndQuarterRotationRead) {
    TrecNuo4SymbolTransform2 T;
    ASSERT_TRUE(ReadT(u"{1.2, 0.8, False, False, Rotate90}", T));
    EXPECT_FLOAT_EQ(T.Sx, 1.2f);
    EXPECT_FLOAT_EQ(T.Sy, 0.8f);
    EXPECT_EQ(T.Rotate.aType, rt90);
    ASSERT_TRUE(ReadT(u"{1, 1, False, False, rotate450}", T));
    EXPECT_EQ(T.Rotate.aType, rt90);
    ASSERT_TRUE(ReadT(u"{1, 1, False, False, Rotate45}", T));
    EXPECT_EQ(T.Rotate.aType, rtAny);
    EXPECT_FLOAT_EQ(T.Rotate.Angle, 45);
}

TEST(TransformText, PartsThatDoNotReadAreSkipped) {
    TrecNuo4SymbolTransform2 T;
    ASSERT_TRUE(ReadT(u"{x, 2, maybe, true}", T));
    EXPECT_FLOAT_EQ(T.Sx, 1);
    EXPECT_FLOAT_EQ(T.Sy, 2);
    EXPECT_FALSE(T.bMirror);
    EXPECT_TRUE(T.bItalic);
}

TEST(TransformText, BracesAreRequiredAndEmptyBracesAreDefault) {
    TrecNuo4SymbolTransform2 T;
    T.Sx = 3;
    ASSERT_TRUE(ReadT(u"{}", T));
    EXPECT_TRUE(T.IsDefault());
    EXPECT_FALSE(ReadT(u"1.2, 0.8", T));
    EXPECT_FALSE(ReadT(u"{1.2, 0.8", T));
}
