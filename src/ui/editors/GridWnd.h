#pragma once

#include <QPoint>
#include <QSize>
#include <optional>
#include <span>

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
// window's key table, the mouse (a press outside the selection selects and
// a drag extends it; a drag that starts inside the selection moves the
// block), the clipboard commands with the window's own block clipboard,
// and the keyboard focus. A subclass says where its cells are, how its
// cursor maps onto the controller's, and runs its edits through the edit
// layer. Rows are pattern rows or order positions. UI thread.
class CGridWnd : public CMessageWidget, public IClipboardTarget {
    Q_OBJECT
public:
    void Cut() override;
    void Copy() override;
    void Paste() override;

    const CCellSelection& Selection() const { return look.selection; }
    // The key bindings the window runs.
    virtual std::span<const TGridKey> Keys() const = 0;

signals:
    // Tab: the keyboard focus goes to the other grid window.
    void OtherGridWanted();

protected:
    // look: the subclass's, which its painter draws; rows: the grid's rows;
    // cellSize: the pixels a drag must cover to move a block by one cell.
    CGridWnd(CSongEditor& editor, TGridLook& look, int32_t rows, QSize cellSize, QWidget* parent);

    // Where the cells are: the cell under a window point (nothing outside
    // the grid), and the one clamped into the grid.
    virtual std::optional<TCell> CellAt(QPoint point) const = 0;
    virtual TCell ClampedCellAt(QPoint point) const = 0;
    // Moves the controller's cursor onto a cell of this grid.
    virtual void MoveCursorTo(TCell cell) = 0;
    // The row End goes to.
    virtual int32_t LastRow() const = 0;

    // The edits behind the shared keys and commands. EnterAtCursor: the
    // cell value at the cursor, then the cursor down. channel of
    // InsertOrDelete may be CArrangementEditor::kAllChannels. PasteBlock
    // and MoveBlock return false when they could not write.
    virtual void EnterAtCursor(uint32_t value) = 0;
    virtual void InsertOrDelete(bool insert, int32_t channel, int32_t row) = 0;
    virtual TCellBlock CopyBlock(const CCellSelection& selection) const = 0;
    virtual void ClearBlock(const CCellSelection& selection, const char* name) = 0;
    virtual bool PasteBlock(const TCellBlock& block, TCell at) = 0;
    virtual bool MoveBlock(const CCellSelection& selection, TCell drop) = 0;
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

    // The controller moved its cursor: the window's cursor follows, with the
    // selection collapsed onto it.
    void ShowCursorAt(TCell cell);
    // Runs the key's binding in Keys(); false when it has none.
    bool RunKey(const QKeyEvent& event);
    // The top left cell of a block being dragged, for its outline.
    std::optional<TCell> DropOutline() const;
    bool IsDragging() const { return dragging; }
    // The view scrolled by pixels during a drag, the drop cell by rows.
    void ScrollDrag(int pixels, int32_t rows);

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab is a key of the grid, not a focus step.
    bool focusNextPrevChild(bool) override { return false; }

    CSongEditor& editor;
    CPlaybackController& controller;

private:
    void Run(const TGridKey& binding, const QKeyEvent& event);
    // The cursor to a cell clamped into the grid.
    void Go(int32_t channel, int32_t row);
    void ClickCell(TCell cell);
    void SetSelection(const CCellSelection& selection);
    void RedrawMarks();

    TGridLook& look;
    const int32_t rows;
    const QSize cellSize;
    bool selecting = false;
    bool dragging = false;
    QPoint dragStart;
    TCell dropCell;
    TCellBlock clipboard;
};

} // namespace rix
