#include <gmock/gmock.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "FileSizeLimit.h"
#include "IRixModulePlayer.h"
#include "RixModule.h"
#include "WavExporter.h"
#include "nexilon/Nexilon.h"

namespace rix {
namespace {

namespace fs = std::filesystem;

struct TEvents final : IWavExportListener {
    std::vector<int32_t> percents;
    std::vector<uint64_t> written;
    std::string end;
    uint64_t cancelAt = UINT64_MAX; // bytes written that set the cancel flag
    std::atomic<bool> cancel{false};

    void OnProgress(int32_t percent, uint64_t bytesWritten, uint64_t) override
    {
        percents.push_back(percent);
        written.push_back(bytesWritten);
        if (bytesWritten >= cancelAt)
            cancel = true;
    }
    void OnCompleted(const std::string& message) override { end = message; }
    void OnFailed(const std::string& message, const std::string& reason) override { end = message + " " + reason; }
    void OnCancelled() override { end = "cancelled"; }
};

// The canonical 44-byte PCM header (mono, 44100 Hz, 16 bits), sizes little-endian.
std::string Header(uint32_t dataBytes)
{
    std::string header("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xAC\0\0\x88\x58\x01\0\x02\0\x10\0" "data\0\0\0\0", 44);
    for (int i = 0; i < 4; ++i) {
        header[static_cast<std::size_t>(4 + i)] = static_cast<char>((dataBytes + 36) >> (8 * i));
        header[static_cast<std::size_t>(40 + i)] = static_cast<char>(dataBytes >> (8 * i));
    }
    return header;
}

class WavExport : public testing::Test {
protected:
    void SetUp() override
    {
        nexilon::q.Init();
        RegisterModuleClass();
        RegisterPlayerClass();
        module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
        directory = fs::temp_directory_path() / ("sonrix-wav-" + std::to_string(::getpid()));
        fs::create_directories(directory);
        path = directory / "out.wav";
    }
    void TearDown() override
    {
        module.Reset();
        fs::remove_all(directory);
        nexilon::q.Close();
    }

    // The clock gives calendar seconds; by default it never moves.
    TWavExportResult Export(TEvents& events, CWavExporter::TClock clock = [] { return int64_t{1}; })
    {
        return CWavExporter(*module, nexilon::CString(path.c_str()), events, std::move(clock)).Run(events.cancel);
    }
    std::string File() const
    {
        std::stringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    }

    nexilon::CPtr<IRixModule> module;
    fs::path directory;
    fs::path path;
};

TEST_F(WavExport, EmptySongIsAHeaderAloneAndCompletesAtOnce)
{
    TEvents events;
    EXPECT_EQ(Export(events), TWavExportResult::Completed);
    EXPECT_EQ(events.end, CWavExporter::kCompletedMessage);
    EXPECT_EQ(events.percents, std::vector<int32_t>{100});
    EXPECT_EQ(File(), Header(0));
}

TEST_F(WavExport, TwoPositionsAt120BpmMatchADirectReadOfThePlayerWithProgressOncePerSecond)
{
    {
        CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
        data->orderTable[0][0] = 1;
        data->orderTable[0][1] = 2;
        data->orderTable[3][1] = 1;
        data->patterns[0][1][0] = 58;
        data->patterns[0][1][8] = 255;
        data->patterns[0][2][4] = 46;
        data->patterns[3][1][2] = 70;
        data->channels[0].effects.push_back(TRixEffect::OfType(RIXEFFECT_DELAY));
        data->channels[3].oscillators[0].type = RIXOSC_SAW;
    }
    TEvents events;
    int64_t readings = 0;
    EXPECT_EQ(Export(events, [&] { return 1 + readings++ / 3; }), TWavExportResult::Completed);
    const std::string bytes = File();
    ASSERT_EQ(bytes.size(), 352812u);
    EXPECT_EQ(bytes.substr(0, 44), Header(352768));

    // 345 blocks and a clock moving every third one: the first block, every
    // third after it, and 100 at the end.
    ASSERT_EQ(events.written.size(), 116u);
    for (std::size_t i = 0; i < events.written.size(); ++i) {
        EXPECT_EQ(events.written[i], i + 1 < events.written.size() ? 1024u + 3072u * i : 352768u) << i;
        EXPECT_EQ(events.percents[i], static_cast<int32_t>(events.written[i] * 100 / 352768u)) << i;
    }

    nexilon::CPtr<IRixModulePlayer> player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    player->Connect(module.Get());
    std::string direct(400'000, '\0');
    direct.resize(player->Read(direct.data(), direct.size()));
    EXPECT_NE(direct.find_first_not_of('\0'), std::string::npos) << "the song should not be silent";
    EXPECT_TRUE(bytes.substr(44) == direct) << "rendered data differs from the player's output";
}

TEST_F(WavExport, AFailedOrCancelledExportLeavesTheOldFileAndNothingElse)
{
    // At 1 BPM 2 positions make 42335936 bytes: past 21474836 written,
    // × 100 no longer fits 32 bits. At 120 BPM they make 352768.
    constexpr uint64_t kLong = 42'335'936;
    constexpr uint64_t kShort = 352'768 + CWavExporter::kHeaderBytes;
    const std::string tooBig = std::string(CWavExporter::kFailedMessage) + " " + std::strerror(EFBIG);
    const struct {
        int32_t bpm;
        uint32_t lastPosition;
        std::optional<uint64_t> room; // what the disk takes
        uint64_t cancelAt;
        std::string end;
    } cases[] = {
        {1, 255, {}, UINT64_MAX,
         std::string(CWavExporter::kFailedMessage) + " The song is too long for a WAV file (2 GiB at most)"},
        {120, 1, 0, UINT64_MAX, tooBig},
        {120, 1, kShort / 2, UINT64_MAX, tooBig},
        {120, 1, kShort - 1, UINT64_MAX, tooBig},
        {1, 1, {}, 30'000'000, "cancelled"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.end + " at " + std::to_string(c.room.value_or(c.cancelAt)));
        {
            CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
            data->Reset();
            data->bpm = c.bpm;
            data->orderTable[0][c.lastPosition] = 1;
        }
        std::ofstream(path) << "precious";
        TEvents events;
        events.cancelAt = c.cancelAt;
        int64_t seconds = 0;
        {
            std::optional<rixtest::CFileSizeLimit> fullDisk;
            if (c.room)
                fullDisk.emplace(*c.room);
            EXPECT_NE(Export(events, [&] { return ++seconds; }), TWavExportResult::Completed);
        }
        EXPECT_EQ(events.end, c.end);
        EXPECT_EQ(File(), "precious");
        EXPECT_EQ(rixtest::EntriesIn(directory), 1) << "no temporary file is left behind";
        const uint64_t total = c.bpm == 1 ? kLong : kShort - CWavExporter::kHeaderBytes;
        for (std::size_t i = 0; i < events.percents.size(); ++i)
            ASSERT_EQ(events.percents[i], static_cast<int32_t>(events.written[i] * 100 / total)) << i;
        if (c.end == "cancelled") {
            EXPECT_EQ(events.written.back(), 30'000'128u) << "the first whole block past 30000000";
        }
    }
}

} // namespace
} // namespace rix
