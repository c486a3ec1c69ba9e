#pragma once
// Playback in the editor: the melody built from the document buffer, the player and its
// output, the metronome alone, and the audition of single notes. The timing thread reaches the
// user-interface thread only through queued calls on this object; the end of play stops (and
// joins the timing thread) there.

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "playback/melody.h"
#include "playback/midi_devices.h"
#include "playback/player.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

// What sounds for one basic symbol when it is auditioned: nothing for rests and symbols
// without pitches; drums on their channel; other notes on their part's channel.
struct TrecNuo4AuditionNote {
    std::vector<uint8_t> Notes;
    int32_t Channel = -1;
};
TrecNuo4AuditionNote Nuo4AuditionNoteOf(const TNuo4SimpleBuffer& ABuffer, int32_t ABasicIndex);
// The part (line within its system line) a basic symbol belongs to; 0 in a single-part line.
int32_t Nuo4PartIndexFromBasicIndex(const TNuo4SimpleBuffer& ABuffer, int32_t ABasicIndex);

class TNuo4PlayController : public QObject {
  public:
    using TOutputFactory = std::function<std::unique_ptr<TMidiOutput>(
        const TrecNuo4MidiDevice& ADevice, std::string& AError)>;

    explicit TNuo4PlayController(QObject* AParent = nullptr);
    ~TNuo4PlayController() override;

    // ---- Outputs ------------------------------------------------------------------------------
    using TDeviceLister = std::function<std::vector<TrecNuo4MidiDevice>()>;

    const std::vector<TrecNuo4MidiDevice>& Devices() const { return FDevices; }
    // Lists the devices again and chooses the preferred one among them.
    void RefreshDevices();
    // Tests list devices of their own (the system's when null).
    void SetDeviceLister(TDeviceLister ALister);
    int32_t DeviceIndex() const { return FDeviceIndex; }
    QString DeviceName() const;
    // The device asked for: chosen while it is listed, the first (the synthesiser) while it is
    // gone, and chosen again when a later listing has it. The next sound reopens.
    void SetDeviceByName(const QString& AName);
    QString PreferredDeviceName() const { return FPreferredDevice; }
    void SetDeviceIndex(int32_t AIndex);
    // Tests and scripts open outputs of their own.
    void SetOutputFactory(TOutputFactory AFactory);

    // ---- Playing ------------------------------------------------------------------------------
    // Builds the melody of the range and plays it; false with the reason (no note in the
    // range, no output).
    bool Play(const TNuo4SimpleBuffer& ABuffer, TNuo4MelodyPlayRange ARange, QString& AError);
    // Builds the melody of the range without playing it, so that the play window can show the
    // score's figures before the first play; nothing while playing. False without a note.
    bool PrepareMelody(const TNuo4SimpleBuffer& ABuffer, TNuo4MelodyPlayRange ARange);
    // The metronome alone at ATempo and meter ATact.
    bool PlayMetronomeAlone(double ATempo, TTact ATact, QString& AError);
    void Pause();
    void Resume();
    void TogglePause();
    void Stop();
    void SetSpeedRatio(double ARatio);
    double SpeedRatio() const { return FPlayer.SpeedRatio(); }
    void SetMetronomeSound(bool bOn);
    bool MetronomeSound() const { return FPlayer.MetronomeSound(); }
    TNuo4PlayState State() const { return FPlayer.State(); }
    bool IsMetronomeAlone() const { return FPlayer.IsMetronomeOnly(); }
    const TNuo4Player& Player() const { return FPlayer; }
    const TNuo4Melody& Melody() const { return FMelody; }
    TrecNuo4Melody_PlayInfo& PlayInfo() { return FPlayInfo; }

    // ---- Audition -----------------------------------------------------------------------------
    // Sounds the notes for AHold_ms; nothing while the score plays. False when no output
    // (AError says why only the first time).
    bool Audition(const TrecNuo4AuditionNote& ANote, int AHold_ms, QString& AError);
    void AuditionOff();

    // On the user-interface thread, queued from the timing thread (never after a Stop).
    std::function<void(int32_t ABasicIndex)> OnPlayingNote;
    std::function<void(int32_t AMeasure, int32_t ABeat)> OnNewBeat;
    // Playing started, paused, resumed or stopped (the end of play included).
    std::function<void()> OnStateChanged;

  private:
    bool EnsureOutput(QString& AError);
    void Changed();
    // A queued call that is dropped when the play it came from is over.
    template <class F>
    void Post(F AFn);

    std::vector<TrecNuo4MidiDevice> FDevices;
    int32_t FDeviceIndex = -1;
    TDeviceLister FLister;
    QString FPreferredDevice;
    TOutputFactory FFactory;
    std::unique_ptr<TMidiOutput> FOutput;
    TNuo4Player FPlayer;
    TNuo4Melody FMelody;
    TrecNuo4Melody_PlayInfo FPlayInfo;
    // Counts plays and stops, so that news from an earlier play is recognised.
    std::shared_ptr<std::atomic<int64_t>> FGeneration;
    QTimer FAuditionTimer;
    TrecNuo4AuditionNote FSounding;
    // An output that failed is not tried again for auditions (each keystroke would wait for
    // it), only for the next play or another device.
    bool bOutputFailed = false;
};

}  // namespace nuo4
