// Receiving end of the engine's progress channel, and the start/stop of a runner process
// that inherits the other end. Plain C++ and POSIX: shared by VELA and vela-cli.
#ifndef VELA_APP_PROFILE_CPROGRESSRECEIVER_H
#define VELA_APP_PROFILE_CPROGRESSRECEIVER_H

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/// One progress notification of the engine, decoded from its 80-byte little-endian record.
/// The fields follow the record's offsets; reserved bytes are dropped.
struct ProgressRecord
{
    static constexpr int KindStep = 1063; ///< step notification
    static constexpr int KindEnd = 1064; ///< end notification

    int32_t kind = 0; ///< offset 0: KindStep or KindEnd
    double secondMisfit = 0; ///< offset 8: second-misfit variable (fraction)
    int32_t iteration = 0; ///< offset 16: iterations completed
    double targetMisfit = 0; ///< offset 24: target misfit (fraction)
    int32_t trial = 0; ///< offset 32: damping value being tried (0..4)
    int32_t iterationsRequested = 0; ///< offset 36
    double firstMisfit = 0; ///< offset 40: first-misfit variable (fraction)
    double currentMisfit = 0; ///< offset 48: current-misfit variable (fraction)
    int32_t stepValue = 0; ///< offset 56
    int32_t stepNumber = 0; ///< offset 60: meaningful in step notifications
    int32_t endReason = 0; ///< offset 64: meaningful in end notifications
    double latestTrialMisfit = 0; ///< offset 72: misfit of the last trial model (fraction)
};

/// Size of the engine's progress record and of the copy-data header that precedes it.
constexpr int ProgressRecordSize = 80;
constexpr int ProgressHeaderSize = 12;

/// Decodes an 80-byte record (little-endian, whatever the host order).
ProgressRecord DecodeProgressRecord(const unsigned char *bytes);

/// Encodes a record into 80 bytes; the reserved bytes are zero. Used by tests and fake senders.
void EncodeProgressRecord(const ProgressRecord &record, unsigned char *bytes);

/// The receiving side of the progress channel: a Unix stream socket pair of which this object
/// keeps one end and lets a runner process inherit the other, whose descriptor number goes on
/// the runner command line as the notification handle.
///
/// Each notification arrives as three little-endian int32 (1, 80, 0) followed by the 80-byte
/// record; the sender then blocks until it receives one byte, which this object writes after
/// the callback has returned. So the callback runs while the engine waits, exactly as a
/// synchronous window message would.
///
/// Usage: Open(); start runner with ChildDescriptor() (CRunnerChild does it);
/// CloseChildDescriptor(); then ReceiveAll() on a thread, or ReceiveOne() whenever
/// Descriptor() is readable (e.g. from a QSocketNotifier). Both ends are close-on-exec, so a
/// QProcess would not pass the child end on: start runner with CRunnerChild.
class CProgressReceiver
{
public:
    using Callback = std::function<void(const ProgressRecord &)>;

    /// Outcome of one receive.
    enum class Status {
        Record, ///< a notification was handed to the callback and answered
        Closed, ///< the sender closed its end (runner ended) before a new notification
        ProtocolError, ///< a header other than (1, 80) or a notification cut short; the
                       ///< channel is then shut down, so the sender no longer waits
        SystemError, ///< the socket failed or the receiver is not open
    };

    CProgressReceiver() = default;
    ~CProgressReceiver();
    CProgressReceiver(const CProgressReceiver &) = delete;
    CProgressReceiver &operator=(const CProgressReceiver &) = delete;

    /// Creates the socket pair. Both ends are close-on-exec, so no other process started
    /// meanwhile inherits them; CRunnerChild::Start hands the child end to the runner alone.
    /// Returns false with a message when the system refuses.
    bool Open(std::string *error = nullptr);

    /// The descriptor a runner process inherits (its number is the notification handle);
    /// -1 when not open or already closed. Always above 2, so it never reads as "none" (0).
    int ChildDescriptor() const { return m_childFd; }

    /// This side's descriptor (readable when a notification or the end of the runner arrives).
    int Descriptor() const { return m_ownFd; }

    /// Closes this process's copy of the child end; call it once the runner has started, so
    /// that the end of the runner reads as Closed.
    void CloseChildDescriptor();

    /// Closes both ends; a sender still running then sees a broken channel.
    void Close();

    /// Blocks until one notification arrives, hands it to the callback, answers one byte.
    Status ReceiveOne(const Callback &callback);

    /// Receives notifications until the sender closes its end or the channel fails; returns
    /// the status that ended the loop (Closed when all went well).
    Status ReceiveAll(const Callback &callback);

    /// Number of notifications received so far.
    long Count() const { return m_count; }

private:
    // Shuts this end down after a protocol error and returns `status`.
    Status Abandon(Status status);

    int m_ownFd = -1;
    int m_childFd = -1;
    long m_count = 0;
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
    static constexpr int KilledExitCode = -1;

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

    bool Running() const { return m_pid > 0 && !m_finished; }
    pid_t Pid() const { return m_pid; }

    /// Builds the runner argument list: mode, handle, job path, result path.
    static std::vector<std::string> Arguments(
        int mode, int handle, const std::string &jobPath, const std::string &resultPath);

private:
    void Reap(int status);

    pid_t m_pid = -1;
    std::atomic<bool> m_finished { false };
    int m_exitCode = 0;
};

#endif // VELA_APP_PROFILE_CPROGRESSRECEIVER_H
