#include "UndoHistory.h"

#include <cstring>

#include "RixModule.h"

namespace rix {

struct CUndoHistory::TStep {
    // -1 for an arrangement step, else the instrument's channel.
    int32_t channel = -1;
    uint32_t orderTable[RIX_CHANNELS][RIX_ORDER_POSITIONS];
    uint32_t patterns[RIX_CHANNELS][RIX_PATTERNS][RIX_ROWS];
    int32_t cursorChannel = 0;
    int32_t cursorOrder = 0;
    int32_t cursorRow = 0;
    CRixModuleChannel instrument;

    bool IsArrangement() const { return channel < 0; }
    bool SameState(const TStep& other) const
    {
        if (channel != other.channel)
            return false;
        if (!IsArrangement())
            return instrument == other.instrument;
        return std::memcmp(orderTable, other.orderTable, sizeof orderTable) == 0 &&
               std::memcmp(patterns, other.patterns, sizeof patterns) == 0;
    }
};

CUndoHistory::CUndoHistory(IRixModule& module, CEditCursor& cursor, CEditorNotifier& notifier)
    : module(module), cursor(cursor), notifier(notifier)
{
}

CUndoHistory::~CUndoHistory() = default;

void CUndoHistory::TakeSnapshot()
{
    Record(CaptureArrangement());
}

void CUndoHistory::TakeInstrumentSnapshot(int32_t channel)
{
    if (channel < 0 || channel >= RIX_CHANNELS)
        return;
    Record(CaptureInstrument(channel));
}

void CUndoHistory::Undo()
{
    Exchange(undoSteps, redoSteps);
}

void CUndoHistory::Redo()
{
    Exchange(redoSteps, undoSteps);
}

std::unique_ptr<CUndoHistory::TStep> CUndoHistory::Capture(const TStep& step) const
{
    return step.IsArrangement() ? CaptureArrangement() : CaptureInstrument(step.channel);
}

std::unique_ptr<CUndoHistory::TStep> CUndoHistory::CaptureArrangement() const
{
    auto step = std::make_unique<TStep>();
    {
        CRixModuleLock data(module, nexilon::LOCKMODE_READ);
        std::memcpy(step->orderTable, data->orderTable, sizeof step->orderTable);
        std::memcpy(step->patterns, data->patterns, sizeof step->patterns);
    }
    step->cursorChannel = cursor.Channel();
    step->cursorOrder = cursor.Order();
    step->cursorRow = cursor.Row();
    return step;
}

std::unique_ptr<CUndoHistory::TStep> CUndoHistory::CaptureInstrument(int32_t channel) const
{
    auto step = std::make_unique<TStep>();
    step->channel = channel;
    CRixModuleLock data(module, nexilon::LOCKMODE_READ);
    step->instrument = data->channels[channel];
    return step;
}

void CUndoHistory::Record(std::unique_ptr<TStep> step)
{
    // An edit follows, so what was undone can no longer be redone.
    redoSteps.clear();
    if (!undoSteps.empty() && undoSteps.back()->SameState(*step))
        return;
    Push(undoSteps, std::move(step));
}

void CUndoHistory::Push(std::deque<std::unique_ptr<TStep>>& steps, std::unique_ptr<TStep> step)
{
    if (steps.size() == kLimit)
        steps.pop_front();
    steps.push_back(std::move(step));
}

void CUndoHistory::Exchange(std::deque<std::unique_ptr<TStep>>& from, std::deque<std::unique_ptr<TStep>>& to)
{
    if (from.empty())
        return;
    std::unique_ptr<TStep> step = std::move(from.back());
    from.pop_back();
    Push(to, Capture(*step));
    Restore(*step);
}

void CUndoHistory::Restore(const TStep& step)
{
    if (step.IsArrangement()) {
        {
            CRixModuleLock data(module, nexilon::LOCKMODE_WRITE);
            std::memcpy(data->orderTable, step.orderTable, sizeof step.orderTable);
            std::memcpy(data->patterns, step.patterns, sizeof step.patterns);
        }
        cursor.SelectChannel(step.cursorChannel);
        cursor.SetOrderPosition(step.cursorOrder);
        cursor.SetRow(step.cursorRow);
        notifier.RefreshAndRepaint({EDITOR_ORDER_TABLE, EDITOR_PATTERN});
        return;
    }
    {
        CRixModuleLock data(module, nexilon::LOCKMODE_WRITE);
        data->channels[step.channel] = step.instrument;
    }
    cursor.SelectChannel(step.channel);
    notifier.RefreshAndRepaint({EDITOR_OSCILLATOR_LIST, EDITOR_EFFECT_LIST});
}

} // namespace rix
