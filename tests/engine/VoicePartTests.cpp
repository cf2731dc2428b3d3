#include <climits>
#include <new>
#include <vector>

#include <gtest/gtest.h>

#include "RixEffectState.h"
#include "RixEnvelopeState.h"
#include "RixOscillatorState.h"
#include "RixVoice.h"

namespace {

using rix::TRixEffect;

TEST(EnvelopeState, ValuesOverOneCycleAndTheChannelEnvelope)
{
    rix::TRixEnvelopeState envelope;
    envelope.parameters = {0, 256, 65, rix::RIXRESET_NOTE, 0, 0, 0, false, false};
    for (const auto& [phase, value] : {std::pair{0, 128}, {16384, 256}, {32768, 128}, {49152, 0}})
        EXPECT_EQ(envelope.EnvelopeValue(phase), value) << "phase " << phase;

    envelope.parameters = rix::TRixEnvelope::ChannelDefault();
    envelope.Restart();
    EXPECT_EQ(envelope.value, 256);
    // The value falls step by step until the counter is held, at the
    // sustain point (8192) and after the release at the keep point.
    for (const auto& [steps, counter, value] : {std::tuple{127, 8192, 224}, {379, 32768, 0}}) {
        for (int step = 1; step <= steps + 1000; ++step) {
            const int32_t before = envelope.value;
            envelope.Step();
            ASSERT_LE(envelope.value, before) << "step " << step;
            ASSERT_EQ(envelope.counter == counter, step >= steps) << "step " << step;
        }
        EXPECT_EQ(envelope.value, value);
        envelope.Release();
    }
}

TEST(OscillatorState, NoteStepsFollowTheSinglePrecisionRoundings)
{
    const std::tuple<uint32_t, int32_t, int32_t> cases[] = {
        {58, 0, 653}, {46, 0, 326}, {70, 0, 1307}, {1, 0, 24}, {58, 50, 673}, {58, -1200, 326}, {113, 0, 15675},
        // Steps too large for 32 bits convert like x86's cvttss2si.
        {58, 1000000000, INT_MIN}, {0xFFFFFFFF, 0, INT_MIN}, {58, INT_MIN, 0}};
    for (const auto& [note, pitch, increment] : cases)
        EXPECT_EQ(rix::TRixOscillatorState::NoteIncrement(pitch, note), increment) << "note " << note << " pitch " << pitch;
}

// Amplitudes below 32768 take a 16-bit path in blocks; its edges and beyond
// must give what one sample at a time gives.
TEST(OscillatorState, BlocksMatchSingleSamplesAtAnyAmplitude)
{
    rix::TRixNoiseGenerator noise;
    rix::TRixOscillatorState oscillator;
    oscillator.StartNote(58);
    for (int32_t type : {rix::RIXOSC_SINE, rix::RIXOSC_SAW, rix::RIXOSC_SQUARE}) {
        for (int32_t volume : {1, 100, 32767, 32768, -32767, -32768, -32769, 65535, 65536, 1 << 20, INT_MAX, INT_MIN}) {
            oscillator.type = type;
            oscillator.volume = volume;
            int32_t block[rix::RIX_MAX_BLOCK];
            for (int round = 0; round < 50; ++round) {
                oscillator.RenderFromPhase(1543, block, false, rix::RIX_MAX_BLOCK, rix::TRixNoiseRun());
                for (int32_t sample : block) {
                    ASSERT_EQ(sample, oscillator.Output(noise)) << "type " << type << " volume " << volume;
                    oscillator.phase += 1543;
                }
            }
        }
    }
}

TRixEffect Effect(int32_t type, int32_t param1, int32_t maxValue = 200)
{
    TRixEffect effect = TRixEffect::OfType(type);
    effect.param1 = param1;
    effect.envelope1.maxValue = maxValue;
    return effect;
}

TEST(EffectState, DelayEchoesEveryRowAtHalfVolume)
{
    rix::TRixEffectState state(Effect(rix::RIXEFFECT_DELAY, 100), 5512);
    for (int k = 0; k <= 3 * 5512; ++k) {
        const int32_t expected = k == 0 ? 10000 : k == 5512 ? 5000 : k == 11024 ? 2500 : k == 16536 ? 1250 : 0;
        ASSERT_EQ(state.Process(k == 0 ? 10000 : 0), expected) << "sample " << k;
    }
}

TEST(EffectState, FirstSamplesOfEachKind)
{
    struct Case {
        const char* name;
        TRixEffect effect;
        int32_t envelopeValue;
        std::vector<int32_t> input, output;
    };
    const Case cases[] = {
        {"delay of 0 rows", Effect(rix::RIXEFFECT_DELAY, 0), 256, {10000, 0, 0, 0, 0}, {10000, 0, 5000, 0, 2500}},
        {"low-pass open", Effect(rix::RIXEFFECT_LOWPASS, 255), 256, {25600, 25600}, {25500, 25500}},
        {"high-pass", Effect(rix::RIXEFFECT_HIGHPASS, 100), 256, {25600, 25600, 25600}, {20500, 12412, 7515}},
        {"resonance cutoff 0", Effect(rix::RIXEFFECT_RESONANCE, 0), 256, {25600, -32768, 1000}, {0, 0, 0}},
        {"band-pass", Effect(rix::RIXEFFECT_BANDPASS, 100), 256, {1, -2, 32767, INT_MIN}, {1, -2, 32767, INT_MIN}},
        // Limit 0 counts as 1: any positive input becomes 32767 × 100 / 256.
        {"overdrive limit 0", Effect(rix::RIXEFFECT_OVERDRIVE, 0), 256, {1, 30000, 0, -5}, {12799, 12799, 0, -12800}},
        {"flange 3 back", Effect(rix::RIXEFFECT_FLANGE, 0), 3, {100, 200, 300, 400, 500}, {100, 200, 300, 500, 700}},
        // Outside 0..maxValue the modulo of the history length (202) applies.
        {"flange -200", Effect(rix::RIXEFFECT_FLANGE, 0), -200, {100, 200, 300, 400}, {100, 200, 400, 600}},
        {"flange without room", Effect(rix::RIXEFFECT_FLANGE, 0, -2), 3, {5, -7, 9}, {5, -7, 9}},
    };
    for (const Case& c : cases) {
        rix::TRixEffectState state(c.effect, 5512);
        state.envelope1State.value = state.envelope2State.value = c.envelopeValue;
        std::vector<int32_t> output;
        for (int32_t x : c.input)
            output.push_back(state.Process(x));
        EXPECT_EQ(output, c.output) << c.name;
    }
}

TEST(EffectState, HistoriesNeverExceedTheCap)
{
    const std::tuple<TRixEffect, uint32_t, uint32_t> cases[] = {
        {Effect(rix::RIXEFFECT_DELAY, INT_MAX), 661499, rix::RIX_MAX_HISTORY},
        {Effect(rix::RIXEFFECT_DELAY, -1), 5512, rix::RIX_MAX_HISTORY},
        {Effect(rix::RIXEFFECT_DELAY, 400), 11025, 44102},
        {Effect(rix::RIXEFFECT_FLANGE, 0, INT_MAX), 5512, rix::RIX_MAX_HISTORY},
        {Effect(rix::RIXEFFECT_FLANGE, 0, INT_MAX - 1), 5512, rix::RIX_MAX_HISTORY}};
    for (const auto& [effect, rowLength, historyLength] : cases)
        EXPECT_EQ(rix::TRixEffectState::HistoryLength(effect, rowLength), historyLength)
            << "type " << effect.type << " param1 " << effect.param1;
}

// Fails every allocation while `failing` is set, as a full memory would.
bool failing = false;
int32_t* FailingAllocator(uint32_t entries)
{
    return failing ? nullptr : rix::CallocHistory(entries);
}

// Renders `samples` samples with envelope steps in between, as the player does.
std::vector<int32_t> Render(rix::TRixVoice& voice, uint32_t samples)
{
    std::vector<int32_t> output(samples);
    rix::TRixNoiseGenerator noise;
    for (uint32_t done = 0; done < samples; done += rix::RIX_MAX_BLOCK) {
        voice.RenderBlock(output.data() + done, false, rix::RIX_MAX_BLOCK, rix::TRixNoiseRun());
        voice.Advance(noise);
        for (rix::TRixEnvelopeState* envelope : voice.Envelopes())
            envelope->Step();
    }
    return output;
}

// An allocation that fails while the song is edited must leave the voice
// playing the instrument it had: no history freed before the failure, no
// envelope list pointing into discarded states.
TEST(Voice, KeepsPlayingItsInstrumentWhenAnEditRunsOutOfMemory)
{
    rix::CRixModuleChannel channel;
    channel.effects = {Effect(rix::RIXEFFECT_DELAY, 50), Effect(rix::RIXEFFECT_FLANGE, 0, 300)};
    channel.effects[1].envelope1 = {0, 300, 900, rix::RIXRESET_SONG, 0, 0, 0, false, false};
    rix::TRixVoice voice(&FailingAllocator);
    rix::TRixVoice untouched;
    for (rix::TRixVoice* v : {&voice, &untouched}) {
        v->Synchronise(channel, 5512);
        v->NoteOn(58);
        for (rix::TRixEnvelopeState* envelope : v->Envelopes())
            envelope->Restart();
    }
    EXPECT_EQ(Render(voice, 2200), Render(untouched, 2200));

    rix::CRixModuleChannel edited = channel;
    edited.effects[1].envelope1.maxValue = 5000;
    rix::CRixModuleChannel grown = channel;
    grown.effects.push_back(Effect(rix::RIXEFFECT_LOWPASS, 100));
    grown.AddOscillator();
    for (const rix::CRixModuleChannel* change : {&edited, &grown}) {
        failing = true;
        EXPECT_THROW(voice.Synchronise(*change, 5512), std::bad_alloc);
        failing = false;
        EXPECT_EQ(Render(voice, 4400), Render(untouched, 4400));
    }
    voice.Synchronise(grown, 5512);
    EXPECT_EQ(voice.Envelopes().size(), 1u + 4 * 2 + 2 * 3);
}

} // namespace
