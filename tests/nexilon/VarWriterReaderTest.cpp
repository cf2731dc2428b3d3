#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "nexilon/Exceptions.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/VarReader.h"
#include "nexilon/VarWriter.h"

using namespace nexilon;

namespace {

template <class T>
std::string BytesOf(const T& value)
{
    auto out = CreateMemoryOutputStream();
    CVarWriter writer(*out);
    writer << value;
    return out->GetBytes();
}

std::string Hex(const std::string& bytes)
{
    std::string text;
    char piece[4];
    for (unsigned char byte : bytes) {
        std::snprintf(piece, sizeof piece, "%02X ", byte);
        text += piece;
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

std::string Utf16Le(const char* ascii)
{
    std::string bytes;
    for (const char* c = ascii; *c; ++c) {
        bytes += *c;
        bytes += '\0';
    }
    return bytes;
}

} // namespace

TEST(VarWriter, WritesPlainLittleEndianValues)
{
    EXPECT_EQ(Hex(BytesOf('A')), "41");
    EXPECT_EQ(Hex(BytesOf(static_cast<unsigned char>(0xFE))), "FE");
    EXPECT_EQ(Hex(BytesOf(static_cast<unsigned short>(0xBEEF))), "EF BE");
    EXPECT_EQ(Hex(BytesOf(-2)), "FE FF FF FF");
    EXPECT_EQ(Hex(BytesOf(0x12345678u)), "78 56 34 12");
    EXPECT_EQ(Hex(BytesOf(true)), "01");
    EXPECT_EQ(Hex(BytesOf(false)), "00");
    EXPECT_EQ(Hex(BytesOf(1.0f)), "00 00 80 3F");
    EXPECT_EQ(Hex(BytesOf(-0.5f)), "00 00 00 BF");
}

TEST(VarWriter, WritesStringsInTheArchiveFormOfWideStrings)
{
    EXPECT_EQ(BytesOf(CString("sonrix v3.0")), std::string("\xFF\xFE\xFF\x0B", 4) + Utf16Le("sonrix v3.0"));
    EXPECT_EQ(BytesOf(CString("sonrixi v3.0")), std::string("\xFF\xFE\xFF\x0C", 4) + Utf16Le("sonrixi v3.0"));
    EXPECT_EQ(Hex(BytesOf(CString())), "FF FE FF 00");
    EXPECT_EQ(Hex(BytesOf(CString(u"\u00E9\u20AC"))), "FF FE FF 02 E9 00 AC 20");

    // Length 254 still fits the byte; 255 switches to the 16-bit form,
    // 0xFFFE to the 32-bit one.
    EXPECT_EQ(Hex(BytesOf(CString(std::u16string(254, u'x'))).substr(0, 4)), "FF FE FF FE");
    EXPECT_EQ(Hex(BytesOf(CString(std::u16string(255, u'x'))).substr(0, 6)), "FF FE FF FF FF 00");
    EXPECT_EQ(Hex(BytesOf(CString(std::u16string(0xFFFD, u'x'))).substr(0, 6)), "FF FE FF FF FD FF");
    EXPECT_EQ(Hex(BytesOf(CString(std::u16string(0xFFFE, u'x'))).substr(0, 10)),
              "FF FE FF FF FF FF FE FF 00 00");
}

TEST(VarReader, ReadsBackWhatWasWritten)
{
    auto out = CreateMemoryOutputStream();
    CVarWriter writer(*out);
    const CString longText(std::u16string(70000, u'\u3042'));
    writer << 'z' << static_cast<unsigned char>(200) << static_cast<unsigned short>(65535)
           << std::numeric_limits<int>::min() << 0xFFFFFFFFu << true << 3.25f << CString("sonrix v3.0")
           << longText << CString();

    auto in = CreateMemoryInputStream(out->GetBytes());
    CVarReader reader(*in);
    char c;
    unsigned char uc;
    unsigned short us;
    int i;
    unsigned int u;
    bool b;
    float f;
    CString s1, s2, s3;
    reader >> c >> uc >> us >> i >> u >> b >> f >> s1 >> s2 >> s3;
    EXPECT_EQ(c, 'z');
    EXPECT_EQ(uc, 200);
    EXPECT_EQ(us, 65535);
    EXPECT_EQ(i, std::numeric_limits<int>::min());
    EXPECT_EQ(u, 0xFFFFFFFFu);
    EXPECT_TRUE(b);
    EXPECT_EQ(f, 3.25f);
    EXPECT_TRUE(s1 == u"sonrix v3.0");
    EXPECT_EQ(s2, longText);
    EXPECT_TRUE(s3.IsEmpty());
    EXPECT_TRUE(reader.IsExhausted());
}

TEST(VarReader, AcceptsAnyNonZeroByteAsTrueAndNarrowStrings)
{
    auto in = CreateMemoryInputStream(std::string("\x02\x00\x05h\xE9llo", 8));
    CVarReader reader(*in);
    bool first, second;
    CString narrow;
    reader >> first >> second >> narrow;
    EXPECT_TRUE(first);
    EXPECT_FALSE(second);
    EXPECT_TRUE(narrow == u"h\u00E9llo");
}

TEST(VarReader, IsExhaustedPeeksWithoutLosingTheByte)
{
    auto in = CreateMemoryInputStream(std::string("\x07\x00\x00\x00", 4));
    CVarReader reader(*in);
    EXPECT_FALSE(reader.IsExhausted());
    EXPECT_FALSE(reader.IsExhausted());
    int value = 0;
    reader >> value;
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(reader.IsExhausted());
}

TEST(VarReader, TruncatedInputThrowsAtEveryCut)
{
    auto out = CreateMemoryOutputStream();
    CVarWriter writer(*out);
    writer << 42 << static_cast<unsigned short>(7) << CString("abc") << 1.5f;
    const std::string whole = out->GetBytes();

    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        auto in = CreateMemoryInputStream(whole.substr(0, cut));
        CVarReader reader(*in);
        int i;
        unsigned short us;
        CString s;
        float f;
        try {
            reader >> i >> us >> s >> f;
            FAIL() << "no exception at cut " << cut;
        } catch (const CIOException& error) {
            EXPECT_EQ(error.GetMessage(), "Unexpected end of stream");
            EXPECT_EQ(error.GetFunction(), "nexilon::CVarReader::Read");
            EXPECT_EQ(error.GetFile(), "VarReader");
            EXPECT_GT(error.GetLine(), 0);
        }
    }
}

TEST(VarReader, CorruptStringLengthFailsWithoutHugeAllocation)
{
    // Claims 4 billion code units but holds four bytes.
    auto in = CreateMemoryInputStream(std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF" "abcd", 14));
    CVarReader reader(*in);
    CString text;
    EXPECT_THROW(reader >> text, CIOException);
}
