#include "PatternWnd.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "ArrangementEdits.h"
#include "ErrorBox.h"
#include "MidiInput.h"
#include "MouseGestures.h"
#include "NoteKeys.h"
#include "PatternGeometry.h"
#include "PlaybackController.h"
#include "SongEditor.h"

namespace rix {

namespace {

constexpr int32_t kLastRow = RIX_ROWS - 1;

} // namespace

CPatternWnd::CPatternWnd(CSongEditor& editor, QWidget* parent)
    : CGridWnd(editor, look, {CPatternGeometry::CELL_WIDTH, CPatternGeometry::CELL_HEIGHT}, parent)
{
    setAccessibleName(QStringLiteral("Pattern"));
    setObjectName(QStringLiteral("Pattern"));
    setToolTip(CMouseGestures::Tip(TMouseArea::Pattern));
    look.cursor = {controller.GetCurrentChannel(), controller.GetCurrentRow()};
    look.selection.Collapse(look.cursor);
    RedrawAll();
    controller.AddListener(this, POSTS_POSITION);
}

CPatternWnd::~CPatternWnd()
{
    controller.RemoveListener(this);
}

void CPatternWnd::SetChannelCursor(int32_t channel)
{
    ShowCursorAt({channel, look.cursor.row});
}

void CPatternWnd::SetOrderCursor(int32_t)
{
    RedrawAll();
}

void CPatternWnd::SetRowCursor(int32_t row)
{
    ShowCursorAt({look.cursor.channel, row});
}

void CPatternWnd::OnSongChanged(const TSongChange& change)
{
    if (change.Names(SONG_ORDER_TABLE | SONG_PATTERNS))
        RedrawAll();
}

std::optional<TCell> CPatternWnd::CellAt(QPoint point) const
{
    return CPatternGeometry::CellAt(point);
}

TCell CPatternWnd::ClampedCellAt(QPoint point) const
{
    return CPatternGeometry::ClampedCellAt(point);
}

void CPatternWnd::MoveCursorTo(TCell cell)
{
    controller.SelectChannel(cell.channel);
    controller.SetRow(cell.row);
}

TGrid CPatternWnd::Grid() const
{
    return TGrid::PatternsAt(controller.GetCurrentOrder());
}

void CPatternWnd::ReportNoRoom(int32_t channel, bool blockEdit)
{
    CErrorBox::Show(this, blockEdit ? QStringLiteral("No empty patterns available in channel %1.\n"
                                                     "Select existing channel first.")
                                          .arg(channel + 1)
                                    : QStringLiteral("No empty pattern available.\n"
                                                     "Select pattern to edit with + and - keys."));
}

void CPatternWnd::ValueEntered(TCell cell, uint32_t value)
{
    if (value != RIX_NOTE_EMPTY && value != RIX_NOTE_STOP)
        controller.PreviewNote(cell.channel, value);
}

void CPatternWnd::RunCommand(const TGridKey& binding, const QKeyEvent&)
{
    switch (binding.command) {
    case TGridCommand::PreviousOrder:
    case TGridCommand::NextOrder:
        controller.SelectChannel(look.cursor.channel);
        controller.SetOrderPosition(controller.GetCurrentOrder() +
                                    (binding.command == TGridCommand::NextOrder ? 1 : -1));
        break;
    case TGridCommand::Octave:
        look.octave = binding.argument;
        RedrawAll();
        break;
    default: break;
    }
}

void CPatternWnd::keyPressEvent(QKeyEvent* event)
{
    if (RunKey(*event))
        return;
    const int offset = CNoteKeys::OffsetOf(*event);
    if (offset == CNoteKeys::STOP_NOTE)
        EnterAtCursor(RIX_NOTE_STOP);
    else if (offset != CNoteKeys::NO_NOTE)
        EnterAtCursor(CNoteKeys::CellValue(look.octave, offset));
    else
        CMessageWidget::keyPressEvent(event);
}

intptr_t CPatternWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == MSG_MIDI_NOTE) {
        if (wParam >= 1 && wParam <= 113)
            EnterAtCursor(uint32_t(wParam));
        return 1;
    }
    if (message != MSG_PLAYING_POSITION)
        return CMessageWidget::OnMessage(message, wParam, lParam);
    const bool playing = wParam < NO_PLAYING_POSITION;
    const int32_t shown = ShownOrder();
    playRow = playing ? int32_t(wParam % RIX_ROWS) : -1;
    playOrder = playing ? int32_t(wParam / RIX_ROWS) : -1;
    if (ShownOrder() != shown) {
        RedrawAll();
        return 1;
    }
    const int32_t oldRow = look.playRow;
    look.playRow = playOrder == shown ? playRow : -1;
    if (look.playRow != oldRow) {
        RedrawRows(oldRow, oldRow);
        RedrawRows(look.playRow, look.playRow);
    }
    return 1;
}

int32_t CPatternWnd::ShownOrder() const
{
    return followPlayback && playOrder >= 0 ? playOrder : controller.GetCurrentOrder();
}

void CPatternWnd::paintEvent(QPaintEvent*)
{
    // Another screen density or another theme scheme: everything anew.
    if (painter.Prepare(devicePixelRatioF()))
        RedrawAll();
    QPainter target(this);
    painter.Paint(target, look, DropOutline());
}

void CPatternWnd::RedrawRows(int32_t first, int32_t last)
{
    if (last < 0)
        return;
    const int32_t order = ShownOrder();
    const TShownPatterns shown = editor.Read([order](const CRixModuleData& song) {
        TShownPatterns patterns;
        for (int32_t channel = 0; channel < RIX_CHANNELS; ++channel)
            if (const uint32_t pattern = CArrangementEdits::EditablePattern(song, channel, order)) {
                patterns.pattern[channel] = pattern;
                std::copy_n(song.patterns[channel][pattern], RIX_ROWS, patterns.cells[channel]);
            }
        return patterns;
    });
    if (first == 0 && last == kLastRow)
        painter.DrawHeader(shown, look.octave);
    painter.DrawRows(shown, look, first, last);
    update(CPatternGeometry::RowRect(first).united(CPatternGeometry::RowRect(last)).adjusted(0, -1, 0, 1));
}

void CPatternWnd::RedrawAll()
{
    look.playRow = playOrder >= 0 && playOrder == ShownOrder() ? playRow : -1;
    RedrawRows(0, kLastRow);
    update();
}

} // namespace rix
