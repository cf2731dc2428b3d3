#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "TemporaryFolder.h"

extern char** environ;

namespace clitest {

struct TCliResult {
    int status = -1; // exit status; -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

// Runs the built sonrix3-cli with the arguments and collects its exit
// status, standard output and standard error.
inline TCliResult RunCli(const std::vector<std::string>& args)
{
    rixtest::CTemporaryFolder capture;
    const std::string outPath = capture / "stdout";
    const std::string errPath = capture / "stderr";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> command{SONRIX_CLI};
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : command)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    const int spawned = posix_spawn(&child, SONRIX_CLI, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " SONRIX_CLI);
    int wait = 0;
    if (waitpid(child, &wait, 0) != child)
        throw std::runtime_error("lost " SONRIX_CLI);

    TCliResult result;
    result.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    result.out = rixtest::ReadWholeFile(outPath);
    result.err = rixtest::ReadWholeFile(errPath);
    return result;
}

} // namespace clitest
