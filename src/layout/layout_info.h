#pragma once
// The per-measure, per-line, per-paragraph, per-page, per-arc, per-volta and per-system-line
// records the document buffer derives from the text, and the buffer's carried-over status.
// Ranges are basic, measure, line or attach indexes as each field says.

#include <cstdint>
#include <string>
#include <vector>

#include "format/ko_range.h"
#include "format/music_common.h"
#include "format/symbol_note.h"
#include "format/symbol_return.h"
#include "render/symbol_calc_info.h"

namespace nuo4 {

struct TrecNuo4MeasureInfoItem {
    TKoRange BasicIndexRange = TKoRange::Invalid();
    TrecNuo4Meter Meter;         // in force in the measure
    TrecNuo4Meter Meter_System;  // of the same measure of the first part of its system line
    float DVSum = 0;             // beats of the measure's symbols
};
using TNuo4MeasureInfoArray = std::vector<TrecNuo4MeasureInfoItem>;

struct TrecNuo4ParagraphInfoItem {
    TKoRange BasicIndexRange = TKoRange::Invalid();
    TKoRange MeasureIndexRange = TKoRange::Invalid();  // empty for a lone return
    TKoRange LineIndexRange = TKoRange::Invalid();
    TrecNuo4SymbolReturnPrivateOptions Options;  // of the closing return; defaults without
};

struct TrecNuo4LineInfoItem {
    TKoRange BasicIndexRange = TKoRange::Invalid();    // the closing return included
    TKoRange MeasureIndexRange = TKoRange::Invalid();  // empty for a lone return
    bool bWithReturn = false;
    float BaselineY = 0;
    float VertOffset_BasicSymbol_Top = 0;     // never below 0
    float VertOffset_BasicSymbol_Bottom = 0;  // never above 0
    float VertOffset_FirstLyricLine = 0;
    TrecNuo4CalcInfo_BoundsInfo Bounds;
    std::vector<int32_t> LyricVerseBufferIndex_RelocatedCompoundVerse_CompoundToSplit;
    std::vector<int32_t> LyricVerseBufferIndex_RelocatedCompoundVerse_SplitToCompound;

    bool IsEmpty() const { return !MeasureIndexRange.IsNonEmpty(); }
    TKoRange GetBasicIndexRangeExcludeReturn() const {
        if (bWithReturn && BasicIndexRange.Length > 0)
            return TKoRange(BasicIndexRange.StartIndex, BasicIndexRange.Length - 1);
        return BasicIndexRange;
    }
};

struct TrecNuo4PageInfoItem {
    TKoRange LineIndexRange = TKoRange::Invalid();
    TKoRange MeasureIndexRange = TKoRange::Invalid();
    TKoRange BasicIndexRange = TKoRange::Invalid();
    TrecNuo4CalcInfo_BoundsInfo Bounds;
};

struct TrecNuo4ArcInfoItem {
    TKoRange BasicIndexRange = TKoRange::Invalid();  // start note to end note
    int32_t Depth_Start = 0;                         // 0 = innermost, counting outward
    int32_t Depth_End = 0;
    TrecNuo4ArcABCInfo ABCInfo;
    bool bTie = false;
    bool bWrap = false;
    int32_t LineIndex_Start = -1;
    int32_t LineIndex_End = -1;
    int32_t AttachIndex_Full = -1;
    int32_t AttachIndex_Left = -1;
    int32_t AttachIndex_Right = -1;

    bool WithTuplet() const { return ABCInfo.TupletNumber > 0; }
};
using TNuo4ArcInfoArray = std::vector<TrecNuo4ArcInfoItem>;

struct TrecNuo4FangZiInfoItem {
    TKoRange MeasureIndexRange = TKoRange::Invalid();
    std::u16string Text_ABC;
    bool bWrap = false;
    TKoRange BasicIndexRange_Full = TKoRange::Invalid();
    TKoRange BasicIndexRange_Left = TKoRange::Invalid();
    TKoRange BasicIndexRange_Right = TKoRange::Invalid();
    bool bFangZiStartIsAtLineStart = false;
    bool bFangZiEndIsAtLineEnd = false;
    bool bFangZiStartWithOtherFangZiEndAtThisLine = false;
    bool bFangZiEndWithOtherFangZiStartAtThisLine = false;
    float ArcsTopAtLine_Full = 0;
    float ArcsTopAtLine_Left = 0;
    float ArcsTopAtLine_Right = 0;
    int32_t AttachIndex_Full = -1;
    int32_t AttachIndex_Left = -1;
    int32_t AttachIndex_Right = -1;
};

struct TrecNuo4SystemLineInfoItem {
    int32_t AttachIndex_Brace = -1;  // -1 for a plain line
    TKoRange LineIndexRange = TKoRange::Invalid();
    int32_t MaxMeasureCount_Line = 0;
    int32_t MinMeasureCount_Line = 0;
    TKoRange MeasureIndexRange_Normal = TKoRange::Invalid();
    TKoRange MeasureIndexRange_System = TKoRange::Invalid();
    std::vector<int32_t> NonEmptyLineArray;
    std::vector<TrecNuo4Meter> MeasureMeterArray;
};

// ---- Status carried from one buffer to its successor ------------------------------------------

// A caret between basic symbols: at the left or right side of BasicIndex.
struct TrecNuo4CaretPos_Index {
    int32_t BasicIndex = 0;
    bool bRight = false;  // at the right side of the symbol

    static TrecNuo4CaretPos_Index Create(int32_t AIndex, bool bAtRight) {
        TrecNuo4CaretPos_Index R;
        R.BasicIndex = AIndex;
        R.bRight = bAtRight;
        return R;
    }
    // The symbol the caret stands at.
    int32_t GetEditPos() const { return BasicIndex; }
    // Where an inserted symbol goes.
    int32_t GetRightPos() const { return bRight ? BasicIndex + 1 : BasicIndex; }
    // The symbol just left of the caret (-1 at the document start).
    int32_t GetLeftPos() const { return bRight ? BasicIndex : BasicIndex - 1; }
    bool operator==(const TrecNuo4CaretPos_Index&) const = default;
};

// A run of basic symbols between an anchor and the caret. Its basic range runs between the
// right positions of its two ends, exclusive of the larger.
struct TrecNuo4Selection {
    TrecNuo4CaretPos_Index CaretPos_Start;  // the anchor
    TrecNuo4CaretPos_Index CaretPos_End;    // the moving end, also the caret

    static TrecNuo4Selection CreateEmpty(TrecNuo4CaretPos_Index ACaret) {
        TrecNuo4Selection R;
        R.InitializeToEmpty(ACaret);
        return R;
    }
    static TrecNuo4Selection Create(TrecNuo4CaretPos_Index AStart, TrecNuo4CaretPos_Index AEnd) {
        TrecNuo4Selection R;
        R.CaretPos_Start = AStart;
        R.CaretPos_End = AEnd;
        return R;
    }
    void SetToDefault() { *this = TrecNuo4Selection(); }
    void InitializeToEmpty(TrecNuo4CaretPos_Index ACaret) {
        CaretPos_Start = CaretPos_End = ACaret;
    }
    // Empty at the caret.
    void Clear() { CaretPos_Start = CaretPos_End; }
    // Empty at the end with the smaller (head) or larger (tail) right position.
    void ClearToHead() { InitializeToEmpty(Head()); }
    void ClearToTail() { InitializeToEmpty(Tail()); }
    // Empty at (left position + AOffset, right side); false (and unchanged) when that index is
    // negative.
    bool AdjustCaretPos(int32_t AOffset) {
        const int32_t I = GetCaretLeftPos() + AOffset;
        if (I < 0) return false;
        InitializeToEmpty(TrecNuo4CaretPos_Index::Create(I, true));
        return true;
    }
    int32_t GetCaretEditPos() const { return CaretPos_End.GetEditPos(); }
    int32_t GetCaretRightPos() const { return CaretPos_End.GetRightPos(); }
    int32_t GetCaretLeftPos() const { return CaretPos_End.GetLeftPos(); }
    bool IsEmpty() const { return CaretPos_Start.GetRightPos() == CaretPos_End.GetRightPos(); }
    bool IsInvert() const { return CaretPos_End.GetRightPos() < CaretPos_Start.GetRightPos(); }
    const TrecNuo4CaretPos_Index& Head() const {
        return IsInvert() ? CaretPos_End : CaretPos_Start;
    }
    const TrecNuo4CaretPos_Index& Tail() const {
        return IsInvert() ? CaretPos_Start : CaretPos_End;
    }
    // Empty: (the start caret's BasicIndex, 0); else from the smaller to the larger right
    // position, exclusive of the larger.
    TKoRange GetBasicRange() const {
        if (IsEmpty()) return TKoRange(CaretPos_Start.BasicIndex, 0);
        const int32_t A = CaretPos_Start.GetRightPos(), B = CaretPos_End.GetRightPos();
        return A < B ? TKoRange(A, B - A) : TKoRange(B, A - B);
    }
    bool operator==(const TrecNuo4Selection&) const = default;
};

// The highlighted symbol of one of the three buffers; -1 means none, at most one is set.
struct TrecNuo4Highlight {
    int32_t BasicIndex = -1;
    int32_t AttachIndex = -1;
    int32_t PageSymbolIndex = -1;

    static TrecNuo4Highlight Basic(int32_t I) {
        TrecNuo4Highlight R;
        R.BasicIndex = I;
        return R;
    }
    static TrecNuo4Highlight Attach(int32_t I) {
        TrecNuo4Highlight R;
        R.AttachIndex = I;
        return R;
    }
    static TrecNuo4Highlight Page(int32_t I) {
        TrecNuo4Highlight R;
        R.PageSymbolIndex = I;
        return R;
    }
    void Clear() { BasicIndex = AttachIndex = PageSymbolIndex = -1; }
    bool IsEmpty() const { return BasicIndex < 0 && AttachIndex < 0 && PageSymbolIndex < 0; }
    bool IsBasic() const { return BasicIndex >= 0; }
    bool IsAttach() const { return AttachIndex >= 0; }
    bool IsPage() const { return PageSymbolIndex >= 0; }
    // Shifts whichever index is set.
    void Offset(int32_t AOffset) {
        if (IsBasic())
            BasicIndex += AOffset;
        else if (IsAttach())
            AttachIndex += AOffset;
        else if (IsPage())
            PageSymbolIndex += AOffset;
    }
    bool operator==(const TrecNuo4Highlight&) const = default;
};

struct TrecNuo4WithinSymbolEditStatusInfo {
    bool bEnable = false;
    TrecNuo4SymbolBufferIndex BufferIndex_Branch;
    int32_t WithinSymbolPos_Branch = -1;
    TrecNuo4SymbolBufferIndex BufferIndex_NoteWithRighline;
    int32_t WithinSymbolPos_Note = -1;
    void SetToDefault() { *this = TrecNuo4WithinSymbolEditStatusInfo(); }
};

// Clipboard contents are kept as the score text they hold.
struct TrecNuo4SimpleBufferInternalStatus {
    TrecNuo4Selection Selection;
    TrecNuo4Highlight Highlight;
    int32_t CurrPageIndexForPageMode = 0;
    std::u16string ClipBoardData_StanddardMode;
    std::u16string ClipBoardData_ExtendMode;
    std::u16string ClipBoardData_PageMode;
    std::u16string ClipBoardData_ExtendMode_AttachmentsOfSingleBasicSymbol;
    TrecNuo4WithinSymbolEditStatusInfo WithinSymbolEditStatusInfo;

    void Clear() { *this = TrecNuo4SimpleBufferInternalStatus(); }
    void ClearSelection() { Selection.SetToDefault(); }
    void ClearHighlight() { Highlight.Clear(); }
    bool SelectionIsEmpty() const { return Selection.IsEmpty(); }
    bool HighlightIsEmpty() const { return Highlight.IsEmpty(); }
};

}  // namespace nuo4
