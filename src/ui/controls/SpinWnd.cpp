#include "SpinWnd.h"

#include <QMouseEvent>
#include <QPainter>

#include "MouseGestures.h"
#include "Theme.h"
#include "UiMessages.h"

namespace rix {

CSpinWnd::CSpinWnd(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Spin"));
    setObjectName(QStringLiteral("Spin"));
    setToolTip(CMouseGestures::Tip(TMouseArea::Spin));
    setFixedSize(WIDTH, HEIGHT);
    delayTimer.setSingleShot(true);
    delayTimer.setInterval(RepeatDelay);
    repeatTimer.setInterval(RepeatInterval);
    connect(&delayTimer, &QTimer::timeout, this, &CSpinWnd::StartRepeat);
    connect(&repeatTimer, &QTimer::timeout, this, &CSpinWnd::Step);
}

QSize CSpinWnd::sizeHint() const
{
    return {WIDTH, HEIGHT};
}

void CSpinWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, CTheme::Get().Bitmap(353, devicePixelRatioF()));
}

void CSpinWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The widget grabs the mouse implicitly while a button is held.
    direction = event->position().y() < HEIGHT / 2 ? 1 : -1;
    firstStep = true;
    Step();
    repeatTimer.stop();
    delayTimer.start();
}

void CSpinWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click steps like any other.
    mousePressEvent(event);
}

void CSpinWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    delayTimer.stop();
    repeatTimer.stop();
    direction = 0;
}

void CSpinWnd::StartRepeat()
{
    repeatTimer.start();
}

void CSpinWnd::Step()
{
    if (direction == 0 || parentWidget() == nullptr)
        return;
    PostMessageTo(parentWidget(), direction > 0 ? MSG_SPIN_UP : MSG_SPIN_DOWN,
                  firstStep ? GESTURE_STARTS : GESTURE_CONTINUES, reinterpret_cast<intptr_t>(this));
    firstStep = false;
}

} // namespace rix
