#include "GridWnd.h"

#include <QKeyEvent>
#include <algorithm>

#include "ArrangementEditor.h"
#include "PlaybackController.h"
#include "SongEditor.h"

namespace rix {

namespace {

constexpr int32_t kPageRows = 16;

} // namespace

CGridWnd::CGridWnd(CSongEditor& editor, TGridLook& look, QSize cellSize, QWidget* parent)
    : CMessageWidget(parent), editor(editor), controller(editor.Controller()), look(look), cellSize(cellSize)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGridWnd::Copy()
{
    clipboard = editor.Arrangement().CopyBlock(Grid(), look.selection);
}

void CGridWnd::Cut()
{
    Copy();
    ClearSelection("Cut");
}

void CGridWnd::Paste()
{
    if (clipboard.IsEmpty())
        return;
    const int32_t missing = editor.Arrangement().PasteBlock(Grid(), clipboard, look.cursor);
    if (missing != CArrangementEditor::kDone)
        ReportNoRoom(missing, true);
}

void CGridWnd::ClearSelection(const char* name)
{
    editor.Arrangement().ClearBlock(Grid(), look.selection, name);
}

void CGridWnd::EnterAtCursor(uint32_t value)
{
    const TCell cursor = look.cursor;
    const int32_t missing = editor.Arrangement().SetCell(Grid(), cursor.channel, cursor.row, value);
    if (missing != CArrangementEditor::kDone) {
        ReportNoRoom(missing, false);
        return;
    }
    if (cursor.row < Grid().Rows() - 1)
        Go(cursor.channel, cursor.row + 1);
    ValueEntered(cursor, value);
}

void CGridWnd::InsertOrDelete(bool insert, int32_t channel, int32_t row)
{
    if (insert)
        editor.Arrangement().InsertCell(Grid(), channel, row);
    else
        editor.Arrangement().DeleteCell(Grid(), channel, row);
}

void CGridWnd::ShowCursorAt(TCell cell)
{
    cell = {std::clamp(cell.channel, 0, RIX_CHANNELS - 1), std::clamp(cell.row, 0, Grid().Rows() - 1)};
    if (cell == look.cursor)
        return;
    const int32_t old = look.cursor.row;
    look.cursor = cell;
    RedrawRows(old, old);
    SetSelection(CCellSelection::On(cell));
    CursorShown(cell.row);
}

void CGridWnd::keyPressEvent(QKeyEvent* event)
{
    if (!RunKey(*event))
        CMessageWidget::keyPressEvent(event);
}

bool CGridWnd::RunKey(const QKeyEvent& event)
{
    const TGridKey* binding = FindGridKey(Keys(), event);
    if (!binding)
        binding = FindGridKey(SharedGridKeys(), event);
    if (binding)
        Run(*binding, event);
    return binding != nullptr;
}

void CGridWnd::Run(const TGridKey& binding, const QKeyEvent& event)
{
    const TCell cursor = look.cursor;
    const auto play = [this](bool loop) {
        if (controller.IsPlaying())
            controller.Stop();
        else if (loop)
            controller.PlayPatternLoop();
        else
            controller.PlaySong();
    };
    const auto backspace = [&](int32_t channel) {
        if (cursor.row == 0)
            return;
        Go(cursor.channel, cursor.row - 1);
        InsertOrDelete(false, channel, cursor.row - 1);
    };
    switch (binding.command) {
    case TGridCommand::RowUp: Go(cursor.channel, cursor.row - 1); break;
    case TGridCommand::RowDown: Go(cursor.channel, cursor.row + 1); break;
    case TGridCommand::ChannelLeft: Go(cursor.channel - 1, cursor.row); break;
    case TGridCommand::ChannelRight: Go(cursor.channel + 1, cursor.row); break;
    case TGridCommand::PageUp: Go(cursor.channel, cursor.row - kPageRows); break;
    case TGridCommand::PageDown: Go(cursor.channel, cursor.row + kPageRows); break;
    case TGridCommand::FirstRow: Go(cursor.channel, 0); break;
    case TGridCommand::LastRow: Go(cursor.channel, LastRow()); break;
    case TGridCommand::PlaySong: play(false); break;
    case TGridCommand::PlayLoop: play(true); break;
    case TGridCommand::OtherGrid: emit OtherGridWanted(); break;
    case TGridCommand::Delete:
        if (look.selection.IsSingleCell())
            EnterAtCursor(RIX_NOTE_EMPTY);
        else
            ClearSelection("Clear");
        break;
    case TGridCommand::Insert: InsertOrDelete(true, cursor.channel, cursor.row); break;
    case TGridCommand::InsertAll: InsertOrDelete(true, CArrangementEditor::kAllChannels, cursor.row); break;
    case TGridCommand::Backspace: backspace(cursor.channel); break;
    case TGridCommand::BackspaceAll: backspace(CArrangementEditor::kAllChannels); break;
    case TGridCommand::PatternUp:
    case TGridCommand::PatternDown:
        editor.Arrangement().StepOrderEntry(controller.GetCurrentChannel(), controller.GetCurrentOrder(),
                                            binding.command == TGridCommand::PatternUp ? 1 : -1);
        break;
    default: RunCommand(binding, event); break;
    }
}

void CGridWnd::Go(int32_t channel, int32_t row)
{
    MoveCursorTo({std::clamp(channel, 0, RIX_CHANNELS - 1), std::clamp(row, 0, Grid().Rows() - 1)});
}

void CGridWnd::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const std::optional<TCell> cell = CellAt(event->position().toPoint());
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

void CGridWnd::ClickCell(TCell cell)
{
    MoveCursorTo(cell);
    SetSelection(CCellSelection::On(cell));
}

void CGridWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (!selecting && !dragging)
        return;
    const QPoint point = event->position().toPoint();
    if (selecting) {
        CCellSelection extended = look.selection;
        extended.SetEnd(ClampedCellAt(point));
        SetSelection(extended);
    } else {
        const CCellSelection& selection = look.selection;
        // Division truncates toward zero: a block moves once a whole cell is
        // covered either way.
        dropCell = {std::clamp(selection.LowChannel() + (point.x() - dragStart.x()) / cellSize.width(), 0,
                               RIX_CHANNELS - selection.Width()),
                    std::clamp(selection.LowRow() + (point.y() - dragStart.y()) / cellSize.height(), 0,
                               Grid().Rows() - selection.Height())};
        update();
    }
    PointerDragged(point);
}

void CGridWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    PointerReleased();
    const bool wasDragging = dragging;
    selecting = dragging = false;
    unsetCursor();
    if (!wasDragging)
        return;
    const QPoint point = event->position().toPoint();
    if (point == dragStart) {
        if (const std::optional<TCell> cell = CellAt(point))
            ClickCell(*cell);
    } else if (const int32_t missing = editor.Arrangement().MoveBlock(Grid(), look.selection, dropCell);
               missing != CArrangementEditor::kDone) {
        ReportNoRoom(missing, true);
    } else {
        CCellSelection moved;
        moved.SetBlock(dropCell, look.selection.Width(), look.selection.Height());
        SetSelection(moved);
    }
    update();
}

std::optional<TCell> CGridWnd::DropOutline() const
{
    return dragging ? std::optional<TCell>(dropCell) : std::nullopt;
}

void CGridWnd::ScrollDrag(int pixels, int32_t rowsMoved)
{
    if (!dragging)
        return;
    dragStart.ry() -= pixels;
    dropCell.row = std::clamp(dropCell.row + rowsMoved, 0, Grid().Rows() - look.selection.Height());
    update();
}

void CGridWnd::focusInEvent(QFocusEvent*)
{
    look.hasFocus = true;
    RedrawMarks();
}

void CGridWnd::focusOutEvent(QFocusEvent*)
{
    look.hasFocus = false;
    RedrawMarks();
}

void CGridWnd::RedrawMarks()
{
    RedrawRows(look.selection.LowRow(), look.selection.HighRow());
    RedrawRows(look.cursor.row, look.cursor.row);
}

void CGridWnd::SetSelection(const CCellSelection& selection)
{
    const CCellSelection old = look.selection;
    look.selection = selection;
    RedrawRows(old.LowRow(), old.HighRow());
    RedrawRows(selection.LowRow(), selection.HighRow());
}

} // namespace rix
