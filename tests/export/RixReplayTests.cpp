#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "IRixModulePlayer.h"
#include "RixExportSize.h"
#include "RixExportVerifier.h"
#include "RixModule.h"
#include "RixReplayRenderer.h"
#include "RixSongExporter.h"
#include "TemporaryFolder.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/Nexilon.h"

namespace rix {
namespace {

struct ReplayEnvironment : testing::Environment {
    void SetUp() override
    {
        nexilon::q.Init();
        RegisterModuleClass();
        RegisterPlayerClass();
    }
};
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new ReplayEnvironment());

constexpr uint32_t kAllEffects = 0x3F;

// A random song of two order positions within what the tables carry
// exactly: pitch 0, envelope phases and limits on the 2048 grid, notes
// 2..192, no band-pass, noise only where it is exported, overdrive
// parameters whose volume the routine can recover. Effects only of the
// types in `effectTypes` (bit per type).
std::unique_ptr<CRixModuleData> RandomExactSong(uint32_t seed, uint32_t effectTypes)
{
    std::mt19937 random(seed);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto envelope = [&](int maxValue) {
        TRixEnvelope e;
        e.maxValue = pick(0, maxValue);
        e.minValue = pick(0, e.maxValue);
        e.speed = pick(-200, 900);
        e.resetMode = pick(0, 4);
        e.phase = 2048 * pick(0, 40);
        e.keepEnabled = pick(0, 2) == 0;
        e.keep = e.keepEnabled && pick(0, 3) == 0 ? 0 : 2048 * pick(0, 60);
        e.sustainEnabled = pick(0, 1) == 1;
        e.sustain = 2048 * pick(0, 20);
        // A constant that runs backwards moves in the editor.
        if (CRixSongExporter::IsConstant(e))
            e.speed = std::abs(e.speed);
        return e;
    };
    auto data = std::make_unique<CRixModuleData>();
    data->bpm = pick(200, 400);
    data->masterVolume = pick(40, 300);
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        CRixModuleChannel& channel = data->channels[c];
        channel.volume = pick(0, 255);
        channel.envelope = envelope(300);
        channel.oscillators.clear();
        channel.transitionOscillators.clear();
        for (int i = pick(1, 3); i > 0; --i) {
            TRixOscillator carrier{pick(0, 3), pick(0, 256), 0, envelope(300), envelope(600), pick(0, 1) == 1};
            TRixOscillator modulator{pick(0, carrier.transition ? 3 : 2), pick(0, 400), 0, envelope(300),
                                     envelope(600), false};
            channel.oscillators.push_back(carrier);
            channel.transitionOscillators.push_back(modulator);
        }
        for (int i = pick(0, 3); i > 0; --i) {
            const int type = pick(0, 5);
            if (!(effectTypes & (1u << type)))
                continue;
            TRixEffect effect = TRixEffect::OfType(type);
            effect.param1 = type == RIXEFFECT_DELAY ? pick(0, 150) : pick(0, type == RIXEFFECT_OVERDRIVE ? 258 : 255);
            effect.param2 = pick(0, 400);
            effect.envelope1 = envelope(type == RIXEFFECT_FLANGE ? 200 : 300);
            effect.envelope2 = envelope(300);
            channel.effects.push_back(effect);
        }
        for (int p = 1; p <= 3; ++p) {
            for (int row = 0; row < RIX_ROWS; ++row) {
                const int kind = pick(0, 9);
                data->patterns[c][p][row] = kind < 5 ? 0u : kind == 5 ? 255u : static_cast<uint32_t>(pick(2, 192));
            }
        }
        for (int position = 0; position < 2; ++position)
            data->orderTable[c][position] = static_cast<uint32_t>(pick(0, 3));
    }
    data->orderTable[0][1] = 1;
    return data;
}

// The editor's render: `passes` times through the song, seeking back to the
// start after each pass (what the routine does when the song ends).
std::vector<int16_t> EditorRender(const CRixModuleData& data, int passes)
{
    nexilon::CPtr<IRixModule> module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
    {
        CRixModuleLock lock(*module, nexilon::LOCKMODE_WRITE);
        *lock = data;
    }
    nexilon::CPtr<IRixModulePlayer> player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    player->Connect(module.Get());
    const auto length = static_cast<std::size_t>(player->GetLength() / 2);
    std::vector<int16_t> samples(length * static_cast<std::size_t>(passes));
    for (int pass = 0; pass < passes; ++pass) {
        player->Seek(0);
        EXPECT_EQ(player->Read(samples.data() + length * static_cast<std::size_t>(pass), length * 2), length * 2);
    }
    return samples;
}

std::string ExportText(const CRixModuleData& data)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> stream = nexilon::CreateMemoryOutputStream();
    CRixSongExporter().Export(data, *stream);
    return stream->GetBytes();
}

// The first sample where two renders part, or -1.
long FirstDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b)
{
    const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return left == a.end() && right == b.end() ? -1 : static_cast<long>(left - a.begin());
}

int RunShell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The text size of the routine compiled with -Os for an exported song.
std::size_t CodeSize(const rixtest::CTemporaryFolder& folder, const std::string& defines)
{
    rixtest::WriteWholeFile(folder / "RixSongDataDefines.h", defines);
    const std::string object = folder / "RixReplay.o";
    if (RunShell(std::string(SONRIX_CXX_COMPILER) + " -Os -Wall -Wextra -Werror -c -I" + SONRIX_SOURCE_DIR "/replay -I" +
            (folder / "") + " " + SONRIX_SOURCE_DIR "/replay/RixReplay.cpp -o " + object) != 0)
        return 0;
    std::FILE* pipe = ::popen(("size -A " + object + " | awk '$1 == \".text\" { print $2 }'").c_str(), "r");
    unsigned long size = 0;
    if (!pipe || std::fscanf(pipe, "%lu", &size) != 1)
        size = 0;
    if (pipe)
        ::pclose(pipe);
    return size;
}

TEST(RixReplay, RoutinePlaysExactSongsAsTheEditorDoesAcrossTheLoop)
{
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const auto data = RandomExactSong(seed, kAllEffects);
        const std::vector<int16_t> expected = EditorRender(*data, 2);
        std::vector<int16_t> actual(expected.size());
        {
            CRixReplayRenderer renderer(CRixSongExporter().Build(*data));
            renderer.Render(actual.data(), static_cast<uint32_t>(actual.size()));
        }
        ASSERT_EQ(FirstDifference(actual, expected), -1) << "of " << expected.size();
        const TRixExportReport report = CRixExportVerifier::Verify(*data);
        EXPECT_TRUE(report.Passes());
        EXPECT_TRUE(report.mix.identical);
        for (const TRixLevelDifference& channel : report.channels)
            EXPECT_TRUE(channel.identical);
    }
}

TEST(RixReplay, CompiledExampleOfAFreshExportPlaysTheEditorsSamples)
{
    // No effects, all of them, and two random subsets: each set of enable
    // defines compiles without warnings and plays the same samples.
    const uint32_t effectSets[] = {0, kAllEffects, 0x15, 0x2A};
    for (uint32_t i = 0; i < std::size(effectSets); ++i) {
        SCOPED_TRACE("effect types " + std::to_string(effectSets[i]));
        const auto data = RandomExactSong(100 + i, effectSets[i]);
        rixtest::CTemporaryFolder folder;
        const std::string text = ExportText(*data);
        rixtest::WriteWholeFile(folder / "RixSongData.cpp", text);
        rixtest::WriteWholeFile(folder / "RixSongDataDefines.h", text.substr(0, text.find("#endif\n") + 7));
        const std::string replay = SONRIX_SOURCE_DIR "/replay";
        ASSERT_EQ(RunShell(std::string(SONRIX_CXX_COMPILER) + " -O1 -Wall -Wextra -Werror -I" + (folder / "") + " -I" +
                      replay + " " + replay + "/example/main.cpp " + replay + "/RixReplay.cpp " +
                      (folder / "RixSongData.cpp") + " -o " + (folder / "example")),
                  0);
        const std::vector<int16_t> expected = EditorRender(*data, 2);
        ASSERT_EQ(RunShell((folder / "example") + " " + (folder / "out.wav") + " " + std::to_string(expected.size())), 0);
        const std::string wav = rixtest::ReadWholeFile(folder / "out.wav");
        ASSERT_EQ(wav.size(), 44 + expected.size() * 2);
        EXPECT_EQ(wav.substr(44), std::string(reinterpret_cast<const char*>(expected.data()), expected.size() * 2));
    }
}

TEST(RixReplay, EffectsLeftOutOfTheDefinesLeaveNoCode)
{
    rixtest::CTemporaryFolder folder;
    const std::string sizes = "#define RIXSONG_LEN 0x1\n#define RIXSONG_ROWLENSAMPLES 5512\n"
                              "#define RIXSONG_ENVCOUNTERLISTSIZE 4\n#define RIXSONG_OSCLISTSIZE 4\n"
                              "#define RIXSONG_EFFECTLISTSIZE 4\n#define RIXSONG_VOL 100\n";
    const std::size_t none = CodeSize(folder, sizes);
    ASSERT_GT(none, 0u);
    const char* names[] = {"DELAY", "FLANGE", "LOWPASS", "HIGHPASS", "RESONANCE", "OVERDRIVE"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        EXPECT_GT(CodeSize(folder, sizes + "#define RIXSONG_ENABLE_" + name + "EFFECT\n"), none + 20);
    }
}

TEST(RixReplay, VerificationNamesWhatTheTablesCannotCarry)
{
    auto data = RandomExactSong(7, kAllEffects);
    data->orderTable[2][0] = 1;
    data->channels[2].effects.push_back(TRixEffect::OfType(RIXEFFECT_BANDPASS));
    data->patterns[2][1][5] = 200;
    data->channels[2].oscillators[0].type = 5;
    data->channels[2].envelope = TRixEnvelope::ChannelDefault();
    data->channels[2].envelope.phase = 1000;
    data->channels[2].oscillators[0].pitch = 50;
    const TRixExportReport report = CRixExportVerifier::Verify(*data);
    std::set<std::string> places;
    for (const TRixExportFeature& feature : report.features) {
        EXPECT_EQ(feature.channel, 2);
        places.insert(feature.place);
    }
    const int lastEffect = static_cast<int>(data->channels[2].effects.size());
    EXPECT_EQ(places, (std::set<std::string>{"effect " + std::to_string(lastEffect), "pattern 1, row 5",
                                             "oscillator 1", "channel envelope"}));
    EXPECT_FALSE(report.Passes());
    bool measured = false;
    for (const TRixPitchError& pitch : report.pitches) {
        if (pitch.channel == 2 && pitch.oscillator == 0 && !pitch.transition) {
            // 50 cents become fine 7: (256 + 7) / 256 is 46.7 cents.
            EXPECT_NEAR(pitch.worstCents, -3.3, 1.5);
            measured = true;
        } else if (pitch.pitch == 0) {
            EXPECT_EQ(pitch.worstCents, 0.0);
        }
    }
    EXPECT_TRUE(measured);
}

TEST(RixReplay, ExportSizeCountsTheCompiledTables)
{
    const auto data = RandomExactSong(3, kAllEffects);
    const TRixSongTables tables = CRixSongExporter().Build(*data);
    const std::size_t expected = tables.orderTable.size() * 4 + tables.patternData.size() + 8 +
                                 tables.envelopes.size() * sizeof(TRixSongEnvelope) +
                                 tables.counters.size() * sizeof(TRixSongEnvelopeCounter) +
                                 tables.oscillators.size() * sizeof(TRixSongOscillator) +
                                 tables.effects.size() * sizeof(TRixSongEffect) + 24;
    const TExportSize size = MeasureExportSize(*data);
    EXPECT_EQ(size.rawBytes, expected);
    EXPECT_GT(size.compressedBytes, 0u);
    EXPECT_LT(size.compressedBytes, size.rawBytes);
}

} // namespace
} // namespace rix
