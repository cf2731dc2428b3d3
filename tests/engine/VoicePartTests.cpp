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
    rix::TRixVoice voice;
    rix::TRixVoice untouched;
    for (rix::TRixVoice* v : {&voice, &untouched}) {
        v->Synchronise(channel, 5512, &FailingAllocator);
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
        EXPECT_THROW(voice.Synchronise(*change, 5512, &FailingAllocator), std::bad_alloc);
        failing = false;
        EXPECT_EQ(Render(voice, 4400), Render(untouched, 4400));
    }
    voice.Synchronise(grown, 5512, &FailingAllocator);
    EXPECT_EQ(voice.Envelopes().size(), 1u + 4 * 2 + 2 * 3);
}

} // namespace
