// Speed of the passive slowness-frequency image: 24 traces x 16384 samples at 2 ms (about
// 33 s of ambient noise), with the default slowness grid.
#include "app/spectrum/PassiveTransform.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

void PassiveImage24x16384(benchmark::State &state)
{
    const int traces = 24;
    const int samples = 16384;
    std::mt19937 random(5);
    std::normal_distribution<double> noise;
    CMatrix record(samples, traces);
    double *data = record.GetWritableData();
    for (int i = 0; i < samples * traces; ++i)
        data[i] = noise(random);

    PassiveParams params;
    params.timeStepMs = 2.0;
    for (int j = 0; j < traces; ++j)
        params.offsets.push_back(2.0 * j);
    for (auto _ : state) {
        const PassiveSpectrum spectrum = ComputePassiveSpectrum(record, params);
        benchmark::DoNotOptimize(spectrum.image.GetData());
        if (!spectrum.ok)
            state.SkipWithError("transform refused");
    }
}

} // namespace

BENCHMARK(PassiveImage24x16384)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
