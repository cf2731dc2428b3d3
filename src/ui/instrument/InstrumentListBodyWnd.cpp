#include "InstrumentListBodyWnd.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "InstrumentListGeometry.h"
#include "MouseGestures.h"
#include "Theme.h"

namespace rix {

CInstrumentListBodyWnd::CInstrumentListBodyWnd(QWidget* parent) : QWidget(parent)
{
    setToolTip(CMouseGestures::Tip(TMouseArea::InstrumentList));
}

void CInstrumentListBodyWnd::ShowChannel(int32_t newChannel)
{
    channel = newChannel;
    Rebuild();
}

void CInstrumentListBodyWnd::Rebuild()
{
    for (QWidget* item : items) {
        item->hide();
        item->deleteLater();
    }
    shownKinds = ItemKinds();
    items = CreateItems();
    for (QWidget* item : items)
        item->show();
    Layout();
}

void CInstrumentListBodyWnd::Refresh()
{
    if (ItemKinds() == shownKinds)
        ReloadItems();
    else
        Rebuild();
}

int CInstrumentListBodyWnd::ScrollPosition() const
{
    return scrollBar ? scrollBar->value() : 0;
}

void CInstrumentListBodyWnd::SetScrollPosition(int position)
{
    ScrollBar()->setValue(std::clamp(position, 0, scrollMaximum));
}

QScrollBar* CInstrumentListBodyWnd::ScrollBar()
{
    if (!scrollBar) {
        scrollBar = new QScrollBar(Qt::Vertical, this);
        scrollBar->setObjectName(QStringLiteral("List scroll bar"));
        scrollBar->setAccessibleName(QStringLiteral("List scroll bar"));
        scrollBar->setToolTip(QStringLiteral("Scroll the list"));
        scrollBar->setSingleStep(1);
        scrollBar->setPageStep(LIST_SCROLL_PAGE);
        scrollBar->setRange(0, 0);
        scrollBar->setGeometry(width() - LIST_SCROLLBAR_WIDTH, 0, LIST_SCROLLBAR_WIDTH, height());
        connect(scrollBar, &QScrollBar::valueChanged, this, [this] { Layout(); });
    }
    return scrollBar;
}

void CInstrumentListBodyWnd::Layout()
{
    std::vector<int> heights;
    for (QWidget* item : items)
        heights.push_back(item->height());
    scrollMaximum = rix::ScrollMaximum(ContentHeight(heights), height());
    if (scrollMaximum > 0 || scrollBar) {
        QScrollBar* bar = ScrollBar();
        // Setting the range clamps the position, which lays out again.
        const QSignalBlocker blocker(bar);
        bar->setRange(0, scrollMaximum);
        bar->setVisible(scrollMaximum > 0);
    }
    const std::vector<int> tops = StackItems(heights, ScrollPosition());
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i]->setGeometry(LIST_ITEM_GAP, tops[i], ItemWidth(width()), items[i]->height());
}

void CInstrumentListBodyWnd::resizeEvent(QResizeEvent*)
{
    if (scrollBar)
        scrollBar->setGeometry(width() - LIST_SCROLLBAR_WIDTH, 0, LIST_SCROLLBAR_WIDTH, height());
    Layout();
}

void CInstrumentListBodyWnd::wheelEvent(QWheelEvent* event)
{
    if (scrollMaximum == 0)
        return;
    const int steps = event->angleDelta().y() / 120;
    SetScrollPosition(ScrollPosition() - steps * 3);
}

void CInstrumentListBodyWnd::paintEvent(QPaintEvent*)
{
    const CTheme& theme = CTheme::Get();
    QPainter painter(this);
    painter.fillRect(rect(), theme.Brush(7));
    painter.setPen(theme.Pen(3));
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

} // namespace rix
