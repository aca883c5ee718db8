// vela-cli spectrum --method phase-shift run as a real process on the five real WGHS blows:
// the stacked record's guided pick equals the library's and follows the published picks, its
// points carry the peak widths, and stacking or the new options refuse bad input.
#include "CliTestSupport.h"

#include "app/data/TraceReaders.h"
#include "app/data/TraceSet.h"
#include "app/data/TraceStack.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/GuidedPick.h"
#include "app/spectrum/PhaseShiftTransform.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::string RealWorld(const std::string &relative)
{
    return std::string(VELA_REALWORLD_DIR "/") + relative;
}

std::string Blows()
{
    std::string files;
    for (int blow = 11; blow <= 15; ++blow)
        files += " '" + RealWorld("seg2/wghs_" + std::to_string(blow) + ".dat") + "'";
    return files;
}

} // namespace

TEST(CliPhaseShift, StackedBlowsGiveTheLibrarysGuidedPickWithItsBounds)
{
    if (!QFileInfo::exists(QString::fromStdString(RealWorld("seg2/wghs_11.dat"))))
        GTEST_SKIP() << "real field records not present";
    clitest::TempDir dir;
    const std::string points = dir.Path("points.txt");
    const clitest::CliResult run = clitest::RunCli(dir,
        "spectrum" + Blows()
            + " --dx 2 --window 500 1499 --band 10 60 --method phase-shift --source-offset 10"
              " --points '"
            + points + "' --image '" + dir.Path("ps.png") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string header;
    const auto rows = clitest::ParseCsv(run.out, header);
    EXPECT_EQ(header, "freq_hz,velocity_ms");

    // The same through the libraries: stack, hand-over (samples 500 .. 1523), true offsets
    // 10 + 2 j, 50 .. 1000 m/s by 1 m/s, guided pick in the band.
    TraceReadResult stack;
    for (int blow = 11; blow <= 15; ++blow) {
        const TraceReadResult read = ReadTraceFile(
            QString::fromStdString(RealWorld("seg2/wghs_" + std::to_string(blow) + ".dat")));
        ASSERT_TRUE(StackTraceRead(stack, read));
    }
    TraceSet set;
    set.Replace(stack, QStringLiteral("wghs_11.dat"));
    set.receiverSpacing = 2.0;
    set.lastReceiver = set.traceCount - 1;
    set.windowStart = 500.0;
    set.windowEnd = 1499.0;
    set.windowSampleCount = static_cast<int>(set.windowEnd / set.timeStep) + 1;
    DispersionAnalysis analysis;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    const ShotRecord &rec = analysis.m_active;
    CMatrix traces(rec.windowedTraces.GetRows(), 24);
    for (int r = 0; r < traces.GetRows(); ++r)
        for (int j = 0; j < 24; ++j)
            traces.SetRaw(r, j, rec.windowedTraces(r, j));
    PhaseShiftParams params;
    params.timeStepMs = 1.0;
    params.offsets = PhaseShiftOffsets(10.0, 2.0, 0, 24);
    params.minFrequency = 10.0;
    params.maxFrequency = 60.0;
    const PhaseShiftImage image = ComputePhaseShiftImage(traces, params);
    ASSERT_TRUE(image.ok);
    GuidedPickOptions options;
    options.minFrequency = 10.0;
    options.maxFrequency = 60.0;
    const std::vector<GuidedPickPoint> expected =
        GuidedPick(image.image, image.frequencies, image.velocities, options);
    ASSERT_EQ(rows.size(), expected.size());
    ASSERT_GT(rows.size(), 40u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_NEAR(rows[i][0], expected[i].frequency, 1e-8 * expected[i].frequency);
        EXPECT_NEAR(rows[i][1], expected[i].velocity, 1e-8 * expected[i].velocity);
    }
    // Published MASW picks of this shot: 213 m/s at 10 Hz, 202 m/s at 20 Hz, 182 m/s at 40 Hz.
    for (const auto &[f, v] : { std::pair { 20.0, 202.3 }, std::pair { 40.0, 182.2 } }) {
        for (const auto &row : rows) {
            if (std::fabs(row[0] - f) < 0.5) {
                EXPECT_NEAR(row[1], v, 0.03 * v) << f;
            }
        }
    }

    // Twenty points, each with the bounds of its own peak (not a fixed +-10 %).
    const std::string text = clitest::ReadAll(points);
    std::istringstream in(text);
    double f = 0.0, v = 0.0, low = 0.0, high = 0.0;
    int count = 0;
    bool varied = false;
    double firstRatio = 0.0;
    while (in >> f >> v >> low >> high) {
        EXPECT_LE(low, v);
        EXPECT_GE(high, v);
        const double ratio = (high - low) / v;
        if (count == 0)
            firstRatio = ratio;
        varied = varied || std::fabs(ratio - firstRatio) > 0.01;
        ++count;
    }
    EXPECT_EQ(count, 20);
    EXPECT_TRUE(varied);
    EXPECT_EQ(clitest::ReadAll(dir.Path("ps.png")).compare(1, 3, "PNG"), 0);
}

TEST(CliPhaseShift, OtherGeometryAndBadOptionsAreOneLineWithExitCode2)
{
    if (!QFileInfo::exists(QString::fromStdString(RealWorld("seg2/albca_Shot1.dat"))))
        GTEST_SKIP() << "real field records not present";
    clitest::TempDir dir;
    const std::string wghs = " '" + RealWorld("seg2/wghs_11.dat") + "'";
    const std::string cases[] = {
        // 24 x 1500 at 1 ms stacked with 24 x 4000 at 0.25 ms.
        wghs + " '" + RealWorld("seg2/albca_Shot1.dat") + "' --dx 2 --band 10 40",
        wghs + " --dx 2 --band 10 40 --method slant",
        wghs + " --dx 2 --band 10 40 --method phase-shift --vrange 500 100",
        wghs + " --dx 2 --band 10 40 --method phase-shift --vrange 0 100",
        wghs + " --dx 2 --band 10 40 --method phase-shift --source-offset -3",
        wghs + " --dx 2 --band 10 40 --vrange 50 800",
        wghs + " --dx 2 --band 10 40 --source-offset 10",
    };
    for (const std::string &arguments : cases) {
        SCOPED_TRACE(arguments);
        const clitest::CliResult run = clitest::RunCli(dir, "spectrum" + arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.empty());
        ASSERT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
    }
}
