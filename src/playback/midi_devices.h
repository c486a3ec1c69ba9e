#pragma once
// The outputs a user can choose: the built-in software synthesiser (the default, sound on any
// desktop) and the ALSA sequencer's writable MIDI ports (hardware and software synthesisers),
// listed by name. Which of them exist depends on what the build found.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "playback/midi_scheduler.h"

namespace nuo4 {

enum TNuo4MidiDeviceKind : uint8_t { mdkSynth, mdkAlsaPort };
const char* EnumName(TNuo4MidiDeviceKind AValue);

struct TrecNuo4MidiDevice {
    TNuo4MidiDeviceKind Kind = mdkSynth;
    std::string Name;                // what the device choice shows and the options remember
    int32_t Client = -1, Port = -1;  // the sequencer address of a port
};

// The synthesiser's entry (when built), then the sequencer's ports in its order.
std::vector<TrecNuo4MidiDevice> Nuo4MidiDevices();
// The sequencer's writable ports other than our own (empty without ALSA or a sequencer).
std::vector<TrecNuo4MidiDevice> Nuo4AlsaMidiPorts();

// The device of that name; the first one (the default) when it is gone or empty; -1 for an
// empty list.
int32_t Nuo4FindMidiDevice(const std::vector<TrecNuo4MidiDevice>& ADevices,
                           const std::string& AName);

// Opens a device; null with the reason when it cannot be opened.
std::unique_ptr<TMidiOutput> Nuo4OpenMidiDevice(const TrecNuo4MidiDevice& ADevice,
                                                std::string& AError);

}  // namespace nuo4
