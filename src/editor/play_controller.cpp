#include "editor/play_controller.h"

#include <QMetaObject>
#include <algorithm>

#include "layout/simple_buffer.h"
#include "playback/melody_build.h"
#include "render/note_symbol.h"

namespace nuo4 {

namespace {
constexpr int32_t DrumChannel = 9;
constexpr uint8_t DrumNote = 65;
constexpr uint8_t Velocity = 100;
}  // namespace

int32_t Nuo4PartIndexFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex) {
    int32_t Line = -1;
    for (int32_t L = 0; L < int32_t(B.LineInfoArray.size()); ++L)
        if (B.LineInfoArray[size_t(L)].BasicIndexRange.Contains(ABasicIndex)) {
            Line = L;
            break;
        }
    if (Line < 0) return 0;
    for (const TrecNuo4SystemLineInfoItem& S : B.SystemLineInfoArray)
        if (S.AttachIndex_Brace >= 0 && S.LineIndexRange.Contains(Line))
            return Line - S.LineIndexRange.StartIndex;
    return 0;
}

TrecNuo4AuditionNote Nuo4AuditionNoteOf(const TNuo4SimpleBuffer& B, int32_t ABasicIndex) {
    TrecNuo4AuditionNote R;
    const TNuo4SymbolNote* N = B.Basic_GetSymbolNote(ABasicIndex);
    if (!N || N->IsRest()) return R;
    if (N->IsDrum()) {
        R.Notes = {DrumNote};
        R.Channel = DrumChannel;
        return R;
    }
    R.Channel =
        TNuo4Melody::GetMidiChannelFromPartIndex(Nuo4PartIndexFromBasicIndex(B, ABasicIndex));
    if (R.Channel >= 0)
        for (uint8_t M : N->BasicInfo().MidiNotes)
            if (M < 128) R.Notes.push_back(M);
    if (R.Notes.empty()) R.Channel = -1;
    return R;
}

TNuo4PlayController::TNuo4PlayController(QObject* AParent)
    : QObject(AParent), FGeneration(std::make_shared<std::atomic<int64_t>>(0)) {
    FFactory = [](const TrecNuo4MidiDevice& D, std::string& E) { return Nuo4OpenMidiDevice(D, E); };
    // Clicks along the score are asked for; the score alone plays without them.
    FPlayer.SetMetronomeSound(false);
    FAuditionTimer.setSingleShot(true);
    connect(&FAuditionTimer, &QTimer::timeout, this, [this] { AuditionOff(); });
    FPlayer.OnPlayingNote = [this](int32_t I) {
        Post([this, I] {
            if (OnPlayingNote) OnPlayingNote(I);
        });
    };
    FPlayer.OnNewBeat = [this](int32_t M, int32_t B) {
        Post([this, M, B] {
            if (OnNewBeat) OnNewBeat(M, B);
        });
    };
    // The end is only news here: the stop, which joins the timing thread, runs on this
    // object's thread.
    FPlayer.OnEndPlay = [this] { Post([this] { Stop(); }); };
    RefreshDevices();
}

TNuo4PlayController::~TNuo4PlayController() {
    ++*FGeneration;
    FPlayer.Stop();
    ++*FGeneration;
    AuditionOff();
}

template <class F>
void TNuo4PlayController::Post(F AFn) {
    // Called on the timing thread; the generation is read now and again when the call runs.
    const int64_t G = FGeneration->load();
    std::shared_ptr<std::atomic<int64_t>> Gen = FGeneration;
    QMetaObject::invokeMethod(
        this,
        [Gen, G, AFn] {
            if (Gen->load() == G) AFn();
        },
        Qt::QueuedConnection);
}

void TNuo4PlayController::Changed() {
    if (OnStateChanged) OnStateChanged();
}

void TNuo4PlayController::RefreshDevices() {
    const QString Old = DeviceName();
    FDevices = FLister ? FLister() : Nuo4MidiDevices();
    const QString Wanted = FPreferredDevice.isEmpty() ? Old : FPreferredDevice;
    FDeviceIndex = Nuo4FindMidiDevice(FDevices, Wanted.toStdString());
    if (DeviceName() != Old) {
        // Another device now: what was open belongs to the former one.
        Stop();
        AuditionOff();
        FOutput.reset();
        bOutputFailed = false;
    }
}

void TNuo4PlayController::SetDeviceLister(TDeviceLister ALister) {
    FLister = std::move(ALister);
    RefreshDevices();
}

QString TNuo4PlayController::DeviceName() const {
    if (FDeviceIndex < 0 || FDeviceIndex >= int32_t(FDevices.size())) return QString();
    return QString::fromStdString(FDevices[size_t(FDeviceIndex)].Name);
}

void TNuo4PlayController::SetDeviceByName(const QString& AName) {
    FPreferredDevice = AName.trimmed();
    SetDeviceIndex(Nuo4FindMidiDevice(FDevices, FPreferredDevice.toStdString()));
}

void TNuo4PlayController::SetDeviceIndex(int32_t AIndex) {
    if (AIndex == FDeviceIndex) return;
    Stop();
    AuditionOff();
    FOutput.reset();
    bOutputFailed = false;
    FDeviceIndex = AIndex >= 0 && AIndex < int32_t(FDevices.size()) ? AIndex : -1;
}

void TNuo4PlayController::SetOutputFactory(TOutputFactory AFactory) {
    Stop();
    FOutput.reset();
    bOutputFailed = false;
    FFactory = std::move(AFactory);
    // A factory of its own needs no device of the system.
    if (FDevices.empty()) {
        FDevices.push_back(TrecNuo4MidiDevice{mdkSynth, "test output", -1, -1});
        FDeviceIndex = 0;
    }
}

bool TNuo4PlayController::EnsureOutput(QString& AError) {
    if (FOutput) return true;
    if (FDeviceIndex < 0 || FDeviceIndex >= int32_t(FDevices.size()) || !FFactory) {
        AError = QStringLiteral("没有MIDI输出设备!");
        return false;
    }
    std::string E;
    FOutput = FFactory(FDevices[size_t(FDeviceIndex)], E);
    bOutputFailed = !FOutput;
    if (FOutput) return true;
    AError = QStringLiteral("打开下列MIDI输出设备时出现错误 ") + DeviceName() +
             QStringLiteral(": ") + QString::fromStdString(E);
    return false;
}

bool TNuo4PlayController::Play(const TNuo4SimpleBuffer& ABuffer, TNuo4MelodyPlayRange ARange,
                               QString& AError) {
    Stop();
    AuditionOff();
    FPlayInfo.PlayRange = ARange;
    if (!Melody_MakeBuffer(ABuffer, FPlayInfo, FMelody, 1.0)) {
        AError = QStringLiteral("没有可以播放的音符");
        return false;
    }
    if (!EnsureOutput(AError)) return false;
    ++*FGeneration;
    const bool bOk = FPlayer.Play(FMelody.MidiBuffer(), *FOutput);
    Changed();
    return bOk;
}

bool TNuo4PlayController::PrepareMelody(const TNuo4SimpleBuffer& ABuffer,
                                        TNuo4MelodyPlayRange ARange) {
    if (FPlayer.State() != psStopped) return false;
    FPlayInfo.PlayRange = ARange;
    return Melody_MakeBuffer(ABuffer, FPlayInfo, FMelody, 1.0);
}

bool TNuo4PlayController::PlayMetronomeAlone(double ATempo, TTact ATact, QString& AError) {
    Stop();
    AuditionOff();
    if (!EnsureOutput(AError)) return false;
    ++*FGeneration;
    const bool bOk = FPlayer.PlayMetronome(ATempo, ATact, *FOutput);
    Changed();
    return bOk;
}

void TNuo4PlayController::Pause() {
    if (FPlayer.State() != psPlaying) return;
    FPlayer.Pause();
    Changed();
}

void TNuo4PlayController::Resume() {
    if (FPlayer.State() != psPaused) return;
    FPlayer.Resume();
    Changed();
}

void TNuo4PlayController::TogglePause() {
    if (FPlayer.State() == psPlaying)
        Pause();
    else
        Resume();
}

void TNuo4PlayController::Stop() {
    if (FPlayer.State() == psStopped) return;
    // Before and after the join: whatever the timing thread posted meanwhile is dropped.
    ++*FGeneration;
    FPlayer.Stop();
    ++*FGeneration;
    Changed();
}

void TNuo4PlayController::SetSpeedRatio(double ARatio) {
    FPlayer.SetSpeedRatio(ARatio);
}

void TNuo4PlayController::SetMetronomeSound(bool bOn) {
    FPlayer.SetMetronomeSound(bOn);
}

bool TNuo4PlayController::Audition(const TrecNuo4AuditionNote& ANote, int AHold_ms,
                                   QString& AError) {
    if (FPlayer.State() != psStopped) return true;
    AuditionOff();
    if (ANote.Channel < 0 || ANote.Channel > 15 || ANote.Notes.empty()) return true;
    if (!FOutput && bOutputFailed) return false;
    if (!EnsureOutput(AError)) return false;
    const uint8_t Ch = uint8_t(ANote.Channel);
    if (Ch != DrumChannel)
        FOutput->PutShortMsg(uint8_t(0xC0 | Ch), FPlayInfo.InitStatus.Voices[Ch] & 0x7F, 0);
    FOutput->PutShortMsg(uint8_t(0xB0 | Ch), 123, 0);
    for (uint8_t N : ANote.Notes) FOutput->PutShortMsg(uint8_t(0x90 | Ch), N & 0x7F, Velocity);
    FSounding = ANote;
    FAuditionTimer.start(std::max(1, AHold_ms));
    return true;
}

void TNuo4PlayController::AuditionOff() {
    FAuditionTimer.stop();
    if (FOutput && FSounding.Channel >= 0 && FPlayer.State() == psStopped)
        for (uint8_t N : FSounding.Notes)
            FOutput->PutShortMsg(uint8_t(0x80 | FSounding.Channel), N & 0x7F, 0);
    FSounding = TrecNuo4AuditionNote();
}

}  // namespace nuo4
