// The progress record the engine sends to the application during a run, the copy-data
// header that precedes it on the notification channel, its byte codec, and the names of the
// step numbers and end reasons it carries. Shared by the engine (sender) and the receivers.
#ifndef VELA_JOBS_ENGINEPROGRESS_H
#define VELA_JOBS_ENGINEPROGRESS_H

#include <cstddef>
#include <cstdint>

/// The 80-byte progress record (little-endian, fixed offsets: it crosses the process
/// boundary between runner and VELA). Reserved bytes are written as zeros and ignored when
/// read.
struct EngineProgress
{
    std::int32_t kind = 0; ///< 0: EngineProgressKindStep (1063) or EngineProgressKindEnd (1064)
    std::uint8_t reserved0[4] = {}; ///< 4
    double secondMisfit = 0; ///< 8: current value of the second-misfit variable (fraction)
    std::int32_t iterationCounter = 0; ///< 16: iterations completed by the automatic search
    std::uint8_t reserved1[4] = {}; ///< 20
    double targetMisfit = 0; ///< 24: current value of the target-misfit variable (fraction)
    std::int32_t trialCounter = 0; ///< 32: damping value being tried (0..4)
    std::int32_t iterationsRequested = 0; ///< 36
    double firstMisfit = 0; ///< 40: current value of the first-misfit variable (fraction)
    double currentMisfit = 0; ///< 48: current value of the current-misfit variable (fraction)
    std::int32_t stepValue = 0; ///< 56: value of a step notification
    std::int32_t stepNumber = 0; ///< 60: step number (step notifications only)
    std::int32_t endReason = 0; ///< 64: end reason (end notifications only)
    std::uint8_t reserved2[4] = {}; ///< 68
    double latestTrialMisfit = 0; ///< 72: misfit of the last trial model of the search
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
/// Bytes of the record and of the header on the channel.
constexpr std::size_t ProgressRecordBytes = sizeof(EngineProgress);
constexpr std::size_t CopyDataHeaderBytes = sizeof(CopyDataHeader);
/// Bytes of one notification on the channel: header then record.
constexpr std::size_t NotificationMessageBytes = CopyDataHeaderBytes + ProgressRecordBytes;

/// Handle of the notification channel: the descriptor of the engine's end of a Unix
/// socket pair that the host inherited from VELA. NoNotificationWindow (0) means none.
using NotificationWindow = int;
constexpr NotificationWindow NoNotificationWindow = 0;

/// Step numbers reported by the engine (the step notification's stepNumber).
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
    OptimizationEnd = 10,
    RunEnd = 11,
    BeforeFinalForward = 12,
    AfterFinalForward = 13,
    IterationEnd = 14,
};

/// End reasons (the end notification's endReason). StoppedByUser is never sent by the
/// engine: the host's Stop reports it when it ends the run itself.
enum class EngineEndReason : std::int32_t {
    TargetReached = 0,
    IterationsDone = 1,
    StoppedByUser = 2,
    LastTrialFailed = 3,
    NoImprovement = 4,
    NoFinalModel = 5,
};

/// The number that travels in the record.
constexpr std::int32_t StepNumber(EngineStep step) { return static_cast<std::int32_t>(step); }
constexpr std::int32_t EndReasonNumber(EngineEndReason reason)
{
    return static_cast<std::int32_t>(reason);
}

/// A short English description of a step number ("dispersion solver", "iteration start",
/// ...), or nullptr for a number that is no step. For logs and the command line; the pages
/// show their own translated texts.
const char *EngineStepName(std::int32_t stepNumber);

/// A short English description of an end reason, or nullptr for a number that is none.
const char *EngineEndReasonName(std::int32_t endReason);

/// Writes the header (1, 80, 0) into 12 bytes, little-endian.
void EncodeCopyDataHeader(unsigned char *bytes);

/// True when 12 bytes hold the header of a notification (identifier 1, byte count 80).
bool IsCopyDataHeader(const unsigned char *bytes);

/// Encodes a record into 80 bytes at its offsets, little-endian whatever the host order;
/// reserved bytes are zero.
void EncodeProgressRecord(const EngineProgress &record, unsigned char *bytes);

/// Decodes an 80-byte record (little-endian, whatever the host order); reserved bytes are
/// dropped.
EngineProgress DecodeProgressRecord(const unsigned char *bytes);

#endif // VELA_JOBS_ENGINEPROGRESS_H
