// vela-cli spectrum run as a real process: the curve equals what the pages' code picks, the
// automatic points are a curve file both the invert command and the curve page's import
// read, the image is written, and bad input ends with one line and exit code 2.
#include "CliTestSupport.h"

#include "app/curve/CurveTable.h"
#include "app/data/TraceReaders.h"
#include "app/data/TraceSet.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/FkSpectrum.h"
#include "cli/CliCurveFile.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

const std::string Sample = VELA_SAMPLES_DIR "/sample_shot.sg2";

std::string Quote(const std::string &text) { return "'" + text + "'"; }

/// The command word and the quoted file.
std::string Spectrum(const std::string &file) { return "spectrum " + Quote(file); }

int LineCount(const std::string &text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

} // namespace

TEST(CliSpectrum, PrintsTheCurveThePagesPickAndWritesPointsAndImage)
{
    clitest::TempDir dir;
    const std::string points = dir.Path("points.txt");
    const std::string image = dir.Path("spectrum.png");
    const clitest::CliResult run = clitest::RunCli(dir,
        Spectrum(Sample) + " --dx 1 --window 0 400 --band 10 80 --points " + Quote(points)
            + " --image " + Quote(image));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string header;
    const std::vector<std::vector<double>> rows = clitest::ParseCsv(run.out, header);
    EXPECT_EQ(header, "freq_hz,velocity_ms");

    // The same computation through the library the pages use.
    const QString path = QString::fromStdString(Sample);
    const TraceReadResult read = ReadTraceFile(path);
    ASSERT_TRUE(read.ok);
    TraceSet set;
    set.Replace(read, path);
    set.receiverSpacing = 1.0;
    set.lastReceiver = set.traceCount - 1;
    set.windowEnd = 400.0;
    DispersionAnalysis analysis;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    ASSERT_TRUE(ComputeFkSpectrum(analysis.m_active));
    const PickedCurve curve = PickSpectrumCurve(analysis.m_active, 10.0, 80.0);
    ASSERT_EQ(static_cast<int>(rows.size()), curve.frequencies.GetRows());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 2u);
        EXPECT_NEAR(rows[i][0], curve.frequencies(static_cast<int>(i)), 1e-6);
        EXPECT_NEAR(rows[i][1], curve.velocities(static_cast<int>(i)),
            1e-7 * std::abs(curve.velocities(static_cast<int>(i))));
        if (i > 0) {
            EXPECT_GT(rows[i][0], rows[i - 1][0]);
        }
    }

    // The points: a curve file for invert, and the curve page's import reads the same rows.
    CliCurve cliCurve;
    std::string error;
    ASSERT_TRUE(ReadCliCurveFile(points, cliCurve, error)) << error;
    const std::vector<CurveRow> expected = AutomaticCurveRows(curve.frequencies, curve.velocities);
    ASSERT_GT(cliCurve.PointCount(), 1);
    ASSERT_EQ(cliCurve.PointCount(), static_cast<int>(expected.size()));
    std::vector<CurveRow> imported;
    QString message;
    ASSERT_TRUE(ReadCurveTextFile(QString::fromStdString(points), imported, &message));
    ASSERT_EQ(imported.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(imported[i].cells, expected[i].cells);
        EXPECT_NEAR(
            cliCurve.minimum[i], 0.9 * cliCurve.velocities[i], 1e-3 * cliCurve.velocities[i]);
        EXPECT_NEAR(
            cliCurve.maximum[i], 1.1 * cliCurve.velocities[i], 1e-3 * cliCurve.velocities[i]);
    }

    const QImage picture(QString::fromStdString(image));
    ASSERT_FALSE(picture.isNull());
    const SpectrumImage made = MakeSpectrumImage(analysis.m_active);
    EXPECT_EQ(picture.width(), made.width);
    EXPECT_EQ(picture.height(), made.height);
    EXPECT_EQ(picture.pixel(3, 5), made.pixels[static_cast<std::size_t>(5 * made.width + 3)]);
}

TEST(CliSpectrum, ReceiversAreNumberedFromOneAndReverseMirrorsThem)
{
    clitest::TempDir dir;
    const std::string base = Spectrum(Sample) + " --dx 1 --band 5 60";
    const clitest::CliResult all = clitest::RunCli(dir, base);
    const clitest::CliResult explicitAll = clitest::RunCli(dir, base + " --receivers 1 24");
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, explicitAll.out);
    const clitest::CliResult part = clitest::RunCli(dir, base + " --receivers 3 20");
    ASSERT_EQ(part.exitCode, 0) << part.err;
    EXPECT_NE(part.out, all.out);
    const clitest::CliResult reversed = clitest::RunCli(dir, base + " --reverse");
    ASSERT_EQ(reversed.exitCode, 0) << reversed.err;
    EXPECT_NE(reversed.out, all.out);
    // With --dt the file's time step is replaced: twice the step halves every frequency.
    const clitest::CliResult slow = clitest::RunCli(dir, base + " --dt 1");
    ASSERT_EQ(slow.exitCode, 0) << slow.err;
    std::string header;
    const auto fast = clitest::ParseCsv(all.out, header);
    const auto halved = clitest::ParseCsv(slow.out, header);
    ASSERT_FALSE(halved.empty());
    EXPECT_NEAR(halved[1][0] - halved[0][0], 0.5 * (fast[1][0] - fast[0][0]), 1e-9);
}

TEST(CliSpectrum, BadInputEndsWithOneLineAndExitCodeTwo)
{
    clitest::TempDir dir;
    const std::string sample = Spectrum(Sample);
    const std::vector<std::pair<std::string, std::string>> cases = {
        { sample + " --band 5 60", "--dx" },
        { sample + " --dx 1", "--band" },
        { sample + " --dx 0 --band 5 60", "--dx" },
        { sample + " --dx 1 --band 5 2000", "Max bandwidth is 1000" },
        { sample + " --dx 1 --band 60 5", "greater than lower limit" },
        { sample + " --dx 1 --band x 5", "Insert the lower limit" },
        { sample + " --dx 1 --band 5 60 --receivers 0 24", "--receivers" },
        { sample + " --dx 1 --band 5 60 --receivers 1 25", "--receivers" },
        { sample + " --dx 1 --band 5 60 --window 300 200", "--window" },
        { sample + " --dx 1 --band 5 60 --window 9000 9100", "after the end" },
        { sample + " --dx 1 --band 5 60 --frobnicate", "unknown option" },
        { "spectrum /nonexistent/shot.sg2 --dx 1 --band 5 60", "" },
    };
    for (const auto &[arguments, expected] : cases) {
        const clitest::CliResult run = clitest::RunCli(dir, arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(LineCount(run.err), 1) << arguments << ": " << run.err;
        EXPECT_NE(run.err.find(expected), std::string::npos) << arguments << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << arguments;
    }
}
