#include "editor/key_host.h"

#include <QKeySequence>

#include "edit/edit_apply.h"
#include "editor/edit_state_check.h"
#include "layout/simple_buffer.h"
#include "render/measure_surface.h"

namespace nuo4 {

TNuo4HeadlessEditorHost::TNuo4HeadlessEditorHost(std::u16string AText) : FText(std::move(AText)) {
    Rebuild();
    FUndo = std::make_unique<TNuo4UndoRedoBuffer>(
        30, [this](TNuo4UndoRedoBuffer*, const TrecNuo4UndoRedoItem* I) { Restore(I); });
    FUndo->Clear();
    PutUndoSnapshot();
}

TNuo4HeadlessEditorHost::~TNuo4HeadlessEditorHost() {
    FBuffer.reset();  // it refers to the scanned text
}

void TNuo4HeadlessEditorHost::Rebuild() {
    TrecNuo4SimpleBufferInternalStatus Status;
    if (FBuffer) Status = FBuffer->InternalStatus;
    FBuffer.reset();
    FABCBuffer = std::make_unique<TNuo4ABCBuffer>(FText);
    FText = FABCBuffer->ABCText();
    {
        TNuo4MeasureSurfaceScope Surface;
        FBuffer = std::make_unique<TNuo4SimpleBuffer>(FABCBuffer.get());
    }
    FBuffer->InternalStatus = Status;
    Nuo4CheckInternalStatus(*FBuffer);
    ++FRebuilds;
}

bool TNuo4HeadlessEditorHost::ReplaceText(const TNuo4ABCTextReplaceItems& AItems) {
    return ApplyTextReplaceItems(FText, AItems);
}

void TNuo4HeadlessEditorHost::Redraw(bool) {
    Rebuild();
}

void TNuo4HeadlessEditorHost::PutUndoSnapshot() {
    TrecNuo4UndoRedoItem I;
    I.Initialize(FText, FBuffer->InternalStatus.Selection, FBuffer->InternalStatus.Highlight);
    FUndo->PutItem(I);
}

void TNuo4HeadlessEditorHost::Restore(const TrecNuo4UndoRedoItem* AItem) {
    if (!AItem) return;
    FText = AItem->ABCText;
    Rebuild();
    if (Mode == emStandard) FBuffer->InternalStatus.Selection = AItem->Selection;
    if (Mode == emExtend) FBuffer->InternalStatus.Highlight = AItem->Highlight;
    Nuo4CheckInternalStatus(*FBuffer);
}

bool TNuo4HeadlessEditorHost::AskOkCancel(const QString& AText) {
    Questions << AText;
    return Answer ? Answer(AText) : true;
}

int32_t TNuo4HeadlessEditorHost::ChooseFromPopupMenu(const QStringList& AItems,
                                                     int32_t ADefaultItem) {
    return Chooser ? Chooser(AItems, ADefaultItem) : -1;
}

bool TNuo4HeadlessEditorHost::RunWindowCommand(const TrecNuo4KeyCommand& C) {
    auto SetMode = [&](TNuo4EditMode M) {
        Nuo4ChangeEditModeStatus(*FBuffer, Mode, M, 0);
        Mode = M;
        return true;
    };
    switch (C.Command) {
        case ecUndo:
            return FUndo->Undo();
        case ecRedo:
            return FUndo->Redo();
        case ecToggleMode:
            return SetMode(Mode == emStandard ? emExtend : emStandard);
        case ecCycleMode:
            return SetMode(TNuo4EditMode((Mode + 1) % Nuo4EditModeCount));
        case ecSetMode:
            return SetMode(TNuo4EditMode(C.Param));
        case ecSilenceAudition:
            return true;
        default:
            // Tabs, zoom, saving and tool windows belong to a window.
            Messages << QStringLiteral("%1: 没有窗口").arg(QString::fromUtf8(EnumName(C.Command)));
            return false;
    }
}

void TNuo4HeadlessEditorHost::Type(const TrecNuo4PhysicalKey& AKey) {
    Nuo4DispatchKeyDown(*this, AKey, false);
    Nuo4DispatchKeyUp(*this, AKey);
}

bool Nuo4ParseKeyName(const QString& AName, TrecNuo4PhysicalKey& AKey, QString& AError) {
    QString Rest = AName;
    Qt::KeyboardModifiers Mods;
    bool bKeypad = false;
    for (;;) {
        const int Plus = Rest.indexOf(QLatin1Char('+'), 1);
        if (Plus < 0) break;
        const QString M = Rest.left(Plus).toLower();
        if (M == QLatin1String("ctrl"))
            Mods |= Qt::ControlModifier;
        else if (M == QLatin1String("shift"))
            Mods |= Qt::ShiftModifier;
        else if (M == QLatin1String("alt"))
            Mods |= Qt::AltModifier;
        else
            break;
        Rest = Rest.mid(Plus + 1);
    }
    if (Rest.size() > 2 && Rest.startsWith(QLatin1String("KP"))) {
        bKeypad = true;
        Rest = Rest.mid(2);
    }
    int Key = Qt::Key_unknown;
    if (Rest.size() == 1) {
        const QChar C = Rest[0];
        if (C.unicode() < 0x20 || C.unicode() > 0x7E) {
            AError = QStringLiteral("'%1' is not a key").arg(AName);
            return false;
        }
        Key = C.toUpper().unicode();
        // A shifted character is its key with Shift.
        const TrecNuo4PhysicalKey P = Nuo4PhysicalKeyOf(Key, Qt::NoModifier, 0);
        if (!bKeypad && P.Key != Key && !(C >= QLatin1Char('a') && C <= QLatin1Char('z')))
            Mods |= Qt::ShiftModifier;
    } else {
        static const std::pair<const char*, const char*> Aliases[] = {
            {"pgdn", "PgDown"}, {"delete", "Del"}, {"insert", "Ins"}, {"escape", "Esc"}};
        for (const auto& [From, To] : Aliases)
            if (Rest.toLower() == QLatin1String(From)) Rest = QString::fromLatin1(To);
        const QKeySequence S = QKeySequence::fromString(Rest, QKeySequence::PortableText);
        if (S.count() == 1) Key = S[0].key();
        // Qt reads an unknown word as a key too; only its own spelling of a named key counts.
        if (Key == Qt::Key_unknown || Rest.size() < 2 ||
            QKeySequence(Key)
                    .toString(QKeySequence::PortableText)
                    .compare(Rest, Qt::CaseInsensitive) != 0) {
            AError = QStringLiteral("'%1' is not a key").arg(AName);
            return false;
        }
    }
    AKey = Nuo4PhysicalKeyOf(Key, Mods | (bKeypad ? Qt::KeypadModifier : Qt::NoModifier), 0);
    return true;
}

}  // namespace nuo4
