#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "nexilon/Object.h"

namespace nexilon {

class CInputStreamSelector;
class ISound;

// The only sound mode there is: the sound pulls its samples through the
// stream's Read and positions it with Seek (both capabilities, hence 3).
constexpr uint32_t SOUND_MODE_STREAMED = 3;

// What the mixing callback has cost since the output was opened.
struct TAudioCallbackTiming {
    uint64_t callbacks = 0;
    // The longest single callback, in microseconds.
    uint64_t longestMicroseconds = 0;
    // Frames a playing sound had not rendered in time and that were left
    // silent (the sound resumes where it was).
    uint64_t underrunFrames = 0;
    // Underruns: a sound's gaps, at most one per device buffer.
    uint64_t underruns = 0;
};

// Where an underrun left its gap: device frames counted from the first
// frame the output produced (so, with the disk driver, sample positions
// in its file).
struct TUnderrun {
    int64_t frame = 0;
    uint32_t frames = 0;
};

// The real-time audio output: one output of 16-bit signed mono PCM at
// 44100 Hz that mixes every playing sound on a thread of its own and clamps
// the sum to 16 bits. Declaration order is slot order (7 to 13).
//
// Threading: every operation may be called from any thread. Each sound
// reads its stream (Read, Tell, Seek) on a thread of its own, 1024 frames
// (23.2 ms, more after an underrun) ahead of the mixing thread, which only
// copies what is ready; both run at real-time priority (SCHED_FIFO, set
// directly or granted by RealtimeKit) where the system allows it;
// so the output keeps its pace while a stream waits for a lock (a player
// for its module's), and no device or sound operation waits for a stream,
// also while the caller holds such a lock. The one exception: destroying
// a sound waits for its stream's current Read.
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
    // The names of the outputs the driver offers now, for a choice in the
    // editor; empty when the driver names none (the dummy and disk drivers).
    virtual std::vector<std::string> ListOutputDevices() = 0;
    // The output Open uses, by one of the names above; empty for the
    // system's default. Takes effect at the Open of a device not yet open.
    virtual void SetOutputDevice(const std::string& name) = 0;
    // Why the open output is not the chosen one (say, it is unplugged and
    // the default plays instead), as a sentence for a status bar; empty when
    // all went as chosen.
    virtual std::string GetOutputDeviceNote() = 0;
    // How long the mixing callback took since Open, for measurements.
    virtual TAudioCallbackTiming GetCallbackTiming() = 0;
    // The latest underruns (up to 64, oldest first), so that a recording
    // can be checked sample for sample around them.
    virtual std::vector<TUnderrun> GetUnderruns() = 0;

protected:
    ~IAudioDevice() = default;
};

IObject* CreateAudioDevice();

} // namespace nexilon
