#include "cli/Commands.h"

#include <cstdio>

int CmdForward(int, char **)
{
    std::fprintf(stderr, "vela-cli: this command is not available in this build\n");
    return 1;
}
