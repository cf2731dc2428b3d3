#pragma once

#include <cstdint>
#include <memory>

namespace rix {

// The most recent output samples of a voice or of the mix, kept for display
// (level meters, oscilloscopes). Written by the rendering thread only.
//
// Slots are addressed by position: the count of samples the ring has moved
// over since it was made, which never goes back. A Clear does not overwrite
// anything; it only makes Copy read the positions before it as silence. So
// a reader that follows the heard output through CopyPositions (another
// thread, see CRixModulePlayer::CopyRendered) still finds the samples
// played before a seek or a loop's wrap while they are being heard.
class TRixOutputRing {
public:
    static constexpr uint32_t SIZE = 65536;

    TRixOutputRing();

    // Where to render the next `count` samples: straight into the ring when
    // they fit before its end, else into `scratch`. Commit then stores them
    // from the current position on (wrapping), and the caller moves the
    // position over them with Advance.
    int32_t* Reserve(uint32_t count, int32_t* scratch)
    {
        const uint32_t index = Slot(position);
        return index + count <= SIZE ? samples.get() + index : scratch;
    }
    void Commit(const int32_t* block, uint32_t count)
    {
        if (block != samples.get() + Slot(position))
            Put(block, count);
        writtenEnd = position + count;
    }
    void Advance(uint32_t steps) { position += steps; }
    // Everything up to here reads as zero through Copy, which counts from
    // `at` on (the mix's position, so that a voice's ring and the mix's
    // address the same samples alike).
    void Clear(uint64_t at);
    void Clear() { Clear(position); }
    // `count` samples starting `offset` samples from the current position
    // (negative: already written), wrapping at the end: the samples written
    // at those places since the last Clear, else zero.
    void Copy(int32_t offset, int32_t* destination, uint32_t count) const;
    // The slots of positions first .. first + count - 1 as they are now,
    // whatever was cleared; the caller checks they still hold those
    // positions.
    void CopyPositions(uint64_t first, int32_t* destination, uint32_t count) const;
    uint64_t Position() const { return position; }

private:
    static uint32_t Slot(uint64_t at) { return static_cast<uint32_t>(at) & (SIZE - 1); }
    void Put(const int32_t* block, uint32_t count);

    struct TFree {
        void operator()(int32_t* block) const;
    };
    // From calloc: the system hands out zero pages, so a ring costs nothing
    // until it is written (a player holds nine of 256 KiB).
    std::unique_ptr<int32_t[], TFree> samples;
    uint64_t position = 0;
    // One past the last place written.
    uint64_t writtenEnd = 0;
    uint64_t cleared = 0;
};

} // namespace rix
