#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "FuzzSong.h"
#include "WavExporter.h"

namespace {

// Three seconds of a light song: one order position down to 80 BPM.
constexpr uint64_t kLongestSong = 3 * 44100;

// Cancels at the first progress report when asked to.
class CListener final : public rix::IWavExportListener {
public:
    explicit CListener(std::atomic<bool>& cancel, bool cancelAtOnce) : cancel(cancel), cancelAtOnce(cancelAtOnce) {}
    void OnProgress(int32_t, uint64_t, uint64_t) override { cancel = cancel || cancelAtOnce; }
    void OnCompleted(const std::string&) override {}
    void OnFailed(const std::string&, const std::string&) override {}
    void OnCancelled() override {}

private:
    std::atomic<bool>& cancel;
    bool cancelAtOnce;
};

uint32_t LittleEndian(const std::string& bytes, std::size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

rix::TWavExportResult Export(const rix::CRixModuleData& song, const std::string& path, bool cancelAtOnce)
{
    auto module = nexilon::CPtr<rix::CRixModule>::Adopt(new rix::CRixModule());
    *rix::CRixModuleLock(*module, nexilon::LOCKMODE_WRITE) = song;
    std::atomic<bool> cancel{false};
    CListener listener(cancel, cancelAtOnce);
    return rix::CWavExporter(*module, nexilon::CString(std::string_view(path)), listener).Run(cancel);
}

} // namespace

// Any bytes as a module file through the WAV export: a song too long to
// render here is cancelled at the first block (or refused as too long for a
// WAV file) and leaves nothing; one cut short (FitSong) is written whole,
// a header whose sizes agree with the file. Nothing else stays behind.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::optional<rix::CRixModuleData> song = fuzzing::Load<rix::CRixModuleData>(data, size);
    if (!song)
        return 0;
    fuzzing::RegisterClasses();
    const std::filesystem::path folder = fuzzing::Folder() + "/wav";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "song.wav").string();
    std::filesystem::remove(path);
    if (Export(*song, path, true) == rix::TWavExportResult::Completed) {
        // Only a song that ends within the first block completes.
        std::filesystem::remove(path);
    }
    if (std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()) != 0)
        std::abort();
    fuzzing::FitSong(*song, kLongestSong);
    if (Export(*song, path, false) != rix::TWavExportResult::Completed)
        std::abort();
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (bytes.size() < rix::CWavExporter::kHeaderBytes || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        LittleEndian(bytes, 4) != bytes.size() - 8 || LittleEndian(bytes, 40) != bytes.size() - 44)
        std::abort();
    return 0;
}
