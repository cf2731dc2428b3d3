#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "FuzzSong.h"
#include "RixExportVerifier.h"

namespace {

// Three seconds of a light song: one order position down to 80 BPM.
constexpr uint64_t kLongestSong = 3 * 44100;

void RequireNumber(double value)
{
    if (std::isnan(value))
        std::abort();
}

void RequireNumbers(const rix::TRixLevelDifference& level)
{
    RequireNumber(level.worstDb);
    RequireNumber(level.worstSecond);
    RequireNumber(level.differenceDbfs);
}

} // namespace

// Any bytes as a module file, cut short (FitSong), through verify-export:
// the exported tables played by the intro replay routine against the
// editor's player. A song the routine cannot hold is refused with
// std::runtime_error; every other one must give a report of numbers.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::optional<rix::CRixModuleData> song = fuzzing::Load<rix::CRixModuleData>(data, size);
    if (!song)
        return 0;
    fuzzing::FitSong(*song, kLongestSong);
    fuzzing::RegisterClasses();
    rix::TRixExportReport report;
    try {
        report = rix::CRixExportVerifier::Verify(*song);
    } catch (const std::runtime_error&) {
        return 0;
    }
    RequireNumbers(report.mix);
    for (const rix::TRixLevelDifference& channel : report.channels)
        RequireNumbers(channel);
    for (const rix::TRixPitchError& pitch : report.pitches)
        RequireNumber(pitch.worstCents);
    return 0;
}
