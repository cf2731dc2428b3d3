#pragma once

#include <QImage>
#include <QRgb>

#include "Theme.h"

namespace rix {

// The colours of the theme's brushes and pens in one scheme, by index.
struct TSchemeColours {
    QRgb brushes[CTheme::BRUSH_COUNT];
    QRgb pens[CTheme::PEN_COUNT];
};

// The light scheme (the program's own colours) or the dark one, which keeps
// every role: the same brush is text, grid or cursor in both.
const TSchemeColours& SchemeColours(bool dark);

// A bitmap for the dark scheme: its greys (the light faces and the slate
// ink) turned over in lightness, its colours (the glyphs' accents) kept.
QImage DarkenedBitmap(const QImage& image);

} // namespace rix
