#pragma once
// The answer of an edit request: accepted or not, the replacements on the current score text,
// and where the caret, selection or highlight goes once the editor has applied them and
// rebuilt the buffer. A refused answer carries nothing to apply.

#include <string>

#include "format/abc_tokens.h"
#include "layout/layout_info.h"

namespace nuo4 {

struct TrecNuo4EditResult {
    bool bAccepted = false;
    TNuo4ABCTextReplaceItems Items;  // positions of the text the buffer was built from
    bool bWithSelection = false;
    TrecNuo4Selection NewSelection;
    bool bWithHighlight = false;
    TrecNuo4Highlight NewHighlight;
    // Why a request was refused, for scripts and logs (the editor chooses its own message).
    std::string Refusal;

    void SetToDefault() { *this = TrecNuo4EditResult(); }
    // Refused: every output cleared.
    static TrecNuo4EditResult Refused(std::string AWhy) {
        TrecNuo4EditResult R;
        R.Refusal = std::move(AWhy);
        return R;
    }
    static TrecNuo4EditResult Accepted(TNuo4ABCTextReplaceItems AItems) {
        TrecNuo4EditResult R;
        R.bAccepted = true;
        R.Items = std::move(AItems);
        return R;
    }
    TrecNuo4EditResult& WithSelection(const TrecNuo4Selection& ASelection) {
        bWithSelection = true;
        NewSelection = ASelection;
        return *this;
    }
    TrecNuo4EditResult& WithHighlight(const TrecNuo4Highlight& AHighlight) {
        bWithHighlight = true;
        NewHighlight = AHighlight;
        return *this;
    }
};

}  // namespace nuo4
