#include "RixOscillatorState.h"

#include <cmath>

#include "RixArithmetic.h"

namespace rix {

namespace {

int32_t SineWave(uint32_t phase)
{
    return SineApprox(static_cast<int32_t>(phase >> 8)) * 256;
}

// SineApprox(phase >> 8) in 16-bit arithmetic, which vector units multiply
// natively: |x| × x stays within ±16384.
int16_t SineApprox16(uint32_t phase)
{
    const auto x = static_cast<int16_t>(static_cast<int16_t>((phase >> 8) & 0xFF) - 128);
    const auto magnitude = static_cast<int16_t>(x < 0 ? -x : x);
    return static_cast<int16_t>((static_cast<int16_t>(magnitude * x) >> 5) - 4 * x);
}

int32_t SawWave(uint32_t phase)
{
    return static_cast<int32_t>(phase & 0xFFFF) - 32768;
}

int32_t SquareWave(uint32_t phase)
{
    return (phase & 0xFFFF) <= 32767 ? -32768 : 32767;
}

int32_t NoiseWave(int32_t randomValue)
{
    return ((randomValue & 0xFF) - 128) * 256;
}

} // namespace

void TRixOscillatorState::SetParameters(const TRixOscillator& oscillator)
{
    type = oscillator.type;
    volume = oscillator.volume;
    pitch = oscillator.pitch;
    volumeEnvelope.parameters = oscillator.volumeEnvelope;
    transitionEnvelope.parameters = oscillator.transitionEnvelope;
    transition = oscillator.transition;
}

void TRixOscillatorState::StartNote(uint32_t note)
{
    phase = 0;
    increment = NoteIncrement(pitch, note);
}

int32_t TRixOscillatorState::NoteIncrement(int32_t pitch, uint32_t note)
{
    // The exponent in double precision with the cent factor 0.01 rounded to
    // single precision, then every further result rounded to single
    // precision: these roundings decide the last unit of the step.
    const double centFactor = static_cast<double>(0.01f);
    const float exponent = ToSingle((pitch * centFactor + static_cast<double>(note) - 58.0) / 12.0);
    const float ratio = ToSingle(std::pow(2.0, static_cast<double>(exponent)));
    const float frequency = ToSingle(static_cast<double>(ratio) * 440.0);
    return TruncateToInt32(static_cast<double>(frequency) / 44100.0 * 65536.0);
}

int32_t TRixOscillatorState::PhaseStep() const
{
    return ScaleFloor(transitionEnvelope.value, increment);
}

int32_t TRixOscillatorState::Output(TRixNoiseGenerator& noise) const
{
    if (increment == 0)
        return 0;
    const int32_t amplitude = ScaleFloor(volumeEnvelope.value, volume);
    switch (type) {
    case RIXOSC_SINE:
        return ScaleFloor(amplitude, SineWave(phase));
    case RIXOSC_SAW:
        return ScaleFloor(amplitude, SawWave(phase));
    case RIXOSC_SQUARE:
        return ScaleFloor(amplitude, SquareWave(phase));
    case RIXOSC_NOISE:
        return ScaleFloor(amplitude, NoiseWave(noise.Next()));
    default:
        return 0;
    }
}

void TRixOscillatorState::RenderAtPhases(const uint32_t* phases, int32_t* out, bool accumulate, uint32_t count,
                                         const TRixNoiseRun& run) const
{
    auto nextPhase = [phases, k = 0u]() mutable { return phases[k++]; };
    if (accumulate)
        RenderOutputs<true>(nextPhase, out, count, run);
    else
        RenderOutputs<false>(nextPhase, out, count, run);
}

void TRixOscillatorState::RenderFromPhase(uint32_t step, int32_t* out, bool accumulate, uint32_t count,
                                          const TRixNoiseRun& run) const
{
    // A running sum rather than phase + k × step: vector units add 32-bit
    // lanes natively but (without SSE4.1) cannot multiply them.
    auto nextPhase = [current = phase, step]() mutable {
        const uint32_t at = current;
        current += step;
        return at;
    };
    if (accumulate)
        RenderOutputs<true>(nextPhase, out, count, run);
    else
        RenderOutputs<false>(nextPhase, out, count, run);
}

template <bool accumulate, class TNextPhase>
void TRixOscillatorState::RenderOutputs(TNextPhase nextPhase, int32_t* out, uint32_t count, const TRixNoiseRun& run) const
{
    // Sums are kept as uint32_t so that they wrap like the 32-bit original.
    auto emit = [out](uint32_t k, int32_t value) {
        if constexpr (accumulate)
            out[k] = static_cast<int32_t>(static_cast<uint32_t>(out[k]) + static_cast<uint32_t>(value));
        else
            out[k] = value;
    };
    const bool silent = increment == 0 || type < RIXOSC_SINE || type > RIXOSC_NOISE;
    if (silent) {
        if constexpr (!accumulate)
            for (uint32_t k = 0; k < count; ++k)
                out[k] = 0;
        return;
    }
    const int32_t amplitude = ScaleFloor(volumeEnvelope.value, volume);
    // With |amplitude| < 32768 no product can wrap, so sine and saw reduce
    // to 16 × 16-bit multiplies that vector units do natively: the sine's
    // (a × s × 256) >> 8 is exactly a × s, the saw's a × w fits in 31 bits.
    const bool small = amplitude > -32768 && amplitude < 32768;
    const auto amplitude16 = static_cast<int16_t>(amplitude);
    switch (type) {
    case RIXOSC_SINE:
        if (small)
            for (uint32_t k = 0; k < count; ++k)
                emit(k, amplitude16 * SineApprox16(nextPhase()));
        else
            for (uint32_t k = 0; k < count; ++k)
                emit(k, ScaleFloor(amplitude, SineWave(nextPhase())));
        break;
    case RIXOSC_SAW:
        if (small)
            for (uint32_t k = 0; k < count; ++k)
                emit(k, (amplitude16 * static_cast<int16_t>(SawWave(nextPhase()))) >> 8);
        else
            for (uint32_t k = 0; k < count; ++k)
                emit(k, ScaleFloor(amplitude, SawWave(nextPhase())));
        break;
    case RIXOSC_SQUARE: {
        const int32_t low = ScaleFloor(amplitude, -32768);
        const int32_t high = ScaleFloor(amplitude, 32767);
        for (uint32_t k = 0; k < count; ++k)
            emit(k, (nextPhase() & 0xFFFF) <= 32767 ? low : high);
        break;
    }
    default: {
        uint32_t state = TRixNoiseGenerator::Jump(static_cast<uint32_t>(noiseSlot) + 1).Apply(run.startState);
        for (uint32_t k = 0; k < count; ++k) {
            emit(k, ScaleFloor(amplitude, NoiseWave(TRixNoiseGenerator::ValueOf(state))));
            state = run.perSample.Apply(state);
        }
        break;
    }
    }
}

} // namespace rix
