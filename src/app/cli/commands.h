#pragma once
// Commands of the headless tool. Each returns the process exit status: 0 on success, 2 for a
// missing or unreadable input or a bad command line.

#include <iosfwd>
#include <string>
#include <vector>

namespace nuo4::cli {

using TArgs = std::vector<std::string>;

struct TCommand {
    const char* Name;
    const char* Usage;
    const char* Summary;
    int (*Run)(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
};

const std::vector<TCommand>& AllCommands();

// cmd_scan.cpp
int RunScan(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
int RunEmpty(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
// cmd_parse.cpp
int RunParse(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
// cmd_glyphs.cpp (built with the render library)
int RunGlyphs(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
// cmd_layout.cpp, cmd_render.cpp (built with the layout library)
int RunLayout(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
int RunRender(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
// cmd_midi.cpp (built with the playback library)
int RunMidi(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
// cmd_musicxml.cpp (built with the playback library)
int RunMusicXml(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
// cmd_wav.cpp (built with FluidSynth)
int RunWav(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
// cmd_edit.cpp (built with the edit library)
int RunEdit(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);
// cmd_type.cpp (built with the editor library)
int RunType(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);

// cmd_help.cpp (built with the layout library)
int RunHelpPdf(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);

// Runs a command; an exception (allocation failure included) becomes one line and status 2.
int RunCommandGuarded(const TCommand& ACommand, const TArgs& AArgs, std::ostream& AOut,
                      std::ostream& AErr);
int RunCli(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr);

}  // namespace nuo4::cli
