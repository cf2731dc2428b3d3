#include "RixEffectState.h"

#include <algorithm>
#include <new>

#include "RixArithmetic.h"

namespace rix {

namespace {

// Entries of the low-pass, high-pass and band-pass histories.
constexpr uint32_t FILTER_HISTORY = 10;

} // namespace

TRixEffectState::TRixEffectState()
{
    Prepare();
}

void TRixEffectState::Update(const TRixEffect& record, uint32_t rowLength)
{
    if (record == effect && rowLength == preparedRowLength)
        return;
    effect = record;
    preparedRowLength = rowLength;
    Prepare();
}

void TRixEffectState::Prepare()
{
    // Entries written since the history was last emptied: positions run
    // from 0 and only a wrap-around has touched them all.
    const uint32_t used = historyWrapped ? allocatedLength : std::min(historyPosition, allocatedLength);
    historyLength = 0;
    historyPosition = 0;
    switch (effect.type) {
    case RIXEFFECT_DELAY:
        // Unsigned 32-bit product, as the row length times hundredths of a
        // row; then shortened so delay + 2 fits the history cap.
        delayLength = preparedRowLength * static_cast<uint32_t>(effect.param1) / 100;
        delayLength = std::min(delayLength, RIX_MAX_HISTORY - 2);
        historyLength = delayLength + 2;
        break;
    case RIXEFFECT_FLANGE: {
        envelope1State.parameters = effect.envelope1;
        // The envelope's value is the delay in samples, so the history
        // reaches back to its maximum. A maximum below -1 keeps no history.
        const int64_t length = static_cast<int64_t>(effect.envelope1.maxValue) + 2;
        historyLength = length <= 0 ? 0 : static_cast<uint32_t>(std::min<int64_t>(length, RIX_MAX_HISTORY));
        break;
    }
    case RIXEFFECT_LOWPASS:
    case RIXEFFECT_HIGHPASS:
        envelope1State.parameters = effect.envelope1;
        coefficient = effect.param1;
        historyLength = FILTER_HISTORY;
        break;
    case RIXEFFECT_RESONANCE:
        envelope1State.parameters = effect.envelope1;
        envelope2State.parameters = effect.envelope2;
        resonanceCutoff = effect.param1;
        resonanceAmount = effect.param2;
        filterLow = 0;
        filterBand = 0;
        break;
    case RIXEFFECT_OVERDRIVE:
        overdriveLimit = WrapMul(effect.param1, 127);
        if (overdriveLimit == 0)
            overdriveLimit = 1;
        overdriveVolume = effect.param2;
        envelope1State.parameters = effect.envelope1;
        break;
    case RIXEFFECT_BANDPASS:
        envelope1State.parameters = effect.envelope1;
        envelope2State.parameters = effect.envelope2;
        bandPassFreq = effect.param1;
        bandPassWidth = effect.param2;
        historyLength = FILTER_HISTORY;
        bandPassState = 0;
        filterLow = 0;
        filterBand = 0;
        break;
    default:
        break;
    }
    ResizeHistory(historyLength, used);
    historyWrapped = false;
    prepared = true;
}

void TRixEffectState::ResizeHistory(uint32_t length, uint32_t used)
{
    // A history of the same size is emptied in place, and only as far as it
    // was written: seeks prepare every effect again, and a long echo need
    // not be reallocated or wiped whole for that.
    if (length == allocatedLength) {
        std::fill_n(historyIn.get(), used, 0);
        std::fill_n(historyOut.get(), used, 0);
        return;
    }
    historyIn.reset();
    historyOut.reset();
    allocatedLength = 0;
    if (length == 0)
        return;
    // calloc leaves the zeroing of a long history's pages to the system,
    // on first touch, instead of writing megabytes up front.
    historyIn.reset(static_cast<int32_t*>(std::calloc(length, sizeof(int32_t))));
    historyOut.reset(static_cast<int32_t*>(std::calloc(length, sizeof(int32_t))));
    if (!historyIn || !historyOut)
        throw std::bad_alloc();
    allocatedLength = length;
}

int32_t TRixEffectState::Process(int32_t x)
{
    ProcessBlock(&x, 1);
    return x;
}

void TRixEffectState::ProcessBlock(int32_t* samples, uint32_t count)
{
    switch (effect.type) {
    case RIXEFFECT_DELAY:
        ProcessDelay(samples, count);
        break;
    case RIXEFFECT_FLANGE:
        ProcessFlange(samples, count);
        break;
    case RIXEFFECT_LOWPASS:
        ProcessLowPass(samples, count);
        break;
    case RIXEFFECT_HIGHPASS:
        ProcessHighPass(samples, count);
        break;
    case RIXEFFECT_RESONANCE:
        ProcessResonance(samples, count);
        break;
    case RIXEFFECT_OVERDRIVE:
        ProcessOverdrive(samples, count);
        break;
    default:
        ProcessPassThrough(samples, count);
        break;
    }
}

void TRixEffectState::Remember(int32_t x, int32_t y)
{
    historyIn[historyPosition] = x;
    historyOut[historyPosition] = y;
    if (++historyPosition == historyLength) {
        historyPosition = 0;
        historyWrapped = true;
    }
}

void TRixEffectState::ProcessDelay(int32_t* samples, uint32_t count)
{
    // The echo is the output delayLength samples ago, so every repeat is
    // scaled by param2 / 256 again.
    uint32_t readPosition = (historyPosition - delayLength + historyLength) % historyLength;
    for (uint32_t k = 0; k < count; ++k) {
        const int32_t x = samples[k];
        const int32_t y = WrapAdd(x, ScaleFloor(historyOut[readPosition], effect.param2));
        if (++readPosition == historyLength)
            readPosition = 0;
        Remember(x, y);
        samples[k] = y;
    }
}

void TRixEffectState::ProcessFlange(int32_t* samples, uint32_t count)
{
    if (historyLength == 0)
        return;
    // The delay follows the envelope; a value outside 0..maxValue reads
    // wherever the unsigned modulo lands, still inside the buffer.
    const uint32_t delay = static_cast<uint32_t>(envelope1State.value);
    for (uint32_t k = 0; k < count; ++k) {
        const int32_t x = samples[k];
        const uint32_t readPosition = (historyPosition - delay + historyLength) % historyLength;
        const int32_t y = WrapAdd(x, historyIn[readPosition]);
        Remember(x, y);
        samples[k] = y;
    }
}

void TRixEffectState::ProcessLowPass(int32_t* samples, uint32_t count)
{
    const int32_t a = ScaleFloor(coefficient, envelope1State.value);
    const int32_t keepWeight = WrapSub(255, a);
    for (uint32_t k = 0; k < count; ++k) {
        const int32_t x = samples[k];
        const uint32_t previous = historyPosition == 0 ? historyLength - 1 : historyPosition - 1;
        const int32_t y = WrapAdd(DivTrunc256(WrapMul(keepWeight, historyOut[previous])), DivTrunc256(WrapMul(a, x)));
        Remember(x, y);
        samples[k] = y;
    }
}

void TRixEffectState::ProcessHighPass(int32_t* samples, uint32_t count)
{
    const int32_t a = ScaleFloor(coefficient, envelope1State.value);
    const int32_t passWeight = WrapSub(511, a) / 2;
    const int32_t keepWeight = WrapSub(255, a);
    for (uint32_t k = 0; k < count; ++k) {
        const int32_t x = samples[k];
        const uint32_t previous = historyPosition == 0 ? historyLength - 1 : historyPosition - 1;
        const int32_t change = WrapSub(x, historyIn[previous]);
        const int32_t y = WrapAdd(WrapMul(change, passWeight), WrapMul(keepWeight, historyOut[previous])) >> 8;
        Remember(x, y);
        samples[k] = y;
    }
}

void TRixEffectState::ProcessResonance(int32_t* samples, uint32_t count)
{
    const int32_t f = ScaleFloor(resonanceCutoff, envelope1State.value);
    const int32_t q = ScaleFloor(resonanceAmount, envelope2State.value);
    // A larger amount damps less, so the filter rings more.
    const int32_t damping = WrapSub(255, DivTrunc256(WrapMul(WrapSub(255, q), f)));
    int32_t low = filterLow;
    int32_t band = filterBand;
    for (uint32_t k = 0; k < count; ++k) {
        low = DivTrunc256(WrapAdd(WrapMul(WrapSub(samples[k], band), f), WrapMul(low, damping)));
        band = DivTrunc256(WrapAdd(WrapMul(band, damping), WrapMul(low, f)));
        samples[k] = band;
    }
    filterLow = low;
    filterBand = band;
}

void TRixEffectState::ProcessOverdrive(int32_t* samples, uint32_t count)
{
    // Clip to ±limit, stretch the clipped signal to full scale, then apply
    // the gain. A negative limit (from a file) clips to the limit first and
    // then to its negation, which decides every input either way.
    const int32_t limit = overdriveLimit;
    const int32_t negativeLimit = WrapNeg(limit);
    const int32_t gain = ScaleFloor(overdriveVolume, envelope1State.value);
    auto clip = [&](int32_t x) {
        if (x > limit)
            return limit;
        return x < negativeLimit ? negativeLimit : x;
    };
    // A double-precision quotient of two 32-bit integers truncates to the
    // exact integer quotient (its distance to the next integer, at least
    // 1 / |limit|, exceeds its rounding error), and unlike an integer
    // division it vectorizes. It always fits: a negative limit leaves only
    // ±limit after the clip, so INT_MIN / -1 cannot occur.
    const double divisor = limit;
    for (uint32_t k = 0; k < count; ++k) {
        const auto quotient = static_cast<int32_t>(static_cast<double>(WrapMul(clip(samples[k]), 32767)) / divisor);
        samples[k] = ScaleFloor(gain, quotient);
    }
}

void TRixEffectState::ProcessPassThrough(int32_t* samples, uint32_t count)
{
    if (historyLength == 0)
        return;
    for (uint32_t k = 0; k < count; ++k)
        Remember(samples[k], samples[k]);
}

} // namespace rix
