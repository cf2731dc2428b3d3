#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

#include "CellBlock.h"

namespace rix {

// Where the pattern editor draws its parts, in pixels of the window: the
// header strip on top, the row numbers on the left and the grid of 8
// channels by 16 rows. Cells are 40 x 14 px including their grid lines.
class CPatternGeometry {
public:
    static constexpr int HEADER_HEIGHT = 20;
    static constexpr int GRID_TOP = 21;
    static constexpr int NUMBERS_WIDTH = 24;
    static constexpr int GRID_LEFT = 25;
    static constexpr int CELL_WIDTH = 40;
    static constexpr int CELL_HEIGHT = 14;
    static constexpr int GRID_RIGHT = GRID_LEFT + 8 * CELL_WIDTH;  // 345, exclusive
    static constexpr int GRID_BOTTOM = GRID_TOP + 16 * CELL_HEIGHT;

    // The cell under a point, or nothing outside the grid.
    static std::optional<TCell> CellAt(QPoint point);
    // The cell under a point, clamped into the grid (mouse drags).
    static TCell ClampedCellAt(QPoint point);
    // Window rectangle of a block of cells, grid lines included.
    static QRect BlockRect(TCell low, int32_t width, int32_t height);
    // Window rectangle of one row across the number column and the grid.
    static QRect RowRect(int32_t row);

    // "C-4", "F#9" for notes 1..120, "off" for the stop note, nothing for an
    // empty cell; other values (only a file can hold them) show in hex.
    static QString NoteName(uint32_t value);
};

} // namespace rix
