#include "ArrangementEditor.h"

#include <algorithm>

#include "ArrangementEdits.h"
#include "SongEditor.h"

namespace rix {

namespace {

bool IsChannel(int32_t channel)
{
    return channel >= 0 && channel < RIX_CHANNELS;
}

bool IsOrder(int32_t position)
{
    return position >= 0 && position < RIX_ORDER_POSITIONS;
}

bool IsRow(int32_t row)
{
    return row >= 0 && row < RIX_ROWS;
}

const char* ValueName(uint32_t value)
{
    if (value == RIX_NOTE_EMPTY)
        return "Delete";
    return value == RIX_NOTE_STOP ? "Note Stop" : "Note";
}

} // namespace

int32_t TGrid::Rows() const
{
    return kind == PATTERNS ? RIX_ROWS : RIX_ORDER_POSITIONS;
}

CArrangementEditor::CArrangementEditor(CSongEditor& editor) : editor(editor) {}

int32_t CArrangementEditor::PatternEdit(const char* name, int32_t order,
                                        const std::function<uint32_t(const CRixModuleData&)>& channelsOf,
                                        const std::function<void(CRixModuleData&)>& change)
{
    int32_t missing = kDone;
    editor.Commit(name, nexilon::LOCKMODE_WRITE_EXCL, TEditStep::New, [&](CRixModuleData& song) {
        const uint32_t channels = channelsOf(song);
        missing = CArrangementEdits::ChannelWithoutRoom(song, order, channels);
        if (missing != kDone)
            return false;
        CArrangementEdits::PlacePatterns(song, order, channels);
        change(song);
        return true;
    });
    return missing;
}

bool CArrangementEditor::PlainEdit(const char* name, const std::function<void(CRixModuleData&)>& change)
{
    return editor.Commit(name, nexilon::LOCKMODE_WRITE_EXCL, TEditStep::New, [&change](CRixModuleData& song) {
        change(song);
        return true;
    });
}

int32_t CArrangementEditor::EnterValue(int32_t channel, int32_t order, int32_t row, uint32_t value)
{
    if (!IsChannel(channel) || !IsOrder(order) || !IsRow(row))
        return kDone;
    const auto cursorChannel = [channel](const CRixModuleData&) { return 1u << channel; };
    return PatternEdit(ValueName(value), order, cursorChannel, [=](CRixModuleData& song) {
        if (const uint32_t pattern = CArrangementEdits::EditablePattern(song, channel, order))
            song.patterns[channel][pattern][row] = value;
    });
}

bool CArrangementEditor::InsertRow(int32_t channel, int32_t order, int32_t row)
{
    return RowEdit(true, channel, order, row);
}

bool CArrangementEditor::DeleteRow(int32_t channel, int32_t order, int32_t row)
{
    return RowEdit(false, channel, order, row);
}

bool CArrangementEditor::RowEdit(bool insert, int32_t channel, int32_t order, int32_t row)
{
    if ((channel != kAllChannels && !IsChannel(channel)) || !IsOrder(order) || !IsRow(row))
        return false;
    return PlainEdit(insert ? "Insert Row" : "Delete Row", [=](CRixModuleData& song) {
        for (int32_t c = 0; c < RIX_CHANNELS; ++c) {
            const uint32_t pattern = CArrangementEdits::EditablePattern(song, c, order);
            if (pattern == 0 || (channel != kAllChannels && channel != c))
                continue;
            if (insert)
                song.InsertRow(uint32_t(c), pattern, uint32_t(row));
            else
                song.DeleteRow(uint32_t(c), pattern, uint32_t(row));
        }
    });
}

bool CArrangementEditor::ClearPatternBlock(int32_t order, const CCellSelection& selection, const char* name)
{
    if (!IsOrder(order) || !selection.Inside(RIX_ROWS))
        return false;
    return PlainEdit(name, [&](CRixModuleData& song) { CArrangementEdits::ClearPatternBlock(song, order, selection); });
}

int32_t CArrangementEditor::PastePatternBlock(int32_t order, const TCellBlock& block, TCell at)
{
    if (!IsOrder(order) || !block.IsWhole() || !IsChannel(at.channel) || !IsRow(at.row))
        return kDone;
    const auto noted = [&](const CRixModuleData&) { return CArrangementEdits::ChannelsWithNotes(block, at); };
    return PatternEdit("Paste", order, noted, [&](CRixModuleData& song) {
        CArrangementEdits::WritePatternBlock(song, order, block, at);
    });
}

int32_t CArrangementEditor::MovePatternBlock(int32_t order, const CCellSelection& selection, TCell drop)
{
    if (!IsOrder(order) || !selection.Inside(RIX_ROWS) || !IsChannel(drop.channel) || !IsRow(drop.row))
        return kDone;
    const auto noted = [&](const CRixModuleData& song) {
        return CArrangementEdits::ChannelsWithNotes(CArrangementEdits::CopyPatternBlock(song, order, selection), drop);
    };
    return PatternEdit("Move", order, noted, [&](CRixModuleData& song) {
        const TCellBlock block = CArrangementEdits::CopyPatternBlock(song, order, selection);
        CArrangementEdits::ClearPatternBlock(song, order, selection);
        CArrangementEdits::WritePatternBlock(song, order, block, drop);
    });
}

TCellBlock CArrangementEditor::CopyPatternBlock(int32_t order, const CCellSelection& selection) const
{
    if (!IsOrder(order) || !selection.Inside(RIX_ROWS))
        return {};
    return editor.Read(
        [&](const CRixModuleData& song) { return CArrangementEdits::CopyPatternBlock(song, order, selection); });
}

bool CArrangementEditor::SetOrderEntry(int32_t channel, int32_t position, uint32_t pattern)
{
    if (!IsChannel(channel) || !IsOrder(position) || pattern >= RIX_PATTERNS)
        return false;
    return PlainEdit("Pattern Number",
                     [=](CRixModuleData& song) { song.orderTable[channel][position] = pattern; });
}

bool CArrangementEditor::StepOrderEntry(int32_t channel, int32_t position, int32_t delta)
{
    if (!IsChannel(channel) || !IsOrder(position))
        return false;
    return PlainEdit("Pattern Number", [=](CRixModuleData& song) {
        uint32_t& entry = song.orderTable[channel][position];
        entry = uint32_t(std::clamp(int64_t(entry) + delta, int64_t(0), int64_t(RIX_PATTERNS - 1)));
    });
}

bool CArrangementEditor::InsertOrderEntry(int32_t channel, int32_t position)
{
    return EntryEdit(true, channel, position);
}

bool CArrangementEditor::DeleteOrderEntry(int32_t channel, int32_t position)
{
    return EntryEdit(false, channel, position);
}

bool CArrangementEditor::EntryEdit(bool insert, int32_t channel, int32_t position)
{
    if ((channel != kAllChannels && !IsChannel(channel)) || !IsOrder(position))
        return false;
    const bool all = channel == kAllChannels;
    const char* name =
        all ? (insert ? "Insert Position" : "Delete Position") : (insert ? "Insert Entry" : "Delete Entry");
    return PlainEdit(name, [=](CRixModuleData& song) {
        if (all && insert)
            song.InsertOrderPosition(uint32_t(position));
        else if (all)
            song.DeleteOrderPosition(uint32_t(position));
        else if (insert)
            CArrangementEdits::InsertOrderCell(song, channel, position);
        else
            CArrangementEdits::DeleteOrderCell(song, channel, position);
    });
}

bool CArrangementEditor::ClearOrderBlock(const CCellSelection& selection, const char* name)
{
    if (!selection.Inside(RIX_ORDER_POSITIONS))
        return false;
    return PlainEdit(name, [&](CRixModuleData& song) { CArrangementEdits::ClearOrderBlock(song, selection); });
}

bool CArrangementEditor::PasteOrderBlock(const TCellBlock& block, TCell at)
{
    if (!block.IsWhole() || !IsChannel(at.channel) || !IsOrder(at.row))
        return false;
    return PlainEdit("Paste", [&](CRixModuleData& song) { CArrangementEdits::WriteOrderBlock(song, block, at); });
}

bool CArrangementEditor::MoveOrderBlock(const CCellSelection& selection, TCell drop)
{
    if (!selection.Inside(RIX_ORDER_POSITIONS) || !IsChannel(drop.channel) || !IsOrder(drop.row))
        return false;
    return PlainEdit("Move", [&](CRixModuleData& song) {
        const TCellBlock block = CArrangementEdits::CopyOrderBlock(song, selection);
        CArrangementEdits::ClearOrderBlock(song, selection);
        CArrangementEdits::WriteOrderBlock(song, block, drop);
    });
}

TCellBlock CArrangementEditor::CopyOrderBlock(const CCellSelection& selection) const
{
    if (!selection.Inside(RIX_ORDER_POSITIONS))
        return {};
    return editor.Read([&](const CRixModuleData& song) { return CArrangementEdits::CopyOrderBlock(song, selection); });
}

int32_t CArrangementEditor::SetCell(TGrid grid, int32_t channel, int32_t row, uint32_t value)
{
    if (grid.kind == TGrid::PATTERNS)
        return EnterValue(channel, grid.order, row, value);
    SetOrderEntry(channel, row, value);
    return kDone;
}

bool CArrangementEditor::InsertCell(TGrid grid, int32_t channel, int32_t row)
{
    return grid.kind == TGrid::PATTERNS ? InsertRow(channel, grid.order, row) : InsertOrderEntry(channel, row);
}

bool CArrangementEditor::DeleteCell(TGrid grid, int32_t channel, int32_t row)
{
    return grid.kind == TGrid::PATTERNS ? DeleteRow(channel, grid.order, row) : DeleteOrderEntry(channel, row);
}

TCellBlock CArrangementEditor::CopyBlock(TGrid grid, const CCellSelection& selection) const
{
    return grid.kind == TGrid::PATTERNS ? CopyPatternBlock(grid.order, selection) : CopyOrderBlock(selection);
}

bool CArrangementEditor::ClearBlock(TGrid grid, const CCellSelection& selection, const char* name)
{
    return grid.kind == TGrid::PATTERNS ? ClearPatternBlock(grid.order, selection, name)
                                        : ClearOrderBlock(selection, name);
}

int32_t CArrangementEditor::PasteBlock(TGrid grid, const TCellBlock& block, TCell at)
{
    if (grid.kind == TGrid::PATTERNS)
        return PastePatternBlock(grid.order, block, at);
    PasteOrderBlock(block, at);
    return kDone;
}

int32_t CArrangementEditor::MoveBlock(TGrid grid, const CCellSelection& selection, TCell drop)
{
    if (grid.kind == TGrid::PATTERNS)
        return MovePatternBlock(grid.order, selection, drop);
    MoveOrderBlock(selection, drop);
    return kDone;
}

} // namespace rix
