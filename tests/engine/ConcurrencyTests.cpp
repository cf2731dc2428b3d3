#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "RixBenchmarkSongs.h"

namespace {

using enginetest::Edit;

// The playback thread renders while the user-interface thread edits the
// song under the write lock and the display polls the player; run under
// TSan this must stay silent.
TEST(PlayerConcurrency, RendersWhileAnotherThreadEditsTheModule)
{
    nexilon::CPtr<rix::IRixModule> module = enginetest::NewModule();
    Edit(*module, [](rix::CRixModuleData& data) { rix::MakeHeavySong(data); });
    nexilon::CPtr<rix::IRixModulePlayer> player = enginetest::NewPlayer();
    player->Connect(module.Get());
    player->SetLoopPattern(true);

    constexpr int READS = 400;
    std::atomic<int> reads{0};
    std::atomic<bool> editing{true};
    std::thread editor([&] {
        for (int i = 0; reads < READS; ++i) {
            Edit(*module, [i](rix::CRixModuleData& data) {
                rix::CRixModuleChannel& channel = data.channels[i % rix::RIX_CHANNELS];
                switch (i % 5) {
                case 0:
                    data.bpm = 100 + i % 90;
                    break;
                case 1:
                    if (channel.oscillators.size() < 6)
                        channel.AddOscillator();
                    break;
                case 2:
                    channel.RemoveOscillator(0);
                    break;
                case 3:
                    if (channel.effects.size() > 4)
                        channel.effects.clear();
                    channel.effects.push_back(rix::TRixEffect::OfType(i % 7));
                    break;
                default:
                    data.patterns[i % 8][1][i % 16] = 1 + i % 100;
                    channel.volume = i % 200;
                    break;
                }
            });
            std::this_thread::yield();
        }
        editing = false;
    });
    std::thread display([&] {
        int32_t window[256];
        while (editing) {
            player->SetChannelEnabled(player->GetRow() % 8, player->GetRow() % 3 != 0);
            player->CopyOutput(-1, static_cast<uint32_t>(player->Tell()), window, 256);
            player->RowAtTime(0.5f);
            std::this_thread::yield();
        }
    });

    uint64_t rendered = 0;
    std::vector<unsigned char> buffer(4096);
    for (; reads < READS; ++reads)
        rendered += player->Read(buffer.data(), buffer.size());
    editor.join();
    display.join();
    EXPECT_EQ(rendered, uint64_t(READS) * buffer.size()) << "loop mode never ends";
    EXPECT_EQ(player->Read(buffer.data(), buffer.size()), buffer.size());
}

} // namespace
