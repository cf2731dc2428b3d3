// The WAV export with the real module player.

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "IRixModulePlayer.h"
#include "RixModule.h"
#include "WavExporter.h"
#include "nexilon/Nexilon.h"

namespace rix {
namespace {

namespace fs = std::filesystem;

struct TOutcome final : IWavExportListener {
    std::vector<int32_t> percents;
    std::string end;

    void OnProgress(int32_t percent, uint64_t, uint64_t) override { percents.push_back(percent); }
    void OnCompleted(const std::string& message) override { end = message; }
    void OnFailed(const std::string& message, const std::string& reason) override { end = message + " " + reason; }
    void OnCancelled() override { end = "cancelled"; }
};

class WavRenderTest : public testing::Test {
protected:
    void SetUp() override
    {
        nexilon::q.Init();
        RegisterModuleClass();
        RegisterPlayerClass();
        module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
        path = fs::temp_directory_path() / ("sonrix-render-" + std::to_string(::getpid()) + ".wav");
    }
    void TearDown() override
    {
        module.Reset();
        fs::remove(path);
        nexilon::q.Close();
    }

    std::string Render(TOutcome& outcome)
    {
        const std::atomic<bool> cancel{false};
        CWavExporter(*module, nexilon::CString(path.c_str()), outcome).Run(cancel);
        std::stringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    }

    // Two order positions at 120 BPM with a few notes and an echo on channel 1.
    void WriteTwoPositionSong()
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

    nexilon::CPtr<IRixModule> module;
    fs::path path;
};

uint32_t Word(const std::string& bytes, std::size_t at)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

TEST_F(WavRenderTest, EmptySongIsAHeaderAlone)
{
    TOutcome outcome;
    const std::string bytes = Render(outcome);
    EXPECT_EQ(outcome.end, CWavExporter::kCompletedMessage);
    EXPECT_EQ(outcome.percents, std::vector<int32_t>{100});
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(Word(bytes, 4), 36u);
    EXPECT_EQ(Word(bytes, 40), 0u);
}

TEST_F(WavRenderTest, TwoPositionsAt120BpmMatchADirectReadOfThePlayer)
{
    WriteTwoPositionSong();
    TOutcome outcome;
    const std::string bytes = Render(outcome);
    EXPECT_EQ(outcome.end, CWavExporter::kCompletedMessage);
    ASSERT_EQ(bytes.size(), 352812u);
    EXPECT_EQ(Word(bytes, 4), 352804u);
    EXPECT_EQ(Word(bytes, 40), 352768u);

    nexilon::CPtr<IRixModulePlayer> player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    player->Connect(module.Get());
    std::string direct(400'000, '\0');
    direct.resize(player->Read(direct.data(), direct.size()));
    ASSERT_EQ(direct.size(), 352768u);
    EXPECT_TRUE(bytes.substr(44) == direct) << "rendered data differs from the player's output";
    EXPECT_NE(direct.find_first_not_of('\0'), std::string::npos) << "the song should not be silent";
}

TEST_F(WavRenderTest, SongTooLongForTheHeaderFailsInsteadOfBeingCut)
{
    {
        // 256 positions at 1 BPM: over 5 GB of samples.
        CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
        data->bpm = 1;
        data->orderTable[0][255] = 1;
    }
    TOutcome outcome;
    const std::string bytes = Render(outcome);
    EXPECT_EQ(outcome.end, std::string(CWavExporter::kFailedMessage) +
                               " The song is too long for a WAV file (2 GiB at most)");
    EXPECT_TRUE(bytes.empty());
}

} // namespace
} // namespace rix
