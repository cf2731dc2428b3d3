#include <climits>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"

namespace {

// Songs whose every member may hold any 32-bit value, and calls with any
// argument: the player must neither crash nor trip the sanitizers (the
// sanitizer build runs this), and the history cap bounds its memory.
TEST(HostileValues, ExtremeSongsAndArgumentsRenderCleanly)
{
    const float times[] = {0.0f, -1.0f, 1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                           std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min()};
    for (uint32_t seed = 1; seed <= 80; ++seed) {
        std::mt19937 random(seed);
        nexilon::CPtr<rix::IRixModule> module = enginetest::NewModule();
        enginetest::Edit(*module, [&](rix::CRixModuleData& data) { enginetest::HostileSong(data, random); });
        nexilon::CPtr<rix::IRixModulePlayer> player = enginetest::NewPlayer();
        player->Connect(module.Get());
        int32_t window[64];
        for (int step = 0; step < 8; ++step) {
            enginetest::ReadSamples(*player, random() % 6000);
            switch (random() % 6) {
            case 0:
                player->Seek((uint64_t(random()) << 32) | random());
                break;
            case 1:
                player->SeekToRow(random() % 2 ? random() : UINT_MAX);
                break;
            case 2:
                player->Skip(random() % 2 ? INT64_MIN : INT64_MAX);
                break;
            case 3:
                player->SetLoopPattern(random() % 2 == 0);
                break;
            case 4:
                player->CopyOutput(static_cast<int32_t>(random()), random(), window, 64);
                break;
            default:
                enginetest::Edit(*module, [&](rix::CRixModuleData& data) { data.bpm = static_cast<int32_t>(random()); });
                break;
            }
            player->GetLength();
            player->RowAtTime(times[random() % std::size(times)]);
            player->TimeOfRow(random());
        }
    }
}

} // namespace
