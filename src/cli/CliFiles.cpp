#include "CliFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "AtomicFile.h"
#include "ModuleFiles.h"
#include "nexilon/Exceptions.h"

namespace cli {

namespace {

constexpr const char* kStandardStream = "-";

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = text[text.size() - suffix.size() + i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != suffix[i])
            return false;
    }
    return true;
}

void RequireFileInput(const std::string& path)
{
    if (path == kStandardStream)
        throw CFileRefused("Standard input cannot be read; give the file's name");
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

TFileKind KindOfPath(const std::string& path)
{
    if (EndsWithIgnoringCase(path, ".sonrix"))
        return TFileKind::Module;
    if (EndsWithIgnoringCase(path, ".sonrixi"))
        return TFileKind::Instrument;
    return TFileKind::Unknown;
}

void LoadModuleFile(const std::string& path, rix::CRixModuleData& data)
{
    RequireFileInput(path);
    rix::ReadModuleFile(path, data);
}

void LoadInstrumentFile(const std::string& path, rix::CRixModuleChannel& channel)
{
    RequireFileInput(path);
    rix::ReadInstrumentFile(path, channel);
}

std::string OutputPath(const std::string& output, const std::vector<std::string>& inputs, TOutputData data)
{
    const bool standard = output == kStandardStream;
    if (standard && data == TOutputData::Binary && ::isatty(STDOUT_FILENO) == 1)
        throw CFileRefused("Standard output is a terminal; redirect it to a file or a program");
    // Whatever names the output (another path, a link, the shell's
    // redirection of standard output), the file behind it is compared.
    struct stat target {};
    const bool exists = standard ? ::fstat(STDOUT_FILENO, &target) == 0 : ::stat(output.c_str(), &target) == 0;
    if (exists && S_ISREG(target.st_mode)) {
        for (const std::string& input : inputs) {
            struct stat read {};
            if (::stat(input.c_str(), &read) == 0 && SameFile(read, target))
                throw CFileRefused("Would replace the input file " + input + "; nothing was written");
        }
    }
    return standard ? rix::CAtomicFile::kStandardOutput : output;
}

void WriteOutput(const std::string& output, const std::vector<std::string>& inputs, const std::string& bytes,
                 TOutputData data)
{
    const std::string path = OutputPath(output, inputs, data);
    // What the command printed before goes first.
    std::fflush(stdout);
    rix::CAtomicFile::WriteWhole(path, bytes);
}

std::string OutputName(const std::string& output)
{
    return output == kStandardStream ? "standard output" : output;
}

int ReportFileFailure(const std::string& path, const std::exception& error)
{
    const auto* framework = dynamic_cast<const nexilon::CException*>(&error);
    std::string message = framework ? framework->GetMessage() : std::string(error.what());
    const std::string name = path == kStandardStream ? "standard input" : path;
    if (message.starts_with(name + ": "))
        message.erase(0, name.size() + 2);
    std::fprintf(stderr, "sonrix3-cli: %s: %s\n", name.c_str(), message.c_str());
    return 1;
}

int FinishStandardOutput(int status)
{
    // A full disk or a broken file system behind standard output shows only
    // when the buffer is written out, or even only at the close.
    errno = 0;
    bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    int error = errno;
    if (std::fclose(stdout) != 0 && !failed) {
        failed = true;
        error = errno;
    }
    if (!failed)
        return status;
    std::fprintf(stderr, "sonrix3-cli: standard output: %s\n", error != 0 ? std::strerror(error) : "Write error");
    return status == 0 ? 1 : status;
}

} // namespace cli
