// vela-cli invert: the automatic search of the Vs profile, run exactly as VELA runs it: a
// search job file, the runner process beside this program, progress over a socket pair.
#include "app/profile/CProgressReceiver.h"
#include "app/profile/EngineJobFiles.h"
#include "cli/CliModelFile.h"
#include "cli/Commands.h"
#include "engine/RayleighSolver.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <climits>
#include <unistd.h>

namespace {

constexpr int MaxCurvePoints = 10000;
constexpr int MaxReceivers = 8192;
constexpr int MaxIterations = 1000;
// runner reads the job's solver parameter as this many times the refinement factor.
constexpr double SolverParameterPerRefinement = 15.0;
// Without velocity bounds a curve point's standard deviation is taken as 5% of its velocity,
// what bounds of +-15% would give (a sixth of their width).
constexpr double DefaultRelativeDeviation = 0.05;

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

int BadInput(const std::string &message)
{
    std::fprintf(stderr, "vela-cli invert: %s\n", message.c_str());
    return 2;
}

int Failure(const std::string &message)
{
    std::fprintf(stderr, "vela-cli invert: %s\n", message.c_str());
    return 1;
}

bool WholeNumber(double value, int lowest, int highest)
{
    return value == std::floor(value) && value >= lowest && value <= highest;
}

bool ParseOptions(int argc, char **argv, InvertOptions &o, std::string &error)
{
    for (int i = 0; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--strong-contrasts") {
            o.strongContrasts = true;
            continue;
        }
        if (name.rfind("--", 0) != 0) {
            error = "unexpected argument '" + name + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = "option " + name + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (name == "--model") {
            o.modelPath = value;
            continue;
        }
        if (name == "--curve") {
            o.curvePath = value;
            continue;
        }
        double number = 0;
        if (!ParseCliNumber(value, number)) {
            error = "option " + name + ": '" + value + "' is not a number";
            return false;
        }
        auto whole = [&](int lowest, int highest, int &target) {
            if (!WholeNumber(number, lowest, highest)) {
                error = "option " + name + ": expected a whole number from "
                    + std::to_string(lowest) + " to " + std::to_string(highest) + ", got '" + value
                    + "'";
                return false;
            }
            target = static_cast<int>(number);
            return true;
        };
        if (name == "--iterations") {
            if (!whole(0, MaxIterations, o.iterations))
                return false;
        } else if (name == "--modes") {
            if (!whole(1, RayleighMaxModes, o.modes))
                return false;
        } else if (name == "--receivers") {
            if (!whole(1, MaxReceivers, o.receivers))
                return false;
        } else if (name == "--target-error") {
            if (!(number >= 0)) {
                error = "option --target-error: expected a percentage of 0 or more, got '" + value
                    + "'";
                return false;
            }
            o.targetErrorPercent = number;
        } else if (name == "--refine") {
            o.refinement = number;
        } else if (name == "--spacing") {
            if (!(number > 0)) {
                error =
                    "option --spacing: the receiver spacing must be positive, got '" + value + "'";
                return false;
            }
            o.spacing = number;
        } else {
            error = "unknown option '" + name + "'";
            return false;
        }
    }
    if (o.modelPath.empty()) {
        error = "missing --model FILE";
        return false;
    }
    if (o.curvePath.empty()) {
        error = "missing --curve FILE";
        return false;
    }
    return true;
}

// The experimental curve: lines "frequency velocity [min max]", ascending frequencies;
// "#" and "%" lines are comments. The deviation of a point is a sixth of its bounds' width.
bool ReadCurve(const std::string &path, std::vector<double> &frequencies,
    std::vector<double> &velocities, std::vector<double> &deviations, std::string &error)
{
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot open the curve file";
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#' || line[first] == '%')
            continue;
        const std::string where = path + ":" + std::to_string(lineNumber) + ": ";
        const std::vector<std::string> tokens = SplitCliLine(line);
        if (tokens.size() != 2 && tokens.size() != 4) {
            error = where + "expected 2 numbers (frequency, velocity) or 4 (with min and max), "
                + "found " + std::to_string(tokens.size());
            return false;
        }
        double v[4] = {};
        for (std::size_t t = 0; t < tokens.size(); ++t) {
            if (!ParseCliNumber(tokens[t], v[t])) {
                error = where + "'" + tokens[t] + "' is not a number";
                return false;
            }
        }
        if (!(v[0] > 0)) {
            error = where + "the frequency must be positive";
            return false;
        }
        if (!frequencies.empty() && v[0] <= frequencies.back()) {
            error = where + "the frequencies must increase from line to line";
            return false;
        }
        if (!(v[1] > 0)) {
            error = where + "the velocity must be positive";
            return false;
        }
        double deviation = DefaultRelativeDeviation * v[1];
        if (tokens.size() == 4) {
            if (!(v[3] > v[2])) {
                error = where + "the maximum velocity must exceed the minimum";
                return false;
            }
            deviation = (v[3] - v[2]) / 6.0;
        }
        frequencies.push_back(v[0]);
        velocities.push_back(v[1]);
        deviations.push_back(deviation);
        if (static_cast<int>(frequencies.size()) > MaxCurvePoints) {
            error = path + ": more than " + std::to_string(MaxCurvePoints) + " points";
            return false;
        }
    }
    if (frequencies.empty()) {
        error = path + ": no point in the curve file";
        return false;
    }
    return true;
}

// Fills the profile items of the job: densities in g/cm^3, Poisson's ratio from column 5 or
// from Vp and Vs, bounds from columns 6 and 7 or half and twice the start Vs.
bool FillProfile(const CliModel &model, SearchJob &job, std::string &error)
{
    if (!CheckCliModelColumns(model, 4, 7,
            "4, 5 or 7 numbers (thickness, Vp, Vs, density, [Poisson's ratio, "
            "[Vs min, Vs max]])",
            error))
        return false;
    std::vector<double> thickness, density, vs, vsMin, vsMax, poisson;
    for (std::size_t i = 0; i < model.layers.size(); ++i) {
        const CliModelLayer &layer = model.layers[i];
        const std::string where = model.path + ":" + std::to_string(layer.lineNumber) + ": ";
        const double vp = layer.values[1], s = layer.values[2], rho = layer.values[3];
        if (!(s > 0)) {
            error = where + "Vs must be positive";
            return false;
        }
        if (!(rho > 0)) {
            error = where + "density must be positive";
            return false;
        }
        double nu = 0;
        if (layer.columnCount >= 5) {
            nu = layer.values[4];
        } else {
            if (!(vp > s)) {
                error = where + "Vp must exceed Vs (or give Poisson's ratio in column 5)";
                return false;
            }
            nu = (vp * vp - 2 * s * s) / (2 * (vp * vp - s * s));
        }
        if (!(nu > -1.0 && nu < 0.5)) {
            error = where + "Poisson's ratio must lie between -1 and 0.5";
            return false;
        }
        double low = 0.5 * s, high = 2.0 * s;
        if (layer.columnCount == 6) {
            error = where + "Vs min (column 6) needs Vs max in column 7";
            return false;
        }
        if (layer.columnCount == 7) {
            low = layer.values[5];
            high = layer.values[6];
            if (!(low > 0) || !(low <= s) || !(s <= high)) {
                error = where + "Vs min and Vs max must be positive and enclose Vs";
                return false;
            }
        }
        if (i + 1 < model.layers.size())
            thickness.push_back(layer.values[0]);
        density.push_back(rho * 0.001);
        vs.push_back(s);
        vsMin.push_back(low);
        vsMax.push_back(high);
        poisson.push_back(nu);
    }
    job.thickness = CMatrix(static_cast<int>(thickness.size()), 1);
    for (std::size_t l = 0; l < thickness.size(); ++l)
        job.thickness.Set(static_cast<int>(l), thickness[l]);
    job.density = CMatrix::Column(density);
    job.vs = CMatrix::Column(vs);
    job.vsMin = CMatrix::Column(vsMin);
    job.vsMax = CMatrix::Column(vsMax);
    job.poisson = CMatrix::Column(poisson);
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
    std::setlocale(LC_NUMERIC, "C");
    InvertOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error))
        return BadInput(error);

    SearchJob job;
    CliModel model;
    if (!ReadCliModelFile(options.modelPath, model, error) || !FillProfile(model, job, error))
        return BadInput(error);
    std::vector<double> f, c, sd;
    if (!ReadCurve(options.curvePath, f, c, sd, error))
        return BadInput(error);

    job.iterations = options.iterations;
    job.stopFlag = 0;
    job.iterationCounter = 0;
    job.apparentMisfit = 1e99;
    job.effectiveMisfit = 1e99;
    job.currentMisfit = 1e99;
    job.targetMisfit = options.targetErrorPercent * 0.01;
    job.iterationsRequested = 0;
    job.frequencies = CMatrix::Column(f);
    job.velocities = CMatrix::Column(c);
    job.deviations = CMatrix::Column(sd);
    job.modes = options.modes;
    job.strongContrasts = options.strongContrasts ? 1 : 0;
    job.solverParameter = static_cast<float>(options.refinement * SolverParameterPerRefinement);
    std::vector<double> offsets;
    for (int j = 1; j <= options.receivers; ++j)
        offsets.push_back(j * options.spacing);
    job.offsets = CMatrix::Column(offsets);
    const std::string problem = CheckSearchJob(job);
    if (!problem.empty())
        return BadInput(problem);

    const std::string runner = RunnerPath();
    if (::access(runner.c_str(), X_OK) != 0)
        return Failure("cannot find the runner program at " + runner);
    const std::string jobPath = TemporaryFile("vela-search-job");
    const std::string resultPath = TemporaryFile("vela-search-result");
    if (jobPath.empty() || resultPath.empty())
        return Failure("cannot create temporary files");
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
        return Failure(error);

    CProgressReceiver receiver;
    if (!receiver.Open(&error))
        return Failure(error);
    CRunnerChild child;
    if (!child.Start(runner,
            CRunnerChild::Arguments(1, receiver.ChildDescriptor(), jobPath, resultPath),
            receiver.ChildDescriptor(), &error))
        return Failure(error);
    receiver.CloseChildDescriptor();
    ProgressRecord last;
    const CProgressReceiver::Status status = receiver.ReceiveAll([&](const ProgressRecord &r) {
        last = r;
        PrintProgress(r);
    });
    const int code = child.Wait();
    if (status == CProgressReceiver::Status::ProtocolError)
        std::fprintf(stderr, "vela-cli invert: a progress notification arrived damaged\n");
    if (code != 0)
        return Failure(RunnerFailure(code));

    SearchResult result;
    if (!ReadSearchResultFile(resultPath, result, &error))
        return Failure(error);
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
