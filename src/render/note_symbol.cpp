#include "render/note_symbol.h"

#include <algorithm>

#include "format/doc_options.h"
#include "render/music_font.h"
#include "render/symbol_types.h"

namespace nuo4 {

TNuo4SymbolNote::TNuo4SymbolNote(const TrecNuo4SymbolNote& ARec) {
    Create(&ARec);
}

// ---- Slots --------------------------------------------------------------------------------------

void TNuo4SymbolNote::CalcBounds(TGPRectF& ARect) {
    ARect = GetBounds(SymbolRec, ForceChordSubStyle());
    CalcInfo.Bounds_Self.Layout = ARect;
    Update_Bounds_Total(false);
}

uint8_t TNuo4SymbolNote::GetElementSuppressFlags() const {
    const bool bAutoBeam = Nuo4DocOptions().bAutoBeam;
    if (bWithinAttachBranch)
        return uint8_t(NoteElementHideMask(HideLevel()) | (bAutoBeam ? npfUnderlines : 0));
    if (bAutoBeam && !Hided()) return npfUnderlines;
    return 0;
}

void TNuo4SymbolNote::CreateElements() {
    const TNuo4NotePaths P = CreateSymbolNotePaths(GetDestGraphics(), SymbolRec,
                                                   GetElementSuppressFlags(), ForceChordSubStyle());
    // Always seven elements, so that the hide table can address them by slot; the empty ones
    // take no room.
    int Stored = 0;
    for (const QPainterPath& Path : P) Stored += Path.elementCount() != 0;
    ReserveElements(Stored);
    for (const QPainterPath& Path : P) AddElement_FillPath(Path);
}

bool TNuo4SymbolNote::UpdateElementsForAW() {
    if (IsChord() || ElementsCount() != Nuo4NotePathCount) return false;
    // Only the spacing of right dots and dashes follows the advance width: without either, the
    // paths built anew would be the ones the note already has.
    if (!WithRightline() && !WithRightDot()) return true;
    const uint8_t Suppress = GetElementSuppressFlags();
    // Underlines of a dotted note end with its last dot.
    const TNuo4NotePaths P =
        CreatePureNotePaths(GetDestGraphics(), SymbolRec.MainNote,
                            uint8_t(Suppress | ~(npfUnderlines | npfRightDots | npfRightLines)));
    for (const int Slot : {3, 4, 5})
        ReplaceElement(Slot, TNuo4SymbolElement::Fill(P[size_t(Slot)]));
    if (!(Suppress & npfGrace) && WithGrace())
        ReplaceElement(6, TNuo4SymbolElement::Fill(CreateGraceGroupPath(
                              GetDestGraphics(), SymbolRec, ForceChordSubStyle())));
    return true;
}

void TNuo4SymbolNote::SetSymbolRec(const void* ASource) {
    if (!ASource) return;
    SymbolRec = *static_cast<const TrecNuo4SymbolNote*>(ASource);
    TrecNuo4NoteStyleIndex& S = SymbolRec.MainNote.Options.StyleIndex;
    if (!S.IsValid()) S.SetToDefault();
    SetNoteStyleIndex(S);
    nuo4::CheckChord(SymbolRec);
    SetNeedUpdate();
}

void TNuo4SymbolNote::SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex& AIndex) {
    SymbolRec.MainNote.Options.StyleIndex = AIndex;
}
void TNuo4SymbolNote::SetRecMainStyle(TNuo4NoteMainStyle AStyle) {
    SymbolRec.MainNote.Options.StyleIndex.MainStyle = AStyle;
}
void TNuo4SymbolNote::SetRecSubStyle(TNuo4NoteSubStyle AStyle) {
    SymbolRec.MainNote.Options.StyleIndex.SubStyle = AStyle;
}

// ---- Queries ------------------------------------------------------------------------------------

bool TNuo4SymbolNote::WithAccidental() const {
    const TNuo4Pitches P = GetPitches();
    return std::any_of(P.begin(), P.end(),
                       [](const TrecNuo4Pitch& X) { return X.WithAccidental(); });
}

bool TNuo4SymbolNote::PitchesIsSame(const TNuo4SymbolNote& AOther) const {
    const TNuo4Pitches A = GetPitches(), B = AOther.GetPitches();
    if (A.size() != B.size()) return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (!A[I].SameAs(B[I])) return false;
    return true;
}

double TNuo4SymbolNote::GetRighlineOffsetCoefX(int I) const {
    return GetRightLinePosCoefX(SymbolRec.MainNote, I);
}
double TNuo4SymbolNote::GetRighlineOffsetX(int I) const {
    return GetRighlineOffsetCoefX(I) * DigitSize().width();
}
QRectF TNuo4SymbolNote::GetRightlineRect(int I) const {
    return GetBounds_RightLine(SymbolRec.MainNote, I);
}
double TNuo4SymbolNote::GetRighlineSpacing(int I) const {
    if (I < 0 || I >= Nuo4RightLineSpacingCoefCount) return 0;
    return double(GetRightLineSpacingCoefArray()[I]) * DigitSize().width();
}

void TNuo4SymbolNote::SetRightLineSpacingCoefArray(const TRightLineSpacingCoefArray& AArray) {
    SymbolRec.MainNote.Options.RightLineSpacingCoefArray = AArray;
    if (GetRightLineCount() > 0) SetNeedUpdate();
}

void TNuo4SymbolNote::RightLineSpacing_SetCoefArray(const TRightLineSpacingCoefArray& AArray) {
    nuo4::RightLineSpacing_SetCoefArray(SymbolRec, AArray);
    SetNeedUpdate();
}

QRectF TNuo4SymbolNote::GetBounds_Underline(int I) const {
    return nuo4::GetBounds_Underline(SymbolRec, I, ForceChordSubStyle());
}

QPointF TNuo4SymbolNote::GetGracePos() const {
    return nuo4::GetGracePos(SymbolRec, ForceChordSubStyle());
}

// ---- Changes ------------------------------------------------------------------------------------

void TNuo4SymbolNote::CheckChord() {
    nuo4::CheckChord(SymbolRec);
    SetNeedUpdate();
}

void TNuo4SymbolNote::SetPitches_Main(const TNuo4Pitches& APitches) {
    SymbolRec.SetPitches_Main(APitches);
    CheckChord();
}

void TNuo4SymbolNote::SetMainNotePitch(const TrecNuo4Pitch& APitch) {
    SetPitches_Main(TNuo4Pitches{APitch});
}

void TNuo4SymbolNote::SetGrace(const TNuo4Pitches& APitches) {
    SymbolRec.SetGrace(APitches);
    SetNeedUpdate();
}

void TNuo4SymbolNote::SetDigit(TNuo4Digit ADigit) {
    if (IsChord()) return;
    TrecNuo4Pitch P = GetMainNotePitch();
    P.Digit = ADigit;
    SetMainNotePitch(P);
}

void TNuo4SymbolNote::SetDuration(TNuo4Duration ADuration) {
    const TrecNuo4NoteStyleIndex Style = SymbolRec.MainNote.Options.StyleIndex;
    SymbolRec.SetDuration(ADuration);
    SymbolRec.MainNote.Options.StyleIndex = Style;
    // The new marks take their places from the advance width again.
    SetAWCoef(AWCoef());
    CheckChord();
}

bool TNuo4SymbolNote::IncreaseOctave() {
    if (!nuo4::IncreaseOctave(SymbolRec)) return false;
    SetNeedUpdate();
    return true;
}

bool TNuo4SymbolNote::DecreaseOctave() {
    if (!nuo4::DecreaseOctave(SymbolRec)) return false;
    SetNeedUpdate();
    return true;
}

// ---- Spacing hooks ------------------------------------------------------------------------------

void TNuo4SymbolNote::Note_AutoSetRightLineSpacing(float AAWCoef) {
    AutoSetRightLineSpacing(SymbolRec.MainNote.Options.RightLineSpacingCoefArray,
                            GetRightLineCount(), AAWCoef);
}
void TNuo4SymbolNote::Note_AutoSetRightDotSpacing(float AAWCoef) {
    AutoSetRightDotSpacing(SymbolRec.MainNote.Options.RightLineSpacingCoefArray, AAWCoef,
                           GetMinRightDotSpacingCoef(GetNoteStylePtr_Main(SymbolRec)));
}
void TNuo4SymbolNote::Note_ZoomRightLineSpacing(float AFactor) {
    ZoomRightLineSpacing(SymbolRec.MainNote.Options.RightLineSpacingCoefArray, AFactor);
}
void TNuo4SymbolNote::Note_SetRightLineSpacingCoefArray(const TRightLineSpacingCoefArray& AArray) {
    SymbolRec.MainNote.Options.RightLineSpacingCoefArray = AArray;
}

// ---- Underline connection -----------------------------------------------------------------------

namespace {
const TNuo4SymbolNote* AsNote(const TNuo4Symbol* S) {
    return S && S->GetSymbolType() == sbstNote ? static_cast<const TNuo4SymbolNote*>(S) : nullptr;
}
}  // namespace

bool CalcUnderlineConnection(const std::vector<TNuo4Symbol*>& ASymbols, int AIndex) {
    if (AIndex < 0 || AIndex >= int(ASymbols.size())) return false;
    const TNuo4SymbolNote* Note = AsNote(ASymbols[AIndex]);
    if (!Note) return false;
    switch (Note->GetUnderlineConnectType()) {
        case ulctAlwaysConnect:
            return true;
        case ulctAlwaysUnconnect:
            return false;
        default:
            break;
    }
    if (Note->GetUnderlineCount() == 0 || Note->Hided()) return false;
    if (Note->BasicInfo().DV.bAtFullBeat_After) return false;
    const bool bMarkerBreaks = Nuo4DocOptions().Param_Accomp.bAccompMarkerBreakUnderline;
    int Next = AIndex + 1;
    while (Next < int(ASymbols.size()) && ASymbols[Next] &&
           ASymbols[Next]->GetSymbolType() == sbstAccompMarker && !bMarkerBreaks)
        ++Next;
    if (Next >= int(ASymbols.size())) return false;
    const TNuo4SymbolNote* NextNote = AsNote(ASymbols[Next]);
    return NextNote && NextNote->GetUnderlineCount() > 0 && !NextNote->Hided();
}

void UpdateUnderlineConnections(const std::vector<TNuo4Symbol*>& ASymbols, int AFirst, int ALast) {
    const int First = std::max(0, AFirst), Last = std::min(ALast, int(ASymbols.size()) - 1);
    for (int I = First; I <= Last; ++I) {
        if (ASymbols[I] && ASymbols[I]->GetSymbolType() == sbstNote)
            static_cast<TNuo4SymbolNote*>(ASymbols[I])
                ->SetUnderlineConnection(CalcUnderlineConnection(ASymbols, I));
    }
}

}  // namespace nuo4
