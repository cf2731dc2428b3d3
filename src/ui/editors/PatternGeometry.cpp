#include "PatternGeometry.h"

#include <algorithm>

#include "RixConstants.h"

namespace rix {

std::optional<TCell> CPatternGeometry::CellAt(QPoint point)
{
    if (point.y() < GRID_TOP || point.x() < GRID_LEFT || point.x() >= GRID_RIGHT)
        return std::nullopt;
    const int32_t row = (point.y() - GRID_TOP) / CELL_HEIGHT;
    if (row >= RIX_ROWS)
        return std::nullopt;
    return TCell{(point.x() - GRID_LEFT) / CELL_WIDTH, row};
}

TCell CPatternGeometry::ClampedCellAt(QPoint point)
{
    const auto floorDiv = [](int value, int size) { return value >= 0 ? value / size : -1; };
    return {std::clamp(floorDiv(point.x() - GRID_LEFT, CELL_WIDTH), 0, RIX_CHANNELS - 1),
            std::clamp(floorDiv(point.y() - GRID_TOP, CELL_HEIGHT), 0, RIX_ROWS - 1)};
}

QRect CPatternGeometry::BlockRect(TCell low, int32_t width, int32_t height)
{
    return {GRID_LEFT - 1 + low.channel * CELL_WIDTH, GRID_TOP - 1 + low.row * CELL_HEIGHT, width * CELL_WIDTH,
            height * CELL_HEIGHT};
}

QRect CPatternGeometry::RowRect(int32_t row)
{
    return {0, GRID_TOP - 1 + row * CELL_HEIGHT, GRID_RIGHT + 1, CELL_HEIGHT + 1};
}

QString CPatternGeometry::NoteName(uint32_t value)
{
    static const char* const kNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
    if (value == RIX_NOTE_EMPTY)
        return {};
    if (value == RIX_NOTE_STOP)
        return QStringLiteral("off");
    if (value > 120)
        return QString::number(value, 16).toUpper();
    return QString::fromLatin1(kNames[(value - 1) % 12]) + QString::number((value - 1) / 12);
}

} // namespace rix
