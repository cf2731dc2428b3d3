#include "RixConstants.h"

namespace rix {

int32_t RowLengthFromBpm(int32_t bpm)
{
    if (bpm < 1)
        bpm = 1;
    const float rowsPerSecond = static_cast<float>(bpm / 60.0 * RIX_ROWS_PER_BEAT);
    const float rowSeconds = static_cast<float>(1.0 / rowsPerSecond);
    const auto length = static_cast<int32_t>(static_cast<double>(rowSeconds) * RIX_SAMPLE_RATE);
    return length < 1 ? 1 : length;
}

} // namespace rix
