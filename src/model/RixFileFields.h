#pragma once

#include <cstdint>

#include "RixConstants.h"
#include "RixEffect.h"
#include "RixEnvelope.h"
#include "RixModuleChannel.h"
#include "RixOscillator.h"

namespace nexilon {
class CVarReader;
class CVarWriter;
} // namespace nexilon

namespace rix {

// Record tags of version 3 module and instrument files. Instrument files
// use the same records without the channel number.
enum TRixFileTag : int32_t {
    RIXTAG_TEMPO = 1,                // legacy: bpm only, master volume 100
    RIXTAG_ORDER_TABLE = 2,
    RIXTAG_PATTERNS = 3,
    RIXTAG_CHANNEL = 4,
    RIXTAG_PLAIN_OSCILLATOR = 5,     // legacy: an oscillator without transition
    RIXTAG_OSCILLATOR = 6,
    RIXTAG_TRANSITION_OSCILLATOR = 7,
    RIXTAG_DELAY = 8,
    RIXTAG_FLANGE = 9,
    RIXTAG_LOWPASS = 10,
    RIXTAG_HIGHPASS = 11,
    RIXTAG_OVERDRIVE_DRIVE = 12,     // legacy: Overdrive, param1 only
    RIXTAG_OVERDRIVE_PLAIN = 13,     // legacy: Overdrive without envelope
    RIXTAG_BANDPASS = 14,
    RIXTAG_RESONANCE = 15,
    RIXTAG_TEMPO_VOLUME = 16,
    RIXTAG_OVERDRIVE = 17,
    RIXTAG_CURRENT_SPEED = 18,       // envelopes after it use the current speed time base
    RIXTAG_END = 255,
};

// Envelope speeds of files written before the current time base were about
// ten times larger: speed = truncate(stored * 44 / 441).
int32_t ConvertOldSpeed(int32_t stored);

// An envelope as seven ints (minValue, maxValue, speed, resetMode, phase,
// keep, sustain) and two bools (keepEnabled, sustainEnabled).
void WriteEnvelope(nexilon::CVarWriter& writer, const TRixEnvelope& envelope);
TRixEnvelope ReadEnvelope(nexilon::CVarReader& reader, bool oldTimeBase);

// An oscillator record's fields: type, volume, pitch, the transition flag
// when withTransition (records 6), then the volume and transition envelopes.
void WriteOscillatorFields(nexilon::CVarWriter& writer, const TRixOscillator& oscillator, bool withTransition);
TRixOscillator ReadOscillatorFields(nexilon::CVarReader& reader, bool withTransition, bool oldTimeBase);

// The record tag an effect type is written with; 0 for a type that has none.
int32_t EffectTag(int32_t type);
// The fields of an effect record as its type's record carries them.
void WriteEffectFields(nexilon::CVarWriter& writer, const TRixEffect& effect);
// Whether ReadEffectFields knows the tag (records 8-11, 13-15, 17).
bool IsEffectTag(int32_t tag);
// A new effect of the record's type holding the type's defaults, with the
// record's fields read over them.
TRixEffect ReadEffectFields(nexilon::CVarReader& reader, int32_t tag, bool oldTimeBase);

// Files may hold more oscillator records of one kind than of the other;
// after a load, finished or failed, the transition list is cut or padded
// with default oscillators to the length of the oscillator list, so every
// user of the channel can rely on the two lists running parallel.
void MatchTransitionOscillators(CRixModuleChannel& channel);

// Matches the lists of `count` channels when the scope of a load ends,
// whether the load finished or threw.
class CParallelListsGuard {
public:
    CParallelListsGuard(CRixModuleChannel* channels, int count) : channels(channels), count(count) {}
    ~CParallelListsGuard()
    {
        for (int i = 0; i < count; ++i)
            MatchTransitionOscillators(channels[i]);
    }
    CParallelListsGuard(const CParallelListsGuard&) = delete;
    CParallelListsGuard& operator=(const CParallelListsGuard&) = delete;

private:
    CRixModuleChannel* channels;
    int count;
};

} // namespace rix
