#include "jobs/EngineRun.h"

#include "jobs/CRunnerChild.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How often a waiting run looks at the kill request.
constexpr int KillPollMilliseconds = 50;

// A private folder for the job and result files: the names cannot collide with anybody's,
// and a result file runner never wrote is plainly missing.
class CRunFolder
{
public:
    CRunFolder()
    {
        const char *base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/vela-run-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data()))
            m_path = name.data();
        else
            m_error = std::strerror(errno);
    }
    ~CRunFolder()
    {
        if (m_path.empty())
            return;
        std::remove(JobPath().c_str());
        std::remove(ResultPath().c_str());
        ::rmdir(m_path.c_str());
    }
    CRunFolder(const CRunFolder &) = delete;
    CRunFolder &operator=(const CRunFolder &) = delete;

    bool Ok() const { return !m_path.empty(); }
    const std::string &Error() const { return m_error; }
    std::string JobPath() const { return m_path + "/job"; }
    std::string ResultPath() const { return m_path + "/result"; }

private:
    std::string m_path;
    std::string m_error;
};

bool Requested(const std::atomic<bool> *flag) { return flag && flag->load(); }

// Passes a stop request on to runner once.
void PassStop(CRunnerChild &child, const EngineRunRequest &request, bool &passed)
{
    if (!passed && Requested(request.stopRequest)) {
        child.Terminate();
        passed = true;
    }
}

// Receives on the calling thread until runner closes the channel, killing it on request.
CProgressReceiver::Status ReceiveUntilEnd(
    CProgressReceiver &receiver, CRunnerChild &child, const EngineRunRequest &request)
{
    bool stopPassed = false;
    for (;;) {
        if (Requested(request.killRequest))
            child.Kill();
        PassStop(child, request, stopPassed);
        pollfd p { receiver.Descriptor(), POLLIN, 0 };
        const int ready = ::poll(&p, 1, KillPollMilliseconds);
        if (ready < 0 && errno != EINTR)
            return CProgressReceiver::Status::SystemError;
        if (ready <= 0)
            continue;
        const CProgressReceiver::Status status = receiver.ReceiveOne(request.progress);
        if (status != CProgressReceiver::Status::Record)
            return status;
    }
}

// Waits for runner while another thread receives its notifications.
int WaitKillable(CRunnerChild &child, const EngineRunRequest &request)
{
    const std::atomic<bool> *killRequest = request.killRequest;
    if (!killRequest && !request.stopRequest)
        return child.Wait();
    bool stopPassed = false;
    int code = 0;
    while (!child.TryWait(&code)) {
        if (Requested(killRequest))
            child.Kill();
        PassStop(child, request, stopPassed);
        std::this_thread::sleep_for(std::chrono::milliseconds(KillPollMilliseconds));
    }
    return code;
}

template <class Job, class Result>
EngineRunOutcome Run(RunnerMode mode, const Job &job, Result &result,
    const EngineRunRequest &request,
    bool (*writeJob)(const std::string &, const Job &, std::string *),
    bool (*readResult)(const std::string &, Result &, std::string *))
{
    EngineRunOutcome outcome;
    try {
        CRunFolder folder;
        if (!folder.Ok()) {
            outcome.message = "cannot create a temporary folder: " + folder.Error();
            return outcome;
        }
        std::string error;
        // The job file is complete and closed before runner starts: no wait is needed.
        if (!writeJob(folder.JobPath(), job, &error)) {
            outcome.message = error;
            return outcome;
        }
        CProgressReceiver ownReceiver;
        CProgressReceiver *receiver = request.receiver ? request.receiver : &ownReceiver;
        if (!request.receiver && !ownReceiver.Open(&error)) {
            outcome.message = error;
            return outcome;
        }
        if (receiver->ChildDescriptor() < 0) {
            outcome.message = "the progress channel is not open";
            return outcome;
        }
        CRunnerChild child;
        if (!child.Start(request.runnerPath,
                CRunnerChild::Arguments(
                    mode, receiver->ChildDescriptor(), folder.JobPath(), folder.ResultPath()),
                receiver->ChildDescriptor(), &error)) {
            outcome.message = error;
            return outcome;
        }
        outcome.started = true;
        // From now on only runner holds the sender's end, so its end reads as Closed.
        receiver->CloseChildDescriptor();
        if (request.receiver) {
            outcome.exitCode = WaitKillable(child, request);
        } else {
            outcome.channel = ReceiveUntilEnd(ownReceiver, child, request);
            outcome.exitCode = WaitKillable(child, request);
        }
        if (outcome.exitCode != RunnerExitNumber(RunnerExit::Success)) {
            outcome.message = RunnerExitText(outcome.exitCode);
            return outcome;
        }
        struct stat st;
        if (::stat(folder.ResultPath().c_str(), &st) != 0) {
            outcome.message = "runner ended successfully but wrote no result file";
            return outcome;
        }
        outcome.resultFound = true;
        if (!readResult(folder.ResultPath(), result, &error)) {
            outcome.message = error;
            return outcome;
        }
        outcome.resultRead = true;
        if (outcome.channel == CProgressReceiver::Status::ProtocolError)
            outcome.message = "a progress notification arrived damaged";
    } catch (const std::exception &e) {
        outcome.message = std::string("the engine run failed: ") + e.what();
    }
    return outcome;
}

} // namespace

EngineRunOutcome RunEngineJob(
    const ForwardJob &job, ForwardResult &result, const EngineRunRequest &request)
{
    return Run(
        RunnerMode::Forward, job, result, request, &WriteForwardJobFile, &ReadForwardResultFile);
}

EngineRunOutcome RunEngineJob(
    const SearchJob &job, SearchResult &result, const EngineRunRequest &request)
{
    return Run(
        RunnerMode::Search, job, result, request, &WriteSearchJobFile, &ReadSearchResultFile);
}

EngineRunOutcome RunEngineJob(
    const ManyStartJob &job, ManyStartResult &result, const EngineRunRequest &request)
{
    return Run(RunnerMode::ManyStart, job, result, request, &WriteManyStartJobFile,
        &ReadManyStartResultFile);
}

std::string RunnerBesideThisProgram()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "runner";
    const std::string self(buffer, static_cast<std::size_t>(n));
    const std::size_t slash = self.rfind('/');
    return (slash == std::string::npos ? std::string(".") : self.substr(0, slash)) + "/runner";
}
