#pragma once

#include <cstdint>
#include <vector>

#include "RixEffect.h"
#include "RixEnvelope.h"
#include "RixOscillator.h"

namespace nexilon {
class CInputStreamSelector;
class COutputStreamSelector;
class CVarReader;
} // namespace nexilon

namespace rix {

// One channel's instrument. oscillators and transitionOscillators always
// have the same length: whatever adds, removes or moves an element of one
// does the same at the same index of the other.
class CRixModuleChannel {
public:
    int32_t volume = 100;
    std::vector<TRixOscillator> oscillators = std::vector<TRixOscillator>(1);
    std::vector<TRixOscillator> transitionOscillators = std::vector<TRixOscillator>(1);
    std::vector<TRixEffect> effects;
    TRixEnvelope envelope = TRixEnvelope::ChannelDefault();

    bool operator==(const CRixModuleChannel&) const = default;

    // volume 100, one default oscillator in each list, no effects, the
    // channel envelope {0, 256, 65, 3, 16384, 32768, 8192, true, true}.
    void Reset();

    // Appends a default oscillator pair; inserts, removes and moves keep the
    // two lists parallel. Indexes out of range do nothing.
    void AddOscillator();
    void InsertOscillator(std::size_t index, const TRixOscillator& oscillator,
                          const TRixOscillator& transitionOscillator);
    void RemoveOscillator(std::size_t index);
    void MoveOscillator(std::size_t from, std::size_t to);

    // Instrument files (".sonrixi"): Save writes version 3; Load reads
    // version 3 or 2 into this channel without resetting it first.
    void Save(nexilon::COutputStreamSelector& selector) const;
    void Load(nexilon::CInputStreamSelector& selector);
    void LoadVersion3(nexilon::CVarReader& reader);
    void LoadVersion2(nexilon::CVarReader& reader);
};

} // namespace rix
