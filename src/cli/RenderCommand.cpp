#include <atomic>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "CliCommands.h"
#include "CliFiles.h"
#include "InterruptGuard.h"
#include "RixModule.h"
#include "WavExporter.h"
#include "nexilon/Nexilon.h"

// "render IN.sonrix OUT.wav": the WAV export of the desktop program, on the
// main thread; OUT "-" is standard output. On a terminal, standard error shows a progress bar with the
// speed; Ctrl+C stops before the next block and leaves OUT as it was.
namespace cli {

namespace {

constexpr int kInterruptedStatus = 130;

// Draws "  42% [############------------------]  87.3x real time" on one
// terminal line; the export calls it at most once per second.
class CRenderReport final : public rix::IWavExportListener {
public:
    explicit CRenderReport(bool terminal) : terminal(terminal), start(std::chrono::steady_clock::now())
    {
    }

    void OnProgress(int32_t percent, uint64_t bytesWritten, uint64_t) override
    {
        if (!terminal)
            return;
        constexpr int kWidth = 36;
        const int filled = percent * kWidth / 100;
        std::string bar(static_cast<std::size_t>(filled), '#');
        bar.append(static_cast<std::size_t>(kWidth - filled), '-');
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // Bytes / 88200 is seconds of audio at 44100 16-bit mono samples.
        const double audioSeconds = static_cast<double>(bytesWritten) / 88200.0;
        // The first blocks come too soon after the start for a steady figure;
        // the final one gives the average of the whole render.
        if (seconds >= 0.25 || (percent == 100 && seconds > 0.0))
            std::fprintf(stderr, "\r%4d%% [%s] %7.1fx real time", percent, bar.c_str(), audioSeconds / seconds);
        else
            std::fprintf(stderr, "\r%4d%% [%s]", percent, bar.c_str());
        std::fflush(stderr);
        drawn = true;
    }
    void OnCompleted(const std::string&) override { EndLine(); }
    void OnFailed(const std::string& message, const std::string& why) override
    {
        EndLine();
        failure = why.empty() ? message : message + " (" + why + ")";
    }
    void OnCancelled() override { EndLine(); }

    const std::string& GetFailure() const { return failure; }

private:
    void EndLine()
    {
        if (drawn)
            std::fputc('\n', stderr);
        drawn = false;
    }

    bool terminal;
    bool drawn = false;
    std::chrono::steady_clock::time_point start;
    std::string failure;
};

} // namespace

int RunRender(const std::vector<std::string>& args)
{
    if (!args.empty() && args[0] == "--as-exported")
        return RunRenderAsExported({args.begin() + 1, args.end()});
    if (!args.empty() && args[0] == "--stems")
        return RunRenderStems({args.begin() + 1, args.end()});
    if (args.size() != 2)
        return UsageError("render needs IN.sonrix and OUT.wav");
    const std::string& input = args[0];
    const std::string& output = args[1];
    std::string path;
    try {
        path = OutputPath(output, {input}, TOutputData::Binary);
    } catch (const std::exception& error) {
        return ReportFileFailure(OutputName(output), error);
    }
    nexilon::CPtr<rix::IRixModule> module = nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId);
    try {
        rix::CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
        LoadModuleFile(input, *data);
    } catch (const std::exception& error) {
        return ReportFileFailure(input, error);
    }

    CRenderReport report(::isatty(STDERR_FILENO) == 1);
    rix::TWavExportResult result;
    {
        CInterruptGuard guard;
        result = rix::CWavExporter(*module, nexilon::CString(std::string_view(path)), report)
                     .Run(CInterruptGuard::Requested());
    }
    switch (result) {
    case rix::TWavExportResult::Completed:
        return 0;
    case rix::TWavExportResult::Cancelled:
        std::fprintf(stderr, "sonrix3-cli: %s: render cancelled; nothing was written\n", OutputName(output).c_str());
        return kInterruptedStatus;
    case rix::TWavExportResult::Failed:
        break;
    }
    return ReportFileFailure(OutputName(output), std::runtime_error(report.GetFailure()));
}

} // namespace cli
