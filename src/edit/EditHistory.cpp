#include "EditHistory.h"

#include <utility>

namespace rix {

bool CEditHistory::Record(TUndoStep step, bool continuing)
{
    redoSteps.clear();
    // The newest step already holds the song from before the gesture began.
    if (continuing && gestureOpen && !undoSteps.empty() && undoSteps.back().name == step.name &&
        undoSteps.back().slice.Covers(step.slice))
        return true;
    Push(undoSteps, std::move(step));
    gestureOpen = true;
    return false;
}

std::string CEditHistory::UndoName() const
{
    return undoSteps.empty() ? std::string() : undoSteps.back().name;
}

std::string CEditHistory::RedoName() const
{
    return redoSteps.empty() ? std::string() : redoSteps.back().name;
}

TUndoStep CEditHistory::PopUndo()
{
    return Pop(undoSteps);
}

TUndoStep CEditHistory::PopRedo()
{
    return Pop(redoSteps);
}

void CEditHistory::PushRedo(TUndoStep step)
{
    Push(redoSteps, std::move(step));
}

void CEditHistory::PushUndo(TUndoStep step)
{
    Push(undoSteps, std::move(step));
}

void CEditHistory::Push(std::deque<TUndoStep>& steps, TUndoStep step)
{
    if (steps.size() == kLimit)
        steps.pop_front();
    steps.push_back(std::move(step));
}

TUndoStep CEditHistory::Pop(std::deque<TUndoStep>& steps)
{
    gestureOpen = false;
    TUndoStep step = std::move(steps.back());
    steps.pop_back();
    return step;
}

} // namespace rix
