// vela-cli forward: the trial-and-error run of the engine on a model file and an experimental
// curve, through a forward job and runner as VELA runs it: modal, apparent and effective
// curves as CSV, and the two misfits.
#include "cli/CliCurveFile.h"
#include "cli/CliModelFile.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "engine/RayleighSolver.h"
#include "engine/VelamodCode.h"
#include "jobs/EngineRun.h"
#include "jobs/SolverParameter.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// The effective curve's spatial FFT has 8192 points.
constexpr int MaxReceivers = 8192;

const char *const Command = "forward";

struct ForwardOptions
{
    std::string modelPath;
    std::string curvePath;
    double spacing = 1.0;
    int receivers = 24;
    int modes = 3;
    double refinement = 5.0;
};

bool ParseOptions(int argc, char **argv, ForwardOptions &options, std::string &error)
{
    std::vector<CliOption> given;
    if (!SplitCliOptions(argc, argv, {}, given, error))
        return false;
    for (const CliOption &option : given) {
        bool ok = true;
        if (option.name == "--model") {
            options.modelPath = option.value;
        } else if (option.name == "--curve") {
            options.curvePath = option.value;
        } else if (option.name == "--spacing") {
            ok = CliPositiveOption(option, "the receiver spacing", options.spacing, error);
        } else if (option.name == "--receivers") {
            ok = CliWholeOption(option, 1, MaxReceivers, options.receivers, error);
        } else if (option.name == "--modes") {
            ok = CliWholeOption(option, 1, RayleighMaxModes, options.modes, error);
        } else if (option.name == "--refine") {
            ok = CliRefinementOption(option, options.refinement, error);
        } else {
            error = CliUnknownOption(option);
            ok = false;
        }
        if (!ok)
            return false;
    }
    return CliRequireOption(options.modelPath, "--model FILE", error)
        && CliRequireOption(options.curvePath, "--curve FILE", error);
}

// A single result in the key: value dialect; the misfit is a fraction.
void PrintMisfit(const char *name, double misfit)
{
    if (misfit >= VelamodCode::NoMisfit)
        std::printf("misfit_%s: none\n", name);
    else
        std::printf("misfit_%s: %.9g\n", name, misfit);
}

} // namespace

int CmdForward(int argc, char **argv)
{
    UseCliNumberFormat();
    ForwardOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error))
        return CliBadInput(Command, error);

    CliModel model;
    CliEngineProfile profile;
    if (!ReadCliModelFile(options.modelPath, model, error)
        || !ToCliEngineProfile(model, profile, error))
        return CliBadInput(Command, error);
    CliCurve curve;
    if (!ReadCliCurveFile(options.curvePath, curve, error))
        return CliBadInput(Command, error);

    ForwardJob job;
    job.frequencies = CMatrix::Column(curve.frequencies);
    const int frequencyCount = job.frequencies.GetCount();
    job.velocities = CMatrix::Column(curve.velocities);
    // The manual run weighs every point alike: the bounds play no part in its misfits.
    job.deviations = CMatrix(frequencyCount, 1);
    job.thickness = CMatrix(static_cast<int>(profile.thickness.size()), 1);
    for (std::size_t l = 0; l < profile.thickness.size(); ++l)
        job.thickness.Set(static_cast<int>(l), profile.thickness[l]);
    job.density = CMatrix::Column(profile.density);
    job.vs = CMatrix::Column(profile.vs);
    job.poisson = CMatrix::Column(profile.poisson);
    job.modes = options.modes;
    job.solverParameter = SolverParameterOfRefinement(options.refinement);
    std::vector<double> offsetValues;
    for (int j = 1; j <= options.receivers; ++j)
        offsetValues.push_back(j * options.spacing);
    job.offsets = CMatrix::Column(offsetValues);
    const std::string problem = CheckForwardJob(job);
    if (!problem.empty())
        return CliBadInput(Command, problem);

    EngineRunRequest request;
    request.runnerPath = RunnerBesideThisProgram();
    if (::access(request.runnerPath.c_str(), X_OK) != 0)
        return CliFailure(Command, "cannot find the runner program at " + request.runnerPath);
    ForwardResult result;
    const EngineRunOutcome outcome = RunEngineJob(job, result, request);
    if (!outcome.Succeeded())
        return CliFailure(Command, "the forward computation failed: " + outcome.message);
    const CMatrix &frequencies = job.frequencies;
    const CMatrix &experimental = job.velocities;
    const CComplexMatrix &meanApparent = result.apparentCurve;
    const CComplexMatrix &effective = result.effectiveCurve;
    const CMatrix &modal = result.modalVelocities;
    const double firstMisfit = result.apparentMisfit;
    const double secondMisfit = result.effectiveMisfit;

    std::printf("freq_hz,experimental,apparent,effective");
    for (int mode = 1; mode <= options.modes; ++mode)
        std::printf(",mode%d", mode);
    std::printf("\n");
    for (int i = 0; i < frequencyCount; ++i) {
        std::printf("%.9g,%.9g,%.9g,%.9g", frequencies(i), experimental(i),
            meanApparent(i).Modulus(), effective(i).Real());
        for (int mode = 0; mode < options.modes; ++mode)
            std::printf(",%.9g", modal(i, mode));
        std::printf("\n");
    }
    PrintMisfit("apparent", firstMisfit);
    PrintMisfit("effective", secondMisfit);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
