#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "CliRunner.h"
#include "RixFileTestData.h"
#include "TemporaryFolder.h"

namespace {

using clitest::RunCli;

// The expected dump without white space: the model's member names in their
// order, order and pattern cells unsigned, flags true/false.
using TMembers = std::vector<std::pair<const char*, std::string>>;

std::string Object(const TMembers& members)
{
    std::string out;
    for (const auto& [key, value] : members)
        out += (out.empty() ? "{\"" : ",\"") + std::string(key) + "\":" + value;
    return out + "}";
}

template <class TList, class TFormat>
std::string Array(const TList& items, TFormat format)
{
    std::string out;
    for (const auto& item : items)
        out += (out.empty() ? "[" : ",") + format(item);
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

TEST(CliDump, FailuresNameTheFileAndTheReason)
{
    rixtest::CTemporaryFolder folder;
    const std::string whole = rixtest::SaveBytes(rixtest::MakeFeatureModule());
    const std::string cases[][3] = {
        {"upper.sonrix", rixtest::CFileBytes(u"SONRIX v3.0").Int(255).Bytes(), "Invalid file format"},
        {"tag.sonrix", rixtest::CFileBytes(u"sonrix v3.0").Int(18).Int(99).Bytes(), "Invalid data format"},
        {"channel.sonrix", rixtest::CFileBytes(u"sonrix v3.0").Int(4).Int(8).Bytes(), "Invalid data format"},
        {"cut.sonrix", whole.substr(0, whole.size() / 2), "Unexpected end of stream"},
        {"magic.sonrixi", rixtest::CFileBytes(u"sonrix v3.0").Int(255).Bytes(), "Invalid file format"},
        {"module-record.sonrixi", rixtest::CFileBytes(u"sonrixi v3.0").Int(16).Bytes(), "Invalid data format"},
        {"missing.sonrix", "", std::strerror(ENOENT)},
        {"folder.sonrix", "", std::strerror(EISDIR)},
    };
    std::filesystem::create_directory(folder / "folder.sonrix");
    for (const auto& c : cases) {
        if (c[0] != "missing.sonrix" && c[0] != "folder.sonrix")
            rixtest::WriteWholeFile(folder / c[0], c[1]);
        const auto result = RunCli({"dump", folder / c[0]});
        EXPECT_EQ(result.status, 1) << c[0];
        EXPECT_EQ(result.err, "sonrix3-cli: " + (folder / c[0]) + ": " + c[2] + "\n");
        EXPECT_EQ(result.out, "") << c[0];
    }
}

} // namespace
