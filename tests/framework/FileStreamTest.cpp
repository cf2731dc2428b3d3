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

nexilon::CString Utf16(const std::string& path)
{
    return nexilon::CString(std::string_view(path));
}

// The system's reason for error, or the file object's own message.
void ExpectFileFailure(const std::function<void()>& action, const std::string& function, int error,
                       const std::string& message = "")
{
    rixtest::ExpectFailure<CFileException>(action, function, "File", error ? std::strerror(error) : message);
}

// The adapters name their class, without "rix::C", as the source file.
template <class TException>
void Expect(const std::function<void()>& action, const std::string& function, const std::string& message)
{
    rixtest::ExpectFailure<TException>(action, function, function.substr(6, function.find("::", 6) - 6), message);
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

TEST(File, FailuresOfOpeningClosedFilesAndTheSystemSurface)
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
    const std::string missing = folder / "missing.sonrix";
    ExpectFileFailure([&] { CFile file(Utf16(missing), CFile::modeRead); }, "rix::CFile::Open", ENOENT);
    ExpectFileFailure([&] { CFile file(Utf16(folder / "no/such"), CFile::modeCreate); }, "rix::CFile::Open", ENOENT);
    try {
        CFile file(Utf16(missing), CFile::modeRead);
    } catch (const CFileException& failure) {
        EXPECT_EQ(failure.GetPath(), missing);
    }
    rixtest::WriteWholeFile(folder / "read-only", "abc");
    CFile reading(Utf16(folder / "read-only"), CFile::modeRead);
    ExpectFileFailure([&] { reading.Write("x", 1); }, "rix::CFile::Write", EBADF);
    ExpectFileFailure([&] { reading.Seek(-1, CFile::begin); }, "rix::CFile::Seek", EINVAL);
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CFile full(Utf16("/dev/full"), CFile::modeCreate);
    ExpectFileFailure([&] { full.Write("x", 1); }, "rix::CFile::Write", ENOSPC);
}

class MfcFileStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rix::RegisterArchiveStreamClasses();
        input = nexilon::CreateInstance<rix::IMfcFileInputStream>(CMfcFileInputStream::ClassId);
        output = nexilon::CreateInstance<rix::IMfcFileOutputStream>(CMfcFileOutputStream::ClassId);
    }

    CFile& Open(const std::string& contents, CFile::TOpenMode mode = CFile::modeRead)
    {
        if (mode == CFile::modeRead)
            rixtest::WriteWholeFile(folder / "file", contents);
        file.Open(Utf16(folder / "file"), mode);
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
            {"rix::CMfcFileOutputStream::Write", [&] { output->Write("x", 1); }},
        };
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

TEST_F(MfcFileStreamTest, ConnectingChecksTheArchiveAndTheFile)
{
    const nexilon::CClassStore& store = nexilon::q.GetClassStore();
    EXPECT_EQ(store.GetClassName(CMfcFileInputStream::ClassId), nexilon::CString("rix::CMfcFileInputStream"));
    EXPECT_EQ(store.GetClassName(CMfcFileOutputStream::ClassId), nexilon::CString("rix::CMfcFileOutputStream"));
    EXPECT_FALSE(nexilon::Query<nexilon::IOutputStream>(input.Get()).Get());
    EXPECT_FALSE(nexilon::Query<nexilon::IInputStream>(output.Get()).Get());

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
    output->Disconnect();
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
    input->Connect(static_cast<CArchive*>(nullptr));
    output->Connect(static_cast<CFile*>(nullptr));
    ExpectDisconnected();
}

TEST_F(MfcFileStreamTest, InputStartsAtTheBeginningAndTracksTheEnd)
{
    input->Connect(&Open(""));
    EXPECT_TRUE(input->IsEof()) << "an empty file is at the end at once";
    Open("abcdef").Seek(4, CFile::begin);
    CArchive loading(&file, CArchive::load);
    input->Connect(&loading);
    EXPECT_EQ(input->GetFile(), &file);
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

TEST_F(MfcFileStreamTest, OutputWritesAtTheFilesPosition)
{
    Open("", CFile::modeCreate).Write("header", 6);
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
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "file"), "Header-body");
    EXPECT_THROW(output->Write("x", 1), rix::CFileException) << "the file's own failures pass through";
}

TEST_F(MfcFileStreamTest, FixedAnswersCloseAndPassedFailures)
{
    input->Connect(&Open("abc"));
    output->Connect(&file);
    Expect<nexilon::CNullPtrException>([&] { input->Read(nullptr, 1); }, "rix::CMfcFileInputStream::Read",
                                       "buffer is NULL");
    Expect<nexilon::CNullPtrException>([&] { output->Write(nullptr, 1); }, "rix::CMfcFileOutputStream::Write",
                                       "buffer is NULL");
    Expect<NotSupported>([&] { input->Read(static_cast<nexilon::IMediaSample*>(nullptr)); },
                         "rix::CMfcFileInputStream::Read", "Media samples are not supported");
    Expect<NotSupported>([&] { output->GetLength(); }, "rix::CMfcFileOutputStream::GetLength",
                         "GetLength not supported");
    input->Skip(2);
    EXPECT_EQ(input->Tell(), 0u) << "Skip does not move";
    input->Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(input->GetFile(), &file);

    input->Connect(&Open("abc"));
    output->Connect(&file);
    input.Reset();
    output.Reset();
    EXPECT_TRUE(file.IsOpen()) << "destruction does not close the file";
}

} // namespace
