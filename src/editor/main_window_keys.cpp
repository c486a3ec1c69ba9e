// The main window's side of the keys: the key handler of the score view, the questions and
// pop-up menus of the key commands and the window's own key commands.
#include <QAction>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>

#include "edit/edit_paragraph.h"
#include "editor/key_dispatch.h"
#include "editor/main_window.h"
#include "editor/play_controller.h"

namespace nuo4 {

bool TFormNuo4Main::ScoreViewKey(QKeyEvent* E, bool bOnlyAsk) {
    const TrecNuo4PhysicalKey K = Nuo4PhysicalKeyOfEvent(*E);
    const bool bText = !ScoreTabShown();
    if (E->type() == QEvent::KeyRelease) {
        Nuo4DispatchKeyUp(*this, K);
        return true;
    }
    if (bOnlyAsk) return Nuo4KeyIsTaken(*this, K, bText);
    if (Nuo4DispatchKeyDown(*this, K, bText)) return true;
    if (bText) return false;
    // A character from an input method or a CJK layout: say how texts are entered.
    const QString T = E->text();
    if (FEditMode == emStandard && !T.isEmpty() && T[0].unicode() >= 0x3000 &&
        !bHintWindowShowedAfterHanZiInputting) {
        bHintWindowShowedAfterHanZiInputting = true;
        ShowMessage(Nuo4HanZiInputHint(T.left(1)));
        bHintWindowShowedAfterHanZiInputting = false;
    }
    // Every other key of the score tab is consumed.
    return true;
}

bool TFormNuo4Main::AskOkCancel(const QString& AText) {
    if (OkCancelSink) return OkCancelSink(AText);
    return QMessageBox::question(this, QStringLiteral("Nuo4"), AText,
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

int32_t TFormNuo4Main::ChooseFromPopupMenu(const QStringList& AItems, int32_t ADefaultItem) {
    if (PopupMenuSink) return PopupMenuSink(AItems, ADefaultItem);
    QMenu M(this);
    for (int32_t I = 0; I < AItems.size(); ++I) {
        // The hot key is the item's accelerator ("&1  ..."); the default item answers Space.
        QAction* A = M.addAction(I == ADefaultItem ? AItems[I] : QStringLiteral("&") + AItems[I]);
        A->setData(I);
        if (I == ADefaultItem) M.setDefaultAction(A);
    }
    const QPoint At =
        ScorePanel->PaintBox()->mapToGlobal(ScorePanel->GetCaretRect_Device().bottomLeft());
    QAction* Chosen = M.exec(At, M.defaultAction());
    return Chosen ? Chosen->data().toInt() : -1;
}

TrecNuo4KeyOptions TFormNuo4Main::KeyOptions() const {
    TrecNuo4KeyOptions O;
    O.bFourOctaves = FOptions.bLetterKeysFourOctaves;
    O.bTabIsDVGroupKey = FOptions.bTabIsDVGroupKey;
    O.bPopupOnDVGroupKey = FOptions.bPopupMenuOnDVGroupKey;
    return O;
}

bool TFormNuo4Main::RunWindowCommand(const TrecNuo4KeyCommand& C) {
    auto Trigger = [&](const char* AName) {
        if (QAction* A = Action(QString::fromLatin1(AName))) A->trigger();
        return true;
    };
    switch (C.Command) {
        case ecSwitchTab:
            if (ScoreTabShown())
                ShowTextTab();
            else
                ShowScoreTab();
            return true;
        case ecSilenceAudition:
            if (FPlay) FPlay->AuditionOff();
            return true;
        case ecZoomStep:
            ScorePanel->StepViewScale(C.Param);
            return true;
        case ecSave:
            return SaveFile();
        case ecUndo:
            Undo();
            return true;
        case ecRedo:
            Redo();
            return true;
        case ecToggleMode:
            SetEditMode(FEditMode == emStandard ? emExtend : emStandard);
            return true;
        case ecCycleMode:
            SetEditMode(TNuo4EditMode((FEditMode + 1) % Nuo4EditModeCount));
            return true;
        case ecSetMode:
            SetEditMode(TNuo4EditMode(C.Param));
            return true;
        case ecToggleAuxInfo:
            return Trigger("mnuToggleAuxInfoVisible");
        case ecToggleFloatToolWindow:
            FFloatToolWindow->setVisible(!FFloatToolWindow->isVisible());
            return true;
        case ecJustifyAll: {
            const TNuo4SimpleBuffer* B = GetSimpleBuffer();
            if (!B || B->ParagraphInfoArray.empty()) return false;
            bool bAll = true;
            for (const TrecNuo4ParagraphInfoItem& P : B->ParagraphInfoArray)
                bAll = bAll && P.Options.bJustifyHorz;
            TNuo4ABCTextReplaceItems Items;
            if (!CanChangeParagraphOptions_JustifyHorz_Range(
                    *B, TKoRange(0, int32_t(B->ParagraphInfoArray.size())), !bAll, Items))
                return false;
            return Nuo4ApplyEdit(*this, Items, nullptr, nullptr, false);
        }
        default:
            return false;
    }
}

}  // namespace nuo4
