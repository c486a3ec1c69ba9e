#include "playback/midi_devices.h"

#ifdef NUO4_WITH_FLUIDSYNTH
#include "playback/fluid_output.h"
#endif
#ifdef NUO4_WITH_ALSA
#include "playback/alsa_output.h"
#endif

namespace nuo4 {

const char* EnumName(TNuo4MidiDeviceKind AValue) {
    switch (AValue) {
        case mdkSynth:
            return "mdkSynth";
        case mdkAlsaPort:
            return "mdkAlsaPort";
    }
    return "?";
}

#ifndef NUO4_WITH_ALSA
std::vector<TrecNuo4MidiDevice> Nuo4AlsaMidiPorts() {
    return {};
}
#endif

std::vector<TrecNuo4MidiDevice> Nuo4MidiDevices() {
    std::vector<TrecNuo4MidiDevice> R;
#ifdef NUO4_WITH_FLUIDSYNTH
    TrecNuo4MidiDevice Synth;
    Synth.Kind = mdkSynth;
    Synth.Name = "FluidSynth (General MIDI)";
    R.push_back(Synth);
#endif
    for (TrecNuo4MidiDevice& D : Nuo4AlsaMidiPorts()) R.push_back(std::move(D));
    return R;
}

int32_t Nuo4FindMidiDevice(const std::vector<TrecNuo4MidiDevice>& ADevices,
                           const std::string& AName) {
    if (ADevices.empty()) return -1;
    for (size_t I = 0; I < ADevices.size(); ++I)
        if (!AName.empty() && ADevices[I].Name == AName) return int32_t(I);
    // A port's number may change between sessions: the same client and port name still match.
    const auto Stem = [](const std::string& S) { return S.substr(0, S.rfind(" (")); };
    for (size_t I = 0; I < ADevices.size(); ++I)
        if (!AName.empty() && ADevices[I].Kind == mdkAlsaPort &&
            Stem(ADevices[I].Name) == Stem(AName))
            return int32_t(I);
    return 0;
}

std::unique_ptr<TMidiOutput> Nuo4OpenMidiDevice(const TrecNuo4MidiDevice& ADevice,
                                                std::string& AError) {
    switch (ADevice.Kind) {
        case mdkSynth: {
#ifdef NUO4_WITH_FLUIDSYNTH
            auto Out = std::make_unique<TFluidSynthOutput>();
            if (!Out->Open(Nuo4DefaultSoundFont(), AError)) return nullptr;
            return Out;
#else
            AError = "built without the software synthesiser";
            return nullptr;
#endif
        }
        case mdkAlsaPort: {
#ifdef NUO4_WITH_ALSA
            auto Out = std::make_unique<TAlsaSeqOutput>();
            if (!Out->Open(ADevice.Client, ADevice.Port, AError)) return nullptr;
            return Out;
#else
            AError = "built without the ALSA sequencer";
            return nullptr;
#endif
        }
    }
    AError = "unknown device";
    return nullptr;
}

}  // namespace nuo4
