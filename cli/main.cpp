// vela-cli: runs one sub-command of the VELA analysis without a window.
#include "cli/Commands.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

struct Command
{
    const char *name;
    int (*run)(int, char **);
    const char *synopsis;
};

const Command Commands[] = {
    { "modes", CmdModes,
        "modes --model FILE [--fmin F --fmax F --df D | --freqs FILE] [--modes M] [--refine R]\n"
        "        Rayleigh modal phase velocities of a layered profile (CSV)" },
    { "forward", CmdForward,
        "forward --model FILE --curve FILE [--spacing S --receivers N --modes M --refine R]\n"
        "        modal, apparent and effective curves and the misfits of a profile (CSV)" },
    { "invert", CmdInvert,
        "invert --model FILE --curve FILE [--iterations N --target-error PCT --modes M\n"
        "        --refine R --spacing S --receivers N --strong-contrasts]\n"
        "        automatic search of the Vs profile through runner" },
    { "traces", CmdTraces,
        "traces FILE [--sheet NAME]\n"
        "        reads a trace file (TXT, SEG-2, SEG-Y, SU, XLS, DRM) and summarises it" },
    { "spectrum", CmdSpectrum,
        "spectrum FILE [--sheet NAME] --dx M [--dt MS] [--receivers FIRST LAST]\n"
        "        [--window START_MS END_MS] [--reverse] --band FMIN FMAX [--points OUT.txt]\n"
        "        [--image OUT.png]\n"
        "        f-k spectrum of a shot and the curve picked in the band (CSV)" },
    { "classify", CmdClassify,
        "classify --model FILE [--offset M] [--code dm2008|opcm2003|ntc2018|asce7-22]\n"
        "        Vs30 and the seismic soil category of the model's final Vs profile" },
    { "passive", CmdPassive,
        "passive FILE --dx M [--dt MS] [--receivers FIRST LAST] [--window START_MS END_MS]\n"
        "        --band FMIN FMAX [--image OUT.png]\n"
        "        slowness-frequency image of an ambient-noise record; velocity of its peak at\n"
        "        each frequency of the band (CSV; receivers numbered from 1)" },
};

void PrintUsage(FILE *out)
{
    std::fprintf(out, "Usage: vela-cli COMMAND [OPTIONS]\n\nCommands:\n");
    for (const Command &command : Commands)
        std::fprintf(out, "  %s\n", command.synopsis);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    for (const Command &command : Commands) {
        if (std::strcmp(argv[1], command.name) == 0)
            return command.run(argc - 2, argv + 2);
    }
    std::fprintf(stderr, "vela-cli: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}
