#include "SongChange.h"

#include <algorithm>

#include "RixModuleData.h"

namespace rix {

namespace {

template <class T, std::size_t N> bool Same(const T (&a)[N], const T (&b)[N])
{
    return std::equal(std::begin(a), std::end(a), std::begin(b));
}

} // namespace

TSongChange SongDifference(const CRixModuleData& before, const CRixModuleData& after)
{
    TSongChange change;
    const auto mark = [&change](uint32_t kind, int32_t channel) {
        change.data |= kind;
        change.channels |= 1u << channel;
    };
    for (int32_t c = 0; c < RIX_CHANNELS; ++c) {
        if (!Same(before.orderTable[c], after.orderTable[c]))
            mark(SONG_ORDER_TABLE, c);
        for (int32_t pattern = 0; pattern < RIX_PATTERNS; ++pattern)
            if (!Same(before.patterns[c][pattern], after.patterns[c][pattern]))
                mark(SONG_PATTERNS, c);
        const CRixModuleChannel& was = before.channels[c];
        const CRixModuleChannel& now = after.channels[c];
        if (was.volume != now.volume)
            mark(SONG_CHANNEL_VOLUME, c);
        if (was.oscillators != now.oscillators || was.transitionOscillators != now.transitionOscillators ||
            was.effects != now.effects || was.envelope != now.envelope)
            mark(SONG_INSTRUMENT, c);
    }
    if (before.masterVolume != after.masterVolume)
        change.data |= SONG_MASTER_VOLUME;
    if (before.bpm != after.bpm)
        change.data |= SONG_TEMPO;
    return change;
}

} // namespace rix
