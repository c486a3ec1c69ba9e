#include "editor/key_table.h"

#include "layout/buffer_caret.h"

namespace nuo4 {

const char* EnumName(TNuo4EditorCommand AValue) {
    static const char* const Names[] = {
        "ecNone",      "ecInsertNote",    "ecDeleteLeft",      "ecDeleteRight",
        "ecMoveCaret", "ecInsertBarline", "ecToggleHighlight", "ecMoveHighlight"};
    return AValue <= ecMoveHighlight ? Names[AValue] : "?";
}

namespace {

std::vector<TrecNuo4KeyTableItem> MakeTable() {
    std::vector<TrecNuo4KeyTableItem> T;
    auto Add = [&](TNuo4EditMode M, QKeyCombination K, TNuo4EditorCommand C, int32_t P = 0,
                   bool bExtend = false) {
        T.push_back({M, K, {C, P, bExtend}});
    };
    for (int D = 0; D <= 7; ++D)
        Add(emStandard, QKeyCombination(Qt::Key(Qt::Key_0 + D)), ecInsertNote, D);
    Add(emStandard, QKeyCombination(Qt::Key_Backspace), ecDeleteLeft);
    Add(emStandard, QKeyCombination(Qt::Key_Delete), ecDeleteRight);
    Add(emStandard, QKeyCombination(Qt::Key_Bar), ecInsertBarline);
    Add(emStandard, QKeyCombination(Qt::ShiftModifier, Qt::Key_Bar), ecInsertBarline);
    struct {
        Qt::KeyboardModifiers Mods;
        Qt::Key Key;
        TNuo4MoveDirection Dir;
    } const Moves[] = {
        {Qt::NoModifier, Qt::Key_Left, mdLeft},
        {Qt::NoModifier, Qt::Key_Right, mdRight},
        {Qt::NoModifier, Qt::Key_Up, mdUp},
        {Qt::NoModifier, Qt::Key_Down, mdDown},
        {Qt::NoModifier, Qt::Key_Home, mdLineStart},
        {Qt::NoModifier, Qt::Key_End, mdLineEnd},
        {Qt::ControlModifier, Qt::Key_Home, mdDocStart},
        {Qt::ControlModifier, Qt::Key_End, mdDocEnd},
        {Qt::ControlModifier, Qt::Key_Right, mdNextMeasure},
        {Qt::ControlModifier, Qt::Key_Left, mdPrevMeasure},
        {Qt::NoModifier, Qt::Key_PageDown, mdNextPage},
        {Qt::NoModifier, Qt::Key_PageUp, mdPrevPage},
    };
    for (TNuo4EditMode M : {emStandard, emLayout})
        for (const auto& Mv : Moves) {
            Add(M, QKeyCombination(Mv.Mods, Mv.Key), ecMoveCaret, Mv.Dir);
            Add(M, QKeyCombination(Mv.Mods | Qt::ShiftModifier, Mv.Key), ecMoveCaret, Mv.Dir, true);
        }
    for (TNuo4EditMode M : {emExtend, emPage})
        Add(M, QKeyCombination(Qt::Key_Tab), ecToggleHighlight);
    Add(emExtend, QKeyCombination(Qt::Key_Left), ecMoveHighlight, mdLeft);
    Add(emExtend, QKeyCombination(Qt::Key_Right), ecMoveHighlight, mdRight);
    return T;
}

}  // namespace

const std::vector<TrecNuo4KeyTableItem>& Nuo4KeyTable() {
    static const std::vector<TrecNuo4KeyTableItem> T = MakeTable();
    return T;
}

TrecNuo4KeyCommand Nuo4LookupKey(TNuo4EditMode AMode, QKeyCombination AKey) {
    // The keypad is only a modifier of where a key sits, not of what it means.
    const QKeyCombination K(AKey.keyboardModifiers() & ~Qt::KeypadModifier, AKey.key());
    for (const TrecNuo4KeyTableItem& I : Nuo4KeyTable())
        if (I.Mode == AMode && I.Key == K) return I.Command;
    return TrecNuo4KeyCommand();
}

}  // namespace nuo4
