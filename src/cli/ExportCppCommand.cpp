#include <memory>
#include <string>

#include "CliCommands.h"
#include "CliFiles.h"
#include "RixModuleData.h"
#include "RixSongExporter.h"
#include "nexilon/MemoryStream.h"

// "export-cpp [--exact] IN.sonrix OUT.cpp": the C++ song tables the desktop
// program writes to RixSongData.cpp, byte for byte; OUT "-" is standard
// output. --exact writes the form that plays exactly as the editor does.
namespace cli {

bool TakeOption(std::vector<std::string>& args, const std::string& option)
{
    for (auto arg = args.begin(); arg != args.end(); ++arg) {
        if (*arg == option) {
            args.erase(arg);
            return true;
        }
    }
    return false;
}

int RunExportCpp(const std::vector<std::string>& arguments)
{
    std::vector<std::string> args = arguments;
    if (TakeOption(args, "--size"))
        return RunExportSize(arguments);
    const bool exact = TakeOption(args, "--exact");
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
        nexilon::CPtr<nexilon::IMemoryOutputStream> text = nexilon::CreateMemoryOutputStream();
        rix::CRixSongExporter().Export(*data, *text, exact);
        WriteOutput(output, {input}, text->GetBytes(), TOutputData::Text);
    } catch (const std::exception& error) {
        return ReportFileFailure(OutputName(output), error);
    }
    return 0;
}

} // namespace cli
