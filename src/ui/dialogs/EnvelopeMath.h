#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "RixEnvelope.h"

namespace rix {

// The arithmetic of the envelope editor, free of widgets: the speed shown as
// pattern rows per cycle, the position of the rows trackbar and the points
// of the graph. rowLength is the song's row length in samples; an envelope
// takes one step per 44 samples and a cycle is 65536 phase units.
class CEnvelopeMath {
public:
    // The steps of the rows-per-cycle trackbar.
    static constexpr int ROWS_STEPS = 30;
    static constexpr std::array<float, ROWS_STEPS> ROWS_TABLE = {
        0.01f, 0.02f, 0.05f, 0.1f, 0.2f, 0.25f, 0.5f, 0.75f, 1.0f, 1.25f, 1.5f, 1.75f, 2.0f, 2.5f, 3.0f,
        4.0f,  6.0f,  8.0f,  12.0f, 16.0f, 24.0f, 32.0f, 48.0f, 64.0f, 128.0f, 160.0f, 192.0f, 256.0f, 512.0f, 1024.0f};

    // Graph layout in pixels: the curve spans the band between the top and
    // bottom lines; the value labels sit left of LEFT.
    static constexpr int GRAPH_LEFT = 40;
    static constexpr int GRAPH_TOP = 20;
    static constexpr int GRAPH_BOTTOM_MARGIN = 21;

    // Pattern rows one cycle lasts; infinity for speed 0.
    static float RowsPerCycle(int32_t rowLength, int32_t speed);
    // The speed whose cycle lasts rows rows (truncated; 0 for a very long
    // cycle). rows must be positive.
    static int32_t SpeedFor(int32_t rowLength, float rows);
    // The cycles per second of a cycle of rows rows.
    static float Frequency(int32_t rowLength, float rows);
    // The rows trackbar's position for rows: the step before the first table
    // entry not less than rows, so a value just above an entry shows it.
    static int RowsTrackbarPosition(float rows);
    // "speed: 65, freq: 0.99 Hz"
    static std::string SpeedLine(int32_t speed, int32_t rowLength, float rows);

    // x of the vertical row marks of a graph width pixels wide: one per row,
    // or per 16, 256, ... rows when they would stand closer than 13 pixels.
    static std::vector<int> RowMarks(int32_t rowLength, int32_t speed, int width);
    // y of the curve at x = GRAPH_LEFT + i, for i = 0 .. width - GRAPH_LEFT - 1;
    // maxValue on GRAPH_TOP, minValue on height - GRAPH_BOTTOM_MARGIN, 128
    // pixels a cycle. An envelope with maxValue = minValue lies on the
    // bottom line.
    static std::vector<int> Curve(const TRixEnvelope& envelope, int width, int height);
    // x of the sustain mark.
    static int SustainX(const TRixEnvelope& envelope);
};

} // namespace rix
