#include "RixSongExporter.h"

#include <cmath>

namespace rix {

namespace {

// Floor division by a positive divisor, in 64 bits so that no pitch overflows.
int64_t FloorDiv(int64_t value, int64_t divisor)
{
    const int64_t quotient = value / divisor;
    return (value % divisor < 0) ? quotient - 1 : quotient;
}

std::array<int32_t, 9> ContentKey(const TRixEnvelope& envelope)
{
    return {envelope.minValue, envelope.maxValue, envelope.speed,
            envelope.resetMode, envelope.phase, envelope.keep,
            envelope.sustain, envelope.keepEnabled, envelope.sustainEnabled};
}

} // namespace

int32_t CRixSongExporter::InitialValue(const TRixEnvelope& envelope)
{
    // Counter 0 is never above keep unless keep is negative; the position then
    // starts keep units before the start phase. Everything wraps at 32 bits.
    uint32_t position = static_cast<uint32_t>(envelope.phase);
    if (envelope.keepEnabled && envelope.keep < 0)
        position += static_cast<uint32_t>(envelope.keep);
    const int32_t t = ((static_cast<int32_t>(position) >> 8) & 255) - 128;
    const int32_t s = (((t < 0 ? -t : t) * t) >> 5) - 4 * t + 128;
    const uint32_t range = static_cast<uint32_t>(envelope.maxValue) - static_cast<uint32_t>(envelope.minValue);
    const int32_t scaled = static_cast<int32_t>(static_cast<uint32_t>(s) * range) / 256;
    return static_cast<int32_t>(static_cast<uint32_t>(envelope.minValue) + static_cast<uint32_t>(scaled));
}

int32_t CRixSongExporter::PitchOctave(int32_t pitch)
{
    return static_cast<int32_t>(FloorDiv(pitch, 1200) + 8);
}

int32_t CRixSongExporter::PitchFine(int32_t pitch)
{
    const int64_t cents = pitch - 1200 * FloorDiv(pitch, 1200);
    // Both roundings to single precision belong to the result (600 cents: 106).
    const float exponent = static_cast<float>(cents) / 1200.0f;
    const float factor = static_cast<float>(std::pow(2.0, static_cast<double>(exponent)));
    return static_cast<int32_t>(256.0f * factor) - 256;
}

void CRixSongExporter::Export(const CRixModuleData& data, nexilon::IOutputStream& output)
{
    Write(Build(data), output);
}

TRixSongTables CRixSongExporter::Build(const CRixModuleData& data)
{
    *this = CRixSongExporter();
    moduleData = &data;
    songLength = data.GetSongLength();
    rowLength = data.GetRowLength();

    MarkUsedPatterns();
    MarkUsedEffectTypes();
    CollectEnvelopes();
    AssignCounters();

    TRixSongTables tables;
    tables.songLength = songLength;
    tables.rowLength = rowLength;
    tables.masterVolume = data.masterVolume;
    for (int type = 0; type < kExportedEffectTypes; ++type)
        tables.effectTypeUsed[type] = effectTypeUsed[type];
    BuildOrderTable(tables);
    BuildPatterns(tables);
    BuildEnvelopes(tables);
    BuildCounters(tables);
    BuildOscillators(tables);
    BuildEffects(tables);
    BuildChannels(tables);
    return tables;
}

void CRixSongExporter::MarkUsedPatterns()
{
    // An order entry above 15 plays nothing, so it marks nothing as used.
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        for (int position = 0; position < songLength; ++position) {
            const uint32_t p = moduleData->orderTable[c][position];
            if (p >= static_cast<uint32_t>(RIX_PATTERNS))
                continue;
            patternUsed[c][p] = true;
            if (p > 0)
                channelUsed[c] = true;
        }
    }
}

void CRixSongExporter::MarkUsedEffectTypes()
{
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        if (!channelUsed[c])
            continue;
        for (const TRixEffect& effect : moduleData->channels[c].effects) {
            if (effect.type >= 0 && effect.type < kExportedEffectTypes)
                effectTypeUsed[effect.type] = true;
        }
    }
}

void CRixSongExporter::CollectEnvelopes()
{
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        if (!channelUsed[c])
            continue;
        const CRixModuleChannel& channel = moduleData->channels[c];
        VisitEnvelope(channel.envelope, c);
        for (std::size_t i = 0; i < channel.oscillators.size(); ++i) {
            const TRixOscillator& oscillator = channel.oscillators[i];
            VisitEnvelope(oscillator.volumeEnvelope, c);
            VisitEnvelope(oscillator.transitionEnvelope, c);
            if (oscillator.transition && i < channel.transitionOscillators.size()) {
                VisitEnvelope(channel.transitionOscillators[i].volumeEnvelope, c);
                VisitEnvelope(channel.transitionOscillators[i].transitionEnvelope, c);
            }
        }
        for (const TRixEffect& effect : channel.effects) {
            switch (effect.type) {
            case RIXEFFECT_FLANGE:
            case RIXEFFECT_LOWPASS:
            case RIXEFFECT_HIGHPASS:
            case RIXEFFECT_OVERDRIVE:
                VisitEnvelope(effect.envelope1, c);
                break;
            case RIXEFFECT_RESONANCE:
                VisitEnvelope(effect.envelope1, c);
                VisitEnvelope(effect.envelope2, c);
                break;
            default:
                break;
            }
        }
    }
}

void CRixSongExporter::VisitEnvelope(const TRixEnvelope& envelope, int channel)
{
    visitedEnvelopes.push_back(&envelope);
    envelopeChannel[&envelope] = channel;
    if (IsConstant(envelope)) {
        shapeIndex[&envelope] = -1;
        return;
    }
    const auto [found, added] = shapeByContent.try_emplace(ContentKey(envelope), static_cast<int>(shapeList.size()));
    if (added)
        shapeList.push_back(&envelope);
    shapeIndex[&envelope] = found->second;
}

void CRixSongExporter::AssignCounters()
{
    // Each running envelope needs its own counter even where shapes are
    // shared; constants of one value all read the same counter.
    std::map<int32_t, int> constantCounter;
    for (const TRixEnvelope* envelope : visitedEnvelopes) {
        if (IsConstant(*envelope)) {
            const auto [found, added] =
                constantCounter.try_emplace(InitialValue(*envelope), static_cast<int>(counterList.size()));
            counterIndex[envelope] = found->second;
            if (!added)
                continue;
        } else {
            counterIndex[envelope] = static_cast<int>(counterList.size());
        }
        counterList.push_back(envelope);
    }
}

int CRixSongExporter::ShapeIndexOf(const TRixEnvelope& envelope) const
{
    const auto found = shapeIndex.find(&envelope);
    return found == shapeIndex.end() ? 0 : found->second;
}

int CRixSongExporter::CounterIndexOf(const TRixEnvelope& envelope) const
{
    const auto found = counterIndex.find(&envelope);
    return found == counterIndex.end() ? 0 : found->second;
}

int CRixSongExporter::ChannelOf(const TRixEnvelope& envelope) const
{
    const auto found = envelopeChannel.find(&envelope);
    return found == envelopeChannel.end() ? 0 : found->second;
}

} // namespace rix
