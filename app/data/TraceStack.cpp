// Trace-by-trace stacking of records of the same geometry.

#include "app/data/TraceStack.h"

#include "app/data/TraceSet.h"

#include <QCoreApplication>

#include <cmath>

bool StackTraceRead(TraceReadResult &sum, const TraceReadResult &next, QString *message)
{
    auto refuse = [message](const char *text) {
        if (message)
            *message = QCoreApplication::translate("TraceStack", text);
        return false;
    };
    if (!next.ok)
        return refuse(QT_TRANSLATE_NOOP("TraceStack", "The record to stack was not read"));
    if (!sum.ok) {
        sum = next;
        return true;
    }
    if (next.traces != sum.traces)
        return refuse(QT_TRANSLATE_NOOP("TraceStack",
            "The records cannot be stacked (they have a different number of traces)"));
    if (next.samples != sum.samples)
        return refuse(QT_TRANSLATE_NOOP("TraceStack",
            "The records cannot be stacked (they have a different number of time samples)"));
    // A record without its own time step takes the one in force, as a read does.
    if (next.hasTimeStep && sum.hasTimeStep
        && std::fabs(next.timeStepMs - sum.timeStepMs) > 1e-9 * std::fabs(sum.timeStepMs))
        return refuse(QT_TRANSLATE_NOOP(
            "TraceStack", "The records cannot be stacked (they have a different time step)"));
    if (!sum.hasTimeStep && next.hasTimeStep) {
        sum.hasTimeStep = true;
        sum.timeStepMs = next.timeStepMs;
    }
    for (size_t i = 0; i < sum.values.size(); ++i)
        sum.values[i] += next.values[i];
    return true;
}

bool StackIntoTraceSet(TraceSet &set, const TraceReadResult &next, QString *message)
{
    auto refuse = [message](const char *text) {
        if (message)
            *message = QCoreApplication::translate("TraceStack", text);
        return false;
    };
    if (!next.ok || !set.loaded)
        return refuse(QT_TRANSLATE_NOOP("TraceStack", "The record to stack was not read"));
    if (next.traces != set.traces.GetCols())
        return refuse(QT_TRANSLATE_NOOP("TraceStack",
            "The records cannot be stacked (they have a different number of traces)"));
    if (next.samples != set.traces.GetRows())
        return refuse(QT_TRANSLATE_NOOP("TraceStack",
            "The records cannot be stacked (they have a different number of time samples)"));
    if (next.hasTimeStep
        && std::fabs(next.timeStepMs - set.timeStep) > 1e-9 * std::fabs(set.timeStep))
        return refuse(QT_TRANSLATE_NOOP(
            "TraceStack", "The records cannot be stacked (they have a different time step)"));
    const int traces = next.traces;
    const int samples = next.samples;
    for (int t = 0; t < traces; ++t) {
        double mean = 0.0;
        for (int i = 0; i < samples; ++i)
            mean += next.At(i, t);
        mean /= samples;
        const int column = set.reversed ? traces - 1 - t : t;
        for (int i = 0; i < samples; ++i)
            set.traces.SetRaw(i, column, set.traces(i, column) + next.At(i, t) - mean);
    }
    return true;
}
