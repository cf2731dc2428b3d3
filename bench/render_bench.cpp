// Render speed of the synthesizer on one thread, as "× real time": seconds
// of audio rendered per second of (CPU) rendering time, reported as the
// user counter xRealTime. Run from a release build:
//   build/bin/render_bench --benchmark_format=json
#include <vector>

#include <benchmark/benchmark.h>

#include "IRixModulePlayer.h"
#include "RixBenchmarkSongs.h"
#include "RixModule.h"
#include "nexilon/Nexilon.h"

namespace {

void Register()
{
    static const bool registered = [] {
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
        return true;
    }();
    (void)registered;
}

void RenderSong(benchmark::State& state, void (*makeSong)(rix::CRixModuleData&))
{
    Register();
    auto module = nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId);
    {
        rix::CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
        makeSong(*data);
    }
    auto player = nexilon::CreateInstance<rix::IRixModulePlayer>(rix::RIX_MODULE_PLAYER_CLASS);
    player->Connect(module.Get());
    // One audio device buffer at a time, as the playback thread reads.
    std::vector<unsigned char> buffer(4096);
    double samples = 0;
    for (auto _ : state) {
        player->Seek(0);
        while (const uint64_t bytes = player->Read(buffer.data(), buffer.size()))
            samples += static_cast<double>(bytes / 2);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["xRealTime"] = benchmark::Counter(samples / rix::RIX_SAMPLE_RATE, benchmark::Counter::kIsRate);
}

void BM_RenderLight(benchmark::State& state)
{
    RenderSong(state, rix::MakeLightSong);
}

void BM_RenderHeavy(benchmark::State& state)
{
    RenderSong(state, rix::MakeHeavySong);
}

} // namespace

BENCHMARK(BM_RenderLight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderHeavy)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
