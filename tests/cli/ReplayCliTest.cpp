#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "IRixModulePlayer.h"
#include "RixBenchmarkSongs.h"
#include "RixFileTestData.h"
#include "RixModule.h"
#include "TemporaryFolder.h"
#include "nexilon/Nexilon.h"

namespace {

struct TRun { int status = -1; std::string out; };

TRun RunCli(const rixtest::CTemporaryFolder& folder, const std::string& arguments)
{
    const int status = std::system(("cd " + (folder / "") + " && " + SONRIX_CLI + " " + arguments + " >out.txt 2>&1").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, rixtest::ReadWholeFile(folder / "out.txt")};
}

TEST(CliReplay, ExactSongRendersAsExportedLikeTheEditorAndVerifies)
{
    rixtest::CTemporaryFolder folder;
    rix::CRixModuleData song;
    rix::MakeLightSong(song);
    rixtest::WriteWholeFile(folder / "song.sonrix", rixtest::SaveBytes(song));
    ASSERT_EQ(RunCli(folder, "render --as-exported song.sonrix exported.wav").status, 0);
    ASSERT_EQ(RunCli(folder, "render song.sonrix editor.wav").status, 0);
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "exported.wav"), rixtest::ReadWholeFile(folder / "editor.wav"));

    const TRun verify = RunCli(folder, "verify-export song.sonrix");
    EXPECT_EQ(verify.status, 0) << verify.out;
    EXPECT_NE(verify.out.find("  mix        identical\n"), std::string::npos) << verify.out;
    EXPECT_NE(verify.out.find("Not carried by the tables:\n  nothing\n"), std::string::npos) << verify.out;

    const TRun size = RunCli(folder, "export-cpp --size song.sonrix");
    EXPECT_EQ(size.status, 0);
    EXPECT_EQ(size.out.find("620 bytes of tables, "), 0u) << size.out;
}

TEST(CliReplay, SongBeyondTheTablesFailsVerificationButNotTheExactOne)
{
    rixtest::CTemporaryFolder folder;
    rix::CRixModuleData song;
    rix::MakeLightSong(song);
    song.channels[1].effects.push_back(rix::TRixEffect::OfType(rix::RIXEFFECT_BANDPASS));
    rixtest::WriteWholeFile(folder / "song.sonrix", rixtest::SaveBytes(song));
    const TRun verify = RunCli(folder, "verify-export song.sonrix");
    EXPECT_EQ(verify.status, 1);
    EXPECT_NE(verify.out.find("  channel 2, effect 1: band-pass has no form in the tables"), std::string::npos)
        << verify.out;
    // The exact export carries it (a band-pass passes its input through).
    const TRun exact = RunCli(folder, "verify-export --exact song.sonrix");
    EXPECT_EQ(exact.status, 0) << exact.out;
    EXPECT_NE(exact.out.find("Identical (exact export"), std::string::npos) << exact.out;
    EXPECT_EQ(RunCli(folder, "verify-export missing.sonrix").status, 1);
}

TEST(CliReplay, SyncListsTheNotesAndStopsOfTheSong)
{
    rixtest::CTemporaryFolder folder;
    rix::CRixModuleData song;
    song.bpm = 125; // 5292 samples per row
    song.orderTable[0][0] = 1;
    song.orderTable[2][1] = 2;
    song.patterns[0][1][0] = 49;
    song.patterns[0][1][4] = 255;
    song.patterns[2][2][2] = 13;
    song.patterns[2][0][7] = 20; // pattern 0 plays too, as in the editor
    rixtest::WriteWholeFile(folder / "song.sonrix", rixtest::SaveBytes(song));
    const TRun csv = RunCli(folder, "sync song.sonrix");
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out, "sample,seconds,order,row,channel,note\n"
                       "0,0.000000,0,0,1,49\n"
                       "21168,0.480000,0,4,1,255\n"
                       "37044,0.840000,0,7,3,20\n"
                       "95256,2.160000,1,2,3,13\n");
    const TRun json = RunCli(folder, "sync --json song.sonrix");
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out.substr(0, 88),
              "[\n  {\"sample\": 0, \"seconds\": 0.000000, \"order\": 0, \"row\": 0, \"channel\": 1, \"note\": 49},\n");
}

// The samples of a 16-bit mono WAV file.
std::vector<int16_t> WavSamples(const std::string& path)
{
    const std::string bytes = rixtest::ReadWholeFile(path);
    std::vector<int16_t> samples(bytes.size() > 44 ? (bytes.size() - 44) / 2 : 0);
    for (std::size_t k = 0; k < samples.size(); ++k)
        samples[k] = static_cast<int16_t>(static_cast<uint8_t>(bytes[44 + 2 * k]) | static_cast<uint8_t>(bytes[45 + 2 * k]) << 8);
    return samples;
}

TEST(CliReplay, StemsAreTheSongWithTheOtherChannelsMutedAndSumToTheMix)
{
    nexilon::q.Init();
    rix::RegisterModuleClass();
    rix::RegisterPlayerClass();
    rixtest::CTemporaryFolder folder;
    rix::CRixModuleData song;
    rix::MakeLightSong(song);
    song.masterVolume = 256; // so that the stems sum back to the mix
    song.channels[5].oscillators[0].type = rix::RIXOSC_SAW;
    for (uint32_t& cell : song.patterns[6][1])
        cell = 0; // a channel without notes gets no stem
    rixtest::WriteWholeFile(folder / "song.sonrix", rixtest::SaveBytes(song));
    ASSERT_EQ(RunCli(folder, "render song.sonrix mix.wav").status, 0);
    const TRun stems = RunCli(folder, "render --stems stems song.sonrix");
    ASSERT_EQ(stems.status, 0) << stems.out;

    nexilon::CPtr<rix::IRixModule> module = nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId);
    *rix::CRixModuleLock(*module, nexilon::LOCKMODE_WRITE) = song;
    std::string listed;
    const std::vector<int16_t> mix = WavSamples(folder / "mix.wav");
    std::vector<int32_t> sum(mix.size());
    for (int c : {0, 1, 2, 3, 4, 5, 7}) {
        const std::string name = "stems/channel-" + std::to_string(c + 1) + (c == 5 ? "-saw.wav" : "-sine.wav");
        listed += "stems/" + name.substr(6) + "\n";
        nexilon::CPtr<rix::IRixModulePlayer> player =
            nexilon::CreateInstance<rix::IRixModulePlayer>(rix::RIX_MODULE_PLAYER_CLASS);
        player->Connect(module.Get());
        for (int other = 0; other < 8; ++other)
            player->SetChannelEnabled(other, other == c);
        std::vector<int16_t> muted(mix.size());
        ASSERT_EQ(player->Read(muted.data(), muted.size() * 2), muted.size() * 2);
        const std::vector<int16_t> stem = WavSamples(folder / name);
        EXPECT_EQ(stem, muted) << name;
        for (std::size_t k = 0; k < stem.size() && k < sum.size(); ++k)
            sum[k] += stem[k];
    }
    EXPECT_EQ(stems.out, listed);
    for (std::size_t k = 0; k < mix.size(); ++k) {
        if (sum[k] > -32768 && sum[k] < 32767) {
            ASSERT_EQ(sum[k], mix[k]) << "sample " << k;
        }
    }
    nexilon::q.Close();
}

} // namespace
