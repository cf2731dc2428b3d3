#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "RixBenchmarkSongs.h"
#include "RixFileTestData.h"
#include "TemporaryFolder.h"

namespace {

struct TRun {
    int status = -1;
    std::string out;
};

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

TEST(CliReplay, SongBeyondTheTablesFailsVerificationAndWrongUsageIsRefused)
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
    EXPECT_EQ(RunCli(folder, "verify-export").status, 2);
    EXPECT_EQ(RunCli(folder, "render --as-exported song.sonrix").status, 2);
    EXPECT_EQ(RunCli(folder, "export-cpp --size").status, 2);
    EXPECT_EQ(RunCli(folder, "verify-export missing.sonrix").status, 1);
}

} // namespace
