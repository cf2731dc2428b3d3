#include "RixReplayRenderer.h"

#include <atomic>
#include <stdexcept>

namespace rix {

namespace {

std::atomic<bool> rendererExists{false};

} // namespace

CRixReplayRenderer::CRixReplayRenderer(const TRixSongTables& songTables)
    : tables(songTables)
{
    if (rendererExists.exchange(true))
        throw std::runtime_error("the replay routine is already playing another song");
    for (int c = 0; c < 8; ++c) {
        const auto narrow = [&](int32_t value) { return tables.wideChannels ? value : static_cast<uint8_t>(value); };
        channelVolume[c] = narrow(tables.channelVolume[c]);
        channelEnvelopeCounter[c] = narrow(tables.channelEnvelopeCounter[c]);
    }
    song = {tables.songLength,
            tables.rowLength,
            tables.masterVolume,
            tables.orderTable.data(),
            tables.patternData.data(),
            tables.patternLookup.data(),
            tables.envelopes.data(),
            tables.counters.data(),
            static_cast<int>(tables.counters.size()),
            tables.oscillators.data(),
            static_cast<int>(tables.oscillators.size()),
            tables.effects.data(),
            static_cast<int>(tables.effects.size()),
            channelVolume.data(),
            channelEnvelopeCounter.data(),
            tables.channelStopNote.data(),
            tables.exact};
    if (!RixReplayInit(song)) {
        rendererExists = false;
        throw std::runtime_error("the song has more oscillators, envelopes, effects or echo than the replay routine holds");
    }
}

CRixReplayRenderer::~CRixReplayRenderer()
{
    RixReplaySetChannelTap(nullptr);
    rendererExists = false;
}

void CRixReplayRenderer::Render(int16_t* out, uint32_t count, int32_t* channels)
{
    RixReplaySetChannelTap(channels);
    RixReplayRender(out, count);
    RixReplaySetChannelTap(nullptr);
}

uint64_t CRixReplayRenderer::SongSamples() const
{
    return static_cast<uint64_t>(tables.songLength) * 16u * static_cast<uint64_t>(tables.rowLength);
}

int32_t CRixReplayRenderer::Increment(int note, const TRixSongOscillator& oscillator) const
{
    return RixReplayIncrement(note, oscillator.octave, oscillator.fine, tables.exact);
}

} // namespace rix
