#pragma once

#include <string>
#include <string_view>

namespace nexilon {

// UTF-16 text, the program's string type. Conversions to and from UTF-8
// exist for file names and terminal output; invalid sequences become U+FFFD.
class CString {
public:
    CString() = default;
    CString(const char* utf8);
    CString(std::string_view utf8);
    CString(const char16_t* text) : text(text ? text : u"") {}
    CString(std::u16string text) : text(std::move(text)) {}

    static CString FromLatin1(std::string_view bytes);

    const std::u16string& Wide() const { return text; }
    const char16_t* Data() const { return text.c_str(); }
    std::size_t Length() const { return text.size(); }
    bool IsEmpty() const { return text.empty(); }

    std::string ToUtf8() const;

    bool operator==(const CString& other) const = default;
    bool operator==(const char16_t* other) const { return other && text == other; }

private:
    std::u16string text;
};

} // namespace nexilon
