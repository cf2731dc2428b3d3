#pragma once

#include <cstdint>
#include <optional>

#include "RixEffect.h"
#include "RixEnvelope.h"
#include "RixOscillator.h"

namespace nexilon {
class CVarReader;
} // namespace nexilon

namespace rix {

// Version 2 record tags; their numbers mean other things than in version 3.
// Instrument files use 4 to 10 without the channel number; 1 to 3 belong to
// module files only.
enum TRixVersion2Tag : int32_t {
    RIXV2_SONG = 1,
    RIXV2_ORDER_TABLE = 2,
    RIXV2_PATTERNS = 3,
    RIXV2_CHANNEL = 4,
    RIXV2_DELAY = 5,
    RIXV2_FLANGE = 6,
    RIXV2_OSCILLATOR = 7,
    RIXV2_END = 8,
    RIXV2_UNUSED_A = 9,
    RIXV2_UNUSED_B = 10,
};

// How version 2 envelopes turn their float members into integers. Module
// and instrument files of that version differ in the speed factor and in
// the value of pi that phases are divided by.
struct TRixVersion2Scale {
    // speed = truncate(f3 * 655 * speedMultiplier / speedDivisor)
    double speedMultiplier;
    double speedDivisor;
    // phase, keep and sustain = truncate(f * 32768 / pi)
    double pi;
};

extern const TRixVersion2Scale RIX_MODULE_VERSION2_SCALE;
extern const TRixVersion2Scale RIX_INSTRUMENT_VERSION2_SCALE;

// How a version 2 envelope's two levels (f1, f2) become minValue and maxValue.
enum TRixVersion2Levels {
    RIXLEVELS_FACTOR,    // truncate(f * 256)
    RIXLEVELS_SEMITONES, // truncate(256 * 2^(f / 12)), the power in single precision
    RIXLEVELS_PLAIN,     // truncate(f)
};

// A version 2 envelope: six floats and three bools (f1..f6, b1..b3). b1 and
// b2 enable keep and sustain; b3 selects the song reset mode (else note).
TRixEnvelope ReadVersion2Envelope(nexilon::CVarReader& reader, TRixVersion2Levels levels,
                                  const TRixVersion2Scale& scale);

// A version 2 string in the header's form: four bytes of which the fourth is
// the length n, then n UTF-16 code units; skipped.
void SkipVersion2String(nexilon::CVarReader& reader);

// A version 2 record 10 (bool, two floats, a factor envelope), which
// modules and instruments both carry and nothing uses; skipped.
void SkipVersion2Record10(nexilon::CVarReader& reader, const TRixVersion2Scale& scale);

// A version 2 oscillator record's fields after the channel number: an
// ignored int, the waveform, a factor envelope for the volume, a semitone
// envelope for the frequency, then volume and pitch as floats.
TRixOscillator ReadVersion2Oscillator(nexilon::CVarReader& reader, const TRixVersion2Scale& scale);

// A version 2 delay record's fields after the channel number: on, length
// (rows / 6) and level (1.0 = full). A Delay when on.
std::optional<TRixEffect> ReadVersion2Delay(nexilon::CVarReader& reader);

// A version 2 flange record's fields after the channel number: on, an
// ignored float and a plain envelope. A Flange when on.
std::optional<TRixEffect> ReadVersion2Flange(nexilon::CVarReader& reader, const TRixVersion2Scale& scale);

} // namespace rix
