#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace rix {

// A cell of the order table (channel, order position) or of the pattern
// editor (channel, row).
struct TCell {
    int32_t channel = 0;
    int32_t row = 0;
    bool operator==(const TCell&) const = default;
};

// The block selection of a grid editor: an anchor cell (where the selection
// started, the cursor) and an end cell, with the rectangle between them.
class CCellSelection {
public:
    // The selection of the one cell.
    static CCellSelection On(TCell cell)
    {
        CCellSelection selection;
        selection.Collapse(cell);
        return selection;
    }

    void Collapse(TCell cell) { anchor = end = cell; }
    void SetEnd(TCell cell) { end = cell; }
    // The block of width x height cells whose top left cell is first.
    void SetBlock(TCell first, int32_t width, int32_t height)
    {
        anchor = first;
        end = {first.channel + width - 1, first.row + height - 1};
    }

    TCell Anchor() const { return anchor; }
    TCell End() const { return end; }
    int32_t LowChannel() const { return std::min(anchor.channel, end.channel); }
    int32_t HighChannel() const { return std::max(anchor.channel, end.channel); }
    int32_t LowRow() const { return std::min(anchor.row, end.row); }
    int32_t HighRow() const { return std::max(anchor.row, end.row); }
    int32_t Width() const { return HighChannel() - LowChannel() + 1; }
    int32_t Height() const { return HighRow() - LowRow() + 1; }
    TCell Low() const { return {LowChannel(), LowRow()}; }
    bool IsSingleCell() const { return anchor == end; }
    // Whether every cell lies in channels 0..7 and rows 0..rows - 1.
    bool Inside(int32_t rows) const { return LowChannel() >= 0 && HighChannel() < 8 && LowRow() >= 0 && HighRow() < rows; }
    bool Contains(TCell cell) const
    {
        return cell.channel >= LowChannel() && cell.channel <= HighChannel() && cell.row >= LowRow() &&
               cell.row <= HighRow();
    }

private:
    TCell anchor;
    TCell end;
};

// Cell values copied out of a grid: height rows of width values each.
struct TCellBlock {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> cells;

    bool IsEmpty() const { return cells.empty(); }
    // Whether it holds width x height cells, as At expects.
    bool IsWhole() const
    {
        return width > 0 && height > 0 && cells.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
    uint32_t At(int32_t row, int32_t column) const { return cells[size_t(row * width + column)]; }
};

} // namespace rix
