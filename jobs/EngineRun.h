// One run of an engine job end to end: the job written to a temporary file, runner started
// with the progress channel, each notification handed to the caller, the wait, the result
// read back, the files removed, and the outcome told as an exit code and a message.
#ifndef VELA_JOBS_ENGINERUN_H
#define VELA_JOBS_ENGINERUN_H

#include "jobs/CProgressReceiver.h"
#include "jobs/EngineJobFiles.h"
#include "jobs/EngineProgress.h"
#include "jobs/RunnerExitCode.h"

#include <atomic>
#include <functional>
#include <string>

/// What a caller asks of one run.
struct EngineRunRequest
{
    /// The runner program (see RunnerBesideThisProgram).
    std::string runnerPath;
    /// Called on the calling thread for each notification, while the engine waits for its
    /// answer. Not used when `receiver` is given.
    std::function<void(const EngineProgress &)> progress;
    /// A channel the caller has opened and reads itself, typically on another thread (a
    /// window's socket notifier). The run then starts runner on its child end, closes that
    /// end here and only waits. nullptr: the run opens its own channel and receives on the
    /// calling thread.
    CProgressReceiver *receiver = nullptr;
    /// Set to true (from any thread) to end runner at once, as the user's Stop does; the run
    /// then reports RunnerExit::Killed. Looked at at least every 50 ms.
    const std::atomic<bool> *killRequest = nullptr;
    /// Set to true (from any thread) to ask a many-start search to stop and keep the best
    /// model found so far: runner gets SIGTERM once and still writes its result.
    const std::atomic<bool> *stopRequest = nullptr;
};

/// How a run ended.
struct EngineRunOutcome
{
    bool started = false; ///< runner was started
    int exitCode = RunnerExitNumber(RunnerExit::Killed); ///< runner's exit code (-1: killed)
    bool resultFound = false; ///< runner ended with 0 and left a result file
    bool resultRead = false; ///< the result file was read completely
    /// How the notification stream ended (Closed when all went well; not set when the
    /// caller received the notifications itself).
    CProgressReceiver::Status channel = CProgressReceiver::Status::Closed;
    /// Empty when the result was read; otherwise one line saying what went wrong (a runner
    /// that could not start, the meaning of its exit code, a missing or damaged result file).
    std::string message;

    bool Succeeded() const { return exitCode == 0 && resultRead; }
};

/// Runs a forward (runner mode 0), search (mode 1) or many-start search job (mode 2). `result`
/// receives what the result file holds; when reading fails part-way, the items read so far stay in
/// it. Never throws.
EngineRunOutcome RunEngineJob(
    const ForwardJob &job, ForwardResult &result, const EngineRunRequest &request);
EngineRunOutcome RunEngineJob(
    const SearchJob &job, SearchResult &result, const EngineRunRequest &request);
EngineRunOutcome RunEngineJob(
    const ManyStartJob &job, ManyStartResult &result, const EngineRunRequest &request);

/// The runner program in the folder of the running executable, where VELA and vela-cli
/// expect it.
std::string RunnerBesideThisProgram();

#endif // VELA_JOBS_ENGINERUN_H
