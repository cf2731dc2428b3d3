#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "DiskAudioCapture.h"
#include "HookedPlayer.h"
#include "IRixModulePlayer.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "nexilon/Nexilon.h"

using namespace std::chrono_literals;

namespace rix {
namespace {

// Records what the controller tells one listening window: posts from any
// thread, the cursor and song calls from the UI thread (the test's).
class CRecordingTarget final : public IMessageTarget {
public:
    struct TPost {
        uint32_t message;
        uintptr_t wParam;
        bool operator==(const TPost&) const = default;
    };

    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        EXPECT_EQ(lParam, 0) << "message " << message;
        std::lock_guard guard(mutex);
        posts.push_back({message, wParam});
    }
    void SetChannelCursor(int32_t channel) override { calls.push_back("channel " + std::to_string(channel)); }
    void SetOrderCursor(int32_t order) override { calls.push_back("order " + std::to_string(order)); }
    void SetRowCursor(int32_t row) override { calls.push_back("row " + std::to_string(row)); }
    void OnSongChanged(const TSongChange& c) override { calls.push_back(c.data == SONG_ALL ? "whole song" : "song"); }

    std::vector<TPost> Posts() const
    {
        std::lock_guard guard(mutex);
        return posts;
    }
    // The first parameters of the posts of one message.
    std::vector<uintptr_t> Params(uint32_t message) const
    {
        std::vector<uintptr_t> params;
        for (const TPost& post : Posts())
            if (post.message == message)
                params.push_back(post.wParam);
        return params;
    }
    void Clear()
    {
        std::lock_guard guard(mutex);
        posts.clear();
        calls.clear();
    }

    std::vector<std::string> calls;

private:
    mutable std::mutex mutex;
    std::vector<TPost> posts;
};

class CDocument final : public IPlaybackDocument {
public:
    void SetModified() override { modified = true; }
    void ClearModified() override { modified = false; }
    void OnPlaybackFailed(const std::string& reason) override
    {
        std::lock_guard guard(mutex);
        failures.push_back(reason);
    }
    std::vector<std::string> Failures()
    {
        std::lock_guard guard(mutex);
        return failures;
    }
    std::atomic<bool> modified{false};

private:
    std::mutex mutex;
    std::vector<std::string> failures;
};

// A controller playing into a disk capture, with recording windows that
// want the playing position, the level pace, and no posts. Songs are short
// and fast (960 BPM: 689 samples per row, a
// quarter of a second per order position) to keep real time small.
class PlaybackController : public ::testing::Test {
protected:
    void SetUp() override
    {
        nexilon::q.Init();
        RegisterModuleClass();
        CHookedPlayer::Register();
        controller = std::make_unique<CPlaybackController>();
        Listen();
    }
    void Listen()
    {
        controller->AddListener(&positions, POSTS_POSITION);
        controller->AddListener(&levels, POSTS_LEVELS);
        controller->AddListener(&quiet);
    }
    void TearDown() override
    {
        controller.reset();
        playerHooks.failConnect = false;
        playerHooks.failReadFrom = -1;
        playerHooks.onSeekToRow = nullptr;
        playerHooks.onRead = nullptr;
        nexilon::q.Close();
    }

    std::array<CRecordingTarget*, 3> Targets() { return {&positions, &levels, &quiet}; }
    void ClearTargets()
    {
        for (CRecordingTarget* target : Targets())
            target->Clear();
    }
    std::size_t PostCount()
    {
        std::size_t count = 0;
        for (CRecordingTarget* target : Targets())
            count += target->Posts().size();
        return count;
    }
    void EditSong(const std::function<void(CRixModuleData&)>& edit)
    {
        CRixModuleLock data(controller->GetSongModule(), nexilon::LOCKMODE_WRITE);
        edit(*data);
    }
    // Two order positions: channel 0 plays patterns 1 and 2, channel 1
    // pattern 1 at position 0 only.
    static void TwoPositionSong(CRixModuleData& data)
    {
        data.Reset();
        data.bpm = 960;
        data.orderTable[0][0] = 1;
        data.orderTable[0][1] = 2;
        data.orderTable[1][0] = 1;
        data.patterns[0][1][0] = 49;
        data.patterns[0][1][8] = 56;
        data.patterns[0][2][0] = 61;
        data.patterns[0][2][12] = RIX_NOTE_STOP;
        data.patterns[1][1][4] = 37;
        data.channels[1].volume = 180;
    }
    // What a player of its own reads from the module, from an absolute row
    // to the end, with one channel muted or none.
    static std::vector<int16_t> RenderOffline(IRixModule& module, uint32_t absoluteRow, int32_t mutedChannel = -1)
    {
        auto player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
        player->Connect(&module);
        if (mutedChannel >= 0)
            player->SetChannelEnabled(mutedChannel, false);
        player->SeekToRow(absoluteRow);
        std::vector<int16_t> samples;
        int16_t block[2048];
        while (const uint64_t got = player->Read(block, sizeof block))
            samples.insert(samples.end(), block, block + got / 2);
        return samples;
    }

    // What a capture recorded, once the controller has closed the device,
    // less the gaps it counted as underruns.
    std::vector<int16_t> Heard(const CDiskAudioCapture& recording)
    {
        const std::vector<nexilon::TUnderrun> underruns = controller->GetAudioDevice().GetUnderruns();
        controller.reset();
        return WithoutUnderruns(recording.Samples(), underruns);
    }

    // Chooses the disk driver before the controller opens the device.
    CDiskAudioCapture capture{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    CRecordingTarget positions;
    CRecordingTarget levels;
    CRecordingTarget quiet;
    std::unique_ptr<CPlaybackController> controller;
};

TEST_F(PlaybackController, AnEmptySongEndsAtOnceWithoutSoundOrMessages)
{
    controller->PlaySong();
    controller->WaitUntilIdle();
    EXPECT_FALSE(controller->IsPlaying());
    EXPECT_FALSE(controller->IsBusy());
    EXPECT_EQ(PostCount(), 0u);
    controller.reset();
    EXPECT_TRUE(TrimSilence(capture.Samples()).empty());
}

// What reaches the audio output is the offline render, sample for sample,
// as one run with the silence inside it: the real-time path adds, drops,
// repeats and reorders nothing.
TEST_F(PlaybackController, HearsExactlyTheOfflineRenderFromTheStartPosition)
{
    // With a cursor row, PlayFromCursor.
    const struct { const char* name; int32_t order; uint32_t expectedStartRow; int32_t mutedChannel; bool muteAsItStarts; int32_t row = 0; } cases[] = {
        {"from-0", 0, 0, -1, false}, {"from-1", 1, 16, -1, false}, {"past-end", 200, 0, -1, false}, {"muted", 0, 0, 1, false},
        {"muted-as-it-starts", 0, 0, 1, true}, {"from-the-cursor-row", 0, 5, -1, false, 5},
        {"from-a-row-past-end", 200, 0, -1, false, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        controller.reset();
        CDiskAudioCapture recording(c.name);
        controller = std::make_unique<CPlaybackController>();
        EditSong(TwoPositionSong);
        std::atomic<bool> starting{false}, switched{false};
        if (c.muteAsItStarts) {
            // The switch comes while the playback thread prepares the player.
            playerHooks.onSeekToRow = [&] {
                starting = true;
                WaitFor([&] { return switched.load(); }, 2s);
            };
        } else if (c.mutedChannel >= 0) {
            controller->SetChannelEnabled(c.mutedChannel, false);
        }
        controller->SetOrderPosition(c.order);
        controller->SetRow(c.row);
        if (c.row > 0)
            controller->PlayFromCursor();
        else
            controller->PlaySong();
        if (c.muteAsItStarts) {
            ASSERT_TRUE(WaitFor([&] { return starting.load(); }, 2s));
            controller->SetChannelEnabled(c.mutedChannel, false);
            switched = true;
        }
        controller->WaitUntilIdle();
        playerHooks.onSeekToRow = nullptr;
        EXPECT_EQ(controller->GetCurrentOrder(), c.order); // playback leaves the cursor
        const std::vector<int16_t> expected = RenderOffline(controller->GetSongModule(), c.expectedStartRow, c.mutedChannel);
        EXPECT_TRUE(HoldsAsOneRun(Heard(recording), expected));
    }
}

TEST_F(PlaybackController, OnePlaybackReportsEveryRowInOrderThenTheEnd)
{
    EditSong(TwoPositionSong);
    controller->PlaySong();
    // Once row 1 (689 samples) is heard, the samples heard lately are a run
    // of the song's render; once playback ends there is nothing to copy.
    const auto lastRow = [&] { const auto rows = positions.Params(MSG_PLAYING_POSITION); return rows.empty() ? 0 : rows.back(); };
    ASSERT_TRUE(WaitFor([&] { return lastRow() >= 1; }, 2s));
    std::array<int32_t, 600> heard{};
    ASSERT_TRUE(controller->CopyHeardOutput(-1, heard.data(), heard.size()));
    const std::vector<int16_t> song = RenderOffline(controller->GetSongModule(), 0);
    EXPECT_TRUE(std::search(song.begin(), song.end(), heard.begin(), heard.end()) != song.end());
    controller->WaitUntilIdle();
    EXPECT_FALSE(controller->IsPlaying());
    heard.fill(7);
    EXPECT_FALSE(controller->CopyHeardOutput(-1, heard.data(), heard.size()));
    EXPECT_EQ(std::count(heard.begin(), heard.end(), 0), 600);

    // The position listeners follow the audible row upwards, each row once,
    // and learn at the end that nothing plays.
    const auto rows = positions.Params(MSG_PLAYING_POSITION);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows.back(), NO_PLAYING_POSITION);
    EXPECT_LT(rows.front(), 2u);
    EXPECT_GE(rows[rows.size() - 2], 24u);
    EXPECT_TRUE(std::adjacent_find(rows.begin(), rows.end() - 1, std::greater_equal<>()) == rows.end() - 1);
    // 20 ms polls of 15.6 ms rows skip some rows, never most of them.
    EXPECT_GT(rows.size(), 8u);

    // A level listener hears of the start (then reads the heard output at
    // the display's pace) and of the end, nothing in between; a listener
    // that wants no posts gets none.
    EXPECT_EQ(levels.Posts(), (std::vector<CRecordingTarget::TPost>{{MSG_LEVEL_REFRESH, 0}, {MSG_PLAYBACK_STOPPED, 0}}));
    EXPECT_TRUE(quiet.Posts().empty());
}

// The player ends the playback at the end of the song as it is when it gets
// there; the end is reported only then, and nothing sounds after it, also
// after a Stop that comes later.
TEST_F(PlaybackController, EndsWithTheSongAsEditedWhilePlayingAndIsSilentAfterwards)
{
    const struct { const char* name; uint32_t entry; uintptr_t lastRowFrom, lastRowTo; } cases[] = {
        {"lengthened", 1, 32, 47}, {"shortened", 0, 0, 15}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        controller.reset();
        CDiskAudioCapture recording(c.name);
        controller = std::make_unique<CPlaybackController>();
        Listen();
        ClearTargets();
        EditSong(TwoPositionSong);
        // The edit comes while row 2 is rendered, so well before the player reaches position 1.
        playerHooks.onRead = [&, edited = false](uint64_t sample) mutable {
            if (sample >= 2000 && !std::exchange(edited, true))
                EditSong([&](CRixModuleData& data) { data.orderTable[0][2] = c.entry; data.orderTable[0][1] = c.entry; });
        };
        controller->PlaySong();
        controller->WaitUntilIdle();
        playerHooks.onRead = nullptr;
        const auto rows = positions.Params(MSG_PLAYING_POSITION);
        ASSERT_GE(rows.size(), 2u);
        EXPECT_EQ(rows.back(), NO_PLAYING_POSITION);
        EXPECT_GE(rows[rows.size() - 2], c.lastRowFrom);
        EXPECT_LE(rows[rows.size() - 2], c.lastRowTo);

        // The disk driver writes through a 4 KiB buffer, so the recording
        // may lag by up to 2048 samples; a sound that went on would add
        // 8820 in the 200 ms.
        controller->Stop();
        const std::size_t heardAtStop = TrimSilence(recording.Samples()).size();
        std::this_thread::sleep_for(200ms);
        EXPECT_LE(TrimSilence(recording.Samples()).size(), heardAtStop + 2048);
        EXPECT_TRUE(HoldsAsOneRun(Heard(recording), RenderOffline(controller->GetSongModule(), 0)));
    }
}

// A failing player ends its playback like the song's end, tells the
// document why, and leaves the next playback working.
TEST_F(PlaybackController, APlayerThatFailsEndsThePlaybackWithItsReasonAndTheNextOnePlays)
{
    CDocument document;
    controller->RegisterDocument(&document);
    EditSong(TwoPositionSong);
    const struct { const char* name; bool failConnect; int64_t failReadFrom; const char* reason; } cases[] = {
        {"connect", true, -1, "Connect failed on purpose"}, {"read", false, 3000, "Read failed on purpose"}};
    std::vector<std::string> reasons;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearTargets();
        playerHooks.failConnect = c.failConnect;
        playerHooks.failReadFrom = c.failReadFrom;
        controller->PlaySong();
        controller->WaitUntilIdle();
        EXPECT_FALSE(controller->IsPlaying());
        reasons.push_back(c.reason);
        EXPECT_EQ(document.Failures(), reasons);
        EXPECT_EQ(positions.Params(MSG_PLAYING_POSITION).back(), NO_PLAYING_POSITION);
        EXPECT_EQ(levels.Posts().back(), (CRecordingTarget::TPost{MSG_PLAYBACK_STOPPED, 0}));

        playerHooks.failConnect = false;
        playerHooks.failReadFrom = -1;
        ClearTargets();
        controller->PlaySong();
        controller->WaitUntilIdle();
        const auto rows = positions.Params(MSG_PLAYING_POSITION);
        ASSERT_GE(rows.size(), 2u);
        EXPECT_GE(rows[rows.size() - 2], 24u);
    }
    EXPECT_EQ(document.Failures(), reasons);
    controller->RegisterDocument(nullptr);
}

// An editor that holds the module for 300 ms stalls nothing: the sound
// renders on from what it had, and the position and the heard output (what
// the meters show) follow it, continuous across the loop's wrap at 250 ms.
// (Before, the render thread waited for the module, the display for the
// render thread, and the heard output was silent after each wrap.)
TEST_F(PlaybackController, AWriterHoldingTheModuleStallsNeitherTheSoundNorTheDisplay)
{
    controller.reset();
    ::setenv("SONRIX_AUDIO_DRIVER", "dummy", 1);
    controller = std::make_unique<CPlaybackController>();
    Listen();
    EditSong(TwoPositionSong);
    // Forty passes of the loop (ten seconds, however slow the machine), as
    // a player of its own plays them.
    std::vector<int16_t> passes(40 * 16 * 689);
    auto player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    player->Connect(&controller->GetSongModule());
    player->SetLoopPattern(true);
    player->Read(passes.data(), passes.size() * 2);
    controller->PlayPatternLoop();
    ASSERT_TRUE(WaitFor([&] { return controller->IsPlaying(); }, 2s));
    std::this_thread::sleep_for(50ms);
    {
        CRixModuleLock writing(controller->GetSongModule(), nexilon::LOCKMODE_WRITE);
        positions.Clear();
        for (int poll = 0; poll < 60; ++poll) {
            std::array<int32_t, 600> heard{};
            ASSERT_TRUE(controller->CopyHeardOutput(-1, heard.data(), heard.size()));
            ASSERT_TRUE(std::search(passes.begin(), passes.end(), heard.begin(), heard.end()) != passes.end()) << poll;
            std::this_thread::sleep_for(5ms);
        }
        EXPECT_GE(positions.Params(MSG_PLAYING_POSITION).size(), 3u);
    }
    controller->Stop();
}

// A chosen output takes over at the next playback; one that is not there
// leaves the default playing and a note saying so. (The disk driver would
// take the name for a file: the dummy driver has no outputs but its own.)
TEST_F(PlaybackController, AMissingOutputFallsBackToTheDefaultAndSaysSo)
{
    controller.reset();
    ::setenv("SONRIX_AUDIO_DRIVER", "dummy", 1);
    controller = std::make_unique<CPlaybackController>();
    EXPECT_EQ(controller->GetOutputDeviceNote(), "");
    const std::vector<std::string> outputs = controller->ListOutputDevices();
    EXPECT_TRUE(std::find(outputs.begin(), outputs.end(), "No such output") == outputs.end());
    controller->SetOutputDevice("No such output");
    EditSong(TwoPositionSong);
    controller->PlaySong();
    EXPECT_TRUE(WaitFor([&] { return controller->IsPlaying(); }, 2s));
    controller->Stop();
    EXPECT_EQ(controller->GetOutputDeviceNote(),
              "The audio output \"No such output\" is not available; playing on the default output");
}

TEST_F(PlaybackController, CursorClampsAndNotifiesOnlyOnChange)
{
    using C = CPlaybackController;
    const struct { void (C::*set)(int32_t); int32_t (C::*get)() const; int32_t value, stored; bool notifies; } steps[] = {
        {&C::SelectChannel, &C::GetCurrentChannel, -1, 0, false}, {&C::SelectChannel, &C::GetCurrentChannel, 9, 7, true},
        {&C::SelectChannel, &C::GetCurrentChannel, 7, 7, false},  {&C::SetOrderPosition, &C::GetCurrentOrder, 300, 255, true},
        {&C::SetOrderPosition, &C::GetCurrentOrder, 255, 255, false}, {&C::SetOrderPosition, &C::GetCurrentOrder, -4, 0, true},
        {&C::SetRow, &C::GetCurrentRow, 16, 15, true},            {&C::SetRow, &C::GetCurrentRow, 15, 15, false},
        {&C::SetRow, &C::GetCurrentRow, -1, 0, true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.value);
        ClearTargets();
        ((*controller).*step.set)(step.value);
        EXPECT_EQ(((*controller).*step.get)(), step.stored);
        EXPECT_EQ(PostCount() > 0 || !quiet.calls.empty(), step.notifies);
    }

    // Every listener hears every move, and none is posted.
    ClearTargets();
    controller->SelectChannel(3);
    controller->SetOrderPosition(12);
    controller->SetRow(9);
    for (CRecordingTarget* target : Targets())
        EXPECT_EQ(target->calls, (std::vector<std::string>{"channel 3", "order 12", "row 9"}));
    EXPECT_EQ(PostCount(), 0u);
}

// A loop repeats its position until ResetEditors stops it; the reset also
// rewinds the cursor, tells every listener of the whole song last and leaves
// the document unmodified.
TEST_F(PlaybackController, LoopModeRepeatsOnePositionUntilResetEditorsStopsAndRewinds)
{
    CDocument document;
    controller->RegisterDocument(&document);
    EditSong(TwoPositionSong);
    EXPECT_TRUE(document.modified);
    controller->SelectChannel(4);
    controller->SetOrderPosition(1);
    controller->SetRow(6);
    controller->PlayPatternLoop();
    EXPECT_TRUE(controller->IsLoopPattern());
    ASSERT_TRUE(WaitFor([&] { return controller->IsPlaying(); }, 2s));
    // Two passes of the quarter-second position and more: the row goes back
    // to its start at each pass.
    const auto wraps = [&] {
        const auto rows = positions.Params(MSG_PLAYING_POSITION);
        int count = 0;
        for (std::size_t i = 1; i < rows.size(); ++i)
            count += rows[i] < rows[i - 1] ? 1 : 0;
        return count;
    };
    EXPECT_TRUE(WaitFor([&] { return wraps() >= 2; }, 5s));
    EXPECT_TRUE(controller->IsBusy());
    for (CRecordingTarget* target : Targets())
        target->calls.clear();

    controller->ResetEditors();
    EXPECT_FALSE(controller->IsPlaying());
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(controller->GetCurrentChannel() + controller->GetCurrentOrder() + controller->GetCurrentRow(), 0);
    for (CRecordingTarget* target : Targets())
        EXPECT_EQ(target->calls.empty() ? "" : target->calls.back(), "whole song");
    controller->WaitUntilIdle();
    const auto rows = positions.Params(MSG_PLAYING_POSITION);
    EXPECT_EQ(rows.back(), NO_PLAYING_POSITION);
    EXPECT_TRUE(std::all_of(rows.begin(), rows.end() - 1, [](uintptr_t row) { return row >= 16 && row < 32; }));
    controller->RegisterDocument(nullptr);
}

// The preview sounds channel 5's instrument with the song's tempo and the
// preview's own master volume, and its note stops at row 8.
TEST_F(PlaybackController, PreviewPlaysTheChannelsInstrumentForEightRows)
{
    EditSong([](CRixModuleData& data) {
        TwoPositionSong(data);
        data.masterVolume = 30;
        data.channels[5].volume = 220;
        data.channels[5].AddOscillator();
        data.channels[5].envelope.speed = 200;
    });
    controller->PreviewNote(8, 40); // out-of-range channels preview nothing
    controller->PreviewNote(-1, 40);
    EXPECT_FALSE(controller->IsPreviewPlaying());
    controller->PreviewNote(5, 40);
    EXPECT_TRUE(controller->IsPreviewPlaying());
    ASSERT_TRUE(WaitFor([&] { return !controller->IsPreviewPlaying(); }, 5s));

    auto expectedModule = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
    {
        CRixModuleLock song(controller->GetSongModule(), nexilon::LOCKMODE_READ);
        CRixModuleLock data(*expectedModule, nexilon::LOCKMODE_WRITE);
        data->orderTable[0][0] = 1;
        data->patterns[0][1][0] = 40;
        data->patterns[0][1][8] = RIX_NOTE_STOP;
        data->channels[0] = song->channels[5];
        data->bpm = song->bpm;
    }
    EXPECT_TRUE(HoldsAsOneRun(Heard(capture), RenderOffline(*expectedModule, 0)));
}

TEST_F(PlaybackController, StartingPlaybackStopsAPreviewAndDestructionWaitsForTheThread)
{
    EditSong([](CRixModuleData& data) {
        TwoPositionSong(data);
        data.bpm = 60;
    });
    controller->PreviewNote(0, 49);
    EXPECT_TRUE(controller->IsPreviewPlaying());
    controller->PlaySong();
    EXPECT_FALSE(controller->IsPreviewPlaying());
    controller->PlayPatternLoop(); // refused while a playback runs
    EXPECT_FALSE(controller->IsLoopPattern());
    ASSERT_TRUE(WaitFor([&] { return controller->IsPlaying(); }, 2s));
    controller.reset();
    const std::size_t posts = PostCount();
    EXPECT_EQ(positions.Params(MSG_PLAYING_POSITION).back(), NO_PLAYING_POSITION);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(PostCount(), posts);
}

} // namespace
} // namespace rix
