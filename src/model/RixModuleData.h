#pragma once

#include <cstdint>

#include "RixConstants.h"
#include "RixModuleChannel.h"

namespace nexilon {
class CInputStreamSelector;
class COutputStreamSelector;
class CVarReader;
} // namespace nexilon

namespace rix {

// The whole song. Order entries hold a pattern number 1..15 (0 = silent);
// pattern cells hold 0 (empty), 1..254 (note: octave (v-1)/12, semitone
// (v-1)%12 from C) or 255 (stop). Any 32-bit value is stored as it is; the
// editors keep theirs in range, files and the synthesizer cope with the rest.
class CRixModuleData {
public:
    uint32_t orderTable[RIX_CHANNELS][RIX_ORDER_POSITIONS];
    uint32_t patterns[RIX_CHANNELS][RIX_PATTERNS][RIX_ROWS];
    CRixModuleChannel channels[RIX_CHANNELS];
    int32_t masterVolume;
    int32_t bpm;

    CRixModuleData() { Reset(); }
    bool operator==(const CRixModuleData&) const = default;

    void Reset();
    void ResetChannel(int channel);

    // 1 + the highest order position with any non-zero entry; 0 when none.
    int GetSongLength() const;
    // Position arguments of 256 and more do nothing.
    void InsertOrderPosition(uint32_t position);
    void DeleteOrderPosition(uint32_t position);
    // Do nothing unless channel < 8, pattern < 16 and row < 16.
    void InsertRow(uint32_t channel, uint32_t pattern, uint32_t row);
    void DeleteRow(uint32_t channel, uint32_t pattern, uint32_t row);
    // The lowest pattern 1..15 of the channel whose rows are all 0, used in
    // the order table or not; 0 when there is none.
    int FindEmptyPattern(uint32_t channel) const;
    // Samples per row at the current tempo (see RowLengthFromBpm).
    int GetRowLength() const { return RowLengthFromBpm(bpm); }

    // Module files (".sonrix"): version 3 written, versions 3 and 2 read.
    void Save(nexilon::COutputStreamSelector& selector) const;
    void Load(nexilon::CInputStreamSelector& selector);
    void LoadVersion3(nexilon::CVarReader& reader);
    void LoadVersion2(nexilon::CVarReader& reader);
};

} // namespace rix
