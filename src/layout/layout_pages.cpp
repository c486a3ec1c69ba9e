#include "layout/layout_pages.h"

#include <algorithm>

namespace nuo4 {

namespace {

// Per line: whether the first paragraph ending at it asks for a page break. The paragraphs are
// read once: asked line by line, a long score's pages would cost lines times paragraphs.
std::vector<uint8_t> LinesEndingPageBreakParagraph(const TNuo4ParagraphInfoArray& AParas,
                                                   int32_t ALineCount) {
    constexpr uint8_t None = 2;
    std::vector<uint8_t> R(size_t(std::max(ALineCount, 0)), None);
    for (const auto& P : AParas) {
        if (!P.LineIndexRange.IsNonEmpty()) continue;
        const int32_t E = P.LineIndexRange.EndIndex();
        if (E >= 0 && E < ALineCount && R[size_t(E)] == None) R[size_t(E)] = P.Options.bPageBreak;
    }
    for (uint8_t& B : R) B = B == 1;
    return R;
}

// PageIsJustifiedVert of every page. When the pages share no line and lie within the lines,
// each paragraph can lie on one page only and the paragraphs are read once; otherwise each page
// reads them all.
std::vector<uint8_t> PagesJustifiedVert(const TNuo4PageInfoArray& APages,
                                        const TNuo4ParagraphInfoArray& AParas, int32_t ALineCount) {
    std::vector<uint8_t> R(APages.size(), 0);
    std::vector<int32_t> PageOfLine(size_t(std::max(ALineCount, 0)), -1);
    bool bDisjoint = true;
    for (size_t P = 0; P < APages.size() && bDisjoint; ++P) {
        const TKoRange& L = APages[P].LineIndexRange;
        if (!L.IsNonEmpty()) continue;
        if (L.StartIndex < 0 || L.EndIndex() >= ALineCount) bDisjoint = false;
        for (int32_t I = L.StartIndex; bDisjoint && I <= L.EndIndex(); ++I) {
            if (PageOfLine[size_t(I)] >= 0) bDisjoint = false;
            PageOfLine[size_t(I)] = int32_t(P);
        }
    }
    if (!bDisjoint) {
        for (size_t P = 0; P < APages.size(); ++P) R[P] = PageIsJustifiedVert(APages[P], AParas);
        return R;
    }
    // The last paragraph lying wholly on each page.
    std::vector<int32_t> Last(APages.size(), -1);
    for (size_t Q = 0; Q < AParas.size(); ++Q) {
        const TKoRange& L = AParas[Q].LineIndexRange;
        if (!L.IsNonEmpty() || L.StartIndex < 0 || L.EndIndex() >= ALineCount) continue;
        const int32_t P = PageOfLine[size_t(L.StartIndex)];
        if (P >= 0 && PageOfLine[size_t(L.EndIndex())] == P) Last[size_t(P)] = int32_t(Q);
    }
    for (size_t P = 0; P < APages.size(); ++P)
        if (Last[P] >= 0) {
            const auto& O = AParas[size_t(Last[P])].Options;
            R[P] = O.bPageBreak && O.bJustifyVert;
        }
    return R;
}

TrecNuo4PageInfoItem MakePage(const TNuo4LineInfoArray& ALines, int32_t AFirst, int32_t ALast) {
    TrecNuo4PageInfoItem Page;
    Page.LineIndexRange = TKoRange::FromStartEnd(AFirst, ALast);
    int32_t M0 = -1, M1 = -1;
    for (int32_t L = AFirst; L <= ALast; ++L) {
        const TKoRange& R = ALines[L].MeasureIndexRange;
        if (!R.IsNonEmpty()) continue;
        if (M0 < 0) M0 = R.StartIndex;
        M1 = R.EndIndex();
    }
    Page.MeasureIndexRange =
        M0 >= 0 ? TKoRange::FromStartEnd(M0, M1)
                : TKoRange(std::max(0, ALines[AFirst].MeasureIndexRange.StartIndex), 0);
    Page.BasicIndexRange = TKoRange::FromStartEnd(ALines[AFirst].BasicIndexRange.StartIndex,
                                                  ALines[ALast].BasicIndexRange.EndIndex());
    for (int32_t L = AFirst; L <= ALast; ++L) Page.Bounds.MyUnion(ALines[L].Bounds);
    return Page;
}

}  // namespace

TNuo4PageInfoArray GetPageRangeArray(const TNuo4LineInfoArray& ALines,
                                     const TNuo4ParagraphInfoArray& AParas,
                                     const TrecNuo4PageLayoutParams& AParams) {
    TNuo4PageInfoArray Pages;
    const int32_t N = static_cast<int32_t>(ALines.size());
    const std::vector<uint8_t> PageBreakAt = LinesEndingPageBreakParagraph(AParas, N);
    int32_t First = 0;
    double PageTop = AParams.MarginTop;
    int32_t I = 0;
    while (I < N) {
        const double Bottom = ALines[I].Bounds.Layout.bottom();
        if (Bottom - PageTop - AParams.LayoutHeight > Nuo4PageHeightTolerance && I > First) {
            // Taken back: the line starts the next page and is tested there again.
            Pages.push_back(MakePage(ALines, First, I - 1));
            First = I;
            PageTop = ALines[I].Bounds.Layout.top();
            continue;
        }
        const bool bClose = Bottom - PageTop - AParams.LayoutHeight > Nuo4PageHeightTolerance ||
                            PageBreakAt[size_t(I)] || I == N - 1;
        if (bClose) {
            Pages.push_back(MakePage(ALines, First, I));
            First = I + 1;
            if (First < N) PageTop = ALines[First].Bounds.Layout.top();
        }
        ++I;
    }
    return Pages;
}

bool PageIsJustifiedVert(const TrecNuo4PageInfoItem& APage, const TNuo4ParagraphInfoArray& AParas) {
    const TrecNuo4ParagraphInfoItem* Last = nullptr;
    for (const auto& P : AParas) {
        const TKoRange& R = P.LineIndexRange;
        if (R.IsNonEmpty() && APage.LineIndexRange.Contains(R.StartIndex) &&
            APage.LineIndexRange.Contains(R.EndIndex()))
            Last = &P;
    }
    return Last && Last->Options.bPageBreak && Last->Options.bJustifyVert;
}

std::vector<double> SinglePageToMultiPage(TNuo4PageInfoArray& APages, TNuo4LineInfoArray& ALines,
                                          const TNuo4ParagraphInfoArray& AParas,
                                          const TrecNuo4PageLayoutParams& AParams) {
    std::vector<double> Moves(ALines.size(), 0.0);
    const std::vector<uint8_t> Justified =
        PagesJustifiedVert(APages, AParas, static_cast<int32_t>(ALines.size()));
    for (size_t P = 0; P < APages.size(); ++P) {
        auto& Page = APages[P];
        const TKoRange R = Page.LineIndexRange;
        if (!R.IsNonEmpty() || R.EndIndex() >= static_cast<int32_t>(ALines.size())) continue;
        const int32_t Count = R.Length;
        const double C = ALines[R.StartIndex].Bounds.Layout.top();
        const double E = ALines[R.EndIndex()].Bounds.Layout.bottom() - C;
        const double LayoutBottom = AParams.MarginTop + AParams.LayoutHeight;
        const double A = P == 0 ? LayoutBottom - AParams.FirstLineTop_Min : AParams.LayoutHeight;
        // A page fuller than its room is not squeezed: lines never move up into each other.
        const double X = std::max(0.0, std::min((AParams.MaxFactorForFitHeight - 1) * E, A - E));
        const bool bJustify = Justified[P];
        for (int32_t K = 0; K < Count; ++K) {
            double Dy = 0;
            if (P > 0) {
                Dy = -(C - AParams.MarginTop);
                if (bJustify && Count >= 2) Dy += K * X / (Count - 1);
            } else if (bJustify && Count > 1) {
                Dy = AParams.bWithTitleBlock ? (K + 1) * X / Count : K * X / (Count - 1);
            }
            auto& L = ALines[R.StartIndex + K];
            L.BaselineY += static_cast<float>(Dy);
            L.Bounds.MyOffsetY(Dy);
            Moves[R.StartIndex + K] = Dy;
        }
        Page.Bounds.SetToEmpty();
        for (int32_t L = R.StartIndex; L <= R.EndIndex(); ++L)
            Page.Bounds.MyUnion(ALines[L].Bounds);
    }
    return Moves;
}

int32_t PageIndexOfLine(const TNuo4PageInfoArray& APages, int32_t ALineIndex) {
    for (size_t P = 0; P < APages.size(); ++P)
        if (APages[P].LineIndexRange.Contains(ALineIndex)) return static_cast<int32_t>(P);
    return -1;
}

}  // namespace nuo4
