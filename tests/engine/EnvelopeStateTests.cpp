#include <climits>

#include <gtest/gtest.h>

#include "RixArithmetic.h"
#include "RixEnvelopeState.h"

namespace {

using rix::TRixEnvelope;
using rix::TRixEnvelopeState;

TEST(SineApprox, RisesFromZeroThroughOnePeriodOf256Steps)
{
    const int32_t expected[] = {0, 56, 96, 120, 128, 120, 96, 56, 0, -56, -96, -120, -128, -120, -96, -56};
    for (int32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(rix::SineApprox(i * 16), expected[i]) << "v = " << i * 16;
        EXPECT_EQ(rix::SineApprox(i * 16 + 256 * 7), expected[i]) << "only the low 8 bits count";
        EXPECT_EQ(rix::SineApprox(i * 16 - 256), expected[i]) << "negative arguments wrap the same way";
    }
}

TEST(EnvelopeState, ValueSwingsBetweenMinimumAndMaximumOverOneCycle)
{
    TRixEnvelopeState envelope;
    envelope.parameters = {0, 256, 65, rix::RIXRESET_NOTE, 0, 0, 0, false, false};
    const std::pair<int32_t, int32_t> phases[] = {{0, 128}, {16384, 256}, {32768, 128}, {49152, 0}};
    for (const auto& [phase, value] : phases)
        EXPECT_EQ(envelope.EnvelopeValue(phase), value) << "phase " << phase;
    envelope.parameters.minValue = 100;
    envelope.parameters.maxValue = 200;
    EXPECT_EQ(envelope.EnvelopeValue(16384), 200);
    EXPECT_EQ(envelope.EnvelopeValue(49152), 100);
}

TEST(EnvelopeState, DefaultEnvelopeIsAConstant256)
{
    TRixEnvelopeState envelope;
    envelope.Restart();
    for (int step = 0; step < 5000; ++step) {
        envelope.Step();
        ASSERT_EQ(envelope.value, 256) << "step " << step;
    }
    EXPECT_EQ(envelope.counter, 0) << "held at keep 0";
}

TEST(EnvelopeState, ChannelEnvelopeHoldsAtSustainUntilReleasedThenFallsToZero)
{
    TRixEnvelopeState envelope;
    envelope.parameters = TRixEnvelope::ChannelDefault();
    envelope.Restart();
    EXPECT_EQ(envelope.value, 256);
    for (int step = 1; step < 127; ++step) {
        envelope.Step();
        ASSERT_GT(envelope.value, 224) << "step " << step;
    }
    envelope.Step();
    EXPECT_EQ(envelope.counter, 8192);
    EXPECT_EQ(envelope.value, 224);
    for (int step = 0; step < 1000; ++step)
        envelope.Step();
    EXPECT_EQ(envelope.value, 224) << "held while the note is held";

    envelope.Release();
    for (int step = 1; step < 379; ++step) {
        const int32_t before = envelope.value;
        envelope.Step();
        ASSERT_LT(envelope.counter, 32768) << "step " << step << " after the stop";
        ASSERT_LE(envelope.value, before) << "step " << step << " after the stop";
    }
    envelope.Step();
    EXPECT_EQ(envelope.counter, 32768) << "the keep point, 379 steps after the stop";
    EXPECT_EQ(envelope.value, 0);
    for (int step = 0; step < 1000; ++step)
        envelope.Step();
    EXPECT_EQ(envelope.value, 0);
}

TEST(EnvelopeState, PatternRestartRewindsWithoutEndingTheRelease)
{
    TRixEnvelopeState envelope;
    envelope.parameters = TRixEnvelope::ChannelDefault();
    envelope.Release();
    for (int step = 0; step < 200; ++step)
        envelope.Step();
    envelope.PatternRestart();
    EXPECT_EQ(envelope.counter, 0);
    EXPECT_EQ(envelope.value, 256);
    EXPECT_TRUE(envelope.released);
    for (int step = 0; step < 200; ++step)
        envelope.Step();
    EXPECT_GT(envelope.counter, 8192) << "a released envelope passes the sustain point";
    envelope.Restart();
    EXPECT_FALSE(envelope.released);
}

TEST(EnvelopeState, ExtremeMembersWrapInsteadOfOverflowing)
{
    TRixEnvelopeState envelope;
    envelope.parameters = {INT_MIN, INT_MAX, INT_MAX, rix::RIXRESET_SONG, INT_MAX, INT_MAX, INT_MIN, false, true};
    envelope.released = false;
    for (int step = 0; step < 10; ++step)
        envelope.Step();
    EXPECT_EQ(envelope.counter, INT_MIN) << "held at the sustain point";
    // min + ((s + 128) × (max - min)) / 256 with max - min wrapping to -1.
    EXPECT_EQ(envelope.EnvelopeValue(0), INT_MIN);
    envelope.Rederive(3);
    EXPECT_EQ(envelope.counter, static_cast<int32_t>(3u * static_cast<uint32_t>(INT_MAX)));
}

} // namespace
