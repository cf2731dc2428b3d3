#include "NotePreview.h"

#include "RixConstants.h"
#include "RixModule.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/Nexilon.h"

namespace rix {

CNotePreview::CNotePreview()
{
    module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
    {
        CRixModuleLock preview(*module, nexilon::LOCKMODE_WRITE);
        preview->orderTable[0][0] = 1;
        preview->patterns[0][1][8] = RIX_NOTE_STOP;
    }
    player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    player->Connect(module.Get());
}

void CNotePreview::Attach(nexilon::IAudioDevice& device)
{
    Detach();
    nexilon::CInputStreamSelector selector(player.Get());
    sound = nexilon::CPtr<nexilon::ISound>::Adopt(device.CreateSound(selector, nexilon::SOUND_MODE_STREAMED));
}

void CNotePreview::Detach()
{
    Stop();
    sound.Reset();
}

void CNotePreview::Play(IRixModule& song, int32_t channel, uint32_t note)
{
    if (channel < 0 || channel >= RIX_CHANNELS || !sound)
        return;
    sound->Stop();
    {
        CRixModuleLock preview(*module, nexilon::LOCKMODE_WRITE);
        CRixModuleLock data(song, nexilon::LOCKMODE_READ);
        preview->patterns[0][1][0] = note;
        preview->channels[0] = data->channels[channel];
        preview->bpm = data->bpm;
    }
    sound->Start();
}

void CNotePreview::Stop()
{
    if (sound)
        sound->Stop();
}

bool CNotePreview::IsPlaying() const
{
    return sound && sound->IsPlaying();
}

} // namespace rix
