#include "cli/Commands.h"

#include <cstdio>

int CmdTraces(int, char **)
{
    std::fprintf(stderr, "vela-cli: this command is not available in this build\n");
    return 1;
}
