// The table values of CRixSongExporter, built from the results of the
// preparation passes. Both the text and the replay routine read them.

#include "RixSongExporter.h"

#include <limits>

#include "RixEffectState.h"

namespace rix {

namespace {

// The replay routine restarts a pattern-timed envelope at order positions
// whose bits under the mask are all 0; 255 means the song never restarts it.
int32_t PatternResetMask(int32_t resetMode)
{
    switch (resetMode) {
    case RIXRESET_PATTERN:
        return 0;
    case RIXRESET_TWO_PATTERNS:
        return 1;
    case RIXRESET_FOUR_PATTERNS:
        return 3;
    default:
        return 255;
    }
}

// Unsigned 32-bit results are written with %d, i.e. as their signed bits.
int32_t AsSigned(uint32_t value)
{
    return static_cast<int32_t>(value);
}

} // namespace

void CRixSongExporter::BuildOrderTable(TRixSongTables& tables) const
{
    // Channel 1's pattern in the lowest four bits, channel 8's in the
    // highest. Entries above 15 play nothing and are 0.
    for (int position = 0; position < songLength; ++position) {
        uint32_t entry = 0;
        for (int c = RIX_CHANNELS - 1; c >= 0; --c)
            entry = (entry << 4) | OrderEntry(c, position);
        tables.orderTable.push_back(entry);
    }
}

void CRixSongExporter::BuildPatterns(TRixSongTables& tables) const
{
    int patternsBefore = 0;
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        int maxPattern = 0;
        for (int p = 1; p < RIX_PATTERNS; ++p) {
            if (patternUsed[c][p])
                maxPattern = p;
        }
        tables.patternLookup[c] = static_cast<uint8_t>(patternsBefore);
        patternsBefore += maxPattern;
        for (int p = 1; p <= maxPattern; ++p) {
            const int source = static_cast<uint32_t>(p) == zeroPatternSlot[c] ? 0 : p;
            for (int row = 0; row < RIX_ROWS; ++row) {
                const auto v = static_cast<int32_t>(moduleData->patterns[c][source][row]);
                // Plain: notes above octave 15 do not fit the byte and are
                // left out like empty rows. Exact: the byte is the note, and
                // values above 255 (no note) are left out.
                const bool empty = !patternUsed[c][p] || v == 0 || (!exactForm && v > 192 && v < 255) ||
                                   (exactForm && (v < 0 || v > 255));
                const bool stop = !empty && (v < 0 || v >= 255);
                uint8_t cell = 0;
                if (stop)
                    cell = 255;
                else if (!empty && exactForm)
                    cell = static_cast<uint8_t>(v);
                else if (!empty)
                    cell = static_cast<uint8_t>(((v - 1) / 12) << 4 | (v - 1) % 12);
                tables.patternData.push_back(cell);
                tables.patternIsNote.push_back(!empty && !stop);
            }
        }
    }
}

void CRixSongExporter::BuildEnvelopes(TRixSongTables& tables) const
{
    constexpr int32_t kNever = std::numeric_limits<int32_t>::max();
    for (const TRixEnvelope* envelope : shapeList) {
        if (exactForm) {
            // maxValue holds the span, as the routine multiplies by it.
            tables.envelopes.push_back({envelope->minValue,
                                        AsSigned(static_cast<uint32_t>(envelope->maxValue) -
                                                 static_cast<uint32_t>(envelope->minValue)),
                                        envelope->speed, envelope->phase,
                                        envelope->keepEnabled ? envelope->keep : kNever,
                                        envelope->sustainEnabled ? envelope->sustain : kNever,
                                        envelope->resetMode == RIXRESET_NOTE, PatternResetMask(envelope->resetMode)});
            continue;
        }
        tables.envelopes.push_back({envelope->minValue, envelope->maxValue, envelope->speed, envelope->phase / 2048,
                                    envelope->keepEnabled ? envelope->keep / 2048 : 255,
                                    envelope->sustainEnabled ? envelope->sustain / 2048 : 255,
                                    envelope->resetMode == RIXRESET_NOTE, PatternResetMask(envelope->resetMode)});
    }
}

void CRixSongExporter::BuildCounters(TRixSongTables& tables) const
{
    for (const TRixEnvelope* envelope : counterList) {
        tables.counters.push_back(
            {ShapeIndexOf(*envelope), Constant(*envelope) ? -1 : ChannelOf(*envelope),
             // The routine works a running envelope's value out itself; the
             // exact form writes 0, which packs better.
             exactForm && !Constant(*envelope) ? 0 : ValueOf(*envelope)});
    }
}

void CRixSongExporter::BuildOscillators(TRixSongTables& tables) const
{
    // Carriers of a channel first, then its transition oscillators, each
    // naming the carrier it modulates.
    // The exact form carries the pitch in cents, and also the noise
    // transition oscillators of carriers without the transition flag: the
    // player draws their values all the same. They get volume 0, so their
    // output moves nothing.
    const auto add = [&](const TRixOscillator& oscillator, int channel, int source, bool heard) {
        tables.oscillators.push_back({exactForm ? oscillator.pitch : PitchOctave(oscillator.pitch),
                                      exactForm ? 0 : PitchFine(oscillator.pitch), oscillator.type, channel, source,
                                      heard ? oscillator.volume : 0, CounterIndexOf(oscillator.volumeEnvelope),
                                      CounterIndexOf(oscillator.transitionEnvelope)});
    };
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        const CRixModuleChannel& channel = moduleData->channels[c];
        const int first = static_cast<int>(tables.oscillators.size());
        for (const TRixOscillator& oscillator : channel.oscillators)
            add(oscillator, c, -1, true);
        for (std::size_t i = 0; i < channel.oscillators.size(); ++i) {
            const TRixOscillator* modulator = TransitionOscillator(channel, i);
            const bool heard = channel.oscillators[i].transition;
            if (modulator && (heard || (exactForm && modulator->type == RIXOSC_NOISE)))
                add(*modulator, c, first + static_cast<int>(i), heard);
        }
    }
}

void CRixSongExporter::BuildEffects(TRixSongTables& tables) const
{
    const uint32_t rowSamples = static_cast<uint32_t>(rowLength);
    // Exact form: where each echo history starts in the routine's pool.
    int32_t historyOffset = 0;
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        if (!channelUsed[c])
            continue;
        for (const TRixEffect& effect : moduleData->channels[c].effects) {
            if (effect.type < 0 || effect.type >= kExportedEffectTypes)
                continue;
            const auto param1 = static_cast<uint32_t>(effect.param1);
            const auto param2 = static_cast<uint32_t>(effect.param2);
            // Exact: length is the history's length (0 without one).
            TRixSongEffect row = {0, 0, exactForm ? 0 : 1, c, effect.type, 0, 0};
            // The exact form takes the player's history lengths, with its
            // limits.
            const auto history = static_cast<int32_t>(TRixEffectState::HistoryLength(effect, rowSamples));
            switch (effect.type) {
            case RIXEFFECT_DELAY:
                row.param1 = effect.param2;
                row.length = exactForm ? history : AsSigned(rowSamples * param1 / 100u);
                row.param2 = exactForm ? historyOffset : 0;
                historyOffset += history;
                break;
            case RIXEFFECT_FLANGE:
                // The largest delay the envelope reaches, plus 1.
                row.length = exactForm ? history : AsSigned(static_cast<uint32_t>(effect.envelope1.maxValue) + 1u);
                row.param2 = exactForm ? historyOffset : 0;
                historyOffset += history;
                row.counter1 = CounterIndexOf(effect.envelope1);
                break;
            case RIXEFFECT_LOWPASS:
            case RIXEFFECT_HIGHPASS:
                row.param1 = effect.param1;
                row.counter1 = CounterIndexOf(effect.envelope1);
                break;
            case RIXEFFECT_RESONANCE:
                row.param1 = effect.param1;
                row.param2 = effect.param2;
                row.counter1 = CounterIndexOf(effect.envelope1);
                row.counter2 = CounterIndexOf(effect.envelope2);
                break;
            case RIXEFFECT_OVERDRIVE: {
                // A zero threshold divides by 1, as the player does.
                const uint32_t threshold = param1 * 127u;
                if (exactForm) {
                    // The gain and its envelope where a filter's coefficient
                    // is, and the limit the player divides by.
                    row.param1 = effect.param2;
                    row.param2 = AsSigned(threshold == 0 ? 1u : threshold);
                    row.counter1 = CounterIndexOf(effect.envelope1);
                    break;
                }
                row.param1 = AsSigned(threshold);
                row.param2 = AsSigned(param2 * 32767u / (threshold == 0 ? 1u : threshold));
                row.counter2 = CounterIndexOf(effect.envelope1);
                break;
            }
            default:
                break;
            }
            tables.effects.push_back(row);
        }
    }
}

void CRixSongExporter::BuildChannels(TRixSongTables& tables) const
{
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        const CRixModuleChannel& channel = moduleData->channels[c];
        tables.channelVolume[c] = channel.volume;
        tables.channelEnvelopeCounter[c] = CounterIndexOf(channel.envelope);
        tables.channelStopNote[c] = !channel.envelope.sustainEnabled;
        const bool fits = channel.volume >= 0 && channel.volume <= 255;
        tables.wideChannels = tables.wideChannels || (exactForm && (!fits || tables.channelEnvelopeCounter[c] > 255));
    }
}

} // namespace rix
