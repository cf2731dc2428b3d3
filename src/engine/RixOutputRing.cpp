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
    const uint32_t first = std::min(count, SIZE - index);
    std::copy_n(block, first, samples.get() + index);
    std::copy_n(block + first, count - first, samples.get());
}

void TRixOutputRing::Clear()
{
    std::fill_n(samples.get(), wrapped ? SIZE : index + 1, 0);
    index = 0;
    wrapped = false;
}

void TRixOutputRing::Copy(int32_t offset, int32_t* destination, uint32_t count) const
{
    uint32_t position = (index + static_cast<uint32_t>(offset)) & (SIZE - 1);
    for (uint32_t k = 0; k < count; ++k) {
        destination[k] = samples[position];
        position = (position + 1) & (SIZE - 1);
    }
}

} // namespace rix
