#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "SdlAudioDevice.h"
#include "nexilon/ObjectBase.h"
#include "nexilon/Ptr.h"
#include "nexilon/Sound.h"
#include "nexilon/Stream.h"

namespace nexilon {

// ISound for CSdlAudioDevice. A sound reads its stream on a render thread
// of its own, up to kRenderAheadFrames ahead of the device's mixing
// callback, into a single-producer single-consumer ring of blocks; the
// callback only copies from that ring. So the callback never waits for the
// stream (a player waiting for its module's lock), and no operation of the
// sound waits for either: an operation that moves the stream (Start after
// a stop or the end, SetPosition) opens a new epoch that the render thread
// carries out, and blocks of older epochs are dropped unheard.
//
// Threads and their state:
// - any thread: the operations, under controlMutex, which is never held
//   while the stream is called; `state` is the one word the three threads
//   share (epoch and flags).
// - the render thread: the stream, the render-side fields, the ring's
//   write side.
// - the mixing callback: the ring's read side and the record of where the
//   blocks went, published under the device's heardMutex (see MixInto).
class CSdlSound final : public CObjectBase<ISound> {
public:
    // Unattached (made through the class store).
    CSdlSound();
    // Attached to the device, which the sound keeps alive; stopped at the
    // stream's current position. Reads the stream's position here.
    CSdlSound(CSdlAudioDevice* device, IInputStream* stream);
    // Waits for the render thread to leave the stream: never destroy the
    // last reference while holding a lock the stream's Read takes.
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
    uint64_t GetHeardReadCount() override;
    uint64_t GetUnderrunCount() override { return underruns.load(std::memory_order_relaxed); }

    // Frames of stream rendered ahead of the callback: 23.2 ms at 44100 Hz.
    // After a device buffer of 512 frames is taken, 512 to 1024 wait; so an
    // edit may hold the stream's module 11.6 to 23.2 ms before the sound
    // runs dry. A starting sound renders these first (well under a
    // millisecond) and then plays from the next device buffer on, so the
    // render-ahead adds nothing noticeable to the delay of a note preview.
    static constexpr uint32_t kRenderAheadFrames = 1024;
    // After each underrun the render-ahead grows by a device buffer, up to
    // this (46.4 ms): a machine that starved the render thread once may
    // again, and a longer lead hides more of such a stall.
    static constexpr uint32_t kMaxRenderAheadFrames = 2048;

    // The mixing callback: adds up to frames samples of the sound to sum,
    // sum[0] being device frame firstFrame; returns the frames it lacked
    // while playing (an underrun; the sound resumes where it was).
    uint32_t MixInto(int32_t* sum, uint32_t frames, int64_t firstFrame);
    // The mixing callback, under the device's heardMutex: makes the record
    // of where the blocks went visible to GetHeardSample.
    void Publish();

private:
    // Where a run of stream samples went in the device's output, so the
    // heard device frame can be turned back into a stream position: the
    // run's first stream sample, or for a run in which the stream jumped
    // (a looping player), the position it reached (for the whole run);
    // readCount numbers the run's first sample among all samples read.
    struct TChunk {
        int64_t frame;
        uint64_t position;
        uint64_t readCount;
        uint32_t count;
        bool jumped;
    };
    struct TRecord {
        std::array<TChunk, 64> chunks{};
        uint32_t count = 0;
        uint32_t next = 0;
        uint32_t epoch = 0;
    };
    // One read of the stream. end: the stream gave nothing (or failed).
    struct TBlock {
        uint32_t epoch;
        uint32_t count;
        uint64_t position;
        uint64_t reached;
        // Samples read from the stream before this block.
        uint64_t readCount;
        bool end;
        std::array<int16_t, CSdlAudioDevice::kChunkFrames> samples;
    };
    static constexpr uint32_t kBlocks = 2 * kMaxRenderAheadFrames / CSdlAudioDevice::kChunkFrames;

    static constexpr uint64_t kPlaying = 1;
    static constexpr uint64_t kEnded = 2;
    static constexpr uint64_t kStopped = 4;
    static uint32_t EpochOf(uint64_t state) { return static_cast<uint32_t>(state >> 8); }
    static uint64_t MakeState(uint32_t epoch, uint64_t flags) { return static_cast<uint64_t>(epoch) << 8 | flags; }
    // Under controlMutex: a new epoch with flags, keeping what the callback
    // may have changed meanwhile in view (it only ends a playing epoch).
    void NewEpoch(uint64_t flags, bool keepPlaying);

    void RenderLoop();
    // Renders until kRenderAheadFrames of the current epoch wait in the
    // ring, the ring is full or the stream has ended.
    void RenderAhead();
    // Takes on the newest epoch and moves the stream as it asks.
    void BeginEpoch();
    // The stream failed: the epoch ends with reason as the failure.
    void Fail(const std::string& reason);
    void Remember(int64_t frame, const TBlock& block, uint32_t offset, uint32_t count);
    // Under the device's heardMutex: the published run being heard now and
    // how far into it, if it belongs to epoch.
    const TChunk* HeardChunk(uint32_t epoch, int64_t& into) const;
    [[noreturn]] void Reserved(const char* operation) const;
    void RequireDevice(const char* operation) const;

    CPtr<CSdlAudioDevice> device;
    CPtr<IInputStream> stream;
    std::atomic<uint64_t> state{0};

    std::mutex controlMutex;
    // Where the current epoch begins (samples); seekRequested when the
    // render thread must move the stream there.
    uint64_t startPosition = 0;
    bool seekRequested = false;
    std::string failure;

    // The ring: blocks [readIndex, writeIndex) are rendered and unheard.
    std::array<TBlock, kBlocks> blocks{};
    std::atomic<uint64_t> writeIndex{0};
    std::atomic<uint64_t> readIndex{0};

    // Render thread.
    std::thread renderer;
    std::atomic<uint32_t> renderTicket{0};
    std::atomic<bool> quitting{false};
    uint32_t renderedEpoch = 0;
    uint64_t epochFirstBlock = 0;
    uint64_t streamPosition = 0;
    bool streamEnded = false;
    bool epochFailed = false;
    uint64_t readCount = 0;
    std::vector<uint8_t> scratch;
    // The render-ahead in frames, grown by the mixing callback.
    std::atomic<uint32_t> aheadFrames{kRenderAheadFrames};
    std::atomic<uint64_t> underruns{0};
    // GetHeardReadCount's last answer, kept while nothing is heard.
    std::atomic<uint64_t> lastHeardReadCount{0};

    // Mixing callback.
    uint32_t mixedEpoch = 0;
    uint32_t frontOffset = 0;
    TRecord record;
    bool recordChanged = false;
    // Under the device's heardMutex.
    TRecord published;
};

} // namespace nexilon
