// The helper of bench/underrun-bench:
//   underrun_tool songs DIR COUNT      writes COUNT generated songs DIR/song-N.sonrix
//   underrun_tool check CAPTURE SONG   exit 0 when the raw capture (16-bit mono)
//                                      holds the song's offline render as one
//                                      contiguous run, silence inside included
//   underrun_tool churn MEGABYTES      allocates, touches and frees that much
//                                      memory in a loop, until killed
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "IRixModulePlayer.h"
#include "ModuleArchive.h"
#include "ModuleFiles.h"
#include "RixBenchmarkSongs.h"
#include "RixModule.h"
#include "nexilon/Nexilon.h"

namespace {

// Song n: the light or the heavy benchmark song at its own tempo, moved by
// a few semitones, four order positions long (8 to 10 s).
void MakeSong(rix::CRixModuleData& data, int n)
{
    std::mt19937 random(static_cast<uint32_t>(n));
    if (n % 2 == 0)
        rix::MakeLightSong(data);
    else
        rix::MakeHeavySong(data);
    data.bpm = 100 + static_cast<int32_t>(random() % 30);
    for (int c = 0; c < rix::RIX_CHANNELS; ++c) {
        for (int p = 4; p < rix::RIX_ORDER_POSITIONS; ++p)
            data.orderTable[c][p] = 0;
        for (uint32_t& cell : data.patterns[c][1])
            if (cell != 0 && cell < 200)
                cell += random() % 7;
        data.channels[c].volume = 60 + static_cast<int32_t>(random() % 60);
    }
}

nexilon::CPtr<rix::IRixModule> NewModule()
{
    return nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId);
}

int WriteSongs(const std::string& folder, int count)
{
    for (int n = 1; n <= count; ++n) {
        auto module = NewModule();
        {
            rix::CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
            MakeSong(*data, n);
        }
        rix::SaveModuleFile(folder + "/song-" + std::to_string(n) + ".sonrix", *module);
    }
    return 0;
}

int Check(const std::string& capturePath, const std::string& songPath)
{
    std::ifstream in(capturePath, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<int16_t> capture(bytes.size() / 2);
    std::memcpy(capture.data(), bytes.data(), capture.size() * 2);

    auto module = NewModule();
    rix::LoadModuleFile(songPath, *module);
    auto player = nexilon::CreateInstance<rix::IRixModulePlayer>(rix::RIX_MODULE_PLAYER_CLASS);
    player->Connect(module.Get());
    std::vector<int16_t> render;
    int16_t block[4096];
    while (const uint64_t got = player->Read(block, sizeof block))
        render.insert(render.end(), block, block + got / 2);
    return !render.empty() && std::search(capture.begin(), capture.end(), render.begin(), render.end()) != capture.end()
               ? 0
               : 1;
}

[[noreturn]] void Churn(std::size_t megabytes)
{
    for (;;) {
        std::vector<char> block(megabytes << 20);
        for (std::size_t i = 0; i < block.size(); i += 4096)
            block[i] = static_cast<char>(i);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "churn" && argc == 3)
        Churn(std::strtoul(argv[2], nullptr, 10));
    if ((command != "songs" && command != "check") || argc != 4) {
        std::fprintf(stderr, "usage: underrun_tool songs DIR COUNT | check CAPTURE SONG | churn MEGABYTES\n");
        return 2;
    }
    nexilon::q.Init();
    rix::RegisterModuleClass();
    rix::RegisterPlayerClass();
    rix::RegisterArchiveStreamClasses();
    const int result = command == "songs" ? WriteSongs(argv[2], std::atoi(argv[3])) : Check(argv[2], argv[3]);
    nexilon::q.Close();
    return result;
}
