#include <gtest/gtest.h>

#include "Archive.h"
#include "MfcFileInputStream.h"
#include "MfcFileOutputStream.h"
#include "ModuleArchive.h"
#include "RixFileTestData.h"
#include "TemporaryFolder.h"
#include "nexilon/Nexilon.h"

namespace {

using rix::CArchive;
using rix::CFile;

class ModuleArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { rix::RegisterArchiveStreamClasses(); }

    nexilon::CString Path() const { return nexilon::CString(std::string_view(folder / "song.sonrix")); }

    static int LivingStreams()
    {
        const nexilon::CObjectCounter& counter = nexilon::q.GetObjectCounter();
        return counter.GetLiveCount(rix::CMfcFileInputStream::ClassId) +
               counter.GetLiveCount(rix::CMfcFileOutputStream::ClassId);
    }

    rixtest::CTemporaryFolder folder;
};

TEST_F(ModuleArchiveTest, SavedThroughAnArchiveLoadsBackIdentical)
{
    const rix::CRixModuleData original = rixtest::MakeFeatureModule();
    {
        CFile file(Path(), CFile::modeCreate);
        CArchive archive(&file, CArchive::store);
        rix::SaveModule(original, &archive);
    }
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "song.sonrix"), rixtest::SaveModuleBytes(original));

    CFile file(Path(), CFile::modeRead);
    file.Seek(100, CFile::begin);
    CArchive archive(&file, CArchive::load);
    rix::CRixModuleData loaded;
    rix::LoadModule(loaded, &archive);
    EXPECT_EQ(loaded, original);
    EXPECT_EQ(LivingStreams(), 0);
}

TEST_F(ModuleArchiveTest, FailuresPassThroughAndReleaseTheStream)
{
    rixtest::WriteWholeFile(folder / "song.sonrix", rixtest::CFileBytes().WideString(u"Sonrix v3.0").Bytes());
    CFile file(Path(), CFile::modeRead);
    CArchive loading(&file, CArchive::load);
    CArchive storing(&file, CArchive::store);
    rix::CRixModuleData data;

    rixtest::ExpectFailure<nexilon::CDataFormatException>([&] { rix::LoadModule(data, &loading); },
                                                          "rix::CRixModuleData::Load", "RixModuleLoader",
                                                          "Invalid file format");
    rixtest::ExpectFailure<nexilon::CIOException>([&] { rix::LoadModule(data, &storing); },
                                                  "rix::CMfcFileInputStream::Connect", "MfcFileInputStream",
                                                  "Archive is not in loading state");
    rixtest::ExpectFailure<nexilon::CIOException>([&] { rix::SaveModule(data, &loading); },
                                                  "rix::CMfcFileOutputStream::Connect", "MfcFileOutputStream",
                                                  "Archive is not in storing state");
    // The file is open for reading: the first write fails in the file.
    EXPECT_THROW(rix::SaveModule(data, &storing), rix::CFileException);
    EXPECT_EQ(LivingStreams(), 0);
}

} // namespace
