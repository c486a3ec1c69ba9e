#include <csignal>
#include <iostream>

#include "app/cli/commands.h"

int main(int argc, char** argv) {
    // A write beyond the file-size limit then fails with its message instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
    std::ios::sync_with_stdio(false);
    return nuo4::cli::RunCli(nuo4::cli::TArgs(argv + 1, argv + argc), std::cout, std::cerr);
}
