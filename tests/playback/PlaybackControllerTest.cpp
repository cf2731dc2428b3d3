#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "PlaybackTestSupport.h"

using namespace std::chrono_literals;
using rix::MSG_LEVEL_REFRESH;
using rix::MSG_PLAYBACK_STOPPED;
using rix::MSG_PLAYING_POSITION;
using rix::NO_PLAYING_POSITION;

namespace {

using PlaybackController = PlaybackTest;

class CDocument final : public rix::IPlaybackDocument {
public:
    void SetModified() override { modified = true; }
    void ClearModified() override { modified = false; }
    std::atomic<bool> modified{false};
};

constexpr rix::TEditorRole kLevelPanels[] = {rix::EDITOR_MIXER, rix::EDITOR_MASTER_PANEL, rix::EDITOR_OSCILLATOR_BAR};

} // namespace

TEST_F(PlaybackController, AnEmptySongEndsAtOnceWithoutMessages)
{
    controller->PlaySong();
    controller->WaitUntilIdle();
    EXPECT_FALSE(controller->IsPlaying());
    EXPECT_FALSE(controller->IsBusy());
    EXPECT_EQ(PostCount(), 0u);
}

TEST_F(PlaybackController, OnePlaybackReportsEveryRowInOrderThenTheEnd)
{
    EditSong(TwoPositionSong);
    controller->SetRow(5);
    Target(rix::EDITOR_TIME_COUNTER).Clear();
    controller->PlaySong();
    EXPECT_TRUE(WaitFor([&] { return controller->IsPlaying(); }, 2s));
    controller->WaitUntilIdle();
    EXPECT_FALSE(controller->IsPlaying());

    // The pattern editor follows the audible row upwards, each row once, and
    // learns at the end that nothing plays.
    const auto rows = Target(rix::EDITOR_PATTERN).Params(MSG_PLAYING_POSITION);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows.back(), NO_PLAYING_POSITION);
    EXPECT_LT(rows.front(), 2u);
    EXPECT_GE(rows[rows.size() - 2], 24u);
    EXPECT_TRUE(std::adjacent_find(rows.begin(), rows.end() - 1, std::greater_equal<>()) == rows.end() - 1);
    // 20 ms polls of 15.6 ms rows skip some rows, never most of them.
    EXPECT_GT(rows.size(), 8u);

    // The order table gets each row's order position, the time counter the
    // row, and the cursor (order 0, row 5) once playback has ended.
    std::vector<uintptr_t> orders;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i)
        orders.push_back(rows[i] / 16);
    orders.push_back(NO_PLAYING_POSITION);
    EXPECT_EQ(Target(rix::EDITOR_ORDER_TABLE).Params(MSG_PLAYING_POSITION), orders);
    std::vector<uintptr_t> counter(rows.begin(), rows.end() - 1);
    counter.push_back(5);
    EXPECT_EQ(Target(rix::EDITOR_TIME_COUNTER).Params(MSG_PLAYING_POSITION), counter);

    // Each level panel is refreshed every cycle and told the end once, last.
    for (rix::TEditorRole panel : kLevelPanels) {
        const auto posts = Target(panel).Posts();
        ASSERT_GE(posts.size(), rows.size());
        EXPECT_EQ(posts.back(), (CRecordingTarget::TPost{MSG_PLAYBACK_STOPPED, 0}));
        EXPECT_TRUE(std::all_of(posts.begin(), posts.end() - 1,
                                [](const auto& post) { return post == CRecordingTarget::TPost{MSG_LEVEL_REFRESH, 0}; }));
    }
    for (const CRecordingTarget& target : targets)
        EXPECT_FALSE(target.SawNonZeroLParam());
    for (rix::TEditorRole quiet : {rix::EDITOR_OSCILLATOR_LIST, rix::EDITOR_EFFECT_LIST, rix::EDITOR_EXTRA_PANEL})
        EXPECT_TRUE(Target(quiet).Posts().empty());
}

TEST_F(PlaybackController, AStartPastTheSongsEndPlaysFromTheStart)
{
    EditSong(TwoPositionSong);
    controller->SetOrderPosition(200);
    controller->PlaySong();
    controller->WaitUntilIdle();
    const auto orders = Target(rix::EDITOR_ORDER_TABLE).Params(MSG_PLAYING_POSITION);
    ASSERT_GE(orders.size(), 2u);
    EXPECT_EQ(orders.front(), 0u);
    EXPECT_EQ(Target(rix::EDITOR_TIME_COUNTER).Params(MSG_PLAYING_POSITION).back(), 200u * 16u);
    EXPECT_EQ(controller->GetCurrentOrder(), 200);
}

TEST_F(PlaybackController, CursorClampsAndNotifiesOnlyOnChange)
{
    CRecordingTarget& pattern = Target(rix::EDITOR_PATTERN);
    CRecordingTarget& orderTable = Target(rix::EDITOR_ORDER_TABLE);
    CRecordingTarget& counter = Target(rix::EDITOR_TIME_COUNTER);
    CRecordingTarget& oscillators = Target(rix::EDITOR_OSCILLATOR_LIST);
    const struct {
        const char* call;
        void (rix::CPlaybackController::*set)(int32_t);
        int32_t (rix::CPlaybackController::*get)() const;
        int32_t value;
        int32_t stored;
        bool notifies;
    } steps[] = {
        {"channel -1", &rix::CPlaybackController::SelectChannel, &rix::CPlaybackController::GetCurrentChannel, -1, 0, false},
        {"channel 9", &rix::CPlaybackController::SelectChannel, &rix::CPlaybackController::GetCurrentChannel, 9, 7, true},
        {"channel 7", &rix::CPlaybackController::SelectChannel, &rix::CPlaybackController::GetCurrentChannel, 7, 7, false},
        {"order 300", &rix::CPlaybackController::SetOrderPosition, &rix::CPlaybackController::GetCurrentOrder, 300, 255, true},
        {"order 255", &rix::CPlaybackController::SetOrderPosition, &rix::CPlaybackController::GetCurrentOrder, 255, 255, false},
        {"order -4", &rix::CPlaybackController::SetOrderPosition, &rix::CPlaybackController::GetCurrentOrder, -4, 0, true},
        {"row 16", &rix::CPlaybackController::SetRow, &rix::CPlaybackController::GetCurrentRow, 16, 15, true},
        {"row 15", &rix::CPlaybackController::SetRow, &rix::CPlaybackController::GetCurrentRow, 15, 15, false},
        {"row -1", &rix::CPlaybackController::SetRow, &rix::CPlaybackController::GetCurrentRow, -1, 0, true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.call);
        for (CRecordingTarget& target : targets)
            target.Clear();
        ((*controller).*step.set)(step.value);
        EXPECT_EQ(((*controller).*step.get)(), step.stored);
        std::size_t told = 0;
        for (const CRecordingTarget& target : targets)
            told += target.Posts().size() + target.Calls().size();
        EXPECT_EQ(told > 0, step.notifies);
    }

    // What each change tells whom.
    for (CRecordingTarget& target : targets)
        target.Clear();
    controller->SelectChannel(3);
    EXPECT_EQ(pattern.Calls(), std::vector<std::string>{"channel 3"});
    EXPECT_EQ(orderTable.Calls(), std::vector<std::string>{"channel 3"});
    EXPECT_EQ(oscillators.Calls(), (std::vector<std::string>{"show 3", "repaint"}));
    EXPECT_EQ(Target(rix::EDITOR_EFFECT_LIST).Calls(), (std::vector<std::string>{"show 3", "repaint"}));
    controller->SetOrderPosition(12);
    controller->SetRow(9);
    EXPECT_EQ(pattern.Calls(), (std::vector<std::string>{"channel 3", "refresh", "repaint", "row 9"}));
    EXPECT_EQ(orderTable.Calls(), (std::vector<std::string>{"channel 3", "order 12"}));
    EXPECT_EQ(counter.Params(MSG_PLAYING_POSITION), (std::vector<uintptr_t>{12 * 16 + 0, 12 * 16 + 9}));
}

TEST_F(PlaybackController, LoopModeRepeatsOnePositionUntilStopAndKeepsTheCounterSilent)
{
    EditSong(TwoPositionSong);
    controller->SetOrderPosition(1);
    controller->PlayPatternLoop();
    EXPECT_TRUE(controller->IsLoopPattern());
    ASSERT_TRUE(WaitFor([&] { return controller->IsPlaying(); }, 2s));
    CRecordingTarget& counter = Target(rix::EDITOR_TIME_COUNTER);
    counter.Clear();
    // Moving the cursor while playing tells the time counter nothing.
    controller->SetOrderPosition(3);
    controller->SetRow(7);
    // Longer than two passes of the quarter-second position.
    std::this_thread::sleep_for(600ms);
    EXPECT_TRUE(controller->IsPlaying());
    EXPECT_TRUE(controller->IsBusy());
    controller->Stop();
    EXPECT_FALSE(controller->IsPlaying());
    controller->WaitUntilIdle();

    const auto rows = Target(rix::EDITOR_PATTERN).Params(MSG_PLAYING_POSITION);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows.back(), NO_PLAYING_POSITION);
    EXPECT_TRUE(std::all_of(rows.begin(), rows.end() - 1, [](uintptr_t row) { return row >= 16 && row < 32; }));
    int wraps = 0;
    for (std::size_t i = 1; i + 1 < rows.size(); ++i)
        wraps += rows[i] < rows[i - 1] ? 1 : 0;
    EXPECT_GE(wraps, 2);
    const auto counted = counter.Params(MSG_PLAYING_POSITION);
    ASSERT_FALSE(counted.empty());
    EXPECT_EQ(counted.back(), 3u * 16u + 7u);
    EXPECT_TRUE(std::all_of(counted.begin(), counted.end() - 1, [](uintptr_t row) { return row >= 16 && row < 32; }));
}

TEST_F(PlaybackController, StartingPlaybackStopsAPreviewAndASecondStartIsRefused)
{
    EditSong([](rix::CRixModuleData& data) {
        TwoPositionSong(data);
        data.bpm = 60;
    });
    controller->PreviewNote(0, 49);
    EXPECT_TRUE(controller->IsPreviewPlaying());
    controller->PlaySong();
    EXPECT_FALSE(controller->IsPreviewPlaying());
    controller->PlayPatternLoop();
    EXPECT_FALSE(controller->IsLoopPattern());
    ASSERT_TRUE(WaitFor([&] { return controller->IsPlaying(); }, 2s));
    controller->Stop();
    controller->WaitUntilIdle();
    EXPECT_EQ(Target(rix::EDITOR_PATTERN).Params(MSG_PLAYING_POSITION).back(), NO_PLAYING_POSITION);
    // Out-of-range channels preview nothing.
    controller->PreviewNote(8, 49);
    controller->PreviewNote(-1, 49);
    EXPECT_FALSE(controller->IsPreviewPlaying());
}

TEST_F(PlaybackController, ResetEditorsStopsRewindsAndLeavesTheDocumentUnmodified)
{
    CDocument document;
    controller->RegisterDocument(&document);
    EditSong(TwoPositionSong);
    EXPECT_TRUE(document.modified);
    controller->SelectChannel(4);
    controller->SetOrderPosition(1);
    controller->SetRow(6);
    controller->PlayPatternLoop();
    ASSERT_TRUE(WaitFor([&] { return controller->IsPlaying(); }, 2s));
    for (CRecordingTarget& target : targets)
        target.Clear();

    controller->ResetEditors();
    EXPECT_FALSE(controller->IsPlaying());
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(controller->GetCurrentChannel(), 0);
    EXPECT_EQ(controller->GetCurrentOrder(), 0);
    EXPECT_EQ(controller->GetCurrentRow(), 0);
    const auto patternCalls = Target(rix::EDITOR_PATTERN).Calls();
    EXPECT_EQ(patternCalls.back(), "repaint");
    EXPECT_NE(std::find(patternCalls.begin(), patternCalls.end(), "row 0"), patternCalls.end());
    for (rix::TEditorRole role : {rix::EDITOR_ORDER_TABLE, rix::EDITOR_MIXER, rix::EDITOR_MASTER_PANEL,
                                  rix::EDITOR_OSCILLATOR_BAR, rix::EDITOR_OSCILLATOR_LIST, rix::EDITOR_EFFECT_LIST}) {
        const auto calls = Target(role).Calls();
        ASSERT_GE(calls.size(), 2u) << role;
        EXPECT_EQ(calls[calls.size() - 2], "refresh") << role;
        EXPECT_EQ(calls.back(), "repaint") << role;
    }
    EXPECT_EQ(Target(rix::EDITOR_EXTRA_PANEL).Calls(), std::vector<std::string>{"repaint"});
    controller->WaitUntilIdle();
    // The thread's last word to the time counter is the reset cursor.
    EXPECT_EQ(Target(rix::EDITOR_TIME_COUNTER).Params(MSG_PLAYING_POSITION).back(), 0u);
    controller->RegisterDocument(nullptr);
}

TEST_F(PlaybackController, DestructionWhilePlayingWaitsForTheThread)
{
    EditSong(TwoPositionSong);
    controller->PlayPatternLoop();
    ASSERT_TRUE(WaitFor([&] { return controller->IsPlaying(); }, 2s));
    controller.reset();
    const std::size_t posts = PostCount();
    EXPECT_EQ(Target(rix::EDITOR_PATTERN).Params(MSG_PLAYING_POSITION).back(), NO_PLAYING_POSITION);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(PostCount(), posts);
}
