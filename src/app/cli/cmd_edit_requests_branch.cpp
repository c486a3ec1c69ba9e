// Rows of the requests inside a temporary voice of `nuo4-cli edit`: each acts on the voice of
// the highlighted attach symbol (--highlight attach:I), and its answer, made on the voice text,
// is moved into the score text; the voice stays highlighted.

#include "app/cli/cmd_edit_requests.h"
#include "edit/edit_branch.h"
#include "layout/branch_data.h"
#include "layout/simple_buffer.h"

namespace nuo4::cli {

namespace {

using TVoiceRequest = bool (*)(const TrecNuo4AttachBranchData& D, const TArgs& A,
                               TNuo4ABCTextReplaceItems& I);

bool InBranch(const TNuo4SimpleBuffer& B, const TArgs& A, TrecNuo4EditResult& R,
              TVoiceRequest ARequest) {
    const int32_t Attach = B.InternalStatus.Highlight.AttachIndex;
    const TrecNuo4AttachBranchData* D = Branch_GetData(B, Attach);
    if (!D) {
        R = TrecNuo4EditResult::Refused(
            "the highlight is no temporary voice (--highlight attach:I)");
        return false;
    }
    TNuo4ABCTextReplaceItems Voice, Score;
    if (!ARequest(*D, A, Voice)) {
        R = TrecNuo4EditResult::Refused("the request does not apply inside this voice");
        return false;
    }
    if (!Branch_ItemsToScoreText(B, Attach, Voice, Score)) {
        R = TrecNuo4EditResult::Refused("the voice's text is not found in the score");
        return false;
    }
    R = TrecNuo4EditResult::Accepted(std::move(Score));
    R.WithHighlight(B.InternalStatus.Highlight);
    return true;
}

}  // namespace

std::vector<TEditRequestRow> EditRequestRows_Branch() {
    using B_ = TNuo4SimpleBuffer;
    using S_ = TrecNuo4EditState;
    using R_ = TrecNuo4EditResult;
    using D_ = TrecNuo4AttachBranchData;
    using I_ = TNuo4ABCTextReplaceItems;
    return {
        {"branch-set-aw", "I VALUE", "the advance of the voice's symbol I set outright", 2, 2,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return InBranch(B, A, R, [](const D_& D, const TArgs& A, I_& I) {
                 return CanChangeAWCoef(D, EditArg_Int(A, 0), EditArg_Double(A, 1), I);
             });
         }},
        {"branch-aw", "I ACTION [VALUE]", "the advance of the voice's symbol I by an action", 2, 3,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return InBranch(B, A, R, [](const D_& D, const TArgs& A, I_& I) {
                 const double V = A.size() > 2 ? EditArg_Double(A, 2) : 0;
                 return CanChangeAWCoef(D, EditArg_Int(A, 0), EditArg_AWAction(A, 1), V, I);
             });
         }},
        {"branch-dash-spacing", "I DASH ACTION",
         "the gap before dash DASH of the voice's note I (past the dashes: its advance)", 3, 3,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return InBranch(B, A, R, [](const D_& D, const TArgs& A, I_& I) {
                 return CanAdjustRightlineSpacingCoef(D, EditArg_AWAction(A, 2), EditArg_Int(A, 0),
                                                      EditArg_Int(A, 1), 0, I);
             });
         }},
        {"branch-spacing", "POS ACTION [VALUE]",
         "the gap after position POS of the voice, dashes counted (as the in-symbol edit walks)", 2,
         3,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const TrecNuo4Highlight H = B.InternalStatus.Highlight;
             const double V = A.size() > 2 ? EditArg_Double(A, 2) : 0;
             if (!EditAnswerItems(R, [&](I_& I) {
                     return CanEditAttachBranch_AdjustSymbolSpacing(
                         B, H.AttachIndex, EditArg_Int(A, 0), EditArg_AWAction(A, 1), V, I);
                 }))
                 return false;
             R.WithHighlight(H);
             return true;
         }},
        {"branch-transpose", "OFFSET [SEMITONE] [A,B]",
         "the voice's notes A through B (all) moved by OFFSET degrees or semitones", 1, 3,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return InBranch(B, A, R, [](const D_& D, const TArgs& A, I_& I) {
                 const bool bSemitone = A.size() > 1 && EditArg_Bool(A, 1);
                 const TKoRange All(0, D.Basic_GetCount());
                 return CanTranspose_Range(D, EditArg_OptRange(A, 2, All), EditArg_Int(A, 0),
                                           bSemitone, I);
             });
         }},
    };
}

}  // namespace nuo4::cli
