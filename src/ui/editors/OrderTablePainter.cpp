#include "OrderTablePainter.h"

#include <QPainter>

#include "Theme.h"

namespace rix {

namespace {

// Theme colours by role.
constexpr int kTextBrush = 0, kHeaderBrush = 5, kBackgroundBrush = 8, kCellBrush = 9, kCursorBrush = 11,
              kSelectionBrush = 12, kPlayBrush = 14, kShadowBrush = 25;
constexpr int kFramePen = 3, kGridPen = 4, kSelectionPen = 5;
constexpr int kTextFont = 2;
constexpr int kCell = COrderTableGeometry::CELL_SIZE;
// The images' sizes in the window's pixels.
constexpr QSize kHeaderSize(COrderTableGeometry::GRID_RIGHT + 1, COrderTableGeometry::HEADER_HEIGHT - 1);
constexpr QSize kNumbersSize(COrderTableGeometry::NUMBERS_WIDTH, RIX_ORDER_POSITIONS * kCell + 1);
constexpr int kGridWidth = RIX_CHANNELS * kCell + 1;
constexpr QSize kGridSize(kGridWidth, RIX_ORDER_POSITIONS * kCell + 1);

// A label with its one-pixel drop shadow.
void DrawLabel(QPainter& painter, const QRect& rect, int flags, const QString& text)
{
    const CTheme& theme = CTheme::Get();
    painter.setPen(theme.Brush(kShadowBrush));
    painter.drawText(rect.translated(1, 1), flags, text);
    painter.setPen(theme.Brush(kTextBrush));
    painter.drawText(rect, flags, text);
}

} // namespace

COrderTablePainter::COrderTablePainter()
{
    Prepare(1);
}

bool COrderTablePainter::Prepare(qreal ratio)
{
    if (!key.Changed(ratio))
        return false;
    header = MakeOffscreen(kHeaderSize, ratio);
    numbers = MakeOffscreen(kNumbersSize, ratio);
    grid = MakeOffscreen(kGridSize, ratio);
    const CTheme& theme = CTheme::Get();
    header.fill(theme.Brush(kHeaderBrush));
    numbers.fill(theme.Brush(kHeaderBrush));
    QPainter painter(&header);
    painter.setFont(theme.Font(kTextFont));
    for (int channel = 0; channel < RIX_CHANNELS; ++channel)
        DrawLabel(painter, QRect(34 + kCell * channel, 0, kCell, kHeaderSize.height()),
                  Qt::AlignLeft | Qt::AlignVCenter, QString::number(channel + 1));
    painter.end();
    painter.begin(&numbers);
    painter.setFont(theme.Font(kTextFont));
    for (int position = 0; position < RIX_ORDER_POSITIONS; ++position)
        DrawLabel(painter, QRect(0, position * kCell, kNumbersSize.width() - 4, kCell),
                  Qt::AlignRight | Qt::AlignVCenter, QString::number(position, 16).toUpper());
    return true;
}

void COrderTablePainter::DrawRows(const TOrderEntries& entries, const TOrderTableLook& look, int32_t first,
                                  int32_t last)
{
    const CTheme& theme = CTheme::Get();
    QPainter painter(&grid);
    painter.setFont(theme.Font(kTextFont));
    first = std::max(first, 0);
    last = std::min(last, RIX_ORDER_POSITIONS - 1);
    for (int32_t row = first; row <= last; ++row) {
        painter.setPen(theme.Pen(kGridPen));
        painter.drawLine(0, row * kCell, kGridWidth - 1, row * kCell);
        painter.drawLine(0, row * kCell + kCell, kGridWidth - 1, row * kCell + kCell);
        for (int32_t channel = 0; channel < RIX_CHANNELS; ++channel) {
            const TCell cell{channel, row};
            int brush = kCellBrush;
            if (look.hasFocus && cell == look.cursor)
                brush = kCursorBrush;
            else if (row == look.playPosition)
                brush = kPlayBrush;
            else if (look.hasFocus && look.selection.Contains(cell))
                brush = kSelectionBrush;
            const QRect inner = COrderTableGeometry::CellRectInImage(cell).adjusted(1, 1, 0, 0);
            painter.setPen(theme.Pen(kGridPen));
            painter.drawLine(inner.left() - 1, inner.top(), inner.left() - 1, inner.bottom());
            painter.fillRect(inner, theme.Brush(brush));
            if (const uint32_t entry = entries[channel][row]) {
                painter.setPen(theme.Brush(kTextBrush));
                painter.drawText(inner, Qt::AlignCenter, QString::number(entry, 16).toUpper());
            }
        }
        painter.setPen(theme.Pen(kGridPen));
        painter.drawLine(kGridWidth - 1, row * kCell, kGridWidth - 1, row * kCell + kCell);
    }
}

void COrderTablePainter::Paint(QPainter& painter, const COrderTableGeometry& geometry, const TOrderTableLook& look,
                               std::optional<TCell> dropCell) const
{
    const CTheme& theme = CTheme::Get();
    const int top = COrderTableGeometry::HEADER_HEIGHT - 1;
    const int width = painter.device()->width() - COrderTableGeometry::SCROLL_BAR_WIDTH;
    painter.fillRect(QRect(0, 0, width, painter.device()->height()), theme.Brush(kBackgroundBrush));
    // The header strip runs on above the scroll bar.
    painter.fillRect(QRect(0, 0, painter.device()->width(), top), theme.Brush(kHeaderBrush));
    painter.drawImage(0, 0, header);
    painter.setPen(theme.Pen(kFramePen));
    painter.drawLine(0, top, painter.device()->width(), top);
    painter.setClipRect(QRect(0, top + 1, width, painter.device()->height()));
    painter.drawImage(0, top - geometry.ScrollPosition(), numbers);
    painter.drawImage(COrderTableGeometry::GRID_LEFT - 1, top - geometry.ScrollPosition(), grid);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(theme.Pen(kSelectionPen));
    const CCellSelection& selection = look.selection;
    painter.drawRect(geometry.BlockRect(selection.Low(), selection.Width(), selection.Height()));
    if (dropCell)
        painter.drawRect(geometry.BlockRect(*dropCell, selection.Width(), selection.Height()));
}

} // namespace rix
