#include "LabelPainter.h"

#include "Theme.h"

namespace rix {

namespace {
constexpr int kShadowBrush = 25;
constexpr int kTextBrush = 0;
} // namespace

void CLabelPainter::Text(QPainter& painter, int x, int y, const QString& text, const QFont& font, QColor colour)
{
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(x, y, 4096, 4096), Qt::AlignLeft | Qt::AlignTop, text);
}

void CLabelPainter::Shadowed(QPainter& painter, int x, int y, const QString& text, const QFont& font)
{
    const CTheme& theme = CTheme::Get();
    Text(painter, x + 1, y + 1, text, font, theme.Brush(kShadowBrush));
    Text(painter, x, y, text, font, theme.Brush(kTextBrush));
}

} // namespace rix
