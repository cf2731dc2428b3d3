#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace rix {

// The arithmetic of the transport and status panels, kept apart from the
// windows so that it is tested without one. Positions are pixels in the
// panel's own client area; samples are 16-bit values widened to int32.
// Song values may be any 32-bit value a file holds: nothing here overflows,
// and what becomes pixels stays within the panel.
class CPanelMath {
public:
    static constexpr int32_t kMinBpm = 40;
    static constexpr int32_t kMaxBpm = 255;

    // The tempo typed into the tempo control: leading decimal digits (after
    // an optional sign), 0 when there are none, clamped to 40..255.
    static int32_t ParseBpm(const std::string& text);

    // Hundredths of a second at the start of an absolute row, the row taken
    // as unsigned: trunc(row × rowSeconds × 100 + 0.1) with the row length
    // of the tempo in single precision, at most INT32_MAX.
    static int32_t TimeOfRow(uint32_t absoluteRow, int32_t bpm);
    // "mm:ss" and ".hh" of a time in hundredths; the minutes wrap after 59,
    // a negative time shows as 0.
    static std::string MinutesSeconds(int32_t hundredths);
    static std::string Hundredths(int32_t hundredths);

    // The volume a mixer strip takes at a pointer height y: ((125 - y) ×
    // 256) / 100, truncated toward zero (not clamped to the volumes, only
    // to int32).
    static int32_t MixerValueAt(int32_t y);
    // A click counts only when its value lies in -10..260.
    static bool IsMixerClick(int32_t value) { return value >= -10 && value <= 260; }
    static int32_t ClampVolume(int32_t value);
    // The channel strip (mixer) or cell (oscillator bar) under x: 40 px wide
    // from x 24, truncated toward zero, so a press just left of the first
    // one still lands on it; callers ignore results outside 0..7.
    static int32_t StripAt(int32_t x) { return static_cast<int32_t>((int64_t{x} - 24) / 40); }
    // Pixel height of a channel volume on the 100-pixel scale, 0..100: a
    // volume beyond the scale fills it.
    static int32_t VolumeHeight(int32_t volume);
    // Pixel height of a level column (peak 0..32767) on the 110-pixel
    // track, 0..110.
    static int32_t LevelHeight(int32_t peak);

    // The largest of count samples, starting from 0 (so only positive peaks
    // count) and clamped to 32767.
    static int32_t Peak(const int32_t* samples, uint32_t count);

    // Scope trace of one 40 × 30 oscillator bar cell from 1024 samples:
    // the y of x = 0..39 is 15 - trunc(60 × sample[8x] / 65536).
    static constexpr int kScopeWidth = 40;
    static int32_t ScopeY(int32_t sample) { return static_cast<int32_t>(15 - 60 * int64_t{sample} / 65536); }

    // Solo on a right click: with all seven other channels on, only the
    // clicked one stays on; otherwise all eight come on.
    static std::array<bool, 8> Solo(const std::array<bool, 8>& enabled, int32_t channel);
};

} // namespace rix
