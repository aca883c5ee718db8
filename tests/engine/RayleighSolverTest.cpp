// Tests of the Rayleigh dispersion solver: physics invariants, an independent double-precision
// Thomson-Haskell root finder, the scan's edge rules, and bit identity of the optimised scan
// with the straightforward one.
#include "engine/RayleighSolver.h"
#include "tests/engine/IndependentRayleigh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A layered model in solver units (km, km/s, g/cm^3); the last layer is the half-space.
struct Layered
{
    std::string name;
    std::vector<float> h, vp, vs, rho;
    float Count() const { return static_cast<float>(vs.size()); }
};

Layered BenchmarkModel()
{
    Layered m { "ten layers 120-480 m/s", {}, {}, {}, {} };
    const float thickness[] = { 2, 2, 3, 3, 4, 4, 5, 5, 6 };
    for (int i = 0; i < 10; ++i) {
        if (i < 9)
            m.h.push_back(thickness[i] * 0.001f);
        m.vs.push_back(0.12f + 0.04f * static_cast<float>(i));
        m.vp.push_back(m.vs.back() * std::sqrt(8.0f / 3.0f));
        m.rho.push_back(1.8f);
    }
    return m;
}

Layered LayerOverHalfSpace()
{
    return { "layer over half-space", { 0.010f }, { 0.4f, 1.0f }, { 0.2f, 0.5f }, { 1.8f, 2.0f } };
}

Layered LowVelocityLayer()
{
    return { "low-velocity layer", { 0.004f, 0.006f }, { 0.45f, 0.30f, 0.75f },
        { 0.25f, 0.15f, 0.40f }, { 1.9f, 1.7f, 2.0f } };
}

struct Dispersion
{
    std::vector<double> rows; // sweep order, modes columns
    int modes = 0;
    double At(int row, int mode) const
    {
        return rows[static_cast<std::size_t>(row) * modes + mode];
    }
};

Dispersion Solve(const Layered &m, std::vector<float> frequencies, int modes,
    float refinement = 5.0f, double fill = 0.0)
{
    Dispersion run;
    run.modes = modes;
    run.rows.assign(frequencies.size() * static_cast<std::size_t>(modes), fill);
    const float n = m.Count();
    const int count = static_cast<int>(frequencies.size());
    std::vector<float> h = m.h.empty() ? std::vector<float> { 0.0f } : m.h;
    SolveRayleighModes(h.data(), m.vp.data(), m.vs.data(), m.rho.data(), &n, &count, &modes,
        &refinement, frequencies.data(), run.rows.data());
    return run;
}

// ---------------------------------------------------------------------------------------
// Independent check (see IndependentRayleigh.h).

using namespace independent;

IndependentModel Independent(const Layered &m)
{
    IndependentModel d;
    d.h.assign(m.h.begin(), m.h.end());
    d.vp.assign(m.vp.begin(), m.vp.end());
    d.vs.assign(m.vs.begin(), m.vs.end());
    d.rho.assign(m.rho.begin(), m.rho.end());
    return d;
}

TEST(IndependentCheck, LeftEigenvectorsSolveEveryEquationOfTheSystem)
{
    // Guards the check itself: l A = s l must hold in all four components.
    const IndependentModel m = Independent(LayerOverHalfSpace());
    const Elastic e = Moduli(m, 1);
    const double omega = 60.0, k = 400.0;
    for (const double beta : { 1.0, 0.0 }) {
        const double v = beta > 0.5 ? m.vs[1] : m.vp[1];
        const double s = std::sqrt(k * k - omega * omega / (v * v));
        const auto l = LeftEigenvector(e, k, omega, s);
        const Matrix4 a = SystemMatrix(e, k, omega);
        for (int j = 0; j < 4; ++j) {
            double la = 0.0;
            for (int i = 0; i < 4; ++i)
                la += l[i] * a[i][j];
            EXPECT_NEAR(la, s * l[j], 1e-9 * (std::fabs(la) + std::fabs(s * l[j]) + 1.0));
        }
    }
}

struct IndependentCase
{
    Layered model;
    float frequency;
    int modes;
};

void PrintTo(const IndependentCase &c, std::ostream *out)
{
    *out << c.model.name << " at " << c.frequency << " Hz";
}

class SolverAgainstIndependentHaskell : public testing::TestWithParam<IndependentCase>
{
};

TEST_P(SolverAgainstIndependentHaskell, FindsTheSameModesWithinFloatAccuracy)
{
    const IndependentCase &c = GetParam();
    SCOPED_TRACE(c.model.name + " at " + std::to_string(c.frequency) + " Hz");
    const Dispersion run = Solve(c.model, { c.frequency }, c.modes);
    float slowest = c.model.vs[0];
    for (float v : c.model.vs)
        slowest = std::min(slowest, v);
    const std::vector<double> expected =
        IndependentModes(Independent(c.model), c.frequency, 0.8 * slowest);
    ASSERT_GE(expected.size(), 1u);
    const std::size_t compared = std::min<std::size_t>(expected.size(), c.modes);
    for (std::size_t j = 0; j < compared; ++j)
        EXPECT_NEAR(run.At(0, static_cast<int>(j)), expected[j], 2e-4 * expected[j])
            << "mode " << j + 1;
    for (std::size_t j = compared; j < static_cast<std::size_t>(c.modes); ++j)
        EXPECT_EQ(run.At(0, static_cast<int>(j)), 0.0) << "mode " << j + 1 << " does not exist";
}

INSTANTIATE_TEST_SUITE_P(StandardModels, SolverAgainstIndependentHaskell,
    testing::Values(IndependentCase { LayerOverHalfSpace(), 5.0f, 3 },
        IndependentCase { LayerOverHalfSpace(), 15.0f, 3 },
        IndependentCase { LayerOverHalfSpace(), 30.0f, 5 },
        IndependentCase { LowVelocityLayer(), 8.0f, 3 },
        IndependentCase { LowVelocityLayer(), 20.0f, 4 },
        IndependentCase { BenchmarkModel(), 4.0f, 2 },
        IndependentCase { BenchmarkModel(), 8.0f, 3 }));

// ---------------------------------------------------------------------------------------
// Physics invariants.

TEST(RayleighPhysics, HomogeneousGroundIsNondispersiveAtTheRayleighVelocity)
{
    // Poisson's ratio 0.25 (Vp = sqrt(3) Vs): c / Vs = 0.919402.
    const float vs = 0.3f, vp = std::sqrt(3.0f) * vs;
    const Layered halfSpace { "half-space", {}, { vp }, { vs }, { 2.0f } };
    const Layered identical { "five identical layers", { 0.003f, 0.004f, 0.005f, 0.006f },
        std::vector<float>(5, vp), std::vector<float>(5, vs), std::vector<float>(5, 2.0f) };
    for (const Layered &m : { halfSpace, identical }) {
        SCOPED_TRACE(m.name);
        const Dispersion run = Solve(m, { 1.0f, 10.0f, 40.0f, 90.0f }, 2);
        for (int row = 0; row < 4; ++row) {
            EXPECT_NEAR(run.At(row, 0) / vs, 0.919402, 1e-4);
            EXPECT_EQ(run.At(row, 1), 0.0) << "a homogeneous ground has one mode";
        }
    }
}

TEST(RayleighPhysics, LayerOverHalfSpaceTendsToBothRayleighVelocities)
{
    const Layered m = LayerOverHalfSpace();
    const auto rayleigh = [](double vp, double vs) {
        // Bisection of the half-space Rayleigh function in double precision.
        double a = 0.5 * vs, b = vs * (1 - 1e-12);
        auto f = [&](double c) {
            const double s = c * c / (vs * vs), p = c * c / (vp * vp);
            return (2 - s) * (2 - s) - 4 * std::sqrt(1 - s) * std::sqrt(1 - p);
        };
        for (int i = 0; i < 100; ++i)
            ((f(a) > 0) == (f(0.5 * (a + b)) > 0) ? a : b) = 0.5 * (a + b);
        return 0.5 * (a + b);
    };
    const Dispersion run = Solve(m, { 400.0f, 0.05f }, 1);
    EXPECT_NEAR(run.At(0, 0), rayleigh(m.vp[0], m.vs[0]), 1e-4 * m.vs[0]) << "high frequency";
    EXPECT_NEAR(run.At(1, 0), rayleigh(m.vp[1], m.vs[1]), 2e-3 * m.vs[1]) << "low frequency";
}

TEST(RayleighPhysics, ModesAreOrderedAndHigherModesAppearWithFrequency)
{
    for (const Layered &m : { LayerOverHalfSpace(), LowVelocityLayer(), BenchmarkModel() }) {
        SCOPED_TRACE(m.name);
        std::vector<float> f;
        for (int i = 0; i < 40; ++i)
            f.push_back(2.0f + 2.0f * static_cast<float>(i));
        const int modes = 6;
        const Dispersion run = Solve(m, f, modes);
        int previousCount = modes;
        for (int row = 0; row < 40; ++row) { // descending frequency
            int count = 0;
            while (count < modes && run.At(row, count) > 0.0)
                ++count;
            EXPECT_GE(count, 1) << "row " << row;
            EXPECT_LE(count, previousCount) << "fewer modes at lower frequency, row " << row;
            for (int j = count; j < modes; ++j)
                EXPECT_EQ(run.At(row, j), 0.0);
            for (int j = 1; j < count; ++j)
                EXPECT_GT(run.At(row, j), run.At(row, j - 1)) << "row " << row;
            previousCount = count;
        }
        EXPECT_EQ(previousCount, 1) << "only the fundamental mode at 2 Hz";
    }
}

TEST(RayleighPhysics, FluidLayerOverFluidHalfSpaceMatchesTheAcousticDispersionRelation)
{
    // Pressure-free surface: tan(nu1 h) = -(rho2 nu1) / (rho1 gamma2), for a1 < c < a2.
    const Layered m { "water over faster fluid", { 0.05f }, { 1.5f, 2.5f }, { 0.0f, 0.0f },
        { 1.0f, 2.0f } };
    const float f = 80.0f;
    const Dispersion run = Solve(m, { f }, 3);
    const double omega = 6.283185307179586 * f;
    auto relation = [&](double c) {
        const double k = omega / c;
        const double nu = std::sqrt(omega * omega / (1.5 * 1.5) - k * k);
        const double gamma = std::sqrt(k * k - omega * omega / (2.5 * 2.5));
        return 1.0 * gamma * std::sin(nu * 0.05) + 2.0 * nu * std::cos(nu * 0.05);
    };
    std::vector<double> expected;
    double previous = relation(1.5 + 1e-9);
    for (double c = 1.5 + 1e-5; c < 2.5 && expected.size() < 3; c += 1e-5) {
        const double value = relation(c);
        if ((value > 0) != (previous > 0))
            expected.push_back(c);
        previous = value;
    }
    ASSERT_EQ(expected.size(), 3u);
    for (int j = 0; j < 3; ++j)
        EXPECT_NEAR(run.At(0, j), expected[j], 2e-5 * expected[j]) << "mode " << j + 1;
}

TEST(RayleighSecularFunction, ChangesSignAcrossEachRootTheSolverReports)
{
    const Layered m = LowVelocityLayer();
    const float f = 20.0f;
    const Dispersion run = Solve(m, { f }, 3);
    const float omega = static_cast<float>(6.283185307179586 * f);
    for (int j = 0; j < 3; ++j) {
        ASSERT_GT(run.At(0, j), 0.0);
        const float k = static_cast<float>(omega / run.At(0, j));
        const float below = RayleighSecular(
            3, m.h.data(), m.vp.data(), m.vs.data(), m.rho.data(), omega, k * (1.0f - 1e-4f));
        const float above = RayleighSecular(
            3, m.h.data(), m.vp.data(), m.vs.data(), m.rho.data(), omega, k * (1.0f + 1e-4f));
        EXPECT_NE(below > 0.0f, above > 0.0f) << "mode " << j + 1;
    }
}

// ---------------------------------------------------------------------------------------
// The frequency list, the refinement factor and the mode cap.

TEST(RayleighFrequencyList, RowsComeInDescendingOrderWithDuplicatesAndNegativesDropped)
{
    const Layered m = LayerOverHalfSpace();
    const Dispersion reference = Solve(m, { 30.0f, 20.0f, 10.0f }, 2);
    // Ascending input, a duplicate and two negatives: the same three rows, then zeros.
    const Dispersion run = Solve(m, { 10.0f, -5.0f, 20.0f, 20.0f, 30.0f, -1.0f }, 2);
    for (int row = 0; row < 3; ++row)
        for (int j = 0; j < 2; ++j)
            EXPECT_EQ(run.At(row, j), reference.At(row, j)) << "row " << row;
    for (int row = 3; row < 6; ++row)
        for (int j = 0; j < 2; ++j)
            EXPECT_EQ(run.At(row, j), 0.0) << "row " << row << " holds a dropped frequency";
    EXPECT_GT(reference.At(0, 0), 0.0);
    EXPECT_LT(reference.At(0, 0), reference.At(2, 0)) << "row 0 is the highest frequency";
}

TEST(RayleighRefinement, FactorsBelowOneBehaveExactlyLikeFive)
{
    const Layered m = BenchmarkModel();
    const std::vector<float> f = { 5.0f, 25.0f, 60.0f };
    const Dispersion five = Solve(m, f, 4, 5.0f);
    for (const float r : { 0.0f, 0.5f, -3.0f }) {
        const Dispersion run = Solve(m, f, 4, r);
        EXPECT_EQ(
            std::memcmp(run.rows.data(), five.rows.data(), run.rows.size() * sizeof(double)), 0)
            << "refinement " << r;
    }
}

TEST(RayleighModeCap, AMissingModeStaysMissingAtAllLowerFrequencies)
{
    // Three modes asked where the higher ones exist only at the upper end of the band.
    const Layered m = LayerOverHalfSpace();
    std::vector<float> f;
    for (int i = 0; i < 30; ++i)
        f.push_back(60.0f - 2.0f * static_cast<float>(i));
    const Dispersion run = Solve(m, f, 3, 5.0f, -1.0);
    bool seenTwo = false;
    int lostAt = -1;
    for (int row = 0; row < 30; ++row) {
        const bool hasThird = run.At(row, 2) > 0.0;
        if (!hasThird && lostAt < 0)
            lostAt = row;
        if (lostAt >= 0) {
            EXPECT_EQ(run.At(row, 2), -1.0) << "row " << row << " third column untouched";
        }
        seenTwo = seenTwo || (run.At(row, 1) > 0.0 && !hasThird);
    }
    EXPECT_TRUE(seenTwo) << "some frequency has exactly two modes";
    ASSERT_GT(lostAt, 0) << "the third mode exists at the top of the band";
}

TEST(RayleighModeCap, NothingIsWrittenWhenTheHighestFrequencyHasNoMode)
{
    const Layered m = LayerOverHalfSpace();
    const Dispersion run = Solve(m, { 0.0f }, 2, 5.0f, -1.0);
    EXPECT_EQ(run.At(0, 0), -1.0);
    EXPECT_EQ(run.At(0, 1), -1.0);
    const Dispersion none = Solve(m, { 10.0f, 20.0f }, 0);
    EXPECT_TRUE(none.rows.empty());
}

TEST(RayleighCoarseSteps, StiffHalfSpaceMultipliesTheStepsUpToThreeTimes)
{
    // At 0 Hz the stack adds nothing, so the base count is 200 steps times R.
    struct Case
    {
        float halfSpaceVs;
        int expected;
    };
    const Case cases[] = { { 0.2f, 1000 }, { 0.1f, 1000 }, { 0.4f, 2000 }, { 0.6f, 3000 },
        { 0.7f, 3000 }, { 2.0f, 3000 } };
    for (const Case &c : cases) {
        SCOPED_TRACE("half-space Vs " + std::to_string(c.halfSpaceVs));
        const float h[] = { 0.01f };
        const float vs[] = { 0.2f, c.halfSpaceVs };
        const float vp[] = { 0.4f, 2.0f * c.halfSpaceVs };
        const float rho[] = { 1.8f, 2.0f };
        EXPECT_EQ(velamod::RayleighCoarseSteps(h, vp, vs, rho, 2.0f, 5.0f, 0.0f), c.expected);
    }
}

TEST(RayleighCoarseSteps, GrowWithFrequencyAndTheRefinementFactor)
{
    const Layered m = BenchmarkModel();
    const int at10 = velamod::RayleighCoarseSteps(
        m.h.data(), m.vp.data(), m.vs.data(), m.rho.data(), 10.0f, 5.0f, 10.0f);
    const int at80 = velamod::RayleighCoarseSteps(
        m.h.data(), m.vp.data(), m.vs.data(), m.rho.data(), 10.0f, 5.0f, 80.0f);
    const int at80Fine = velamod::RayleighCoarseSteps(
        m.h.data(), m.vp.data(), m.vs.data(), m.rho.data(), 10.0f, 10.0f, 80.0f);
    EXPECT_GT(at80, at10);
    EXPECT_NEAR(at80Fine, 2 * at80, 1);
}

// The scan's sample count, walked here from the rule itself: one sample per coarse step until
// the step ends at or past the branch wavenumber of the next body-wave velocity; then
// m + 4 int(q) steps of int(10 q) m samples, q the clamped ratio to the following velocity.
// With every root kept, the evaluations are 1 (at kmax) + samples + 15 per root.
long long ExpectedEvaluations(const Layered &m, float frequency, float refinement, int roots)
{
    std::vector<float> sorted;
    for (std::size_t i = 0; i < m.vs.size(); ++i) {
        sorted.push_back(m.vp[i]);
        sorted.push_back(m.vs[i]);
    }
    std::sort(sorted.begin(), sorted.end());
    std::vector<float> v;
    for (const float x : sorted) {
        if (v.empty() || std::fabs(x - v.back()) >= 1.0e-7f)
            v.push_back(x);
    }
    v.push_back(1.0e30f);
    std::size_t slowest = 0;
    for (std::size_t i = 1; i < m.vs.size(); ++i) {
        if (m.vs[i] < m.vs[slowest])
            slowest = i;
    }
    const float b2 = m.vs[slowest] * m.vs[slowest], a2 = m.vp[slowest] * m.vp[slowest];
    float c = 0.95f * m.vs[slowest];
    for (int step = 0; step < 5; ++step) {
        const float rs = std::sqrt(1.0f - c * c / b2), rp = std::sqrt(1.0f - c * c / a2);
        const float t = 2.0f - c * c / b2;
        c -= (t * t - 4.0f * rs * rp)
            / (-4.0f * t * c / b2 + 4.0f * c * (rp / (b2 * rs) + rs / (a2 * rp)));
    }
    const float omega = static_cast<float>(6.283185307179586 * frequency);
    const float kmax = omega / (0.95f * c);
    const float kmin = omega / *std::max_element(m.vs.begin(), m.vs.end());
    const int steps = velamod::RayleighCoarseSteps(
        m.h.data(), m.vp.data(), m.vs.data(), m.rho.data(), m.Count(), refinement, frequency);
    const float dk = (kmax - kmin) / static_cast<float>(steps);
    const int subdivision = static_cast<int>(refinement);
    long long samples = 0;
    int dense = 0, perStep = 1;
    std::size_t j = 0;
    for (int p = 1; p <= steps; ++p) {
        const float end = p == steps ? kmin + 0.01f * dk : kmax - static_cast<float>(p) * dk;
        if (dense > 0) {
            --dense;
        } else if (end > omega / v[j]) {
            perStep = 1;
        } else {
            float q = v[j + 1] / v[j];
            q = q > 3.0f ? 3.01f : (q < 1.01f ? 1.01f : q);
            ++j;
            dense = subdivision + 4 * static_cast<int>(q) - 1;
            perStep = static_cast<int>(10.0f * q) * subdivision;
        }
        samples += perStep;
    }
    return 1 + samples + 15LL * roots;
}

TEST(RayleighScanSampling, EvaluatesExactlyTheSamplesTheVelocityListCallsFor)
{
    for (const Layered &m : { LayerOverHalfSpace(), LowVelocityLayer(), BenchmarkModel() }) {
        for (const float f : { 5.0f, 23.0f, 61.0f }) {
            for (const float refinement : { 5.0f, 2.5f }) {
                SCOPED_TRACE(m.name + " at " + std::to_string(f) + " Hz, refinement "
                    + std::to_string(refinement));
                const int modes = RayleighMaxModes;
                const int count = 1;
                const float n = m.Count();
                float frequency = f;
                float r = refinement;
                std::vector<double> out(static_cast<std::size_t>(modes), 0.0);
                velamod::RayleighSolverStats stats;
                velamod::SolveRayleighModesReference(m.h.data(), m.vp.data(), m.vs.data(),
                    m.rho.data(), &n, &count, &modes, &r, &frequency, out.data(), &stats);
                const int roots = static_cast<int>(
                    std::count_if(out.begin(), out.end(), [](double c) { return c != 0.0; }));
                ASSERT_GE(roots, 1);
                EXPECT_EQ(stats.secularEvaluations, ExpectedEvaluations(m, f, refinement, roots));
            }
        }
    }
}

TEST(RayleighModeCap, MalformedModelsWriteNothingAndReturn)
{
    const Layered good = LayerOverHalfSpace();
    struct Case
    {
        const char *name;
        float layerCount;
        float vs1;
    } cases[] = { { "no layer", 0.0f, 0.2f }, { "a hundred layers", 100.0f, 0.2f },
        { "layer count not a number", std::nanf(""), 0.2f },
        { "velocity not a number", 2.0f, std::nanf("") }, { "infinite velocity", 2.0f, INFINITY } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> vs = good.vs;
        vs[0] = c.vs1;
        // Room for a hundred layers, so that a bad count cannot read past the arrays.
        std::vector<float> h(100, 0.01f), vp(100, 0.4f), rho(100, 1.8f);
        vs.resize(100, 0.3f);
        const float f[] = { 10.0f, 20.0f };
        const int count = 2, modes = 2;
        const float refinement = 5.0f;
        double out[4] = { -1.0, -1.0, -1.0, -1.0 };
        EXPECT_EQ(SolveRayleighModes(h.data(), vp.data(), vs.data(), rho.data(), &c.layerCount,
                      &count, &modes, &refinement, f, out),
            0);
        for (const double v : out)
            EXPECT_EQ(v, -1.0);
    }
}

// ---------------------------------------------------------------------------------------
// The optimised scan against the straightforward one.

TEST(RayleighScanIdentity, OptimisedScanMatchesTheStraightforwardOneBitForBit)
{
    const Layered water { "water over sediment", { 0.005f, 0.010f }, { 1.5f, 1.6f, 2.0f },
        { 0.0f, 0.2f, 0.6f }, { 1.0f, 1.9f, 2.1f } };
    const Layered stiff { "stiff half-space", { 0.004f, 0.008f }, { 0.35f, 0.5f, 3.0f },
        { 0.18f, 0.25f, 1.5f }, { 1.8f, 1.9f, 2.4f } };
    const Layered halfSpace { "half-space", {}, { 0.52f }, { 0.3f }, { 2.0f } };
    std::vector<float> f;
    for (int i = 0; i < 40; ++i)
        f.push_back(3.0f + 1.9f * static_cast<float>(i));
    for (const Layered &m :
        { BenchmarkModel(), LowVelocityLayer(), LayerOverHalfSpace(), water, stiff, halfSpace }) {
        for (const float refinement : { 5.0f, 12.5f }) {
            SCOPED_TRACE(m.name + ", refinement " + std::to_string(refinement));
            const int modes = 5;
            const int count = static_cast<int>(f.size());
            const float n = m.Count();
            std::vector<float> h = m.h.empty() ? std::vector<float> { 0.0f } : m.h;
            std::vector<double> reference(f.size() * modes, 0.0);
            velamod::RayleighSolverStats referenceStats;
            velamod::SolveRayleighModesReference(h.data(), m.vp.data(), m.vs.data(), m.rho.data(),
                &n, &count, &modes, &refinement, f.data(), reference.data(), &referenceStats);
            ASSERT_GT(reference[0], 0.0);
            for (const int threads : { 1, 2, 3, 0 }) {
                std::vector<double> optimised(f.size() * modes, 0.0);
                velamod::SolveRayleighModesThreaded(h.data(), m.vp.data(), m.vs.data(),
                    m.rho.data(), &n, &count, &modes, &refinement, f.data(), optimised.data(),
                    threads, nullptr);
                EXPECT_EQ(std::memcmp(optimised.data(), reference.data(),
                              reference.size() * sizeof(double)),
                    0)
                    << threads << " threads";
            }
            EXPECT_GT(referenceStats.secularEvaluations, 200 * count);
        }
    }
}

// ---------------------------------------------------------------------------------------
// Plausibility against a published field case: the inverted AlbCa model of the teaching
// notebook against its own fundamental-mode picks.

TEST(RayleighFieldCase, InvertedAlbCaModelReproducesItsFundamentalPicks)
{
    const std::string folder = VELA_REALWORLD_DIR "/reference/albca_shot1/";
    std::ifstream modelFile(folder + "Shot1_inverted_model.txt");
    std::ifstream picks(folder + "Shot1_dc_mode0.txt");
    if (!modelFile || !picks)
        GTEST_SKIP() << "real-world reference data not present";
    Layered m { "AlbCa inverted", {}, {}, {}, {} };
    std::string line;
    std::getline(modelFile, line); // header
    while (std::getline(modelFile, line)) {
        for (char &ch : line)
            ch = ch == ',' ? ' ' : ch;
        std::istringstream in(line);
        double d, vp, vs, rho;
        if (!(in >> d >> vp >> vs >> rho))
            continue;
        m.h.push_back(static_cast<float>(d * 0.001));
        m.vp.push_back(static_cast<float>(vp * 0.001));
        m.vs.push_back(static_cast<float>(vs * 0.001));
        m.rho.push_back(static_cast<float>(rho));
    }
    m.h.pop_back(); // the half-space has no thickness
    ASSERT_EQ(m.vs.size(), 6u);
    std::vector<float> f;
    std::vector<double> c;
    std::getline(picks, line);
    double fi, ci;
    while (picks >> fi >> ci) {
        f.push_back(static_cast<float>(fi));
        c.push_back(ci * 0.001);
    }
    ASSERT_GT(f.size(), 40u);
    const Dispersion run = Solve(m, f, 1); // picks ascend, rows descend
    for (std::size_t i = 0; i < f.size(); ++i)
        EXPECT_NEAR(run.At(static_cast<int>(f.size() - 1 - i), 0), c[i], 0.04 * c[i])
            << f[i] << " Hz";
}

} // namespace
