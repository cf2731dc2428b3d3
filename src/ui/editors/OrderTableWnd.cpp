#include "OrderTableWnd.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "ArrangementEdits.h"
#include "PatternWnd.h"
#include "PlaybackController.h"
#include "RixModule.h"

namespace rix {

namespace {

constexpr int kAutoScrollMs = 50;
constexpr int kAutoScrollPixels = 28;  // two rows
constexpr int kLastPosition = RIX_ORDER_POSITIONS - 1;

} // namespace

COrderTableWnd::COrderTableWnd(CPlaybackController& controller, QWidget* parent)
    : CMessageWidget(parent), controller(controller), scrollBar(new QScrollBar(Qt::Vertical, this))
{
    setAccessibleName(QStringLiteral("Order table"));
    setObjectName(QStringLiteral("Order table"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    look.cursor = {controller.GetCurrentChannel(), controller.GetCurrentOrder()};
    look.selection.Collapse(look.cursor);
    scrollBar->setAccessibleName(QStringLiteral("Order table scroll bar"));
    scrollBar->setObjectName(QStringLiteral("Order table scroll bar"));
    scrollBar->setSingleStep(COrderTableGeometry::LINE_STEP);
    scrollBar->setPageStep(COrderTableGeometry::PAGE_STEP);
    connect(scrollBar, &QScrollBar::valueChanged, this, [this](int value) { ScrollTo(value); });
    RedrawAll();
    controller.RegisterTarget(EDITOR_ORDER_TABLE, this);
}

COrderTableWnd::~COrderTableWnd()
{
    controller.RegisterTarget(EDITOR_ORDER_TABLE, nullptr);
}

void COrderTableWnd::SetPatternWnd(CPatternWnd* patternWnd)
{
    pattern = patternWnd;
}

void COrderTableWnd::StepCursorCell(int delta)
{
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        uint32_t& cell = data->orderTable[look.cursor.channel][look.cursor.row];
        cell = uint32_t(std::clamp(int64_t(cell) + delta, int64_t(0), int64_t(RIX_PATTERNS - 1)));
    }
    EditDone();
}

void COrderTableWnd::SetChannelCursor(int32_t channel)
{
    MoveCursorTo(look.cursor.row, channel);
}

void COrderTableWnd::SetOrderCursor(int32_t position)
{
    MoveCursorTo(position, look.cursor.channel);
}

void COrderTableWnd::MoveCursorTo(int32_t position, int32_t channel)
{
    const TCell cell{std::clamp(channel, 0, RIX_CHANNELS - 1), std::clamp(position, 0, kLastPosition)};
    if (cell == look.cursor)
        return;
    const int32_t old = look.cursor.row;
    look.cursor = cell;
    RedrawRows(old, old);
    SetSelection(CCellSelection::On(cell));
    BringIntoView(cell.row);
}

void COrderTableWnd::Refresh()
{
    RedrawAll();
}

void COrderTableWnd::Repaint()
{
    update();
}

void COrderTableWnd::Copy()
{
    CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
    clipboard = CArrangementEdits::CopyOrderBlock(*data, look.selection);
}

void COrderTableWnd::Cut()
{
    Copy();
    ClearSelection();
}

void COrderTableWnd::Paste()
{
    if (clipboard.IsEmpty())
        return;
    controller.TakeSnapshot();
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        CArrangementEdits::WriteOrderBlock(*data, clipboard, look.cursor);
    }
    EditDone();
}

intptr_t COrderTableWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message != MSG_PLAYING_POSITION)
        return CMessageWidget::OnMessage(message, wParam, lParam);
    const int32_t position = wParam < uintptr_t(RIX_ORDER_POSITIONS) ? int32_t(wParam) : -1;
    if (position != look.playPosition) {
        const int32_t old = look.playPosition;
        look.playPosition = position;
        RedrawRows(old, old);
        RedrawRows(position, position);
        BringIntoView(position >= 0 ? position : look.cursor.row);
    }
    return 1;
}

void COrderTableWnd::paintEvent(QPaintEvent*)
{
    // Another screen density or another theme scheme: everything anew.
    if (painter.Prepare(devicePixelRatioF()))
        RedrawAll();
    QPainter target(this);
    painter.Paint(target, geometry, look, dragging ? std::optional<TCell>(dropCell) : std::nullopt);
}

void COrderTableWnd::resizeEvent(QResizeEvent*)
{
    geometry.SetClientHeight(height());
    scrollBar->setGeometry(width() - COrderTableGeometry::SCROLL_BAR_WIDTH, COrderTableGeometry::HEADER_HEIGHT,
                           COrderTableGeometry::SCROLL_BAR_WIDTH, height() - COrderTableGeometry::HEADER_HEIGHT);
    scrollBar->setRange(0, geometry.MaxScroll());
    scrollBar->setValue(geometry.ScrollPosition());
}

void COrderTableWnd::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const auto go = [this](int32_t position) {
        controller.SelectChannel(look.cursor.channel);
        controller.SetOrderPosition(position);
    };
    const int32_t position = look.cursor.row;
    switch (event->key()) {
    case Qt::Key_Up: go(position - 1); return;
    case Qt::Key_Down: go(position + 1); return;
    case Qt::Key_Left: controller.SelectChannel(look.cursor.channel - 1); return;
    case Qt::Key_Right: controller.SelectChannel(look.cursor.channel + 1); return;
    case Qt::Key_PageUp: go(position - 16); return;
    case Qt::Key_PageDown: go(position + 16); return;
    case Qt::Key_Home: go(0); return;
    case Qt::Key_End: {
        int32_t length;
        {
            CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
            length = data->GetSongLength();
        }
        go(std::max(length - 1, 0));
        return;
    }
    case Qt::Key_Delete:
        if (look.selection.IsSingleCell())
            TypeCursorCell(0);
        else
            ClearSelection();
        return;
    case Qt::Key_Insert: InsertOrDelete(true, shift, position); return;
    case Qt::Key_Backspace:
        if (position > 0) {
            go(position - 1);
            InsertOrDelete(false, shift, position - 1);
        }
        return;
    case Qt::Key_Tab:
        if (pattern)
            pattern->setFocus(Qt::TabFocusReason);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (controller.IsPlaying())
            controller.Stop();
        else if (ctrl)
            controller.PlayPatternLoop();
        else
            controller.PlaySong();
        return;
    default: break;
    }
    const QString text = event->text();
    if (text.size() != 1 || ctrl)
        return CMessageWidget::keyPressEvent(event);
    bool isDigit = false;
    const uint32_t digit = text.toUInt(&isDigit, 16);
    if (isDigit) {
        TypeCursorCell(digit);
    } else if (text == QLatin1String("+") || text == QLatin1String("-")) {
        controller.TakeSnapshot();
        StepCursorCell(text == QLatin1String("+") ? 1 : -1);
    }
}

void COrderTableWnd::TypeCursorCell(uint32_t value)
{
    controller.TakeSnapshot();
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        data->orderTable[look.cursor.channel][look.cursor.row] = value;
    }
    EditDone();
    if (look.cursor.row < kLastPosition)
        controller.SetOrderPosition(look.cursor.row + 1);
}

void COrderTableWnd::InsertOrDelete(bool insert, bool allChannels, int32_t position)
{
    controller.TakeSnapshot();
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        if (allChannels && insert)
            data->InsertOrderPosition(uint32_t(position));
        else if (allChannels)
            data->DeleteOrderPosition(uint32_t(position));
        else if (insert)
            CArrangementEdits::InsertOrderCell(*data, look.cursor.channel, position);
        else
            CArrangementEdits::DeleteOrderCell(*data, look.cursor.channel, position);
    }
    EditDone();
}

void COrderTableWnd::ClearSelection()
{
    controller.TakeSnapshot();
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        CArrangementEdits::ClearOrderBlock(*data, look.selection);
    }
    EditDone();
}

void COrderTableWnd::MoveBlock(TCell drop)
{
    controller.TakeSnapshot();
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        const TCellBlock block = CArrangementEdits::CopyOrderBlock(*data, look.selection);
        CArrangementEdits::ClearOrderBlock(*data, look.selection);
        CArrangementEdits::WriteOrderBlock(*data, block, drop);
    }
    CCellSelection moved;
    moved.SetBlock(drop, look.selection.Width(), look.selection.Height());
    look.selection = moved;
    EditDone();
}

void COrderTableWnd::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const std::optional<TCell> cell = geometry.CellAt(event->position().toPoint());
    if (!cell)
        return;
    if (look.selection.Contains(*cell)) {
        dragging = true;
        dragStart = event->position().toPoint();
        dropCell = look.selection.Low();
        setCursor(Qt::SizeAllCursor);
    } else {
        selecting = true;
        controller.SetOrderPosition(cell->row);
        controller.SelectChannel(cell->channel);
        SetSelection(CCellSelection::On(*cell));
    }
}

TCell COrderTableWnd::DropCellFor(int dx, int dy) const
{
    const CCellSelection& selection = look.selection;
    const int cell = COrderTableGeometry::CELL_SIZE;
    return {std::clamp(selection.LowChannel() + dx / cell, 0, RIX_CHANNELS - selection.Width()),
            std::clamp(selection.LowRow() + dy / cell, 0, RIX_ORDER_POSITIONS - selection.Height())};
}

void COrderTableWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (!selecting && !dragging)
        return;
    const QPoint point = event->position().toPoint();
    if (selecting) {
        CCellSelection extended = look.selection;
        extended.SetEnd(geometry.ClampedCellAt(point));
        SetSelection(extended);
    } else {
        dropCell = DropCellFor(point.x() - dragStart.x(), point.y() - dragStart.y());
        update();
    }
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

void COrderTableWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    StopAutoScroll();
    const bool wasDragging = dragging;
    selecting = dragging = false;
    unsetCursor();
    if (!wasDragging)
        return;
    const QPoint point = event->position().toPoint();
    if (point == dragStart) {
        if (const std::optional<TCell> cell = geometry.CellAt(point)) {
            controller.SetOrderPosition(cell->row);
            controller.SelectChannel(cell->channel);
            SetSelection(CCellSelection::On(*cell));
        }
    } else {
        MoveBlock(dropCell);
    }
    update();
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
    ScrollTo(before + direction * kAutoScrollPixels);
    if (dragging) {
        dragStart.ry() -= geometry.ScrollPosition() - before;
        dropCell.row = std::clamp(dropCell.row + 2 * direction, 0, RIX_ORDER_POSITIONS - look.selection.Height());
        update();
    }
}

void COrderTableWnd::StopAutoScroll()
{
    for (int* timer : {&scrollUpTimer, &scrollDownTimer})
        if (*timer) {
            killTimer(*timer);
            *timer = 0;
        }
}

void COrderTableWnd::focusInEvent(QFocusEvent*)
{
    look.hasFocus = true;
    RedrawRows(look.selection.LowRow(), look.selection.HighRow());
    RedrawRows(look.cursor.row, look.cursor.row);
}

void COrderTableWnd::focusOutEvent(QFocusEvent*)
{
    look.hasFocus = false;
    RedrawRows(look.selection.LowRow(), look.selection.HighRow());
    RedrawRows(look.cursor.row, look.cursor.row);
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

void COrderTableWnd::SetSelection(const CCellSelection& selection)
{
    const CCellSelection old = look.selection;
    look.selection = selection;
    RedrawRows(old.LowRow(), old.HighRow());
    RedrawRows(selection.LowRow(), selection.HighRow());
}

void COrderTableWnd::RedrawRows(int32_t first, int32_t last)
{
    if (last < 0)
        return;
    TOrderEntries entries;
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
        std::copy(&data->orderTable[0][0], &data->orderTable[0][0] + RIX_CHANNELS * RIX_ORDER_POSITIONS,
                  &entries[0][0]);
    }
    painter.DrawRows(entries, look, first, last);
    // One pixel more each side for the selection edge.
    update(geometry.RowsRect(first, last).adjusted(0, -1, 0, 1));
}

void COrderTableWnd::RedrawAll()
{
    RedrawRows(0, kLastPosition);
    update();
}

void COrderTableWnd::EditDone()
{
    RedrawAll();
    controller.RefreshPattern();
}

} // namespace rix
