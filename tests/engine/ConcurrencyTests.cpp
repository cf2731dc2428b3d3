#include <atomic>
#include <thread>

#include "EngineTestSupport.h"
#include "RixBenchmarkSongs.h"

namespace {

// The playback thread renders while the user-interface thread edits the
// song under the write lock and polls the player for the display, with and
// without its lock; the sanitizer builds must stay silent.
TEST(PlayerConcurrency, RendersWhileAnotherThreadEditsTheModule)
{
    nexilon::CPtr<rix::IRixModule> module = enginetest::NewModule();
    enginetest::Edit(*module, [](rix::CRixModuleData& data) { rix::MakeHeavySong(data); });
    nexilon::CPtr<rix::IRixModulePlayer> player = enginetest::NewPlayer();
    player->Connect(module.Get());
    player->SetLoopPattern(true);

    constexpr int READS = 400;
    std::atomic<int> reads{0};
    std::thread userInterface([&] {
        int32_t window[256];
        for (int i = 0; reads < READS; ++i) {
            enginetest::Edit(*module, [i](rix::CRixModuleData& data) {
                rix::CRixModuleChannel& channel = data.channels[i % rix::RIX_CHANNELS];
                data.patterns[i % 8][1][i % 16] = 1 + i % 100;
                if (i % 5 == 0)
                    data.bpm = 100 + i % 90;
                else if (i % 5 == 1 && channel.oscillators.size() < 6)
                    channel.AddOscillator();
                else if (i % 5 == 2)
                    channel.RemoveOscillator(0);
                else if (i % 5 == 3 && channel.effects.size() > 4)
                    channel.effects.clear();
                else if (i % 5 == 3)
                    channel.effects.push_back(rix::TRixEffect::OfType(i % 7));
            });
            player->SetChannelEnabled(player->GetRow() % 8, player->GetRow() % 3 != 0);
            player->CopyOutput(-1, static_cast<uint32_t>(player->Tell()), window, 256);
            player->RowAtTime(0.5f);
            // The display's reads, which take no lock at all.
            player->CopyRendered(i % 9 - 1, player->GetRenderedCount() - 3000, window, 256);
            player->GetRowSeconds();
            std::this_thread::yield();
        }
    });
    uint64_t rendered = 0;
    std::vector<unsigned char> buffer(4096);
    for (; reads < READS; ++reads)
        rendered += player->Read(buffer.data(), buffer.size());
    userInterface.join();
    EXPECT_EQ(rendered, uint64_t(READS) * buffer.size()) << "loop mode never ends";
}

} // namespace
