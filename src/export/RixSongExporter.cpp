#include "RixSongExporter.h"

#include <cmath>
#include <algorithm>
#include <set>

#include "RixExportVerifier.h"
#include "RixOscillatorState.h"
#include "RixReplay.h"
#include "RixVoice.h"

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

bool CRixSongExporter::PlainPitchesExact(const CRixModuleData& data)
{
    const int length = data.GetSongLength();
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        std::set<uint32_t> notes;
        for (int position = 0; position < length; ++position) {
            const uint32_t pattern = data.orderTable[c][position];
            for (int row = 0; pattern < RIX_PATTERNS && row < RIX_ROWS; ++row) {
                const uint32_t v = data.patterns[c][pattern][row];
                if (v >= 1 && v < RIX_NOTE_STOP)
                    notes.insert(v);
            }
        }
        const CRixModuleChannel& channel = data.channels[c];
        const auto exact = [&](const TRixOscillator& oscillator) {
            // Pitch 0 is the plain form's own step for notes 2..192; the
            // others are named as features of their own.
            if (oscillator.pitch == 0)
                return true;
            for (const uint32_t note : notes) {
                if (RixReplayIncrement(static_cast<int>(note), PitchOctave(oscillator.pitch),
                                       PitchFine(oscillator.pitch), false) !=
                    TRixOscillatorState::NoteIncrement(oscillator.pitch, note))
                    return false;
            }
            return true;
        };
        for (std::size_t i = 0; i < channel.oscillators.size(); ++i) {
            if (!exact(channel.oscillators[i]))
                return false;
            if (channel.oscillators[i].transition && i < channel.transitionOscillators.size() &&
                !exact(channel.transitionOscillators[i]))
                return false;
        }
    }
    return true;
}

void CRixSongExporter::Export(const CRixModuleData& data, nexilon::IOutputStream& output, bool exact)
{
    Write(Build(data, exact), output);
}

TRixSongTables CRixSongExporter::Build(const CRixModuleData& data, bool exact)
{
    TRixSongTables plain = BuildForm(data, false);
    if (!exact || (CRixExportVerifier::FindFeatures(data, plain).empty() && PlainPitchesExact(data)))
        return plain;
    return BuildForm(data, true);
}

TRixSongTables CRixSongExporter::BuildForm(const CRixModuleData& data, bool exact)
{
    *this = CRixSongExporter();
    moduleData = &data;
    exactForm = exact;
    songLength = data.GetSongLength();
    rowLength = data.GetRowLength();

    MarkUsedPatterns();
    MarkUsedEffectTypes();
    CollectEnvelopes();
    AssignCounters();

    TRixSongTables tables;
    tables.exact = exact;
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

uint32_t CRixSongExporter::OrderEntry(int channel, int position) const
{
    const uint32_t p = moduleData->orderTable[channel][position];
    if (p >= static_cast<uint32_t>(RIX_PATTERNS))
        return 0;
    return p == 0 ? zeroPatternSlot[channel] : p;
}

void CRixSongExporter::MarkUsedPatterns()
{
    // An order entry above 15 plays nothing, so it marks nothing as used.
    // The player plays pattern 0 like any other; the plain tables never do,
    // the exact ones move it to the lowest number the channel leaves free.
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        bool taken[RIX_PATTERNS] = {};
        bool zeroPlayed = false;
        for (int position = 0; position < songLength; ++position) {
            const uint32_t p = moduleData->orderTable[c][position];
            if (p < static_cast<uint32_t>(RIX_PATTERNS))
                taken[p] = true;
            zeroPlayed = zeroPlayed || p == 0;
        }
        const uint32_t* zero = moduleData->patterns[c][0];
        if (exactForm && zeroPlayed && std::any_of(zero, zero + RIX_ROWS, [](uint32_t v) { return v != 0; })) {
            for (uint32_t p = 1; p < static_cast<uint32_t>(RIX_PATTERNS) && zeroPatternSlot[c] == 0; ++p)
                zeroPatternSlot[c] = taken[p] ? 0 : p;
        }
        for (int position = 0; position < songLength; ++position) {
            const uint32_t p = OrderEntry(c, position);
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
        VisitEnvelope(channel.envelope, c, 0);
        const std::size_t count = channel.oscillators.size();
        for (std::size_t i = 0; i < count; ++i) {
            const TRixOscillator& oscillator = channel.oscillators[i];
            VisitEnvelope(oscillator.volumeEnvelope, c, 1 + 4 * i);
            VisitEnvelope(oscillator.transitionEnvelope, c, 2 + 4 * i);
            const TRixOscillator* modulator = TransitionOscillator(channel, i);
            if (oscillator.transition && modulator) {
                VisitEnvelope(modulator->volumeEnvelope, c, 3 + 4 * i);
                VisitEnvelope(modulator->transitionEnvelope, c, 4 + 4 * i);
            }
        }
        for (std::size_t j = 0; j < channel.effects.size(); ++j) {
            const TRixEffect& effect = channel.effects[j];
            const std::size_t place = 1 + 4 * count + 2 * j;
            switch (effect.type) {
            case RIXEFFECT_FLANGE:
            case RIXEFFECT_LOWPASS:
            case RIXEFFECT_HIGHPASS:
            case RIXEFFECT_OVERDRIVE:
                VisitEnvelope(effect.envelope1, c, place);
                break;
            case RIXEFFECT_RESONANCE:
                VisitEnvelope(effect.envelope1, c, place);
                VisitEnvelope(effect.envelope2, c, place + 1);
                break;
            default:
                break;
            }
        }
    }
}

const TRixOscillator* CRixSongExporter::TransitionOscillator(const CRixModuleChannel& channel, std::size_t index) const
{
    // The player gives a carrier without a partner (a file's shorter list)
    // a default one; the plain tables leave it out.
    static const TRixOscillator missing;
    if (index < channel.transitionOscillators.size())
        return &channel.transitionOscillators[index];
    return exactForm ? &missing : nullptr;
}

bool CRixSongExporter::Constant(const TRixEnvelope& envelope) const
{
    if (!exactForm)
        return IsConstant(envelope);
    return frozen.contains(&envelope) || IsExactConstant(envelope);
}

int32_t CRixSongExporter::ValueOf(const TRixEnvelope& envelope) const
{
    return frozen.contains(&envelope) ? RIX_UNITY : InitialValue(envelope);
}

void CRixSongExporter::VisitEnvelope(const TRixEnvelope& envelope, int channel, std::size_t listIndex)
{
    visitedEnvelopes.push_back(&envelope);
    envelopeChannel[&envelope] = channel;
    // The player moves the first 256 envelopes of a channel; the others keep
    // the value 256 they start with.
    if (exactForm && listIndex >= RIX_MAX_VOICE_ENVELOPES)
        frozen[&envelope] = true;
    if (Constant(envelope)) {
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
        if (Constant(*envelope)) {
            const auto [found, added] =
                constantCounter.try_emplace(ValueOf(*envelope), static_cast<int>(counterList.size()));
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
