#include "StemExporter.h"

#include "RixModule.h"
#include "RixSongEvents.h"

namespace rix {

std::vector<std::pair<int, std::string>> StemPaths(const CRixModuleData& data, const std::string& folder)
{
    std::vector<std::pair<int, std::string>> stems;
    for (const int channel : PlayingChannels(data))
        stems.emplace_back(channel, folder + "/" + StemFileName(data, channel));
    return stems;
}

TStemExportResult ExportStems(IRixModule& module, const std::string& folder, IWavExportListener& listener,
                              const std::atomic<bool>& cancelRequested)
{
    const std::vector<std::pair<int, std::string>> stems =
        StemPaths(*CRixModuleLock(module, nexilon::LOCKMODE_READ), folder);
    TStemExportResult outcome;
    for (const auto& [channel, path] : stems) {
        CWavExporter exporter(module, nexilon::CString(std::string_view(path)), listener);
        exporter.SetSoloChannel(channel);
        outcome.result = exporter.Run(cancelRequested);
        if (outcome.result != TWavExportResult::Completed)
            break;
        outcome.paths.push_back(path);
    }
    return outcome;
}

} // namespace rix
