#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>

namespace rix {

// Text placed the way the panels lay out their labels: (x, y) is the top
// left corner of the text, not its baseline. Labels carry a one-pixel drop
// shadow in the theme's shadow colour, below and right of the black text.
class CLabelPainter {
public:
    static void Text(QPainter& painter, int x, int y, const QString& text, const QFont& font, QColor colour);
    static void Shadowed(QPainter& painter, int x, int y, const QString& text, const QFont& font);
};

} // namespace rix
