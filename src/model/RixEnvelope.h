#pragma once

#include <cstdint>

namespace rix {

enum TRixResetMode : int32_t {
    RIXRESET_SONG = 0,
    RIXRESET_PATTERN = 1,
    RIXRESET_TWO_PATTERNS = 2,
    RIXRESET_NOTE = 3,
    RIXRESET_FOUR_PATTERNS = 4,
};

// An envelope's parameters. Values are on the /256 scale (256 = 1.0);
// speed, phase, keep and sustain are in phase units of 65536 per cycle,
// speed per envelope step (one step every 44 samples).
struct TRixEnvelope {
    int32_t minValue = 0;
    int32_t maxValue = 256;
    int32_t speed = 65;
    int32_t resetMode = RIXRESET_NOTE;
    int32_t phase = 16384;
    int32_t keep = 0;
    int32_t sustain = 0;
    bool keepEnabled = true;
    bool sustainEnabled = false;

    bool operator==(const TRixEnvelope&) const = default;

    // {0, 256, 65, 3, 16384, 0, 0, true, false}: a constant 256.
    static TRixEnvelope Default() { return {}; }
    // The channel envelope of a reset channel: holds at 224 while a note is
    // held and falls to 0 after a stop note.
    static TRixEnvelope ChannelDefault() { return {0, 256, 65, RIXRESET_NOTE, 16384, 32768, 8192, true, true}; }
};

} // namespace rix
