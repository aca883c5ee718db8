// vela-cli invert: the automatic search of the Vs profile, run exactly as VELA runs it: a
// search job file, the runner process beside this program, progress over a socket pair.
#include "app/profile/CProgressReceiver.h"
#include "app/profile/EngineJobFiles.h"
#include "cli/CliCurveFile.h"
#include "cli/CliModelFile.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "engine/RayleighSolver.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <climits>
#include <unistd.h>

namespace {

constexpr int MaxReceivers = 8192;
constexpr int MaxIterations = 1000;
// runner reads the job's solver parameter as this many times the refinement factor.
constexpr double SolverParameterPerRefinement = 15.0;
// Without velocity bounds a curve point's standard deviation is taken as 5% of its velocity,
// what bounds of +-15% would give (a sixth of their width).
constexpr double DefaultRelativeDeviation = 0.05;

const char *const Command = "invert";

struct InvertOptions
{
    std::string modelPath;
    std::string curvePath;
    int iterations = 10;
    double targetErrorPercent = 5.0;
    int modes = 3;
    double refinement = 5.0;
    double spacing = 1.0;
    int receivers = 24;
    bool strongContrasts = false;
};

bool ParseOptions(int argc, char **argv, InvertOptions &o, std::string &error)
{
    std::vector<CliOption> given;
    if (!SplitCliOptions(argc, argv, { "--strong-contrasts" }, given, error))
        return false;
    for (const CliOption &option : given) {
        const std::string &name = option.name;
        bool ok = true;
        if (name == "--strong-contrasts") {
            o.strongContrasts = true;
        } else if (name == "--model") {
            o.modelPath = option.value;
        } else if (name == "--curve") {
            o.curvePath = option.value;
        } else if (name == "--iterations") {
            ok = CliWholeOption(option, 0, MaxIterations, o.iterations, error);
        } else if (name == "--modes") {
            ok = CliWholeOption(option, 1, RayleighMaxModes, o.modes, error);
        } else if (name == "--receivers") {
            ok = CliWholeOption(option, 1, MaxReceivers, o.receivers, error);
        } else if (name == "--target-error") {
            ok = CliNumberOption(option, o.targetErrorPercent, error);
            if (ok && !(o.targetErrorPercent >= 0)) {
                error = "option --target-error: expected a percentage of 0 or more, got '"
                    + option.value + "'";
                ok = false;
            }
        } else if (name == "--refine") {
            ok = CliRefinementOption(option, o.refinement, error);
        } else if (name == "--spacing") {
            ok = CliPositiveOption(option, "the receiver spacing", o.spacing, error);
        } else {
            error = CliUnknownOption(option);
            ok = false;
        }
        if (!ok)
            return false;
    }
    return CliRequireOption(o.modelPath, "--model FILE", error)
        && CliRequireOption(o.curvePath, "--curve FILE", error);
}

// Fills the profile items of the job: the common conversion, plus the bounds from columns 6
// and 7 or half and twice the start Vs.
bool FillProfile(const CliModel &model, SearchJob &job, std::string &error)
{
    std::vector<double> vsMin, vsMax;
    const auto bounds = [&](const CliModelLayer &layer, const std::string &where,
                            std::string &message) {
        const double s = layer.values[2];
        double low = 0.5 * s, high = 2.0 * s;
        if (layer.columnCount == 6) {
            message = where + "Vs min (column 6) needs Vs max in column 7";
            return false;
        }
        if (layer.columnCount == 7) {
            low = layer.values[5];
            high = layer.values[6];
            if (!(low > 0) || !(low <= s) || !(s <= high)) {
                message = where + "Vs min and Vs max must be positive and enclose Vs";
                return false;
            }
        }
        vsMin.push_back(low);
        vsMax.push_back(high);
        return true;
    };
    CliEngineProfile profile;
    if (!ToCliEngineProfile(model, profile, error, bounds))
        return false;
    job.thickness = CMatrix(static_cast<int>(profile.thickness.size()), 1);
    for (std::size_t l = 0; l < profile.thickness.size(); ++l)
        job.thickness.Set(static_cast<int>(l), profile.thickness[l]);
    job.density = CMatrix::Column(profile.density);
    job.vs = CMatrix::Column(profile.vs);
    job.vsMin = CMatrix::Column(vsMin);
    job.vsMax = CMatrix::Column(vsMax);
    job.poisson = CMatrix::Column(profile.poisson);
    return true;
}

// runner lies beside vela-cli, as it lies beside VELA.
std::string RunnerPath()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "runner";
    std::string self(buffer, static_cast<std::size_t>(n));
    const std::size_t slash = self.rfind('/');
    return (slash == std::string::npos ? std::string(".") : self.substr(0, slash)) + "/runner";
}

std::string TemporaryFile(const char *stem)
{
    const char *dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/" + stem + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return {};
    ::close(fd);
    return name.data();
}

const char *ForwardStageName(int step)
{
    switch (step) {
    case 1:
        return "dispersion solver";
    case 2:
        return "effective curve";
    case 3:
        return "apparent curve";
    case 4:
        return "eigenfunctions";
    case 5:
        return "energy integrals";
    default:
        return "stage";
    }
}

const char *EndReasonText(int reason)
{
    switch (reason) {
    case 0:
        return "the target misfit was reached";
    case 1:
        return "the requested number of iterations was done";
    case 3:
        return "the forward computation failed on the last trial";
    case 4:
        return "an iteration brought no improvement";
    case 5:
        return "no model could be computed";
    default:
        return "unknown end reason";
    }
}

std::string Percent(double misfit)
{
    if (misfit >= 1e99)
        return "none";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f%%", 100.0 * misfit);
    return text;
}

// One readable line per notification, as it arrives.
void PrintProgress(const ProgressRecord &r)
{
    if (r.kind == ProgressRecord::KindEnd) {
        std::printf("end: %s (best misfit %s)\n", EndReasonText(r.endReason),
            Percent(r.currentMisfit).c_str());
    } else {
        switch (r.stepNumber) {
        case 0:
            std::printf("search started\n");
            break;
        case 6:
            std::printf("search: %d iterations at most, target misfit %s\n", r.stepValue,
                Percent(r.targetMisfit).c_str());
            break;
        case 7:
            std::printf("iteration %d: start\n", r.stepValue + 1);
            break;
        case 8:
            std::printf("iteration %d, trial %d: damping value %d of 5\n", r.iteration + 1,
                r.stepValue + 1, r.stepValue + 1);
            break;
        case 9:
            std::printf("iteration %d, trial %d: misfit %s\n", r.iteration + 1, r.trial + 1,
                Percent(r.latestTrialMisfit).c_str());
            break;
        case 14:
            std::printf("iteration %d: done, best misfit %s\n", r.stepValue + 1,
                Percent(r.currentMisfit).c_str());
            break;
        case 12:
            std::printf("final forward runs of the best model\n");
            break;
        case 13:
            std::printf("final curves computed: apparent misfit %s, effective misfit %s\n",
                Percent(r.secondMisfit).c_str(), Percent(r.firstMisfit).c_str());
            break;
        case 11:
            std::printf("search ended\n");
            break;
        default:
            std::printf("  forward: %s\n", ForwardStageName(r.stepNumber));
            break;
        }
    }
    std::fflush(stdout);
}

std::string RunnerFailure(int code)
{
    switch (code) {
    case CRunnerChild::KilledExitCode:
        return "runner was ended by a signal";
    case 1:
        return "the engine found no valid forward model (runner exit code 1)";
    case 3:
    case 4:
        return "runner could not read the search job (exit code " + std::to_string(code) + ")";
    case 5:
        return "runner could not write the result file (exit code 5)";
    case 6:
        return "the search was stopped (runner exit code 6)";
    case 7:
        return "the engine failed unexpectedly, for example on a singular system (runner exit "
               "code 7)";
    default:
        return "runner failed with exit code " + std::to_string(code);
    }
}

} // namespace

int CmdInvert(int argc, char **argv)
{
    UseCliNumberFormat();
    InvertOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error))
        return CliBadInput(Command, error);

    SearchJob job;
    CliModel model;
    if (!ReadCliModelFile(options.modelPath, model, error) || !FillProfile(model, job, error))
        return CliBadInput(Command, error);
    CliCurve curve;
    if (!ReadCliCurveFile(options.curvePath, curve, error))
        return CliBadInput(Command, error);

    job.iterations = options.iterations;
    job.stopFlag = 0;
    job.iterationCounter = 0;
    job.apparentMisfit = 1e99;
    job.effectiveMisfit = 1e99;
    job.currentMisfit = 1e99;
    job.targetMisfit = options.targetErrorPercent * 0.01;
    job.iterationsRequested = 0;
    job.frequencies = CMatrix::Column(curve.frequencies);
    job.velocities = CMatrix::Column(curve.velocities);
    job.deviations = CMatrix::Column(CliCurveDeviations(curve, DefaultRelativeDeviation));
    job.modes = options.modes;
    job.strongContrasts = options.strongContrasts ? 1 : 0;
    job.solverParameter = static_cast<float>(options.refinement * SolverParameterPerRefinement);
    std::vector<double> offsets;
    for (int j = 1; j <= options.receivers; ++j)
        offsets.push_back(j * options.spacing);
    job.offsets = CMatrix::Column(offsets);
    const std::string problem = CheckSearchJob(job);
    if (!problem.empty())
        return CliBadInput(Command, problem);

    const std::string runner = RunnerPath();
    if (::access(runner.c_str(), X_OK) != 0)
        return CliFailure(Command, "cannot find the runner program at " + runner);
    const std::string jobPath = TemporaryFile("vela-search-job");
    const std::string resultPath = TemporaryFile("vela-search-result");
    if (jobPath.empty() || resultPath.empty())
        return CliFailure(Command, "cannot create temporary files");
    struct Cleanup
    {
        std::string a, b;
        ~Cleanup()
        {
            std::remove(a.c_str());
            std::remove(b.c_str());
        }
    } cleanup { jobPath, resultPath };
    if (!WriteSearchJobFile(jobPath, job, &error))
        return CliFailure(Command, error);

    CProgressReceiver receiver;
    if (!receiver.Open(&error))
        return CliFailure(Command, error);
    CRunnerChild child;
    if (!child.Start(runner,
            CRunnerChild::Arguments(1, receiver.ChildDescriptor(), jobPath, resultPath),
            receiver.ChildDescriptor(), &error))
        return CliFailure(Command, error);
    receiver.CloseChildDescriptor();
    ProgressRecord last;
    const CProgressReceiver::Status status = receiver.ReceiveAll([&](const ProgressRecord &r) {
        last = r;
        PrintProgress(r);
    });
    const int code = child.Wait();
    if (status == CProgressReceiver::Status::ProtocolError)
        CliFailure(Command, "a progress notification arrived damaged");
    if (code != 0)
        return CliFailure(Command, RunnerFailure(code));

    SearchResult result;
    if (!ReadSearchResultFile(resultPath, result, &error))
        return CliFailure(Command, error);
    std::printf("# final profile\nlayer,thickness_m,vs_m_s\n");
    const int layers = result.finalVs.GetCount();
    for (int l = 0; l < layers; ++l) {
        if (l + 1 < layers)
            std::printf("%d,%.6g,%.6g\n", l + 1, job.thickness(l), result.finalVs(l));
        else
            std::printf("%d,half-space,%.6g\n", l + 1, result.finalVs(l));
    }
    // The misfits of the best model arrive with the notifications, not in the result file.
    std::printf("# apparent misfit: %s\n# effective misfit: %s\n",
        Percent(last.secondMisfit).c_str(), Percent(last.firstMisfit).c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}
