#include "editor/play_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include "playback/metronome.h"

namespace nuo4 {

namespace {

// What playback does, as the help button tells it.
const char* const PlayHelpText =
    "空格键或者回车键切换开始/停止.\r\nPageUp/PageDown调整降低播放速率.\r\n\r\n"
    "这里的速度指的是每分钟多少个4分音符.\r\n\r\n"
    "目前的播放功能支持倚音、和弦、锣鼓经、技法符号(顿音、波音)、同音连线、反复、换拍、"
    "变调、乐谱当中的速度标记以及多声部.\r\n不支持临时声部.\r\n\r\n"
    "播放时的初始速度、初始调号、初始拍号受乐谱标题当中的相关内容控制.\r\n\r\n"
    "对段落反复的识别：\r\n"
    "(1) 识别普通(标准)房子、普通反复起始小节线、普通反复终止小节线；"
    "多个反复段落按照乐谱顺序依次展开.\r\n"
    "(2) 无法识别特殊房子、扩展符号里面的小节线、DS/DC/Segno/Coda/Fine等。\r\n"
    "(3) 多声部乐谱当中，单声部的行可以反复，多声部的行不反复。\r\n"
    "(4) 至少有一个房子才能反复。每个反复终止小节线只反复一遍。房子内部的段落序号被忽略。";

int32_t MeasureCount(const TMidiBuffer& B) {
    if (B.FullEmpty()) return 0;
    const std::vector<TrecNuo4MetronomeBeat> Beats = Metronome_Beats(B, B.TotalTime_4th());
    return Beats.empty() ? 0 : Beats.back().Measure + 1;
}

}  // namespace

QString Nuo4KeyNameOfTranspose(int32_t ATranspose) {
    static const char* const Names[12] = {"C",  "bD", "D",  "bE", "E",  "F",
                                          "#F", "G",  "bA", "A",  "bB", "B"};
    return QStringLiteral("1=") + QString::fromLatin1(Names[((ATranspose % 12) + 12) % 12]);
}

TNuo4PlayWindow::TNuo4PlayWindow(TNuo4PlayController& AController, QWidget* AParent)
    : QWidget(AParent), C(AController) {
    setObjectName(QStringLiteral("PlayWindow"));
    setWindowTitle(QStringLiteral("播放"));
    auto* Main = new QVBoxLayout(this);

    auto* Buttons = new QHBoxLayout;
    FPlay = new QPushButton(QStringLiteral("Play"), this);
    FPause = new QPushButton(QStringLiteral("暂停"), this);
    FStop = new QPushButton(QStringLiteral("Stop"), this);
    for (QPushButton* B : {FPlay, FPause, FStop}) {
        B->setFocusPolicy(Qt::NoFocus);
        Buttons->addWidget(B);
    }
    Main->addLayout(Buttons);

    auto* RangeBox = new QHBoxLayout;
    RangeBox->addWidget(new QLabel(QStringLiteral("播放范围"), this));
    FRange = new QButtonGroup(this);
    const std::pair<const char*, TNuo4MelodyPlayRange> Ranges[] = {
        {"全部", mprWhole}, {"光标", mprFromCaret}, {"选区", mprSelection}};
    for (const auto& [Caption, R] : Ranges) {
        auto* Radio = new QRadioButton(QString::fromUtf8(Caption), this);
        Radio->setFocusPolicy(Qt::NoFocus);
        FRange->addButton(Radio, int(R));
        RangeBox->addWidget(Radio);
    }
    FRange->button(int(mprWhole))->setChecked(true);
    Main->addLayout(RangeBox);

    FSpeed = new QSlider(Qt::Horizontal, this);
    FSpeed->setRange(0, 200);
    FSpeed->setPageStep(5);
    FSpeed->setValue(100);
    FSpeed->setFocusPolicy(Qt::NoFocus);
    FSpeedLabel = new QLabel(this);
    Main->addWidget(FSpeedLabel);
    Main->addWidget(FSpeed);

    auto* MetronomeRow = new QHBoxLayout;
    FMetronome = new QCheckBox(QStringLiteral("节拍器"), this);
    FMetronome->setFocusPolicy(Qt::NoFocus);
    MetronomeRow->addWidget(FMetronome);
    FBeatLabel = new QLabel(this);
    MetronomeRow->addWidget(FBeatLabel, 1);
    Main->addLayout(MetronomeRow);

    FDevice = new QComboBox(this);
    FDevice->setFocusPolicy(Qt::NoFocus);
    Main->addWidget(FDevice);
    // The instrument of every part: the General MIDI programs of the voice groups.
    FVoices = new QComboBox(this);
    FVoices->setFocusPolicy(Qt::NoFocus);
    for (const char* V : {"钢琴", "小提琴", "弦乐", "小号", "双簧管"})
        FVoices->addItem(QString::fromUtf8(V));
    Main->addWidget(FVoices);

    auto* Grid = new QGridLayout;
    for (int I = 0; I < 9; ++I) {
        auto* L = new QLabel(this);
        FLabels.push_back(L);
        Grid->addWidget(L, I, 0);
    }
    Main->addLayout(Grid);
    FHelp = new QPushButton(QStringLiteral("帮助"), this);
    FHelp->setFocusPolicy(Qt::NoFocus);
    Main->addWidget(FHelp);
    Main->addStretch(1);

    connect(FPlay, &QPushButton::clicked, this, [this] {
        if (OnPlay) OnPlay(PlayRange());
    });
    connect(FPause, &QPushButton::clicked, this, [this] { C.TogglePause(); });
    connect(FStop, &QPushButton::clicked, this, [this] { C.Stop(); });
    connect(FSpeed, &QSlider::valueChanged, this, [this] { SpeedChanged(); });
    connect(FMetronome, &QCheckBox::toggled, this, [this](bool bOn) {
        C.SetMetronomeSound(bOn);
        // Without the score playing, the switch runs the metronome alone.
        if (C.State() == psStopped || C.IsMetronomeAlone())
            if (OnMetronomeAlone) OnMetronomeAlone(bOn);
    });
    connect(FDevice, &QComboBox::activated, this, [this](int I) {
        if (OnDeviceChosen) OnDeviceChosen(FDevice->itemText(I));
    });
    connect(FVoices, &QComboBox::activated, this,
            [this](int I) { C.PlayInfo().InitStatus.SetToVoiceGroup(I); });
    connect(FHelp, &QPushButton::clicked, this, [this] { ShowHelp(); });
    FTimer = new QTimer(this);
    FTimer->setInterval(200);
    connect(FTimer, &QTimer::timeout, this, [this] { UpdateLabels(); });
    FTimer->start();
    setFocusPolicy(Qt::StrongFocus);
    FillDevices();
    SpeedChanged();
    UpdateControls();
}

TNuo4MelodyPlayRange TNuo4PlayWindow::PlayRange() const {
    const int Id = FRange->checkedId();
    return Id >= 0 ? TNuo4MelodyPlayRange(Id) : mprWhole;
}

void TNuo4PlayWindow::SetPlayRange(TNuo4MelodyPlayRange ARange) {
    if (QAbstractButton* B = FRange->button(int(ARange))) B->setChecked(true);
}

int TNuo4PlayWindow::SpeedPosition() const {
    return FSpeed->value();
}

void TNuo4PlayWindow::SetSpeedPosition(int APosition) {
    FSpeed->setValue(APosition);
}

bool TNuo4PlayWindow::MetronomeChecked() const {
    return FMetronome->isChecked();
}

void TNuo4PlayWindow::SetMetronomeChecked(bool bOn) {
    FMetronome->setChecked(bOn);
}

void TNuo4PlayWindow::SpeedChanged() {
    const double Ratio = Nuo4SpeedRatioFromTrackBar(FSpeed->value());
    C.SetSpeedRatio(Ratio);
    const TMidiBuffer& B = C.Melody().MidiBuffer();
    const double Tempo = B.FullEmpty() ? 120.0 : B.InitStatus().Tempo;
    FSpeedLabel->setText(QString::asprintf("播放速率 = %.2f (%.0f拍/分)", Ratio, Ratio * Tempo));
}

void TNuo4PlayWindow::FillDevices() {
    FDevice->clear();
    for (const TrecNuo4MidiDevice& D : C.Devices())
        FDevice->addItem(QString::fromStdString(D.Name));
    FDevice->setCurrentIndex(C.DeviceIndex());
}

void TNuo4PlayWindow::UpdateControls() {
    const TNuo4PlayState S = C.State();
    const bool bScore = S != psStopped && !C.IsMetronomeAlone();
    FPlay->setEnabled(!bScore);
    FStop->setEnabled(S != psStopped);
    FPause->setEnabled(S != psStopped);
    FPause->setText(S == psPaused ? QStringLiteral("继续") : QStringLiteral("暂停"));
    FDevice->setEnabled(S == psStopped);
    if (S == psStopped) FBeatLabel->clear();
    {
        // The metronome switch follows the sound of the clicks without running it again.
        const QSignalBlocker Block(FMetronome);
        FMetronome->setChecked(C.IsMetronomeAlone() || C.MetronomeSound());
    }
    SpeedChanged();
    const TMidiBuffer& B = C.Melody().MidiBuffer();
    const TMidiBufferInitStatus& I = B.InitStatus();
    int Parts = 0;
    for (int32_t Ch = 0; Ch < 16; ++Ch)
        if (Ch != 9 && B.ChannelHasNotes(Ch)) ++Parts;
    if (Parts == 0 && B.ChannelHasNotes(9)) Parts = 1;
    FLabels[3]->setText(QString::asprintf("总时间 = %.1f秒", B.TotalTime() / 1000.0));
    FLabels[4]->setText(QString::asprintf("声部数量 = %d", Parts));
    FLabels[5]->setText(QString::asprintf("小节数量 = %d", MeasureCount(B)));
    FLabels[6]->setText(QString::asprintf("初始调号= %s (%d)",
                                          Nuo4KeyNameOfTranspose(I.Transpose).toUtf8().constData(),
                                          I.Transpose));
    FLabels[7]->setText(QString::asprintf("初始拍号 = %d/%d", I.Tact.FenZi, I.Tact.FenMu));
    FLabels[8]->setText(QString::asprintf("初始速度 = %.0f拍/分", I.Tempo));
    UpdateLabels();
}

void TNuo4PlayWindow::UpdateLabels() {
    const TNuo4Player& P = C.Player();
    TTact T = C.Melody().MidiBuffer().InitStatus().Tact;
    const double Measure = P.State() == psStopped ? 0 : P.GetMeasureEscaped(&T);
    FLabels[0]->setText(QString::asprintf("播放时间 = %.1f秒", P.GetTimeEscaped() / 1000.0));
    FLabels[1]->setText(QString::asprintf("播放位置 = %.1f小节", Measure));
    FLabels[2]->setText(QString::asprintf("实时拍号 = %d/%d", T.FenZi, T.FenMu));
}

void TNuo4PlayWindow::ShowBeat(int32_t AMeasure, int32_t ABeat) {
    // The first beat of a measure stands out.
    FBeatLabel->setText(
        QString::asprintf(ABeat == 0 ? "<b>%d : %d</b>" : "%d : %d", AMeasure + 1, ABeat + 1));
}

QString TNuo4PlayWindow::LabelText(int AIndex) const {
    if (AIndex == -1) return FSpeedLabel->text();
    if (AIndex == -2) return FBeatLabel->text();
    return AIndex >= 0 && AIndex < int(FLabels.size()) ? FLabels[size_t(AIndex)]->text()
                                                       : QString();
}

void TNuo4PlayWindow::keyPressEvent(QKeyEvent* E) {
    switch (E->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (FPlay->isEnabled())
                FPlay->click();
            else if (FStop->isEnabled())
                FStop->click();
            break;
        case Qt::Key_Escape:
            if (parentWidget()) parentWidget()->hide();
            break;
        case Qt::Key_PageUp:
            FSpeed->setValue(FSpeed->value() - FSpeed->pageStep());
            break;
        case Qt::Key_PageDown:
            FSpeed->setValue(FSpeed->value() + FSpeed->pageStep());
            break;
        default:
            QWidget::keyPressEvent(E);
            return;
    }
    E->accept();
}

void TNuo4PlayWindow::ShowHelp() {
    QMessageBox::information(this, QStringLiteral("帮助"), QString::fromUtf8(PlayHelpText));
}

}  // namespace nuo4
