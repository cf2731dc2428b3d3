#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "AtomicFile.h"
#include "CliCommands.h"
#include "CliFiles.h"
#include "RixModuleData.h"
#include "RixSongExporter.h"
#include "nexilon/MemoryStream.h"

// "export-cpp IN.sonrix OUT.cpp": the C++ song tables the desktop program
// writes to RixSongData.cpp, byte for byte; OUT "-" is standard output.
namespace cli {

namespace {

void ExportToFile(const rix::CRixModuleData& data, const std::string& path)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> text = nexilon::CreateMemoryOutputStream();
    rix::CRixSongExporter().Export(data, *text);
    rix::CAtomicFile::WriteWhole(path, text->GetBytes());
}

void ExportToStandardOutput(const rix::CRixModuleData& data)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> text = nexilon::CreateMemoryOutputStream();
    rix::CRixSongExporter().Export(data, *text);
    const std::string& bytes = text->GetBytes();
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        throw std::runtime_error("Cannot write to standard output");
}

} // namespace

int RunExportCpp(const std::vector<std::string>& args)
{
    if (!args.empty() && args[0] == "--size")
        return RunExportSize({args.begin() + 1, args.end()});
    if (args.size() != 2)
        return UsageError("export-cpp needs IN.sonrix and OUT.cpp ('-' for standard output)");
    const std::string& input = args[0];
    const std::string& output = args[1];
    auto data = std::make_unique<rix::CRixModuleData>();
    try {
        LoadModuleFile(input, *data);
    } catch (const std::exception& error) {
        return ReportFileFailure(input, error);
    }
    try {
        if (output == "-")
            ExportToStandardOutput(*data);
        else
            ExportToFile(*data, output);
    } catch (const std::exception& error) {
        return ReportFileFailure(output == "-" ? "standard output" : output, error);
    }
    return 0;
}

} // namespace cli
