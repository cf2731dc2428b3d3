#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>

#include "IRixModule.h"
#include "IWavExportListener.h"
#include "nexilon/Stream.h"
#include "nexilon/String.h"

namespace rix {

enum class TWavExportResult {
    Completed,
    Failed,
    Cancelled,
};

// Renders a whole song into a 16-bit mono 44100 Hz WAV file with a module
// player of its own. Runs entirely on the calling thread (a worker thread
// of the dialog, or the command-line tool's main thread); the module may be
// edited meanwhile, since each block of samples takes the module's read
// lock only for its own duration. Needs the module player class registered.
class CWavExporter {
public:
    static constexpr const char* kCompletedMessage = "WAV export completed!";
    static constexpr const char* kFailedMessage = "WAV export failed!";
    // Bytes asked of the player per read: 512 samples.
    static constexpr uint32_t kBlockBytes = 1024;
    static constexpr uint32_t kHeaderBytes = 44;

    // Calendar time in whole seconds; progress is reported whenever it has
    // moved since the last report, so at once and then at most once a second.
    using TClock = std::function<int64_t()>;

    CWavExporter(IRixModule& module, nexilon::CString path, IWavExportListener& listener,
                 TClock clock = [] { return static_cast<int64_t>(std::time(nullptr)); });

    // Writes the header announcing the whole song, then the samples, into a
    // temporary file that replaces the file at path only once it is whole
    // (CAtomicFile). cancelRequested is polled before every block; when set,
    // the export stops. A cancelled or failed export leaves no file behind
    // and an existing file at path as it was. Reports through the listener
    // and returns how it ended; never throws.
    TWavExportResult Run(const std::atomic<bool>& cancelRequested);

    // A stem: the render of the song with every channel but this one
    // (0..7) muted. The stems of a song sum back to its mix exactly when
    // its master volume is a multiple of 256 and no sample of a stem or the
    // mix is clamped; otherwise each stem rounds its own master volume
    // product down.
    void SetSoloChannel(int32_t channel) { soloChannel = channel; }

    // The canonical 44-byte RIFF/WAVE PCM header for dataBytes of samples.
    static void WriteHeader(nexilon::IOutputStream& stream, uint32_t dataBytes);

private:
    IRixModule& module;
    nexilon::CString path;
    IWavExportListener& listener;
    TClock clock;
    int32_t soloChannel = -1;
};

} // namespace rix
