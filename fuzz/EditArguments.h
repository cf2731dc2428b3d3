#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>

#include "EditStep.h"

namespace fuzzing {

// The arguments of the edit operations, read from a fuzzer's bytes; zeros
// once the bytes run out. Now and then a value lies just outside the range
// asked for, or at an extreme, since the operations must refuse those.
class CEditArguments {
public:
    CEditArguments(const uint8_t* data, std::size_t size) : next(data), end(data + size) {}

    bool Empty() const { return next == end; }
    uint8_t Byte() { return next == end ? 0 : *next++; }
    // 0..count - 1, one time in 16 one of -1, count, count + 1 and INT32_MAX.
    int32_t Index(int32_t count)
    {
        const uint32_t value = Word();
        if (value >> 12 == 0xF) {
            const int32_t outside[] = {-1, count, count + 1, INT32_MAX};
            return outside[value & 3];
        }
        return static_cast<int32_t>(value % static_cast<uint32_t>(count));
    }
    // Any 32-bit value: mostly small ones, the extremes, or any.
    int32_t Value()
    {
        const uint8_t kind = Byte();
        if (kind < 160)
            return int32_t(Byte()) - 64;
        if (kind < 192)
            return static_cast<int32_t>(Word());
        if (kind < 224) {
            const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 255, 256, INT32_MAX - 1, INT32_MAX};
            return extremes[Byte() & 7];
        }
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | Byte();
        return static_cast<int32_t>(value);
    }
    // A step of its own, or a continuation of the gesture.
    rix::TEditStep Step() { return (Byte() & 1) != 0 ? rix::TEditStep::Continue : rix::TEditStep::New; }

private:
    // Two bytes, low first (in sequence, so that every compiler reads them
    // alike).
    uint32_t Word()
    {
        const uint32_t low = Byte();
        return low | uint32_t(Byte()) << 8;
    }

    const uint8_t* next;
    const uint8_t* end;
};

} // namespace fuzzing
