#include <gtest/gtest.h>

#include <filesystem>

#include "Archive.h"
#include "MfcFileInputStream.h"
#include "MfcFileOutputStream.h"
#include "ModuleArchive.h"
#include "TemporaryFolder.h"
#include "nexilon/Nexilon.h"
#include "nexilon/Ptr.h"

namespace {

using nexilon::CPtr;
using rix::CArchive;
using rix::CFile;
using rix::CMfcFileOutputStream;
using rix::IMfcFileOutputStream;

constexpr const char* kSource = "MfcFileOutputStream";

template <class TException, class TAction>
void ExpectFailure(TAction&& action, const std::string& function, const std::string& message)
{
    try {
        action();
        ADD_FAILURE() << "no exception from " << function;
    } catch (const TException& error) {
        EXPECT_EQ(error.GetFunction(), function);
        EXPECT_EQ(error.GetFile(), kSource);
        EXPECT_EQ(error.GetMessage(), message);
    }
}

class MfcFileOutputStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rix::RegisterArchiveStreamClasses();
        stream = nexilon::CreateInstance<IMfcFileOutputStream>(CMfcFileOutputStream::ClassId);
        file.Open(nexilon::CString(std::string_view(folder / "output")), CFile::modeCreate);
    }

    std::string Written()
    {
        file.Close();
        return rixtest::ReadWholeFile(folder / "output");
    }

    rixtest::CTemporaryFolder folder;
    CFile file;
    CPtr<IMfcFileOutputStream> stream;
};

TEST_F(MfcFileOutputStreamTest, IsAFrameworkClassAnsweringItsInterfaces)
{
    EXPECT_EQ(nexilon::q.GetClassStore().GetClassName(CMfcFileOutputStream::ClassId),
              nexilon::CString("rix::CMfcFileOutputStream"));
    EXPECT_EQ(stream->GetClassId(), CMfcFileOutputStream::ClassId);
    const nexilon::CId answered[] = {IMfcFileOutputStream::Iid, nexilon::IOutputStream::Iid, nexilon::IStream::Iid,
                                     nexilon::IObject::Iid};
    for (const nexilon::CId& id : answered) {
        nexilon::IObject* answer = stream->QueryInterface(id);
        ASSERT_NE(answer, nullptr);
        EXPECT_EQ(answer->Release(), 1u);
    }
    EXPECT_EQ(stream->QueryInterface(nexilon::IInputStream::Iid), nullptr);
    EXPECT_EQ(stream->QueryInterface(rix::IMfcFileInputStream::Iid), nullptr);
}

TEST_F(MfcFileOutputStreamTest, PositioningNeedsAConnection)
{
    using NotSupported = nexilon::COperationNotSupportedException;
    auto check = [&] {
        EXPECT_EQ(stream->GetCapabilities(), 0);
        EXPECT_EQ(stream->GetFile(), nullptr);
        ExpectFailure<NotSupported>([&] { stream->Flush(); }, "rix::CMfcFileOutputStream::Flush", "Not connected");
        ExpectFailure<NotSupported>([&] { stream->Seek(0); }, "rix::CMfcFileOutputStream::Seek", "Not connected");
        ExpectFailure<NotSupported>([&] { stream->Tell(); }, "rix::CMfcFileOutputStream::Tell", "Not connected");
        ExpectFailure<NotSupported>([&] { stream->Write("x", 1); }, "rix::CMfcFileOutputStream::Write",
                                    "Not connected");
        stream->Close();
    };
    check();
    stream->Connect(&file);
    stream->Disconnect();
    check();
}

TEST_F(MfcFileOutputStreamTest, ConnectFailuresLeaveItDisconnected)
{
    CArchive loading(&file, CArchive::load);
    stream->Connect(&file);
    ExpectFailure<nexilon::CIOException>([&] { stream->Connect(&loading); }, "rix::CMfcFileOutputStream::Connect",
                                         "Archive is not in storing state");
    EXPECT_EQ(stream->GetFile(), nullptr);

    CFile closed;
    stream->Connect(&file);
    ExpectFailure<nexilon::CIOException>([&] { stream->Connect(&closed); }, "rix::CMfcFileOutputStream::Connect",
                                         "Handle is NULL");
    EXPECT_EQ(stream->GetFile(), nullptr);

    stream->Connect(&file);
    stream->Connect(static_cast<CArchive*>(nullptr));
    EXPECT_EQ(stream->GetFile(), nullptr);
}

TEST_F(MfcFileOutputStreamTest, WritesAtTheFilesPosition)
{
    file.Write("header", 6);
    CArchive storing(&file, CArchive::store);
    stream->Connect(&storing);
    EXPECT_EQ(stream->GetCapabilities(), 11);
    EXPECT_EQ(stream->Tell(), 6u) << "connecting does not move the file";
    stream->Write("-body", 5);
    stream->Seek(0);
    stream->Write("H", 1);
    stream->SetHint(7);
    stream->Flush();
    EXPECT_EQ(stream->Tell(), 1u);
    EXPECT_EQ(Written(), "Header-body");
}

TEST_F(MfcFileOutputStreamTest, FixedAnswersAndPassedFailures)
{
    stream->Connect(&file);
    ExpectFailure<nexilon::COperationNotSupportedException>(
        [&] { stream->GetLength(); }, "rix::CMfcFileOutputStream::GetLength", "GetLength not supported");
    ExpectFailure<nexilon::CNullPtrException>([&] { stream->Write(nullptr, 1); }, "rix::CMfcFileOutputStream::Write",
                                              "buffer is NULL");
    stream->Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(stream->GetFile(), &file);
    EXPECT_THROW(stream->Write("x", 1), rix::CFileException) << "the file's own failures pass through";

    if (std::filesystem::exists("/dev/full")) {
        CFile full(nexilon::CString("/dev/full"), CFile::modeCreate);
        stream->Connect(&full);
        EXPECT_THROW(stream->Write("x", 1), rix::CFileException);
        stream.Reset();
        EXPECT_TRUE(full.IsOpen()) << "destruction does not close the file";
    }
}

} // namespace
