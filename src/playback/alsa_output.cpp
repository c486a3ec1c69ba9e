#include "playback/alsa_output.h"

#include <alsa/asoundlib.h>

#include <filesystem>
#include <mutex>

#include "playback/midi_devices.h"

namespace nuo4 {

struct TAlsaSeqOutput::TImpl {
    snd_seq_t* Seq = nullptr;
    int OwnPort = -1;
    // The timing thread and the audition share one handle.
    std::mutex Lock;
    ~TImpl() {
        if (Seq) snd_seq_close(Seq);
    }
};

TAlsaSeqOutput::TAlsaSeqOutput() : F(std::make_unique<TImpl>()) {}
TAlsaSeqOutput::~TAlsaSeqOutput() = default;

bool TAlsaSeqOutput::Open(int AClient, int APort, std::string& AError) {
    F = std::make_unique<TImpl>();
    if (snd_seq_open(&F->Seq, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) {
        F->Seq = nullptr;
        return AError = "no ALSA sequencer", false;
    }
    snd_seq_set_client_name(F->Seq, "Nuo4");
    F->OwnPort = snd_seq_create_simple_port(
        F->Seq, "Nuo4 playback", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (F->OwnPort < 0) return AError = "cannot create a sequencer port", false;
    if (snd_seq_connect_to(F->Seq, F->OwnPort, AClient, APort) < 0)
        return AError = "cannot connect to the MIDI port " + std::to_string(AClient) + ":" +
                        std::to_string(APort),
               false;
    return true;
}

void TAlsaSeqOutput::PutShortMsg(uint8_t AStatus, uint8_t AData1, uint8_t AData2) {
    if (!F->Seq || F->OwnPort < 0) return;
    snd_seq_event_t E;
    snd_seq_ev_clear(&E);
    const int Ch = AStatus & 0x0F;
    switch (AStatus & 0xF0) {
        case 0x90:
            snd_seq_ev_set_noteon(&E, Ch, AData1, AData2);
            break;
        case 0x80:
            snd_seq_ev_set_noteoff(&E, Ch, AData1, AData2);
            break;
        case 0xB0:
            snd_seq_ev_set_controller(&E, Ch, AData1, AData2);
            break;
        case 0xC0:
            snd_seq_ev_set_pgmchange(&E, Ch, AData1);
            break;
        default:
            return;
    }
    snd_seq_ev_set_source(&E, F->OwnPort);
    snd_seq_ev_set_subs(&E);
    snd_seq_ev_set_direct(&E);
    std::lock_guard<std::mutex> L(F->Lock);
    // A failed message is dropped; the next one tries again.
    snd_seq_event_output_direct(F->Seq, &E);
}

std::vector<TrecNuo4MidiDevice> Nuo4AlsaMidiPorts() {
    std::vector<TrecNuo4MidiDevice> R;
    // Without the sequencer's device there is nothing to list (and the library would complain
    // on the error stream).
    std::error_code Err;
    if (!std::filesystem::exists("/dev/snd/seq", Err)) return R;
    snd_seq_t* Seq = nullptr;
    if (snd_seq_open(&Seq, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0) return R;
    const int Self = snd_seq_client_id(Seq);
    snd_seq_client_info_t* CI;
    snd_seq_port_info_t* PI;
    snd_seq_client_info_alloca(&CI);
    snd_seq_port_info_alloca(&PI);
    snd_seq_client_info_set_client(CI, -1);
    while (snd_seq_query_next_client(Seq, CI) >= 0) {
        const int C = snd_seq_client_info_get_client(CI);
        if (C == Self || C == SND_SEQ_CLIENT_SYSTEM) continue;
        snd_seq_port_info_set_client(PI, C);
        snd_seq_port_info_set_port(PI, -1);
        while (snd_seq_query_next_port(Seq, PI) >= 0) {
            const unsigned Caps = snd_seq_port_info_get_capability(PI);
            const unsigned Need = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
            if ((Caps & Need) != Need || (Caps & SND_SEQ_PORT_CAP_NO_EXPORT)) continue;
            TrecNuo4MidiDevice D;
            D.Kind = mdkAlsaPort;
            D.Client = C;
            D.Port = snd_seq_port_info_get_port(PI);
            D.Name = std::string(snd_seq_client_info_get_name(CI)) + ": " +
                     snd_seq_port_info_get_name(PI) + " (" + std::to_string(D.Client) + ":" +
                     std::to_string(D.Port) + ")";
            R.push_back(std::move(D));
        }
    }
    snd_seq_close(Seq);
    return R;
}

}  // namespace nuo4
