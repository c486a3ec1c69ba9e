#include "editor/key_table.h"

#include "editor/key_dispatch.h"
#include "layout/buffer_caret.h"

namespace nuo4 {

const char* EnumName(TNuo4EditorCommand AValue) {
    static const char* const Names[] = {"ecNone",
                                        "ecInsertNote",
                                        "ecDeleteLeft",
                                        "ecDeleteRight",
                                        "ecMoveCaret",
                                        "ecInsertBarline",
                                        "ecToggleHighlight",
                                        "ecMoveHighlight",
                                        "ecChordPitch",
                                        "ecReturn",
                                        "ecPageBreak",
                                        "ecSelectAll",
                                        "ecToggleDash",
                                        "ecToggleUnderline",
                                        "ecToggleDot",
                                        "ecOctave",
                                        "ecTranspose",
                                        "ecDurationStep",
                                        "ecChordAdd3rd",
                                        "ecChordDeleteHighest",
                                        "ecChordAdjustHighest",
                                        "ecAccompMarker",
                                        "ecMeter",
                                        "ecToggleArc",
                                        "ecToggleArticulation",
                                        "ecDurationMenu",
                                        "ecDVGroupKey",
                                        "ecSpaceKey",
                                        "ecClipboard",
                                        "ecDeleteReturn",
                                        "ecBraceAndAlign",
                                        "ecSwitchTab",
                                        "ecSilenceAudition",
                                        "ecZoomStep",
                                        "ecSave",
                                        "ecUndo",
                                        "ecRedo",
                                        "ecToggleMode",
                                        "ecCycleMode",
                                        "ecSetMode",
                                        "ecToggleAuxInfo",
                                        "ecJustifyAll",
                                        "ecToggleFloatToolWindow",
                                        "ecPending"};
    return AValue <= ecPending ? Names[AValue] : "?";
}

namespace {

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Shift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers Alt = Qt::AltModifier;
const Qt::KeyboardModifiers CtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
const Qt::KeyboardModifiers CtrlAlt = Qt::ControlModifier | Qt::AltModifier;

// The keys of the design are Windows virtual keys; with the unshifted keys of this table they
// are: VK 186 (OEM_1) Key_Semicolon, VK 189 (OEM_MINUS) Key_Minus, VK 191 (OEM_2) Key_Slash,
// VK 192 (OEM_3, left of 1) Key_QuoteLeft, VK 220 (OEM_5) Key_Backslash, VK 124 (F13)
// Key_F13.
std::vector<TrecNuo4KeyTableItem> MakeTable() {
    std::vector<TrecNuo4KeyTableItem> T;
    TNuo4KeyScope Scope = ksScore;
    TNuo4EditMode Mode = emStandard;
    TNuo4KeypadMatch Pad = kpEither;
    TNuo4KeyLayout Layout = klBoth;
    TNuo4KeyOption Option = koAlways;
    auto Add = [&](Qt::Key K, Qt::KeyboardModifiers M, TNuo4EditorCommand C, int32_t P = 0,
                   int32_t P2 = 0, bool bExtend = false) {
        T.push_back({Scope, Mode, K, M, Pad, Layout, Option, {C, P, bExtend, P2, nullptr}});
    };
    auto Pending = [&](Qt::Key K, Qt::KeyboardModifiers M, const char* ACaption) {
        T.push_back({Scope, Mode, K, M, Pad, Layout, Option, {ecPending, 0, false, 0, ACaption}});
    };

    // ---- General keys (score tab, every mode) ------------------------------------------------
    Scope = ksBothTabs;
    Add(Qt::Key_Tab, Ctrl, ecSwitchTab);
    Scope = ksScore;
    Add(Qt::Key_Escape, None, ecSilenceAudition);
    Add(Qt::Key_PageUp, Ctrl, ecZoomStep, 1);
    Add(Qt::Key_PageDown, Ctrl, ecZoomStep, -1);
    Add(Qt::Key_S, Ctrl, ecSave);
    Add(Qt::Key_Z, Ctrl, ecUndo);
    Add(Qt::Key_Z, CtrlShift, ecRedo);
    Add(Qt::Key_F1, None, ecToggleMode);
    Add(Qt::Key_F1, Shift, ecCycleMode);
    for (int M = 0; M < Nuo4EditModeCount; ++M) Add(Qt::Key(Qt::Key_F1 + M), Ctrl, ecSetMode, M);
    Add(Qt::Key_F9, None, ecToggleAuxInfo);
    Add(Qt::Key_F10, None, ecJustifyAll);
    Pending(Qt::Key_F11, None, "标题块对话框");
    Add(Qt::Key_F12, None, ecToggleFloatToolWindow);

    // ---- Standard mode: note keys ------------------------------------------------------------
    Scope = ksMode;
    Mode = emStandard;
    // Per layout: the octave of the digit row, the Q row, the A row and the Z row.
    struct {
        TNuo4KeyLayout Layout;
        int Octaves[4];
    } const Layouts[] = {{klThreeOctaves, {0, 1, 0, -1}}, {klFourOctaves, {1, 0, -1, -2}}};
    const char* const Rows[3] = {"QWERTYU", "ASDFGHJ", "ZXCVBNM"};
    for (const auto& L : Layouts) {
        Layout = L.Layout;
        for (TNuo4EditorCommand C : {ecInsertNote, ecChordPitch}) {
            const Qt::KeyboardModifiers M = C == ecInsertNote ? None : CtrlShift;
            Pad = kpMain;
            for (int D = 1; D <= 7; ++D) Add(Qt::Key(Qt::Key_0 + D), M, C, D, L.Octaves[0]);
            Pad = kpEither;
            for (int R = 0; R < 3; ++R)
                for (int D = 1; D <= 7; ++D)
                    Add(Qt::Key(Rows[R][D - 1]), M, C, D, L.Octaves[R + 1]);
        }
    }
    Layout = klBoth;
    Pad = kpMain;
    Add(Qt::Key_0, None, ecInsertNote, 0);
    Add(Qt::Key_8, None, ecInsertNote, 8);
    Pad = kpEither;
    Add(Qt::Key_K, None, ecInsertNote, 0);
    Add(Qt::Key_X, Shift, ecInsertNote, 8);
    // The keypad, the same in both layouts; Ctrl+Shift adds its pitch to the chord.
    Pad = kpKeypad;
    struct {
        Qt::Key Key;
        Qt::KeyboardModifiers Mods;
        int Digit, Octave;
    } const Keypad[] = {
        {Qt::Key_0, None, 5, -1},       {Qt::Key_Period, None, 6, -1}, {Qt::Key_1, None, 1, 0},
        {Qt::Key_2, None, 2, 0},        {Qt::Key_3, None, 3, 0},       {Qt::Key_4, None, 4, 0},
        {Qt::Key_5, None, 5, 0},        {Qt::Key_6, None, 6, 0},       {Qt::Key_7, None, 7, 0},
        {Qt::Key_8, None, 1, 1},        {Qt::Key_9, None, 2, 1},       {Qt::Key_Plus, None, 3, 1},
        {Qt::Key_Asterisk, None, 0, 0}, {Qt::Key_NumLock, Alt, 4, 1},  {Qt::Key_Slash, Alt, 5, 1},
        {Qt::Key_Asterisk, Alt, 6, 1},  {Qt::Key_Minus, Alt, 7, 1},
    };
    for (const auto& K : Keypad) Add(K.Key, K.Mods, ecInsertNote, K.Digit, K.Octave);
    Pad = kpEither;
    Add(Qt::Key_F13, None, ecInsertNote, 7, -1);
    Add(Qt::Key_Left, Alt, ecInsertNote, 1, -1);
    Add(Qt::Key_Down, Alt, ecInsertNote, 2, -1);
    Add(Qt::Key_Right, Alt, ecInsertNote, 3, -1);
    Add(Qt::Key_Up, Alt, ecInsertNote, 4, -1);

    // ---- Standard mode: other keys -----------------------------------------------------------
    struct {
        Qt::KeyboardModifiers Mods;
        Qt::Key Key;
        TNuo4MoveDirection Dir;
    } const Moves[] = {
        {None, Qt::Key_Left, mdLeft},
        {None, Qt::Key_Right, mdRight},
        {None, Qt::Key_Up, mdUp},
        {None, Qt::Key_Down, mdDown},
        {None, Qt::Key_Home, mdLineStart},
        {None, Qt::Key_End, mdLineEnd},
        {Ctrl, Qt::Key_Home, mdDocStart},
        {Ctrl, Qt::Key_End, mdDocEnd},
        {None, Qt::Key_PageDown, mdNextPage},
        {None, Qt::Key_PageUp, mdPrevPage},
        {Ctrl, Qt::Key_Right, mdNextMeasure},
        {Ctrl, Qt::Key_Left, mdPrevMeasure},
    };
    for (TNuo4EditMode M : {emStandard, emLayout}) {
        Mode = M;
        for (const auto& Mv : Moves) {
            // In standard mode Ctrl+Left/Right change the duration; Shift+PgUp/PgDn edit chords.
            const bool bMeasure = Mv.Dir == mdNextMeasure || Mv.Dir == mdPrevMeasure;
            const bool bPage = Mv.Dir == mdNextPage || Mv.Dir == mdPrevPage;
            if (M == emStandard && bMeasure) continue;
            Add(Mv.Key, Mv.Mods, ecMoveCaret, Mv.Dir);
            if (!(M == emStandard && bPage))
                Add(Mv.Key, Mv.Mods | Shift, ecMoveCaret, Mv.Dir, 0, true);
        }
    }
    Mode = emStandard;
    Add(Qt::Key_C, Ctrl, ecClipboard, 0);
    Add(Qt::Key_Insert, Ctrl, ecClipboard, 0);
    Add(Qt::Key_X, Ctrl, ecClipboard, 1);
    Add(Qt::Key_Delete, Shift, ecClipboard, 1);
    Add(Qt::Key_V, Ctrl, ecClipboard, 2);
    Add(Qt::Key_Insert, Shift, ecClipboard, 2);
    Add(Qt::Key_Backspace, None, ecDeleteLeft);
    Add(Qt::Key_Delete, None, ecDeleteRight);
    for (Qt::Key K : {Qt::Key_Return, Qt::Key_Enter}) {
        Add(K, None, ecReturn);
        Add(K, Ctrl, ecPageBreak);
        Pending(K, Alt, "段落属性对话框");
    }
    Add(Qt::Key_A, Ctrl, ecSelectAll);
    Pad = kpMain;
    Add(Qt::Key_Minus, None, ecToggleDash);
    Add(Qt::Key_Minus, Shift, ecToggleUnderline);
    Add(Qt::Key_Period, None, ecToggleDot);
    Add(Qt::Key_Semicolon, None, ecInsertBarline);
    Add(Qt::Key_Backslash, None, ecInsertBarline);
    // "|" itself (Shift and the backslash key) is what people type for a bar line; it has no
    // other use here.
    Add(Qt::Key_Backslash, Shift, ecInsertBarline);
    Pad = kpKeypad;
    Add(Qt::Key_Minus, None, ecToggleDash);
    Add(Qt::Key_Slash, None, ecInsertBarline);
    Pad = kpEither;
    Add(Qt::Key_L, None, ecToggleDash);
    Add(Qt::Key_L, Shift, ecToggleUnderline);
    Add(Qt::Key_QuoteLeft, None, ecOctave, 0);
    Add(Qt::Key_QuoteLeft, Shift, ecOctave, 1);
    Add(Qt::Key_Up, Ctrl, ecTranspose, 1);
    Add(Qt::Key_Down, Ctrl, ecTranspose, -1);
    Add(Qt::Key_Left, Ctrl, ecDurationStep, -1);
    Add(Qt::Key_Right, Ctrl, ecDurationStep, 1);
    Add(Qt::Key_PageUp, Shift, ecChordAdd3rd);
    Add(Qt::Key_PageDown, Shift, ecChordDeleteHighest);
    Add(Qt::Key_PageUp, CtrlShift, ecChordAdjustHighest, 0);
    Add(Qt::Key_PageDown, CtrlShift, ecChordAdjustHighest, 1);
    Pad = kpMain;
    Add(Qt::Key_9, Shift, ecAccompMarker, 0);
    Add(Qt::Key_0, Shift, ecAccompMarker, 1);
    Add(Qt::Key_0, Ctrl, ecMeter, 0, 4);
    Add(Qt::Key_2, Ctrl, ecMeter, 2, 4);
    Add(Qt::Key_3, Ctrl, ecMeter, 3, 4);
    Add(Qt::Key_4, Ctrl, ecMeter, 4, 4);
    Add(Qt::Key_6, Ctrl, ecMeter, 6, 8);
    Add(Qt::Key_9, Ctrl, ecMeter, 9, 8);
    Pad = kpEither;
    Add(Qt::Key_F4, None, ecToggleArc);
    Pending(Qt::Key_F5, None, "文字对话框");
    Pending(Qt::Key_F5, Shift, "编辑光标处的文字");
    Pending(Qt::Key_F5, Alt, "特殊文字");
    Pending(Qt::Key_F5, CtrlAlt, "转调标记对话框");
    Pending(Qt::Key_F6, None, "房子");
    Add(Qt::Key_F7, None, ecToggleArticulation);
    Pending(Qt::Key_F7, Ctrl, "连谱号菜单");
    Pending(Qt::Key_F8, None, "歌词对话框");
    Pending(Qt::Key_F8, Shift, "锣鼓经转换");
    Pending(Qt::Key_F8, Ctrl, "小节序号");
    Pending(Qt::Key_F12, Ctrl, "测调测速");
    Pending(Qt::Key_F12, CtrlShift, "SpeedEntry(演奏出谱)");
    // The beam-group key and the duration menu.
    Add(Qt::Key_NumLock, None, ecDVGroupKey);
    Option = koSpaceIsDVGroupKey;
    Add(Qt::Key_Space, None, ecDVGroupKey);
    Add(Qt::Key_Tab, None, ecDurationMenu);
    Option = koTabIsDVGroupKey;
    Add(Qt::Key_Tab, None, ecDVGroupKey);
    Add(Qt::Key_Space, None, ecSpaceKey);
    Option = koAlways;
    Add(Qt::Key_CapsLock, None, ecDurationMenu);

    // ---- Extend mode -------------------------------------------------------------------------
    Mode = emExtend;
    Add(Qt::Key_Tab, None, ecToggleHighlight);
    Add(Qt::Key_Left, None, ecMoveHighlight, mdLeft);
    Add(Qt::Key_Right, None, ecMoveHighlight, mdRight);
    Pending(Qt::Key_Delete, None, "删除附属符号");
    Pending(Qt::Key_Return, None, "编辑高亮符号");
    Pending(Qt::Key_Enter, None, "编辑高亮符号");
    Pending(Qt::Key_F4, None, "弧线");
    Pending(Qt::Key_F5, None, "特殊文字");
    Pending(Qt::Key_F7, None, "扩展符号");
    Pending(Qt::Key_F8, None, "歌词对话框");
    Pending(Qt::Key_Up, None, "调整弧线");
    Pending(Qt::Key_Down, None, "调整弧线");
    Pending(Qt::Key_PageUp, None, "步进高亮符号的值");
    Pending(Qt::Key_PageDown, None, "步进高亮符号的值");

    // ---- Page mode ---------------------------------------------------------------------------
    Mode = emPage;
    Add(Qt::Key_Tab, None, ecToggleHighlight);
    Pending(Qt::Key_F5, None, "文本框对话框");
    Pending(Qt::Key_F6, None, "标题块");
    Pending(Qt::Key_Delete, None, "删除页面符号");
    for (Qt::Key K : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down}) {
        Pending(K, None, "移动页面符号");
        Pending(K, Shift, "移动页面符号");
    }
    Pending(Qt::Key_Return, None, "编辑页面符号");
    Pending(Qt::Key_Enter, None, "编辑页面符号");

    // ---- Layout mode (its caret moves are above) ---------------------------------------------
    Mode = emLayout;
    Add(Qt::Key_Backspace, None, ecDeleteReturn, 0);
    Add(Qt::Key_Delete, None, ecDeleteReturn, 1);
    for (Qt::Key K : {Qt::Key_Return, Qt::Key_Enter}) {
        Add(K, None, ecReturn);
        Add(K, Ctrl, ecPageBreak);
        Pending(K, Alt, "段落属性对话框");
    }
    Pending(Qt::Key_F4, None, "连谱号菜单");
    Add(Qt::Key_F4, Shift, ecBraceAndAlign);
    Pending(Qt::Key_F8, None, "切换行锁定模式");
    return T;
}

}  // namespace

const std::vector<TrecNuo4KeyTableItem>& Nuo4KeyTable() {
    static const std::vector<TrecNuo4KeyTableItem> T = MakeTable();
    return T;
}

const TrecNuo4KeyTableItem* Nuo4FindKeyRow(TNuo4EditMode AMode, const TrecNuo4PhysicalKey& K,
                                           const TrecNuo4KeyOptions& O, bool bTextTab) {
    for (const TrecNuo4KeyTableItem& I : Nuo4KeyTable()) {
        if (I.Key != K.Key || I.Modifiers != K.Modifiers) continue;
        if (I.Keypad == kpMain && K.bKeypad) continue;
        if (I.Keypad == kpKeypad && !K.bKeypad) continue;
        if (I.Layout == klThreeOctaves && O.bFourOctaves) continue;
        if (I.Layout == klFourOctaves && !O.bFourOctaves) continue;
        if (I.Option == koSpaceIsDVGroupKey && O.bTabIsDVGroupKey) continue;
        if (I.Option == koTabIsDVGroupKey && !O.bTabIsDVGroupKey) continue;
        if (bTextTab ? I.Scope != ksBothTabs : (I.Scope == ksMode && I.Mode != AMode)) continue;
        return &I;
    }
    return nullptr;
}

TrecNuo4KeyCommand Nuo4LookupKey(TNuo4EditMode AMode, QKeyCombination AKey,
                                 const TrecNuo4KeyOptions& AOptions) {
    const TrecNuo4PhysicalKey K = Nuo4PhysicalKeyOf(AKey.key(), AKey.keyboardModifiers(), 0);
    const TrecNuo4KeyTableItem* I = Nuo4FindKeyRow(AMode, K, AOptions);
    return I ? I->Command : TrecNuo4KeyCommand();
}

char GetHotKeyFromMenuItemIndex(int32_t AIndex, int32_t ADefaultIndex) {
    if (AIndex == ADefaultIndex) return ' ';
    if (AIndex >= 0 && AIndex <= 8) return char('1' + AIndex);
    if (AIndex >= 9 && AIndex <= 34) return char('A' + AIndex - 9);
    return 0;
}

QString GetHotKeyStringFromMenuItemIndex(int32_t AIndex, int32_t ADefaultIndex) {
    const char C = GetHotKeyFromMenuItemIndex(AIndex, ADefaultIndex);
    if (C == ' ') return QStringLiteral("空格");
    return C ? QString(QChar(C)) : QString();
}

}  // namespace nuo4
