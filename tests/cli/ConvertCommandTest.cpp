#include <gtest/gtest.h>

#include <iterator>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "CliRunner.h"
#include "RixFileTestData.h"
#include "TemporaryFolder.h"

namespace {

using clitest::RunCli;
namespace fs = std::filesystem;

std::ptrdiff_t Entries(const rixtest::CTemporaryFolder& folder)
{
    return std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator());
}

std::string Version2Module()
{
    rixtest::CFileBytes file(u"sonrix v2.0");
    file.Int(1).Int(125).Float(0.5f).WideString(u"").WideString(u"").WideString(u"");
    file.Int(4).Int(2).Float(0.5f).Envelope2({0, 1, 1, 0, 0, 0});
    file.Int(7).Int(2).Int(0).Int(3).Envelope2({0, 1, 1, 0, 0, 0}).Envelope2({0, 12, 1, 0, 0, 0});
    return file.Float(1.0f).Float(0.25f).Bytes();
}

TEST(CliConvert, OldVersionsBecomeVersion3InPlaceOrBeside)
{
    rixtest::CTemporaryFolder folder;
    const std::string instrument =
        rixtest::CFileBytes(u"sonrixi v2.0").Int(4).Float(0.5f).Envelope2({0, 1, 1, 0, 0, 0}).Int(8).Bytes();
    rixtest::WriteWholeFile(folder / "song.sonrix", Version2Module());
    rixtest::WriteWholeFile(folder / "old.sonrixi", instrument);
    // Replacing a file keeps its permissions.
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(folder / "song.sonrix", perms);
    const std::pair<const char*, const char*> conversions[] = {{"song.sonrix", "song.sonrix"},
                                                               {"old.sonrixi", "new.sonrixi"}};
    for (const auto& [in, out] : conversions) {
        const auto result = RunCli({"convert", folder / in, folder / out});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out + result.err, "");
    }
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "song.sonrix"),
              rixtest::SaveBytes(rixtest::Loaded<rix::CRixModuleData>(Version2Module())));
    EXPECT_EQ(fs::status(folder / "song.sonrix").permissions(), perms);
    const auto channel = rixtest::Loaded<rix::CRixModuleChannel>(instrument);
    EXPECT_EQ(channel.volume, 128);
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "new.sonrixi"), rixtest::SaveBytes(channel));
    EXPECT_EQ(Entries(folder), 3) << "no temporary file is left behind";
}

TEST(CliConvert, FailuresKeepTheOldFile)
{
    rixtest::CTemporaryFolder folder;
    rixtest::WriteWholeFile(folder / "bad.sonrix", rixtest::CFileBytes(u"sonrix v3.0").Int(7).Int(9).Bytes());
    rixtest::WriteWholeFile(folder / "good.sonrix", Version2Module());
    rixtest::WriteWholeFile(folder / "keep.sonrix", "precious");
    fs::create_directories(folder / "taken.sonrix/inside");

    // Input, output, the file named in the message, the message.
    const std::string cases[][4] = {
        {"bad.sonrix", "keep.sonrix", "bad.sonrix", "Invalid data format"},
        {"none.sonrix", "keep.sonrix", "none.sonrix", std::strerror(ENOENT)},
        {"good.sonrix", "no/such/out.sonrix", "no/such/out.sonrix", std::strerror(ENOENT)},
        // Written completely, then the rename over a folder fails.
        {"good.sonrix", "taken.sonrix", "taken.sonrix", std::strerror(EISDIR)},
    };
    for (const auto& c : cases) {
        const auto result = RunCli({"convert", folder / c[0], folder / c[1]});
        EXPECT_EQ(result.status, 1) << c[0] << " -> " << c[1];
        EXPECT_EQ(result.err, "sonrix3-cli: " + (folder / c[2]) + ": " + c[3] + "\n");
        EXPECT_EQ(rixtest::ReadWholeFile(folder / "keep.sonrix"), "precious");
        EXPECT_EQ(Entries(folder), 4) << "no temporary file is left behind";
    }
}

} // namespace
