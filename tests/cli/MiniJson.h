#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace clitest {

// Just enough JSON to read the tool's dumps: objects (keys in their order),
// arrays, integers and true/false. Anything else is an error, so a dump
// with floats, strings or stray text fails the tests.
struct CJson {
    enum TKind { Number, Flag, Array, Object } kind = Number;
    int64_t number = 0;
    bool flag = false;
    std::vector<CJson> items;
    std::vector<std::pair<std::string, CJson>> members;

    const CJson& operator[](const std::string& key) const
    {
        for (const auto& [name, value] : members)
            if (name == key)
                return value;
        throw std::runtime_error("no member " + key);
    }
    const CJson& operator[](std::size_t index) const { return items.at(index); }

    std::vector<std::string> Keys() const
    {
        std::vector<std::string> keys;
        for (const auto& member : members)
            keys.push_back(member.first);
        return keys;
    }
};

class CJsonParser {
public:
    explicit CJsonParser(const std::string& text) : text(text) {}

    CJson ParseDocument()
    {
        CJson value = ParseValue();
        SkipSpace();
        if (at != text.size())
            Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(at));
    }

    void SkipSpace()
    {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\n' || text[at] == '\t' || text[at] == '\r'))
            ++at;
    }

    bool Take(char c)
    {
        SkipSpace();
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return false;
    }

    void Expect(char c)
    {
        if (!Take(c))
            Fail(std::string("expected '") + c + "'");
    }

    std::string ParseKey()
    {
        Expect('"');
        const std::size_t end = text.find('"', at);
        if (end == std::string::npos)
            Fail("unterminated key");
        std::string key = text.substr(at, end - at);
        at = end + 1;
        return key;
    }

    CJson ParseValue()
    {
        SkipSpace();
        CJson value;
        if (Take('{')) {
            value.kind = CJson::Object;
            if (Take('}'))
                return value;
            do {
                std::string key = ParseKey();
                Expect(':');
                value.members.emplace_back(std::move(key), ParseValue());
            } while (Take(','));
            Expect('}');
        } else if (Take('[')) {
            value.kind = CJson::Array;
            if (Take(']'))
                return value;
            do
                value.items.push_back(ParseValue());
            while (Take(','));
            Expect(']');
        } else if (text.compare(at, 4, "true") == 0 || text.compare(at, 5, "false") == 0) {
            value.kind = CJson::Flag;
            value.flag = text[at] == 't';
            at += value.flag ? 4 : 5;
        } else {
            const std::size_t start = at;
            if (at < text.size() && text[at] == '-')
                ++at;
            while (at < text.size() && text[at] >= '0' && text[at] <= '9')
                ++at;
            if (at == start || (at == start + 1 && text[start] == '-'))
                Fail("expected a value");
            value.number = std::stoll(text.substr(start, at - start));
        }
        return value;
    }

    const std::string& text;
    std::size_t at = 0;
};

inline CJson ParseJson(const std::string& text)
{
    return CJsonParser(text).ParseDocument();
}

} // namespace clitest
