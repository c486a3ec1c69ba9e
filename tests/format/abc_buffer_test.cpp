#include "format/abc_buffer.h"

#include <gtest/gtest.h>

#include <random>

#include "test_util.h"

using namespace nuo4;

namespace {

std::u16string Sub(std::u16string_view S, TKoRange R) {
    if (!R.IsValid()) return u"<invalid>";
    return std::u16string(S.substr(R.StartIndex, R.Length));
}

std::vector<std::u16string> PieceTexts(const TNuo4ABCBuffer& B, int ALine) {
    std::vector<std::u16string> Out;
    for (auto R : B.NonCommentRangesArrayArray[ALine]) Out.push_back(Sub(B.ABCText(), R));
    return Out;
}

std::vector<std::string> Types(const TNuo4ABCBuffer& B) {
    std::vector<std::string> Out;
    for (auto T : B.LineTypeArray) Out.push_back(EnumName(T));
    return Out;
}

std::vector<std::string> Names(const std::vector<TNuo4ABCLineType>& ATypes) {
    std::vector<std::string> Out;
    for (auto T : ATypes) Out.push_back(EnumName(T));
    return Out;
}

std::vector<std::u16string> CommentTexts(std::u16string_view S) {
    std::vector<std::u16string> Out;
    for (auto R : ABC_Scan_GetCommentRangeArray(S)) Out.push_back(Sub(S, R));
    return Out;
}

std::u16string Applied(std::u16string AText, const TrecNuo4ABCTextReplaceItem& AItem) {
    TNuo4ABCTextReplaceItems Items;
    Items.AddItem(AItem);
    ABC_ApplyReplaceItems(AText, Items);
    return AText;
}

std::u16string Applied(std::u16string AText, const TNuo4ABCTextReplaceItems& AItems) {
    ABC_ApplyReplaceItems(AText, AItems);
    return AText;
}

// ---- Stand-in grammars: small enough to reason about, they let the scanner's own mechanics
// (which line is read, which range goes where) be checked independently of the real ones. ----

struct TFakeVoiceSymbol : TrecNuo4ABCParseInfo_VoiceSymbol {
    TNuo4ABCTokenInfoItems GetTokenItems() const override { return {}; }
};

// A symbol is one digit, or a brace group directly followed by one digit.
bool FakeVoiceSymbol(TText T, TKoRange R, TNuo4VoiceSymbolPtr& S, int32_t& E) {
    int32_t P = R.StartIndex;
    const int32_t Last = R.EndIndex();
    if (T[P] == u'{') {
        const int32_t Close = ABC_FindMatchingClose(T, R, u"{", u"}");
        if (Close < 0) return false;
        P = Close + 1;
    }
    if (P > Last || !ABC_IsDigitChar(T[P])) return false;
    S = std::make_unique<TFakeVoiceSymbol>();
    S->Header.aType = pitNote;
    S->Header.ABCTextRange = TKoRange::FromStartEnd(R.StartIndex, P);
    E = P;
    return true;
}

// "Name = ..." lines: the name chooses the type; the item covers the whole piece.
int GFakeOptionApplied = 0;
std::vector<int32_t> GFakeOptionAppliedStarts;
bool FakeOptionItem(TText T, TKoRange R, TrecNuo4ABCParseInfo_OptionItem& I, bool bParseOnly,
                    int32_t& E) {
    if (ABC_StartsWith(T, R, u"Digit", true, true))
        I.ItemType = soitDigit;
    else if (ABC_StartsWith(T, R, u"Paper", true, true))
        I.ItemType = soitPaper;
    else
        return false;
    I.Header.aType = pitOption;
    I.Header.ABCTextRange = R;
    E = R.EndIndex();
    if (!bParseOnly) {
        ++GFakeOptionApplied;
        GFakeOptionAppliedStarts.push_back(R.StartIndex);
    }
    return true;
}

bool FakeFontItem(TText T, TKoRange R, TrecNuo4ABCParseInfo_FontInfo& I, int32_t& E) {
    int32_t End;
    if (!ABC_ParseFontUsage(T, R, I.FontUsage, End)) return false;
    I.Header.aType = pitFontInfo;
    I.Header.ABCTextRange = R;
    E = R.EndIndex();
    return true;
}

bool FakeTitleItem(TText T, TKoRange R, TrecNUo4SectionTitleItem& I, TNuo4ABCTokenInfoItems& K,
                   int32_t& E) {
    if (!ABC_StartsWith(T, R, u"Title", true, true)) return false;
    I.ItemType = tbitTitle;
    K.AddItem(ttTitleItemName, TKoRange(R.StartIndex, 5));
    E = R.EndIndex();
    return true;
}

bool FakeAttachmentItem(TText T, TKoRange R, TrecNuo4SectiontItemWithParseInfo_Attachments& I,
                        int32_t& E) {
    if (T[R.StartIndex] != u'@') return false;
    I.Header.aType = pitSectionItem_Attachments;
    I.Header.ABCTextRange = R;
    E = R.EndIndex();
    return true;
}

bool FakePageItem(TText T, TKoRange R, TrecNuo4SectiontItemWithParseInfo_Page& I, int32_t& E) {
    if (T[R.StartIndex] != u'#') return false;
    I.Header.aType = pitSectionItem_Page;
    I.Header.ABCTextRange = R;
    E = R.EndIndex();
    return true;
}

bool FakeVersePrefix(TText T, TKoRange R) {
    return ABC_StartsWith(T, R, u"W:");
}

// One verse per lyrics-carrying line, so the test sees which lines the grammar was given.
void FakeLyrics(const TNuo4ABCScanLines& L, TrecNuo4ABCParseInfo_Section_Lyrics& S) {
    for (size_t I = 0; I < L.LineTypes.size(); ++I) {
        switch (L.LineTypes[I]) {
            case altSectionLyrics_Continue:
            case altSectionLyrics_Prefix_Start:
            case altSectionLyrics_Prefix_Continue:
            case altSectionNone_LyricsPrefix_Start: {
                TrecNuo4ABCParseInfo_Lyrics_Verse Verse;
                Verse.ABCTextRange = L.NonCommentRanges[I].front();
                S.AddItem(Verse);
            }
                if (S.ABCTextRange_All.IsValid() &&
                    L.NonCommentRanges[I].front().EndIndex() > S.ABCTextRange_All.EndIndex())
                    S.ABCTextRange_All = TKoRange::FromStartEnd(
                        S.ABCTextRange_All.StartIndex, L.NonCommentRanges[I].front().EndIndex());
                break;
            default:
                break;
        }
    }
}

TNuo4ABCSectionReaders Fakes() {
    TNuo4ABCSectionReaders R;
    R.OptionItem = &FakeOptionItem;
    R.FontItem = &FakeFontItem;
    R.TitleItem = &FakeTitleItem;
    R.AttachmentItem = &FakeAttachmentItem;
    R.PageItem = &FakePageItem;
    R.VoiceSymbol = &FakeVoiceSymbol;
    R.VersePrefix = &FakeVersePrefix;
    R.Lyrics = &FakeLyrics;
    return R;
}

}  // namespace

// ---- Line breaks and line ranges ---------------------------------------------------------

TEST(LineBreaks, CrLfAndLoneLfBecomeOneCr) {
    EXPECT_EQ(ABC_AdjustLineBreak(u"a\r\nb\nc\r"), u"a\rb\rc\r");
    EXPECT_EQ(ABC_AdjustLineBreak(u"\n\n\r\n"), u"\r\r\r");
    const TNuo4ABCBuffer B(u"a\nb");
    ASSERT_EQ(B.GetABCLinesCount(), 2);
    EXPECT_EQ(B.ABCText(), u"a\rb");
    const TNuo4ABCBuffer C(u"1\r\n2\r\n");
    EXPECT_EQ(C.ABCText(), u"1\r2\r");
    EXPECT_EQ(C.GetABCLinesCount(), 2);
}

TEST(LineRanges, EmptyTextHasNoLinesAndFinalBreakNoEmptyLine) {
    EXPECT_TRUE(ABC_Scan_GetLineRangeArray(u"", true).empty());
    EXPECT_EQ(ABC_Scan_GetLineRangeArray(u"abc\r", true), TKoRangeArray({{0, 4}}));
    EXPECT_EQ(ABC_Scan_GetLineRangeArray(u"abc\r", false), TKoRangeArray({{0, 3}}));
    EXPECT_EQ(ABC_Scan_GetLineRangeArray(u"abc", true), TKoRangeArray({{0, 3}}));
    EXPECT_EQ(ABC_Scan_GetLineRangeArray(u"\r\rx", true), TKoRangeArray({{0, 1}, {1, 1}, {2, 1}}));
}

TEST(LineRanges, CrLfCountsAsOneBreakLoneLfAsOne) {
    EXPECT_EQ(ABC_Scan_GetLineRangeArray(u"ab\r\ncd", true), TKoRangeArray({{0, 4}, {4, 2}}));
    EXPECT_EQ(ABC_Scan_GetLineRangeArray(u"ab\r\ncd", false), TKoRangeArray({{0, 2}, {4, 2}}));
    EXPECT_EQ(ABC_Scan_GetLineRangeArray(u"ab\ncd\n", true), TKoRangeArray({{0, 3}, {3, 3}}));
    EXPECT_EQ(ABC_Scan_GetLineRangeArray(u"\n", false), TKoRangeArray({{0, 0}}));
}

// ---- Comments ----------------------------------------------------------------------------

TEST(Comments, BlockCommentsNestAndUnterminatedRunsToTheEnd) {
    EXPECT_EQ(CommentTexts(u"/* x /* y */ z */ 1"),
              std::vector<std::u16string>({u"/* x /* y */ z */"}));
    EXPECT_EQ(CommentTexts(u"1 /* x\r2\r3"), std::vector<std::u16string>({u"/* x\r2\r3"}));
    EXPECT_EQ(CommentTexts(u"/*a*/b/*c*/"), std::vector<std::u16string>({u"/*a*/", u"/*c*/"}));
    // The "*/" must follow the "/*": "/*/" does not close itself.
    EXPECT_EQ(CommentTexts(u"/*/ x */y"), std::vector<std::u16string>({u"/*/ x */"}));
}

TEST(Comments, LineCommentOnlyAtTextStartOrAfterBreakOrSpace) {
    EXPECT_TRUE(CommentTexts(u"1 2//c").empty());
    EXPECT_EQ(CommentTexts(u"1 2 //c\r3"), std::vector<std::u16string>({u"//c"}));
    EXPECT_EQ(CommentTexts(u"//a\r//b"), std::vector<std::u16string>({u"//a", u"//b"}));
    EXPECT_EQ(CommentTexts(u"x\n//b"), std::vector<std::u16string>({u"//b"}));
    EXPECT_TRUE(CommentTexts(u"1\t//c").empty());  // a tab is not a space
    EXPECT_TRUE(CommentTexts(u"http://x").empty());
}

TEST(Comments, LineCommentOverlappingBlockIsWidenedAndListSorted) {
    // The line comment starts inside the block comment and is widened to their union.
    const std::u16string T = u"/* a //b */ c\rd";
    const auto R = ABC_Scan_GetCommentRangeArray(T);
    ASSERT_EQ(R.size(), 2u);
    EXPECT_EQ(R[0], TKoRange(0, 11));  // the block, ending first
    EXPECT_EQ(R[1], TKoRange(0, 13));  // the widened line comment
    // A line comment reaching into a block comment that spans lines takes in the whole block.
    const std::u16string U = u"x //a /* b\rc */ d";
    const auto S = ABC_Scan_GetCommentRangeArray(U);
    ASSERT_EQ(S.size(), 2u);
    EXPECT_EQ(S[0], TKoRange(2, 13));
    EXPECT_EQ(S[1], TKoRange(6, 9));
}

// ---- Non-comment pieces --------------------------------------------------------------------

TEST(NonCommentPieces, CommentsAreCutOutAndPiecesTrimmed) {
    const TNuo4ABCBuffer B(u"/* x /* y */ z */ 1\r1 2//c\r1 2 //c\r a /*x*/ b \r");
    EXPECT_EQ(PieceTexts(B, 0), std::vector<std::u16string>({u"1"}));
    EXPECT_EQ(PieceTexts(B, 1), std::vector<std::u16string>({u"1 2//c"}));
    EXPECT_EQ(PieceTexts(B, 2), std::vector<std::u16string>({u"1 2"}));
    EXPECT_EQ(PieceTexts(B, 3), std::vector<std::u16string>({u"a", u"b"}));
}

TEST(NonCommentPieces, EmptyAndCommentOnlyLinesHoldOneInvalidPiece) {
    const TNuo4ABCBuffer B(u"\r  \r// c\r/* a */ /* b */\ra /*x*/ /*y*/\r");
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(PieceTexts(B, I), std::vector<std::u16string>({u"<invalid>"})) << I;
    EXPECT_EQ(PieceTexts(B, 4), std::vector<std::u16string>({u"a"}));
}

TEST(NonCommentPieces, BlockCommentSpanningLinesCutsEveryLine) {
    const TNuo4ABCBuffer B(u"1 /* a\r b \r c */ 2 /*\r*/3");
    EXPECT_EQ(PieceTexts(B, 0), std::vector<std::u16string>({u"1"}));
    EXPECT_EQ(PieceTexts(B, 1), std::vector<std::u16string>({u"<invalid>"}));
    EXPECT_EQ(PieceTexts(B, 2), std::vector<std::u16string>({u"2"}));
    EXPECT_EQ(PieceTexts(B, 3), std::vector<std::u16string>({u"3"}));
    // The free function gives the same pieces.
    EXPECT_EQ(ABC_Scan_GetNonCommentRangeArray(B.LineRangeArray, B.CommentRangeArray, B.ABCText()),
              B.NonCommentRangesArrayArray);
}

TEST(NonCommentPieces, LineCommentsInsideABlockCommentWidenIt) {
    // "//b */ 4" starts inside the block and runs to the line end, so " 4" is comment too.
    const TNuo4ABCBuffer B(u"1 /*\r2 //a\r3 //b */ 4\r5");
    EXPECT_EQ(B.CommentRangeArray.size(), 3u);
    EXPECT_EQ(PieceTexts(B, 0), std::vector<std::u16string>({u"1"}));
    EXPECT_EQ(PieceTexts(B, 1), std::vector<std::u16string>({u"<invalid>"}));
    EXPECT_EQ(PieceTexts(B, 2), std::vector<std::u16string>({u"<invalid>"}));
    EXPECT_EQ(PieceTexts(B, 3), std::vector<std::u16string>({u"5"}));
    EXPECT_TRUE(B.LineWithCommnet(2));
    EXPECT_FALSE(B.LineWithCommnet(3));
}

TEST(NonCommentPieces, UnterminatedCommentHidesTheRestOfTheText) {
    const TNuo4ABCBuffer B(u".Voice\r1 /* x\r.Words\r2");
    EXPECT_EQ(PieceTexts(B, 1), std::vector<std::u16string>({u"1"}));
    EXPECT_TRUE(B.LineIsEmpyOrComment(2));
    EXPECT_TRUE(B.LineIsEmpyOrComment(3));
    EXPECT_FALSE(B.Section_Lyrics.ABCTextRange_SectionName.IsValid());
}

// ---- Section header test -------------------------------------------------------------------

TEST(SectionHeader, NamesMatchIgnoringCaseAndMustStandAlone) {
    const TNuo4ABCBuffer B(u".voice\r.VOICE\r.Voice 1 2\r.Voice2\r.Voice /* c */\r.Lyrics\r");
    EXPECT_EQ(B.LineTypeArray[0], altSectionVoice_Start);
    EXPECT_EQ(B.LineTypeArray[1], altSectionVoice_Start);
    EXPECT_EQ(B.LineTypeArray[2], altSectionVoice_Continue);
    EXPECT_EQ(B.LineTypeArray[3], altSectionVoice_Continue);
    EXPECT_EQ(B.LineTypeArray[4], altSectionVoice_Start);
    EXPECT_EQ(B.LineTypeArray[5], altSectionUnknown_Start);
}

TEST(SectionHeader, HeaderWordRangeAndUnknownNames) {
    const std::u16string T = u"  .Attachments // x";
    TNuo4ABCLineType Type;
    TKoRange Name;
    ASSERT_TRUE(ABC_Scan_IsSectionHeader(T, TKoRange(2, 12), Type, Name));
    EXPECT_EQ(Type, altSectionAttachments_Start);
    EXPECT_EQ(Name, TKoRange(2, 12));
    const std::u16string U = u".\u4E2D\u6587";  // letters of any script make a header
    ASSERT_TRUE(ABC_Scan_IsSectionHeader(U, TKoRange(0, 3), Type, Name));
    EXPECT_EQ(Type, altSectionUnknown_Start);
    EXPECT_FALSE(Name.IsValid());
    EXPECT_FALSE(ABC_Scan_IsSectionHeader(u"Voice", TKoRange(0, 5), Type, Name));
    EXPECT_FALSE(ABC_Scan_IsSectionHeader(u".Page_", TKoRange(0, 6), Type, Name));
}

// ---- Line classification -------------------------------------------------------------------

TEST(LineClassification, SectionsPreambleAndUnknownSections) {
    const TNuo4ABCBuffer B(u"intro\r\r.Voice\r1\r// c\r.Lyrics\r1 2\r.Page\rx\r");
    const std::vector<TNuo4ABCLineType> Expected = {
        altSectionNone_PrefixNone,  altEmptyOrComment,    altSectionVoice_Start,
        altSectionVoice_Continue,   altEmptyOrComment,    altSectionUnknown_Start,
        altSectionUnknown_Continue, altSectionPage_Start, altSectionPage_Continue};
    EXPECT_EQ(Types(B), Names(Expected));
}

TEST(LineClassification, ItemLinesAreRecognisedByTheirGrammar) {
    const TNuo4ABCBuffer B(
        u".Options\rDigit = 1\rjunk\r.Fonts\rTitle = Arial\r.Title\rTitle = X\r.Attachments\r"
        u"@a\r.Page\r#p\r",
        Fakes());
    const std::vector<TNuo4ABCLineType> Expected = {
        altSectionOptions_Start, altSectionOptions_Item,      altSectionOptions_Continue,
        altSectionFonts_Start,   altSectionFonts_Item,        altSectionTitle_Start,
        altSectionTitle_Item,    altSectionAttachments_Start, altSectionAttachments_Item,
        altSectionPage_Start,    altSectionPage_Item};
    EXPECT_EQ(Types(B), Names(Expected));
}

TEST(LineClassification, ItemTestReadsOnlyTheFirstPiece) {
    // "/* c */" splits the line; the grammar sees "Digit" alone, not the text after the comment.
    const TNuo4ABCBuffer B(u".Options\r/* c */ Digit /* d */ = 1\rx /* c */ Digit = 1\r", Fakes());
    EXPECT_EQ(B.LineTypeArray[1], altSectionOptions_Item);
    ASSERT_EQ(B.Section_Options.GetCount(), 1);
    EXPECT_EQ(Sub(B.ABCText(), B.Section_Options.Buffer[0].Header.ABCTextRange), u"Digit");
    EXPECT_EQ(B.LineTypeArray[2], altSectionOptions_Continue);
}

TEST(LineClassification, VoicePrefixLinesAndTheLinesAfterThem) {
    const TNuo4ABCBuffer B(u".Voice\r1\rV:1\r2\rv: 3\r.Words\rx\rW:a\ry\r.Voice\r4\r", Fakes());
    EXPECT_EQ(B.LineTypeArray[1], altSectionVoice_Continue);
    EXPECT_EQ(B.LineTypeArray[2], altSectionVoice_Prefix_Start);
    EXPECT_EQ(B.LineTypeArray[3], altSectionVoice_Prefix_Continue);
    EXPECT_EQ(B.LineTypeArray[4], altSectionVoice_Prefix_Start);
    EXPECT_EQ(B.LineTypeArray[6], altSectionLyrics_Continue);
    EXPECT_EQ(B.LineTypeArray[7], altSectionLyrics_Prefix_Start);
    EXPECT_EQ(B.LineTypeArray[8], altSectionLyrics_Prefix_Continue);
    // The "prefix seen" state is not reset by a new section.
    EXPECT_EQ(B.LineTypeArray[10], altSectionVoice_Prefix_Continue);
}

TEST(LineClassification, PreambleLinesWithPrefixes) {
    const TNuo4ABCBuffer B(u"V:1\rW:a\rv:\rx\r/* c */ W:b\r.Voice\r", Fakes());
    EXPECT_EQ(B.LineTypeArray[0], altSectionNone_PrefixVoice_Start);
    EXPECT_EQ(B.LineTypeArray[1], altSectionNone_LyricsPrefix_Start);
    EXPECT_EQ(B.LineTypeArray[2], altSectionNone_PrefixVoice_Start);
    EXPECT_EQ(B.LineTypeArray[3], altSectionNone_PrefixNone);
    EXPECT_EQ(B.LineTypeArray[4], altSectionNone_LyricsPrefix_Start);
}

// ---- Section line ranges -------------------------------------------------------------------

TEST(SectionRanges, EachSectionRunsToTheNextOtherHeader) {
    const TNuo4ABCBuffer B(u"x\r.Title\ra\r.Voice\r1\r\r.Zzz\rq\r.Page\r");
    EXPECT_EQ(B.GetLineIndexRange_SectionTitle(), TKoRange(1, 2));
    EXPECT_EQ(B.GetLineIndexRange_SectionVoice(), TKoRange(3, 3));  // ended by the unknown one
    EXPECT_EQ(B.GetLineIndexRange_SectionPage(), TKoRange(8, 1));
    EXPECT_FALSE(B.GetLineIndexRange_SectionOptions().IsValid());
    EXPECT_FALSE(B.GetLineIndexRange_SectionLyrics().IsValid());
    EXPECT_EQ(B.Section_Voice.ABCTextRange_Line, TKoRange(3, 3));
    EXPECT_EQ(Sub(B.ABCText(), B.Section_Voice.ABCTextRange_SectionName), u".Voice");
    EXPECT_EQ(B.GetLastNonEmptyLine_SectionVoice(), 4);
    EXPECT_EQ(B.GetLastNonEmptyLine_SectionOptions(), -1);
}

TEST(SectionRanges, RepeatedHeaderRestartsLaterOneIsIgnored) {
    const TNuo4ABCBuffer B(u".Voice\r1\r.Voice\r2\r.Words\ra\r.Voice\r3\r", Fakes());
    EXPECT_EQ(B.GetLineIndexRange_SectionVoice(), TKoRange(2, 2));
    EXPECT_EQ(B.GetLineIndexRange_SectionLyrics(), TKoRange(4, 2));
    // The lines under the ignored header belong to no known section: "3" is not read.
    ASSERT_EQ(B.Section_Voice.GetCount(), 1);
    EXPECT_EQ(Sub(B.ABCText(), B.Section_Voice.Buffer[0]->Header.ABCTextRange), u"2");
    EXPECT_EQ(Sub(B.ABCText(), B.Section_Voice.ABCTextRange_SectionName), u".Voice");
    EXPECT_EQ(B.Section_Voice.ABCTextRange_SectionName.StartIndex, 9);
}

TEST(SectionRanges, NoKeyWordOnlyWithoutKnownHeaders) {
    EXPECT_TRUE(TNuo4ABCBuffer(u"").NoKeyWord());
    EXPECT_TRUE(TNuo4ABCBuffer(u"1 2 3\r.Lyrics\r").NoKeyWord());
    EXPECT_FALSE(TNuo4ABCBuffer(u"1 2 3\r.page\r").NoKeyWord());
    const TNuo4ABCBuffer E(u"");
    EXPECT_EQ(E.GetABCLinesCount(), 0);
    EXPECT_FALSE(E.GetLineIndexRange_SectionVoice().IsValid());
}

// ---- Position lookup -----------------------------------------------------------------------

TEST(PositionLookup, LinesColumnsAndPositionsPastTheEnd) {
    EXPECT_EQ(TNuo4ABCBuffer(u"").GetLineIndexFromPos(0), -1);
    const TNuo4ABCBuffer B(u"abc\r");
    int Row, Col;
    B.GetRowColFromPos(3, Row, Col);
    EXPECT_EQ(Row, 0);
    EXPECT_EQ(Col, 3);
    B.GetRowColFromPos(4, Row, Col);
    EXPECT_EQ(Row, 1);
    EXPECT_EQ(Col, 0);
    const TNuo4ABCBuffer C(u"ab\rcd\r\refg");
    C.GetRowColFromPos(7, Row, Col);
    EXPECT_EQ(Row, 3);
    EXPECT_EQ(Col, 0);
    C.GetRowColFromPos(11, Row, Col);  // past a text without final break: still the last line
    EXPECT_EQ(Row, 3);
    EXPECT_EQ(Col, 4);
    EXPECT_EQ(C.GetLineIndexFromPos(2), 0);
    EXPECT_EQ(C.GetLineIndexFromPos(5), 1);
    EXPECT_EQ(C.GetLineIndexFromPos(6), 2);
    C.GetRowColFromPos(-1, Row, Col);
    EXPECT_EQ(Row, -1);
    EXPECT_EQ(Col, -1);
}

// ---- Line tests ----------------------------------------------------------------------------

TEST(LineTests, CommentContentAndOutOfRange) {
    const TNuo4ABCBuffer B(u"1 // c\r/* c */\r\r2\r");
    EXPECT_TRUE(B.LineWithCommnet(0));
    EXPECT_TRUE(B.LineWithNonCommnet(0));
    EXPECT_TRUE(B.LineWithCommnet(1));
    EXPECT_FALSE(B.LineWithNonCommnet(1));
    EXPECT_TRUE(B.LineIsEmpyOrComment(1));
    EXPECT_TRUE(B.LineIsNonEmpy(1));
    EXPECT_FALSE(B.LineIsNonEmpy(2));
    EXPECT_FALSE(B.LineWithCommnet(3));
    for (int Outside : {-1, 4, 100}) {
        EXPECT_FALSE(B.LineWithCommnet(Outside));
        EXPECT_FALSE(B.LineWithNonCommnet(Outside));
        EXPECT_FALSE(B.LineIsNonEmpy(Outside));
        EXPECT_TRUE(B.LineIsEmpyOrComment(Outside));
    }
}

TEST(LineTests, ABlockCommentMarksEveryLineItSpans) {
    const TNuo4ABCBuffer B(u"a\r1 /*\r\r*/ 2\rb\r");
    EXPECT_FALSE(B.LineWithCommnet(0));
    EXPECT_TRUE(B.LineWithCommnet(1));
    EXPECT_TRUE(B.LineWithCommnet(2));
    EXPECT_TRUE(B.LineIsNonEmpy(2));
    EXPECT_TRUE(B.LineWithCommnet(3));
    EXPECT_FALSE(B.LineWithCommnet(4));
}

// ---- Empty document ------------------------------------------------------------------------

TEST(EmptyDoc, ExactTextAndItsSections) {
    const std::u16string Doc = TNuo4ABCBuffer::CreateEmptyDoc();
    const std::u16string Expected =
        u"// ************** NUO-ABC File Ver 1.0 (for Nuoscore4.95g) **************\r\n"
        u"\r\n\r\n"
        u".Options\r\n\r\n\r\n.Fonts\r\n\r\n\r\n"
        u".Title\r\nIntro = \r\nTitle = \r\nSubTitle = \r\nSubTitle2 = \r\nKeyAndMeters = \r\n"
        u"WordsByAndMusicBy = \r\nExpression = \r\n\r\n\r\n"
        u".Voice\r\n $ \r\n\r\n\r\n"
        u".Words\r\n\r\n\r\n.Attachments\r\n\r\n\r\n.Page\r\n\r\n\r\n";
    EXPECT_EQ(Doc, Expected);
    const TNuo4ABCBuffer B(Doc);
    EXPECT_FALSE(B.NoKeyWord());
    EXPECT_EQ(B.LineTypeArray[0], altEmptyOrComment);
    EXPECT_EQ(B.GetLineIndexRange_SectionOptions(), TKoRange(3, 3));
    EXPECT_EQ(B.GetLineIndexRange_SectionTitle(), TKoRange(9, 10));
    EXPECT_EQ(B.GetLineIndexRange_SectionVoice(), TKoRange(19, 4));
    EXPECT_EQ(B.GetLineIndexRange_SectionPage(), TKoRange(29, 3));
    EXPECT_EQ(B.GetABCLinesCount(), 32);
}

// ---- Section scans -------------------------------------------------------------------------

TEST(VoiceScan, BraceGroupsDoNotSplitTokens) {
    const std::u16string T = u"{DunYin, ZhongYin}5 6";
    std::vector<TNuo4VoiceSymbolPtr> Symbols;
    EXPECT_EQ(ABC_Scan_ReadVoicePiece(T, test::All(T), &FakeVoiceSymbol, Symbols), 20);
    ASSERT_EQ(Symbols.size(), 2u);
    EXPECT_EQ(Sub(T, Symbols[0]->Header.ABCTextRange), u"{DunYin, ZhongYin}5");
    EXPECT_EQ(Sub(T, Symbols[1]->Header.ABCTextRange), u"6");
}

TEST(VoiceScan, SymbolsFollowEachOtherUntilOneFails) {
    const std::u16string T = u"12x34\t5 y 6";
    std::vector<TNuo4VoiceSymbolPtr> Symbols;
    ABC_Scan_ReadVoicePiece(T, test::All(T), &FakeVoiceSymbol, Symbols);
    std::vector<std::u16string> Got;
    for (auto& S : Symbols) Got.push_back(Sub(T, S->Header.ABCTextRange));
    // "34" after the failing "x" is skipped; the next tokens are read again.
    EXPECT_EQ(Got, std::vector<std::u16string>({u"1", u"2", u"5", u"6"}));
}

TEST(VoiceScan, PiecesPrefixAndAllRange) {
    const std::u16string T = u".Voice\r1 /* c */ 2\rV:3 4\r\r// d\r";
    const TNuo4ABCBuffer B(T, Fakes());
    const auto& V = B.Section_Voice;
    ASSERT_EQ(V.GetCount(), 4);
    EXPECT_EQ(Sub(T, V.Buffer[2]->Header.ABCTextRange), u"3");
    EXPECT_EQ(Sub(T, V.PrefixRange), u"V:");
    EXPECT_EQ(Sub(T, V.ABCTextRange_All), u".Voice\r1 /* c */ 2\rV:3 4");
    EXPECT_EQ(V.ABCTextRange_Line, TKoRange(0, 5));
}

TEST(VoiceScan, PrefixAloneExtendsTheSection) {
    const std::u16string T = u".Voice\rV:\r";
    const TNuo4ABCBuffer B(T, Fakes());
    EXPECT_TRUE(B.Section_Voice.BufferIsEmpty());
    EXPECT_EQ(Sub(T, B.Section_Voice.ABCTextRange_All), u".Voice\rV:");
}

TEST(ItemScans, ItemsAreCollectedAndAllRangeEndsAtTheLastItem) {
    const std::u16string T =
        u".Fonts\rTitle = Arial\rbad\r\r.Attachments\r@1\r@2 // c\r\r.Page\r#1\r.Title\rTitle = "
        u"A\rTitle = B\r.Options\rDigit = 1\rPaper = 2\r";
    const TNuo4ABCBuffer B(T, Fakes());
    EXPECT_EQ(B.Section_Fonts.GetCount(), 1);
    EXPECT_EQ(B.Section_Fonts.Buffer[0].FontUsage, fuTitle);
    EXPECT_EQ(Sub(T, B.Section_Fonts.ABCTextRange_All), u".Fonts\rTitle = Arial");
    EXPECT_EQ(B.Section_Attachments.GetCount(), 2);
    EXPECT_EQ(Sub(T, B.Section_Attachments.ABCTextRange_All), u".Attachments\r@1\r@2");
    EXPECT_EQ(B.Section_Page.GetCount(), 1);
    EXPECT_EQ(Sub(T, B.Section_Page.ABCTextRange_All), u".Page\r#1");
    EXPECT_EQ(B.Section_Title.GetCount(), 2);
    EXPECT_EQ(B.Section_Title.TokenItems.size(), 2u);  // the tokens of every item are kept
    EXPECT_EQ(Sub(T, B.Section_Title.ABCTextRange_All), u".Title\rTitle = A\rTitle = B");
    EXPECT_EQ(B.Section_Options.GetCount(), 2);
    EXPECT_FALSE(B.Section_Options.ABCTextRange_All.IsValid());  // left unset for options
    EXPECT_EQ(Sub(T, B.Section_Options.ABCTextRange_SectionName), u".Options");
}

TEST(LyricsScan, TheGrammarSeesPreambleVersesAndTheHeader) {
    const std::u16string T = u"W:pre\r.Voice\r1\r.Words\rW:a\rb\r";
    const TNuo4ABCBuffer B(T, Fakes());
    const auto& L = B.Section_Lyrics;
    ASSERT_EQ(L.GetCount(), 3);
    EXPECT_EQ(Sub(T, L.VerseBuffer[0].ABCTextRange), u"W:pre");
    EXPECT_EQ(Sub(T, L.ABCTextRange_SectionName), u".Words");
    EXPECT_EQ(L.ABCTextRange_Line, TKoRange(3, 3));
    EXPECT_EQ(Sub(T, L.ABCTextRange_All), u".Words\rW:a\rb");
}

TEST(UpdateOptions, EveryOptionLineIsAppliedInTextOrder) {
    const std::u16string T = u".Options\rDigit = 1\rx\rPaper = 2\r.Voice\r.Options\rDigit = 3\r";
    const TNuo4ABCBuffer B(T, Fakes());
    GFakeOptionApplied = 0;
    GFakeOptionAppliedStarts.clear();
    B.UpdateOptions();
    // The item under the ignored second header is an option line too, and it comes last.
    EXPECT_EQ(GFakeOptionApplied, 3);
    EXPECT_EQ(GFakeOptionAppliedStarts, std::vector<int32_t>({9, 21, 47}));
    EXPECT_EQ(B.Section_Options.GetCount(), 2);  // scanning itself applies nothing
}

// ---- Edit operations -----------------------------------------------------------------------

TEST(EditVoice, AppendSymbolWhenTheSectionIsMissing) {
    TrecNuo4ABCTextReplaceItem R;
    const std::u16string Bare = u"1 2 3";
    TNuo4ABCBuffer(Bare).SectionVoice_AppendSymbol(u"4", R);
    EXPECT_EQ(Applied(Bare, R), u"1 2 34");  // no header anywhere: no section is created
    const std::u16string WithTitle = u".Title\r";
    TNuo4ABCBuffer(WithTitle).SectionVoice_AppendSymbol(u"4", R);
    EXPECT_EQ(Applied(WithTitle, R), u".Title\r\r.Voice\r4");
    TNuo4ABCBuffer(WithTitle).SectionVoice_AppendSymbol(u"", R);
    EXPECT_TRUE(R.IsInvalid());
}

TEST(EditVoice, AppendSymbolAfterTheLastNonEmptyVoiceLine) {
    TrecNuo4ABCTextReplaceItem R;
    const std::u16string Empty = u".Voice\r// c\r\r.Words\r";
    TNuo4ABCBuffer(Empty, Fakes()).SectionVoice_AppendSymbol(u"5", R);
    EXPECT_EQ(Applied(Empty, R), u".Voice\r// c\r5\r\r.Words\r");
    const std::u16string Full = u".Voice\r1 2\r\r.Words\r";
    TNuo4ABCBuffer(Full, Fakes()).SectionVoice_AppendSymbol(u"5", R);
    EXPECT_EQ(Applied(Full, R), u".Voice\r1 2\r5 $ \r\r.Words\r");
    TNuo4ABCBuffer(Full, Fakes()).SectionVoice_AppendSymbol(u"5 $", R);
    EXPECT_EQ(Applied(Full, R), u".Voice\r1 2\r5 $\r\r.Words\r");
}

TEST(EditVoice, AppendedLineNeverJoinsALastLineWithoutBreak) {
    TrecNuo4ABCTextReplaceItem R;
    const std::u16string T = u".Voice\r1 2";
    TNuo4ABCBuffer(T, Fakes()).SectionVoice_AppendSymbol(u"3", R);
    const std::u16string Out = Applied(T, R);
    EXPECT_EQ(Out, u".Voice\r1 2\r3 $ \r");
    EXPECT_EQ(TNuo4ABCBuffer(Out, Fakes()).Section_Voice.GetCount(), 3);
}

TEST(EditLyrics, AppendVerseCreatesOrExtendsTheSection) {
    TrecNuo4ABCTextReplaceItem R;
    const std::u16string NoWords = u".Voice\r1\r";
    TNuo4ABCBuffer(NoWords).SectionLyrics_AppendLyricsVerse(u"W:a b", R);
    EXPECT_EQ(Applied(NoWords, R), u".Voice\r1\r\r.Words\rW:a b");
    TNuo4ABCBuffer(u"").SectionLyrics_AppendLyricsVerse(u"x", R);
    EXPECT_EQ(Applied(u"", R), u"\r.Words\rx");
    const std::u16string Words = u".Words\rW:a\r/* c */\r\r.Page\r";
    TNuo4ABCBuffer(Words).SectionLyrics_AppendLyricsVerse(u"W:b", R);
    EXPECT_EQ(Applied(Words, R), u".Words\rW:a\r/* c */\rW:b\r\r.Page\r");
}

TEST(EditItems, AttachmentsAddItemText) {
    TrecNuo4ABCTextReplaceItem R;
    const std::u16string None = u".Voice\r1\r";
    TNuo4ABCBuffer(None).SectionAttachments_AddItemText(u"@x", R);
    EXPECT_EQ(Applied(None, R), u".Voice\r1\r\r.Attachments\r@x\r");
    const std::u16string Some = u".Attachments\r@a\r\r";
    TNuo4ABCBuffer(Some, Fakes()).SectionAttachments_AddItemText(u"@b", R);
    EXPECT_EQ(Applied(Some, R), u".Attachments\r@a\r@b\r\r");
}

TEST(EditItems, OptionsReplaceTheFirstItemOfTheSameType) {
    TrecNuo4ABCTextReplaceItem R;
    const std::u16string T = u".Options\rDigit = 1\rDigit = 2\r\r.Voice\r";
    const TNuo4ABCBuffer B(T, Fakes());
    B.SectionOptions_EditItemText(soitDigit, u"Digit = 9", R);
    EXPECT_EQ(Applied(T, R), u".Options\rDigit = 9\rDigit = 2\r\r.Voice\r");
    B.SectionOptions_EditItemText(soitPaper, u"Paper = A4", R);
    EXPECT_EQ(Applied(T, R), u".Options\rDigit = 1\rDigit = 2\rPaper = A4\r\r.Voice\r");
    const std::u16string None = u".Voice\r";
    TNuo4ABCBuffer(None, Fakes()).SectionOptions_EditItemText(soitPaper, u"Paper = A4", R);
    EXPECT_EQ(Applied(None, R), u".Voice\r\r.Options\rPaper = A4\r");
}

TEST(EditItems, FontsReplaceTheItemOfTheSameUsage) {
    TrecNuo4ABCTextReplaceItem R;
    const std::u16string T = u".Fonts\rTitle = A\rLyric = B\r";
    const TNuo4ABCBuffer B(T, Fakes());
    B.SectionFonts_EditItemText(fuLyric, u"Lyric = C", R);
    EXPECT_EQ(Applied(T, R), u".Fonts\rTitle = A\rLyric = C\r");
    B.SectionFonts_EditItemText(fuIntro, u"Intro = D", R);
    EXPECT_EQ(Applied(T, R), u".Fonts\rTitle = A\rLyric = B\rIntro = D\r");
}

TEST(EditItems, PageItemGoesOnItsOwnLineEvenBeforeAnotherHeader) {
    TrecNuo4ABCTextReplaceItem R;
    const std::u16string T = u".Page\r#1\r.Voice\r1\r";
    TNuo4ABCBuffer(T, Fakes()).SectionPage_AddItemText(u"#2", R);
    const std::u16string Out = Applied(T, R);
    EXPECT_EQ(Out, u".Page\r#1\r#2\r.Voice\r1\r");
    const TNuo4ABCBuffer After(Out, Fakes());
    EXPECT_EQ(After.Section_Page.GetCount(), 2);
    EXPECT_EQ(After.Section_Voice.GetCount(), 1);
    const std::u16string NoBreak = u".Page";
    TNuo4ABCBuffer(NoBreak).SectionPage_AddItemText(u"#2", R);
    EXPECT_EQ(Applied(NoBreak, R), u".Page\r#2");
    TNuo4ABCBuffer(u"1").SectionPage_AddItemText(u"#2", R);
    EXPECT_EQ(Applied(u"1", R), u"1\r.Page\r#2\r");
}

TEST(EditItems, TitleBlockReplacesTheWholeSectionOrCreatesIt) {
    TrecNuo4ABCTextReplaceItem R;
    const std::u16string T = u".Title\rTitle = A\rTitle = B\r\r.Voice\r";
    TNuo4ABCBuffer(T, Fakes())
        .SectionTitle_EditTitleBlockText(u"Title = C\r", u".Title\rTitle = C", R);
    EXPECT_EQ(Applied(T, R), u".Title\rTitle = C\r\r.Voice\r");
    // A written title ending with a break does not add an empty line on every edit.
    TNuo4ABCBuffer(T, Fakes())
        .SectionTitle_EditTitleBlockText(u"Title = C\r", u".Title\rTitle = C\r", R);
    EXPECT_EQ(Applied(T, R), u".Title\rTitle = C\r\r.Voice\r");
    const std::u16string AtEnd = u".Title\rTitle = A";
    TNuo4ABCBuffer(AtEnd, Fakes())
        .SectionTitle_EditTitleBlockText(u"Title = C\r", u".Title\rTitle = C\r", R);
    EXPECT_EQ(Applied(AtEnd, R), u".Title\rTitle = C\r");
    const std::u16string None = u".Voice\r";
    TNuo4ABCBuffer(None).SectionTitle_EditTitleBlockText(u"Title = C", u".Title\rTitle = C", R);
    EXPECT_EQ(Applied(None, R), u".Voice\r\r.Title\rTitle = C\r");
    TNuo4ABCBuffer(T, Fakes()).SectionTitle_EditTitleBlockText(u"", u"", R);
    EXPECT_TRUE(R.IsInvalid());  // an empty title text never deletes the section
}

// ---- Insert positions ----------------------------------------------------------------------

TEST(InsertPositions, EmptyVoiceBuffer) {
    EXPECT_EQ(TNuo4ABCBuffer(u"1 2").SectionVoice_GetInsertPosWhenBufferIsEmtpy(), 0);
    EXPECT_EQ(TNuo4ABCBuffer(u".Voice\r\r").SectionVoice_GetInsertPosWhenBufferIsEmtpy(), 7);
    // A comment after the header: still the next line, not the middle of the header line.
    EXPECT_EQ(TNuo4ABCBuffer(u".Voice // c\r\r").SectionVoice_GetInsertPosWhenBufferIsEmtpy(), 12);
    EXPECT_EQ(TNuo4ABCBuffer(u".Voice").SectionVoice_GetInsertPosWhenBufferIsEmtpy(), 6);
    EXPECT_EQ(TNuo4ABCBuffer(u".Voice\r1\r", Fakes()).SectionVoice_GetInsertPosWhenBufferIsEmtpy(),
              -1);
}

TEST(InsertPositions, AfterTheLastSymbol) {
    EXPECT_EQ(TNuo4ABCBuffer(u".Voice\r").SectionVoice_GetLastInsertPosWhenBufferIsNonEmtpy(), -1);
    EXPECT_EQ(TNuo4ABCBuffer(u".Voice\r1 23 // x\r", Fakes())
                  .SectionVoice_GetLastInsertPosWhenBufferIsNonEmtpy(),
              11);
}

// ---- Clean-up ------------------------------------------------------------------------------

TEST(CleanUp, BlankLinesStrictlyInsideTheSectionAreDeleted) {
    const std::u16string T = u".Voice\r1\r  \r\r2\r \r.Attachments\r@a\r\r@b\r\r";
    const TNuo4ABCBuffer B(T, Fakes());
    TNuo4ABCTextReplaceItems Items;
    ASSERT_TRUE(B.FormatSectionVoice_RemoveBlankLines(Items));
    // The section's last line (" ") is kept.
    EXPECT_EQ(Applied(T, Items), u".Voice\r1\r2\r \r.Attachments\r@a\r\r@b\r\r");
    ASSERT_TRUE(B.FormatSectionAttachments_RemoveBlankLines(Items));
    EXPECT_EQ(Applied(T, Items), u".Voice\r1\r  \r\r2\r \r.Attachments\r@a\r@b\r\r");
    EXPECT_FALSE(TNuo4ABCBuffer(u".Voice\r").FormatSectionVoice_RemoveBlankLines(Items));
    EXPECT_FALSE(TNuo4ABCBuffer(u"1\r\r2").FormatSectionVoice_RemoveBlankLines(Items));
    EXPECT_TRUE(Items.empty());
}

TEST(CleanUp, CommentsInsideTheVoiceAreDeleted) {
    const std::u16string T = u".Voice\r1 /* a */ 2\r3 // b\r4\r// tail\r.Words\r// w\r";
    const TNuo4ABCBuffer B(T, Fakes());
    TNuo4ABCTextReplaceItems Items;
    ASSERT_TRUE(B.FormatSectionVoice_RemoveComment(Items));
    // The comment after the last symbol lies outside the section's text range and stays.
    EXPECT_EQ(Applied(T, Items), u".Voice\r1  2\r3 \r4\r// tail\r.Words\r// w\r");
}

TEST(CleanUp, OverlappingCommentRangesAreDeletedOnce) {
    // The line comment holds a block comment: both are in the comment list, overlapping.
    const std::u16string T = u".Voice\r1 // x /* y */ z\r2\r";
    const TNuo4ABCBuffer B(T, Fakes());
    ASSERT_EQ(B.CommentRangeArray.size(), 2u);
    TNuo4ABCTextReplaceItems Items;
    ASSERT_TRUE(B.FormatSectionVoice_RemoveComment(Items));
    EXPECT_EQ(Items.size(), 1u);
    EXPECT_EQ(Applied(T, Items), u".Voice\r1 \r2\r");
}

// ---- Invariants on random texts ----------------------------------------------------------

namespace {

std::u16string RandomText(std::mt19937& ARng, int ALength) {
    static const std::u16string Alphabet = u"//**  \r\r\n\t.Vv:a1{}";
    std::uniform_int_distribution<size_t> Pick(0, Alphabet.size() - 1);
    std::u16string S;
    for (int I = 0; I < ALength; ++I) S += Alphabet[Pick(ARng)];
    return S;
}

}  // namespace

TEST(ScanInvariants, PiecesAreTheTrimmedRunsOutsideCommentsAndLinesTileTheText) {
    std::mt19937 Rng(20261209);
    for (int Round = 0; Round < 3000; ++Round) {
        const TNuo4ABCBuffer B(RandomText(Rng, Round % 60));
        const std::u16string& T = B.ABCText();
        ASSERT_EQ(T.find(u'\n'), std::u16string::npos);
        const int32_t N = static_cast<int32_t>(T.size());
        std::vector<bool> InComment(N, false);
        for (const TKoRange& C : B.CommentRangeArray) {
            ASSERT_TRUE(C.IsNonEmpty());
            ASSERT_LE(C.EndIndex(), N - 1);
            for (int32_t P = C.StartIndex; P <= C.EndIndex(); ++P) InComment[P] = true;
        }
        int32_t Next = 0;
        ASSERT_EQ(B.NonCommentRangesArrayArray.size(), B.LineRangeArray.size());
        ASSERT_EQ(B.LineTypeArray.size(), B.LineRangeArray.size());
        for (int L = 0; L < B.GetABCLinesCount(); ++L) {
            const TKoRange Line = B.LineRangeArray[L];
            ASSERT_EQ(Line.StartIndex, Next) << "lines must tile the text";
            Next = Line.StartIndex + Line.Length;
            // The expected pieces: maximal runs of non-comment positions, trimmed.
            TKoRangeArray Expected;
            bool bTouched = false;
            for (int32_t P = Line.StartIndex; P <= Line.EndIndex();) {
                if (InComment[P]) {
                    bTouched = true;
                    ++P;
                    continue;
                }
                int32_t E = P;
                while (E + 1 <= Line.EndIndex() && !InComment[E + 1]) ++E;
                TKoRange Run = ABC_TrimRange(T, TKoRange::FromStartEnd(P, E));
                if (Run.IsNonEmpty()) Expected.push_back(Run);
                P = E + 1;
            }
            if (Expected.empty()) Expected.push_back(TKoRange::Invalid());
            ASSERT_EQ(B.NonCommentRangesArrayArray[L], Expected) << test::Utf8(T) << " line " << L;
            ASSERT_EQ(B.LineWithCommnet(L), bTouched);
            for (int32_t P = Line.StartIndex; P <= Line.EndIndex(); ++P)
                ASSERT_EQ(B.GetLineIndexFromPos(P), L);
        }
        ASSERT_EQ(Next, N);
    }
}
