#include "layout/buffer_caret.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "format/doc_options.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

const char* EnumName(TNuo4MoveDirection AValue) {
    static const char* const Names[Nuo4MoveDirectionCount] = {
        "mdNone",        "mdLeft",        "mdRight",    "mdUp",       "mdDown",
        "mdNextMeasure", "mdPrevMeasure", "mdNextPage", "mdPrevPage", "mdLineStart",
        "mdLineEnd",     "mdDocStart",    "mdDocEnd"};
    return AValue < Nuo4MoveDirectionCount ? Names[AValue] : "";
}

bool MoveDirectionFromName(std::string_view AName, TNuo4MoveDirection& ADirection) {
    auto Lower = [](std::string_view S) {
        std::string R(S);
        for (char& C : R) C = char(std::tolower(static_cast<unsigned char>(C)));
        return R;
    };
    const std::string Want = Lower(AName);
    for (int I = 0; I < Nuo4MoveDirectionCount; ++I) {
        const std::string Name = Lower(EnumName(TNuo4MoveDirection(I)));
        if (Want == Name || Want == Name.substr(2)) {
            ADirection = TNuo4MoveDirection(I);
            return true;
        }
    }
    return false;
}

// ---- Where ------------------------------------------------------------------------------------

int32_t GetLineIndexFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex) {
    const auto& L = B.LineInfoArray;
    // Lines follow one another in the basic buffer.
    const auto It = std::upper_bound(L.begin(), L.end(), ABasicIndex,
                                     [](int32_t V, const TrecNuo4LineInfoItem& Line) {
                                         return V < Line.BasicIndexRange.StartIndex;
                                     });
    if (It == L.begin()) return -1;
    const auto P = std::prev(It);
    return P->BasicIndexRange.Contains(ABasicIndex) ? int32_t(P - L.begin()) : -1;
}

int32_t GetPageIndexFromLineIndex(const TNuo4SimpleBuffer& B, int32_t ALineIndex) {
    if (ALineIndex < 0) return -1;
    const auto& P = B.PageInfoArray;
    const auto It = std::upper_bound(P.begin(), P.end(), ALineIndex,
                                     [](int32_t V, const TrecNuo4PageInfoItem& Page) {
                                         return V < Page.LineIndexRange.StartIndex;
                                     });
    if (It == P.begin()) return -1;
    const auto Q = std::prev(It);
    return Q->LineIndexRange.Contains(ALineIndex) ? int32_t(Q - P.begin()) : -1;
}

int32_t GetPageIndexFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex) {
    return GetPageIndexFromLineIndex(B, GetLineIndexFromBasicIndex(B, ABasicIndex));
}

TrecNuo4CaretPos_Index NormalizeCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret) {
    const int32_t N = B.Basic_GetCount();
    if (N == 0) return TrecNuo4CaretPos_Index();
    if (ACaret.BasicIndex >= N) return TrecNuo4CaretPos_Index::Create(N - 1, true);
    if (ACaret.BasicIndex < 0) return TrecNuo4CaretPos_Index();
    return ACaret;
}

namespace {

const TrecNuo4LineInfoItem* LineOf(const TNuo4SimpleBuffer& B, int32_t ABasicIndex) {
    const int32_t L = GetLineIndexFromBasicIndex(B, ABasicIndex);
    return L >= 0 ? &B.LineInfoArray[L] : nullptr;
}

double SymbolX(const TNuo4SimpleBuffer& B, int32_t I) {
    const TNuo4Symbol* S = B.Basic_GetSymbol(I);
    return S ? S->Pos().x() : 0;
}

}  // namespace

bool CaretPos_IsLineStart(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret) {
    const TrecNuo4LineInfoItem* L = LineOf(B, ACaret.BasicIndex);
    return L && !ACaret.bRight && ACaret.BasicIndex == L->BasicIndexRange.StartIndex;
}

bool CaretPos_IsLineEnd(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret) {
    const TrecNuo4LineInfoItem* L = LineOf(B, ACaret.BasicIndex);
    return L && ACaret.bRight && ACaret.BasicIndex == L->BasicIndexRange.EndIndex();
}

int32_t GetLineIndexOfCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret) {
    return GetLineIndexFromBasicIndex(B, NormalizeCaret(B, ACaret).BasicIndex);
}

int32_t GetMeasureIndexOfCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret) {
    return B.GetMeasureIndex_FromBasicIndex(NormalizeCaret(B, ACaret).BasicIndex);
}

int32_t GetPageIndexOfCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret) {
    return GetPageIndexFromBasicIndex(B, NormalizeCaret(B, ACaret).BasicIndex);
}

int32_t GetParagraphIndexOfCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret) {
    return B.GetParagraphIndex_FromBasicIndex(NormalizeCaret(B, ACaret).BasicIndex);
}

TNuo4Symbol* GetSymbolOfCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret) {
    return B.Basic_GetSymbol(ACaret.GetEditPos());
}

int32_t GetCaretEditPos(const TNuo4SimpleBuffer& B) {
    return B.InternalStatus.Selection.GetCaretEditPos();
}
int32_t GetCaretRightPos(const TNuo4SimpleBuffer& B) {
    return B.InternalStatus.Selection.GetCaretRightPos();
}
int32_t GetCaretLeftPos(const TNuo4SimpleBuffer& B) {
    return B.InternalStatus.Selection.GetCaretLeftPos();
}

// ---- Moving -----------------------------------------------------------------------------------

namespace {

using TCaret = TrecNuo4CaretPos_Index;

TCaret Left(int32_t I) {
    return TCaret::Create(I, false);
}
TCaret Right(int32_t I) {
    return TCaret::Create(I, true);
}

TCaret MoveLeft(const TNuo4SimpleBuffer& B, TCaret C) {
    const int32_t I = C.BasicIndex;
    if (I == 0) return Left(0);
    const TrecNuo4LineInfoItem* L = LineOf(B, I);
    if (L && I == L->BasicIndexRange.StartIndex) {
        if (C.bRight) return Left(I);
        if (B.Basic_IsReturn(I - 1)) {
            const TrecNuo4LineInfoItem* Before = LineOf(B, I - 1);
            if (Before && Before->IsEmpty()) return Left(I - 1);
            return Right(I - 2);
        }
    }
    return Right(I - 1);
}

TCaret MoveRight(const TNuo4SimpleBuffer& B, TCaret C) {
    const int32_t I = C.BasicIndex, Last = B.Basic_GetLast();
    if (I >= Last) return B.Basic_IsReturn(Last) ? C : Right(Last);
    const TrecNuo4LineInfoItem* L = LineOf(B, I);
    if (L && I == L->BasicIndexRange.EndIndex()) {
        if (B.Basic_IsReturn(I) || C.bRight) return Left(I + 1);
        return Right(I);
    }
    if (!C.bRight) return Right(I);
    if (!B.Basic_IsReturn(I + 1)) return Right(I + 1);
    if (I + 1 != Last) return Left(I + 2);
    return Right(I);
}

// The last symbol of a line that a caret may stand right of: the closing return excluded.
int32_t LastNonReturn(const TrecNuo4LineInfoItem& L) {
    return L.GetBasicIndexRangeExcludeReturn().EndIndex();
}

bool MoveVert(const TNuo4SimpleBuffer& B, TCaret C, bool bUp, double& AColumn, TCaret& ANew) {
    const int32_t Line = GetLineIndexFromBasicIndex(B, C.BasicIndex);
    const int32_t Count = int32_t(B.LineInfoArray.size());
    if (Line < 0 || (bUp && Line == 0) || (!bUp && Line >= Count - 1)) return false;
    const TrecNuo4LineInfoItem& T = B.LineInfoArray[Line + (bUp ? -1 : 1)];
    const int32_t First = T.BasicIndexRange.StartIndex;
    if (T.IsEmpty()) {
        ANew = Left(T.BasicIndexRange.EndIndex());  // its return
        return true;
    }
    if (CaretPos_IsLineStart(B, C)) {
        ANew = Left(First);
        return true;
    }
    if (AColumn < 0) AColumn = SymbolX(B, C.BasicIndex);
    const int32_t End = LastNonReturn(T);
    for (int32_t J = First; J <= End; ++J) {
        if (SymbolX(B, J) > AColumn + 0.01) {
            ANew = (J == First || B.Basic_IsReturn(J)) ? Left(J) : Right(J - 1);
            return true;
        }
    }
    ANew = Right(End);
    return true;
}

}  // namespace

bool CanMoveCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret,
                  TNuo4MoveDirection ADirection, double& ARememberedColumnX,
                  TrecNuo4CaretPos_Index& ANewCaret) {
    ANewCaret = ACaret;
    const int32_t N = B.Basic_GetCount();
    if (N == 0 || ADirection == mdNone) return false;
    const TCaret C = NormalizeCaret(B, ACaret);
    if (ADirection == mdUp || ADirection == mdDown)
        return MoveVert(B, C, ADirection == mdUp, ARememberedColumnX, ANewCaret);
    ARememberedColumnX = -1;
    const int32_t Last = N - 1;
    switch (ADirection) {
        case mdLeft:
            ANewCaret = MoveLeft(B, C);
            return true;
        case mdRight:
            ANewCaret = MoveRight(B, C);
            return true;
        case mdNextMeasure:
        case mdPrevMeasure: {
            const int32_t M = B.GetMeasureIndex_FromBasicIndex(C.BasicIndex);
            if (M < 0) return false;
            const int32_t T = M + (ADirection == mdNextMeasure ? 1 : -1);
            ANewCaret = C;
            if (B.CheckMeasureIndex(T))
                ANewCaret = Right(B.MeasureInfoArray[T].BasicIndexRange.StartIndex);
            return true;
        }
        case mdNextPage:
        case mdPrevPage: {
            const int32_t P = GetPageIndexFromBasicIndex(B, C.BasicIndex);
            if (P < 0) return false;
            const int32_t T = P + (ADirection == mdNextPage ? 1 : -1);
            ANewCaret = C;
            if (T >= 0 && T < int32_t(B.PageInfoArray.size()))
                ANewCaret = Right(B.PageInfoArray[T].BasicIndexRange.StartIndex);
            return true;
        }
        case mdLineStart:
        case mdLineEnd: {
            const TrecNuo4LineInfoItem* L = LineOf(B, C.BasicIndex);
            if (!L) return false;
            if (ADirection == mdLineStart)
                ANewCaret = Left(L->BasicIndexRange.StartIndex);
            else if (!L->bWithReturn)
                ANewCaret = Right(L->BasicIndexRange.EndIndex());
            else if (L->BasicIndexRange.Length == 1)
                ANewCaret = Left(L->BasicIndexRange.StartIndex);
            else
                ANewCaret = Right(L->BasicIndexRange.EndIndex() - 1);
            return true;
        }
        case mdDocStart:
            ANewCaret = Left(0);
            return true;
        case mdDocEnd: {
            if (!B.Basic_IsReturn(Last))
                ANewCaret = Right(Last);
            else if (N == 1 || (!B.LineInfoArray.empty() && B.LineInfoArray.back().IsEmpty()))
                ANewCaret = Left(Last);
            else
                ANewCaret = Right(Last - 1);
            return true;
        }
        default:
            return false;
    }
}

// ---- Rectangles -------------------------------------------------------------------------------

TrecNuo4CaretPos_PtAndSize ConvertCaretInfo_IndexToPosAndSize(const TNuo4SimpleBuffer& B,
                                                              TrecNuo4CaretPos_Index ACaret) {
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    TrecNuo4CaretPos_PtAndSize R;
    TNuo4Symbol* S = nullptr;
    const TCaret C = NormalizeCaret(B, ACaret);
    if (B.Basic_GetCount() > 0) S = B.Basic_GetSymbol(C.BasicIndex);
    const double Dh = S ? S->DigitSize().height() : O.GetNormalStyleDigitSize().Height;
    R.Height = (O.BarlineHeightCoef_Top + O.BarlineHeightCoef_Bottom) * Dh;
    if (!S) {
        R.PtLT = TGPPointF(O.Param_Paper.MarginLeft, B.FirstLineTop_Min);
        R.PageIndex = 0;
        return R;
    }
    const TGPRectF Box = S->BoundsWithPos();
    R.PtLT = TGPPointF(C.bRight ? Box.right() + 0.5 : Box.left(),
                       S->Pos().y() - O.BarlineHeightCoef_Top * Dh);
    R.PageIndex = std::max(0, GetPageIndexFromBasicIndex(B, C.BasicIndex));
    return R;
}

std::vector<TrecNuo4SelectionRect> GetSelectionRectArray(const TNuo4SimpleBuffer& B,
                                                         const TrecNuo4Selection& ASelection) {
    std::vector<TrecNuo4SelectionRect> R;
    if (ASelection.IsEmpty()) return R;
    TKoRange Range = ASelection.GetBasicRange();
    const int32_t N = B.Basic_GetCount();
    const int32_t First = std::max(0, Range.StartIndex);
    const int32_t Last = std::min(N - 1, Range.EndIndex());
    if (First > Last) return R;
    for (int32_t L = GetLineIndexFromBasicIndex(B, First);
         L >= 0 && L < int32_t(B.LineInfoArray.size()); ++L) {
        const TKoRange LR = B.LineInfoArray[L].BasicIndexRange;
        if (LR.StartIndex > Last) break;
        const int32_t A = std::max(First, LR.StartIndex), E = std::min(Last, LR.EndIndex());
        const auto P0 = ConvertCaretInfo_IndexToPosAndSize(B, Left(A));
        const auto P1 = ConvertCaretInfo_IndexToPosAndSize(B, Right(E));
        TrecNuo4SelectionRect Item;
        Item.Rect = TGPRectF(P0.PtLT.x(), P0.PtLT.y(), P1.PtLT.x() - P0.PtLT.x(), P0.Height);
        Item.PageIndex = GetPageIndexFromLineIndex(B, L);
        Item.LineIndex = L;
        R.push_back(Item);
    }
    return R;
}

}  // namespace nuo4
