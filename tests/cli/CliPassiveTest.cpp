// vela-cli passive run as a real process on text records written here: the picked velocities
// follow the dispersion law of a synthetic noise record, the options select the same traces
// and samples as a direct transform of them, a silent record gives no peak, and bad input
// gives one line on standard error and exit code 2.

#include "tests/cli/CliTestSupport.h"

#include "app/data/TraceReaders.h"
#include "app/spectrum/PassiveTransform.h"
#include "matrix/CComplexMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int Traces = 24;
constexpr int Samples = 8192; // 16.4 s at 2 ms

double Dispersion(double f) { return 140.0 + 260.0 / (1.0 + (f / 12.0) * (f / 12.0)); }

// Noise from both ends of a line of receivers 1 m apart: plane waves of random phase at every
// frequency from 4 to 45 Hz, each at Dispersion(f), summed by an inverse Fourier transform.
std::vector<double> NoiseValues()
{
    std::mt19937 random(21);
    std::uniform_real_distribution<double> phase(0.0, 2.0 * Pi);
    CComplexMatrix spectrum(Samples, Traces);
    const double df = 1.0 / (Samples * 0.002);
    for (int k = static_cast<int>(4.0 / df); k * df <= 45.0; ++k) {
        const double f = k * df;
        const double near = phase(random);
        const double far = phase(random);
        for (int j = 0; j < Traces; ++j) {
            const double shift = 2.0 * Pi * f * j / Dispersion(f);
            const double re = std::cos(near - shift) + std::cos(far + shift);
            const double im = std::sin(near - shift) + std::sin(far + shift);
            spectrum.SetRaw(k, j, Complex(re, -im));
        }
    }
    spectrum.FFT();
    std::vector<double> values;
    for (int s = 0; s < Samples; ++s)
        for (int j = 0; j < Traces; ++j)
            values.push_back(spectrum(s, j).re / 100.0);
    return values;
}

// The text layout the trace reader takes: time in seconds, then one column per trace.
std::string TextRecord(const std::vector<double> &values)
{
    std::string text;
    char number[32];
    for (int s = 0; s < Samples; ++s) {
        std::snprintf(number, sizeof number, "%.3f", s * 0.002);
        text += number;
        for (int j = 0; j < Traces; ++j) {
            std::snprintf(
                number, sizeof number, "\t%.9g", values[static_cast<size_t>(s) * Traces + j]);
            text += number;
        }
        text += '\n';
    }
    return text;
}

int PngSize(const std::string &bytes, int &width, int &height)
{
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return -1;
    auto word = [&](size_t at) {
        return (static_cast<unsigned char>(bytes[at]) << 24)
            | (static_cast<unsigned char>(bytes[at + 1]) << 16)
            | (static_cast<unsigned char>(bytes[at + 2]) << 8)
            | static_cast<unsigned char>(bytes[at + 3]);
    };
    width = word(16);
    height = word(20);
    return 0;
}

} // namespace

TEST(CliPassive, PeaksFollowTheDispersionLawAndTheImageHasOnePixelPerValue)
{
    clitest::TempDir dir;
    const std::string record = dir.Write("noise.txt", TextRecord(NoiseValues()));
    const clitest::CliResult run = clitest::RunCli(
        dir, "passive '" + record + "' --dx 1 --band 20 36 --image '" + dir.Path("p.png") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty());
    std::string header;
    const auto rows = clitest::ParseCsv(run.out, header);
    EXPECT_EQ(header, "freq_hz,velocity_ms");
    // Frequency step 500 / 8192 Hz: every column from 20 to 36 Hz.
    const double df = 500.0 / 8192.0;
    ASSERT_EQ(static_cast<int>(rows.size()),
        static_cast<int>(std::floor(36.0 / df)) - static_cast<int>(std::ceil(20.0 / df)) + 1);
    double error = 0.0;
    for (const auto &row : rows) {
        ASSERT_EQ(row.size(), 2u);
        SCOPED_TRACE(row[0]);
        EXPECT_NEAR(std::fmod(row[0] / df + 0.5, 1.0), 0.5, 1e-6); // on the transform's grid
        EXPECT_NEAR(row[1], Dispersion(row[0]), 0.08 * Dispersion(row[0]));
        error += std::fabs(row[1] - Dispersion(row[0]));
    }
    EXPECT_LT(error / rows.size(), 4.0);

    int width = 0;
    int height = 0;
    ASSERT_EQ(PngSize(clitest::ReadAll(dir.Path("p.png")), width, height), 0);
    EXPECT_EQ(width, static_cast<int>(std::lround(80.0 / df)) + 1);
    EXPECT_EQ(height, PassiveVelocityCount);
}

TEST(CliPassive, ReceiversAndWindowSelectTheSameDataAsADirectTransform)
{
    clitest::TempDir dir;
    const std::vector<double> values = NoiseValues();
    const std::string record = dir.Write("noise.txt", TextRecord(values));
    const clitest::CliResult run = clitest::RunCli(dir,
        "passive '" + record + "' --dx 1.5 --dt 2 --receivers 3 14 --window 1001 9000 --band 0 80");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string header;
    const auto rows = clitest::ParseCsv(run.out, header);

    // Receivers 3..14 are columns 2..13 at 3 m .. 19.5 m; the window takes samples
    // floor(1001 / 2) = 500 to floor(9000 / 2) = 4500.
    CMatrix traces(4001, 12);
    PassiveParams params;
    params.timeStepMs = 2.0;
    for (int j = 0; j < 12; ++j) {
        params.offsets.push_back(1.5 * (2 + j));
        for (int s = 0; s < 4001; ++s) {
            // The same value as the text holds: nine significant digits.
            char text[32];
            std::snprintf(
                text, sizeof text, "%.9g", values[static_cast<size_t>(500 + s) * Traces + 2 + j]);
            traces.SetRaw(s, j, std::strtod(text, nullptr));
        }
    }
    const PassiveSpectrum direct = ComputePassiveSpectrum(traces, params);
    ASSERT_TRUE(direct.ok);
    ASSERT_EQ(static_cast<int>(rows.size()), direct.frequencies.GetCount());
    for (size_t i = 0; i < rows.size(); ++i) {
        const int c = static_cast<int>(i);
        int row = -1;
        direct.image.ColMax(c, &row);
        EXPECT_NEAR(rows[i][0], direct.frequencies(c), 1e-7 * direct.frequencies(c) + 1e-12);
        EXPECT_NEAR(rows[i][1], direct.velocities(row), 1e-7 * direct.velocities(row)) << c;
    }
}

TEST(CliPassive, SilentRecordHasNoPeakAndBadInputIsOneLineWithExitCode2)
{
    clitest::TempDir dir;
    const std::string silent =
        dir.Write("silent.txt", TextRecord(std::vector<double>(Samples * Traces, 0.0)));
    const clitest::CliResult quiet =
        clitest::RunCli(dir, "passive '" + silent + "' --dx 1 --band 5 50");
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err;
    EXPECT_EQ(quiet.out, "freq_hz,velocity_ms\n");

    const std::string options[] = {
        "--band 5 50",
        "--dx 1",
        "--dx 1 --band 50 5",
        "--dx 0 --band 5 50",
        "--dx 1 --band 5 50 --receivers 0 5",
        "--dx 1 --band 5 50 --receivers 5 25",
        "--dx 1 --band 5 50 --receivers 9 4",
        "--dx 1 --band 5 50 --window 20000 30000",
        "--dx 1 --band 5 50 --window 10 10",
        "--dx 1 --band 300 400",
        "--dx 1 --band 5 50 --dt abc",
        "--dx 1 --band 5 50 --colour red",
        "--dx 1 --band 5",
    };
    for (const std::string &o : options) {
        SCOPED_TRACE(o);
        const clitest::CliResult bad = clitest::RunCli(dir, "passive '" + silent + "' " + o);
        EXPECT_EQ(bad.exitCode, 2);
        EXPECT_TRUE(bad.out.empty());
        ASSERT_FALSE(bad.err.empty());
        EXPECT_EQ(bad.err.find('\n'), bad.err.size() - 1);
    }
    const clitest::CliResult missing =
        clitest::RunCli(dir, "passive '" + dir.Path("none.sg2") + "' --dx 1 --band 5 50");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err.find('\n'), missing.err.size() - 1);
}
