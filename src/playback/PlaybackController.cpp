#include "PlaybackController.h"

#include "RixModule.h"
#include "nexilon/Nexilon.h"

namespace rix {

namespace {

nexilon::CPtr<nexilon::IAudioDevice> OpenOutput(const std::string& name)
{
    auto device = nexilon::CreateInstance<nexilon::IAudioDevice>(nexilon::IAudioDevice::ClassId);
    device->SetOutputDevice(name);
    device->Open();
    return device;
}

} // namespace

// The playback only stores its reference to the cursor, built after it,
// until it runs.
CPlaybackController::CPlaybackController()
    : audioDevice(OpenOutput({})),
      songModule(nexilon::CreateInstance<IRixModule>(CRixModule::ClassId)),
      introRender(*songModule, [this] { return playback.IsPlaying(); }),
      playback(*songModule, cursor, notifier),
      cursor(notifier)
{
    playback.SetSoundStream(introRender.CreateStream(playback.Player()));
    preview.Attach(*audioDevice);
}

CPlaybackController::~CPlaybackController()
{
    Stop();
    introRender.Close();
    songModule->SetModifiedSink(nullptr);
}

void CPlaybackController::AddListener(IMessageTarget* listener, uint32_t postInterests)
{
    notifier.AddListener(listener, postInterests);
}

void CPlaybackController::RemoveListener(IMessageTarget* listener)
{
    notifier.RemoveListener(listener);
}

void CPlaybackController::AnnounceSongChange(const TSongChange& change)
{
    notifier.SongChanged(change);
}

void CPlaybackController::RegisterDocument(IPlaybackDocument* document)
{
    notifier.RegisterDocument(document);
    songModule->SetModifiedSink(document);
}

void CPlaybackController::PlaySong()
{
    StartPlayback(false, false);
}

void CPlaybackController::PlayPatternLoop()
{
    StartPlayback(true, false);
}

void CPlaybackController::PlayFromCursor()
{
    StartPlayback(false, true);
}

void CPlaybackController::StartPlayback(bool loop, bool fromCursorRow)
{
    if (playback.IsBusy())
        return;
    preview.Stop();
    UseChosenOutput();
    playback.Start(*audioDevice, loop, fromCursorRow);
}

void CPlaybackController::Stop()
{
    playback.Stop();
    preview.Stop();
}

void CPlaybackController::WaitUntilIdle()
{
    playback.WaitUntilIdle();
}

void CPlaybackController::PreviewNote(int32_t channel, uint32_t note)
{
    if (!playback.IsBusy())
        UseChosenOutput();
    preview.Play(*songModule, channel, note);
}

void CPlaybackController::SelectChannel(int32_t channel)
{
    cursor.SelectChannel(channel);
}

void CPlaybackController::SetOrderPosition(int32_t position)
{
    cursor.SetOrderPosition(position);
}

void CPlaybackController::SetRow(int32_t row)
{
    cursor.SetRow(row);
}

void CPlaybackController::ResetEditors()
{
    Stop();
    cursor.SelectChannel(0);
    cursor.SetOrderPosition(0);
    cursor.ResetRow();
    notifier.SongChanged(TSongChange::Everything());
    if (IPlaybackDocument* document = notifier.Document())
        document->ClearModified();
}

void CPlaybackController::SetChannelEnabled(int32_t channel, bool enabled)
{
    playback.SetChannelEnabled(channel, enabled);
    introRender.SetChannelMuted(channel, !enabled);
}

bool CPlaybackController::IsChannelEnabled(int32_t channel) const
{
    return playback.IsChannelEnabled(channel);
}

bool CPlaybackController::CopyHeardOutput(int32_t channel, int32_t* destination, uint32_t count)
{
    return playback.CopyHeardOutput(channel, destination, count);
}

std::vector<std::string> CPlaybackController::ListOutputDevices()
{
    return audioDevice->ListOutputDevices();
}

void CPlaybackController::SetOutputDevice(const std::string& name)
{
    outputName = name;
}

std::string CPlaybackController::GetOutputDeviceNote()
{
    return audioDevice->GetOutputDeviceNote();
}

void CPlaybackController::UseChosenOutput()
{
    if (outputName == openedOutputName)
        return;
    // The sounds keep their device alive; let go of them first.
    playback.DetachOutput();
    preview.Detach();
    audioDevice.Reset();
    audioDevice = OpenOutput(outputName);
    openedOutputName = outputName;
    preview.Attach(*audioDevice);
}

} // namespace rix
