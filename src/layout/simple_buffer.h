#pragma once
// The document buffer: one scanned score text turned, by the constructor, into symbols laid out
// in millimetres on pages. Layout is a pure function of the text: the buffer is rebuilt for
// every text change and never changes afterwards, except for its carried-over status.
//
// The interface is large, so its definitions are split by concern, one pass per file:
//   simple_buffer.cpp          construction, the three symbol buffers, ProcessABCBuffer order
//   buffer_sections.cpp        fonts, options, title, lyrics, attachments and page stages
//                              (their symbols come from the builders of layout_hooks.h),
//                              horizontal locations
//   buffer_voice.cpp           basic symbols from the voice records, articulations,
//                              accompaniment passages, Attach_AddItem, hidden symbols
//   buffer_arcs.cpp            arc ranges, depths, ABC info, ties, arc pass sets
//   buffer_durations.cpp       durations with tuplets, measures and full beats
//   buffer_midi.cpp            MIDI notes with key changes and remembered accidentals
//   buffer_spacing.cpp         advance widths, lyric spacing, run widths, justification
//   buffer_locate.cpp          LocateAllSymbols in its order
//   buffer_doc_info.cpp        GetDocInfo and the title-section getters
//   layout_rules.h/.cpp        the rules above as functions of plain records
// Lines, paragraphs, pages, system lines, rules checks, placement and drawing live in their
// own files next to these.

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "format/abc_buffer.h"
#include "format/attach_branch.h"
#include "format/ko_range.h"
#include "layout/doc_info.h"
#include "layout/layout_info.h"
#include "layout/layout_rules.h"
#include "render/symbol.h"

namespace nuo4 {

class TNuo4SymbolNote;
class TKoScorePanel;
struct TrecNuo4SymbolAccompMarker;
struct TrecNuo4ArcBasicInfo;    // layout/arc_placement.h
struct TNuo4ArcPlacementState;  // layout/arc_placement.h

using TNuo4SymbolPtr = std::unique_ptr<TNuo4Symbol>;
using TNuo4SymbolBuffer = std::vector<TNuo4SymbolPtr>;

// An attach symbol to add: its owner (SourceIndex), a second basic symbol for spanning
// symbols (else the owner) and its offset from the owner's reference point.
struct TrecNuo4AttachBufferItem {
    TNuo4SymbolPtr Symbol;
    int32_t SourceIndex = -1;
    int32_t SourceIndex2 = -1;
    TGPPointF AttachOffset;
    // For attachments-section symbols: the sides on which the symbol takes room from its
    // owner (bits of TNuo4AttachmentsOcupyType).
    TNuo4AttachmentsOcupyTypes Ocupy = 0;
};

// The occupancy written in an attachments item, by its kind.
TNuo4AttachmentsOcupyTypes Nuo4AttachmentsItemOcupy(const TrecNuo4SectionItem_Attachments& AItem);
// The layout box grown to ABox on every occupied side.
void Nuo4GrowByOcupy(TGPRectF& ALayout, const TGPRectF& ABox, TNuo4AttachmentsOcupyTypes AOcupy);

// One line to justify, with the indent of the paragraph that asks for it.
struct TrecNuo4JustifyLineCall {
    int32_t LineIndex = -1;
    double Indent = 0;
};

// What a temporary voice's own buffer takes from its record besides the texts.
struct TrecNuo4AttachBranchSettings {
    bool bAutoAlign = false;
    TrecNuo4AttachBranchAutoAlignInfo AutoAlignInfo;
    bool bForceUseSubStyle = false;
    TNuo4NoteSubStyle SubStyleToForceUse = nssNormal;
    TrecNuo4Meter InitMeter;
    int32_t InitBeatPos_8thCount = 0;  // eighths
};

class TNuo4SimpleBuffer {
  public:
    using TNotifyEvent = std::function<void(TNuo4SimpleBuffer* ASender)>;

    // Builds everything from the scanned text (ProcessABCBuffer). The text buffer is not
    // owned; the build writes the lyrics section's calculated information into it.
    explicit TNuo4SimpleBuffer(TNuo4ABCBuffer* AABCBuffer,
                               TNotifyEvent ARequestHMIDocOptions = nullptr);
    // The buffer of a temporary voice: the voice and lyrics sections of AABCBuffer laid out on
    // one line in the voice's own coordinates (ProcessAttachBranch); the document options in
    // force are read, never set.
    TNuo4SimpleBuffer(TNuo4ABCBuffer* AABCBuffer, const TrecNuo4AttachBranchSettings& ABranch);
    ~TNuo4SimpleBuffer();
    // Whether this is the buffer of a temporary voice; its settings (null otherwise).
    bool IsAttachBranch() const { return FBranch != nullptr; }
    const TrecNuo4AttachBranchSettings* GetAttachBranchSettings() const { return FBranch.get(); }
    TNuo4SimpleBuffer(const TNuo4SimpleBuffer&) = delete;
    TNuo4SimpleBuffer& operator=(const TNuo4SimpleBuffer&) = delete;

    TNuo4ABCBuffer* GetABCBuffer() const { return FABCBuffer; }

    // ---- Basic buffer ------------------------------------------------------------------------
    int32_t Basic_AddItem(TNuo4SymbolPtr ASymbol);
    int32_t Basic_GetCount() const { return int32_t(BasicBuffer.size()); }
    int32_t Basic_GetLast() const { return Basic_GetCount() - 1; }
    bool Basic_CheckIndex(int32_t AIndex) const;
    bool Basic_CheckIndex(TKoRange ARange) const;  // a non-empty range inside the buffer
    TNuo4Symbol* Basic_GetSymbol(int32_t AIndex) const;
    TNuo4SymbolNote* Basic_GetSymbolNote(int32_t AIndex) const;  // null unless a note
    TNuo4SymbolType Basic_GetSymbolType(int32_t AIndex) const;   // sbstNone outside
    // The kind of every basic symbol, by index.
    const std::vector<TNuo4SymbolType>& Basic_GetTypes() const { return FBasicTypes; }
    bool Basic_IsNote(int32_t AIndex) const { return Basic_GetSymbolType(AIndex) == sbstNote; }
    bool Basic_IsBarline(int32_t AIndex) const {
        return Basic_GetSymbolType(AIndex) == sbstBarline;
    }
    bool Basic_IsReturn(int32_t AIndex) const { return Basic_GetSymbolType(AIndex) == sbstReturn; }
    bool Basic_IsMeter(int32_t AIndex) const { return Basic_GetSymbolType(AIndex) == sbstMeter; }
    bool Basic_IsText(int32_t AIndex) const { return Basic_GetSymbolType(AIndex) == sbstText; }
    bool Basic_IsAccompMarker(int32_t AIndex) const {
        return Basic_GetSymbolType(AIndex) == sbstAccompMarker;
    }
    bool Basic_IsAccompMarker_Start(int32_t AIndex) const;
    bool Basic_IsAccompMarker_End(int32_t AIndex) const;
    // Called by a pass over the basic symbols at every index, in order: asks memory early for
    // the symbols and groups it reaches next (layout/symbol_prefetch.h).
    void Basic_PrefetchAhead(int32_t AIndex) const;
    void Basic_Clear() {
        BasicBuffer.clear();
        FBasicTypes.clear();
    }
    // Moves symbols (and, through their positions, nothing else: attach symbols follow in
    // UpdateAllAttachSymbolsPos).
    void Basic_OffsetSymbols(TKoRange ARange, TGPPointF AOffset);
    void Basic_OffsetYSymbols(int32_t ALineIndex, double ADy);

    // ---- Attach buffer -----------------------------------------------------------------------
    // Refused (-1) without symbol or when the source is not a basic index.
    int32_t Attach_AddItem(TrecNuo4AttachBufferItem AItem);
    // A newly made symbol placed at AOffset from its owner: coloured and updated, then added;
    // AOther is the symbol at its far end (the owner itself when there is none).
    int32_t Attach_AddPlacedSymbol(std::unique_ptr<TNuo4Symbol> ASymbol, int32_t AOwner,
                                   int32_t AOther, TGPPointF AOffset);
    int32_t Attach_GetCount() const { return int32_t(AttachBuffer.size()); }
    int32_t Attach_GetLast() const { return Attach_GetCount() - 1; }
    bool Attach_CheckIndex(int32_t AIndex) const;
    bool Attach_CheckIndex(TKoRange ARange) const;
    TNuo4Symbol* Attach_GetSymbol(int32_t AIndex) const;
    TNuo4SymbolType Attach_GetSymbolType(int32_t AIndex) const;
    bool Attach_IsArc(int32_t I) const { return Attach_GetSymbolType(I) == sbstArc; }
    bool Attach_IsLyric(int32_t I) const { return Attach_GetSymbolType(I) == sbstLyric; }
    bool Attach_IsArticulation(int32_t I) const {
        return Attach_GetSymbolType(I) == sbstArticulation;
    }
    bool Attach_IsFangZi(int32_t I) const { return Attach_GetSymbolType(I) == sbstFangZi; }
    bool Attach_IsAttachText(int32_t I) const { return Attach_GetSymbolType(I) == sbstAttachText; }
    bool Attach_IsAttachFangZi(int32_t I) const {
        return Attach_GetSymbolType(I) == sbstAttachFangZi;
    }
    bool Attach_IsAttachArc(int32_t I) const { return Attach_GetSymbolType(I) == sbstAttachArc; }
    bool Attach_IsAttachDynamic(int32_t I) const {
        return Attach_GetSymbolType(I) == sbstAttachDynamic;
    }
    bool Attach_IsAttachOften(int32_t I) const {
        return Attach_GetSymbolType(I) == sbstAttachOften;
    }
    bool Attach_IsAttachExtend(int32_t I) const {
        return Attach_GetSymbolType(I) == sbstAttachExtend;
    }
    bool Attach_IsAttachBranch(int32_t I) const {
        return Attach_GetSymbolType(I) == sbstAttachBranch;
    }
    bool Attach_IsAttachBrace(int32_t I) const {
        return Attach_GetSymbolType(I) == sbstAttachBrace;
    }
    bool Attach_IsAttachments(int32_t I) const { return IsAttachments(Attach_GetSymbolType(I)); }
    int32_t Attach_GetBasicIndex(int32_t AIndex) const;  // the owner; -1 outside
    // Called by a pass over the attach symbols at every index, in order: asks memory early for
    // the symbols and their owners it reaches next.
    void Attach_PrefetchAhead(int32_t AIndex) const;
    TGPPointF Attach_GetPagePos(int32_t AIndex) const;
    int32_t Attach_GetPageIndex(int32_t AIndex) const;  // page of the owner; -1 when none
    // The attach indexes whose owner lies in the basic range, in attach-buffer order. Read through
    // the lines the range covers, so that drawing a line never reaches other lines' symbols.
    std::vector<int32_t> Attach_GetIndexesOfBasicRange(TKoRange ARange) const;
    // Groups the attach indexes by the line of their owner (after lines are known).
    void GetAttachIndexArray_ByLine();
    // Test hook: marks every attach index read through Attach_GetSymbol (null: off).
    void SetAttachAccessLog(std::vector<uint8_t>* ALog) const { FAttachAccessLog = ALog; }
    void Attach_Clear() {
        AttachBuffer.clear();
        FAttachOcupy.clear();
        FAttachTypes.clear();
        FAttachOwners.clear();
    }

    // ---- Page buffer -------------------------------------------------------------------------
    int32_t PageBuffer_AddItem(TNuo4SymbolPtr ASymbol);
    int32_t PageBuffer_GetCount() const { return int32_t(PageBuffer.size()); }
    int32_t PageBuffer_GetLast() const { return PageBuffer_GetCount() - 1; }
    bool PageBuffer_CheckIndex(int32_t AIndex) const;
    TNuo4Symbol* PageBuffer_GetSymbol(int32_t AIndex) const;
    TNuo4SymbolType PageBuffer_GetSymbolType(int32_t AIndex) const;
    // The page a page symbol lies on, from the page-section item it was made from; -1 when
    // none.
    int32_t PageBuffer_GetPageIndex(int32_t AIndex) const;
    bool PageBuffer_IsMemo(int32_t I) const { return PageBuffer_GetSymbolType(I) == sbstMemo; }
    bool PageBuffer_IsTitleBlock(int32_t I) const {
        return PageBuffer_GetSymbolType(I) == sbstTitleBlock;
    }
    void PageBuffer_Clear() { PageBuffer.clear(); }

    // ---- Any buffer --------------------------------------------------------------------------
    TNuo4Symbol* GetSymbol(const TrecNuo4SymbolBufferIndex& AIndex) const;

    // ---- Measures ----------------------------------------------------------------------------
    int32_t GetMeasureCount() const { return int32_t(MeasureInfoArray.size()); }
    bool CheckMeasureIndex(int32_t AIndex) const;
    // The measure whose range holds the basic index; -1 for a return or outside.
    int32_t GetMeasureIndex_FromBasicIndex(int32_t ABasicIndex) const;

    // ---- Keys -------------------------------------------------------------------------------
    // The initial key from index 0, then every key change written as a special text whose
    // owner lies in a single-part system line, from its owner, in attach order.
    std::vector<TrecNuo4KeyChange> GetKeyChangeArray() const;
    bool Basic_InSinglePartSystemLine(int32_t ABasicIndex) const;

    // ---- Horizontal locations (buffer_sections.cpp) ------------------------------------------
    // The basic symbol a location names; ARefIndex anchors relative forms. -1 when none.
    int32_t GetBasicIndexFromHorzLocation(const TrecNuo4HorzLocation& ALocation,
                                          int32_t ARefIndex) const;
    // The ANth note (rests included) from AFrom on; -1 when there are fewer.
    int32_t Basic_FindNote(int32_t AFrom, int32_t ANth) const;

    // ---- Placement in one row ----------------------------------------------------------------
    // The first symbol at APoint, each next one the previous AW further right.
    void UpdateAllBasicSymbolsHorzPosFromAW(TGPPointF AFirstPoint);
    // Every attach symbol at its owner's position plus its AttachPos.
    void UpdateAllAttachSymbolsPos();
    // Rebuilds the symbols whose shape follows their advance width (a note's dashes and
    // dots) and takes their new boxes into Bounds_Self.
    void UpdateAllBasicSymbols();
    // Justification, UpdateAllBasicSymbols and UpdateAllBasicSymbolsHorzPosFromAW with the
    // same result, done line by line in one walk.
    void JustifyUpdateAndPlaceByLine(TGPPointF AFirstPoint);
    // Bounds_Self from the symbol's own boxes, grown on the occupied sides of its attachments.
    void Basic_UpdateBoundsSelf(int32_t AIndex);
    // Bounds_Total of every basic symbol from its own box and its attach groups.
    void UpdateAllBasicSymbolsBoundsTotal();

    // ---- Horizontal spacing (buffer_spacing.cpp) ---------------------------------------------
    TrecNuo4HorzSpacingInfoForGetAW GetHorzSpacingInfoForGetAW(int32_t AIndex) const;
    float _AutoGetAWCoef(int32_t AIndex) const;
    void AutoSetAWCoef();
    // UpdateAllBasicSymbolsBoundsTotal, AutoSetAWCoef and Lyric_CheckAllOcupy in one walk.
    void UpdateBoundsTotal_AutoSetAWCoef_LyricOcupy();
    // Whether a lyric the symbol carries is an English lyric.
    bool Basic_WithEnglishLyric(int32_t ABasicIndex) const;
    void Lyric_CheckAllOcupy();
    // Left part of a run (indent or first left width, widened for lyrics) plus the right
    // width of its last symbol; writes ExtraBoundsForLyric_Left of the first symbol.
    double _GetLeftWidthPlusRightWidth_Range(TKoRange ARange, double AIndent);
    double _GetTotalWidth_Range(TKoRange ARange, double AIndent);
    double _GetTotalFixedWidth_Range(TKoRange ARange, double AIndent);
    // Stretches the lines of justified paragraphs (uses LineInfoArray and ParagraphInfoArray).
    void AdjustAWCoefToFitLayoutWidth();
    // The lines it stretches, in its order (a line of several justified paragraphs comes once
    // for each), and the stretch of one of them.
    std::vector<TrecNuo4JustifyLineCall> GetJustifyLineCalls() const;
    int32_t GetLastNonEmptyLine() const;  // -1 when every line is empty
    void JustifyLine(const TrecNuo4JustifyLineCall& ACall, int32_t ALastNonEmpty);
    // The paragraph whose basic range holds the index; -1 when none.
    int32_t GetParagraphIndex_FromBasicIndex(int32_t ABasicIndex) const;
    double GetParagraphIndent(int32_t AParagraphIndex) const;

    // ---- Document information (buffer_doc_info.cpp) ------------------------------------------
    TNuo4DocInfo GetDocInfo() const;
    TrecNuo4Meter GetInitMeter() const;
    int32_t GetInitKey() const;
    double GetInitTempo() const;
    TrecNuo4Meter GetFirstMeterFromTitleBlock() const { return GetInitMeter(); }
    void GetMelodyInfo_FromTitleBlock(TrecNuo4Meter& AInitMeter, int32_t& AInitKey,
                                      double& AInitTempo) const;

    // ---- Fields ------------------------------------------------------------------------------
    TNuo4SymbolBuffer BasicBuffer;
    TNuo4SymbolBuffer AttachBuffer;
    TNuo4SymbolBuffer PageBuffer;
    // Line L's attach indexes, attach-buffer order: AttachIndexArray_ByLine[AttachLineStartArray[L]
    // ... AttachLineStartArray[L + 1] - 1].
    std::vector<int32_t> AttachIndexArray_ByLine;
    std::vector<int32_t> AttachLineStartArray;
    std::vector<TGPRectF> PageRectArray_View;
    TGPRectF ViewPortArea;
    TGPRectF ScoreArea;
    QImage* MemoryCanvas = nullptr;  // not owned; set while drawing to the display
    QPainter* MemoryGraphics = nullptr;
    QPainter* PaintBoxCanvas = nullptr;
    TKoScorePanel* ScorePanel = nullptr;
    TKoRangeArray ParagraphRangeArray;
    std::vector<TrecNuo4ParagraphInfoItem> ParagraphInfoArray;
    TNuo4MeasureInfoArray MeasureInfoArray;
    TKoRangeArray LineRangeArray;
    std::vector<TrecNuo4LineInfoItem> LineInfoArray;
    TKoRangeArray PageRangeArray;
    std::vector<TrecNuo4PageInfoItem> PageInfoArray;
    TKoRangeArray ArcRangeArray;
    TNuo4ArcInfoArray ArcInfoArray;
    // Per basic index: the farthest end of the slurs (tuplet arcs aside) starting there, or -1.
    std::vector<int32_t> SlurFarEndArray;
    std::vector<TrecNuo4FangZiInfoItem> FangZiInfoArray;
    TKoRangeArray AccompMarkerRangeArray;
    TKoRangeArray SystemLineRangeArray;
    std::vector<TrecNuo4SystemLineInfoItem> SystemLineInfoArray;
    float FirstLineTop_Min = 0;
    std::vector<std::vector<QPainterPath>> TitleBlockPathes;
    TGPRectF TitleBlockBounds;
    std::vector<TGPRectF> TitleItemsBoundsArray;
    bool bWithTitleBlock = false;
    TrecNuo4SimpleBufferInternalStatus InternalStatus;
    std::vector<int32_t> RulesCheckResult_ErrorArray_Lyric;
    bool RulesCheckResult_Error_TitleBlock_KeyAndMeters = false;
    std::vector<int32_t> RulesCheckResult_ErrorArray_AttachBrace;
    std::vector<int32_t> RulesCheckResult_ErrorArray_Barline;
    std::vector<int32_t> RulesCheckResult_ErrorArray_OutOfPage;
    std::vector<int32_t> RulesCheckResult_ErrorArray_Arc;
    int32_t BasicBufferIndexOfPlayingNote = -1;

    // ---- The build, in the order ProcessABCBuffer runs it -------------------------------------
    void ProcessABCBuffer();
    void ProcessSection_Fonts();        // 1
    void ProcessSection_Options();      // 2
    void ProcessSection_Title();        // 3: title block, FirstLineTop_Min
    void ProcesSectionVoice();          // 4
    void CreateAndAddBasicSymbols();    // 4.1
    void GetArcInfoArray();             // 4.3
    void GetCalcInfo_Arc();             //
    void Basic_GetDV();                 // 4.4
    void GetMeasureInfoArray();         //
    void CreateArticulations();         // 4.5
    void GetAccompMarkerRangeArray();   // 4.6
    void ProcessSection_Lyrics();       // 5
    void ProcessSection_Attachments();  // 6
    void ProcessSection_Page();         // 7
    void LocateAllSymbols();            // 8
    void Process_HiddenSymbols();       // 9
    void Process_System();              // 10 (with lines and pages)
    void UpdateMidiNotes();             // 11
    void RulesCheck_All();              // 12 (with lines and pages)
    // A temporary voice: the voice steps, lyrics, hidden symbols and the one-line layout.
    void ProcessAttachBranch();
    void LocateAllSymbols_AttachBranch();
    // Spacing from the alignment information: entry i gives basic symbol i its coefficient
    // (and a note its dash spacings).
    void AutoSetAWCoefFromAutoAlignInfo();

    // Steps of LocateAllSymbols that belong to lines, paragraphs, pages and placement; they
    // are defined next to those passes.
    void GetParagraphRangeArray();
    void GetParagraphInfoArray();
    void GetLineRangeArray();
    void CreateArcs();
    // Lines, offsets, shape and end heights of arc AArcIndex; the arcs before it in
    // ArcInfoArray that have symbols (recorded in AState) are cleared
    // (buffer_arc_placement.cpp).
    void _CalcArcBasicInfo(int32_t AArcIndex, const TNuo4ArcPlacementState& AState,
                           TrecNuo4ArcBasicInfo& AInfo) const;
    void GetFangZiInfoArray();
    void CreateFangZis();
    void LineInfoArray_GetVertOffsets();
    void AdjustLyricsVertPos();
    void LineInfoArray_GetBounds();
    void LineInfoArray_GetBaselineY();
    void SingleLineToSinglePage();
    void GetPageRangeArray();
    void GetPageInfoArray();
    void SinglePageToMultiPage();
    // The two moves above without moving the symbols: the lines' offsets onto the endless page
    // and their vertical moves onto their pages (the line and page information is updated);
    // MoveLinesOntoPages then moves the symbols by both.
    std::vector<TGPPointF> SingleLineToSinglePage_Offsets();
    std::vector<double> SinglePageToMultiPage_Moves();
    void MoveLinesOntoPages(const std::vector<TGPPointF>& ALineOffsets,
                            const std::vector<double>& APageMoves);
    // UpdateAllBasicSymbolsBoundsTotal and LineInfoArray_GetBounds in one walk.
    void UpdateAllBasicSymbolsBoundsTotal_LineBounds();
    void AttachBranch_AutoAlign();
    void AutoAlign_WrappedSpecialArcsAndFangZis();
    // Wrapped special arcs and voltas with automatic alignment reach the edge of their line.
    void AutoAlign_WrappedSpecialArcs();
    void AutoAlign_WrappedSpecialFangZis();
    double WrappedPieceLengthToLineEdge(int32_t AAttachIndex, bool bLeftPiece, double AX) const;

  private:
    // AutoSetAWCoef, with each symbol's total bounds updated just before it is first read, and
    // with the lyric spacing of each pair as soon as its widths are set.
    void AutoSetAWCoef_Walk(bool bBoundsTotalAhead, bool bLyricOcupy);
    // Per index, beside the symbols, what searches ask most: the kind of every basic and attach
    // symbol and the owner of every attach symbol. A long score's symbols lie scattered far
    // beyond the caches; a search through these arrays never reaches them. Written only where
    // a symbol is added, so they always agree with the buffers.
    std::vector<TNuo4SymbolType> FBasicTypes;
    std::vector<TNuo4SymbolType> FAttachTypes;
    std::vector<int32_t> FAttachOwners;
    std::vector<TNuo4AttachmentsOcupyTypes> FAttachOcupy;  // per attach index
    // The record of the accompaniment marker at a basic index; null for any other symbol.
    const TrecNuo4SymbolAccompMarker* AccompMarkerRec(int32_t AIndex) const;
    mutable std::vector<uint8_t>* FAttachAccessLog = nullptr;
    TNotifyEvent FEventHandler_RequestHMIDocOptions;
    TNuo4ABCBuffer* FABCBuffer = nullptr;
    std::unique_ptr<TrecNuo4AttachBranchSettings> FBranch;
};

// The key of a special text that writes a key change ("转" followed by a "{1=...}" group).
bool Nuo4AttachTextKeyChange(TText AText_ABC, int32_t& AKey);

// Timing hints of the build, in the order they are recorded on timer 0.
extern const char* const Nuo4SimBufProcessMarks[11];

}  // namespace nuo4
