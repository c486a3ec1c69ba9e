#include "playback/fluid_output.h"

#include <fluidsynth.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace nuo4 {

namespace {

struct TSynth {
    fluid_settings_t* Settings = nullptr;
    fluid_synth_t* Synth = nullptr;
    ~TSynth() {
        if (Synth) delete_fluid_synth(Synth);
        if (Settings) delete_fluid_settings(Settings);
    }
    bool Create(const std::string& ASoundFont, double ARate, std::string& AError) {
        Settings = new_fluid_settings();
        if (!Settings) return AError = "cannot create the synthesiser settings", false;
        fluid_settings_setnum(Settings, "synth.sample-rate", ARate);
        fluid_settings_setnum(Settings, "synth.gain", 0.6);
        Synth = new_fluid_synth(Settings);
        if (!Synth) return AError = "cannot create the synthesiser", false;
        if (ASoundFont.empty()) return AError = "no General MIDI SoundFont is installed", false;
        if (fluid_synth_sfload(Synth, ASoundFont.c_str(), 1) == FLUID_FAILED)
            return AError = "cannot load the SoundFont '" + ASoundFont + "'", false;
        return true;
    }
};

void Send(fluid_synth_t* S, uint8_t AStatus, uint8_t AData1, uint8_t AData2) {
    const int Ch = AStatus & 0x0F;
    switch (AStatus & 0xF0) {
        case 0x90:
            if (AData2 > 0) {
                fluid_synth_noteon(S, Ch, AData1, AData2);
                break;
            }
            [[fallthrough]];
        case 0x80:
            fluid_synth_noteoff(S, Ch, AData1);
            break;
        case 0xC0:
            fluid_synth_program_change(S, Ch, AData1);
            break;
        case 0xB0:
            fluid_synth_cc(S, Ch, AData1, AData2);
            break;
        default:
            break;
    }
}

void PutLE(std::string& AOut, uint32_t AValue, int ABytes) {
    for (int I = 0; I < ABytes; ++I) AOut.push_back(char((AValue >> (8 * I)) & 0xFF));
}

}  // namespace

std::string Nuo4DefaultSoundFont() {
    static const char* const Paths[] = {
        "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/soundfonts/default.sf2"};
    std::error_code E;
    for (const char* P : Paths)
        if (std::filesystem::is_regular_file(P, E)) return P;
    return std::string();
}

bool RenderMelodyToWav(const TMidiBuffer& ABuffer, const std::string& ASoundFont, std::string& AWav,
                       std::string& AError, int ARate) {
    TSynth S;
    if (!S.Create(ASoundFont, ARate, AError)) return false;
    std::vector<int16_t> Frames;  // interleaved left, right
    int64_t Done = 0;
    auto RenderTo = [&](int64_t AFrame) {
        if (AFrame <= Done) return;
        const size_t Base = Frames.size();
        Frames.resize(Base + size_t(AFrame - Done) * 2);
        fluid_synth_write_s16(S.Synth, int(AFrame - Done), Frames.data() + Base, 0, 2,
                              Frames.data() + Base, 1, 2);
        Done = AFrame;
    };
    constexpr int64_t MaxFrames = int64_t(44100) * 60 * 60;  // an hour at most
    for (const TMidiEventType& E : ABuffer.AllEventsInTimeOrder()) {
        const int64_t Frame = std::llround(E.time * ARate / 1000.0);
        if (Frame > MaxFrames) break;
        RenderTo(Frame);
        Send(S.Synth, E.Status(), E.Data1, E.Data2);
    }
    RenderTo(Done + ARate);
    const uint32_t DataBytes = uint32_t(Frames.size() * 2);
    AWav = "RIFF";
    PutLE(AWav, 36 + DataBytes, 4);
    AWav += "WAVEfmt ";
    PutLE(AWav, 16, 4);
    PutLE(AWav, 1, 2);  // PCM
    PutLE(AWav, 2, 2);  // stereo
    PutLE(AWav, uint32_t(ARate), 4);
    PutLE(AWav, uint32_t(ARate) * 4, 4);
    PutLE(AWav, 4, 2);
    PutLE(AWav, 16, 2);
    AWav += "data";
    PutLE(AWav, DataBytes, 4);
    AWav.reserve(AWav.size() + DataBytes);
    for (int16_t V : Frames) PutLE(AWav, uint16_t(V), 2);
    return true;
}

struct TFluidSynthOutput::TImpl {
    TSynth Synth;
    fluid_audio_driver_t* Driver = nullptr;
    ~TImpl() {
        if (Driver) delete_fluid_audio_driver(Driver);
    }
};

TFluidSynthOutput::TFluidSynthOutput() : F(std::make_unique<TImpl>()) {}
TFluidSynthOutput::~TFluidSynthOutput() = default;

bool TFluidSynthOutput::Open(const std::string& ASoundFont, std::string& AError) {
    F = std::make_unique<TImpl>();
    if (!F->Synth.Create(ASoundFont, 44100, AError)) return false;
    F->Driver = new_fluid_audio_driver(F->Synth.Settings, F->Synth.Synth);
    if (!F->Driver) return AError = "no audio device", false;
    return true;
}

void TFluidSynthOutput::PutShortMsg(uint8_t AStatus, uint8_t AData1, uint8_t AData2) {
    if (F->Synth.Synth) Send(F->Synth.Synth, AStatus, AData1, AData2);
}

}  // namespace nuo4
