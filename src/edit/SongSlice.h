#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "RixModuleData.h"
#include "SongChange.h"

namespace rix {

// Some parts of a song kept apart from it: what an undo step holds of the
// song before its edit (and, once undone, after it). The order table and
// the patterns travel together as the arrangement (16 KB); a channel's
// instrument and volume together as that channel.
class CSongSlice {
public:
    CSongSlice();
    ~CSongSlice();
    CSongSlice(CSongSlice&&) noexcept;
    CSongSlice& operator=(CSongSlice&&) noexcept;

    // A copy of the parts of data that change names.
    static CSongSlice Take(const CRixModuleData& data, const TSongChange& change);
    // Trades the kept parts with those of data: data gets them, the slice
    // gets what data held. Assignments and swaps only, so it is quick
    // enough to run under the module's write lock.
    void Exchange(CRixModuleData& data);

    // Whether it holds every part that other holds.
    bool Covers(const CSongSlice& other) const;
    bool HasArrangement() const { return arrangement != nullptr; }
    // The one channel it holds and nothing else, or -1.
    int32_t OnlyChannel() const;

private:
    struct TArrangement {
        uint32_t orderTable[RIX_CHANNELS][RIX_ORDER_POSITIONS];
        uint32_t patterns[RIX_CHANNELS][RIX_PATTERNS][RIX_ROWS];
    };

    std::unique_ptr<TArrangement> arrangement;
    std::array<std::optional<CRixModuleChannel>, RIX_CHANNELS> channels;
    std::optional<int32_t> masterVolume;
    std::optional<int32_t> bpm;
};

} // namespace rix
