// Speed of the phase-shift dispersion image: 48 traces x 8192 samples at 0.5 ms, 500 trial
// velocities (50 to 1048 m/s by 2 m/s).
//
// Argument: highest frequency of the image [Hz] (100 is the band a field engineer looks at;
// 1000 is the whole spectrum up to Nyquist).
#include "app/spectrum/PhaseShiftTransform.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

void PhaseShiftImage48x8192(benchmark::State &state)
{
    const int traces = 48;
    const int samples = 8192;
    std::mt19937 random(3);
    std::normal_distribution<double> noise;
    CMatrix record(samples, traces);
    double *data = record.GetWritableData();
    for (int i = 0; i < samples * traces; ++i)
        data[i] = noise(random);

    PhaseShiftParams params;
    params.timeStepMs = 0.5;
    params.offsets = PhaseShiftOffsets(2.0, 1.0, 0, traces);
    params.minVelocity = 50.0;
    params.maxVelocity = 1048.0;
    params.velocityStep = 2.0;
    params.minFrequency = 1.0;
    params.maxFrequency = static_cast<double>(state.range(0));
    for (auto _ : state) {
        const PhaseShiftImage image = ComputePhaseShiftImage(record, params);
        benchmark::DoNotOptimize(image.image.GetData());
        if (!image.ok || image.image.GetRows() != 500)
            state.SkipWithError("unexpected image");
    }
}

} // namespace

BENCHMARK(PhaseShiftImage48x8192)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
