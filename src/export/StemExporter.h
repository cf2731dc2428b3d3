#pragma once

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "IRixModule.h"
#include "WavExporter.h"

namespace rix {

struct TStemExportResult {
    TWavExportResult result = TWavExportResult::Completed;
    // The files written, whole, in channel order.
    std::vector<std::string> paths;
};

// The file of each channel that plays a note, in channel order: `folder`/
// StemFileName.
std::vector<std::pair<int, std::string>> StemPaths(const CRixModuleData& data, const std::string& folder);

// One WAV file per channel that plays a note (StemFileName in `folder`),
// each the song with every other channel muted (CWavExporter with a solo
// channel); the listener hears of each file in turn. Stops at the first
// failure or at a cancel, keeping the files finished before it. Runs on the
// calling thread like CWavExporter; needs the module player class
// registered.
TStemExportResult ExportStems(IRixModule& module, const std::string& folder, IWavExportListener& listener,
                              const std::atomic<bool>& cancelRequested);

} // namespace rix
