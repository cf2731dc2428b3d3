#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "RixModuleChannel.h"
#include "SongEditor.h"

namespace rix {

// An oscillator item shows an element of a channel's oscillators or, for a
// carrier with frequency modulation switched on, of its
// transitionOscillators.
struct TOscillatorRef {
    std::size_t index = 0;
    bool transition = false;
};

// Where an envelope lies in the song: a channel's own envelope, one of an
// oscillator's two (which 0: volumeEnvelope, 1: transitionEnvelope) or of
// an effect's two (which 1: envelope1, 2: envelope2).
struct TEnvelopeAddress {
    enum TList { CHANNEL, OSCILLATORS, TRANSITION_OSCILLATORS, EFFECTS };
    int32_t channel = 0;
    TList list = CHANNEL;
    std::size_t index = 0;
    int32_t which = 0;

    // The envelope in song, or null when there is none there.
    const TRixEnvelope* In(const CRixModuleData& song) const;
    TRixEnvelope* In(CRixModuleData& song) const
    {
        return const_cast<TRixEnvelope*>(In(static_cast<const CRixModuleData&>(song)));
    }
};

// The operations of the oscillator, effect and envelope editors (see
// CSongEditor for what every operation does); each changes one channel's
// instrument, under the module's write lock mode 1 (envelopes: mode 2),
// and returns whether it changed the song. Channels outside 0..7, indexes
// outside the lists and addresses of no envelope change nothing.
class CInstrumentEditor {
public:
    explicit CInstrumentEditor(CSongEditor& editor);

    // A copy of the channel's instrument (a default one for a bad number).
    CRixModuleChannel ReadChannel(int32_t channel) const;
    std::optional<TRixEnvelope> ReadEnvelope(const TEnvelopeAddress& address) const;

    bool AddOscillator(int32_t channel);                                    // "Add Oscillator"
    bool ClearOscillators(int32_t channel);                                 // "Delete Oscillators"
    bool RemoveOscillator(int32_t channel, std::size_t index);              // "Delete Oscillator"
    bool SwapOscillators(int32_t channel, std::size_t index, std::size_t other);  // "Move Oscillator"
    // The copy goes right after the original, in both lists.
    bool DuplicateOscillator(int32_t channel, std::size_t index);           // "Copy Oscillator"
    bool ToggleTransition(int32_t channel, std::size_t index);              // "Frequency Modulation"
    // Adds cents to the pitch of every oscillator and transition oscillator.
    bool TransposeAll(int32_t channel, int32_t cents);                      // "Transpose"
    bool SetOscillatorType(int32_t channel, TOscillatorRef ref, int32_t type);  // "Waveform"
    bool SetOscillatorPitch(int32_t channel, TOscillatorRef ref, int32_t cents,
                            TEditStep step = TEditStep::New);               // "Pitch"
    bool SetOscillatorVolume(int32_t channel, TOscillatorRef ref, int32_t volume,
                             TEditStep step = TEditStep::New);              // "Oscillator Volume"

    bool AddEffect(int32_t channel, int32_t type);                          // "Add Effect"
    bool ClearEffects(int32_t channel);                                     // "Delete Effects"
    bool RemoveEffect(int32_t channel, std::size_t index);                  // "Delete Effect"
    bool SwapEffects(int32_t channel, std::size_t index, std::size_t other);  // "Move Effect"
    bool DuplicateEffect(int32_t channel, std::size_t index);               // "Copy Effect"
    // param1 (field 1) or param2 (field 2), named by the effect: "Delay
    // Length", "Resonance Amount", ...
    bool SetEffectParameter(int32_t channel, std::size_t index, int field, int32_t value,
                            TEditStep step = TEditStep::New);

    // "Envelope".
    bool SetEnvelope(const TEnvelopeAddress& address, const TRixEnvelope& envelope,
                     TEditStep step = TEditStep::New);

    // The whole instrument (volume, both oscillator lists, effects, channel
    // envelope) of `from` replaces that of `to` ("Copy Instrument"); one
    // read from a file or a preset replaces a channel's ("Load Instrument").
    bool CopyInstrument(int32_t from, int32_t to);
    bool LoadInstrument(int32_t channel, const CRixModuleChannel& instrument);

private:
    // Runs change on the channel of the song's copy; change returns false
    // when what it needs is not there.
    bool Edit(const std::string& name, int32_t channel, TEditStep step,
              const std::function<bool(CRixModuleChannel&)>& change, nexilon::TLockMode mode = nexilon::LOCKMODE_WRITE);
    bool ChangeOscillator(const char* name, int32_t channel, TOscillatorRef ref, TEditStep step,
                          const std::function<void(TRixOscillator&)>& change);

    CSongEditor& editor;
};

} // namespace rix
