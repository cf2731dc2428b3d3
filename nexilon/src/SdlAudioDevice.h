#pragma once

#include <array>
#include <atomic>
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
// every buffer. Mix takes no lock that anything else holds for longer
// than a copy and never waits: the sounds render their streams ahead on
// threads of their own (CSdlSound), the sound list is an array of atomic
// slots, and what Mix tells about the heard position it publishes under
// heardMutex only when that is free at once (else with the next buffer).
class CSdlAudioDevice final : public CObjectBase<IAudioDevice> {
public:
    // Every frame rate in and out of the device: 44100 mono samples per second.
    static constexpr int kSampleRate = 44100;
    // Frames a sound reads per stream call; small enough that a jump of the
    // stream inside one read (a looping player) misplaces the heard
    // position by at most this many frames (2.9 ms).
    static constexpr uint32_t kChunkFrames = 128;
    // Sounds that can exist at once per device.
    static constexpr uint32_t kMaxSounds = 32;

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
    std::vector<TUnderrun> GetUnderruns() override;

    // The sounds Mix visits. Attach throws CIOException when kMaxSounds are
    // attached; Detach returns once Mix cannot be inside the sound any more.
    void Attach(CSdlSound* sound);
    void Detach(CSdlSound* sound);
    std::mutex& GetHeardMutex() { return heardMutex; }
    // Under heardMutex: the device frame (counted from the first frame the
    // device produced) that the listener hears now; negative before the
    // first frame is heard.
    int64_t GetHeardFrame() const;

    // SDL's audio thread: fills size bytes of signed 16-bit samples.
    void Mix(uint8_t* output, int size);
    // A sound's render thread, whenever it wakes: when the mixing thread
    // could not raise itself to real-time priority directly, asks
    // RealtimeKit for it (once), which the callback must not wait for.
    void RaiseMixingThread();

private:
    uint32_t deviceId = 0;
    // Guarded by the process-wide SDL mutex, like deviceId.
    std::string outputName;
    std::string outputNote;

    // Serialises Attach and Detach; Mix reads the slots without it.
    std::mutex slotMutex;
    std::array<std::atomic<CSdlSound*>, kMaxSounds> slots{};
    // Odd while Mix runs, so that Detach can wait for the Mix that may
    // still use a sound it took out.
    std::atomic<uint32_t> mixSerial{0};

    // Mix only (set up by Open before SDL starts calling it): the mixing
    // buffer sized for one device buffer, and the frames produced so far.
    std::vector<int32_t> sum;
    int64_t framesMixed = 0;
    // Frames between being handed to SDL and being heard: one buffer for a
    // sound card, none for the dummy and disk drivers, which consume a
    // buffer during the wait that follows it.
    int64_t latencyFrames = 0;

    // Published by Mix under heardMutex: the first frame of the latest
    // buffer, its length and when SDL asked for it.
    std::mutex heardMutex;
    int64_t lastBufferFrame = 0;
    int64_t lastBufferFrames = 0;
    std::chrono::steady_clock::time_point lastBufferTime;
    bool anyBuffer = false;

    // Written by Mix only.
    std::atomic<uint64_t> callbacks{0};
    std::atomic<uint64_t> longestCallback{0};
    std::atomic<uint64_t> underrunFrames{0};
    std::atomic<uint64_t> underrunCount{0};
    // The latest underruns, slot underrunCount % 64 next.
    struct TUnderrunSlot {
        std::atomic<int64_t> frame{0};
        std::atomic<uint32_t> frames{0};
    };
    std::array<TUnderrunSlot, 64> underrunLog;
    void Record(int64_t frame, uint32_t frames);

    // The mixing thread's kernel id once it ran (0 before); set to -1 once
    // it has real-time priority or RealtimeKit was asked.
    std::atomic<int64_t> mixingThread{0};
};

} // namespace nexilon
