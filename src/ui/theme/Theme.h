#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <array>
#include <map>
#include <span>

namespace rix {

// The one set of fonts, colours and bitmaps every editor window draws with.
// Created once at start-up after the QApplication (tests create it too) and
// destroyed at exit; read-only in between, UI thread only.
//
// Fonts F0..F8, brushes B0..B39 and pens P0..P13 are addressed by their
// index; pens are all 1 pixel wide, so only their colour is kept. Bitmaps
// are the program's images by resource id (312..361).
class CTheme {
public:
    static constexpr int FONT_COUNT = 9;
    static constexpr int BRUSH_COUNT = 40;
    static constexpr int PEN_COUNT = 14;

    // Does nothing when the theme exists already.
    static void Create();
    static void Destroy();
    // The process-wide theme; Create must have run.
    static const CTheme& Get();

    const QFont& Font(int index) const;
    QColor Brush(int index) const;
    QColor Pen(int index) const;
    // A null image for an id that is not one of the program's bitmaps.
    const QImage& Bitmap(int resourceId) const;
    // The ids of the program's bitmaps, in increasing order.
    static std::span<const int> BitmapIds();

private:
    CTheme();

    std::array<QFont, FONT_COUNT> fonts;
    std::array<QColor, BRUSH_COUNT> brushes;
    std::array<QColor, PEN_COUNT> pens;
    std::map<int, QImage> bitmaps;
};

} // namespace rix
