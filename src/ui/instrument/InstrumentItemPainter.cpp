#include "InstrumentItemPainter.h"

#include <QPainter>

#include "Offscreen.h"
#include "Theme.h"

namespace rix {

namespace {

constexpr int kRowHeight = 19;
constexpr int kLabelWidth = 200;

void DrawText(QPainter& painter, int x, int top, const QString& text, int font, QColor colour)
{
    painter.setFont(CTheme::Get().Font(font));
    painter.setPen(colour);
    painter.drawText(QRect(x, top, kLabelWidth, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace

QImage NewItemImage(QSize size, qreal ratio, QColor background)
{
    const CTheme& theme = CTheme::Get();
    QImage image = MakeOffscreen(size, ratio);
    image.fill(background);
    QPainter painter(&image);
    painter.setPen(theme.Pen(13));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.setPen(theme.Pen(12));
    painter.drawRect(1, 1, size.width() - 3, size.height() - 3);
    return image;
}

void DrawItemLabel(QPainter& painter, int x, int top, const QString& text, int font)
{
    const CTheme& theme = CTheme::Get();
    DrawText(painter, x + 1, top + 1, text, font, theme.Brush(25));
    DrawText(painter, x, top, text, font, theme.Brush(0));
}

void DrawItemValue(QPainter& painter, int x, int top, const QString& text, int font)
{
    DrawText(painter, x, top, text, font, CTheme::Get().Brush(30));
}

int ItemBackgroundBrush(std::size_t index, bool green)
{
    return green ? 36 + static_cast<int>(index % 4) : 31 + static_cast<int>(index % 5);
}

QColor ItemBackground(std::size_t index, bool green)
{
    return CTheme::Get().Brush(ItemBackgroundBrush(index, green));
}

} // namespace rix
