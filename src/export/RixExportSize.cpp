#include "RixExportSize.h"

#include <lzma.h>

#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "RixSongExporter.h"

namespace rix {

namespace {

void AppendInts(std::string& bytes, std::initializer_list<int32_t> values)
{
    for (const int32_t value : values) {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<char>(bits >> shift));
    }
}

} // namespace

std::vector<std::string> SongTableSegments(const TRixSongTables& tables)
{
    // Field by field, so padding is 0 as in a compiled table: a bool
    // followed by an int takes 4 bytes.
    std::vector<std::string> segments(16);
    for (const uint32_t entry : tables.orderTable)
        AppendInts(segments[0], {static_cast<int32_t>(entry)});
    std::size_t cell = 0;
    for (int c = 0; c < 8; ++c) {
        const std::size_t end = cell + 16u * static_cast<std::size_t>(tables.PatternCount(c));
        segments[1 + c].assign(tables.patternData.begin() + static_cast<std::ptrdiff_t>(cell),
                               tables.patternData.begin() + static_cast<std::ptrdiff_t>(end));
        cell = end;
    }
    segments[9].assign(tables.patternLookup.begin(), tables.patternLookup.end());
    for (const TRixSongEnvelope& e : tables.envelopes)
        AppendInts(segments[10], {e.minValue, e.maxValue, e.speed, e.phase, e.keep, e.sustain, e.resetOnNote,
                                  e.patternResetMask});
    for (const TRixSongEnvelopeCounter& c : tables.counters)
        AppendInts(segments[11], {c.shape, c.channel, c.value});
    for (const TRixSongOscillator& o : tables.oscillators)
        AppendInts(segments[12], {o.octave, o.fine, o.type, o.channel, o.source, o.volume, o.volumeCounter,
                                  o.transitionCounter});
    for (const TRixSongEffect& e : tables.effects)
        AppendInts(segments[13], {e.param1, e.param2, e.length, e.channel, e.type, e.counter1, e.counter2});
    for (const auto* table : {&tables.channelVolume, &tables.channelEnvelopeCounter}) {
        for (const int32_t value : *table) {
            if (tables.wideChannels)
                AppendInts(segments[14], {value});
            else
                segments[14].push_back(static_cast<char>(value));
        }
    }
    for (int c = 0; c < 8; ++c)
        segments[15].push_back(static_cast<char>(tables.channelStopNote[c]));
    return segments;
}

std::string SongTableBytes(const TRixSongTables& tables)
{
    std::string bytes;
    for (const std::string& segment : SongTableSegments(tables))
        bytes += segment;
    return bytes;
}

uint32_t PackedSize(const std::string& bytes)
{
    lzma_options_lzma options;
    if (lzma_lzma_preset(&options, 9 | LZMA_PRESET_EXTREME))
        throw std::runtime_error("liblzma has no preset 9");
    // A dictionary as large as the data compresses the same as the preset's
    // 64 MiB one and spares allocating that after every edit.
    options.dict_size = LZMA_DICT_SIZE_MIN;
    while (options.dict_size < bytes.size())
        options.dict_size *= 2;
    const lzma_filter filters[] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    std::vector<uint8_t> packed(bytes.size() + bytes.size() / 2 + 4096);
    size_t packedSize = 0;
    const lzma_ret result = lzma_raw_buffer_encode(filters, nullptr, reinterpret_cast<const uint8_t*>(bytes.data()),
                                                   bytes.size(), packed.data(), &packedSize, packed.size());
    if (result != LZMA_OK)
        throw std::runtime_error("liblzma could not compress the song tables");
    return static_cast<uint32_t>(packedSize);
}

TExportSize MeasureExportSize(const TRixSongTables& tables)
{
    const std::string bytes = SongTableBytes(tables);
    return {static_cast<uint32_t>(bytes.size()), PackedSize(bytes)};
}

TExportSize MeasureExportSize(const CRixModuleData& data, bool exact)
{
    return MeasureExportSize(CRixSongExporter().Build(data, exact));
}

} // namespace rix
