// Speed of the forward computation: one manual identification (solver, eigenfunctions,
// integrals, apparent and effective curves, misfits) of a 10-layer soil profile at 40
// frequencies from 5 to 50 Hz, 24 receivers 1 m apart.
//
// ManualIdentification: arguments modes, refinement factor; time per call.
// ForwardStages: arguments modes, refinement factor, threads of the non-solver stages and of
// the solver (0 = all cores); counters give each stage's CPU time per call (ms, all threads)
// and its share of the sum of the stages.
#include "bench/MutedStdout.h"
#include "engine/ApparentEffective.h"
#include "engine/Eigenfunctions.h"
#include "engine/ForwardParallel.h"
#include "engine/RayleighSolver.h"
#include "engine/VelamodCode.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int FrequencyCount = 40;
constexpr int ReceiverCount = 24;

// The solver benchmark's profile: thicknesses 2..6 m, Vs 120 to 480 m/s by 40,
// Vp = Vs sqrt(8/3) (Poisson's ratio 0.3), density 1.8.
struct Profile
{
    CMatrix thickness, density, vs, vp, poisson, frequencies, offsets;

    Profile()
    {
        const double h[] = { 2, 2, 3, 3, 4, 4, 5, 5, 6 };
        std::vector<double> t(h, h + 9), rho, s, p, nu, f, x;
        for (int i = 0; i < 10; ++i) {
            rho.push_back(1.8);
            s.push_back(120.0 + 40.0 * i);
            p.push_back(s.back() * std::sqrt(8.0 / 3.0));
            nu.push_back(0.3);
        }
        for (int i = 0; i < FrequencyCount; ++i)
            f.push_back(5.0 + 45.0 * i / (FrequencyCount - 1));
        for (int j = 1; j <= ReceiverCount; ++j)
            x.push_back(j);
        thickness = CMatrix::Column(t);
        density = CMatrix::Column(rho);
        vs = CMatrix::Column(s);
        vp = CMatrix::Column(p);
        poisson = CMatrix::Column(nu);
        frequencies = CMatrix::Column(f);
        offsets = CMatrix::Column(x);
    }
};

void ManualIdentification(benchmark::State &state)
{
    const Profile p;
    const long modes = static_cast<long>(state.range(0));
    const float refinement = static_cast<float>(state.range(1));
    bool stop = false;
    int spareA = 0, spareB = 0;
    double first = 0, second = 0, current = 0, target = 0;
    CMatrix spareMatrixA, spareMatrixB, modelVs, modal, used;
    CComplexMatrix effective, meanApparent;
    std::vector<CComplexMatrix> sensitivities(10);
    const CMatrix experimental(FrequencyCount, 1);
    VelamodCode engine;
    engine.SetPointer(&stop, &spareA, &second, &first, &current, &target, &spareB, &spareMatrixA,
        &spareMatrixB, NoNotificationWindow);
    for (auto _ : state) {
        Muted muted;
        const int result = engine.IdentificazioneManuale(p.frequencies, experimental, experimental,
            p.thickness, p.density, p.vs, p.poisson, modes, refinement, p.offsets, 0.0, 0.0,
            modelVs, effective, meanApparent, modal, sensitivities.data(), used);
        if (result != 0)
            state.SkipWithError("the forward computation failed");
        benchmark::DoNotOptimize(first);
    }
}

// Stages are timed in CPU seconds of the whole process (all threads): on a shared machine
// the wall time of a stage depends on what else runs, its CPU time much less.
struct Clock
{
    using time_point = double;
    static double now()
    {
        timespec t {};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
    }
};

double Seconds(double from, double to) { return to - from; }

void ForwardStages(benchmark::State &state)
{
    const Profile p;
    const int modes = static_cast<int>(state.range(0));
    const float refinement = static_cast<float>(state.range(1));
    const int threads = static_cast<int>(state.range(2));
    velamod::SetForwardThreadCount(threads);

    std::vector<float> h, vp, vs, rho, f;
    for (int l = 0; l < 10; ++l) {
        if (l < 9)
            h.push_back(static_cast<float>(p.thickness(l) * 0.001));
        vp.push_back(static_cast<float>(p.vp(l) * 0.001));
        vs.push_back(static_cast<float>(p.vs(l) * 0.001));
        rho.push_back(static_cast<float>(p.density(l)));
    }
    for (int i = 0; i < FrequencyCount; ++i)
        f.push_back(static_cast<float>(p.frequencies(i)));
    const float layers = 10.0f;
    const int count = FrequencyCount;

    double stage[5] = {};
    std::vector<CComplexMatrix> sensitivities(10);
    for (auto _ : state) {
        const Clock::time_point t0 = Clock::now();
        CMatrix velocities(FrequencyCount, modes);
        velamod::SolveRayleighModesThreaded(h.data(), vp.data(), vs.data(), rho.data(), &layers,
            &count, &modes, &refinement, f.data(), velocities.GetWritableData(), threads, nullptr);
        velocities *= 1000.0;
        velocities.ReverseColumns();
        const Clock::time_point t1 = Clock::now();
        CMatrix grid;
        EigenfunctionSet eigenfunctions;
        CalcolaAutofunzioni(p.frequencies, velocities, p.thickness, p.density, p.vs, p.vp, 1.0,
            grid, eigenfunctions);
        const Clock::time_point t2 = Clock::now();
        ModalIntegrals integrals;
        CalcolaIntegraliModali(p.frequencies, velocities, grid, eigenfunctions, p.thickness,
            p.density, p.vs, p.vp, integrals);
        const Clock::time_point t3 = Clock::now();
        CComplexMatrix apparent;
        CurvaApparente(p.frequencies, velocities, integrals, grid, eigenfunctions, 10, p.offsets,
            0.0, 0.0, apparent, sensitivities.data());
        const Clock::time_point t4 = Clock::now();
        CComplexMatrix effective;
        CurvaEffettiva(p.frequencies, velocities, integrals, eigenfunctions, p.offsets, 0.0, 0.0,
            1.0, 0.0, effective);
        const Clock::time_point t5 = Clock::now();
        benchmark::DoNotOptimize(effective.GetData());
        stage[0] += Seconds(t0, t1);
        stage[1] += Seconds(t1, t2);
        stage[2] += Seconds(t2, t3);
        stage[3] += Seconds(t3, t4);
        stage[4] += Seconds(t4, t5);
    }
    velamod::SetForwardThreadCount(0);
    const char *names[] = { "solver", "eigen", "integrals", "apparent", "effective" };
    double total = 0.0;
    for (double s : stage)
        total += s;
    const double calls = static_cast<double>(state.iterations());
    for (int s = 0; s < 5; ++s) {
        state.counters[std::string(names[s]) + "_ms"] = 1000.0 * stage[s] / calls;
        state.counters[std::string(names[s]) + "_share"] = stage[s] / total;
    }
}

} // namespace

BENCHMARK(ManualIdentification)
    ->ArgNames({ "modes", "refine" })
    ->Args({ 1, 5 })
    ->Args({ 5, 5 })
    ->Args({ 1, 75 })
    ->Args({ 5, 75 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(ForwardStages)
    ->ArgNames({ "modes", "refine", "threads" })
    ->Args({ 1, 5, 0 })
    ->Args({ 5, 5, 0 })
    ->Args({ 1, 75, 0 })
    ->Args({ 5, 75, 0 })
    ->Args({ 5, 5, 1 })
    ->Args({ 5, 75, 1 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
