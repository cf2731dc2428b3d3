#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "RixModuleChannel.h"

namespace rix {

class CPlaybackController;
class IRixModule;

// An oscillator item shows an element of a channel's oscillators or, for a
// carrier with frequency modulation switched on, of its
// transitionOscillators.
struct TOscillatorRef {
    std::size_t index = 0;
    bool transition = false;
};

// Whether a change begins an undo step of its own (a click, a typed value,
// the press that starts a drag) or belongs to the running one (the moves of
// a drag).
enum class TEditStep { New, Continue };

// Every change the instrument editors make to the song. Each holds the
// module's write lock only while it changes the channel, so the player
// (which reads under the lock) waits at most for one small edit and picks
// the change up through the change counter. A change with TEditStep::New
// first records the channel's instrument in the controller's undo history.
// Channels outside 0..7 and indexes outside the lists change nothing and
// record nothing.
//
// Threading: the thread that edits (the UI thread); never called with the
// module locked.
class CInstrumentEditor {
public:
    explicit CInstrumentEditor(CPlaybackController& controller);

    // A copy taken under the read lock (a default channel for a bad number).
    CRixModuleChannel ReadChannel(int32_t channel) const;

    // Records the channel's instrument in the undo history, before a change
    // made elsewhere (the envelope editor edits in place).
    void BeginStep(int32_t channel);

    void AddOscillator(int32_t channel);
    void ClearOscillators(int32_t channel);
    void RemoveOscillator(int32_t channel, std::size_t index);
    // False, with nothing changed, when either index is outside the list.
    bool SwapOscillators(int32_t channel, std::size_t index, std::size_t other);
    // The copy goes right after the original, in both lists.
    void DuplicateOscillator(int32_t channel, std::size_t index);
    void ToggleTransition(int32_t channel, std::size_t index);
    // Adds cents to the pitch of every oscillator and transition oscillator.
    void TransposeAll(int32_t channel, int32_t cents);
    void ChangeOscillator(int32_t channel, TOscillatorRef ref, const std::function<void(TRixOscillator&)>& change,
                          TEditStep step = TEditStep::New);

    void AddEffect(int32_t channel, int32_t type);
    void ClearEffects(int32_t channel);
    void RemoveEffect(int32_t channel, std::size_t index);
    bool SwapEffects(int32_t channel, std::size_t index, std::size_t other);
    void DuplicateEffect(int32_t channel, std::size_t index);
    void ChangeEffect(int32_t channel, std::size_t index, const std::function<void(TRixEffect&)>& change,
                      TEditStep step = TEditStep::New);

    // The whole instrument (volume, both oscillator lists, effects, channel
    // envelope) of `from` replaces that of `to`; nothing when they are equal.
    void CopyInstrument(int32_t from, int32_t to);
    void ReplaceInstrument(int32_t channel, const CRixModuleChannel& instrument);

    // The address of an envelope inside the module, for the envelope editor,
    // which edits it in place; null when the element does not exist. Valid
    // until the next change of the channel's lists.
    TRixEnvelope* OscillatorEnvelope(int32_t channel, TOscillatorRef ref, bool transitionEnvelope) const;
    TRixEnvelope* EffectEnvelope(int32_t channel, std::size_t index, int which) const;

private:
    // Runs change on the channel under the write lock when applies (checked
    // under the read lock) holds; returns whether it ran.
    bool Edit(int32_t channel, TEditStep step, const std::function<bool(const CRixModuleChannel&)>& applies,
              const std::function<void(CRixModuleChannel&)>& change);

    CPlaybackController& controller;
    IRixModule& module;
};

} // namespace rix
