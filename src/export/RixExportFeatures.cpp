// The song features that the exported tables cannot carry, each named with
// its channel and place, for the export verification.

#include <algorithm>
#include <cstdio>
#include <string>

#include "RixExportVerifier.h"
#include "RixSongExporter.h"

namespace rix {

namespace {

// The editor's longest echo history (delay + 2 or flange maximum + 2).
constexpr int64_t kEditorHistoryLimit = 4194304;
// Envelopes a channel of the editor steps; later ones stand still.
constexpr std::size_t kEditorEnvelopesPerChannel = 256;

template <class... TArgs>
std::string Format(const char* format, TArgs... args)
{
    char text[160];
    std::snprintf(text, sizeof(text), format, args...);
    return text;
}

class CFeatureFinder {
public:
    CFeatureFinder(const CRixModuleData& data, std::vector<TRixExportFeature>& features)
        : data(data), features(features)
    {
    }

    void Channel(int c)
    {
        const CRixModuleChannel& channel = data.channels[c];
        if (channel.volume < 0 || channel.volume > 255)
            Add(c, "channel", Format("volume %d does not fit the byte table (0..255)", channel.volume));
        Patterns(c);
        Envelope(c, "channel envelope", channel.envelope);
        for (std::size_t i = 0; i < channel.oscillators.size(); ++i) {
            const TRixOscillator& carrier = channel.oscillators[i];
            const std::string place = Format("oscillator %d", static_cast<int>(i) + 1);
            Oscillator(c, place, carrier);
            const bool hasModulator = i < channel.transitionOscillators.size();
            if (!hasModulator && carrier.transition) {
                Add(c, "transition " + place, "missing from the file: the editor modulates with a default one");
            } else if (hasModulator && carrier.transition) {
                Oscillator(c, "transition " + place, channel.transitionOscillators[i]);
            } else if (hasModulator && channel.transitionOscillators[i].type == RIXOSC_NOISE) {
                Add(c, "transition " + place,
                    "noise without the transition flag: the editor draws random values for it that the tables "
                    "do not know, so other noise differs");
            }
        }
        for (std::size_t i = 0; i < channel.effects.size(); ++i)
            Effect(c, Format("effect %d", static_cast<int>(i) + 1), channel.effects[i]);
        const std::size_t envelopes = 1 + 4 * channel.oscillators.size() + 2 * channel.effects.size();
        if (envelopes > kEditorEnvelopesPerChannel)
            Add(c, "channel",
                Format("%d envelopes: the editor moves only the first 256", static_cast<int>(envelopes)));
    }

private:
    void Add(int channel, std::string place, std::string problem)
    {
        features.push_back({channel, std::move(place), std::move(problem)});
    }

    void Patterns(int c)
    {
        const int length = data.GetSongLength();
        bool used[RIX_PATTERNS] = {};
        for (int position = 0; position < length; ++position) {
            if (data.orderTable[c][position] < static_cast<uint32_t>(RIX_PATTERNS))
                used[data.orderTable[c][position]] = true;
        }
        for (int p = 0; p < RIX_PATTERNS; ++p) {
            if (!used[p])
                continue;
            for (int row = 0; row < RIX_ROWS; ++row) {
                const uint32_t v = data.patterns[c][p][row];
                const std::string place = Format("pattern %d, row %d", p, row);
                if (v == 0)
                    continue;
                if (p == 0)
                    Add(c, place, "pattern 0 holds notes, which the tables never play");
                else if (v == 1)
                    Add(c, place, "the lowest note (1) is the empty byte 0x00 in the tables");
                else if (v > 192 && v < 255)
                    Add(c, place, Format("note %u lies above octave 15 and does not fit a pattern byte", v));
                else if (v > 255)
                    Add(c, place, Format("value %u becomes a stop note in the tables", v));
            }
        }
    }

    void Oscillator(int c, const std::string& place, const TRixOscillator& oscillator)
    {
        if (oscillator.type < RIXOSC_SINE || oscillator.type > RIXOSC_NOISE)
            Add(c, place, Format("type %d has no form in the replay routine (silent in both)", oscillator.type));
        Envelope(c, place + " volume envelope", oscillator.volumeEnvelope);
        Envelope(c, place + " transition envelope", oscillator.transitionEnvelope);
    }

    void Effect(int c, const std::string& place, const TRixEffect& effect)
    {
        switch (effect.type) {
        case RIXEFFECT_DELAY: {
            const uint32_t length = static_cast<uint32_t>(data.GetRowLength()) * static_cast<uint32_t>(effect.param1) / 100u;
            if (length + int64_t{2} > kEditorHistoryLimit)
                Add(c, place, Format("delay of %u samples: the editor shortens it to its echo limit", length));
            break;
        }
        case RIXEFFECT_FLANGE:
            Envelope(c, place + " delay envelope", effect.envelope1);
            if (effect.envelope1.maxValue + int64_t{2} > kEditorHistoryLimit)
                Add(c, place, "the flange's largest delay exceeds the editor's echo limit");
            break;
        case RIXEFFECT_LOWPASS:
        case RIXEFFECT_HIGHPASS:
            Envelope(c, place + " envelope", effect.envelope1);
            break;
        case RIXEFFECT_RESONANCE:
            Envelope(c, place + " cutoff envelope", effect.envelope1);
            Envelope(c, place + " amount envelope", effect.envelope2);
            break;
        case RIXEFFECT_OVERDRIVE:
            Envelope(c, place + " volume envelope", effect.envelope1);
            // The tables hold gain × 32767 / limit, from which the gain
            // comes back exactly only for limits up to 32767 (258 × 127)
            // and products within 32 bits.
            if (effect.param1 < 0 || effect.param1 > 258 || effect.param2 < 0 || effect.param2 > 131076)
                Add(c, place,
                    Format("overdrive limit %d and volume %d: the volume cannot be recovered from the tables",
                           effect.param1, effect.param2));
            break;
        case RIXEFFECT_BANDPASS:
            Add(c, place, "band-pass has no form in the tables and is left out (it passes the signal unchanged)");
            break;
        default:
            Add(c, place, Format("effect type %d has no form in the tables and is left out", effect.type));
            break;
        }
    }

    void Envelope(int c, const std::string& place, const TRixEnvelope& envelope)
    {
        // A constant is written as its value; only its speed can matter.
        if (CRixSongExporter::IsConstant(envelope)) {
            if (!CRixSongExporter::IsExactConstant(envelope))
                Add(c, place, "a constant envelope (keep 0) that runs backwards or holds below 0 moves in the editor");
            return;
        }
        const auto offGrid = [](int32_t value) { return value % 2048 != 0 || value / 2048 == 255; };
        if (offGrid(envelope.phase))
            Add(c, place, Format("phase %d is not a multiple of 2048 (255 × 2048 excluded)", envelope.phase));
        if (envelope.keepEnabled && offGrid(envelope.keep))
            Add(c, place, Format("keep %d is not a multiple of 2048 (255 × 2048 excluded)", envelope.keep));
        if (envelope.sustainEnabled && offGrid(envelope.sustain))
            Add(c, place, Format("sustain %d is not a multiple of 2048 (255 × 2048 excluded)", envelope.sustain));
    }

    const CRixModuleData& data;
    std::vector<TRixExportFeature>& features;
};

} // namespace

std::vector<TRixExportFeature> CRixExportVerifier::FindFeatures(const CRixModuleData& data,
                                                                const TRixSongTables& tables)
{
    std::vector<TRixExportFeature> features;
    CFeatureFinder finder(data, features);
    const int length = data.GetSongLength();
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        bool played = false;
        for (int position = 0; position < length; ++position)
            played = played || (data.orderTable[c][position] > 0 && data.orderTable[c][position] < 16u);
        if (played)
            finder.Channel(c);
        // Unplayed or not, the byte table must hold it to compile.
        const int32_t volume = data.channels[c].volume;
        if (!played && (volume < 0 || volume > 255))
            features.push_back({c, "channel", Format("volume %d does not fit the byte table (0..255)", volume)});
        if (tables.channelEnvelopeCounter[c] > 255)
            features.push_back({c, "channel envelope",
                                Format("counter %d does not fit the byte table", tables.channelEnvelopeCounter[c])});
    }
    return features;
}

} // namespace rix

namespace rix {

std::vector<TRixExportFeature> CRixExportVerifier::FindExactFeatures(const CRixModuleData& data,
                                                                     const TRixSongTables& tables)
{
    std::vector<TRixExportFeature> features;
    const int length = data.GetSongLength();
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        bool played[RIX_PATTERNS] = {};
        for (int position = 0; position < length; ++position) {
            if (data.orderTable[c][position] < static_cast<uint32_t>(RIX_PATTERNS))
                played[data.orderTable[c][position]] = true;
        }
        bool zeroHasNotes = false;
        for (int p = 0; p < RIX_PATTERNS; ++p) {
            for (int row = 0; played[p] && row < RIX_ROWS; ++row) {
                const uint32_t v = data.patterns[c][p][row];
                zeroHasNotes = zeroHasNotes || (p == 0 && v != 0);
                if (v > 255)
                    features.push_back({c, Format("pattern %d, row %d", p, row),
                                        Format("value %u is no note: the editor restarts the oscillators without "
                                               "opening the gate, the tables leave it out",
                                               v)});
            }
        }
        // The order table's four bits per channel hold 15 patterns and silence.
        const bool allTaken = std::all_of(played + 1, played + RIX_PATTERNS, [](bool taken) { return taken; });
        if (zeroHasNotes && allTaken)
            features.push_back({c, "pattern 0", "holds notes while patterns 1..15 are all played: no number is "
                                                "left for it in the tables"});
    }
    (void)tables;
    return features;
}

} // namespace rix
