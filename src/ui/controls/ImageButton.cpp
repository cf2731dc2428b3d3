#include "ImageButton.h"

#include <QPainter>

#include "Theme.h"

namespace rix {

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
    const QImage& image = theme.Bitmap(pushed ? pressedBitmapId : normalBitmapId);
    const QRect cut((image.width() - w) / 2, (image.height() - h) / 2, w, h);
    const QRect shown = cut.intersected(image.rect());
    painter.drawImage(QPoint(1, 1) + shown.topLeft() - cut.topLeft(), image, shown);
}

} // namespace rix
