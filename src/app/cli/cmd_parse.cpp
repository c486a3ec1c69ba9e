// nuo4-cli parse FILE: the parse records of every section of a score as JSON.

#include <ostream>
#include <string>

#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/json_dump.h"
#include "format/abc_buffer.h"

namespace nuo4::cli {

namespace {

// A value dumped with two-space indents as if it stood ALevel levels deep: JSON strings hold no
// raw line breaks, so every line break of the dump starts an indented line.
void WriteIndented(std::ostream& AOut, const json& AValue, int ALevel) {
    const std::string Dump = AValue.dump(2);
    const std::string Indent(size_t(ALevel) * 2, ' ');
    size_t From = 0;
    for (size_t Nl = Dump.find('\n'); Nl != std::string::npos; Nl = Dump.find('\n', From)) {
        AOut.write(Dump.data() + From, std::streamsize(Nl + 1 - From));
        AOut << Indent;
        From = Nl + 1;
    }
    AOut.write(Dump.data() + From, std::streamsize(Dump.size() - From));
}

// The parse records as indented JSON, written a section at a time and the voice a symbol at a
// time: the whole tree of a long score takes many times the memory of its text, and building
// and freeing it took most of the command's time.
void WriteParseJson(const TNuo4ABCBuffer& ABuffer, std::ostream& AOut) {
    const TText Text = ABuffer.ABCText();
    json Options = json::array();
    for (const auto& Item : ABuffer.Section_Options.Buffer)
        Options.push_back(OptionItemToJson(Item));
    const auto& O = ABuffer.Section_Options;
    const auto& V = ABuffer.Section_Voice;
    auto Key = [&AOut](const char* AName, int ALevel) {
        AOut << std::string(size_t(ALevel) * 2, ' ') << '"' << AName << "\": ";
    };
    AOut << "{\n";
    Key("Options", 1);
    WriteIndented(AOut,
                  {{"ABCTextRange_SectionName", RangeToJson(O.ABCTextRange_SectionName)},
                   {"ABCTextRange_Line", RangeToJson(O.ABCTextRange_Line)},
                   {"Buffer", Options}},
                  1);
    AOut << ",\n";
    Key("Fonts", 1);
    WriteIndented(AOut, FontsSectionToJson(ABuffer.Section_Fonts), 1);
    AOut << ",\n";
    Key("Title", 1);
    WriteIndented(AOut, TitleSectionToJson(ABuffer.Section_Title), 1);
    AOut << ",\n";
    // The voice's keys before "Buffer", its last, then the symbols one by one.
    Key("Voice", 1);
    const json Head = VoiceSectionToJson(V, Text, false);
    AOut << "{\n";
    for (auto It = Head.begin(); It != Head.end(); ++It) {
        if (It.key() == "Buffer") continue;
        Key(It.key().c_str(), 2);
        WriteIndented(AOut, It.value(), 2);
        AOut << ",\n";
    }
    Key("Buffer", 2);
    bool bFirst = true;
    for (const auto& P : V.Buffer) {
        if (!P) continue;
        AOut << (bFirst ? "[\n" : ",\n") << "      ";
        WriteIndented(AOut, VoiceSymbolToJson(*P, Text), 3);
        bFirst = false;
    }
    AOut << (bFirst ? "[]" : "\n    ]") << "\n  },\n";
    Key("Words", 1);
    WriteIndented(AOut, LyricsSectionToJson(ABuffer.Section_Lyrics, Text), 1);
    AOut << ",\n";
    Key("Attachments", 1);
    WriteIndented(AOut, AttachmentsSectionToJson(ABuffer.Section_Attachments, Text), 1);
    AOut << ",\n";
    Key("Page", 1);
    WriteIndented(AOut, PageSectionToJson(ABuffer.Section_Page), 1);
    AOut << "\n}\n";
}

}  // namespace

int RunParse(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    if (AArgs.size() != 1) {
        AErr << "nuo4-cli parse: expected one score file (usage: nuo4-cli parse FILE)\n";
        return 2;
    }
    std::u16string Text;
    if (!ReadScoreInput(AArgs[0], "parse", Text, AErr)) return 2;
    const TNuo4ABCBuffer Buffer(Text);
    WriteParseJson(Buffer, AOut);
    return 0;
}

}  // namespace nuo4::cli
