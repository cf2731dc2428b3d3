#pragma once

#include <QColor>
#include <QImage>
#include <QString>

class QPainter;

// Drawing shared by the items of the oscillator and effect lists, into
// their off-screen images, with the theme's fonts and colours.
namespace rix {

// A new off-screen image of the item's size at the item's device pixel
// ratio, filled with the background and framed in the list pens.
QImage NewItemImage(QSize size, qreal ratio, QColor background);
// Text left-aligned at x, centred in the row from top to top + 19, with a
// one-pixel drop shadow; font is a theme font index.
void DrawItemLabel(QPainter& painter, int x, int top, const QString& text, int font = 0);
// A value in the value colour, same placement.
void DrawItemValue(QPainter& painter, int x, int top, const QString& text, int font = 0);
// The background tints: oscillators and effects cycle through the blue
// ones, transition oscillators through the green ones. As a theme brush,
// and as its colour.
int ItemBackgroundBrush(std::size_t index, bool green);
QColor ItemBackground(std::size_t index, bool green);

} // namespace rix
