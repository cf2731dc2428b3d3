#pragma once

#include <cstdint>

#include "nexilon/Object.h"

namespace nexilon {

class CInputStreamSelector;
class ISound;

// The only sound mode there is: the sound pulls its samples through the
// stream's Read and positions it with Seek (both capabilities, hence 3).
constexpr uint32_t SOUND_MODE_STREAMED = 3;

// The real-time audio output: one output of 16-bit signed mono PCM at
// 44100 Hz that mixes every playing sound on a thread of its own and clamps
// the sum to 16 bits. Declaration order is slot order (7 to 9).
//
// Threading: every operation may be called from any thread. The mixing
// thread calls the sounds' streams (Read, Tell, Seek) while it holds the
// device's mixing lock, and every device and sound operation takes that
// lock too; so never call them while holding a lock that a playing
// stream's Read takes (a player's lock, its module's lock).
class IAudioDevice : public IObject {
public:
    static constexpr CId Iid{0x47589F99, 0xFAB448AC, 0x952F430C, 0x136A8669};
    static constexpr CId ClassId{0x9DF8979E, 0x14424383, 0xA3164F6A, 0xD110B15C};

    // Reserved; throws COperationNotSupportedException.
    virtual void Reserved7() = 0;
    // Opens the output; later calls do nothing. The driver is SDL's default
    // one, or the one named by the environment variable SONRIX_AUDIO_DRIVER
    // ("dummy", "disk", ...). When no device can be opened the output falls
    // back to the "dummy" driver, which consumes samples at the real-time
    // rate, and says once on standard error that playback is silent.
    // CIOException when not even that works.
    virtual void Open() = 0;
    // A new sound (one reference for the caller) playing the selector's
    // stream, stopped and at the stream's current position. Opens the
    // output if needed. mode must be SOUND_MODE_STREAMED, else
    // CInvalidParameterException; a selector without stream gives
    // CNullPtrException.
    virtual ISound* CreateSound(const CInputStreamSelector& selector, uint32_t mode) = 0;

protected:
    ~IAudioDevice() = default;
};

IObject* CreateAudioDevice();

} // namespace nexilon
