#include "jobs/RunnerExitCode.h"

std::string RunnerExitText(int exitCode)
{
    switch (static_cast<RunnerExit>(exitCode)) {
    case RunnerExit::Killed:
        return "runner was ended by a signal";
    case RunnerExit::Success:
        return "runner ended successfully";
    case RunnerExit::EngineFailed:
        return "the engine found no valid forward model";
    case RunnerExit::Usage:
        return "runner was started with a bad command line";
    case RunnerExit::JobUnreadable:
        return "runner could not read the job file";
    case RunnerExit::JobMalformed:
        return "runner found the job file malformed";
    case RunnerExit::ResultUnwritable:
        return "runner could not write the result file";
    case RunnerExit::Stopped:
        return "the search was stopped";
    case RunnerExit::InternalError:
        return "the engine failed unexpectedly, for example on a singular system";
    }
    return "runner failed with exit code " + std::to_string(exitCode);
}
