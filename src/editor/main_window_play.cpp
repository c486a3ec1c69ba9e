// The main window's playback: the play menu, the play window in its dock, the playing-note
// indicator over the score view, the audition of the note left of the caret and the "MIDI…"
// command.
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

#include "editor/main_window.h"
#include "editor/play_device_setting.h"
#include "playback/melody_build.h"
#include "playback/midi_write.h"

namespace nuo4 {

namespace {
constexpr int AuditionHold_ms = 400;
constexpr int StatusMessage_ms = 8000;

// The page holding a basic symbol, -1 when none (pages follow one another in the buffer).
int32_t PageOfBasic(const TNuo4SimpleBuffer& B, int32_t AIndex) {
    if (!B.Basic_CheckIndex(AIndex)) return -1;
    const auto It = std::upper_bound(
        B.PageInfoArray.begin(), B.PageInfoArray.end(), AIndex,
        [](int32_t V, const TrecNuo4PageInfoItem& P) { return V < P.BasicIndexRange.StartIndex; });
    if (It == B.PageInfoArray.begin() || !std::prev(It)->BasicIndexRange.Contains(AIndex))
        return -1;
    return int32_t(std::prev(It) - B.PageInfoArray.begin());
}
}  // namespace

void TFormNuo4Main::CreatePlayMenu(QMenuBar* ABar) {
    FPlay = std::make_unique<TNuo4PlayController>();
    // The device of the last session, or the synthesiser while that one is gone.
    FPlay->SetDeviceByName(Nuo4LoadPlayDeviceName(Nuo4PlayDeviceFilePath(FOptionsPath)));
    FPlay->OnPlayingNote = [this](int32_t I) { OnPlayingNote(I); };
    FPlay->OnStateChanged = [this] { UpdatePlayUI(); };
    FPlay->OnNewBeat = [this](int32_t M, int32_t B) { FPlayWindow->ShowBeat(M, B); };
    FPlayIndicator = new TNuo4PlayingNoteIndicator(ScorePanel->PaintBox());
    // Each edit builds a new layout, after the change is applied; the marker moves to the note
    // there (or goes) once that is done, not with the next note.
    connect(ABCSynRichEdit->document(), &QTextDocument::contentsChanged, this, [this] {
        if (FPlayedIndex >= 0)
            QTimer::singleShot(0, this, [this] { UpdatePlayingNoteIndicator(); });
    });
    FPlayWindow = new TNuo4PlayWindow(*FPlay);
    FPlayWindow->OnPlay = [this](TNuo4MelodyPlayRange R) { PlayScore(R); };
    FPlayWindow->OnMetronomeAlone = [this](bool bOn) {
        if (!bOn) {
            FPlay->Stop();
            return;
        }
        const TMidiBufferInitStatus& I = FPlay->Melody().MidiBuffer().InitStatus();
        double Tempo = 120;
        TTact Tact = I.Tact;
        if (TNuo4SimpleBuffer* B = GetSimpleBuffer()) {
            TrecNuo4Meter Meter;
            int32_t Key = 0;
            B->GetMelodyInfo_FromTitleBlock(Meter, Key, Tempo);
            Tact = Meter.ToTact();
        }
        QString Error;
        if (!FPlay->PlayMetronomeAlone(Tempo, Tact, Error)) ShowPlayStatus(Error);
        UpdatePlayUI();
    };
    FPlayWindow->OnDeviceChosen = [this](const QString& N) {
        FPlay->SetDeviceByName(N);
        if (!Nuo4SavePlayDeviceName(Nuo4PlayDeviceFilePath(FOptionsPath), N))
            ShowPlayStatus(QStringLiteral("无法保存所选的MIDI输出设备"));
    };
    FPlayDock = new QDockWidget(QStringLiteral("播放"), this);
    FPlayDock->setObjectName(QStringLiteral("PlayDock"));
    FPlayDock->setWidget(FPlayWindow);
    addDockWidget(Qt::RightDockWidgetArea, FPlayDock);
    FPlayDock->hide();

    QMenu* Play = ABar->addMenu(QStringLiteral("播放"));
    Play->setToolTipsVisible(true);
    AddAction(Play, "mnuPlayWindow", QStringLiteral("播放窗口…"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), [this] { ShowPlayWindow(); });
    Play->addSeparator();
    AddAction(Play, "mnuPlayWhole", QStringLiteral("播放全部"), QKeySequence(),
              [this] { PlayScore(mprWhole); });
    AddAction(Play, "mnuPlayFromCaret", QStringLiteral("从光标处播放"),
              QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P), [this] { PlayScore(mprFromCaret); });
    AddAction(Play, "mnuPlaySelection", QStringLiteral("播放选区"), QKeySequence(),
              [this] { PlayScore(mprSelection); });
    AddAction(Play, "mnuPlayPause", QStringLiteral("暂停/继续"), QKeySequence(),
              [this] { TogglePausePlay(); });
    AddAction(Play, "mnuPlayStop", QStringLiteral("停止"),
              QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), [this] { StopPlay(); });
    Play->addSeparator();
    AddAction(Play, "mnuPlaySpeedUp", QStringLiteral("加快"), QKeySequence(),
              [this] { StepPlaySpeed(1); });
    AddAction(Play, "mnuPlaySpeedDown", QStringLiteral("减慢"), QKeySequence(),
              [this] { StepPlaySpeed(-1); });
    AddAction(Play, "mnuPlaySpeedNormal", QStringLiteral("原速"), QKeySequence(),
              [this] { FPlayWindow->SetSpeedPosition(100); });
    QAction* M = AddAction(Play, "mnuMetronome", QStringLiteral("节拍器"), QKeySequence(),
                           [this] { SetMetronomeSound(Action("mnuMetronome")->isChecked()); });
    M->setCheckable(true);
    UpdatePlayUI();
}

QWidget* TFormNuo4Main::PlayingNoteIndicator() const {
    return FPlayIndicator;
}

void TFormNuo4Main::ShowPlayStatus(const QString& AText) {
    statusBar()->showMessage(AText, StatusMessage_ms);
}

bool TFormNuo4Main::PlayScore(TNuo4MelodyPlayRange ARange) {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B) return false;
    FPlayWindow->SetPlayRange(ARange);
    FPlay->SetSpeedRatio(Nuo4SpeedRatioFromTrackBar(FPlayWindow->SpeedPosition()));
    QString Error;
    const bool bOk = FPlay->Play(*B, ARange, Error);
    if (bOk)
        FPlayedNotes.Start(*B);
    else
        ShowPlayStatus(Error);
    UpdatePlayUI();
    return bOk;
}

void TFormNuo4Main::TogglePausePlay() {
    FPlay->TogglePause();
}

void TFormNuo4Main::StopPlay() {
    FPlay->Stop();
}

void TFormNuo4Main::StepPlaySpeed(int ASteps) {
    FPlayWindow->SetSpeedPosition(FPlayWindow->SpeedPosition() + 5 * ASteps);
}

void TFormNuo4Main::SetMetronomeSound(bool bOn) {
    // The play window's switch does the rest (the metronome alone when nothing plays).
    FPlayWindow->SetMetronomeChecked(bOn);
    FPlay->SetMetronomeSound(bOn);
    UpdatePlayUI();
}

void TFormNuo4Main::ShowPlayWindow() {
    // The figures of this score, not of the last one played.
    if (TNuo4SimpleBuffer* B = GetSimpleBuffer(); B && FPlay->PrepareMelody(*B, mprWhole))
        FPlayWindow->UpdateControls();
    FPlayDock->show();
    FPlayDock->raise();
    FPlayWindow->setFocus(Qt::OtherFocusReason);
}

void TFormNuo4Main::UpdatePlayUI() {
    const TNuo4PlayState S = FPlay->State();
    if (QAction* A = Action("mnuPlayPause")) A->setEnabled(S != psStopped);
    if (QAction* A = Action("mnuPlayStop")) A->setEnabled(S != psStopped);
    if (QAction* A = Action("mnuMetronome")) {
        const QSignalBlocker Block(A);
        A->setChecked(FPlay->MetronomeSound() || FPlay->IsMetronomeAlone());
    }
    FPlayWindow->UpdateControls();
    if (S == psStopped) OnPlayingNote(-1);
}

// ---- The playing note ------------------------------------------------------------------------

void TFormNuo4Main::ForgetPlayedScore() {
    FPlayedNotes.Clear();
    OnPlayingNote(-1);
}

void TFormNuo4Main::OnPlayingNote(int32_t ABasicIndex) {
    // ABasicIndex names a symbol of the layout the melody was built from; the score shown may
    // have been edited since.
    FPlayedIndex = ABasicIndex;
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B) return;
    B->BasicBufferIndexOfPlayingNote = FPlayedNotes.Map(ABasicIndex, *B);
    const int32_t I = B->BasicBufferIndexOfPlayingNote;
    const int32_t Page = PageOfBasic(*B, I);
    if (Page >= 0 && ScoreTabShown()) {
        // Keep the note in sight: only a note outside the view moves it (which draws the score
        // once); otherwise only the marker moves.
        const TNuo4ScoreViewGeometry& G = ScorePanel->Geometry();
        if (Page < int32_t(G.CalcInfo.PageRectArray.size())) {
            const QRectF View = B->Basic_GetSymbol(I)->BoundsWithPos().translated(
                G.CalcInfo.PageRectArray[size_t(Page)].topLeft());
            QPointF Loc;
            if (G.CalcLocationToShow(View, 20, Loc)) ScorePanel->SetViewLocation(Loc);
        }
    }
    UpdatePlayingNoteIndicator();
}

void TFormNuo4Main::UpdatePlayingNoteIndicator() {
    if (!FPlayIndicator) return;
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    // A buffer built after an edit starts without a playing note: it is found again here.
    if (B) B->BasicBufferIndexOfPlayingNote = FPlayedNotes.Map(FPlayedIndex, *B);
    const int32_t I = B ? B->BasicBufferIndexOfPlayingNote : -1;
    if (I < 0 || !B->Basic_CheckIndex(I)) return FPlayIndicator->SetNoteRect(QRect());
    const int32_t Page = PageOfBasic(*B, I);
    if (Page < 0) return FPlayIndicator->SetNoteRect(QRect());
    const QRectF R =
        ScorePanel->Geometry().PageRectToDeviceRect(Page, B->Basic_GetSymbol(I)->BoundsWithPos());
    FPlayIndicator->SetNoteRect(R.toAlignedRect());
}

// ---- Audition --------------------------------------------------------------------------------

void TFormNuo4Main::AuditionCaretNote() {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B || !FOptions.bSoundNote || FEditMode != emStandard) return;
    const int32_t I = B->InternalStatus.Selection.CaretPos_End.GetLeftPos();
    QString Error;
    // A missing output is told once; the editing goes on without sound.
    if (!FPlay->Audition(Nuo4AuditionNoteOf(*B, I), AuditionHold_ms, Error) &&
        !bAuditionFailureShown) {
        bAuditionFailureShown = true;
        ShowPlayStatus(Error);
    }
}

// ---- MIDI files ------------------------------------------------------------------------------

bool TFormNuo4Main::ExportMidiFile() {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B) return false;
    const QString Name =
        (FFileNameOpened.isEmpty() ? QStringLiteral("新建文档")
                                   : QFileInfo(FFileNameOpened).completeBaseName()) +
        QStringLiteral(".mid");
    const QString Proposed = QDir(FOptions.LastFolders[lfkMidi]).filePath(Name);
    QString Chosen;
    if (MidiFileDialogSink) {
        Chosen = MidiFileDialogSink(Proposed);
    } else {
        QFileDialog D(this, QStringLiteral("导出MIDI文件"), Proposed,
                      QStringLiteral("mid文件(*.mid)"));
        D.setAcceptMode(QFileDialog::AcceptSave);
        D.setDefaultSuffix(QStringLiteral("mid"));
        D.setFileMode(QFileDialog::AnyFile);
        if (D.exec() == QDialog::Accepted && !D.selectedFiles().isEmpty())
            Chosen = D.selectedFiles().first();
    }
    if (Chosen.isEmpty()) return false;
    SetLastFolder(lfkMidi, QFileInfo(Chosen).absolutePath());
    TNuo4Melody Melody;
    TrecNuo4Melody_PlayInfo Info = FPlay->PlayInfo();
    Info.PlayRange = mprWhole;
    // A score without notes still gives a valid file: its conductor track alone.
    if (!Melody_MakeBuffer(*B, Info, Melody)) Melody.InitBuffer(Info.InitStatus);
    const std::string Bytes = TMidiWrite(Melody.MidiBuffer()).ToBytes();
    QFile F(Chosen);
    if (!F.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        F.write(Bytes.data(), qint64(Bytes.size())) != qint64(Bytes.size()) || !F.flush()) {
        ShowMessage(QStringLiteral("保存文件失败!\n") + Chosen + QStringLiteral("\n") +
                    F.errorString());
        return false;
    }
    F.close();
    if (Melody.MidiBuffer().Capped())
        ShowMessage(QString::asprintf("乐谱太长，MIDI文件只包括前%zu个事件。", Nuo4MidiEventCap));
    return true;
}

}  // namespace nuo4
