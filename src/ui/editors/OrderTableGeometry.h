#pragma once

#include <QPoint>
#include <QRect>
#include <optional>

#include "CellBlock.h"

namespace rix {

// Where the order table draws its parts, in pixels of the window, and its
// vertical scroll position. All 256 order positions form one tall image that
// is shown through the scroll offset below the fixed header strip.
class COrderTableGeometry {
public:
    static constexpr int HEADER_HEIGHT = 21;  // the grid starts here
    static constexpr int NUMBERS_WIDTH = 32;  // order position numbers
    static constexpr int GRID_LEFT = 33;
    static constexpr int CELL_SIZE = 14;      // cells are square
    static constexpr int GRID_RIGHT = GRID_LEFT + 8 * CELL_SIZE;  // 145, exclusive
    static constexpr int SCROLL_BAR_WIDTH = 17;
    // Height of everything that scrolls, header strip included.
    static constexpr int CONTENT_HEIGHT = 3608;
    static constexpr int LINE_STEP = 14;
    static constexpr int PAGE_STEP = 56;

    void SetClientHeight(int height);
    int ScrollPosition() const { return scroll; }
    int MaxScroll() const;
    // Clamps to 0..MaxScroll; returns the pixels actually scrolled.
    int SetScrollPosition(int position);
    // Scroll position after a wheel turn of delta (120 a notch, up positive).
    int WheelTarget(int delta) const;
    // Scrolls the least so that the order position is visible.
    void BringIntoView(int32_t position);

    // The cell under a point of the window, or nothing outside the grid.
    std::optional<TCell> CellAt(QPoint point) const;
    // The cell under a point, clamped into the grid (mouse drags).
    TCell ClampedCellAt(QPoint point) const;
    // A cell's rectangle in the tall grid image (no scroll, no header).
    static QRect CellRectInImage(TCell cell);
    // The window rectangle of order positions first..last across the grid
    // and the number column.
    QRect RowsRect(int32_t first, int32_t last) const;
    // Window rectangle of a block of cells (selection edge, drag outline).
    QRect BlockRect(TCell low, int32_t width, int32_t height) const;

private:
    int clientHeight = 560;
    int scroll = 0;
};

} // namespace rix
