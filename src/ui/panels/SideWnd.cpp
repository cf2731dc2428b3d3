#include "SideWnd.h"

#include <QMouseEvent>
#include <QPainter>

#include "EffectListMainWnd.h"
#include "LabelPainter.h"
#include "OscillatorListMainWnd.h"
#include "Theme.h"

namespace rix {

namespace {
constexpr int kTabFont = 5;
constexpr int kSelectedTabBitmap = 314;
constexpr int kUnselectedTabBitmap = 316;
constexpr int kEffectsTabX = 100;
// Theme colours by role.
constexpr int kSelectedLabelBrush = 0, kUnselectedLabelBrush = 1, kFramePen = 3;
} // namespace

CSideWnd::CSideWnd(CSongEditor& editor, QWidget* parent)
    : QWidget(parent), oscillatorList(new COscillatorListMainWnd(editor, this)),
      effectList(new CEffectListMainWnd(editor, this))
{
    oscillatorList->setObjectName(QStringLiteral("COscillatorListMainWnd"));
    oscillatorList->setAccessibleName(QStringLiteral("COscillatorListMainWnd"));
    effectList->setObjectName(QStringLiteral("CEffectListMainWnd"));
    effectList->setAccessibleName(QStringLiteral("CEffectListMainWnd"));
    effectList->hide();
}

void CSideWnd::resizeEvent(QResizeEvent*)
{
    const QRect lists(1, TAB_HEIGHT + 1, width() - 2, height() - TAB_HEIGHT - 2);
    oscillatorList->setGeometry(lists);
    effectList->setGeometry(lists);
}

void CSideWnd::SelectTab(TTab tab)
{
    if (tab == selectedTab)
        return;
    selectedTab = tab;
    oscillatorList->setVisible(tab == TAB_OSCILLATORS);
    effectList->setVisible(tab == TAB_EFFECTS);
    update();
}

void CSideWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (point.y() >= TAB_HEIGHT)
        return;
    if (point.x() < kEffectsTabX)
        SelectTab(TAB_OSCILLATORS);
    else if (point.x() > kEffectsTabX && point.x() < 2 * kEffectsTabX)
        SelectTab(TAB_EFFECTS);
}

void CSideWnd::paintEvent(QPaintEvent*)
{
    const CTheme& theme = CTheme::Get();
    const bool oscillators = selectedTab == TAB_OSCILLATORS;
    const qreal ratio = devicePixelRatioF();
    QPainter painter(this);
    painter.drawImage(0, 0, theme.Bitmap(oscillators ? kSelectedTabBitmap : kUnselectedTabBitmap, ratio));
    painter.drawImage(kEffectsTabX, 0, theme.Bitmap(oscillators ? kUnselectedTabBitmap : kSelectedTabBitmap, ratio));
    const QFont& font = theme.Font(kTabFont);
    const QColor selected = theme.Brush(kSelectedLabelBrush);
    const QColor unselected = theme.Brush(kUnselectedLabelBrush);
    CLabelPainter::Text(painter, 12, 2, QStringLiteral("Oscillators"), font, oscillators ? selected : unselected);
    CLabelPainter::Text(painter, 124, 2, QStringLiteral("Effects"), font, oscillators ? unselected : selected);
    painter.setPen(theme.Pen(kFramePen));
    painter.drawRect(0, TAB_HEIGHT - 1, width() - 1, height() - TAB_HEIGHT);
}

} // namespace rix
