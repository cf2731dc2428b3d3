#include <cstdio>

#include "CliCommands.h"

namespace cli {

int RunDump(const std::vector<std::string>&)
{
    std::fprintf(stderr, "sonrix3-cli: 'dump' is not available in this build\n");
    return 1;
}

} // namespace cli
