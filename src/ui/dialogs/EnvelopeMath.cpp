#include "EnvelopeMath.h"

#include <algorithm>
#include <cstdio>

#include "RixArithmetic.h"

namespace rix {
namespace {

// Samples per envelope step.
constexpr float STEP_SAMPLES = 44.0f;
constexpr float CYCLE = 65536.0f;
// Phase units one pixel of the graph covers.
constexpr int64_t PIXEL_PHASE = 512;
// Row marks closer than this many phase units (13 pixels) are thinned out.
constexpr int64_t MIN_MARK_SPACING = 6553;

} // namespace

float CEnvelopeMath::RowsPerCycle(int32_t rowLength, int32_t speed)
{
    // The product is taken modulo 2^32, like the phase it stands for.
    const uint32_t samples = static_cast<uint32_t>(rowLength) * static_cast<uint32_t>(speed);
    return CYCLE / (static_cast<float>(samples) / STEP_SAMPLES);
}

int32_t CEnvelopeMath::SpeedFor(int32_t rowLength, float rows)
{
    return TruncateToInt32(CYCLE / (static_cast<float>(rowLength) * rows / STEP_SAMPLES));
}

float CEnvelopeMath::Frequency(int32_t rowLength, float rows)
{
    const float secondsPerRow = static_cast<float>(rowLength) / 44100.0f;
    return 1.0f / (secondsPerRow * rows);
}

int CEnvelopeMath::RowsTrackbarPosition(float rows)
{
    const auto found = std::find_if(ROWS_TABLE.begin(), ROWS_TABLE.end(), [rows](float entry) { return entry >= rows; });
    return std::max(static_cast<int>(found - ROWS_TABLE.begin()) - 1, 0);
}

std::string CEnvelopeMath::SpeedLine(int32_t speed, int32_t rowLength, float rows)
{
    char text[96];
    std::snprintf(text, sizeof text, "speed: %d, freq: %.2f Hz", speed,
                  static_cast<double>(Frequency(rowLength, rows)));
    return text;
}

std::vector<int> CEnvelopeMath::RowMarks(int32_t rowLength, int32_t speed, int width)
{
    std::vector<int> marks;
    // The phase one row covers; a speed of 0 or below (from a file) has no rows to mark.
    int64_t spacing = static_cast<int64_t>(rowLength) * speed / 44;
    if (spacing <= 0)
        return marks;
    while (spacing < MIN_MARK_SPACING)
        spacing *= 16;
    int64_t previous = 0;
    for (int x = GRAPH_LEFT; x < width; ++x) {
        const int64_t row = (x - GRAPH_LEFT) * PIXEL_PHASE / spacing;
        if (row > previous) {
            marks.push_back(x);
            previous = row;
        }
    }
    return marks;
}

std::vector<int> CEnvelopeMath::Curve(const TRixEnvelope& envelope, int width, int height)
{
    std::vector<int> curve;
    const int bottom = height - GRAPH_BOTTOM_MARGIN;
    const int64_t band = height - GRAPH_TOP - GRAPH_BOTTOM_MARGIN;
    // 64 bits: values loaded from a file may span more than 32 bits.
    const int64_t range = static_cast<int64_t>(envelope.maxValue) - envelope.minValue;
    for (int x = 0; x < width - GRAPH_LEFT; ++x) {
        int32_t counter = x * static_cast<int32_t>(PIXEL_PHASE);
        // Keep holds the curve; sustain only matters after a stop note.
        if (envelope.keepEnabled)
            counter = std::min(counter, envelope.keep);
        const int64_t s = SineApprox(WrapAdd(envelope.phase, counter) >> 8) + 128;
        if (range == 0) {
            curve.push_back(bottom);
            continue;
        }
        const int64_t offset = s * range / 256;
        curve.push_back(static_cast<int>(bottom - offset * band / range));
    }
    return curve;
}

int CEnvelopeMath::SustainX(const TRixEnvelope& envelope)
{
    return envelope.sustain / static_cast<int32_t>(PIXEL_PHASE) + GRAPH_LEFT;
}

} // namespace rix
