#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TemporaryFolder.h"

namespace clitest {

struct TCliResult {
    int status = -1; // exit status; -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

// Runs the built sonrix3-cli through the shell, each argument quoted, and
// collects its exit status, standard output and standard error.
inline TCliResult RunCli(const std::vector<std::string>& args)
{
    rixtest::CTemporaryFolder capture;
    std::string command = SONRIX_CLI;
    for (const std::string& arg : args) {
        command += " '";
        for (char c : arg)
            command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += '\'';
    }
    const int status = std::system((command + " >" + (capture / "out") + " 2>" + (capture / "err")).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, rixtest::ReadWholeFile(capture / "out"),
            rixtest::ReadWholeFile(capture / "err")};
}

} // namespace clitest
