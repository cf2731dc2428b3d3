#include <gtest/gtest.h>

#include "PlaybackTestSupport.h"

using namespace std::chrono_literals;

namespace {

using PlaybackCapture = PlaybackTest;

} // namespace

// What reaches the audio output is the offline render, sample for sample,
// as one run between silence: the real-time path adds, drops and reorders
// nothing.
TEST_F(PlaybackCapture, HearsExactlyTheOfflineRenderFromTheStartPosition)
{
    const struct {
        const char* name;
        int32_t order;
        uint32_t expectedStartRow;
        int32_t mutedChannel;
    } cases[] = {
        {"from-0", 0, 0, -1},
        {"from-1", 1, 16, -1},
        {"past-end", 200, 0, -1},
        {"muted", 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        controller.reset();
        CDiskAudioCapture recording(c.name);
        controller = std::make_unique<rix::CPlaybackController>();
        EditSong(TwoPositionSong);
        std::array<bool, 8> enabled{true, true, true, true, true, true, true, true};
        if (c.mutedChannel >= 0) {
            controller->SetChannelEnabled(c.mutedChannel, false);
            enabled[static_cast<std::size_t>(c.mutedChannel)] = false;
        }
        controller->SetOrderPosition(c.order);
        controller->PlaySong();
        controller->WaitUntilIdle();
        EXPECT_FALSE(controller->IsPlaying());
        const std::vector<int16_t> expected = RenderOffline(controller->GetSongModule(), c.expectedStartRow, enabled);
        controller.reset();
        const std::vector<int16_t> heard = TrimSilence(recording.Samples());
        ASSERT_FALSE(heard.empty());
        EXPECT_TRUE(heard == TrimSilence(expected)) << heard.size() << " samples heard, " << expected.size()
                                                    << " rendered";
    }
}

// The preview sounds channel 5's instrument with the song's tempo and the
// preview's own master volume, and its note stops at row 8.
TEST_F(PlaybackCapture, PreviewPlaysTheChannelsInstrumentForEightRows)
{
    EditSong([](rix::CRixModuleData& data) {
        TwoPositionSong(data);
        data.masterVolume = 30;
        data.channels[5].volume = 220;
        data.channels[5].AddOscillator();
        data.channels[5].envelope.speed = 200;
    });
    controller->PreviewNote(5, 40);
    EXPECT_TRUE(controller->IsPreviewPlaying());
    ASSERT_TRUE(WaitFor([&] { return !controller->IsPreviewPlaying(); }, 5s));

    auto expectedModule = nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId);
    {
        rix::CRixModuleLock song(controller->GetSongModule(), nexilon::LOCKMODE_READ);
        rix::CRixModuleLock data(*expectedModule, nexilon::LOCKMODE_WRITE);
        data->orderTable[0][0] = 1;
        data->patterns[0][1][0] = 40;
        data->patterns[0][1][8] = rix::RIX_NOTE_STOP;
        data->channels[0] = song->channels[5];
        data->bpm = song->bpm;
    }
    const std::vector<int16_t> expected = RenderOffline(*expectedModule, 0);
    controller.reset();
    const std::vector<int16_t> heard = TrimSilence(capture.Samples());
    ASSERT_FALSE(heard.empty());
    EXPECT_TRUE(heard == TrimSilence(expected)) << heard.size() << " samples heard, " << expected.size()
                                                << " rendered";
}
