#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

#include "CliRunner.h"
#include "MiniJson.h"
#include "RixFileTestData.h"
#include "TemporaryFolder.h"

namespace {

using clitest::CJson;
using clitest::RunCli;

// The dump is read back into the model, checking every object's keys and
// their order on the way, so a whole structure can be compared at once.
int32_t Int(const CJson& value)
{
    EXPECT_EQ(value.kind, CJson::Number);
    EXPECT_GE(value.number, INT32_MIN);
    EXPECT_LE(value.number, INT32_MAX);
    return static_cast<int32_t>(value.number);
}

uint32_t Unsigned(const CJson& value)
{
    EXPECT_EQ(value.kind, CJson::Number);
    EXPECT_GE(value.number, 0);
    EXPECT_LE(value.number, int64_t{UINT32_MAX});
    return static_cast<uint32_t>(value.number);
}

bool Flag(const CJson& value)
{
    EXPECT_EQ(value.kind, CJson::Flag);
    return value.flag;
}

rix::TRixEnvelope EnvelopeFrom(const CJson& json)
{
    EXPECT_EQ(json.Keys(), (std::vector<std::string>{"minValue", "maxValue", "speed", "resetMode", "phase", "keep",
                                                     "sustain", "keepEnabled", "sustainEnabled"}));
    return {Int(json["minValue"]), Int(json["maxValue"]), Int(json["speed"]),        Int(json["resetMode"]),
            Int(json["phase"]),    Int(json["keep"]),     Int(json["sustain"]),      Flag(json["keepEnabled"]),
            Flag(json["sustainEnabled"])};
}

rix::TRixOscillator OscillatorFrom(const CJson& json)
{
    EXPECT_EQ(json.Keys(), (std::vector<std::string>{"type", "volume", "pitch", "volumeEnvelope",
                                                     "transitionEnvelope", "transition"}));
    return {Int(json["type"]),
            Int(json["volume"]),
            Int(json["pitch"]),
            EnvelopeFrom(json["volumeEnvelope"]),
            EnvelopeFrom(json["transitionEnvelope"]),
            Flag(json["transition"])};
}

rix::TRixEffect EffectFrom(const CJson& json)
{
    EXPECT_EQ(json.Keys(), (std::vector<std::string>{"type", "envelope1", "envelope2", "param1", "param2"}));
    return {Int(json["type"]), EnvelopeFrom(json["envelope1"]), EnvelopeFrom(json["envelope2"]), Int(json["param1"]),
            Int(json["param2"])};
}

rix::CRixModuleChannel ChannelFrom(const CJson& json)
{
    EXPECT_EQ(json.Keys(),
              (std::vector<std::string>{"volume", "envelope", "oscillators", "transitionOscillators", "effects"}));
    rix::CRixModuleChannel channel;
    channel.volume = Int(json["volume"]);
    channel.envelope = EnvelopeFrom(json["envelope"]);
    channel.oscillators.clear();
    for (const CJson& item : json["oscillators"].items)
        channel.oscillators.push_back(OscillatorFrom(item));
    channel.transitionOscillators.clear();
    for (const CJson& item : json["transitionOscillators"].items)
        channel.transitionOscillators.push_back(OscillatorFrom(item));
    for (const CJson& item : json["effects"].items)
        channel.effects.push_back(EffectFrom(item));
    return channel;
}

rix::CRixModuleData ModuleFrom(const CJson& json)
{
    EXPECT_EQ(json.Keys(), (std::vector<std::string>{"bpm", "masterVolume", "orderTable", "patterns", "channels"}));
    rix::CRixModuleData data;
    data.bpm = Int(json["bpm"]);
    data.masterVolume = Int(json["masterVolume"]);
    const CJson& orderTable = json["orderTable"];
    const CJson& patterns = json["patterns"];
    const CJson& channels = json["channels"];
    EXPECT_EQ(orderTable.items.size(), 8u);
    EXPECT_EQ(patterns.items.size(), 8u);
    EXPECT_EQ(channels.items.size(), 8u);
    for (std::size_t c = 0; c < 8; ++c) {
        EXPECT_EQ(orderTable[c].items.size(), 256u);
        for (std::size_t p = 0; p < 256; ++p)
            data.orderTable[c][p] = Unsigned(orderTable[c][p]);
        EXPECT_EQ(patterns[c].items.size(), 16u);
        for (std::size_t pattern = 0; pattern < 16; ++pattern) {
            EXPECT_EQ(patterns[c][pattern].items.size(), 16u);
            for (std::size_t row = 0; row < 16; ++row)
                data.patterns[c][pattern][row] = Unsigned(patterns[c][pattern][row]);
        }
        data.channels[c] = ChannelFrom(channels[c]);
    }
    return data;
}

TEST(CliDump, ModuleDumpHoldsTheWholeSong)
{
    rixtest::CTemporaryFolder folder;
    const rix::CRixModuleData song = rixtest::MakeFeatureModule();
    rixtest::WriteWholeFile(folder / "song.sonrix", rixtest::SaveModuleBytes(song));

    const auto result = RunCli({"dump", folder / "song.sonrix"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ModuleFrom(clitest::ParseJson(result.out)), song);
}

TEST(CliDump, InstrumentDumpIsOneChannelLoadedIntoAResetChannel)
{
    rixtest::CTemporaryFolder folder;
    const rix::CRixModuleChannel instrument = rixtest::MakeFeatureChannel(4);
    rixtest::WriteWholeFile(folder / "full.sonrixi", rixtest::SaveInstrumentBytes(instrument));
    auto result = RunCli({"dump", folder / "full.sonrixi"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ChannelFrom(clitest::ParseJson(result.out)), instrument);

    // Without a channel record the file adds to the reset channel.
    rixtest::CFileBytes addOn;
    addOn.WideString(u"sonrixi v3.0").Int(18).Int(8).Int(300).Int(64).Int(255);
    rixtest::WriteWholeFile(folder / "UPPER.SONRIXI", addOn.Bytes());
    result = RunCli({"dump", folder / "UPPER.SONRIXI"});
    ASSERT_EQ(result.status, 0) << result.err;
    rix::CRixModuleChannel expected;
    expected.effects.push_back({rix::RIXEFFECT_DELAY, {}, {}, 300, 64});
    EXPECT_EQ(ChannelFrom(clitest::ParseJson(result.out)), expected);
}

TEST(CliDump, FailuresNameTheFileAndTheReason)
{
    rixtest::CTemporaryFolder folder;
    const std::string whole = rixtest::SaveModuleBytes(rixtest::MakeFeatureModule());
    struct TCase {
        const char* name;
        std::string bytes;
        std::string message;
    };
    const TCase cases[] = {
        {"upper.sonrix", rixtest::CFileBytes().WideString(u"SONRIX v3.0").Int(255).Bytes(), "Invalid file format"},
        {"tag.sonrix", rixtest::CFileBytes().WideString(u"sonrix v3.0").Int(18).Int(99).Bytes(), "Invalid data format"},
        {"channel.sonrix", rixtest::CFileBytes().WideString(u"sonrix v3.0").Int(4).Int(8).Bytes(),
         "Invalid data format"},
        {"cut.sonrix", whole.substr(0, whole.size() / 2), "Unexpected end of stream"},
        {"empty.sonrix", "", "Unexpected end of stream"},
        {"magic.sonrixi", rixtest::CFileBytes().WideString(u"sonrix v3.0").Int(255).Bytes(), "Invalid file format"},
        {"module-record.sonrixi", rixtest::CFileBytes().WideString(u"sonrixi v3.0").Int(16).Bytes(),
         "Invalid data format"},
    };
    for (const TCase& c : cases) {
        rixtest::WriteWholeFile(folder / c.name, c.bytes);
        const auto result = RunCli({"dump", folder / c.name});
        EXPECT_EQ(result.status, 1) << c.name;
        EXPECT_EQ(result.err, "sonrix3-cli: " + (folder / c.name) + ": " + c.message + "\n");
        EXPECT_EQ(result.out, "") << c.name;
    }

    std::filesystem::create_directory(folder / "folder.sonrix");
    const struct {
        std::string path;
        int error;
    } unreadable[] = {{folder / "missing.sonrix", ENOENT}, {folder / "folder.sonrix", EISDIR}};
    for (const auto& c : unreadable) {
        const auto result = RunCli({"dump", c.path});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "sonrix3-cli: " + c.path + ": " + std::strerror(c.error) + "\n");
    }
}

} // namespace
