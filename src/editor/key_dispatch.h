#pragma once
// From a key event to an edit: the key is normalised to its physical key, looked up in the key
// table and run through the command pattern of edit_commands.h. No widget is needed: a host
// without a window (tests, nuo4-cli type) types exactly as the editor does.

#include <QKeyEvent>
#include <cstdint>

#include "editor/edit_commands.h"
#include "editor/key_table.h"

namespace nuo4 {

// The physical key of a key as Qt reports it: Qt names the shifted character (Shift+9 is
// Key_ParenLeft, Ctrl+Shift+1 Key_Exclam) and flags keypad keys. AScanCode is the X11/evdev
// key code when the platform gives one (0 otherwise): it names the key position directly; else
// a US-layout shift map gives the unshifted key. Keypad keys without NumLock (Key_End ...)
// become their digits.
TrecNuo4PhysicalKey Nuo4PhysicalKeyOf(int AQtKey, Qt::KeyboardModifiers AModifiers,
                                      quint32 AScanCode);
TrecNuo4PhysicalKey Nuo4PhysicalKeyOfEvent(const QKeyEvent& AEvent);

// The key-down chain of the score view after the focus step: an edit inside a symbol, the
// general keys, (stop on the text tab), the key handler of the edit mode. True when a stage
// took the key; on the score tab the caller consumes every key anyway. bTextTab: the score
// text tab is shown.
bool Nuo4DispatchKeyDown(INuo4EditorHost& H, const TrecNuo4PhysicalKey& AKey, bool bTextTab);
// Whether the chain would take the key (for shortcut overrides); changes nothing.
bool Nuo4KeyIsTaken(const INuo4EditorHost& H, const TrecNuo4PhysicalKey& AKey, bool bTextTab);
// Key release: a released note key auditions the note at the caret.
void Nuo4DispatchKeyUp(INuo4EditorHost& H, const TrecNuo4PhysicalKey& AKey);

// The Enter question's condition: true when a return at the caret would split a measure, that
// is the caret is neither at a line start, nor at a line end (the position just left of a
// line's return counts as its end), nor right of a bar line.
bool Nuo4ReturnSplitsMeasure(const TNuo4SimpleBuffer& B);
inline constexpr const char16_t* Nuo4ReturnSplitQuestion =
    u"在此处插入回车将会把一个小节从中间断开。是否继续？";

// The text shown for a character typed through an input method in standard mode.
QString Nuo4HanZiInputHint(const QString& AChar);

}  // namespace nuo4
