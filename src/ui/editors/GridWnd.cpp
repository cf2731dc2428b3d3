#include "GridWnd.h"

#include <QContextMenuEvent>
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
    // A move starts from the cursor, or from the selection's end when it
    // extends the selection.
    const bool extend = binding.argument == kExtendSelection;
    const TCell from = extend ? look.selection.End() : look.cursor;
    const auto move = [this, extend](int32_t channel, int32_t row) {
        if (extend)
            ExtendTo(channel, row);
        else
            Go(channel, row);
    };
    const TCell cursor = look.cursor;
    const auto backspace = [&](int32_t channel) {
        if (cursor.row == 0)
            return;
        Go(cursor.channel, cursor.row - 1);
        InsertOrDelete(false, channel, cursor.row - 1);
    };
    switch (binding.command) {
    case TGridCommand::RowUp: move(from.channel, from.row - 1); break;
    case TGridCommand::RowDown: move(from.channel, from.row + 1); break;
    case TGridCommand::ChannelLeft: move(from.channel - 1, from.row); break;
    case TGridCommand::ChannelRight: move(from.channel + 1, from.row); break;
    case TGridCommand::PageUp: move(from.channel, from.row - kPageRows); break;
    case TGridCommand::PageDown: move(from.channel, from.row + kPageRows); break;
    case TGridCommand::FirstRow: move(from.channel, 0); break;
    case TGridCommand::LastRow: move(from.channel, LastRow()); break;
    case TGridCommand::SelectAll: SelectAll(); break;
    case TGridCommand::PlaySong:
    case TGridCommand::PlayLoop:
    case TGridCommand::PlayFromCursor: Play(binding.command); break;
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

void CGridWnd::Play(TGridCommand command)
{
    if (controller.IsPlaying())
        controller.Stop();
    else if (command == TGridCommand::PlayLoop)
        controller.PlayPatternLoop();
    else if (command == TGridCommand::PlayFromCursor)
        controller.PlayFromCursor();
    else
        controller.PlaySong();
}

void CGridWnd::Go(int32_t channel, int32_t row)
{
    MoveCursorTo({std::clamp(channel, 0, RIX_CHANNELS - 1), std::clamp(row, 0, Grid().Rows() - 1)});
}

void CGridWnd::ExtendTo(int32_t channel, int32_t row)
{
    const TCell anchor = look.selection.Anchor();
    // Moving the cursor collapses the selection onto it; it is drawn out
    // again from the anchor.
    Go(channel, row);
    CCellSelection extended = CCellSelection::On(anchor);
    extended.SetEnd(look.cursor);
    SetSelection(extended);
}

void CGridWnd::SelectAll()
{
    CCellSelection all;
    all.SetBlock({0, 0}, RIX_CHANNELS, LastRow() + 1);
    SetSelection(all);
}

void CGridWnd::SetFollowPlayback(bool follow)
{
    if (follow == followPlayback)
        return;
    followPlayback = follow;
    FollowPlaybackChanged();
}

void CGridWnd::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const std::optional<TCell> cell = CellAt(event->position().toPoint());
    if (!cell)
        return;
    // A press on a one-cell selection (the cursor cell) selects, so that
    // "click, then drag" never moves a note.
    if (!look.selection.IsSingleCell() && look.selection.Contains(*cell)) {
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

void CGridWnd::contextMenuEvent(QContextMenuEvent* event)
{
    // Outside the selection the click moves the cursor first, so that the
    // menu's commands act where it was clicked.
    if (event->reason() == QContextMenuEvent::Mouse)
        if (const std::optional<TCell> cell = CellAt(event->pos()); cell && !look.selection.Contains(*cell))
            ClickCell(*cell);
    emit EditMenuWanted(event->globalPos());
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
