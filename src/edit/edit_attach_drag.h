#pragma once
// A finished mouse drag of an attachments-section symbol turned into text: the item's offset
// moved, a copy written at the new place, or a line-shaped item's length changed at one end.

#include <cstdint>

#include "edit/edit_result.h"
#include "render/draw_utils.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

enum TNuo4AttachDragAction : uint8_t {
    adaMove,
    adaDuplicate,
    adaResizeToLeft,
    adaResizeToRight,
    adaResizeToTop,
    adaResizeToBottom,
};
const char* EnumName(TNuo4AttachDragAction AValue);

// AAttachIndex: an attach symbol made from the attachments section; AOffset: how far the
// pointer went, in millimetres of the page. A move rewrites the item's offset, a duplicate
// adds a copy of the item with the moved offset on the next line, a resize changes the length
// of an arc, volta, dynamic or brace (the far end stays; to the left and top the offset
// follows the grabbed end). Refused for other symbols, for a move that the written offset
// (two decimals) does not show, and for a length below the kind's least one.
bool CanDragAttachSymbol(const TNuo4SimpleBuffer& B, int32_t AAttachIndex,
                         TNuo4AttachDragAction AAction, TGPPointF AOffset,
                         TrecNuo4EditResult& AResult);

// A page symbol (memo, title block) dragged on its page: its item's page position moved by
// AOffset (mm), or with bDuplicate a copy of the item at the moved position on the next line.
// Refused when the written position (two decimals) would not change.
bool CanDragPageSymbol(const TNuo4SimpleBuffer& B, int32_t APageSymbolIndex, bool bDuplicate,
                       TGPPointF AOffset, TrecNuo4EditResult& AResult);

}  // namespace nuo4
