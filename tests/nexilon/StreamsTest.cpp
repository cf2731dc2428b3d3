#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "nexilon/Exceptions.h"
#include "nexilon/FileOutputStream.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/Nexilon.h"
#include "nexilon/OutputStreamSelector.h"
#include "nexilon/String.h"
#include "nexilon/TextWriter.h"

using namespace nexilon;
namespace fs = std::filesystem;

namespace {

class Streams : public ::testing::Test {
protected:
    void SetUp() override
    {
        q.Init();
        folder = fs::temp_directory_path() / ("nexilon-streams-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        fs::remove_all(folder);
        q.Close();
    }
    std::string Slurp(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path folder;
};

} // namespace

TEST_F(Streams, FileOutputObjectCreatesTruncatesAndAppends)
{
    const fs::path path = folder / "out.bin";
    {
        std::ofstream old(path);
        old << "old content that must go";
    }
    auto file = CreateInstance<IFileOutputStream>(IFileOutputStream::ClassId);
    EXPECT_EQ(file->GetCapabilities(), 0);
    file->Open(CString(path.string()), 0);
    EXPECT_EQ(file->GetCapabilities(), 11);
    file->Write("abc", 3);
    file->Write("de", 2);
    EXPECT_EQ(file->Tell(), 5u);
    file->Close();
    EXPECT_EQ(Slurp(path), "abcde");
}

TEST_F(Streams, FileFailuresThrowInputOutputExceptions)
{
    auto file = CreateInstance<IFileOutputStream>(IFileOutputStream::ClassId);
    EXPECT_THROW(file->Open(CString((folder / "missing" / "x.bin").string()), 0), CIOException);
    EXPECT_THROW(file->Write("x", 1), CIOException);
    EXPECT_THROW(CInputStreamSelector(CString((folder / "none.sonrix").string())), CIOException);
    EXPECT_THROW(CInputStreamSelector(CString(folder.string())), CIOException);
    EXPECT_THROW(COutputStreamSelector(CString((folder / "missing" / "y").string())), CIOException);
}

TEST_F(Streams, FullDiskIsReportedWhenTheFileIsClosed)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    COutputStreamSelector selector(CString("/dev/full"));
    IOutputStream* stream = selector.GetOutputStreamTmp();
    stream->Write("data", 4);
    EXPECT_THROW(stream->Close(), CIOException);
}

TEST_F(Streams, SelectorsFromPathsAndObjects)
{
    const fs::path path = folder / "roundtrip.txt";
    {
        COutputStreamSelector out{CString(path.string())};
        out.GetOutputStreamTmp()->Write("hello", 5);
    }
    CInputStreamSelector in{CString(path.string())};
    IInputStream* stream = in.GetInputStreamTmp();
    EXPECT_EQ(stream->GetLength(), 5u);
    char buffer[8] = {};
    EXPECT_EQ(stream->Read(buffer, 8), 5u);
    EXPECT_TRUE(stream->IsEof());
    EXPECT_EQ(std::string(buffer), "hello");

    auto memory = CreateMemoryOutputStream();
    COutputStreamSelector fromObject(memory.Get());
    EXPECT_EQ(fromObject.GetOutputStreamTmp(), memory.Get());
}

TEST_F(Streams, SelectorsRejectNullAndWrongObjects)
{
    const auto refusal = [](IObject* object) {
        try {
            CInputStreamSelector selector(object);
        } catch (const CException& error) {
            return std::string(error.GetKind()) + ": " + error.GetMessage();
        }
        return std::string("accepted");
    };
    auto output = CreateMemoryOutputStream();
    EXPECT_EQ(refusal(nullptr), "CNullPtrException: Given smart pointer is NULL");
    EXPECT_EQ(refusal(output.Get()),
              "CInvalidParameterException: Failed to create an input stream from a smart pointer");
    auto input = CreateMemoryInputStream("x");
    EXPECT_THROW(COutputStreamSelector selector(input.Get()), CException);
    EXPECT_THROW(COutputStreamSelector selector(static_cast<IObject*>(nullptr)), CNullPtrException);
}

TEST(TextWriter, FormatsAndKeepsCallOrderAcrossWriters)
{
    auto out = CreateMemoryOutputStream();
    CTextWriter header(*out, CHARFORMAT_UTF8, LINEBREAK_LF);
    header.Write("#define LEN 0x%X\n", 255);
    {
        CTextWriter table(*out, CHARFORMAT_UTF8, LINEBREAK_LF);
        table.Write("{ %d, %s }, \n", -1, "true");
        table.Close();
        EXPECT_THROW(table.Write("late"), COperationNotSupportedException);
    }
    header.WriteText(CString(u"\u00E9\n"));
    EXPECT_EQ(out->GetBytes(), "#define LEN 0xFF\n{ -1, true }, \n\xC3\xA9\n");

    auto crlf = CreateMemoryOutputStream();
    CTextWriter windows(*crlf, CHARFORMAT_UTF16LE, LINEBREAK_CRLF);
    windows.Write("a\n");
    EXPECT_EQ(crlf->GetBytes(), std::string("a\0\r\0\n\0", 6));
}

TEST(String, ConvertsBetweenUtf8AndUtf16)
{
    const CString text("Gr\xC3\xBC\xC3\x9F \xF0\x9F\x8E\xB5");
    EXPECT_EQ(text.Length(), 7u); // the note symbol is a surrogate pair
    EXPECT_EQ(text.ToUtf8(), "Gr\xC3\xBC\xC3\x9F \xF0\x9F\x8E\xB5");
    EXPECT_TRUE(CString("\xFF" "a") == u"\uFFFDa");
    EXPECT_TRUE(CString(u"\xD800").ToUtf8() == "\xEF\xBF\xBD");
    EXPECT_TRUE(CString::FromLatin1("\xE9") == u"\u00E9");
}
