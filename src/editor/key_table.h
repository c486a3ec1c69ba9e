#pragma once
// Keys of the score view: which command a key press means in an edit mode. Kept apart from the
// widgets so that it runs headless. Every key has one owner: the keys listed here belong to the
// score view (it takes them before any menu shortcut); the menu's own shortcuts are never listed.

#include <QKeyCombination>
#include <cstdint>
#include <vector>

#include "editor/edit_mode.h"

namespace nuo4 {

enum TNuo4EditorCommand : uint8_t {
    ecNone,
    ecInsertNote,   // Param: the pitch digit 0..7
    ecDeleteLeft,   // Backspace
    ecDeleteRight,  // Delete
    ecMoveCaret,    // Param: a caret move direction (TNuo4MoveDirection); bExtend with Shift
    ecInsertBarline,
    ecToggleHighlight,  // Tab in extend and page modes
    ecMoveHighlight,    // Param: a caret move direction, left or right
};
const char* EnumName(TNuo4EditorCommand AValue);

struct TrecNuo4KeyCommand {
    TNuo4EditorCommand Command = ecNone;
    int32_t Param = 0;
    bool bExtend = false;  // the caret move extends the selection
};

struct TrecNuo4KeyTableItem {
    TNuo4EditMode Mode;
    QKeyCombination Key;
    TrecNuo4KeyCommand Command;
};

// The whole table, in lookup order.
const std::vector<TrecNuo4KeyTableItem>& Nuo4KeyTable();
// The command of a key in a mode; ecNone when the score view does not take it. Keypad digits
// count as digits.
TrecNuo4KeyCommand Nuo4LookupKey(TNuo4EditMode AMode, QKeyCombination AKey);

}  // namespace nuo4
