#pragma once

#include <exception>
#include <string>

namespace rix {
class CRixModuleChannel;
class CRixModuleData;
} // namespace rix

// The command-line tool's file kinds and its way of reporting a failed file.
namespace cli {

enum class TFileKind {
    Module,     // ".sonrix"
    Instrument, // ".sonrixi"
    Unknown,
};

// By extension, ignoring case.
TFileKind KindOfPath(const std::string& path);

// The tool's own copy of a song or an instrument, shared with no one: read
// straight into it (rix::ReadModuleFile, rix::ReadInstrumentFile). Throws
// the framework's exceptions, CFileException when the file cannot be read.
void LoadModuleFile(const std::string& path, rix::CRixModuleData& data);
void LoadInstrumentFile(const std::string& path, rix::CRixModuleChannel& channel);

// Prints "sonrix3-cli: PATH: MESSAGE" as one line on standard error and
// returns 1, the exit status of a failed command.
int ReportFileFailure(const std::string& path, const std::exception& error);

} // namespace cli
