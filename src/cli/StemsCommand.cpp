#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

#include "CliCommands.h"
#include "CliFiles.h"
#include "InterruptGuard.h"
#include "RixModule.h"
#include "StemExporter.h"
#include "nexilon/Nexilon.h"

// "render --stems DIR IN.sonrix": one WAV per channel that plays, each the
// song with the other channels muted, named by channel and waveforms. Each
// file is written whole or not at all; Ctrl+C stops after the files done.
namespace cli {

namespace {

class CStemReport final : public rix::IWavExportListener {
public:
    void OnProgress(int32_t, uint64_t, uint64_t) override {}
    void OnCompleted(const std::string&) override {}
    void OnFailed(const std::string& message, const std::string& why) override
    {
        failure = why.empty() ? message : message + " (" + why + ")";
    }
    void OnCancelled() override {}

    std::string failure;
};

} // namespace

int RunRenderStems(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        return UsageError("render --stems needs DIR and IN.sonrix");
    const std::string& folder = args[0];
    const std::string& input = args[1];
    if (folder == "-")
        return ReportFileFailure(OutputName(folder),
                                 CFileRefused("render --stems writes several files; give a folder"));
    auto song = std::make_unique<rix::CRixModuleData>();
    try {
        LoadModuleFile(input, *song);
    } catch (const std::exception& error) {
        return ReportFileFailure(input, error);
    }
    // No stem may replace the song, checked before the first one is written.
    for (const auto& [channel, path] : rix::StemPaths(*song, folder)) {
        try {
            OutputPath(path, {input}, TOutputData::Binary);
        } catch (const std::exception& error) {
            return ReportFileFailure(path, error);
        }
    }
    // The stems render from a module object, as the editor's WAV export does.
    nexilon::CPtr<rix::IRixModule> module = nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId);
    *rix::CRixModuleLock(*module, nexilon::LOCKMODE_WRITE) = *song;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder))
        return ReportFileFailure(folder, std::runtime_error("Cannot create the folder: " + error.message()));
    CStemReport report;
    rix::TStemExportResult result;
    {
        CInterruptGuard guard;
        result = rix::ExportStems(*module, folder, report, CInterruptGuard::Requested());
    }
    for (const std::string& path : result.paths)
        std::printf("%s\n", path.c_str());
    switch (result.result) {
    case rix::TWavExportResult::Completed:
        return 0;
    case rix::TWavExportResult::Cancelled:
        std::fprintf(stderr, "sonrix3-cli: %s: render cancelled after %zu stems\n", folder.c_str(), result.paths.size());
        return 130;
    case rix::TWavExportResult::Failed:
        break;
    }
    return ReportFileFailure(folder, std::runtime_error(report.failure));
}

} // namespace cli
