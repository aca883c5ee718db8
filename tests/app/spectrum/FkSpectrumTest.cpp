// The f-k spectrum: preparation of the windowed traces, the transform against a plain 2-D DFT,
// the band rules, picking on a synthetic dispersive record and on the real WGHS shot, the
// image, the text exports and the record's stored form.
#include "app/spectrum/FkSpectrum.h"
#include "app/data/TraceReaders.h"
#include "app/data/TraceSet.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/SpectrumCharts.h"
#include "app/spectrum/SpectrumPageState.h"
#include "matrix/CMatrixArchive.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <vector>

namespace {

const double Pi = std::acos(-1.0);

/// A trace set as the active page leaves it after a successful check.
TraceSet MakeSet(int samples, int traces, double dt, double dx,
    const std::function<double(int sample, int trace)> &value)
{
    TraceSet set;
    set.loaded = true;
    set.fileName = QStringLiteral("/data/shot.sg2");
    set.timeStep = dt;
    set.receiverSpacing = dx;
    set.traceCount = traces;
    set.firstReceiver = 0;
    set.lastReceiver = traces - 1;
    set.sampleCount = samples;
    set.windowStart = 0.0;
    set.windowEnd = samples * dt;
    set.windowSampleCount = samples + 1;
    set.traces = CMatrix(samples, traces);
    for (int s = 0; s < samples; ++s)
        for (int t = 0; t < traces; ++t)
            set.traces.Set(s, t, value(s, t));
    set.sampleAxis = CMatrix(samples, 1);
    return set;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(SpectrumPreparation, TimeSizeIsTheNextPowerOfTwoOfTheWindow)
{
    EXPECT_EQ(SpectrumTimeSize(1000), 1024);
    EXPECT_EQ(SpectrumTimeSize(1024), 1024);
    EXPECT_EQ(SpectrumTimeSize(1025), 2048);
    EXPECT_EQ(SpectrumTimeSize(1), 1);
    EXPECT_EQ(SpectrumTimeSize(0), 0);

    // Through the hand-over: windows of 1000, 1024 and 1025 samples at 0.5 ms.
    const TraceSet base = MakeSet(1500, 3, 0.5, 1.0, [](int s, int t) { return s + 0.25 * t; });
    for (const auto &[samples, expected] :
        std::vector<std::pair<int, int>> { { 1000, 1024 }, { 1024, 1024 }, { 1025, 2048 } }) {
        TraceSet set = base;
        set.windowStart = 10.0; // sample 20
        set.windowEnd = set.windowStart + (samples - 1) * 0.5;
        DispersionAnalysis analysis;
        ASSERT_TRUE(analysis.HandOverActiveTraces(set));
        EXPECT_EQ(analysis.m_active.timeSize, expected) << samples;
        EXPECT_EQ(analysis.m_active.firstWindowSample, 20);
        EXPECT_EQ(analysis.m_active.windowEndCount, expected - 20 + 1);
    }
}

TEST(SpectrumPreparation, WindowedTracesRunFromTheFirstWindowSampleAndStopAtTheRecordEnd)
{
    TraceSet set = MakeSet(40, 5, 2.0, 3.0, [](int s, int t) { return 100.0 * t + s; });
    set.firstReceiver = 1;
    set.lastReceiver = 3;
    set.windowStart = 61.0; // sample 30
    set.windowEnd = 71.0; // sample 35: six samples, time size 8
    set.reversed = true;
    DispersionAnalysis analysis;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    const ShotRecord &r = analysis.m_active;
    EXPECT_TRUE(analysis.m_bPrepared);
    EXPECT_EQ(r.receiversUsed, 3);
    EXPECT_EQ(r.spatialSize, 256);
    EXPECT_EQ(r.timeSize, 8);
    EXPECT_DOUBLE_EQ(r.recordLength, 78.0);
    EXPECT_TRUE(r.reversed);
    ASSERT_EQ(r.windowedTraces.GetRows(), 8);
    ASSERT_EQ(r.windowedTraces.GetCols(), 256);
    // Rows 0..7 hold samples 30..37 of receivers 1..3; the rest of the matrix is zero.
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(r.windowedTraces(i, j), 100.0 * (j + 1) + 30 + i);
        EXPECT_EQ(r.windowedTraces(i, 3), 0.0);
        EXPECT_DOUBLE_EQ(r.timeAxis(i), 61.0 + 2.0 * i);
    }
    // A window reaching past the record's end: the rows after the last sample stay zero.
    set.windowStart = 70.0; // sample 35, window of 5 .. 8 samples -> 8 rows, 5 of data
    set.windowEnd = 78.0;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    EXPECT_EQ(analysis.m_active.windowedTraces(4, 0), 139.0);
    EXPECT_EQ(analysis.m_active.windowedTraces(5, 0), 0.0);
    EXPECT_EQ(analysis.m_active.timeAxis(5), 0.0);
    ASSERT_EQ(analysis.m_active.receiverOffsets.GetRows(), 3);
    EXPECT_DOUBLE_EQ(analysis.m_active.receiverOffsets(0), 3.0);
    EXPECT_DOUBLE_EQ(analysis.m_active.receiverOffsets(2), 9.0);

    // A window end far past the record (a slip of the keyboard) does not inflate the
    // transform beyond the record's own size.
    set.windowStart = 0.0;
    set.windowEnd = 1e7;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    EXPECT_EQ(analysis.m_active.timeSize, 64); // 40 samples + 1
    EXPECT_EQ(analysis.m_active.windowedTraces(39, 0), 139.0);

    // The passive record keeps one column per trace and leaves the active one alone.
    ASSERT_TRUE(analysis.HandOverPassiveTraces(set));
    EXPECT_EQ(analysis.m_passive.windowedTraces.GetCols(), 5);
    EXPECT_EQ(analysis.m_passive.windowedTraces(0, 2), 100.0 * 3);
    EXPECT_EQ(analysis.m_passive.windowedTraces(0, 3), 0.0);
    EXPECT_EQ(analysis.m_active.windowedTraces.GetCols(), 256);
    EXPECT_FALSE(analysis.m_bPassivePrepared);

    // A set that cannot be windowed is refused and clears the prepared flag.
    set.timeStep = 0.0;
    EXPECT_FALSE(analysis.HandOverActiveTraces(set));
    EXPECT_FALSE(analysis.m_bPrepared);
}

TEST(SpectrumTransform, MatchesAStraightforwardTwoDimensionalDft)
{
    // 100 samples (time size 128) of 5 receivers with an arbitrary, non-symmetric content.
    const int samples = 100;
    const int traces = 5;
    const double dt = 0.5;
    const double dx = 2.0;
    TraceSet set = MakeSet(samples, traces, dt, dx, [](int s, int t) {
        return std::sin(0.37 * s + 1.1 * t) + 0.3 * std::cos(0.05 * s * t) + 0.01 * t;
    });
    DispersionAnalysis analysis;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    ShotRecord &rec = analysis.m_active;
    ASSERT_TRUE(ComputeFkSpectrum(rec));
    const int n = 128;
    ASSERT_EQ(rec.spectrum.GetRows(), n / 2);
    ASSERT_EQ(rec.spectrum.GetCols(), 256);

    // The tapered, offset-corrected input, written from the definitions.
    std::vector<std::vector<double>> x(n, std::vector<double>(256, 0.0));
    for (int i = 0; i < samples; ++i) {
        double wt = 1.0;
        if (i < 51)
            wt = 0.5 * (1.0 - std::cos(i * Pi / 51.0));
        else if (i > n - 51)
            wt = 0.5 * (1.0 - std::cos((n - i + 1) * Pi / 51.0));
        for (int j = 0; j < traces; ++j) {
            const double hann = j + 1 >= 128 ? 0.5 * (1.0 - std::cos(2.0 * Pi * (256 - j) / 257.0))
                                             : 0.5 * (1.0 - std::cos(2.0 * Pi * (j + 1) / 257.0));
            x[i][j] = set.traces(i, j) * wt * hann * std::sqrt(j * dx);
        }
    }
    double largest = 0.0;
    for (int f = 0; f < n / 2; ++f)
        for (int k = 0; k < 256; ++k) {
            std::complex<double> sum = 0.0;
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < traces; ++j)
                    sum += x[i][j]
                        * std::polar(1.0, -2.0 * Pi * (double(f) * i / n + double(k) * j / 256));
            largest = std::max(largest, std::abs(sum));
            EXPECT_NEAR(rec.spectrum(f, k), std::abs(sum), 1e-8 * (1.0 + std::abs(sum)))
                << f << "," << k;
        }
    EXPECT_GT(largest, 0.1); // the comparison is not one of zeros

    // Axes: row i at i / (N dt), column j at k_N - j 2 k_N / 256.
    EXPECT_NEAR(rec.frequencyAxis(1), 1000.0 / (n * dt), 1e-12);
    EXPECT_NEAR(rec.frequencyAxis(63), 63 * 1000.0 / (n * dt), 1e-9);
    const double kn = 6.283192 / (2 * dx);
    EXPECT_DOUBLE_EQ(rec.wavenumberAxis(0), kn);
    EXPECT_DOUBLE_EQ(rec.wavenumberAxis(128), 0.0);
    EXPECT_DOUBLE_EQ(rec.wavenumberAxis(255), kn - 255 * 2 * kn / 256);
}

TEST(SpectrumBandCheck, CollectsEveryFailingRuleInOrder)
{
    ShotRecord rec;
    rec.timeStep = 1.0;
    rec.timeSize = 1024;
    rec.spectrum = CMatrix(512, 256);
    EXPECT_DOUBLE_EQ(SpectrumMaxFrequency(rec), 500.0);

    SpectrumBand band = CheckSpectrumBand(QStringLiteral("0"), QStringLiteral("80"), rec);
    EXPECT_TRUE(band.errors.isEmpty());
    EXPECT_EQ(band.low, 0.0);
    EXPECT_EQ(band.high, 80.0);
    EXPECT_EQ(CheckSpectrumBand(QStringLiteral("5,5"), QStringLiteral("500"), rec).errors, "");

    EXPECT_EQ(CheckSpectrumBand(QStringLiteral("10"), QStringLiteral("600"), rec).errors,
        QStringLiteral("Max bandwidth is 500\r\n"));
    EXPECT_EQ(CheckSpectrumBand(QStringLiteral("20"), QStringLiteral("20"), rec).errors,
        QStringLiteral("Upper bandwidth limit must be greater than lower limit\r\n"));
    EXPECT_EQ(CheckSpectrumBand(QString(), QString(), rec).errors,
        QStringLiteral("Insert the lower limit of the bandwidth\r\n"
                       "Insert upper limit of the bandwidth\r\n\""));
    EXPECT_EQ(CheckSpectrumBand(QStringLiteral("-1"), QStringLiteral("-2"), rec).errors,
        QStringLiteral("Bandwidth lower limit must be positive or zero\r\n"
                       "Upper bandwidth limit must be positive\r\n"
                       "Upper bandwidth limit must be greater than lower limit\r\n"));
    EXPECT_EQ(CheckSpectrumBand(QStringLiteral("700"), QStringLiteral("650"), rec).errors,
        QStringLiteral("Upper bandwidth limit must be greater than lower limit\r\n"
                       "Max bandwidth is 500\r\n"));
}

TEST(SpectrumPicking, RecoversAKnownDispersionCurveWithinOneWavenumberBin)
{
    // A normally dispersive wave travelling away from the source: phase velocity
    // c(f) = 140 + 260 exp(-f / 12) m/s, built as a sum of plane waves, one per 0.125 Hz.
    const auto velocity = [](double f) { return 140.0 + 260.0 * std::exp(-f / 12.0); };
    const int samples = 1024;
    const int traces = 48;
    const double dt = 1.0; // ms
    const double dx = 1.0; // m
    std::vector<double> freqs;
    for (double f = 4.0; f <= 70.0; f += 0.125)
        freqs.push_back(f);
    TraceSet set = MakeSet(samples, traces, dt, dx, [&](int s, int t) {
        const double time = s * dt * 0.001 - 0.15;
        const double x = t * dx;
        double sum = 0.0;
        for (double f : freqs)
            sum += std::cos(2.0 * Pi * f * (time - x / velocity(f)));
        return sum;
    });
    set.windowEnd = (samples - 1) * dt;
    DispersionAnalysis analysis;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    ASSERT_TRUE(ComputeFkSpectrum(analysis.m_active));
    const PickedCurve curve = PickSpectrumCurve(analysis.m_active, 8.0, 60.0);
    ASSERT_GT(curve.frequencies.GetRows(), 40);
    const double binWidth = 2.0 * Pi / (256 * dx);
    for (int p = 0; p < curve.frequencies.GetRows(); ++p) {
        const double f = curve.frequencies(p);
        ASSERT_GE(f, 7.0);
        ASSERT_LE(f, 61.0);
        const double kTrue = 2.0 * Pi * f / velocity(f);
        const double kPicked = 2.0 * Pi * f / curve.velocities(p);
        EXPECT_LE(std::abs(kPicked - kTrue), binWidth) << "at " << f << " Hz";
    }
    // Increasing frequency, one row per frequency step.
    for (int p = 1; p < curve.frequencies.GetRows(); ++p)
        EXPECT_GT(curve.frequencies(p), curve.frequencies(p - 1));
}

TEST(SpectrumPicking, ARowPeakingAtZeroWavenumberGivesNoPoint)
{
    ShotRecord rec;
    rec.timeStep = 1.0;
    rec.timeSize = 8;
    rec.receiverSpacing = 1.0;
    rec.spectrum = CMatrix(4, 256);
    rec.frequencyAxis = CMatrix(4, 1);
    rec.wavenumberAxis = CMatrix(256, 1);
    const double kn = 6.283192 / 2.0;
    for (int j = 0; j < 256; ++j)
        rec.wavenumberAxis.Set(j, 0, kn - j * 2.0 * kn / 256);
    for (int i = 0; i < 4; ++i)
        rec.frequencyAxis.Set(i, 0, i * 125.0);
    rec.spectrum.Set(1, 0, 5.0); // FFT column 0: zero wavenumber
    rec.spectrum.Set(2, 200, 5.0); // shifted to 72
    rec.spectrum.Set(3, 100, 5.0); // shifted to 228: energy travelling the other way
    const PickedCurve curve = PickSpectrumCurve(rec, 100.0, 400.0);
    ASSERT_EQ(curve.frequencies.GetRows(), 2);
    EXPECT_EQ(curve.frequencies(0), 250.0);
    const double k72 = kn - 72 * 2.0 * kn / 256;
    EXPECT_NEAR(curve.velocities(0), 6.283192 * 2 / 8 / k72 * 1000.0, 1e-9);
    EXPECT_LT(curve.velocities(1), 0.0);
}

TEST(SpectrumPicking, RealWghsShotFollowsThePublishedPicks)
{
    const QString dir = QStringLiteral(VELA_REALWORLD_DIR);
    const QString path = dir + QStringLiteral("/seg2/wghs_11.dat");
    const QByteArray json =
        ReadAll(dir + QStringLiteral("/reference/wghs/nz_wghs_trimmed_rayleigh_masw.json"));
    if (!QFile::exists(path) || json.isEmpty())
        GTEST_SKIP() << "real records not present";
    const TraceReadResult read = ReadTraceFile(path);
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    TraceSet set;
    set.Replace(read, path);
    set.receiverSpacing = 2.0;
    set.lastReceiver = set.traceCount - 1;
    set.windowStart = 500.0; // the trigger: the first 500 ms come before it
    set.windowSampleCount = static_cast<int>(set.windowEnd / set.timeStep) + 1;
    DispersionAnalysis analysis;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    ASSERT_TRUE(ComputeFkSpectrum(analysis.m_active));
    EXPECT_EQ(analysis.m_active.timeSize, 1024);
    const PickedCurve curve = PickSpectrumCurve(analysis.m_active, 15.0, 40.0);
    ASSERT_GT(curve.frequencies.GetRows(), 20);

    // Published picks for the source 10 m before receiver 1.
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    ASSERT_TRUE(root.contains(QStringLiteral("-10.0")));
    const QJsonObject shot = root.value(QStringLiteral("-10.0")).toObject();
    const QJsonArray freq = shot.value(QStringLiteral("frequency")).toArray();
    const QJsonArray vel = shot.value(QStringLiteral("velocity")).toArray();
    const QJsonArray valid = shot.value(QStringLiteral("valid")).toArray();
    ASSERT_EQ(freq.size(), vel.size());
    const auto published = [&](double f) {
        // Linear interpolation between the valid picks around f.
        double f0 = -1, v0 = 0, f1 = 1e9, v1 = 0;
        for (qsizetype i = 0; i < freq.size(); ++i) {
            if (!valid.isEmpty() && !valid.at(i).toBool())
                continue;
            const double fi = freq.at(i).toDouble();
            if (fi <= f && fi > f0) {
                f0 = fi;
                v0 = vel.at(i).toDouble();
            }
            if (fi >= f && fi < f1) {
                f1 = fi;
                v1 = vel.at(i).toDouble();
            }
        }
        return f1 == f0 ? v0 : v0 + (v1 - v0) * (f - f0) / (f1 - f0);
    };
    int compared = 0;
    double worst = 0.0;
    for (int p = 0; p < curve.frequencies.GetRows(); ++p) {
        const double f = curve.frequencies(p);
        if (f < 15.0 || f > 40.0)
            continue;
        const double reference = published(f);
        const double relative = std::abs(curve.velocities(p) - reference) / reference;
        worst = std::max(worst, relative);
        EXPECT_LT(relative, 0.10) << f << " Hz: " << curve.velocities(p) << " vs " << reference;
        ++compared;
    }
    EXPECT_GT(compared, 20);
    RecordProperty("worst_relative_difference", std::to_string(worst));
}

TEST(SpectrumImage, ShowsPositiveWavenumbersUpTo90HzThroughTheColourMap)
{
    // Colour map corners.
    EXPECT_EQ(SpectrumColour(0), 0xFF000090u);
    EXPECT_EQ(SpectrumColour(5), 0xFF0000F0u);
    EXPECT_EQ(SpectrumColour(8), 0xFF0010FFu);
    EXPECT_EQ(SpectrumColour(23), 0xFF00FFF0u);
    EXPECT_EQ(SpectrumColour(24), 0xFF10FFE0u);
    EXPECT_EQ(SpectrumColour(39), 0xFFFFFF00u);
    EXPECT_EQ(SpectrumColour(40), 0xFFFFF000u);
    EXPECT_EQ(SpectrumColour(55), 0xFFFF0000u);
    EXPECT_EQ(SpectrumColour(63), 0xFF800000u);
    EXPECT_EQ(SpectrumColourOf(1.0), SpectrumColour(63));
    EXPECT_EQ(SpectrumColourOf(0.5), SpectrumColour(32));

    ShotRecord rec;
    rec.timeStep = 2.0;
    rec.timeSize = 64; // frequency step 7.8125 Hz: floor(90 / 7.8125) = 11 rows
    rec.receiverSpacing = 1.0;
    rec.spectrum = CMatrix(32, 256);
    rec.wavenumberAxis = CMatrix(256, 1);
    rec.wavenumberAxis.Set(0, 0, 3.141596);
    rec.spectrum.Set(0, 255, 1.0); // bottom-left pixel
    rec.spectrum.Set(10, 128, 1000.0); // top-right pixel, clipped
    rec.spectrum.Set(11, 200, 1000.0); // above 90 Hz: not shown
    const SpectrumImage image = MakeSpectrumImage(rec);
    ASSERT_EQ(image.width, 128);
    ASSERT_EQ(image.height, 11);
    EXPECT_DOUBLE_EQ(image.maxFrequency, 11 * 7.8125);
    EXPECT_DOUBLE_EQ(image.maxWavenumber, 3.141596);
    // Mean of the block = 1001 / 1408; clip at twice that, then scale to it.
    const double clip = 2.0 * 1001.0 / (11 * 128);
    EXPECT_EQ(image.pixels[10 * 128 + 0], SpectrumColourOf(std::min(1.0, clip) / clip));
    EXPECT_EQ(image.pixels[0 * 128 + 127], SpectrumColour(63));
    EXPECT_EQ(image.pixels[5 * 128 + 60], SpectrumColour(0));
}

TEST(SpectrumTextExports, WriteTheDocumentedLayoutByteForByte)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString curvePath = dir.filePath(QStringLiteral("curve.txt"));
    QFile::remove(curvePath);
    {
        QFile old(curvePath);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(500, 'x')); // replaced, not appended to
    }
    ASSERT_TRUE(WritePickedCurveText(
        curvePath, CMatrix(2, 1, { 7.8125, 15.625 }), CMatrix(2, 1, { 312.5, -0.0000004 })));
    EXPECT_EQ(ReadAll(curvePath),
        QByteArray("%Experimental dispersion curve\r\n% 2x2\r\n%f[Hz]\tvs[m/s]\r\n"
                   "7.812500 312.500000\r\n15.625000 -0.000000\r\n"
                   "%==================================\r\n"));

    ShotRecord rec;
    rec.spectrum = CMatrix(2, 2, { 1.5, 2.0, 0.25, 1e6 });
    rec.frequencyAxis = CMatrix(2, 1, { 0.0, 3.90625 });
    rec.wavenumberAxis = CMatrix(2, 1, { 1.5707980, -0.7853990 });
    const QString spectrumPath = dir.filePath(QStringLiteral("spectrum.txt"));
    ASSERT_TRUE(WriteSpectrumText(spectrumPath, rec));
    EXPECT_EQ(ReadAll(spectrumPath),
        QByteArray("%Spectrum f-k of dispersion\r\n% 4x3\r\n"
                   "1.500000\t0.000000\t1.570798\r\n"
                   "2.000000\t0.000000\t-0.785399\r\n"
                   "0.250000\t3.906250\t1.570798\r\n"
                   "1000000.000000\t3.906250\t-0.785399\r\n"));
    EXPECT_FALSE(WriteSpectrumText(dir.filePath(QStringLiteral("no/such/dir/s.txt")), rec));
}

TEST(ShotRecordStoredForm, RoundTripsEveryFieldAndRefusesATruncatedStream)
{
    TraceSet set = MakeSet(300, 7, 0.25, 1.5, [](int s, int t) { return std::sin(s * 0.1 + t); });
    set.windowStart = 2.0;
    set.windowEnd = 60.0;
    DispersionAnalysis analysis;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    ASSERT_TRUE(ComputeFkSpectrum(analysis.m_active));
    analysis.m_active.spare = 17;
    CMatrixArchive out;
    analysis.m_active.Store(out);
    const std::vector<std::uint8_t> bytes = out.GetBuffer();

    CMatrixArchive in(bytes);
    ShotRecord back;
    back.Load(in);
    EXPECT_TRUE(in.AtEnd());
    CMatrixArchive again;
    back.Store(again);
    EXPECT_EQ(again.GetBuffer(), bytes);
    EXPECT_EQ(back.fileName, set.fileName);
    EXPECT_EQ(back.spare, 17);
    EXPECT_EQ(back.timeSize, analysis.m_active.timeSize);
    EXPECT_EQ(back.spectrum(3, 250), analysis.m_active.spectrum(3, 250));

    // Cut anywhere, the stream throws and the record in force stays as it was.
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + bytes.size() / 2);
    CMatrixArchive short_(cut);
    ShotRecord kept = back;
    EXPECT_ANY_THROW(kept.Load(short_));
    EXPECT_EQ(kept.spare, 17);
    EXPECT_EQ(kept.spectrum.GetRows(), back.spectrum.GetRows());
}

TEST(SpectrumPageData, PickSectionAndReportWithoutAWindow)
{
    TraceSet set =
        MakeSet(256, 12, 1.0, 2.0, [](int s, int t) { return std::sin(0.2 * s - 0.3 * t); });
    DispersionAnalysis analysis;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    ASSERT_TRUE(ComputeFkSpectrum(analysis.m_active));
    analysis.m_bAnalysed = true;
    SpectrumPageState state;
    state.lowText = QStringLiteral("10");
    state.highText = QStringLiteral("900");
    EXPECT_EQ(state.PickCurve(analysis), QStringLiteral("Max bandwidth is 500\r\n"));
    EXPECT_FALSE(state.curvePicked);
    state.highText = QStringLiteral("40");
    ASSERT_TRUE(state.PickCurve(analysis).isEmpty());
    ASSERT_TRUE(state.curvePicked);
    EXPECT_EQ(analysis.m_pickedFrequencies.GetRows(), state.curve.frequencies.GetRows());

    CMatrixArchive out;
    state.StoreSection(out, analysis);
    DispersionAnalysis restored;
    SpectrumPageState back;
    CMatrixArchive in(out.GetBuffer());
    back.LoadSection(in, restored);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_TRUE(restored.m_bAnalysed);
    EXPECT_EQ(back.highText, QStringLiteral("40"));
    EXPECT_EQ(restored.m_pickedVelocities.ToVector(), analysis.m_pickedVelocities.ToVector());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.rtf"));
    ReportWriter report;
    ASSERT_EQ(report.Open(path), int(RtfOk));
    WriteSpectrumChapter(report, restored, back);
    EXPECT_EQ(report.ChapterCount(), 1);
    restored.m_bAnalysed = false;
    WriteSpectrumChapter(report, restored, back);
    EXPECT_EQ(report.ChapterCount(), 1);
    ASSERT_TRUE(report.Close());
    EXPECT_TRUE(ReadAll(path).contains("40Hz"));
    EXPECT_EQ(SpectrumChartRegion(analysis).Count(), 1);
    EXPECT_EQ(PickedCurveChartRegion(back).Count(), 1);
}
