#include "PlaybackController.h"

#include <algorithm>
#include <chrono>

#include "RixConstants.h"
#include "RixModule.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/Nexilon.h"

namespace rix {

namespace {

// How often the playback thread follows the audible position.
constexpr std::chrono::milliseconds kPollPeriod{20};
// In song mode, an audible position more than this many rows behind the
// last one means the song jumped back: playback ends.
constexpr int32_t kJumpBackRows = 8;
constexpr TEditorRole kLevelPanels[] = {EDITOR_MIXER, EDITOR_MASTER_PANEL, EDITOR_OSCILLATOR_BAR};

nexilon::CPtr<nexilon::ISound> MakeSound(nexilon::IAudioDevice& device, IRixModulePlayer& player)
{
    nexilon::CInputStreamSelector selector(&player);
    return nexilon::CPtr<nexilon::ISound>::Adopt(device.CreateSound(selector, nexilon::SOUND_MODE_STREAMED));
}

} // namespace

CPlaybackController::CPlaybackController()
{
    for (std::atomic<bool>& enabled : channelEnabled)
        enabled = true;
    songModule = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
    previewModule = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
    audioDevice = nexilon::CreateInstance<nexilon::IAudioDevice>(nexilon::IAudioDevice::ClassId);
    audioDevice->Open();
    {
        // The preview song: channel 0 plays pattern 1 at position 0, whose
        // row 8 stops the note that PreviewNote puts on row 0.
        CRixModuleLock preview(*previewModule, nexilon::LOCKMODE_WRITE);
        preview->orderTable[0][0] = 1;
        preview->patterns[0][1][8] = RIX_NOTE_STOP;
    }
    songPlayer = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    previewPlayer = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    previewPlayer->Connect(previewModule.Get());
    previewSound = MakeSound(*audioDevice, *previewPlayer);
}

CPlaybackController::~CPlaybackController()
{
    Stop();
    previewSound->Stop();
    songModule->SetModifiedSink(nullptr);
}

void CPlaybackController::RegisterTarget(TEditorRole role, IMessageTarget* target)
{
    if (role < 0 || role >= EDITOR_ROLES)
        return;
    std::lock_guard guard(targetMutex);
    targets[role] = target;
}

void CPlaybackController::RegisterDocument(IPlaybackDocument* newDocument)
{
    document = newDocument;
    songModule->SetModifiedSink(newDocument);
}

void CPlaybackController::PlaySong()
{
    StartPlayback(false);
}

void CPlaybackController::PlayPatternLoop()
{
    StartPlayback(true);
}

void CPlaybackController::StartPlayback(bool loop)
{
    if (threadActive)
        return;
    // A thread that has ended by itself is still to be joined.
    if (playbackThread.joinable())
        playbackThread.join();
    previewSound->Stop();
    loopPattern = loop;
    {
        std::lock_guard guard(stateMutex);
        stopRequested = false;
    }
    threadActive = true;
    playbackThread = std::thread(&CPlaybackController::RunPlayback, this, loop);
}

void CPlaybackController::Stop()
{
    {
        std::lock_guard guard(stateMutex);
        stopRequested = true;
        if (isPlaying) {
            songSound->Stop();
            isPlaying = false;
        }
    }
    wake.notify_all();
    // The thread ends at once when woken; waiting for it puts its last posts
    // before whatever the caller posts next (a moved cursor, say).
    if (playbackThread.joinable() && playbackThread.get_id() != std::this_thread::get_id())
        playbackThread.join();
}

void CPlaybackController::WaitUntilIdle()
{
    if (playbackThread.joinable())
        playbackThread.join();
}

bool CPlaybackController::StartSound(bool loop, int32_t& songLength)
{
    {
        // A playback that left its loop early (the position jumped back or
        // passed the end) leaves its sound running; it must not read the
        // player while it is rewired.
        std::lock_guard guard(stateMutex);
        if (songSound)
            songSound->Stop();
    }
    songPlayer->Connect(songModule.Get());
    int32_t start = currentOrder;
    {
        CRixModuleLock data(*songModule, nexilon::LOCKMODE_READ);
        songLength = data->GetSongLength();
    }
    if (songLength == 0)
        return false;
    if (start >= songLength)
        start = 0;
    for (int32_t channel = 0; channel < RIX_CHANNELS; ++channel)
        songPlayer->SetChannelEnabled(channel, channelEnabled[static_cast<std::size_t>(channel)]);
    songPlayer->SetLoopPattern(loop);

    nexilon::CPtr<nexilon::ISound> sound = MakeSound(*audioDevice, *songPlayer);
    const auto startRow = static_cast<uint32_t>(start * RIX_ROWS);
    sound->SetPosition(songPlayer->TimeOfRow(startRow));
    // The time carries a 0.1 ms margin that keeps RowAtTime inside the row;
    // the stream itself must begin on the row's first sample.
    songPlayer->SeekToRow(startRow);

    std::lock_guard guard(stateMutex);
    if (stopRequested)
        return false;
    songSound = sound;
    songSound->Start();
    isPlaying = true;
    return true;
}

void CPlaybackController::RunPlayback(bool loop)
{
    bool started = false;
    try {
        int32_t songLength = 0;
        started = StartSound(loop, songLength);
        if (started)
            FollowSound(loop, songLength);
    } catch (const std::exception&) {
        // A failing player or audio output ends playback as its end does;
        // the editors learn it from the end messages.
    }
    if (started) {
        isPlaying = false;
        PostEnd();
    }
    threadActive = false;
}

void CPlaybackController::FollowSound(bool loop, int32_t songLength)
{
    int32_t lastRow = -1;
    std::unique_lock guard(stateMutex);
    while (isPlaying) {
        guard.unlock();
        if (!songSound->IsPlaying())
            return;
        const int32_t row = songPlayer->RowAtTime(songSound->GetPosition());
        if (!loop && row < lastRow - kJumpBackRows)
            return;
        const int32_t order = row / RIX_ROWS;
        if (order >= songLength && !loop)
            return;
        if (row != lastRow) {
            Post(EDITOR_ORDER_TABLE, MSG_PLAYING_POSITION, static_cast<uintptr_t>(order));
            Post(EDITOR_PATTERN, MSG_PLAYING_POSITION, static_cast<uintptr_t>(row));
            Post(EDITOR_TIME_COUNTER, MSG_PLAYING_POSITION, static_cast<uintptr_t>(row));
            lastRow = row;
        }
        for (TEditorRole panel : kLevelPanels)
            Post(panel, MSG_LEVEL_REFRESH, 0);
        guard.lock();
        wake.wait_for(guard, kPollPeriod, [this] { return !isPlaying; });
    }
}

void CPlaybackController::PostEnd()
{
    Post(EDITOR_ORDER_TABLE, MSG_PLAYING_POSITION, NO_PLAYING_POSITION);
    Post(EDITOR_PATTERN, MSG_PLAYING_POSITION, NO_PLAYING_POSITION);
    PostCursorToTimeCounter();
    for (TEditorRole panel : kLevelPanels)
        Post(panel, MSG_PLAYBACK_STOPPED, 0);
}

void CPlaybackController::Post(TEditorRole role, uint32_t message, uintptr_t wParam)
{
    std::lock_guard guard(targetMutex);
    if (IMessageTarget* target = targets[role])
        target->PostMessage(message, wParam, 0);
}

void CPlaybackController::PostCursorToTimeCounter()
{
    Post(EDITOR_TIME_COUNTER, MSG_PLAYING_POSITION, static_cast<uintptr_t>(currentOrder * RIX_ROWS + currentRow));
}

void CPlaybackController::PreviewNote(int32_t channel, uint32_t note)
{
    if (channel < 0 || channel >= RIX_CHANNELS)
        return;
    previewSound->Stop();
    {
        CRixModuleLock preview(*previewModule, nexilon::LOCKMODE_WRITE);
        CRixModuleLock song(*songModule, nexilon::LOCKMODE_READ);
        preview->patterns[0][1][0] = note;
        preview->channels[0] = song->channels[channel];
        preview->bpm = song->bpm;
    }
    previewSound->Start();
}

void CPlaybackController::SelectChannel(int32_t channel)
{
    channel = std::clamp(channel, 0, RIX_CHANNELS - 1);
    if (channel == currentChannel)
        return;
    currentChannel = channel;
    for (TEditorRole role : {EDITOR_PATTERN, EDITOR_ORDER_TABLE})
        if (IMessageTarget* target = Target(role))
            target->SetChannelCursor(channel);
    for (TEditorRole role : {EDITOR_OSCILLATOR_LIST, EDITOR_EFFECT_LIST})
        if (IMessageTarget* target = Target(role)) {
            target->ShowChannel(channel);
            target->Repaint();
        }
}

void CPlaybackController::SetOrderPosition(int32_t position)
{
    position = std::clamp(position, 0, RIX_ORDER_POSITIONS - 1);
    if (position == currentOrder)
        return;
    currentOrder = position;
    RefreshPattern();
    if (IMessageTarget* orderTable = Target(EDITOR_ORDER_TABLE))
        orderTable->SetOrderCursor(position);
    if (!isPlaying)
        PostCursorToTimeCounter();
}

void CPlaybackController::SetRow(int32_t row)
{
    row = std::clamp(row, 0, RIX_ROWS - 1);
    if (row == currentRow)
        return;
    currentRow = row;
    if (IMessageTarget* pattern = Target(EDITOR_PATTERN))
        pattern->SetRowCursor(row);
    if (!isPlaying)
        PostCursorToTimeCounter();
}

void CPlaybackController::RefreshPattern()
{
    if (IMessageTarget* pattern = Target(EDITOR_PATTERN)) {
        pattern->Refresh();
        pattern->Repaint();
    }
}

void CPlaybackController::ResetEditors()
{
    Stop();
    SelectChannel(0);
    SetOrderPosition(0);
    currentRow = 0;
    if (IMessageTarget* pattern = Target(EDITOR_PATTERN))
        pattern->SetRowCursor(0);
    if (!isPlaying)
        PostCursorToTimeCounter();
    for (TEditorRole role : {EDITOR_ORDER_TABLE, EDITOR_PATTERN, EDITOR_MIXER, EDITOR_MASTER_PANEL,
                             EDITOR_OSCILLATOR_BAR, EDITOR_OSCILLATOR_LIST, EDITOR_EFFECT_LIST})
        if (IMessageTarget* target = Target(role)) {
            target->Refresh();
            target->Repaint();
        }
    if (IMessageTarget* extra = Target(EDITOR_EXTRA_PANEL))
        extra->Repaint();
    if (document)
        document->ClearModified();
}

void CPlaybackController::SetChannelEnabled(int32_t channel, bool enabled)
{
    if (channel < 0 || channel >= RIX_CHANNELS)
        return;
    channelEnabled[static_cast<std::size_t>(channel)] = enabled;
    if (isPlaying)
        songPlayer->SetChannelEnabled(channel, enabled);
}

bool CPlaybackController::IsChannelEnabled(int32_t channel) const
{
    return channel >= 0 && channel < RIX_CHANNELS && channelEnabled[static_cast<std::size_t>(channel)];
}

} // namespace rix
