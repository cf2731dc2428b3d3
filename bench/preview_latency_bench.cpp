// Key-press-to-sound delay of a note preview: from Start of a stopped sound
// playing a module player (what PreviewNote does after writing the note)
// to the moment the device's mixing callback has handed its first sample
// to the driver, with SDL's dummy driver. A sound card plays that sample
// one device buffer (512 frames, 11.6 ms) later, which the reported figure
// does not include. Run from a release build:
//   SONRIX_AUDIO_DRIVER=dummy build/bin/preview_latency_bench
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <benchmark/benchmark.h>

#include "IRixModulePlayer.h"
#include "RixBenchmarkSongs.h"
#include "RixModule.h"
#include "nexilon/AudioDevice.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/Nexilon.h"
#include "nexilon/Sound.h"

namespace {

void PreviewLatency(benchmark::State& state)
{
    ::setenv("SONRIX_AUDIO_DRIVER", "dummy", 0);
    nexilon::q.Init();
    rix::RegisterModuleClass();
    rix::RegisterPlayerClass();
    {
        auto module = nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId);
        {
            rix::CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
            rix::MakeHeavySong(*data);
        }
        auto player = nexilon::CreateInstance<rix::IRixModulePlayer>(rix::RIX_MODULE_PLAYER_CLASS);
        player->Connect(module.Get());
        auto device = nexilon::CreateInstance<nexilon::IAudioDevice>(nexilon::IAudioDevice::ClassId);
        nexilon::CInputStreamSelector selector(player.Get());
        auto sound = nexilon::CPtr<nexilon::ISound>::Adopt(device->CreateSound(selector, nexilon::SOUND_MODE_STREAMED));
        double longest = 0;
        for (auto _ : state) {
            sound->Stop();
            const auto pressed = std::chrono::steady_clock::now();
            sound->Start();
            // Polled gently: the callback skips publishing the heard
            // position while someone reads it.
            while (sound->GetHeardSample() == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - pressed;
            state.SetIterationTime(took.count());
            longest = std::max(longest, took.count());
            // Lands the next press anywhere in the callback's period.
            std::this_thread::sleep_for(std::chrono::microseconds(3700));
        }
        state.counters["longest_ms"] = longest * 1000.0;
    }
    nexilon::q.Close();
}

} // namespace

BENCHMARK(PreviewLatency)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

BENCHMARK_MAIN();
