#include "PatternPainter.h"

#include <QPainter>

#include "PatternGeometry.h"
#include "Theme.h"

namespace rix {

namespace {

// Theme colours by role.
constexpr int kTextBrush = 0, kNoPatternBrush = 3, kStopBrush = 4, kHeaderBrush = 5, kBackgroundBrush = 8,
              kPatternRowBrush = 9, kBeatRowBrush = 10, kCursorBrush = 11, kSelectionBrush = 12, kPlayBrush = 14,
              kShadowBrush = 25;
constexpr int kFramePen = 3, kGridPen = 4, kSelectionPen = 5;
constexpr int kTextFont = 2;
constexpr int kWidth = CPatternGeometry::CELL_WIDTH;
constexpr int kHeight = CPatternGeometry::CELL_HEIGHT;
// The images' sizes in the window's pixels.
constexpr QSize kHeaderSize(CPatternGeometry::GRID_RIGHT + 1, CPatternGeometry::HEADER_HEIGHT);
constexpr QSize kNumbersSize(CPatternGeometry::NUMBERS_WIDTH, RIX_ROWS * kHeight + 1);
constexpr int kGridWidth = RIX_CHANNELS * kWidth + 1;
constexpr QSize kGridSize(kGridWidth, RIX_ROWS * kHeight + 1);

void DrawLabel(QPainter& painter, const QRect& rect, const QString& text)
{
    const CTheme& theme = CTheme::Get();
    painter.setPen(theme.Brush(kShadowBrush));
    painter.drawText(rect.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.setPen(theme.Brush(kTextBrush));
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace

CPatternPainter::CPatternPainter()
{
    Prepare(1);
}

bool CPatternPainter::Prepare(qreal ratio)
{
    if (!key.Changed(ratio))
        return false;
    header = MakeOffscreen(kHeaderSize, ratio);
    numbers = MakeOffscreen(kNumbersSize, ratio);
    grid = MakeOffscreen(kGridSize, ratio);
    const CTheme& theme = CTheme::Get();
    numbers.fill(theme.Brush(kHeaderBrush));
    QPainter painter(&numbers);
    painter.setFont(theme.Font(kTextFont));
    for (int row = 0; row < RIX_ROWS; ++row)
        DrawLabel(painter, QRect(4, row * kHeight + 1, kNumbersSize.width() - 4, kHeight),
                  QString::number(row, 16).toUpper());
    return true;
}

void CPatternPainter::DrawHeader(const TShownPatterns& shown, int32_t octave)
{
    header.fill(CTheme::Get().Brush(kHeaderBrush));
    QPainter painter(&header);
    painter.setFont(CTheme::Get().Font(kTextFont));
    const auto label = [&](int x, const QString& text) { DrawLabel(painter, QRect(x, 0, 40, kHeaderSize.height()), text); };
    label(2, QStringLiteral("o%1").arg(octave));
    for (int channel = 0; channel < RIX_CHANNELS; ++channel) {
        const int x = 32 + kWidth * channel;
        if (shown.pattern[channel]) {
            label(x, QString::number(channel + 1));
            label(x + 12, QStringLiteral("/") + QString::number(shown.pattern[channel], 16).toUpper());
        } else {
            label(x, QStringLiteral("  %1").arg(channel + 1));
        }
    }
}

void CPatternPainter::DrawRows(const TShownPatterns& shown, const TPatternLook& look, int32_t first, int32_t last)
{
    const CTheme& theme = CTheme::Get();
    QPainter painter(&grid);
    painter.setFont(theme.Font(kTextFont));
    for (int32_t row = std::max(first, 0); row <= std::min(last, RIX_ROWS - 1); ++row) {
        painter.setPen(theme.Pen(kGridPen));
        painter.drawLine(0, row * kHeight, kGridWidth - 1, row * kHeight);
        painter.drawLine(0, row * kHeight + kHeight, kGridWidth - 1, row * kHeight + kHeight);
        for (int32_t channel = 0; channel < RIX_CHANNELS; ++channel) {
            const TCell cell{channel, row};
            int brush = kNoPatternBrush;
            if (look.hasFocus && cell == look.cursor)
                brush = kCursorBrush;
            else if (look.hasFocus && look.selection.Contains(cell))
                brush = kSelectionBrush;
            else if (row == look.playRow)
                brush = kPlayBrush;
            else if (shown.pattern[channel])
                brush = row % 4 == 0 ? kBeatRowBrush : kPatternRowBrush;
            const QRect inner(channel * kWidth + 1, row * kHeight + 1, kWidth - 1, kHeight - 1);
            painter.setPen(theme.Pen(kGridPen));
            painter.drawLine(inner.left() - 1, inner.top(), inner.left() - 1, inner.bottom());
            painter.fillRect(inner, theme.Brush(brush));
            const uint32_t value = shown.cells[channel][row];
            if (value != RIX_NOTE_EMPTY) {
                painter.setPen(theme.Brush(value == RIX_NOTE_STOP ? kStopBrush : kTextBrush));
                painter.drawText(inner, Qt::AlignCenter, CPatternGeometry::NoteName(value));
            }
        }
        painter.setPen(theme.Pen(kGridPen));
        painter.drawLine(kGridWidth - 1, row * kHeight, kGridWidth - 1, row * kHeight + kHeight);
    }
}

void CPatternPainter::Paint(QPainter& painter, const TPatternLook& look, std::optional<TCell> dropCell) const
{
    const CTheme& theme = CTheme::Get();
    painter.fillRect(QRect(0, 0, painter.device()->width(), painter.device()->height()),
                     theme.Brush(kBackgroundBrush));
    painter.drawImage(0, 0, header);
    painter.drawImage(0, CPatternGeometry::GRID_TOP - 1, numbers);
    painter.drawImage(CPatternGeometry::GRID_LEFT - 1, CPatternGeometry::GRID_TOP - 1, grid);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(theme.Pen(kFramePen));
    painter.drawLine(0, CPatternGeometry::HEADER_HEIGHT, CPatternGeometry::GRID_RIGHT, CPatternGeometry::HEADER_HEIGHT);
    painter.setPen(theme.Pen(kSelectionPen));
    const CCellSelection& selection = look.selection;
    painter.drawRect(CPatternGeometry::BlockRect(selection.Low(), selection.Width(), selection.Height()));
    if (dropCell)
        painter.drawRect(CPatternGeometry::BlockRect(*dropCell, selection.Width(), selection.Height()));
}

} // namespace rix
