// nuo4-cli musicxml FILE -o OUT.musicxml: the score as a MusicXML 4.0 partwise document.

#include <ostream>

#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/layout_document.h"
#include "playback/musicxml_write.h"

namespace nuo4::cli {

int RunMusicXml(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    static const char* const Usage = " (usage: nuo4-cli musicxml FILE -o OUT.musicxml)\n";
    std::string Input, Output;
    for (size_t I = 0; I < AArgs.size(); ++I) {
        if (AArgs[I] == "-o" && I + 1 < AArgs.size()) {
            Output = AArgs[++I];
        } else if (!AArgs[I].empty() && AArgs[I][0] != '-' && Input.empty()) {
            Input = AArgs[I];
        } else {
            AErr << "nuo4-cli musicxml: unexpected argument '" << AArgs[I] << "'" << Usage;
            return 2;
        }
    }
    if (Input.empty() || Output.empty()) {
        AErr << "nuo4-cli musicxml: expected a score file and -o OUT.musicxml" << Usage;
        return 2;
    }
    TLayoutDocument Doc;
    std::string Error;
    if (!LoadLayoutDocument(Input, Doc, Error)) {
        AErr << "nuo4-cli musicxml: " << Error << "\n";
        return 2;
    }
    if (const std::string Note = ScoreEncodingNote(Input, Doc.Encoding); !Note.empty())
        AErr << "nuo4-cli musicxml: " << Note << "\n";
    TrecNuo4MusicXmlStats Stats;
    const std::string Xml = Nuo4MusicXml_Write(*Doc.Buffer, &Stats);
    if (!WriteOutputFile(Output, Xml, "musicxml", AErr)) return 2;
    AOut << Output << ": " << Stats.Parts << " part(s), " << Stats.Measures << " measure(s), "
         << Stats.StruckNotes << " note(s)\n";
    return 0;
}

}  // namespace nuo4::cli
