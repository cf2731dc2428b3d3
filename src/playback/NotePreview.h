#pragma once

#include <cstdint>

#include "IRixModulePlayer.h"
#include "IRixModule.h"
#include "nexilon/AudioDevice.h"
#include "nexilon/Ptr.h"
#include "nexilon/Sound.h"

namespace rix {

// Sounds single notes on a channel's instrument through a private module:
// channel 0 plays pattern 1 at order position 0, the note on row 0 and a
// stop note on row 8, at the song's tempo, with the preview's own master
// volume.
//
// Threading: UI thread. Never call it while holding a lock of the song
// module.
class CNotePreview {
public:
    // Needs the module and player classes registered.
    CNotePreview();

    // Plays through this device from now on; a sounding note is cut off.
    void Attach(nexilon::IAudioDevice& device);
    // Lets go of the device before it is replaced.
    void Detach();
    // Sounds note on the instrument of the song's channel (0..7, else
    // nothing happens), from the start of the preview.
    void Play(IRixModule& song, int32_t channel, uint32_t note);
    void Stop();
    bool IsPlaying() const;

private:
    nexilon::CPtr<IRixModule> module;
    nexilon::CPtr<IRixModulePlayer> player;
    nexilon::CPtr<nexilon::ISound> sound;
};

} // namespace rix
