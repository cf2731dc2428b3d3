#include "PlaybackThread.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "RixConstants.h"
#include "RixModule.h"
#include "RixOutputRing.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/Nexilon.h"

namespace rix {

namespace {

// How often the thread follows the heard position.
constexpr std::chrono::milliseconds kPollPeriod{20};
// In song mode, a heard position more than this many rows behind the last
// one means the song jumped back: playback ends. A new tempo moves the
// stream at once but is heard only after the samples already queued (the
// render-ahead and a device buffer, 35 ms), during which the old samples
// convert to rows at the new tempo; so only a jump seen in this many polls
// in a row counts.
constexpr int32_t kJumpBackRows = 8;
constexpr int32_t kJumpBackPolls = 3;

} // namespace

CPlaybackThread::CPlaybackThread(IRixModule& song, CEditCursor& cursor, CEditorNotifier& notifier)
    : song(song), cursor(cursor), notifier(notifier)
{
    channelEnabled.fill(true);
    for (std::atomic<bool>& heard : channelHeard)
        heard.store(true, std::memory_order_relaxed);
    player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
}

CPlaybackThread::~CPlaybackThread()
{
    Stop();
}

void CPlaybackThread::Start(nexilon::IAudioDevice& output, bool loop, bool fromCursorRow)
{
    if (threadActive)
        return;
    // A thread that has ended by itself is still to be joined.
    if (thread.joinable())
        thread.join();
    device = nexilon::CPtr<nexilon::IAudioDevice>(&output);
    loopPattern = loop;
    {
        std::lock_guard guard(stateMutex);
        stopRequested = false;
    }
    threadActive = true;
    thread = std::thread(&CPlaybackThread::Run, this, loop, fromCursorRow);
}

void CPlaybackThread::Stop()
{
    {
        std::lock_guard guard(stateMutex);
        stopRequested = true;
        if (sound)
            sound->Stop();
        isPlaying = false;
    }
    wake.notify_all();
    // The thread ends at once when woken; waiting for it puts its last posts
    // before whatever the caller posts next (a moved cursor, say).
    if (thread.joinable() && thread.get_id() != std::this_thread::get_id())
        thread.join();
}

void CPlaybackThread::WaitUntilIdle()
{
    if (thread.joinable())
        thread.join();
}

void CPlaybackThread::DetachOutput()
{
    Stop();
    std::lock_guard guard(stateMutex);
    if (sound)
        underrunsBefore += sound->GetUnderrunCount();
    sound.Reset();
    device.Reset();
}

void CPlaybackThread::SetChannelEnabled(int32_t channel, bool enabled)
{
    if (channel < 0 || channel >= RIX_CHANNELS)
        return;
    std::lock_guard guard(muteMutex);
    channelEnabled[static_cast<std::size_t>(channel)] = enabled;
    channelHeard[static_cast<std::size_t>(channel)].store(enabled, std::memory_order_relaxed);
    // The player ignores it until connected; StartSound applies it then.
    player->SetChannelEnabled(channel, enabled);
}

bool CPlaybackThread::IsChannelEnabled(int32_t channel) const
{
    if (channel < 0 || channel >= RIX_CHANNELS)
        return false;
    std::lock_guard guard(muteMutex);
    return channelEnabled[static_cast<std::size_t>(channel)];
}

bool CPlaybackThread::CopyHeardOutput(int32_t channel, int32_t* destination, uint32_t count)
{
    if (!destination)
        return false;
    std::fill_n(destination, count, 0);
    nexilon::CPtr<nexilon::ISound> heard;
    {
        std::lock_guard guard(stateMutex);
        if (isPlaying)
            heard = sound;
    }
    if (!heard || channel < -1 || channel >= RIX_CHANNELS)
        return false;
    // A muted channel is heard as silence, whatever its voice renders.
    if (channel >= 0 && !channelHeard[static_cast<std::size_t>(channel)].load(std::memory_order_relaxed))
        return true;
    // The sound's read count numbers the player's output from where it was
    // when the sound was made; what came before is the last playback's.
    const uint64_t start = renderedAtStart.load(std::memory_order_relaxed);
    const uint64_t end = start + heard->GetHeardReadCount();
    const uint64_t first = std::max(end - std::min<uint64_t>(end, count), start);
    const auto lead = static_cast<uint32_t>(count - (end - first));
    player->CopyRendered(channel, end, destination + lead, count - lead);
    return true;
}

void CPlaybackThread::Run(bool loop, bool fromCursorRow)
{
    bool started = false;
    std::string failure;
    try {
        started = StartSound(loop, fromCursorRow);
        if (started)
            failure = FollowSound(loop);
    } catch (const std::exception& error) {
        failure = *error.what() ? error.what() : "Playback failed";
    } catch (...) {
        failure = "Playback failed";
    }
    // However the playback ended, nothing it started may go on sounding.
    StopSound();
    if (started || !failure.empty()) {
        isPlaying = false;
        notifier.PostPlaybackEnd();
    }
    if (!failure.empty())
        notifier.PostPlaybackFailed(failure);
    threadActive = false;
}

bool CPlaybackThread::StartSound(bool loop, bool fromCursorRow)
{
    player->Connect(&song);
    {
        std::lock_guard guard(muteMutex);
        for (int32_t channel = 0; channel < RIX_CHANNELS; ++channel)
            player->SetChannelEnabled(channel, channelEnabled[static_cast<std::size_t>(channel)]);
    }
    int32_t start = cursor.Order();
    int32_t row = fromCursorRow ? cursor.Row() : 0;
    int32_t songLength = 0;
    {
        CRixModuleLock data(song, nexilon::LOCKMODE_READ);
        songLength = data->GetSongLength();
    }
    if (songLength == 0)
        return false;
    if (start >= songLength)
        start = row = 0;
    player->SetLoopPattern(loop);
    // A new sound starts where its stream is: on the row's first sample.
    player->SeekToRow(static_cast<uint32_t>(start * RIX_ROWS + row));
    renderedAtStart.store(player->GetRenderedCount(), std::memory_order_relaxed);
    nexilon::CInputStreamSelector selector(soundStream ? static_cast<nexilon::IObject*>(soundStream.Get()) : player.Get());
    auto newSound = nexilon::CPtr<nexilon::ISound>::Adopt(device->CreateSound(selector, nexilon::SOUND_MODE_STREAMED));

    std::lock_guard guard(stateMutex);
    if (stopRequested)
        return false;
    if (sound)
        underrunsBefore += sound->GetUnderrunCount();
    sound = newSound;
    sound->Start();
    isPlaying = true;
    return true;
}

std::string CPlaybackThread::FollowSound(bool loop)
{
    int32_t lastRow = -1;
    int32_t pollsBehind = 0;
    bool firstPoll = true;
    std::unique_lock guard(stateMutex);
    while (isPlaying) {
        guard.unlock();
        // The player ends the stream at the end of the song as it is now,
        // however it was edited since the start.
        if (!sound->IsPlaying())
            return sound->GetFailure();
        // As RowAtTime, but from what the player published: the render
        // thread never waits for this one.
        const float rowSeconds = player->GetRowSeconds();
        const int32_t row = rowSeconds > 0.0f ? TruncateToInt32(sound->GetPosition() / rowSeconds) : 0;
        const bool behind = !loop && row < lastRow - kJumpBackRows;
        pollsBehind = behind ? pollsBehind + 1 : 0;
        if (pollsBehind >= kJumpBackPolls)
            return {};
        if (!behind && row != lastRow) {
            notifier.PostPlayingRow(row);
            lastRow = row;
        }
        // Once: from then on the level panels read the heard output at the
        // display's pace, until the playback's end tells them to stop.
        if (std::exchange(firstPoll, false))
            notifier.PostLevelRefresh();
        guard.lock();
        wake.wait_for(guard, kPollPeriod, [this] { return !isPlaying; });
    }
    return {};
}

void CPlaybackThread::StopSound()
{
    std::lock_guard guard(stateMutex);
    if (sound)
        sound->Stop();
}

uint64_t CPlaybackThread::GetUnderrunCount()
{
    std::lock_guard guard(stateMutex);
    return underrunsBefore + (sound ? sound->GetUnderrunCount() : 0);
}

} // namespace rix
