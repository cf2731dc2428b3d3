#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "IRixModule.h"
#include "IRixModulePlayer.h"
#include "IntroRender.h"
#include "nexilon/Ptr.h"
#include "nexilon/Stream.h"

namespace rix {

// What the A/B switch has to tell the musician.
struct TIntroRenderStatus {
    // The switch is on: the intro's render is to be heard.
    bool enabled = false;
    // An intro render of the song as it is follows the playback (else one
    // is being made and brought to the playing position).
    bool ready = false;
    // The intro's render is what plays now.
    bool heard = false;
    // Samples at which the intro's render was compared with the editor's
    // since playback started or the song last changed, and the largest
    // difference of one sample among them (16-bit units) and where, in
    // samples from the song's start.
    uint64_t comparedSamples = 0;
    int32_t worstDifference = 0;
    uint64_t worstSample = 0;
    // Why the intro's routine cannot play the song, or empty.
    std::string failure;
};

// The A/B switch of real-time playback: while the song plays, the musician
// hears the intro's render (CIntroRender) in place of the editor's at the
// same position, and the two are compared sample by sample all along.
//
// The song's sound reads Stream(), which reads the editor's player and,
// once a worker thread has brought an intro render to the playing
// position, renders the intro alongside and puts its samples in place of
// the player's while the switch is on. The audio path takes no lock and
// allocates nothing: the render goes between the worker and the audio
// path through an atomic slot. After an edit (and a change of the
// export's form) the editor's render plays until the intro's has been made
// anew from the edited song; a jump of the playing position (a new
// playback, a looped order position starting over) has the worker bring
// it to the new position, since the routine only plays from the start.
// Once made during a playback the intro render follows it to its end, so
// that switching back and forth is instant.
//
// Threading: SetEnabled, SetExact, SetChannelMuted, Status and Hold from
// any thread but the audio path; Stream() is read by the sound's thread.
class CIntroRenderSwitch {
public:
    class CHold;

    // song: the module being played; isPlaying tells whether its playback
    // is running (called on the worker thread). The worker starts when the
    // switch is first turned on.
    CIntroRenderSwitch(IRixModule& song, std::function<bool()> isPlaying);
    // Closes.
    ~CIntroRenderSwitch();
    CIntroRenderSwitch(const CIntroRenderSwitch&) = delete;
    CIntroRenderSwitch& operator=(const CIntroRenderSwitch&) = delete;

    // A stream for the song's sound to play in place of player: it reads
    // player and passes every block through the switch, which must
    // outlive it.
    nexilon::CPtr<nexilon::IInputStream> CreateStream(IRixModulePlayer& player);

    // Ends the worker and lets go of the render, before what isPlaying
    // asks goes away; the switch stays off.
    void Close();

    void SetEnabled(bool enabled);
    bool IsEnabled() const { return enabled; }
    // The form of the tables the intro render plays: the one the musician
    // exports.
    void SetExact(bool exact);
    // The editor's mute switches, which the intro render follows.
    void SetChannelMuted(int32_t channel, bool muted);
    TIntroRenderStatus Status() const;

    // While one exists, no intro render does: for another user of the
    // replay routine (the export's verification). Waits until the worker
    // has let go of its render.
    [[nodiscard]] std::unique_ptr<CHold> Hold();

    // The audio path (CIntroRenderStream): the player has just rendered
    // count samples into bytes (16-bit little-endian), from song position
    // first on, and will go on at next (first + count unless a looped order
    // position started over within them).
    void OnEditorBlock(uint64_t first, uint64_t next, unsigned char* bytes, uint32_t count);

private:
    void Run();
    // Worker: whether the render handed out no longer fits the playback.
    bool Stale(const CIntroRender& render) const;
    // Worker: takes the render back from the audio path and lets it go.
    void Reclaim(std::unique_lock<std::mutex>& lock);
    // Worker: makes a render of the song and brings it to the playing
    // position; true when it was handed to the audio path.
    bool Prepare(std::unique_lock<std::mutex>& lock);
    void ResetComparison();
    // Worker, without the mutex: whether a render being prepared for
    // (changeCount, form, jumps) is no longer wanted.
    bool Abandoned(uint32_t changeCount, bool form, uint64_t jumps);
    void Compare(const int16_t* intro, const int16_t* editor, uint32_t count, uint64_t first);

    IRixModule& song;
    std::function<bool()> isPlaying;

    std::atomic<bool> enabled{false};
    std::atomic<bool> exact{false};
    std::atomic<uint32_t> mutedChannels{0};

    // Between the worker and the audio path: the render, when handed out
    // and not in use by the audio path at this moment.
    std::atomic<CIntroRender*> slot{nullptr};
    // The editor's player: the next sample it renders, and how often its
    // position jumped.
    std::atomic<uint64_t> editorNext{0};
    std::atomic<uint64_t> editorJumps{0};
    std::atomic<bool> heard{false};
    std::atomic<uint64_t> comparedSamples{0};
    std::atomic<int32_t> worstDifference{0};
    std::atomic<uint64_t> worstSample{0};
    // Audio path only.
    std::array<int16_t, CIntroRender::kBlock> introSamples{};
    std::array<int16_t, CIntroRender::kBlock> editorSamples{};

    // The worker's state, under mutex.
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::thread worker;
    std::atomic<bool> quitting{false};
    std::atomic<int> holds{0};
    // A render exists (the worker's or handed out): holders wait for false.
    bool renderExists = false;
    // The render handed out, and the editor's jump count it was placed for.
    CIntroRender* handedOut = nullptr;
    uint64_t handedJumps = 0;
    std::string failure;
    // The song and form the failure is about: none is tried again until
    // either changes.
    uint32_t failedChangeCount = 0;
    bool failedExact = false;
    // The song's change count when last seen to move, and when; and the
    // one the comparison figures are about.
    uint32_t seenChangeCount = 0;
    std::chrono::steady_clock::time_point seenChange{};
    uint32_t comparedChangeCount = 0;
    bool comparedExact = false;
    // Playback stopped since the comparison figures were last reset.
    bool stoppedSinceReset = false;
};

// Keeps intro renders away while it exists (CIntroRenderSwitch::Hold).
class CIntroRenderSwitch::CHold {
public:
    explicit CHold(CIntroRenderSwitch& owner) : owner(owner) {}
    ~CHold();
    CHold(const CHold&) = delete;
    CHold& operator=(const CHold&) = delete;

private:
    CIntroRenderSwitch& owner;
};

} // namespace rix
