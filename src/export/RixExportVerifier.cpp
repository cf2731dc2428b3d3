#include "RixExportVerifier.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "IRixModulePlayer.h"
#include "RixModule.h"
#include "RixOscillatorState.h"
#include "RixReplayRenderer.h"
#include "RixSongExporter.h"
#include "nexilon/Nexilon.h"

namespace rix {

namespace {

// The sums of one 50 ms window of one signal, editor (a) and routine (b).
struct TWindow {
    double sumA = 0.0;
    double sumB = 0.0;
    double sumDifference = 0.0;
    bool identical = true;

    void Add(int32_t a, int32_t b)
    {
        const double difference = static_cast<double>(a) - static_cast<double>(b);
        sumA += static_cast<double>(a) * a;
        sumB += static_cast<double>(b) * b;
        sumDifference += difference * difference;
        identical = identical && a == b;
    }
    void Close(TRixLevelDifference& result, double second, uint32_t count) const
    {
        result.identical = result.identical && identical;
        const double rmsA = std::max(1.0, std::sqrt(sumA / count));
        const double rmsB = std::max(1.0, std::sqrt(sumB / count));
        const double db = 20.0 * std::log10(rmsB / rmsA);
        const double rmsDifference = std::sqrt(sumDifference / count);
        // The first window sets the figure; later ones only if worse, or
        // if the levels tie and the difference is larger.
        const bool first = second == 0.0;
        if (first || std::abs(db) > std::abs(result.worstDb) ||
            (std::abs(db) == std::abs(result.worstDb) &&
             20.0 * std::log10(rmsDifference / 32768.0) > result.differenceDbfs)) {
            result.worstDb = db;
            result.worstSecond = second;
            result.differenceDbfs = rmsDifference > 0.0 ? 20.0 * std::log10(rmsDifference / 32768.0)
                                                        : -std::numeric_limits<double>::infinity();
        }
    }
};

// The notes that a channel plays within the song: 1..192 for the plain
// tables, every note for the exact ones.
std::set<int> PlayedNotes(const CRixModuleData& data, int channel, bool exact)
{
    std::set<int> notes;
    const int length = data.GetSongLength();
    const uint32_t highest = exact ? RIX_NOTE_STOP - 1 : 192;
    for (int position = 0; position < length; ++position) {
        const uint32_t pattern = data.orderTable[channel][position];
        if (pattern >= RIX_PATTERNS || (pattern == 0 && !exact))
            continue;
        for (int row = 0; row < RIX_ROWS; ++row) {
            const uint32_t v = data.patterns[channel][pattern][row];
            if (v >= 1 && v <= highest)
                notes.insert(static_cast<int>(v));
        }
    }
    return notes;
}

void MeasurePitches(const CRixModuleData& data, const TRixSongTables& tables, const CRixReplayRenderer& renderer,
                    TRixExportReport& report)
{
    static const TRixOscillator missing;
    std::array<int, RIX_CHANNELS> firstRow{};
    for (std::size_t n = tables.oscillators.size(); n-- > 0;)
        firstRow[tables.oscillators[n].channel] = static_cast<int>(n);
    std::array<std::set<int>, RIX_CHANNELS> notes;
    for (int c = 0; c < RIX_CHANNELS; ++c)
        notes[c] = PlayedNotes(data, c, tables.exact);
    for (std::size_t n = 0; n < tables.oscillators.size(); ++n) {
        const TRixSongOscillator& form = tables.oscillators[n];
        const int c = form.channel;
        const CRixModuleChannel& channel = data.channels[c];
        const bool transition = form.source >= 0;
        const auto index = static_cast<std::size_t>(transition ? form.source - firstRow[c] : static_cast<int>(n) - firstRow[c]);
        const TRixOscillator& oscillator = !transition ? channel.oscillators[index]
                                           : index < channel.transitionOscillators.size()
                                               ? channel.transitionOscillators[index]
                                               : missing;
        // Noise has no pitch; the exact form's silent noise rows only draw.
        if (notes[c].empty() || oscillator.type == RIXOSC_NOISE)
            continue;
        TRixPitchError error{c, static_cast<int>(index), transition, oscillator.pitch, 0.0};
        for (const int note : notes[c]) {
            const int32_t editor = TRixOscillatorState::NoteIncrement(oscillator.pitch, static_cast<uint32_t>(note));
            const int32_t routine = renderer.Increment(note, form);
            const double cents = editor > 0 && routine > 0
                                     ? 1200.0 * std::log2(static_cast<double>(routine) / editor)
                                     : (editor == routine ? 0.0 : std::numeric_limits<double>::infinity());
            if (std::abs(cents) > std::abs(error.worstCents))
                error.worstCents = cents;
        }
        report.pitches.push_back(error);
    }
}

} // namespace

bool TRixExportReport::Passes() const
{
    const auto levelPasses = [](const TRixLevelDifference& level) {
        return std::abs(level.worstDb) <= CRixExportVerifier::kLevelThresholdDb;
    };
    if (exact)
        return features.empty() && mix.identical &&
               std::all_of(channels.begin(), channels.end(), [](const TRixLevelDifference& level) { return level.identical; });
    return features.empty() && levelPasses(mix) && std::all_of(channels.begin(), channels.end(), levelPasses) &&
           std::all_of(pitches.begin(), pitches.end(), [](const TRixPitchError& pitch) {
               return std::abs(pitch.worstCents) <= CRixExportVerifier::kPitchThresholdCents;
           });
}

TRixExportReport CRixExportVerifier::Verify(const CRixModuleData& data, bool exact)
{
    TRixExportReport report;
    report.exact = exact;
    const TRixSongTables tables = CRixSongExporter().Build(data, exact);
    report.features = tables.exact ? FindExactFeatures(data, tables) : FindFeatures(data, tables);

    nexilon::CPtr<IRixModule> module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
    {
        CRixModuleLock lock(*module, nexilon::LOCKMODE_WRITE);
        *lock = data;
    }
    nexilon::CPtr<IRixModulePlayer> player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    player->Connect(module.Get());
    CRixReplayRenderer renderer(tables);
    MeasurePitches(data, tables, renderer, report);

    std::vector<int16_t> editor(kWindowSamples);
    std::vector<int16_t> routine(kWindowSamples);
    std::vector<int32_t> editorChannel(kWindowSamples);
    std::vector<int32_t> routineChannels(kWindowSamples * RIX_CHANNELS);
    for (;;) {
        const uint64_t start = player->Tell();
        const auto count = static_cast<uint32_t>(player->Read(editor.data(), kWindowSamples * 2) / 2);
        if (count == 0)
            break;
        renderer.Render(routine.data(), count, routineChannels.data());
        const double second = static_cast<double>(report.samples) / RIX_SAMPLE_RATE;
        TWindow mix;
        for (uint32_t k = 0; k < count; ++k)
            mix.Add(editor[k], routine[k]);
        mix.Close(report.mix, second, count);
        // A player that has reached the end skips the last sample's step of
        // the channel rings, so their newest sample is one place later.
        const auto tapStart = static_cast<uint32_t>(player->IsEof() ? start + 2 : start);
        for (int c = 0; c < RIX_CHANNELS; ++c) {
            player->CopyOutput(c, tapStart, editorChannel.data(), count);
            TWindow window;
            for (uint32_t k = 0; k < count; ++k)
                window.Add(editorChannel[k], routineChannels[k * RIX_CHANNELS + c]);
            window.Close(report.channels[c], second, count);
        }
        report.samples += count;
    }
    return report;
}

} // namespace rix
