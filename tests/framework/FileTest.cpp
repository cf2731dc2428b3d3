#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Archive.h"
#include "File.h"
#include "TemporaryFolder.h"

namespace {

using rix::CArchive;
using rix::CFile;
using rix::CFileException;

// Runs action and checks the CFileException it must throw.
template <class TAction>
void ExpectFileFailure(TAction&& action, const std::string& function, int error, const std::string& message)
{
    try {
        action();
        ADD_FAILURE() << "no exception from " << function;
    } catch (const CFileException& failure) {
        EXPECT_EQ(failure.GetFunction(), function);
        EXPECT_EQ(failure.GetFile(), "File");
        EXPECT_EQ(failure.GetError(), error);
        EXPECT_EQ(failure.GetMessage(), message);
        EXPECT_STREQ(failure.GetKind(), "CFileException");
    }
}

TEST(File, OpenFailuresCarryTheSystemsReasonAndThePath)
{
    rixtest::CTemporaryFolder folder;
    const std::string missing = folder / "missing.sonrix";
    ExpectFileFailure([&] { CFile file(nexilon::CString(std::string_view(missing)), CFile::modeRead); },
                      "rix::CFile::Open", ENOENT, std::strerror(ENOENT));
    ExpectFileFailure([&] { CFile file(nexilon::CString(std::string_view(folder.Path().string())), CFile::modeRead); },
                      "rix::CFile::Open", EISDIR, std::strerror(EISDIR));
    ExpectFileFailure([&] { CFile file(nexilon::CString(std::string_view(folder / "no/such")), CFile::modeCreate); },
                      "rix::CFile::Open", ENOENT, std::strerror(ENOENT));
    try {
        CFile file(nexilon::CString(std::string_view(missing)), CFile::modeRead);
    } catch (const CFileException& failure) {
        EXPECT_EQ(failure.GetPath(), missing);
    }
}

TEST(File, WriteSeekReadBack)
{
    rixtest::CTemporaryFolder folder;
    const nexilon::CString path(std::string_view(folder / "data"));
    rixtest::WriteWholeFile(folder / "data", "old contents that are longer");

    CFile out(path, CFile::modeCreate);
    EXPECT_NE(out.GetHandle(), CFile::hFileNull);
    EXPECT_EQ(out.GetLength(), 0u) << "creating truncates";
    out.Write("0123456789", 10);
    EXPECT_EQ(out.GetPosition(), 10u);
    EXPECT_EQ(out.Seek(2, CFile::begin), 2u);
    out.Write("AB", 2);
    EXPECT_EQ(out.Seek(0, CFile::end), 10u);
    out.Flush();
    out.Close();
    EXPECT_EQ(out.GetHandle(), CFile::hFileNull);

    CFile in(path, CFile::modeRead);
    EXPECT_EQ(in.GetLength(), 10u);
    char buffer[32] = {};
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 10u);
    EXPECT_EQ(std::string(buffer, 10), "01AB456789");
    EXPECT_EQ(in.Read(buffer, 1), 0u);
    EXPECT_EQ(in.Seek(-3, CFile::end), 7u);
    EXPECT_EQ(in.Seek(1, CFile::current), 8u);
    EXPECT_EQ(in.Read(buffer, 4), 2u);
    in.Flush();
}

TEST(File, SmallReadsThroughTheReadAheadKeepPositionsExact)
{
    rixtest::CTemporaryFolder folder;
    std::string contents(200000, '\0');
    for (std::size_t i = 0; i < contents.size(); ++i)
        contents[i] = static_cast<char>(i * 7 + i / 251);
    rixtest::WriteWholeFile(folder / "big", contents);

    CFile in(nexilon::CString(std::string_view(folder / "big")), CFile::modeRead);
    std::string seen;
    char piece[70000];
    // Mixed sizes: small ones served from the buffer, one larger than it.
    for (uint32_t size : {3u, 4u, 65533u, 70000u, 1u, 4u}) {
        const uint32_t got = in.Read(piece, size);
        ASSERT_EQ(got, size);
        seen.append(piece, got);
        ASSERT_EQ(in.GetPosition(), seen.size());
    }
    EXPECT_EQ(seen, contents.substr(0, seen.size()));
    EXPECT_EQ(in.Seek(-2, CFile::current), seen.size() - 2);
    ASSERT_EQ(in.Read(piece, 4), 4u);
    EXPECT_EQ(std::string(piece, 4), contents.substr(seen.size() - 2, 4));
    EXPECT_EQ(in.Seek(-5, CFile::end), contents.size() - 5);
    EXPECT_EQ(in.Read(piece, 10), 5u);
    EXPECT_EQ(in.GetPosition(), contents.size());
}

TEST(File, OperationsOnAClosedFileFail)
{
    CFile file;
    EXPECT_EQ(file.GetHandle(), CFile::hFileNull);
    char byte = 0;
    const std::string message = "File is not open";
    ExpectFileFailure([&] { file.Read(&byte, 1); }, "rix::CFile::Read", 0, message);
    ExpectFileFailure([&] { file.Write(&byte, 1); }, "rix::CFile::Write", 0, message);
    ExpectFileFailure([&] { file.Seek(0, CFile::begin); }, "rix::CFile::Seek", 0, message);
    ExpectFileFailure([&] { file.GetPosition(); }, "rix::CFile::GetPosition", 0, message);
    ExpectFileFailure([&] { file.GetLength(); }, "rix::CFile::GetLength", 0, message);
    ExpectFileFailure([&] { file.Flush(); }, "rix::CFile::Flush", 0, message);
    file.Close();
    file.Abort();
}

TEST(File, WriteErrorsSurface)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CFile full(nexilon::CString("/dev/full"), CFile::modeCreate);
    ExpectFileFailure([&] { full.Write("x", 1); }, "rix::CFile::Write", ENOSPC, std::strerror(ENOSPC));

    rixtest::CTemporaryFolder folder;
    rixtest::WriteWholeFile(folder / "read-only", "abc");
    CFile reading(nexilon::CString(std::string_view(folder / "read-only")), CFile::modeRead);
    ExpectFileFailure([&] { reading.Write("x", 1); }, "rix::CFile::Write", EBADF, std::strerror(EBADF));
    ExpectFileFailure([&] { reading.Seek(-1, CFile::begin); }, "rix::CFile::Seek", EINVAL, std::strerror(EINVAL));
}

TEST(Archive, TellsItsModeAndFile)
{
    CFile file;
    const CArchive loading(&file, CArchive::load);
    const CArchive storing(&file, CArchive::store);
    EXPECT_TRUE(loading.IsLoading());
    EXPECT_FALSE(loading.IsStoring());
    EXPECT_TRUE(storing.IsStoring());
    EXPECT_FALSE(storing.IsLoading());
    EXPECT_EQ(loading.GetFile(), &file);
}

} // namespace
