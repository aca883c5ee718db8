#include "app/data/TraceSet.h"

#include "app/data/TraceReaders.h"

#include <QCoreApplication>

namespace {

CMatrix MatrixOfRead(const TraceReadResult &read)
{
    CMatrix traces(read.samples, read.traces);
    double *data = traces.GetWritableData();
    std::copy(read.values.begin(), read.values.end(), data);
    return traces;
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
    Replace(read, path);
    traces = merged;
    traceCount = merged.GetCols();
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
        for (int r = 0; r < rows; ++r)
            sum += data[size_t(r) * size_t(n) + size_t(c)];
        const double mean = sum / rows;
        for (int r = 0; r < rows; ++r)
            data[size_t(r) * size_t(n) + size_t(c)] -= mean;
    }
}
