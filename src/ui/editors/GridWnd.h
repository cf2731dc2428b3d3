#pragma once

#include <QPoint>
#include <QSize>
#include <optional>
#include <span>

#include "ArrangementEditor.h"
#include "CellBlock.h"
#include "GridKeys.h"
#include "GridLook.h"
#include "IClipboardTarget.h"
#include "MessageWidget.h"

namespace rix {

class CPlaybackController;
class CSongEditor;

// What the two grid windows (the order table and the pattern editor) share,
// written once: the cursor and the block selection, the keys run from the
// window's key table, the mouse (a press selects and a drag extends the
// selection, except that a drag starting inside a selection of more than
// one cell moves the block; a right click asks for the Edit menu), the
// clipboard commands with the window's own block clipboard (with nothing
// selected they act on the cursor cell), the edits of the edit layer's grid
// operations, the keyboard focus, and whether the window follows playback. A
// subclass says which grid it shows, where its cells are and how its
// cursor maps onto the controller's. Rows are pattern rows or order
// positions. UI thread.
class CGridWnd : public CMessageWidget, public IClipboardTarget {
    Q_OBJECT
public:
    void Cut() override;
    void Copy() override;
    void Paste() override;
    bool CanPaste() const override { return !clipboard.IsEmpty(); }

    const CCellSelection& Selection() const { return look.selection; }
    // The key bindings the window runs besides SharedGridKeys().
    virtual std::span<const TGridKey> Keys() const = 0;
    // While the song plays, whether the window keeps the playing position
    // in view (on at the start); off, it stays where the cursor is.
    void SetFollowPlayback(bool follow);
    bool FollowsPlayback() const { return followPlayback; }

signals:
    // Tab: the keyboard focus goes to the other grid window.
    void OtherGridWanted();
    // A right click (or the menu key): the Edit menu at a screen point.
    void EditMenuWanted(QPoint globalPosition);

protected:
    // look: the subclass's, which its painter draws; cellSize: the pixels a
    // drag must cover to move a block by one cell.
    CGridWnd(CSongEditor& editor, TGridLook& look, QSize cellSize, QWidget* parent);

    // The grid the window shows and edits now.
    virtual TGrid Grid() const = 0;
    // Where the cells are: the cell under a window point (nothing outside
    // the grid), and the one clamped into the grid.
    virtual std::optional<TCell> CellAt(QPoint point) const = 0;
    virtual TCell ClampedCellAt(QPoint point) const = 0;
    // Moves the controller's cursor onto a cell of this grid.
    virtual void MoveCursorTo(TCell cell) = 0;
    // The row End goes to.
    virtual int32_t LastRow() const = 0;

    // An edit found no empty pattern to place in channel: for one cell or
    // for a block.
    virtual void ReportNoRoom(int32_t, bool) {}
    // A value was entered at cell (the pattern editor sounds a note).
    virtual void ValueEntered(TCell, uint32_t) {}
    // The commands of the window's own keys.
    virtual void RunCommand(const TGridKey& binding, const QKeyEvent& event) = 0;
    // Re-reads the song and redraws rows first..last.
    virtual void RedrawRows(int32_t first, int32_t last) = 0;
    // The cursor arrived on row (the order table scrolls it into view).
    virtual void CursorShown(int32_t) {}
    // While a button is held: the pointer moved to point, or the button was
    // released (the order table's auto-scroll).
    virtual void PointerDragged(QPoint) {}
    virtual void PointerReleased() {}
    // SetFollowPlayback changed the setting.
    virtual void FollowPlaybackChanged() {}

    // The controller moved its cursor: the window's cursor follows, with the
    // selection collapsed onto it.
    void ShowCursorAt(TCell cell);
    // A cell value at the cursor, then the cursor one row down.
    void EnterAtCursor(uint32_t value);
    // Runs the key's binding in Keys() or SharedGridKeys(); false when it
    // has none.
    bool RunKey(const QKeyEvent& event);
    // The top left cell of a block being dragged, for its outline.
    std::optional<TCell> DropOutline() const;
    // The view scrolled by pixels during a drag, the drop cell by rows.
    void ScrollDrag(int pixels, int32_t rows);

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Tab is a key of the grid, not a focus step.
    bool focusNextPrevChild(bool) override { return false; }

    CSongEditor& editor;
    CPlaybackController& controller;
    bool followPlayback = true;

private:
    void Run(const TGridKey& binding, const QKeyEvent& event);
    void Play(TGridCommand command);
    void InsertOrDelete(bool insert, int32_t channel, int32_t row);
    void ClearSelection(const char* name);
    // The cursor to a cell clamped into the grid.
    void Go(int32_t channel, int32_t row);
    // The selection's end and the cursor to a cell clamped into the grid,
    // the anchor staying.
    void ExtendTo(int32_t channel, int32_t row);
    void SelectAll();
    void ClickCell(TCell cell);
    void SetSelection(const CCellSelection& selection);
    void RedrawMarks();

    TGridLook& look;
    const QSize cellSize;
    bool selecting = false;
    bool dragging = false;
    QPoint dragStart;
    TCell dropCell;
    TCellBlock clipboard;
};

} // namespace rix
