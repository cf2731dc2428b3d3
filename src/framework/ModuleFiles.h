#pragma once

#include <cstdint>
#include <string>

namespace rix {

class CRixModuleChannel;
class CRixModuleData;
class IRixModule;

// Module (".sonrix") and instrument (".sonrixi") files by path, for the
// editor and the command-line tool alike. Reading goes through an archive
// on the file, as the document does; writing goes through CAtomicFile, so a
// failed save leaves the old file exactly as it was. Failures are the
// framework's exceptions: CFileException (path and the system's reason)
// when the file cannot be read or written, CDataFormatException for
// broken contents ("The file is empty" for an empty one). The messages of
// an instrument read name the file ("PATH: reason"); the callers of the
// others name it themselves. Needs the archive stream classes registered.

// On the song shared with players and editors. A load reads the whole file
// into a copy first and takes the module's write lock only to swap it in,
// so a file that fails to load leaves the song exactly as it was and the
// change counter where it stood. A save takes the read lock only while the
// song is copied (a module) or turned into bytes in memory (an instrument). Called on the thread that edits the
// song (the user-interface thread): an instrument load starts from a copy
// of the channel, since a file without a channel record adds to what the
// channel holds, and an edit of that channel by another thread between
// the copy and the swap would be lost.
void LoadModuleFile(const std::string& path, IRixModule& module);
void SaveModuleFile(const std::string& path, IRixModule& module);
// channel 0..7; CInvalidParameterException otherwise.
void LoadInstrumentFile(const std::string& path, IRixModule& module, int32_t channel);
void SaveInstrumentFile(const std::string& path, IRixModule& module, int32_t channel);

// On data of the caller's own that no one else sees (the command-line
// tool's). A module read resets the data first; an instrument read adds to
// the channel. A failed read leaves the data partly filled.
void ReadModuleFile(const std::string& path, CRixModuleData& data);
void ReadInstrumentFile(const std::string& path, CRixModuleChannel& channel);
void WriteModuleFile(const std::string& path, const CRixModuleData& data);
void WriteInstrumentFile(const std::string& path, const CRixModuleChannel& channel);

} // namespace rix
