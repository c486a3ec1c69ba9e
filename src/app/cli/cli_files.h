#pragma once
// The files of the commands. Reading a score: the read error, or the remark that the encoding
// was recognised without a byte-order mark, goes to the error stream under the command's name.
// Every output file is written in one atomic step (format/score_file_save.h).

#include <iosfwd>
#include <string>
#include <string_view>

#include "format/score_file.h"

namespace nuo4::cli {

// Empty unless the encoding was recognised without a byte-order mark.
std::string ScoreEncodingNote(const std::string& APath, TNuo4ScoreFileEncoding AEncoding);

// Prints "nuo4-cli ACommand: ..." lines to AErr; false when the file cannot be read.
bool ReadScoreInput(const std::string& APath, const char* ACommand, std::u16string& AText,
                    std::ostream& AErr);

// Writes an output file atomically; false after "nuo4-cli ACommand: cannot write 'APath': why".
bool WriteOutputFile(const std::string& APath, std::string_view ABytes, const char* ACommand,
                     std::ostream& AErr);

}  // namespace nuo4::cli
