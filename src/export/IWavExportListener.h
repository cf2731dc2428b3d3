#pragma once

#include <cstdint>
#include <string>

namespace rix {

// What a WAV export reports to whoever shows it (the progress dialog, the
// command-line tool). Called on the thread that runs the export, which is
// not necessarily the caller's user-interface thread; implementations must
// not throw. Exactly one of OnCompleted, OnFailed and OnCancelled ends
// every export.
class IWavExportListener {
public:
    // percent 0..100 of the sample data; bytesWritten and totalBytes count
    // sample bytes only (the 44-byte header excluded).
    virtual void OnProgress(int32_t percent, uint64_t bytesWritten, uint64_t totalBytes) = 0;
    // message is "WAV export completed!".
    virtual void OnCompleted(const std::string& message) = 0;
    // message is "WAV export failed!"; reason is the underlying error.
    virtual void OnFailed(const std::string& message, const std::string& reason) = 0;
    // The caller's cancel flag stopped the export; nothing was written.
    virtual void OnCancelled() = 0;

protected:
    ~IWavExportListener() = default;
};

} // namespace rix
