#include "SongSlice.h"

#include <algorithm>
#include <utility>

namespace rix {

namespace {

constexpr uint32_t kArrangementData = SONG_ORDER_TABLE | SONG_PATTERNS;
constexpr uint32_t kChannelData = SONG_INSTRUMENT | SONG_CHANNEL_VOLUME;

} // namespace

CSongSlice::CSongSlice() = default;
CSongSlice::~CSongSlice() = default;
CSongSlice::CSongSlice(CSongSlice&&) noexcept = default;
CSongSlice& CSongSlice::operator=(CSongSlice&&) noexcept = default;

CSongSlice CSongSlice::Take(const CRixModuleData& data, const TSongChange& change)
{
    CSongSlice slice;
    if (change.data & kArrangementData) {
        slice.arrangement = std::make_unique<TArrangement>();
        std::copy_n(&data.orderTable[0][0], RIX_CHANNELS * RIX_ORDER_POSITIONS, &slice.arrangement->orderTable[0][0]);
        std::copy_n(&data.patterns[0][0][0], RIX_CHANNELS * RIX_PATTERNS * RIX_ROWS,
                    &slice.arrangement->patterns[0][0][0]);
    }
    if (change.data & kChannelData)
        for (int32_t c = 0; c < RIX_CHANNELS; ++c)
            if (change.Names(kChannelData, c))
                slice.channels[static_cast<std::size_t>(c)] = data.channels[c];
    if (change.data & SONG_MASTER_VOLUME)
        slice.masterVolume = data.masterVolume;
    if (change.data & SONG_TEMPO)
        slice.bpm = data.bpm;
    return slice;
}

void CSongSlice::Exchange(CRixModuleData& data)
{
    if (arrangement) {
        std::swap_ranges(&data.orderTable[0][0], &data.orderTable[0][0] + RIX_CHANNELS * RIX_ORDER_POSITIONS,
                         &arrangement->orderTable[0][0]);
        std::swap_ranges(&data.patterns[0][0][0], &data.patterns[0][0][0] + RIX_CHANNELS * RIX_PATTERNS * RIX_ROWS,
                         &arrangement->patterns[0][0][0]);
    }
    for (int32_t c = 0; c < RIX_CHANNELS; ++c)
        if (auto& kept = channels[static_cast<std::size_t>(c)])
            std::swap(*kept, data.channels[c]);
    if (masterVolume)
        std::swap(*masterVolume, data.masterVolume);
    if (bpm)
        std::swap(*bpm, data.bpm);
}

bool CSongSlice::Covers(const CSongSlice& other) const
{
    if ((other.arrangement && !arrangement) || (other.masterVolume && !masterVolume) || (other.bpm && !bpm))
        return false;
    for (std::size_t c = 0; c < channels.size(); ++c)
        if (other.channels[c] && !channels[c])
            return false;
    return true;
}

int32_t CSongSlice::OnlyChannel() const
{
    if (arrangement || masterVolume || bpm)
        return -1;
    int32_t only = -1;
    for (int32_t c = 0; c < RIX_CHANNELS; ++c)
        if (channels[static_cast<std::size_t>(c)]) {
            if (only >= 0)
                return -1;
            only = c;
        }
    return only;
}

} // namespace rix
