#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "EditCursor.h"
#include "EditorNotifier.h"
#include "IRixModule.h"
#include "RixModuleData.h"

namespace rix {

// The editors' undo and redo history. Two kinds of step share it: an
// arrangement step (the whole order table and all patterns, with the
// editing cursor) and an instrument step (one channel's whole instrument).
// Undo puts back the newest step and keeps the state it replaces for
// Redo; any new snapshot drops what could be redone.
//
// Threading: UI thread only. The module is locked just around the copies,
// so playback may render between a snapshot and the edit after it.
class CUndoHistory {
public:
    // Steps kept; the oldest goes first (about 4 MB of arrangement steps).
    static constexpr std::size_t kLimit = 256;

    CUndoHistory(IRixModule& module, CEditCursor& cursor, CEditorNotifier& notifier);
    ~CUndoHistory();
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    // Before an edit of the order table or the patterns. A state equal to
    // the newest step is not stored twice.
    void TakeSnapshot();
    // Before an edit of channel's (0..7) instrument: volume, oscillators,
    // transition oscillators, effects, envelope.
    void TakeInstrumentSnapshot(int32_t channel);
    // Each does nothing when there is nothing to take back or to redo.
    void Undo();
    void Redo();
    bool CanUndo() const { return !undoSteps.empty(); }
    bool CanRedo() const { return !redoSteps.empty(); }

private:
    struct TStep;

    // The current state of the same kind (and channel) as step.
    std::unique_ptr<TStep> Capture(const TStep& step) const;
    std::unique_ptr<TStep> CaptureArrangement() const;
    std::unique_ptr<TStep> CaptureInstrument(int32_t channel) const;
    void Record(std::unique_ptr<TStep> step);
    void Push(std::deque<std::unique_ptr<TStep>>& steps, std::unique_ptr<TStep> step);
    // Writes the step into the module and moves the editors to it.
    void Restore(const TStep& step);
    // Moves the newest step of from back into the module, keeping the
    // state it replaces in to.
    void Exchange(std::deque<std::unique_ptr<TStep>>& from, std::deque<std::unique_ptr<TStep>>& to);

    IRixModule& module;
    CEditCursor& cursor;
    CEditorNotifier& notifier;
    // Oldest first.
    std::deque<std::unique_ptr<TStep>> undoSteps;
    std::deque<std::unique_ptr<TStep>> redoSteps;
};

} // namespace rix
