#include "app/spectrum/DispersionAnalysis.h"

#include "app/data/TraceSet.h"
#include "matrix/CMatrixArchive.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

constexpr int SpatialSize = 256;

/// Steps 1 to 6 of the preparation; columns is the width of the windowed-trace matrix (0 for
/// one column per trace). Returns false when the set cannot be windowed.
bool Prepare(ShotRecord &rec, const TraceSet &set, int columns)
{
    const int samples = set.traces.GetRows();
    if (samples <= 0 || set.traces.GetCols() <= 0 || !(set.timeStep > 0.0)
        || !std::isfinite(set.timeStep) || !std::isfinite(set.windowStart)
        || !std::isfinite(set.windowEnd) || set.windowEnd < set.windowStart
        || set.windowStart < 0.0)
        return false;
    const double dt = set.timeStep;
    const double startIndex = std::trunc(set.windowStart / dt);
    const double endIndex = std::trunc(set.windowEnd / dt);
    // A start far beyond any record would overflow the sample counters.
    if (startIndex > 1 << 30)
        return false;
    const int iStart = static_cast<int>(startIndex);
    // Past the record's end the window holds only zeros: it is cut one sample after the end,
    // so that a mistyped window end cannot ask for a transform larger than the record.
    const double length = std::min(endIndex - startIndex + 1.0, samples + 1.0);
    const int timeSize = SpectrumTimeSize(static_cast<int>(length));
    if (timeSize <= 0)
        return false;

    ShotRecord next;
    next.fileName = set.fileName;
    next.timeStep = dt;
    next.traceCount = set.traceCount;
    next.firstReceiver = std::max(0, set.firstReceiver);
    next.lastReceiver = std::min(set.lastReceiver, set.traces.GetCols() - 1);
    next.windowSampleCount = set.windowSampleCount;
    next.spatialSize = SpatialSize;
    next.receiversUsed = std::max(0, next.lastReceiver - next.firstReceiver + 1);
    next.timeSize = timeSize;
    next.receiversDepth = set.receiversDepth;
    next.sourceDepth = set.sourceDepth;
    next.reserved = 0.0;
    next.recordLength = (samples - 1) * dt;
    next.reversed = set.reversed;
    next.spare = rec.spare;
    next.firstWindowSample = iStart;
    next.windowEndCount = timeSize - iStart + 1;
    next.receiverSpacing = set.receiverSpacing;

    const int width = columns > 0 ? columns : set.traces.GetCols();
    // Receivers beyond the transform's width take no part (at most 256 in the active record).
    const int usedColumns = std::min(width, next.receiversUsed);
    next.timeAxis = CMatrix(timeSize, 1);
    next.windowedTraces = CMatrix(timeSize, width);
    for (int i = 0; i < timeSize && iStart + i < samples; ++i) {
        next.timeAxis.SetRaw(i, 0, set.windowStart + i * dt);
        for (int j = 0; j < usedColumns; ++j)
            next.windowedTraces.SetRaw(i, j, set.traces(iStart + i, next.firstReceiver + j));
    }
    next.receiverOffsets = CMatrix(next.receiversUsed, 1);
    for (int j = 0; j < next.receiversUsed; ++j)
        next.receiverOffsets.SetRaw(j, 0, (next.firstReceiver + j) * set.receiverSpacing);
    rec = std::move(next);
    return true;
}

void StoreBool(CMatrixArchive &ar, bool value) { ar.WriteInt32(value ? 1 : 0); }

} // namespace

int SpectrumTimeSize(int windowSamples)
{
    if (windowSamples <= 0)
        return 0;
    // Exact in integers: the logarithm form rounds 1024 up to 2048.
    int size = 1;
    while (size < windowSamples)
        size *= 2;
    return size;
}

void ShotRecord::Store(CMatrixArchive &ar) const
{
    ar.WriteLine(fileName.toStdString());
    ar.WriteFloat64(timeStep);
    ar.WriteInt32(traceCount);
    ar.WriteInt32(firstReceiver);
    ar.WriteInt32(lastReceiver);
    ar.WriteInt32(windowSampleCount);
    ar.WriteInt32(spatialSize);
    ar.WriteInt32(receiversUsed);
    ar.WriteInt32(timeSize);
    ar.WriteFloat64(receiversDepth);
    ar.WriteFloat64(sourceDepth);
    ar.WriteFloat64(reserved);
    ar.WriteFloat64(recordLength);
    StoreBool(ar, reversed);
    ar.WriteInt32(spare);
    ar.WriteInt32(firstWindowSample);
    ar.WriteInt32(windowEndCount);
    timeAxis.Store(ar);
    windowedTraces.Store(ar);
    receiverOffsets.Store(ar);
    spectrum.Store(ar);
    frequencyAxis.Store(ar);
    wavenumberAxis.Store(ar);
    ar.WriteFloat64(receiverSpacing);
}

void ShotRecord::Load(CMatrixArchive &ar)
{
    ShotRecord r;
    r.fileName = QString::fromStdString(ar.ReadLine());
    r.timeStep = ar.ReadFloat64();
    r.traceCount = ar.ReadInt32();
    r.firstReceiver = ar.ReadInt32();
    r.lastReceiver = ar.ReadInt32();
    r.windowSampleCount = ar.ReadInt32();
    r.spatialSize = ar.ReadInt32();
    r.receiversUsed = ar.ReadInt32();
    r.timeSize = ar.ReadInt32();
    r.receiversDepth = ar.ReadFloat64();
    r.sourceDepth = ar.ReadFloat64();
    r.reserved = ar.ReadFloat64();
    r.recordLength = ar.ReadFloat64();
    r.reversed = ar.ReadInt32() != 0;
    r.spare = ar.ReadInt32();
    r.firstWindowSample = ar.ReadInt32();
    r.windowEndCount = ar.ReadInt32();
    r.timeAxis.Load(ar);
    r.windowedTraces.Load(ar);
    r.receiverOffsets.Load(ar);
    r.spectrum.Load(ar);
    r.frequencyAxis.Load(ar);
    r.wavenumberAxis.Load(ar);
    r.receiverSpacing = ar.ReadFloat64();
    // Only a complete record replaces the one in force.
    *this = std::move(r);
}

bool DispersionAnalysis::HandOverActiveTraces(const TraceSet &set)
{
    m_bPrepared = Prepare(m_active, set, SpatialSize);
    return m_bPrepared;
}

bool DispersionAnalysis::HandOverPassiveTraces(const TraceSet &set)
{
    return Prepare(m_passive, set, 0);
}

void DispersionAnalysis::HandOverPassiveSpectrum(
    const CMatrix &image, const CMatrix &frequencyAxis, const CMatrix &velocityAxis)
{
    m_passiveImage = image;
    m_passiveFrequencyAxis = frequencyAxis;
    m_passiveVelocityAxis = velocityAxis;
    m_bPassivePrepared = true;
}

void DispersionAnalysis::HandOverCurve(const CMatrix &frequencies, const CMatrix &velocities,
    const CMatrix &maxVelocities, const CMatrix &minVelocities)
{
    const int n = std::min({ frequencies.GetCount(), velocities.GetCount(),
        maxVelocities.GetCount(), minVelocities.GetCount() });
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    // Stable, so that equal frequencies keep their table order as adjacent swaps would.
    std::stable_sort(
        order.begin(), order.end(), [&](int a, int b) { return frequencies(a) < frequencies(b); });
    ExperimentalCurve curve;
    curve.frequencies = CMatrix(n, 1);
    curve.velocities = CMatrix(n, 1);
    curve.standardDeviations = CMatrix(n, 1);
    curve.maxVelocities = CMatrix(n, 1);
    curve.minVelocities = CMatrix(n, 1);
    for (int row = 0; row < n; ++row) {
        const int k = order[static_cast<std::size_t>(row)];
        curve.frequencies.SetRaw(row, 0, frequencies(k));
        curve.velocities.SetRaw(row, 0, velocities(k));
        curve.standardDeviations.SetRaw(row, 0, (maxVelocities(k) - minVelocities(k)) / 6.0);
        curve.maxVelocities.SetRaw(row, 0, maxVelocities(k));
        curve.minVelocities.SetRaw(row, 0, minVelocities(k));
    }
    m_curve = std::move(curve);
}
