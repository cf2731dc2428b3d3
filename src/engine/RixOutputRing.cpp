#include "RixOutputRing.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace rix {

TRixOutputRing::TRixOutputRing() : samples(static_cast<int32_t*>(std::calloc(SIZE, sizeof(int32_t))))
{
    if (!samples)
        throw std::bad_alloc();
}

void TRixOutputRing::TFree::operator()(int32_t* block) const
{
    std::free(block);
}

void TRixOutputRing::Put(const int32_t* block, uint32_t count)
{
    const uint32_t index = Slot(position);
    const uint32_t first = std::min(count, SIZE - index);
    std::copy_n(block, first, samples.get() + index);
    std::copy_n(block + first, count - first, samples.get());
}

void TRixOutputRing::Clear(uint64_t at)
{
    position = at;
    writtenEnd = at;
    cleared = at;
    // A voice moves over its block's last place once more after the
    // player's loop cleared the rings, which leaves that place unwritten:
    // silence.
    samples[Slot(at)] = 0;
}

void TRixOutputRing::Copy(int32_t offset, int32_t* destination, uint32_t count) const
{
    // Slot (position + r) holds the latest write before writtenEnd at a
    // place congruent to it; only writes since the Clear count. (writtenEnd
    // is one past position for a voice that skipped its last move at the
    // song's end, one short of it for one that moved after a loop's clear.)
    uint32_t r = static_cast<uint32_t>(offset) & (SIZE - 1);
    for (uint32_t k = 0; k < count; ++k) {
        const uint64_t at = position + r;
        const uint64_t back = at < writtenEnd ? 0 : at - writtenEnd < SIZE ? SIZE : 2 * SIZE;
        destination[k] = at + 2 * SIZE >= cleared + 2 * SIZE + back ? samples[Slot(at)] : 0;
        r = (r + 1) & (SIZE - 1);
    }
}

void TRixOutputRing::CopyPositions(uint64_t first, int32_t* destination, uint32_t count) const
{
    const uint32_t start = Slot(first);
    const uint32_t before = std::min(count, SIZE - start);
    std::copy_n(samples.get() + start, before, destination);
    std::copy_n(samples.get(), count - before, destination + before);
}

} // namespace rix
