#include "jobs/EngineProgress.h"

#include <cstring>

namespace {

std::int32_t GetInt32(const unsigned char *p)
{
    const std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8
        | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
    std::int32_t r;
    std::memcpy(&r, &v, 4);
    return r;
}

double GetDouble(const unsigned char *p)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | p[i];
    double r;
    std::memcpy(&r, &v, 8);
    return r;
}

void PutInt32(unsigned char *p, std::int32_t value)
{
    std::uint32_t v;
    std::memcpy(&v, &value, 4);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void PutDouble(unsigned char *p, double value)
{
    std::uint64_t v;
    std::memcpy(&v, &value, 8);
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

} // namespace

const char *EngineStepName(std::int32_t stepNumber)
{
    switch (static_cast<EngineStep>(stepNumber)) {
    case EngineStep::SearchStart:
        return "search started";
    case EngineStep::BeforeSolver:
        return "dispersion solver";
    case EngineStep::BeforeEffectiveCurve:
        return "effective curve";
    case EngineStep::BeforeApparentCurve:
        return "apparent curve";
    case EngineStep::BeforeEigenfunctions:
        return "eigenfunctions";
    case EngineStep::BeforeIntegrals:
        return "energy integrals";
    case EngineStep::SearchSetUpDone:
        return "search set up";
    case EngineStep::IterationStart:
        return "iteration start";
    case EngineStep::BeforeTrial:
        return "trial start";
    case EngineStep::TrialMisfitDone:
        return "trial misfit";
    case EngineStep::OptimizationEnd:
        return "optimization end";
    case EngineStep::RunEnd:
        return "run end";
    case EngineStep::BeforeFinalForward:
        return "final forward runs";
    case EngineStep::AfterFinalForward:
        return "final curves computed";
    case EngineStep::IterationEnd:
        return "iteration end";
    }
    return nullptr;
}

const char *EngineEndReasonName(std::int32_t endReason)
{
    switch (static_cast<EngineEndReason>(endReason)) {
    case EngineEndReason::TargetReached:
        return "the target misfit was reached";
    case EngineEndReason::IterationsDone:
        return "the requested number of iterations was done";
    case EngineEndReason::StoppedByUser:
        return "the search was stopped by the user";
    case EngineEndReason::LastTrialFailed:
        return "the forward computation failed on the last trial";
    case EngineEndReason::NoImprovement:
        return "an iteration brought no improvement";
    case EngineEndReason::NoFinalModel:
        return "no model could be computed";
    }
    return nullptr;
}

void EncodeCopyDataHeader(unsigned char *bytes)
{
    PutInt32(bytes + 0, CopyDataIdentifier);
    PutInt32(bytes + 4, CopyDataByteCount);
    PutInt32(bytes + 8, 0);
}

bool IsCopyDataHeader(const unsigned char *bytes)
{
    return GetInt32(bytes) == CopyDataIdentifier && GetInt32(bytes + 4) == CopyDataByteCount;
}

void EncodeProgressRecord(const EngineProgress &r, unsigned char *b)
{
    std::memset(b, 0, ProgressRecordBytes);
    PutInt32(b + offsetof(EngineProgress, kind), r.kind);
    PutDouble(b + offsetof(EngineProgress, secondMisfit), r.secondMisfit);
    PutInt32(b + offsetof(EngineProgress, iterationCounter), r.iterationCounter);
    PutDouble(b + offsetof(EngineProgress, targetMisfit), r.targetMisfit);
    PutInt32(b + offsetof(EngineProgress, trialCounter), r.trialCounter);
    PutInt32(b + offsetof(EngineProgress, iterationsRequested), r.iterationsRequested);
    PutDouble(b + offsetof(EngineProgress, firstMisfit), r.firstMisfit);
    PutDouble(b + offsetof(EngineProgress, currentMisfit), r.currentMisfit);
    PutInt32(b + offsetof(EngineProgress, stepValue), r.stepValue);
    PutInt32(b + offsetof(EngineProgress, stepNumber), r.stepNumber);
    PutInt32(b + offsetof(EngineProgress, endReason), r.endReason);
    PutDouble(b + offsetof(EngineProgress, latestTrialMisfit), r.latestTrialMisfit);
}

EngineProgress DecodeProgressRecord(const unsigned char *b)
{
    EngineProgress r;
    r.kind = GetInt32(b + offsetof(EngineProgress, kind));
    r.secondMisfit = GetDouble(b + offsetof(EngineProgress, secondMisfit));
    r.iterationCounter = GetInt32(b + offsetof(EngineProgress, iterationCounter));
    r.targetMisfit = GetDouble(b + offsetof(EngineProgress, targetMisfit));
    r.trialCounter = GetInt32(b + offsetof(EngineProgress, trialCounter));
    r.iterationsRequested = GetInt32(b + offsetof(EngineProgress, iterationsRequested));
    r.firstMisfit = GetDouble(b + offsetof(EngineProgress, firstMisfit));
    r.currentMisfit = GetDouble(b + offsetof(EngineProgress, currentMisfit));
    r.stepValue = GetInt32(b + offsetof(EngineProgress, stepValue));
    r.stepNumber = GetInt32(b + offsetof(EngineProgress, stepNumber));
    r.endReason = GetInt32(b + offsetof(EngineProgress, endReason));
    r.latestTrialMisfit = GetDouble(b + offsetof(EngineProgress, latestTrialMisfit));
    return r;
}
