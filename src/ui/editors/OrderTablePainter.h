#pragma once

#include <QImage>
#include <optional>

#include "GridLook.h"
#include "Offscreen.h"
#include "OrderTableGeometry.h"
#include "RixConstants.h"

class QPainter;

namespace rix {

// What the order table shows besides the entries.
struct TOrderTableLook : TGridLook {
    int32_t playPosition = -1;  // -1: nothing plays
};

using TOrderEntries = uint32_t[RIX_CHANNELS][RIX_ORDER_POSITIONS];

// Draws the order table with the theme: the header strip and the position
// numbers once, the 256 rows of entries into one tall off-screen image of
// which only changed rows are redrawn, and the visible part of it into the
// window at paint time. The images are made at the window's device pixel
// ratio. UI thread; the theme must exist.
class COrderTablePainter {
public:
    COrderTablePainter();

    // Makes the images again, at ratio, when it or the theme changed since
    // they were made; true then, and every row must be drawn again.
    bool Prepare(qreal ratio);

    // Redraws order positions first..last of the grid image.
    void DrawRows(const TOrderEntries& entries, const TOrderTableLook& look, int32_t first, int32_t last);
    // dropCell: the top left cell of a block being dragged, outlined there.
    void Paint(QPainter& painter, const COrderTableGeometry& geometry, const TOrderTableLook& look,
               std::optional<TCell> dropCell) const;

private:
    COffscreenKey key;
    QImage header;
    QImage numbers;
    QImage grid;
};

} // namespace rix
