#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace rix {
class CRixModuleChannel;
class CRixModuleData;
} // namespace rix

// The command-line tool's files: what it reads, every output it writes, and
// its way of reporting a failed file. All commands follow the same rules,
// kept here:
// - "-" as an output is standard output; binary data (a WAV file, a song)
//   is not written to a terminal. "-" as an input is refused: songs and
//   instruments are read from regular files only.
// - An output is never one of the command's inputs, whatever path or link
//   names it; checked before anything is read or written.
// - Files are written whole or not at all (CAtomicFile); standard output is
//   checked when the command ends (FinishStandardOutput), so a full disk or
//   a failed close behind it is an exit status 1 with a message.
namespace cli {

enum class TFileKind {
    Module,     // ".sonrix"
    Instrument, // ".sonrixi"
    Unknown,
};

enum class TOutputData {
    Text,
    Binary,
};

// A failure about a command's files before any of them is touched; its
// message is the reason, the file is named by whoever reports it.
class CFileRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// By extension, ignoring case.
TFileKind KindOfPath(const std::string& path);

// The tool's own copy of a song or an instrument, shared with no one: read
// straight into it (rix::ReadModuleFile, rix::ReadInstrumentFile). Throws
// the framework's exceptions, CFileException when the file cannot be read,
// CFileRefused for "-".
void LoadModuleFile(const std::string& path, rix::CRixModuleData& data);
void LoadInstrumentFile(const std::string& path, rix::CRixModuleChannel& channel);

// The path to give a writer for an output argument ("/dev/stdout" for "-"),
// once the output is known not to be one of inputs and, for binary data,
// not a terminal; CFileRefused otherwise.
std::string OutputPath(const std::string& output, const std::vector<std::string>& inputs, TOutputData data);
// Writes the bytes as the output, whole or not at all (OutputPath's checks
// first). Throws CFileRefused or the framework's exceptions.
void WriteOutput(const std::string& output, const std::vector<std::string>& inputs, const std::string& bytes,
                 TOutputData data);
// The name of an argument in messages: "standard output" for "-".
std::string OutputName(const std::string& output);

// Prints "sonrix3-cli: PATH: MESSAGE" as one line on standard error and
// returns 1, the exit status of a failed command. A message that names the
// file already is not given the name twice.
int ReportFileFailure(const std::string& path, const std::exception& error);

// Called once a command has returned its status: writes out and closes
// standard output. A failure there turns a status 0 into 1, with a message.
int FinishStandardOutput(int status);

} // namespace cli
