// What the intro replay routine costs: its code size compiled with -Os for
// x86-64 and 32-bit x86 (no effects and all six), the exported data of the
// two benchmark songs raw and LZMA-compressed, how the routine's render
// compares with the editor's on them, then the time of the export size
// figure (called after every edit) and the routine's render speed.
//   build/bin/replay_bench
// For another song use the command-line tool:
//   sonrix3-cli export-cpp --size SONG.sonrix
//   sonrix3-cli verify-export SONG.sonrix
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "IRixModulePlayer.h"
#include "RixBenchmarkSongs.h"
#include "RixExportSize.h"
#include "RixExportVerifier.h"
#include "RixModule.h"
#include "RixReplayRenderer.h"
#include "RixSongExporter.h"
#include "nexilon/Nexilon.h"

namespace {

using TMakeSong = void (*)(rix::CRixModuleData&);

std::unique_ptr<rix::CRixModuleData> Song(TMakeSong make)
{
    auto data = std::make_unique<rix::CRixModuleData>();
    make(*data);
    return data;
}

// Bytes of code and constants, or -1 when the compiler cannot build it.
long CodeSize(const std::string& folder, const std::string& flags)
{
    const std::string object = folder + "/RixReplay.o";
    const std::string compile = std::string(SONRIX_CXX_COMPILER) + " -Os -fno-pie -c " + flags + " -I" +
                                SONRIX_SOURCE_DIR "/replay -I" + folder + " " + SONRIX_SOURCE_DIR
                                "/replay/RixReplay.cpp -o " + object + " 2>/dev/null";
    if (std::system(compile.c_str()) != 0)
        return -1;
    const std::string sum = "size -A " + object + " | awk '$1 ~ /^.(text|rodata)/ { n += $2 } END { print n }'";
    std::FILE* pipe = ::popen(sum.c_str(), "r");
    long size = -1;
    if (!pipe || std::fscanf(pipe, "%ld", &size) != 1)
        size = -1;
    if (pipe)
        ::pclose(pipe);
    return size;
}

void PrintCodeSizes()
{
    char pattern[] = "/tmp/sonrix3-replay-XXXXXX";
    if (!::mkdtemp(pattern))
        return;
    const std::string folder = pattern;
    const std::string sizes = "#define RIXSONG_LEN 0x1\n#define RIXSONG_ROWLENSAMPLES 5512\n"
                              "#define RIXSONG_ENVCOUNTERLISTSIZE 4\n#define RIXSONG_OSCLISTSIZE 4\n"
                              "#define RIXSONG_EFFECTLISTSIZE 4\n#define RIXSONG_VOL 100\n";
    std::string all = sizes;
    for (const char* name : {"DELAY", "FLANGE", "LOWPASS", "HIGHPASS", "RESONANCE", "OVERDRIVE"})
        all += std::string("#define RIXSONG_ENABLE_") + name + "EFFECT\n";
    std::printf("Replay routine code (.text + .rodata, -Os -fno-pie):\n");
    for (const auto& [name, flags] : {std::pair<const char*, const char*>{"x86-64", ""},
                                      {"x86 (32-bit, SSE2)", "-m32 -msse2 -mfpmath=sse"}}) {
        long sizesByEffects[2] = {};
        for (int withEffects = 0; withEffects < 2; ++withEffects) {
            std::FILE* file = std::fopen((folder + "/RixSongDataDefines.h").c_str(), "w");
            std::fputs((withEffects ? all : sizes).c_str(), file);
            std::fclose(file);
            sizesByEffects[withEffects] = CodeSize(folder, flags);
        }
        std::printf("  %-20s %5ld bytes without effects, %5ld bytes with all six\n", name, sizesByEffects[0],
                    sizesByEffects[1]);
    }
    std::filesystem::remove_all(folder);
}

void PrintSong(const char* name, TMakeSong make)
{
    const auto data = Song(make);
    const rix::TExportSize size = rix::MeasureExportSize(*data);
    const rix::TRixExportReport report = rix::CRixExportVerifier::Verify(*data);
    double worstPitch = 0.0;
    for (const rix::TRixPitchError& pitch : report.pitches)
        worstPitch = std::max(worstPitch, std::abs(pitch.worstCents));
    std::printf("  %-6s %5u bytes raw, %4u bytes LZMA; mix %s (worst 50 ms window %+.2f dB), worst pitch error "
                "%.2f cents, %zu features left out\n",
                name, size.rawBytes, size.compressedBytes, report.mix.identical ? "identical" : "differs",
                report.mix.worstDb, worstPitch, report.features.size());
}

void BM_MeasureExportSize(benchmark::State& state, TMakeSong make)
{
    const auto data = Song(make);
    for (auto _ : state)
        benchmark::DoNotOptimize(rix::MeasureExportSize(*data));
}

void BM_ReplayRender(benchmark::State& state, TMakeSong make)
{
    const auto data = Song(make);
    rix::CRixReplayRenderer renderer(rix::CRixSongExporter().Build(*data));
    std::vector<int16_t> buffer(44100);
    for (auto _ : state) {
        renderer.Render(buffer.data(), static_cast<uint32_t>(buffer.size()));
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["xRealTime"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(BM_MeasureExportSize, light, rix::MakeLightSong)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MeasureExportSize, heavy, rix::MakeHeavySong)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReplayRender, light, rix::MakeLightSong)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReplayRender, heavy, rix::MakeHeavySong)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    nexilon::q.Init();
    rix::RegisterModuleClass();
    rix::RegisterPlayerClass();
    PrintCodeSizes();
    std::printf("Benchmark songs (tables as compiled; render of the routine against the editor's):\n");
    PrintSong("light", rix::MakeLightSong);
    PrintSong("heavy", rix::MakeHeavySong);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    nexilon::q.Close();
    return 0;
}
