#pragma once

#include <QImage>
#include <array>

#include "MessageWidget.h"
#include "Offscreen.h"

namespace rix {

class CPlaybackController;

// The oscillator bar (355 × 35): one 40 × 30 cell per channel at x = 24 +
// 40·c with a scope of what the channel plays at the heard position, and the
// channel's switch: a left click mutes or unmutes it, a right click solos it
// (or, when it is soloed already or another channel is off, turns all on).
// UI thread only.
class COscBarWnd : public CMessageWidget {
    Q_OBJECT
    // The samples a cell draws, every eighth of the 1024 fetched.
    using TTrace = std::array<int32_t, 40>;

public:
    static constexpr int CELL_WIDTH = 40;
    static constexpr int CELL_HEIGHT = 30;

    COscBarWnd(CPlaybackController& controller, QWidget* parent);
    ~COscBarWnd() override;


protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Draws again the cells whose trace or switch changed and repaints only
    // those; a silent channel costs nothing while the song plays on.
    void RedrawCells(bool withScopes);
    // The trace goes straight into the cell's pixels as a vertical run per
    // column; only a muted cell's "X" takes a painter.
    void DrawCell(int32_t channel, const TTrace* trace);
    // The cells' images at ratio, every cell drawn anew.
    void MakeCells(qreal ratio);

    CPlaybackController& controller;
    COffscreenKey key;
    std::array<QImage, 8> cells;
    // The empty cell in the theme's colours, at the cells' ratio.
    QImage emptyCell;
    bool showingScopes = false;
    // What each cell shows, so that an unchanged one is not drawn again.
    struct TShown {
        bool drawn = false;
        bool enabled = true;
        bool scope = false;
        TTrace trace{};
    };
    std::array<TShown, 8> shown;
};

} // namespace rix
