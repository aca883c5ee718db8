// The progress record the engine sends to the application during a run, and the
// copy-data header that precedes it on the notification channel.
#ifndef VELA_ENGINE_ENGINEPROGRESS_H
#define VELA_ENGINE_ENGINEPROGRESS_H

#include <cstddef>
#include <cstdint>

/// The 80-byte progress record (little-endian, fixed offsets: it crosses the process
/// boundary between runner and VELA). Reserved bytes are never written by the engine.
struct EngineProgress
{
    std::int32_t kind; ///< 0: EngineProgressKindStep (1063) or EngineProgressKindEnd (1064)
    std::uint8_t reserved0[4]; ///< 4
    double secondMisfit; ///< 8: current value of the second-misfit variable
    std::int32_t iterationCounter; ///< 16: iterations completed by the automatic search
    std::uint8_t reserved1[4]; ///< 20
    double targetMisfit; ///< 24: current value of the target-misfit variable
    std::int32_t trialCounter; ///< 32: damping value being tried (0..4)
    std::int32_t iterationsRequested; ///< 36
    double firstMisfit; ///< 40: current value of the first-misfit variable
    double currentMisfit; ///< 48: current value of the current-misfit variable
    std::int32_t stepValue; ///< 56: value of a step notification
    std::int32_t stepNumber; ///< 60: step number (step notifications only)
    std::int32_t endReason; ///< 64: end reason (end notifications only)
    std::uint8_t reserved2[4]; ///< 68
    double latestTrialMisfit; ///< 72: misfit of the last trial model of the search
};

static_assert(sizeof(EngineProgress) == 80, "EngineProgress must be 80 bytes");
static_assert(offsetof(EngineProgress, kind) == 0);
static_assert(offsetof(EngineProgress, secondMisfit) == 8);
static_assert(offsetof(EngineProgress, iterationCounter) == 16);
static_assert(offsetof(EngineProgress, targetMisfit) == 24);
static_assert(offsetof(EngineProgress, trialCounter) == 32);
static_assert(offsetof(EngineProgress, iterationsRequested) == 36);
static_assert(offsetof(EngineProgress, firstMisfit) == 40);
static_assert(offsetof(EngineProgress, currentMisfit) == 48);
static_assert(offsetof(EngineProgress, stepValue) == 56);
static_assert(offsetof(EngineProgress, stepNumber) == 60);
static_assert(offsetof(EngineProgress, endReason) == 64);
static_assert(offsetof(EngineProgress, latestTrialMisfit) == 72);

/// Record kinds.
constexpr std::int32_t EngineProgressKindStep = 1063;
constexpr std::int32_t EngineProgressKindEnd = 1064;

/// The copy-data header sent before each record: three little-endian int32 words,
/// identifier 1, byte count 80, and 0 in place of the record's address.
struct CopyDataHeader
{
    std::int32_t identifier;
    std::int32_t byteCount;
    std::int32_t pointer;
};
static_assert(sizeof(CopyDataHeader) == 12, "CopyDataHeader must be 12 bytes");

constexpr std::int32_t CopyDataIdentifier = 1;
constexpr std::int32_t CopyDataByteCount = 80;
/// Bytes of one notification on the channel: header then record.
constexpr std::size_t NotificationMessageBytes = sizeof(CopyDataHeader) + sizeof(EngineProgress);

/// Handle of the notification channel: the descriptor of the engine's end of a Unix
/// socket pair that the host inherited from VELA. NoNotificationWindow (0) means none.
using NotificationWindow = int;
constexpr NotificationWindow NoNotificationWindow = 0;

/// Step numbers reported by the engine.
enum class EngineStep : std::int32_t {
    SearchStart = 0,
    BeforeSolver = 1,
    BeforeEffectiveCurve = 2,
    BeforeApparentCurve = 3,
    BeforeEigenfunctions = 4,
    BeforeIntegrals = 5,
    SearchSetUpDone = 6,
    IterationStart = 7,
    BeforeTrial = 8,
    TrialMisfitDone = 9,
    RunEnd = 11,
    BeforeFinalForward = 12,
    AfterFinalForward = 13,
    IterationEnd = 14,
};

/// End reasons of the automatic search (end notifications).
enum class EngineEndReason : std::int32_t {
    TargetReached = 0,
    IterationsDone = 1,
    LastTrialFailed = 3,
    NoImprovement = 4,
    NoFinalModel = 5,
};

namespace velamod {

/// Sends one notification on the socket `channel`: the header (1, 80, 0), then the
/// record, then blocks until the peer answers with one byte.
/// Returns false when the peer has closed its end or the channel fails in any other
/// way; the caller should then stop notifying. Never raises SIGPIPE or throws.
bool SendProgressNotification(NotificationWindow channel, const EngineProgress &record);

} // namespace velamod

#endif // VELA_ENGINE_ENGINEPROGRESS_H
