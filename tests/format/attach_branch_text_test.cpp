#include "format/attach_branch_text.h"

#include <gtest/gtest.h>

#include "format/abc_buffer.h"
#include "test_util.h"

using namespace nuo4;

namespace {

std::vector<TNuo4ABCParseInfoType> Kinds(TText AVoice) {
    std::vector<TNuo4ABCParseInfoType> K;
    for (const auto& S : Branch_ReadVoiceSymbols(AVoice)) K.push_back(S->Header.aType);
    return K;
}

}  // namespace

TEST(BranchVoiceText, AReturnEndsTheTemporaryVoice) {
    EXPECT_EQ(Kinds(u"1 2 $ 3"), (std::vector<TNuo4ABCParseInfoType>{pitNote, pitNote}));
    EXPECT_EQ(Kinds(u"1 2$3"), (std::vector<TNuo4ABCParseInfoType>{pitNote, pitNote}));
}

TEST(BranchVoiceText, TakesNotesBarlinesMarkersMetersAndTexts) {
    EXPECT_EQ(
        Kinds(u"3/4 1_2_ | ( 5 ) \"a\""),
        (std::vector<TNuo4ABCParseInfoType>{pitMeter, pitNote, pitNote, pitBarline, pitAccompMarker,
                                            pitNote, pitAccompMarker, pitText}));
}

TEST(BranchVoiceText, PositionsAreInsideTheVoiceTextAndBraceGroupsStayWhole) {
    const auto Symbols = Branch_ReadVoiceSymbols(u"  {DunYin, ZhongYin}5 6");
    ASSERT_EQ(Symbols.size(), 2u);
    EXPECT_EQ(Symbols[0]->Header.ABCTextRange, TKoRange(2, 19));
    EXPECT_EQ(Symbols[1]->Header.ABCTextRange, TKoRange(22, 1));
}

TEST(BranchVoiceText, RestOfAPieceAfterAnUnreadableSymbolIsSkipped) {
    EXPECT_EQ(Kinds(u"1?2 3"), (std::vector<TNuo4ABCParseInfoType>{pitNote, pitNote}));
    EXPECT_TRUE(Branch_VoiceTextIsValid(u"? 1"));
    EXPECT_FALSE(Branch_VoiceTextIsValid(u"? !"));
    EXPECT_FALSE(Branch_VoiceTextIsValid(u"$ 1"));
    EXPECT_FALSE(Branch_VoiceTextIsValid(u""));
}

TEST(AttachmentsScan, ItemLinesAreCollectedInTextOrder) {
    const std::u16string Text =
        u".Voice\r1 2 3 | 4 5 6 |]\r.Attachments\r"
        u"Text@1,1(0,-2.5) = AttachText1, x\r"
        u"Text @1,1(0,-2.5) = AttachText1, x\r"
        u"  Brace@1,1(-1.5,-0.5) = HuaKuoHao, Left, 20, [] // note\r"
        u".Page\r";
    const TNuo4ABCBuffer B(Text);
    const auto& S = B.Section_Attachments;
    ASSERT_EQ(S.GetCount(), 2);
    EXPECT_EQ(S.Buffer[0].Value.Header.aType, satitText);
    EXPECT_EQ(S.Buffer[1].Value.Header.aType, satitBrace);
    EXPECT_EQ(B.LineTypeArray[3], altSectionAttachments_Item);
    EXPECT_EQ(B.LineTypeArray[4], altSectionAttachments_Continue);
    EXPECT_EQ(B.LineTypeArray[5], altSectionAttachments_Item);
    const int32_t BraceEnd = static_cast<int32_t>(Text.find(u"[] //")) + 1;
    EXPECT_EQ(S.Buffer[1].Header.ABCTextRange.EndIndex(), BraceEnd);
    EXPECT_EQ(S.ABCTextRange_All.EndIndex(), BraceEnd);
}

namespace {

std::vector<std::u16string> LyricTexts(const TrecNuo4ABCParseInfo_Lyrics_Verse& AVerse) {
    std::vector<std::u16string> T;
    for (const auto& L : AVerse.LyricsArray) T.push_back(L.Text.Data.Text);
    return T;
}

}  // namespace

TEST(BranchLyricsText, EachDecodedLineIsTheVerseOfItsIndex) {
    const auto V = Branch_ReadLyricsVerses(u"  la li\\nW3(True)@1,1:lo  ");
    ASSERT_EQ(V.size(), 2u);
    ASSERT_TRUE(V[0].IsValid());
    EXPECT_EQ(V[0].VersePrefix.Value.VertInfo.VerseNumber, 0);
    EXPECT_FALSE(V[0].VersePrefix.Value.ExtraInfo.bOcupy);
    EXPECT_EQ(LyricTexts(V[0]), (std::vector<std::u16string>{u"la ", u"li"}));
    ASSERT_TRUE(V[1].IsValid());
    EXPECT_EQ(V[1].VersePrefix.Value.VertInfo.VerseNumber, 2);
    EXPECT_TRUE(V[1].VersePrefix.Value.VertInfo.bShowVerseIndex);
    EXPECT_TRUE(V[1].VersePrefix.Value.ExtraInfo.bOcupy);
    EXPECT_EQ(LyricTexts(V[1]), (std::vector<std::u16string>{u"lo"}));
}

TEST(BranchLyricsText, DefaultPrefixNumbersFollowTheLineIndex) {
    const auto V = Branch_ReadLyricsVerses(u"我 们\\r\\n\\r\\n你");
    ASSERT_EQ(V.size(), 3u);
    EXPECT_EQ(LyricTexts(V[0]), (std::vector<std::u16string>{u"我", u"们"}));
    EXPECT_FALSE(V[1].IsValid());
    EXPECT_TRUE(V[1].IsEmpty());
    ASSERT_TRUE(V[2].IsValid());
    EXPECT_EQ(V[2].VersePrefix.Value.VertInfo.VerseNumber, 2);
    EXPECT_EQ(LyricTexts(V[2]), (std::vector<std::u16string>{u"你"}));
}

TEST(BranchLyricsText, BlankTextHasNoVersesAndAPrefixAloneIsAnEmptyVerse) {
    EXPECT_TRUE(Branch_ReadLyricsVerses(u"").empty());
    // Only raw white space counts as blank: a coded space decodes to one empty line.
    const auto Coded = Branch_ReadLyricsVerses(u"  \\s ");
    ASSERT_EQ(Coded.size(), 1u);
    EXPECT_FALSE(Coded[0].IsValid());
    const auto V = Branch_ReadLyricsVerses(u"W2:");
    ASSERT_EQ(V.size(), 1u);
    EXPECT_TRUE(V[0].IsValid());
    EXPECT_TRUE(V[0].IsEmpty());
}

TEST(AttachmentsScan, AnAddedItemOfEveryKindIsScannedBackUnchanged) {
    std::vector<TrecNuo4SectionItem_Attachments> Items(8);
    Items[0].InitializeToText(u"渐慢, a", fuAttachText2, 0, -2.5f, 1, 1, 0);
    Items[1].SetToDefaultForFangZi(afztFangZi, lscsLeft, true);
    Items[2].SetToDefaultForArc(lscsRight, false);
    Items[3].SetToDefaultForDynamic();
    Items[4].SetToDefaultForOften(agitoRepeat_Segno12);
    Items[5].InitializeToExtend(0xe0a0, 0, -2, 1.5f, 1.5f, Nuo4OcupyUpDown);
    Items[6].SetToDefaultForBranch();
    Items[6].Branch.Initialize(u"1 2 3", u"la li lo", nssSmallSize, 0.8f);
    Items[7].SetToDefaultForBrace();
    std::u16string Text = ABC_AdjustLineBreak(TNuo4ABCBuffer::CreateEmptyDoc());
    for (const auto& I : Items) {
        const TNuo4ABCBuffer B(Text);
        TrecNuo4ABCTextReplaceItem R;
        B.SectionAttachments_AddItem(I, R);
        TNuo4ABCTextReplaceItems L;
        L.AddItem(R);
        ASSERT_EQ(ABC_ApplyReplaceItems(Text, L), 1);
    }
    const TNuo4ABCBuffer B(Text);
    ASSERT_EQ(B.Section_Attachments.GetCount(), 8) << test::Utf8(Text);
    for (size_t K = 0; K < Items.size(); ++K)
        EXPECT_TRUE(B.Section_Attachments.Buffer[K].Value.SameAs(Items[K]))
            << test::Utf8(Items[K].ToABCText());
}

TEST(BranchAlignmentRecord, EntriesNotWrittenReadAsDefaultAndCompareAsDefault) {
    TrecNuo4SymbolControlOptions_AWCoef Locked;
    Locked.LockTo(1.25f);
    TrecNuo4AttachBranchAutoAlignInfo A, B;
    EXPECT_TRUE(A.SetItem(5, Locked));
    EXPECT_EQ(A.SymbolCount, 6);
    EXPECT_EQ(A.Symbols[5], Locked);
    EXPECT_EQ(A.Symbols[2], TrecNuo4SymbolControlOptions_AWCoef());   // a gap inside
    EXPECT_EQ(A.Symbols[99], TrecNuo4SymbolControlOptions_AWCoef());  // past the entries
    EXPECT_FALSE(A == B);
    B.SymbolCount = 6;
    EXPECT_TRUE(B.SetItem(1, {}));  // a default entry written equals one never written
    EXPECT_FALSE(A == B);
    EXPECT_TRUE(B.SetItem(5, Locked));
    EXPECT_TRUE(A == B);
    const TrecNuo4AttachBranchAutoAlignInfo Copy = A;
    EXPECT_TRUE(A.SetItem(5, {}));
    EXPECT_EQ(Copy.Symbols[5], Locked);
}
