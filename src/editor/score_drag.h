#pragma once
// The mouse drag of the score view as a state machine apart from any widget: the press stores
// the grabbed symbol, moves past the start distance decide the kind of drag from the grab
// point and the modifiers, and the release answers the edit to ask for. Device pixels
// throughout; the view converts to millimetres.

#include <QPoint>
#include <QRectF>
#include <cstdint>

#include "edit/edit_attach_drag.h"
#include "render/symbol_types.h"

namespace nuo4 {

enum TNuo4DragStatus : uint8_t {
    dsNone,
    dsBefore,
    dsNoSymbol,
    dsMoveAny,
    dsMoveLimit,
    dsResizeToLeft,
    dsResizeToRight,
    dsResizeToTop,
    dsResizeToBottom,
    dsDuplicateAny,
    dsDuplicateLimit,
};
const char* EnumName(TNuo4DragStatus AValue);

enum TNuo4DragPosTypeForLineSymbol : uint8_t { dptCenter, dptLeft, dptRight, dptTop, dptBottom };
const char* EnumName(TNuo4DragPosTypeForLineSymbol AValue);

enum TNuo4SymbolResizeType : uint8_t { srtToLeft, srtToRight, srtToTop, srtToBottom };

// From a dragged attachment's reference point to the symbol it belongs to.
struct TrecNuo4Line {
    QPointF Pt_from, Pt_To;
};

struct TrecNuo4DragInfo_ResizeInfo {
    TNuo4SymbolResizeType aType = srtToRight;
    double Delta = 0;  // device pixels, positive outwards
};

// What the press grabbed: the kind decides which drags are possible.
enum TNuo4DragSymbolKind : uint8_t {
    dskNone,        // empty space
    dskAttach,      // an attachments symbol
    dskLineAttach,  // a line-shaped one (arc, volta, dynamic, brace): its ends resize it
    dskLyric,
    dskPage,
};

struct TrecNuo4DragInfo_MouseDown {
    QPoint MousePos;
    TrecNuo4SymbolBufferIndex SymbolBufferIndex;
    TNuo4DragSymbolKind Kind = dskNone;
    QRectF SymbolRect;
    int32_t BasicIndexAttachTo = -1;
    TrecNuo4Line AttachLine;
};

struct TrecNuo4DragInfo_MouseMove {
    QPoint MousePos;
    int32_t BasicIndexAttachTo = -1;
    QRectF SymbolRect;  // the feedback rectangle
    TrecNuo4Line AttachLine;
    TrecNuo4DragInfo_ResizeInfo ResizeInfo;
};

struct TrecNuo4DragInfo {
    TNuo4DragStatus Status = dsNone;
    TrecNuo4DragInfo_MouseDown MouseDown;
    TrecNuo4DragInfo_MouseMove MouseMove;

    void SetToDefault() { *this = TrecNuo4DragInfo(); }
    bool IsDragging() const { return Status > dsBefore; }
    bool IsMoving() const { return Status == dsMoveAny || Status == dsMoveLimit; }
    bool IsResizing() const { return Status >= dsResizeToLeft && Status <= dsResizeToBottom; }
    bool IsDuplicating() const { return Status == dsDuplicateAny || Status == dsDuplicateLimit; }
    bool IsLimited() const { return Status == dsMoveLimit || Status == dsDuplicateLimit; }
    // A drag that shows feedback and ends in an edit.
    bool HasFeedback() const { return IsMoving() || IsResizing() || IsDuplicating(); }
};

// Where a line-shaped symbol was grabbed: its ends (outer quarters along its longer side)
// or its middle.
TNuo4DragPosTypeForLineSymbol GetDragPosForLineSymbolWhenStart(const QRectF& ARect,
                                                               QPointF APressPos);

// The press: a fresh state in dsBefore with what was grabbed.
void Nuo4DragStart(TrecNuo4DragInfo& D, const TrecNuo4DragInfo_MouseDown& ADown);
// A move with the button down. Until the pointer has gone AStartDistance pixels (Manhattan)
// from the press the state stays dsBefore; then the kind of drag is decided once, and later
// moves update the feedback (Shift and Ctrl are read on every move for moves and copies).
// True when the feedback changed.
bool Nuo4DragMove(TrecNuo4DragInfo& D, QPoint APos, Qt::KeyboardModifiers AModifiers,
                  int AStartDistance);
// The pointer's offset from the press as the drag uses it: a limited drag keeps the larger
// component only, a resize the component along its side.
QPoint Nuo4DragOffset(const TrecNuo4DragInfo& D);

// What a finished drag asks the document for.
struct TrecNuo4DragRequest {
    bool bValid = false;
    TrecNuo4SymbolBufferIndex SymbolBufferIndex;
    TNuo4AttachDragAction Action = adaMove;
    QPoint Offset;  // device pixels
};
TrecNuo4DragRequest Nuo4DragRequestOf(const TrecNuo4DragInfo& D);

}  // namespace nuo4
