#include <cstdio>

#include "CliCommands.h"

namespace cli {

int RunExportCpp(const std::vector<std::string>&)
{
    std::fprintf(stderr, "sonrix3-cli: 'export-cpp' is not available in this build\n");
    return 1;
}

} // namespace cli
