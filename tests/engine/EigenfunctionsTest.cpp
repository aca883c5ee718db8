// Eigenfunctions, energy integrals, group velocities and partial derivatives, checked
// against the dispersion solver itself: dw/dk, finite differences of the phase velocity
// and Rayleigh's principle.
#include "ForwardTestModels.h"

#include "engine/Eigenfunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

using namespace forwardtest;

namespace {

constexpr double TwoPi = 6.283185307179586;

// Phase velocity (m/s) of one mode at one frequency, 0 when absent.
double PhaseVelocity(const Profile &p, double frequency, int mode)
{
    const CMatrix v = ModalVelocities(p, CMatrix::Column({ frequency }), mode + 1);
    return v(0, mode);
}

struct Case
{
    Profile profile;
    double frequency;
    int mode;
};

std::vector<Case> Cases()
{
    return {
        { LayerOverHalfSpace(), 8.0, 0 },
        { LayerOverHalfSpace(), 25.0, 0 },
        { LayerOverHalfSpace(), 40.0, 1 },
        { Increasing(), 6.0, 0 },
        { Increasing(), 20.0, 0 },
        { Increasing(), 45.0, 0 },
        { Increasing(), 30.0, 1 },
        { Reversal(), 10.0, 0 },
        { Reversal(), 35.0, 0 },
    };
}

std::string CaseName(const Case &c)
{
    return c.profile.name + " f=" + std::to_string(c.frequency) + " mode "
        + std::to_string(c.mode + 1);
}

// Integrals of one mode of one frequency.
struct ModeResult
{
    double c = 0.0;
    std::complex<double> group;
    std::vector<std::complex<double>> dcdBeta, dcdAlpha;
};

ModeResult Evaluate(const Profile &p, double frequency, int mode)
{
    const CMatrix f = CMatrix::Column({ frequency });
    const CMatrix v = ModalVelocities(p, f, mode + 1);
    const Stages s = RunStages(p, f, v);
    ModeResult r;
    r.c = v(0, mode);
    r.group = s.integrals.groupVelocity[s.integrals.ModeIndex(0, mode)];
    for (int l = 0; l < p.Layers(); ++l) {
        r.dcdBeta.push_back(s.integrals.dcdBeta[s.integrals.DerivativeIndex(l, 0, mode)]);
        r.dcdAlpha.push_back(s.integrals.dcdAlpha[s.integrals.DerivativeIndex(l, 0, mode)]);
    }
    return r;
}

// Rayleigh velocity of a homogeneous half-space from its secular equation, in double
// precision by bisection (independent of the layered solver).
double HalfSpaceRayleighVelocity(double alpha, double beta)
{
    auto secular = [&](double c) {
        const double b = c * c / (beta * beta), a = c * c / (alpha * alpha);
        return (2.0 - b) * (2.0 - b) - 4.0 * std::sqrt(1.0 - b) * std::sqrt(1.0 - a);
    };
    double low = 0.5 * beta, high = 0.999999 * beta;
    for (int step = 0; step < 200; ++step) {
        const double middle = 0.5 * (low + high);
        (secular(middle) > 0.0 ? high : low) = middle;
    }
    return 0.5 * (low + high);
}

} // namespace

TEST(ModalIntegrals, HomogeneousHalfSpaceIsNonDispersive)
{
    // The Rayleigh wave of a half-space: U = c, and since c is proportional to the velocities
    // at every frequency, beta dc/dbeta + alpha dc/dalpha = c.
    for (double frequency : { 5.0, 20.0, 60.0 }) {
        SCOPED_TRACE(frequency);
        const ModeResult r = Evaluate(HalfSpace(), frequency, 0);
        ASSERT_NEAR(r.c / 200.0, 0.9194, 2e-4);
        EXPECT_NEAR(r.group.real() / r.c, 1.0, 1e-4);
        EXPECT_NEAR(r.group.imag() / r.c, 0.0, 1e-9);
        const double sum = 200.0 * r.dcdBeta[0].real() + 346.41016151377545 * r.dcdAlpha[0].real();
        EXPECT_NEAR(sum / r.c, 1.0, 1e-4);
        // Against the derivatives of the half-space's own secular equation.
        const double alpha = 346.41016151377545, beta = 200.0, h = 1e-3;
        const double dcdBeta = (HalfSpaceRayleighVelocity(alpha, beta + h)
                                   - HalfSpaceRayleighVelocity(alpha, beta - h))
            / (2.0 * h);
        const double dcdAlpha = (HalfSpaceRayleighVelocity(alpha + h, beta)
                                    - HalfSpaceRayleighVelocity(alpha - h, beta))
            / (2.0 * h);
        EXPECT_NEAR(r.dcdBeta[0].real() / dcdBeta, 1.0, 1e-3);
        EXPECT_NEAR(r.dcdAlpha[0].real() / dcdAlpha, 1.0, 1e-3);
    }
}

TEST(ModalIntegrals, GroupVelocityMatchesSlopeOfSolverDispersion)
{
    for (const Case &c : Cases()) {
        SCOPED_TRACE(CaseName(c));
        const ModeResult r = Evaluate(c.profile, c.frequency, c.mode);
        ASSERT_GT(r.c, 0.0);
        const double step = 0.002 * c.frequency;
        const double below = PhaseVelocity(c.profile, c.frequency - step, c.mode);
        const double above = PhaseVelocity(c.profile, c.frequency + step, c.mode);
        ASSERT_GT(below, 0.0);
        ASSERT_GT(above, 0.0);
        const double kBelow = TwoPi * (c.frequency - step) / below;
        const double kAbove = TwoPi * (c.frequency + step) / above;
        const double slope = TwoPi * 2.0 * step / (kAbove - kBelow);
        // Within 0.2 %: the finite difference of the single-precision solver is good to
        // about 1e-4 here.
        EXPECT_NEAR(r.group.real() / slope, 1.0, 0.002);
        EXPECT_NEAR(r.group.imag() / r.group.real(), 0.0, 1e-6);
    }
}

TEST(ModalIntegrals, PartialDerivativesMatchFiniteDifferencesOfTheSolver)
{
    for (const Case &c : Cases()) {
        const ModeResult r = Evaluate(c.profile, c.frequency, c.mode);
        for (int l = 0; l < c.profile.Layers(); ++l) {
            for (bool shear : { true, false }) {
                SCOPED_TRACE(
                    CaseName(c) + " layer " + std::to_string(l) + (shear ? " beta" : " alpha"));
                Profile lower = c.profile, upper = c.profile;
                std::vector<double> &lowV = shear ? lower.vs : lower.vp;
                std::vector<double> &highV = shear ? upper.vs : upper.vp;
                const double value = lowV[static_cast<std::size_t>(l)];
                const double delta = 0.005 * value;
                lowV[static_cast<std::size_t>(l)] -= delta;
                highV[static_cast<std::size_t>(l)] += delta;
                const double difference = (PhaseVelocity(upper, c.frequency, c.mode)
                                              - PhaseVelocity(lower, c.frequency, c.mode))
                    / (2.0 * delta);
                const std::complex<double> analytic = shear
                    ? r.dcdBeta[static_cast<std::size_t>(l)]
                    : r.dcdAlpha[static_cast<std::size_t>(l)];
                // Derivatives that move c by less than 2 % per unit relative change of the
                // velocity are not resolved by the single-precision solver.
                if (std::fabs(difference) * value < 0.02 * r.c)
                    continue;
                EXPECT_NEAR(analytic.real() / difference, 1.0, 0.01);
            }
        }
    }
}

TEST(ModalIntegrals, KernelsSumToRayleighPrincipleValue)
{
    // sum_l (alpha dc/dalpha + beta dc/dbeta) = c^2 / U exactly when the eigenfunction is a
    // true mode (omega^2 I1 = k^2 I2 + k I3 + I4); for a dispersive mode it differs from c.
    for (const Case &c : Cases()) {
        SCOPED_TRACE(CaseName(c));
        const ModeResult r = Evaluate(c.profile, c.frequency, c.mode);
        std::complex<double> sum(0.0, 0.0);
        for (int l = 0; l < c.profile.Layers(); ++l) {
            const auto u = static_cast<std::size_t>(l);
            sum += c.profile.vs[u] * r.dcdBeta[u] + c.profile.vp[u] * r.dcdAlpha[u];
        }
        const double expected = r.c * r.c / r.group.real();
        EXPECT_NEAR(sum.real() / expected, 1.0, 2e-3);
    }
}

TEST(ModalIntegrals, ScalingOneModesEigenfunctionsChangesNothing)
{
    const Profile p = Increasing();
    const CMatrix f = CMatrix::Column({ 15.0, 30.0 });
    const CMatrix v = ModalVelocities(p, f, 3);
    Stages s = RunStages(p, f, v);
    const ModalIntegrals before = s.integrals;

    const std::complex<double> factor(-2.5, 7.0);
    const int i = 1, m = 1;
    ASSERT_NE(v(i, m), 0.0);
    for (int l = 0; l < s.eigenfunctions.layerCount; ++l) {
        for (int w = 0; w < 4; ++w)
            s.eigenfunctions.amplitudes[s.eigenfunctions.AmplitudeIndex(i, m, l, w)] *= factor;
    }
    ModalIntegrals after;
    CalcolaIntegraliModali(
        f, v, s.grid, s.eigenfunctions, p.Thicknesses(), p.Density(), p.Vs(), p.Vp(), after);

    const std::size_t index = after.ModeIndex(i, m);
    EXPECT_NEAR(
        std::abs(after.energy[index] / before.energy[index] / (factor * factor) - 1.0), 0.0, 1e-12);
    EXPECT_NEAR(
        std::abs(after.groupVelocity[index] / before.groupVelocity[index] - 1.0), 0.0, 1e-12);
    for (int l = 0; l < p.Layers(); ++l) {
        SCOPED_TRACE(l);
        const std::size_t at = after.DerivativeIndex(l, i, m);
        EXPECT_NEAR(std::abs(after.dcdBeta[at] - before.dcdBeta[at]), 0.0,
            1e-12 * std::abs(before.dcdBeta[at]) + 1e-15);
        EXPECT_NEAR(std::abs(after.dcdAlpha[at] - before.dcdAlpha[at]), 0.0,
            1e-12 * std::abs(before.dcdAlpha[at]) + 1e-15);
    }
    // The other modes are untouched.
    EXPECT_EQ(
        after.groupVelocity[after.ModeIndex(i, 0)], before.groupVelocity[before.ModeIndex(i, 0)]);
}

TEST(ModalEigenfunctions, SatisfyTheFieldEquationsAndAStressFreeSurface)
{
    // The samples satisfy r1' = k r2 + r3/mu and r2' = (r4 - lambda k r1)/(lambda + 2 mu).
    const Profile p = LayerOverHalfSpace();
    const CMatrix f = CMatrix::Column({ 20.0 });
    const CMatrix v = ModalVelocities(p, f, 1);
    const Stages s = RunStages(p, f, v);
    const EigenfunctionSet &e = s.eigenfunctions;
    const double k = e.wavenumber[e.ModeIndex(0, 0)];
    for (int row : { 0, 1, 2, 3, 100, 302 }) {
        SCOPED_TRACE(row);
        const int l = row < 3 ? 0 : 1;
        const double mu = p.density[l] * p.vs[l] * p.vs[l];
        const double lambda = p.density[l] * p.vp[l] * p.vp[l] - 2.0 * mu;
        const EigenfunctionSample x = e.Sample(row, 0, 0);
        const double scale = std::abs(x.dr1) + std::abs(k * x.r2) + 1e-30;
        EXPECT_LT(std::abs(x.dr1 - (k * x.r2 + x.r3 / mu)), 1e-9 * scale);
        EXPECT_LT(std::abs(x.dr2 - (x.r4 - lambda * k * x.r1) / (lambda + 2.0 * mu)),
            1e-9 * (std::abs(x.dr2) + std::abs(k * x.r1)));
    }
    // At the surface itself both stresses vanish (to the precision of the modal root), while
    // the displacements do not.
    EigenfunctionSet atSurface = e;
    atSurface.depthGrid.Set(0, 0, 0.0);
    const EigenfunctionSample surface = atSurface.Sample(0, 0, 0);
    const double stress = std::abs(e.Sample(2, 0, 0).r4);
    EXPECT_LT(std::abs(surface.r3), 1e-4 * stress);
    EXPECT_LT(std::abs(surface.r4), 1e-4 * stress);
    EXPECT_GT(std::abs(surface.r2), 0.0);
}

TEST(ModalEigenfunctions, DisplacementAndStressAreContinuousAcrossInterfaces)
{
    // Rows are moved onto each interface from both sides: the last row of the layer above is
    // evaluated with that layer's waves, the first row of the layer below with its own.
    for (const Profile &p : { Increasing(), Reversal() }) {
        const CMatrix f = CMatrix::Column({ 7.0, 33.0 });
        const CMatrix v = ModalVelocities(p, f, 2);
        Stages s = RunStages(p, f, v);
        EigenfunctionSet &e = s.eigenfunctions;
        double depth = 0.0;
        for (int l = 0; l + 1 < p.Layers(); ++l) {
            depth += p.thickness[static_cast<std::size_t>(l)];
            for (int i = 0; i < 2; ++i) {
                e.depthGrid.Set(3 * l + 2, i, depth);
                e.depthGrid.Set(3 * l + 3, i, depth);
                for (int m = 0; m < 2; ++m) {
                    SCOPED_TRACE(p.name + " interface " + std::to_string(l) + " f "
                        + std::to_string(i) + " mode " + std::to_string(m));
                    const EigenfunctionSample above = e.Sample(3 * l + 2, i, m);
                    const EigenfunctionSample below = e.Sample(3 * l + 3, i, m);
                    const double displacement = std::abs(above.r1) + std::abs(above.r2);
                    const double stress = std::abs(above.r3) + std::abs(above.r4);
                    EXPECT_LE(std::abs(above.r1 - below.r1), 1e-9 * displacement);
                    EXPECT_LE(std::abs(above.r2 - below.r2), 1e-9 * displacement);
                    EXPECT_LE(std::abs(above.r3 - below.r3), 1e-9 * stress);
                    EXPECT_LE(std::abs(above.r4 - below.r4), 1e-9 * stress);
                }
            }
        }
    }
}

TEST(ModalEigenfunctions, WavenumberIsRaisedOffABodyWaveVelocity)
{
    const Profile p = LayerOverHalfSpace();
    const CMatrix f = CMatrix::Column({ 10.0 });
    struct Velocity
    {
        double c;
        bool nudged;
    };
    for (const Velocity &velocity : { Velocity { 150.0, true }, Velocity { 150.00005, true },
             Velocity { 300.0, true }, Velocity { 180.0, false } }) {
        SCOPED_TRACE(velocity.c);
        const CMatrix v = CMatrix::Column({ velocity.c });
        const Stages s = RunStages(p, f, v);
        const double omega = TwoPi * 10.0;
        const double k = s.eigenfunctions.wavenumber[0];
        if (velocity.nudged) {
            EXPECT_GT(k, omega / velocity.c);
            EXPECT_NEAR(k, omega / velocity.c * 1.0001, 1e-9 * k);
        } else {
            EXPECT_EQ(k, omega / velocity.c);
        }
        for (double body : { 150.0, 400.0, 300.0, 800.0 })
            EXPECT_GE(std::fabs(body - omega / k), 0.0001);
        EXPECT_TRUE(std::isfinite(s.integrals.groupVelocity[0].real()));
    }
}

TEST(ModalEigenfunctions, DepthGridFollowsLayersAndReachesAtLeastThirtyMetres)
{
    const Profile thin = { "Thin", { 4.0, 6.0 }, { 150.0, 200.0, 300.0 }, { 300.0, 400.0, 600.0 },
        { 1.8, 1.8, 2.0 } };
    const CMatrix f = CMatrix::Column({ 2.0, 50.0 });
    const CMatrix v = CMatrix(2, 1, { 280.0, 160.0 });
    const Stages s = RunStages(thin, f, v);
    ASSERT_EQ(s.grid.GetRows(), 3 * 2 + 300);
    ASSERT_EQ(s.grid.GetCols(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_DOUBLE_EQ(s.grid(0, i), 1.0);
        EXPECT_DOUBLE_EQ(s.grid(2, i), 3.0);
        EXPECT_DOUBLE_EQ(s.grid(3, i), 5.5);
        EXPECT_DOUBLE_EQ(s.grid(5, i), 8.5);
    }
    // 2 Hz: 1.5 * 300 / 2 = 225 m; 50 Hz: 1.5 * max(10, 6) = 15 m, raised to 30 m.
    EXPECT_DOUBLE_EQ(s.grid(305, 0), 225.0);
    EXPECT_DOUBLE_EQ(s.grid(305, 1), 30.0);
    EXPECT_DOUBLE_EQ(s.grid(6, 1), 10.0 + 20.0 / 300.0);
}

TEST(ModalEigenfunctions, AbsentModesStayZero)
{
    const Profile p = LayerOverHalfSpace();
    const CMatrix f = CMatrix::Column({ 5.0, 40.0 });
    const CMatrix v = ModalVelocities(p, f, 3);
    ASSERT_EQ(v(0, 2), 0.0);
    const Stages s = RunStages(p, f, v);
    EXPECT_EQ(s.eigenfunctions.Sample(0, 0, 2).r2, std::complex<double>(0.0, 0.0));
    EXPECT_EQ(
        s.integrals.groupVelocity[s.integrals.ModeIndex(0, 2)], std::complex<double>(0.0, 0.0));
    EXPECT_EQ(
        s.integrals.dcdBeta[s.integrals.DerivativeIndex(1, 0, 2)], std::complex<double>(0.0, 0.0));
}
