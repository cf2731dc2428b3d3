#pragma once

#include <QImage>
#include <QSize>

namespace rix {

// An off-screen image for a window's picture at the window's device pixel
// ratio (its screen's ratio times the zoom): size, in the window's pixels,
// times ratio device pixels, with the ratio set. A painter on it works in
// the window's coordinates, and what it draws - text above all - is as
// sharp as the screen allows; drawn into the window it takes size pixels.
QImage MakeOffscreen(QSize size, qreal ratio);
// Whether image is one that MakeOffscreen(size, ratio) makes.
bool OffscreenFits(const QImage& image, QSize size, qreal ratio);

// What a window's off-screen images were drawn for: the device pixel ratio
// and the theme's generation (its colour scheme). Changed tells, once per
// change, that the images must be made and drawn again: the window moved to
// a screen of another density, or the look switched between light and dark.
class COffscreenKey {
public:
    // Remembers ratio and the theme's generation; true when either differs
    // from what was remembered (always at the first call).
    bool Changed(qreal ratio);

private:
    qreal ratio = 0;
    int generation = -1;
};

} // namespace rix
