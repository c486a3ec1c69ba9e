#pragma once
// The play window: play and stop, pause, the play range, the speed track bar, the metronome
// switch, the output choice, the live labels (refreshed every 200 ms from the player) and the
// help text. It sits in a dock beside the score; the score itself is played by the main window.

#include <QWidget>
#include <functional>

#include "editor/play_controller.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace nuo4 {

// "1=C" and the like for a transpose in semitones.
QString Nuo4KeyNameOfTranspose(int32_t ATranspose);

class TNuo4PlayWindow : public QWidget {
  public:
    TNuo4PlayWindow(TNuo4PlayController& AController, QWidget* AParent = nullptr);

    // Asked of the main window: play the score in that range; start or stop the metronome alone.
    std::function<void(TNuo4MelodyPlayRange ARange)> OnPlay;
    std::function<void(bool bOn)> OnMetronomeAlone;
    std::function<void(const QString& ADeviceName)> OnDeviceChosen;

    TNuo4MelodyPlayRange PlayRange() const;
    void SetPlayRange(TNuo4MelodyPlayRange ARange);
    int SpeedPosition() const;
    void SetSpeedPosition(int APosition);
    bool MetronomeChecked() const;
    void SetMetronomeChecked(bool bOn);
    // Buttons, labels and the device list from the controller.
    void UpdateControls();
    void UpdateLabels();
    void FillDevices();
    QString LabelText(int AIndex) const;  // the live and score labels, in order; -1 the speed's,
                                          // -2 the beat's
    // The metronome's news: the measure and beat (from 0) just struck.
    void ShowBeat(int32_t AMeasure, int32_t ABeat);
    QPushButton* PlayButton() const { return FPlay; }
    QPushButton* StopButton() const { return FStop; }

  protected:
    void keyPressEvent(QKeyEvent* AEvent) override;

  private:
    void SpeedChanged();
    void ShowHelp();

    TNuo4PlayController& C;
    QPushButton *FPlay, *FPause, *FStop, *FHelp;
    QButtonGroup* FRange;
    QSlider* FSpeed;
    QLabel* FSpeedLabel;
    QLabel* FBeatLabel;
    QCheckBox* FMetronome;
    QComboBox* FDevice;
    QComboBox* FVoices;
    std::vector<QLabel*> FLabels;
    QTimer* FTimer;
};

}  // namespace nuo4
