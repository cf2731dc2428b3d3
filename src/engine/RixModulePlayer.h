#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "IRixModulePlayer.h"
#include "RixModuleData.h"
#include "RixNoiseGenerator.h"
#include "RixOutputRing.h"
#include "RixVoice.h"
#include "nexilon/BinaryLock.h"
#include "nexilon/ObjectBase.h"
#include "nexilon/Ptr.h"

namespace rix {

// The descriptor GetFormat returns: 16-bit signed mono PCM at 44100 Hz in
// the framework's format layout (the two fields holding 1 belong to the
// framework's contract).
struct TRixPcmFormat : nexilon::TStreamFormat {
    int32_t fields[3];
};
static_assert(sizeof(TRixPcmFormat) == 32);

inline constexpr nexilon::CId RIX_PCM_FORMAT_ID{0x47A8ECCB, 0x40364B9F, 0xA014B125, 0x721626DF};

// The module player: walks a module's order table and patterns row by row,
// plays the eight channel voices and mixes them through the master volume
// into 16-bit signed little-endian mono PCM at 44100 Hz, readable as a
// framework input stream. It re-reads the module whenever the module's
// change counter moved, so the song can be edited while it plays.
//
// Threads: one consumer at a time drives the stream; every operation that
// touches playback state takes `lock` (re-entrant, operations call each
// other) and then, when it needs the song, the module's read lock. Read
// never waits for the module: it follows an edit when the read lock is
// free at once, and otherwise renders on from its own copy of the
// arrangement and the voices' copies of the instruments, trying again at
// the next Read. The rendering loop allocates nothing and takes no further
// lock. SetChannelEnabled, GetRow, SetLoopPattern and the display queries
// (GetRenderedCount, GetRowSeconds, CopyRendered) take no lock at all, so
// no other thread ever holds up the consumer.
class CRixModulePlayer final : public nexilon::CObjectBase<IRixModulePlayer> {
public:
    // Effect histories come from `allocate`; the fuzzers hand in one that
    // fails now and then.
    explicit CRixModulePlayer(TRixHistoryAllocator allocate = &CallocHistory);
    ~CRixModulePlayer() override;

    nexilon::IObject* QueryInterface(const nexilon::CId& interfaceId) override;

    void Close() override;
    int32_t GetCapabilities() override;
    uint64_t GetLength() override;
    void Flush() override;
    void Seek(uint64_t position) override;
    uint64_t Tell() override;

    bool IsEof() override;
    const nexilon::TStreamFormat* GetFormat() override { return &format; }
    void Read(nexilon::IMediaSample* sample) override;
    uint64_t Read(void* buffer, uint64_t size) override;
    bool IsFeatureSupported(uint32_t) override { return false; }
    void Skip(int64_t delta) override;

    void SetChannelEnabled(int32_t channel, bool enabled) override;
    int32_t RowAtTime(float seconds) override;
    float TimeOfRow(uint32_t absoluteRow) override;
    void SeekToRow(uint32_t absoluteRow) override;
    void Connect(IRixModule* module) override;
    uint32_t GetRow() override { return row.load(std::memory_order_relaxed); }
    void CopyOutput(int32_t channel, uint32_t bytePosition, int32_t* destination, uint32_t count) override;
    void SetLoopPattern(bool loop) override { loopPattern.store(loop, std::memory_order_relaxed); }
    uint64_t GetRenderedCount() override { return rendered.load(std::memory_order_acquire); }
    float GetRowSeconds() override { return publishedRowSeconds.load(std::memory_order_relaxed); }
    bool CopyRendered(int32_t channel, uint64_t end, int32_t* destination, uint32_t count) override;

private:
    class CDataLock;

    void LockData();
    // LockData when the module's read lock is free at once.
    bool TryLockData();
    void UnlockData();
    // Brings rowLength, songLength, masterVolume and the voices in line with
    // the module when its change counter moved. A new tempo restarts the
    // current row at its new length (through a seek).
    void Synchronise();
    // Synchronise, unless that would wait for the module's lock.
    void SynchroniseIfFree();
    void SeekLocked(uint64_t bytePosition);
    void RederiveEnvelopes();
    void ClearRings();
    // The notes of the current row become NoteOn calls and envelope
    // restarts or releases.
    void TriggerRow();
    // Samples until the next envelope step or row end, at most `wanted`.
    uint32_t BlockLength(uint32_t wanted) const;
    // Renders `count` samples of every voice, summed into `mix`.
    void RenderVoices(int32_t* mix, uint32_t count);
    // Position, envelope and row bookkeeping after a block, then the last
    // Advance of every voice.
    void FinishBlock(uint32_t count);
    void PatternRestart();

    // The order table and patterns as of the last synchronisation: rows
    // trigger from here, so rendering needs no lock of the module.
    struct TArrangement {
        uint32_t orderTable[RIX_CHANNELS][RIX_ORDER_POSITIONS];
        uint32_t patterns[RIX_CHANNELS][RIX_PATTERNS][RIX_ROWS];
    };

    nexilon::CBinaryLock lock;
    nexilon::CPtr<IRixModule> module;
    // Valid while dataLockDepth > 0 (the module is read-locked).
    CRixModuleData* data = nullptr;
    int32_t dataLockDepth = 0;
    TRixPcmFormat format;
    std::array<TRixVoice, RIX_CHANNELS> voices;
    bool newRow = false;
    bool ended = false;
    TRixOutputRing outputRing;
    // The mix ring's position once a block is in every ring: what
    // CopyRendered may read (release order after the samples).
    std::atomic<uint64_t> rendered{0};
    std::atomic<float> publishedRowSeconds{0.0f};
    std::unique_ptr<TArrangement> arrangement = std::make_unique<TArrangement>();
    // On the /256 scale.
    int32_t masterVolume = 100;
    // The module's change counter at the last synchronisation.
    uint32_t changeCount = 0xFFFFFFFF;
    // Samples from the song start to the next sample to render.
    uint32_t samplePosition = 0;
    uint32_t sampleInRow = 0;
    // Samples since the last envelope step, 0..43.
    uint32_t envelopeTick = 0;
    std::atomic<uint32_t> row{0};
    uint32_t orderPosition = 0;
    // Samples per row; 0 until the first synchronisation.
    uint32_t rowLength = 0;
    float rowSeconds = 0.0f;
    // Order positions in the song.
    uint32_t songLength = 0;
    std::atomic<bool> loopPattern{false};
    // Mirrors module != null for the operations that take no lock.
    std::atomic<bool> connected{false};
    TRixNoiseGenerator noise;
    TRixHistoryAllocator allocateHistory;
};

} // namespace rix
