#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "File.h"
#include "TemporaryFolder.h"

namespace {

using rix::CFile;
using rix::CFileException;

nexilon::CString Utf16(const std::string& path)
{
    return nexilon::CString(std::string_view(path));
}

// error 0 means a failure of the file object itself, with this message.
void ExpectFileFailure(const std::function<void()>& action, const std::string& function, int error,
                       const std::string& message = "")
{
    try {
        action();
        ADD_FAILURE() << "no exception from " << function;
    } catch (const CFileException& failure) {
        EXPECT_EQ(failure.GetFunction(), function);
        EXPECT_EQ(failure.GetFile(), "File");
        EXPECT_EQ(failure.GetError(), error);
        EXPECT_EQ(failure.GetMessage(), error ? std::strerror(error) : message);
        EXPECT_STREQ(failure.GetKind(), "CFileException");
    }
}

TEST(File, OpenFailuresCarryTheSystemsReasonAndThePath)
{
    rixtest::CTemporaryFolder folder;
    const std::string missing = folder / "missing.sonrix";
    ExpectFileFailure([&] { CFile file(Utf16(missing), CFile::modeRead); }, "rix::CFile::Open", ENOENT);
    ExpectFileFailure([&] { CFile file(Utf16(folder.Path().string()), CFile::modeRead); }, "rix::CFile::Open",
                      EISDIR);
    ExpectFileFailure([&] { CFile file(Utf16(folder / "no/such"), CFile::modeCreate); }, "rix::CFile::Open", ENOENT);
    try {
        CFile file(Utf16(missing), CFile::modeRead);
    } catch (const CFileException& failure) {
        EXPECT_EQ(failure.GetPath(), missing);
    }
}

TEST(File, WritesAndReadsWithExactPositions)
{
    rixtest::CTemporaryFolder folder;
    rixtest::WriteWholeFile(folder / "data", "old contents");
    CFile out(Utf16(folder / "data"), CFile::modeCreate);
    EXPECT_EQ(out.GetLength(), 0u) << "creating truncates";
    out.Write("0123456789", 10);
    EXPECT_EQ(out.Seek(2, CFile::begin), 2u);
    out.Write("AB", 2);
    EXPECT_EQ(out.GetPosition(), 4u);
    out.Flush();
    out.Close();
    EXPECT_EQ(out.GetHandle(), CFile::hFileNull);
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "data"), "01AB456789");

    // Small reads come from the read-ahead buffer, one crosses its end, one
    // is larger than it.
    std::string contents(200000, '\0');
    for (std::size_t i = 0; i < contents.size(); ++i)
        contents[i] = static_cast<char>(i * 7 + i / 251);
    rixtest::WriteWholeFile(folder / "big", contents);
    CFile in(Utf16(folder / "big"), CFile::modeRead);
    EXPECT_EQ(in.GetLength(), contents.size());
    std::string seen;
    char piece[70000];
    for (uint32_t size : {3u, 4u, 65533u, 70000u, 1u, 4u}) {
        ASSERT_EQ(in.Read(piece, size), size);
        seen.append(piece, size);
        ASSERT_EQ(in.GetPosition(), seen.size());
    }
    EXPECT_EQ(seen, contents.substr(0, seen.size()));
    EXPECT_EQ(in.Seek(-2, CFile::current), seen.size() - 2);
    ASSERT_EQ(in.Read(piece, 4), 4u);
    EXPECT_EQ(std::string(piece, 4), contents.substr(seen.size() - 2, 4));
    EXPECT_EQ(in.Seek(-5, CFile::end), contents.size() - 5);
    EXPECT_EQ(in.Read(piece, 10), 5u);
    EXPECT_EQ(in.Read(piece, 1), 0u);
    EXPECT_EQ(in.GetPosition(), contents.size());
}

TEST(File, FailuresOfClosedFilesAndOfTheSystemSurface)
{
    CFile closed;
    char byte = 0;
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"rix::CFile::Read", [&] { closed.Read(&byte, 1); }},
        {"rix::CFile::Write", [&] { closed.Write(&byte, 1); }},
        {"rix::CFile::Seek", [&] { closed.Seek(0, CFile::begin); }},
        {"rix::CFile::GetPosition", [&] { closed.GetPosition(); }},
        {"rix::CFile::GetLength", [&] { closed.GetLength(); }},
        {"rix::CFile::Flush", [&] { closed.Flush(); }},
    };
    for (const auto& [function, call] : calls)
        ExpectFileFailure(call, function, 0, "File is not open");
    closed.Close();
    closed.Abort();

    rixtest::CTemporaryFolder folder;
    rixtest::WriteWholeFile(folder / "read-only", "abc");
    CFile reading(Utf16(folder / "read-only"), CFile::modeRead);
    ExpectFileFailure([&] { reading.Write("x", 1); }, "rix::CFile::Write", EBADF);
    ExpectFileFailure([&] { reading.Seek(-1, CFile::begin); }, "rix::CFile::Seek", EINVAL);
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CFile full(Utf16("/dev/full"), CFile::modeCreate);
    ExpectFileFailure([&] { full.Write("x", 1); }, "rix::CFile::Write", ENOSPC);
}

} // namespace
