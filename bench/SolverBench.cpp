// Speed of the Rayleigh dispersion solver: the straightforward scan against the optimised one
// on one thread and on all cores, for a 10-layer soil profile.
//
// Arguments of each case: frequencies (from 2 to 80 Hz), modes, refinement factor, threads
// (0 = all cores). Counters: secular-function evaluations per second and per curve.
#include "engine/RayleighSolver.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

struct Profile
{
    std::vector<float> h, vp, vs, rho;
};

// Thicknesses 2..6 m over a half-space, Vs 120 to 480 m/s by 40, Vp = Vs sqrt(8/3).
Profile TenLayers()
{
    Profile p;
    const float thickness[] = { 2, 2, 3, 3, 4, 4, 5, 5, 6 };
    for (int i = 0; i < 10; ++i) {
        if (i < 9)
            p.h.push_back(thickness[i] * 0.001f);
        p.vs.push_back((120.0f + 40.0f * static_cast<float>(i)) * 0.001f);
        p.vp.push_back(p.vs.back() * std::sqrt(8.0f / 3.0f));
        p.rho.push_back(1.8f);
    }
    return p;
}

enum class Scan { Straightforward, Optimised };

void SolveCurve(benchmark::State &state, Scan scan)
{
    const Profile p = TenLayers();
    const int frequencyCount = static_cast<int>(state.range(0));
    const int modes = static_cast<int>(state.range(1));
    const float refinement = static_cast<float>(state.range(2));
    const int threads = static_cast<int>(state.range(3));
    std::vector<float> f;
    for (int i = 0; i < frequencyCount; ++i)
        f.push_back(2.0f + 78.0f * static_cast<float>(i) / static_cast<float>(frequencyCount - 1));
    const float layers = 10.0f;
    std::vector<double> out(f.size() * static_cast<std::size_t>(modes));
    long long evaluations = 0;
    for (auto _ : state) {
        velamod::RayleighSolverStats stats;
        if (scan == Scan::Straightforward)
            velamod::SolveRayleighModesReference(p.h.data(), p.vp.data(), p.vs.data(), p.rho.data(),
                &layers, &frequencyCount, &modes, &refinement, f.data(), out.data(), &stats);
        else
            velamod::SolveRayleighModesThreaded(p.h.data(), p.vp.data(), p.vs.data(), p.rho.data(),
                &layers, &frequencyCount, &modes, &refinement, f.data(), out.data(), threads,
                &stats);
        benchmark::DoNotOptimize(out.data());
        evaluations += stats.secularEvaluations;
    }
    state.counters["evals_per_s"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kIsRate);
    state.counters["evals_per_curve"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kAvgIterations);
}

void Cases(benchmark::internal::Benchmark *b, bool allCores, bool fine)
{
    for (const int modes : { 1, 5 })
        b->Args({ 157, modes, fine ? 75 : 5, allCores ? 0 : 1 });
    if (!fine)
        b->Args({ 200, 5, 5, allCores ? 0 : 1 });
}

// At refinement 75 the dense sampling grows with its square: five modes take the
// straightforward scan some 40 s, so it is measured with one mode only.
void FineStraightforwardCases(benchmark::internal::Benchmark *b) { b->Args({ 157, 1, 75, 1 }); }

} // namespace

BENCHMARK_CAPTURE(SolveCurve, straightforward, Scan::Straightforward)
    ->Apply([](benchmark::internal::Benchmark *b) { Cases(b, false, false); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(SolveCurve, optimised_1thread, Scan::Optimised)
    ->Apply([](benchmark::internal::Benchmark *b) { Cases(b, false, false); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(SolveCurve, optimised_allcores, Scan::Optimised)
    ->Apply([](benchmark::internal::Benchmark *b) { Cases(b, true, false); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// The finest refinement: one straightforward run is enough to compare with.
BENCHMARK_CAPTURE(SolveCurve, straightforward_fine, Scan::Straightforward)
    ->Apply(FineStraightforwardCases)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK_CAPTURE(SolveCurve, optimised_1thread_fine, Scan::Optimised)
    ->Apply([](benchmark::internal::Benchmark *b) { Cases(b, false, true); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(SolveCurve, optimised_allcores_fine, Scan::Optimised)
    ->Apply([](benchmark::internal::Benchmark *b) { Cases(b, true, true); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
