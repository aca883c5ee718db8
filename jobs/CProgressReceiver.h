// Receiving end of the engine's progress channel: a socket pair whose other end a runner
// process inherits. Plain C++ and POSIX: shared by VELA and vela-cli.
#ifndef VELA_JOBS_CPROGRESSRECEIVER_H
#define VELA_JOBS_CPROGRESSRECEIVER_H

#include "jobs/EngineProgress.h"

#include <functional>
#include <string>

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
    using Callback = std::function<void(const EngineProgress &)>;

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

#endif // VELA_JOBS_CPROGRESSRECEIVER_H
