#include "cli/Commands.h"

#include <cstdio>

int CmdModes(int, char **)
{
    std::fprintf(stderr, "vela-cli: this command is not available in this build\n");
    return 1;
}
