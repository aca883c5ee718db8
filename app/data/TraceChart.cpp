#include "app/data/TraceChart.h"

#include "app/data/TraceSet.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

QString TraceInformation(int traces, int samples)
{
    return QCoreApplication::translate("TraceChart", "(%1 receivers, %2 time samples)")
        .arg(traces)
        .arg(samples);
}

namespace {

// The closed outline of the positive lobes of one trace around the baseline x = base: the
// clipped wiggle down the trace, with a point on the baseline wherever the trace crosses zero,
// then back up the baseline.
TraceChart::Curve PositiveLobes(
    const std::vector<double> &amplitude, const std::vector<double> &times, double base)
{
    TraceChart::Curve fill;
    const size_t n = amplitude.size();
    if (n == 0)
        return fill;
    auto add = [&](double x, double y) {
        fill.x.push_back(x);
        fill.y.push_back(y);
    };
    add(base, times.front());
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (amplitude[i - 1] > 0.0) != (amplitude[i] > 0.0)) {
            const double a0 = amplitude[i - 1], a1 = amplitude[i];
            const double t = a0 / (a0 - a1);
            add(base, times[i - 1] + t * (times[i] - times[i - 1]));
        }
        add(base + std::max(0.0, amplitude[i]), times[i]);
    }
    add(base, times.back());
    add(base, times.front());
    return fill;
}

} // namespace

TraceChart BuildTraceChart(const TraceSet &set, int lastReceiverIndex, const TraceChartView &view)
{
    TraceChart chart;
    const int n = set.traces.GetCols();
    const int samples = set.traces.GetRows();
    const double secondsPerSample = set.timeStep * 0.001;
    std::vector<double> times(size_t(samples > 0 ? samples : 0));
    for (int i = 0; i < samples; ++i)
        times[size_t(i)] = set.sampleAxis(i) * secondsPerSample;

    const double step = view.metres && view.spacing > 0.0 ? view.spacing : 1.0;
    const double first = view.metres ? view.sourceOffset : 1.0;

    // Every trace without its mean, for drawing only: the stored amplitudes stay as read.
    const double *data = set.traces.GetData();
    std::vector<std::vector<double>> centred(
        static_cast<size_t>(n), std::vector<double>(static_cast<size_t>(samples)));
    std::vector<double> largest(size_t(n), 0.0);
    for (int c = 0; c < n; ++c) {
        double sum = 0.0;
        for (int i = 0; i < samples; ++i)
            sum += data[size_t(i) * size_t(n) + size_t(c)];
        const double mean = samples > 0 ? sum / samples : 0.0;
        std::vector<double> &trace = centred[size_t(c)];
        for (int i = 0; i < samples; ++i) {
            trace[size_t(i)] = data[size_t(i) * size_t(n) + size_t(c)] - mean;
            largest[size_t(c)] = std::max(largest[size_t(c)], std::fabs(trace[size_t(i)]));
        }
    }
    if (view.commonScale) {
        double record = 0.0;
        for (double l : largest) {
            if (std::isfinite(l))
                record = std::max(record, l);
        }
        std::fill(largest.begin(), largest.end(), record);
    }

    chart.wiggles.resize(size_t(n));
    for (int c = 0; c < n; ++c) {
        const double base = first + c * step;
        const double scale = largest[size_t(c)];
        const bool flat = !(scale > 0.0) || !std::isfinite(scale);
        std::vector<double> &trace = centred[size_t(c)];
        for (double &value : trace)
            value = flat ? 0.0 : 0.5 * step * value / scale;
        TraceChart::Curve &wiggle = chart.wiggles[size_t(c)];
        wiggle.y = times;
        wiggle.x.resize(size_t(samples));
        for (int i = 0; i < samples; ++i)
            wiggle.x[size_t(i)] = base + trace[size_t(i)];
        if (view.metres)
            chart.fills.push_back(PositiveLobes(trace, times, base));
    }

    const double total = samples * secondsPerSample;
    const double start = set.windowStart * 0.001;
    const double end = set.windowEnd * 0.001;
    const double left = first - step;
    const double right = first + n * step;
    const double x = lastReceiverIndex >= n - 1 ? right : first + (lastReceiverIndex + 0.5) * step;
    chart.outline.x = { left, right, right, left, left, x, x, left, left };
    chart.outline.y = { 0, 0, total, total, end, end, start, start, 0 };

    chart.xMin = left;
    chart.xMax = right;
    chart.yMin = 0.0;
    chart.yMax = samples > 0 ? times.back() : 0.0;
    chart.information = TraceInformation(n, samples);
    return chart;
}
