#include "InstrumentListBodyWnd.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include "InstrumentEditor.h"
#include "MouseGestures.h"
#include "SongEditor.h"
#include "Theme.h"

namespace rix {

CInstrumentListBodyWnd::CInstrumentListBodyWnd(CSongEditor& editor, QWidget* parent) : QWidget(parent), editor(editor)
{
    setToolTip(CMouseGestures::Tip(TMouseArea::InstrumentList));
}

void CInstrumentListBodyWnd::ShowChannel(int32_t newChannel)
{
    channel = newChannel;
    Rebuild();
}

void CInstrumentListBodyWnd::ReadInstrument()
{
    instrument = editor.Instruments().ReadChannel(channel);
}

void CInstrumentListBodyWnd::Rebuild()
{
    // First, since deleting a window with an open edit commits it.
    DropWindows();
    ReadInstrument();
    rows = ListRows(instrument);
    std::vector<int> heights;
    heights.reserve(rows.size());
    for (const TListRow& row : rows)
        heights.push_back(row.height);
    stack = CListStack(heights);
    Layout();
}

void CInstrumentListBodyWnd::Refresh()
{
    ReadInstrument();
    if (ListRows(instrument) != rows) {
        Rebuild();
        return;
    }
    for (const auto& [position, window] : windows)
        ReloadItem(window);
}

void CInstrumentListBodyWnd::DropWindows()
{
    // Taken out first: hiding a window may come back here.
    const std::map<std::size_t, QWidget*> dropped = std::exchange(windows, {});
    for (const auto& [position, window] : dropped)
        Retire(window);
}

void CInstrumentListBodyWnd::Retire(QWidget* window)
{
    window->hide();
    // A modal dialog or menu may be one the window opened and still runs
    // (an envelope editor): that loop would delete the window under its own
    // handler, so it waits for a layout after the dialog.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        retired.emplace_back(window);
    else
        window->deleteLater();
}

QWidget* CInstrumentListBodyWnd::ItemWindow(std::size_t position) const
{
    const auto found = windows.find(position);
    return found == windows.end() ? nullptr : found->second;
}

std::vector<QWidget*> CInstrumentListBodyWnd::ItemWindows() const
{
    std::vector<QWidget*> shown;
    shown.reserve(windows.size());
    for (const auto& [position, window] : windows)
        shown.push_back(window);
    return shown;
}

void CInstrumentListBodyWnd::ScrollToItem(std::size_t position)
{
    if (position >= rows.size())
        return;
    const int64_t showing = stack.ScrollShowing(position, ScrollPosition(), height());
    SetScrollPosition(static_cast<int>(std::clamp<int64_t>(showing, 0, scrollMaximum)));
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
    if (layingOut)
        return;
    layingOut = true;
    if (!retired.empty() && !QApplication::activeModalWidget() && !QApplication::activePopupWidget()) {
        for (const QPointer<QWidget>& window : std::exchange(retired, {}))
            if (window)
                window->deleteLater();
    }
    scrollMaximum = ScrollMaximum(stack.ContentHeight(), height());
    if (scrollMaximum > 0 || scrollBar) {
        QScrollBar* bar = ScrollBar();
        // Setting the range clamps the position, which lays out again.
        const QSignalBlocker blocker(bar);
        bar->setRange(0, scrollMaximum);
        bar->setVisible(scrollMaximum > 0);
    }
    const int scroll = ScrollPosition();
    const auto [first, end] = stack.Visible(scroll, height());
    // Windows out of view go, unless the focus is in one.
    const QWidget* focus = window()->focusWidget();
    std::vector<QWidget*> leaving;
    for (auto it = windows.begin(); it != windows.end();) {
        const bool inView = it->first >= first && it->first < end;
        if (inView || (focus && it->second->isAncestorOf(focus))) {
            ++it;
        } else {
            leaving.push_back(it->second);
            it = windows.erase(it);
        }
    }
    for (std::size_t position = first; position < end; ++position) {
        if (windows.count(position) == 0) {
            QWidget* window = CreateItem(rows[position]);
            windows.emplace(position, window);
            window->show();
        }
    }
    const int64_t viewTop = int64_t{scroll} * LIST_SCROLL_UNIT;
    for (const auto& [position, window] : windows) {
        // One far out of view (holding the focus) waits just outside the list.
        const int64_t top = stack.Top(position) - viewTop;
        window->setGeometry(LIST_ITEM_GAP, static_cast<int>(std::clamp<int64_t>(top, -window->height(), height())),
                            ItemWidth(width()), window->height());
    }
    for (QWidget* window : leaving)
        Retire(window);
    layingOut = false;
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
