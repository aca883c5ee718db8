#include "jobs/CProgressReceiver.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

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
    unsigned char buffer[NotificationMessageBytes];
    long got = ReadFully(m_ownFd, buffer, long(CopyDataHeaderBytes));
    if (got == 0)
        return Status::Closed;
    if (got < 0)
        return got == -1 ? Status::SystemError : Abandon(Status::ProtocolError);
    if (!IsCopyDataHeader(buffer))
        return Abandon(Status::ProtocolError);
    if (ReadFully(m_ownFd, buffer + CopyDataHeaderBytes, long(ProgressRecordBytes))
        != long(ProgressRecordBytes))
        return Abandon(Status::ProtocolError);
    ++m_count;
    if (callback)
        callback(DecodeProgressRecord(buffer + CopyDataHeaderBytes));
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
