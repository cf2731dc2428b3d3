#pragma once

#include <QTimer>
#include <QWidget>

namespace rix {

// The 13 x 20 up/down spin button. Pressing the upper half (y < 10) posts
// MSG_SPIN_UP to the parent widget, the lower half MSG_SPIN_DOWN, with
// lParam = this: one step at once (wParam GESTURE_STARTS), then one every
// RepeatInterval after RepeatDelay while the button is held (wParam
// GESTURE_CONTINUES).
class CSpinWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int WIDTH = 13;
    static constexpr int HEIGHT = 20;
    static constexpr int RepeatDelay = 300;    // ms before the repeat starts
    static constexpr int RepeatInterval = 80;  // ms between repeated steps

    explicit CSpinWnd(QWidget* parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Step();
    void StartRepeat();

    // +1 while the upper half is held, -1 the lower one, 0 when released.
    int direction = 0;
    // The next step is the first of a press.
    bool firstStep = false;
    QTimer delayTimer;
    QTimer repeatTimer;
};

} // namespace rix
