#include "nexilon/TextWriter.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "nexilon/Exceptions.h"

namespace nexilon {

CTextWriter::CTextWriter(IOutputStream& stream, TCharFormat charFormat, TLineBreakFormat lineBreakFormat)
    : stream(&stream), charFormat(charFormat), lineBreakFormat(lineBreakFormat)
{
}

void CTextWriter::Write(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list copy;
    va_copy(copy, arguments);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (needed > 0) {
        text.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(text.data(), text.size(), format, arguments);
        text.resize(static_cast<std::size_t>(needed));
    }
    va_end(arguments);
    if (needed < 0)
        throw CInvalidParameterException("nexilon::CTextWriter::Write", "TextWriter", __LINE__,
                                         "Invalid format string");
    WriteText(text);
}

void CTextWriter::WriteText(std::string_view utf8)
{
    if (!stream)
        throw COperationNotSupportedException("nexilon::CTextWriter::Write", "TextWriter", __LINE__,
                                              "Writer is closed");
    std::string text;
    if (lineBreakFormat == LINEBREAK_CRLF) {
        for (char c : utf8) {
            if (c == '\n')
                text += '\r';
            text += c;
        }
    } else {
        text.assign(utf8);
    }
    if (charFormat == CHARFORMAT_UTF16LE) {
        std::string bytes;
        const CString wide{std::string_view(text)};
        for (char16_t unit : wide.Wide()) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        }
        text.swap(bytes);
    }
    if (!text.empty())
        stream->Write(text.data(), text.size());
}

void CTextWriter::WriteText(const CString& text)
{
    WriteText(std::string_view(text.ToUtf8()));
}

void CTextWriter::Close()
{
    stream = nullptr;
}

} // namespace nexilon
