#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "RixEffectState.h"

namespace {

using rix::TRixEffect;
using rix::TRixEffectState;

TRixEffectState Prepared(const TRixEffect& effect, uint32_t rowLength = 5512)
{
    TRixEffectState state;
    state.Update(effect, rowLength);
    return state;
}

std::vector<int32_t> Feed(TRixEffectState& state, const std::vector<int32_t>& input)
{
    std::vector<int32_t> output;
    for (int32_t x : input)
        output.push_back(state.Process(x));
    return output;
}

TEST(EffectState, DelayEchoesEveryRowAtHalfVolume)
{
    TRixEffect delay = TRixEffect::OfType(rix::RIXEFFECT_DELAY);
    delay.param1 = 100;
    TRixEffectState state = Prepared(delay);
    EXPECT_EQ(state.delayLength, 5512u);
    std::vector<int32_t> input(3 * 5512 + 1, 0);
    input[0] = 10000;
    const std::vector<int32_t> output = Feed(state, input);
    for (std::size_t k = 0; k < output.size(); ++k) {
        const int32_t expected = k == 0 ? 10000 : k == 5512 ? 5000 : k == 11024 ? 2500 : k == 16536 ? 1250 : 0;
        ASSERT_EQ(output[k], expected) << "sample " << k;
    }
}

TEST(EffectState, DelayOfZeroRowsEchoesTwoSamplesLater)
{
    TRixEffect delay = TRixEffect::OfType(rix::RIXEFFECT_DELAY);
    delay.param1 = 0;
    TRixEffectState state = Prepared(delay);
    EXPECT_EQ(state.historyLength, 2u);
    EXPECT_EQ(Feed(state, {10000, 0, 0, 0, 0}), (std::vector<int32_t>{10000, 0, 5000, 0, 2500}));
}

TEST(EffectState, FiltersFirstSamples)
{
    struct Case {
        const char* name;
        int32_t type;
        int32_t param1;
        std::vector<int32_t> input;
        std::vector<int32_t> output;
    };
    const Case cases[] = {
        {"low-pass open", rix::RIXEFFECT_LOWPASS, 255, {25600, 25600}, {25500, 25500}},
        {"low-pass shut", rix::RIXEFFECT_LOWPASS, 0, {25600, -9999, 32767}, {0, 0, 0}},
        {"high-pass", rix::RIXEFFECT_HIGHPASS, 100, {25600, 25600, 25600}, {20500, 12412, 7515}},
        {"high-pass negative", rix::RIXEFFECT_HIGHPASS, 100, {-256, -256, -256, -256}, {-205, -125, -76, -47}},
        {"resonance cutoff 0", rix::RIXEFFECT_RESONANCE, 0, {25600, -32768, 1000}, {0, 0, 0}},
        {"band-pass", rix::RIXEFFECT_BANDPASS, 100, {1, -2, 32767, INT_MIN}, {1, -2, 32767, INT_MIN}},
    };
    for (const Case& c : cases) {
        TRixEffect effect = TRixEffect::OfType(c.type);
        effect.param1 = c.param1;
        TRixEffectState state = Prepared(effect);
        state.envelope1State.value = 256;
        state.envelope2State.value = 256;
        EXPECT_EQ(Feed(state, c.input), c.output) << c.name;
    }
}

TEST(EffectState, HighPassOfANegativeConstantNeverReachesZero)
{
    // The floor shift makes -1 and -2 fixed points of y × 155 / 256, so the
    // tail of a negative step stops short of 0; a positive one reaches it.
    for (const auto& [input, tail] : {std::pair{-25600, -2}, std::pair{-1, -1}, std::pair{25600, 0}}) {
        TRixEffectState state = Prepared(TRixEffect::OfType(rix::RIXEFFECT_HIGHPASS));
        int32_t y = 0;
        for (int k = 0; k < 200; ++k)
            y = state.Process(input);
        EXPECT_EQ(y, tail) << "input " << input;
    }
}

TEST(EffectState, OverdriveWithLimitZeroClipsAtOne)
{
    TRixEffect overdrive = TRixEffect::OfType(rix::RIXEFFECT_OVERDRIVE);
    overdrive.param1 = 0;
    TRixEffectState state = Prepared(overdrive);
    EXPECT_EQ(state.overdriveLimit, 1);
    // Every positive input becomes 32767 × 100 / 256 (floor shifted).
    EXPECT_EQ(Feed(state, {1, 30000, 0, -5}), (std::vector<int32_t>{12799, 12799, 0, -12800}));
}

TEST(EffectState, FlangeWithoutRoomPassesItsInputThrough)
{
    TRixEffect flange = TRixEffect::OfType(rix::RIXEFFECT_FLANGE);
    flange.envelope1.maxValue = -2;
    TRixEffectState state = Prepared(flange);
    EXPECT_EQ(state.historyLength, 0u);
    EXPECT_EQ(Feed(state, {5, -7, 9}), (std::vector<int32_t>{5, -7, 9}));
}

TEST(EffectState, FlangeAddsTheInputOfEnvelopeValueSamplesAgo)
{
    TRixEffect flange = TRixEffect::OfType(rix::RIXEFFECT_FLANGE);
    TRixEffectState state = Prepared(flange);
    EXPECT_EQ(state.historyLength, 202u);
    state.envelope1State.value = 3;
    EXPECT_EQ(Feed(state, {100, 200, 300, 400, 500}), (std::vector<int32_t>{100, 200, 300, 500, 700}));
    state.envelope1State.value = -1000;  // outside 0..maxValue: the modulo keeps it in the buffer
    EXPECT_NO_FATAL_FAILURE(Feed(state, {1, 2, 3}));
}

TEST(EffectState, HistoriesNeverExceedTheCap)
{
    struct Case {
        int32_t type;
        int32_t param1;
        int32_t maxValue;
        uint32_t rowLength;
    };
    const Case cases[] = {
        {rix::RIXEFFECT_DELAY, INT_MAX, 256, 661499}, {rix::RIXEFFECT_DELAY, -1, 256, 5512},
        {rix::RIXEFFECT_DELAY, 63500, 256, 661499},   {rix::RIXEFFECT_FLANGE, 0, INT_MAX, 5512},
        {rix::RIXEFFECT_FLANGE, 0, INT_MAX - 1, 5512},
    };
    for (const Case& c : cases) {
        TRixEffect effect = TRixEffect::OfType(c.type);
        effect.param1 = c.param1;
        effect.envelope1.maxValue = c.maxValue;
        TRixEffectState state = Prepared(effect, c.rowLength);
        EXPECT_LE(state.historyLength, rix::RIX_MAX_HISTORY) << "type " << c.type << " param1 " << c.param1;
        Feed(state, {1, 2, 3});
    }
    TRixEffect delay = TRixEffect::OfType(rix::RIXEFFECT_DELAY);
    delay.param1 = 400;
    EXPECT_EQ(Prepared(delay, 11025).historyLength, 44102u) << "four rows at 60 BPM fit easily";
}

TEST(EffectState, OnlyAChangedRecordOrTempoEmptiesTheHistory)
{
    TRixEffect delay = TRixEffect::OfType(rix::RIXEFFECT_DELAY);
    delay.param1 = 0;
    TRixEffectState state = Prepared(delay);
    state.Process(10000);
    state.Update(delay, 5512);
    EXPECT_EQ(Feed(state, {0, 0}), (std::vector<int32_t>{0, 5000})) << "unchanged: the echo survives";
    state.Process(10000);
    delay.param2 = 64;
    state.Update(delay, 5512);
    EXPECT_EQ(Feed(state, {0, 0}), (std::vector<int32_t>{0, 0})) << "edited: the echo is gone";
    state.Process(10000);
    state.Update(delay, 5292);
    EXPECT_EQ(Feed(state, {0, 0}), (std::vector<int32_t>{0, 0})) << "new tempo: the echo is gone";
}

} // namespace
