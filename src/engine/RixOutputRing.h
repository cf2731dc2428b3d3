#pragma once

#include <cstdint>
#include <memory>

namespace rix {

// The most recent output samples of a voice or of the mix, kept for display
// (level meters, oscilloscopes). Used under the player's lock.
class TRixOutputRing {
public:
    static constexpr uint32_t SIZE = 65536;

    TRixOutputRing();

    // Where to render the next `count` samples: straight into the ring when
    // they fit before its end, else into `scratch`. Commit then stores them
    // from the current position on (wrapping), and the caller moves the
    // position over them with Advance before the next Clear.
    int32_t* Reserve(uint32_t count, int32_t* scratch)
    {
        return index + count <= SIZE ? samples.get() + index : scratch;
    }
    void Commit(const int32_t* block, uint32_t count)
    {
        if (block != samples.get() + index)
            Put(block, count);
    }
    void Advance(uint32_t steps)
    {
        if (index + steps >= SIZE)
            wrapped = true;
        index = (index + steps) & (SIZE - 1);
    }
    // All zero again, position 0.
    void Clear();
    // `count` samples starting `offset` samples from the current position
    // (negative: already written), wrapping at the end.
    void Copy(int32_t offset, int32_t* destination, uint32_t count) const;

private:
    void Put(const int32_t* block, uint32_t count);

    struct TFree {
        void operator()(int32_t* block) const;
    };
    // From calloc: the system hands out zero pages, so a ring costs nothing
    // until it is written (a player holds nine of 256 KiB).
    std::unique_ptr<int32_t[], TFree> samples;
    uint32_t index = 0;
    // The position passed the end since the last Clear; until then only
    // samples 0..index can be non-zero, so a clear (at every seek, and at
    // every order position in loop mode) wipes just those.
    bool wrapped = false;
};

} // namespace rix
