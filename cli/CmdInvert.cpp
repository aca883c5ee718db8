// vela-cli invert: the automatic search of the Vs profile, run exactly as VELA runs it: a
// search job file, the runner process beside this program, progress over a socket pair.
// With --starts K the search runs from K starts (runner mode 2) and the uncertainty of the
// profile follows the best profile.
#include "app/profile/CProfileTable.h"
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

// A misfit as a fraction, "none" when there is none.
std::string Fraction(double misfit)
{
    if (misfit >= 1e99)
        return "none";
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", misfit);
    return text;
}

// One readable line per notification, as it arrives.
void PrintProgress(const EngineProgress &r)
{
    if (r.kind == EngineProgressKindEnd) {
        const char *reason = EngineEndReasonName(r.endReason);
        std::fprintf(stderr, "end: %s (misfit_best: %s)\n", reason ? reason : "unknown end reason",
            Fraction(r.currentMisfit).c_str());
        std::fflush(stderr);
        return;
    }
    switch (static_cast<EngineStep>(r.stepNumber)) {
    case EngineStep::SearchStart:
        std::fprintf(stderr, "search started\n");
        break;
    case EngineStep::SearchSetUpDone:
        std::fprintf(stderr, "search: %d iterations at most, misfit_target: %s\n", r.stepValue,
            Fraction(r.targetMisfit).c_str());
        break;
    case EngineStep::IterationStart:
        std::fprintf(stderr, "iteration %d: start\n", r.stepValue + 1);
        break;
    case EngineStep::BeforeTrial:
        std::fprintf(stderr, "iteration %d, trial %d: damping value %d of 5\n",
            r.iterationCounter + 1, r.stepValue + 1, r.stepValue + 1);
        break;
    case EngineStep::TrialMisfitDone:
        std::fprintf(stderr, "iteration %d, trial %d: misfit_trial: %s\n", r.iterationCounter + 1,
            r.trialCounter + 1, Fraction(r.latestTrialMisfit).c_str());
        break;
    case EngineStep::IterationEnd:
        std::fprintf(stderr, "iteration %d: done, misfit_best: %s\n", r.stepValue + 1,
            Fraction(r.currentMisfit).c_str());
        break;
    case EngineStep::BeforeFinalForward:
        std::fprintf(stderr, "final forward runs of the best model\n");
        break;
    case EngineStep::AfterFinalForward:
        std::fprintf(stderr, "final curves computed: misfit_apparent: %s, misfit_effective: %s\n",
            Fraction(r.secondMisfit).c_str(), Fraction(r.firstMisfit).c_str());
        break;
    case EngineStep::RunEnd:
        std::fprintf(stderr, "search ended\n");
        break;
    default: {
        const char *name = EngineStepName(r.stepNumber);
        std::fprintf(stderr, "  forward: %s\n", name ? name : "stage");
        break;
    }
    }
    std::fflush(stderr);
}

// Progress of a many-start search: the starts as they end.
void PrintManyStartProgress(const EngineProgress &r)
{
    if (r.kind == EngineProgressKindEnd)
        return;
    switch (static_cast<EngineStep>(r.stepNumber)) {
    case EngineStep::SearchStart:
        std::fprintf(stderr, "search started\n");
        break;
    case EngineStep::SearchSetUpDone:
        std::fprintf(stderr, "search: %d starts\n", r.stepValue);
        break;
    case EngineStep::IterationEnd:
        std::fprintf(
            stderr, "start %d done: misfit_normalised_best: %.7g\n", r.stepValue, r.currentMisfit);
        break;
    case EngineStep::RunEnd:
        std::fprintf(stderr, "search ended\n");
        break;
    default:
        break;
    }
    std::fflush(stdout);
}

// The final profile as a model file that forward and invert read back: Vp from the final Vs
// and the profile's Poisson's ratio, densities back in kg/m^3, the half-space last.
void PrintProfile(const SearchJob &job, const CMatrix &finalVs)
{
    std::printf("# final profile\n# thickness_m,vp_m_s,vs_m_s,density_kg_m3\n");
    const int layers = finalVs.GetCount();
    for (int l = 0; l < layers; ++l) {
        const double vs = finalVs(l);
        const double vp = VpFromVsPoisson(vs, job.poisson(l));
        std::printf("%.9g,%.9g,%.9g,%.9g\n", l + 1 < layers ? job.thickness(l) : 0.0, vp, vs,
            1000.0 * job.density(l));
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
    PrintProfile(search, result.finalVs);
    std::printf("# misfit_apparent: %s\n# misfit_effective: %s\n",
        Fraction(result.apparentMisfit).c_str(), Fraction(result.effectiveMisfit).c_str());
    if (result.finalCurvesMissing)
        std::printf("# the final curves of the best profile could not be computed\n");
    // The warnings VELA shows beside the findings, as comments that scripts skip.
    std::string onBound, bandOnBound;
    for (int l = 0; l < result.layerOnBound.GetCount(); ++l) {
        std::string &list = result.layerOnBound(l) == 1 ? onBound : bandOnBound;
        if (result.layerOnBound(l) != 0)
            list += (list.empty() ? "" : ", ") + std::to_string(l + 1);
    }
    if (!onBound.empty())
        std::printf("# warning: the Vs of layer(s) %s lies on its search bound\n", onBound.c_str());
    if (!bandOnBound.empty())
        std::printf("# warning: the band of layer(s) %s reaches its search bound: the data allow "
                    "Vs beyond it\n",
            bandOnBound.c_str());
    if (result.depthOfInvestigation > 0 && result.depthOfInvestigation < 30.0)
        std::printf("# warning: Vs30 depends on depths below the depth of investigation\n");
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
    PrintProfile(job, result.finalVs);
    // The misfits of the best model arrive with the notifications, not in the result file;
    // a search that kept its model without the final runs has only its own best misfit.
    const bool curvesMissing = result.code != 0;
    const double apparent =
        curvesMissing && !(last.secondMisfit < 1e99) ? last.currentMisfit : last.secondMisfit;
    std::printf("# misfit_apparent: %s\n# misfit_effective: %s\n", Fraction(apparent).c_str(),
        Fraction(last.firstMisfit).c_str());
    if (curvesMissing)
        std::printf("# the final curves of the best profile could not be computed\n");
    return std::fflush(stdout) == 0 ? 0 : 1;
}
