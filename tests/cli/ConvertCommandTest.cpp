#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "CliRunner.h"
#include "RixFileTestData.h"
#include "TemporaryFolder.h"

namespace {

using clitest::RunCli;
namespace fs = std::filesystem;

std::vector<std::string> FolderContents(const rixtest::CTemporaryFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Version2Module()
{
    rixtest::CFileBytes file;
    file.WideString(u"sonrix v2.0").Int(1).Int(125).Float(0.5f).WideString(u"").WideString(u"").WideString(u"");
    file.Int(4).Int(2).Float(0.5f).Envelope2({0, 1, 1, 0, 0, 0});
    file.Int(7).Int(2).Int(0).Int(3).Envelope2({0, 1, 1, 0, 0, 0}).Envelope2({0, 12, 1, 0, 0, 0});
    return file.Float(1.0f).Float(0.25f).Bytes();
}

TEST(CliConvert, OldVersionsBecomeVersion3)
{
    rixtest::CTemporaryFolder folder;
    rixtest::WriteWholeFile(folder / "old.sonrix", Version2Module());
    auto result = RunCli({"convert", folder / "old.sonrix", folder / "new.sonrix"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out + result.err, "");
    rix::CRixModuleData expected;
    rixtest::LoadModuleBytes(expected, Version2Module());
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "new.sonrix"), rixtest::SaveModuleBytes(expected));

    rixtest::CFileBytes instrument;
    instrument.WideString(u"sonrixi v2.0").Int(4).Float(0.5f).Envelope2({0, 1, 1, 0, 0, 0}).Int(8);
    rixtest::WriteWholeFile(folder / "old.sonrixi", instrument.Bytes());
    result = RunCli({"convert", folder / "old.sonrixi", folder / "new.sonrixi"});
    ASSERT_EQ(result.status, 0) << result.err;
    rix::CRixModuleChannel channel;
    rixtest::LoadInstrumentBytes(channel, instrument.Bytes());
    EXPECT_EQ(channel.volume, 128);
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "new.sonrixi"), rixtest::SaveInstrumentBytes(channel));
    EXPECT_EQ(FolderContents(folder),
              (std::vector<std::string>{"new.sonrix", "new.sonrixi", "old.sonrix", "old.sonrixi"}));
}

TEST(CliConvert, InPlaceKeepsTheFileAndItsPermissions)
{
    rixtest::CTemporaryFolder folder;
    const std::string bytes = rixtest::SaveModuleBytes(rixtest::MakeFeatureModule());
    rixtest::WriteWholeFile(folder / "song.sonrix", bytes);
    fs::permissions(folder / "song.sonrix", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const auto result = RunCli({"convert", folder / "song.sonrix", folder / "song.sonrix"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "song.sonrix"), bytes);
    EXPECT_EQ(fs::status(folder / "song.sonrix").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FolderContents(folder), std::vector<std::string>{"song.sonrix"});
}

TEST(CliConvert, FailuresKeepTheOldFile)
{
    rixtest::CTemporaryFolder folder;
    rixtest::WriteWholeFile(folder / "bad.sonrix", rixtest::CFileBytes().WideString(u"sonrix v3.0").Int(7).Int(9).Bytes());
    rixtest::WriteWholeFile(folder / "good.sonrix", Version2Module());
    rixtest::WriteWholeFile(folder / "keep.sonrix", "precious");
    fs::create_directories(folder / "taken.sonrix/inside");

    struct TCase {
        std::string in;
        std::string out;
        std::string named;
        std::string message;
    };
    const TCase cases[] = {
        {folder / "bad.sonrix", folder / "keep.sonrix", folder / "bad.sonrix", "Invalid data format"},
        {folder / "none.sonrix", folder / "keep.sonrix", folder / "none.sonrix", std::strerror(ENOENT)},
        {folder / "good.sonrix", folder / "no/such/out.sonrix", folder / "no/such/out.sonrix", std::strerror(ENOENT)},
        // Written completely, then the rename over a folder fails.
        {folder / "good.sonrix", folder / "taken.sonrix", folder / "taken.sonrix", std::strerror(EISDIR)},
    };
    for (const TCase& c : cases) {
        const auto result = RunCli({"convert", c.in, c.out});
        EXPECT_EQ(result.status, 1) << c.in << " -> " << c.out;
        EXPECT_EQ(result.err, "sonrix3-cli: " + c.named + ": " + c.message + "\n");
        EXPECT_EQ(rixtest::ReadWholeFile(folder / "keep.sonrix"), "precious");
        EXPECT_EQ(FolderContents(folder),
                  (std::vector<std::string>{"bad.sonrix", "good.sonrix", "keep.sonrix", "taken.sonrix"}))
            << "no temporary file is left behind";
    }
}

} // namespace
