#include "format/title_block_text.h"

namespace nuo4 {

namespace {

constexpr const char16_t* DefaultLabels[3] = {Nuo4WordsByLabel, Nuo4MusicByLabel, Nuo4SingByLabel};

std::u16string PieceText(TText S, TKoRange APiece) {
    return APiece.IsNonEmpty() ? ABC_GetRangeText(S, APiece) : std::u16string();
}

// A "{" at the piece start whose matching "}" lies inside the piece; returns that "}".
int32_t LeadingGroupClose(TText S, TKoRange APiece) {
    if (!APiece.IsNonEmpty() || S[APiece.StartIndex] != u'{') return -1;
    return ABC_FindMatchingClose(S, APiece, u"{", u"}");
}

}  // namespace

const char* EnumName(TrecNuo4TitelBlockTextItemType AValue) {
    static constexpr const char* Names[] = {"tbtitInvalid",    "tbtitNormalText", "tbtitTwo_One",
                                            "tbtitTwo_Two",    "tbtitThree_One",  "tbtitThree_Two",
                                            "tbtitThree_Three"};
    return AValue <= tbtitThree_Three ? Names[AValue] : "?";
}

void TrecNuo4TitleBlockTextItem::SetToDefault() {
    TextChord.clear();
    AfterTextChordArray.clear();
    FontUsage = fuDefault;
    bZipY = false;
    HorzAlign = tbthaNone;
    TextLeftWhenHorzAlignIsNone = 0;
}

void TrecNuo4TitleBlockTextItem::SetToDefault_WordsByAndMusicBy() {
    SetToDefault();
    FontUsage = fuWordsByAndMusicBy;
    HorzAlign = tbthaRight;
}

bool TrecNuo4TitleBlockTextItem::IsEmpty_AfterChord() const {
    for (const auto& A : AfterTextChordArray)
        if (!A.IsEmpty()) return false;
    return true;
}

void TrecNuo4TitleBlockTextItem::Initialize_SingleLineText(TText AText, TNuo4FontUsage AFontUsage,
                                                           TNuo4TitleBlockTextHorzAlign AHorzAlign,
                                                           float ATextLeftWhenHorzAlignIsNone) {
    SetToDefault();
    FontUsage = AFontUsage;
    HorzAlign = AHorzAlign;
    TextLeftWhenHorzAlignIsNone = ATextLeftWhenHorzAlignIsNone;
    TrecNuo4AfterTextChord After;
    After.Initalize(AText, TKoRange(0, 1));
    AfterTextChordArray.push_back(std::move(After));
}

void TrecNuo4TitleBlockTextItem::Initialize(TNuo4SectionTitleItemType AItemType, TText AABCText) {
    Initialize_SingleLineText(AABCText, SectionTitle_ItemFontUsage(AItemType),
                              SectionTitle_ItemHorzAlign(AItemType), 0);
}

void TrecNuo4TitleBlockTextItem::Initialize_WordsByAndMusicBy_NormalText(TText AText) {
    Initialize_SingleLineText(AText, fuWordsByAndMusicBy, tbthaRight, 0);
}

void TrecNuo4TitleBlockTextItem::Initialize_WordsByAndMusicBy_Two_Two(TText AWordsBy,
                                                                      TText AMusicBy,
                                                                      TText AID_WordsBy,
                                                                      TText AID_MusicBy) {
    SetToDefault_WordsByAndMusicBy();
    TextChord = {std::u16string(AWordsBy), std::u16string(AMusicBy)};
    AfterTextChordArray.resize(2);
    AfterTextChordArray[0].Initalize(AID_WordsBy, TKoRange(0, 1));
    AfterTextChordArray[1].Initalize(AID_MusicBy, TKoRange(1, 1));
}

void TrecNuo4TitleBlockTextItem::Initialize_WordsByAndMusicBy_Three_Three(
    TText AWordsBy, TText AMusicBy, TText ASingBy, TText AID_WordsBy, TText AID_MusicBy,
    TText AID_SingBy) {
    SetToDefault_WordsByAndMusicBy();
    TextChord = {std::u16string(AWordsBy), std::u16string(AMusicBy), std::u16string(ASingBy)};
    AfterTextChordArray.resize(3);
    AfterTextChordArray[0].Initalize(AID_WordsBy, TKoRange(0, 1));
    AfterTextChordArray[1].Initalize(AID_MusicBy, TKoRange(1, 1));
    AfterTextChordArray[2].Initalize(AID_SingBy, TKoRange(2, 1));
}

void TrecNuo4TitleBlockTextItem::Initialize_WordsByAndMusicBy(
    const TrecNuo4TitelBlockText_WordsByAndMusicBy& ATextInfo) {
    const auto& P = ATextInfo.Parts;
    auto Lines = [&](int ACount) {
        SetToDefault_WordsByAndMusicBy();
        TextChord.assign(P.begin(), P.begin() + ACount);
    };
    auto After = [&](const std::u16string& AText, TKoRange ALines) {
        TrecNuo4AfterTextChord A;
        A.Initalize(AText, ALines);
        AfterTextChordArray.push_back(std::move(A));
    };
    switch (ATextInfo.aType) {
        case tbtitNormalText:
            Initialize_WordsByAndMusicBy_NormalText(P[0]);
            break;
        case tbtitTwo_Two:
            Initialize_WordsByAndMusicBy_Two_Two(P[0], P[1], P[2], P[3]);
            break;
        case tbtitThree_Three:
            Initialize_WordsByAndMusicBy_Three_Three(P[0], P[1], P[2], P[3], P[4], P[5]);
            break;
        // Fewer labels than names: one label over both names, one over all three, or one
        // over the first two names and one after the third.
        case tbtitTwo_One:
            Lines(2);
            After(P[2], TKoRange(0, 2));
            break;
        case tbtitThree_One:
            Lines(3);
            After(P[3], TKoRange(0, 3));
            break;
        case tbtitThree_Two:
            Lines(3);
            After(P[3], TKoRange(0, 2));
            After(P[4], TKoRange(2, 1));
            break;
        default:
            SetToDefault_WordsByAndMusicBy();
            break;
    }
}

void TrecNuo4TitleBlockTextItem::Initialize_WordsByAndMusicBy(TText AnyText) {
    SetToDefault_WordsByAndMusicBy();
    if (AnyText.empty()) return;
    const TKoRange Whole(0, static_cast<int32_t>(AnyText.size()));
    if (!ABC_IsWrappedByBraces(AnyText, Whole)) {
        Initialize_WordsByAndMusicBy_NormalText(AnyText);
        return;
    }
    const TKoRange Inner = ABC_StripBraces(AnyText, Whole);
    const TKoRangeArray Pieces = ABC_SplitBySeparator(AnyText, Inner, u',', true, true);
    if (Pieces.size() <= 1) {
        Initialize_WordsByAndMusicBy_NormalText(AnyText);
        return;
    }
    if (Pieces.size() > 3) return;

    if (LeadingGroupClose(AnyText, Pieces[0]) < 0) {
        if (Pieces.size() == 2)
            Initialize_WordsByAndMusicBy_Two_Two(PieceText(AnyText, Pieces[0]),
                                                 PieceText(AnyText, Pieces[1]), Nuo4WordsByLabel,
                                                 Nuo4MusicByLabel);
        else
            Initialize_WordsByAndMusicBy_Three_Three(
                PieceText(AnyText, Pieces[0]), PieceText(AnyText, Pieces[1]),
                PieceText(AnyText, Pieces[2]), Nuo4WordsByLabel, Nuo4MusicByLabel, Nuo4SingByLabel);
        return;
    }

    // Each piece adds its names as lines and one label after exactly those lines.
    for (size_t K = 0; K < Pieces.size(); ++K) {
        const TKoRange Piece = Pieces[K];
        const int32_t FirstLine = static_cast<int32_t>(TextChord.size());
        std::u16string Label;
        const int32_t Close = LeadingGroupClose(AnyText, Piece);
        if (Close >= 0) {
            const TKoRange Group = TKoRange::FromStartEnd(Piece.StartIndex + 1, Close - 1);
            for (const auto& Name : ABC_SplitBySeparator(AnyText, Group, u',', true, true))
                TextChord.push_back(PieceText(AnyText, Name));
            if (Close < Piece.EndIndex()) {
                const TKoRange Rest =
                    ABC_TrimRange(AnyText, TKoRange::FromStartEnd(Close + 1, Piece.EndIndex()));
                Label = PieceText(AnyText, Rest);
            }
        } else {
            TextChord.push_back(PieceText(AnyText, Piece));
        }
        if (Label.empty()) Label = DefaultLabels[K];
        TrecNuo4AfterTextChord After;
        After.Initalize(Label,
                        TKoRange(FirstLine, static_cast<int32_t>(TextChord.size()) - FirstLine));
        AfterTextChordArray.push_back(std::move(After));
    }
}

}  // namespace nuo4
