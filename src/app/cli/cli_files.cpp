#include "app/cli/cli_files.h"

#include <ostream>

#include "format/score_file_save.h"

namespace nuo4::cli {

std::string ScoreEncodingNote(const std::string& APath, TNuo4ScoreFileEncoding AEncoding) {
    if (AEncoding != sfeUtf16LENoMark && AEncoding != sfeUtf16BENoMark) return {};
    return "'" + APath + "' has no byte-order mark; read as " + ScoreFileEncodingName(AEncoding);
}

bool ReadScoreInput(const std::string& APath, const char* ACommand, std::u16string& AText,
                    std::ostream& AErr) {
    std::string Error;
    TNuo4ScoreFileEncoding Encoding = sfeUtf8;
    if (!ReadScoreFile(APath, AText, Error, &Encoding)) {
        AErr << "nuo4-cli " << ACommand << ": " << Error << "\n";
        return false;
    }
    if (const std::string Note = ScoreEncodingNote(APath, Encoding); !Note.empty())
        AErr << "nuo4-cli " << ACommand << ": " << Note << "\n";
    return true;
}

bool WriteOutputFile(const std::string& APath, std::string_view ABytes, const char* ACommand,
                     std::ostream& AErr) {
    std::string Error;
    if (WriteFileAtomic(APath, ABytes, Error)) return true;
    AErr << "nuo4-cli " << ACommand << ": " << Error << "\n";
    return false;
}

}  // namespace nuo4::cli
