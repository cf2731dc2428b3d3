#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "Archive.h"
#include "File.h"
#include "MfcFileInputStream.h"
#include "MfcFileOutputStream.h"
#include "ModuleArchive.h"
#include "RixFileTestData.h"
#include "TemporaryFolder.h"
#include "nexilon/Nexilon.h"

// CFile and the framework streams over it.
namespace {

using rix::CArchive;
using rix::CFile;
using rix::CFileException;
using rix::CMfcFileInputStream;
using rix::CMfcFileOutputStream;
using NotSupported = nexilon::COperationNotSupportedException;

// The source file named by an exception is the class name without "rix::C".
template <class TException>
void Expect(const std::function<void()>& action, const std::string& function, const std::string& message)
{
    rixtest::ExpectFailure<TException>(action, function, function.substr(6, function.find("::", 6) - 6), message);
}

class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rix::RegisterArchiveStreamClasses();
        input = nexilon::CreateInstance<rix::IMfcFileInputStream>(CMfcFileInputStream::ClassId);
        output = nexilon::CreateInstance<rix::IMfcFileOutputStream>(CMfcFileOutputStream::ClassId);
    }

    // The test's file, holding contents before it is opened.
    CFile& Open(const std::string& contents, CFile::TOpenMode mode = CFile::modeRead)
    {
        rixtest::WriteWholeFile(folder / "file", contents);
        file.Open(nexilon::CString(std::string_view(folder / "file")), mode);
        return file;
    }

    void ExpectDisconnected()
    {
        EXPECT_TRUE(input->IsEof());
        EXPECT_EQ(input->GetCapabilities(), 0);
        EXPECT_EQ(output->GetCapabilities(), 0);
        EXPECT_EQ(input->GetFile(), nullptr);
        EXPECT_EQ(output->GetFile(), nullptr);
        char byte;
        const std::pair<const char*, std::function<void()>> calls[] = {
            {"rix::CMfcFileInputStream::GetLength", [&] { input->GetLength(); }},
            {"rix::CMfcFileInputStream::Flush", [&] { input->Flush(); }},
            {"rix::CMfcFileInputStream::Seek", [&] { input->Seek(0); }},
            {"rix::CMfcFileInputStream::Tell", [&] { input->Tell(); }},
            {"rix::CMfcFileInputStream::Read", [&] { input->Read(&byte, 1); }},
            {"rix::CMfcFileOutputStream::Flush", [&] { output->Flush(); }},
            {"rix::CMfcFileOutputStream::Seek", [&] { output->Seek(0); }},
            {"rix::CMfcFileOutputStream::Tell", [&] { output->Tell(); }},
            {"rix::CMfcFileOutputStream::Write", [&] { output->Write("x", 1); }}};
        for (const auto& [function, call] : calls)
            Expect<NotSupported>(call, function, "Not connected");
        Expect<nexilon::CIOException>([&] { input->Skip(1); }, "rix::CMfcFileInputStream::Skip", "Not connected");
        input->Close();
        output->Close();
    }

    rixtest::CTemporaryFolder folder;
    CFile file;
    nexilon::CPtr<rix::IMfcFileInputStream> input;
    nexilon::CPtr<rix::IMfcFileOutputStream> output;
};

TEST_F(FileStreamTest, FileReadsThroughItsReadAheadWithExactPositions)
{
    // Small reads come from the read-ahead buffer, one crosses its end, one
    // is larger than it.
    std::string contents(200000, '\0');
    for (std::size_t i = 0; i < contents.size(); ++i)
        contents[i] = static_cast<char>(i * 7 + i / 251);
    Open(contents);
    EXPECT_EQ(file.GetLength(), contents.size());
    std::string seen;
    char piece[70000];
    for (uint32_t size : {3u, 4u, 65533u, 70000u, 1u, 4u}) {
        ASSERT_EQ(file.Read(piece, size), size);
        seen.append(piece, size);
        ASSERT_EQ(file.GetPosition(), seen.size());
    }
    EXPECT_EQ(seen, contents.substr(0, seen.size()));
    EXPECT_EQ(file.Seek(-2, CFile::current), seen.size() - 2);
    ASSERT_EQ(file.Read(piece, 4), 4u);
    EXPECT_EQ(std::string(piece, 4), contents.substr(seen.size() - 2, 4));
    EXPECT_EQ(file.Seek(-5, CFile::end), contents.size() - 5);
    EXPECT_EQ(file.Read(piece, 10), 5u);
    EXPECT_EQ(file.Read(piece, 1), 0u);
    EXPECT_EQ(file.GetPosition(), contents.size());
}

TEST_F(FileStreamTest, FileFailuresSurfaceWithTheSystemsReason)
{
    char byte = 0;
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"rix::CFile::Read", [&] { file.Read(&byte, 1); }},
        {"rix::CFile::Write", [&] { file.Write(&byte, 1); }},
        {"rix::CFile::Seek", [&] { file.Seek(0, CFile::begin); }},
        {"rix::CFile::GetPosition", [&] { file.GetPosition(); }},
        {"rix::CFile::GetLength", [&] { file.GetLength(); }},
        {"rix::CFile::Flush", [&] { file.Flush(); }}};
    for (const auto& [function, call] : calls)
        Expect<CFileException>(call, function, "File is not open");
    file.Close();
    file.Abort();

    const nexilon::CString none(std::string_view(folder / "none"));
    const nexilon::CString noFolder(std::string_view(folder / "no/such"));
    Expect<CFileException>([&] { CFile(none, CFile::modeRead); }, "rix::CFile::Open", std::strerror(ENOENT));
    Expect<CFileException>([&] { CFile(noFolder, CFile::modeCreate); }, "rix::CFile::Open", std::strerror(ENOENT));
    Open("abc");
    Expect<CFileException>([&] { file.Write("x", 1); }, "rix::CFile::Write", std::strerror(EBADF));
    Expect<CFileException>([&] { file.Seek(-1, CFile::begin); }, "rix::CFile::Seek", std::strerror(EINVAL));
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CFile full(nexilon::CString("/dev/full"), CFile::modeCreate);
    Expect<CFileException>([&] { full.Write("x", 1); }, "rix::CFile::Write", std::strerror(ENOSPC));
}

TEST_F(FileStreamTest, ConnectingChecksTheArchiveAndTheFile)
{
    ExpectDisconnected();
    CFile closed;
    CArchive loading(&Open("abc"), CArchive::load);
    CArchive storing(&file, CArchive::store);
    const auto connect = [&] {
        input->Connect(&file);
        output->Connect(&file);
    };
    connect();
    input->Disconnect();
    output->Connect(static_cast<CArchive*>(nullptr));
    ExpectDisconnected();
    connect();
    Expect<nexilon::CIOException>([&] { input->Connect(&storing); }, "rix::CMfcFileInputStream::Connect",
                                  "Archive is not in loading state");
    Expect<nexilon::CIOException>([&] { output->Connect(&loading); }, "rix::CMfcFileOutputStream::Connect",
                                  "Archive is not in storing state");
    ExpectDisconnected();
    connect();
    Expect<nexilon::CIOException>([&] { input->Connect(&closed); }, "rix::CMfcFileInputStream::Connect",
                                  "Handle is NULL");
    Expect<nexilon::CIOException>([&] { output->Connect(&closed); }, "rix::CMfcFileOutputStream::Connect",
                                  "Handle is NULL");
    ExpectDisconnected();
    connect();
    input->Connect(static_cast<CFile*>(nullptr));
    output->Disconnect();
    ExpectDisconnected();
}

TEST_F(FileStreamTest, InputStartsAtTheBeginningAndTracksTheEnd)
{
    input->Connect(&Open(""));
    EXPECT_TRUE(input->IsEof()) << "an empty file is at the end at once";
    Open("abcdef").Seek(4, CFile::begin);
    CArchive loading(&file, CArchive::load);
    input->Connect(&loading);
    EXPECT_EQ(input->GetCapabilities(), 15);
    EXPECT_EQ(input->Tell(), 0u);
    EXPECT_EQ(input->GetLength(), 6u);
    EXPECT_FALSE(input->IsEof());

    char buffer[16] = {};
    EXPECT_EQ(input->Read(buffer, 4), 4u);
    EXPECT_EQ(input->Read(buffer, 2), 2u);
    EXPECT_FALSE(input->IsEof()) << "exactly the rest";
    EXPECT_EQ(input->Read(buffer, 1), 0u);
    EXPECT_TRUE(input->IsEof());
    input->Seek(3);
    EXPECT_TRUE(input->IsEof()) << "a seek back leaves the end flag to the next read";
    EXPECT_EQ(input->Read(buffer, 2), 2u);
    EXPECT_FALSE(input->IsEof());
    EXPECT_EQ(std::string(buffer, 2), "de");
    EXPECT_EQ(input->Read(buffer, 10), 1u) << "more than remains";
    EXPECT_TRUE(input->IsEof());
    input->Seek(6);
    EXPECT_TRUE(input->IsEof());
    input->Seek(0);
    // Only the low 32 bits of a size reach the file.
    EXPECT_EQ(input->Read(buffer, (uint64_t{1} << 32) + 3), 3u);
    EXPECT_TRUE(input->IsEof());
    EXPECT_EQ(input->Tell(), 3u);
}

TEST_F(FileStreamTest, OutputWritesAtTheFilesPosition)
{
    Open("old contents, longer than the new", CFile::modeCreate).Write("header", 6);
    CArchive storing(&file, CArchive::store);
    output->Connect(&storing);
    EXPECT_EQ(output->GetCapabilities(), 11);
    EXPECT_EQ(output->Tell(), 6u) << "connecting does not move the file";
    output->Write("-body", 5);
    output->Seek(0);
    output->Write("H", 1);
    output->Flush();
    EXPECT_EQ(output->Tell(), 1u);
    output->Close();
    EXPECT_EQ(file.GetHandle(), CFile::hFileNull);
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "file"), "Header-body");
    EXPECT_THROW(output->Write("x", 1), CFileException) << "the file's own failures pass through";
}

TEST_F(FileStreamTest, FixedAnswersCloseAndDestruction)
{
    input->Connect(&Open("abc"));
    output->Connect(&file);
    Expect<nexilon::CNullPtrException>([&] { input->Read(nullptr, 1); }, "rix::CMfcFileInputStream::Read",
                                       "buffer is NULL");
    Expect<nexilon::CNullPtrException>([&] { output->Write(nullptr, 1); }, "rix::CMfcFileOutputStream::Write",
                                       "buffer is NULL");
    input->Skip(2);
    EXPECT_EQ(input->Tell(), 0u) << "Skip does not move";
    input->Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(input->GetFile(), &file);

    input->Connect(&Open("abc"));
    input.Reset();
    EXPECT_TRUE(file.IsOpen()) << "destruction does not close the file";
}

} // namespace
