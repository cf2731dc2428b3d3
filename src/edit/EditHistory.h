#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "SongSlice.h"

namespace rix {

// One step of the history: its name for the Edit menu ("Tempo", "Paste"),
// the parts of the song it changed as they were on the other side of the
// step, and the editing cursor at that time.
struct TUndoStep {
    std::string name;
    CSongSlice slice;
    int32_t channel = 0;
    int32_t order = 0;
    int32_t row = 0;
};

// The undo and redo stacks of the edit layer, up to 256 steps each; the
// oldest goes first. Recording a step drops what could be redone. The
// steps of one gesture (a fader drag, a held spin button) make one step:
// a change recorded as continuing, with the same name, merges into the
// newest step while that gesture is open. Plain storage: the song editor
// moves the steps in and out of the song. UI thread only.
class CEditHistory {
public:
    static constexpr std::size_t kLimit = 256;

    // A new edit; continuing: it goes on the open gesture's step (true).
    bool Record(TUndoStep step, bool continuing);
    // The newest step to undo; check CanUndo first.
    TUndoStep& NewestUndo() { return undoSteps.back(); }
    // The next recording starts a step of its own.
    void EndGesture() { gestureOpen = false; }

    bool CanUndo() const { return !undoSteps.empty(); }
    bool CanRedo() const { return !redoSteps.empty(); }
    std::size_t UndoCount() const { return undoSteps.size(); }
    // The names of the steps Undo and Redo would take; empty when none.
    std::string UndoName() const;
    std::string RedoName() const;
    // The newest step of either side, taken out; check CanUndo or CanRedo
    // first.
    TUndoStep PopUndo();
    TUndoStep PopRedo();
    // A step taken back (or done again) goes to the other side.
    void PushRedo(TUndoStep step);
    void PushUndo(TUndoStep step);

private:
    static void Push(std::deque<TUndoStep>& steps, TUndoStep step);
    TUndoStep Pop(std::deque<TUndoStep>& steps);

    // Oldest first.
    std::deque<TUndoStep> undoSteps;
    std::deque<TUndoStep> redoSteps;
    bool gestureOpen = false;
};

} // namespace rix
