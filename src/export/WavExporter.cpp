#include "WavExporter.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "AtomicFile.h"
#include "IRixModulePlayer.h"
#include "RixConstants.h"
#include "nexilon/Exceptions.h"
#include "nexilon/Nexilon.h"
#include "nexilon/VarWriter.h"

namespace rix {

namespace {

void WriteTag(nexilon::CVarWriter& writer, const char (&tag)[5])
{
    writer << tag[0] << tag[1] << tag[2] << tag[3];
}

} // namespace

CWavExporter::CWavExporter(IRixModule& module, nexilon::CString path, IWavExportListener& listener, TClock clock)
    : module(module), path(std::move(path)), listener(listener), clock(std::move(clock))
{
}

void CWavExporter::WriteHeader(nexilon::IOutputStream& stream, uint32_t dataBytes)
{
    // The sizes are the signed ints of the RIFF layout; a length beyond 2 GiB
    // keeps its bits.
    nexilon::CVarWriter writer(stream);
    WriteTag(writer, "RIFF");
    writer << static_cast<int>(dataBytes + 36u);
    WriteTag(writer, "WAVE");
    WriteTag(writer, "fmt ");
    writer << 16;
    writer << static_cast<unsigned short>(1);  // PCM
    writer << static_cast<unsigned short>(1);  // mono
    writer << static_cast<unsigned int>(44100);
    writer << static_cast<unsigned int>(88200); // bytes per second
    writer << static_cast<unsigned short>(2);  // bytes per sample frame
    writer << static_cast<unsigned short>(16); // bits per sample
    WriteTag(writer, "data");
    writer << static_cast<int>(dataBytes);
}

TWavExportResult CWavExporter::Run(const std::atomic<bool>& cancelRequested)
{
    std::optional<CAtomicFile> file;
    bool cancelled = false;
    bool failed = true;
    uint32_t length = 0;
    int64_t written = 0;
    std::string reason;
    try {
        file.emplace(path.ToUtf8());
        nexilon::CPtr<IRixModulePlayer> player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
        player->Connect(&module);
        for (int32_t c = 0; soloChannel >= 0 && c < RIX_CHANNELS; ++c)
            player->SetChannelEnabled(c, c == soloChannel);
        // The header holds the length as a signed 32-bit size; a longer song
        // (possible only at a few BPM) is refused rather than cut short.
        const uint64_t songBytes = player->GetLength();
        if (songBytes > static_cast<uint64_t>(INT32_MAX))
            throw nexilon::CIOException("rix::CWavExporter::Run", "WavExporter", __LINE__,
                                        "The song is too long for a WAV file (2 GiB at most)");
        length = static_cast<uint32_t>(songBytes);
        WriteHeader(file->GetStream(), length);
        const int64_t total = static_cast<int32_t>(length);
        int64_t lastSecond = 0;
        unsigned char buffer[kBlockBytes];
        while (written < total) {
            if (cancelRequested.load(std::memory_order_acquire)) {
                cancelled = true;
                break;
            }
            const uint64_t count = player->Read(buffer, kBlockBytes);
            if (count == 0 || count > kBlockBytes)
                throw nexilon::CIOException("rix::CWavExporter::Run", "WavExporter", __LINE__,
                                            "The player ended before the announced length");
            file->Write(buffer, count);
            written += static_cast<int64_t>(count);
            const int64_t now = clock();
            if (now > lastSecond) {
                // 64-bit product: no overflow whatever the song's length.
                const int64_t percent = std::min<int64_t>(written * 100 / total, 100);
                listener.OnProgress(static_cast<int32_t>(percent), static_cast<uint64_t>(written), length);
                lastSecond = now;
            }
        }
        player.Reset();
        if (!cancelled)
            file->Commit();
        failed = false;
    } catch (const nexilon::CException& error) {
        reason = error.GetMessage();
    } catch (const std::exception& error) {
        reason = error.what();
    }
    // Without a commit this removes the partial file: the listener hears
    // of the end only when no trace of a failed or cancelled export is left.
    file.reset();
    if (failed) {
        listener.OnFailed(kFailedMessage, reason);
        return TWavExportResult::Failed;
    }
    if (cancelled) {
        listener.OnCancelled();
        return TWavExportResult::Cancelled;
    }
    listener.OnProgress(100, static_cast<uint64_t>(written), length);
    listener.OnCompleted(kCompletedMessage);
    return TWavExportResult::Completed;
}

} // namespace rix
