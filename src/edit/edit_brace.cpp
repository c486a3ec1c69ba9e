#include "edit/edit_brace.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "edit/edit_paragraph.h"
#include "edit/edit_spacing.h"
#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "format/horz_location.h"
#include "layout/buffer_caret.h"
#include "layout/buffer_selection.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

// A moment of the music within a line: the measure's place in the line and the beat position
// inside it. A bar line sorts after every note of its measure.
using TKey = std::pair<int32_t, double>;
constexpr double BarlineBeat = 1e9;

struct TAnchor {
    TKey Key;
    int32_t Index;  // basic index
};

// Bar lines and the notes that start a beat, in line order.
std::vector<TAnchor> AnchorsOf(const TNuo4SimpleBuffer& B, const TrecNuo4LineInfoItem& L) {
    std::vector<TAnchor> R;
    const TKoRange M = L.MeasureIndexRange;
    for (int32_t K = 0; M.IsNonEmpty() && K < M.Length; ++K) {
        const TKoRange Syms = B.MeasureInfoArray[M.StartIndex + K].BasicIndexRange;
        for (int32_t I = Syms.StartIndex; I <= Syms.EndIndex(); ++I) {
            const TNuo4Symbol* S = B.Basic_GetSymbol(I);
            if (B.Basic_IsBarline(I)) {
                // A bar line that opens the measure belongs with the one before it.
                R.push_back({{I == Syms.StartIndex ? K - 1 : K, BarlineBeat}, I});
            } else if (B.Basic_IsNote(I) && S->BasicInfo().DV.bAtFullBeat_Before) {
                const double Beat =
                    std::round(S->BasicInfo().DV.DVSumWithinMeasure_Before * 100) / 100;
                // Only the first note at a beat position (grace-led or chords are one symbol).
                if (R.empty() || R.back().Key != TKey(K, Beat)) R.push_back({{K, Beat}, I});
            }
        }
    }
    return R;
}

double X(const TNuo4SimpleBuffer& B, int32_t I) {
    return B.Basic_GetSymbol(I)->Pos().x();
}

// The aligned advance widths of the lines (line index -> per-symbol AW in mm), from the
// present layout: every column (a moment that begins a beat or ends a measure) gets the x the
// widest part needs, and each part's symbols between two of its columns are stretched evenly.
std::map<int32_t, std::vector<double>> AlignedWidths(const TNuo4SimpleBuffer& B,
                                                     const std::vector<int32_t>& ALines,
                                                     double AAvailable) {
    struct TPart {
        TKoRange Syms;
        std::vector<TAnchor> Anchors;
    };
    std::vector<TPart> Parts;
    std::vector<TKey> Keys;
    for (int32_t L : ALines) {
        TPart P{B.LineInfoArray[L].GetBasicIndexRangeExcludeReturn(),
                AnchorsOf(B, B.LineInfoArray[L])};
        for (const TAnchor& A : P.Anchors) Keys.push_back(A.Key);
        Parts.push_back(std::move(P));
    }
    std::sort(Keys.begin(), Keys.end());
    Keys.erase(std::unique(Keys.begin(), Keys.end()), Keys.end());

    // Column x relative to the line start; each part's last anchor and its present and new
    // offsets.
    std::vector<double> Column(Keys.size(), 0);
    std::vector<size_t> Next(Parts.size(), 0);
    std::vector<double> PrevOld(Parts.size(), 0), PrevNew(Parts.size(), 0);
    for (size_t P = 0; P < Parts.size(); ++P) PrevOld[P] = X(B, Parts[P].Syms.StartIndex);
    for (size_t C = 0; C < Keys.size(); ++C) {
        double Want = 0;
        for (size_t P = 0; P < Parts.size(); ++P)
            if (Next[P] < Parts[P].Anchors.size() && Parts[P].Anchors[Next[P]].Key == Keys[C])
                Want =
                    std::max(Want, PrevNew[P] + X(B, Parts[P].Anchors[Next[P]].Index) - PrevOld[P]);
        Column[C] = Want;
        for (size_t P = 0; P < Parts.size(); ++P)
            if (Next[P] < Parts[P].Anchors.size() && Parts[P].Anchors[Next[P]].Key == Keys[C]) {
                PrevOld[P] = X(B, Parts[P].Anchors[Next[P]].Index);
                PrevNew[P] = Want;
                ++Next[P];
            }
    }

    std::map<int32_t, std::vector<double>> R;
    double Widest = 0;
    for (size_t P = 0; P < Parts.size(); ++P) {
        const TKoRange S = Parts[P].Syms;
        std::vector<double> AW(S.Length);
        for (int32_t I = 0; I < S.Length; ++I) AW[I] = B.Basic_GetSymbol(S.StartIndex + I)->AW();
        // Segments between consecutive anchors (the line start counts as one).
        int32_t From = S.StartIndex;
        double FromNew = 0;
        size_t K = 0;
        for (const TAnchor& A : Parts[P].Anchors) {
            while (Keys[K] != A.Key) ++K;
            const double Old = X(B, A.Index) - X(B, From), New = Column[K] - FromNew;
            if (Old > 1e-6)
                for (int32_t I = From; I < A.Index; ++I) AW[I - S.StartIndex] *= New / Old;
            else if (A.Index > From)
                AW[A.Index - 1 - S.StartIndex] += New;
            From = A.Index;
            FromNew = Column[K];
        }
        // The line's width past its indent (the indent holds the first symbol's left part).
        double Width = B.Basic_GetSymbol(S.EndIndex())->RightWidth();
        for (int32_t I = 0; I + 1 < S.Length; ++I) Width += AW[I];
        Widest = std::max(Widest, Width);
        R[Parts[P].Syms.StartIndex] = std::move(AW);
    }
    // Too wide for the page: every part shrinks by one factor, so the columns stay together.
    // The widths are written rounded, so they are fitted a little inside the width (else the
    // line could break anew). A justified line measures the full width: within a rounding of
    // it, the line is left as it is.
    const double Fit = AAvailable - 0.3;
    if (Widest > AAvailable + 0.05 && Widest > 0)
        for (auto& [First, AW] : R)
            for (double& W : AW) W *= Fit / Widest;
    return R;
}

bool Done(TNuo4ABCTextReplaceItems& AItems, bool bOk) {
    if (!bOk || AItems.empty()) {
        AItems.clear();
        return false;
    }
    return true;
}

std::vector<int32_t> NonEmptyLines(const TNuo4SimpleBuffer& B, TKoRange ALines) {
    std::vector<int32_t> R;
    if (!ALines.IsNonEmpty()) return R;
    for (int32_t L = ALines.StartIndex; L <= ALines.EndIndex(); ++L)
        if (L >= 0 && L < int32_t(B.LineInfoArray.size()) && !B.LineInfoArray[L].IsEmpty())
            R.push_back(L);
    return R;
}

// Locks every symbol of the lines at the aligned widths, for lines starting at AIndent (mm).
bool AlignLines(const TNuo4SimpleBuffer& B, const std::vector<int32_t>& ALines, double AIndent,
                TNuo4ABCTextReplaceItems& AItems) {
    if (ALines.size() < 2) return false;
    const double Available = Nuo4DocOptions().GetLayoutWidth() - AIndent;
    for (const auto& [First, AW] : AlignedWidths(B, ALines, Available))
        // The last symbol's advance leads off the line: it stays automatic.
        for (int32_t I = 0; I + 1 < int32_t(AW.size()); ++I) {
            const TNuo4Symbol* S = B.Basic_GetSymbol(First + I);
            TrecNuo4SymbolControlOptions_AWCoef A;
            if (const auto* O = S->GetControlOptionsPtr()) A = O->AWCoef;
            A.LockTo(float(std::max(0.01, AW[I] / S->DigitSize().width())));
            if (!CanSetAWCoefOptions(B, First + I, A, AItems)) return false;
        }
    return true;
}

TKoRange ParagraphsOf(const TNuo4SimpleBuffer& B, const std::vector<int32_t>& ALines) {
    const int32_t A = B.GetParagraphIndex_FromBasicIndex(
        B.LineInfoArray[ALines.front()].BasicIndexRange.StartIndex);
    const int32_t E = B.GetParagraphIndex_FromBasicIndex(
        B.LineInfoArray[ALines.back()].BasicIndexRange.EndIndex());
    return A >= 0 && E >= A ? TKoRange::FromStartEnd(A, E) : TKoRange::Invalid();
}

// The indent the system's lines share: the largest one they have, or the default.
double SharedIndent(const TNuo4SimpleBuffer& B, TKoRange AParagraphs) {
    double R = 0;
    for (int32_t P = AParagraphs.StartIndex; P <= AParagraphs.EndIndex(); ++P)
        R = std::max(R, double(B.ParagraphInfoArray[P].Options.IndentValue));
    return R > 0.01 ? R : Nuo4BraceIndentDefault;
}

int32_t SystemStartingAt(const TNuo4SimpleBuffer& B, int32_t ALine) {
    for (int32_t S = 0; S < int32_t(B.SystemLineInfoArray.size()); ++S)
        if (B.SystemLineInfoArray[S].LineIndexRange.StartIndex == ALine &&
            B.SystemLineInfoArray[S].AttachIndex_Brace >= 0)
            return S;
    return -1;
}

}  // namespace

bool CanAlignSystemLine(const TNuo4SimpleBuffer& B, int32_t ASystemLineIndex,
                        TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (ASystemLineIndex < 0 || ASystemLineIndex >= int32_t(B.SystemLineInfoArray.size()))
        return false;
    const auto& Lines = B.SystemLineInfoArray[ASystemLineIndex].NonEmptyLineArray;
    const TKoRange Pars = Lines.empty() ? TKoRange::Invalid() : ParagraphsOf(B, Lines);
    if (!Pars.IsNonEmpty()) return false;
    return Done(AItems, AlignLines(B, Lines, B.GetParagraphIndent(Pars.StartIndex), AItems));
}

bool CanBraceAndAlignLines(const TNuo4SimpleBuffer& B, TKoRange ALines,
                           TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const std::vector<int32_t> Lines = NonEmptyLines(B, ALines);
    if (Lines.size() < 2 || !B.GetABCBuffer()) return false;
    const int32_t Page = GetPageIndexFromLineIndex(B, Lines.front());
    if (Page < 0 || Page != GetPageIndexFromLineIndex(B, Lines.back())) return false;
    const TKoRange Pars = ParagraphsOf(B, Lines);
    if (!Pars.IsNonEmpty()) return false;

    // 1. The brace, on the first note of the first line, unless a braced system starts there.
    if (SystemStartingAt(B, Lines.front()) < 0) {
        const TKoRange First = B.LineInfoArray[Lines.front()].BasicIndexRange;
        int32_t Owner = -1;
        for (int32_t I = First.StartIndex; I <= First.EndIndex() && Owner < 0; ++I)
            if (B.Basic_IsNote(I)) Owner = I;
        if (Owner < 0) return false;
        const double H = Nuo4DocOptions().GetNormalStyleDigitSize().Height;
        const double Length =
            B.LineInfoArray[Lines.back()].BaselineY - B.LineInfoArray[Lines.front()].BaselineY + H;
        TrecNuo4HorzLocation Loc;
        Loc.aType = hltAbsLocate_BasicIndex;
        Loc.AbsLocate_BasicIndex_BasicIndex = Owner;
        char Text[96];
        std::snprintf(Text, sizeof Text, "(-1.50,-0.50) = HuaKuoHao, Left, %.1f, []", Length);
        const std::string Rest(Text);
        TrecNuo4ABCTextReplaceItem Item;
        B.GetABCBuffer()->SectionAttachments_AddItemText(
            u"Brace" + Loc.ToABCText() + std::u16string(Rest.begin(), Rest.end()), Item);
        AItems.AddItem(Item);
    }
    // 2. The columns, for lines that will all start at one indent. 3. That indent, so that
    // the parts start together and the brace has room. The locks come first in the answer: a
    // return added after a last bar line goes at the position of that bar line's options, and
    // insertions at one position are applied in answer order.
    const double Indent = SharedIndent(B, Pars);
    if (!AlignLines(B, Lines, Indent, AItems)) return Done(AItems, false);
    TNuo4ABCTextReplaceItems More;
    System_CanChangeParagraphOptions_Indent_Range(B, Pars, Indent, More);
    AItems.AddItems(More);
    return Done(AItems, true);
}

bool CanBraceAndAlign_Caret(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const int32_t Line = GetLineIndexOfCaret(B, B.InternalStatus.Selection.CaretPos_End);
    if (Line < 0) return false;
    // The braced system of the caret's line.
    for (const auto& S : B.SystemLineInfoArray)
        if (S.AttachIndex_Brace >= 0 && S.LineIndexRange.Contains(Line))
            return CanBraceAndAlignLines(B, S.LineIndexRange, AItems);
    // The selected lines, or the caret's line and the next line with music.
    const TKoRange Sel = Selection_GetLineRange(B);
    if (!B.InternalStatus.Selection.IsEmpty() && Sel.Length >= 2)
        return CanBraceAndAlignLines(B, Sel, AItems);
    for (int32_t L = Line + 1; L < int32_t(B.LineInfoArray.size()); ++L)
        if (!B.LineInfoArray[L].IsEmpty())
            return CanBraceAndAlignLines(B, TKoRange::FromStartEnd(Line, L), AItems);
    return false;
}

}  // namespace nuo4
