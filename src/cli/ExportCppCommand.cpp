#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "CliCommands.h"
#include "CliFiles.h"
#include "RixModuleData.h"
#include "RixSongExporter.h"
#include "nexilon/Exceptions.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/OutputStreamSelector.h"

// "export-cpp IN.sonrix OUT.cpp": the C++ song tables the desktop program
// writes to RixSongData.cpp, byte for byte; OUT "-" is standard output.
namespace cli {

namespace {

void ExportToFile(const rix::CRixModuleData& data, const std::string& path)
{
    nexilon::COutputStreamSelector selector{nexilon::CString(std::string_view(path))};
    nexilon::IOutputStream& stream = *selector.GetOutputStreamTmp();
    rix::CRixSongExporter().Export(data, stream);
    // Closing reports a write that failed in the file's buffer.
    stream.Close();
}

void ExportToStandardOutput(const rix::CRixModuleData& data)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> text = nexilon::CreateMemoryOutputStream();
    rix::CRixSongExporter().Export(data, *text);
    const std::string& bytes = text->GetBytes();
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        throw std::runtime_error("Cannot write to standard output");
}

// The framework's file errors already start with the path, which the
// report puts first anyway.
int ReportExportFailure(const std::string& path, const std::exception& error)
{
    const auto* framework = dynamic_cast<const nexilon::CException*>(&error);
    std::string message = framework ? framework->GetMessage() : std::string(error.what());
    if (message.starts_with(path + ": "))
        message.erase(0, path.size() + 2);
    return ReportFileFailure(path, std::runtime_error(message));
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
        return ReportExportFailure(output == "-" ? "standard output" : output, error);
    }
    return 0;
}

} // namespace cli
