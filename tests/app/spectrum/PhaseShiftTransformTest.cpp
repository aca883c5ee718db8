// Phase-shift image: exact peak of a plane wave, agreement with a direct Fourier sum, and the
// refusals of inputs that do not fit.

#include "app/spectrum/PhaseShiftTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>

namespace {

constexpr double Pi = 3.14159265358979323846;

double Ricker(double t, double peakHz)
{
    const double a = Pi * peakHz * t;
    return (1.0 - 2.0 * a * a) * std::exp(-a * a);
}

} // namespace

TEST(PhaseShiftTransform, PlaneWavePeaksAtItsVelocityInEveryColumn)
{
    // A non-dispersive wavelet crossing 24 receivers at 237 m/s, evaluated in closed form at
    // each receiver's travel time, well inside the record so nothing wraps around.
    const double velocity = 237.0;
    const double dt = 0.5; // ms
    const int samples = 1024;
    const std::vector<double> offsets = PhaseShiftOffsets(5.0, 1.5, 0, 24);
    CMatrix traces(samples, 24);
    for (int j = 0; j < 24; ++j)
        for (int s = 0; s < samples; ++s)
            traces.Set(s, j, Ricker(s * dt * 0.001 - 0.05 - offsets[j] / velocity, 35.0));

    PhaseShiftParams params;
    params.timeStepMs = dt;
    params.offsets = offsets;
    params.minFrequency = 8.0;
    params.maxFrequency = 90.0;
    const PhaseShiftImage result = ComputePhaseShiftImage(traces, params);
    ASSERT_TRUE(result.ok) << qPrintable(result.message);
    ASSERT_EQ(result.velocities.GetCount(), 951);
    EXPECT_DOUBLE_EQ(result.velocities(0), 50.0);
    EXPECT_DOUBLE_EQ(result.velocities(950), 1000.0);
    ASSERT_EQ(result.frequencies.GetCount(), result.image.GetCols());
    EXPECT_GE(result.frequencies(0), 8.0);
    EXPECT_LE(result.frequencies(result.frequencies.GetCount() - 1), 90.0);

    for (int c = 0; c < result.image.GetCols(); ++c) {
        SCOPED_TRACE(result.frequencies(c));
        int row = -1;
        const double peak = result.image.ColMax(c, &row);
        EXPECT_DOUBLE_EQ(result.velocities(row), velocity);
        // Every trace is in phase at the true velocity: the normalised sum is (almost) 1.
        EXPECT_GT(peak, 0.999);
        EXPECT_LE(peak, 1.0 + 1e-9);
    }
}

TEST(PhaseShiftTransform, AgreesWithADirectFourierSumOnNoise)
{
    // Random traces, uneven offsets and a record length that is not a power of two: each image
    // value is recomputed from a plain discrete Fourier sum of the zero-padded traces.
    std::mt19937 random(7);
    std::normal_distribution<double> noise;
    const int samples = 300; // padded to 512
    const int count = 5;
    const std::vector<double> offsets { 3.0, 4.2, 7.9, 11.0, 15.5 };
    CMatrix traces(samples, count);
    for (int i = 0; i < samples * count; ++i)
        traces.Set(i, noise(random));

    PhaseShiftParams params;
    params.timeStepMs = 2.0;
    params.offsets = offsets;
    params.minVelocity = 100.0;
    params.maxVelocity = 400.0;
    params.velocityStep = 7.5;
    params.minFrequency = 3.0;
    params.maxFrequency = 300.0; // above Nyquist: the image stops at 250 Hz
    const PhaseShiftImage result = ComputePhaseShiftImage(traces, params);
    ASSERT_TRUE(result.ok);
    const double df = 1.0 / (512 * 0.002);
    EXPECT_NEAR(result.frequencies(0), 4 * df, 1e-9); // first bin at or above 3 Hz
    ASSERT_EQ(result.image.GetCols(), 256 - 4 + 1); // up to the Nyquist bin 256
    ASSERT_EQ(result.image.GetRows(), 41);

    for (int c : { 0, 1, 2, 3, 5, 67, 130, 252 }) {
        const int bin = 4 + c;
        std::vector<std::complex<double>> unit;
        for (int j = 0; j < count; ++j) {
            std::complex<double> sum;
            for (int s = 0; s < samples; ++s)
                sum += traces(s, j) * std::polar(1.0, -2.0 * Pi * bin * s / 512.0);
            unit.push_back(sum / std::abs(sum));
        }
        for (int r : { 0, 13, 40 }) {
            const double v = 100.0 + 7.5 * r;
            std::complex<double> total;
            for (int j = 0; j < count; ++j)
                total += unit[j] * std::polar(1.0, 2.0 * Pi * bin * df * offsets[j] / v);
            EXPECT_NEAR(result.image(r, c), std::abs(total) / count, 1e-8)
                << "row " << r << " column " << c;
        }
    }
}

TEST(PhaseShiftTransform, SilentRecordGivesZeroImageAndBadInputIsRefused)
{
    PhaseShiftParams params;
    params.timeStepMs = 1.0;
    params.offsets = PhaseShiftOffsets(2.0, 2.0, 0, 4);
    const PhaseShiftImage silent = ComputePhaseShiftImage(CMatrix(256, 4), params);
    ASSERT_TRUE(silent.ok);
    EXPECT_GT(silent.image.GetCount(), 0);
    EXPECT_FALSE(silent.image.AnyBelow(0.0));
    for (int i = 0; i < silent.image.GetCount(); ++i)
        ASSERT_EQ(silent.image(i), 0.0);

    struct Case
    {
        const char *what;
        PhaseShiftParams params;
    };
    std::vector<Case> cases;
    auto add = [&](const char *what, auto change) {
        Case c { what, params };
        change(c.params);
        cases.push_back(c);
    };
    add("offsets do not match the traces", [](PhaseShiftParams &p) { p.offsets.pop_back(); });
    add("zero time step", [](PhaseShiftParams &p) { p.timeStepMs = 0.0; });
    add("inverted velocities", [](PhaseShiftParams &p) { p.maxVelocity = 40.0; });
    add("zero velocity step", [](PhaseShiftParams &p) { p.velocityStep = 0.0; });
    add("band above Nyquist", [](PhaseShiftParams &p) {
        p.minFrequency = 600.0;
        p.maxFrequency = 700.0;
    });
    add("NaN offset", [](PhaseShiftParams &p) { p.offsets[1] = std::nan(""); });
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const PhaseShiftImage refused = ComputePhaseShiftImage(CMatrix(256, 4), c.params);
        EXPECT_FALSE(refused.ok);
        EXPECT_FALSE(refused.message.isEmpty());
    }
}
