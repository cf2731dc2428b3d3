#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "EditCursor.h"
#include "EditorNotifier.h"
#include "IRixModulePlayer.h"
#include "IRixModule.h"
#include "nexilon/AudioDevice.h"
#include "nexilon/Ptr.h"
#include "nexilon/Sound.h"

namespace rix {

// One real-time playback at a time of the song module: a thread that
// connects the song player, starts its sound and then follows the heard
// position every 20 ms, posting it to the editors until the player reaches
// the end of the song as it is then (song mode) or until Stop (loop mode).
// The level panels hear of the start (one level refresh) and the end; in
// between they read the heard output themselves (CopyHeardOutput).
// A failing player or audio output ends the playback the same way and its
// reason goes to the document.
//
// Threading: Start, Stop, WaitUntilIdle, DetachOutput and the mute
// switches are for the UI thread; the queries may be called from any
// thread. None may be called while holding a lock of the song module:
// Stop waits for the thread, which may be waiting for that lock.
class CPlaybackThread {
public:
    // Needs the player class registered. cursor is only stored here: the
    // thread reads its order position (and row) when it starts.
    CPlaybackThread(IRixModule& song, CEditCursor& cursor, CEditorNotifier& notifier);
    // Stops playback.
    ~CPlaybackThread();
    CPlaybackThread(const CPlaybackThread&) = delete;
    CPlaybackThread& operator=(const CPlaybackThread&) = delete;

    // Plays through device from the cursor's order position (from the start
    // when that is past the song's end), at its first row or, with
    // fromCursorRow, at the cursor's row; loop repeats that order position
    // until Stop. Does nothing while a playback runs or is starting.
    void Start(nexilon::IAudioDevice& device, bool loop, bool fromCursorRow = false);
    // Silences the song at once, whether or not the playback still runs,
    // and waits for the thread's last messages.
    void Stop();
    // Waits for the thread to end by itself (in loop mode it never does).
    void WaitUntilIdle();
    // Lets go of the audio output once idle, before it is replaced.
    void DetachOutput();

    // The song's player, and the stream its sound plays: the player
    // itself unless one that reads it is set (before the first Start).
    IRixModulePlayer& Player() const { return *player; }
    void SetSoundStream(nexilon::CPtr<nexilon::IInputStream> stream) { soundStream = std::move(stream); }

    // Channel mute switches (channel 0..7): they reach a running player at
    // once, also while its playback is starting.
    void SetChannelEnabled(int32_t channel, bool enabled);
    bool IsChannelEnabled(int32_t channel) const;

    // The song's count samples of channel (0..7, or -1 for the mix) that
    // end where the listener is now, continuous across a loop's wrap and a
    // change of tempo; zeros for a muted channel. False and zeros when
    // nothing plays. Takes no lock the sound's threads take.
    bool CopyHeardOutput(int32_t channel, int32_t* destination, uint32_t count);
    // Underruns of the song's sounds since this object was made.
    uint64_t GetUnderrunCount();

    // True once the song's sound has started, until playback ends.
    bool IsPlaying() const { return isPlaying; }
    bool IsLoop() const { return loopPattern; }
    // True from Start until the thread has posted its last message.
    bool IsBusy() const { return threadActive; }

private:
    void Run(bool loop, bool fromCursorRow);
    // False when the song has no order position or Stop came first.
    bool StartSound(bool loop, bool fromCursorRow);
    // Until the sound ends or Stop; the sound's failure, if it failed.
    std::string FollowSound(bool loop);
    void StopSound();

    IRixModule& song;
    CEditCursor& cursor;
    CEditorNotifier& notifier;
    nexilon::CPtr<IRixModulePlayer> player;
    nexilon::CPtr<nexilon::IInputStream> soundStream;
    // Set by Start before the thread runs; the thread's until it ends.
    nexilon::CPtr<nexilon::IAudioDevice> device;

    // Guards sound (written by the thread only) and the moves of isPlaying
    // and stopRequested between the threads; the thread sleeps on wake
    // between polls.
    std::mutex stateMutex;
    std::condition_variable wake;
    nexilon::CPtr<nexilon::ISound> sound;
    std::atomic<bool> isPlaying{false};
    // Set by Stop: a thread still starting must not start its sound.
    bool stopRequested = false;
    std::atomic<bool> threadActive{false};
    std::atomic<bool> loopPattern{false};
    // The player's rendered count when the sound was made: its read count
    // 0 (the sound is the player's only reader from then on).
    std::atomic<uint64_t> renderedAtStart{0};
    // Under stateMutex: underruns of the sounds before the current one.
    uint64_t underrunsBefore = 0;
    std::thread thread;

    // Orders the switches against the thread's connecting the player, which
    // turns every channel on, so that no switch falls between the two.
    mutable std::mutex muteMutex;
    std::array<bool, 8> channelEnabled;
    // The switches as the meters read them, without muteMutex.
    std::array<std::atomic<bool>, 8> channelHeard;
};

} // namespace rix
