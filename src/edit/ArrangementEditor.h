#pragma once

#include <cstdint>
#include <functional>

#include "CellBlock.h"

namespace rix {

class CRixModuleData;
class CSongEditor;

// A grid of cells the arrangement operations work in: the order table
// (channels by order positions, cells holding pattern numbers) or the
// patterns the channels play at one order position (channels by rows,
// cells holding notes).
struct TGrid {
    enum TKind { ORDER_TABLE, PATTERNS };
    TKind kind = ORDER_TABLE;
    int32_t order = 0;  // of PATTERNS

    static TGrid OrderTable() { return {ORDER_TABLE, 0}; }
    static TGrid PatternsAt(int32_t order) { return {PATTERNS, order}; }
    int32_t Rows() const;
};

// The operations of the order table and the pattern editor (see
// CSongEditor for what every operation does). Pattern operations work on
// the patterns the channels play at an order position; a channel without
// one gets its first empty pattern placed there when a cell value goes
// into it (a block's empty cells never place one), and an operation that
// finds none for a channel it needs writes nothing and returns that
// channel. Cells outside the grid are skipped; pattern cells are written
// only in patterns 1..15, order entries hold 0..15.
class CArrangementEditor {
public:
    // As a channel argument: all eight.
    static constexpr int32_t kAllChannels = -1;
    // What the pattern operations return when every channel had room.
    static constexpr int32_t kDone = -1;

    explicit CArrangementEditor(CSongEditor& editor);

    // A note (1..254, "Note"), the stop note (255, "Note Stop") or an empty
    // cell (0, "Delete") at (channel, row) of the pattern at order.
    int32_t EnterValue(int32_t channel, int32_t order, int32_t row, uint32_t value);
    // Rows row..14 one down, row 15 lost ("Insert Row"); rows row+1..15 one
    // up, row 15 emptied ("Delete Row"); in one channel or kAllChannels.
    bool InsertRow(int32_t channel, int32_t order, int32_t row);
    bool DeleteRow(int32_t channel, int32_t order, int32_t row);
    // name: "Clear" or "Cut".
    bool ClearPatternBlock(int32_t order, const CCellSelection& selection, const char* name);
    int32_t PastePatternBlock(int32_t order, const TCellBlock& block, TCell at);
    // The selected cells to drop (top left), read and cleared before any
    // is written ("Move").
    int32_t MovePatternBlock(int32_t order, const CCellSelection& selection, TCell drop);
    // Cells of the patterns shown at order (0 for channels without one).
    TCellBlock CopyPatternBlock(int32_t order, const CCellSelection& selection) const;

    // The pattern number of one entry, set or stepped within 0..15
    // ("Pattern Number").
    bool SetOrderEntry(int32_t channel, int32_t position, uint32_t pattern);
    bool StepOrderEntry(int32_t channel, int32_t position, int32_t delta);
    // One channel's entries from position one down, the last lost ("Insert
    // Entry"), or one up, the last emptied ("Delete Entry"); with
    // kAllChannels the whole position ("Insert Position", "Delete Position").
    bool InsertOrderEntry(int32_t channel, int32_t position);
    bool DeleteOrderEntry(int32_t channel, int32_t position);
    bool ClearOrderBlock(const CCellSelection& selection, const char* name);
    bool PasteOrderBlock(const TCellBlock& block, TCell at);
    bool MoveOrderBlock(const CCellSelection& selection, TCell drop);
    TCellBlock CopyOrderBlock(const CCellSelection& selection) const;

    // The same operations for either grid, for the windows that show one:
    // a cell value (EnterValue, SetOrderEntry), a cell inserted or deleted
    // in a channel or kAllChannels (rows, entries, positions), and the
    // block operations. Those that return int32_t return the channel left
    // without an empty pattern, or kDone.
    int32_t SetCell(TGrid grid, int32_t channel, int32_t row, uint32_t value);
    bool InsertCell(TGrid grid, int32_t channel, int32_t row);
    bool DeleteCell(TGrid grid, int32_t channel, int32_t row);
    TCellBlock CopyBlock(TGrid grid, const CCellSelection& selection) const;
    bool ClearBlock(TGrid grid, const CCellSelection& selection, const char* name);
    int32_t PasteBlock(TGrid grid, const TCellBlock& block, TCell at);
    int32_t MoveBlock(TGrid grid, const CCellSelection& selection, TCell drop);

private:
    // A pattern edit at order that first makes sure the channels
    // channelsOf names (bit c for channel c) have a pattern there.
    int32_t PatternEdit(const char* name, int32_t order,
                        const std::function<uint32_t(const CRixModuleData&)>& channelsOf,
                        const std::function<void(CRixModuleData&)>& change);
    bool RowEdit(bool insert, int32_t channel, int32_t order, int32_t row);
    bool EntryEdit(bool insert, int32_t channel, int32_t position);
    // An edit that needs no pattern placed.
    bool PlainEdit(const char* name, const std::function<void(CRixModuleData&)>& change);

    CSongEditor& editor;
};

} // namespace rix
