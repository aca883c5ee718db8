// runner: runs one engine job for VELA in a process of its own.
//
//   runner MODE HANDLE JOB RESULT
//
//   MODE    0 forward job (manual identification), 1 search job (automatic identification),
//           2 many-start search job (the search from many starts and its ensemble)
//   HANDLE  descriptor of the inherited progress socket, 0 for none (the engine then prints
//           its "SegnalaStep" / "SegnalaFine" lines to standard output)
//   JOB     job file to read
//   RESULT  result file to write (only when the run succeeds)
//
// Exit codes: RunnerExit (jobs/RunnerExitCode.h). A search whose last trial or final forward
// runs failed still writes its best model and ends with 0; the result's code (-2 or -5) says
// that the final curves are missing. In mode 2 SIGTERM asks the search to stop; the best model
// found so far is still written (result code -1) and runner ends with 0.
//
// Every failure prints one line beginning "runner:" on standard error; standard output
// carries only the engine's own lines.
#include "engine/AutomaticSearch.h"
#include "engine/MultiStartSearch.h"
#include "engine/VelamodCode.h"
#include "jobs/CRunnerChild.h"
#include "jobs/EngineJobFiles.h"
#include "jobs/EngineProgress.h"
#include "jobs/RunnerExitCode.h"
#include "jobs/SolverParameter.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The engine hands the mean apparent curve over as a 1 x F row; the result files carry every
// vector as an n x 1 column.
template <typename Matrix> void MakeColumn(Matrix &m)
{
    if (m.GetRows() == 1 && m.GetCols() > 1)
        m = m.Transposed();
}

int Fail(RunnerExit code, const std::string &message)
{
    std::fprintf(stderr, "runner: %s\n", message.c_str());
    return RunnerExitNumber(code);
}

bool ParseInt(const char *text, long *value)
{
    errno = 0;
    char *end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0')
        return false;
    *value = v;
    return true;
}

// A job file that reads cleanly can still be a different file: the size/shape checks of
// the codec decide between "unreadable" (cannot open) and "malformed" (everything else).
int JobReadFailure(const std::string &path, const std::string &message)
{
    struct stat st;
    const bool readable =
        ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), R_OK) == 0;
    return Fail(readable ? RunnerExit::JobMalformed : RunnerExit::JobUnreadable, message);
}

int RunForward(const std::string &jobPath, const std::string &resultPath, int window)
{
    ForwardJob job;
    std::string error;
    if (!ReadForwardJobFile(jobPath, job, &error))
        return JobReadFailure(jobPath, error);

    bool stop = false;
    int spareA = 0, spareB = 0;
    double secondMisfit = VelamodCode::NoMisfit, firstMisfit = VelamodCode::NoMisfit;
    double currentMisfit = 0, targetMisfit = 0;
    CMatrix spareMatrixA, spareMatrixB;
    VelamodCode engine;
    engine.SetPointer(&stop, &spareA, &secondMisfit, &firstMisfit, &currentMisfit, &targetMisfit,
        &spareB, &spareMatrixA, &spareMatrixB, window);

    const int layers = job.vs.GetCount();
    std::vector<CComplexMatrix> sensitivities(static_cast<std::size_t>(layers));
    ForwardResult result;
    const int code = engine.IdentificazioneManuale(job.frequencies, job.velocities, job.deviations,
        job.thickness, job.density, job.vs, job.poisson, job.modes,
        RefinementOfSolverParameter(job.solverParameter), job.offsets, job.firstDepth,
        job.secondDepth, result.finalVs, result.effectiveCurve, result.apparentCurve,
        result.modalVelocities, sensitivities.data(), result.frequencies);
    if (code == VelamodCode::ForwardFailed)
        return Fail(
            RunnerExit::EngineFailed, "the profile has no valid forward model (modes not found)");
    if (code != VelamodCode::Success)
        return Fail(
            RunnerExit::InternalError, "the engine failed (code " + std::to_string(code) + ")");

    result.code = code;
    MakeColumn(result.finalVs);
    MakeColumn(result.effectiveCurve);
    MakeColumn(result.apparentCurve);
    MakeColumn(result.frequencies);
    // The first misfit variable holds the apparent curve's misfit, the second the effective's.
    result.apparentMisfit = firstMisfit;
    result.effectiveMisfit = secondMisfit;
    if (!WriteForwardResultFile(resultPath, result, &error))
        return Fail(RunnerExit::ResultUnwritable, error);
    return RunnerExitNumber(RunnerExit::Success);
}

int RunSearch(const std::string &jobPath, const std::string &resultPath, int window)
{
    SearchJob job;
    std::string error;
    if (!ReadSearchJobFile(jobPath, job, &error))
        return JobReadFailure(jobPath, error);

    // The seven control values, in the engine's SetPointer order.
    bool stop = job.stopFlag != 0;
    int spareA = job.iterationCounter;
    double secondMisfit = job.apparentMisfit;
    double firstMisfit = job.effectiveMisfit;
    double currentMisfit = job.currentMisfit;
    double targetMisfit = job.targetMisfit;
    int spareB = job.iterationsRequested;
    CMatrix spareMatrixA, spareMatrixB;
    VelamodCode engine;
    engine.SetPointer(&stop, &spareA, &secondMisfit, &firstMisfit, &currentMisfit, &targetMisfit,
        &spareB, &spareMatrixA, &spareMatrixB, window);

    const int layers = job.vs.GetCount();
    std::vector<CComplexMatrix> sensitivities(static_cast<std::size_t>(layers));
    CMatrix vs = job.vs;
    SearchResult result;
    const int code = engine.IdentificazioneAutomatica(job.iterations, job.frequencies,
        job.velocities, job.deviations, job.thickness, job.density, vs, job.poisson, job.modes,
        job.strongContrasts != 0, RefinementOfSolverParameter(job.solverParameter), job.offsets,
        job.firstDepth, job.secondDepth, job.vsMin, job.vsMax, result.finalVs,
        result.effectiveCurve, result.apparentCurve, result.modalVelocities, sensitivities.data(),
        result.frequencies);
    switch (code) {
    case VelamodCode::Success:
        break;
    case VelamodCode::SearchStopped:
        return Fail(RunnerExit::Stopped, "the search was stopped");
    case VelamodCode::LastTrialFailed:
    case SearchFinalCurvesMissing:
        // The best model the search found is kept; only its final curves are missing, and the
        // result's code says so.
        result.effectiveCurve = CComplexMatrix(1, 1);
        result.apparentCurve = CComplexMatrix(1, 1);
        result.modalVelocities = CMatrix(1, 1);
        result.frequencies = CMatrix(1, 1);
        break;
    case SearchNoFinalModel:
        return Fail(
            RunnerExit::EngineFailed, "the search found no profile with a valid forward model");
    default:
        return Fail(
            RunnerExit::InternalError, "the engine failed (code " + std::to_string(code) + ")");
    }
    result.code = code;
    MakeColumn(result.finalVs);
    MakeColumn(result.effectiveCurve);
    MakeColumn(result.apparentCurve);
    MakeColumn(result.frequencies);
    if (!WriteSearchResultFile(resultPath, result, &error))
        return Fail(RunnerExit::ResultUnwritable, error);
    return RunnerExitNumber(RunnerExit::Success);
}

// Raised by SIGTERM: a many-start search stops and keeps its best model.
std::atomic<bool> g_stopRequested { false };
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void OnTerminate(int) { g_stopRequested.store(true); }

CMatrix Rows(const std::vector<std::vector<double>> &rows, int columns)
{
    if (rows.empty())
        return CMatrix(0, columns);
    CMatrix m(static_cast<int>(rows.size()), columns);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < columns; ++c)
            m.Set(static_cast<int>(r), c, rows[r][static_cast<std::size_t>(c)]);
    return m;
}

int RunManyStart(const std::string &jobPath, const std::string &resultPath, int window)
{
    // From the start: a stop that arrives while the job is read still ends the run cleanly.
    std::signal(SIGTERM, OnTerminate);
    ManyStartJob job;
    std::string error;
    if (!ReadManyStartJobFile(jobPath, job, &error))
        return JobReadFailure(jobPath, error);
    const SearchJob &s = job.search;

    MultiStartProblem p;
    p.iterations = s.iterations;
    p.targetMisfit = s.targetMisfit;
    p.frequencies = s.frequencies;
    p.experimentalCurve = s.velocities;
    p.standardDeviations = s.deviations;
    p.thicknesses = s.thickness;
    p.densities = s.density;
    p.startVelocities = s.vs;
    p.poissonRatios = s.poisson;
    p.lowerBounds = s.vsMin;
    p.upperBounds = s.vsMax;
    p.receiverOffsets = s.offsets;
    p.modeCount = s.modes;
    p.strongContrasts = s.strongContrasts != 0;
    p.refinement = RefinementOfSolverParameter(s.solverParameter);
    p.firstDepth = s.firstDepth;
    p.secondDepth = s.secondDepth;

    // The notifications go through an engine object, whose variables carry the misfits.
    bool stop = false;
    int spareA = 0, spareB = 0;
    double secondMisfit = s.apparentMisfit, firstMisfit = s.effectiveMisfit;
    double currentMisfit = VelamodCode::NoMisfit, targetMisfit = s.targetMisfit;
    CMatrix spareMatrixA, spareMatrixB;
    VelamodCode notifier;
    notifier.SetPointer(&stop, &spareA, &secondMisfit, &firstMisfit, &currentMisfit, &targetMisfit,
        &spareB, &spareMatrixA, &spareMatrixB, window);

    MultiStartOptions options;
    options.starts = job.starts;
    options.seed = static_cast<std::uint32_t>(job.seed);
    options.stop = &g_stopRequested;
    options.progress = [&](const MultiStartProgress &progress) {
        currentMisfit = progress.bestNormalisedMisfit;
        notifier.SegnalaStep(StepNumber(EngineStep::IterationEnd), progress.startsDone);
    };
    notifier.SegnalaStep(StepNumber(EngineStep::SearchStart), 0);
    notifier.SegnalaStep(StepNumber(EngineStep::SearchSetUpDone), job.starts);
    const MultiStartResult r = RunMultiStartSearch(p, options);
    if (r.code == VelamodCode::InternalError)
        return Fail(RunnerExit::JobMalformed, r.message);
    if (r.bestStart < 0) {
        notifier.SegnalaStep(StepNumber(EngineStep::RunEnd), 0);
        if (r.code == VelamodCode::SearchStopped)
            return Fail(RunnerExit::Stopped, "the search was stopped before any model was found");
        return Fail(
            RunnerExit::EngineFailed, "no start found a profile with a valid forward model");
    }
    firstMisfit = r.effectiveMisfit;
    secondMisfit = r.apparentMisfit;
    currentMisfit = r.normalisedMisfit;
    if (r.code == 0)
        notifier.SegnalaFine(
            EndReasonNumber(r.normalisedMisfit <= 1.0 ? EngineEndReason::TargetReached
                                                      : EngineEndReason::IterationsDone));
    notifier.SegnalaStep(StepNumber(EngineStep::RunEnd), 0);

    ManyStartResult result;
    result.code = r.code == VelamodCode::SearchStopped ? VelamodCode::SearchStopped : 0;
    result.finalVs = r.bestVelocities;
    MakeColumn(result.finalVs);
    result.finalCurvesMissing = r.finalCurvesMissing ? 1 : 0;
    if (r.finalCurvesMissing) {
        result.effectiveCurve = CComplexMatrix(1, 1);
        result.apparentCurve = CComplexMatrix(1, 1);
        result.modalVelocities = CMatrix(1, 1);
        result.frequencies = CMatrix(1, 1);
    } else {
        result.effectiveCurve = r.effectiveCurve;
        result.apparentCurve = r.apparentCurve;
        result.modalVelocities = r.modalVelocities;
        result.frequencies = r.denseFrequencies;
        MakeColumn(result.effectiveCurve);
        MakeColumn(result.apparentCurve);
        MakeColumn(result.frequencies);
    }
    result.apparentMisfit = r.apparentMisfit;
    result.effectiveMisfit = r.effectiveMisfit;
    result.normalisedMisfit = r.normalisedMisfit;
    result.bestStart = r.bestStart;
    result.vs30 = r.vs30;
    result.vs30P10 = r.vs30P10;
    result.vs30P90 = r.vs30P90;
    result.depthOfInvestigation = r.depthOfInvestigation;
    result.ensembleThreshold = r.ensembleThreshold;
    std::vector<std::vector<double>> band, onBound, starts, ensemble;
    for (std::size_t l = 0; l < r.band.median.size(); ++l)
        band.push_back(
            { r.band.top[l], r.band.bottom[l], r.band.p10[l], r.band.median[l], r.band.p90[l] });
    for (int flag : r.layerOnBound)
        onBound.push_back({ static_cast<double>(flag) });
    for (const StartOutcome &o : r.starts)
        starts.push_back({ static_cast<double>(o.code), o.bestMisfit, o.bestNormalisedMisfit,
            static_cast<double>(o.modelsEvaluated) });
    const int layers = r.bestVelocities.GetCount();
    for (const CMatrix &m : r.ensemble)
        ensemble.push_back(m.ToVector());
    result.band = Rows(band, 5);
    result.layerOnBound = Rows(onBound, 1);
    result.starts = Rows(starts, 4);
    result.ensemble = Rows(ensemble, layers);
    if (!WriteManyStartResultFile(resultPath, result, &error))
        return Fail(RunnerExit::ResultUnwritable, error);
    return RunnerExitNumber(RunnerExit::Success);
}

} // namespace

int main(int argc, char **argv)
{
    // A VELA that closes its end of the progress channel must not kill the run.
    std::signal(SIGPIPE, SIG_IGN);

    if (argc != 5)
        return Fail(RunnerExit::Usage, "usage: runner MODE HANDLE JOB RESULT");
    long mode = -1, handle = -1;
    if (!ParseInt(argv[1], &mode)
        || (mode != static_cast<long>(RunnerMode::Forward)
            && mode != static_cast<long>(RunnerMode::Search)
            && mode != static_cast<long>(RunnerMode::ManyStart)))
        return Fail(
            RunnerExit::Usage, std::string("mode must be 0, 1 or 2, not '") + argv[1] + "'");
    if (!ParseInt(argv[2], &handle) || handle < 0 || handle > 1000000)
        return Fail(RunnerExit::Usage, std::string("bad notification handle '") + argv[2] + "'");
    if (handle != 0) {
        // Binary records written to a terminal or a file by mistake would corrupt it.
        struct stat st;
        if (::fstat(int(handle), &st) != 0 || !S_ISSOCK(st.st_mode))
            return Fail(RunnerExit::Usage,
                "notification handle " + std::to_string(handle) + " is not an open socket");
    }
    const std::string jobPath = argv[3];
    const std::string resultPath = argv[4];
    if (mode == static_cast<long>(RunnerMode::ManyStart))
        return RunManyStart(jobPath, resultPath, int(handle));
    return mode == static_cast<long>(RunnerMode::Forward)
        ? RunForward(jobPath, resultPath, int(handle))
        : RunSearch(jobPath, resultPath, int(handle));
}
