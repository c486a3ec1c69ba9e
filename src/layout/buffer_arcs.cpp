// Arc information from the arc marks written on notes: ranges, depths, ABC info and ties.

#include <algorithm>

#include "layout/layout_rules.h"
#include "layout/simple_buffer.h"
#include "render/note_symbol.h"

namespace nuo4 {

TKoRangeArray Nuo4MatchArcMarks(const std::vector<TrecNuo4ArcMarkCount>& AMarks) {
    struct TOpen {
        int32_t Index;
        int32_t Count;
    };
    std::vector<TOpen> Stack;
    TKoRangeArray R;
    // Walking in text order, the nearest earlier unmatched start is the top of the stack; an
    // end finds no start only when the stack is empty and is dropped. Starts left on the
    // stack have no later end and are dropped as well.
    for (const TrecNuo4ArcMarkCount& M : AMarks) {
        for (int32_t E = 0; E < M.EndCount && !Stack.empty(); ++E) {
            TOpen& Top = Stack.back();
            R.push_back(TKoRange::FromStartEnd(Top.Index, M.Index));
            if (--Top.Count == 0) Stack.pop_back();
        }
        if (M.StartCount > 0) Stack.push_back({M.Index, M.StartCount});
    }
    return R;
}

void Nuo4ArcInfoArray_GetArcDepth(TNuo4ArcInfoArray& AArcs) {
    auto Start = [](const TrecNuo4ArcInfoItem& A) { return A.BasicIndexRange.StartIndex; };
    auto End = [](const TrecNuo4ArcInfoItem& A) { return A.BasicIndexRange.EndIndex(); };
    std::stable_sort(AArcs.begin(), AArcs.end(), [&](const auto& A, const auto& B) {
        return Start(A) != Start(B) ? Start(A) < Start(B) : End(A) < End(B);
    });
    for (size_t I = 0; I < AArcs.size(); ++I)
        AArcs[I].Depth_Start =
            I > 0 && Start(AArcs[I]) == Start(AArcs[I - 1]) ? AArcs[I - 1].Depth_Start + 1 : 0;
    std::stable_sort(AArcs.begin(), AArcs.end(), [&](const auto& A, const auto& B) {
        return End(A) != End(B) ? End(A) < End(B) : Start(A) > Start(B);
    });
    for (size_t I = 0; I < AArcs.size(); ++I)
        AArcs[I].Depth_End =
            I > 0 && End(AArcs[I]) == End(AArcs[I - 1]) ? AArcs[I - 1].Depth_End + 1 : 0;
}

void TNuo4SimpleBuffer::GetArcInfoArray() {
    std::vector<TrecNuo4ArcMarkCount> Marks;
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        const auto& A = Basic_GetSymbol(I)->ABCAttachmentsInfo.Get().ArcInfo;
        const int32_t S = int32_t(A.ArcStartings.size());
        const int32_t E = A.ArcEndings.Value;
        if (S > 0 || E > 0) Marks.push_back({I, S, E});
    }
    ArcRangeArray = Nuo4MatchArcMarks(Marks);
    ArcInfoArray.clear();
    for (const TKoRange& R : ArcRangeArray) {
        TrecNuo4ArcInfoItem Item;
        Item.BasicIndexRange = R;
        ArcInfoArray.push_back(Item);
    }
    Nuo4ArcInfoArray_GetArcDepth(ArcInfoArray);

    // Notes before each index, so that a tie's "no note between" is one subtraction.
    std::vector<int32_t> NotesBefore(size_t(std::max(Basic_GetCount(), 0)) + 1, 0);
    for (int32_t I = 0; I < Basic_GetCount(); ++I)
        NotesBefore[size_t(I) + 1] = NotesBefore[size_t(I)] + (Basic_IsNote(I) ? 1 : 0);
    for (TrecNuo4ArcInfoItem& Arc : ArcInfoArray) {
        const int32_t S = Arc.BasicIndexRange.StartIndex, E = Arc.BasicIndexRange.EndIndex();
        // A note's marks carry their depth counted from the innermost (the last written), so
        // the mark of depth d is normally the d-th from the end.
        const auto& Marks = Basic_GetSymbol(S)->ABCAttachmentsInfo.Get().ArcInfo.ArcStartings;
        const int32_t Guess = int32_t(Marks.size()) - 1 - Arc.Depth_Start;
        if (Guess >= 0 && Guess < int32_t(Marks.size()) &&
            Marks[size_t(Guess)].Depth == Arc.Depth_Start) {
            Arc.ABCInfo = Marks[size_t(Guess)].ABCInfo;
        } else {
            for (const auto& M : Marks)
                if (M.Depth == Arc.Depth_Start) {
                    Arc.ABCInfo = M.ABCInfo;
                    break;
                }
        }
        const TNuo4SymbolNote* NS = Basic_GetSymbolNote(S);
        const TNuo4SymbolNote* NE = Basic_GetSymbolNote(E);
        bool bTie = NS && NE && S < E && NotesBefore[size_t(E)] == NotesBefore[size_t(S) + 1];
        if (bTie) {
            const TNuo4Pitches PS = NS->GetPitches(), PE = NE->GetPitches();
            bTie = PS.size() == PE.size() && std::equal(PS.begin(), PS.end(), PE.begin());
        }
        Arc.bTie = bTie;
    }
    SlurFarEndArray.assign(size_t(std::max(Basic_GetCount(), 0)), -1);
    for (const TrecNuo4ArcInfoItem& Arc : ArcInfoArray) {
        const int32_t S = Arc.BasicIndexRange.StartIndex;
        if (Arc.WithTuplet() || S < 0 || S >= int32_t(SlurFarEndArray.size())) continue;
        SlurFarEndArray[S] = std::max(SlurFarEndArray[S], Arc.BasicIndexRange.EndIndex());
    }
}

void TNuo4SimpleBuffer::GetCalcInfo_Arc() {
    for (const TNuo4SymbolPtr& S : BasicBuffer) S->MutBasicInfo().Arc.Clear();
    // Arcs passing over each index, counted by differences: nested arcs would otherwise mark
    // their insides once per arc.
    std::vector<int32_t> Passing(size_t(std::max(Basic_GetCount(), 0)) + 1, 0);
    for (const TrecNuo4ArcInfoItem& Arc : ArcInfoArray) {
        const int32_t S = Arc.BasicIndexRange.StartIndex, E = Arc.BasicIndexRange.EndIndex();
        Basic_GetSymbol(S)->MutBasicInfo().Arc.Include(aptStart);
        Basic_GetSymbol(E)->MutBasicInfo().Arc.Include(aptEnd);
        if (S + 1 < E) {
            ++Passing[size_t(S) + 1];
            --Passing[size_t(E)];
        }
    }
    int32_t Open = 0;
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Open += Passing[size_t(I)];
        if (Open > 0) Basic_GetSymbol(I)->MutBasicInfo().Arc.Include(aptPass);
    }
}

}  // namespace nuo4
