#include <gtest/gtest.h>

#include <functional>

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
using rix::CMfcFileInputStream;
using rix::CMfcFileOutputStream;
using NotSupported = nexilon::COperationNotSupportedException;

// The adapters name their class, without "rix::C", as the source file.
template <class TException>
void Expect(const std::function<void()>& action, const std::string& function, const std::string& message)
{
    rixtest::ExpectFailure<TException>(action, function, function.substr(6, function.find("::", 6) - 6), message);
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
    output->SetHint(7);
    output->Flush();
    EXPECT_EQ(output->Tell(), 1u);
    file.Close();
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "file"), "Header-body");
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
    EXPECT_EQ(input->GetFormat()->size, 20u);
    input->Skip(2);
    EXPECT_EQ(input->Tell(), 0u) << "Skip does not move";
    EXPECT_THROW(output->Write("x", 1), rix::CFileException) << "the file's own failures pass through";
    input->Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(input->GetFile(), &file);

    input->Connect(&Open("abc"));
    output->Connect(&file);
    input.Reset();
    output.Reset();
    EXPECT_TRUE(file.IsOpen()) << "destruction does not close the file";
}

TEST_F(MfcFileStreamTest, ModulesThroughArchivesReleaseTheirStreams)
{
    const auto living = [] {
        const nexilon::CObjectCounter& counter = nexilon::q.GetObjectCounter();
        return counter.GetLiveCount(CMfcFileInputStream::ClassId) +
               counter.GetLiveCount(CMfcFileOutputStream::ClassId);
    };
    input.Reset();
    output.Reset();
    const rix::CRixModuleData original = rixtest::MakeFeatureModule();
    CArchive storing(&Open("", CFile::modeCreate), CArchive::store);
    rix::SaveModule(original, &storing);
    file.Close();
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "file"), rixtest::SaveBytes(original));

    CArchive loading(&Open(rixtest::SaveBytes(original) + "tail"), CArchive::load);
    file.Seek(100, CFile::begin);
    rix::CRixModuleData loaded;
    rix::LoadModule(loaded, &loading);
    EXPECT_EQ(loaded, original);
    EXPECT_EQ(living(), 0);

    CArchive reading(&Open(rixtest::CFileBytes(u"Sonrix v3.0").Bytes()), CArchive::load);
    rixtest::ExpectFailure<nexilon::CDataFormatException>([&] { rix::LoadModule(loaded, &reading); },
                                                          "rix::CRixModuleData::Load", "RixModuleLoader",
                                                          "Invalid file format");
    EXPECT_THROW(rix::SaveModule(loaded, &storing), rix::CFileException) << "open for reading";
    EXPECT_EQ(living(), 0);
}

} // namespace
