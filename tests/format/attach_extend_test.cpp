#include "format/attach_extend.h"

#include <gtest/gtest.h>

#include "format/attach_symbols.h"
#include "test_util.h"

using namespace nuo4;

TEST(ExtendList, BothWrittenFormsReadAsTheSameList) {
    TrecNuo4AttachExtendData A, B;
    ASSERT_TRUE(A.FromABCText(u"{\\xe123}"));
    ASSERT_TRUE(B.FromABCText(u"{{\\xe123}}"));
    EXPECT_EQ(A, B);
    ASSERT_EQ(A.Items.size(), 1u);
    EXPECT_EQ(A.Items[0].Text_ABC, u"\\xe123");
    EXPECT_EQ(A.ToABCText(true), u"{{\\xe123}}");
}

TEST(ExtendList, ItemWithPositionAndTransform) {
    TrecNuo4AttachExtendData D;
    ASSERT_TRUE(D.FromABCText(u"{{0.5, -1, \\xe001, 1.5, 2, True}, {\\xe002}}"));
    ASSERT_EQ(D.Items.size(), 2u);
    EXPECT_FLOAT_EQ(D.Items[0].Pos.X, 0.5f);
    EXPECT_FLOAT_EQ(D.Items[0].Pos.Y, -1);
    EXPECT_EQ(D.Items[0].Text_ABC, u"\\xe001");
    EXPECT_FLOAT_EQ(D.Items[0].Transform.Sx, 1.5f);
    EXPECT_FLOAT_EQ(D.Items[0].Transform.Sy, 2);
    EXPECT_TRUE(D.Items[0].Transform.bMirror);
    EXPECT_EQ(D.ToABCText(true),
              u"{{0.50, -1.00, \\xe001, 1.50, 2.00, True, False, Rotate0}, {\\xe002}}");
}

TEST(ExtendList, LeadingNumberNeedsYAndText) {
    TrecNuo4AttachExtendDataItem I;
    std::u16string S = u"1, \\xe001";
    EXPECT_FALSE(I.FromABCText(S, nuo4::test::All(S)));
    S = u"1, x, \\xe001";
    EXPECT_FALSE(I.FromABCText(S, nuo4::test::All(S)));
    S = u"1, 2, \\xe001";
    EXPECT_TRUE(I.FromABCText(S, nuo4::test::All(S)));
}

TEST(ExtendList, TransformPartsStopAtTheFirstThatDoesNotRead) {
    TrecNuo4AttachExtendDataItem I;
    const std::u16string S = u"\\xe001, 2, x, True";
    ASSERT_TRUE(I.FromABCText(S, nuo4::test::All(S)));
    EXPECT_FLOAT_EQ(I.Transform.Sx, 2);
    EXPECT_FLOAT_EQ(I.Transform.Sy, 1);
    EXPECT_FALSE(I.Transform.bMirror);
}

TEST(ExtendList, ReadingStopsAtTheFirstBadItemAndNeedsOne) {
    TrecNuo4AttachExtendData D;
    ASSERT_TRUE(D.FromABCText(u"{{\\xe001}, {1, 2}, {\\xe003}}"));
    EXPECT_EQ(D.Items.size(), 1u);
    EXPECT_FALSE(D.FromABCText(u"{}"));
    EXPECT_FALSE(D.FromABCText(u"{{}}"));
    EXPECT_FALSE(D.FromABCText(u"\\xe001"));
    EXPECT_FALSE(D.FromABCText(u"{\\xe001"));
}

TEST(ExtendRecord, InitializeStoresAForcedEscapeOfTheCharacter) {
    TrecNuo4SymbolAttachExtend E;
    E.Initialize(u'A', 1.5f, 1.5f, Nuo4OcupyUpDown);
    EXPECT_EQ(E.Text_ABC, u"{\\x0041}");
    EXPECT_FLOAT_EQ(E.Transform.Sx, 1.5f);
    EXPECT_EQ(E.Ocupy, Nuo4OcupyUpDown);
    EXPECT_TRUE(E.IsSingleChar());
    E.Text_ABC = u"{\\x0041\\x0042}";
    EXPECT_FALSE(E.IsSingleChar());
    E.Text_ABC = u"{{\\x0041}, {\\x0042}}";
    EXPECT_FALSE(E.IsSingleChar());
}

TEST(ExtendRecord, EditFirstCharMovesOneCodePointAndAsksTheFont) {
    TrecNuo4SymbolAttachExtend E;
    E.Text_ABC = u"{{1, 2, \\xe001\\xe005, 2}, {\\xe010}}";
    ASSERT_TRUE(E.EditFirstChar_Next());
    EXPECT_EQ(E.Text_ABC, u"{{1.00, 2.00, \\xe002\\xe005, 2.00, 1.00}, {\\xe010}}");
    ASSERT_TRUE(E.EditFirstChar_Prev());
    ASSERT_TRUE(E.EditFirstChar_Prev());
    TrecNuo4AttachExtendData D;
    ASSERT_TRUE(E.GetData(D));
    EXPECT_EQ(D.Items[0].Text_ABC, u"\\xe000\\xe005");

    const std::u16string Before = E.Text_ABC;
    const auto NoGlyphBelowE000 = [](char16_t C) { return C >= 0xe000; };
    EXPECT_FALSE(E.EditFirstChar_Prev(NoGlyphBelowE000));
    EXPECT_EQ(E.Text_ABC, Before);
    EXPECT_TRUE(E.EditFirstChar_Next(NoGlyphBelowE000));
}

TEST(ExtendRecord, EditFirstCharNeedsAReadableList) {
    TrecNuo4SymbolAttachExtend E;
    EXPECT_FALSE(E.EditFirstChar_Next());
    E.Text_ABC = u"{\\xffff}";
    EXPECT_FALSE(E.EditFirstChar_Next());
    EXPECT_EQ(E.Text_ABC, u"{\\xffff}");
}
