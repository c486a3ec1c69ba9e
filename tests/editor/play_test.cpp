// Playback in the editor: the playing note reaches the user-interface thread and moves the
// marker, the end of play stops there and joins the timing thread, a stop drops what the timing
// thread still had on its way, a missing output is told once and the editor goes on, the
// audition sounds the note left of the caret, and the MIDI command writes the file and
// remembers its folder.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QStatusBar>
#include <QThread>
#include <mutex>

#include "editor/play_device_setting.h"
#include "editor_test_support.h"
#include "render/note_symbol.h"

using namespace nuo4;

namespace {

struct TSent {
    uint8_t Status, Data1;
    bool bUiThread;
};

// Records what reaches the output and on which thread.
struct TRecord {
    std::mutex Lock;
    std::vector<TSent> Sent;
    int Opened = 0;
    std::vector<TSent> Copy() {
        std::lock_guard<std::mutex> L(Lock);
        return Sent;
    }
};

class TRecordingOutput : public TMidiOutput {
  public:
    explicit TRecordingOutput(TRecord& R) : R(R) {}
    void PutShortMsg(uint8_t AStatus, uint8_t AData1, uint8_t) override {
        std::lock_guard<std::mutex> L(R.Lock);
        R.Sent.push_back({AStatus, AData1, QThread::currentThread() == qApp->thread()});
    }
    TRecord& R;
};

void UseRecorder(TEditorWindowFixture& F, TRecord& R) {
    F.W->PlayController()->SetOutputFactory([&R](const TrecNuo4MidiDevice&, std::string&) {
        ++R.Opened;
        return std::make_unique<TRecordingOutput>(R);
    });
}

int NoteOns(const std::vector<TSent>& S, int AChannel) {
    return int(std::count_if(S.begin(), S.end(),
                             [&](const TSent& M) { return M.Status == (0x90 | AChannel); }));
}

TEST(EditorPlayback, PlayingNoteReachesTheUiThreadAndTheEndStopsThere) {
    TRecord R;  // outlives the window: closing it silences the output
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3 5"));
    UseRecorder(F, R);
    TNuo4PlayController* C = F.W->PlayController();
    std::vector<int32_t> Notes;
    std::vector<bool> OnUi;
    bool bMarkerShown = false;
    const auto Shown = C->OnPlayingNote;
    C->OnPlayingNote = [&](int32_t I) {
        OnUi.push_back(QThread::currentThread() == qApp->thread());
        Shown(I);
        Notes.push_back(F.W->GetSimpleBuffer()->BasicBufferIndexOfPlayingNote);
        bMarkerShown = bMarkerShown || F.W->PlayingNoteIndicator()->isVisible();
    };
    std::vector<std::pair<int32_t, int32_t>> Beats;
    QStringList BeatShown;
    const auto ShowBeat = C->OnNewBeat;
    C->OnNewBeat = [&](int32_t M, int32_t B) {
        OnUi.push_back(QThread::currentThread() == qApp->thread());
        ShowBeat(M, B);
        Beats.push_back({M, B});
        BeatShown << F.W->PlayWindow()->LabelText(-2);
    };
    F.W->PlayWindow()->SetSpeedPosition(200);  // twice as fast: one second
    ASSERT_TRUE(F.W->PlayScore(mprWhole));
    EXPECT_EQ(C->State(), psPlaying);
    EXPECT_TRUE(F.W->Action("mnuPlayStop")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(C->State(), psStopped, 5000);

    const std::vector<TSent> S = R.Copy();
    EXPECT_EQ(NoteOns(S, 0), 4);
    // The timing thread sends the notes.
    EXPECT_TRUE(std::none_of(S.begin(), S.end(), [](const TSent& M) {
        return (M.Status & 0xF0) == 0x90 && M.bUiThread;
    }));
    ASSERT_FALSE(Notes.empty());
    EXPECT_TRUE(std::all_of(OnUi.begin(), OnUi.end(), [](bool B) { return B; }));
    EXPECT_TRUE(std::is_sorted(Notes.begin(), Notes.end()));
    for (int32_t I : Notes) EXPECT_TRUE(F.W->GetSimpleBuffer()->Basic_IsNote(I)) << I;
    EXPECT_TRUE(bMarkerShown);
    // The metronome's beats of the one measure, muted, came along.
    EXPECT_EQ(Beats, (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {0, 1}, {0, 2}, {0, 3}}));
    EXPECT_EQ(BeatShown, (QStringList{"<b>1 : 1</b>", "1 : 2", "1 : 3", "1 : 4"}));
    EXPECT_EQ(NoteOns(S, 9), 0);
    // Stopped: the channels silenced, the marker gone, the menu back to rest.
    ASSERT_GE(S.size(), 16u);
    EXPECT_EQ(S.back().Status, 0xBF);
    EXPECT_EQ(S.back().Data1, 123);
    EXPECT_EQ(F.W->GetSimpleBuffer()->BasicBufferIndexOfPlayingNote, -1);
    EXPECT_FALSE(F.W->PlayingNoteIndicator()->isVisible());
    EXPECT_FALSE(F.W->Action("mnuPlayStop")->isEnabled());
    // Joined: nothing more arrives.
    QTest::qWait(100);
    EXPECT_EQ(R.Copy().size(), S.size());
}

TEST(EditorPlayback, StopDropsTheNewsStillOnItsWay) {
    TRecord R;  // outlives the window: closing it silences the output
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3 5 6 5 3 2 1"));
    UseRecorder(F, R);
    TNuo4PlayController* C = F.W->PlayController();
    int Reported = 0;
    const auto Shown = C->OnPlayingNote;
    C->OnPlayingNote = [&](int32_t I) {
        ++Reported;
        Shown(I);
    };
    ASSERT_TRUE(F.W->PlayScore(mprWhole));
    QTRY_VERIFY_WITH_TIMEOUT(Reported > 0, 3000);
    // The timing thread goes on posting while the user-interface thread is busy.
    QThread::msleep(1200);
    const int Before = Reported;
    F.W->StopPlay();
    QTest::qWait(50);
    EXPECT_EQ(Reported, Before);
    EXPECT_EQ(C->State(), psStopped);
    EXPECT_FALSE(F.W->PlayingNoteIndicator()->isVisible());
}

TEST(EditorPlayback, NoOutputIsToldAndTheEditorGoesOn) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3"));
    int Opened = 0;
    F.W->PlayController()->SetOutputFactory([&](const TrecNuo4MidiDevice&, std::string& E) {
        ++Opened;
        E = "no audio device";
        return std::unique_ptr<TMidiOutput>();
    });
    TNuo4SimpleBuffer* B = F.W->GetSimpleBuffer();
    B->InternalStatus.Selection.CaretPos_End = TrecNuo4CaretPos_Index::Create(2, true);
    for (int I = 0; I < 3; ++I) F.W->AuditionCaretNote();
    EXPECT_EQ(Opened, 1);  // not tried again at every note
    EXPECT_TRUE(F.W->statusBar()->currentMessage().contains(QStringLiteral("no audio device")));
    F.W->statusBar()->clearMessage();
    EXPECT_FALSE(F.W->PlayScore(mprWhole));  // a play asks again and says so
    EXPECT_EQ(Opened, 2);
    EXPECT_TRUE(F.W->statusBar()->currentMessage().contains(QStringLiteral("no audio device")));
    EXPECT_EQ(F.W->PlayController()->State(), psStopped);
    EXPECT_TRUE(F.Messages.isEmpty());  // no box stops the editing
}

TEST(EditorPlayback, AuditionSoundsTheNoteLeftOfTheCaretOnItsChannelBriefly) {
    TRecord R;  // outlives the window: closing it silences the output
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 0 3"));
    UseRecorder(F, R);
    TNuo4SimpleBuffer* B = F.W->GetSimpleBuffer();
    int32_t Rest = -1, Second = -1;
    for (int32_t I = 0, N = 0; I < B->Basic_GetCount(); ++I)
        if (B->Basic_IsNote(I)) {
            if (N == 1) Second = I;
            if (N == 2) Rest = I;
            ++N;
        }
    ASSERT_GE(Rest, 0);
    B->InternalStatus.Selection.CaretPos_End = TrecNuo4CaretPos_Index::Create(Rest, true);
    F.W->AuditionCaretNote();
    EXPECT_TRUE(R.Copy().empty());  // a rest sounds nothing
    B->InternalStatus.Selection.CaretPos_End = TrecNuo4CaretPos_Index::Create(Second, true);
    F.W->AuditionCaretNote();
    const uint8_t Midi = B->Basic_GetSymbolNote(Second)->BasicInfo().MidiNotes.at(0);
    std::vector<TSent> S = R.Copy();
    ASSERT_EQ(NoteOns(S, 0), 1);
    EXPECT_EQ(S.back().Data1, Midi);
    QTRY_VERIFY_WITH_TIMEOUT(R.Copy().back().Status == 0x80, 2000);
    EXPECT_EQ(R.Copy().back().Data1, Midi);
}

TEST(EditorPlayback, MidiCommandWritesTheFileAndRemembersItsFolder) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3"));
    const QString Folder = F.Dir.filePath(QStringLiteral("midi"));
    QDir().mkpath(Folder);
    const struct {
        const char* What;
        QString Chosen;
        bool bWritten;
        QString LastFolder;
    } Cases[] = {
        {"cancel", QString(), false, QString()},
        {"save", Folder + QStringLiteral("/out.mid"), true, Folder},
    };
    for (const auto& C : Cases) {
        QString Proposed;
        F.W->MidiFileDialogSink = [&](const QString& P) {
            Proposed = P;
            return C.Chosen;
        };
        EXPECT_EQ(F.W->ExportMidiFile(), C.bWritten) << C.What;
        EXPECT_TRUE(Proposed.endsWith(QStringLiteral("score.mid"))) << C.What;
        EXPECT_EQ(F.W->Options().LastFolders[lfkMidi], C.LastFolder) << C.What;
    }
    QFile File(Folder + QStringLiteral("/out.mid"));
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const QByteArray Bytes = File.readAll();
    EXPECT_TRUE(Bytes.startsWith("MThd"));
    EXPECT_EQ(Bytes.count("MTrk"), 2);  // the conductor and one channel
    // The next dialog starts in the remembered folder, also after a restart.
    TrecNuo4ApplicationOptions Loaded;
    ASSERT_TRUE(LoadApplicationOptions(F.W->OptionsPath(), Loaded));
    EXPECT_EQ(Loaded.LastFolders[lfkMidi], Folder);
}

}  // namespace

namespace {

// Opened before any play, the window shows the figures of the score that is loaded.
TEST(EditorPlayback, PlayWindowShowsTheLoadedScoresFiguresBeforeAPlay) {
    TEditorWindowFixture F;
    ASSERT_TRUE(F.W->LoadFile(QStringLiteral(NUO4_SOURCE_DIR "/resources/demo/molihua.nuoabc")));
    F.W->ShowPlayWindow();
    TNuo4PlayWindow* P = F.W->PlayWindow();
    EXPECT_EQ(P->LabelText(4), QStringLiteral("声部数量 = 1"));
    EXPECT_EQ(P->LabelText(7), QStringLiteral("初始拍号 = 2/4"));
    EXPECT_EQ(P->LabelText(8), QStringLiteral("初始速度 = 72拍/分"));
    EXPECT_EQ(F.W->PlayController()->State(), psStopped);
}

TEST(EditorPlayback, PlayWindowKeysPlayStopAndMoveTheSpeed) {
    TRecord R;  // outlives the window: closing it silences the output
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3 5 6 5 3 2 1"));
    UseRecorder(F, R);
    F.W->ShowPlayWindow();
    TNuo4PlayWindow* P = F.W->PlayWindow();
    TNuo4PlayController* C = F.W->PlayController();
    const struct {
        Qt::Key Key;
        TNuo4PlayState State;
        const char* SpeedLabel;
    } Steps[] = {
        {Qt::Key_PageDown, psStopped, "播放速率 = 1.05 (126拍/分)"},
        {Qt::Key_Space, psPlaying, "播放速率 = 1.05 (126拍/分)"},
        {Qt::Key_PageUp, psPlaying, "播放速率 = 1.00 (120拍/分)"},
        {Qt::Key_PageUp, psPlaying, "播放速率 = 0.97 (116拍/分)"},
        {Qt::Key_Return, psStopped, "播放速率 = 0.97 (116拍/分)"},
    };
    for (const auto& S : Steps) {
        QTest::keyClick(P, S.Key);
        EXPECT_EQ(C->State(), S.State) << S.SpeedLabel;
        EXPECT_EQ(P->LabelText(-1), QString::fromUtf8(S.SpeedLabel));
        EXPECT_DOUBLE_EQ(C->SpeedRatio(), Nuo4SpeedRatioFromTrackBar(P->SpeedPosition()));
    }
    EXPECT_EQ(P->LabelText(7), QStringLiteral("初始拍号 = 4/4"));
    EXPECT_EQ(P->LabelText(8), QStringLiteral("初始速度 = 120拍/分"));
    QTest::keyClick(P, Qt::Key_Escape);
    EXPECT_FALSE(P->parentWidget()->isVisible());
}

}  // namespace

namespace {

TEST(EditorPlayback, AuditionOfALowerPartSoundsOnThatPartsChannel) {
    TRecord R;  // outlives the window: closing it silences the output
    TEditorWindowFixture F;
    ASSERT_TRUE(
        F.W->LoadFile(QStringLiteral(NUO4_SOURCE_DIR "/resources/demo/liangzhilaohu.nuoabc")));
    UseRecorder(F, R);
    TNuo4SimpleBuffer* B = F.W->GetSimpleBuffer();
    int32_t Note = -1;
    for (const TrecNuo4SystemLineInfoItem& S : B->SystemLineInfoArray) {
        if (S.AttachIndex_Brace < 0 || S.LineIndexRange.Length < 2) continue;
        const TKoRange Line =
            B->LineInfoArray[size_t(S.LineIndexRange.StartIndex + 1)].BasicIndexRange;
        for (int32_t I = Line.StartIndex; I <= Line.EndIndex() && Note < 0; ++I)
            if (const TNuo4SymbolNote* N = B->Basic_GetSymbolNote(I))
                if (!N->IsRest() && !N->IsDrum() && !N->BasicInfo().MidiNotes.empty()) Note = I;
        if (Note >= 0) break;
    }
    ASSERT_GE(Note, 0);
    B->InternalStatus.Selection.CaretPos_End = TrecNuo4CaretPos_Index::Create(Note, true);
    F.W->AuditionCaretNote();
    const std::vector<TSent> S = R.Copy();
    EXPECT_EQ(NoteOns(S, 0), 0);
    EXPECT_EQ(NoteOns(S, 1), 1);
}

}  // namespace

namespace {

TEST(EditorPlayback, AnotherScoreIsNotMarkedByTheMelodyOfTheFormer) {
    TRecord R;  // outlives the window: closing it silences the output
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3 5 6 5 3 2 1"));
    UseRecorder(F, R);
    int Reported = 0;
    const auto Shown = F.W->PlayController()->OnPlayingNote;
    F.W->PlayController()->OnPlayingNote = [&](int32_t I) {
        ++Reported;
        Shown(I);
    };
    ASSERT_TRUE(F.W->PlayScore(mprWhole));
    QTRY_VERIFY_WITH_TIMEOUT(F.W->PlayingNoteIndicator()->isVisible(), 3000);
    F.LoadVoice(QStringLiteral("5 6 5 3 2 1"));
    const int Before = Reported;
    QTRY_VERIFY_WITH_TIMEOUT(Reported > Before, 3000);
    EXPECT_EQ(F.W->GetSimpleBuffer()->BasicBufferIndexOfPlayingNote, -1);
    EXPECT_FALSE(F.W->PlayingNoteIndicator()->isVisible());
    F.W->StopPlay();
}

}  // namespace

namespace {

TEST(EditorPlayback, TheViewScrollsToANoteOutOfSight) {
    TRecord R;  // outlives the window: closing it silences the output
    TEditorWindowFixture F;
    ASSERT_TRUE(F.W->LoadFile(QStringLiteral(NUO4_SOURCE_DIR "/resources/demo/molihua.nuoabc")));
    UseRecorder(F, R);
    F.W->ScorePanelWidget()->SetViewScaleLevel(TNuo4ViewScaleLevel(Nuo4ViewScaleLevelCount - 1));
    TNuo4SimpleBuffer* B = F.W->GetSimpleBuffer();
    int32_t Last = -1;
    for (int32_t I = 0; I < B->Basic_GetCount(); ++I)
        if (const TNuo4SymbolNote* N = B->Basic_GetSymbolNote(I))
            if (!N->IsRest()) Last = I;
    ASSERT_GT(Last, 0);
    B->InternalStatus.Selection.CaretPos_End = TrecNuo4CaretPos_Index::Create(Last, false);
    const QPointF Before = F.W->ScorePanelWidget()->GetTransformInfo().Location;
    ASSERT_TRUE(F.W->PlayScore(mprFromCaret));
    QWidget* Marker = F.W->PlayingNoteIndicator();
    QTRY_VERIFY_WITH_TIMEOUT(Marker->isVisible(), 3000);
    EXPECT_NE(F.W->ScorePanelWidget()->GetTransformInfo().Location, Before);
    EXPECT_TRUE(F.View()->rect().contains(Marker->geometry().center()));
    F.W->StopPlay();
}

}  // namespace

namespace {

// The score view's own keys must leave the play shortcuts to the menu.
TEST(EditorPlayback, PlayShortcutsWorkFromTheScoreView) {
    TRecord R;  // outlives the window: closing it silences the output
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3 5 6 5 3 2 1"));
    UseRecorder(F, R);
    F.W->ScorePanelWidget()->MySetFocus();
    const std::u16string Text = F.Text();
    QTest::keyClick(F.View(), Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(F.W->PlayController()->State(), psPlaying);
    QTest::keyClick(F.View(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(F.W->PlayController()->State(), psStopped);
    QTest::keyClick(F.View(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(F.W->PlayWindow()->isVisible());
    EXPECT_TRUE(F.Text() == Text);  // no key reached the score
}

}  // namespace

namespace {

// The device chosen in the play window is the next session's device, found again after its
// port number changed; while it is gone the synthesiser plays and the choice is kept for later.
TEST(EditorPlayback, ChosenDeviceIsKeptForTheNextSessionAndFallsBackWhileGone) {
    const TrecNuo4MidiDevice Synth{mdkSynth, "FluidSynth (General MIDI)", -1, -1};
    const auto Port = [](const char* AName, int32_t AClient) {
        return TrecNuo4MidiDevice{mdkAlsaPort, AName, AClient, 0};
    };
    TEditorWindowFixture F;
    const QString File = Nuo4PlayDeviceFilePath(F.W->OptionsPath());
    EXPECT_EQ(QFileInfo(File).absolutePath(), QFileInfo(F.W->OptionsPath()).absolutePath());
    F.W->PlayController()->SetDeviceLister([&] {
        return std::vector<TrecNuo4MidiDevice>{Synth, Port("Keys (20:0)", 20)};
    });
    F.W->PlayWindow()->FillDevices();
    QComboBox* Devices = nullptr;
    for (QComboBox* B : F.W->PlayWindow()->findChildren<QComboBox*>())
        if (B->findText(QStringLiteral("Keys (20:0)")) >= 0) Devices = B;
    ASSERT_NE(Devices, nullptr);
    emit Devices->activated(Devices->findText(QStringLiteral("Keys (20:0)")));
    EXPECT_EQ(F.W->PlayController()->DeviceName(), QStringLiteral("Keys (20:0)"));
    EXPECT_EQ(Nuo4LoadPlayDeviceName(File), QStringLiteral("Keys (20:0)"));

    const struct {
        const char* What;
        std::vector<TrecNuo4MidiDevice> Listed;
        const char* Chosen;
    } Sessions[] = {
        {"listed", {Synth, Port("Keys (20:0)", 20)}, "Keys (20:0)"},
        {"renumbered", {Synth, Port("Keys (24:0)", 24)}, "Keys (24:0)"},
        {"gone", {Synth, Port("Other (30:0)", 30)}, "FluidSynth (General MIDI)"},
    };
    for (const auto& S : Sessions) {
        TFormNuo4Main Next(F.W->OptionsPath());
        Next.MessageSink = [](const QString&) {};
        Next.SaveQuestionSink = [] { return 1; };
        Next.PlayController()->SetDeviceLister([&] { return S.Listed; });
        EXPECT_EQ(Next.PlayController()->DeviceName(), QString::fromUtf8(S.Chosen)) << S.What;
        EXPECT_EQ(Nuo4LoadPlayDeviceName(File), QStringLiteral("Keys (20:0)")) << S.What;
    }
    // Back within the session: the kept choice is taken again.
    std::vector<TrecNuo4MidiDevice> Listed = {Synth};
    F.W->PlayController()->SetDeviceLister([&] { return Listed; });
    EXPECT_EQ(F.W->PlayController()->DeviceName(), QStringLiteral("FluidSynth (General MIDI)"));
    Listed.push_back(Port("Keys (20:0)", 20));
    F.W->PlayController()->RefreshDevices();
    EXPECT_EQ(F.W->PlayController()->DeviceName(), QStringLiteral("Keys (20:0)"));
}

}  // namespace

namespace {

// The melody plays on while the score is edited: the marker follows the sounding note into the
// new layout at once, and goes when the edit removes that note, never marking another symbol.
TEST(EditorPlayback, MarkerFollowsThePlayingNoteThroughEditsDuringPlay) {
    TRecord R;  // outlives the window: closing it silences the output
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3 5 6 5 3 2 1"));
    UseRecorder(F, R);
    const auto Notes = [&] {
        std::vector<int32_t> N;
        const TNuo4SimpleBuffer* B = F.W->GetSimpleBuffer();
        for (int32_t I = 0; I < B->Basic_GetCount(); ++I)
            if (B->Basic_IsNote(I)) N.push_back(I);
        return N;
    };
    const std::vector<int32_t> Played = Notes();
    ASSERT_EQ(Played.size(), 9u);
    ASSERT_TRUE(F.W->PlayScore(mprWhole));
    F.W->TogglePausePlay();  // the news of the "6" below is the only news
    ASSERT_EQ(F.W->PlayController()->State(), psPaused);
    QTest::qWait(50);  // what the timing thread posted before the pause arrives first
    TNuo4PlayController* C = F.W->PlayController();
    C->OnPlayingNote(Played[4]);
    const uint8_t Six =
        F.W->GetSimpleBuffer()->Basic_GetSymbolNote(Played[4])->BasicInfo().MidiNotes.at(0);
    EXPECT_EQ(F.W->GetSimpleBuffer()->BasicBufferIndexOfPlayingNote, Played[4]);
    const QRect Before = F.W->PlayingNoteIndicator()->geometry();

    // A note typed after the first: the "6" is the sixth note now, further right.
    F.View()->setFocus();
    TNuo4SimpleBuffer* B = F.W->GetSimpleBuffer();
    B->InternalStatus.Selection.CaretPos_Start =
        B->InternalStatus.Selection.CaretPos_End = {Played[0], true};
    QTest::keyClick(F.View(), Qt::Key_5);
    QTest::qWait(20);
    B = F.W->GetSimpleBuffer();
    const std::vector<int32_t> Edited = Notes();
    ASSERT_EQ(Edited.size(), 10u);
    EXPECT_EQ(B->BasicBufferIndexOfPlayingNote, Edited[5]);
    EXPECT_EQ(B->Basic_GetSymbolNote(Edited[5])->BasicInfo().MidiNotes.at(0), Six);
    EXPECT_TRUE(F.W->PlayingNoteIndicator()->isVisible());
    EXPECT_GT(F.W->PlayingNoteIndicator()->geometry().left(), Before.left());

    // The "6" deleted: no marker, though no note has sounded since.
    B->InternalStatus.Selection.CaretPos_Start =
        B->InternalStatus.Selection.CaretPos_End = {Edited[5], true};
    QTest::keyClick(F.View(), Qt::Key_Backspace);
    QTest::qWait(20);
    ASSERT_EQ(Notes().size(), 9u);
    EXPECT_EQ(F.W->GetSimpleBuffer()->BasicBufferIndexOfPlayingNote, -1);
    EXPECT_FALSE(F.W->PlayingNoteIndicator()->isVisible());
    F.W->StopPlay();
}

}  // namespace
