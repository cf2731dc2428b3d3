#include "RixVersion2Fields.h"

#include <cmath>

#include "RixFileFields.h"
#include "nexilon/VarReader.h"

namespace rix {

const TRixVersion2Scale RIX_MODULE_VERSION2_SCALE{44.0, 441.0, 3.1415927410125732};
const TRixVersion2Scale RIX_INSTRUMENT_VERSION2_SCALE{441.0, 44.0, 3.141592654};

namespace {

int32_t ConvertLevel(float value, TRixVersion2Levels levels)
{
    switch (levels) {
    case RIXLEVELS_FACTOR:
        return TruncateToInt32(static_cast<double>(value) * 256.0);
    case RIXLEVELS_SEMITONES: {
        // The power is rounded to single precision before the scaling; the
        // scaling by 256 is exact in any precision.
        const float exponent = value / 12.0f;
        const double power = std::pow(2.0, static_cast<double>(exponent));
        // Beyond the float range the level cannot fit an int either.
        const double factor = power < 3.0e38 ? static_cast<double>(static_cast<float>(power)) : power;
        return TruncateToInt32(256.0 * factor);
    }
    case RIXLEVELS_PLAIN:
    default:
        return TruncateToInt32(static_cast<double>(value));
    }
}

int32_t ConvertPhase(float value, const TRixVersion2Scale& scale)
{
    return TruncateToInt32(static_cast<double>(value) * 32768.0 / scale.pi);
}

} // namespace

TRixEnvelope ReadVersion2Envelope(nexilon::CVarReader& reader, TRixVersion2Levels levels,
                                  const TRixVersion2Scale& scale)
{
    float f[6];
    bool keepEnabled = false;
    bool sustainEnabled = false;
    bool songReset = false;
    for (float& value : f)
        reader >> value;
    reader >> keepEnabled >> sustainEnabled >> songReset;

    TRixEnvelope envelope;
    envelope.minValue = ConvertLevel(f[0], levels);
    envelope.maxValue = ConvertLevel(f[1], levels);
    envelope.speed = TruncateToInt32(static_cast<double>(f[2]) * 655.0 * scale.speedMultiplier / scale.speedDivisor);
    envelope.phase = ConvertPhase(f[3], scale);
    envelope.keep = ConvertPhase(f[4], scale);
    envelope.sustain = ConvertPhase(f[5], scale);
    envelope.keepEnabled = keepEnabled;
    envelope.sustainEnabled = sustainEnabled;
    envelope.resetMode = songReset ? RIXRESET_SONG : RIXRESET_NOTE;
    return envelope;
}

void SkipVersion2String(nexilon::CVarReader& reader)
{
    unsigned char prefix[4];
    reader.ReadBytes(prefix, sizeof prefix);
    // At most 255 code units: the skip is bounded by the length byte.
    unsigned char text[2 * 255];
    reader.ReadBytes(text, 2u * prefix[3]);
}

TRixOscillator ReadVersion2Oscillator(nexilon::CVarReader& reader, const TRixVersion2Scale& scale)
{
    int32_t ignored = 0;
    int32_t waveform = 0;
    reader >> ignored >> waveform;

    TRixOscillator oscillator;
    switch (waveform) {
    case 2:
        oscillator.type = RIXOSC_SAW;
        break;
    case 3:
        oscillator.type = RIXOSC_SQUARE;
        break;
    case 4:
        oscillator.type = RIXOSC_NOISE;
        break;
    default:
        oscillator.type = RIXOSC_SINE;
        break;
    }
    oscillator.volumeEnvelope = ReadVersion2Envelope(reader, RIXLEVELS_FACTOR, scale);
    oscillator.transitionEnvelope = ReadVersion2Envelope(reader, RIXLEVELS_SEMITONES, scale);
    float volume = 0;
    float pitch = 0;
    reader >> volume >> pitch;
    oscillator.volume = TruncateToInt32(static_cast<double>(volume) * 255.0);
    oscillator.pitch = TruncateToInt32(static_cast<double>(pitch) * 100.0);
    return oscillator;
}

std::optional<TRixEffect> ReadVersion2Delay(nexilon::CVarReader& reader)
{
    bool on = false;
    float length = 0;
    float level = 0;
    reader >> on >> length >> level;
    if (!on)
        return std::nullopt;
    TRixEffect delay = TRixEffect::OfType(RIXEFFECT_DELAY);
    delay.param1 = TruncateToInt32(static_cast<double>(length) / 6.0 * 100.0 + 0.5);
    delay.param2 = TruncateToInt32(static_cast<double>(level) * 255.0 + 0.5);
    return delay;
}

std::optional<TRixEffect> ReadVersion2Flange(nexilon::CVarReader& reader, const TRixVersion2Scale& scale)
{
    bool on = false;
    float ignored = 0;
    reader >> on >> ignored;
    const TRixEnvelope envelope = ReadVersion2Envelope(reader, RIXLEVELS_PLAIN, scale);
    if (!on)
        return std::nullopt;
    TRixEffect flange = TRixEffect::OfType(RIXEFFECT_FLANGE);
    flange.envelope1 = envelope;
    return flange;
}

void SkipVersion2Record10(nexilon::CVarReader& reader, const TRixVersion2Scale& scale)
{
    bool first = false;
    float second = 0;
    float third = 0;
    reader >> first >> second >> third;
    ReadVersion2Envelope(reader, RIXLEVELS_FACTOR, scale);
}

} // namespace rix
