#include "jobs/CRunnerChild.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::string SystemMessage(const std::string &what, int code)
{
    return what + ": " + std::strerror(code);
}

} // namespace

CRunnerChild::~CRunnerChild()
{
    // Never leave a zombie or an orphaned search behind.
    if (Running()) {
        Kill();
        Wait();
    }
}

std::vector<std::string> CRunnerChild::Arguments(
    RunnerMode mode, int handle, const std::string &jobPath, const std::string &resultPath)
{
    return { std::to_string(static_cast<int>(mode)), std::to_string(handle), jobPath, resultPath };
}

bool CRunnerChild::Start(const std::string &program, const std::vector<std::string> &arguments,
    int inheritFd, std::string *error)
{
    if (Running()) {
        if (error)
            *error = "A runner process is already running";
        return false;
    }
    std::vector<std::string> storage;
    storage.reserve(arguments.size() + 1);
    storage.push_back(program);
    storage.insert(storage.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // dup2 onto itself clears close-on-exec in the child only, so just this one descriptor
    // of the close-on-exec pair crosses into the runner.
    if (inheritFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, inheritFd, inheritFd);
    pid_t pid = -1;
    int rc = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        if (error)
            *error = SystemMessage("Cannot start " + program, rc);
        return false;
    }
    m_pid = pid;
    m_finished = false;
    m_exitCode = 0;
    return true;
}

void CRunnerChild::Reap(int status)
{
    m_finished = true;
    if (WIFEXITED(status))
        m_exitCode = WEXITSTATUS(status);
    else
        m_exitCode = KilledExitCode;
}

int CRunnerChild::Wait()
{
    if (m_pid <= 0)
        return KilledExitCode;
    while (!m_finished) {
        int status = 0;
        pid_t r = ::waitpid(m_pid, &status, 0);
        if (r == m_pid) {
            Reap(status);
        } else if (r < 0 && errno != EINTR) {
            m_finished = true;
            m_exitCode = KilledExitCode;
        }
    }
    return m_exitCode;
}

bool CRunnerChild::TryWait(int *exitCode)
{
    if (m_pid <= 0)
        return false;
    if (!m_finished) {
        int status = 0;
        pid_t r = ::waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid)
            Reap(status);
        else if (r < 0 && errno != EINTR) {
            m_finished = true;
            m_exitCode = KilledExitCode;
        }
    }
    if (m_finished && exitCode)
        *exitCode = m_exitCode;
    return m_finished;
}

void CRunnerChild::Kill()
{
    if (Running())
        ::kill(m_pid, SIGKILL);
}

void CRunnerChild::Terminate()
{
    if (Running())
        ::kill(m_pid, SIGTERM);
}
