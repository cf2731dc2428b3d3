#pragma once

#include "GridWnd.h"
#include "PatternPainter.h"

namespace rix {

// The tracker grid: the patterns the 8 channels play at the current order
// position (at the playing one while the song plays and the window follows
// playback), 16 rows each. Notes
// are typed with the note keys in the chosen octave (F1..F8) or come from a
// MIDI keyboard (MSG_MIDI_NOTE), previewed, and the cursor advances; a
// channel without a pattern there gets its first empty one. Rows are
// inserted and deleted, blocks cut, copied, pasted and dragged (CGridWnd).
// The cursor is the controller's channel and row. UI thread.
class CPatternWnd : public CGridWnd {
    Q_OBJECT
public:
    CPatternWnd(CSongEditor& editor, QWidget* parent);
    ~CPatternWnd() override;

    std::span<const TGridKey> Keys() const override { return PatternKeys(); }
    void SetChannelCursor(int32_t channel) override;
    void SetOrderCursor(int32_t order) override;
    void SetRowCursor(int32_t row) override;
    void OnSongChanged(const TSongChange& change) override;

    // The playing row as shown (-1 when the shown patterns do not play),
    // the playing order position (-1 when nothing plays) and the order
    // position whose patterns are shown.
    int32_t PlayRow() const { return look.playRow; }
    int32_t PlayOrder() const { return playOrder; }
    int32_t ShownOrder() const;

protected:
    // The patterns at the controller's order position.
    TGrid Grid() const override;
    std::optional<TCell> CellAt(QPoint point) const override;
    TCell ClampedCellAt(QPoint point) const override;
    void MoveCursorTo(TCell cell) override;
    int32_t LastRow() const override { return RIX_ROWS - 1; }
    void ReportNoRoom(int32_t channel, bool blockEdit) override;
    void ValueEntered(TCell cell, uint32_t value) override;
    void RunCommand(const TGridKey& binding, const QKeyEvent& event) override;
    void RedrawRows(int32_t first, int32_t last) override;
    void FollowPlaybackChanged() override { RedrawAll(); }

    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Shows the patterns of ShownOrder() anew, with the playing row when
    // they are the ones playing.
    void RedrawAll();

    CPatternPainter painter;
    TPatternLook look;
    int32_t playOrder = -1;
    int32_t playRow = -1;
};

} // namespace rix
