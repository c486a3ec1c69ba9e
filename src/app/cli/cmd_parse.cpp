// nuo4-cli parse FILE: the parse records of every section of a score as JSON.

#include <ostream>

#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/json_dump.h"
#include "format/abc_buffer.h"

namespace nuo4::cli {

json ParseToJson(const TNuo4ABCBuffer& ABuffer) {
    const TText Text = ABuffer.ABCText();
    json Options = json::array();
    for (const auto& Item : ABuffer.Section_Options.Buffer)
        Options.push_back(OptionItemToJson(Item));
    const auto& O = ABuffer.Section_Options;
    return {{"Options",
             {{"ABCTextRange_SectionName", RangeToJson(O.ABCTextRange_SectionName)},
              {"ABCTextRange_Line", RangeToJson(O.ABCTextRange_Line)},
              {"Buffer", Options}}},
            {"Fonts", FontsSectionToJson(ABuffer.Section_Fonts)},
            {"Title", TitleSectionToJson(ABuffer.Section_Title)},
            {"Voice", VoiceSectionToJson(ABuffer.Section_Voice, Text)},
            {"Words", LyricsSectionToJson(ABuffer.Section_Lyrics, Text)},
            {"Attachments", AttachmentsSectionToJson(ABuffer.Section_Attachments, Text)},
            {"Page", PageSectionToJson(ABuffer.Section_Page)}};
}

int RunParse(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    if (AArgs.size() != 1) {
        AErr << "nuo4-cli parse: expected one score file (usage: nuo4-cli parse FILE)\n";
        return 2;
    }
    std::u16string Text;
    if (!ReadScoreInput(AArgs[0], "parse", Text, AErr)) return 2;
    const TNuo4ABCBuffer Buffer(Text);
    AOut << ParseToJson(Buffer).dump(2) << "\n";
    return 0;
}

}  // namespace nuo4::cli
