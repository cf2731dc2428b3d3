#include "OrderTableGeometry.h"

#include <algorithm>

#include "RixConstants.h"

namespace rix {

void COrderTableGeometry::SetClientHeight(int height)
{
    clientHeight = height;
    SetScrollPosition(scroll);
}

int COrderTableGeometry::MaxScroll() const
{
    return std::max(0, CONTENT_HEIGHT - clientHeight);
}

int COrderTableGeometry::SetScrollPosition(int position)
{
    const int old = scroll;
    scroll = std::clamp(position, 0, MaxScroll());
    return scroll - old;
}

int COrderTableGeometry::WheelTarget(int delta) const
{
    // 56 px (four rows) for one notch of 120.
    return std::clamp(scroll - delta / 14 * 7, 0, MaxScroll());
}

void COrderTableGeometry::BringIntoView(int32_t position)
{
    const int first = (scroll + 13) / CELL_SIZE;
    const int visible = (clientHeight - 34) / CELL_SIZE;
    if (position < first)
        SetScrollPosition(position * CELL_SIZE);
    else if (position > first + visible)
        SetScrollPosition((position - visible) * CELL_SIZE);
}

std::optional<TCell> COrderTableGeometry::CellAt(QPoint point) const
{
    if (point.y() < HEADER_HEIGHT || point.x() < GRID_LEFT || point.x() >= GRID_RIGHT)
        return std::nullopt;
    const int32_t position = (point.y() + scroll - HEADER_HEIGHT) / CELL_SIZE;
    if (position >= RIX_ORDER_POSITIONS)
        return std::nullopt;
    return TCell{(point.x() - GRID_LEFT) / CELL_SIZE, position};
}

TCell COrderTableGeometry::ClampedCellAt(QPoint point) const
{
    // Floor division, so that a point left of or above the grid clamps to 0.
    const auto floorDiv = [](int value) { return value >= 0 ? value / CELL_SIZE : -1; };
    return {std::clamp(floorDiv(point.x() - GRID_LEFT), 0, RIX_CHANNELS - 1),
            std::clamp(floorDiv(point.y() + scroll - HEADER_HEIGHT), 0, RIX_ORDER_POSITIONS - 1)};
}

QRect COrderTableGeometry::CellRectInImage(TCell cell)
{
    return {cell.channel * CELL_SIZE, cell.row * CELL_SIZE, CELL_SIZE, CELL_SIZE};
}

QRect COrderTableGeometry::RowsRect(int32_t first, int32_t last) const
{
    return {0, HEADER_HEIGHT - 1 + first * CELL_SIZE - scroll, GRID_RIGHT + 1, (last - first + 1) * CELL_SIZE + 1};
}

QRect COrderTableGeometry::BlockRect(TCell low, int32_t width, int32_t height) const
{
    return {GRID_LEFT - 1 + low.channel * CELL_SIZE, HEADER_HEIGHT - 1 + low.row * CELL_SIZE - scroll, width * CELL_SIZE,
            height * CELL_SIZE};
}

} // namespace rix
