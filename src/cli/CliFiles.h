#pragma once

#include <exception>
#include <string>

namespace rix {
class CRixModuleChannel;
class CRixModuleData;
} // namespace rix

// Loading and saving the program's files for the command-line tool, and
// the tool's way of reporting a failed file.
namespace cli {

enum class TFileKind {
    Module,     // ".sonrix"
    Instrument, // ".sonrixi"
    Unknown,
};

// By extension, ignoring case.
TFileKind KindOfPath(const std::string& path);

// Loads a module file of any readable version the way the document opens
// one (through an archive on the file). The data is reset first. Throws the
// framework's exceptions, CFileException when the file cannot be read.
void LoadModuleFile(const std::string& path, rix::CRixModuleData& data);
// Loads an instrument file into the channel, which is not reset first.
void LoadInstrumentFile(const std::string& path, rix::CRixModuleChannel& channel);

// Save in the current version. The data goes to a temporary file beside the
// target, reaches the disk, and only then replaces the target, so a failed
// save leaves the old file as it was.
void SaveModuleFile(const std::string& path, const rix::CRixModuleData& data);
void SaveInstrumentFile(const std::string& path, const rix::CRixModuleChannel& channel);

// Prints "sonrix3-cli: PATH: MESSAGE" as one line on standard error and
// returns 1, the exit status of a failed command.
int ReportFileFailure(const std::string& path, const std::exception& error);

} // namespace cli
