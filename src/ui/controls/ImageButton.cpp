#include "ImageButton.h"

#include <QPainter>
#include <algorithm>

#include "Theme.h"

namespace rix {

namespace {

constexpr qreal kDisabledOpacity = 0.35;

} // namespace

CImageButton::CImageButton(const QString& text, int normalBitmapId, int pressedBitmapId, QWidget* parent)
    : QAbstractButton(parent), normalBitmapId(normalBitmapId), pressedBitmapId(pressedBitmapId)
{
    setText(text);
    setAccessibleName(text);
    setObjectName(text);
    setFocusPolicy(Qt::NoFocus);
}

void CImageButton::SetImages(int normalBitmapId, int pressedBitmapId)
{
    this->normalBitmapId = normalBitmapId;
    this->pressedBitmapId = pressedBitmapId;
    update();
}

QSize CImageButton::sizeHint() const
{
    return CTheme::Get().Bitmap(normalBitmapId).size() + QSize(2, 2);
}

void CImageButton::paintEvent(QPaintEvent*)
{
    const CTheme& theme = CTheme::Get();
    const int w = width() - 2;
    const int h = height() - 2;
    const bool pushed = isDown();
    QPainter painter(this);
    // Outer frame dark and inner light while pushed: the bevel turns inwards.
    painter.setPen(theme.Pen(pushed ? 1 : 0));
    painter.drawRect(0, 0, w, h);
    painter.setPen(theme.Pen(pushed ? 0 : 1));
    painter.drawRect(1, 1, w, h);
    // The image's centre stays at the button's centre: a larger image is cut
    // to the inside of the bevel, a smaller one is centred in it.
    // In the bitmap's size at 1:1 (its own pixels may be finer).
    const int id = pushed ? pressedBitmapId : normalBitmapId;
    const QSize size = theme.Bitmap(id).size();
    const QRect cut((size.width() - w) / 2, (size.height() - h) / 2, w, h);
    const QRect shown = cut.intersected(QRect(QPoint(0, 0), size));
    const QImage& image = theme.Bitmap(id, devicePixelRatioF());
    // Disabled, the image fades into the face.
    painter.setOpacity(isEnabled() ? 1.0 : kDisabledOpacity);
    const qreal scale = image.width() / qreal(std::max(1, size.width()));
    const QRectF source(shown.x() * scale, shown.y() * scale, shown.width() * scale, shown.height() * scale);
    painter.drawImage(QRectF(QPoint(1, 1) + shown.topLeft() - cut.topLeft(), shown.size()), image, source);
}

} // namespace rix
