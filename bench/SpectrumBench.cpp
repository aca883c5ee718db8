// Speed of the f-k transform on a long active record: 48 traces of 8192 samples, the whole
// record as window (time size 8192), on one thread. Also the hand-over that windows the
// traces, and the picking over a 5-80 Hz band, for scale.
#include "app/data/TraceSet.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/FkSpectrum.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

TraceSet LongRecord()
{
    const int samples = 8192;
    const int traces = 48;
    TraceSet set;
    set.loaded = true;
    set.timeStep = 0.25;
    set.receiverSpacing = 2.0;
    set.traceCount = traces;
    set.lastReceiver = traces - 1;
    set.sampleCount = samples;
    set.windowStart = 0.0;
    set.windowEnd = (samples - 1) * set.timeStep;
    set.traces = CMatrix(samples, traces);
    for (int s = 0; s < samples; ++s)
        for (int t = 0; t < traces; ++t)
            set.traces.SetRaw(s, t, std::sin(0.01 * s * (1.0 + 0.02 * t)) * std::exp(-1e-4 * s));
    return set;
}

void Transform(benchmark::State &state)
{
    const TraceSet set = LongRecord();
    DispersionAnalysis analysis;
    analysis.HandOverActiveTraces(set);
    for (auto _ : state) {
        ShotRecord rec = analysis.m_active;
        benchmark::DoNotOptimize(ComputeFkSpectrum(rec));
        benchmark::DoNotOptimize(rec.spectrum.GetData());
    }
    state.counters["time_size"] = analysis.m_active.timeSize;
}

void HandOverAndTransformAndPick(benchmark::State &state)
{
    const TraceSet set = LongRecord();
    for (auto _ : state) {
        DispersionAnalysis analysis;
        analysis.HandOverActiveTraces(set);
        ComputeFkSpectrum(analysis.m_active);
        const PickedCurve curve = PickSpectrumCurve(analysis.m_active, 5.0, 80.0);
        benchmark::DoNotOptimize(curve.velocities.GetData());
    }
}

} // namespace

BENCHMARK(Transform)->Unit(benchmark::kMillisecond);
BENCHMARK(HandOverAndTransformAndPick)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
