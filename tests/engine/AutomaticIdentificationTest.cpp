// The automatic search: its pieces against independent arithmetic, its control flow on a
// linear forward model whose answer is known, and the real search on a known profile.
#include "engine/AutomaticSearch.h"
#include "engine/VelamodCode.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// ---- a linear stand-in for the forward computation ------------------------------------------
//
// The curve is c = G m at every offset (so the mean over offsets is c), the sensitivities are
// the columns of G, and the only mode is the curve itself, so every frequency counts in the
// misfit. A damped step on it must land on the least-squares answer.

struct LinearWorld
{
    CMatrix g; // F x N
    int offsets = 3;
    int calls = 0;
    // Optional: make a call fail or distort its curve (call number from 1).
    std::function<bool(int call)> fails;
    std::function<double(int call)> distortion;

    CMatrix Curve(const CMatrix &m) const
    {
        CMatrix c(g.GetRows(), 1);
        for (int i = 0; i < g.GetRows(); ++i) {
            double s = 0;
            for (int l = 0; l < g.GetCols(); ++l)
                s += g(i, l) * m(l);
            c.Set(i, s);
        }
        return c;
    }

    int Forward(const CMatrix &, const CMatrix &vs, const CMatrix &frequencies, bool effective,
        CMatrix &modal, CComplexMatrix &apparent, CComplexMatrix *sens,
        CComplexMatrix &effectiveOut)
    {
        ++calls;
        if (fails && fails(calls))
            return -1;
        const double factor = distortion ? distortion(calls) : 1.0;
        const int f = frequencies.GetCount();
        // On another frequency grid (the dense one) reuse the first row's value.
        CMatrix c = Curve(vs);
        modal = CMatrix(f, 1);
        apparent = CComplexMatrix(f, offsets);
        effectiveOut = CComplexMatrix(f, 1);
        for (int i = 0; i < f; ++i) {
            const double v = (i < c.GetCount() ? c(i) : c(0)) * factor;
            modal.Set(i, 0, v);
            for (int x = 0; x < offsets; ++x)
                apparent.Set(i, x, Complex(v, 0));
            if (effective)
                effectiveOut.Set(i, Complex(v, 0));
        }
        for (int l = 0; l < g.GetCols(); ++l) {
            sens[l] = CComplexMatrix(f, offsets);
            for (int i = 0; i < f && i < g.GetRows(); ++i)
                for (int x = 0; x < offsets; ++x)
                    sens[l].Set(i, x, Complex(g(i, l) * factor, 0));
        }
        return 0;
    }
};

// Records what the search tells its host.
struct Recorder
{
    std::int32_t iteration = -1, trial = -1, requested = -1;
    double latest = -1, first = 1e99, second = 1e99, current = -1, target = 0.01;
    bool stop = false;
    std::vector<int> steps; // end notifications as 1000 + reason
    std::function<void(int step, int value, Recorder &)> onStep;
    VelamodCode engine; // only its misfit, which uses no state

    SearchHost Host(LinearWorld &world)
    {
        SearchHost h;
        h.iterationCounter = &iteration;
        h.trialCounter = &trial;
        h.iterationsRequested = &requested;
        h.latestTrialMisfit = &latest;
        h.stopFlag = &stop;
        h.firstMisfit = &first;
        h.secondMisfit = &second;
        h.currentMisfit = &current;
        h.targetMisfit = &target;
        h.step = [this](int s, int v) {
            steps.push_back(s);
            if (onStep)
                onStep(s, v, *this);
        };
        h.end = [this](int r) { steps.push_back(1000 + r); };
        h.forward = [&world](const CMatrix &vp, const CMatrix &vs, const CMatrix &f, bool e,
                        CMatrix &modal, CComplexMatrix &app, CComplexMatrix *sens,
                        CComplexMatrix &eff) {
            return world.Forward(vp, vs, f, e, modal, app, sens, eff);
        };
        h.complexMisfit = [this](const CComplexMatrix &c, const CMatrix &d, const CMatrix &m) {
            return engine.CalcolaErrore(c, d, m);
        };
        h.realMisfit = [this](const CMatrix &c, const CMatrix &d, const CMatrix &m) {
            return engine.CalcolaErrore(c, d, m);
        };
        return h;
    }
};

// A search problem of N layers on F frequencies around a linear world.
struct Problem
{
    int iterations = 5;
    CMatrix frequencies, experimental, deviations, density, vs, poisson, lower, upper;
    bool strong = false;
    CMatrix finalVs = CMatrix(1, 1, { -7 });
    CComplexMatrix effective, apparent;
    CMatrix modal;
    std::vector<CComplexMatrix> sens;
    CMatrix dense = CMatrix(1, 1, { -7 });

    Problem(const LinearWorld &w, const CMatrix &truth, const CMatrix &start)
    {
        const int f = w.g.GetRows(), n = w.g.GetCols();
        frequencies = CMatrix::Linspace(5.0, 5.0 + f - 1, f);
        experimental = w.Curve(truth);
        deviations = CMatrix::Column(std::vector<double>(size_t(f), 5.0));
        density = CMatrix::Column(std::vector<double>(size_t(n), 1.8));
        vs = start;
        poisson = CMatrix::Column(std::vector<double>(size_t(n), 0.3));
        lower = start * 0.25;
        upper = start * 4.0;
        sens.resize(size_t(n));
    }

    int Run(const SearchHost &host)
    {
        const SearchArguments args { iterations, frequencies, experimental, deviations, density, vs,
            poisson, strong, lower, upper, finalVs, effective, apparent, modal, sens.data(),
            dense };
        return RunAutomaticSearch(args, host);
    }
};

// A well-conditioned F x N kernel: deeper layers weigh more at low "frequency" rows.
LinearWorld Kernel(int f, int n)
{
    LinearWorld w;
    w.g = CMatrix(f, n);
    for (int i = 0; i < f; ++i) {
        double sum = 0;
        std::vector<double> row(static_cast<size_t>(n));
        for (int l = 0; l < n; ++l) {
            row[size_t(l)] = std::exp(-std::abs(double(l) - double(n - 1) * (f - 1 - i) / (f - 1)));
            sum += row[size_t(l)];
        }
        for (int l = 0; l < n; ++l)
            w.g.Set(i, l, row[size_t(l)] / sum);
    }
    return w;
}

} // namespace

// ---- pieces ------------------------------------------------------------------------------

TEST(AutomaticSearchPieces, TruncationToTwoDecimalsDecidesTheStoppingRule)
{
    struct Case
    {
        double misfit, truncated;
    };
    const Case cases[] = { { 0.0999, 0.09 }, { 0.1, 0.1 }, { 0.00999, 0.0 }, { 0.01, 0.01 },
        { 0.257, 0.25 }, { 1e99, std::floor(1e99 * 100) * 0.01 } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.misfit);
        EXPECT_DOUBLE_EQ(TruncatedMisfit(c.misfit), c.truncated);
    }
    // 0.1 truncates to exactly the target 0.1, which must not count as below it.
    EXPECT_FALSE(TruncatedMisfit(0.1) < 0.1);
}

TEST(AutomaticSearchPieces, OperatorsWeightsAndVelocities)
{
    CMatrix r = RoughnessOperator(3);
    const double expected[3][3] = { { 0, 0, 0 }, { -1, 1, 0 }, { 0, -1, 1 } };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(r(i, j), expected[i][j]) << i << "," << j;

    CMatrix w = DataWeights(CMatrix::Column({ 4, 0.5 }));
    EXPECT_EQ(w(0, 0), 0.25);
    EXPECT_EQ(w(1, 1), 2.0);
    EXPECT_EQ(w(0, 1), 0.0);

    // nu = 0.25 gives Vp = sqrt(3) Vs; nu = 1/3 gives Vp = 2 Vs.
    CMatrix vp = PVelocities(CMatrix::Column({ 100, 150 }), CMatrix::Column({ 0.25, 1.0 / 3 }));
    EXPECT_NEAR(vp(0), 100 * std::sqrt(3.0), 1e-9);
    EXPECT_NEAR(vp(1), 300.0, 1e-9);
}

TEST(AutomaticSearchPieces, MeanOverOffsetsGivesOneValuePerFrequencyEvenForOneOffset)
{
    CComplexMatrix one(3, 1);
    for (int i = 0; i < 3; ++i)
        one.Set(i, Complex(100.0 + i, 1.0));
    CComplexMatrix m = MeanOverOffsets(one);
    ASSERT_EQ(m.GetCount(), 3);
    EXPECT_TRUE(m(2) == Complex(102.0, 1.0));

    CComplexMatrix two(2, 2);
    two.Set(0, 0, Complex(1, 0));
    two.Set(0, 1, Complex(3, 2));
    two.Set(1, 0, Complex(5, 0));
    two.Set(1, 1, Complex(7, 0));
    m = MeanOverOffsets(two);
    EXPECT_TRUE(m(0) == Complex(2, 1));
    EXPECT_TRUE(m(1) == Complex(6, 0));
}

TEST(AutomaticSearchPieces, SpikesAreSmoothedInAscendingOrderButNeverAtTheEnds)
{
    struct Case
    {
        const char *name;
        std::vector<double> in, out;
    };
    const Case cases[] = {
        { "fast spike", { 100, 200, 110 }, { 100, 105, 110 } },
        { "slow dip", { 300, 150, 300 }, { 300, 300, 300 } },
        { "exactly 1.7 times is kept", { 100, 170, 100 }, { 100, 170, 100 } },
        // Layer 2 is compared with the already smoothed layer 1 (100), so it stays.
        { "later layers see earlier changes", { 100, 300, 100, 300 }, { 100, 100, 100, 300 } },
        { "first and last layers never change", { 500, 100, 100, 500 }, { 500, 100, 100, 500 } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CMatrix v = CMatrix::Column(c.in);
        SmoothSpikes(v);
        for (size_t i = 0; i < c.in.size(); ++i)
            EXPECT_DOUBLE_EQ(v(int(i)), c.out[i]) << i;
    }
}

TEST(AutomaticSearchPieces, BoundsClampTrialsAtAndBeyondThem)
{
    CMatrix v = CMatrix::Column({ 50, 100, 150, 400, 500 });
    ApplyBounds(v, CMatrix::Column({ 100, 100, 100, 100, 100 }),
        CMatrix::Column({ 400, 400, 400, 400, 400 }));
    const double expected[] = { 100, 100, 150, 400, 400 };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(v(i), expected[i]) << i;
}

TEST(AutomaticSearchPieces, DenseGridHasOnePointPerHertzOfTheBand)
{
    CMatrix g = DenseFrequencyGrid(CMatrix::Column({ 5, 7.5, 20, 50.5 }));
    ASSERT_EQ(g.GetCount(), 45);
    EXPECT_EQ(g(0), 5.0);
    EXPECT_NEAR(g(44), 50.5, 1e-9);
    // A row vector of frequencies is read by its larger dimension.
    g = DenseFrequencyGrid(CMatrix(1, 3, { 10, 12, 30 }));
    EXPECT_EQ(g.GetCount(), 20);
    // A band under 2 Hz keeps its two ends.
    g = DenseFrequencyGrid(CMatrix::Column({ 10, 10.4, 10.8 }));
    ASSERT_EQ(g.GetCount(), 2);
    EXPECT_EQ(g(1), 10.8);
}

TEST(AutomaticSearchPieces, UndampedStepOnALinearModelLandsOnTheAnswer)
{
    LinearWorld w = Kernel(12, 4);
    const CMatrix truth = CMatrix::Column({ 150, 220, 300, 450 });
    const CMatrix start = CMatrix::Column({ 200, 200, 200, 200 });
    CComplexMatrix jacobian(w.g);
    CComplexMatrix current(w.Curve(start));
    CMatrix step = DampedStep(1e-10, RoughnessOperator(4),
        DataWeights(CMatrix::Column(std::vector<double>(12, 3.0))), jacobian, w.Curve(truth),
        current, start);
    for (int l = 0; l < 4; ++l)
        EXPECT_NEAR(step(l), truth(l), 1e-4 * truth(l)) << l;
    // Strong damping pulls the layers towards each other (smoother than the answer).
    CMatrix smooth = DampedStep(1.0, RoughnessOperator(4),
        DataWeights(CMatrix::Column(std::vector<double>(12, 3.0))), jacobian, w.Curve(truth),
        current, start);
    EXPECT_LT(smooth(3) - smooth(0), truth(3) - truth(0));
}

// ---- control flow on the linear world ------------------------------------------------------

TEST(AutomaticSearchFlow, ConvergesFromThirtyPercentOffAndReportsEveryStage)
{
    LinearWorld w = Kernel(15, 4);
    const CMatrix truth = CMatrix::Column({ 150, 220, 300, 450 });
    Problem p(w, truth, truth * 1.3);
    Recorder rec;
    rec.target = 0.01;
    EXPECT_EQ(p.Run(rec.Host(w)), 0);
    for (int l = 0; l < 4; ++l)
        EXPECT_NEAR(p.finalVs(l), truth(l), 0.01 * truth(l)) << l;
    for (int l = 0; l < 4; ++l)
        EXPECT_EQ(p.vs(l), p.finalVs(l));
    // First iteration: current model, trials until the target is met, then the end.
    ASSERT_GE(rec.steps.size(), 8u);
    EXPECT_EQ(std::vector<int>(rec.steps.begin(), rec.steps.begin() + 5),
        (std::vector<int> { 0, 6, 7, 8, 9 }));
    EXPECT_EQ(std::vector<int>(rec.steps.end() - 4, rec.steps.end()),
        (std::vector<int> { 1000, 12, 13, 11 }));
    EXPECT_EQ(rec.requested, 5);
    EXPECT_LT(rec.current, 0.01);
    EXPECT_LT(rec.first, 0.01);
    EXPECT_LT(rec.second, 0.01);
    EXPECT_EQ(p.dense.GetCount(), 14);
}

TEST(AutomaticSearchFlow, EveryStepCarriesItsValueAndTheCountersMatchIt)
{
    LinearWorld w = Kernel(15, 4);
    const CMatrix truth = CMatrix::Column({ 150, 220, 300, 450 });
    Problem p(w, truth, truth * 1.3);
    // Noise keeps every trial above the target, so all five run in every iteration.
    for (int i = 0; i < p.experimental.GetCount(); ++i)
        p.experimental.Set(i, p.experimental(i) * (i % 2 ? 1.06 : 0.94));
    p.iterations = 3;
    Recorder rec;
    rec.target = 0.0;
    std::vector<std::vector<int>> seen; // step, value, iteration counter, trial counter
    rec.onStep = [&seen](int step, int value, Recorder &r) {
        if (step == 0 || step >= 6) // not the forward computation's own stages
            seen.push_back({ step, value, r.iteration, r.trial });
    };
    ASSERT_EQ(p.Run(rec.Host(w)), 0);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0], (std::vector<int> { 0, 0, 0, 0 }));
    EXPECT_EQ(seen[1], (std::vector<int> { 6, 3, 0, 0 }));
    int iteration = -1, trial = -1;
    for (size_t i = 2; i < seen.size(); ++i) {
        const std::vector<int> &s = seen[i];
        SCOPED_TRACE(i);
        switch (s[0]) {
        case 7:
            iteration = s[1];
            EXPECT_EQ(s[2], iteration);
            break;
        case 8:
            trial = s[1];
            EXPECT_EQ(s[3], trial);
            break;
        case 9:
            EXPECT_EQ(s[1], 0);
            break;
        case 14:
            // The iteration ends under the number it started with; the count follows.
            EXPECT_EQ(s[1], iteration);
            EXPECT_EQ(s[2], iteration);
            break;
        default:
            EXPECT_EQ(s[1], 0) << "step " << s[0];
        }
    }
    // The linear world is solved in one iteration; the next finds nothing better.
    const long iterations = std::count(rec.steps.begin(), rec.steps.end(), 7);
    EXPECT_EQ(iterations, 2);
    EXPECT_EQ(iteration, iterations - 1);
    EXPECT_EQ(trial, 4);
    EXPECT_EQ(std::count(rec.steps.begin(), rec.steps.end(), 8), 5 * iterations);
    EXPECT_EQ(rec.iteration, iterations);
}

TEST(AutomaticSearchFlow, TruncatedMisfitDecidesWhenTheLoopEnds)
{
    // The misfit is scripted: the current model always scores `value`, every trial 0.5.
    struct Case
    {
        const char *name;
        double value, target;
        int iterationsRun, endReason;
    };
    const Case cases[] = {
        { "0.0999 counts as 0.09, below 0.1", 0.0999, 0.1, 1, 0 },
        // Untruncated, 0.105 would stay above the target and the search would go on.
        { "0.105 counts as 0.10, below 0.101", 0.105, 0.101, 1, 0 },
        { "0.1 equals the target: go on, then counted as reached", 0.1, 0.1, 2, 0 },
        { "target 0 is reached by 0.0099 only after the loop", 0.0099, 0.0, 2, 0 },
        { "target 0 is not reached by 0.01", 0.01, 0.0, 2, 4 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LinearWorld w = Kernel(8, 3);
        const CMatrix truth = CMatrix::Column({ 150, 250, 400 });
        Problem p(w, truth, truth * 1.2);
        Recorder rec;
        rec.target = c.target;
        SearchHost h = rec.Host(w);
        h.complexMisfit = [&](const CComplexMatrix &, const CMatrix &, const CMatrix &) {
            return c.value;
        };
        h.realMisfit = [](const CMatrix &, const CMatrix &, const CMatrix &) { return 0.5; };
        EXPECT_EQ(p.Run(h), 0);
        EXPECT_EQ(std::count(rec.steps.begin(), rec.steps.end(), 7), c.iterationsRun);
        EXPECT_EQ(std::count(rec.steps.begin(), rec.steps.end(), 1000 + c.endReason), 1);
    }
}

TEST(AutomaticSearchFlow, AnIterationWithoutImprovementEndsWithThePreviousBest)
{
    LinearWorld w = Kernel(15, 4);
    const CMatrix truth = CMatrix::Column({ 150, 220, 300, 450 });
    Problem p(w, truth, truth * 1.3);
    // Noise keeps the best misfit above the target; after the first iteration (6 forward
    // runs) every curve comes out 40% too fast, so nothing can improve any more.
    for (int i = 0; i < p.experimental.GetCount(); ++i)
        p.experimental.Set(i, p.experimental(i) * (i % 2 ? 1.06 : 0.94));
    w.distortion = [](int call) { return call > 6 ? 1.4 : 1.0; };
    Recorder rec;
    rec.target = 0.01;
    ASSERT_EQ(p.Run(rec.Host(w)), 0);
    EXPECT_EQ(std::count(rec.steps.begin(), rec.steps.end(), 7), 2);
    EXPECT_EQ(std::count(rec.steps.begin(), rec.steps.end(), 1004), 1);
    // The final model is the first iteration's, close to the truth and far from the start.
    for (int l = 0; l < 4; ++l)
        EXPECT_NEAR(p.finalVs(l), truth(l), 0.1 * truth(l)) << l;
}

TEST(AutomaticSearchFlow, SpikesSurviveOnlyWhenStrongContrastsAreAllowed)
{
    LinearWorld w = Kernel(15, 4);
    const CMatrix truth = CMatrix::Column({ 150, 400, 150, 300 });
    for (bool strong : { true, false }) {
        SCOPED_TRACE(strong ? "strong contrasts" : "smoothed");
        Problem p(w, truth, CMatrix::Column({ 180, 250, 200, 320 }));
        p.strong = strong;
        p.iterations = 3;
        Recorder rec;
        ASSERT_EQ(p.Run(rec.Host(w)), 0);
        const double v = p.finalVs(1);
        const bool spike = v > 1.7 * p.finalVs(0) && v > 1.7 * p.finalVs(2);
        EXPECT_EQ(spike, strong) << p.finalVs(0) << " " << v << " " << p.finalVs(2);
    }
}

TEST(AutomaticSearchFlow, ATrialBeyondABoundStopsAtTheBound)
{
    LinearWorld w = Kernel(15, 4);
    const CMatrix truth = CMatrix::Column({ 150, 220, 300, 450 });
    Problem p(w, truth, truth * 0.9);
    p.upper.Set(3, 400.0); // the truth lies above it
    p.iterations = 3;
    Recorder rec;
    ASSERT_EQ(p.Run(rec.Host(w)), 0);
    EXPECT_EQ(p.finalVs(3), 400.0);
}

TEST(AutomaticSearchFlow, StopFlagDuringTheTrialsEndsWithoutEndNotificationOrFinalModel)
{
    LinearWorld w = Kernel(10, 3);
    const CMatrix truth = CMatrix::Column({ 150, 250, 400 });
    Problem p(w, truth, truth * 1.3);
    Recorder rec;
    rec.target = 0.0;
    rec.onStep = [](int step, int value, Recorder &r) {
        if (step == 8 && value == 2)
            r.stop = true;
    };
    EXPECT_EQ(p.Run(rec.Host(w)), -1);
    EXPECT_EQ(rec.steps, (std::vector<int> { 0, 6, 7, 8, 9, 8, 9, 8, 11 }));
    EXPECT_EQ(p.finalVs(0), -7.0);
    EXPECT_EQ(p.dense(0), -7.0);
}

TEST(AutomaticSearchFlow, FailingForwardRunsEndWithTheirOwnCodes)
{
    struct Case
    {
        const char *name;
        std::function<bool(int)> fails;
        int result;
        std::vector<int> tail; // last steps
    };
    const Case cases[] = {
        // Every trial fails: the last trial evaluated failed.
        { "trials fail", [](int call) { return call % 6 != 1; }, -2, { 14, 1003, 11 } },
        // No forward run of a current model ever completes: there is nothing to return.
        { "current model fails", [](int) { return true; }, SearchNoFinalModel,
            { 7, 7, 1000 + EndReasonNoFinalModel, 11 } },
        // The search succeeds but the final run on the dense grid fails: the model is kept.
        { "dense grid fails", [](int call) { return call == 14; }, SearchFinalCurvesMissing,
            { 12, 11 } },
        // The first final run fails: the model is kept, its final misfits are not computed.
        { "final run fails", [](int call) { return call == 13; }, SearchFinalCurvesMissing,
            { 1001, 12, 11 } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LinearWorld w = Kernel(10, 3);
        w.fails = c.fails;
        const CMatrix truth = CMatrix::Column({ 150, 250, 400 });
        Problem p(w, truth, truth * 1.3);
        for (int i = 0; i < p.experimental.GetCount(); ++i)
            p.experimental.Set(i, p.experimental(i) * (i % 2 ? 1.1 : 0.9));
        p.iterations = 2;
        Recorder rec;
        rec.target = 0.0;
        EXPECT_EQ(p.Run(rec.Host(w)), c.result);
        ASSERT_GE(rec.steps.size(), c.tail.size());
        EXPECT_EQ(std::vector<int>(rec.steps.end() - long(c.tail.size()), rec.steps.end()), c.tail);
        if (c.result == SearchNoFinalModel) {
            EXPECT_EQ(p.finalVs(0), -7.0);
            continue;
        }
        // Every other failure returns the best model found, with its misfit: never worse
        // than the start's, and what the current-misfit variable says.
        ASSERT_EQ(p.finalVs.GetCount(), 3);
        for (int l = 0; l < 3; ++l)
            EXPECT_EQ(p.finalVs(l), p.vs(l)) << l;
        const CMatrix curve = w.Curve(p.finalVs);
        const double misfit = rec.engine.CalcolaErrore(curve, p.experimental, curve);
        EXPECT_DOUBLE_EQ(rec.current, misfit);
        const CMatrix startCurve = w.Curve(truth * 1.3);
        EXPECT_LE(misfit, rec.engine.CalcolaErrore(startCurve, p.experimental, startCurve));
        EXPECT_EQ(rec.first < 1e99, c.tail.front() == 12);
    }
}

TEST(AutomaticSearchFlow, ZeroIterationsEvaluateTheStartModelAsTheFinalModel)
{
    LinearWorld w = Kernel(10, 3);
    const CMatrix truth = CMatrix::Column({ 150, 250, 400 });
    const CMatrix start = truth * 1.3;
    Problem p(w, truth, start);
    p.iterations = 0;
    Recorder rec;
    EXPECT_EQ(p.Run(rec.Host(w)), 0);
    EXPECT_EQ(rec.steps, (std::vector<int> { 0, 1001, 12, 13, 11 }));
    for (int l = 0; l < 3; ++l)
        EXPECT_EQ(p.finalVs(l), start(l));
    EXPECT_EQ(w.calls, 2);
    EXPECT_GT(rec.first, 0.2);
    EXPECT_LT(rec.first, 0.4);
    EXPECT_EQ(p.dense.GetCount(), 9);
}

// ---- the real engine -----------------------------------------------------------------------

namespace {

struct RealProfile
{
    CMatrix thickness = CMatrix::Column({ 3, 5, 8 });
    CMatrix density = CMatrix::Column({ 1.8, 1.9, 2.0, 2.1 });
    CMatrix vs = CMatrix::Column({ 150, 250, 350, 500 });
    CMatrix poisson = CMatrix::Column({ 0.3, 0.3, 0.3, 0.3 });
    CMatrix frequencies = CMatrix::Linspace(5.0, 50.0, 31);
    CMatrix offsets = CMatrix::Linspace(1.0, 24.0, 24);
    long modes = 3;
};

struct EngineVariables
{
    bool stop = false;
    int spareA = 0, spareB = 0;
    double second = 1e99, first = 1e99, current = 0, target = 0.01;
    CMatrix spareMatrixA, spareMatrixB;
    void Attach(VelamodCode &e)
    {
        e.SetPointer(&stop, &spareA, &second, &first, &current, &target, &spareB, &spareMatrixA,
            &spareMatrixB, NoNotificationWindow);
    }
};

// The mean apparent curve of a profile, by the manual run.
CMatrix ApparentCurve(const RealProfile &p)
{
    VelamodCode engine;
    EngineVariables v;
    v.Attach(engine);
    CMatrix modelVs, modal, used;
    CComplexMatrix effective, apparent;
    std::vector<CComplexMatrix> sens(4);
    const CMatrix sd = CMatrix::Column(std::vector<double>(31, 5.0));
    testing::internal::CaptureStdout();
    const int code = engine.IdentificazioneManuale(p.frequencies, p.frequencies, sd, p.thickness,
        p.density, p.vs, p.poisson, p.modes, 5.0f, p.offsets, 0.0, 0.0, modelVs, effective,
        apparent, modal, sens.data(), used);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(code, 0);
    CMatrix c(apparent.GetCount(), 1);
    for (int i = 0; i < apparent.GetCount(); ++i)
        c.Set(i, apparent(i).Modulus());
    return c;
}

} // namespace

TEST(AutomaticIdentificationEngine, FindsAFourLayerProfileFromThirtyPercentOff)
{
    const RealProfile truth;
    const CMatrix curve = ApparentCurve(truth);
    VelamodCode engine;
    EngineVariables v;
    v.target = 0.005;
    v.Attach(engine);
    CMatrix vs = truth.vs * 1.3;
    const CMatrix lower = vs * 0.4, upper = vs * 2.0;
    CMatrix finalVs, modal, dense;
    CComplexMatrix effective, apparent;
    std::vector<CComplexMatrix> sens(4);
    const CMatrix sd = CMatrix::Column(std::vector<double>(31, 5.0));
    testing::internal::CaptureStdout();
    const int code = engine.IdentificazioneAutomatica(10, truth.frequencies, curve, sd,
        truth.thickness, truth.density, vs, truth.poisson, truth.modes, false, 5.0f, truth.offsets,
        0.0, 0.0, lower, upper, finalVs, effective, apparent, modal, sens.data(), dense);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_EQ(code, 0);
    // Every layer of this profile shapes the 5-50 Hz curve, the half-space included.
    for (int l = 0; l < 4; ++l)
        EXPECT_NEAR(finalVs(l), truth.vs(l), 0.05 * truth.vs(l)) << "layer " << l;
    for (int l = 0; l < 4; ++l)
        EXPECT_EQ(vs(l), finalVs(l));
    EXPECT_LT(v.current, 0.02);
    EXPECT_LT(v.first, 0.02); // effective curve
    EXPECT_LT(v.second, 0.02); // mean apparent curve
    // The final curves lie on the dense grid: 5 to 50 Hz, 45 points.
    ASSERT_EQ(dense.GetCount(), 45);
    EXPECT_EQ(effective.GetCount(), 45);
    EXPECT_EQ(apparent.GetCount(), 45);
    EXPECT_EQ(modal.GetRows(), 45);
    EXPECT_EQ(modal.GetCols(), 3);
    // Without a notification window the stages are printed, the end reason among them.
    EXPECT_EQ(printed.rfind("SegnalaStep 0\nSegnalaStep 6\nSegnalaStep 7\nSegnalaStep 1\n", 0), 0u);
    EXPECT_NE(printed.find("SegnalaStep 14\nSegnalaFine 0 \nSegnalaStep 12\nSegnalaStep 1\n"),
        std::string::npos);
    const std::string tail = "SegnalaStep 13\nSegnalaStep 11\n";
    EXPECT_EQ(printed.substr(printed.size() - tail.size()), tail);
}

TEST(AutomaticIdentificationEngine, MismatchedInputsEndTheRunWithAnInternalErrorNotACrash)
{
    const RealProfile p;
    const CMatrix curve = CMatrix::Column(std::vector<double>(31, 200.0));
    struct Case
    {
        const char *name;
        CMatrix deviations, lower;
    };
    const Case cases[] = {
        { "deviations for fewer frequencies", CMatrix::Column({ 5, 5, 5 }), p.vs * 0.5 },
        { "bounds for fewer layers", CMatrix::Column(std::vector<double>(31, 5.0)),
            CMatrix::Column({ 100, 100 }) },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        VelamodCode engine;
        EngineVariables v;
        v.Attach(engine);
        CMatrix vs = p.vs, finalVs, modal, dense;
        CComplexMatrix effective, apparent;
        std::vector<CComplexMatrix> sens(4);
        testing::internal::CaptureStdout();
        const int code = engine.IdentificazioneAutomatica(2, p.frequencies, curve, c.deviations,
            p.thickness, p.density, vs, p.poisson, p.modes, false, 5.0f, p.offsets, 0.0, 0.0,
            c.lower, p.vs * 2.0, finalVs, effective, apparent, modal, sens.data(), dense);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(code, VelamodCode::InternalError);
        // The host still hears that the run is over.
        EXPECT_EQ(printed.substr(printed.size() - 15), "SegnalaStep 11\n");
    }
}

TEST(AutomaticIdentificationEngine, ZeroIterationsEvaluateTheStartModelLikeTheManualRun)
{
    // The search drives its final runs with the manual run's unit vertical force and zero
    // azimuth, so an empty search and a manual run of one profile agree on both misfits.
    const RealProfile p;
    CMatrix curve = ApparentCurve(p) * 1.05;
    const CMatrix sd = CMatrix::Column(std::vector<double>(31, 5.0));

    VelamodCode manual;
    EngineVariables m;
    m.Attach(manual);
    CMatrix modelVs, modal, used;
    CComplexMatrix effective, apparent;
    std::vector<CComplexMatrix> sens(4);
    testing::internal::CaptureStdout();
    ASSERT_EQ(manual.IdentificazioneManuale(p.frequencies, curve, sd, p.thickness, p.density, p.vs,
                  p.poisson, p.modes, 5.0f, p.offsets, 0.0, 0.0, modelVs, effective, apparent,
                  modal, sens.data(), used),
        0);

    VelamodCode search;
    EngineVariables s;
    s.Attach(search);
    CMatrix vs = p.vs, finalVs, searchModal, dense;
    CComplexMatrix searchEffective, searchApparent;
    const int code = search.IdentificazioneAutomatica(0, p.frequencies, curve, sd, p.thickness,
        p.density, vs, p.poisson, p.modes, false, 5.0f, p.offsets, 0.0, 0.0, p.vs * 0.5, p.vs * 2.0,
        finalVs, searchEffective, searchApparent, searchModal, sens.data(), dense);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_EQ(code, 0);
    EXPECT_NE(printed.find("SegnalaStep 0\nSegnalaFine 1 \nSegnalaStep 12\n"), std::string::npos);
    // The manual run's first misfit is the apparent curve's, the search's the effective's.
    EXPECT_DOUBLE_EQ(s.first, m.second);
    EXPECT_DOUBLE_EQ(s.second, m.first);
    EXPECT_GT(s.second, 0.03);
    for (int l = 0; l < 4; ++l)
        EXPECT_EQ(finalVs(l), p.vs(l));
}
