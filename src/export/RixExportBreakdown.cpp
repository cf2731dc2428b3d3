#include "RixExportBreakdown.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "RixSongExporter.h"

namespace rix {

namespace {

// The replay routine's code and constants, built for 32-bit x86 as the
// size target measures it (-Os, SSE2), raw and packed on its own, per form:
// without effects, with all six, and what each kind adds alone (replay_bench
// prints the same figures). Kinds share code (the effect loop, the echo
// pool), so a set of them is estimated by sharing out the six's cost in
// proportion to what each adds alone.
struct TCodeSize {
    uint32_t raw;
    uint32_t packed;
};
struct TFormCode {
    TCodeSize none;
    TCodeSize all;
    TCodeSize alone[TRixSongTables::kEffectTypes];
};
constexpr TFormCode kPlainCode{
    {1765, 1353}, {2443, 1857}, {{241, 192}, {247, 202}, {92, 72}, {107, 94}, {149, 111}, {162, 115}}};
constexpr TFormCode kExactCode{
    {1582, 1189}, {2104, 1582}, {{155, 126}, {161, 138}, {94, 71}, {109, 96}, {153, 119}, {86, 61}}};

constexpr const char* kEffectNames[TRixSongTables::kEffectTypes] = {"Delay",     "Flange",   "Low-pass",
                                                                   "High-pass", "Resonance", "Overdrive"};

template <class... TArgs>
std::string Format(const char* format, TArgs... args)
{
    char text[200];
    std::snprintf(text, sizeof(text), format, args...);
    return text;
}

// Pattern numbers (1..15) of a channel played at a position of the song.
void PatternsPlayed(const CRixModuleData& data, int channel, bool (&played)[RIX_PATTERNS])
{
    const int length = data.GetSongLength();
    for (int position = 0; position < length; ++position) {
        if (data.orderTable[channel][position] < static_cast<uint32_t>(RIX_PATTERNS))
            played[data.orderTable[channel][position]] = true;
    }
}

void PatternHints(const CRixModuleData& data, const TRixSongTables& tables, std::vector<TRixSizeHint>& hints)
{
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        bool played[RIX_PATTERNS] = {};
        PatternsPlayed(data, c, played);
        std::string gaps;
        uint32_t gapCount = 0;
        for (int p = 1; p <= tables.PatternCount(c) && p < RIX_PATTERNS; ++p) {
            if (!played[p]) {
                gaps += (gaps.empty() ? "" : ", ") + std::to_string(p);
                ++gapCount;
            }
        }
        if (gapCount > 0)
            hints.push_back({Format("Channel %d: pattern %s not played but written as 16 empty bytes below a higher "
                                    "one; renumbering the patterns saves them",
                                    c + 1, gaps.c_str()),
                             16 * gapCount});
        for (int p = 1; p < RIX_PATTERNS; ++p) {
            for (int q = p + 1; q < RIX_PATTERNS && played[p]; ++q) {
                if (played[q] && std::equal(data.patterns[c][p], data.patterns[c][p] + RIX_ROWS, data.patterns[c][q])) {
                    hints.push_back({Format("Channel %d: patterns %d and %d are identical; playing %d in place of %d "
                                            "saves a pattern",
                                            c + 1, p, q, p, q),
                                     16});
                    break;
                }
            }
        }
    }
}

// Rows of the tables that belong to a channel, in bytes.
uint32_t ChannelRowBytes(const TRixSongTables& tables, int channel)
{
    uint32_t bytes = 0;
    for (const TRixSongOscillator& o : tables.oscillators)
        bytes += o.channel == channel ? sizeof(TRixSongOscillator) : 0;
    for (const TRixSongEffect& e : tables.effects)
        bytes += e.channel == channel ? sizeof(TRixSongEffect) : 0;
    for (const TRixSongEnvelopeCounter& counter : tables.counters)
        bytes += counter.channel == channel ? sizeof(TRixSongEnvelopeCounter) : 0;
    return bytes;
}

void InstrumentHints(const CRixModuleData& data, const TRixSongTables& tables, std::vector<TRixSizeHint>& hints)
{
    bool used[RIX_CHANNELS] = {};
    for (const uint32_t entry : tables.orderTable) {
        for (int c = 0; c < RIX_CHANNELS; ++c)
            used[c] = used[c] || ((entry >> (4 * c)) & 15u) != 0;
    }
    for (int b = 1; b < RIX_CHANNELS; ++b) {
        for (int a = 0; a < b && used[b]; ++a) {
            if (used[a] && data.channels[a] == data.channels[b]) {
                hints.push_back({Format("Channels %d and %d play identical instruments; moving the notes of channel %d "
                                        "onto channel %d saves its oscillators, envelopes and effects",
                                        a + 1, b + 1, b + 1, a + 1),
                                 ChannelRowBytes(tables, b)});
                break;
            }
        }
    }
    int count[TRixSongTables::kEffectTypes] = {};
    int channelOf[TRixSongTables::kEffectTypes] = {};
    for (const TRixSongEffect& e : tables.effects) {
        ++count[e.type];
        channelOf[e.type] = e.channel;
    }
    for (int type = 0; type < TRixSongTables::kEffectTypes; ++type) {
        if (count[type] != 1)
            continue;
        const TCodeSize code = (tables.exact ? kExactCode : kPlainCode).alone[type];
        hints.push_back({Format("One %s effect (channel %d): without it the routine leaves out its code (about %u "
                                "bytes, %u packed) and the effect's row",
                                kEffectNames[type], channelOf[type] + 1, code.raw, code.packed),
                         code.raw + static_cast<uint32_t>(sizeof(TRixSongEffect))});
    }
}

} // namespace

TRixSizePart RoutineCodeSize(const TRixSongTables& tables)
{
    const TFormCode& form = tables.exact ? kExactCode : kPlainCode;
    TCodeSize used{0, 0};
    TCodeSize every{0, 0};
    for (int type = 0; type < TRixSongTables::kEffectTypes; ++type) {
        every.raw += form.alone[type].raw;
        every.packed += form.alone[type].packed;
        if (tables.effectTypeUsed[type]) {
            used.raw += form.alone[type].raw;
            used.packed += form.alone[type].packed;
        }
    }
    const auto share = [](uint32_t none, uint32_t all, uint32_t part, uint32_t whole) {
        return none + (all - none) * part / whole;
    };
    return {"replay routine", share(form.none.raw, form.all.raw, used.raw, every.raw),
            static_cast<int32_t>(share(form.none.packed, form.all.packed, used.packed, every.packed))};
}

TRixExportBreakdown BreakDownExportSize(const CRixModuleData& data, bool exact)
{
    const TRixSongTables tables = CRixSongExporter().Build(data, exact);
    const std::vector<std::string> segments = SongTableSegments(tables);
    // Segment k of SongTableSegments belongs to part kPartOf[k].
    static constexpr int kPartOf[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 9, 10, 11, 12, 12};
    TRixExportBreakdown breakdown;
    breakdown.parts.resize(13);
    breakdown.parts[0].name = "order table";
    for (int c = 0; c < RIX_CHANNELS; ++c)
        breakdown.parts[1 + c].name = "patterns, channel " + std::to_string(c + 1);
    breakdown.parts[9].name = "envelopes";
    breakdown.parts[10].name = "oscillators";
    breakdown.parts[11].name = "effects";
    breakdown.parts[12].name = "channel settings";
    // Each segment's packed share: what it adds to the packed prefix of the
    // file, so the shares add up to the packed whole.
    std::string prefix;
    int64_t packedBefore = 0;
    int lastPart = 0;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        TRixSizePart& part = breakdown.parts[kPartOf[k]];
        part.rawBytes += static_cast<uint32_t>(segments[k].size());
        if (segments[k].empty())
            continue;
        prefix += segments[k];
        const int64_t packed = PackedSize(prefix);
        part.packedBytes += static_cast<int32_t>(packed - packedBefore);
        packedBefore = packed;
        lastPart = kPartOf[k];
    }
    breakdown.total = {static_cast<uint32_t>(prefix.size()), PackedSize(prefix)};
    // An empty file still packs into a few bytes of stream.
    breakdown.parts[lastPart].packedBytes += static_cast<int32_t>(breakdown.total.compressedBytes - packedBefore);
    breakdown.code = RoutineCodeSize(tables);
    PatternHints(data, tables, breakdown.hints);
    InstrumentHints(data, tables, breakdown.hints);
    return breakdown;
}

} // namespace rix
