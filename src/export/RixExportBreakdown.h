#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "RixExportSize.h"
#include "RixModuleData.h"
#include "RixSongTables.h"

namespace rix {

// A share of the exported song's bytes.
struct TRixSizePart {
    std::string name;
    uint32_t rawBytes = 0;
    // What the part adds to the packed whole where it stands in the file,
    // so the parts' packed bytes add up to the packed total exactly (a
    // part that packs into what comes before it can even make it smaller).
    int32_t packedBytes = 0;
};

// A change to the song that would save bytes, and about how many.
struct TRixSizeHint {
    std::string text;
    uint32_t rawBytes = 0;
};

// Where the bytes of the exported song go: for a size panel, recomputed
// after edits (a few milliseconds for a large song; replay_bench).
struct TRixExportBreakdown {
    // "order table" (with the pattern lookup), "patterns, channel 1" to
    // "patterns, channel 8", "envelopes" (shapes and counters),
    // "oscillators", "effects", "channel settings": they add up to total.
    std::vector<TRixSizePart> parts;
    TExportSize total;
    // The replay routine's code for the features the song uses, as 32-bit
    // x86 built for an intro (-Os), packed on its own: an estimate from the
    // routine's measured sizes.
    TRixSizePart code;
    std::vector<TRixSizeHint> hints;
};

// The form the musician exports: plain, or with `exact` the exact form.
// The caller holds the module's read lock.
TRixExportBreakdown BreakDownExportSize(const CRixModuleData& data, bool exact);

// The routine's code estimate for tables (see TRixExportBreakdown::code).
TRixSizePart RoutineCodeSize(const TRixSongTables& tables);

} // namespace rix
