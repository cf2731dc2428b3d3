#include <cstdio>

#include "CliCommands.h"

namespace cli {

int RunRender(const std::vector<std::string>&)
{
    std::fprintf(stderr, "sonrix3-cli: 'render' is not available in this build\n");
    return 1;
}

} // namespace cli
