#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "File.h"
#include "FileSizeLimit.h"
#include "ModuleArchive.h"
#include "ModuleFiles.h"
#include "RixFileTestData.h"
#include "RixModule.h"
#include "TemporaryFolder.h"
#include "nexilon/Nexilon.h"

// Module and instrument files on the shared song: saves that are whole or
// not at all, loads that change the song only when they succeed.
namespace {

namespace fs = std::filesystem;

class ModuleFiles : public testing::Test {
protected:
    void SetUp() override
    {
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterArchiveStreamClasses();
        module = nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId);
        *rix::CRixModuleLock(*module, nexilon::LOCKMODE_WRITE) = song;
    }
    void TearDown() override
    {
        module.Reset();
        nexilon::q.Close();
    }

    rix::CRixModuleData Song() { return *rix::CRixModuleLock(*module, nexilon::LOCKMODE_READ); }

    const rix::CRixModuleData song = rixtest::MakeFeatureModule();
    rixtest::CTemporaryFolder folder;
    nexilon::CPtr<rix::IRixModule> module;
};

TEST_F(ModuleFiles, ASaveThatFailsAtTheStartHalfWayOrAtTheEndLeavesTheOldFileAsItWas)
{
    const std::string path = folder / "saved";
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    const struct { const char* writer; std::function<void()> save; std::string bytes; } writers[] = {
        {"module", [&] { rix::SaveModuleFile(path, *module); }, rixtest::SaveBytes(song)},
        {"instrument", [&] { rix::SaveInstrumentFile(path, *module, 3); }, rixtest::SaveBytes(song.channels[3])},
    };
    for (const auto& [writer, save, bytes] : writers) {
        for (const uint64_t room : {uint64_t{0}, uint64_t{bytes.size() / 2}, uint64_t{bytes.size() - 1}}) {
            SCOPED_TRACE(std::string(writer) + ", room for " + std::to_string(room) + " bytes");
            rixtest::WriteWholeFile(path, "precious");
            fs::permissions(path, perms);
            try {
                rixtest::CFileSizeLimit fullDisk(room);
                save();
                ADD_FAILURE() << "the save did not fail";
            } catch (const rix::CFileException& error) {
                EXPECT_EQ(error.GetPath(), path);
                EXPECT_EQ(error.GetError(), EFBIG);
            }
            EXPECT_EQ(rixtest::ReadWholeFile(path), "precious");
            EXPECT_EQ(rixtest::EntriesIn(folder / ""), 1) << "no temporary file is left behind";
        }
        save();
        EXPECT_EQ(rixtest::ReadWholeFile(path), bytes) << writer;
        EXPECT_EQ(fs::status(path).permissions(), perms) << "a replaced file keeps its permissions";
        EXPECT_EQ(rixtest::EntriesIn(folder / ""), 1);
    }
}

TEST_F(ModuleFiles, ASaveReplacesTheFileALinkNamesAndWritesIntoAFifoDirectly)
{
    const std::string bytes = rixtest::SaveBytes(song.channels[5]);
    rixtest::WriteWholeFile(folder / "file", "precious");
    fs::create_symlink("file", folder / "link");
    rix::SaveInstrumentFile(folder / "link", *module, 5);
    EXPECT_TRUE(fs::is_symlink(folder / "link"));
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "file"), bytes);

    // A FIFO (like a device) cannot be replaced; what is saved goes through it.
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    const int reader = ::open((folder / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    rix::SaveInstrumentFile(folder / "fifo", *module, 5);
    std::string received(bytes.size() + 1, '\0');
    received.resize(static_cast<std::size_t>(std::max<ssize_t>(::read(reader, received.data(), received.size()), 0)));
    ::close(reader);
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(fs::is_fifo(folder / "fifo"));
    EXPECT_EQ(rixtest::EntriesIn(folder / ""), 3);
}

TEST_F(ModuleFiles, AFailedLoadLeavesTheSongAsItWasAndAWholeOneReplacesIt)
{
    rix::CRixModuleData other;
    other.bpm = 99;
    other.orderTable[2][7] = 4;
    const std::string otherBytes = rixtest::SaveBytes(other);
    const std::string instrument = rixtest::SaveBytes(other.channels[0]);
    rixtest::WriteWholeFile(folder / "cut.sonrix", otherBytes.substr(0, otherBytes.size() / 2));
    rixtest::WriteWholeFile(folder / "other.sonrix", otherBytes);
    rixtest::WriteWholeFile(folder / "cut.sonrixi", instrument.substr(0, instrument.size() - 1));
    rixtest::WriteWholeFile(folder / "whole.sonrixi", instrument);
    rixtest::WriteWholeFile(folder / "empty.sonrix", "");
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ASSERT_EQ(::write(pipeEnds[1], otherBytes.data(), 4096), 4096);
    const std::string fromPipe = "/proc/self/fd/" + std::to_string(pipeEnds[0]);

    const std::pair<std::function<void()>, std::string> failures[] = {
        {[&] { rix::LoadModuleFile(folder / "cut.sonrix", *module); }, "Unexpected end of stream"},
        {[&] { rix::LoadModuleFile(folder / "none.sonrix", *module); }, std::strerror(ENOENT)},
        {[&] { rix::LoadModuleFile(fromPipe, *module); }, "The input must be a regular file, not a pipe or a device"},
        {[&] { rix::LoadModuleFile(folder / "empty.sonrix", *module); }, "The file is empty"},
        // Instrument failures name the file: the instrument panel shows them as they are.
        {[&] { rix::LoadInstrumentFile(folder / "cut.sonrixi", *module, 2); },
         folder / "cut.sonrixi: Unexpected end of stream"},
        {[&] { rix::LoadInstrumentFile(folder / "empty.sonrix", *module, 2); }, folder / "empty.sonrix: The file is empty"},
        {[&] { rix::LoadInstrumentFile(folder / "whole.sonrixi", *module, 8); }, "Channel out of range"},
    };
    for (const auto& [load, message] : failures) {
        SCOPED_TRACE(message);
        const uint32_t changes = module->GetChangeCount();
        try {
            load();
            ADD_FAILURE() << "the load did not fail";
        } catch (const nexilon::CException& error) {
            EXPECT_EQ(error.GetMessage(), message);
        }
        EXPECT_TRUE(Song() == song);
        EXPECT_EQ(module->GetChangeCount(), changes) << "a failed load is no edit";
    }
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);

    rix::LoadInstrumentFile(folder / "whole.sonrixi", *module, 2);
    rix::CRixModuleData expected = song;
    expected.channels[2] = other.channels[0];
    EXPECT_TRUE(Song() == expected);
    const uint32_t changes = module->GetChangeCount();
    rix::LoadModuleFile(folder / "other.sonrix", *module);
    EXPECT_TRUE(Song() == other);
    EXPECT_NE(module->GetChangeCount(), changes);
}

} // namespace
