#include <cstdio>
#include <string>

#include "CliCommands.h"
#include "CliFiles.h"
#include "RixModuleData.h"
#include "SongJson.h"

// "dump FILE": the loaded file as JSON (SongJson) on standard output.
namespace cli {

int RunDump(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return UsageError("dump takes one FILE");
    const std::string& path = args[0];

    std::string json;
    try {
        switch (KindOfPath(path)) {
        case TFileKind::Module: {
            rix::CRixModuleData data;
            LoadModuleFile(path, data);
            json = ModuleJson(data);
            break;
        }
        case TFileKind::Instrument: {
            rix::CRixModuleChannel channel;
            LoadInstrumentFile(path, channel);
            json = InstrumentJson(channel);
            break;
        }
        case TFileKind::Unknown:
            return UsageError(path + ": not a module (.sonrix) or instrument (.sonrixi) file");
        }
    } catch (const std::exception& error) {
        return ReportFileFailure(path, error);
    }
    try {
        WriteOutput("-", {path}, json, TOutputData::Text);
    } catch (const std::exception& error) {
        return ReportFileFailure(OutputName("-"), error);
    }
    return 0;
}

} // namespace cli
