#include "editor/syntax_tokens.h"

#include <algorithm>

#include "format/section_attachments.h"
#include "format/section_fonts.h"
#include "format/section_lyrics.h"
#include "format/section_page.h"
#include "format/section_title.h"
#include "format/section_voice.h"

namespace nuo4 {

namespace {

constexpr uint32_t Green = 0x008000, Navy = 0x000080, Fuchsia = 0xFF00FF, Blue = 0x0000FF,
                   Black = 0x000000, Maroon = 0x800000, LightBlue = 0xA6CAF0, Purple = 0x800080;

void Add(std::vector<TrecNuo4SyntaxSpan>& A, TKoRange R, TrecNuo4SyntaxStyle S) {
    if (R.IsNonEmpty()) A.push_back({R.StartIndex, R.Length, S});
}

void AddTokens(std::vector<TrecNuo4SyntaxSpan>& A, const TNuo4ABCTokenInfoItems& T,
               TNuo4SyntaxContext C) {
    for (const TrecNuo4ABCTokenInfoItem& I : T) {
        const TrecNuo4SyntaxStyle S = Nuo4SyntaxStyleOf(I.aType, C);
        if (S.Color != Nuo4SyntaxDefaultColor || S.bBold || S.bItalic) Add(A, I.ABCTextRange, S);
    }
}

}  // namespace

TrecNuo4SyntaxStyle Nuo4SyntaxStyleOf(TNuo4ABCTokenType T, TNuo4SyntaxContext C) {
    switch (C) {
        case scOptions:
            if (T == ttOpionName) return {Fuchsia};
            if (T == ttOptionValue) return {Blue};
            break;
        case scFonts:
            if (T == ttFontUsage) return {Fuchsia};
            if (T == ttString) return {Blue};
            if (T == ttNumber) return {Blue, true};
            if (T == ttBool) return {Navy};
            if (T == ttFontStyle) return {Black};
            break;
        case scTitle:
            if (T == ttTitleItemName) return {Fuchsia};
            if (T == ttTitleItemText) return {Green, true};
            if (T == ttNumber) return {Green};
            break;
        default:
            break;
    }
    // The voice's palette, which the lyrics, attachments and page sections share.
    switch (T) {
        case ttSectionName:
            return {Navy, true};
        case ttControlOptions:
            return {Black};
        case ttBarline_Pure:
        case ttBarline_Pure_Barline:
        case ttAccompMarker:
        case ttKeyAndMeters:
            return {Fuchsia};
        case ttBarline_FangZi:
            return {Fuchsia, true};
        case ttReturn:
            return {Maroon, true};
        case ttNote_Pitches:
            return {Blue, true};
        case ttNote_Duration:
            return {LightBlue, true};
        case ttNote_Grace:
        case ttNote_Articulations:
            return {Green};
        case ttNote_ArcStartings:
        case ttNote_ArcEndings:
            return {Purple, true};
        case ttText:
        case ttPureLyric:
            return {Black};
        case ttLyricPrefix:
        case ttSectionAttachmentsItemHeader:
        case ttSectionPageItemHeader:
        case ttSectionItemName:
        case ttOpionName:
            return {Fuchsia};
        case ttHorzLocation:
        case ttPageLocation:
        case ttBarlinesAndNotesToSkip:
            return {Purple};
        case ttString:
        case ttOptionValue:
            return {Blue};
        case ttNumber:
            return {Blue, true};
        case ttBool:
            return {Navy};
        default:
            return {Nuo4SyntaxDefaultColor};
    }
}

TrecNuo4SyntaxSpans Nuo4CollectSyntaxSpans(const TNuo4ABCBuffer& B) {
    TrecNuo4SyntaxSpans R;
    std::vector<TrecNuo4SyntaxSpan>& A = R.Tokens;
    const TrecNuo4SyntaxStyle Section{Navy, true};
    Add(A, B.Section_Options.ABCTextRange_SectionName, Section);
    Add(A, B.Section_Fonts.ABCTextRange_SectionName, Section);
    Add(A, B.Section_Title.ABCTextRange_SectionName, Section);
    Add(A, B.Section_Voice.ABCTextRange_SectionName, Section);
    Add(A, B.Section_Lyrics.ABCTextRange_SectionName, Section);
    Add(A, B.Section_Attachments.ABCTextRange_SectionName, Section);
    Add(A, B.Section_Page.ABCTextRange_SectionName, Section);
    for (const auto& I : B.Section_Options.Buffer) AddTokens(A, I.Header.TokenItems, scOptions);
    for (const auto& I : B.Section_Fonts.Buffer) AddTokens(A, I.Header.TokenItems, scFonts);
    AddTokens(A, B.Section_Title.TokenItems, scTitle);
    for (const auto& S : B.Section_Voice.Buffer)
        if (S) AddTokens(A, S->GetTokenItems(), scVoice);
    for (const auto& V : B.Section_Lyrics.VerseBuffer) {
        AddTokens(A, V.VersePrefix.Header.TokenItems, scOther);
        Add(A, V.VersePrefix.Header.ABCTextRange, {Fuchsia});
        for (const auto& L : V.LyricsArray) {
            AddTokens(A, L.GetTokenItems(), scOther);
            // The skip marker's token once more, as when the marker kept its own list.
            if (L.RightLocation.Header.IsValid())
                AddTokens(A, {{ttBarlinesAndNotesToSkip, L.RightLocation.Header.ABCTextRange}},
                          scOther);
        }
    }
    for (const auto& I : B.Section_Attachments.Buffer) AddTokens(A, I.Header.TokenItems, scOther);
    for (const auto& I : B.Section_Page.Buffer) AddTokens(A, I.Header.TokenItems, scOther);
    auto ByStart = [](const TrecNuo4SyntaxSpan& X, const TrecNuo4SyntaxSpan& Y) {
        return X.Start < Y.Start;
    };
    std::stable_sort(A.begin(), A.end(), ByStart);
    for (const TKoRange& C : B.CommentRangeArray) Add(R.Comments, C, {Green, false, true});
    std::stable_sort(R.Comments.begin(), R.Comments.end(), ByStart);
    return R;
}

std::vector<TrecNuo4SyntaxSpan> Nuo4SyntaxSpansIn(const TrecNuo4SyntaxSpans& S, int32_t AStart,
                                                  int32_t ALength) {
    std::vector<TrecNuo4SyntaxSpan> Out;
    const int32_t End = AStart + ALength;
    auto Take = [&](const std::vector<TrecNuo4SyntaxSpan>& A, bool bLong) {
        // Tokens never cross a line, so those of the block start inside it; comments may
        // start many lines earlier.
        auto It = std::lower_bound(
            A.begin(), A.end(), AStart,
            [](const TrecNuo4SyntaxSpan& X, int32_t P) { return X.Start + X.Length <= P; });
        if (!bLong)
            It = std::lower_bound(
                A.begin(), A.end(), AStart,
                [](const TrecNuo4SyntaxSpan& X, int32_t P) { return X.Start < P; });
        for (; It != A.end() && It->Start < End; ++It) {
            const int32_t B0 = std::max(It->Start, AStart),
                          E0 = std::min(It->Start + It->Length, End);
            if (E0 > B0) Out.push_back({B0 - AStart, E0 - B0, It->Style});
        }
    };
    Take(S.Tokens, false);
    Take(S.Comments, true);
    return Out;
}

}  // namespace nuo4
