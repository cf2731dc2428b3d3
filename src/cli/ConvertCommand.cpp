#include <string>

#include "CliCommands.h"
#include "CliFiles.h"
#include "ModuleFiles.h"
#include "RixModuleData.h"

// "convert IN OUT": any readable version in, the current version out. A
// module stays a module and an instrument an instrument.
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
    if (KindOfPath(out) != kind)
        return UsageError(out + ": must have the extension of IN (" +
                          (kind == TFileKind::Module ? ".sonrix" : ".sonrixi") + ")");

    if (kind == TFileKind::Module) {
        rix::CRixModuleData data;
        try {
            LoadModuleFile(in, data);
        } catch (const std::exception& error) {
            return ReportFileFailure(in, error);
        }
        try {
            rix::WriteModuleFile(out, data);
        } catch (const std::exception& error) {
            return ReportFileFailure(out, error);
        }
        return 0;
    }

    rix::CRixModuleChannel channel;
    try {
        LoadInstrumentFile(in, channel);
    } catch (const std::exception& error) {
        return ReportFileFailure(in, error);
    }
    try {
        rix::WriteInstrumentFile(out, channel);
    } catch (const std::exception& error) {
        return ReportFileFailure(out, error);
    }
    return 0;
}

} // namespace cli
