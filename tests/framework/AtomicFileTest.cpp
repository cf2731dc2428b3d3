#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "AtomicFile.h"
#include "TemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const rixtest::CTemporaryFolder& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder / ""))
        names.insert(entry.path().filename().string());
    return names;
}

// A writer killed half-way leaves the old file and no temporary file; a
// temporary file of a dead writer (a file system without unnamed files, a
// kill between naming and renaming) goes with the next write into the
// folder, while those of writers that live stay.
TEST(AtomicFile, AKilledWriterLeavesNothingThatOutlivesTheNextWrite)
{
    rixtest::CTemporaryFolder folder;
    rixtest::WriteWholeFile(folder / "out.wav", "precious");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        rix::CAtomicFile file(folder / "out.wav");
        const std::string block(1 << 20, 'x');
        file.Write(block.data(), block.size());
        [[maybe_unused]] const auto written = ::write(ready[1], "!", 1);
        ::pause();
        ::_exit(0);
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "out.wav"), "precious");

    const std::string dead = std::to_string(writer);
    const std::string alive = std::to_string(::getpid());
    for (const std::string& name : {".out.wav." + dead + "-0.tmp", ".out.wav." + dead + "-1.tmp",
                                   ".out.wav." + alive + "-7.tmp", std::string("notes.tmp")})
        rixtest::WriteWholeFile(folder / name, "left");
    // A writer whose process id the system does not know (another pid
    // namespace) still holds its lock.
    const int held = ::open((folder / (".out.wav." + dead + "-1.tmp")).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    rix::CAtomicFile::WriteWhole(folder / "song.cpp", "tables");
    ::close(held);
    EXPECT_EQ(Names(folder), (std::set<std::string>{"out.wav", "song.cpp", ".out.wav." + dead + "-1.tmp",
                                                    ".out.wav." + alive + "-7.tmp", std::string("notes.tmp")}));
}

} // namespace
