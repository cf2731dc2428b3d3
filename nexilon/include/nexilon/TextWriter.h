#pragma once

#include <string_view>

#include "nexilon/Stream.h"
#include "nexilon/String.h"

namespace nexilon {

enum TCharFormat {
    CHARFORMAT_UTF8 = 0,    // UTF-8 without a byte-order mark
    CHARFORMAT_UTF16LE = 1, // UTF-16 little endian without a byte-order mark
};

enum TLineBreakFormat {
    LINEBREAK_CRLF = 0, // "\n" in the text becomes CR LF
    LINEBREAK_LF = 1,   // "\n" stays a single line feed
};

// Formatted text on an output stream. Text goes to the stream at every
// Write, unbuffered, so several writers on one stream keep the order of
// their calls.
class CTextWriter {
public:
    CTextWriter(IOutputStream& stream, TCharFormat charFormat, TLineBreakFormat lineBreakFormat);
    ~CTextWriter() = default;

    // printf conventions; the format and %s arguments are UTF-8.
    void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void WriteText(std::string_view utf8);
    void WriteText(const CString& text);
    // Further writes throw COperationNotSupportedException.
    void Close();

private:
    IOutputStream* stream;
    TCharFormat charFormat;
    TLineBreakFormat lineBreakFormat;
};

} // namespace nexilon
