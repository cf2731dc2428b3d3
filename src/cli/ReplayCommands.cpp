#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliFiles.h"
#include "RixExportBreakdown.h"
#include "RixExportSize.h"
#include "RixExportVerifier.h"
#include "RixModuleData.h"
#include "RixReplayRenderer.h"
#include "RixSongExporter.h"
#include "WavExporter.h"
#include "nexilon/MemoryStream.h"

// The commands around the intro replay routine, each with --exact for the
// exact export:
//   "render --as-exported IN.sonrix OUT.wav"  the routine's render of the exported tables
//                                            (OUT "-": standard output)
//   "export-cpp --size IN.sonrix"            the tables' bytes, raw and compressed
//   "verify-export IN.sonrix"                the routine's render against the editor's
namespace cli {

namespace {

// A 16-bit mono 44100 Hz WAV file of the samples.
std::string WavBytes(const std::vector<int16_t>& samples)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> header = nexilon::CreateMemoryOutputStream();
    rix::CWavExporter::WriteHeader(*header, static_cast<uint32_t>(samples.size() * 2));
    std::string bytes = header->GetBytes();
    bytes.reserve(bytes.size() + samples.size() * 2);
    for (const int16_t sample : samples) {
        bytes.push_back(static_cast<char>(static_cast<uint16_t>(sample) & 0xFF));
        bytes.push_back(static_cast<char>(static_cast<uint16_t>(sample) >> 8));
    }
    return bytes;
}

std::string Decibels(double value)
{
    char text[32];
    if (std::isinf(value))
        std::snprintf(text, sizeof(text), "%s", value < 0 ? "silence" : "inf");
    else
        std::snprintf(text, sizeof(text), "%+.2f", value);
    return text;
}

void PrintLevel(const char* name, const rix::TRixLevelDifference& level)
{
    if (level.identical) {
        std::printf("  %-10s identical\n", name);
        return;
    }
    std::printf("  %-10s %s dB at %.2f s, difference %s dBFS\n", name, Decibels(level.worstDb).c_str(),
                level.worstSecond, Decibels(level.differenceDbfs).c_str());
}

void PrintReport(const std::string& input, const rix::TRixExportReport& report)
{
    std::printf("%s: %.2f s (%llu samples), editor against replay routine\n", input.c_str(),
                static_cast<double>(report.samples) / 44100.0, static_cast<unsigned long long>(report.samples));
    std::printf("Level difference, worst 50 ms window (routine over editor):\n");
    for (int c = 0; c < 8; ++c)
        PrintLevel(("channel " + std::to_string(c + 1)).c_str(), report.channels[c]);
    PrintLevel("mix", report.mix);
    std::printf("Pitch error of octave and fine tune, worst played note:\n");
    if (report.pitches.empty())
        std::printf("  no oscillator plays a note\n");
    for (const rix::TRixPitchError& pitch : report.pitches) {
        const std::string name = "channel " + std::to_string(pitch.channel + 1) +
                                 (pitch.transition ? " transition oscillator " : " oscillator ") +
                                 std::to_string(pitch.oscillator + 1);
        std::printf("  %-36s pitch %6d cents: %s cents\n", name.c_str(), pitch.pitch, Decibels(pitch.worstCents).c_str());
    }
    std::printf("Not carried by the tables:\n");
    if (report.features.empty())
        std::printf("  nothing\n");
    for (const rix::TRixExportFeature& feature : report.features) {
        if (feature.channel >= 0)
            std::printf("  channel %d, %s: %s\n", feature.channel + 1, feature.place.c_str(), feature.problem.c_str());
        else
            std::printf("  %s: %s\n", feature.place.c_str(), feature.problem.c_str());
    }
    if (report.exact)
        std::printf("%s (exact export: every sample equal, nothing left out)\n",
                    report.Passes() ? "Identical" : "Differs");
    else
        std::printf("%s (thresholds: level %.1f dB, pitch %.1f cents, nothing left out)\n",
                    report.Passes() ? "Within the thresholds" : "Differs", rix::CRixExportVerifier::kLevelThresholdDb,
                    rix::CRixExportVerifier::kPitchThresholdCents);
}

std::unique_ptr<rix::CRixModuleData> Load(const std::string& input)
{
    auto data = std::make_unique<rix::CRixModuleData>();
    LoadModuleFile(input, *data);
    return data;
}

} // namespace

int RunRenderAsExported(const std::vector<std::string>& arguments)
{
    std::vector<std::string> args = arguments;
    const bool exact = TakeOption(args, "--exact");
    if (args.size() != 2)
        return UsageError("render --as-exported needs IN.sonrix and OUT.wav");
    const std::string& input = args[0];
    const std::string& output = args[1];
    std::unique_ptr<rix::CRixModuleData> data;
    try {
        OutputPath(output, {input}, TOutputData::Binary);
    } catch (const std::exception& error) {
        return ReportFileFailure(OutputName(output), error);
    }
    try {
        data = Load(input);
    } catch (const std::exception& error) {
        return ReportFileFailure(input, error);
    }
    std::vector<int16_t> samples;
    try {
        rix::CRixReplayRenderer renderer(rix::CRixSongExporter().Build(*data, exact));
        samples.resize(renderer.SongSamples());
        renderer.Render(samples.data(), static_cast<uint32_t>(samples.size()));
    } catch (const std::exception& error) {
        return ReportFileFailure(input, error);
    }
    try {
        WriteOutput(output, {input}, WavBytes(samples), TOutputData::Binary);
    } catch (const std::exception& error) {
        return ReportFileFailure(OutputName(output), error);
    }
    return 0;
}

int RunExportSize(const std::vector<std::string>& arguments)
{
    std::vector<std::string> args = arguments;
    TakeOption(args, "--size");
    const bool exact = TakeOption(args, "--exact");
    if (args.size() != 1)
        return UsageError("export-cpp --size needs IN.sonrix");
    try {
        const rix::TRixExportBreakdown breakdown = rix::BreakDownExportSize(*Load(args[0]), exact);
        const rix::TExportSize& size = breakdown.total;
        std::printf("%u bytes of tables, %u bytes LZMA-compressed\n", size.rawBytes, size.compressedBytes);
        for (const rix::TRixSizePart& part : breakdown.parts)
            std::printf("  %-22s %6u raw %6d packed\n", part.name.c_str(), part.rawBytes, part.packedBytes);
        std::printf("%s code for the song's features (32-bit x86, -Os, estimate): %u raw, %d packed\n",
                    breakdown.code.name.c_str(), breakdown.code.rawBytes, breakdown.code.packedBytes);
        for (const rix::TRixSizeHint& hint : breakdown.hints)
            std::printf("Hint: %s (%u bytes)\n", hint.text.c_str(), hint.rawBytes);
    } catch (const std::exception& error) {
        return ReportFileFailure(args[0], error);
    }
    return 0;
}

int RunVerifyExport(const std::vector<std::string>& arguments)
{
    std::vector<std::string> args = arguments;
    const bool exact = TakeOption(args, "--exact");
    if (args.size() != 1)
        return UsageError("verify-export needs IN.sonrix");
    rix::TRixExportReport report;
    try {
        report = rix::CRixExportVerifier::Verify(*Load(args[0]), exact);
    } catch (const std::exception& error) {
        return ReportFileFailure(args[0], error);
    }
    PrintReport(args[0], report);
    return report.Passes() ? 0 : 1;
}

} // namespace cli
