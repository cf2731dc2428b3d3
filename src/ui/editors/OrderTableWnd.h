#pragma once

#include "GridWnd.h"
#include "OrderTableGeometry.h"
#include "OrderTablePainter.h"

class QScrollBar;

namespace rix {

// The order table: which pattern (1..15) each of the 8 channels plays at
// each of the 256 order positions. Its cursor is the controller's channel
// and order position; typing hexadecimal digits fills a column downwards,
// and positions, entries and blocks are inserted, deleted, cut, copied,
// pasted and dragged (CGridWnd), the view scrolling while a drag goes
// past its edge. While the song plays the playing position is shown, and
// kept in view while the window follows playback. UI thread.
class COrderTableWnd : public CGridWnd {
    Q_OBJECT
public:
    COrderTableWnd(CSongEditor& editor, QWidget* parent);
    ~COrderTableWnd() override;

    std::span<const TGridKey> Keys() const override { return OrderTableKeys(); }
    void SetChannelCursor(int32_t channel) override;
    void SetOrderCursor(int32_t position) override;
    void OnSongChanged(const TSongChange& change) override;

    int32_t PlayPosition() const { return look.playPosition; }
    const COrderTableGeometry& Geometry() const { return geometry; }

protected:
    TGrid Grid() const override { return TGrid::OrderTable(); }
    std::optional<TCell> CellAt(QPoint point) const override;
    TCell ClampedCellAt(QPoint point) const override;
    void MoveCursorTo(TCell cell) override;
    int32_t LastRow() const override;
    void RunCommand(const TGridKey& binding, const QKeyEvent& event) override;
    void RedrawRows(int32_t first, int32_t last) override;
    void CursorShown(int32_t row) override { BringIntoView(row); }
    void PointerDragged(QPoint point) override;
    void PointerReleased() override;
    void FollowPlaybackChanged() override;

    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void ScrollTo(int position);
    void BringIntoView(int32_t position);
    void AutoScroll(int direction);
    void RedrawAll();

    COrderTableGeometry geometry;
    COrderTablePainter painter;
    TOrderTableLook look;
    QScrollBar* scrollBar;
    int scrollUpTimer = 0;
    int scrollDownTimer = 0;
};

} // namespace rix
