#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "nexilon/AudioDevice.h"
#include "nexilon/ObjectBase.h"

namespace nexilon {

class CSdlSound;

// IAudioDevice over an SDL2 audio device. SDL's audio thread calls Mix for
// every buffer; Mix holds mixLock for the whole buffer, and so does every
// operation of the device's sounds, which makes the sound list, the sounds'
// state and the timing fields below one unit guarded by mixLock. Lock
// order: mixLock, then whatever the sounds' streams lock.
class CSdlAudioDevice final : public CObjectBase<IAudioDevice> {
public:
    // Every frame rate in and out of the device: 44100 mono samples per second.
    static constexpr int kSampleRate = 44100;

    CSdlAudioDevice();
    ~CSdlAudioDevice() override;

    IObject* QueryInterface(const CId& interfaceId) override;
    void Reserved7() override;
    void Open() override;
    ISound* CreateSound(const CInputStreamSelector& selector, uint32_t mode) override;
    std::vector<std::string> ListOutputDevices() override;
    void SetOutputDevice(const std::string& name) override;
    std::string GetOutputDeviceNote() override;
    TAudioCallbackTiming GetCallbackTiming() override;

    std::mutex& GetMixLock() { return mixLock; }
    // Under mixLock: the sounds the mixing thread visits.
    void Attach(CSdlSound* sound);
    void Detach(CSdlSound* sound);
    // Under mixLock: the device frame (counted from the first frame the
    // device produced) that the listener hears now; negative before the
    // first frame is heard.
    int64_t GetHeardFrame() const;
    // Frames a sound reads per stream call; small enough that a jump of the
    // stream inside one read (a looping player) misplaces the heard
    // position by at most this many frames (2.9 ms).
    static constexpr uint32_t kChunkFrames = 128;

    // SDL's audio thread: fills size bytes of signed 16-bit samples.
    void Mix(uint8_t* output, int size);

private:
    uint32_t deviceId = 0;
    // Guarded by the process-wide SDL mutex, like deviceId.
    std::string outputName;
    std::string outputNote;
    std::mutex mixLock;
    std::vector<CSdlSound*> sounds;
    // Mixing buffers sized by Open for one device buffer, so that Mix
    // never allocates.
    std::vector<int32_t> sum;
    std::vector<uint8_t> scratch;
    // Frames the device has produced so far; the first frame of the latest
    // buffer, its length and when SDL asked for it.
    int64_t framesMixed = 0;
    int64_t lastBufferFrame = 0;
    int64_t lastBufferFrames = 0;
    std::chrono::steady_clock::time_point lastBufferTime;
    bool anyBuffer = false;
    // Frames between being handed to SDL and being heard: one buffer for a
    // sound card, none for the dummy and disk drivers, which consume a
    // buffer during the wait that follows it.
    int64_t latencyFrames = 0;
    TAudioCallbackTiming timing;
};

} // namespace nexilon
