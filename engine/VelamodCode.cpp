// VelamodCode: the host's variables and the progress notifications. The identifications
// and the misfit live in their own files.
#include "engine/VelamodCode.h"

#include <cerrno>
#include <cstdio>

#include <sys/socket.h>
#include <sys/types.h>

namespace velamod {

namespace {

// Sends all bytes; MSG_NOSIGNAL keeps a closed peer from killing the process.
bool SendAll(int channel, const unsigned char *bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t sent = ::send(channel, bytes, count, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += sent;
        count -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool ReceiveAnswer(int channel)
{
    unsigned char answer = 0;
    for (;;) {
        const ssize_t received = ::recv(channel, &answer, 1, 0);
        if (received == 1)
            return true;
        if (received < 0 && errno == EINTR)
            continue;
        return false; // 0: the peer closed its end
    }
}

} // namespace

bool SendProgressNotification(NotificationWindow channel, const EngineProgress &record)
{
    if (channel < 0)
        return false;
    unsigned char message[NotificationMessageBytes];
    EncodeCopyDataHeader(message);
    EncodeProgressRecord(record, message + CopyDataHeaderBytes);
    return SendAll(channel, message, sizeof message) && ReceiveAnswer(channel);
}

} // namespace velamod

VelamodCode::VelamodCode() = default;

VelamodCode::~VelamodCode() = default;

void VelamodCode::SetPointer(bool *stopFlag, int *spareCounterA, double *secondMisfit,
    double *firstMisfit, double *currentMisfit, double *targetMisfit, int *spareCounterB,
    CMatrix *spareMatrixA, CMatrix *spareMatrixB, NotificationWindow window)
{
    m_stopFlag = stopFlag;
    m_spareCounterA = spareCounterA;
    m_secondMisfit = secondMisfit;
    m_firstMisfit = firstMisfit;
    m_currentMisfit = currentMisfit;
    m_targetMisfit = targetMisfit;
    m_spareCounterB = spareCounterB;
    m_spareMatrixA = spareMatrixA;
    m_spareMatrixB = spareMatrixB;
    m_window = window;
    m_channelClosed = false;
}

void VelamodCode::SegnalaStep(int stepNumber, int stepValue)
{
    if (m_window == NoNotificationWindow) {
        std::printf("SegnalaStep %d\n", stepNumber);
        std::fflush(stdout);
        return;
    }
    m_progress.stepNumber = stepNumber;
    m_progress.stepValue = stepValue;
    Notify(EngineProgressKindStep);
}

void VelamodCode::SegnalaFine(int endReason)
{
    if (m_window == NoNotificationWindow) {
        std::printf("SegnalaFine %d \n", endReason);
        std::fflush(stdout);
        return;
    }
    m_progress.endReason = endReason;
    Notify(EngineProgressKindEnd);
}

void VelamodCode::Notify(std::int32_t kind)
{
    // A variable the host did not provide keeps the record's previous value.
    auto copy = [](double &field, const double *variable) {
        if (variable)
            field = *variable;
    };
    m_progress.kind = kind;
    copy(m_progress.secondMisfit, m_secondMisfit);
    m_progress.iterationCounter = m_iterationCounter;
    copy(m_progress.targetMisfit, m_targetMisfit);
    m_progress.trialCounter = m_trialCounter;
    m_progress.iterationsRequested = m_iterationsRequested;
    copy(m_progress.firstMisfit, m_firstMisfit);
    copy(m_progress.currentMisfit, m_currentMisfit);
    m_progress.latestTrialMisfit = m_latestTrialMisfit;

    m_copyDataHeader = { CopyDataIdentifier, CopyDataByteCount, 0 };
    // Once VELA has gone away the search carries on without telling anyone.
    if (m_channelClosed)
        return;
    if (!velamod::SendProgressNotification(m_window, m_progress))
        m_channelClosed = true;
}
