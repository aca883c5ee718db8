// Apparent and effective curves: single-mode identities, the beat of two modes, the chain
// rule of the sensitivities, the depth rows, and the FFT pick with its unwrapping.
#include "ForwardTestModels.h"

#include "engine/ApparentEffective.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

using namespace forwardtest;

namespace {

constexpr double TwoPi = 6.283185307179586;

// Modal quantities with chosen weights: the eigenfunctions of a half-space evaluated at the
// given phase velocities (which need not be modes), U = 1 and I1 = r2(row 0)^2 / weight, so
// that a_m b_m / (U_m I1_m) = weight_m for both depths at row 0; dc_m/dbeta_l = 1 when l == m
// (so that sensitivity l is d(2P/J)/dc_l).
struct Synthetic
{
    CMatrix frequencies, velocities, grid;
    EigenfunctionSet set;
    ModalIntegrals integrals;
    int layers = 0;
};

Synthetic MakeSynthetic(const std::vector<double> &frequencies,
    const std::vector<std::vector<double>> &velocities, const std::vector<double> &weights)
{
    Synthetic s;
    const int f = static_cast<int>(frequencies.size());
    const int m = static_cast<int>(weights.size());
    s.layers = m;
    s.frequencies = CMatrix::Column(frequencies);
    s.velocities = CMatrix(f, m);
    for (int i = 0; i < f; ++i) {
        for (int j = 0; j < m; ++j)
            s.velocities.Set(
                i, j, velocities[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
    }
    const Profile p = { "Stiff", {}, { 900.0 }, { 1800.0 }, { 2.0 } };
    CalcolaAutofunzioni(s.frequencies, s.velocities, p.Thicknesses(), p.Density(), p.Vs(), p.Vp(),
        1.0, s.grid, s.set);
    ModalIntegrals &g = s.integrals;
    g.frequencyCount = f;
    g.modeCount = m;
    g.layerCount = m;
    g.energy.assign(static_cast<std::size_t>(f) * m, 0.0);
    g.groupVelocity.assign(static_cast<std::size_t>(f) * m, 0.0);
    g.dcdBeta.assign(static_cast<std::size_t>(f) * m * m, 0.0);
    g.dcdAlpha.assign(static_cast<std::size_t>(f) * m * m, 0.0);
    for (int i = 0; i < f; ++i) {
        for (int j = 0; j < m; ++j) {
            if (s.velocities(i, j) == 0.0)
                continue;
            const std::complex<double> r2 = s.set.Sample(0, i, j).r2;
            g.groupVelocity[g.ModeIndex(i, j)] = 1.0;
            g.energy[g.ModeIndex(i, j)] = r2 * r2 / weights[static_cast<std::size_t>(j)];
            g.dcdBeta[g.DerivativeIndex(j, i, j)] = 1.0;
        }
    }
    return s;
}

struct Apparent
{
    CComplexMatrix velocities;
    std::vector<CComplexMatrix> sensitivities;
};

Apparent RunApparent(const Synthetic &s, const CMatrix &velocities, const CMatrix &offsets,
    double firstDepth = 0.0, double secondDepth = 0.0)
{
    Apparent a;
    a.sensitivities.resize(static_cast<std::size_t>(s.layers));
    CurvaApparente(s.frequencies, velocities, s.integrals, s.grid, s.set, s.layers, offsets,
        firstDepth, secondDepth, a.velocities, a.sensitivities.data());
    return a;
}

} // namespace

TEST(ApparentCurve, SinglePresentModeGivesItsVelocityAndItsDerivatives)
{
    const Profile p = Increasing();
    const CMatrix f = CMatrix::Column({ 5.0, 12.0, 30.0, 50.0 });
    const CMatrix v = ModalVelocities(p, f, 1);
    const Stages s = RunStages(p, f, v);
    const CMatrix offsets = CMatrix::Column({ 1.0, 7.0, 23.0 });
    CComplexMatrix apparent;
    std::vector<CComplexMatrix> sensitivities(static_cast<std::size_t>(p.Layers()));
    CurvaApparente(f, v, s.integrals, s.grid, s.eigenfunctions, p.Layers(), offsets, 0.0, 2.5,
        apparent, sensitivities.data());
    ASSERT_EQ(apparent.GetRows(), 4);
    ASSERT_EQ(apparent.GetCols(), 3);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) {
            SCOPED_TRACE(std::to_string(i) + "," + std::to_string(j));
            EXPECT_NEAR(apparent(i, j).Modulus(), v(i, 0), 1e-9 * v(i, 0));
            for (int l = 0; l < p.Layers(); ++l) {
                const std::complex<double> expected =
                    s.integrals.dcdBeta[s.integrals.DerivativeIndex(l, i, 0)];
                EXPECT_NEAR(sensitivities[static_cast<std::size_t>(l)](i, j).Real(),
                    expected.real(), 1e-9 * std::abs(expected) + 1e-14);
            }
        }
    }
}

TEST(ApparentCurve, TwoEqualModesBeatWithTheWavenumberDifference)
{
    const double c1 = 150.0, c2 = 250.0, frequency = 20.0;
    const Synthetic s = MakeSynthetic({ frequency }, { { c1, c2 } }, { 1.0, 1.0 });
    const double omega = TwoPi * frequency;
    const double period = TwoPi / (omega / c1 - omega / c2);
    std::vector<double> x;
    for (int j = 0; j <= 48; ++j)
        x.push_back(j * period / 16.0);
    const Apparent a = RunApparent(s, s.velocities, CMatrix::Column(x));

    // At zero offset the double sums collapse to (sum c^-1/2) / (sum c^-3/2).
    const double atZero =
        (1.0 / std::sqrt(c1) + 1.0 / std::sqrt(c2)) / (std::pow(c1, -1.5) + std::pow(c2, -1.5));
    EXPECT_NEAR(a.velocities(0, 0).Real(), atZero, 1e-9 * atZero);
    double lowest = 1e30, highest = -1e30;
    for (int j = 0; j + 16 < 49; ++j) {
        SCOPED_TRACE(j);
        const double here = a.velocities(0, j).Real();
        EXPECT_NEAR(a.velocities(0, j + 16).Real(), here, 1e-8 * here);
        lowest = std::min(lowest, here);
        highest = std::max(highest, here);
    }
    // Half a period away the modes interfere destructively and the curve swings widely.
    EXPECT_GT(highest - lowest, 50.0);
}

TEST(ApparentCurve, SensitivitiesAreTheChainRuleThroughTheModalVelocities)
{
    const Synthetic s = MakeSynthetic(
        { 15.0, 32.0 }, { { 140.0, 210.0, 330.0 }, { 120.0, 190.0, 0.0 } }, { 1.0, -0.6, 0.3 });
    const CMatrix offsets = CMatrix::Column({ 0.0, 3.0, 11.0, 24.0 });
    const Apparent base = RunApparent(s, s.velocities, offsets);
    for (int i = 0; i < 2; ++i) {
        for (int m = 0; m < 3; ++m) {
            if (s.velocities(i, m) == 0.0)
                continue;
            const double h = 1e-4 * s.velocities(i, m);
            CMatrix up = s.velocities, down = s.velocities;
            up.Set(i, m, s.velocities(i, m) + h);
            down.Set(i, m, s.velocities(i, m) - h);
            const Apparent above = RunApparent(s, up, offsets);
            const Apparent below = RunApparent(s, down, offsets);
            for (int j = 0; j < offsets.GetCount(); ++j) {
                SCOPED_TRACE("f " + std::to_string(i) + " mode " + std::to_string(m) + " x "
                    + std::to_string(offsets(j)));
                const double difference =
                    (above.velocities(i, j).Real() - below.velocities(i, j).Real()) / (2.0 * h);
                const double analytic =
                    base.sensitivities[static_cast<std::size_t>(m)](i, j).Real();
                EXPECT_NEAR(analytic, difference, 1e-5 * (std::fabs(difference) + 1.0));
            }
        }
    }
    // A mode absent at a frequency has no sensitivity there.
    EXPECT_EQ(base.sensitivities[2](1, 2).Real(), 0.0);
}

TEST(ApparentCurve, DepthsSelectTheFirstGridRowAtOrBelowThem)
{
    // At zero offset 2P/J = (sum w c^-1/2) / (sum w c^-3/2) with w = a b / (U I1), a and b the
    // eigenfunction r2 at the two rows selected by the depths.
    const Synthetic s = MakeSynthetic({ 20.0 }, { { 150.0, 250.0 } }, { 1.0, 1.0 });
    auto expected = [&](int rowV, int rowW) {
        double numerator = 0.0, denominator = 0.0;
        for (int m = 0; m < 2; ++m) {
            const double c = s.velocities(0, m);
            const std::complex<double> w = s.set.Sample(rowV, 0, m).r2 * s.set.Sample(rowW, 0, m).r2
                / s.integrals.energy[s.integrals.ModeIndex(0, m)];
            numerator += w.real() / std::sqrt(c);
            denominator += w.real() / (c * std::sqrt(c));
        }
        return numerator / denominator;
    };
    const auto depth = [&](int row) { return s.grid(row, 0); };
    struct Case
    {
        double firstDepth, secondDepth;
        int rowV, rowW;
    };
    for (const Case &c : { Case { 0.0, 0.0, 0, 0 }, Case { depth(0), depth(0), 0, 0 },
             Case { depth(0) + 1e-9, depth(18), 1, 18 },
             Case { depth(68), depth(69) - 1e-9, 68, 69 }, Case { 1e4, depth(28), 0, 28 } }) {
        SCOPED_TRACE(std::to_string(c.firstDepth) + " / " + std::to_string(c.secondDepth));
        const Apparent a =
            RunApparent(s, s.velocities, CMatrix::Column({ 0.0 }), c.firstDepth, c.secondDepth);
        const double value = expected(c.rowV, c.rowW);
        EXPECT_NEAR(a.velocities(0, 0).Real(), value, 1e-9 * value);
        // A neighbouring row would give a different velocity.
        EXPECT_GT(std::fabs(expected(c.rowV + 1, c.rowW) - value), 1e-6 * value);
    }
}

namespace {

std::vector<double> Spread(int receivers, double spacing)
{
    std::vector<double> x;
    for (int j = 1; j <= receivers; ++j)
        x.push_back(j * spacing);
    return x;
}

} // namespace

TEST(EffectiveCurve, SingleModeIsPickedWithinOneWavenumberBin)
{
    const Profile p = Increasing();
    std::vector<double> frequencies;
    for (double f = 5.0; f <= 50.0; f += 5.0)
        frequencies.push_back(f);
    const CMatrix f = CMatrix::Column(frequencies);
    const CMatrix v = ModalVelocities(p, f, 1);
    const Stages s = RunStages(p, f, v);
    CComplexMatrix effective;
    CurvaEffettiva(f, v, s.integrals, s.eigenfunctions, CMatrix::Column(Spread(24, 1.0)), 0.0, 0.0,
        1.0, 0.0, effective);
    ASSERT_EQ(effective.GetRows(), f.GetCount());
    ASSERT_EQ(effective.GetCols(), 1);
    const double bin = TwoPi / 8192.0;
    for (int i = 0; i < f.GetCount(); ++i) {
        SCOPED_TRACE(f(i));
        const double omega = TwoPi * f(i);
        EXPECT_LE(std::fabs(omega / effective(i).Real() - omega / v(i, 0)), bin);
        EXPECT_EQ(effective(i).Imag(), 0.0);
    }
}

TEST(EffectiveCurve, AliasedWavenumbersAreLiftedByOneSamplingWavenumber)
{
    // c = 100 m/s and dx = 1 m: above 100 Hz the wavenumber exceeds 2 pi / dx and the raw pick
    // wraps around; the unwrapped curve stays at 100 m/s.
    std::vector<double> frequencies;
    std::vector<std::vector<double>> velocities;
    for (double f = 60.0; f <= 150.0; f += 10.0) {
        frequencies.push_back(f);
        velocities.push_back({ 100.0 });
    }
    const Synthetic s = MakeSynthetic(frequencies, velocities, { 1.0 });
    CComplexMatrix effective;
    CurvaEffettiva(s.frequencies, s.velocities, s.integrals, s.set,
        CMatrix::Column(Spread(24, 1.0)), 0.0, 0.0, 1.0, 0.0, effective);
    const double bin = TwoPi / 8192.0;
    for (int i = 0; i < s.frequencies.GetCount(); ++i) {
        SCOPED_TRACE(s.frequencies(i));
        const double omega = TwoPi * s.frequencies(i);
        EXPECT_LE(std::fabs(omega / effective(i).Real() - omega / 100.0), bin);
    }
}

TEST(EffectiveCurve, VerticalForceMakesTheAzimuthIrrelevant)
{
    const Synthetic s =
        MakeSynthetic({ 10.0, 20.0 }, { { 180.0, 260.0 }, { 150.0, 230.0 } }, { 1.0, 0.8 });
    const CMatrix offsets = CMatrix::Column(Spread(12, 2.0));
    CComplexMatrix reference;
    CurvaEffettiva(
        s.frequencies, s.velocities, s.integrals, s.set, offsets, 0.0, 0.0, 1.0, 0.0, reference);
    for (double azimuth : { 0.7, 2.0, -1.2 }) {
        SCOPED_TRACE(azimuth);
        CComplexMatrix effective;
        CurvaEffettiva(s.frequencies, s.velocities, s.integrals, s.set, offsets, 0.0, 0.0, 1.0,
            azimuth, effective);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(effective(i), reference(i));
    }
}

TEST(EffectiveCurve, SpreadThatCannotBeTransformedGivesZeros)
{
    const Synthetic s = MakeSynthetic({ 10.0, 20.0 }, { { 180.0 }, { 150.0 } }, { 1.0 });
    for (const std::vector<double> &x : { std::vector<double> { 3.0 },
             std::vector<double> { 3.0, 3.0, 3.0 }, std::vector<double> { 4.0, 2.0 } }) {
        SCOPED_TRACE(x.size());
        CComplexMatrix effective(5, 5);
        CurvaEffettiva(s.frequencies, s.velocities, s.integrals, s.set, CMatrix::Column(x), 0.0,
            0.0, 1.0, 0.0, effective);
        ASSERT_EQ(effective.GetRows(), 2);
        ASSERT_EQ(effective.GetCols(), 1);
        EXPECT_EQ(effective(0), Complex(0.0, 0.0));
        EXPECT_EQ(effective(1), Complex(0.0, 0.0));
    }
}
