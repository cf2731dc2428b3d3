#include "RixEffectState.h"

#include <algorithm>
#include <new>

#include "RixArithmetic.h"

namespace rix {

namespace {

// Entries of the low-pass, high-pass and band-pass histories.
constexpr uint32_t FILTER_HISTORY = 10;

// Unsigned 32-bit product, as the row length times hundredths of a row;
// then shortened so delay + 2 fits the history cap.
uint32_t DelayLength(const TRixEffect& record, uint32_t rowLength)
{
    return std::min(rowLength * static_cast<uint32_t>(record.param1) / 100, RIX_MAX_HISTORY - 2);
}

} // namespace

int32_t* CallocHistory(uint32_t entries)
{
    return static_cast<int32_t*>(std::calloc(entries, sizeof(int32_t)));
}

TRixEffectState::TRixEffectState(const TRixEffect& record, uint32_t rowLength, TRixHistoryAllocator allocate)
{
    Adopt(record, rowLength, allocate);
}

uint32_t TRixEffectState::HistoryLength(const TRixEffect& record, uint32_t rowLength)
{
    switch (record.type) {
    case RIXEFFECT_DELAY:
        return DelayLength(record, rowLength) + 2;
    case RIXEFFECT_FLANGE: {
        // The envelope's value is the delay in samples, so the history
        // reaches back to its maximum. A maximum below -1 keeps no history.
        const int64_t length = static_cast<int64_t>(record.envelope1.maxValue) + 2;
        return length <= 0 ? 0 : static_cast<uint32_t>(std::min<int64_t>(length, RIX_MAX_HISTORY));
    }
    case RIXEFFECT_LOWPASS:
    case RIXEFFECT_HIGHPASS:
    case RIXEFFECT_BANDPASS:
        return FILTER_HISTORY;
    default:
        return 0;
    }
}

void TRixEffectState::Update(const TRixEffect& record, uint32_t rowLength, TRixHistoryAllocator allocate)
{
    if (record != effect || rowLength != preparedRowLength)
        Adopt(record, rowLength, allocate);
}

void TRixEffectState::Adopt(const TRixEffect& record, uint32_t rowLength, TRixHistoryAllocator allocate)
{
    const uint32_t length = HistoryLength(record, rowLength);
    if (length != historyLength) {
        THistory in;
        THistory out;
        if (length > 0) {
            in.reset(allocate(length));
            out.reset(allocate(length));
            if (!in || !out)
                throw std::bad_alloc();
        }
        // Nothing below throws.
        historyIn = std::move(in);
        historyOut = std::move(out);
        historyLength = length;
        historyPosition = 0;
        historyWrapped = false;
    }
    effect = record;
    preparedRowLength = rowLength;
    Prepare();
}

void TRixEffectState::Prepare()
{
    // A history is emptied in place, and only as far as it was written
    // (positions run from 0 and only a wrap-around has touched them all):
    // seeks prepare every effect again, and a long echo need not be wiped
    // whole for that.
    const uint32_t used = historyWrapped ? historyLength : historyPosition;
    std::fill_n(historyIn.get(), used, 0);
    std::fill_n(historyOut.get(), used, 0);
    historyPosition = 0;
    historyWrapped = false;
    switch (effect.type) {
    case RIXEFFECT_DELAY:
        delayLength = DelayLength(effect, preparedRowLength);
        break;
    case RIXEFFECT_FLANGE:
        envelope1State.parameters = effect.envelope1;
        break;
    case RIXEFFECT_LOWPASS:
    case RIXEFFECT_HIGHPASS:
        envelope1State.parameters = effect.envelope1;
        coefficient = effect.param1;
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
        // Passes its input through; its envelopes still run, as for every
        // kind that has them.
        envelope1State.parameters = effect.envelope1;
        envelope2State.parameters = effect.envelope2;
        break;
    default:
        break;
    }
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
