// Edit requests inside a temporary voice, answered by the main voice's requests on the voice's
// own buffer.

#include "edit/edit_branch.h"

#include "edit/edit_voice.h"
#include "format/abc_buffer.h"
#include "layout/branch_data.h"
#include "layout/simple_buffer.h"
#include "render/note_symbol.h"
#include "render/symbol_attach.h"

namespace nuo4 {

const TrecNuo4AttachBranchData* Branch_GetData(const TNuo4SimpleBuffer& B, int32_t AAttachIndex) {
    auto* S = dynamic_cast<TNuo4SymbolAttachBranch*>(B.Attach_GetSymbol(AAttachIndex));
    return S ? dynamic_cast<const TrecNuo4AttachBranchData*>(S->GetDataPtr()) : nullptr;
}

bool Branch_ItemsToScoreText(const TNuo4SimpleBuffer& B, int32_t AAttachIndex,
                             const TNuo4ABCTextReplaceItems& AVoiceItems,
                             TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const TNuo4Symbol* S = B.Attach_GetSymbol(AAttachIndex);
    const TNuo4ABCBuffer* T = B.GetABCBuffer();
    const TrecNuo4AttachBranchData* D = Branch_GetData(B, AAttachIndex);
    if (!S || !T || !D) return false;
    const auto& Info = S->CalcInfo.SymbolABCTextInfo;
    const auto& Items = T->Section_Attachments.Buffer;
    if (Info.aType != spwabtSectionAttachments || Info.AttachmentsBufIndex() < 0 ||
        Info.AttachmentsBufIndex() >= int32_t(Items.size()))
        return false;
    TKoRange Braces = TKoRange::Invalid();
    for (const auto& Tok : Items[size_t(Info.AttachmentsBufIndex())].Header.TokenItems)
        if (Tok.aType == ttAttachBranchVoice) Braces = Tok.ABCTextRange;
    const int32_t Length = int32_t(D->ABCText_Voice.size());
    // The record the voice was built from must still be what the braces hold.
    if (!Braces.IsValid() || Braces.Length != Length + 2) return false;
    for (TrecNuo4ABCTextReplaceItem It : AVoiceItems) {
        const TKoRange R = It.TextRange;
        if (R.StartIndex < 0 || R.Length < 0 || R.StartIndex + R.Length > Length) {
            AItems.clear();
            return false;
        }
        It.TextRange.StartIndex += Braces.StartIndex + 1;
        VoiceEdit_AddItem(AItems, It);
    }
    return !AItems.empty();
}

bool CanEditAttachBranch_AdjustSymbolSpacing(const TNuo4SimpleBuffer& B, int32_t AAttachIndex,
                                             int32_t APos, TNuo4InlineChangeAction_AWCoef AAction,
                                             double AValue, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const TrecNuo4AttachBranchData* D = Branch_GetData(B, AAttachIndex);
    TrecNuo4NormalIndexAndRightlineIndex P;
    if (!D || !D->Basic_GetSymbolIndexAndRightlineIndex_FromIndexWithRightline(APos, P))
        return false;
    const TNuo4SymbolNote* N = D->Buffer().Basic_GetSymbolNote(P.ASymbolIndex);
    TNuo4ABCTextReplaceItems Voice;
    const bool bOk = N && N->GetRightLineCount() > 0
                         ? CanAdjustRightlineSpacingCoef(*D, AAction, P.ASymbolIndex,
                                                         P.ARightlineIndex, AValue, Voice)
                         : CanChangeAWCoef(*D, P.ASymbolIndex, AAction, AValue, Voice);
    return bOk && Branch_ItemsToScoreText(B, AAttachIndex, Voice, AItems);
}

bool CanChangeAWCoef(const TrecNuo4AttachBranchData& AData, int32_t AIndex,
                     TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                     TNuo4ABCTextReplaceItems& AItems) {
    // The main request takes the grid from the next symbol and refuses the voice's last one,
    // where the delta would be 0 and nothing would change.
    return CanChangeAWCoef(AData.Buffer(), AIndex, AAction, AValue, AItems);
}

namespace {

// The symbol's control options with the advance (and, given, the dash spacings) set outright.
// A negative value would run the voice backwards.
bool SetAWCoef(const TrecNuo4AttachBranchData& AData, int32_t AIndex, double ACoef,
               const TRightLineSpacingCoefArray* ASpacing, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const TNuo4SimpleBuffer& B = AData.Buffer();
    if (!B.Basic_CheckIndex(AIndex) || !(ACoef >= 0)) return false;
    if (ASpacing)
        for (float F : *ASpacing)
            if (!(F >= 0)) return false;
    TrecNuo4SymbolControlOptions O = VoiceEdit_GetControlOptions(B, AIndex);
    O.AWCoef.AWCoef = float(ACoef);
    if (ASpacing) O.AWCoef.RightLineSpacingCoefArray = *ASpacing;
    return CanChangeControlOptions(B, AIndex, O, AItems);
}

}  // namespace

bool CanChangeAWCoef(const TrecNuo4AttachBranchData& AData, int32_t AIndex, double AValue,
                     TNuo4ABCTextReplaceItems& AItems) {
    return SetAWCoef(AData, AIndex, AValue, nullptr, AItems);
}

bool CanChangeAWCoefAndRightlineSpacingCoef(const TrecNuo4AttachBranchData& AData, int32_t AIndex,
                                            double ACoef,
                                            const TRightLineSpacingCoefArray& ASpacing,
                                            TNuo4ABCTextReplaceItems& AItems) {
    return SetAWCoef(AData, AIndex, ACoef, &ASpacing, AItems);
}

bool CanAdjustRightlineSpacingCoef(const TrecNuo4AttachBranchData& AData,
                                   TNuo4InlineChangeAction_AWCoef AAction, int32_t AIndex,
                                   int32_t ADashIndex, double /*AValue*/,
                                   TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const TNuo4SimpleBuffer& B = AData.Buffer();
    const TNuo4SymbolNote* N = B.Basic_GetSymbolNote(AIndex);
    if (!N || ADashIndex < 0 || N->GetRightLineCount() <= 0) return false;
    double D = 0;
    if (ADashIndex < N->GetRightLineCount())
        D = Spacing_ActionDeltaAt(AAction, N->Pos().x() + N->GetRightlineRect(ADashIndex).left());
    else if (const TNuo4Symbol* Next = B.Basic_GetSymbol(AIndex + 1))
        D = Spacing_ActionDeltaAt(AAction, Next->Pos().x());
    else if (AAction != nicaAWCoef_SetToNextGrid && AAction != nicaAWCoef_SetToPrevGrid)
        D = Spacing_ActionDeltaAt(AAction, 0);  // a step does not depend on where it is taken
    // A temporary voice has no justified lines: the advance always follows the dash.
    return CanAdjustRightlineSpacingCoef(B, AIndex, ADashIndex, D, false, AItems);
}

bool CanChangeControlOptions(const TrecNuo4AttachBranchData& AData, int32_t AIndex,
                             const TrecNuo4SymbolControlOptions& AOptions,
                             TNuo4ABCTextReplaceItems& AItems) {
    return CanChangeControlOptions(AData.Buffer(), AIndex, AOptions, AItems);
}

bool CanChangeNote_Pitch(const TrecNuo4AttachBranchData& AData, int32_t ANote,
                         const TrecNuo4Pitch& APitch, TNuo4ABCTextReplaceItems& AItems) {
    return CanChangeNote_Pitch(AData.Buffer(), ANote, APitch, AItems);
}

bool CanChangeNote_Pitches(const TrecNuo4AttachBranchData& AData, int32_t ANote,
                           const TNuo4Pitches& APitches, TNuo4ABCTextReplaceItems& AItems) {
    return CanChangeNote_Pitches(AData.Buffer(), ANote, APitches, AItems);
}

bool CanTranspose(const TrecNuo4AttachBranchData& AData, int32_t ANote, int32_t AOffset,
                  bool bSemitone, TNuo4ABCTextReplaceItems& AItems) {
    return CanTranspose(AData.Buffer(), ANote, AOffset, bSemitone, AItems);
}

bool CanTranspose_Range(const TrecNuo4AttachBranchData& AData, TKoRange ARange, int32_t AOffset,
                        bool bSemitone, TNuo4ABCTextReplaceItems& AItems) {
    return CanTranspose_Range(AData.Buffer(), ARange, AOffset, bSemitone, AItems);
}

}  // namespace nuo4
