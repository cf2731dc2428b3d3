#include "SongEditor.h"

#include <algorithm>
#include <utility>

#include "ArrangementEditor.h"
#include "InstrumentEditor.h"
#include "PlaybackController.h"

namespace rix {

namespace {

constexpr int32_t kMaxVolume = 255;

bool IsChannel(int32_t channel)
{
    return channel >= 0 && channel < RIX_CHANNELS;
}

} // namespace

CSongEditor::CSongEditor(CPlaybackController& controller)
    : controller(controller), module(controller.GetSongModule()),
      arrangement(std::make_unique<CArrangementEditor>(*this)), instruments(std::make_unique<CInstrumentEditor>(*this))
{
}

CSongEditor::~CSongEditor() = default;

bool CSongEditor::SetChannelVolume(int32_t channel, int32_t volume, TEditStep step)
{
    if (!IsChannel(channel))
        return false;
    volume = std::clamp(volume, 0, kMaxVolume);
    return Commit("Channel Volume", nexilon::LOCKMODE_WRITE, step, [channel, volume](CRixModuleData& song) {
        song.channels[channel].volume = volume;
        return true;
    });
}

bool CSongEditor::SetMasterVolume(int32_t volume, TEditStep step)
{
    volume = std::clamp(volume, 0, kMaxVolume);
    return Commit("Master Volume", nexilon::LOCKMODE_WRITE, step, [volume](CRixModuleData& song) {
        song.masterVolume = volume;
        return true;
    });
}

bool CSongEditor::SetTempo(int32_t bpm)
{
    bpm = std::clamp(bpm, kMinTempo, kMaxTempo);
    return Commit("Tempo", nexilon::LOCKMODE_WRITE, TEditStep::New, [bpm](CRixModuleData& song) {
        song.bpm = bpm;
        return true;
    });
}

bool CSongEditor::StepTempo(int32_t delta, TEditStep step)
{
    return Commit("Tempo", nexilon::LOCKMODE_WRITE_EXCL, step, [delta](CRixModuleData& song) {
        const int64_t next = int64_t(song.bpm) + delta;
        if (next < kMinTempo || next > kMaxTempo)
            return false;
        song.bpm = int32_t(next);
        return true;
    });
}

void CSongEditor::NewSong()
{
    CRixModuleLock data(module, nexilon::LOCKMODE_WRITE);
    data->Reset();
}

std::string CSongEditor::Undo()
{
    return TakeBack(true);
}

std::string CSongEditor::Redo()
{
    return TakeBack(false);
}

bool CSongEditor::Commit(const std::string& name, nexilon::TLockMode mode, TEditStep step, const TChange& change)
{
    if (step == TEditStep::New)
        history.EndGesture();
    TUndoStep undo{name, {}, controller.GetCurrentChannel(), controller.GetCurrentOrder(), controller.GetCurrentRow()};
    const TSongChange changed = Apply(mode, change, &undo.slice);
    if (changed.IsEmpty())
        return false;
    // A gesture back where it began (a fader dragged away and back) leaves
    // no step that would undo nothing.
    if (history.Record(std::move(undo), step == TEditStep::Continue) && NewestStepUndoesNothing())
        history.PopUndo();
    controller.AnnounceSongChange(changed);
    return true;
}

bool CSongEditor::NewestStepUndoesNothing()
{
    const CRixModuleData song = Read([](const CRixModuleData& data) { return data; });
    CRixModuleData undone = song;
    // Exchanging twice leaves the step as it was.
    CSongSlice& slice = history.NewestUndo().slice;
    slice.Exchange(undone);
    const bool nothing = SongDifference(song, undone).IsEmpty();
    slice.Exchange(undone);
    return nothing;
}

TSongChange CSongEditor::Apply(nexilon::TLockMode mode, const TChange& change, CSongSlice* before)
{
    // Two copies of about 20 KB each: nothing next to a repaint, and the
    // lock is held only for copying out and for the swaps.
    std::unique_ptr<CRixModuleData> song;
    {
        CRixModuleLock data(module, nexilon::LOCKMODE_READ);
        song = std::make_unique<CRixModuleData>(*data);
    }
    auto edited = std::make_unique<CRixModuleData>(*song);
    if (!change(*edited))
        return {};
    const TSongChange changed = SongDifference(*song, *edited);
    if (changed.IsEmpty())
        return {};
    if (before)
        *before = CSongSlice::Take(*song, changed);
    // Takes the module's old parts, freed only once the lock is released.
    CSongSlice parts = CSongSlice::Take(*edited, changed);
    {
        CRixModuleLock data(module, mode);
        parts.Exchange(*data);
    }
    return changed;
}

std::string CSongEditor::TakeBack(bool undo)
{
    if (undo ? !history.CanUndo() : !history.CanRedo())
        return {};
    TUndoStep step = undo ? history.PopUndo() : history.PopRedo();
    // After the exchange the step holds the song as it is now: the other side.
    const TSongChange changed = Apply(nexilon::LOCKMODE_WRITE, [&step](CRixModuleData& song) {
        step.slice.Exchange(song);
        return true;
    }, nullptr);
    const int32_t channel = std::exchange(step.channel, controller.GetCurrentChannel());
    const int32_t order = std::exchange(step.order, controller.GetCurrentOrder());
    const int32_t row = std::exchange(step.row, controller.GetCurrentRow());
    if (step.slice.HasArrangement()) {
        controller.SelectChannel(channel);
        controller.SetOrderPosition(order);
        controller.SetRow(row);
    } else if (step.slice.OnlyChannel() >= 0) {
        controller.SelectChannel(step.slice.OnlyChannel());
    }
    const std::string name = step.name;
    if (undo)
        history.PushRedo(std::move(step));
    else
        history.PushUndo(std::move(step));
    controller.AnnounceSongChange(changed);
    return name;
}

} // namespace rix
