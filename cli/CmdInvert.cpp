// vela-cli invert: the automatic search of the Vs profile, run exactly as VELA runs it: a
// search job file, the runner process beside this program, progress over a socket pair.
// With --starts K the search runs from K starts (runner mode 2) and the uncertainty of the
// profile follows the best profile.
#include "cli/CliCurveFile.h"
#include "cli/CliModelFile.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "engine/RayleighSolver.h"
#include "jobs/EngineRun.h"
#include "jobs/SolverParameter.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int MaxReceivers = 8192;
constexpr int MaxIterations = 1000;
// The seed of the drawn starts: fixed, so that the same inputs give the same answer.
constexpr int32_t ManyStartSeed = 1;
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
    // One mode, as the profile page proposes: a curve picked on the fundamental mode is not to
    // be fitted with a multi-mode apparent curve unless asked for.
    int modes = 1;
    int starts = 0; ///< 0: the single written search (runner mode 1)
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
        } else if (name == "--starts") {
            ok = CliWholeOption(option, 1, MaxManyStarts, o.starts, error);
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

std::string Percent(double misfit)
{
    if (misfit >= 1e99)
        return "none";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f%%", 100.0 * misfit);
    return text;
}

// One readable line per notification, as it arrives.
void PrintProgress(const EngineProgress &r)
{
    if (r.kind == EngineProgressKindEnd) {
        const char *reason = EngineEndReasonName(r.endReason);
        std::printf("end: %s (best misfit %s)\n", reason ? reason : "unknown end reason",
            Percent(r.currentMisfit).c_str());
        std::fflush(stdout);
        return;
    }
    switch (static_cast<EngineStep>(r.stepNumber)) {
    case EngineStep::SearchStart:
        std::printf("search started\n");
        break;
    case EngineStep::SearchSetUpDone:
        std::printf("search: %d iterations at most, target misfit %s\n", r.stepValue,
            Percent(r.targetMisfit).c_str());
        break;
    case EngineStep::IterationStart:
        std::printf("iteration %d: start\n", r.stepValue + 1);
        break;
    case EngineStep::BeforeTrial:
        std::printf("iteration %d, trial %d: damping value %d of 5\n", r.iterationCounter + 1,
            r.stepValue + 1, r.stepValue + 1);
        break;
    case EngineStep::TrialMisfitDone:
        std::printf("iteration %d, trial %d: misfit %s\n", r.iterationCounter + 1,
            r.trialCounter + 1, Percent(r.latestTrialMisfit).c_str());
        break;
    case EngineStep::IterationEnd:
        std::printf("iteration %d: done, best misfit %s\n", r.stepValue + 1,
            Percent(r.currentMisfit).c_str());
        break;
    case EngineStep::BeforeFinalForward:
        std::printf("final forward runs of the best model\n");
        break;
    case EngineStep::AfterFinalForward:
        std::printf("final curves computed: apparent misfit %s, effective misfit %s\n",
            Percent(r.secondMisfit).c_str(), Percent(r.firstMisfit).c_str());
        break;
    case EngineStep::RunEnd:
        std::printf("search ended\n");
        break;
    default: {
        const char *name = EngineStepName(r.stepNumber);
        std::printf("  forward: %s\n", name ? name : "stage");
        break;
    }
    }
    std::fflush(stdout);
}

// Progress of a many-start search: the starts as they end.
void PrintManyStartProgress(const EngineProgress &r)
{
    if (r.kind == EngineProgressKindEnd)
        return;
    switch (static_cast<EngineStep>(r.stepNumber)) {
    case EngineStep::SearchStart:
        std::printf("search started\n");
        break;
    case EngineStep::SearchSetUpDone:
        std::printf("search: %d starts\n", r.stepValue);
        break;
    case EngineStep::IterationEnd:
        std::printf("start %d done, best normalised misfit %.7g\n", r.stepValue, r.currentMisfit);
        break;
    case EngineStep::RunEnd:
        std::printf("search ended\n");
        break;
    default:
        break;
    }
    std::fflush(stdout);
}

void PrintProfile(const CMatrix &thickness, const CMatrix &finalVs)
{
    std::printf("# final profile\nlayer,thickness_m,vs_m_s\n");
    const int layers = finalVs.GetCount();
    for (int l = 0; l < layers; ++l) {
        if (l + 1 < layers)
            std::printf("%d,%.6g,%.6g\n", l + 1, thickness(l), finalVs(l));
        else
            std::printf("%d,half-space,%.6g\n", l + 1, finalVs(l));
    }
}

int RunManyStart(const SearchJob &search, int starts, const EngineRunRequest &base)
{
    ManyStartJob job;
    job.search = search;
    job.starts = starts;
    job.seed = ManyStartSeed;
    EngineRunRequest request = base;
    request.progress = PrintManyStartProgress;
    ManyStartResult result;
    const EngineRunOutcome outcome = RunEngineJob(job, result, request);
    if (!outcome.Succeeded())
        return CliFailure(Command, outcome.message);
    if (!outcome.message.empty())
        CliFailure(Command, outcome.message);
    PrintProfile(search.thickness, result.finalVs);
    std::printf("# apparent misfit: %s\n# effective misfit: %s\n",
        Percent(result.apparentMisfit).c_str(), Percent(result.effectiveMisfit).c_str());
    if (result.finalCurvesMissing)
        std::printf("# the final curves of the best profile could not be computed\n");
    std::printf("vs30_ms: %.7g\n", result.vs30);
    std::printf("vs30_range_ms: %.7g %.7g\n", result.vs30P10, result.vs30P90);
    std::printf("depth_of_investigation_m: %.7g\n", result.depthOfInvestigation);
    std::printf("misfit_normalised: %.7g\n", result.normalisedMisfit);
    // The band as a step line: each layer's values at its top and at its bottom; the
    // half-space's at its top and at the depth of investigation when that lies deeper.
    std::printf("depth_m,vs_p10_ms,vs_median_ms,vs_p90_ms\n");
    const CMatrix &band = result.band;
    for (int l = 0; l < band.GetRows(); ++l) {
        const bool halfSpace = l + 1 == band.GetRows();
        double bottom = band(l, 1);
        if (halfSpace)
            bottom = std::max(band(l, 0), result.depthOfInvestigation);
        std::printf("%.7g,%.7g,%.7g,%.7g\n", band(l, 0), band(l, 2), band(l, 3), band(l, 4));
        if (bottom > band(l, 0))
            std::printf("%.7g,%.7g,%.7g,%.7g\n", bottom, band(l, 2), band(l, 3), band(l, 4));
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
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
    job.solverParameter = SolverParameterOfRefinement(options.refinement);
    std::vector<double> offsets;
    for (int j = 1; j <= options.receivers; ++j)
        offsets.push_back(j * options.spacing);
    job.offsets = CMatrix::Column(offsets);
    const std::string problem = CheckSearchJob(job);
    if (!problem.empty())
        return CliBadInput(Command, problem);

    EngineRunRequest request;
    request.runnerPath = RunnerBesideThisProgram();
    if (::access(request.runnerPath.c_str(), X_OK) != 0)
        return CliFailure(Command, "cannot find the runner program at " + request.runnerPath);
    if (options.starts > 0)
        return RunManyStart(job, options.starts, request);
    EngineProgress last;
    request.progress = [&](const EngineProgress &r) {
        last = r;
        PrintProgress(r);
    };
    SearchResult result;
    const EngineRunOutcome outcome = RunEngineJob(job, result, request);
    if (!outcome.Succeeded())
        return CliFailure(Command, outcome.message);
    if (!outcome.message.empty())
        CliFailure(Command, outcome.message);
    PrintProfile(job.thickness, result.finalVs);
    // The misfits of the best model arrive with the notifications, not in the result file.
    std::printf("# apparent misfit: %s\n# effective misfit: %s\n",
        Percent(last.secondMisfit).c_str(), Percent(last.firstMisfit).c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}
