#pragma once

#include <cstdint>
#include <string>

#include "nexilon/Object.h"

namespace nexilon {

// One stream played by an audio device (IAudioDevice::CreateSound).
// Declaration order is slot order (7 to 19); the reserved slots keep the
// numbering and throw COperationNotSupportedException. Positions are in
// seconds of the stream at 44100 samples per second (byte = sample × 2).
// Threading as for IAudioDevice: any thread; none waits for the stream,
// but releasing the last reference waits for its current Read, so never do
// that while holding a lock the stream's Read takes. An operation that
// moves the stream (Start after Stop or the end, SetPosition) is carried
// out by the sound's render thread before the sound plays on.
class ISound : public IObject {
public:
    static constexpr CId Iid{0xA5901A7B, 0x4C024300, 0x88485195, 0xAB050B13};
    static constexpr CId ClassId{0x7F82DC9F, 0x9AF44946, 0x96F486E1, 0xB76D06AC};

    virtual void Reserved7() = 0;
    virtual void Reserved8() = 0;
    virtual void Reserved9() = 0;
    virtual void Reserved10() = 0;
    // True from Start until Stop, or until the stream's Read returned 0.
    virtual bool IsPlaying() = 0;
    virtual void Reserved12() = 0;
    // Starts playing at the current position; after a Stop or the stream's
    // end that is the start of the stream. Does nothing while playing.
    virtual void Start() = 0;
    // Seeks the stream to the sample nearest to seconds (negative or NaN
    // count as 0), also while playing.
    virtual void SetPosition(float seconds) = 0;
    virtual void Reserved15() = 0;
    // Stops at once; the position goes back to the start of the stream.
    virtual void Stop() = 0;
    // The position of the stream the listener hears now: samples still
    // queued in the device are not counted yet. 0 after Stop.
    virtual float GetPosition() = 0;
    // The same position in samples, exact at any length of stream.
    virtual uint64_t GetHeardSample() = 0;
    // Why the stream stopped the sound by failing (its exception's
    // message), empty when it did not; cleared by Start.
    virtual std::string GetFailure() = 0;
    // How many samples the sound had read from its stream (in all, since
    // it was made, whether heard or dropped by a Stop or SetPosition) before
    // the one the listener hears now; exact across jumps of the stream (a
    // looping player), unlike the position. Stays while nothing plays.
    virtual uint64_t GetHeardReadCount() = 0;
    // Underruns of this sound: device buffers it could not fill in time
    // (each leaves a gap of silence; the sound then resumes where it was).
    virtual uint64_t GetUnderrunCount() = 0;

protected:
    ~ISound() = default;
};

// A sound made through the class store has no device and no stream: it
// never plays and Start and SetPosition throw COperationNotSupportedException.
IObject* CreateSound();

} // namespace nexilon
