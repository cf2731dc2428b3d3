#include "RixVoice.h"

#include <algorithm>

#include "RixArithmetic.h"
#include "RixConstants.h"

namespace rix {

TRixVoice::TRixVoice()
{
    Reset();
}

void TRixVoice::Reset()
{
    outputRing.Clear();
    volume = 100;
    carriers.clear();
    modulators.clear();
    envelope = TRixEnvelopeState();
    gate = false;
    effects.clear();
    enabled.store(true, std::memory_order_relaxed);
    noiseOscillators = 0;
    envelopeCount = CollectEnvelopes(envelopes);
}

void TRixVoice::Synchronise(const CRixModuleChannel& channel, uint32_t rowLength, TRixHistoryAllocator allocate)
{
    // New lists are built aside and swapped in, with the envelope list
    // collected again at once, so an allocation failure leaves the voice as
    // it was and the envelope list never points into freed states.
    const std::size_t count = channel.oscillators.size();
    const bool newOscillators = count != carriers.size();
    const bool newEffects = channel.effects.size() != effects.size();
    std::vector<TRixOscillatorState> freshCarriers;
    std::vector<TRixOscillatorState> freshModulators;
    std::vector<TRixEffectState> freshEffects;
    if (newOscillators) {
        freshCarriers.resize(count);
        freshModulators.resize(count);
    }
    if (newEffects) {
        freshEffects.reserve(channel.effects.size());
        for (const TRixEffect& record : channel.effects)
            freshEffects.emplace_back(record, rowLength, allocate);
    }
    if (newOscillators) {
        carriers.swap(freshCarriers);
        modulators.swap(freshModulators);
    }
    if (newEffects)
        effects.swap(freshEffects);
    envelopeCount = CollectEnvelopes(envelopes);

    volume = channel.volume;
    // The model keeps both lists equally long; a file that did not would
    // find default transition oscillators here.
    const TRixOscillator missing;
    noiseOscillators = 0;
    for (std::size_t i = 0; i < count; ++i) {
        carriers[i].SetParameters(channel.oscillators[i]);
        modulators[i].SetParameters(i < channel.transitionOscillators.size() ? channel.transitionOscillators[i]
                                                                              : missing);
        noiseOscillators += (carriers[i].type == RIXOSC_NOISE) + (modulators[i].type == RIXOSC_NOISE);
    }
    envelope.parameters = channel.envelope;
    // Each update either succeeds or leaves its effect as it was; after a
    // failure the player synchronises again at its next operation.
    for (std::size_t i = 0; i < effects.size(); ++i)
        effects[i].Update(channel.effects[i], rowLength, allocate);
}

void TRixVoice::NoteOn(uint32_t note)
{
    if (note < RIX_NOTE_STOP)
        gate = true;
    else if (note == RIX_NOTE_STOP && !envelope.parameters.sustainEnabled)
        gate = false;
    // A stop note leaves phases and steps alone: the oscillators run on
    // behind the closed gate. Values above 255 from a file start a note
    // without opening the gate.
    if (note == RIX_NOTE_STOP)
        return;
    for (TRixOscillatorState& carrier : carriers)
        carrier.StartNote(note);
    for (TRixOscillatorState& modulator : modulators)
        modulator.StartNote(note);
}

uint32_t TRixVoice::CollectEnvelopes(std::array<TRixEnvelopeState*, RIX_MAX_VOICE_ENVELOPES>& list)
{
    uint32_t count = 0;
    auto add = [&](TRixEnvelopeState& state) {
        if (count < list.size())
            list[count++] = &state;
    };
    add(envelope);
    for (std::size_t i = 0; i < carriers.size() && count < list.size(); ++i) {
        add(carriers[i].volumeEnvelope);
        add(carriers[i].transitionEnvelope);
        add(modulators[i].volumeEnvelope);
        add(modulators[i].transitionEnvelope);
    }
    for (std::size_t i = 0; i < effects.size() && count < list.size(); ++i) {
        add(effects[i].envelope1State);
        add(effects[i].envelope2State);
    }
    return count;
}

void TRixVoice::AssignCarrierNoise(uint32_t& nextSlot)
{
    if (noiseOscillators == 0)
        return;
    for (TRixOscillatorState& carrier : carriers)
        carrier.noiseSlot = gate && carrier.DrawsNoise() ? static_cast<int32_t>(nextSlot++) : -1;
}

void TRixVoice::AssignModulatorNoise(uint32_t& nextSlot)
{
    if (noiseOscillators == 0)
        return;
    for (TRixOscillatorState& modulator : modulators)
        modulator.noiseSlot = modulator.DrawsNoise() ? static_cast<int32_t>(nextSlot++) : -1;
}

void TRixVoice::RenderBlock(int32_t* mix, bool addToMix, uint32_t count, const TRixNoiseRun& noise)
{
    int32_t scratch[RIX_MAX_BLOCK];
    int32_t* x = outputRing.Reserve(count, scratch);
    bool summed = false;
    uint32_t phases[RIX_MAX_BLOCK];
    int32_t modulation[RIX_MAX_BLOCK];
    // The phases move between samples only: count - 1 times in the block.
    const uint32_t advances = count - 1;
    for (std::size_t i = 0; i < carriers.size(); ++i) {
        TRixOscillatorState& carrier = carriers[i];
        TRixOscillatorState& modulator = modulators[i];
        // Only carriers are modulated.
        const auto modulatorStep = static_cast<uint32_t>(modulator.PhaseStep());
        const uint32_t carrierStep = static_cast<uint32_t>(carrier.PhaseStep());
        if (carrier.transition && advances > 0) {
            // The modulator's output at each sample moves the carrier's
            // phase before the next one.
            modulator.RenderFromPhase(modulatorStep, modulation, false, advances, noise);
            for (uint32_t k = 0; k < advances; ++k)
                modulation[k] >>= 3;
            carrier.fmOffset = modulation[advances - 1];
            phases[0] = carrier.phase;
            for (uint32_t k = 1; k < count; ++k)
                phases[k] = phases[k - 1] + carrierStep + static_cast<uint32_t>(modulation[k - 1]);
            if (gate)
                carrier.RenderAtPhases(phases, x, summed, count, noise);
            carrier.phase = phases[advances];
        } else {
            if (gate)
                carrier.RenderFromPhase(carrierStep, x, summed, count, noise);
            carrier.phase += advances * carrierStep;
        }
        modulator.phase += advances * modulatorStep;
        summed = summed || gate;
    }
    if (!summed) {
        std::fill_n(x, count, 0);
    } else {
        const auto gain = static_cast<int32_t>(
            (static_cast<uint32_t>(envelope.value) * static_cast<uint32_t>(volume)) >> 8);
        for (uint32_t k = 0; k < count; ++k)
            x[k] = ScaleFloor(x[k], gain);
    }
    // Effects run behind a closed gate too, so echoes and filters ring out.
    for (TRixEffectState& effect : effects)
        effect.ProcessBlock(x, count);
    outputRing.Commit(x, count);
    outputRing.Advance(advances);
    const int32_t audible = IsEnabled() ? -1 : 0;
    if (addToMix)
        for (uint32_t k = 0; k < count; ++k)
            mix[k] = WrapAdd(mix[k], x[k] & audible);
    else
        for (uint32_t k = 0; k < count; ++k)
            mix[k] = x[k] & audible;
}

void TRixVoice::Advance(TRixNoiseGenerator& noise)
{
    for (std::size_t i = 0; i < carriers.size(); ++i) {
        TRixOscillatorState& carrier = carriers[i];
        TRixOscillatorState& modulator = modulators[i];
        // The transition oscillator's output is only heard through a
        // modulated carrier, but a noise one draws its value regardless.
        if (carrier.transition || modulator.DrawsNoise())
            carrier.fmOffset = modulator.Output(noise) >> 3;
        modulator.phase += static_cast<uint32_t>(modulator.PhaseStep());
        carrier.phase += static_cast<uint32_t>(WrapAdd(carrier.PhaseStep(), carrier.transition ? carrier.fmOffset : 0));
    }
    outputRing.Advance(1);
}

void TRixVoice::PrepareEffects()
{
    for (TRixEffectState& effect : effects)
        effect.Prepare();
}

} // namespace rix
