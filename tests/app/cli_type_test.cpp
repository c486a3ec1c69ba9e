#ifdef NUO4_CLI_WITH_RENDER
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "format/score_file.h"

namespace fs = std::filesystem;

namespace {

int RunCli(const std::string& AArgs) {
    const std::string Cmd = std::string(NUO4_CLI_PATH) + " " + AArgs + " >/dev/null 2>&1";
    const int S = std::system(Cmd.c_str());
    return WIFEXITED(S) ? WEXITSTATUS(S) : -1;
}

std::u16string ReadText(const fs::path& APath) {
    std::u16string T;
    std::string Error;
    EXPECT_TRUE(nuo4::ReadScoreFile(APath.string(), T, Error)) << Error;
    std::u16string R;  // line breaks compared as LF
    for (size_t I = 0; I < T.size(); ++I)
        if (T[I] == u'\r') {
            R += u'\n';
            if (I + 1 < T.size() && T[I + 1] == u'\n') ++I;
        } else {
            R += T[I];
        }
    return R;
}

// A two-line folk tune in 2/4, typed as a person would: underlines with Shift+-, a dot, dashes,
// bar lines with ";", the octave-up notes on the Q row, a slur over two selected notes (F4),
// and Enter at the end of the first line (no question there).
TEST(CliType, TypedFolkSongMatchesItsHandWrittenText) {
    const fs::path Dir = fs::temp_directory_path() / ("nuo4_type_" + std::to_string(::getpid()));
    fs::create_directories(Dir);
    { std::ofstream(Dir / "song.nuoabc", std::ios::binary) << ".Voice\r\n $ \r\n"; }
    const std::string Keys =
        "Ctrl+2 3 3 Shift+- 5 Shift+- ; 6 Shift+- q Shift+- q Shift+- 6 Shift+- ; "
        "5 5 Shift+- 6 Shift+- ; 5 - ; Enter "
        "5 . 6 Shift+- ; 5 3 Shift+- 2 Shift+- ; "
        "1 Shift+- 2 Shift+- Left Left Shift+Right Shift+Right F4 Right 3 ; 1 - ;";
    const fs::path Out = Dir / "out.nuoabc";
    ASSERT_EQ(
        RunCli("type " + (Dir / "song.nuoabc").string() + " '" + Keys + "' -o " + Out.string()), 0)
        << "";
    EXPECT_EQ(ReadText(Out),
              ReadText(fs::path(NUO4_SOURCE_DIR) / "tests/app/references/type_folk_song.nuoabc"));
    // A key name that is no key ends the command before anything is written.
    const fs::path Bad = Dir / "bad.nuoabc";
    EXPECT_EQ(RunCli("type " + (Dir / "song.nuoabc").string() + " '1 Spcae' -o " + Bad.string()),
              2);
    EXPECT_FALSE(fs::exists(Bad));
    fs::remove_all(Dir);
}

}  // namespace
#endif
