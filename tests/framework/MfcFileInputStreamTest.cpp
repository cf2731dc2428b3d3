#include <gtest/gtest.h>

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
using rix::CMfcFileInputStream;
using rix::IMfcFileInputStream;

constexpr const char* kSource = "MfcFileInputStream";

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

class MfcFileInputStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rix::RegisterArchiveStreamClasses();
        stream = nexilon::CreateInstance<IMfcFileInputStream>(CMfcFileInputStream::ClassId);
    }

    // A file with the given contents, open for reading.
    CFile& OpenWith(const std::string& contents)
    {
        rixtest::WriteWholeFile(folder / "input", contents);
        file.Open(nexilon::CString(std::string_view(folder / "input")), CFile::modeRead);
        return file;
    }

    rixtest::CTemporaryFolder folder;
    CFile file;
    CPtr<IMfcFileInputStream> stream;
};

TEST_F(MfcFileInputStreamTest, IsAFrameworkClassAnsweringItsInterfaces)
{
    const nexilon::CClassStore& store = nexilon::q.GetClassStore();
    EXPECT_EQ(store.GetClassName(CMfcFileInputStream::ClassId), nexilon::CString("rix::CMfcFileInputStream"));
    EXPECT_EQ(stream->GetClassId(), CMfcFileInputStream::ClassId);
    const nexilon::CId answered[] = {IMfcFileInputStream::Iid, nexilon::IInputStream::Iid, nexilon::IStream::Iid,
                                     nexilon::IObject::Iid};
    for (const nexilon::CId& id : answered) {
        nexilon::IObject* answer = stream->QueryInterface(id);
        ASSERT_NE(answer, nullptr);
        EXPECT_EQ(answer->Release(), 1u);
    }
    EXPECT_EQ(stream->QueryInterface(nexilon::IOutputStream::Iid), nullptr);
    EXPECT_EQ(stream->QueryInterface(rix::IMfcFileOutputStream::Iid), nullptr);

    const int living = nexilon::q.GetObjectCounter().GetLiveCount(CMfcFileInputStream::ClassId);
    stream.Reset();
    EXPECT_EQ(nexilon::q.GetObjectCounter().GetLiveCount(CMfcFileInputStream::ClassId), living - 1);
}

TEST_F(MfcFileInputStreamTest, PositioningNeedsAConnection)
{
    auto check = [&] {
        EXPECT_TRUE(stream->IsEof());
        EXPECT_EQ(stream->GetCapabilities(), 0);
        EXPECT_EQ(stream->GetFile(), nullptr);
        using NotSupported = nexilon::COperationNotSupportedException;
        ExpectFailure<NotSupported>([&] { stream->GetLength(); }, "rix::CMfcFileInputStream::GetLength",
                                    "Not connected");
        ExpectFailure<NotSupported>([&] { stream->Flush(); }, "rix::CMfcFileInputStream::Flush", "Not connected");
        ExpectFailure<NotSupported>([&] { stream->Seek(0); }, "rix::CMfcFileInputStream::Seek", "Not connected");
        ExpectFailure<NotSupported>([&] { stream->Tell(); }, "rix::CMfcFileInputStream::Tell", "Not connected");
        char byte;
        ExpectFailure<NotSupported>([&] { stream->Read(&byte, 1); }, "rix::CMfcFileInputStream::Read",
                                    "Not connected");
        ExpectFailure<nexilon::CIOException>([&] { stream->Skip(1); }, "rix::CMfcFileInputStream::Skip",
                                             "Not connected");
        stream->Close();
    };
    check();
    stream->Connect(&OpenWith("abc"));
    stream->Disconnect();
    check();
}

TEST_F(MfcFileInputStreamTest, ConnectFailuresLeaveItDisconnected)
{
    CFile& input = OpenWith("abc");
    CArchive storing(&input, CArchive::store);
    stream->Connect(&input);
    ExpectFailure<nexilon::CIOException>([&] { stream->Connect(&storing); }, "rix::CMfcFileInputStream::Connect",
                                         "Archive is not in loading state");
    EXPECT_EQ(stream->GetFile(), nullptr);

    CFile closed;
    stream->Connect(&input);
    ExpectFailure<nexilon::CIOException>([&] { stream->Connect(&closed); }, "rix::CMfcFileInputStream::Connect",
                                         "Handle is NULL");
    EXPECT_EQ(stream->GetFile(), nullptr);
    EXPECT_TRUE(stream->IsEof());

    stream->Connect(&input);
    stream->Connect(static_cast<CArchive*>(nullptr));
    EXPECT_EQ(stream->GetFile(), nullptr);
    stream->Connect(&input);
    stream->Connect(static_cast<CFile*>(nullptr));
    EXPECT_EQ(stream->GetFile(), nullptr);
}

TEST_F(MfcFileInputStreamTest, ConnectingStartsAtTheBeginning)
{
    CFile& input = OpenWith("abcdef");
    input.Seek(4, CFile::begin);
    CArchive loading(&input, CArchive::load);
    stream->Connect(&loading);
    EXPECT_EQ(stream->GetFile(), &input);
    EXPECT_EQ(stream->GetCapabilities(), 15);
    EXPECT_EQ(stream->Tell(), 0u);
    EXPECT_EQ(stream->GetLength(), 6u);
    EXPECT_FALSE(stream->IsEof());
}

TEST_F(MfcFileInputStreamTest, EmptyFileIsAtTheEndAtOnce)
{
    stream->Connect(&OpenWith(""));
    EXPECT_TRUE(stream->IsEof());
}

TEST_F(MfcFileInputStreamTest, EndOfFileFollowsTheReads)
{
    stream->Connect(&OpenWith("abcdef"));
    char buffer[16] = {};
    EXPECT_EQ(stream->Read(buffer, 4), 4u);
    EXPECT_FALSE(stream->IsEof());
    EXPECT_EQ(stream->Read(buffer, 2), 2u) << "exactly the rest";
    EXPECT_FALSE(stream->IsEof());
    EXPECT_EQ(stream->Read(buffer, 1), 0u);
    EXPECT_TRUE(stream->IsEof());

    stream->Seek(3);
    EXPECT_TRUE(stream->IsEof()) << "a seek back leaves the end flag to the next read";
    EXPECT_EQ(stream->Read(buffer, 2), 2u);
    EXPECT_FALSE(stream->IsEof());
    EXPECT_EQ(std::string(buffer, 2), "de");
    EXPECT_EQ(stream->Read(buffer, 10), 1u) << "more than remains";
    EXPECT_TRUE(stream->IsEof());

    stream->Seek(6);
    EXPECT_TRUE(stream->IsEof());
    stream->Seek(0);
    // Only the low 32 bits of a size reach the file.
    EXPECT_EQ(stream->Read(buffer, (uint64_t{1} << 32) + 3), 3u);
    EXPECT_TRUE(stream->IsEof());
    EXPECT_EQ(stream->Tell(), 3u);
}

TEST_F(MfcFileInputStreamTest, FixedAnswers)
{
    using NotSupported = nexilon::COperationNotSupportedException;
    stream->Connect(&OpenWith("abc"));
    ExpectFailure<nexilon::CNullPtrException>([&] { stream->Read(nullptr, 1); }, "rix::CMfcFileInputStream::Read",
                                              "buffer is NULL");
    ExpectFailure<NotSupported>([&] { stream->Read(static_cast<nexilon::IMediaSample*>(nullptr)); },
                                "rix::CMfcFileInputStream::Read", "Media samples are not supported");
    const nexilon::TStreamFormat* format = stream->GetFormat();
    EXPECT_TRUE(format->formatId.IsNull());
    EXPECT_EQ(format->size, 20u);
    EXPECT_EQ(CPtr<IMfcFileInputStream>::Adopt(new CMfcFileInputStream())->GetFormat(), format);
    EXPECT_FALSE(stream->IsFeatureSupported(0));
    stream->Skip(2);
    EXPECT_EQ(stream->Tell(), 0u) << "Skip does not move";
    stream->Flush();
}

TEST_F(MfcFileInputStreamTest, CloseClosesTheFileButDestructionDoesNot)
{
    CFile& input = OpenWith("abc");
    stream->Connect(&input);
    stream->Close();
    EXPECT_FALSE(input.IsOpen());
    EXPECT_EQ(stream->GetFile(), &input);

    CFile& reopened = OpenWith("abc");
    stream->Connect(&reopened);
    stream.Reset();
    EXPECT_TRUE(reopened.IsOpen());
}

} // namespace
