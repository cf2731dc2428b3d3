#include "PanelMath.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "RixConstants.h"

namespace rix {

int32_t CPanelMath::ParseBpm(const std::string& text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long>(value, kMinBpm, kMaxBpm));
}

int32_t CPanelMath::TimeOfRow(uint32_t absoluteRow, int32_t bpm)
{
    const int32_t rowLength = RowLengthFromBpm(bpm);
    const float rowSeconds = static_cast<float>(rowLength) / static_cast<float>(RIX_SAMPLE_RATE);
    // The product stays in single precision; the margin is a double, as its
    // literal would be.
    const double time = static_cast<double>(static_cast<float>(absoluteRow) * rowSeconds * 100.0f) + 0.1;
    return static_cast<int32_t>(std::min(time, static_cast<double>(INT32_MAX)));
}

std::string CPanelMath::MinutesSeconds(int32_t time)
{
    time = std::max(time, 0);
    char text[16];
    std::snprintf(text, sizeof text, "%d%d:%d%d", time / 60000 % 6, time / 6000 % 10, time / 1000 % 6,
                  time / 100 % 10);
    return text;
}

std::string CPanelMath::Hundredths(int32_t time)
{
    time = std::max(time, 0);
    char text[8];
    std::snprintf(text, sizeof text, ".%d%d", time / 10 % 10, time % 10);
    return text;
}

int32_t CPanelMath::MixerValueAt(int32_t y)
{
    return static_cast<int32_t>(std::clamp<int64_t>((125 - int64_t{y}) * 256 / 100, INT32_MIN, INT32_MAX));
}

int32_t CPanelMath::VolumeHeight(int32_t volume)
{
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{volume} * 100 / 256, 0, 100));
}

int32_t CPanelMath::LevelHeight(int32_t peak)
{
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{peak} * 110 / 32768, 0, 110));
}

int32_t CPanelMath::ClampVolume(int32_t value)
{
    return std::clamp(value, 0, 255);
}

int32_t CPanelMath::Peak(const int32_t* samples, uint32_t count)
{
    int32_t peak = 0;
    for (uint32_t i = 0; i < count; ++i)
        peak = std::max(peak, samples[i]);
    return std::min(peak, 32767);
}

std::array<bool, 8> CPanelMath::Solo(const std::array<bool, 8>& enabled, int32_t channel)
{
    bool othersOn = true;
    for (int32_t c = 0; c < 8; ++c)
        if (c != channel && !enabled[static_cast<std::size_t>(c)])
            othersOn = false;
    std::array<bool, 8> result;
    for (int32_t c = 0; c < 8; ++c)
        result[static_cast<std::size_t>(c)] = othersOn ? c == channel : true;
    return result;
}

} // namespace rix
