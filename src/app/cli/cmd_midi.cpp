// nuo4-cli midi FILE -o OUT.mid: the melody of the whole score as a Standard MIDI File.

#include <ostream>

#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/layout_document.h"
#include "playback/melody_build.h"
#include "playback/midi_write.h"

namespace nuo4::cli {

int RunMidi(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    std::string Input, Output;
    for (size_t I = 0; I < AArgs.size(); ++I) {
        if (AArgs[I] == "-o" && I + 1 < AArgs.size()) {
            Output = AArgs[++I];
        } else if (!AArgs[I].empty() && AArgs[I][0] != '-' && Input.empty()) {
            Input = AArgs[I];
        } else {
            AErr << "nuo4-cli midi: unexpected argument '" << AArgs[I]
                 << "' (usage: nuo4-cli midi FILE -o OUT.mid)\n";
            return 2;
        }
    }
    if (Input.empty() || Output.empty()) {
        AErr << "nuo4-cli midi: expected a score file and -o OUT.mid (usage: nuo4-cli midi FILE "
                "-o OUT.mid)\n";
        return 2;
    }
    TLayoutDocument Doc;
    std::string Error;
    if (!LoadLayoutDocument(Input, Doc, Error)) {
        AErr << "nuo4-cli midi: " << Error << "\n";
        return 2;
    }
    if (const std::string Note = ScoreEncodingNote(Input, Doc.Encoding); !Note.empty())
        AErr << "nuo4-cli midi: " << Note << "\n";
    TNuo4Melody Melody;
    TrecNuo4Melody_PlayInfo Info;
    Info.PlayRange = mprWhole;
    // A score without notes still gives a valid file: its conductor track alone.
    if (!Melody_MakeBuffer(*Doc.Buffer, Info, Melody)) Melody.InitBuffer(Info.InitStatus);
    if (Melody.MidiBuffer().Capped())
        AErr << "nuo4-cli midi: the melody was cut at " << Nuo4MidiEventCap << " events\n";
    if (!WriteOutputFile(Output, TMidiWrite(Melody.MidiBuffer()).ToBytes(), "midi", AErr)) return 2;
    int32_t Notes = 0;
    for (int32_t C = 0; C < 16; ++C) Notes += Melody.MidiBuffer().NoteOnCount(C);
    AOut << Output << ": " << Notes << " note(s)\n";
    return 0;
}

}  // namespace nuo4::cli
