#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "RixModuleData.h"
#include "RixSongTables.h"

namespace rix {

// How far one signal of the replay routine's render is from the editor's.
struct TRixLevelDifference {
    bool identical = true;
    // The 50 ms window where the two RMS levels differ most: the difference
    // in dB (routine over editor; levels below 1 count as 1) and where it
    // starts, in seconds.
    double worstDb = 0.0;
    double worstSecond = 0.0;
    // The RMS of the sample-by-sample difference in that window, in dB
    // relative to full scale (32768); -infinity when it is 0.
    double differenceDbfs = 0.0;
};

// The frequency error of one oscillator's octave-and-fine form, over the
// notes its channel plays: the worst one, routine over editor.
struct TRixPitchError {
    int channel = 0;         // 0..7
    int oscillator = 0;      // index in the channel's list
    bool transition = false; // a transition oscillator
    int32_t pitch = 0;       // cents, as the song holds it
    double worstCents = 0.0;
};

// A song feature that the tables cannot carry.
struct TRixExportFeature {
    int channel = -1; // 0..7, -1 for the whole song
    std::string place;
    std::string problem;
};

struct TRixExportReport {
    uint64_t samples = 0;
    std::array<TRixLevelDifference, 8> channels{};
    TRixLevelDifference mix;
    std::vector<TRixPitchError> pitches;
    std::vector<TRixExportFeature> features;
    bool exact = false;

    // Within the thresholds and nothing left out; for the exact export,
    // identical and nothing left out.
    bool Passes() const;
};

// Renders a song with the editor's player and, from its exported tables,
// with the intro replay routine, and compares them. Runs on the caller's
// thread; needs the module and player classes registered and no other
// CRixReplayRenderer alive.
class CRixExportVerifier {
public:
    static constexpr double kLevelThresholdDb = 1.0;
    static constexpr double kPitchThresholdCents = 5.0;
    static constexpr uint32_t kWindowSamples = 2205; // 50 ms

    // With `exact`, the exact export: the renders must then be identical.
    static TRixExportReport Verify(const CRixModuleData& data, bool exact = false);
    // What the plain tables cannot carry.
    static std::vector<TRixExportFeature> FindFeatures(const CRixModuleData& data, const TRixSongTables& tables);
    // What even the exact tables cannot carry (values no editor writes).
    static std::vector<TRixExportFeature> FindExactFeatures(const CRixModuleData& data, const TRixSongTables& tables);
};

} // namespace rix
