#pragma once
// Keys of the score view: which command a key press means in an edit mode. Kept apart from the
// widgets so that it runs headless. The table is data: one row per physical key and exact set
// of modifiers. A key is looked up by its unshifted key (Shift+9 is the 9 key with Shift, not
// "("), with the keypad told apart by a flag of its own (see key_dispatch.h for how a Qt key
// event becomes such a key).

#include <QKeyCombination>
#include <cstdint>
#include <vector>

#include "editor/edit_mode.h"

namespace nuo4 {

enum TNuo4EditorCommand : uint8_t {
    ecNone,
    ecInsertNote,   // Param: the pitch digit 0..7 (8: the default drum pitch); Param2: octave
    ecDeleteLeft,   // Backspace
    ecDeleteRight,  // Delete
    ecMoveCaret,    // Param: a caret move direction (TNuo4MoveDirection); bExtend with Shift
    ecInsertBarline,
    ecToggleHighlight,  // Tab in extend and page modes
    ecMoveHighlight,    // Param: a caret move direction, left or right
    ecChordPitch,       // Param, Param2 as ecInsertNote: add or remove that chord pitch
    ecReturn,           // Enter
    ecPageBreak,
    ecSelectAll,
    ecToggleDash,
    ecToggleUnderline,
    ecToggleDot,
    ecOctave,        // Param: 0 up, 1 down
    ecTranspose,     // Param: +1 or -1 natural step
    ecDurationStep,  // Param: -1 shorter, +1 longer
    ecChordAdd3rd,   // a chord note a natural third above
    ecChordDeleteHighest,
    ecChordAdjustHighest,  // Param: 0 up, 1 down
    ecAccompMarker,        // Param: 0 start, 1 end
    ecMeter,               // Param / Param2: the meter
    ecToggleArc,           // over the selection
    ecToggleArticulation,  // on the note left of the caret
    ecDurationMenu,        // Tab, CapsLock (unless Tab is the beam-group key)
    ecDVGroupKey,          // NumLock; Space or Tab by the option
    ecSpaceKey,            // Space when it is not the beam-group key
    ecClipboard,           // Param: 0 copy, 1 cut, 2 paste
    ecDeleteReturn,        // layout mode: Param 0 left, 1 right of the caret
    ecBraceAndAlign,       // layout mode: indent, brace and align the lines of a system
    // Commands of the window (general keys): the host runs them.
    ecSwitchTab,
    ecSilenceAudition,
    ecZoomStep,  // Param: +1 in, -1 out
    ecSave,
    ecUndo,
    ecRedo,
    ecToggleMode,  // F1
    ecCycleMode,   // Shift+F1
    ecSetMode,     // Param: the mode
    ecToggleAuxInfo,
    ecJustifyAll,
    ecToggleFloatToolWindow,
    // A command whose dialog or request does not exist yet: says so on the status bar.
    ecPending,  // Pending: its caption
};
const char* EnumName(TNuo4EditorCommand AValue);

struct TrecNuo4KeyCommand {
    TNuo4EditorCommand Command = ecNone;
    int32_t Param = 0;
    bool bExtend = false;  // the caret move extends the selection
    int32_t Param2 = 0;
    const char* Pending = nullptr;  // UTF-8 caption of an ecPending command
};

// Where a row applies: in one edit mode of the score tab, in every mode of the score tab (the
// general keys), or on both tabs.
enum TNuo4KeyScope : uint8_t { ksMode, ksScore, ksBothTabs };
// Which letter-key layout a row belongs to; most rows belong to both.
enum TNuo4KeyLayout : uint8_t { klBoth, klThreeOctaves, klFourOctaves };
// Which option makes a row the beam-group key.
enum TNuo4KeyOption : uint8_t { koAlways, koSpaceIsDVGroupKey, koTabIsDVGroupKey };

// A key as the table reads it: the unshifted key, the exact modifiers without the keypad flag,
// and whether it sits on the keypad.
struct TrecNuo4PhysicalKey {
    Qt::Key Key = Qt::Key_unknown;
    Qt::KeyboardModifiers Modifiers;
    bool bKeypad = false;
    bool operator==(const TrecNuo4PhysicalKey&) const = default;
};

enum TNuo4KeypadMatch : uint8_t { kpEither, kpMain, kpKeypad };

struct TrecNuo4KeyTableItem {
    TNuo4KeyScope Scope;
    TNuo4EditMode Mode;  // ksMode rows only
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
    TNuo4KeypadMatch Keypad;
    TNuo4KeyLayout Layout;
    TNuo4KeyOption Option;
    TrecNuo4KeyCommand Command;
};

// The options that choose between rows.
struct TrecNuo4KeyOptions {
    bool bFourOctaves = false;       // letter keys enter four octaves
    bool bTabIsDVGroupKey = false;   // Tab instead of Space is the beam-group key
    bool bPopupOnDVGroupKey = true;  // the beam-group key pops up its menu
};

// The whole table, in lookup order.
const std::vector<TrecNuo4KeyTableItem>& Nuo4KeyTable();
// The first row for the key in the mode (general rows first); null when no row takes it.
// bTextTab: the score text tab is shown (only ksBothTabs rows apply there).
const TrecNuo4KeyTableItem* Nuo4FindKeyRow(TNuo4EditMode AMode, const TrecNuo4PhysicalKey& AKey,
                                           const TrecNuo4KeyOptions& AOptions,
                                           bool bTextTab = false);
// The command of a key in a mode; ecNone when the score view does not take it. Takes a key
// combination as Qt reports it (shifted characters and the keypad flag are normalised).
TrecNuo4KeyCommand Nuo4LookupKey(TNuo4EditMode AMode, QKeyCombination AKey,
                                 const TrecNuo4KeyOptions& AOptions = TrecNuo4KeyOptions());

// The hot keys of pop-up menu items: items 0..8 get "1".."9", 9..34 "A".."Z", the default
// item a blank; others none (0).
char GetHotKeyFromMenuItemIndex(int32_t AIndex, int32_t ADefaultIndex);
// The label of the hot key: "1", "A", "空格" for the blank, "" for none.
QString GetHotKeyStringFromMenuItemIndex(int32_t AIndex, int32_t ADefaultIndex);

}  // namespace nuo4
