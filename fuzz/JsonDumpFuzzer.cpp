#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSong.h"
#include "SongJson.h"

namespace {

// A strict reader of the JSON the dump writes: objects, arrays, strings
// without escapes, integers, true and false. Returns whether text[at..]
// starts with one value, and moves at past it.
class CJsonCheck {
public:
    explicit CJsonCheck(std::string_view text) : text(text) {}

    bool WholeValue() { return Value() && (Skip(), at == text.size()); }

private:
    void Skip()
    {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\n'))
            ++at;
    }
    bool Take(char c)
    {
        Skip();
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word)
    {
        if (text.substr(at, word.size()) != word)
            return false;
        at += word.size();
        return true;
    }
    bool String()
    {
        if (!Take('"'))
            return false;
        while (at < text.size() && text[at] != '"')
            if (text[at] < ' ' || text[at++] == '\\')
                return false;
        return Take('"');
    }
    bool Number()
    {
        const std::size_t start = at;
        if (at < text.size() && text[at] == '-')
            ++at;
        const std::size_t digits = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            ++at;
        // No leading zeros, at most the digits of a 32-bit value.
        return at > digits && at - digits <= 10 && (text[digits] != '0' || at - digits == 1) && at > start;
    }
    template <class TItem>
    bool List(char close, TItem item)
    {
        if (Take(close))
            return true;
        do {
            if (!item())
                return false;
        } while (Take(','));
        return Take(close);
    }
    bool Value()
    {
        Skip();
        if (Take('{'))
            return List('}', [this] { return String() && Take(':') && Value(); });
        if (Take('['))
            return List(']', [this] { return Value(); });
        if (at < text.size() && text[at] == '"')
            return String();
        return Word("true") || Word("false") || Number();
    }

    std::string_view text;
    std::size_t at = 0;
};

void Check(const std::string& json)
{
    if (!CJsonCheck(json).WholeValue())
        std::abort();
}

} // namespace

// Any bytes as a module or, failing that, an instrument file, dumped as
// sonrix3-cli dump prints it: the text must be JSON.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (const std::optional<rix::CRixModuleData> song = fuzzing::Load<rix::CRixModuleData>(data, size))
        Check(cli::ModuleJson(*song));
    else if (const std::optional<rix::CRixModuleChannel> instrument = fuzzing::Load<rix::CRixModuleChannel>(data, size))
        Check(cli::InstrumentJson(*instrument));
    return 0;
}
