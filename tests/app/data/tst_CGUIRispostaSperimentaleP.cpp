// The passive experimental-data page: the same file read as on the active page, its own file
// filter, Next computing the passive spectrum of a synthetic noise record (plane waves of a
// known dispersion law from both ends of the line) and going to the curve page, Previous, its
// document section under its own tag, its report chapter and its traces export.
#include "app/chart/CChartWidget.h"
#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/data/CGUIRispostaSperimentaleP.h"
#include "app/data/TraceTextExport.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/page/UserMessages.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrixArchive.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>
#include <random>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int Traces = 24;
constexpr int Samples = 4096; // 8.2 s at 2 ms

double Dispersion(double f) { return 150.0 + 300.0 / (1.0 + (f / 10.0) * (f / 10.0)); }

// Ambient noise along a line of receivers 1 m apart: at every frequency from 4 to 45 Hz one
// plane wave from each end, of random phase, travelling at Dispersion(f); built in the
// frequency domain in closed form and brought to time by an inverse transform.
QString WriteNoiseRecord(const QTemporaryDir &dir, bool silent = false)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> phase(0.0, 2.0 * Pi);
    CComplexMatrix spectrum(Samples, Traces);
    const double df = 1.0 / (Samples * 0.002);
    for (int k = static_cast<int>(4.0 / df); k * df <= 45.0 && !silent; ++k) {
        const double f = k * df;
        const double near = phase(random);
        const double far = phase(random);
        for (int j = 0; j < Traces; ++j) {
            const double shift = 2.0 * Pi * f * j / Dispersion(f);
            spectrum.SetRaw(k, j,
                Complex(std::cos(near - shift) + std::cos(far + shift),
                    -(std::sin(near - shift) + std::sin(far + shift))));
        }
    }
    spectrum.FFT();
    const QString path = dir.filePath(silent ? "silent.txt" : "noise.txt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray text;
    for (int s = 0; s < Samples; ++s) {
        text += QByteArray::number(s * 0.002, 'f', 3);
        for (int j = 0; j < Traces; ++j)
            text += '\t' + QByteArray::number(spectrum(s, j).re / 100.0, 'g', 9);
        text += '\n';
    }
    file.write(text);
    return path;
}

} // namespace

class tst_CGUIRispostaSperimentaleP : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_noise;
    DispersionAnalysis m_analysis;
    std::unique_ptr<CMessageBoxCapture> m_boxes;

    template <class Page> std::unique_ptr<Page> MakePage()
    {
        auto page = std::make_unique<Page>(nullptr, nullptr, &m_analysis);
        page->Create();
        return page;
    }

    static QLineEdit *Edit(QWidget *page, const char *name)
    {
        return page->findChild<QLineEdit *>(QLatin1String(name));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_noise = WriteNoiseRecord(m_dir);
        QVERIFY(!m_noise.isEmpty());
    }

    void init()
    {
        m_analysis = DispersionAnalysis();
        m_boxes = std::make_unique<CMessageBoxCapture>(CMessageBox::Answer::Ok);
    }

    void cleanup() { m_boxes.reset(); }

    void sameFileLoadsAlikeOnBothPages()
    {
        auto active = MakePage<CGUIRispostaSperimentale1>();
        auto passive = MakePage<CGUIRispostaSperimentaleP>();
        QVERIFY(active->OpenTraceFile(m_noise));
        QVERIFY(passive->OpenTraceFile(m_noise));
        QCOMPARE(passive->Traces().traces.ToVector(), active->Traces().traces.ToVector());
        QCOMPARE(passive->Traces().timeStep, active->Traces().timeStep);
        QCOMPARE(passive->Traces().traceCount, Traces);
        for (const char *name :
            { "spacingEdit", "timeStepEdit", "windowStartEdit", "windowEndEdit" })
            QCOMPARE(Edit(passive.get(), name)->text(), Edit(active.get(), name)->text());
        QCOMPARE(passive->findChild<QLabel *>("informationLabel")->text(),
            active->findChild<QLabel *>("informationLabel")->text());
        QCOMPARE(static_cast<const CChildDialog *>(passive.get())->TemplateId(),
            CGUIRispostaSperimentaleP::TemplateId);
    }

    void theActivePageLeadsToThePassivePage()
    {
        // Nothing else leads to the passive page from a new analysis.
        auto active = MakePage<CGUIRispostaSperimentale1>();
        QSignalSpy goTo(active.get(), &CChildDialog::GotoStep);
        auto *passive = active->findChild<QPushButton *>("passiveButton");
        QVERIFY(passive);
        passive->click();
        QCOMPARE(goTo.count(), 1);
        QCOMPARE(goTo[0][0].toInt(), 5);
        QCOMPARE(goTo[0][1].toInt(), 12);
        auto page = MakePage<CGUIRispostaSperimentaleP>();
        QVERIFY(!page->findChild<QPushButton *>("passiveButton"));
    }

    void filterListsEveryFormatOnItsOwn()
    {
        const QStringList filters = CGUIRispostaSperimentaleP::PassiveFileFilters();
        QCOMPARE(filters.size(), 6);
        QVERIFY(filters.first().startsWith("Text file"));
        for (const QString &filter : filters)
            QVERIFY2(!filter.contains("All supported"), qPrintable(filter));
        QVERIFY(CGUIRispostaSperimentale1::FileFilters().first().startsWith("All supported"));
    }

    void nextComputesThePassiveSpectrumAndGoesToTheCurvePage()
    {
        auto page = MakePage<CGUIRispostaSperimentaleP>();
        QVERIFY(page->OpenTraceFile(m_noise));
        Edit(page.get(), "spacingEdit")->setText("1");
        m_boxes->requests.clear(); // the reading's hints
        QSignalSpy goTo(page.get(), &CChildDialog::GotoStep);
        QSignalSpy modified(page.get(), &CChildDialog::DocModified);
        page->findChild<QPushButton *>("nextButton")->click();
        QCOMPARE(goTo.count(), 1);
        QCOMPARE(goTo[0][0].toInt(), 12);
        QCOMPARE(goTo[0][1].toInt(), 15 + FreshPageFlag);
        QCOMPARE(modified.count(), 1);
        QVERIFY(m_analysis.m_bPassivePrepared);
        QVERIFY(!m_analysis.m_bPrepared); // the active record is not touched
        QCOMPARE(m_analysis.m_passive.receiversUsed, Traces);
        QCOMPARE(m_analysis.m_passive.receiverSpacing, 1.0);

        const CMatrix &image = m_analysis.m_passiveImage;
        const CMatrix &frequencies = m_analysis.m_passiveFrequencyAxis;
        const CMatrix &velocities = m_analysis.m_passiveVelocityAxis;
        QCOMPARE(image.GetRows(), velocities.GetCount());
        QCOMPARE(image.GetCols(), frequencies.GetCount());
        // The peak of every column in the band the 23 m line resolves follows the law (above 30 Hz
        // the 1 m spacing lets aliases of the slow waves compete).
        int columns = 0;
        double error = 0.0;
        for (int c = 0; c < frequencies.GetCount(); ++c) {
            const double f = frequencies(c);
            if (f < 15.0 || f > 30.0)
                continue;
            int row = -1;
            image.ColMax(c, &row);
            const double v = velocities(row);
            QVERIFY2(std::fabs(v - Dispersion(f)) < 0.1 * Dispersion(f),
                qPrintable(QString("%1 Hz: %2 m/s, law %3").arg(f).arg(v).arg(Dispersion(f))));
            error += std::fabs(v - Dispersion(f)) / Dispersion(f);
            ++columns;
        }
        QVERIFY(columns > 100);
        QVERIFY(error / columns < 0.03);
        QVERIFY(m_boxes->requests.isEmpty());
    }

    void silentRecordGivesAnAllZeroImage()
    {
        auto page = MakePage<CGUIRispostaSperimentaleP>();
        QVERIFY(page->OpenTraceFile(WriteNoiseRecord(m_dir, true)));
        Edit(page.get(), "spacingEdit")->setText("2");
        QSignalSpy goTo(page.get(), &CChildDialog::GotoStep);
        page->OnNext();
        QCOMPARE(goTo.count(), 1);
        QVERIFY(m_analysis.m_bPassivePrepared);
        const CMatrix &image = m_analysis.m_passiveImage;
        QVERIFY(image.GetCount() > 0);
        for (int i = 0; i < image.GetCount(); ++i)
            QCOMPARE(image.GetData()[i], 0.0);
    }

    void previousGoesToTheSpectrumOnlyAfterAnActiveAnalysis()
    {
        auto page = MakePage<CGUIRispostaSperimentaleP>();
        QSignalSpy goTo(page.get(), &CChildDialog::GotoStep);
        page->findChild<QPushButton *>("previousButton")->click();
        m_analysis.m_bAnalysed = true;
        page->findChild<QPushButton *>("previousButton")->click();
        QCOMPARE(goTo.count(), 2);
        QCOMPARE(goTo[0][0].toInt(), 12);
        QCOMPARE(goTo[0][1].toInt(), 5);
        QCOMPARE(goTo[1][1].toInt(), 10);
    }

    void sectionRoundTripUnderItsOwnTag()
    {
        auto page = MakePage<CGUIRispostaSperimentaleP>();
        QVERIFY(page->OpenTraceFile(m_noise));
        Edit(page.get(), "spacingEdit")->setText("1,5");
        page->findChild<QComboBox *>("lastReceiverCombo")->setCurrentIndex(11);
        CMatrixArchive out;
        page->SaveSection(out, 1);
        const auto &bytes = out.GetBuffer();
        const QByteArray head(reinterpret_cast<const char *>(bytes.data()), 40);
        QVERIFY(head.startsWith(QByteArray(28, '=') + "\r\n22 RSPP\r\n"));

        auto restored = std::make_unique<CGUIRispostaSperimentaleP>(nullptr, nullptr, &m_analysis);
        restored->m_bRestoring = true;
        restored->Create();
        CMatrixArchive in(out.GetBuffer());
        restored->SerializeSection(in, 1);
        QCOMPARE(Edit(restored.get(), "spacingEdit")->text(), QStringLiteral("1,5"));
        QCOMPARE(restored->findChild<QComboBox *>("lastReceiverCombo")->currentIndex(), 11);
        QCOMPARE(restored->Traces().traces.GetRows(), Samples);
        QVERIFY(restored->findChild<QPushButton *>("nextButton")->isEnabled());

        // The active page's section is not this page's.
        auto active = MakePage<CGUIRispostaSperimentale1>();
        QVERIFY(active->OpenTraceFile(m_noise));
        CMatrixArchive activeOut;
        active->SaveSection(activeOut, 1);
        auto other = std::make_unique<CGUIRispostaSperimentaleP>(nullptr, nullptr, &m_analysis);
        other->m_bRestoring = true;
        other->Create();
        CMatrixArchive activeIn(activeOut.GetBuffer());
        QVERIFY_THROWS_EXCEPTION(CArchiveException, other->LoadSection(activeIn, 1));
    }

    void reportChapterAndTracesExport()
    {
        auto page = MakePage<CGUIRispostaSperimentaleP>();
        QVERIFY(page->OpenTraceFile(m_noise));
        Edit(page.get(), "spacingEdit")->setText("1");
        QVERIFY(page->PassiveReportRows().isEmpty()); // nothing computed yet
        page->OnNext();
        const QList<QPair<QString, QString>> rows = page->PassiveReportRows();
        QVERIFY(!rows.isEmpty());
        for (const auto &row : rows)
            QVERIFY(row.first != "Sensors distance:");
        QCOMPARE(rows.first().second, m_noise);
        QVERIFY(rows.last().first.startsWith("Sensors are not reverted"));

        const QString rtfPath = m_dir.filePath("report.rtf");
        ReportWriter report;
        QCOMPARE(report.Open(rtfPath), int(RtfOk));
        page->WriteReport(report);
        QVERIFY(report.Close());
        QFile rtf(rtfPath);
        QVERIFY(rtf.open(QIODevice::ReadOnly));
        const QByteArray text = rtf.readAll();
        QVERIFY(text.contains("Analysis results (P)"));
        QVERIFY(text.contains("Number of time samples"));
        QVERIFY(!text.contains("Sensors distance:"));

        // The chart's data export writes the traces as the active page's export does.
        const QString exported = m_dir.filePath("traces.txt");
        const QString reference = m_dir.filePath("reference.txt");
        QCOMPARE(page->OnExportText(page->TraceChartWidget(), exported), 0);
        QVERIFY(WriteTracesText(reference, page->Traces()));
        QFile a(exported);
        QFile b(reference);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray written = a.readAll();
        QVERIFY(written.size() > Samples * Traces);
        QCOMPARE(written, b.readAll());
    }
};

QTEST_MAIN(tst_CGUIRispostaSperimentaleP)
#include "tst_CGUIRispostaSperimentaleP.moc"
