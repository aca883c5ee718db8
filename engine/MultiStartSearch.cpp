// The search with many starts, on the written search and the engine's forward computation.
#include "engine/MultiStartSearch.h"

#include "engine/AutomaticSearch.h"
#include "engine/ForwardParallel.h"
#include "engine/Misfit.h"
#include "engine/ModalCurves.h"
#include "engine/VelamodCode.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// The source the written search hands the forward computation (unit vertical force).
constexpr double HorizontalForce = 0.0;
constexpr double VerticalForce = 1.0;
constexpr double Azimuth = 0.0;

// A best Vs within this relative distance of a bound counts as lying on it.
constexpr double OnBoundTolerance = 1e-6;

// One model the search evaluated on the experimental frequencies.
struct Evaluated
{
    CMatrix velocities;
    double misfit; // the written search's relative misfit
    double normalised;
    int start;
};

std::uint64_t SplitMix64(std::uint64_t &state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::vector<double> Magnitudes(const CComplexMatrix &curve)
{
    std::vector<double> m(static_cast<std::size_t>(curve.GetCount()));
    for (int i = 0; i < curve.GetCount(); ++i)
        m[static_cast<std::size_t>(i)] = curve(i).Modulus();
    return m;
}

bool SameModel(const CMatrix &a, const CMatrix &b)
{
    if (a.GetCount() != b.GetCount())
        return false;
    for (int i = 0; i < a.GetCount(); ++i)
        if (a(i) != b(i))
            return false;
    return true;
}

int ForwardRun(const MultiStartProblem &p, const CMatrix &vp, const CMatrix &vs, const CMatrix &f,
    bool computeEffective, CMatrix &modal, CComplexMatrix &apparent, CComplexMatrix *sensitivities,
    CComplexMatrix &effective)
{
    CMatrix depthGrid;
    return CalcolaCurveModali(false, p.thicknesses, p.densities, vp, vs, f, p.receiverOffsets,
        HorizontalForce, HorizontalForce, VerticalForce, Azimuth, p.firstDepth, p.secondDepth,
        p.modeCount, p.refinement, &modal, &depthGrid, &apparent, sensitivities, &effective,
        computeEffective);
}

// Runs the written search from one start; every model it evaluates on the experimental
// frequencies goes into `models` with its two misfits.
StartOutcome RunOneStart(const MultiStartProblem &p, const CMatrix &start, int index,
    const std::atomic<bool> *stop, std::vector<Evaluated> &models)
{
    StartOutcome outcome;
    const VelamodCode measure; // its misfit uses no state
    std::int32_t iteration = 0, trial = 0, requested = 0;
    double latest = 0.0, first = VelamodCode::NoMisfit, second = VelamodCode::NoMisfit;
    double current = VelamodCode::NoMisfit;
    const double target = p.targetMisfit;
    bool stopFlag = false;
    CMatrix lastVelocities;
    bool lastWasFinal = false;

    auto record = [&](const std::vector<double> &curve, double misfit, const CMatrix &modal) {
        const double normalised = velamod::NormalisedMisfit(curve.data(),
            static_cast<int>(curve.size()), p.experimentalCurve, p.standardDeviations, modal);
        for (auto it = models.rbegin(); it != models.rend(); ++it)
            if (SameModel(it->velocities, lastVelocities))
                return;
        models.push_back({ lastVelocities, misfit, normalised, index });
    };

    SearchHost h;
    h.iterationCounter = &iteration;
    h.trialCounter = &trial;
    h.iterationsRequested = &requested;
    h.latestTrialMisfit = &latest;
    h.stopFlag = &stopFlag;
    h.firstMisfit = &first;
    h.secondMisfit = &second;
    h.currentMisfit = &current;
    h.targetMisfit = &target;
    // The search checks its flag right after the notifications of an iteration and of a
    // trial: that is where the host's stop is passed on.
    h.step = [&](int, int) {
        if (stop && stop->load())
            stopFlag = true;
    };
    h.end = [](int) {};
    h.forward = [&](const CMatrix &vp, const CMatrix &vs, const CMatrix &f, bool computeEffective,
                    CMatrix &modal, CComplexMatrix &apparent, CComplexMatrix *sensitivities,
                    CComplexMatrix &effective) {
        lastVelocities = vs;
        lastWasFinal = computeEffective;
        return ForwardRun(
            p, vp, vs, f, computeEffective, modal, apparent, sensitivities, effective);
    };
    h.complexMisfit = [&](const CComplexMatrix &c, const CMatrix &e, const CMatrix &m) {
        const double misfit = measure.CalcolaErrore(c, e, m);
        // The final runs measure other curves (effective, dense grid): not a model to record.
        if (!lastWasFinal)
            record(Magnitudes(c), misfit, m);
        return misfit;
    };
    h.realMisfit = [&](const CMatrix &c, const CMatrix &e, const CMatrix &m) {
        const double misfit = measure.CalcolaErrore(c, e, m);
        std::vector<double> magnitudes(static_cast<std::size_t>(c.GetCount()));
        for (int i = 0; i < c.GetCount(); ++i)
            magnitudes[static_cast<std::size_t>(i)] = std::fabs(c(i));
        record(magnitudes, misfit, m);
        return misfit;
    };

    const std::size_t before = models.size();
    CMatrix vs = start, finalVs, modal, dense;
    CComplexMatrix effective, apparent;
    std::vector<CComplexMatrix> sensitivities(static_cast<std::size_t>(start.GetCount()));
    try {
        const SearchArguments args { p.iterations, p.frequencies, p.experimentalCurve,
            p.standardDeviations, p.densities, vs, p.poissonRatios, p.strongContrasts,
            p.lowerBounds, p.upperBounds, finalVs, effective, apparent, modal, sensitivities.data(),
            dense };
        outcome.code = RunAutomaticSearch(args, h);
    } catch (const std::exception &) {
        outcome.code = VelamodCode::InternalError;
    } catch (...) {
        outcome.code = VelamodCode::InternalError;
    }
    outcome.bestMisfit = current;
    outcome.modelsEvaluated = static_cast<int>(models.size() - before);
    for (std::size_t i = before; i < models.size(); ++i)
        outcome.bestNormalisedMisfit = std::min(outcome.bestNormalisedMisfit, models[i].normalised);
    return outcome;
}

// Better: lower normalised misfit, then lower relative misfit; the earlier one wins a tie,
// so that the choice does not depend on which thread finished first.
bool Better(const Evaluated &a, const Evaluated &b)
{
    if (a.normalised != b.normalised)
        return a.normalised < b.normalised;
    return a.misfit < b.misfit;
}

std::string CheckProblem(const MultiStartProblem &p)
{
    const int n = p.startVelocities.GetCount();
    const int f = p.frequencies.GetCount();
    if (n < 1 || f < 1)
        return "the profile or the experimental curve is empty";
    if (p.thicknesses.GetCount() != n - 1 || p.densities.GetCount() != n
        || p.poissonRatios.GetCount() != n || p.lowerBounds.GetCount() != n
        || p.upperBounds.GetCount() != n)
        return "the layer vectors do not have one value per layer";
    if (p.experimentalCurve.GetCount() != f || p.standardDeviations.GetCount() != f)
        return "the experimental curve does not have one value per frequency";
    for (int l = 0; l < n; ++l)
        if (!(p.lowerBounds(l) > 0.0) || !(p.lowerBounds(l) <= p.upperBounds(l))
            || !std::isfinite(p.upperBounds(l)))
            return "the Vs bounds must be positive, finite and in order";
    return {};
}

double Uniform(std::uint64_t &state)
{
    return static_cast<double>(SplitMix64(state) >> 11) * 0x1.0p-53;
}

// Calls body(index) for every index in [0, count) on up to `threads` threads; with more than
// one thread (or when one was asked for) each keeps its forward runs to itself.
void ForEachIndex(int count, int threads, bool serialForward, const std::atomic<bool> *stop,
    const std::function<void(int)> &body)
{
    std::atomic<int> next { 0 };
    auto worker = [&]() {
        std::unique_ptr<velamod::SerialForwardScope> scope;
        if (serialForward)
            scope = std::make_unique<velamod::SerialForwardScope>();
        for (;;) {
            if (stop && stop->load())
                return;
            const int index = next.fetch_add(1);
            if (index >= count)
                return;
            body(index);
        }
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < std::min(threads, count); ++t) {
        try {
            helpers.emplace_back(worker);
        } catch (const std::system_error &) {
            break; // the threads running share the work
        }
    }
    worker();
    for (std::thread &helper : helpers)
        helper.join();
}

// Normalised misfit of a model's mean apparent curve; NoMisfit without a forward model.
double ModelNormalisedMisfit(const MultiStartProblem &p, const CMatrix &vs)
{
    CMatrix modal;
    CComplexMatrix apparent, effective;
    try {
        if (ForwardRun(p, PVelocities(vs, p.poissonRatios), vs, p.frequencies, false, modal,
                apparent, nullptr, effective)
            != 0)
            return VelamodCode::NoMisfit;
        const std::vector<double> magnitudes = Magnitudes(MeanOverOffsets(apparent));
        return velamod::NormalisedMisfit(magnitudes.data(), static_cast<int>(magnitudes.size()),
            p.experimentalCurve, p.standardDeviations, modal);
    } catch (...) {
        return VelamodCode::NoMisfit;
    }
}

// One random walk among the models within the threshold (see MultiStartOptions). A walk with
// a direction (+1 or -1) keeps only the steps that also move Vs30 that way: it seeks the
// fastest or the slowest ground that still fits.
std::vector<CMatrix> Walk(const MultiStartProblem &p, const MultiStartOptions &o,
    const CMatrix &from, double threshold, int walk, int direction = 0)
{
    std::vector<int> free;
    for (int l = 0; l < from.GetCount(); ++l)
        if (p.lowerBounds(l) < p.upperBounds(l))
            free.push_back(l);
    std::vector<CMatrix> states;
    if (free.empty())
        return states;
    // Pairs of adjacent free layers above the half-space, for the moves that keep their
    // vertical travel time.
    std::vector<int> pairs;
    const int finite = p.thicknesses.GetCount();
    for (int l = 0; l + 1 < finite; ++l)
        if (p.lowerBounds(l) < p.upperBounds(l) && p.lowerBounds(l + 1) < p.upperBounds(l + 1))
            pairs.push_back(l);
    std::uint64_t state = o.seed ^ (0x8CB92BA72F3D8DD7ull * static_cast<std::uint64_t>(walk + 1));
    auto pick = [&state](const std::vector<int> &from) {
        return from[std::min(from.size() - 1,
            static_cast<std::size_t>(Uniform(state) * static_cast<double>(from.size())))];
    };
    auto clamp = [&p](CMatrix &m, int l) {
        m.Set(l, std::clamp(m(l), p.lowerBounds(l), p.upperBounds(l)));
    };
    CMatrix current = from;
    // Only a directed walk keeps this up to date.
    double currentVs30 = velamod::Vs30(p.thicknesses, current);
    const int steps = direction != 0 ? 4 * o.exploreSteps : o.exploreSteps;
    for (int step = 0; step < steps; ++step) {
        if (o.stop && o.stop->load())
            break;
        const bool paired = !pairs.empty() && Uniform(state) < 0.5;
        const double factor = std::exp(o.exploreStep * (2.0 * Uniform(state) - 1.0));
        CMatrix trial = current;
        bool valid = true;
        if (paired) {
            // Surface waves see the travel time through a pair of thin layers better than how
            // it is shared between them: this move shifts the share and keeps the time.
            const int l = pick(pairs);
            const double h0 = p.thicknesses(l), h1 = p.thicknesses(l + 1);
            const double time = h0 / current(l) + h1 / current(l + 1);
            const double v0 = current(l) * factor;
            const double rest = time - h0 / v0;
            valid = rest > 0.0;
            if (valid) {
                trial.Set(l, v0);
                trial.Set(l + 1, h1 / rest);
                clamp(trial, l);
                clamp(trial, l + 1);
            }
        } else {
            const int l = pick(free);
            trial.Set(l, current(l) * factor);
            clamp(trial, l);
        }
        double trialVs30 = currentVs30;
        if (valid && direction != 0) {
            trialVs30 = velamod::Vs30(p.thicknesses, trial);
            valid = direction * (trialVs30 - currentVs30) > 0.0;
        }
        if (valid && ModelNormalisedMisfit(p, trial) <= threshold) {
            current = trial;
            currentVs30 = trialVs30;
        }
        states.push_back(current);
    }
    return states;
}

} // namespace

CMatrix DrawStart(
    const CMatrix &lowerBounds, const CMatrix &upperBounds, std::uint64_t seed, int start)
{
    // One stream per start, so that a start's draw does not depend on the others.
    std::uint64_t state = seed ^ (0xD1B54A32D192ED03ull * static_cast<std::uint64_t>(start + 1));
    const int n = lowerBounds.GetCount();
    CMatrix v(n, 1);
    for (int l = 0; l < n; ++l) {
        const double u = static_cast<double>(SplitMix64(state) >> 11) * 0x1.0p-53;
        const double low = lowerBounds(l), high = upperBounds(l);
        // Log-uniform: a factor of two up is as likely as a factor of two down.
        v.Set(l, low >= high ? low : low * std::pow(high / low, u));
    }
    return v;
}

MultiStartResult RunMultiStartSearch(const MultiStartProblem &p, const MultiStartOptions &o)
{
    MultiStartResult r;
    r.message = CheckProblem(p);
    if (!r.message.empty()) {
        r.code = VelamodCode::InternalError;
        return r;
    }
    const int starts = std::max(1, o.starts);
    const int n = p.startVelocities.GetCount();
    std::vector<CMatrix> startModels(static_cast<std::size_t>(starts));
    for (int k = 0; k < starts; ++k) {
        CMatrix s = k == 0 ? p.startVelocities : DrawStart(p.lowerBounds, p.upperBounds, o.seed, k);
        if (s.GetCols() != 1)
            s = CMatrix::Column(s.ToVector());
        startModels[static_cast<std::size_t>(k)] = s;
    }

    r.starts.assign(static_cast<std::size_t>(starts), StartOutcome());
    std::vector<std::vector<Evaluated>> pools(static_cast<std::size_t>(starts));
    std::mutex progressMutex;
    MultiStartProgress progress;
    progress.starts = starts;

    const int threads = o.threads > 0
        ? o.threads
        : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // With several starts side by side each forward run keeps to its own thread; a single
    // start may still spread its forward runs over the cores, unless one thread was asked for.
    const bool serialForward = std::min(threads, starts) > 1 || o.threads == 1;
    ForEachIndex(starts, threads, serialForward, o.stop, [&](int k) {
        const auto slot = static_cast<std::size_t>(k);
        r.starts[slot] = RunOneStart(p, startModels[slot], k, o.stop, pools[slot]);
        std::lock_guard<std::mutex> lock(progressMutex);
        ++progress.startsDone;
        progress.bestNormalisedMisfit =
            std::min(progress.bestNormalisedMisfit, r.starts[slot].bestNormalisedMisfit);
        if (o.progress)
            o.progress(progress);
    });
    const bool stopped = o.stop && o.stop->load();

    // Merged in start order: the result does not depend on the order the starts ended in.
    std::vector<Evaluated> all;
    for (const auto &pool : pools)
        all.insert(all.end(), pool.begin(), pool.end());
    const Evaluated *best = nullptr;
    for (const Evaluated &e : all)
        if (e.normalised < VelamodCode::NoMisfit && (!best || Better(e, *best)))
            best = &e;
    if (!best) {
        r.code = stopped ? VelamodCode::SearchStopped : VelamodCode::NoFinalModel;
        r.message = "no start produced a profile with a valid forward model";
        return r;
    }
    r.code = stopped ? VelamodCode::SearchStopped : 0;
    r.bestStart = best->start;
    r.bestVelocities = best->velocities;
    r.apparentMisfit = best->misfit;
    r.normalisedMisfit = best->normalised;

    // The ensemble and what it says.
    r.ensembleThreshold = std::max(1.0, o.ensembleCloseness * best->normalised);
    std::vector<CMatrix> members;
    std::vector<double> vs30s;
    for (const Evaluated &e : all)
        if (e.normalised <= r.ensembleThreshold)
            members.push_back(e.velocities);
    // The walks set out from the best models of different starts (the best first), so that
    // distinct families of fitting models are all explored; two more, from the best model,
    // seek the highest and the lowest Vs30 that still fit, so that the range is not only that
    // of walks lingering near the best models.
    std::vector<const Evaluated *> origins;
    for (const auto &pool : pools) {
        const Evaluated *startBest = nullptr;
        for (const Evaluated &e : pool)
            if (e.normalised <= r.ensembleThreshold && (!startBest || Better(e, *startBest)))
                startBest = &e;
        if (startBest)
            origins.push_back(startBest);
    }
    std::stable_sort(origins.begin(), origins.end(),
        [](const Evaluated *a, const Evaluated *b) { return Better(*a, *b); });
    const int walks = std::max(0, o.exploreWalks);
    const int directed = walks > 0 ? 2 : 0;
    const int count = walks + directed;
    std::vector<std::vector<CMatrix>> walkStates(static_cast<std::size_t>(count));
    // (origins holds at least the best model's start.)
    ForEachIndex(
        count, threads, std::min(threads, count) > 1 || o.threads == 1, o.stop, [&](int w) {
            const int direction = w < walks ? 0 : (w == walks ? 1 : -1);
            const Evaluated *origin =
                w < walks ? origins[static_cast<std::size_t>(w) % origins.size()] : best;
            walkStates[static_cast<std::size_t>(w)] =
                Walk(p, o, origin->velocities, r.ensembleThreshold, w, direction);
        });
    for (const auto &states : walkStates)
        members.insert(members.end(), states.begin(), states.end());
    for (const CMatrix &m : members)
        vs30s.push_back(velamod::Vs30(p.thicknesses, m));
    r.ensembleSize = static_cast<int>(members.size());
    r.ensemble = members;
    r.band = velamod::EnsembleBand(p.thicknesses, members);
    r.vs30 = velamod::Vs30(p.thicknesses, r.bestVelocities);
    // The ranges are widened to take in the best model itself, which may lie at the edge of
    // the models that fit: the answer is never shown outside its own range.
    r.vs30P10 = std::min(r.vs30, velamod::Percentile(vs30s, 0.1));
    r.vs30P90 = std::max(r.vs30, velamod::Percentile(vs30s, 0.9));
    for (std::size_t l = 0; l < r.band.median.size(); ++l) {
        const double v = r.bestVelocities(static_cast<int>(l));
        r.band.p10[l] = std::min(r.band.p10[l], v);
        r.band.p90[l] = std::max(r.band.p90[l], v);
    }
    r.depthOfInvestigation = velamod::DepthOfInvestigation(p.frequencies, p.experimentalCurve);
    r.layerOnBound.assign(static_cast<std::size_t>(n), 0);
    for (int l = 0; l < n; ++l) {
        const double v = r.bestVelocities(l), low = p.lowerBounds(l), high = p.upperBounds(l);
        auto onBound = [&](double x) {
            return x <= low * (1.0 + OnBoundTolerance) || x >= high * (1.0 - OnBoundTolerance);
        };
        // Below the depth of investigation only the bounds hold a layer: a band that reaches
        // them there says nothing new.
        const auto band = static_cast<std::size_t>(l);
        const bool seen = r.band.top[band] < r.depthOfInvestigation;
        if (low < high && onBound(v))
            r.layerOnBound[band] = 1;
        else if (low < high && seen && (onBound(r.band.p10[band]) || onBound(r.band.p90[band])))
            r.layerOnBound[band] = 2;
    }

    // The final curves of the best model, as the written search computes them; when they
    // fail the model and its misfits stand, and the result says the curves are missing.
    const VelamodCode measure;
    const CMatrix vp = PVelocities(r.bestVelocities, p.poissonRatios);
    std::vector<CComplexMatrix> sensitivities(static_cast<std::size_t>(n));
    CComplexMatrix apparent, effective;
    CMatrix modal;
    r.denseFrequencies = DenseFrequencyGrid(p.frequencies);
    try {
        if (ForwardRun(p, vp, r.bestVelocities, p.frequencies, true, modal, apparent,
                sensitivities.data(), effective)
            != 0) {
            r.finalCurvesMissing = true;
            return r;
        }
        r.effectiveMisfit = measure.CalcolaErrore(effective, p.experimentalCurve, modal);
        const CComplexMatrix mean = MeanOverOffsets(apparent);
        r.apparentMisfit = measure.CalcolaErrore(mean, p.experimentalCurve, modal);
        const std::vector<double> magnitudes = Magnitudes(mean);
        r.normalisedMisfit = velamod::NormalisedMisfit(magnitudes.data(),
            static_cast<int>(magnitudes.size()), p.experimentalCurve, p.standardDeviations, modal);
        if (ForwardRun(p, vp, r.bestVelocities, r.denseFrequencies, true, r.modalVelocities,
                apparent, sensitivities.data(), r.effectiveCurve)
            != 0) {
            r.finalCurvesMissing = true;
            r.modalVelocities = CMatrix();
            r.effectiveCurve = CComplexMatrix();
            return r;
        }
        r.apparentCurve = MeanOverOffsets(apparent);
    } catch (...) {
        r.finalCurvesMissing = true;
        r.effectiveCurve = CComplexMatrix();
        r.apparentCurve = CComplexMatrix();
        r.modalVelocities = CMatrix();
    }
    return r;
}
