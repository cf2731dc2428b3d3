#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "EditHistory.h"
#include "EditStep.h"
#include "RixModule.h"
#include "nexilon/ReadWriteLock.h"

namespace rix {

class CArrangementEditor;
class CInstrumentEditor;
class CPlaybackController;

// The edit layer between the windows and the song. Every change a person
// makes to the song is a named operation here or in the editors it owns
// (Arrangement, Instruments): it works on a copy of the song, and when the
// copy differs it records the parts it changed as an undo step, writes them
// into the module under the lock mode of that kind of edit (held only for
// the assignments), and tells the controller's listeners once which data
// changed. An edit that changes nothing records, writes and tells nothing.
// Undo and Redo do the same with a step of the history.
//
// Operations take every argument they need (no window state), check them,
// and return whether the song changed. Threading: the UI thread, the one
// thread that edits; never called while holding the module's lock.
class CSongEditor {
public:
    // The tempo in beats per minute stays within these.
    static constexpr int32_t kMinTempo = 40;
    static constexpr int32_t kMaxTempo = 255;

    explicit CSongEditor(CPlaybackController& controller);
    ~CSongEditor();
    CSongEditor(const CSongEditor&) = delete;
    CSongEditor& operator=(const CSongEditor&) = delete;

    CPlaybackController& Controller() const { return controller; }
    CArrangementEditor& Arrangement() const { return *arrangement; }
    CInstrumentEditor& Instruments() const { return *instruments; }

    // channel 0..7; volumes are clamped to 0..255 ("Channel Volume",
    // "Master Volume").
    bool SetChannelVolume(int32_t channel, int32_t volume, TEditStep step = TEditStep::New);
    bool SetMasterVolume(int32_t volume, TEditStep step = TEditStep::New);
    // A typed tempo, clamped to kMinTempo..kMaxTempo; a spin step, which
    // does nothing when it would leave them ("Tempo").
    bool SetTempo(int32_t bpm);
    bool StepTempo(int32_t delta, TEditStep step = TEditStep::New);

    // The default song in place of the current one; no undo step. The
    // caller resets the editors (CPlaybackController::ResetEditors).
    void NewSong();

    bool CanUndo() const { return history.CanUndo(); }
    bool CanRedo() const { return history.CanRedo(); }
    // How many steps Undo can take back, one after the other.
    std::size_t UndoCount() const { return history.UndoCount(); }
    // The names of the steps Undo and Redo would take, empty when none.
    std::string UndoName() const { return history.UndoName(); }
    std::string RedoName() const { return history.RedoName(); }
    // Each takes the newest step back (or does it again), puts the cursor
    // where it was at that edit (an arrangement step) or on its channel (an
    // instrument step), and returns the step's name; empty when there was
    // nothing to take.
    std::string Undo();
    std::string Redo();

    // What read returns for the song, under the read lock.
    template <class TRead> auto Read(TRead read) const
    {
        CRixModuleLock data(module, nexilon::LOCKMODE_READ);
        return read(static_cast<const CRixModuleData&>(*data));
    }

    // The machinery of the operations: change works on a copy of the song
    // and returns false to drop it (say, when a needed pattern is missing).
    using TChange = std::function<bool(CRixModuleData&)>;
    bool Commit(const std::string& name, nexilon::TLockMode mode, TEditStep step, const TChange& change);

private:
    // Runs change on a copy; when that differs, writes the differing parts
    // into the module under mode and returns what differs, keeping the
    // parts as they were in before (when given).
    TSongChange Apply(nexilon::TLockMode mode, const TChange& change, CSongSlice* before);
    std::string TakeBack(bool undo);
    // Whether taking back the newest step would leave the song as it is.
    bool NewestStepUndoesNothing();

    CPlaybackController& controller;
    IRixModule& module;
    CEditHistory history;
    std::unique_ptr<CArrangementEditor> arrangement;
    std::unique_ptr<CInstrumentEditor> instruments;
};

} // namespace rix
