#pragma once

#include <cstdint>
#include <string>

namespace rix {

class CRixModuleChannel;
class IRixModule;

// Instrument files (".sonrixi") of one channel of the song module.
//
// Load reads the file into a copy of the channel (the file's records are
// added to what the channel holds, as the format says) and only a complete
// load replaces the channel, so a broken file changes nothing. Save writes
// to a temporary file beside the target and renames it over the target when
// everything reached the disk, so a failed save keeps the old file. Both
// hold the module lock only to copy the channel, never during file access.
// They throw the framework's exceptions (CDataFormatException,
// CIOException, CFileException).
class CInstrumentFile {
public:
    static void Load(const std::string& path, IRixModule& module, int32_t channel);
    // Reads the file into an instrument that is not part of a module (the
    // editors load into a copy and store it as one undoable change).
    static void Read(const std::string& path, CRixModuleChannel& instrument);
    static void Save(const std::string& path, IRixModule& module, int32_t channel);
};

} // namespace rix
