#pragma once

#include <QAbstractButton>
#include <QString>

namespace rix {

// A push button drawn from a pair of theme bitmaps (normal, pressed) inside
// a two-pixel bevel that turns inwards while it is pushed; disabled, the
// image fades. Its text is not drawn: it names the button (accessible and
// object name). Emits clicked().
class CImageButton : public QAbstractButton {
    Q_OBJECT
public:
    CImageButton(const QString& text, int normalBitmapId, int pressedBitmapId, QWidget* parent);

    void SetImages(int normalBitmapId, int pressedBitmapId);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int normalBitmapId;
    int pressedBitmapId;
};

} // namespace rix
