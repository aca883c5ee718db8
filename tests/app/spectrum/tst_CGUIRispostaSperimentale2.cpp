// The spectrum page: the spectrum image, the band messages in one box, picking, the flag that
// a rebuilt page clears, navigation, the chart exports and the document section.
#include "app/chart/CChartImage.h"
#include "app/chart/CChartWidget.h"
#include "app/chart/CLineSeries.h"
#include "app/data/TraceSet.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/page/UserMessages.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/CGUIRispostaSperimentale2.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrixArchive.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

/// A dispersive record made of plane waves, c(f) = 150 + 200 exp(-f / 15) m/s.
TraceSet DispersiveSet()
{
    TraceSet set;
    set.loaded = true;
    set.fileName = QStringLiteral("/data/synthetic.sg2");
    set.timeStep = 1.0;
    set.receiverSpacing = 1.0;
    set.traceCount = 24;
    set.lastReceiver = 23;
    set.sampleCount = 512;
    set.windowEnd = 511.0;
    set.traces = CMatrix(512, 24);
    for (int s = 0; s < 512; ++s)
        for (int t = 0; t < 24; ++t) {
            double sum = 0.0;
            for (double f = 5.0; f <= 60.0; f += 0.5)
                sum += std::cos(
                    2.0 * M_PI * f * (s * 0.001 - 0.1 - t / (150.0 + 200.0 * std::exp(-f / 15.0))));
            set.traces.SetRaw(s, t, sum);
        }
    return set;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_CGUIRispostaSperimentale2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void showsTheSpectrumImage();
    void bandMessagesComeInOneBoxAndNothingIsPicked();
    void pickingFillsTheCurveAndTheAnalysis();
    void rebuiltPageHasNoPickedCurve();
    void navigation();
    void chartExportsWriteTheirFiles();
    void sectionRoundTrip();
    void reportChapterOnlyWhenAnalysed();

private:
    std::unique_ptr<CGUIRispostaSperimentale2> MakePage(DispersionAnalysis *analysis);
    QLineEdit *Edit(const char *name)
    {
        return m_page->findChild<QLineEdit *>(QLatin1String(name));
    }
    QPushButton *Button(const char *name)
    {
        return m_page->findChild<QPushButton *>(QLatin1String(name));
    }
    void Pick(const QString &low, const QString &high)
    {
        Edit("lowerLimitEdit")->setText(low);
        Edit("upperLimitEdit")->setText(high);
        Button("pickButton")->click();
    }

    TraceSet m_set;
    DispersionAnalysis m_analysis;
    std::unique_ptr<CMessageBoxCapture> m_boxes;
    std::unique_ptr<CGUIRispostaSperimentale2> m_page;
    QTemporaryDir m_dir;
};

void tst_CGUIRispostaSperimentale2::initTestCase() { m_set = DispersiveSet(); }

std::unique_ptr<CGUIRispostaSperimentale2> tst_CGUIRispostaSperimentale2::MakePage(
    DispersionAnalysis *analysis)
{
    auto page = std::make_unique<CGUIRispostaSperimentale2>(nullptr, nullptr, analysis);
    page->Create();
    return page;
}

void tst_CGUIRispostaSperimentale2::init()
{
    m_analysis = DispersionAnalysis();
    QVERIFY(m_analysis.HandOverActiveTraces(m_set));
    QVERIFY(ComputeFkSpectrum(m_analysis.m_active));
    m_analysis.m_bAnalysed = true;
    m_boxes = std::make_unique<CMessageBoxCapture>(CMessageBox::Answer::Ok);
    m_page = MakePage(&m_analysis);
}

void tst_CGUIRispostaSperimentale2::cleanup()
{
    m_page.reset();
    m_boxes.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_CGUIRispostaSperimentale2::showsTheSpectrumImage()
{
    const CChartRegion &region = m_page->SpectrumChartWidget()->Region();
    QCOMPARE(region.Count(), 1);
    const auto *image = dynamic_cast<const CChartImage *>(region.Objects().front().get());
    QVERIFY(image);
    const SpectrumImage expected = MakeSpectrumImage(m_analysis.m_active);
    QCOMPARE(image->PixelWidth(), 128);
    QCOMPARE(image->PixelHeight(), expected.height);
    QVERIFY(image->Pixels() == expected.pixels);
    QCOMPARE(image->Right(), m_analysis.m_active.wavenumberAxis(0));
    QCOMPARE(image->Top(), expected.maxFrequency);
    QCOMPARE(m_page->SpectrumChartWidget()->Region().Title(), QStringLiteral("Spectrum f-k"));
}

void tst_CGUIRispostaSperimentale2::bandMessagesComeInOneBoxAndNothingIsPicked()
{
    QSignalSpy modified(m_page.get(), &CChildDialog::DocModified);
    Pick(QString(), QStringLiteral("900"));
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].caption, QStringLiteral("Error"));
    QCOMPARE(m_boxes->requests[0].text,
        QStringLiteral("Insert the lower limit of the bandwidth\r\nMax bandwidth is 500\r\n"));
    QVERIFY(!m_page->State().curvePicked);
    QCOMPARE(m_page->CurveChartWidget()->Region().Count(), 0);
    QCOMPARE(modified.count(), 0);
}

void tst_CGUIRispostaSperimentale2::pickingFillsTheCurveAndTheAnalysis()
{
    QSignalSpy modified(m_page.get(), &CChildDialog::DocModified);
    Pick(QStringLiteral("10"), QStringLiteral("50,5"));
    QCOMPARE(m_boxes->requests.size(), 0);
    QVERIFY(m_page->State().curvePicked);
    QCOMPARE(modified.count(), 1);
    const PickedCurve expected = PickSpectrumCurve(m_analysis.m_active, 10.0, 50.5);
    const CChartRegion &region = m_page->CurveChartWidget()->Region();
    QCOMPARE(region.Count(), 1);
    const auto *series = dynamic_cast<const CLineSeries *>(region.Objects().front().get());
    QVERIFY(series);
    QCOMPARE(series->PointCount(), expected.frequencies.GetRows());
    QCOMPARE(m_analysis.m_pickedFrequencies.GetRows(), expected.frequencies.GetRows());
    for (int i = 0; i < series->PointCount(); ++i) {
        QCOMPARE(series->X()[static_cast<std::size_t>(i)], expected.frequencies(i));
        QCOMPARE(series->Y()[static_cast<std::size_t>(i)], expected.velocities(i));
        QCOMPARE(m_analysis.m_pickedVelocities(i), expected.velocities(i));
        // The synthetic record's velocities: picked within one wavenumber bin.
        const double f = expected.frequencies(i);
        const double kTrue = 2 * M_PI * f / (150.0 + 200.0 * std::exp(-f / 15.0));
        QVERIFY(std::abs(2 * M_PI * f / expected.velocities(i) - kTrue) <= 2 * M_PI / 256);
    }
    QCOMPARE(m_page->ReportRows().size(), 2);
    QCOMPARE(m_page->ReportRows()[0].second, QStringLiteral("50,5Hz"));
    QCOMPARE(m_page->ReportRows()[1].second, QStringLiteral("10Hz"));
}

void tst_CGUIRispostaSperimentale2::rebuiltPageHasNoPickedCurve()
{
    Pick(QStringLiteral("10"), QStringLiteral("40"));
    QVERIFY(m_page->State().curvePicked);
    m_page->InitPage();
    QVERIFY(!m_page->State().curvePicked);
}

void tst_CGUIRispostaSperimentale2::navigation()
{
    QSignalSpy goTo(m_page.get(), &CChildDialog::GotoStep);
    Button("previousButton")->click();
    Button("nextButton")->click();
    QCOMPARE(goTo.count(), 2);
    QCOMPARE(goTo[0][0].toInt(), 10);
    QCOMPARE(goTo[0][1].toInt(), 5);
    QCOMPARE(goTo[1][1].toInt(), 15 + FreshPageFlag);
}

void tst_CGUIRispostaSperimentale2::chartExportsWriteTheirFiles()
{
    const QString curvePath = m_dir.filePath(QStringLiteral("curve.txt"));
    const QString spectrumPath = m_dir.filePath(QStringLiteral("spectrum.txt"));
    // Nothing picked yet: the curve chart writes nothing.
    m_page->CurveChartWidget()->RequestExportText(curvePath);
    QVERIFY(!QFile::exists(curvePath));
    Pick(QStringLiteral("10"), QStringLiteral("20"));
    m_page->CurveChartWidget()->RequestExportText(curvePath);
    const QByteArray curve = ReadAll(curvePath);
    QVERIFY(curve.startsWith("%Experimental dispersion curve\r\n% "));
    QCOMPARE(curve.count("\r\n"), 4 + m_page->State().curve.frequencies.GetRows());
    m_page->SpectrumChartWidget()->RequestExportText(spectrumPath);
    const QByteArray spectrum = ReadAll(spectrumPath);
    QVERIFY(spectrum.startsWith("%Spectrum f-k of dispersion\r\n% 65536x3\r\n"));
    QCOMPARE(spectrum.count("\r\n"), 2 + 256 * 256);
}

void tst_CGUIRispostaSperimentale2::sectionRoundTrip()
{
    Pick(QStringLiteral("8"), QStringLiteral("45"));
    CMatrixArchive out;
    m_page->SaveSection(out, 1);
    const std::vector<std::uint8_t> bytes = out.GetBuffer();

    DispersionAnalysis restored;
    auto page = MakePage(&restored);
    CMatrixArchive in(bytes);
    page->LoadSection(in, 1);
    QVERIFY(in.AtEnd());
    QCOMPARE(page->findChild<QLineEdit *>(QStringLiteral("lowerLimitEdit"))->text(),
        QStringLiteral("8"));
    QVERIFY(page->State().curvePicked);
    QVERIFY(restored.m_bAnalysed);
    QCOMPARE(restored.m_pickedVelocities.ToVector(), m_analysis.m_pickedVelocities.ToVector());
    QCOMPARE(page->CurveChartWidget()->Region().Count(), 1);
    QCOMPARE(page->SpectrumChartWidget()->Region().Count(), 1);
    CMatrixArchive again;
    page->SaveSection(again, 1);
    QVERIFY(again.GetBuffer() == bytes);

    // A cut section throws and changes nothing.
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 20);
    DispersionAnalysis untouched;
    auto other = MakePage(&untouched);
    CMatrixArchive shortIn(cut);
    QVERIFY_THROWS_EXCEPTION(std::exception, other->LoadSection(shortIn, 1));
    QVERIFY(!untouched.m_bAnalysed);
    QVERIFY(!other->State().curvePicked);
}

void tst_CGUIRispostaSperimentale2::reportChapterOnlyWhenAnalysed()
{
    Pick(QStringLiteral("8"), QStringLiteral("45"));
    const QString path = m_dir.filePath(QStringLiteral("report.rtf"));
    ReportWriter report;
    QCOMPARE(report.Open(path), int(RtfOk));
    m_page->WriteReport(report);
    QCOMPARE(report.ChapterCount(), 1);
    QCOMPARE(report.FigureCount(), 1);
    m_analysis.m_bAnalysed = false;
    m_page->WriteReport(report);
    QCOMPARE(report.ChapterCount(), 1);
    QVERIFY(report.Close());
    const QByteArray rtf = ReadAll(path);
    QVERIFY(rtf.contains("Analysis results"));
    QVERIFY(rtf.contains("Final frequency"));
    QVERIFY(rtf.contains("45Hz"));
    QVERIFY(rtf.indexOf("Final frequency") < rtf.indexOf("Initial frequency"));
    QVERIFY(rtf.contains("Experimental dispersion curve"));
}

QTEST_MAIN(tst_CGUIRispostaSperimentale2)
#include "tst_CGUIRispostaSperimentale2.moc"
