// Passive (ambient-noise) image: a synthetic noise record of known dispersion from either or
// both ends of the line, the axes and their active-spectrum limits, the column reduction, and
// the silent record.

#include "app/spectrum/PassiveTransform.h"

#include "matrix/CComplexMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr double Pi = 3.14159265358979323846;

double Dispersion(double f) { return 140.0 + 260.0 / (1.0 + (f / 12.0) * (f / 12.0)); }

enum Arrivals { FromNearEnd = 1, FromFarEnd = 2, FromBothEnds = 3 };

// 30 s of noise at 2 ms on 24 receivers 1 m apart: for every frequency from 4 to 45 Hz a plane
// wave of random phase travels at Dispersion(f) from the chosen end(s), plus white noise on
// every trace. Built as a sum of cosines over one period of 16384 samples (evaluated with an
// inverse Fourier transform) and cut to 15000 samples.
CMatrix NoiseRecord(int arrivals, unsigned seed)
{
    const int count = 24;
    const int length = 16384;
    const int samples = 15000;
    const double dt = 0.002;
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> phase(0.0, 2.0 * Pi);
    std::normal_distribution<double> white(0.0, 0.1);
    CComplexMatrix spectrum(length, count);
    const double df = 1.0 / (length * dt);
    for (int k = static_cast<int>(4.0 / df); k * df <= 45.0; ++k) {
        const double f = k * df;
        const double slowness = 1.0 / Dispersion(f);
        const double near = phase(random);
        const double far = phase(random);
        for (int j = 0; j < count; ++j) {
            const double x = 1.0 * j;
            Complex value;
            if (arrivals & FromNearEnd)
                value += Complex(std::cos(near - 2.0 * Pi * f * x * slowness),
                    std::sin(near - 2.0 * Pi * f * x * slowness));
            if (arrivals & FromFarEnd)
                value += Complex(std::cos(far + 2.0 * Pi * f * x * slowness),
                    std::sin(far + 2.0 * Pi * f * x * slowness));
            // The inverse transform as a forward one of the conjugate: only positive
            // frequencies are filled, so the real part is the sum of the cosines.
            spectrum.SetRaw(k, j, Complex(value.re, -value.im));
        }
    }
    spectrum.FFT();
    CMatrix traces(samples, count);
    for (int s = 0; s < samples; ++s)
        for (int j = 0; j < count; ++j)
            traces.SetRaw(s, j, spectrum(s, j).re / 100.0 + white(random));
    return traces;
}

PassiveParams Params()
{
    PassiveParams params;
    params.timeStepMs = 2.0;
    for (int j = 0; j < 24; ++j)
        params.offsets.push_back(1.0 * j);
    return params;
}

} // namespace

TEST(PassiveTransform, NoiseFromEitherEndFollowsTheDispersionLaw)
{
    for (int arrivals : { FromBothEnds, FromNearEnd, FromFarEnd }) {
        SCOPED_TRACE(arrivals);
        const PassiveSpectrum result = ComputePassiveSpectrum(NoiseRecord(arrivals, 11), Params());
        ASSERT_TRUE(result.ok) << qPrintable(result.message);
        ASSERT_EQ(result.velocities.GetCount(), PassiveVelocityCount);
        ASSERT_EQ(result.image.GetRows(), PassiveVelocityCount);
        ASSERT_EQ(result.image.GetCols(), result.frequencies.GetCount());
        const double step = result.velocities(1) - result.velocities(0);

        // Between 20 Hz (below, the 23 m line no longer resolves the slowness and the peak
        // wanders by a tenth) and 36 Hz (above, the aliased copy enters the slowness grid) each
        // column peaks within 8 % of the law, and on average within a third of a velocity step.
        int checked = 0;
        double error = 0.0;
        for (int c = 0; c < result.frequencies.GetCount(); ++c) {
            const double f = result.frequencies(c);
            if (f < 20.0 || f > 36.0)
                continue;
            int row = -1;
            result.image.ColMax(c, &row);
            ASSERT_NEAR(result.velocities(row), Dispersion(f), 0.08 * Dispersion(f)) << f;
            error += std::fabs(result.velocities(row) - Dispersion(f));
            ++checked;
        }
        ASSERT_GT(checked, 500);
        EXPECT_LT(error / checked, step / 3.0);
    }
}

TEST(PassiveTransform, AxesFollowTheRecordOrTheActiveSpectrum)
{
    // 1000 samples at 2 ms: transform length 1024, frequency step 500 / 1024 Hz.
    CMatrix traces(1000, 3);
    for (int s = 0; s < 1000; ++s)
        for (int j = 0; j < 3; ++j)
            traces.SetRaw(s, j, std::sin(0.37 * s + j));
    PassiveParams params;
    params.timeStepMs = 2.0;
    params.offsets = { 0.0, 3.0, 6.0 };
    const double df = 500.0 / 1024.0;

    const PassiveSpectrum plain = ComputePassiveSpectrum(traces, params);
    ASSERT_TRUE(plain.ok);
    EXPECT_DOUBLE_EQ(plain.velocities(0), 50.0);
    EXPECT_NEAR(plain.velocities(PassiveVelocityCount - 1), 3000.0, 1e-9);
    const int columns = static_cast<int>(std::lround(80.0 / df)) + 1;
    ASSERT_EQ(plain.frequencies.GetCount(), columns);
    EXPECT_DOUBLE_EQ(plain.frequencies(0), 0.0);
    EXPECT_NEAR(plain.frequencies(columns - 1), (columns - 1) * df, 1e-9);
    EXPECT_DOUBLE_EQ(plain.image.ColMax(0) >= 0.0, true);
    double lowest = 1.0;
    double highest = 0.0;
    for (int i = 0; i < plain.image.GetCount(); ++i) {
        lowest = std::min(lowest, plain.image(i));
        highest = std::max(highest, plain.image(i));
    }
    EXPECT_DOUBLE_EQ(lowest, 0.0);
    EXPECT_DOUBLE_EQ(highest, 1.0);

    params.activeAnalysed = true;
    params.activeMaxVelocity = 800.0;
    params.activeFirstFrequency = 5.0;
    params.activeLastFrequency = 60.0;
    const PassiveSpectrum active = ComputePassiveSpectrum(traces, params);
    ASSERT_TRUE(active.ok);
    EXPECT_NEAR(active.velocities(PassiveVelocityCount - 1), 800.0, 1e-9);
    EXPECT_NEAR(active.frequencies(0), std::lround(5.0 / df) * df, 1e-9);
    EXPECT_EQ(active.frequencies.GetCount(), std::lround(55.0 / df) + 1);

    // A coarse slowness grid ends below 3000 m/s: the axis stops at its last velocity.
    params.activeAnalysed = false;
    params.slownessCount = 20; // velocities 50 .. 1000 m/s
    const PassiveSpectrum coarse = ComputePassiveSpectrum(traces, params);
    ASSERT_TRUE(coarse.ok);
    EXPECT_NEAR(coarse.velocities(PassiveVelocityCount - 1), 1000.0, 1e-9);
}

TEST(PassiveTransform, SilentRecordStaysZeroAndBadInputIsRefused)
{
    const PassiveSpectrum silent = ComputePassiveSpectrum(CMatrix(500, 4), [] {
        PassiveParams p;
        p.timeStepMs = 1.0;
        p.offsets = { 0.0, 1.0, 2.0, 3.0 };
        return p;
    }());
    ASSERT_TRUE(silent.ok);
    ASSERT_GT(silent.image.GetCount(), 0);
    for (int i = 0; i < silent.image.GetCount(); ++i)
        ASSERT_EQ(silent.image(i), 0.0) << i;

    PassiveParams good;
    good.timeStepMs = 1.0;
    good.offsets = { 0.0, 1.0, 2.0, 3.0 };
    for (auto change : { +[](PassiveParams &p) { p.offsets.pop_back(); },
             +[](PassiveParams &p) { p.timeStepMs = -1.0; },
             +[](PassiveParams &p) { p.slownessCount = 1; },
             +[](PassiveParams &p) { p.transformLength = 1000; } }) {
        PassiveParams bad = good;
        change(bad);
        const PassiveSpectrum refused = ComputePassiveSpectrum(CMatrix(500, 4), bad);
        EXPECT_FALSE(refused.ok);
        EXPECT_FALSE(refused.message.isEmpty());
    }
}

TEST(PassiveTransform, ColumnReductionTakesTheLargestMagnitudeOfEachGroup)
{
    // 10 input columns onto 3: groups [0, 3), [3, 6), [6, 10).
    CMatrix image(2, 10,
        { 1, -9, 2, 3, 4, -5, 6, 7, 8, 0, //
            0, 0, 0, 0, 0, 0, 0, 0, 0, -0.5 });
    const CMatrix reduced = PassiveReduceColumns(image, 3);
    ASSERT_EQ(reduced.GetRows(), 2);
    ASSERT_EQ(reduced.GetCols(), 3);
    const double expected[2][3] = { { 9, 5, 8 }, { 0, 0, 0.5 } };
    for (int r = 0; r < 2; ++r)
        for (int k = 0; k < 3; ++k)
            EXPECT_DOUBLE_EQ(reduced(r, k), expected[r][k]) << r << "," << k;
    // More output than input columns repeats each input column.
    const CMatrix widened = PassiveReduceColumns(image, 20);
    for (int k = 0; k < 20; ++k)
        EXPECT_DOUBLE_EQ(widened(0, k), std::fabs(image(0, k / 2))) << k;
}
