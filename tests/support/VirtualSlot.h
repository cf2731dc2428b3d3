#pragma once

#include <cstdint>
#include <cstring>

// The vtable slot of a virtual member function, from the Itanium C++ ABI's
// representation of a pointer to it (1 + the byte offset in the vtable).
// Interfaces fix their operations by slot, so a reordering must fail a test.
template <class TMember>
std::size_t VirtualSlot(TMember member)
{
    static_assert(sizeof(TMember) == 2 * sizeof(std::uintptr_t));
    std::uintptr_t words[2];
    std::memcpy(words, &member, sizeof words);
    return (words[0] - 1) / sizeof(void*);
}
