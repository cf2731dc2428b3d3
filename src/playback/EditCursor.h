#pragma once

#include <atomic>
#include <cstdint>

#include "EditorNotifier.h"

namespace rix {

// The editing cursor that every editor follows: channel 0..7, order
// position 0..255, row 0..15, all 0 at the start.
//
// Threading: moved on the UI thread only; the playback thread reads the
// order position and row it starts from, hence atomics.
class CEditCursor {
public:
    explicit CEditCursor(CEditorNotifier& notifier);

    // Each clamps; a change moves the editors' cursors.
    void SelectChannel(int32_t channel);
    void SetOrderPosition(int32_t position);
    void SetRow(int32_t row);
    // Row 0, told to the editors even when it is already 0, since a reset
    // editor must hear it.
    void ResetRow();

    int32_t Channel() const { return channel; }
    int32_t Order() const { return order; }
    int32_t Row() const { return row; }

private:
    CEditorNotifier& notifier;
    std::atomic<int32_t> channel{0};
    std::atomic<int32_t> order{0};
    std::atomic<int32_t> row{0};
};

} // namespace rix
