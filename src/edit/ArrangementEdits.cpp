#include "ArrangementEdits.h"

#include <algorithm>

namespace rix {

namespace {

bool InGrid(TCell cell, int32_t rows)
{
    return cell.channel >= 0 && cell.channel < RIX_CHANNELS && cell.row >= 0 && cell.row < rows;
}

} // namespace

void CArrangementEdits::InsertOrderCell(CRixModuleData& data, int32_t channel, int32_t position)
{
    uint32_t* entries = data.orderTable[channel];
    std::copy_backward(entries + position, entries + RIX_ORDER_POSITIONS - 1, entries + RIX_ORDER_POSITIONS);
    entries[position] = 0;
}

void CArrangementEdits::DeleteOrderCell(CRixModuleData& data, int32_t channel, int32_t position)
{
    uint32_t* entries = data.orderTable[channel];
    std::copy(entries + position + 1, entries + RIX_ORDER_POSITIONS, entries + position);
    entries[RIX_ORDER_POSITIONS - 1] = 0;
}

TCellBlock CArrangementEdits::CopyOrderBlock(const CRixModuleData& data, const CCellSelection& selection)
{
    TCellBlock block{selection.Width(), selection.Height(), {}};
    for (int32_t row = selection.LowRow(); row <= selection.HighRow(); ++row)
        for (int32_t channel = selection.LowChannel(); channel <= selection.HighChannel(); ++channel)
            block.cells.push_back(data.orderTable[channel][row]);
    return block;
}

void CArrangementEdits::ClearOrderBlock(CRixModuleData& data, const CCellSelection& selection)
{
    for (int32_t row = selection.LowRow(); row <= selection.HighRow(); ++row)
        for (int32_t channel = selection.LowChannel(); channel <= selection.HighChannel(); ++channel)
            data.orderTable[channel][row] = 0;
}

void CArrangementEdits::WriteOrderBlock(CRixModuleData& data, const TCellBlock& block, TCell at)
{
    for (int32_t row = 0; row < block.height; ++row)
        for (int32_t column = 0; column < block.width; ++column) {
            const TCell target{at.channel + column, at.row + row};
            if (InGrid(target, RIX_ORDER_POSITIONS))
                data.orderTable[target.channel][target.row] = block.At(row, column);
        }
}

uint32_t CArrangementEdits::EditablePattern(const CRixModuleData& data, int32_t channel, int32_t order)
{
    const uint32_t pattern = data.orderTable[channel][order];
    return pattern >= 1 && pattern < RIX_PATTERNS ? pattern : 0;
}

int32_t CArrangementEdits::ChannelWithoutRoom(const CRixModuleData& data, int32_t order, uint32_t channels)
{
    for (int32_t channel = 0; channel < RIX_CHANNELS; ++channel)
        if ((channels >> channel & 1u) && data.orderTable[channel][order] == 0 &&
            data.FindEmptyPattern(uint32_t(channel)) == 0)
            return channel;
    return -1;
}

bool CArrangementEdits::PlacePatterns(CRixModuleData& data, int32_t order, uint32_t channels)
{
    bool placed = false;
    for (int32_t channel = 0; channel < RIX_CHANNELS; ++channel)
        if ((channels >> channel & 1u) && data.orderTable[channel][order] == 0) {
            data.orderTable[channel][order] = uint32_t(data.FindEmptyPattern(uint32_t(channel)));
            placed = true;
        }
    return placed;
}

uint32_t CArrangementEdits::ChannelsWithNotes(const TCellBlock& block, TCell at)
{
    uint32_t channels = 0;
    for (int32_t row = 0; row < block.height; ++row)
        for (int32_t column = 0; column < block.width; ++column)
            if (block.At(row, column) != RIX_NOTE_EMPTY && InGrid({at.channel + column, at.row + row}, RIX_ROWS))
                channels |= 1u << (at.channel + column);
    return channels;
}

TCellBlock CArrangementEdits::CopyPatternBlock(const CRixModuleData& data, int32_t order,
                                               const CCellSelection& selection)
{
    TCellBlock block{selection.Width(), selection.Height(), {}};
    for (int32_t row = selection.LowRow(); row <= selection.HighRow(); ++row)
        for (int32_t channel = selection.LowChannel(); channel <= selection.HighChannel(); ++channel) {
            const uint32_t pattern = EditablePattern(data, channel, order);
            block.cells.push_back(pattern ? data.patterns[channel][pattern][row] : 0);
        }
    return block;
}

void CArrangementEdits::ClearPatternBlock(CRixModuleData& data, int32_t order, const CCellSelection& selection)
{
    for (int32_t channel = selection.LowChannel(); channel <= selection.HighChannel(); ++channel)
        if (const uint32_t pattern = EditablePattern(data, channel, order))
            for (int32_t row = selection.LowRow(); row <= selection.HighRow(); ++row)
                data.patterns[channel][pattern][row] = RIX_NOTE_EMPTY;
}

void CArrangementEdits::WritePatternBlock(CRixModuleData& data, int32_t order, const TCellBlock& block, TCell at)
{
    for (int32_t row = 0; row < block.height; ++row)
        for (int32_t column = 0; column < block.width; ++column) {
            const TCell target{at.channel + column, at.row + row};
            if (!InGrid(target, RIX_ROWS))
                continue;
            if (const uint32_t pattern = EditablePattern(data, target.channel, order))
                data.patterns[target.channel][pattern][target.row] = block.At(row, column);
        }
}

} // namespace rix
