#include "app/data/TraceSet.h"

#include "app/data/TraceReaders.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

CMatrix MatrixOfRead(const TraceReadResult &read)
{
    CMatrix traces(read.samples, read.traces);
    double *data = traces.GetWritableData();
    std::copy(read.values.begin(), read.values.end(), data);
    return traces;
}

bool Same(double a, double b) { return std::fabs(a - b) <= 1e-3; }

TraceGeometry MergedGeometry(const TraceGeometry &current, const TraceGeometry &added)
{
    TraceGeometry merged;
    merged.hasSpacing =
        current.hasSpacing && added.hasSpacing && Same(current.spacingM, added.spacingM);
    merged.spacingM = current.spacingM;
    const double step =
        current.lastReceiverM >= current.firstReceiverM ? current.spacingM : -current.spacingM;
    // The new spread continues the current one: its first receiver is one step past the last
    // one, and it runs the same way.
    const bool continues = merged.hasSpacing && current.hasReceivers && added.hasReceivers
        && Same(added.firstReceiverM, current.lastReceiverM + step)
        && (added.lastReceiverM - added.firstReceiverM) * step >= 0.0;
    if (continues && current.hasSource && added.hasSource && Same(current.sourceM, added.sourceM)) {
        merged.hasReceivers = true;
        merged.firstReceiverM = current.firstReceiverM;
        merged.lastReceiverM = added.lastReceiverM;
        merged.hasSource = true;
        merged.sourceM = current.sourceM;
    }
    merged.hasDelay = current.hasDelay && added.hasDelay && Same(current.delayMs, added.delayMs);
    merged.delayMs = current.delayMs;
    return merged;
}

} // namespace

QString TraceMergeMessage()
{
    return QCoreApplication::translate(
        "TraceSet", "The traces cannot be merged (they have a different number of time samples)");
}

void TraceSet::RebuildSampleAxis()
{
    CMatrix axis(sampleCount, 1);
    for (int i = 0; i < sampleCount; ++i)
        axis.SetRaw(i, double(i));
    sampleAxis = axis;
}

void TraceSet::Replace(const TraceReadResult &read, const QString &path)
{
    Q_ASSERT(read.ok);
    fileName = path;
    traces = MatrixOfRead(read);
    traceCount = read.traces;
    sampleCount = read.samples;
    RebuildSampleAxis();
    if (read.hasTimeStep)
        timeStep = read.timeStepMs;
    geometry = read.geometry;
    windowStart = 0.0;
    windowEnd = sampleCount * timeStep;
    reversed = false;
    loaded = true;
}

bool TraceSet::Append(const TraceReadResult &read, const QString &path)
{
    Q_ASSERT(read.ok);
    if (read.samples != sampleCount)
        return false;
    CMatrix merged = traces;
    merged.AppendColumns(MatrixOfRead(read));
    const TraceGeometry kept = geometry;
    Replace(read, path);
    traces = merged;
    traceCount = merged.GetCols();
    geometry = MergedGeometry(kept, read.geometry);
    return true;
}

void TraceSet::Reverse()
{
    const int n = traces.GetCols();
    const int rows = traces.GetRows();
    if (n < 2 || rows == 0)
        return;
    double *data = traces.GetWritableData();
    for (int r = 0; r < rows; ++r) {
        double *row = data + size_t(r) * size_t(n);
        for (int c = 0; c < n - 1 - c; ++c)
            std::swap(row[c], row[n - 1 - c]);
    }
}

void TraceSet::RemoveTraceMeans()
{
    const int n = traces.GetCols();
    const int rows = traces.GetRows();
    if (n == 0 || rows == 0)
        return;
    double *data = traces.GetWritableData();
    for (int c = 0; c < n; ++c) {
        double sum = 0.0;
        double largest = 0.0;
        for (int r = 0; r < rows; ++r) {
            const double x = data[size_t(r) * size_t(n) + size_t(c)];
            sum += x;
            largest = std::max(largest, std::fabs(x));
        }
        const double mean = sum / rows;
        // A mean within the rounding of the sum is a trace already mean-free: subtracting it
        // would only shift the last bits, so a document opened and saved again would drift.
        if (std::fabs(mean) <= rows * std::numeric_limits<double>::epsilon() * largest)
            continue;
        for (int r = 0; r < rows; ++r)
            data[size_t(r) * size_t(n) + size_t(c)] -= mean;
    }
}
