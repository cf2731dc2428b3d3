// The instrument editors' edits against a song that plays on the dummy
// audio driver, without windows (the ThreadSanitizer build runs it too).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "IRixModulePlayer.h"
#include "InstrumentEditor.h"
#include "PlaybackController.h"
#include "SongEditor.h"
#include "RixModule.h"
#include "nexilon/Nexilon.h"

namespace rix {
namespace {

using namespace std::chrono_literals;

// Keeps the latest playing row the pattern editor would be told.
class CRowFollower final : public IMessageTarget {
public:
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t) override
    {
        if (message == MSG_PLAYING_POSITION && wParam != NO_PLAYING_POSITION)
            row = static_cast<int32_t>(wParam);
    }
    std::atomic<int32_t> row{-1};
};

// One of a cycle of edits a user makes on the playing channel.
void Edit(CInstrumentEditor& editor, int step)
{
    const std::size_t some = static_cast<std::size_t>(step / 13 % 3);
    const int32_t value = step * 37 % 256;
    switch (step % 9) {
    case 0: editor.AddOscillator(0); break;
    case 1: editor.ToggleTransition(0, some); break;
    case 2: editor.SetOscillatorType(0, {some, step % 2 == 0}, value % 5); break;
    case 3: editor.AddEffect(0, step / 9 % 7); break;
    case 4: editor.SetEffectParameter(0, some, 1, value); break;
    case 5: editor.SwapEffects(0, 0, some); break;
    case 6: editor.TransposeAll(0, step % 2 ? 700 : -700); break;
    case 7: editor.RemoveEffect(0, 0); break;
    default: step % 90 == 8 ? editor.CopyInstrument(1, 0) : editor.RemoveOscillator(0, some); break;
    }
}

TEST(InstrumentEditsWhilePlaying, NothingStallsOrBreaks)
{
    nexilon::q.Init();
    RegisterModuleClass();
    RegisterPlayerClass();
    ::setenv("SONRIX_AUDIO_DRIVER", "dummy", 0);
    CPlaybackController controller;
    CSongEditor songEditor(controller);
    CRowFollower follower;
    controller.AddListener(&follower, POSTS_POSITION);
    {
        CRixModuleLock song(controller.GetSongModule(), nexilon::LOCKMODE_WRITE);
        for (int order = 0; order < 64; ++order)
            song->orderTable[0][order] = song->orderTable[1][order] = 1;
        for (int row = 0; row < 16; row += 2)
            song->patterns[0][1][row] = song->patterns[1][1][row] = 37 + row;
        song->channels[1].effects.push_back(TRixEffect::OfType(RIXEFFECT_DELAY));
    }
    controller.PlaySong();
    while (follower.row < 0)
        std::this_thread::sleep_for(10ms);
    // The rows heard in a while without edits, then with them: a loaded
    // machine slows both alike, an edit that held up the audio only the
    // second.
    int32_t row = follower.row;
    std::this_thread::sleep_for(2s);
    const int32_t quietRows = follower.row - row;
    row = follower.row;
    // Edits from a thread of their own stand for a busy UI thread; the
    // controller has no windows, so nothing else edits meanwhile.
    std::thread edits([&songEditor] {
        CInstrumentEditor& editor = songEditor.Instruments();
        const auto end = std::chrono::steady_clock::now() + 2s;
        for (int step = 0; std::chrono::steady_clock::now() < end; ++step) {
            Edit(editor, step);
            std::this_thread::sleep_for(1ms);
        }
    });
    edits.join();
    const int32_t editedRows = follower.row - row;
    EXPECT_TRUE(controller.IsPlaying());
    controller.Stop();
    controller.RemoveListener(&follower);
    EXPECT_GE(editedRows, quietRows * 3 / 4) << quietRows << " rows without edits";
    EXPECT_GT(editedRows, 0);
}

} // namespace
} // namespace rix
