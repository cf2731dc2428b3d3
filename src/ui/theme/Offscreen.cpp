#include "Offscreen.h"

#include <algorithm>
#include <cmath>

#include "Theme.h"

namespace rix {

namespace {

QSize Pixels(QSize size, qreal ratio)
{
    const auto pixels = [ratio](int length) { return std::max(1, static_cast<int>(std::ceil(length * ratio))); };
    return {pixels(size.width()), pixels(size.height())};
}

} // namespace

QImage MakeOffscreen(QSize size, qreal ratio)
{
    QImage image(Pixels(size, ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

bool OffscreenFits(const QImage& image, QSize size, qreal ratio)
{
    return !image.isNull() && image.devicePixelRatio() == ratio && image.size() == Pixels(size, ratio);
}

bool COffscreenKey::Changed(qreal newRatio)
{
    const int newGeneration = CTheme::Get().Generation();
    if (newRatio == ratio && newGeneration == generation)
        return false;
    ratio = newRatio;
    generation = newGeneration;
    return true;
}

} // namespace rix
