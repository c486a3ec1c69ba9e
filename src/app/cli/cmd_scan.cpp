// nuo4-cli scan FILE: the scanner's view of a score as JSON; nuo4-cli empty: a new document.

#include <ostream>

#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/json_dump.h"
#include "format/abc_buffer.h"

namespace nuo4::cli {

json ScanToJson(const TNuo4ABCBuffer& ABuffer) {
    json Lines = json::array();
    for (int I = 0; I < ABuffer.GetABCLinesCount(); ++I) {
        json Pieces = json::array();
        for (const TKoRange& P : ABuffer.NonCommentRangesArrayArray[I])
            if (P.IsValid()) Pieces.push_back(RangeToJson(P));
        Lines.push_back({{"index", I},
                         {"range", RangeToJson(ABuffer.LineRangeArray[I])},
                         {"type", EnumName(ABuffer.LineTypeArray[I])},
                         {"pieces", Pieces}});
    }
    json Sections = json::object();
    auto Add = [&Sections](TNuo4ABCSectionType AType, TKoRange AName, TKoRange ALine) {
        if (!AName.IsValid()) return;
        Sections[EnumName(AType)] = {{"header", Utf8(ABC_SectionHeaderName(AType))},
                                     {"ABCTextRange_SectionName", RangeToJson(AName)},
                                     {"ABCTextRange_Line", RangeToJson(ALine)}};
    };
    Add(astOptions, ABuffer.Section_Options.ABCTextRange_SectionName,
        ABuffer.Section_Options.ABCTextRange_Line);
    Add(astFonts, ABuffer.Section_Fonts.ABCTextRange_SectionName,
        ABuffer.Section_Fonts.ABCTextRange_Line);
    Add(astTitle, ABuffer.Section_Title.ABCTextRange_SectionName,
        ABuffer.Section_Title.ABCTextRange_Line);
    Add(astVoice, ABuffer.Section_Voice.ABCTextRange_SectionName,
        ABuffer.Section_Voice.ABCTextRange_Line);
    Add(astWords, ABuffer.Section_Lyrics.ABCTextRange_SectionName,
        ABuffer.Section_Lyrics.ABCTextRange_Line);
    Add(astAttachments, ABuffer.Section_Attachments.ABCTextRange_SectionName,
        ABuffer.Section_Attachments.ABCTextRange_Line);
    Add(astPage, ABuffer.Section_Page.ABCTextRange_SectionName,
        ABuffer.Section_Page.ABCTextRange_Line);
    return {{"lines", Lines},
            {"comments", RangesToJson(ABuffer.CommentRangeArray)},
            {"sections", Sections},
            {"NoKeyWord", ABuffer.NoKeyWord()}};
}

int RunScan(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    if (AArgs.size() != 1) {
        AErr << "nuo4-cli scan: expected one score file (usage: nuo4-cli scan FILE)\n";
        return 2;
    }
    std::u16string Text;
    if (!ReadScoreInput(AArgs[0], "scan", Text, AErr)) return 2;
    const TNuo4ABCBuffer Buffer(Text);
    AOut << ScanToJson(Buffer).dump(2) << "\n";
    return 0;
}

int RunEmpty(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    if (!AArgs.empty()) {
        AErr << "nuo4-cli empty: takes no arguments\n";
        return 2;
    }
    AOut << Utf8(TNuo4ABCBuffer::CreateEmptyDoc());
    return 0;
}

}  // namespace nuo4::cli
