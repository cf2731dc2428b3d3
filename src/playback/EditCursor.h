#pragma once

#include <atomic>
#include <cstdint>

#include "EditorNotifier.h"

namespace rix {

// The editing cursor that every editor follows: channel 0..7, order
// position 0..255, row 0..15, all 0 at the start.
//
// Threading: moved on the UI thread only; the playback thread reads it
// (the start position, the cursor it posts at the end), hence atomics.
class CEditCursor {
public:
    // playing: true while a playback reports its own position to the time
    // counter, which then hears nothing of the cursor.
    CEditCursor(CEditorNotifier& notifier, const std::atomic<bool>& playing);

    // Each clamps; a change moves the editors' cursors.
    void SelectChannel(int32_t channel);
    void SetOrderPosition(int32_t position);
    void SetRow(int32_t row);
    // Row 0 in the pattern editor even when it is already 0, since a reset
    // editor must be told.
    void ResetRow();

    int32_t Channel() const { return channel; }
    int32_t Order() const { return order; }
    int32_t Row() const { return row; }
    // order × 16 + row, as the time counter shows it.
    int32_t AbsoluteRow() const;

private:
    void StoreRow(int32_t newRow);
    void PostToTimeCounter();

    CEditorNotifier& notifier;
    const std::atomic<bool>& playing;
    std::atomic<int32_t> channel{0};
    std::atomic<int32_t> order{0};
    std::atomic<int32_t> row{0};
};

} // namespace rix
