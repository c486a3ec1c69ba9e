#include "editor/score_drag.h"

#include <cstdlib>

namespace nuo4 {

const char* EnumName(TNuo4DragStatus AValue) {
    static const char* const Names[] = {"dsNone",          "dsBefore",        "dsNoSymbol",
                                        "dsMoveAny",       "dsMoveLimit",     "dsResizeToLeft",
                                        "dsResizeToRight", "dsResizeToTop",   "dsResizeToBottom",
                                        "dsDuplicateAny",  "dsDuplicateLimit"};
    return AValue <= dsDuplicateLimit ? Names[AValue] : "?";
}

const char* EnumName(TNuo4DragPosTypeForLineSymbol AValue) {
    static const char* const Names[] = {"dptCenter", "dptLeft", "dptRight", "dptTop", "dptBottom"};
    return AValue <= dptBottom ? Names[AValue] : "?";
}

TNuo4DragPosTypeForLineSymbol GetDragPosForLineSymbolWhenStart(const QRectF& R, QPointF P) {
    if (R.width() < R.height()) {
        if (P.y() < R.top() + R.height() / 4) return dptTop;
        if (P.y() > R.bottom() - R.height() / 4) return dptBottom;
        return dptCenter;
    }
    if (P.x() < R.left() + R.width() / 4) return dptLeft;
    if (P.x() > R.right() - R.width() / 4) return dptRight;
    return dptCenter;
}

void Nuo4DragStart(TrecNuo4DragInfo& D, const TrecNuo4DragInfo_MouseDown& ADown) {
    D.SetToDefault();
    D.Status = dsBefore;
    D.MouseDown = ADown;
    D.MouseMove.MousePos = ADown.MousePos;
    D.MouseMove.BasicIndexAttachTo = ADown.BasicIndexAttachTo;
    D.MouseMove.SymbolRect = ADown.SymbolRect;
    D.MouseMove.AttachLine = ADown.AttachLine;
}

namespace {

TNuo4DragStatus MoveStatusByModifiers(Qt::KeyboardModifiers M) {
    const bool bShift = M & Qt::ShiftModifier, bCtrl = M & Qt::ControlModifier;
    if (bCtrl) return bShift ? dsDuplicateLimit : dsDuplicateAny;
    return bShift ? dsMoveLimit : dsMoveAny;
}

TNuo4DragStatus FirstStatus(const TrecNuo4DragInfo& D, Qt::KeyboardModifiers M) {
    switch (D.MouseDown.Kind) {
        case dskNone:
            return dsNoSymbol;
        case dskLyric:
            return dsMoveAny;
        case dskLineAttach:
            switch (GetDragPosForLineSymbolWhenStart(D.MouseDown.SymbolRect,
                                                     QPointF(D.MouseDown.MousePos))) {
                case dptTop:
                    return dsResizeToTop;
                case dptBottom:
                    return dsResizeToBottom;
                case dptLeft:
                    return dsResizeToLeft;
                case dptRight:
                    return dsResizeToRight;
                case dptCenter:
                    break;
            }
            return MoveStatusByModifiers(M);
        default:
            return MoveStatusByModifiers(M);
    }
}

}  // namespace

QPoint Nuo4DragOffset(const TrecNuo4DragInfo& D) {
    const QPoint O = D.MouseMove.MousePos - D.MouseDown.MousePos;
    switch (D.Status) {
        case dsMoveLimit:
        case dsDuplicateLimit:
            return std::abs(O.x()) > std::abs(O.y()) ? QPoint(O.x(), 0) : QPoint(0, O.y());
        case dsResizeToLeft:
        case dsResizeToRight:
            return QPoint(O.x(), 0);
        case dsResizeToTop:
        case dsResizeToBottom:
            return QPoint(0, O.y());
        case dsMoveAny:
        case dsDuplicateAny:
            return O;
        default:
            return QPoint();
    }
}

bool Nuo4DragMove(TrecNuo4DragInfo& D, QPoint APos, Qt::KeyboardModifiers M, int AStartDistance) {
    if (D.Status == dsNone || D.Status == dsNoSymbol) return false;
    if (D.Status == dsBefore) {
        if ((APos - D.MouseDown.MousePos).manhattanLength() < AStartDistance) return false;
        D.Status = FirstStatus(D, M);
        if (D.Status == dsNoSymbol) return false;
    } else if (D.IsMoving() || D.IsDuplicating()) {
        D.Status = MoveStatusByModifiers(M);
    }
    const TrecNuo4DragInfo_MouseMove Old = D.MouseMove;
    D.MouseMove.MousePos = APos;
    const QPoint O = Nuo4DragOffset(D);
    const QRectF R = D.MouseDown.SymbolRect;
    TrecNuo4DragInfo_MouseMove& Mv = D.MouseMove;
    Mv.AttachLine = D.MouseDown.AttachLine;
    if (D.IsResizing()) {
        Mv.SymbolRect = R;
        switch (D.Status) {
            case dsResizeToLeft:
                Mv.SymbolRect.setLeft(R.left() + O.x());
                Mv.ResizeInfo = {srtToLeft, -double(O.x())};
                // The reference point is the symbol's start: it follows the grabbed end.
                Mv.AttachLine.Pt_from += QPointF(O);
                break;
            case dsResizeToRight:
                Mv.SymbolRect.setRight(R.right() + O.x());
                Mv.ResizeInfo = {srtToRight, double(O.x())};
                break;
            case dsResizeToTop:
                Mv.SymbolRect.setTop(R.top() + O.y());
                Mv.ResizeInfo = {srtToTop, -double(O.y())};
                Mv.AttachLine.Pt_from += QPointF(O);
                break;
            default:
                Mv.SymbolRect.setBottom(R.bottom() + O.y());
                Mv.ResizeInfo = {srtToBottom, double(O.y())};
                break;
        }
        Mv.SymbolRect = Mv.SymbolRect.normalized();
    } else {
        Mv.SymbolRect = R.translated(QPointF(O));
        Mv.AttachLine.Pt_from += QPointF(O);
    }
    return Mv.SymbolRect != Old.SymbolRect || Mv.AttachLine.Pt_from != Old.AttachLine.Pt_from;
}

TrecNuo4DragRequest Nuo4DragRequestOf(const TrecNuo4DragInfo& D) {
    TrecNuo4DragRequest R;
    if (!D.HasFeedback()) return R;
    R.Offset = Nuo4DragOffset(D);
    if (R.Offset.isNull()) return R;
    R.bValid = true;
    R.SymbolBufferIndex = D.MouseDown.SymbolBufferIndex;
    switch (D.Status) {
        case dsDuplicateAny:
        case dsDuplicateLimit:
            R.Action = adaDuplicate;
            break;
        case dsResizeToLeft:
            R.Action = adaResizeToLeft;
            break;
        case dsResizeToRight:
            R.Action = adaResizeToRight;
            break;
        case dsResizeToTop:
            R.Action = adaResizeToTop;
            break;
        case dsResizeToBottom:
            R.Action = adaResizeToBottom;
            break;
        default:
            R.Action = adaMove;
            break;
    }
    return R;
}

}  // namespace nuo4
