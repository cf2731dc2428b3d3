#include "RixModuleData.h"

#include <algorithm>
#include <cstring>

namespace rix {

void CRixModuleData::Reset()
{
    masterVolume = RIX_DEFAULT_VOLUME;
    bpm = RIX_DEFAULT_BPM;
    std::memset(orderTable, 0, sizeof orderTable);
    std::memset(patterns, 0, sizeof patterns);
    for (int channel = 0; channel < RIX_CHANNELS; ++channel)
        ResetChannel(channel);
}

void CRixModuleData::ResetChannel(int channel)
{
    if (channel >= 0 && channel < RIX_CHANNELS)
        channels[channel].Reset();
}

int CRixModuleData::GetSongLength() const
{
    int length = 0;
    for (int channel = 0; channel < RIX_CHANNELS; ++channel)
        for (int position = RIX_ORDER_POSITIONS - 1; position >= length; --position)
            if (orderTable[channel][position] != 0) {
                length = position + 1;
                break;
            }
    return length;
}

void CRixModuleData::InsertOrderPosition(uint32_t position)
{
    if (position >= RIX_ORDER_POSITIONS)
        return;
    for (auto& table : orderTable) {
        std::copy_backward(table + position, table + RIX_ORDER_POSITIONS - 1, table + RIX_ORDER_POSITIONS);
        table[position] = 0;
    }
}

void CRixModuleData::DeleteOrderPosition(uint32_t position)
{
    if (position >= RIX_ORDER_POSITIONS)
        return;
    for (auto& table : orderTable) {
        std::copy(table + position + 1, table + RIX_ORDER_POSITIONS, table + position);
        table[RIX_ORDER_POSITIONS - 1] = 0;
    }
}

void CRixModuleData::InsertRow(uint32_t channel, uint32_t pattern, uint32_t row)
{
    if (channel >= RIX_CHANNELS || pattern >= RIX_PATTERNS || row >= RIX_ROWS)
        return;
    uint32_t* rows = patterns[channel][pattern];
    std::copy_backward(rows + row, rows + RIX_ROWS - 1, rows + RIX_ROWS);
    rows[row] = 0;
}

void CRixModuleData::DeleteRow(uint32_t channel, uint32_t pattern, uint32_t row)
{
    if (channel >= RIX_CHANNELS || pattern >= RIX_PATTERNS || row >= RIX_ROWS)
        return;
    uint32_t* rows = patterns[channel][pattern];
    std::copy(rows + row + 1, rows + RIX_ROWS, rows + row);
    rows[RIX_ROWS - 1] = 0;
}

int CRixModuleData::FindEmptyPattern(uint32_t channel) const
{
    if (channel >= RIX_CHANNELS)
        return 0;
    for (int pattern = 1; pattern < RIX_PATTERNS; ++pattern) {
        const uint32_t* rows = patterns[channel][pattern];
        if (std::all_of(rows, rows + RIX_ROWS, [](uint32_t cell) { return cell == 0; }))
            return pattern;
    }
    return 0;
}

} // namespace rix
