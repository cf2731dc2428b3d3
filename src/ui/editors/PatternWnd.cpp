#include "PatternWnd.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "ArrangementEdits.h"
#include "ErrorBox.h"
#include "MidiInput.h"
#include "NoteKeys.h"
#include "OrderTableWnd.h"
#include "PatternGeometry.h"
#include "PlaybackController.h"
#include "RixModule.h"

namespace rix {

namespace {

constexpr int32_t kLastRow = RIX_ROWS - 1;

} // namespace

CPatternWnd::CPatternWnd(CPlaybackController& controller, QWidget* parent)
    : CMessageWidget(parent), controller(controller)
{
    setAccessibleName(QStringLiteral("Pattern"));
    setObjectName(QStringLiteral("Pattern"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    look.cursor = {controller.GetCurrentChannel(), controller.GetCurrentRow()};
    look.selection.Collapse(look.cursor);
    RedrawAll();
    controller.RegisterTarget(EDITOR_PATTERN, this);
}

CPatternWnd::~CPatternWnd()
{
    controller.RegisterTarget(EDITOR_PATTERN, nullptr);
}

void CPatternWnd::SetOrderTable(COrderTableWnd* orderTableWnd)
{
    orderTable = orderTableWnd;
}

void CPatternWnd::SetChannelCursor(int32_t channel)
{
    MoveCursorTo(look.cursor.row, channel);
}

void CPatternWnd::SetRowCursor(int32_t row)
{
    MoveCursorTo(row, look.cursor.channel);
}

void CPatternWnd::MoveCursorTo(int32_t row, int32_t channel)
{
    const TCell cell{std::clamp(channel, 0, RIX_CHANNELS - 1), std::clamp(row, 0, kLastRow)};
    if (cell == look.cursor)
        return;
    const int32_t old = look.cursor.row;
    look.cursor = cell;
    RedrawRows(old, old);
    SetSelection(CCellSelection::On(cell));
}

void CPatternWnd::Refresh()
{
    RedrawAll();
}

void CPatternWnd::Repaint()
{
    update();
}

void CPatternWnd::Copy()
{
    CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
    clipboard = CArrangementEdits::CopyPatternBlock(*data, controller.GetCurrentOrder(), look.selection);
}

void CPatternWnd::Cut()
{
    Copy();
    ClearSelection();
}

void CPatternWnd::Paste()
{
    if (clipboard.IsEmpty() || !PrepareChannels(look.cursor.channel, clipboard.width, true))
        return;
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        CArrangementEdits::WritePatternBlock(*data, controller.GetCurrentOrder(), clipboard, look.cursor);
    }
    RedrawAll();
}

intptr_t CPatternWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == MSG_MIDI_NOTE) {
        if (wParam >= 1 && wParam <= 113)
            EnterValue(uint32_t(wParam));
        return 1;
    }
    if (message != MSG_PLAYING_POSITION)
        return CMessageWidget::OnMessage(message, wParam, lParam);
    const bool playing = wParam < NO_PLAYING_POSITION;
    const int32_t row = playing ? int32_t(wParam % RIX_ROWS) : -1;
    const int32_t order = playing ? int32_t(wParam / RIX_ROWS) : -1;
    const int32_t oldRow = look.playRow;
    look.playRow = row;
    if (order != playOrder) {
        playOrder = order;
        RedrawAll();
    } else {
        RedrawRows(oldRow, oldRow);
        RedrawRows(row, row);
    }
    return 1;
}

void CPatternWnd::paintEvent(QPaintEvent*)
{
    // Another screen density or another theme scheme: everything anew.
    if (painter.Prepare(devicePixelRatioF()))
        RedrawAll();
    QPainter target(this);
    painter.Paint(target, look, dragging ? std::optional<TCell>(dropCell) : std::nullopt);
}

void CPatternWnd::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const TCell cursor = look.cursor;
    const auto orderStep = [&](int delta) {
        controller.SelectChannel(cursor.channel);
        controller.SetOrderPosition(controller.GetCurrentOrder() + delta);
    };
    const auto rowOfChannel = [&](int32_t row) {
        controller.SelectChannel(cursor.channel);
        controller.SetRow(row);
    };
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F8) {
        look.octave = key - Qt::Key_F1 + 1;
        RedrawAll();
        return;
    }
    switch (key) {
    case Qt::Key_Up: ctrl ? orderStep(-1) : controller.SetRow(cursor.row - 1); return;
    case Qt::Key_Down: ctrl ? orderStep(1) : controller.SetRow(cursor.row + 1); return;
    case Qt::Key_Left: controller.SelectChannel(cursor.channel - 1); return;
    case Qt::Key_Right: controller.SelectChannel(cursor.channel + 1); return;
    case Qt::Key_PageUp:
    case Qt::Key_Home: rowOfChannel(0); return;
    case Qt::Key_PageDown:
    case Qt::Key_End: rowOfChannel(kLastRow); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (controller.IsPlaying())
            controller.Stop();
        else if (ctrl)
            controller.PlayPatternLoop();
        else
            controller.PlaySong();
        return;
    case Qt::Key_Tab:
        if (orderTable)
            orderTable->setFocus(Qt::TabFocusReason);
        return;
    case Qt::Key_Delete:
        if (look.selection.IsSingleCell())
            EnterValue(RIX_NOTE_EMPTY);
        else
            ClearSelection();
        return;
    case Qt::Key_Insert: InsertOrDeleteRow(true, shift, cursor.row); return;
    case Qt::Key_Backspace:
        if (cursor.row > 0) {
            controller.SetRow(cursor.row - 1);
            InsertOrDeleteRow(false, shift, cursor.row - 1);
        }
        return;
    default: break;
    }
    const int offset = CNoteKeys::OffsetOf(*event);
    if (offset == CNoteKeys::STOP_NOTE)
        EnterValue(RIX_NOTE_STOP);
    else if (offset != CNoteKeys::NO_NOTE)
        EnterValue(CNoteKeys::CellValue(look.octave, offset));
    else if (event->text() == QLatin1String("+") || event->text() == QLatin1String("-"))
        StepOrderCell(event->text() == QLatin1String("+") ? 1 : -1);
    else
        CMessageWidget::keyPressEvent(event);
}

void CPatternWnd::EnterValue(uint32_t value)
{
    const TCell cursor = look.cursor;
    if (!PrepareChannels(cursor.channel, 1, false))
        return;
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        if (const uint32_t pattern = CArrangementEdits::EditablePattern(*data, cursor.channel, controller.GetCurrentOrder()))
            data->patterns[cursor.channel][pattern][cursor.row] = value;
    }
    if (cursor.row < kLastRow)
        controller.SetRow(cursor.row + 1);
    RedrawRows(cursor.row, cursor.row);
    if (value != RIX_NOTE_EMPTY && value != RIX_NOTE_STOP)
        controller.PreviewNote(cursor.channel, value);
}

bool CPatternWnd::PrepareChannels(int32_t first, int32_t count, bool blockEdit)
{
    const int32_t order = controller.GetCurrentOrder();
    int32_t missing;
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
        missing = CArrangementEdits::ChannelWithoutRoom(*data, order, first, count);
    }
    if (missing >= 0) {
        CErrorBox::Show(this, blockEdit ? QStringLiteral("No empty patterns available in channel %1.\n"
                                                         "Select existing channel first.")
                                              .arg(missing + 1)
                                        : QStringLiteral("No empty pattern available.\n"
                                                         "Select pattern to edit with + and - keys."));
        return false;
    }
    controller.TakeSnapshot();
    bool placed;
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        placed = CArrangementEdits::PlacePatterns(*data, order, first, count);
    }
    if (placed)
        OrderTableChanged();
    return true;
}

void CPatternWnd::InsertOrDeleteRow(bool insert, bool allChannels, int32_t row)
{
    controller.TakeSnapshot();
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        const int32_t order = controller.GetCurrentOrder();
        for (int32_t channel = 0; channel < RIX_CHANNELS; ++channel) {
            if (!allChannels && channel != look.cursor.channel)
                continue;
            if (const uint32_t pattern = CArrangementEdits::EditablePattern(*data, channel, order)) {
                if (insert)
                    data->InsertRow(uint32_t(channel), pattern, uint32_t(row));
                else
                    data->DeleteRow(uint32_t(channel), pattern, uint32_t(row));
            }
        }
    }
    RedrawAll();
}

void CPatternWnd::ClearSelection()
{
    controller.TakeSnapshot();
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        CArrangementEdits::ClearPatternBlock(*data, controller.GetCurrentOrder(), look.selection);
    }
    RedrawAll();
}

void CPatternWnd::MoveBlock(TCell drop)
{
    const CCellSelection source = look.selection;
    if (!PrepareChannels(drop.channel, source.Width(), true))
        return;
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        const int32_t order = controller.GetCurrentOrder();
        const TCellBlock block = CArrangementEdits::CopyPatternBlock(*data, order, source);
        CArrangementEdits::ClearPatternBlock(*data, order, source);
        CArrangementEdits::WritePatternBlock(*data, order, block, drop);
    }
    look.selection.SetBlock(drop, source.Width(), source.Height());
    RedrawAll();
}

void CPatternWnd::StepOrderCell(int delta)
{
    controller.TakeSnapshot();
    if (orderTable) {
        orderTable->StepCursorCell(delta);
        return;
    }
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE_EXCL);
        uint32_t& cell = data->orderTable[controller.GetCurrentChannel()][controller.GetCurrentOrder()];
        cell = uint32_t(std::clamp(int64_t(cell) + delta, int64_t(0), int64_t(RIX_PATTERNS - 1)));
    }
    RedrawAll();
}

void CPatternWnd::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const std::optional<TCell> cell = CPatternGeometry::CellAt(event->position().toPoint());
    if (!cell)
        return;
    if (look.selection.Contains(*cell)) {
        dragging = true;
        dragStart = event->position().toPoint();
        dropCell = look.selection.Low();
        setCursor(Qt::SizeAllCursor);
    } else {
        selecting = true;
        ClickCell(*cell);
    }
}

void CPatternWnd::ClickCell(TCell cell)
{
    controller.SelectChannel(cell.channel);
    controller.SetRow(cell.row);
    SetSelection(CCellSelection::On(cell));
}

void CPatternWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (selecting) {
        CCellSelection extended = look.selection;
        extended.SetEnd(CPatternGeometry::ClampedCellAt(point));
        SetSelection(extended);
    } else if (dragging) {
        const CCellSelection& selection = look.selection;
        dropCell = {std::clamp(selection.LowChannel() + (point.x() - dragStart.x()) / CPatternGeometry::CELL_WIDTH, 0,
                               RIX_CHANNELS - selection.Width()),
                    std::clamp(selection.LowRow() + (point.y() - dragStart.y()) / CPatternGeometry::CELL_HEIGHT, 0,
                               RIX_ROWS - selection.Height())};
        update();
    }
}

void CPatternWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool wasDragging = dragging;
    selecting = dragging = false;
    unsetCursor();
    if (!wasDragging)
        return;
    const QPoint point = event->position().toPoint();
    if (point != dragStart)
        MoveBlock(dropCell);
    else if (const std::optional<TCell> cell = CPatternGeometry::CellAt(point))
        ClickCell(*cell);
    update();
}

void CPatternWnd::focusInEvent(QFocusEvent*)
{
    look.hasFocus = true;
    RedrawAll();
}

void CPatternWnd::focusOutEvent(QFocusEvent*)
{
    look.hasFocus = false;
    RedrawAll();
}

void CPatternWnd::SetSelection(const CCellSelection& selection)
{
    const CCellSelection old = look.selection;
    look.selection = selection;
    RedrawRows(old.LowRow(), old.HighRow());
    RedrawRows(selection.LowRow(), selection.HighRow());
}

void CPatternWnd::RedrawRows(int32_t first, int32_t last)
{
    if (last < 0)
        return;
    TShownPatterns shown;
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
        const int32_t order = playOrder >= 0 ? playOrder : controller.GetCurrentOrder();
        for (int32_t channel = 0; channel < RIX_CHANNELS; ++channel)
            if (const uint32_t pattern = CArrangementEdits::EditablePattern(*data, channel, order)) {
                shown.pattern[channel] = pattern;
                std::copy_n(data->patterns[channel][pattern], RIX_ROWS, shown.cells[channel]);
            }
    }
    if (first == 0 && last == kLastRow)
        painter.DrawHeader(shown, look.octave);
    painter.DrawRows(shown, look, first, last);
    update(CPatternGeometry::RowRect(first).united(CPatternGeometry::RowRect(last)).adjusted(0, -1, 0, 1));
}

void CPatternWnd::RedrawAll()
{
    RedrawRows(0, kLastRow);
    update();
}

void CPatternWnd::OrderTableChanged()
{
    if (orderTable)
        orderTable->Refresh();
    RedrawAll();
}

} // namespace rix
