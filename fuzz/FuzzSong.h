#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include <unistd.h>

#include "IRixModulePlayer.h"
#include "ModuleArchive.h"
#include "RixConstants.h"
#include "RixModule.h"
#include "RixModuleData.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/Nexilon.h"

// What the targets share: the framework set up once, and a fuzzer's bytes
// read as a song or an instrument.
namespace fuzzing {

// The framework and the program's classes, registered on the first call.
inline void RegisterClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
    });
}

// A folder of this process for the files targets write, in memory where
// the system has one; removed when the process exits normally.
inline const std::string& Folder()
{
    // Never destroyed, so that it outlives the exit handler.
    static const std::string* const folder = [] {
        std::string pattern = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/sonrix3-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return new std::string(pattern);
    }();
    return *folder;
}

// Reads the bytes the way the editor and the command-line tool read a
// file (rix::ReadModuleFile, rix::ReadInstrumentFile): from a file, through
// the archive stream adapters. Nothing when the read fails.
template <class T, class TRead>
std::optional<T> ReadAsFile(const uint8_t* data, size_t size, TRead read)
{
    static const bool registered = (rix::RegisterArchiveStreamClasses(), true);
    (void)registered;
    const std::string path = Folder() + "/input";
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!file.flush())
            std::abort();
    }
    T loaded;
    try {
        read(path, loaded);
    } catch (const nexilon::CException&) {
        return std::nullopt;
    }
    return loaded;
}

// Reads the bytes as a file of type T (CRixModuleData, CRixModuleChannel);
// nothing when the reader refuses them with a framework exception.
template <class T>
std::optional<T> Load(const uint8_t* data, size_t size)
{
    T loaded;
    try {
        auto input = nexilon::CreateMemoryInputStream(std::string_view(reinterpret_cast<const char*>(data), size));
        nexilon::CInputStreamSelector selector(input.Get());
        loaded.Load(selector);
    } catch (const nexilon::CException&) {
        return std::nullopt;
    }
    return loaded;
}

// Shortens the song so that rendering it whole stays quick: one pass lasts
// at most samples for a light song (16 oscillators and effects or fewer),
// proportionally less for a heavier one. The order table keeps the
// positions that fit; where not even one does, the tempo is raised.
inline void FitSong(rix::CRixModuleData& song, uint64_t samples)
{
    uint64_t parts = 0;
    for (const rix::CRixModuleChannel& channel : song.channels)
        parts += channel.oscillators.size() + channel.transitionOscillators.size() + channel.effects.size();
    const uint64_t longest = std::max<uint64_t>(samples * 16 / std::max<uint64_t>(parts, 16), 4096);
    song.bpm = std::max(song.bpm, 1);
    while (uint64_t(song.GetRowLength()) * rix::RIX_ROWS > longest)
        song.bpm = static_cast<int32_t>(std::min<int64_t>(int64_t{song.bpm} * 2, INT32_MAX));
    const uint64_t fitting = longest / (uint64_t(song.GetRowLength()) * rix::RIX_ROWS);
    for (auto& table : song.orderTable)
        for (uint64_t position = fitting; position < rix::RIX_ORDER_POSITIONS; ++position)
            table[position] = 0;
}

} // namespace fuzzing
