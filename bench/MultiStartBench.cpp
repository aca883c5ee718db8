// Speed of the many-start search: 40 starts of the automatic search (10 iterations at most)
// on a profile of 10 layers over a half-space and a curve of 30 frequencies (3 to 50 Hz, one
// mode, 24 receivers 1 m apart), with the ensemble walks that follow.
//
// MultiStartSearch: argument threads (0 = all hardware threads). Wall time per search;
// counters: models evaluated by the searches, ensemble size, and the normalised misfit of the
// best model.
#include "engine/ModalCurves.h"
#include "engine/MultiStartSearch.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int Starts = 40;
constexpr int Layers = 11; // 10 over the half-space

MultiStartProblem Problem()
{
    MultiStartProblem p;
    p.thicknesses = CMatrix::Column({ 1.5, 2, 2, 2.5, 3, 3, 4, 4, 5, 5 });
    const CMatrix truth =
        CMatrix::Column({ 160, 190, 130, 150, 210, 260, 300, 340, 380, 430, 520 });
    p.densities = CMatrix::Column(std::vector<double>(Layers, 1.8));
    p.poissonRatios = CMatrix::Column(std::vector<double>(Layers, 0.3));
    p.frequencies = CMatrix::Logspace(std::log10(3.0), std::log10(50.0), 30);
    p.receiverOffsets = CMatrix::Linspace(1.0, 24.0, 24);
    p.modeCount = 1;
    p.iterations = 10;
    p.targetMisfit = 0.0;

    CMatrix vp(Layers, 1), modal, grid;
    for (int l = 0; l < Layers; ++l)
        vp.Set(l, truth(l) * std::sqrt((2.0 - 2.0 * 0.3) / (1.0 - 2.0 * 0.3)));
    CComplexMatrix apparent, effective;
    std::vector<CComplexMatrix> sensitivities(Layers);
    CalcolaCurveModali(false, p.thicknesses, p.densities, vp, truth, p.frequencies,
        p.receiverOffsets, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1, 5.0f, &modal, &grid, &apparent,
        sensitivities.data(), &effective, false);
    const int f = p.frequencies.GetCount();
    p.experimentalCurve = CMatrix(f, 1);
    p.standardDeviations = CMatrix(f, 1);
    for (int i = 0; i < f; ++i) {
        double mean = 0.0;
        for (int x = 0; x < apparent.GetCols(); ++x)
            mean += apparent(i, x).Modulus();
        mean /= apparent.GetCols();
        p.experimentalCurve.Set(i, mean * (i % 2 ? 1.015 : 0.985));
        p.standardDeviations.Set(i, 0.03 * mean);
    }
    // A generic start: the same Vs everywhere, bounds of half and twice it.
    p.startVelocities = CMatrix::Column(std::vector<double>(Layers, 250.0));
    p.lowerBounds = p.startVelocities * 0.5;
    p.upperBounds = p.startVelocities * 2.0;
    return p;
}

void MultiStartSearch(benchmark::State &state)
{
    const MultiStartProblem p = Problem();
    MultiStartOptions o;
    o.starts = Starts;
    o.threads = static_cast<int>(state.range(0));
    MultiStartResult r;
    for (auto _ : state) {
        r = RunMultiStartSearch(p, o);
        if (r.code != 0)
            state.SkipWithError("the search failed");
        benchmark::DoNotOptimize(r.bestVelocities.GetData());
    }
    int evaluated = 0;
    for (const StartOutcome &s : r.starts)
        evaluated += s.modelsEvaluated;
    state.counters["models_evaluated"] = evaluated;
    state.counters["ensemble"] = r.ensembleSize;
    state.counters["misfit_normalised"] = r.normalisedMisfit;
}

} // namespace

BENCHMARK(MultiStartSearch)
    ->ArgNames({ "threads" })
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
