#include <cstdio>

#include "CliCommands.h"

namespace cli {

int RunConvert(const std::vector<std::string>&)
{
    std::fprintf(stderr, "sonrix3-cli: 'convert' is not available in this build\n");
    return 1;
}

} // namespace cli
