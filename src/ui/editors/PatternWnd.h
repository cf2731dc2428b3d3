#pragma once

#include <optional>

#include "CellBlock.h"
#include "IClipboardTarget.h"
#include "MessageWidget.h"
#include "PatternPainter.h"

namespace rix {

class COrderTableWnd;
class CPlaybackController;

// The tracker grid: the patterns the 8 channels play at the current order
// position (at the playing one while the song plays), 16 rows each. Notes
// are typed with the note keys in the chosen octave (F1..F8) or come from a
// MIDI keyboard (MSG_MIDI_NOTE), previewed and the cursor advances; a
// channel without a pattern there gets the first empty one. Rows are
// inserted and deleted, blocks cut, copied, pasted and dragged. The cursor
// is the controller's channel and row. Every edit takes an undo snapshot
// first. UI thread.
class CPatternWnd : public CMessageWidget, public IClipboardTarget {
    Q_OBJECT
public:
    CPatternWnd(CPlaybackController& controller, QWidget* parent);
    ~CPatternWnd() override;

    // The order table gets the focus on Tab, follows "+" and "-" and is
    // redrawn when a pattern is placed.
    void SetOrderTable(COrderTableWnd* orderTable);

    void SetChannelCursor(int32_t channel) override;
    void SetRowCursor(int32_t row) override;
    void Refresh() override;
    void Repaint() override;

    void Cut() override;
    void Copy() override;
    void Paste() override;

    const CCellSelection& Selection() const { return look.selection; }
    int32_t PlayRow() const { return look.playRow; }
    int32_t PlayOrder() const { return playOrder; }

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab is a key of this window, not a focus step.
    bool focusNextPrevChild(bool) override { return false; }

private:
    // Note keys, the stop note, single-cell Delete and MIDI notes.
    void EnterValue(uint32_t value);
    void InsertOrDeleteRow(bool insert, bool allChannels, int32_t row);
    void ClearSelection();
    void MoveBlock(TCell drop);
    // Makes sure channels first.. (count of them) have a pattern at the
    // cursor's order position, placing empty ones; false, after telling the
    // user, when a channel has none to place. Takes the undo snapshot.
    bool PrepareChannels(int32_t first, int32_t count, bool blockEdit);
    void MoveCursorTo(int32_t row, int32_t channel);
    void ClickCell(TCell cell);
    void SetSelection(const CCellSelection& selection);
    void StepOrderCell(int delta);
    // Re-reads the shown patterns and redraws rows first..last.
    void RedrawRows(int32_t first, int32_t last);
    void RedrawAll();
    void OrderTableChanged();

    CPlaybackController& controller;
    COrderTableWnd* orderTable = nullptr;
    CPatternPainter painter;
    TPatternLook look;
    int32_t playOrder = -1;
    bool selecting = false;
    bool dragging = false;
    QPoint dragStart;
    TCell dropCell;
    TCellBlock clipboard;
};

} // namespace rix
