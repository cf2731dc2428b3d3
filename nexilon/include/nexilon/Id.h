#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace nexilon {

// A 128-bit class or interface id, kept as the four 32-bit words it is
// written with (e.g. 0AEA7BA7-57AD4F96-B863B4CF-AD05F98B).
class CId {
public:
    constexpr CId() = default;
    constexpr CId(uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3) : words{w0, w1, w2, w3} {}

    constexpr uint32_t Word(int index) const { return words[index]; }

    constexpr bool operator==(const CId&) const = default;
    constexpr auto operator<=>(const CId&) const = default;

private:
    uint32_t words[4] = {0, 0, 0, 0};
};

} // namespace nexilon

template <>
struct std::hash<nexilon::CId> {
    std::size_t operator()(const nexilon::CId& id) const noexcept
    {
        uint64_t h = 1469598103934665603ull;
        for (int i = 0; i < 4; ++i)
            h = (h ^ id.Word(i)) * 1099511628211ull;
        return static_cast<std::size_t>(h);
    }
};
