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

} // namespace

TEST(VarWriter, WritesStringsInTheArchiveFormOfWideStrings)
{
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

// Numbers and short strings go back and forth in every module file test;
// the 16- and 32-bit length forms only here.
TEST(VarReader, ReadsBackStringsOfEveryLengthForm)
{
    auto out = CreateMemoryOutputStream();
    CVarWriter writer(*out);
    const CString texts[] = {CString(), CString("sonrix v3.0"), CString(std::u16string(255, u'x')),
                             CString(std::u16string(70000, u'\u3042'))};
    for (const CString& text : texts)
        writer << text;
    auto in = CreateMemoryInputStream(out->GetBytes());
    CVarReader reader(*in);
    for (const CString& text : texts) {
        CString read("stale");
        reader >> read;
        EXPECT_EQ(read, text);
    }
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

TEST(VarReader, CorruptStringLengthFailsWithoutHugeAllocation)
{
    // Claims 4 billion code units but holds four bytes.
    auto in = CreateMemoryInputStream(std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF" "abcd", 14));
    CVarReader reader(*in);
    CString text;
    EXPECT_THROW(reader >> text, CIOException);
}
