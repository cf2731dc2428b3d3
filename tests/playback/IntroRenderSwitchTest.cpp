#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "DiskAudioCapture.h"
#include "IntroRenderSwitch.h"
#include "RixModule.h"
#include "RixReplayRenderer.h"
#include "RixSongExporter.h"
#include "nexilon/Nexilon.h"

using namespace std::chrono_literals;

namespace rix {
namespace {

constexpr uint32_t kBlock = 512;
// Order position 1's first sample at 120 BPM.
constexpr uint64_t kStart = 16 * 5512;

// Four order positions: channel 1 a sine on every fourth row, channel 2 one
// 10 cents sharp, which only the exact tables carry.
CRixModuleData Song()
{
    CRixModuleData song;
    for (int channel = 0; channel < 2; ++channel) {
        for (int position = 0; position < 4; ++position)
            song.orderTable[channel][position] = 1;
        for (uint32_t row = 0; row < 16; row += 4)
            song.patterns[channel][1][row] = 49 + row + static_cast<uint32_t>(channel) * 7;
    }
    song.channels[1].oscillators[0].pitch = 10;
    return song;
}

class IntroRenderSwitchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        nexilon::q.Init();
        RegisterModuleClass();
        RegisterPlayerClass();
        module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
        Edit([](CRixModuleData& data) { data = Song(); });
        player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    }
    void TearDown() override
    {
        player.Reset();
        module.Reset();
        nexilon::q.Close();
    }

    void Edit(const std::function<void(CRixModuleData&)>& edit)
    {
        CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
        edit(*data);
    }
    // The whole song as the routine plays it, or as the editor does with
    // the channels of muted silenced.
    std::vector<int16_t> RoutineRender(bool exact)
    {
        CRixReplayRenderer routine(CRixSongExporter().Build(Song(), exact));
        std::vector<int16_t> samples(routine.SongSamples());
        routine.Render(samples.data(), static_cast<uint32_t>(samples.size()));
        return samples;
    }
    std::vector<int16_t> EditorRender(uint32_t muted)
    {
        auto reference = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
        reference->Connect(module.Get());
        for (int32_t c = 0; c < 8; ++c)
            reference->SetChannelEnabled(c, (muted >> c & 1u) == 0);
        std::vector<int16_t> samples(reference->GetLength() / 2);
        reference->Read(samples.data(), samples.size() * 2);
        return samples;
    }

    // Reads blocks through the switch's stream as a sound does, count of
    // them or to the song's end, appending to heardSamples what the switch
    // put in place of the player's (or the player's own) and noting the
    // first position the intro's render was heard at.
    void ReadBlocks(nexilon::IInputStream& stream, CIntroRenderSwitch& introRender, int count = 1 << 30)
    {
        std::vector<int16_t> block(kBlock);
        for (int i = 0; i < count; ++i) {
            const uint64_t first = stream.Tell() / 2;
            const uint64_t got = stream.Read(block.data(), kBlock * 2) / 2;
            if (got == 0)
                return;
            if (introRender.Status().heard && firstHeard == 0)
                firstHeard = first;
            heard.insert(heard.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got));
        }
    }
    bool WaitUntilReady(CIntroRenderSwitch& introRender)
    {
        return WaitFor([&] { return introRender.Status().ready; }, 20s);
    }

    nexilon::CPtr<IRixModule> module;
    nexilon::CPtr<IRixModulePlayer> player;
    std::atomic<bool> playing{true};
    std::vector<int16_t> heard;
    uint64_t firstHeard = 0;
};

// Played from order position 1 with the switch on: once the worker has
// brought the intro render to the playing position, every sample heard is
// the intro's, the muted channels left out as the editor leaves them out;
// the comparison finds the plain tables' detuned channel and nothing else.
TEST_F(IntroRenderSwitchTest, PlaysTheIntroInPlaceOfTheEditorAndComparesThem)
{
    const struct { bool exact; uint32_t muted; bool identical; } cases[] = {
        {false, 0, false}, {true, 0, true}, {false, 1u << 1, true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << "exact " << test.exact << ", muted " << test.muted);
        const std::vector<int16_t> expected = test.muted != 0 ? EditorRender(test.muted) : RoutineRender(test.exact);
        heard.clear();
        firstHeard = 0;
        CIntroRenderSwitch introRender(*module, [this] { return playing.load(); });
        introRender.SetExact(test.exact);
        for (int32_t c = 0; c < 8; ++c)
            introRender.SetChannelMuted(c, (test.muted >> c & 1u) != 0);
        introRender.SetEnabled(true);
        auto stream = introRender.CreateStream(*player);
        player->Connect(module.Get());
        for (int32_t c = 0; c < 8; ++c)
            player->SetChannelEnabled(c, (test.muted >> c & 1u) == 0);
        player->SeekToRow(16);

        ReadBlocks(*stream, introRender, 1);
        ASSERT_TRUE(WaitUntilReady(introRender));
        ReadBlocks(*stream, introRender);
        ASSERT_GT(firstHeard, kStart);
        ASSERT_EQ(heard.size(), expected.size() - kStart);
        const std::vector<int16_t> tail(heard.begin() + static_cast<std::ptrdiff_t>(firstHeard - kStart), heard.end());
        EXPECT_TRUE(tail == std::vector<int16_t>(expected.begin() + static_cast<std::ptrdiff_t>(firstHeard), expected.end()));
        const TIntroRenderStatus status = introRender.Status();
        EXPECT_GE(status.comparedSamples, tail.size());
        EXPECT_EQ(status.worstDifference == 0, test.identical) << status.worstDifference;
    }
}

// An edit puts the editor's render back at once, until the intro's has been
// made anew from the edited song; a hold (the export's verification) has
// the worker let go of the routine until it ends.
TEST_F(IntroRenderSwitchTest, FollowsEditsAndLetsGoOfTheRoutineWhileHeld)
{
    CIntroRenderSwitch introRender(*module, [this] { return playing.load(); });
    introRender.SetEnabled(true);
    auto stream = introRender.CreateStream(*player);
    player->Connect(module.Get());
    ReadBlocks(*stream, introRender, 1);
    ASSERT_TRUE(WaitUntilReady(introRender));
    ReadBlocks(*stream, introRender, 16);
    ASSERT_TRUE(introRender.Status().heard);

    Edit([](CRixModuleData& data) { data.patterns[0][1][2] = 60; });
    ReadBlocks(*stream, introRender, 1);
    EXPECT_FALSE(introRender.Status().heard);
    ASSERT_TRUE(WaitUntilReady(introRender));
    EXPECT_EQ(introRender.Status().comparedSamples, 0u);
    ReadBlocks(*stream, introRender, 16);
    EXPECT_TRUE(introRender.Status().heard);

    {
        const auto hold = introRender.Hold();
        EXPECT_NO_THROW(CRixReplayRenderer(CRixSongExporter().Build(Song())));
        ReadBlocks(*stream, introRender, 1);
        EXPECT_FALSE(introRender.Status().heard);
    }
    EXPECT_TRUE(WaitUntilReady(introRender));
}

} // namespace
} // namespace rix
