// runner: runs one engine job for VELA in a process of its own.
//
//   runner MODE HANDLE JOB RESULT
//
//   MODE    0 forward job (manual identification), 1 search job (automatic identification)
//   HANDLE  descriptor of the inherited progress socket, 0 for none (the engine then prints
//           its "SegnalaStep" / "SegnalaFine" lines to standard output)
//   JOB     job file to read
//   RESULT  result file to write (only when the run succeeds)
//
// Exit codes: RunnerExit (jobs/RunnerExitCode.h).
//
// Every failure prints one line beginning "runner:" on standard error; standard output
// carries only the engine's own lines.
#include "engine/AutomaticSearch.h"
#include "engine/VelamodCode.h"
#include "jobs/CRunnerChild.h"
#include "jobs/EngineJobFiles.h"
#include "jobs/RunnerExitCode.h"
#include "jobs/SolverParameter.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

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
        return Fail(RunnerExit::EngineFailed,
            "the search ended without a valid forward model of its last trial");
    case SearchNoFinalModel:
    case SearchFinalCurvesMissing:
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
            && mode != static_cast<long>(RunnerMode::Search)))
        return Fail(RunnerExit::Usage, std::string("mode must be 0 or 1, not '") + argv[1] + "'");
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
    return mode == static_cast<long>(RunnerMode::Forward)
        ? RunForward(jobPath, resultPath, int(handle))
        : RunSearch(jobPath, resultPath, int(handle));
}
