#include <memory>
#include <string>

#include "CliCommands.h"
#include "CliFiles.h"
#include "ModuleFiles.h"
#include "RixModuleData.h"

// "convert IN OUT": any readable version in, the current version out. A
// module stays a module and an instrument an instrument; OUT "-" is
// standard output.
namespace cli {

int RunConvert(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        return UsageError("convert takes IN and OUT");
    const std::string& in = args[0];
    const std::string& out = args[1];
    const TFileKind kind = KindOfPath(in);
    if (kind == TFileKind::Unknown)
        return UsageError(in + ": not a module (.sonrix) or instrument (.sonrixi) file");
    if (KindOfPath(out) != kind && out != "-")
        return UsageError(out + ": must have the extension of IN (" +
                          (kind == TFileKind::Module ? ".sonrix" : ".sonrixi") + ")");

    auto module = std::make_unique<rix::CRixModuleData>();
    rix::CRixModuleChannel channel;
    try {
        if (kind == TFileKind::Module)
            LoadModuleFile(in, *module);
        else
            LoadInstrumentFile(in, channel);
    } catch (const std::exception& error) {
        return ReportFileFailure(in, error);
    }
    try {
        const std::string path = OutputPath(out, {in}, TOutputData::Binary);
        if (kind == TFileKind::Module)
            rix::WriteModuleFile(path, *module);
        else
            rix::WriteInstrumentFile(path, channel);
    } catch (const std::exception& error) {
        return ReportFileFailure(OutputName(out), error);
    }
    return 0;
}

} // namespace cli
