// A runner process started without a shell, inheriting the child end of the progress channel.
// Plain C++ and POSIX: shared by VELA and vela-cli.
#ifndef VELA_JOBS_CRUNNERCHILD_H
#define VELA_JOBS_CRUNNERCHILD_H

#include "jobs/RunnerExitCode.h"

#include <sys/types.h>

#include <atomic>
#include <string>
#include <vector>

/// runner's first argument: which job the file holds.
enum class RunnerMode : int {
    Forward = 0, ///< forward job (manual identification)
    Search = 1, ///< search job (automatic identification)
    ManyStart = 2, ///< many-start search job
};

/// A runner process started without a shell (posix_spawn), inheriting one descriptor of the
/// caller's choice (the progress channel's child end) under the same number.
/// Kill() may be called from another thread while Wait() blocks (the Stop button while the
/// worker waits); everything else belongs to one thread.
class CRunnerChild
{
public:
    /// Exit code reported when the process was ended by a signal (as Stop does): the code
    /// the application treats as "stopped by the user".
    static constexpr int KilledExitCode = RunnerExitNumber(RunnerExit::Killed);

    CRunnerChild() = default;
    ~CRunnerChild();
    CRunnerChild(const CRunnerChild &) = delete;
    CRunnerChild &operator=(const CRunnerChild &) = delete;

    /// Starts `program` with `arguments` (argv[1..]); `inheritFd`, when not -1, stays open in
    /// the child under the same number. Returns false with a message when the process cannot
    /// be started (a missing or not executable program included).
    bool Start(const std::string &program, const std::vector<std::string> &arguments,
        int inheritFd = -1, std::string *error = nullptr);

    /// Blocks until the process ends; returns its exit code, or KilledExitCode when a signal
    /// ended it. Returns the remembered code when called again.
    int Wait();

    /// Returns true and the exit code when the process has ended, false when it still runs.
    bool TryWait(int *exitCode);

    /// Ends the process at once (SIGKILL); Wait() then returns KilledExitCode.
    void Kill();

    /// Asks the process to finish early (SIGTERM): a many-start search then writes the best
    /// model found so far and ends normally. Like Kill(), callable from another thread.
    void Terminate();

    bool Running() const { return m_pid > 0 && !m_finished; }
    pid_t Pid() const { return m_pid; }

    /// Builds the runner argument list: mode, handle, job path, result path.
    static std::vector<std::string> Arguments(
        RunnerMode mode, int handle, const std::string &jobPath, const std::string &resultPath);

private:
    void Reap(int status);

    pid_t m_pid = -1;
    std::atomic<bool> m_finished { false };
    int m_exitCode = 0;
};

#endif // VELA_JOBS_CRUNNERCHILD_H
