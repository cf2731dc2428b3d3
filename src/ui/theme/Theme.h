#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <array>
#include <map>
#include <span>
#include <tuple>

namespace rix {

// The one set of fonts, colours and bitmaps every editor window draws with.
// Created once at start-up after the QApplication (tests create it too) and
// destroyed at exit. It comes in two schemes: the light one of every look
// but Black, and a dark one with the same roles for the Black look. UI
// thread only.
//
// Fonts F0..F8, brushes B0..B39 and pens P0..P13 are addressed by their
// index; pens are all 1 pixel wide, so only their colour is kept. Bitmaps
// are the program's images by resource id (312..361), drawn for 1 and 2
// device pixels per pixel and darkened for the dark scheme.
class CTheme {
public:
    static constexpr int FONT_COUNT = 9;
    static constexpr int BRUSH_COUNT = 40;
    static constexpr int PEN_COUNT = 14;
    // The colour between the windows of the main view: the pattern rows'
    // and the mixer's white in the light scheme.
    static constexpr int BACKGROUND_BRUSH = 9;

    enum TScheme { SCHEME_LIGHT, SCHEME_DARK };

    // Does nothing when the theme exists already.
    static void Create();
    static void Destroy();
    // The process-wide theme; Create must have run.
    static const CTheme& Get();
    // Switches every colour and bitmap. Windows pick the change up at their
    // next paint: Generation() moves, so their off-screen images are drawn
    // again (COffscreenKey); the caller repaints them.
    static void SetScheme(TScheme scheme);
    TScheme Scheme() const { return scheme; }
    // Moves with every change of the scheme.
    int Generation() const { return generation; }

    const QFont& Font(int index) const;
    QColor Brush(int index) const;
    QColor Pen(int index) const;
    // The bitmap at 1 device pixel per pixel; a null image for an id that is
    // not one of the program's bitmaps.
    const QImage& Bitmap(int resourceId) const;
    // The bitmap for a device pixel ratio: its size times ratio in pixels,
    // with that ratio set, so that it draws sharply at its size in the
    // painter's coordinates.
    const QImage& Bitmap(int resourceId, qreal ratio) const;
    // The ids of the program's bitmaps, in increasing order.
    static std::span<const int> BitmapIds();

private:
    CTheme();
    void LoadBitmaps();

    TScheme scheme = SCHEME_LIGHT;
    int generation = 0;
    std::array<QFont, FONT_COUNT> fonts;
    std::array<QColor, BRUSH_COUNT> brushes;
    std::array<QColor, PEN_COUNT> pens;
    // Drawn at 1 and at 2 device pixels per pixel, in the current scheme.
    std::map<int, QImage> bitmaps;
    std::map<int, QImage> bitmaps2x;
    // Other ratios, made from the 2x drawings when first asked for: (id,
    // ratio in hundredths).
    mutable std::map<std::pair<int, int>, QImage> scaled;
};

} // namespace rix
