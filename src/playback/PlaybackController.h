#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "IMessageTarget.h"
#include "IPlaybackDocument.h"
#include "IRixModulePlayer.h"
#include "IRixModule.h"
#include "nexilon/AudioDevice.h"
#include "nexilon/Ptr.h"
#include "nexilon/Sound.h"

namespace rix {

// The application-wide owner of the song module: plays it in real time (the
// whole song, or one order position in a loop) on a playback thread that
// follows the audible position and posts it to the editor windows, plays
// note previews on a private module, and holds the editing cursor that the
// editors follow.
//
// Threading: every operation is meant for the UI thread, the one thread
// that edits. The playback thread posts messages only (IMessageTarget::
// PostMessage). Never call an operation while holding a lock of the song
// module: the audio output reads the module while it holds its own lock.
// Needs the framework initialised and the module and player classes
// registered (RegisterModuleClass, RegisterPlayerClass); opens the audio
// output at construction.
class CPlaybackController {
public:
    CPlaybackController();
    // Stops playback (see Stop).
    ~CPlaybackController();
    CPlaybackController(const CPlaybackController&) = delete;
    CPlaybackController& operator=(const CPlaybackController&) = delete;

    // The module the document loads into and saves from.
    IRixModule& GetSongModule() const { return *songModule; }

    // A window takes its role, or leaves it with null. Not owned; a window
    // must leave before it dies.
    void RegisterTarget(TEditorRole role, IMessageTarget* target);
    // The document the song module marks modified, or null. Not owned.
    void RegisterDocument(IPlaybackDocument* document);

    // Plays the song from the cursor's order position (from the start when
    // that is past the song's end) to its end; PlayPatternLoop repeats the
    // cursor's order position until Stop. Both stop a sounding preview and
    // do nothing while a playback runs or is starting.
    void PlaySong();
    void PlayPatternLoop();
    // Ends playback and waits for the playback thread's last messages.
    void Stop();
    // Sounds note (1..254; 255 and 0 are stored as they are) on the
    // instrument of channel (0..7, else nothing happens) at the song's
    // tempo for 8 rows.
    void PreviewNote(int32_t channel, uint32_t note);

    // The editing cursor: clamped to 0..7, 0..255 and 0..15; a change moves
    // the editors' cursors.
    void SelectChannel(int32_t channel);
    void SetOrderPosition(int32_t position);
    void SetRow(int32_t row);
    // The pattern editor re-reads and repaints the module.
    void RefreshPattern();
    // After New, Open or a bulk edit: stops playback, cursor to 0, every
    // editor refreshed, the document unmodified.
    void ResetEditors();

    // Channel mute switches (channel 0..7), applied at every start of
    // playback and at once to a running one.
    void SetChannelEnabled(int32_t channel, bool enabled);
    bool IsChannelEnabled(int32_t channel) const;

    // True once the song's sound has started, until playback ends.
    bool IsPlaying() const { return isPlaying; }
    bool IsLoopPattern() const { return loopPattern; }
    bool IsPreviewPlaying() const { return previewSound->IsPlaying(); }
    int32_t GetCurrentChannel() const { return currentChannel; }
    int32_t GetCurrentOrder() const { return currentOrder; }
    int32_t GetCurrentRow() const { return currentRow; }
    // True from PlaySong or PlayPatternLoop until the playback thread has
    // posted its last message.
    bool IsBusy() const { return threadActive; }
    // Waits for the playback thread to end by itself at the song's end (in
    // loop mode it never does).
    void WaitUntilIdle();

private:
    void StartPlayback(bool loop);
    // The playback thread.
    void RunPlayback(bool loop);
    // Returns false when the song has no order position or Stop came first.
    bool StartSound(bool loop, int32_t& songLength);
    // Follows the audible row every poll period until playback ends.
    void FollowSound(bool loop, int32_t songLength);
    void PostEnd();
    void Post(TEditorRole role, uint32_t message, uintptr_t wParam);
    // UI thread only, like registration: no lock needed to read the slot.
    IMessageTarget* Target(TEditorRole role) const { return targets[role]; }
    void PostCursorToTimeCounter();

    // Counted references, declared so that the sounds go first.
    nexilon::CPtr<nexilon::IAudioDevice> audioDevice;
    nexilon::CPtr<IRixModule> songModule;
    nexilon::CPtr<IRixModule> previewModule;
    nexilon::CPtr<IRixModulePlayer> songPlayer;
    nexilon::CPtr<IRixModulePlayer> previewPlayer;
    nexilon::CPtr<nexilon::ISound> previewSound;
    // Replaced by the playback thread at every start; guarded by stateMutex.
    nexilon::CPtr<nexilon::ISound> songSound;

    // Guards songSound and the moves of isPlaying and stopRequested between
    // the two threads; the playback thread sleeps on wake between polls.
    std::mutex stateMutex;
    std::condition_variable wake;
    std::atomic<bool> isPlaying{false};
    // Set by Stop: a playback thread still starting must not start its sound.
    bool stopRequested = false;
    std::atomic<bool> threadActive{false};
    std::thread playbackThread;

    std::atomic<bool> loopPattern{false};
    std::array<std::atomic<bool>, 8> channelEnabled;
    std::atomic<int32_t> currentChannel{0};
    std::atomic<int32_t> currentOrder{0};
    std::atomic<int32_t> currentRow{0};

    // Written on the UI thread under targetMutex; the playback thread posts
    // under it, so a window that has left is never called again.
    mutable std::mutex targetMutex;
    std::array<IMessageTarget*, EDITOR_ROLES> targets{};
    IPlaybackDocument* document = nullptr;
};

} // namespace rix
