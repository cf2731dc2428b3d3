#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "IRixModulePlayer.h"
#include "RixModule.h"
#include "WavExporter.h"
#include "nexilon/Nexilon.h"
#include "nexilon/ObjectBase.h"

namespace rix {
namespace {

namespace fs = std::filesystem;

// What the fake player delivers: length bytes announced, data following a
// simple pattern, and an optional early end.
struct TFakeSong {
    uint64_t length = 0;
    uint64_t endsAfter = UINT64_MAX;
};
TFakeSong fakeSong;

uint8_t FakeByte(uint64_t position)
{
    return static_cast<uint8_t>(position * 7 + 3);
}

class CFakePlayer final : public nexilon::CObjectBase<IRixModulePlayer> {
public:
    CFakePlayer() : CObjectBase(RIX_MODULE_PLAYER_CLASS), song(fakeSong) {}

    nexilon::IObject* QueryInterface(const nexilon::CId& id) override
    {
        if (id == IRixModulePlayer::Iid || id == nexilon::IInputStream::Iid || id == nexilon::IStream::Iid ||
            id == nexilon::IObject::Iid)
            return Answer();
        return nullptr;
    }
    void Close() override {}
    int32_t GetCapabilities() override { return 7; }
    uint64_t GetLength() override { return song.length; }
    void Flush() override {}
    void Seek(uint64_t target) override { position = target; }
    uint64_t Tell() override { return position; }
    bool IsEof() override { return position >= song.length; }
    const nexilon::TStreamFormat* GetFormat() override { return nullptr; }
    void Read(nexilon::IMediaSample*) override {}
    uint64_t Read(void* buffer, uint64_t size) override
    {
        const uint64_t end = std::min(song.length, song.endsAfter);
        const uint64_t count = position >= end ? 0 : std::min(size, end - position);
        auto* bytes = static_cast<uint8_t*>(buffer);
        for (uint64_t i = 0; i < count; ++i)
            bytes[i] = FakeByte(position + i);
        position += count;
        return count;
    }
    bool IsFeatureSupported(uint32_t) override { return false; }
    void Skip(int64_t delta) override { position += static_cast<uint64_t>(delta); }
    void SetChannelEnabled(int32_t, bool) override {}
    int32_t RowAtTime(float) override { return 0; }
    float TimeOfRow(uint32_t) override { return 0.0f; }
    void SeekToRow(uint32_t) override {}
    void Connect(IRixModule* module) override { connected = nexilon::CPtr<IRixModule>(module); }
    uint32_t GetRow() override { return 0; }
    void CopyOutput(int32_t, uint32_t, int32_t*, uint32_t) override {}
    void SetLoopPattern(bool) override {}

private:
    TFakeSong song;
    uint64_t position = 0;
    nexilon::CPtr<IRixModule> connected;
};

nexilon::IObject* CreateFakePlayer()
{
    return static_cast<IRixModulePlayer*>(new CFakePlayer());
}

struct TEvents final : IWavExportListener {
    std::vector<int32_t> percents;
    std::vector<uint64_t> written;
    std::string end;
    std::string reason;
    // Set the flag once this many bytes are written.
    uint64_t cancelAt = UINT64_MAX;
    std::atomic<bool> cancel{false};

    void OnProgress(int32_t percent, uint64_t bytesWritten, uint64_t) override
    {
        percents.push_back(percent);
        written.push_back(bytesWritten);
        if (bytesWritten >= cancelAt)
            cancel = true;
    }
    void OnCompleted(const std::string& message) override { end += message; }
    void OnFailed(const std::string& message, const std::string& why) override
    {
        end += message;
        reason = why;
    }
    void OnCancelled() override { end += "cancelled"; }
};

std::string ReadFile(const fs::path& path)
{
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

uint32_t Word(const std::string& bytes, std::size_t at)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

class WavExporterTest : public testing::Test {
protected:
    void SetUp() override
    {
        nexilon::q.Init();
        RegisterModuleClass();
        nexilon::q.GetClassStore().RegisterClassNxl({RIX_MODULE_PLAYER_CLASS, u"test::CFakePlayer", &CreateFakePlayer});
        fakeSong = {};
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

    TWavExportResult Export(TEvents& events, CWavExporter::TClock clock)
    {
        return CWavExporter(*module, nexilon::CString(path.c_str()), events, std::move(clock)).Run(events.cancel);
    }

    nexilon::CPtr<IRixModule> module;
    fs::path directory;
    fs::path path;
};

TEST_F(WavExporterTest, HeaderIsTheCanonicalPcmLayout)
{
    fakeSong.length = 5000;
    TEvents events;
    ASSERT_EQ(Export(events, [] { return int64_t{1}; }), TWavExportResult::Completed);
    const std::string bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), 5044u);
    const std::string expected("RIFF\xAC\x13\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x44\xAC\x00\x00"
                               "\x88\x58\x01\x00\x02\x00\x10\x00"
                               "data\x88\x13\x00\x00",
                               44);
    EXPECT_EQ(bytes.substr(0, 44), expected);
    for (uint64_t i = 0; i < 5000; ++i)
        ASSERT_EQ(static_cast<uint8_t>(bytes[44 + i]), FakeByte(i)) << i;
    EXPECT_EQ(events.end, CWavExporter::kCompletedMessage);
}

TEST_F(WavExporterTest, ProgressComesAtOnceThenOncePerSecondAndEndsAt100)
{
    fakeSong.length = 10 * 1024 + 100;
    TEvents steady;
    Export(steady, [] { return int64_t{1000}; });
    EXPECT_EQ(steady.percents, (std::vector<int32_t>{9, 100}));
    EXPECT_EQ(steady.written, (std::vector<uint64_t>{1024, 10340}));

    // A clock that moves on every third reading.
    TEvents ticking;
    int64_t readings = 0;
    Export(ticking, [&] { return 1 + readings++ / 3; });
    EXPECT_EQ(ticking.written, (std::vector<uint64_t>{1024, 4096, 7168, 10240, 10340}));
    EXPECT_EQ(ticking.percents, (std::vector<int32_t>{9, 39, 69, 99, 100}));
}

TEST_F(WavExporterTest, PercentagesOfLongSongsDoNotOverflow)
{
    // Beyond 21474836 bytes written × 100 leaves 32 bits.
    fakeSong.length = 40'000'000;
    TEvents events;
    events.cancelAt = 30'000'000;
    int64_t seconds = 0;
    EXPECT_EQ(Export(events, [&] { return ++seconds; }), TWavExportResult::Cancelled);
    ASSERT_FALSE(events.percents.empty());
    for (std::size_t i = 0; i < events.percents.size(); ++i)
        ASSERT_EQ(events.percents[i], static_cast<int32_t>(events.written[i] * 100 / 40'000'000)) << i;
    EXPECT_EQ(events.percents.back(), 75);
}

TEST_F(WavExporterTest, CancellingStopsBeforeTheNextBlockAndKeepsTheFullHeader)
{
    fakeSong.length = 100'000;
    TEvents events;
    events.cancelAt = 1;
    EXPECT_EQ(Export(events, [] { return int64_t{5}; }), TWavExportResult::Cancelled);
    EXPECT_EQ(events.end, "cancelled");
    const std::string bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), 44u + 1024u);
    EXPECT_EQ(Word(bytes, 4), 100'036u);
    EXPECT_EQ(Word(bytes, 40), 100'000u);
}

TEST_F(WavExporterTest, FailuresAreReportedWithTheirReason)
{
    fakeSong.length = 8192;
    fakeSong.endsAfter = 3000;
    TEvents early;
    EXPECT_EQ(Export(early, [] { return int64_t{1}; }), TWavExportResult::Failed);
    EXPECT_EQ(early.end, CWavExporter::kFailedMessage);
    EXPECT_EQ(early.reason, "The player ended before the announced length");
    EXPECT_EQ(ReadFile(path).size(), 44u + 3000u);

    path = directory / "missing" / "out.wav";
    TEvents uncreatable;
    EXPECT_EQ(Export(uncreatable, [] { return int64_t{1}; }), TWavExportResult::Failed);
    EXPECT_EQ(uncreatable.end, CWavExporter::kFailedMessage);
    EXPECT_FALSE(uncreatable.reason.empty());
    EXPECT_TRUE(uncreatable.percents.empty());
    EXPECT_FALSE(fs::exists(path));
}

} // namespace
} // namespace rix
