#pragma once
// Edit requests on the voice: each reads a const document buffer (and its stored selection and
// highlight) and either refuses (false, empty answer) or answers the text replacements that
// perform the edit, plus the selection or highlight to install after the rebuild. No request
// changes the buffer. All ranges are UTF-16 positions of the buffer's scanned text.
//
// The definitions are split by request family: edit_text_pos.cpp (where symbols stand in the
// text, answer building), edit_insert.cpp, edit_delete.cpp, edit_attach_follow.cpp,
// edit_note_parts.cpp, edit_chord.cpp, edit_transpose.cpp, edit_underline.cpp, edit_beam.cpp,
// edit_tuplet.cpp, edit_arc.cpp, edit_accomp.cpp, edit_control.cpp, edit_long_rest.cpp.

#include <cstdint>
#include <string>
#include <vector>

#include "edit/edit_result.h"
#include "edit/edit_state.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"
#include "format/music_common.h"
#include "format/symbol_accomp_marker.h"
#include "format/symbol_barline.h"
#include "format/symbol_control_options.h"
#include "format/symbol_meter.h"
#include "format/symbol_note.h"
#include "format/symbol_return.h"
#include "format/symbol_text.h"
#include "layout/buffer_text_pos.h"
#include "layout/layout_info.h"

namespace nuo4 {

class TNuo4SimpleBuffer;
struct TrecNuo4ABCParseInfo_VoiceSymbol;
struct TrecNuo4ABCParseInfo_Note;

enum TNuo4SymbolEditType : uint8_t { setAdd, setChange, setRemove };
const char* EnumName(TNuo4SymbolEditType AValue);

enum TNuo4SymbolElementEditType_Barline : uint8_t {
    seetbBarlineStyle = 1,
    seetbControlOptions = 2,
    seetbFangZi = 4,
};
using TNuo4SymbolElementEditTypes_Barline = uint8_t;  // bits; 0 = take the whole new value

// ---- Answer building ---------------------------------------------------------------------------

// Appends an item to an answer so that the answer holds at most one item per start position:
// an insertion at the start of another item is joined in front of that item's text (and two
// insertions at one position are joined in the order they were added). This keeps the result
// independent of how the applying side orders items of equal start. Invalid items are dropped.
void VoiceEdit_AddItem(TNuo4ABCTextReplaceItems& AItems, const TrecNuo4ABCTextReplaceItem& AItem);
void VoiceEdit_AddItems(TNuo4ABCTextReplaceItems& AItems, const TNuo4ABCTextReplaceItems& AMore);
// ---- Text positions of basic symbols (edit_text_pos.cpp; the whole-symbol ranges and insert
// positions are in layout/buffer_text_pos.h) ---------------------------------------------------

// The parse record of a basic symbol; null outside the buffer.
const TrecNuo4ABCParseInfo_VoiceSymbol* VoiceEdit_GetRecord(const TNuo4SimpleBuffer& B,
                                                            int32_t AIndex);
const TrecNuo4ABCParseInfo_Note* VoiceEdit_GetNoteRecord(const TNuo4SimpleBuffer& B,
                                                         int32_t AIndex);

// Sub-parts of a note: the first token of the type; invalid when missing or no note.
TKoRange GetABCTextRangeForNote_Pitches(const TNuo4SimpleBuffer& B, int32_t AIndex);
TKoRange GetABCTextRangeForNote_Duration(const TNuo4SimpleBuffer& B, int32_t AIndex);
TKoRange GetABCTextRangeForNote_Grace(const TNuo4SimpleBuffer& B, int32_t AIndex);
TKoRange GetABCTextRangeForNote_Articulations(const TNuo4SimpleBuffer& B, int32_t AIndex);
TKoRange GetABCTextRangeForNote_ArcStartings(const TNuo4SimpleBuffer& B, int32_t AIndex);
TKoRange GetABCTextRangeForNote_ArcEndings(const TNuo4SimpleBuffer& B, int32_t AIndex);
TKoRange GetABCTextRangeForNote_PitchesAndDuration(const TNuo4SimpleBuffer& B, int32_t AIndex);
// The mark ranges of arc AArcIndex of ArcInfoArray: its start mark on the start note and the
// single ")" that closes it on the end note. False for an unknown arc.
bool GetABCTextRangeForArc(const TNuo4SimpleBuffer& B, int32_t AArcIndex, TKoRange& AStartMark,
                           TKoRange& AEndMark);
// The same for the arc an attach symbol draws (a wrapped arc's pieces name the whole arc).
bool GetABCTextRangeForArc_FromAttachIndex(const TNuo4SimpleBuffer& B, int32_t AAttachIndex,
                                           TKoRange& AStartMark, TKoRange& AEndMark);
// The arc of ArcInfoArray drawn by the attach symbol; -1 when none.
int32_t VoiceEdit_ArcIndexFromAttachIndex(const TNuo4SimpleBuffer& B, int32_t AAttachIndex);

// ---- One symbol: add, change, remove (edit_insert.cpp) ---------------------------------------

bool _CanEditSymbol(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                    TText ASymbolText, TNuo4ABCTextReplaceItems& AItems);
bool CanEditSymbol_Barline(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType,
                           int32_t AIndex, const TrecNuo4SymbolBarline& ABarline,
                           TNuo4SymbolElementEditTypes_Barline AElements,
                           TNuo4ABCTextReplaceItems& AItems);
bool CanEditSymbol_AccompMarker(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType,
                                int32_t AIndex, const TrecNuo4SymbolAccompMarker& AMarker,
                                TNuo4ABCTextReplaceItems& AItems);
bool CanEditSymbol_Meter(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                         const TrecNuo4SymbolMeter& AMeter, TNuo4ABCTextReplaceItems& AItems);
bool CanEditSymbol_Return(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                          const TrecNuo4SymbolReturn& AReturn, TNuo4ABCTextReplaceItems& AItems);
bool CanEditSymbol_Text(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                        const TrecNuo4SymbolText& AText, TNuo4ABCTextReplaceItems& AItems);
// ANoteText as typed (refused when empty).
bool CanEditNote(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                 TText ANoteText, TNuo4ABCTextReplaceItems& AItems);

// ---- Insertion (edit_insert.cpp) ---------------------------------------------------------------

bool CanInsertSymbol_PureNote(const TNuo4SimpleBuffer& B, int32_t AIndex,
                              const TrecNuo4MusicPureNote& ANote, TNuo4ABCTextReplaceItems& AItems);
bool CanInsertSymbol_Barline(const TNuo4SimpleBuffer& B, int32_t AIndex, TNuo4BarlineStyle AStyle,
                             TNuo4ABCTextReplaceItems& AItems);
bool CanInsertSymbol_Meter(const TNuo4SimpleBuffer& B, int32_t AIndex, const TrecNuo4Meter& AMeter,
                           TNuo4ABCTextReplaceItems& AItems);
bool CanInsertSymbol_Text(const TNuo4SimpleBuffer& B, int32_t AIndex, TText AText_ABC,
                          TNuo4ABCTextReplaceItems& AItems);
bool CanInsertSymbol_AccompMarker(const TNuo4SimpleBuffer& B, int32_t AIndex, bool bEnd,
                                  TNuo4ABCTextReplaceItems& AItems);
bool CanInsertSymbol_Return(const TNuo4SimpleBuffer& B, int32_t AIndex,
                            const TrecNuo4SymbolReturnPrivateOptions& AOptions,
                            TNuo4ABCTextReplaceItems& AItems);

// ABarlineInsertted (when given) tells whether a bar line was typed along.
bool CanInsertSymbol_PureNote_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                    const TrecNuo4MusicPureNote& ANote, TrecNuo4EditResult& AAnswer,
                                    bool* ABarlineInsertted = nullptr);
bool CanAutoInsertBarline_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
bool CanInsertSymbol_Barline_Caret(const TNuo4SimpleBuffer& B, TNuo4BarlineStyle AStyle,
                                   TrecNuo4EditResult& AAnswer);
bool CanInsertSymbol_Text_Caret(const TNuo4SimpleBuffer& B, TText AText_ABC,
                                TrecNuo4EditResult& AAnswer);
bool CanInsertSymbol_Meter_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4Meter& AMeter,
                                 TrecNuo4EditResult& AAnswer);
bool CanInsertSymbol_AccompMarker_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                        bool bEnd, TrecNuo4EditResult& AAnswer,
                                        bool* ABarlineInsertted = nullptr);
bool CanInsertSymbol_Return_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
bool CanInsertSymbol_PageBreak_Caret(const TNuo4SimpleBuffer& B, bool bJustifyVert,
                                     TrecNuo4EditResult& AAnswer);
bool CanInsertOrToggleBarline_Style_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
// A return at the caret when the caret's line is wider than the layout width.
bool CanInsertReturnIfOverWidth(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
bool CanToggleBarlineStyle(const TNuo4SimpleBuffer& B, int32_t AIndex,
                           TNuo4ABCTextReplaceItems& AItems);
// Has no behaviour in this design: always false.
bool CanChangeMeter_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4Meter& AMeter,
                          TrecNuo4EditResult& AAnswer);

// ---- Deletion (edit_delete.cpp) ----------------------------------------------------------------

bool CanDeleteBasicSymbol(const TNuo4SimpleBuffer& B, int32_t AIndex,
                          TNuo4ABCTextReplaceItems& AItems);
bool CanDeleteBasicSymbol_Caret(const TNuo4SimpleBuffer& B, bool bForBackspace,
                                TrecNuo4EditResult& AAnswer);
bool CanDeleteBasicSymbol_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                                TNuo4ABCTextReplaceItems& AItems);
bool CanDeleteBasicSymbol_Selection(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);

// ---- Attachments following the voice (edit_attach_follow.cpp) --------------------------------

bool Attachments_CanInsertBasicSymbol(const TNuo4SimpleBuffer& B, int32_t AFrom, int32_t ACount,
                                      TNuo4ABCTextReplaceItems& AItems);
bool Attachments_CanDeleteBasicSymbol(const TNuo4SimpleBuffer& B, int32_t AFrom, int32_t ACount,
                                      TNuo4ABCTextReplaceItems& AItems);
// The location of attachments item AItemIndex (of the attachments section) rewritten as the
// basic-index form naming ANewOwner.
bool Attachments_CanChangeHorzLocation(const TNuo4SimpleBuffer& B, int32_t AItemIndex,
                                       int32_t ANewOwner, TrecNuo4ABCTextReplaceItem& AItem);

// ---- Note sub-parts (edit_note_parts.cpp) ----------------------------------------------------

bool CanChangeNote_Digit(const TNuo4SimpleBuffer& B, int32_t AIndex, int32_t ADigit,
                         TNuo4ABCTextReplaceItems& AItems);
// Every note of the selection (a single digit key turns all selected notes).
bool CanChangeNote_Digit_Selection(const TNuo4SimpleBuffer& B, int32_t ADigit,
                                   TrecNuo4EditResult& AAnswer);
bool CanChangeNote_SetDuration(const TNuo4SimpleBuffer& B, int32_t AIndex, TNuo4Duration ADuration,
                               TNuo4ABCTextReplaceItems& AItems);
bool CanChangeNote_SetDuration_Caret(const TNuo4SimpleBuffer& B, TNuo4Duration ADuration,
                                     TrecNuo4EditResult& AAnswer);
bool CanChangeNote_ToggleRightDot_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
bool CanChangeNote_ToggleRightLine_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
bool CanChangeNote_ToggleUnderline_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
bool CanChangeNote_Pitch(const TNuo4SimpleBuffer& B, int32_t AIndex, const TrecNuo4Pitch& APitch,
                         TNuo4ABCTextReplaceItems& AItems);
bool CanChangeNote_Pitches(const TNuo4SimpleBuffer& B, int32_t AIndex, const TNuo4Pitches& APitches,
                           TNuo4ABCTextReplaceItems& AItems);
bool CanChangeNote_Octave(const TNuo4SimpleBuffer& B, int32_t AIndex, bool bDecrease,
                          TNuo4ABCTextReplaceItems& AItems);
bool CanChangeNote_Octave_Caret(const TNuo4SimpleBuffer& B, bool bDecrease,
                                TrecNuo4EditResult& AAnswer);
bool CanChangeNote_Octave_Selection(const TNuo4SimpleBuffer& B, bool bDecrease,
                                    TrecNuo4EditResult& AAnswer);
bool CanChangeNote_AddOrRemoveChordPitch(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                         const TrecNuo4Pitch& APitch,
                                         TNuo4ABCTextReplaceItems& AItems);
bool CanChangeNote_AddOrRemoveChordPitch_Caret(const TNuo4SimpleBuffer& B,
                                               const TrecNuo4Pitch& APitch,
                                               TrecNuo4EditResult& AAnswer);
bool CanChangeNote_ToggleArticulation(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                      TNuo4ABCTextReplaceItems& AItems);
bool CanChangeNote_ToggleArticulation_Caret(const TNuo4SimpleBuffer& B,
                                            TrecNuo4EditResult& AAnswer);

// ---- Chords (edit_chord.cpp) -------------------------------------------------------------------

bool CanChangeChord_AddNote_Natural3th(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                       TNuo4ABCTextReplaceItems& AItems);
bool CanChangeChord_AdjustHighestNote(const TNuo4SimpleBuffer& B, int32_t AIndex, bool bDown,
                                      TNuo4ABCTextReplaceItems& AItems);
bool CanChangeChord_DeleteHighestNote(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                      TNuo4ABCTextReplaceItems& AItems);
bool CanChangeChord_AddNote_Natural3th_Caret(const TNuo4SimpleBuffer& B,
                                             TrecNuo4EditResult& AAnswer);
bool CanChangeChord_AdjustHighestNote_Caret(const TNuo4SimpleBuffer& B, bool bDown,
                                            TrecNuo4EditResult& AAnswer);
bool CanChangeChord_DeleteHighestNote_Caret(const TNuo4SimpleBuffer& B,
                                            TrecNuo4EditResult& AAnswer);

// ---- Transposition (edit_transpose.cpp) --------------------------------------------------------

bool CanTranspose(const TNuo4SimpleBuffer& B, int32_t AIndex, int32_t AOffset, bool bSemitone,
                  TNuo4ABCTextReplaceItems& AItems);
bool CanTranspose_Range(const TNuo4SimpleBuffer& B, TKoRange ARange, int32_t AOffset,
                        bool bSemitone, TNuo4ABCTextReplaceItems& AItems);
bool CanTranspose_SelectionOrCaret(const TNuo4SimpleBuffer& B, int32_t AOffset, bool bSemitone,
                                   bool bAllDocWhenNoSelection, TrecNuo4EditResult& AAnswer);

// ---- Underlines of a run (edit_underline.cpp) --------------------------------------------------

bool CanToggleUnderline_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                              TNuo4ABCTextReplaceItems& AItems);
bool CanToggleUnderline_Selection(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);

// ---- Beam groups (edit_beam.cpp) ---------------------------------------------------------------

enum TNuo4DVGroupType : uint8_t {
    dvg_None,
    dvg_8th_1_1,
    dvg_16th_3_1,
    dvg_8th_3_1,
    dvg_8th_1_3,
    dvg_16th_1_3,
    dvg_8th_2_1,
    dvg_8th_1_2,
    dvg_16th_2_1_1,
    dvg_16th_1_1_2,
    dvg_8th_1_2_1,
    dvg_16th_6_1_1,
    dvg_16th_1_2_1,
    dvg_16th_1_1_6,
    dvg_32th_4_3_1,
    dvg_32th_3_1_4,
    dvg_8th_1_1_1,
    dvg_16th_3_1_2,
    dvg_16th_2_3_1,
    dvg_16th_4_1_1,
    dvg_16th_1_1_4,
    dvg_16th_1_1_1_1,
    dvg_32th_3_1_2_2,
    dvg_16th_2_4_1_1,
    dvg_16th_1_1_4_2,
    dvg_32th_2_3_1_2,
    dvg_32th_2_2_3_1,
    dvg_16th_1_1_2_2,
    dvg_16th_2_1_1_2,
    dvg_16th_2_2_1_1,
    dvg_16th_1_1_4_1_1,
    dvg_32th_2_1_1_2_2,
    dvg_32th_1_1_2_2_2,
    dvg_32th_2_2_1_1_2,
    dvg_32th_2_2_2_1_1,
    dvg_16th_2_1_1_1_1,
    dvg_16th_1_1_2_1_1,
    dvg_16th_1_1_1_1_2,
    dvg_16th_1_1_1_1_1_1,
};
constexpr int Nuo4DVGroupTypeCount = 39;
const char* EnumName(TNuo4DVGroupType AValue);

// The note durations of a pattern (none for dvg_None) and whether it belongs to dotted beats.
std::vector<TNuo4Duration> DVGroup_Durations(TNuo4DVGroupType AType);
bool DVGroup_IsDotted(TNuo4DVGroupType AType);
TNuo4DVGroupType DVGroup_Recognise(const std::vector<TNuo4Duration>& ADurations, bool bDotted);
TNuo4DVGroupType DVGroup_Next(TNuo4DVGroupType AType, bool bOlderOrder);
TNuo4DVGroupType DVGroup_First(int32_t ANoteCount, bool bDotted);

bool CanToggleOrSetDVGroup_Range(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                 TKoRange ARange, bool bDurationForDVGroupIs4thDot,
                                 TNuo4DVGroupType ANewDVGroupTypeForSet, bool bSetDVGroup,
                                 TNuo4ABCTextReplaceItems& AItems,
                                 TNuo4DVGroupType& ANewDVGroupType,
                                 TNuo4DVGroupType& AOldDVGroupType);
// The run of notes a beam group is made of, ending at AFrom; invalid when none.
TKoRange GetNoteRangeForDVGroup_from(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                     int32_t AFrom, bool bAllNotesMustBe4th, bool bStartAtFullBeat);
TKoRange GetNoteRangeForDVGroup_CaretOrSelection(const TNuo4SimpleBuffer& B,
                                                 const TrecNuo4EditState& AState,
                                                 bool bAllNotesMustBe4th, bool bStartAtFullBeat);
bool CanToggleDVGroup_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                            TrecNuo4EditResult& AAnswer, bool* ABarlineInsertted = nullptr);
bool CanToggleDVGroup_Selection(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                TrecNuo4EditResult& AAnswer);
bool CanSetDVGroup_CaretOrSelection(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                    TNuo4DVGroupType AType, TrecNuo4EditResult& AAnswer);
// For the beam-group menu: the run's text under every pattern of its block.
bool GetABCTextArrayForDVGroup_CaretOrSelection(const TNuo4SimpleBuffer& B,
                                                const TrecNuo4EditState& AState,
                                                bool bAllNotesMustBe4th, bool bStartAtFullBeat,
                                                std::vector<std::u16string>& ATexts,
                                                TNuo4DVGroupType& AStart, TNuo4DVGroupType& AEnd,
                                                int32_t& AItemIndex);

// ---- Tuplets from typed quarters (edit_tuplet.cpp) ---------------------------------------------

bool CanAddTupletArc_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                           TrecNuo4EditResult& AAnswer);

// ---- Arcs written in the voice (edit_arc.cpp) --------------------------------------------------

// Where the start and end marks of a new arc go; refused for crossing or existing arcs.
bool CanAddArc(const TNuo4SimpleBuffer& B, int32_t AStart, int32_t AEnd, int32_t& AStartPos,
               int32_t& AEndPos);
bool CanAddArc_Range(const TNuo4SimpleBuffer& B, TKoRange ARange, bool bWithTuplet,
                     TNuo4ABCTextReplaceItems& AItems);
bool CanToggleArc_Range(const TNuo4SimpleBuffer& B, TKoRange ARange, bool bWithTuplet,
                        TNuo4ABCTextReplaceItems& AItems);
bool CanToggleArc_Selection(const TNuo4SimpleBuffer& B, bool bWithTuplet,
                            TrecNuo4EditResult& AAnswer);
bool CanDeleteArc(const TNuo4SimpleBuffer& B, int32_t AStart, int32_t AEnd,
                  TNuo4ABCTextReplaceItems& AItems);
bool CanAddArc_From(const TNuo4SimpleBuffer& B, int32_t ANote, TNuo4ABCTextReplaceItems& AItems);
bool CanAddArc_From_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
bool CanAddArc_From_Highlight(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
bool CanExtendArc_From(const TNuo4SimpleBuffer& B, int32_t ANote, TNuo4ABCTextReplaceItems& AItems);
bool CanExtendArc_From_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
bool CanExtendArc_From_Highlight(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);
// AArcIndex names an arc of ArcInfoArray.
bool CanSetArcABCInfo(const TNuo4SimpleBuffer& B, int32_t AArcIndex,
                      const TrecNuo4ArcABCInfo& AInfo, TNuo4ABCTextReplaceItems& AItems);
// The arc drawn by the highlighted attach symbol.
bool CanSetArcABCInfo_Highlight(const TNuo4SimpleBuffer& B, const TrecNuo4ArcABCInfo& AInfo,
                                TrecNuo4EditResult& AAnswer);

// ---- Accompaniment markers (edit_accomp.cpp) ---------------------------------------------------

bool CanConvetRange_ToAccomp(const TNuo4SimpleBuffer& B, TKoRange ARange,
                             TNuo4ABCTextReplaceItems& AItems);
bool CanConvetRange_ToNonAccomp(const TNuo4SimpleBuffer& B, TKoRange ARange,
                                TNuo4ABCTextReplaceItems& AItems);
bool CanToggleAccompMarker_Selection(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer);

// ---- Control options and hiding (edit_control.cpp) ---------------------------------------------

bool CanChangeControlOptions(const TNuo4SimpleBuffer& B, int32_t AIndex,
                             const TrecNuo4SymbolControlOptions& AOptions,
                             TNuo4ABCTextReplaceItems& AItems);
// The control options written in the symbol's text (defaults when it has none).
TrecNuo4SymbolControlOptions VoiceEdit_GetControlOptions(const TNuo4SimpleBuffer& B,
                                                         int32_t AIndex);
bool CanChangeHideLevel(const TNuo4SimpleBuffer& B, int32_t AIndex, TNuo4SymbolHideLevel ALevel,
                        TNuo4ABCTextReplaceItems& AItems);
bool CanChangeHideLevel_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                              TNuo4SymbolHideLevel ALevel, TNuo4ABCTextReplaceItems& AItems);
bool CanChangeHideLevel_Selection(const TNuo4SimpleBuffer& B, TNuo4SymbolHideLevel ALevel,
                                  TrecNuo4EditResult& AAnswer);

// ---- Long rests (edit_long_rest.cpp) -----------------------------------------------------------

// ALength in millimetres.
bool LongRest_CanAdd(const TNuo4SimpleBuffer& B, int32_t AIndex, TText AText, double ALength,
                     TNuo4ABCTextReplaceItems& AItems);
bool LongRest_CanAdd_Range(const TNuo4SimpleBuffer& B, TKoRange ARange, TText AText,
                           TNuo4ABCTextReplaceItems& AItems);
bool LongRest_CanAdd_BasicIndex(const TNuo4SimpleBuffer& B, int32_t AIndex, TText AText,
                                TNuo4ABCTextReplaceItems& AItems);
bool LongRest_CanAdd_SelectionOrCaret(const TNuo4SimpleBuffer& B, TText AText,
                                      TrecNuo4EditResult& AAnswer);

// ---- Selection helpers shared by the requests (edit_text_pos.cpp) -----------------------------

// The selection's basic range (empty at the caret when nothing is selected).
TKoRange VoiceEdit_SelectionRange(const TrecNuo4Selection& ASelection);
// An empty selection on the right side of ALeftPos + AOffset ((0, left) when negative).
TrecNuo4Selection VoiceEdit_CaretAfter(int32_t ALeftPos, int32_t AOffset);
TrecNuo4Selection VoiceEdit_ClearToHead(const TrecNuo4Selection& ASelection);
TrecNuo4Selection VoiceEdit_ClearToTail(const TrecNuo4Selection& ASelection);
TrecNuo4Selection VoiceEdit_ClearToCaret(const TrecNuo4Selection& ASelection);

}  // namespace nuo4
