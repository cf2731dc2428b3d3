#include "SideWnd.h"

#include <QMouseEvent>
#include <QPainter>

#include "EffectListMainWnd.h"
#include "LabelPainter.h"
#include "MouseGestures.h"
#include "OscillatorListMainWnd.h"
#include "Theme.h"

namespace rix {

namespace {
constexpr int kTabFont = 5;
constexpr int kSelectedTabBitmap = 314;
constexpr int kUnselectedTabBitmap = 316;
constexpr int kEffectsTabX = 100;
constexpr int kListGap = 10;
// Theme colours by role.
constexpr int kSelectedLabelBrush = 0, kUnselectedLabelBrush = 1, kFramePen = 3, kBackgroundBrush = 9;
} // namespace

CSideWnd::CSideWnd(CSongEditor& editor, QWidget* parent)
    : QWidget(parent), oscillatorList(new COscillatorListMainWnd(editor, this)),
      effectList(new CEffectListMainWnd(editor, this))
{
    oscillatorList->setObjectName(QStringLiteral("COscillatorListMainWnd"));
    oscillatorList->setAccessibleName(QStringLiteral("COscillatorListMainWnd"));
    effectList->setObjectName(QStringLiteral("CEffectListMainWnd"));
    effectList->setAccessibleName(QStringLiteral("CEffectListMainWnd"));
    setToolTip(CMouseGestures::Tip(TMouseArea::SideTabs));
}

void CSideWnd::resizeEvent(QResizeEvent*)
{
    LayOut();
}

void CSideWnd::LayOut()
{
    const bool both = ShowsBothLists();
    // Side by side, the lists share the width with a gap between them.
    const int listWidth = both ? (width() - kListGap) / 2 : width();
    oscillatorList->setGeometry(1, TAB_HEIGHT + 1, listWidth - 2, height() - TAB_HEIGHT - 2);
    effectList->setGeometry(both ? width() - listWidth + 1 : 1, TAB_HEIGHT + 1, listWidth - 2,
                            height() - TAB_HEIGHT - 2);
    oscillatorList->setVisible(both || selectedTab == TAB_OSCILLATORS);
    effectList->setVisible(both || selectedTab == TAB_EFFECTS);
    update();
}

void CSideWnd::SelectTab(TTab tab)
{
    if (tab == selectedTab)
        return;
    selectedTab = tab;
    LayOut();
}

void CSideWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || ShowsBothLists())
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
    QPainter painter(this);
    painter.fillRect(rect(), CTheme::Get().Brush(kBackgroundBrush));
    if (ShowsBothLists()) {
        const int listWidth = (width() - kListGap) / 2;
        PaintTab(painter, 0, listWidth, TAB_OSCILLATORS, true);
        PaintTab(painter, width() - listWidth, listWidth, TAB_EFFECTS, true);
        return;
    }
    const bool oscillators = selectedTab == TAB_OSCILLATORS;
    PaintTab(painter, 0, width(), TAB_OSCILLATORS, oscillators);
    PaintTab(painter, kEffectsTabX, 0, TAB_EFFECTS, !oscillators);
}

void CSideWnd::PaintTab(QPainter& painter, int x, int listWidth, TTab tab, bool selected) const
{
    const CTheme& theme = CTheme::Get();
    painter.drawImage(x, 0, theme.Bitmap(selected ? kSelectedTabBitmap : kUnselectedTabBitmap, devicePixelRatioF()));
    const QColor label = theme.Brush(selected ? kSelectedLabelBrush : kUnselectedLabelBrush);
    const bool oscillators = tab == TAB_OSCILLATORS;
    CLabelPainter::Text(painter, x + (oscillators ? 12 : 24), 2,
                        oscillators ? QStringLiteral("Oscillators") : QStringLiteral("Effects"), theme.Font(kTabFont),
                        label);
    if (listWidth > 0) {
        painter.setPen(theme.Pen(kFramePen));
        painter.drawRect(x, TAB_HEIGHT - 1, listWidth - 1, height() - TAB_HEIGHT);
    }
}

} // namespace rix
