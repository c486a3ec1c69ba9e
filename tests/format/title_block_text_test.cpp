#include "format/title_block_text.h"

#include <gtest/gtest.h>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::U;

namespace {

TrecNuo4TitleBlockTextItem WordsBy(const std::string& AText) {
    TrecNuo4TitleBlockTextItem Item;
    Item.Initialize_WordsByAndMusicBy(U(AText));
    return Item;
}

std::vector<std::string> Lines(const TrecNuo4TitleBlockTextItem& AItem) {
    std::vector<std::string> Out;
    for (const auto& L : AItem.TextChord) Out.push_back(ABC_ToUtf8(L));
    return Out;
}

// "label@start+length" per after-text.
std::vector<std::string> Afters(const TrecNuo4TitleBlockTextItem& AItem) {
    std::vector<std::string> Out;
    for (const auto& A : AItem.AfterTextChordArray)
        Out.push_back(ABC_ToUtf8(A.Text) + "@" + std::to_string(A.LineRange.StartIndex) + "+" +
                      std::to_string(A.LineRange.Length));
    return Out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(WordsByText, EmptyTextGivesAnEmptyItem) {
    const auto Item = WordsBy("");
    EXPECT_TRUE(Item.IsEmtpy());
    EXPECT_EQ(Item.FontUsage, fuWordsByAndMusicBy);
}

TEST(WordsByText, TextWithoutBracesIsOneRightAlignedLine) {
    const auto Item = WordsBy("张三 词 李四 曲\\n王五 配器");
    EXPECT_TRUE(Item.IsEmpty_TextChord());
    EXPECT_EQ(Afters(Item), V({"张三 词 李四 曲\\n王五 配器@0+1"}));
    EXPECT_EQ(Item.FontUsage, fuWordsByAndMusicBy);
    EXPECT_EQ(Item.HorzAlign, tbthaRight);
    EXPECT_FALSE(Item.bZipY);
}

TEST(WordsByText, OnePieceInBracesKeepsTheWholeTextWithBraces) {
    EXPECT_EQ(Afters(WordsBy("{张三作词}")), V({"{张三作词}@0+1"}));
    EXPECT_EQ(Afters(WordsBy("{}")), V({"{}@0+1"}));
    // Braces that do not enclose the whole text are no group of names.
    EXPECT_EQ(Afters(WordsBy("{a},{b}")), V({"{a},{b}@0+1"}));
}

TEST(WordsByText, TwoNamesGetTheDefaultLabels) {
    const auto Item = WordsBy("{张三, 店小二}");
    EXPECT_EQ(Lines(Item), V({"张三", "店小二"}));
    EXPECT_EQ(Afters(Item), V({"词@0+1", "曲@1+1"}));
    EXPECT_EQ(Item.HorzAlign, tbthaRight);
    EXPECT_EQ(Item.FontUsage, fuWordsByAndMusicBy);
}

TEST(WordsByText, ThreeNamesGetWordsMusicAndSinging) {
    const auto Item = WordsBy("{a,b,c}");
    EXPECT_EQ(Lines(Item), V({"a", "b", "c"}));
    EXPECT_EQ(Afters(Item), V({"词@0+1", "曲@1+1", "唱@2+1"}));
}

TEST(WordsByText, FourOrMorePiecesGiveAnEmptyItem) {
    EXPECT_TRUE(WordsBy("{a,b,c,d}").IsEmtpy());
    EXPECT_TRUE(WordsBy("{{a}x,b,c,d}").IsEmtpy());
}

TEST(WordsByText, GroupsOfNamesWithTheirOwnLabels) {
    const auto Item = WordsBy("{{张三,店小二}作词,{王二麻子}作曲,{王五}译配}");
    EXPECT_EQ(Lines(Item), V({"张三", "店小二", "王二麻子", "王五"}));
    EXPECT_EQ(Afters(Item), V({"作词@0+2", "作曲@2+1", "译配@3+1"}));
}

TEST(WordsByText, GroupWithoutLabelAndPlainPieceTakeTheLabelOfTheirPosition) {
    const auto Item = WordsBy("{{张三,店小二},王二麻子}");
    EXPECT_EQ(Lines(Item), V({"张三", "店小二", "王二麻子"}));
    EXPECT_EQ(Afters(Item), V({"词@0+2", "曲@2+1"}));
    EXPECT_EQ(Afters(WordsBy("{{a}, {b} , {c}}")), V({"词@0+1", "曲@1+1", "唱@2+1"}));
}

TEST(WordsByText, OnlyAGroupAtTheStartOfTheFirstPieceSwitchesToGroups) {
    // The first piece holds a group, but does not begin with it: two plain names.
    const auto Item = WordsBy("{x{a,b}y,c}");
    EXPECT_EQ(Lines(Item), V({"x{a,b}y", "c"}));
    EXPECT_EQ(Afters(Item), V({"词@0+1", "曲@1+1"}));
}

TEST(WordsByText, EmptyGroupAddsNoLinesAndAnEmptyAfterText) {
    const auto Item = WordsBy("{{a}x,{}y}");
    EXPECT_EQ(Lines(Item), V({"a"}));
    ASSERT_EQ(Item.AfterTextChordArray.size(), 2u);
    EXPECT_TRUE(Item.AfterTextChordArray[1].IsEmpty());
    EXPECT_FALSE(Item.IsEmpty_AfterChord());
}

TEST(WordsByText, BuildFromTextInfo) {
    TrecNuo4TitelBlockText_WordsByAndMusicBy Info;
    Info.aType = tbtitThree_Three;
    Info.Parts = {u"a", u"b", u"c", u"x", u"y", u"z"};
    TrecNuo4TitleBlockTextItem Item;
    Item.Initialize_WordsByAndMusicBy(Info);
    EXPECT_EQ(Lines(Item), V({"a", "b", "c"}));
    EXPECT_EQ(Afters(Item), V({"x@0+1", "y@1+1", "z@2+1"}));
    Info.aType = tbtitThree_Two;
    Item.Initialize_WordsByAndMusicBy(Info);
    EXPECT_EQ(Afters(Item), V({"x@0+2", "y@2+1"}));
    Info.aType = tbtitInvalid;
    Item.Initialize_WordsByAndMusicBy(Info);
    EXPECT_TRUE(Item.IsEmtpy());
}

TEST(TitleBlockTextItem, SingleLineItemsTakeTheFontAndAlignmentOfTheirType) {
    TrecNuo4TitleBlockTextItem Item;
    Item.Initialize(tbitTitle, u"T");
    EXPECT_EQ(Item.FontUsage, fuTitle);
    EXPECT_EQ(Item.HorzAlign, tbthaMiddle);
    EXPECT_EQ(Afters(Item), V({"T@0+1"}));
    Item.Initialize(tbitIntro, u"I");
    EXPECT_EQ(Item.HorzAlign, tbthaLeft);
    Item.Initialize(tbitKeyAndMeters, u"K");
    EXPECT_EQ(Item.FontUsage, fuKeyAndMeters);
    EXPECT_EQ(Item.HorzAlign, tbthaLeft);
    Item.Initialize(tbitWordsByAndMusicBy, u"W");
    EXPECT_EQ(Item.HorzAlign, tbthaRight);
    Item.Initialize(tbitExpression, u"");
    EXPECT_EQ(Item.FontUsage, fuExpression);
    EXPECT_TRUE(Item.IsEmtpy());  // an after-text with an empty text is empty
}

TEST(TitleBlockTextItem, AfterTextIsEmptyWithoutTextOrLines) {
    TrecNuo4AfterTextChord A;
    A.Initalize(u"x", TKoRange(0, 0));
    EXPECT_TRUE(A.IsEmpty());
    A.Initalize(u"", TKoRange(0, 1));
    EXPECT_TRUE(A.IsEmpty());
    A.Initalize(u"x", TKoRange(1, 2));
    EXPECT_FALSE(A.IsEmpty());
}
