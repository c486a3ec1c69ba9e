// nuo4-cli wav FILE -o OUT.wav [--soundfont SF2]: the melody of the whole score rendered
// offline through the software synthesiser.

#ifdef NUO4_WITH_FLUIDSYNTH

#include <ostream>

#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/layout_document.h"
#include "playback/fluid_output.h"
#include "playback/melody_build.h"

namespace nuo4::cli {

int RunWav(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    const char* Usage = " (usage: nuo4-cli wav FILE -o OUT.wav [--soundfont SF2])\n";
    std::string Input, Output, SoundFont;
    for (size_t I = 0; I < AArgs.size(); ++I) {
        if (AArgs[I] == "-o" && I + 1 < AArgs.size()) {
            Output = AArgs[++I];
        } else if (AArgs[I] == "--soundfont" && I + 1 < AArgs.size()) {
            SoundFont = AArgs[++I];
        } else if (!AArgs[I].empty() && AArgs[I][0] != '-' && Input.empty()) {
            Input = AArgs[I];
        } else {
            AErr << "nuo4-cli wav: unexpected argument '" << AArgs[I] << "'" << Usage;
            return 2;
        }
    }
    if (Input.empty() || Output.empty()) {
        AErr << "nuo4-cli wav: expected a score file and -o OUT.wav" << Usage;
        return 2;
    }
    if (SoundFont.empty()) SoundFont = Nuo4DefaultSoundFont();
    TLayoutDocument Doc;
    std::string Error;
    if (!LoadLayoutDocument(Input, Doc, Error)) {
        AErr << "nuo4-cli wav: " << Error << "\n";
        return 2;
    }
    if (const std::string Note = ScoreEncodingNote(Input, Doc.Encoding); !Note.empty())
        AErr << "nuo4-cli wav: " << Note << "\n";
    TNuo4Melody Melody;
    TrecNuo4Melody_PlayInfo Info;
    if (!Melody_MakeBuffer(*Doc.Buffer, Info, Melody)) Melody.InitBuffer(Info.InitStatus);
    std::string Wav;
    if (!RenderMelodyToWav(Melody.MidiBuffer(), SoundFont, Wav, Error)) {
        AErr << "nuo4-cli wav: " << Error << "\n";
        return 2;
    }
    if (!WriteOutputFile(Output, Wav, "wav", AErr)) return 2;
    AOut << Output << ": " << Melody.MidiBuffer().TotalTime() / 1000.0 << " s\n";
    return 0;
}

}  // namespace nuo4::cli

#endif
