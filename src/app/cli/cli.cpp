#include <iostream>
#include <new>
#include <stdexcept>

#include "app/cli/commands.h"

namespace nuo4::cli {

const std::vector<TCommand>& AllCommands() {
    static const std::vector<TCommand> Commands = {
        {"scan", "scan FILE", "lines, line types, comments and sections of a score as JSON",
         RunScan},
        {"parse", "parse FILE",
         "parse records of every section (voice symbols, options, fonts, title, lyrics, "
         "attachments, page items) as JSON",
         RunParse},
        {"empty", "empty", "the text of a new document", RunEmpty},
#ifdef NUO4_CLI_WITH_RENDER
        {"glyphs", "glyphs [--symbols] [--draw-list LIST.json] -o SHEET.png|SHEET.pdf",
         "specimen of the music font: every note digit face and glyph descriptor; with "
         "--symbols the symbol sheet (notes, chords, graces, arcs, tuplets, bar lines, voltas, "
         "meters, keys, tempo marks, texts); --draw-list also writes every symbol's path items",
         RunGlyphs},
        {"layout", "layout FILE",
         "the laid-out score as JSON: pages, lines, measures, paragraphs, system lines, basic "
         "symbols and rules-check results",
         RunLayout},
        {"render", "render FILE -o OUT.pdf|OUT.svg|OUT.png [--dpi N] [--page N] [--aux]",
         "the pages of a score as a vector PDF, SVG or PNG images (150 dpi unless given); "
         "--aux adds the score view's auxiliary information",
         RunRender},
        {"midi", "midi FILE -o OUT.mid",
         "the melody of the whole score as a Standard MIDI File (format 1, 480 ticks per "
         "quarter note, repeats unfolded)",
         RunMidi},
        {"musicxml", "musicxml FILE -o OUT.musicxml",
         "the score as MusicXML 4.0 (partwise): parts, notes, lyrics, key, meter, tempo, "
         "slurs, ties, tuplets, repeats and voltas as written",
         RunMusicXml},
        {"edit",
         "edit FILE REQUEST [ARGS...] [--caret I[,right]] [--selection A,B] "
         "[--highlight basic:I|attach:I|page:I] [-o OUT] [--then REQUEST ...]",
         "runs edit requests (caret moves, spacing, paragraphs, voice edits) and prints their "
         "answers as JSON; -o saves the edited score; see nuo4-cli edit --help",
         RunEdit},
        {"type", "type FILE KEYS -o OUT [--four-octaves] [--auto-barline] ...",
         "types a key sequence (\"1 2 3 Space - Ctrl+Z Shift+Left\") into the score through the "
         "editor's key table and saves the result; see nuo4-cli type --help",
         RunType},
        {"help-pdf", "help-pdf PAGE.html -o OUT.pdf",
         "a help page as an A4 PDF; every <pre class=\"score\"> example in it is laid out and "
         "shown as the picture of its lines",
         RunHelpPdf},
#endif
#ifdef NUO4_WITH_FLUIDSYNTH
        {"wav", "wav FILE -o OUT.wav [--soundfont SF2]",
         "the melody of the whole score rendered offline through FluidSynth (44.1 kHz, 16-bit "
         "stereo), with the installed General MIDI SoundFont unless one is given",
         RunWav},
#endif
    };
    return Commands;
}

namespace {
void PrintHelp(std::ostream& AOut) {
    AOut << "nuo4-cli: headless tool of the Nuo4 jianpu score editor\n\nUsage:\n";
    for (const auto& C : AllCommands())
        AOut << "  nuo4-cli " << C.Usage << "\n      " << C.Summary << "\n";
    AOut << "  nuo4-cli --help\n      show this text\n";
}
}  // namespace

int RunCommandGuarded(const TCommand& ACommand, const TArgs& AArgs, std::ostream& AOut,
                      std::ostream& AErr) {
    // Whatever escapes a command ends it with one line and the failure status, never an abort.
    try {
        return ACommand.Run(AArgs, AOut, AErr);
    } catch (const std::bad_alloc&) {
        AErr << "nuo4-cli " << ACommand.Name << ": out of memory\n";
    } catch (const std::exception& E) {
        AErr << "nuo4-cli " << ACommand.Name << ": internal error: " << E.what() << "\n";
    } catch (...) {
        AErr << "nuo4-cli " << ACommand.Name << ": internal error\n";
    }
    return 2;
}

int RunCli(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    if (AArgs.empty() || AArgs[0] == "--help" || AArgs[0] == "-h" || AArgs[0] == "help") {
        PrintHelp(AArgs.empty() ? AErr : AOut);
        return AArgs.empty() ? 2 : 0;
    }
    for (const auto& C : AllCommands())
        if (AArgs[0] == C.Name)
            return RunCommandGuarded(C, TArgs(AArgs.begin() + 1, AArgs.end()), AOut, AErr);
    AErr << "nuo4-cli: unknown command '" << AArgs[0] << "' (see nuo4-cli --help)\n";
    return 2;
}

}  // namespace nuo4::cli
