// What the A/B switch and the Song Size panel cost. The intro render is
// the work the audio path adds while the switch follows a playback (the
// replay routine and the editor's reference player, side by side, mixed
// and compared) and the worker's pace when it brings a new render to the
// playing position; the song copy is all the panel does on the UI thread
// per update (the breakdown runs on its worker). Run from a release build:
//   build/bin/intro_render_bench
#include <array>
#include <cstdint>
#include <memory>

#include <benchmark/benchmark.h>

#include "IntroRender.h"
#include "RixBenchmarkSongs.h"
#include "RixModule.h"
#include "nexilon/Nexilon.h"

namespace {

class CSession {
public:
    CSession()
    {
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
    }
    ~CSession() { nexilon::q.Close(); }
};

// Samples per second of CPU, as the counter "x real time" of 44100 Hz.
void RenderIntro(benchmark::State& state, void (*make)(rix::CRixModuleData&))
{
    CSession session;
    rix::CRixModuleData song;
    make(song);
    std::array<int16_t, rix::CIntroRender::kBlock> intro{};
    std::array<int16_t, rix::CIntroRender::kBlock> editor{};
    uint64_t samples = 0;
    for (auto _ : state) {
        rix::CIntroRender render(song, true, 0);
        while (const uint32_t count = render.Render(512, 0, intro.data(), editor.data()))
            samples += count;
    }
    state.counters["x real time"] =
        benchmark::Counter(static_cast<double>(samples) / rix::RIX_SAMPLE_RATE, benchmark::Counter::kIsRate);
}

void BM_IntroRenderLight(benchmark::State& state)
{
    RenderIntro(state, rix::MakeLightSong);
}
BENCHMARK(BM_IntroRenderLight)->Unit(benchmark::kMillisecond);

void BM_IntroRenderHeavy(benchmark::State& state)
{
    RenderIntro(state, rix::MakeHeavySong);
}
BENCHMARK(BM_IntroRenderHeavy)->Unit(benchmark::kMillisecond);

void BM_SongSizeCopy(benchmark::State& state)
{
    rix::CRixModuleData song;
    rix::MakeHeavySong(song);
    for (auto _ : state) {
        auto copy = std::make_unique<rix::CRixModuleData>(song);
        benchmark::DoNotOptimize(copy.get());
    }
}
BENCHMARK(BM_SongSizeCopy);

} // namespace

BENCHMARK_MAIN();
