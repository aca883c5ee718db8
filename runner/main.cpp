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
// Exit codes (VELA reads a killed runner as -1):
//
//   0  success: the result file is written
//   1  the engine found no valid forward model (forward job: the profile has no modes;
//      search job: the forward computation failed on the last trial, or on every current
//      model, or in the final runs, so there is no final model)
//   2  bad command line (argument count, mode, handle that is not an open socket)
//   3  the job file cannot be opened or read
//   4  the job file is malformed: ends early, holds something else, carries bytes after the
//      last item, or inconsistent sizes or values
//   5  the result file cannot be written
//   6  the search was stopped through the stop flag
//   7  the engine failed unexpectedly (for example a singular normal matrix)
//
// Every failure prints one line beginning "runner:" on standard error; standard output
// carries only the engine's own lines.
#include "app/profile/EngineJobFiles.h"
#include "engine/AutomaticSearch.h"
#include "engine/VelamodCode.h"
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

enum ExitCode {
    ExitSuccess = 0,
    ExitEngineFailed = 1,
    ExitUsage = 2,
    ExitJobUnreadable = 3,
    ExitJobMalformed = 4,
    ExitResultUnwritable = 5,
    ExitStopped = 6,
    ExitInternalError = 7,
};

// The profile page's solver parameter (50 to 1000, default 75) is fifteen times the solver's
// refinement factor: 75 gives the solver's own default of 5, while 75 handed over literally
// would make a single forward run take tens of seconds.
constexpr float SolverParameterPerRefinement = 15.0f;

// The engine hands the mean apparent curve over as a 1 x F row; the result files carry every
// vector as an n x 1 column.
template <typename Matrix> void MakeColumn(Matrix &m)
{
    if (m.GetRows() == 1 && m.GetCols() > 1)
        m = m.Transposed();
}

int Fail(int code, const std::string &message)
{
    std::fprintf(stderr, "runner: %s\n", message.c_str());
    return code;
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
    return Fail(readable ? ExitJobMalformed : ExitJobUnreadable, message);
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
        job.solverParameter / SolverParameterPerRefinement, job.offsets, job.firstDepth,
        job.secondDepth, result.finalVs, result.effectiveCurve, result.apparentCurve,
        result.modalVelocities, sensitivities.data(), result.frequencies);
    if (code == VelamodCode::ForwardFailed)
        return Fail(ExitEngineFailed, "the profile has no valid forward model (modes not found)");
    if (code != VelamodCode::Success)
        return Fail(ExitInternalError, "the engine failed (code " + std::to_string(code) + ")");

    result.code = code;
    MakeColumn(result.finalVs);
    MakeColumn(result.effectiveCurve);
    MakeColumn(result.apparentCurve);
    MakeColumn(result.frequencies);
    // The first misfit variable holds the apparent curve's misfit, the second the effective's.
    result.apparentMisfit = firstMisfit;
    result.effectiveMisfit = secondMisfit;
    if (!WriteForwardResultFile(resultPath, result, &error))
        return Fail(ExitResultUnwritable, error);
    return ExitSuccess;
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
        job.strongContrasts != 0, job.solverParameter / SolverParameterPerRefinement, job.offsets,
        job.firstDepth, job.secondDepth, job.vsMin, job.vsMax, result.finalVs,
        result.effectiveCurve, result.apparentCurve, result.modalVelocities, sensitivities.data(),
        result.frequencies);
    switch (code) {
    case VelamodCode::Success:
        break;
    case VelamodCode::SearchStopped:
        return Fail(ExitStopped, "the search was stopped");
    case VelamodCode::LastTrialFailed:
        return Fail(
            ExitEngineFailed, "the search ended without a valid forward model of its last trial");
    case SearchNoFinalModel:
    case SearchFinalCurvesMissing:
        return Fail(ExitEngineFailed, "the search found no profile with a valid forward model");
    default:
        return Fail(ExitInternalError, "the engine failed (code " + std::to_string(code) + ")");
    }
    result.code = code;
    MakeColumn(result.finalVs);
    MakeColumn(result.effectiveCurve);
    MakeColumn(result.apparentCurve);
    MakeColumn(result.frequencies);
    if (!WriteSearchResultFile(resultPath, result, &error))
        return Fail(ExitResultUnwritable, error);
    return ExitSuccess;
}

} // namespace

int main(int argc, char **argv)
{
    // A VELA that closes its end of the progress channel must not kill the run.
    std::signal(SIGPIPE, SIG_IGN);

    if (argc != 5)
        return Fail(ExitUsage, "usage: runner MODE HANDLE JOB RESULT");
    long mode = -1, handle = -1;
    if (!ParseInt(argv[1], &mode) || (mode != 0 && mode != 1))
        return Fail(ExitUsage, std::string("mode must be 0 or 1, not '") + argv[1] + "'");
    if (!ParseInt(argv[2], &handle) || handle < 0 || handle > 1000000)
        return Fail(ExitUsage, std::string("bad notification handle '") + argv[2] + "'");
    if (handle != 0) {
        // Binary records written to a terminal or a file by mistake would corrupt it.
        struct stat st;
        if (::fstat(int(handle), &st) != 0 || !S_ISSOCK(st.st_mode))
            return Fail(ExitUsage,
                "notification handle " + std::to_string(handle) + " is not an open socket");
    }
    const std::string jobPath = argv[3];
    const std::string resultPath = argv[4];
    return mode == 0 ? RunForward(jobPath, resultPath, int(handle))
                     : RunSearch(jobPath, resultPath, int(handle));
}
