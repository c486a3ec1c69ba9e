#include "editor/edit_mode.h"

#include "editor/edit_state_check.h"

namespace nuo4 {

const char* EnumName(TNuo4EditMode AValue) {
    static const char* const Names[] = {"emStandard", "emExtend", "emPage", "emLayout"};
    return AValue < Nuo4EditModeCount ? Names[AValue] : "?";
}

QString Nuo4EditModeName(TNuo4EditMode AValue) {
    switch (AValue) {
        case emStandard:
            return QStringLiteral("标准");
        case emExtend:
            return QStringLiteral("扩展");
        case emPage:
            return QStringLiteral("页面");
        case emLayout:
            return QStringLiteral("排版");
    }
    return QString();
}

bool Nuo4ChangeEditModeStatus(TNuo4SimpleBuffer& B, TNuo4EditMode AOld, TNuo4EditMode ANew,
                              int32_t ACentrePage) {
    TrecNuo4SimpleBufferInternalStatus& S = B.InternalStatus;
    S.WithinSymbolEditStatusInfo.SetToDefault();
    if (AOld == ANew) return false;
    TrecNuo4Selection& Sel = S.Selection;
    TrecNuo4Highlight& H = S.Highlight;
    auto ClearSelection = [&] { Sel.CaretPos_Start = Sel.CaretPos_End; };
    switch (ANew) {
        case emStandard:
            if (Sel.IsEmpty() && (AOld == emExtend || AOld == emLayout) && !H.IsEmpty())
                Sel = Nuo4SelectionFromHighlight(B);
            H.Clear();
            break;
        case emExtend:
            if (!Sel.IsEmpty()) {
                ClearSelection();
                H.Clear();
            } else if (H.IsEmpty()) {
                if (B.Basic_GetCount() > 0)
                    H.BasicIndex = std::clamp(Sel.CaretPos_End.GetEditPos(), 0, B.Basic_GetLast());
            } else if (AOld != emLayout) {
                H.Clear();
            }
            break;
        case emPage:
            ClearSelection();
            H.Clear();
            S.CurrPageIndexForPageMode = ACentrePage;
            break;
        case emLayout:
            if (!Sel.IsEmpty() || AOld != emExtend || H.IsEmpty()) {
                H.Clear();
            } else if (H.IsBasic()) {
                Sel = Nuo4SelectionFromHighlight(B);
                H.Clear();
            }
            // A highlighted attachment coming from extend mode stays highlighted.
            break;
    }
    return true;
}

}  // namespace nuo4
