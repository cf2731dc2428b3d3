#pragma once

#include <array>
#include <cstdint>

#include "SdlAudioDevice.h"
#include "nexilon/ObjectBase.h"
#include "nexilon/Ptr.h"
#include "nexilon/Sound.h"
#include "nexilon/Stream.h"

namespace nexilon {

// ISound for CSdlAudioDevice. All state below is guarded by the device's
// mixLock (see CSdlAudioDevice); a sound without device has no state to
// guard and never plays.
class CSdlSound final : public CObjectBase<ISound> {
public:
    // Unattached (made through the class store).
    CSdlSound();
    // Attached to the device, which the sound keeps alive; stopped at the
    // stream's current position.
    CSdlSound(CSdlAudioDevice* device, IInputStream* stream);
    ~CSdlSound() override;

    IObject* QueryInterface(const CId& interfaceId) override;
    void Reserved7() override;
    void Reserved8() override;
    void Reserved9() override;
    void Reserved10() override;
    bool IsPlaying() override;
    void Reserved12() override;
    void Start() override;
    void SetPosition(float seconds) override;
    void Reserved15() override;
    void Stop() override;
    float GetPosition() override;
    uint64_t GetHeardSample() override;
    std::string GetFailure() override;

    // The device's mixing thread, under mixLock: adds up to frames samples
    // of the stream to sum (which must hold frames values), sum[0] being
    // device frame firstFrame. scratch holds kChunkFrames × 2 bytes. Stops
    // the sound when the stream gives nothing more or fails.
    void MixInto(int32_t* sum, uint32_t frames, int64_t firstFrame, uint8_t* scratch);

private:
    // Where a run of stream samples went in the device's output, so the
    // heard device frame can be turned back into a stream position: the
    // run's first stream sample, or for a run in which the stream jumped,
    // the position it reached at the run's end (for the whole run).
    struct TChunk {
        int64_t frame;
        uint64_t position;
        uint32_t count;
        bool jumped;
    };
    // Enough chunks to cover the device's latency plus a buffer of a few
    // thousand frames.
    static constexpr uint32_t kChunks = 64;

    void Forget(uint64_t position);
    void Remember(int64_t frame, uint64_t position, uint32_t count, uint64_t reached);
    [[noreturn]] void Reserved(const char* operation) const;
    void RequireDevice(const char* operation) const;

    CPtr<CSdlAudioDevice> device;
    CPtr<IInputStream> stream;
    bool playing = false;
    // The stream must go back to its start before the next Start: after
    // Stop (stopped), or after the stream gave nothing more (ended).
    bool stopped = false;
    bool ended = false;
    // Stream position (in samples) reported until the first chunk is heard.
    uint64_t startPosition = 0;
    std::array<TChunk, kChunks> chunks{};
    uint32_t chunkCount = 0;
    uint32_t nextChunk = 0;
    std::string failure;
};

} // namespace nexilon
