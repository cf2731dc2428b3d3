#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AtomicFile.h"
#include "CliCommands.h"
#include "CliFiles.h"
#include "RixExportBreakdown.h"
#include "RixExportReportText.h"
#include "RixExportSize.h"
#include "RixExportVerifier.h"
#include "RixModuleData.h"
#include "RixReplayRenderer.h"
#include "RixSongExporter.h"

// The commands around the intro replay routine, each with --exact for the
// exact export:
//   "render --as-exported IN.sonrix OUT.wav"  the routine's render of the exported tables
//   "export-cpp --size IN.sonrix"            the tables' bytes, raw and compressed
//   "verify-export IN.sonrix"                the routine's render against the editor's
namespace cli {

namespace {

void PutLittleEndian(std::string& bytes, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>(value >> (8 * i)));
}

// Writes a 16-bit mono 44100 Hz WAV file, whole or not at all.
void WriteWav(const std::string& path, const std::vector<int16_t>& samples)
{
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string bytes = "RIFF";
    PutLittleEndian(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    PutLittleEndian(bytes, 16, 4);
    PutLittleEndian(bytes, 1, 2);
    PutLittleEndian(bytes, 1, 2);
    PutLittleEndian(bytes, 44100, 4);
    PutLittleEndian(bytes, 88200, 4);
    PutLittleEndian(bytes, 2, 2);
    PutLittleEndian(bytes, 16, 2);
    bytes += "data";
    PutLittleEndian(bytes, dataBytes, 4);
    for (const int16_t sample : samples)
        PutLittleEndian(bytes, static_cast<uint16_t>(sample), 2);

    rix::CAtomicFile::WriteWhole(path, bytes);
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
        WriteWav(output, samples);
    } catch (const std::exception& error) {
        return ReportFileFailure(output, error);
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
    std::fputs(rix::ExportReportText(args[0], report).c_str(), stdout);
    return report.Passes() ? 0 : 1;
}

} // namespace cli
