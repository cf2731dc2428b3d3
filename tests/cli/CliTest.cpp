#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>

#include "RixFileTestData.h"
#include "TemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

struct TCliResult {
    int status = -1; // exit status; -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

// Runs the built sonrix3-cli through the shell, each argument quoted, after
// the shell's own words (a limit, a pipe into the tool).
TCliResult RunCli(const std::vector<std::string>& args, const std::string& shell = "")
{
    rixtest::CTemporaryFolder capture;
    std::string command = shell + " " + SONRIX_CLI;
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

// The expected dump without white space: the model's member names in their
// order, order and pattern cells unsigned, flags true/false.
using TMembers = std::vector<std::pair<const char*, std::string>>;

std::string Object(const TMembers& members)
{
    std::string out;
    for (const auto& [key, value] : members) {
        out += out.empty() ? "{\"" : ",\"";
        out.append(key).append("\":").append(value);
    }
    return out + "}";
}

template <class TList, class TFormat>
std::string Array(const TList& items, TFormat format)
{
    std::string out;
    for (const auto& item : items) {
        out += out.empty() ? '[' : ',';
        out += format(item);
    }
    return out.empty() ? "[]" : out + "]";
}

std::string Json(int32_t value)
{
    return std::to_string(value);
}

std::string Json(bool value)
{
    return value ? "true" : "false";
}

std::string Json(const rix::TRixEnvelope& e)
{
    return Object({{"minValue", Json(e.minValue)}, {"maxValue", Json(e.maxValue)}, {"speed", Json(e.speed)},
                   {"resetMode", Json(e.resetMode)}, {"phase", Json(e.phase)}, {"keep", Json(e.keep)},
                   {"sustain", Json(e.sustain)}, {"keepEnabled", Json(e.keepEnabled)},
                   {"sustainEnabled", Json(e.sustainEnabled)}});
}

std::string Json(const rix::TRixOscillator& o)
{
    return Object({{"type", Json(o.type)}, {"volume", Json(o.volume)}, {"pitch", Json(o.pitch)},
                   {"volumeEnvelope", Json(o.volumeEnvelope)}, {"transitionEnvelope", Json(o.transitionEnvelope)},
                   {"transition", Json(o.transition)}});
}

std::string Json(const rix::TRixEffect& e)
{
    return Object({{"type", Json(e.type)}, {"envelope1", Json(e.envelope1)}, {"envelope2", Json(e.envelope2)},
                   {"param1", Json(e.param1)}, {"param2", Json(e.param2)}});
}

std::string Json(const rix::CRixModuleChannel& c)
{
    const auto item = [](const auto& value) { return Json(value); };
    return Object({{"volume", Json(c.volume)}, {"envelope", Json(c.envelope)},
                   {"oscillators", Array(c.oscillators, item)},
                   {"transitionOscillators", Array(c.transitionOscillators, item)},
                   {"effects", Array(c.effects, item)}});
}

std::string Json(const rix::CRixModuleData& d)
{
    const auto cell = [](uint32_t value) { return std::to_string(value); };
    const auto row = [&](const auto& values) { return Array(values, cell); };
    return Object({{"bpm", Json(d.bpm)}, {"masterVolume", Json(d.masterVolume)},
                   {"orderTable", Array(d.orderTable, row)},
                   {"patterns", Array(d.patterns, [&](const auto& patterns) { return Array(patterns, row); })},
                   {"channels", Array(d.channels, [](const auto& c) { return Json(c); })}});
}

std::string WithoutSpace(std::string text)
{
    text.erase(std::remove_if(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c); }), text.end());
    return text;
}

TEST(CliDump, ModulesAndInstrumentsAsJson)
{
    rixtest::CTemporaryFolder folder;
    const rix::CRixModuleData song = rixtest::MakeFeatureModule();
    rixtest::WriteWholeFile(folder / "song.sonrix", rixtest::SaveBytes(song));
    // Without a channel record an instrument adds to a freshly reset channel.
    rixtest::WriteWholeFile(folder / "UPPER.SONRIXI",
                            rixtest::CFileBytes(u"sonrixi v3.0").Int(18).Int(8).Int(300).Int(64).Int(255).Bytes());
    rix::CRixModuleChannel instrument;
    instrument.effects.push_back({rix::RIXEFFECT_DELAY, {}, {}, 300, 64});
    const std::pair<std::string, std::string> cases[] = {{"song.sonrix", Json(song)},
                                                         {"UPPER.SONRIXI", Json(instrument)}};
    for (const auto& [name, json] : cases) {
        const auto result = RunCli({"dump", folder / name});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(WithoutSpace(result.out), json);
    }
}

TEST(CliUsage, WrongUsage)
{
    const std::vector<std::vector<std::string>> wrong = {
        {}, {"bogus"}, {"dump"}, {"dump", "a.sonrix", "b.sonrix"}, {"dump", "notes.txt"}, {"convert", "a.sonrix"},
        {"convert", "a.sonrix", "b.sonrix", "c.sonrix"}, {"convert", "a.sonrix", "b.sonrixi"},
        {"convert", "a.sonrixi", "b.sonrix"}, {"convert", "a.wav", "b.wav"}};
    for (const auto& call : wrong) {
        SCOPED_TRACE(testing::PrintToString(call));
        const auto result = RunCli(call);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("Usage: sonrix3-cli"), std::string::npos);
        EXPECT_EQ(result.out, "");
    }
}

std::ptrdiff_t Entries(const rixtest::CTemporaryFolder& folder)
{
    return std::distance(fs::directory_iterator(folder / ""), fs::directory_iterator());
}

TEST(CliConvert, OldVersionsBecomeVersion3InPlaceOrBeside)
{
    rixtest::CTemporaryFolder folder;
    const std::string module = rixtest::Version2ModuleFile().Bytes();
    const std::string instrument = rixtest::Version2InstrumentFile().Bytes();
    rixtest::WriteWholeFile(folder / "song.sonrix", module);
    rixtest::WriteWholeFile(folder / "old.sonrixi", instrument);
    const std::pair<const char*, const char*> conversions[] = {{"song.sonrix", "song.sonrix"},
                                                               {"old.sonrixi", "new.sonrixi"}};
    for (const auto& [in, out] : conversions) {
        const auto result = RunCli({"convert", folder / in, folder / out});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out + result.err, "");
    }
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "song.sonrix"),
              rixtest::SaveBytes(rixtest::Loaded<rix::CRixModuleData>(module)));
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "new.sonrixi"),
              rixtest::SaveBytes(rixtest::Loaded<rix::CRixModuleChannel>(instrument)));
    EXPECT_EQ(Entries(folder), 3) << "no temporary file is left behind";
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
        {"", {"dump", "none.sonrix", "none.sonrix", std::strerror(ENOENT)}},
        {"cat '" + (folder / "good.sonrix") + "' |",
         {"render", "/dev/stdin", "keep.sonrix", "/dev/stdin", "The input must be a regular file, not a pipe or a device"}},
        {"", {"convert", "channel.sonrix", "keep.sonrix", "channel.sonrix", "Invalid data format"}},
        {"", {"convert", "none.sonrix", "keep.sonrix", "none.sonrix", std::strerror(ENOENT)}},
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
        EXPECT_EQ(Entries(folder), 8) << "no temporary file is left behind";
    }
}

} // namespace
