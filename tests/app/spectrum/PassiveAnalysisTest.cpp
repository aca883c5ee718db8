// The passive page's computation without a window: the receivers and window of the trace set
// reach the transform (checked against the transform of the same samples cut out here), and
// an earlier active analysis bounds the image's frequencies and velocities.
#include "app/spectrum/PassiveAnalysis.h"
#include "app/data/TraceSet.h"
#include "app/spectrum/DispersionAnalysis.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TraceSet NoiseSet()
{
    TraceSet set;
    set.loaded = true;
    set.fileName = QStringLiteral("noise.txt");
    set.timeStep = 2.0;
    set.receiverSpacing = 1.5;
    set.traceCount = 16;
    set.sampleCount = 2048;
    set.firstReceiver = 0;
    set.lastReceiver = 11;
    set.windowStart = 100.0;
    set.windowEnd = 2000.0;
    set.traces = CMatrix(set.sampleCount, set.traceCount);
    std::mt19937 random(5);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (int s = 0; s < set.sampleCount; ++s)
        for (int j = 0; j < set.traceCount; ++j)
            set.traces.SetRaw(s, j, noise(random));
    return set;
}

} // namespace

TEST(PassiveAnalysis, TransformsTheWindowedReceiversAndHandsTheImageOver)
{
    const TraceSet set = NoiseSet();
    DispersionAnalysis analysis;
    const PassiveSpectrum spectrum = AnalysePassiveRecord(analysis, set);
    ASSERT_TRUE(spectrum.ok) << spectrum.message.toStdString();
    EXPECT_TRUE(analysis.m_bPassivePrepared);
    EXPECT_FALSE(analysis.m_bPrepared);

    // Window 100 .. 2000 ms at 2 ms: from sample 50, 951 samples padded to 1024; receivers 1
    // to 12, 1.5 m apart.
    CMatrix cut(1024, 12);
    for (int s = 0; s < 1024; ++s)
        for (int j = 0; j < 12; ++j)
            cut.SetRaw(s, j, set.traces(50 + s, j));
    PassiveParams params;
    params.timeStepMs = 2.0;
    for (int j = 0; j < 12; ++j)
        params.offsets.push_back(1.5 * j);
    const PassiveSpectrum direct = ComputePassiveSpectrum(cut, params);
    ASSERT_TRUE(direct.ok);
    EXPECT_EQ(analysis.m_passiveImage.ToVector(), direct.image.ToVector());
    EXPECT_EQ(analysis.m_passiveFrequencyAxis.ToVector(), direct.frequencies.ToVector());
    EXPECT_EQ(analysis.m_passiveVelocityAxis.ToVector(), direct.velocities.ToVector());
}

TEST(PassiveAnalysis, AnActiveAnalysisBoundsTheImage)
{
    DispersionAnalysis analysis;
    analysis.m_bAnalysed = true;
    analysis.m_active.frequencyAxis = CMatrix(41, 1);
    for (int i = 0; i < 41; ++i)
        analysis.m_active.frequencyAxis.SetRaw(i, 0, 10.0 + 0.5 * i); // 10 .. 30 Hz
    analysis.m_pickedVelocities = CMatrix(3, 1);
    analysis.m_pickedVelocities.SetRaw(0, 0, 420.0);
    analysis.m_pickedVelocities.SetRaw(1, 0, 610.0);
    analysis.m_pickedVelocities.SetRaw(2, 0, 300.0);
    const PassiveSpectrum spectrum = AnalysePassiveRecord(analysis, NoiseSet());
    ASSERT_TRUE(spectrum.ok);
    const CMatrix &f = analysis.m_passiveFrequencyAxis;
    const CMatrix &v = analysis.m_passiveVelocityAxis;
    const double df = 1000.0 / (2.0 * 1024);
    EXPECT_NEAR(f(0), 10.0, df / 2);
    EXPECT_NEAR(f(f.GetCount() - 1), 30.0, df);
    EXPECT_DOUBLE_EQ(v(v.GetCount() - 1), 610.0);

    // A set that cannot be windowed hands nothing over but says why.
    TraceSet bad = NoiseSet();
    bad.timeStep = 0.0;
    DispersionAnalysis untouched;
    const PassiveSpectrum refused = AnalysePassiveRecord(untouched, bad);
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(refused.message.isEmpty());
    EXPECT_FALSE(untouched.m_bPassivePrepared);
}
