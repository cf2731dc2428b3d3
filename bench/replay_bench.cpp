// What the intro replay routine costs: its code and data compiled as an
// intro builds them (-Os, no unwind tables, exceptions or RTTI; 32-bit x86
// with SSE2) for x86-64 and 32-bit x86, without effects, with the demo
// song's and with all six, raw and LZMA-packed; the routine and the demo
// song's exact tables laid end to end and packed (the intro's size
// target); the exported data of the benchmark songs and how the routine's
// render compares with the editor's; then the time of the size figures
// (called after edits) and the routine's render speed beside the engine's.
//   build/bin/replay_bench
// For another song use the command-line tool:
//   sonrix3-cli export-cpp --size [--exact] SONG.sonrix
//   sonrix3-cli verify-export [--exact] SONG.sonrix
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "IRixModulePlayer.h"
#include "ModuleArchive.h"
#include "ModuleFiles.h"
#include "RixExportBreakdown.h"
#include "RixBenchmarkSongs.h"
#include "RixExportSize.h"
#include "RixExportVerifier.h"
#include "RixModule.h"
#include "RixReplayRenderer.h"
#include "RixSongExporter.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/Nexilon.h"

namespace {

using TMakeSong = void (*)(rix::CRixModuleData&);

std::unique_ptr<rix::CRixModuleData> Song(TMakeSong make)
{
    auto data = std::make_unique<rix::CRixModuleData>();
    make(*data);
    return data;
}

constexpr const char* kIntroFlags = "-Os -fno-pic -fno-asynchronous-unwind-tables -fno-exceptions -fno-rtti";

std::string Run(const std::string& command)
{
    std::string output;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
        output.append(buffer, n);
    ::pclose(pipe);
    return output;
}

// The bytes of an object's code, constant and data sections, one after the
// other (what a packer compresses); empty when the source does not compile.
std::string ObjectBytes(const std::string& folder, const std::string& source, const std::string& flags)
{
    const std::string object = folder + "/object.o";
    const std::string compile = std::string(SONRIX_CXX_COMPILER) + " " + kIntroFlags + " " + flags + " -c -I" +
                                SONRIX_SOURCE_DIR "/replay -I" + folder + " " + source + " -o " + object +
                                " 2>/dev/null && echo ok";
    if (Run(compile) != "ok\n")
        return {};
    std::string bytes;
    const std::string sections =
        Run("objdump -h " + object + " | awk '$2 ~ /^\\.(text|rodata|data)/ { print $2 }'");
    std::size_t start = 0;
    for (std::size_t end; (end = sections.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string section = sections.substr(start, end - start);
        Run("objcopy -O binary --only-section=" + section + " " + object + " " + folder + "/section.bin");
        std::ifstream file(folder + "/section.bin", std::ios::binary);
        bytes += std::string(std::istreambuf_iterator<char>(file), {});
    }
    return bytes;
}

std::string Figure(const std::string& bytes)
{
    if (bytes.empty())
        return "  (no compiler)";
    char text[64];
    std::snprintf(text, sizeof(text), "%5zu B, %5u B packed", bytes.size(), rix::PackedSize(bytes));
    return text;
}

std::string Text(const rix::TRixSongTables& tables)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> stream = nexilon::CreateMemoryOutputStream();
    rix::CRixSongExporter::Write(tables, *stream);
    return stream->GetBytes();
}

void PrintCodeSizes()
{
    char pattern[] = "/tmp/sonrix3-replay-XXXXXX";
    if (!::mkdtemp(pattern))
        return;
    const std::string folder = pattern;
    const auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(folder + "/" + name, std::ios::binary) << text;
    };
    rix::CRixModuleData demo;
    rix::ReadModuleFile(SONRIX_SOURCE_DIR "/examples/demo.sonrix", demo);
    const std::string demoText = Text(rix::CRixSongExporter().Build(demo, true));
    const std::string demoDefines = demoText.substr(0, demoText.find("#endif\n") + 7);
    // The demo's effects in the plain form: its defines without the exact ones.
    const std::string demoEffects = demoDefines.substr(0, demoDefines.find("#define RIXSONG_EXACT\n")) + "#endif\n";
    std::string none = "#define RIXSONG_LEN 0x1\n#define RIXSONG_ROWLENSAMPLES 5512\n"
                       "#define RIXSONG_ENVCOUNTERLISTSIZE 4\n#define RIXSONG_OSCLISTSIZE 4\n"
                       "#define RIXSONG_EFFECTLISTSIZE 4\n#define RIXSONG_VOL 100\n";
    std::string all = none;
    for (const char* name : {"DELAY", "FLANGE", "LOWPASS", "HIGHPASS", "RESONANCE", "OVERDRIVE"})
        all += std::string("#define RIXSONG_ENABLE_") + name + "EFFECT\n";
    const std::string exact = "#define RIXSONG_EXACT\n#define RIXSONG_HISTORYSIZE 100\n";
    std::printf("Replay routine (%s; code, constants and data):\n", kIntroFlags);
    for (const auto& [name, flags] : {std::pair<const char*, const char*>{"x86-64", ""},
                                      {"x86 (32-bit, SSE2)", "-m32 -msse2 -mfpmath=sse"}}) {
        std::printf("  %s\n", name);
        for (const auto& [form, extra] : {std::pair<const char*, std::string>{"plain", ""}, {"exact", exact}}) {
            for (const auto& [effects, defines] : {std::pair<const char*, std::string>{"no effect", none},
                                                   {"the demo's effects", demoEffects},
                                                   {"all effects", all}}) {
                write("RixSongDataDefines.h", defines + extra);
                std::printf("    %-5s %-20s %s\n", form, effects,
                            Figure(ObjectBytes(folder, SONRIX_SOURCE_DIR "/replay/RixReplay.cpp", flags)).c_str());
            }
        }
    }
    // The size target: routine and demo tables in the exact form, as an
    // intro links them, end to end.
    write("RixSongDataDefines.h", demoDefines);
    write("RixSongData.cpp", demoText);
    const std::string routine = ObjectBytes(folder, SONRIX_SOURCE_DIR "/replay/RixReplay.cpp", "-m32 -msse2 -mfpmath=sse");
    const std::string tables = ObjectBytes(folder, folder + "/RixSongData.cpp", "-m32 -msse2 -mfpmath=sse");
    std::printf("Demo song, exact export, 32-bit x86: routine %s; tables %s; together %s\n",
                Figure(routine).c_str(), Figure(tables).c_str(),
                routine.empty() ? "" : Figure(routine + tables).c_str());
    std::filesystem::remove_all(folder);
}

void PrintSong(const char* name, TMakeSong make)
{
    const auto data = Song(make);
    const rix::TExportSize size = rix::MeasureExportSize(*data);
    const rix::TExportSize exactSize = rix::MeasureExportSize(*data, true);
    const rix::TRixExportReport report = rix::CRixExportVerifier::Verify(*data);
    const rix::TRixExportReport exactReport = rix::CRixExportVerifier::Verify(*data, true);
    double worstPitch = 0.0;
    for (const rix::TRixPitchError& pitch : report.pitches)
        worstPitch = std::max(worstPitch, std::abs(pitch.worstCents));
    std::printf("  %-6s plain %5u bytes raw, %4u bytes LZMA; mix %s (worst 50 ms window %+.2f dB), worst pitch "
                "error %.2f cents, %zu features left out\n",
                name, size.rawBytes, size.compressedBytes, report.mix.identical ? "identical" : "differs",
                report.mix.worstDb, worstPitch, report.features.size());
    std::printf("  %-6s exact %5u bytes raw, %4u bytes LZMA; %s\n", name, exactSize.rawBytes,
                exactSize.compressedBytes, exactReport.Passes() ? "identical" : "DIFFERS");
}

void BM_MeasureExportSize(benchmark::State& state, TMakeSong make)
{
    const auto data = Song(make);
    for (auto _ : state)
        benchmark::DoNotOptimize(rix::MeasureExportSize(*data));
}

void BM_BreakDownExportSize(benchmark::State& state, TMakeSong make)
{
    const auto data = Song(make);
    for (auto _ : state)
        benchmark::DoNotOptimize(rix::BreakDownExportSize(*data, true));
}

// The exact form: the plain one differs only where notes start.
void BM_ReplayRender(benchmark::State& state, TMakeSong make)
{
    const auto data = Song(make);
    rix::CRixReplayRenderer renderer(rix::CRixSongExporter().Build(*data, true));
    std::vector<int16_t> buffer(44100);
    for (auto _ : state) {
        renderer.Render(buffer.data(), static_cast<uint32_t>(buffer.size()));
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["xRealTime"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_EngineRender(benchmark::State& state, TMakeSong make)
{
    nexilon::CPtr<rix::IRixModule> module = nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId);
    make(*rix::CRixModuleLock(*module, nexilon::LOCKMODE_WRITE));
    nexilon::CPtr<rix::IRixModulePlayer> player = nexilon::CreateInstance<rix::IRixModulePlayer>(rix::RIX_MODULE_PLAYER_CLASS);
    player->Connect(module.Get());
    std::vector<int16_t> buffer(44100);
    for (auto _ : state) {
        if (player->Read(buffer.data(), buffer.size() * 2) < buffer.size() * 2)
            player->Seek(0);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["xRealTime"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(BM_MeasureExportSize, light, rix::MakeLightSong)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MeasureExportSize, heavy, rix::MakeHeavySong)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BreakDownExportSize, light, rix::MakeLightSong)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BreakDownExportSize, heavy, rix::MakeHeavySong)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReplayRender, light, rix::MakeLightSong)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReplayRender, heavy, rix::MakeHeavySong)->Unit(benchmark::kMillisecond);
// The engine on the same song in the same run, for the ratio under the
// same load (render_bench has the engine's own figures).
BENCHMARK_CAPTURE(BM_EngineRender, heavy, rix::MakeHeavySong)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    nexilon::q.Init();
    rix::RegisterModuleClass();
    rix::RegisterPlayerClass();
    rix::RegisterArchiveStreamClasses();
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
