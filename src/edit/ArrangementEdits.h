#pragma once

#include <cstdint>

#include "CellBlock.h"
#include "RixModuleData.h"

namespace rix {

// The block and row edits of the order table and the pattern editor on song
// data (the edit layer's copy of the song). Selections lie inside the grid;
// targets outside it are skipped, and pattern cells are written only in
// patterns 1..15.
class CArrangementEdits {
public:
    // Order table: one channel's entries from position on move one down
    // (the last is lost) or one up (the last becomes 0).
    static void InsertOrderCell(CRixModuleData& data, int32_t channel, int32_t position);
    static void DeleteOrderCell(CRixModuleData& data, int32_t channel, int32_t position);
    static TCellBlock CopyOrderBlock(const CRixModuleData& data, const CCellSelection& selection);
    static void ClearOrderBlock(CRixModuleData& data, const CCellSelection& selection);
    static void WriteOrderBlock(CRixModuleData& data, const TCellBlock& block, TCell at);

    // The pattern of a channel at an order position when it is one the
    // editor writes to (1..15), else 0.
    static uint32_t EditablePattern(const CRixModuleData& data, int32_t channel, int32_t order);
    // The first channel of channels (bit c for channel c) that has no
    // pattern at order and no empty one to place there, or -1 when every
    // one can be written.
    static int32_t ChannelWithoutRoom(const CRixModuleData& data, int32_t order, uint32_t channels);
    // Places an empty pattern wherever one of those channels has none;
    // returns whether any was placed. Check ChannelWithoutRoom first.
    static bool PlacePatterns(CRixModuleData& data, int32_t order, uint32_t channels);
    // The channels (bit c for channel c) in which block written at at puts
    // a note or stop inside the grid: only those need a pattern, so that an
    // empty cell pasted or dropped never places an empty pattern.
    static uint32_t ChannelsWithNotes(const TCellBlock& block, TCell at);
    // Cells of the patterns shown at order (0 for channels without one).
    static TCellBlock CopyPatternBlock(const CRixModuleData& data, int32_t order, const CCellSelection& selection);
    static void ClearPatternBlock(CRixModuleData& data, int32_t order, const CCellSelection& selection);
    static void WritePatternBlock(CRixModuleData& data, int32_t order, const TCellBlock& block, TCell at);
};

} // namespace rix
