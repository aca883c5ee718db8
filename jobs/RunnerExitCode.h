// The exit codes of the runner process and what each means, for runner, which sets them, and
// for the hosts that start it and report the outcome.
#ifndef VELA_JOBS_RUNNEREXITCODE_H
#define VELA_JOBS_RUNNEREXITCODE_H

#include <string>

/// runner's exit codes. Killed is no code runner sets itself: it is how a host reads a runner
/// ended by a signal, which is what the user's Stop does.
enum class RunnerExit : int {
    Killed = -1, ///< ended by a signal (Stop kills the process)
    Success = 0, ///< the result file is written (a search's may lack its final curves: its
                 ///< code says so)
    EngineFailed = 1, ///< the engine found no valid forward model (no modes, or the search
                      ///< found no model at all)
    Usage = 2, ///< bad command line: argument count, mode, a handle that is not a socket
    JobUnreadable = 3, ///< the job file cannot be opened or read
    JobMalformed = 4, ///< the job file ends early, holds something else, carries bytes after
                      ///< its last item, or has inconsistent sizes or values
    ResultUnwritable = 5, ///< the result file cannot be written
    Stopped = 6, ///< the search was stopped through the stop flag
    InternalError = 7, ///< the engine failed unexpectedly (for example a singular matrix)
};

/// The number a process exit carries.
constexpr int RunnerExitNumber(RunnerExit code) { return static_cast<int>(code); }

/// One English sentence saying what an exit code of runner means ("the engine found no valid
/// forward model"); any number outside the table reads "runner failed with exit code N".
std::string RunnerExitText(int exitCode);

#endif // VELA_JOBS_RUNNEREXITCODE_H
