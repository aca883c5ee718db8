// Speed of the automatic search: a 6-layer profile searched for 5 iterations from 30% off,
// on the mean apparent curve that the forward computation gives for the true profile
// (40 frequencies from 5 to 50 Hz, 24 receivers 1 m apart, 3 modes).
//
// AutomaticSearch: arguments refinement factor and cores (0 = all; 1 pins the process to
// one core, the solver's and the forward stages' threads included). Wall time per search;
// counters: iterations run, wall time per iteration and per forward run (ms; the final
// forward runs included), forward runs made, and the misfit reached.
#include "bench/MutedStdout.h"
#include "engine/VelamodCode.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace {

constexpr int FrequencyCount = 40;
constexpr int ReceiverCount = 24;
constexpr int Layers = 6;
constexpr long Modes = 3;
constexpr int Iterations = 5;

struct Profile
{
    CMatrix thickness = CMatrix::Column({ 2, 3, 4, 5, 6 });
    CMatrix density = CMatrix::Column({ 1.8, 1.8, 1.9, 1.9, 2.0, 2.1 });
    CMatrix vs = CMatrix::Column({ 150, 200, 260, 330, 400, 500 });
    CMatrix poisson = CMatrix::Column({ 0.35, 0.33, 0.33, 0.3, 0.3, 0.28 });
    CMatrix frequencies = CMatrix::Linspace(5.0, 50.0, FrequencyCount);
    CMatrix offsets = CMatrix::Linspace(1.0, ReceiverCount, ReceiverCount);
    CMatrix deviations = CMatrix::Column(std::vector<double>(FrequencyCount, 5.0));
};

// Sends standard output to a scratch file while alive, so that the engine's step lines can
// be counted afterwards: "SegnalaStep 7" per iteration, "SegnalaStep 1" per forward run.
class StepCounter
{
public:
    StepCounter()
    {
        std::fflush(stdout);
        m_file = std::tmpfile();
        m_saved = dup(STDOUT_FILENO);
        if (m_file)
            dup2(fileno(m_file), STDOUT_FILENO);
    }
    ~StepCounter() { Restore(); }
    StepCounter(const StepCounter &) = delete;
    StepCounter &operator=(const StepCounter &) = delete;

    /// Restores standard output and counts the lines "SegnalaStep <step>".
    void Count(int &iterations, int &forwardRuns)
    {
        Restore();
        iterations = forwardRuns = 0;
        if (!m_file)
            return;
        std::rewind(m_file);
        char line[64];
        while (std::fgets(line, sizeof line, m_file)) {
            if (std::strcmp(line, "SegnalaStep 7\n") == 0)
                ++iterations;
            else if (std::strcmp(line, "SegnalaStep 1\n") == 0)
                ++forwardRuns;
        }
    }

private:
    void Restore()
    {
        std::fflush(stdout);
        if (m_saved >= 0) {
            dup2(m_saved, STDOUT_FILENO);
            close(m_saved);
            m_saved = -1;
        }
    }

    std::FILE *m_file = nullptr;
    int m_saved = -1;
};

// Restricts the whole process to its first allowed core while alive (0 cores: no change).
class CorePin
{
public:
    explicit CorePin(int cores)
    {
        if (cores <= 0 || sched_getaffinity(0, sizeof m_saved, &m_saved) != 0)
            return;
        cpu_set_t one;
        CPU_ZERO(&one);
        int kept = 0;
        for (int c = 0; c < CPU_SETSIZE && kept < cores; ++c) {
            if (CPU_ISSET(c, &m_saved)) {
                CPU_SET(c, &one);
                ++kept;
            }
        }
        // Threads started later inherit the mask of the thread that starts them.
        m_pinned = sched_setaffinity(0, sizeof one, &one) == 0;
    }
    ~CorePin()
    {
        if (m_pinned)
            sched_setaffinity(0, sizeof m_saved, &m_saved);
    }
    CorePin(const CorePin &) = delete;
    CorePin &operator=(const CorePin &) = delete;

private:
    cpu_set_t m_saved {};
    bool m_pinned = false;
};

struct Variables
{
    bool stop = false;
    int spareA = 0, spareB = 0;
    double second = 1e99, first = 1e99, current = 0, target = 0;
    CMatrix spareMatrixA, spareMatrixB;
};

CMatrix SyntheticCurve(const Profile &p, float refinement)
{
    Variables v;
    VelamodCode engine;
    engine.SetPointer(&v.stop, &v.spareA, &v.second, &v.first, &v.current, &v.target, &v.spareB,
        &v.spareMatrixA, &v.spareMatrixB, NoNotificationWindow);
    CMatrix modelVs, modal, used;
    CComplexMatrix effective, apparent;
    std::vector<CComplexMatrix> sensitivities(Layers);
    Muted muted;
    engine.IdentificazioneManuale(p.frequencies, p.frequencies, p.deviations, p.thickness,
        p.density, p.vs, p.poisson, Modes, refinement, p.offsets, 0.0, 0.0, modelVs, effective,
        apparent, modal, sensitivities.data(), used);
    CMatrix curve(apparent.GetCount(), 1);
    for (int i = 0; i < apparent.GetCount(); ++i)
        curve.Set(i, apparent(i).Modulus());
    return curve;
}

void AutomaticSearch(benchmark::State &state)
{
    const Profile p;
    const float refinement = static_cast<float>(state.range(0));
    CorePin pin(static_cast<int>(state.range(1)));
    const CMatrix curve = SyntheticCurve(p, refinement);
    const CMatrix start = p.vs * 1.3;
    const CMatrix lower = start * 0.4, upper = start * 2.0;

    double seconds = 0;
    int iterations = 0, forwardRuns = 0;
    for (auto _ : state) {
        Variables v;
        VelamodCode engine;
        engine.SetPointer(&v.stop, &v.spareA, &v.second, &v.first, &v.current, &v.target, &v.spareB,
            &v.spareMatrixA, &v.spareMatrixB, NoNotificationWindow);
        CMatrix vs = start, finalVs, modal, dense;
        CComplexMatrix effective, apparent;
        std::vector<CComplexMatrix> sensitivities(Layers);
        StepCounter counter;
        const auto t0 = std::chrono::steady_clock::now();
        const int result = engine.IdentificazioneAutomatica(Iterations, p.frequencies, curve,
            p.deviations, p.thickness, p.density, vs, p.poisson, Modes, false, refinement,
            p.offsets, 0.0, 0.0, lower, upper, finalVs, effective, apparent, modal,
            sensitivities.data(), dense);
        const auto t1 = std::chrono::steady_clock::now();
        int runIterations = 0, runForward = 0;
        counter.Count(runIterations, runForward);
        if (result != 0)
            state.SkipWithError("the search failed");
        seconds += std::chrono::duration<double>(t1 - t0).count();
        iterations += runIterations;
        forwardRuns += runForward;
        state.counters["misfit"] = v.current;
        benchmark::DoNotOptimize(finalVs.GetData());
    }
    state.counters["iterations"] = iterations;
    state.counters["ms_per_iteration"] = iterations ? 1000.0 * seconds / iterations : 0.0;
    state.counters["forward_runs"] = forwardRuns;
    state.counters["ms_per_forward_run"] = forwardRuns ? 1000.0 * seconds / forwardRuns : 0.0;
}

} // namespace

BENCHMARK(AutomaticSearch)
    ->ArgNames({ "refine", "cores" })
    ->Args({ 5, 0 })
    ->Args({ 5, 1 })
    ->Args({ 75, 0 })
    ->Args({ 75, 1 })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
