#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "Offscreen.h"

namespace rix {

// A horizontal value bar (0..1) with a level meter and a draggable knob.
// A click or drag that changes the value posts MSG_VOLUME_BAR (lParam =
// this; wParam GESTURE_STARTS for the first change of a press, then
// GESTURE_CONTINUES) to the parent widget; the owner sets value and level
// directly.
class CVolumeBarWnd : public QWidget {
    Q_OBJECT
public:
    // Pixels left free of the track at each end, so the knob fits.
    static constexpr int MARGIN = 8;
    // Levels above this are drawn in the clip colour.
    static constexpr float CLIP_LEVEL = 0.99f;

    // background: the theme brush the owner's face is painted with.
    CVolumeBarWnd(const QString& text, int backgroundBrush, QWidget* parent);

    void SetValue(float value);
    float GetValue() const { return value; }
    void SetLevel(float level);

    // (x - MARGIN) / (width - 2 * MARGIN), clamped to 0..1.
    static float ValueFromX(int x, int width);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetValueFromX(int x);
    void Render();

    float value = 0.5f;
    float level = 0.0f;
    int backgroundBrush;
    // The bar as last drawn, of the widget's size at its device pixel
    // ratio; redrawn when dirty or when the ratio or the theme changed.
    QImage offscreen;
    COffscreenKey key;
    bool dirty = true;
    bool dragging = false;
    // A change of the press that is going on has been posted.
    bool posted = false;
};

} // namespace rix
