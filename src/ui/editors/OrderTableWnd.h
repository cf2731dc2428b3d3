#pragma once

#include <optional>

#include "CellBlock.h"
#include "IClipboardTarget.h"
#include "MessageWidget.h"
#include "OrderTableGeometry.h"
#include "OrderTablePainter.h"

class QScrollBar;

namespace rix {

class CPatternWnd;
class CPlaybackController;

// The order table: which pattern (1..15) each of the 8 channels plays at
// each of the 256 order positions. Its cursor is the controller's channel
// and order position; typing hexadecimal digits fills a column downwards,
// and positions, cells and blocks are inserted, deleted, cut, copied,
// pasted and dragged. While the song plays the playing position is shown
// and kept in view. Every edit takes an undo snapshot first. UI thread.
class COrderTableWnd : public CMessageWidget, public IClipboardTarget {
    Q_OBJECT
public:
    COrderTableWnd(CPlaybackController& controller, QWidget* parent);
    ~COrderTableWnd() override;

    // The pattern editor gets the focus on Tab and is redrawn after edits.
    void SetPatternWnd(CPatternWnd* pattern);

    // The "+" and "-" keys (here and in the pattern editor): the cursor
    // cell's pattern number up or down by delta, within 0..15.
    void StepCursorCell(int delta);

    void SetChannelCursor(int32_t channel) override;
    void SetOrderCursor(int32_t position) override;
    void Refresh() override;
    void Repaint() override;

    void Cut() override;
    void Copy() override;
    void Paste() override;

    const CCellSelection& Selection() const { return look.selection; }
    int32_t PlayPosition() const { return look.playPosition; }
    const COrderTableGeometry& Geometry() const { return geometry; }

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab is a key of this window, not a focus step.
    bool focusNextPrevChild(bool) override { return false; }

private:
    void MoveCursorTo(int32_t position, int32_t channel);
    // Typed digits and single-cell Delete: the cell, then one position down.
    void TypeCursorCell(uint32_t value);
    void InsertOrDelete(bool insert, bool allChannels, int32_t position);
    void ClearSelection();
    void MoveBlock(TCell drop);
    // Drop cell for a drag that moved dy, dx pixels from its start.
    TCell DropCellFor(int dx, int dy) const;
    void ScrollTo(int position);
    void BringIntoView(int32_t position);
    void AutoScroll(int direction);
    void StopAutoScroll();
    void SetSelection(const CCellSelection& selection);
    // Re-reads the entries and redraws order positions first..last.
    void RedrawRows(int32_t first, int32_t last);
    void RedrawAll();
    // After an edit: this window and the pattern editor.
    void EditDone();

    CPlaybackController& controller;
    CPatternWnd* pattern = nullptr;
    COrderTableGeometry geometry;
    COrderTablePainter painter;
    TOrderTableLook look;
    QScrollBar* scrollBar;
    bool selecting = false;
    bool dragging = false;
    QPoint dragStart;
    TCell dropCell;
    int scrollUpTimer = 0;
    int scrollDownTimer = 0;
    TCellBlock clipboard;
};

} // namespace rix
