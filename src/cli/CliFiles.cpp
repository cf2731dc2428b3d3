#include "CliFiles.h"

#include <cstdio>

#include "ModuleFiles.h"
#include "nexilon/Exceptions.h"

namespace cli {

namespace {

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
    rix::ReadModuleFile(path, data);
}

void LoadInstrumentFile(const std::string& path, rix::CRixModuleChannel& channel)
{
    rix::ReadInstrumentFile(path, channel);
}

int ReportFileFailure(const std::string& path, const std::exception& error)
{
    const auto* framework = dynamic_cast<const nexilon::CException*>(&error);
    const std::string message = framework ? framework->GetMessage() : std::string(error.what());
    std::fprintf(stderr, "sonrix3-cli: %s: %s\n", path.c_str(), message.c_str());
    return 1;
}

} // namespace cli
