#pragma once

#include <QImage>
#include <optional>

#include "GridLook.h"
#include "Offscreen.h"
#include "RixConstants.h"

class QPainter;

namespace rix {

// The patterns shown at one order position: each channel's pattern number
// (0 for none or one the editor cannot show) and its 16 cells.
struct TShownPatterns {
    uint32_t pattern[RIX_CHANNELS] = {};
    uint32_t cells[RIX_CHANNELS][RIX_ROWS] = {};
};

// What the pattern editor shows besides the cells.
struct TPatternLook : TGridLook {
    int32_t playRow = -1;  // -1: nothing plays
    int32_t octave = 5;
};

// Draws the pattern editor with the theme into three off-screen images (the
// header strip, the row numbers, the grid), redrawing only the rows asked
// for, and copies them into the window at paint time. The images are made
// at the window's device pixel ratio. UI thread; the theme must exist.
class CPatternPainter {
public:
    CPatternPainter();

    // Makes the images again, at ratio, when it or the theme changed since
    // they were made; true then, and the header and every row must be drawn
    // again.
    bool Prepare(qreal ratio);

    void DrawHeader(const TShownPatterns& shown, int32_t octave);
    void DrawRows(const TShownPatterns& shown, const TPatternLook& look, int32_t first, int32_t last);
    // dropCell: the top left cell of a block being dragged, outlined there.
    void Paint(QPainter& painter, const TPatternLook& look, std::optional<TCell> dropCell) const;

private:
    COffscreenKey key;
    QImage header;
    QImage numbers;
    QImage grid;
};

} // namespace rix
