#include "render/symbol.h"

#include "format/attach_symbols.h"
#include "format/doc_options.h"
#include "format/section_page.h"
#include "format/symbol_accomp_marker.h"
#include "format/symbol_barline.h"
#include "format/symbol_meter.h"
#include "format/symbol_note_rec.h"
#include "format/symbol_return.h"
#include "format/symbol_text.h"
#include "render/note_style.h"

namespace nuo4 {

const TrecNuo4BasicCalcInfo Nuo4EmptyBasicInfo;
const TrecNuo4CalcInfo_WhenAsAttachSymbol Nuo4EmptyAttachInfo;

TrecNuo4BasicCalcInfo& Nuo4ScratchBasicInfo() {
    static thread_local TrecNuo4BasicCalcInfo Scratch;
    Scratch.SetToDefault();
    return Scratch;
}

TrecNuo4CalcInfo_WhenAsAttachSymbol& Nuo4ScratchAttachInfo() {
    static thread_local TrecNuo4CalcInfo_WhenAsAttachSymbol Scratch;
    Scratch = TrecNuo4CalcInfo_WhenAsAttachSymbol();
    return Scratch;
}

// ---- Creation -----------------------------------------------------------------------------------

void TNuo4Symbol::Create(const void* APSymbolRec) {
    FElementList.Clear();
    ABCAttachmentsInfo.Reset();
    CalcInfo.SetToDefault();
    if (HasBasicInfo()) MutBasicInfo().SetToDefault();
    if (HasAttachInfo()) MutAttachInfo() = TrecNuo4CalcInfo_WhenAsAttachSymbol();
    FColor = Nuo4DefaultSymbolColor();
    SetNeedUpdate();
    if (APSymbolRec) SetSymbolRec(APSymbolRec);

    const void* Rec = GetSymbolRecPtr();
    const TNuo4SymbolType T = GetSymbolType();
    if (Rec) {
        if (T == sbstMemo)
            FColor = static_cast<const TrecNuo4SymbolMemo*>(Rec)->PrivateOptions.Color;
        else if (T == sbstTitleBlock)
            FColor = static_cast<const TrecNuo4SymbolTitleBlock*>(Rec)->Color;
        else if (T == sbstAttachText)
            FColor = static_cast<const TrecNuo4SymbolAttachText*>(Rec)->Color;
    }

    if (!IsBasicSymbol(T)) return;
    const TrecNuo4SymbolControlOptions* O = GetControlOptionsPtr();
    if (O && O->AWCoefIsLocked())
        SetAWCoef(O->AWCoef.AWCoef);
    else if (T == sbstNote)
        SetAWCoef(Nuo4DocOptions().Param_HorzSpacing_AW.GetAWCoef(Duration_Beats(GetDuration())));
    CopyLockedRightLineSpacing();
}

void TNuo4Symbol::CopyLockedRightLineSpacing() {
    if (GetSymbolType() != sbstNote) return;
    const TrecNuo4SymbolControlOptions* O = GetControlOptionsPtr();
    if (O && O->RightLineSpacingCoefIsLocked())
        Note_SetRightLineSpacingCoefArray(O->AWCoef.RightLineSpacingCoefArray);
}

// ---- Elements -----------------------------------------------------------------------------------

void TNuo4Symbol::Update(bool bForce) {
    if (!bForce && !FNeedUpdate) return;
    // Justification changes the advance widths of whole lines of symbols after they were
    // built; most of their elements do not depend on it.
    if (!bForce && FOnlyAWChanged && UpdateElementsForAW()) {
        FBounds = TGPRectF32();
        Bounds();
        FNeedUpdate = false;
        FOnlyAWChanged = false;
        return;
    }
    ClearElements();
    // A hidden symbol of a temporary voice takes no room there, so it builds nothing; a note
    // still builds, since its hidden parts are suppressed element by element.
    if (bWithinAttachBranch && GetSymbolType() != sbstNote && Hided()) return;
    CreateElements();
    Bounds();
    FNeedUpdate = false;
}

void TNuo4Symbol::ClearElements() {
    FElementList.Clear();
    FBounds = TGPRectF32();
    FNeedUpdate = true;
    FOnlyAWChanged = false;
}

void TNuo4Symbol::ReplaceElement(int AIndex, TNuo4SymbolElement AElement) {
    FElementList.Replace(AIndex, std::move(AElement));
}

void TNuo4Symbol::AddElement(TNuo4SymbolElement AElement) {
    FElementList.Add(std::move(AElement));
    SetNeedUpdate();
}

void TNuo4Symbol::AddElement_FillPath(const QPainterPath& APath) {
    AddElement(TNuo4SymbolElement::Fill(APath));
}

void TNuo4Symbol::AddElementsFromSymbolPathes(const TNuo4SymbolPathes& AItems) {
    for (const TrecNuo4SymbolPathItem& I : AItems) {
        if (!I.IsStroke())
            AddElement_FillPath(I.APath);
        else if (I.IsDashed())
            AddElement(TNuo4SymbolElement::Stroke_Dashed(I.APath, I.PenWidth));
        else
            AddElement(TNuo4SymbolElement::Stroke_Solid(I.APath, I.PenWidth));
    }
}

TNuo4SymbolPathes TNuo4Symbol::GetSymbolPathes() const {
    TNuo4SymbolPathes R;
    R.reserve(size_t(FElementList.Count()));
    for (int I = 0; I < FElementList.Count(); ++I) FElementList.At(I).AddToSymbolPathes(R);
    return R;
}

const TNuo4SymbolElement* TNuo4Symbol::ReadElement(int AIndex) const {
    if (AIndex < 0 || AIndex >= ElementsCount()) return nullptr;
    return &FElementList.At(AIndex);
}

// ---- Geometry -----------------------------------------------------------------------------------

TGPRectF TNuo4Symbol::Bounds() {
    if (!RectIsEmpty(FBounds)) return FBounds;
    TGPRectF R;
    CalcBounds(R);
    // What is returned is what is kept, so that every later call reads the same box.
    FBounds = R;
    return FBounds;
}

TGPRectF TNuo4Symbol::BlackBox() const {
    TGPRectF R;
    // An unstored empty fill has no ink.
    for (auto* E = FElementList.StoredBegin(); E != FElementList.StoredEnd(); ++E)
        RectUnion(R, E->GetBlackBox());
    return R;
}

// ---- Advance width
// --------------------------------------------------------------------------------

TGPSizeF TNuo4Symbol::DigitSize() const {
    return GetDigitSize(FNoteStyleIndex);
}

void TNuo4Symbol::SetAW(double AValue) {
    const double W = DigitSize().width();
    if (W > 0) SetAWCoef(float(AValue / W));
}

void TNuo4Symbol::SetAWCoef(float AValue) {
    FAWCoef = AValue;
    if (GetSymbolType() == sbstNote) {
        const TrecNuo4SymbolControlOptions* O = GetControlOptionsPtr();
        if (!(O && O->RightLineSpacingCoefIsLocked())) {
            if (WithRightline())
                Note_AutoSetRightLineSpacing(FAWCoef);
            else if (WithRightDot())
                Note_AutoSetRightDotSpacing(FAWCoef);
        }
    }
    MarkAWChanged();
}

void TNuo4Symbol::ZoomAWCoef(float AFactor) {
    FAWCoef *= AFactor;
    if (GetSymbolType() == sbstNote) {
        if (WithRightline())
            Note_ZoomRightLineSpacing(AFactor);
        else if (WithRightDot())
            Note_AutoSetRightDotSpacing(FAWCoef);
    }
    MarkAWChanged();
}

bool TNuo4Symbol::AWCoefIsLocked() const {
    const TrecNuo4SymbolControlOptions* O = GetControlOptionsPtr();
    return O && O->AWCoefIsLocked();
}

void TNuo4Symbol::SetAWCoefIsLocked(bool bLocked) {
    if (TrecNuo4SymbolControlOptions* O = GetControlOptionsPtr()) {
        if (bLocked)
            O->InitializeToLock(FAWCoef);
        else
            O->Unlock();
        CopyLockedRightLineSpacing();
    }
    SetNeedUpdate();
}

// ---- Hiding, highlight, styles
// --------------------------------------------------------------------

TNuo4SymbolHideLevel TNuo4Symbol::HideLevel() const {
    if (IsBasicSymbol(GetSymbolType())) {
        const TrecNuo4SymbolControlOptions* O = GetControlOptionsPtr();
        return O ? O->HideLevel : shlNone;
    }
    return FHideForNonBasicSymbol ? shlAll : shlNone;
}

void TNuo4Symbol::SetHideLevel(TNuo4SymbolHideLevel ALevel) {
    if (ALevel == HideLevel()) return;
    if (IsBasicSymbol(GetSymbolType())) {
        if (TrecNuo4SymbolControlOptions* O = GetControlOptionsPtr()) O->HideLevel = ALevel;
    } else {
        FHideForNonBasicSymbol = ALevel == shlAll;
    }
    SetNeedUpdate();
}

bool TNuo4Symbol::Hided() const {
    return SymbolHided(GetSymbolType(), HideLevel(), FHideForNonBasicSymbol);
}

void TNuo4Symbol::SetHighlighted(bool bValue) {
    if (FHighlighted == bValue) return;
    FHighlighted = bValue;
    SetNeedUpdate();
}

// The style index and the record's copy describe one style; each setter keeps both in step.
void TNuo4Symbol::SetMainStyle(TNuo4NoteMainStyle AStyle) {
    FNoteStyleIndex.MainStyle = AStyle;
    SetRecMainStyle(AStyle);
    SetNeedUpdate();
}

void TNuo4Symbol::SetSubStyle(TNuo4NoteSubStyle AStyle) {
    FNoteStyleIndex.SubStyle = AStyle;
    SetRecSubStyle(AStyle);
    SetNeedUpdate();
}

void TNuo4Symbol::SetNoteStyleIndex(const TrecNuo4NoteStyleIndex& AIndex) {
    FNoteStyleIndex = AIndex;
    SetRecNoteStyleIndex(AIndex);
    SetNeedUpdate();
}

void TNuo4Symbol::UpdateStyleToDefault() {
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    SetMainStyle(O.NoteMainStyle_Default);
    SetSubStyle(O.NoteSubStyle_Default);
}

// ---- Record queries
// -------------------------------------------------------------------------------

TrecNuo4SymbolControlOptions* TNuo4Symbol::GetControlOptionsPtr() {
    void* Rec = GetSymbolRecPtr();
    if (!Rec) return nullptr;
    switch (GetSymbolType()) {
        case sbstNote:
            return &static_cast<TrecNuo4SymbolNote*>(Rec)->ControlOptions;
        case sbstBarline:
            return &static_cast<TrecNuo4SymbolBarline*>(Rec)->ControlOptions;
        case sbstAccompMarker:
            return &static_cast<TrecNuo4SymbolAccompMarker*>(Rec)->ControlOptions;
        case sbstMeter:
            return &static_cast<TrecNuo4SymbolMeter*>(Rec)->ControlOptions;
        case sbstText:
            return &static_cast<TrecNuo4SymbolText*>(Rec)->ControlOptions;
        case sbstReturn:
            return &static_cast<TrecNuo4SymbolReturn*>(Rec)->ControlOptions;
        default:
            return nullptr;
    }
}

const TrecNuo4SymbolControlOptions* TNuo4Symbol::GetControlOptionsPtr() const {
    return const_cast<TNuo4Symbol*>(this)->GetControlOptionsPtr();
}

TNuo4Duration TNuo4Symbol::GetDuration() const {
    if (GetSymbolType() != sbstNote) return sdNone;
    const void* Rec = GetSymbolRecPtr();
    return Rec ? static_cast<const TrecNuo4SymbolNote*>(Rec)->GetDuration() : sdNone;
}

bool TNuo4Symbol::WithRightDot() const {
    return Duration_DotCount(GetDuration()) > 0;
}
bool TNuo4Symbol::WithRightline() const {
    return Duration_RightLineCount(GetDuration()) > 0;
}
bool TNuo4Symbol::WithUnderline() const {
    return Duration_UnderlineCount(GetDuration()) > 0;
}

// ---- Drawing ------------------------------------------------------------------------------------

namespace {
TNuo4SymbolDrawObserver GDrawObserver = nullptr;
void* GDrawObserverContext = nullptr;
}  // namespace

void Nuo4SetSymbolDrawObserver(TNuo4SymbolDrawObserver AObserver, void* AContext) {
    GDrawObserver = AObserver;
    GDrawObserverContext = AContext;
}

void TNuo4Symbol::Draw(TKoGraphics& G) {
    if (!G.Painter()) return;
    const TNuo4SymbolType T = GetSymbolType();
    const TrecNuo4SymbolViewSettings& V = Nuo4SymbolViewSettings();
    if (T == sbstReturn && !V.bShowAuxInfo_ReturnSymbol) return;

    G.Save();
    G.TranslateTransform(FPos.x(), FPos.y());
    if (GDrawObserver) GDrawObserver(*this, G.WorldTransform(), GDrawObserverContext);

    TGPColor Fore = FColor;
    TGPColor Back = 0;  // transparent
    if (FHighlighted) {
        Fore = V.HighlightColor;
        Back = V.HighlightBkColor;
    } else if (T != sbstNote) {
        if (T == sbstReturn) Fore = Nuo4ReturnSymbolColor;
        if (T == sbstLyric && CalcInfo.bIsLyricVerseStart && V.bShowAuxInfo_LyricVerseStart)
            Back = V.LyricVerseStartBkColor;
        else if (IsAttachments(T) && V.bShowAuxInfo_AttachmentsBk)
            Back = V.AttachmentsBkColor;
        else if (IsPage(T) && V.bShowAuxInfo_PageSymbolBk)
            Back = V.PageSymbolBkColor;
    }
    const uint8_t Ghost = V.GhostAlpha();

    if ((Back >> 24) != 0) G.FillRect(Bounds(), Back);

    if (T == sbstNote) {
        const TNuo4SymbolHideLevel Level = HideLevel();
        const TGPColor GhostColor = WithAlpha(FColor, Ghost);
        // An empty fill draws nothing: only the stored elements are visited.
        for (int I = 0; I < ElementsCount(); ++I) {
            const TNuo4SymbolElement& E = FElementList.At(I);
            if (!TNuo4SymbolElementList::IsEmptyFill(E))
                E.Draw(G, NoteElementHided(Level, I) ? GhostColor : Fore);
        }
    } else {
        if (Hided()) Fore = WithAlpha(Fore, Ghost);
        for (auto* E = FElementList.StoredBegin(); E != FElementList.StoredEnd(); ++E)
            E->Draw(G, Fore);
    }

    G.Restore();
}

}  // namespace nuo4
