#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "FileSizeLimit.h"
#include "RixFileTestData.h"
#include "RixSongEvents.h"
#include "TemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

struct TCliResult {
    int status = -1; // exit status; -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

// Runs the built sonrix3-cli through the shell, each argument quoted, after
// the shell's own words (a limit, a pipe into the tool); standard output
// goes to a file read back, or where output redirects it.
TCliResult RunCli(const std::vector<std::string>& args, const std::string& shell = "", const std::string& output = "")
{
    rixtest::CTemporaryFolder capture;
    std::string command = shell + " " + SONRIX_CLI;
    for (const std::string& arg : args) {
        command += " '";
        for (char c : arg)
            command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += '\'';
    }
    const std::string redirect = output.empty() ? " >" + (capture / "out") : " " + output;
    const int status = std::system((command + redirect + " 2>" + (capture / "err")).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, rixtest::ReadWholeFile(capture / "out"),
            rixtest::ReadWholeFile(capture / "err")};
}

// The dump of the seed files against the dumps kept beside this test (made
// by the tool and checked by hand once; their keys are the model's member
// names). Instrument extensions count in any case.
TEST(CliDump, ModulesAndInstrumentsAsJson)
{
    rixtest::CTemporaryFolder folder;
    const std::string seeds = SONRIX_SOURCE_DIR "/fuzz/seeds/";
    const std::string dumps = SONRIX_SOURCE_DIR "/tests/cli/dump/";
    fs::copy_file(seeds + "instrument/features.sonrixi", folder / "UPPER.SONRIXI");
    const std::pair<std::string, std::string> cases[] = {{seeds + "module/features.sonrix", "features.json"},
                                                         {folder / "UPPER.SONRIXI", "features-instrument.json"}};
    for (const auto& [file, json] : cases) {
        const auto result = RunCli({"dump", file});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, rixtest::ReadWholeFile(dumps + json)) << file;
    }
}

TEST(CliUsage, WrongUsage)
{
    const std::vector<std::vector<std::string>> wrong = {
        {}, {"bogus"}, {"dump"}, {"dump", "a.sonrix", "b.sonrix"}, {"dump", "notes.txt"}, {"convert", "a.sonrix"},
        {"convert", "a.sonrix", "b.sonrix", "c.sonrix"}, {"convert", "a.sonrix", "b.sonrixi"},
        {"convert", "a.sonrixi", "b.sonrix"}, {"convert", "a.wav", "b.wav"}, {"verify-export"}, {"sync"},
        {"render", "--as-exported", "a.sonrix"}, {"export-cpp", "--size"}};
    for (const auto& call : wrong) {
        SCOPED_TRACE(testing::PrintToString(call));
        const auto result = RunCli(call);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("Usage: sonrix3-cli"), std::string::npos);
        EXPECT_EQ(result.out, "");
    }
}

TEST(Cli, FailuresNameTheFileAndTheReasonAndKeepTheOldFile)
{
    rixtest::CTemporaryFolder folder;
    const std::string whole = rixtest::SaveBytes(rixtest::MakeFeatureModule());
    rix::CRixModuleData tooLong;
    tooLong.bpm = 0;
    tooLong.orderTable[0][255] = 1;
    rixtest::WriteWholeFile(folder / "upper.sonrix", rixtest::CFileBytes(u"SONRIX v3.0").Int(255).Bytes());
    rixtest::WriteWholeFile(folder / "channel.sonrix", rixtest::CFileBytes(u"sonrix v3.0").Int(4).Int(8).Bytes());
    rixtest::WriteWholeFile(folder / "cut.sonrix", whole.substr(0, whole.size() / 2));
    rixtest::WriteWholeFile(folder / "song.sonrixi", rixtest::CFileBytes(u"sonrixi v3.0").Int(16).Bytes());
    rixtest::WriteWholeFile(folder / "good.sonrix", whole);
    rixtest::WriteWholeFile(folder / "long.sonrix", rixtest::SaveBytes(tooLong));
    rixtest::WriteWholeFile(folder / "keep.sonrix", "precious");
    rixtest::WriteWholeFile(folder / "empty.sonrixi", "");
    fs::create_directories(folder / "taken.sonrix/inside");
    // Room for 16 blocks of 512 bytes on the disk.
    const std::string fullDisk = "ulimit -f 16;";

    // The shell's words; the command, its files, the file named in the
    // message, the message.
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {"dump", "upper.sonrix", "upper.sonrix", "Invalid file format"}},
        {"", {"dump", "channel.sonrix", "channel.sonrix", "Invalid data format"}},
        {"", {"dump", "cut.sonrix", "cut.sonrix", "Unexpected end of stream"}},
        {"", {"dump", "song.sonrixi", "song.sonrixi", "Invalid data format"}},
        {"", {"dump", "empty.sonrixi", "empty.sonrixi", "The file is empty"}},
        {"", {"dump", "none.sonrix", "none.sonrix", std::strerror(ENOENT)}},
        {"cat '" + (folder / "good.sonrix") + "' |",
         {"render", "/dev/stdin", "keep.sonrix", "/dev/stdin", "The input must be a regular file, not a pipe or a device"}},
        {"", {"convert", "good.sonrix", "no/such/out.sonrix", "no/such/out.sonrix", std::strerror(ENOENT)}},
        // Written completely, then the rename over a folder fails.
        {"", {"convert", "good.sonrix", "taken.sonrix", "taken.sonrix", std::strerror(EISDIR)}},
        {fullDisk, {"convert", "good.sonrix", "keep.sonrix", "keep.sonrix", std::strerror(EFBIG)}},
        {"", {"render", "long.sonrix", "keep.sonrix", "keep.sonrix",
              "WAV export failed! (The song is too long for a WAV file (2 GiB at most))"}},
        {fullDisk, {"render", "good.sonrix", "keep.sonrix", "keep.sonrix",
                    std::string("WAV export failed! (") + std::strerror(EFBIG) + ")"}},
        {fullDisk, {"export-cpp", "good.sonrix", "keep.sonrix", "keep.sonrix", std::strerror(EFBIG)}},
    };
    for (const auto& [shell, c] : cases) {
        SCOPED_TRACE(shell + testing::PrintToString(c));
        std::vector<std::string> args{c[0]};
        for (std::size_t i = 1; i + 2 < c.size(); ++i)
            args.push_back(c[i].starts_with("/") ? c[i] : folder / c[i]);
        const auto result = RunCli(args, shell);
        EXPECT_EQ(result.status, 1);
        const std::string named = c[c.size() - 2];
        EXPECT_EQ(result.err, "sonrix3-cli: " + (named.starts_with("/") ? named : folder / named) + ": " + c.back() + "\n");
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(rixtest::ReadWholeFile(folder / "keep.sonrix"), "precious");
        EXPECT_EQ(rixtest::EntriesIn(folder / ""), 9) << "no temporary file is left behind";
    }
}

// One set of rules for every command's outputs: none replaces one of the
// command's inputs, "-" is standard output as the shell opened it, and a
// write that does not reach its destination is a failure with a message.
TEST(CliOutputs, NoOutputReplacesAnInputAndEveryWriteIsChecked)
{
    rixtest::CTemporaryFolder folder;
    rix::CRixModuleData tiny;
    tiny.bpm = 255;
    tiny.orderTable[0][0] = 1;
    tiny.patterns[0][1][0] = 49;
    const std::string bytes = rixtest::SaveBytes(tiny);
    const std::string song = folder / "song.sonrix";
    rixtest::WriteWholeFile(song, bytes);
    fs::create_symlink("song.sonrix", folder / "link.wav");
    fs::create_hard_link(song, folder / "hard.cpp");
    // A stem's name that is a link to the song.
    fs::create_directory(folder / "stems");
    const std::string stem = folder / ("stems/" + rix::StemFileName(tiny, 0));
    fs::create_symlink("../song.sonrix", stem);

    const std::string replaces = "Would replace the input file " + song + "; nothing was written";
    const struct { std::vector<std::string> args; std::string output; std::string message; } refusals[] = {
        {{"render", song, song}, "", song + ": " + replaces},
        {{"render", "--as-exported", song, folder / "link.wav"}, "", folder / "link.wav: " + replaces},
        {{"export-cpp", song, folder / "hard.cpp"}, "", folder / "hard.cpp: " + replaces},
        {{"convert", song, folder / "./song.sonrix"}, "", folder / "./song.sonrix: " + replaces},
        {{"export-cpp", song, "-"}, ">>" + song, "standard output: " + replaces},
        {{"render", "-", folder / "out.wav"}, "", "standard input: Standard input cannot be read; give the file's name"},
        {{"play", "-"}, "", "standard input: Standard input cannot be read; give the file's name"},
        {{"render", "--stems", folder / "stems", song}, "", stem + ": " + replaces},
        {{"render", "--stems", "-", song}, "", "standard output: render --stems writes several files; give a folder"},
    };
    for (const auto& [args, output, message] : refusals) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto result = RunCli(args, "", output);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "sonrix3-cli: " + message + "\n");
        EXPECT_EQ(rixtest::ReadWholeFile(song), bytes);
    }
    EXPECT_EQ(rixtest::EntriesIn(folder / ""), 4);

    const std::vector<std::string> writers[] = {
        {"render"}, {"render", "--as-exported"}, {"export-cpp"}, {"convert"}};
    for (const auto& writer : writers) {
        SCOPED_TRACE(writer[0]);
        std::vector<std::string> args = writer;
        args.push_back(song);
        args.push_back(folder / "file.sonrix");
        ASSERT_EQ(RunCli(args).status, 0);
        rixtest::WriteWholeFile(folder / "appended", "head");
        args.back() = "-";
        EXPECT_EQ(RunCli(args, "", ">>" + (folder / "appended")).status, 0);
        EXPECT_EQ(rixtest::ReadWholeFile(folder / "appended"), "head" + rixtest::ReadWholeFile(folder / "file.sonrix"));
    }

    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const std::vector<std::string> toStandardOutput[] = {
        {"dump", song}, {"sync", song}, {"export-cpp", "--size", song}, {"verify-export", song},
        {"export-cpp", song, "-"}, {"render", song, "-"}, {"play", song}};
    for (const auto& args : toStandardOutput) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto result = RunCli(args, "SONRIX_AUDIO_DRIVER=dummy", ">/dev/full");
        EXPECT_EQ(result.status, 1);
        // play may say first what scheduling its audio threads got.
        const std::size_t line = result.err.find("sonrix3-cli: standard output: ");
        EXPECT_NE(line, std::string::npos) << result.err;
        EXPECT_NE(result.err.find(std::strerror(ENOSPC), line), std::string::npos) << result.err;
    }
}

} // namespace
