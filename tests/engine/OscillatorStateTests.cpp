#include <climits>

#include <gtest/gtest.h>

#include "RixNoiseGenerator.h"
#include "RixOscillatorState.h"

namespace {

using rix::TRixOscillatorState;

TEST(OscillatorState, NoteStepsFollowTheSinglePrecisionRoundings)
{
    struct Case {
        uint32_t note;
        int32_t pitch;
        int32_t increment;
    };
    const Case cases[] = {
        {58, 0, 653},  {46, 0, 326},  {70, 0, 1307}, {1, 0, 24},        {58, 50, 673},
        {58, -1200, 326}, {113, 0, 15675},
        // Steps too large for 32 bits behave like x86's conversion.
        {58, 1000000000, INT_MIN}, {0xFFFFFFFF, 0, INT_MIN}, {58, INT_MIN, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TRixOscillatorState::NoteIncrement(c.pitch, c.note), c.increment)
            << "note " << c.note << " pitch " << c.pitch;
}

TEST(OscillatorState, TransitionEnvelopeScalesThePhaseStep)
{
    TRixOscillatorState oscillator;
    oscillator.StartNote(58);
    EXPECT_EQ(oscillator.PhaseStep(), 653);
    oscillator.transitionEnvelope.value = 512;
    EXPECT_EQ(oscillator.PhaseStep(), 1306);
    oscillator.transitionEnvelope.value = 128;
    EXPECT_EQ(oscillator.PhaseStep(), 326);
}

TEST(OscillatorState, SilentUntilItsFirstNoteWhateverTheType)
{
    rix::TRixNoiseGenerator noise;
    for (int32_t type : {0, 1, 2, 3, 4, 12, -1}) {
        TRixOscillatorState oscillator;
        oscillator.type = type;
        oscillator.volume = 256;
        oscillator.phase = 12345;
        EXPECT_EQ(oscillator.Output(noise), 0) << "type " << type;
    }
    EXPECT_EQ(noise.state, 1u) << "a silent noise oscillator draws nothing";
}

TEST(OscillatorState, WaveformsAtFullScale)
{
    rix::TRixNoiseGenerator noise;
    TRixOscillatorState oscillator;
    oscillator.volume = 256;
    oscillator.StartNote(58);
    struct Case {
        int32_t type;
        uint32_t phase;
        int32_t output;
    };
    const Case cases[] = {
        {rix::RIXOSC_SQUARE, 0, -32768},     {rix::RIXOSC_SQUARE, 32767, -32768},
        {rix::RIXOSC_SQUARE, 32768, 32767},  {rix::RIXOSC_SQUARE, 65535 + 65536, 32767},
        {rix::RIXOSC_SAW, 0, -32768},        {rix::RIXOSC_SAW, 65535, 32767},
        {rix::RIXOSC_SINE, 0, 0},            {rix::RIXOSC_SINE, 16384, 32768},
        {rix::RIXOSC_SINE, 49152, -32768},   {5, 16384, 0},
    };
    for (const Case& c : cases) {
        oscillator.type = c.type;
        oscillator.phase = c.phase;
        EXPECT_EQ(oscillator.Output(noise), c.output) << "type " << c.type << " phase " << c.phase;
    }
    oscillator.volume = 100;
    oscillator.type = rix::RIXOSC_SQUARE;
    oscillator.phase = 0;
    EXPECT_EQ(oscillator.Output(noise), -12800) << "default volume is about 39 %";
}

TEST(OscillatorState, BlockOutputsMatchSingleSamplesAtAnyAmplitude)
{
    // Small amplitudes take a 16-bit path in blocks; the edges of that
    // range and beyond must give what one sample at a time gives.
    const int32_t volumes[] = {1, 100, 32767, 32768, -32767, -32768, -32769, 65535, 65536, 1 << 20, INT_MAX, INT_MIN};
    rix::TRixNoiseGenerator noise;
    for (int32_t type : {rix::RIXOSC_SINE, rix::RIXOSC_SAW, rix::RIXOSC_SQUARE}) {
        for (int32_t volume : volumes) {
            TRixOscillatorState oscillator;
            oscillator.type = type;
            oscillator.volume = volume;
            oscillator.StartNote(58);
            oscillator.phase = 0x1234;
            const uint32_t step = 1543;
            int32_t block[rix::RIX_MAX_BLOCK];
            for (int round = 0; round < 50; ++round) {
                oscillator.RenderFromPhase(step, block, false, rix::RIX_MAX_BLOCK, rix::TRixNoiseRun());
                for (uint32_t k = 0; k < rix::RIX_MAX_BLOCK; ++k) {
                    ASSERT_EQ(block[k], oscillator.Output(noise)) << "type " << type << " volume " << volume;
                    oscillator.phase += step;
                }
            }
        }
    }
}

TEST(OscillatorState, NoiseDrawsOneGeneratorValuePerSample)
{
    rix::TRixNoiseGenerator noise;
    rix::TRixNoiseGenerator expected;
    TRixOscillatorState oscillator;
    oscillator.type = rix::RIXOSC_NOISE;
    oscillator.volume = 256;
    oscillator.StartNote(58);
    for (int i = 0; i < 100; ++i) {
        const int32_t r = expected.Next();
        EXPECT_EQ(oscillator.Output(noise), ((r & 0xFF) - 128) * 256);
    }
}

TEST(NoiseGenerator, FirstValuesAndJumpsMatchSingleSteps)
{
    rix::TRixNoiseGenerator noise;
    EXPECT_EQ(noise.Next(), 41);
    EXPECT_EQ(noise.Next(), 18467);
    EXPECT_EQ(noise.Next(), 6334);
    for (uint32_t steps : {0u, 1u, 2u, 7u, 44u, 1000u, 65537u}) {
        rix::TRixNoiseGenerator stepped;
        for (uint32_t i = 0; i < steps; ++i)
            stepped.Next();
        EXPECT_EQ(rix::TRixNoiseGenerator::Jump(steps).Apply(1), stepped.state) << steps << " steps";
    }
    EXPECT_EQ(rix::TRixNoiseGenerator::Jump(0).Apply(99), 99u);
}

} // namespace
