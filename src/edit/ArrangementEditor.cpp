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

CArrangementEditor::CArrangementEditor(CSongEditor& editor) : editor(editor) {}

int32_t CArrangementEditor::PatternEdit(const char* name, int32_t order, int32_t first, int32_t count,
                                        const std::function<void(CRixModuleData&)>& change)
{
    int32_t missing = kDone;
    editor.Commit(name, nexilon::LOCKMODE_WRITE_EXCL, TEditStep::New, [&](CRixModuleData& song) {
        missing = CArrangementEdits::ChannelWithoutRoom(song, order, first, count);
        if (missing != kDone)
            return false;
        CArrangementEdits::PlacePatterns(song, order, first, count);
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
    return PatternEdit(ValueName(value), order, channel, 1, [=](CRixModuleData& song) {
        if (const uint32_t pattern = CArrangementEdits::EditablePattern(song, channel, order))
            song.patterns[channel][pattern][row] = value;
    });
}

bool CArrangementEditor::InsertRow(int32_t channel, int32_t order, int32_t row)
{
    if ((channel != kAllChannels && !IsChannel(channel)) || !IsOrder(order) || !IsRow(row))
        return false;
    return PlainEdit("Insert Row", [=](CRixModuleData& song) {
        for (int32_t c = 0; c < RIX_CHANNELS; ++c)
            if (channel == kAllChannels || channel == c)
                if (const uint32_t pattern = CArrangementEdits::EditablePattern(song, c, order))
                    song.InsertRow(uint32_t(c), pattern, uint32_t(row));
    });
}

bool CArrangementEditor::DeleteRow(int32_t channel, int32_t order, int32_t row)
{
    if ((channel != kAllChannels && !IsChannel(channel)) || !IsOrder(order) || !IsRow(row))
        return false;
    return PlainEdit("Delete Row", [=](CRixModuleData& song) {
        for (int32_t c = 0; c < RIX_CHANNELS; ++c)
            if (channel == kAllChannels || channel == c)
                if (const uint32_t pattern = CArrangementEdits::EditablePattern(song, c, order))
                    song.DeleteRow(uint32_t(c), pattern, uint32_t(row));
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
    return PatternEdit("Paste", order, at.channel, block.width, [&](CRixModuleData& song) {
        CArrangementEdits::WritePatternBlock(song, order, block, at);
    });
}

int32_t CArrangementEditor::MovePatternBlock(int32_t order, const CCellSelection& selection, TCell drop)
{
    if (!IsOrder(order) || !selection.Inside(RIX_ROWS) || !IsChannel(drop.channel) || !IsRow(drop.row))
        return kDone;
    return PatternEdit("Move", order, drop.channel, selection.Width(), [&](CRixModuleData& song) {
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
    if ((channel != kAllChannels && !IsChannel(channel)) || !IsOrder(position))
        return false;
    if (channel == kAllChannels)
        return PlainEdit("Insert Position",
                         [=](CRixModuleData& song) { song.InsertOrderPosition(uint32_t(position)); });
    return PlainEdit("Insert Entry",
                     [=](CRixModuleData& song) { CArrangementEdits::InsertOrderCell(song, channel, position); });
}

bool CArrangementEditor::DeleteOrderEntry(int32_t channel, int32_t position)
{
    if ((channel != kAllChannels && !IsChannel(channel)) || !IsOrder(position))
        return false;
    if (channel == kAllChannels)
        return PlainEdit("Delete Position",
                         [=](CRixModuleData& song) { song.DeleteOrderPosition(uint32_t(position)); });
    return PlainEdit("Delete Entry",
                     [=](CRixModuleData& song) { CArrangementEdits::DeleteOrderCell(song, channel, position); });
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

} // namespace rix
