#include "RixSongEvents.h"

namespace rix {

std::vector<TRixNoteEvent> SongNoteEvents(const CRixModuleData& data)
{
    std::vector<TRixNoteEvent> events;
    const int length = data.GetSongLength();
    // 32-bit sample positions, as the player counts them.
    const auto rowLength = static_cast<uint32_t>(data.GetRowLength());
    for (int order = 0; order < length; ++order) {
        for (int row = 0; row < RIX_ROWS; ++row) {
            for (int c = 0; c < RIX_CHANNELS; ++c) {
                const uint32_t pattern = data.orderTable[c][order];
                if (pattern >= static_cast<uint32_t>(RIX_PATTERNS))
                    continue;
                const uint32_t note = data.patterns[c][pattern][row];
                if (note == RIX_NOTE_EMPTY || note > RIX_NOTE_STOP)
                    continue;
                const auto absoluteRow = static_cast<uint32_t>(order * RIX_ROWS + row);
                events.push_back({absoluteRow * rowLength, order, row, c, note});
            }
        }
    }
    return events;
}

std::vector<int> PlayingChannels(const CRixModuleData& data)
{
    bool plays[RIX_CHANNELS] = {};
    for (const TRixNoteEvent& event : SongNoteEvents(data))
        plays[event.channel] = plays[event.channel] || event.note != RIX_NOTE_STOP;
    std::vector<int> channels;
    for (int c = 0; c < RIX_CHANNELS; ++c) {
        if (plays[c])
            channels.push_back(c);
    }
    return channels;
}

std::string StemFileName(const CRixModuleData& data, int channel)
{
    static const char* const kWaveforms[] = {"sine", "saw", "square", "noise"};
    std::string name = "channel-" + std::to_string(channel + 1);
    for (const TRixOscillator& oscillator : data.channels[channel].oscillators) {
        const bool known = oscillator.type >= RIXOSC_SINE && oscillator.type <= RIXOSC_NOISE;
        name += std::string("-") + (known ? kWaveforms[oscillator.type] : "silent");
    }
    return name + ".wav";
}

} // namespace rix
