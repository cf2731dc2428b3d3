#include "OrderTableWnd.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "MouseGestures.h"
#include "PlaybackController.h"
#include "SongEditor.h"

namespace rix {

namespace {

constexpr int kAutoScrollMs = 50;
constexpr int kAutoScrollRows = 2;
constexpr int kLastPosition = RIX_ORDER_POSITIONS - 1;

} // namespace

COrderTableWnd::COrderTableWnd(CSongEditor& editor, QWidget* parent)
    : CGridWnd(editor, look, {COrderTableGeometry::CELL_SIZE, COrderTableGeometry::CELL_SIZE}, parent),
      scrollBar(new QScrollBar(Qt::Vertical, this))
{
    setAccessibleName(QStringLiteral("Order table"));
    setObjectName(QStringLiteral("Order table"));
    setToolTip(CMouseGestures::Tip(TMouseArea::OrderTable));
    look.cursor = {controller.GetCurrentChannel(), controller.GetCurrentOrder()};
    look.selection.Collapse(look.cursor);
    scrollBar->setAccessibleName(QStringLiteral("Order table scroll bar"));
    scrollBar->setObjectName(QStringLiteral("Order table scroll bar"));
    scrollBar->setToolTip(QStringLiteral("Scroll the order table"));
    scrollBar->setSingleStep(COrderTableGeometry::LINE_STEP);
    scrollBar->setPageStep(COrderTableGeometry::PAGE_STEP);
    connect(scrollBar, &QScrollBar::valueChanged, this, [this](int value) { ScrollTo(value); });
    RedrawAll();
    controller.AddListener(this, POSTS_POSITION);
}

COrderTableWnd::~COrderTableWnd()
{
    controller.RemoveListener(this);
}

void COrderTableWnd::SetChannelCursor(int32_t channel)
{
    ShowCursorAt({channel, look.cursor.row});
}

void COrderTableWnd::SetOrderCursor(int32_t position)
{
    ShowCursorAt({look.cursor.channel, position});
}

void COrderTableWnd::OnSongChanged(const TSongChange& change)
{
    if (change.Names(SONG_ORDER_TABLE))
        RedrawAll();
}

std::optional<TCell> COrderTableWnd::CellAt(QPoint point) const
{
    return geometry.CellAt(point);
}

TCell COrderTableWnd::ClampedCellAt(QPoint point) const
{
    return geometry.ClampedCellAt(point);
}

void COrderTableWnd::MoveCursorTo(TCell cell)
{
    controller.SelectChannel(cell.channel);
    controller.SetOrderPosition(cell.row);
}

int32_t COrderTableWnd::LastRow() const
{
    return std::max(editor.Read([](const CRixModuleData& song) { return song.GetSongLength(); }) - 1, 0);
}

void COrderTableWnd::RunCommand(const TGridKey& binding, const QKeyEvent& event)
{
    bool isDigit = false;
    const uint32_t digit = event.text().toUInt(&isDigit, 16);
    if (binding.command == TGridCommand::TypePattern && isDigit)
        EnterAtCursor(digit);
}

intptr_t COrderTableWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message != MSG_PLAYING_POSITION)
        return CMessageWidget::OnMessage(message, wParam, lParam);
    const uintptr_t row = wParam;
    const int32_t position =
        row < NO_PLAYING_POSITION && row / RIX_ROWS < uintptr_t(RIX_ORDER_POSITIONS) ? int32_t(row / RIX_ROWS) : -1;
    if (position != look.playPosition) {
        const int32_t old = look.playPosition;
        look.playPosition = position;
        RedrawRows(old, old);
        RedrawRows(position, position);
        if (followPlayback)
            BringIntoView(position >= 0 ? position : look.cursor.row);
    }
    return 1;
}

void COrderTableWnd::FollowPlaybackChanged()
{
    if (followPlayback && look.playPosition >= 0)
        BringIntoView(look.playPosition);
}

void COrderTableWnd::paintEvent(QPaintEvent*)
{
    // Another screen density or another theme scheme: everything anew.
    if (painter.Prepare(devicePixelRatioF()))
        RedrawAll();
    QPainter target(this);
    painter.Paint(target, geometry, look, DropOutline());
}

void COrderTableWnd::resizeEvent(QResizeEvent*)
{
    geometry.SetClientHeight(height());
    scrollBar->setGeometry(width() - COrderTableGeometry::SCROLL_BAR_WIDTH, COrderTableGeometry::HEADER_HEIGHT,
                           COrderTableGeometry::SCROLL_BAR_WIDTH, height() - COrderTableGeometry::HEADER_HEIGHT);
    scrollBar->setRange(0, geometry.MaxScroll());
    scrollBar->setValue(geometry.ScrollPosition());
}

void COrderTableWnd::PointerDragged(QPoint point)
{
    const auto run = [this](int& timer, bool wanted) {
        if (wanted && !timer)
            timer = startTimer(kAutoScrollMs);
        else if (!wanted && timer) {
            killTimer(timer);
            timer = 0;
        }
    };
    run(scrollUpTimer, point.y() < COrderTableGeometry::HEADER_HEIGHT - 1);
    run(scrollDownTimer, point.y() > height());
}

void COrderTableWnd::PointerReleased()
{
    for (int* timer : {&scrollUpTimer, &scrollDownTimer})
        if (*timer) {
            killTimer(*timer);
            *timer = 0;
        }
}

void COrderTableWnd::wheelEvent(QWheelEvent* event)
{
    ScrollTo(geometry.WheelTarget(event->angleDelta().y()));
}

void COrderTableWnd::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == scrollUpTimer)
        AutoScroll(-1);
    else if (event->timerId() == scrollDownTimer)
        AutoScroll(1);
}

void COrderTableWnd::AutoScroll(int direction)
{
    const int before = geometry.ScrollPosition();
    ScrollTo(before + direction * kAutoScrollRows * COrderTableGeometry::CELL_SIZE);
    ScrollDrag(geometry.ScrollPosition() - before, kAutoScrollRows * direction);
}

void COrderTableWnd::ScrollTo(int position)
{
    if (geometry.SetScrollPosition(position) == 0)
        return;
    scrollBar->setValue(geometry.ScrollPosition());
    update();
}

void COrderTableWnd::BringIntoView(int32_t position)
{
    COrderTableGeometry moved = geometry;
    moved.BringIntoView(position);
    ScrollTo(moved.ScrollPosition());
}

void COrderTableWnd::RedrawRows(int32_t first, int32_t last)
{
    if (last < 0)
        return;
    TOrderEntries entries;
    editor.Read([&entries](const CRixModuleData& song) {
        std::copy(&song.orderTable[0][0], &song.orderTable[0][0] + RIX_CHANNELS * RIX_ORDER_POSITIONS,
                  &entries[0][0]);
    });
    painter.DrawRows(entries, look, first, last);
    // One pixel more each side for the selection edge.
    update(geometry.RowsRect(first, last).adjusted(0, -1, 0, 1));
}

void COrderTableWnd::RedrawAll()
{
    RedrawRows(0, kLastPosition);
    update();
}

} // namespace rix
