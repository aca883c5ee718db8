// vela-cli: runs one sub-command of the VELA analysis without a window.
#include "cli/Commands.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct Command
{
    const char *name;
    int (*run)(int, char **);
    const char *synopsis;
    const char *details; ///< printed after the synopsis by "vela-cli COMMAND --help"
};

const Command Commands[] = {
    { "modes", CmdModes,
        "modes --model FILE [--fmin F --fmax F --df D | --freqs FILE] [--modes M] [--refine R]\n"
        "        Rayleigh modal phase velocities of a layered profile (CSV)",
        "Options:\n"
        "  --model FILE   layered profile, one layer per line: thickness[m] Vp[m/s] Vs[m/s]\n"
        "                 density[kg/m3]; the last line is the half-space\n"
        "  --fmin F, --fmax F, --df D\n"
        "                 frequency band and step [Hz]\n"
        "  --freqs FILE   frequencies [Hz] from a file instead, one per line\n"
        "  --modes M      number of modes\n"
        "  --refine R     refinement factor of the root search (up to 100)\n" },
    { "forward", CmdForward,
        "forward --model FILE --curve FILE [--spacing S --receivers N --modes M --refine R]\n"
        "        modal, apparent and effective curves and the misfits of a profile (CSV)",
        "Options:\n"
        "  --model FILE   layered profile (see vela-cli modes --help)\n"
        "  --curve FILE   experimental dispersion curve: frequency[Hz] velocity[m/s]\n"
        "                 [lower upper] per line\n"
        "  --spacing S    receiver spacing [m]\n"
        "  --receivers N  number of receivers\n"
        "  --modes M      number of modes\n"
        "  --refine R     refinement factor of the root search (up to 100)\n" },
    { "invert", CmdInvert,
        "invert --model FILE --curve FILE [--iterations N --target-error PCT --modes M\n"
        "        --refine R --spacing S --receivers N --strong-contrasts --starts K]\n"
        "        automatic search of the Vs profile through runner; the final profile as a\n"
        "        model file on standard output, the progress on standard error",
        "Options:\n"
        "  --model FILE        starting profile (see vela-cli modes --help); columns 6 and 7\n"
        "                      may give Vs min and Vs max\n"
        "  --curve FILE        experimental dispersion curve (see vela-cli forward --help)\n"
        "  --iterations N      largest number of iterations\n"
        "  --target-error PCT  misfit at which the search stops [%]\n"
        "  --modes M, --refine R, --spacing S, --receivers N\n"
        "                      as for vela-cli forward (one mode unless --modes)\n"
        "  --strong-contrasts  allow strong velocity contrasts between layers\n"
        "  --starts K          search from K starts (1 to 1000): the best profile, then\n"
        "                      vs30_ms, vs30_range_ms (10 % and 90 %),\n"
        "                      depth_of_investigation_m, misfit_normalised and the Vs band\n"
        "                      depth_m,vs_p10_ms,vs_median_ms,vs_p90_ms; comment lines\n"
        "                      (\"# warning: ...\") name layers on or cut by their bounds\n"
        "                      and a depth of investigation under 30 m\n" },
    { "profile", CmdProfile,
        "profile --curve FILE [--layers N]\n"
        "        the initial profile proposed from a curve, as a model file (N from 1 to 9)",
        "Prints the profile page's default table with the initial Vs proposed from the curve,\n"
        "one line per layer, the half-space last: thickness, Vp, Vs, density, Poisson's\n"
        "ratio, Vs min, Vs max (a model file that forward and invert read).\n"
        "Options:\n"
        "  --curve FILE   experimental dispersion curve (see vela-cli forward --help)\n"
        "  --layers N     number of layers above the half-space (default 8)\n" },
    { "traces", CmdTraces,
        "traces FILE [--sheet NAME]\n"
        "        reads a trace file (TXT, SEG-2, SEG-Y, SU, XLS, XLSX, DRM) and summarises it",
        "The reader follows the extension: .txt; .sg2, .seg2, .dat; .sgy, .segy; .su; .xls,\n"
        ".xlsx; .drm. Prints format, traces, samples, time_step_ms, spacing_m (what the page\n"
        "proposes: the file's spacing, else 1), source_offset_m and delay_ms (only when the\n"
        "file states them), then one CSV row per trace: its rms and first five samples.\n"
        "Options:\n"
        "  --sheet NAME   worksheet of an Excel file (default: the first one)\n" },
    { "spectrum", CmdSpectrum,
        "spectrum FILE [FILE...] [--sheet NAME] --dx M [--dt MS] [--receivers FIRST LAST]\n"
        "        [--window START_MS END_MS] [--reverse] --band FMIN FMAX [--points OUT.txt]\n"
        "        [--image OUT.png] [--method fk|phase-shift] [--vrange VMIN VMAX]\n"
        "        [--source-offset M]\n"
        "        f-k spectrum of a shot (several files of one geometry are stacked) and the\n"
        "        curve picked in the band, or the phase-shift image and its guided pick (CSV)",
        "Prints freq_hz,velocity_ms in increasing frequency: with fk the velocity of the\n"
        "strongest wavenumber at each frequency of the band; with phase-shift the guided pick\n"
        "that follows the ridge of the frequency-velocity image.\n"
        "Options:\n"
        "  FILE...                 one record, or several of one geometry to stack\n"
        "  --sheet NAME            worksheet of an Excel file (default: the first one)\n"
        "  --dx M                  receiver spacing [m]\n"
        "  --dt MS                 time step [ms] instead of the file's\n"
        "  --receivers FIRST LAST  receivers used, numbered from 1 (default: all)\n"
        "  --window START_MS END_MS\n"
        "                          time window [ms] from the first sample (default: all)\n"
        "  --reverse               the shot is at the far end of the spread\n"
        "  --band FMIN FMAX        frequency band of the picking [Hz]\n"
        "  --method fk|phase-shift transform (default fk)\n"
        "  --vrange VMIN VMAX      phase-shift velocity range [m/s] (default 50 1000)\n"
        "  --source-offset M       source to first receiver used [m] (default: one spacing)\n"
        "  --points OUT.txt        automatic points as a four-column curve file\n"
        "  --image OUT.png         the spectrum image\n" },
    { "classify", CmdClassify,
        "classify --model FILE [--offset M] [--code dm2008|opcm2003|ntc2018|asce7-22]\n"
        "        Vs30 and the seismic soil category of the model's final Vs profile",
        "Prints vs30_ms, the chosen code's own average (vseq_ms and h_m for ntc2018,\n"
        "vs100ft_ms for asce7-22) and category (a letter, or none when the code asks for a\n"
        "site-specific analysis).\n"
        "Options:\n"
        "  --model FILE   layered profile (see vela-cli modes --help); its Vs is the final Vs\n"
        "  --offset M     depth of the reference plane below the surface [m] (default 0)\n"
        "  --code NAME    dm2008 (default), opcm2003, ntc2018 or asce7-22\n" },
    { "passive", CmdPassive,
        "passive FILE --dx M [--dt MS] [--receivers FIRST LAST] [--window START_MS END_MS]\n"
        "        --band FMIN FMAX [--image OUT.png]\n"
        "        slowness-frequency image of an ambient-noise record; velocity of its peak at\n"
        "        each frequency of the band (CSV; receivers numbered from 1)",
        "Prints freq_hz,velocity_ms: for every frequency of the image inside the band, the\n"
        "velocity of the image's largest value.\n"
        "Options:\n"
        "  --dx M                  receiver spacing [m]\n"
        "  --dt MS                 time step [ms] instead of the file's\n"
        "  --receivers FIRST LAST  receivers used, numbered from 1 (default: all)\n"
        "  --window START_MS END_MS\n"
        "                          time window [ms] from the first sample (default: all)\n"
        "  --band FMIN FMAX        frequency band [Hz]\n"
        "  --image OUT.png         the passive image\n" },
    { "map", CmdMap,
        "map FILE... --spacing M --image OUT.png [--rtf OUT.rtf]\n"
        "        two-dimensional Vs section of saved analyses placed M metres apart",
        "Each FILE is a saved analysis (.vla) carried to the results page, or a text profile\n"
        "(.txt: the profile page's export, or a model file as for vela-cli modes); the\n"
        "profiles lie along the line in the order given.\n"
        "Prints profiles, width_px, height_px, zmax_m (deepest bottom of a last layer), vmin_ms\n"
        "and vmax_ms.\n"
        "Options:\n"
        "  --spacing M      distance between the traces [m]\n"
        "  --image OUT.png  the section picture at its own size: 20 (profiles - 1) + 1 by 100\n"
        "                   pixels\n"
        "  --rtf OUT.rtf    the section's report\n" },
    { "analyse", CmdAnalyse,
        "analyse RECORD... --dx M [--dt MS] [--receivers FIRST LAST] [--window START_MS END_MS]\n"
        "        [--reverse] --band FMIN FMAX [--layers N] [--modes M] [--iterations K]\n"
        "        [--max-error PCT] [--code dm2008|opcm2003|ntc2018|asce7-22]\n"
        "        (--out FILE.vla [--report FILE.rtf] | --out-dir DIR) [--verbose]\n"
        "        a whole analysis of each shot record: spectrum, curve, automatic search of the\n"
        "        profile, Vs30 and category; the document VELA opens and the report",
        "Each record goes through the steps of the pages: the traces read and windowed, the f-k\n"
        "spectrum and the curve picked in the band, the curve page's automatic points, the\n"
        "profile page's default table with the initial Vs from the curve, the automatic search\n"
        "through runner, and the results page's classification with nothing special declared.\n"
        "Prints per record record, picked_points, vs30_ms, the code's own average as classify\n"
        "prints it, category, misfit_apparent, misfit_effective (fractions), iterations, then\n"
        "the final profile layer,thickness_m,vs_ms (the half-space last, thickness 0); records\n"
        "are separated by an empty line. A record that fails is named on standard error with its\n"
        "message and the others go on; the exit code is 0 only when every record succeeded.\n"
        "Options:\n"
        "  --dx M                  receiver spacing [m]\n"
        "  --dt MS                 time step [ms] instead of the file's\n"
        "  --receivers FIRST LAST  receivers used, numbered from 1 (default: all)\n"
        "  --window START_MS END_MS\n"
        "                          time window [ms] from the first sample (default: all)\n"
        "  --reverse               the shot is at the far end of the spread\n"
        "  --band FMIN FMAX        frequency band of the picking [Hz]\n"
        "  --layers N              layers above the half-space, 1 to 8 (default 8)\n"
        "  --modes M               modes of the search (default 1)\n"
        "  --iterations K          largest number of iterations (default 10)\n"
        "  --max-error PCT         misfit at which the search stops: 5, 10, 15, 20, 30 or 40 %\n"
        "                          (default 20)\n"
        "  --code NAME             dm2008 (default), opcm2003, ntc2018 or asce7-22\n"
        "  --out FILE.vla          the document of a single record\n"
        "  --report FILE.rtf       with --out: the analysis report, figures included\n"
        "  --out-dir DIR           for each record NAME.vla and NAME.rtf named after it, and\n"
        "                          summary.csv: record,vs30_ms,category,misfit_apparent,\n"
        "                          misfit_effective,status (ok, or the record's message)\n"
        "  --verbose               progress on standard error even when it is not a terminal\n" },
};

void PrintUsage(FILE *out)
{
    std::fprintf(
        out, "Usage: vela-cli COMMAND [OPTIONS]\n       vela-cli --version\n\nCommands:\n");
    for (const Command &command : Commands)
        std::fprintf(out, "  %s\n", command.synopsis);
    std::fprintf(out, "\n\"vela-cli COMMAND --help\" describes a command's options.\n");
}

bool AsksForHelp(int argc, char **argv)
{
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // analyse draws the report's charts with the chart widget, never shown: it needs a
    // QApplication, on the off-screen platform unless the user chose one.
    std::unique_ptr<QCoreApplication> application;
    if (argc >= 2 && std::strcmp(argv[1], "analyse") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's own notices (a missing runtime folder and the like) would break the one-line
        // rule of standard error; the command reports its failures itself.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fprintf(stderr, "%s\n", qPrintable(text));
        });
        application = std::make_unique<QApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("vela-cli %s\n", VELA_VERSION);
        return 0;
    }
    for (const Command &command : Commands) {
        if (std::strcmp(argv[1], command.name) != 0)
            continue;
        // Help is answered here, before the command looks at its other arguments.
        if (AsksForHelp(argc - 2, argv + 2)) {
            std::printf("Usage: vela-cli %s\n\n%s", command.synopsis, command.details);
            return 0;
        }
        return command.run(argc - 2, argv + 2);
    }
    std::fprintf(stderr, "vela-cli: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}
