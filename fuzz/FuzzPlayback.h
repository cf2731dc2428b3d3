#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

#ifdef SONRIX_FUZZ_ENGINE
#include <sanitizer/allocator_interface.h>
#endif

#include "RixModule.h"
#include "RixModulePlayer.h"
#include "nexilon/Exceptions.h"

namespace fuzzing {

#ifdef SONRIX_FUZZ_ENGINE
// Heap bytes allocated and not freed since the playback started, counted
// through the sanitizer's hooks: a history is taken from calloc and its
// pages stay untouched in a short render, so -rss_limit_mb alone would miss
// a song that asks for gigabytes. (The replay of kept inputs under ctest
// runs without the hooks.)
inline std::atomic<int64_t> liveBytes{0};
inline std::atomic<bool> counting{false};
constexpr int64_t PLAYBACK_MEMORY_LIMIT = int64_t{1} << 30;

inline void CountMalloc(const volatile void*, size_t size)
{
    if (counting.load(std::memory_order_relaxed) &&
        (liveBytes += static_cast<int64_t>(size)) > PLAYBACK_MEMORY_LIMIT) {
        std::fprintf(stderr, "fuzzing: the player holds more than 1 GB\n");
        std::abort();
    }
}

inline void CountFree(const volatile void* block)
{
    if (counting.load(std::memory_order_relaxed) && block)
        liveBytes -= static_cast<int64_t>(__sanitizer_get_allocated_size(const_cast<const void*>(block)));
}

inline void StartCountingMemory()
{
    static const bool hooked = __sanitizer_install_malloc_and_free_hooks(&CountMalloc, &CountFree) != 0;
    (void)hooked;
    liveBytes = 0;
    counting = true;
}

inline void StopCountingMemory()
{
    counting = false;
}
#else
inline void StartCountingMemory() {}
inline void StopCountingMemory() {}
#endif

// Lets the history allocations succeed until the countdown runs out; a
// countdown of 0 never fails.
inline uint32_t failCountdown = 0;
inline int32_t* SometimesFailingHistory(uint32_t entries)
{
    if (failCountdown != 0 && --failCountdown == 0)
        return nullptr;
    return rix::CallocHistory(entries);
}

// Plays a loaded song as the editor would: a few thousand samples, then an
// edit of the tempo and of every effect (new history sizes), during which
// the history allocation the input picks fails, so the edit throws and the
// player must stay whole; then more samples, a seek to a row the input
// picks and a few more. A framework exception (a song the player refuses)
// is a fine outcome; a crash, a hang or more than 1 GB of memory is not.
inline void PlayBriefly(const rix::CRixModuleData& song, const uint8_t* input, size_t size)
{
    // From the input's bytes, so they move with the mutations; most inputs
    // fail one of the first seven allocations of the edit.
    uint32_t seekRow = 0;
    uint32_t sum = 0;
    for (size_t i = 0; i < size; ++i) {
        seekRow = seekRow << 8 | input[i];
        sum += input[i];
    }
    seekRow = (seekRow & 0x80000000u) != 0 ? seekRow : seekRow % 8192;
    const uint32_t failing = sum % 8;
    const auto tempoChange = static_cast<uint32_t>(sum / 8 % 16) - 8;

    auto module = nexilon::CPtr<rix::CRixModule>::Adopt(new rix::CRixModule());
    {
        rix::CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
        *data = song;
    }
    StartCountingMemory();
    {
        auto player = nexilon::CPtr<rix::CRixModulePlayer>::Adopt(new rix::CRixModulePlayer(&SometimesFailingHistory));
        failCountdown = 0;
        unsigned char buffer[8192];
        for (int step = 0; step < 6; ++step) {
            try {
                if (step == 0) {
                    player->Connect(module.Get());
                } else if (step == 2) {
                    rix::CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
                    data->bpm = static_cast<int32_t>(static_cast<uint32_t>(data->bpm) + tempoChange);
                    for (rix::CRixModuleChannel& channel : data->channels) {
                        for (rix::TRixEffect& effect : channel.effects) {
                            effect.param1 ^= 1;
                            effect.envelope1.maxValue ^= 1;
                        }
                    }
                    failCountdown = failing;
                } else if (step == 4) {
                    player->SeekToRow(seekRow);
                } else if (player->Read(buffer, sizeof buffer) > sizeof buffer) {
                    std::abort();
                }
            } catch (const std::bad_alloc&) {
            } catch (const nexilon::CException&) {
            }
        }
    }
    StopCountingMemory();
}

} // namespace fuzzing
