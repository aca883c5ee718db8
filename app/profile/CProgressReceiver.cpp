#include "app/profile/CProgressReceiver.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

int32_t GetInt32(const unsigned char *p)
{
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    int32_t r;
    std::memcpy(&r, &v, 4);
    return r;
}

double GetDouble(const unsigned char *p)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | p[i];
    double r;
    std::memcpy(&r, &v, 8);
    return r;
}

void PutInt32(unsigned char *p, int32_t value)
{
    uint32_t v;
    std::memcpy(&v, &value, 4);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void PutDouble(unsigned char *p, double value)
{
    uint64_t v;
    std::memcpy(&v, &value, 8);
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Reads exactly n bytes; returns n, 0 at end of stream before the first byte, -1 on a
// socket error, -2 on an end of stream in the middle (a notification cut short).
long ReadFully(int fd, unsigned char *buffer, long n)
{
    long done = 0;
    while (done < n) {
        ssize_t got = ::read(fd, buffer + done, size_t(n - done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            // A runner killed while our answer was still unread in its queue resets the
            // connection instead of closing it: for us both mean it has gone.
            if (errno == ECONNRESET)
                return done == 0 ? 0 : -2;
            return -1;
        }
        if (got == 0)
            return done == 0 ? 0 : -2;
        done += got;
    }
    return done;
}

void CloseFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

std::string SystemMessage(const char *what, int code)
{
    return std::string(what) + ": " + std::strerror(code);
}

} // namespace

ProgressRecord DecodeProgressRecord(const unsigned char *b)
{
    ProgressRecord r;
    r.kind = GetInt32(b + 0);
    r.secondMisfit = GetDouble(b + 8);
    r.iteration = GetInt32(b + 16);
    r.targetMisfit = GetDouble(b + 24);
    r.trial = GetInt32(b + 32);
    r.iterationsRequested = GetInt32(b + 36);
    r.firstMisfit = GetDouble(b + 40);
    r.currentMisfit = GetDouble(b + 48);
    r.stepValue = GetInt32(b + 56);
    r.stepNumber = GetInt32(b + 60);
    r.endReason = GetInt32(b + 64);
    r.latestTrialMisfit = GetDouble(b + 72);
    return r;
}

void EncodeProgressRecord(const ProgressRecord &r, unsigned char *b)
{
    std::memset(b, 0, ProgressRecordSize);
    PutInt32(b + 0, r.kind);
    PutDouble(b + 8, r.secondMisfit);
    PutInt32(b + 16, r.iteration);
    PutDouble(b + 24, r.targetMisfit);
    PutInt32(b + 32, r.trial);
    PutInt32(b + 36, r.iterationsRequested);
    PutDouble(b + 40, r.firstMisfit);
    PutDouble(b + 48, r.currentMisfit);
    PutInt32(b + 56, r.stepValue);
    PutInt32(b + 60, r.stepNumber);
    PutInt32(b + 64, r.endReason);
    PutDouble(b + 72, r.latestTrialMisfit);
}

CProgressReceiver::~CProgressReceiver() { Close(); }

bool CProgressReceiver::Open(std::string *error)
{
    Close();
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
        if (error)
            *error = SystemMessage("Cannot create the progress channel", errno);
        return false;
    }
    m_ownFd = fds[0];
    m_childFd = fds[1];
    // With standard streams closed the pair could land on 0..2; 0 would read as "no window"
    // on the runner command line, so move the child end above them.
    if (m_childFd <= 2) {
        int moved = ::fcntl(m_childFd, F_DUPFD_CLOEXEC, 3);
        if (moved < 0) {
            if (error)
                *error = SystemMessage("Cannot create the progress channel", errno);
            Close();
            return false;
        }
        ::close(m_childFd);
        m_childFd = moved;
    }
    m_count = 0;
    return true;
}

void CProgressReceiver::CloseChildDescriptor() { CloseFd(m_childFd); }

void CProgressReceiver::Close()
{
    CloseFd(m_childFd);
    CloseFd(m_ownFd);
}

CProgressReceiver::Status CProgressReceiver::Abandon(Status status)
{
    // Out of step with the sender, this end can never answer it again; shutting it down lets
    // an engine waiting for its answer see a closed channel and run on, instead of waiting
    // for ever while its host waits for it to end.
    if (m_ownFd >= 0)
        ::shutdown(m_ownFd, SHUT_RDWR);
    return status;
}

CProgressReceiver::Status CProgressReceiver::ReceiveOne(const Callback &callback)
{
    if (m_ownFd < 0)
        return Status::SystemError;
    unsigned char buffer[ProgressHeaderSize + ProgressRecordSize];
    long got = ReadFully(m_ownFd, buffer, ProgressHeaderSize);
    if (got == 0)
        return Status::Closed;
    if (got < 0)
        return got == -1 ? Status::SystemError : Abandon(Status::ProtocolError);
    if (GetInt32(buffer) != 1 || GetInt32(buffer + 4) != ProgressRecordSize)
        return Abandon(Status::ProtocolError);
    if (ReadFully(m_ownFd, buffer + ProgressHeaderSize, ProgressRecordSize) != ProgressRecordSize)
        return Abandon(Status::ProtocolError);
    ++m_count;
    if (callback)
        callback(DecodeProgressRecord(buffer + ProgressHeaderSize));
    // The engine waits for this byte; a sender that has gone away must not kill us (SIGPIPE).
    const unsigned char answer = 1;
    for (;;) {
        ssize_t sent = ::send(m_ownFd, &answer, 1, MSG_NOSIGNAL);
        if (sent == 1)
            break;
        if (sent < 0 && errno == EINTR)
            continue;
        // The runner ended between its notification and our answer: nothing is lost.
        break;
    }
    return Status::Record;
}

CProgressReceiver::Status CProgressReceiver::ReceiveAll(const Callback &callback)
{
    for (;;) {
        Status status = ReceiveOne(callback);
        if (status != Status::Record)
            return status;
    }
}

CRunnerChild::~CRunnerChild()
{
    // Never leave a zombie or an orphaned search behind.
    if (Running()) {
        Kill();
        Wait();
    }
}

std::vector<std::string> CRunnerChild::Arguments(
    int mode, int handle, const std::string &jobPath, const std::string &resultPath)
{
    return { std::to_string(mode), std::to_string(handle), jobPath, resultPath };
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
            *error = SystemMessage(("Cannot start " + program).c_str(), rc);
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
