#include "app/data/TraceChart.h"

#include "app/data/TraceSet.h"

#include <QCoreApplication>

#include <cmath>

QString TraceInformation(int traces, int samples)
{
    return QCoreApplication::translate("TraceChart", "(%1 receivers, %2 time samples)")
        .arg(traces)
        .arg(samples);
}

TraceChart BuildTraceChart(TraceSet &set, int lastReceiverIndex)
{
    TraceChart chart;
    set.RemoveTraceMeans();
    const int n = set.traces.GetCols();
    const int samples = set.traces.GetRows();
    const double secondsPerSample = set.timeStep * 0.001;
    std::vector<double> times(size_t(samples > 0 ? samples : 0));
    for (int i = 0; i < samples; ++i)
        times[size_t(i)] = set.sampleAxis(i) * secondsPerSample;

    const double *data = set.traces.GetData();
    chart.wiggles.resize(size_t(n));
    for (int c = 0; c < n; ++c) {
        double largest = 0.0;
        for (int i = 0; i < samples; ++i)
            largest = std::max(largest, std::fabs(data[size_t(i) * size_t(n) + size_t(c)]));
        TraceChart::Curve &wiggle = chart.wiggles[size_t(c)];
        wiggle.y = times;
        wiggle.x.resize(size_t(samples));
        const bool flat = !(largest > 0.0) || !std::isfinite(largest);
        for (int i = 0; i < samples; ++i) {
            const double value = data[size_t(i) * size_t(n) + size_t(c)];
            wiggle.x[size_t(i)] = c + 1 + (flat ? 0.0 : 0.5 * value / largest);
        }
    }

    const double total = samples * secondsPerSample;
    const double start = set.windowStart * 0.001;
    const double end = set.windowEnd * 0.001;
    const double right = n + 1;
    const double x = lastReceiverIndex >= n - 1 ? right : lastReceiverIndex + 1.5;
    chart.outline.x = { 0, right, right, 0, 0, x, x, 0, 0 };
    chart.outline.y = { 0, 0, total, total, end, end, start, start, 0 };

    chart.xMin = 0.0;
    chart.xMax = right;
    chart.yMin = 0.0;
    chart.yMax = samples > 0 ? times.back() : 0.0;
    chart.information = TraceInformation(n, samples);
    return chart;
}
