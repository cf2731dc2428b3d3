#pragma once

#include <cstdint>
#include <limits>

namespace rix {

constexpr int RIX_CHANNELS = 8;
constexpr int RIX_ORDER_POSITIONS = 256;
constexpr int RIX_PATTERNS = 16;
constexpr int RIX_ROWS = 16;
constexpr int RIX_SAMPLE_RATE = 44100;
constexpr int RIX_ROWS_PER_BEAT = 4;
// Envelopes advance once every this many samples.
constexpr int RIX_ENVELOPE_TICK = 44;
// Pattern cell values: 0 empty, 1..254 notes, 255 stops the note.
constexpr uint32_t RIX_NOTE_EMPTY = 0;
constexpr uint32_t RIX_NOTE_STOP = 255;
// The /256 scale of volumes and gains: 256 is 1.0.
constexpr int32_t RIX_UNITY = 256;
constexpr int32_t RIX_DEFAULT_VOLUME = 100;
constexpr int32_t RIX_DEFAULT_BPM = 120;

// Samples per row for a tempo. Both intermediate results are rounded to
// single precision and the product with 44100 is taken in double precision,
// then truncated: 120 BPM gives 5512, 125 gives 5292, 175 gives 3779. A tempo
// below 1 counts as 1 (661499) and a result below 1 becomes 1, so no tempo
// from a file can divide by zero.
int32_t RowLengthFromBpm(int32_t bpm);

// Truncation toward zero of a floating-point value to int32; a value that
// does not fit (NaN and infinities included) gives INT32_MIN, as x86's
// truncating conversion does. Used wherever files or the synthesizer
// convert floating point, so both agree.
inline int32_t TruncateToInt32(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

} // namespace rix
