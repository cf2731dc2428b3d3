#include "VolumeBarWnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "MouseGestures.h"
#include "Theme.h"
#include "UiMessages.h"

namespace rix {
namespace {

constexpr int TRACK_HEIGHT = 10;
constexpr int LEVEL_HEIGHT = 4;
constexpr int KNOB_SIZE = 14;
constexpr int TICKS = 5;

} // namespace

CVolumeBarWnd::CVolumeBarWnd(const QString& text, int backgroundBrush, QWidget* parent)
    : QWidget(parent), backgroundBrush(backgroundBrush)
{
    setAccessibleName(text);
    setObjectName(text);
    QString name = text;
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    setToolTip(QStringLiteral("%1 · %2").arg(name, CMouseGestures::Tip(TMouseArea::ValueBar)));
    // The off-screen image covers every pixel.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

float CVolumeBarWnd::ValueFromX(int x, int width)
{
    const int span = width - 2 * MARGIN;
    if (span <= 0)
        return x < width / 2 ? 0.0f : 1.0f;
    return std::clamp(static_cast<float>(x - MARGIN) / static_cast<float>(span), 0.0f, 1.0f);
}

void CVolumeBarWnd::SetValue(float newValue)
{
    newValue = std::clamp(newValue, 0.0f, 1.0f);
    if (newValue == value)
        return;
    value = newValue;
    dirty = true;
    update();
}

void CVolumeBarWnd::SetLevel(float newLevel)
{
    newLevel = std::clamp(newLevel, 0.0f, 1.0f);
    if (newLevel == level)
        return;
    // A meter moving within a pixel looks the same: not drawn again.
    const auto shownWidth = [this](float of) {
        return static_cast<int>(of * static_cast<float>(std::max(0, width() - 2 * MARGIN)) + 0.5f);
    };
    const bool same = shownWidth(newLevel) == shownWidth(level) && (newLevel > CLIP_LEVEL) == (level > CLIP_LEVEL);
    level = newLevel;
    if (same)
        return;
    dirty = true;
    update();
}

void CVolumeBarWnd::SetValueFromX(int x)
{
    const float newValue = ValueFromX(x, width());
    if (newValue == value)
        return;
    value = newValue;
    dirty = true;
    update();
    if (parentWidget() != nullptr)
        PostMessageTo(parentWidget(), MSG_VOLUME_BAR, std::exchange(posted, true) ? GESTURE_CONTINUES : GESTURE_STARTS,
                      reinterpret_cast<intptr_t>(this));
}

void CVolumeBarWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Qt grabs the mouse for the widget while the button is held.
    dragging = true;
    posted = false;
    SetValueFromX(static_cast<int>(event->position().x()));
}

void CVolumeBarWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging)
        SetValueFromX(static_cast<int>(event->position().x()));
}

void CVolumeBarWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragging = false;
}

void CVolumeBarWnd::resizeEvent(QResizeEvent*)
{
    offscreen = QImage();
    dirty = true;
}

void CVolumeBarWnd::paintEvent(QPaintEvent*)
{
    if (key.Changed(devicePixelRatioF()))
        offscreen = QImage();
    if (offscreen.isNull() || dirty)
        Render();
    QPainter(this).drawImage(0, 0, offscreen);
}

void CVolumeBarWnd::Render()
{
    const CTheme& theme = CTheme::Get();
    if (offscreen.isNull())
        offscreen = MakeOffscreen(size(), devicePixelRatioF());
    dirty = false;
    QPainter painter(&offscreen);
    painter.fillRect(rect(), theme.Brush(backgroundBrush));

    const int trackWidth = std::max(0, width() - 2 * MARGIN);
    const int top = (height() - TRACK_HEIGHT) / 2;
    const int valueX = MARGIN + static_cast<int>(value * static_cast<float>(trackWidth) + 0.5f);
    const int levelWidth = static_cast<int>(level * static_cast<float>(trackWidth) + 0.5f);

    // Scale ticks at 0, 1/4 .. 1, reaching above and below the track.
    painter.setPen(theme.Pen(11));
    for (int tick = 0; tick < TICKS; ++tick) {
        const int x = MARGIN + tick * trackWidth / (TICKS - 1);
        painter.drawLine(x, top - 4, x, top + TRACK_HEIGHT + 3);
    }

    painter.fillRect(MARGIN, top, trackWidth, TRACK_HEIGHT, theme.Brush(21));
    painter.fillRect(MARGIN, top, valueX - MARGIN, TRACK_HEIGHT, theme.Brush(23));
    // The meter runs along the middle of the track, red when it clips.
    painter.fillRect(MARGIN, top + (TRACK_HEIGHT - LEVEL_HEIGHT) / 2, levelWidth, LEVEL_HEIGHT,
                     theme.Brush(level > CLIP_LEVEL ? 19 : 16));
    painter.setPen(theme.Pen(11));
    painter.drawRect(MARGIN, top, trackWidth, TRACK_HEIGHT - 1);
    if (valueX > MARGIN) {
        painter.setPen(theme.Pen(10));
        painter.drawRect(MARGIN, top, valueX - MARGIN, TRACK_HEIGHT - 1);
    }

    const QRect knob(valueX - KNOB_SIZE / 2, (height() - KNOB_SIZE) / 2, KNOB_SIZE - 1, KNOB_SIZE - 1);
    painter.fillRect(knob, theme.Brush(22));
    painter.setPen(theme.Pen(9));
    painter.drawRect(knob);
}

} // namespace rix
