// The profile page and the automatic-search dialog, offscreen, with the real runner and with
// stand-ins: trial and error, a search with its log and chart, Stop, a runner that dies, the
// input check and the document section.
#include "app/chart/CChartWidget.h"
#include "app/chart/CLineSeries.h"
#include "app/controls/CGridCtrl.h"
#include "app/controls/CGridModel.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/profile/CDialogAutomatica.h"
#include "app/profile/CGUIProfiloIniziale.h"
#include "app/profile/CProfileTable.h"
#include "app/profile/ProfileCharts.h"
#include "app/profile/ProfileReport.h"
#include "app/profile/ProfileSection.h"
#include "app/results/ReportWriter.h"
#include "matrix/CMatrixArchive.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>

#include <csignal>
#include <sys/types.h>

namespace {

// A curve typed in from a known profile: the apparent velocities of a soft layer over stiffer
// ground, rounded as a user would type them.
void SetTypedCurve(DispersionAnalysis &a)
{
    const double f[] = { 6, 8, 10, 12, 15, 18, 22, 26, 30, 35, 40 };
    const double v[] = { 430, 375, 330, 295, 262, 240, 222, 212, 205, 199, 196 };
    std::vector<double> fv(std::begin(f), std::end(f)), vv(std::begin(v), std::end(v)), hi, lo, sd;
    for (double x : vv) {
        hi.push_back(1.1 * x);
        lo.push_back(0.9 * x);
        sd.push_back(0.2 * x / 6);
    }
    a.m_curve.frequencies = CMatrix::Column(fv);
    a.m_curve.velocities = CMatrix::Column(vv);
    a.m_curve.maxVelocities = CMatrix::Column(hi);
    a.m_curve.minVelocities = CMatrix::Column(lo);
    a.m_curve.standardDeviations = CMatrix::Column(sd);
}

// The runner this process started, found among its children.
qint64 RunnerChildPid()
{
    const QString self = QString::number(QCoreApplication::applicationPid());
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromLatin1(stat.readAll());
        // "pid (comm) state ppid ..."
        const int close = text.lastIndexOf(QLatin1Char(')'));
        const QStringList fields = text.mid(close + 2).split(QLatin1Char(' '));
        if (text.contains(QStringLiteral("(runner)")) && fields.size() > 1 && fields[1] == self)
            return entry.toLongLong();
    }
    return -1;
}

QString Script(const QTemporaryDir &dir, const char *name, const char *body)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray("#!/bin/sh\n") + body + "\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// Vs30 of a layered profile computed here, apart from the engine: 30 m over the sum of the
// travel times of the layers in the top 30 m, the half-space filling the rest.
double TravelTimeVs30(const std::vector<LayerRecord> &layers)
{
    double depth = 0, time = 0;
    for (std::size_t l = 0; l < layers.size() && depth < 30.0; ++l) {
        const bool last = l + 1 == layers.size();
        const double h = last ? 30.0 - depth : std::min(layers[l].thickness, 30.0 - depth);
        time += h / layers[l].finalVs;
        depth += h;
    }
    return 30.0 / time;
}

bool SameMatrix(const CMatrix &a, const CMatrix &b)
{
    if (a.GetRows() != b.GetRows() || a.GetCols() != b.GetCols())
        return false;
    for (int i = 0; i < a.GetCount(); ++i) {
        if (a(i) != b(i))
            return false;
    }
    return true;
}

// Runs the dialog as the page would, without a nested modal loop, until it can be closed.
void RunDialogToTheEnd(CGUIProfiloIniziale *page)
{
    CDialogAutomatica dialog(page, page, page->SearchStarts());
    dialog.show();
    QElapsedTimer clock;
    clock.start();
    while (!(dialog.CloseButton()->isVisible() && dialog.Finished()) && clock.elapsed() < 60000)
        QTest::qWait(20);
}

} // namespace

class tst_CGUIProfiloIniziale : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<DispersionAnalysis> m_analysis;
    std::unique_ptr<CGUIProfiloIniziale> m_page;

    void MakePage(int layers)
    {
        m_analysis = std::make_unique<DispersionAnalysis>();
        SetTypedCurve(*m_analysis);
        m_page = std::make_unique<CGUIProfiloIniziale>(nullptr, nullptr, m_analysis.get());
        m_page->Create();
        m_page->SetRunnerPath(QStringLiteral(VELA_RUNNER_PATH));
        m_page->Table()->SetLayerCount(layers);
        m_page->resize(1366, 768);
        m_page->show();
    }

private Q_SLOTS:
    void trialAndErrorFillsFinalVsChartsAndEnablesNext()
    {
        MakePage(3);
        CMessageBoxCapture boxes;
        m_page->OnTrialAndError();
        QVERIFY2(boxes.requests.isEmpty(),
            qPrintable(boxes.requests.isEmpty() ? QString() : boxes.requests[0].text));
        QVERIFY(m_page->Validity().forwardValid);
        QVERIFY(m_page->NextButton()->isEnabled());
        // The results page finds the range and the depth in the analysis.
        QCOMPARE(m_analysis->m_results.vs30P10, m_page->Ensemble().vs30P10);
        QCOMPARE(
            m_analysis->m_results.depthOfInvestigation, m_page->Ensemble().depthOfInvestigation);
        CGridCtrl *grid = m_page->Grid();
        for (int row = 1; row <= 4; ++row)
            QCOMPARE(grid->GetItemText(row, ColFinalVs), grid->GetItemText(row, ColVs));
        QVERIFY(m_page->MisfitLabelText().startsWith(
            QStringLiteral("Error between apparent curve and experimental curve: ")));
        // Experimental, one mode, apparent and effective; initial and final profiles.
        QCOMPARE(m_page->DispersionChart()->Region().Count(), 4);
        QCOMPARE(m_page->ProfileChart()->Region().Count(), 2);

        // The report chapter: one heading, four layer sub-headings and both charts as figures.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.rtf"));
        ReportWriter report(&CChartWidget::ExportRegion);
        QCOMPARE(report.Open(path), int(RtfOk));
        QCOMPARE(m_page->WriteReport(report), 0);
        QCOMPARE(report.ChapterCount(), 1);
        QCOMPARE(report.FigureCount(), 2);
        QVERIFY(report.Close());
        QFile rtf(path);
        QVERIFY(rtf.open(QIODevice::ReadOnly));
        const QByteArray text = rtf.readAll();
        QVERIFY(text.contains("Field profile"));
        QVERIFY(text.contains("Layer 4"));
        QVERIFY(text.contains("Numerical Vs profile"));

        // The same chapter without a window, from the document's section alone.
        CMatrixArchive section;
        m_page->SaveSection(section, 1);
        CMatrixArchive in(section.GetBuffer());
        CGridModel table;
        ProfilePageState state;
        DispersionAnalysis read;
        ReadProfileSection(in, 1, table, state, read);
        CProfileTable(&table, QStringLiteral("Yes"), QStringLiteral("No")).Collect(read.m_profile);
        const QString windowless = dir.filePath(QStringLiteral("windowless.rtf"));
        ReportWriter second(&CChartWidget::ExportRegion);
        QCOMPARE(second.Open(windowless), int(RtfOk));
        WriteProfileChapter(second, read, state);
        QCOMPARE(second.FigureCount(), 2);
        QVERIFY(second.Close());
        QFile other(windowless);
        QVERIFY(other.open(QIODevice::ReadOnly));
        const QByteArray again = other.readAll();
        QVERIFY(again.contains("Layer 4"));
        QVERIFY(again.contains("Vs fin.[m/s]"));
    }

    void runnerWithoutResultShowsMisfitsAboveHundred()
    {
        MakePage(2);
        QTemporaryDir dir;
        m_page->SetRunnerPath(Script(dir, "quiet", "exit 0"));
        CMessageBoxCapture boxes;
        m_page->OnTrialAndError();
        QVERIFY(boxes.requests.isEmpty());
        QCOMPARE(m_page->MisfitLabelText().count(QStringLiteral(">100%")), 2);
        QVERIFY(!m_page->Validity().forwardValid);
        QCOMPARE(m_page->DispersionChart()->Region().Count(), 1);
    }

    void inputCheckNamesTheFirstProblem()
    {
        MakePage(2);
        CMessageBoxCapture boxes;
        m_page->Grid()->SetItemText(2, ColDensity, QString());
        QVERIFY(m_page->ValidateInput());
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].text, QStringLiteral("Some fields of the table are missing!"));
        QCOMPARE(boxes.requests[0].caption, QStringLiteral("Uncorrect input parameters"));
    }

    void searchShowsItsLogAndChartAndKeepsTheWindowAlive()
    {
        MakePage(3);
        m_analysis->m_profile.iterationCount = 2;
        m_page->CollectProfile();
        m_analysis->m_profile.iterationCount = 2;
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(20);
        CDialogAutomatica dialog(m_page.get(), m_page.get());
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.CloseButton()->isVisible(), 60000);
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Finished(), 10000);
        const QString log = dialog.LogText();
        QVERIFY(log.startsWith(QStringLiteral("Starting automatic search...")));
        QVERIFY(log.contains(QStringLiteral("Starting optimization...")));
        QVERIFY(log.contains(QStringLiteral("Starting sub step 1")));
        QVERIFY(log.contains(QStringLiteral("   Error at current step:")));
        QVERIFY(log.endsWith(QStringLiteral("End of automatic search")));
        QVERIFY(!dialog.ErrorHistory().empty());
        QVERIFY(dialog.BestErrorLabel()->text().startsWith(QStringLiteral("Best error: ")));
        QCOMPARE(
            dialog.RemainingLabel()->text(), QStringLiteral("Remaining time: search terminated"));
        QVERIFY(m_page->Validity().searchValid);
        QVERIFY(m_analysis->m_search.jobFinished);
        // The event loop ran all along: the user interface repainted during the search.
        QVERIFY(ticks > 3);
    }

    void stopAddsNoLogLineAfterwards()
    {
        MakePage(4);
        m_page->CollectProfile();
        m_analysis->m_profile.iterationCount = 10;
        m_analysis->m_profile.targetMisfit = 0.0; // a search that runs long enough to stop
        CDialogAutomatica dialog(m_page.get(), m_page.get());
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(
            dialog.LogText().contains(QStringLiteral("Starting sub step")), 60000);
        dialog.OnStop();
        QVERIFY(dialog.LogText().endsWith(QStringLiteral("===Search stopped by user===")));
        const int lines = dialog.LogLineCount();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Finished(), 10000);
        QTest::qWait(300);
        QCOMPARE(dialog.LogLineCount(), lines);
        QVERIFY(!dialog.StopButton()->isVisible());
        QVERIFY(dialog.CloseButton()->isVisible());
        QVERIFY(!m_page->Validity().searchValid);
    }

    void runnerKilledFromOutsideEndsTheSearchWithinTheWatch()
    {
        MakePage(2);
        QTemporaryDir dir;
        m_page->SetRunnerPath(Script(dir, "dies", "kill -9 $$"));
        m_page->CollectProfile();
        CDialogAutomatica dialog(m_page.get(), m_page.get());
        dialog.show();
        QTRY_COMPARE_WITH_TIMEOUT(dialog.StatusText()->text(),
            QStringLiteral("The search was canceled due to an unknown problem"), 8000);
        QVERIFY(dialog.StatusText()->isVisible());
        QVERIFY(dialog.LogText().endsWith(QStringLiteral("Failure searching optimal profile")));
        QVERIFY(!m_page->Validity().searchValid);
    }

    void listsKeepTheirItemsAsDocumentsIndexThem()
    {
        MakePage(8);
        const QList<QComboBox *> boxes = m_page->findChildren<QComboBox *>();
        QComboBox *receivers = nullptr;
        for (QComboBox *box : boxes) {
            if (box->count() == 42)
                receivers = box;
        }
        QVERIFY(receivers);
        QCOMPARE(receivers->itemText(33), QStringLiteral("40"));
        QCOMPARE(receivers->itemText(35), QStringLiteral("40"));
        QCOMPARE(receivers->itemText(41), QStringLiteral("1028"));
        QCOMPARE(receivers->currentText(), QStringLiteral("20"));
        // The collected parameters: 20 receivers, one mode and iteration, 20 % as a fraction.
        m_page->CollectProfile();
        QCOMPARE(m_analysis->m_profile.receiverCount, 20);
        QCOMPARE(m_analysis->m_profile.modeCount, 1);
        QCOMPARE(m_analysis->m_profile.iterationCount, 1);
        QCOMPARE(m_analysis->m_profile.solverParameter, 75);
        QCOMPARE(m_analysis->m_profile.targetMisfit, 0.2);
        QCOMPARE(m_analysis->m_profile.LayerCount(), 9);
    }

    void realRunnerKilledFromOutsideEndsTheSearchWithinTheWatch()
    {
        MakePage(4);
        m_page->CollectProfile();
        m_analysis->m_profile.iterationCount = 10;
        m_analysis->m_profile.targetMisfit = 0.0; // a search that runs long enough to stop
        CDialogAutomatica dialog(m_page.get(), m_page.get());
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(
            dialog.LogText().contains(QStringLiteral("Starting sub step")), 60000);
        const qint64 runner = RunnerChildPid();
        QVERIFY(runner > 0);
        ::kill(pid_t(runner), SIGKILL);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.StatusText()->text(),
            QStringLiteral("The search was canceled due to an unknown problem"), 8000);
        QVERIFY(!dialog.LogText().contains(QStringLiteral("End of automatic search")));
        QVERIFY(!m_page->Validity().searchValid);
    }

    void remainingTimeEstimate()
    {
        // First trial 3 s, 10 iterations requested, at iteration 0 and trial 0: 165 s.
        QCOMPARE(CDialogAutomatica::RemainingText(3, 10, 0, 0),
            QStringLiteral("Remaining time: less than 15 minutes"));
        // 60 s per trial: 3300 s.
        QCOMPARE(CDialogAutomatica::RemainingText(60, 10, 0, 0),
            QStringLiteral("Remaining time: 0 H:55 m"));
        QCOMPARE(
            CDialogAutomatica::ElapsedText(3725), QStringLiteral("Elapsed time: 1 H:02 m:05 s"));
    }

    void manyStartSearchShowsItsStartsAndLeavesTheBandAndItsFindings()
    {
        MakePage(3);
        m_page->StartsList()->setCurrentIndex(1);
        QCOMPARE(m_page->SearchStarts(), 10);
        m_page->CollectProfile();
        m_analysis->m_profile.iterationCount = 3;
        CDialogAutomatica dialog(m_page.get(), m_page.get(), m_page->SearchStarts());
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.CloseButton()->isVisible(), 60000);
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Finished(), 10000);
        const QString log = dialog.LogText();
        QVERIFY2(log.startsWith(QStringLiteral("Starting automatic search from 10 starts...")),
            qPrintable(log));
        QVERIFY(log.contains(QStringLiteral("Start 10 of 10 ended; best normalised error")));
        QVERIFY(log.contains(QStringLiteral("===Best profile of 10 starts found===")));
        QVERIFY(log.endsWith(QStringLiteral("End of automatic search")));
        QCOMPARE(dialog.StartsProgress()->value(), 10);
        // One point per start ended, the best so far never growing.
        QCOMPARE(int(dialog.ErrorHistory().size()), 10);
        for (std::size_t i = 1; i < dialog.ErrorHistory().size(); ++i)
            QVERIFY(dialog.ErrorHistory()[i] <= dialog.ErrorHistory()[i - 1]);
        QVERIFY(m_page->Validity().searchValid);

        const EnsembleSummary &e = m_page->Ensemble();
        QVERIFY(e.valid);
        QVERIFY(!e.stopped);
        QCOMPARE(e.starts, 10);
        // Three layers over the half-space.
        const int n = int(m_analysis->m_profile.layers.size());
        QCOMPARE(n, 4);
        QCOMPARE(e.band.GetRows(), n);
        QCOMPARE(e.band.GetCols(), 5);
        QCOMPARE(e.layerOnBound.GetCount(), n);
        QVERIFY(e.normalisedMisfit > 0);
        QVERIFY(e.depthOfInvestigation > 0);
        for (int l = 0; l < n; ++l) {
            const double best = m_analysis->m_results.finalVs(l);
            QVERIFY(e.band(l, 2) <= e.band(l, 3) && e.band(l, 3) <= e.band(l, 4));
            QVERIFY(e.band(l, 2) <= best * (1 + 1e-9) && best <= e.band(l, 4) * (1 + 1e-9));
            QCOMPARE(m_analysis->m_profile.layers[std::size_t(l)].finalVs, best);
        }
        // The reported Vs30 is that of the best model, in the range of the ensemble.
        QVERIFY(std::abs(TravelTimeVs30(m_analysis->m_profile.layers) - e.vs30) < 1e-6 * e.vs30);
        QVERIFY(e.vs30P10 <= e.vs30 && e.vs30 <= e.vs30P90);
    }

    void manyStartStopKeepsTheBestModelSoFar()
    {
        MakePage(8);
        m_page->StartsList()->setCurrentIndex(2);
        m_page->CollectProfile();
        m_analysis->m_profile.iterationCount = 10;
        m_analysis->m_profile.targetMisfit = 0.0;
        CDialogAutomatica dialog(m_page.get(), m_page.get(), m_page->SearchStarts());
        QCOMPARE(dialog.Starts(), 40);
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.LogText().contains(QStringLiteral("Start 1 of 40")), 60000);
        dialog.OnStop();
        QVERIFY(!dialog.StopButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(dialog.CloseButton()->isVisible(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Finished(), 10000);
        QVERIFY2(dialog.LogText().contains(QStringLiteral(
                     "===Search stopped by user: the best profile found so far is kept===")),
            qPrintable(dialog.LogText()));
        QVERIFY(dialog.StartsProgress()->value() < 40);
        QVERIFY(m_page->Validity().searchValid);
        QVERIFY(m_page->Ensemble().valid);
        QVERIFY(m_page->Ensemble().stopped);
        QCOMPARE(m_analysis->m_results.finalVs.GetCount(), 9);
        QVERIFY(m_analysis->m_results.finalVs(0) > 0);
    }

    void aSearchWithoutFinalCurvesKeepsItsModelAndWarns()
    {
        // The start taken as it is (no iteration), with zero densities its final forward runs
        // fail: the one-start search keeps the model, says the curves are missing and draws
        // none of them.
        MakePage(3);
        m_page->SetSearchDialogRunner([this] {
            for (LayerRecord &layer : m_analysis->m_profile.layers)
                layer.density = 0;
            m_analysis->m_profile.iterationCount = 0;
            RunDialogToTheEnd(m_page.get());
        });
        m_page->OnAutomaticInversion();
        QVERIFY(m_page->Validity().searchValid);
        QVERIFY(m_page->NextButton()->isEnabled());
        QVERIFY2(m_page->MisfitLabelText().contains(QStringLiteral(
                     "Warning: the final curves of the best model could not be computed")),
            qPrintable(m_page->MisfitLabelText()));
        QCOMPARE(m_analysis->m_results.finalVs.GetCount(), 4);
        QCOMPARE(m_analysis->m_results.finalVs(0), m_analysis->m_profile.layers[0].vs);
        int computed = 0;
        for (const auto &object : m_page->DispersionChart()->Region().Objects()) {
            const auto *line = dynamic_cast<const CLineSeries *>(object.get());
            if (line && object->Name() != QStringLiteral("Curva sperimentale")) {
                QCOMPARE(line->PointCount(), 0);
                ++computed;
            }
        }
        QVERIFY(computed >= 2);
    }

    void pageShowsTheBandAndFindingsAndTheDocumentKeepsThem()
    {
        MakePage(3);
        m_page->StartsList()->setCurrentIndex(1);
        m_page->SetSearchDialogRunner([this] {
            m_analysis->m_profile.iterationCount = 2;
            RunDialogToTheEnd(m_page.get());
        });
        m_page->OnAutomaticInversion();
        QVERIFY(m_page->Ensemble().valid);
        const QString misfit = m_page->MisfitLabelText();
        QVERIFY(misfit.startsWith(
            QStringLiteral("Error between apparent curve and experimental curve: ")));
        QVERIFY(misfit.contains(QStringLiteral("Normalised error (residual over standard "
                                               "deviation, RMS): ")));
        QVERIFY(misfit.contains(QStringLiteral("Vs30: ")));
        QVERIFY(misfit.contains(QStringLiteral("Depth of investigation: ")));
        QVERIFY(m_page->NextButton()->isEnabled());

        // The ensemble band: 10 %, median and 90 % lines beside the initial and final Vs.
        QCOMPARE(m_page->ProfileChart()->Region().Count(), 2);
        m_page->UncertaintyList()->setCurrentIndex(EnsembleBandLevel);
        emit m_page->UncertaintyList()->activated(EnsembleBandLevel);
        QCOMPARE(m_page->ProfileChart()->Region().Count(), 5);
        bool reported = false;
        for (const ProfileReportItem &item : m_page->ReportItems())
            reported = reported || item.text.startsWith(QStringLiteral("Vs30: "));
        QVERIFY(reported);

        // The chart's text export gains the band's three columns.
        QTemporaryDir dir;
        const QString exported = dir.filePath(QStringLiteral("profile.txt"));
        QVERIFY(WriteProfileExport(exported, *m_analysis, &m_page->Ensemble()));
        QFile file(exported);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> rows = file.readAll().split('\n');
        QCOMPARE(rows[1], QByteArray("% 4x5\r"));
        const QList<QByteArray> last = rows[6].trimmed().split('\t');
        QCOMPARE(last.size(), 5);
        QCOMPARE(last[0], QByteArray("Inf"));
        QCOMPARE(last[4].toDouble(), std::round(m_page->Ensemble().band(3, 4) * 1e6) / 1e6);

        // Round trip through the document.
        CMatrixArchive out;
        m_page->SaveSection(out, 1);
        DispersionAnalysis other;
        CGUIProfiloIniziale restored(nullptr, nullptr, &other);
        restored.m_bRestoring = true;
        restored.Create();
        CMatrixArchive in(out.GetBuffer());
        restored.LoadSection(in, 1);
        QVERIFY(in.AtEnd());
        const EnsembleSummary &a = m_page->Ensemble(), &b = restored.Ensemble();
        QVERIFY(b.valid);
        QCOMPARE(b.starts, a.starts);
        QCOMPARE(b.normalisedMisfit, a.normalisedMisfit);
        QCOMPARE(b.vs30P10, a.vs30P10);
        QCOMPARE(b.vs30P90, a.vs30P90);
        QCOMPARE(b.depthOfInvestigation, a.depthOfInvestigation);
        QVERIFY(SameMatrix(b.band, a.band));
        QVERIFY(SameMatrix(b.layerOnBound, a.layerOnBound));
        QCOMPARE(restored.ProfileChart()->Region().Count(), 5);

        // A trial and error run replaces the model: its findings go.
        CMessageBoxCapture boxes;
        m_page->OnTrialAndError();
        QVERIFY(!m_page->Ensemble().valid);
        QCOMPARE(m_analysis->m_results.depthOfInvestigation, 0.0);
        QCOMPARE(m_page->ProfileChart()->Region().Count(), 2);
    }

    void sectionWithFindingsIsTheOlderSectionFollowedByThem()
    {
        MakePage(3);
        CMessageBoxCapture boxes;
        m_page->OnTrialAndError();
        ProfilePageState state;
        state.uncertaintyIndex = EnsembleBandLevel;
        CMatrixArchive older;
        WriteProfileSection(older, 1, *m_page->Grid()->Model(), state, *m_analysis);
        state.ensemble.valid = true;
        state.ensemble.starts = 40;
        state.ensemble.vs30 = 250;
        state.ensemble.vs30P10 = 240;
        state.ensemble.vs30P90 = 270;
        state.ensemble.depthOfInvestigation = 21.5;
        const int n = int(m_analysis->m_profile.layers.size());
        state.ensemble.band = CMatrix(n, 5);
        state.ensemble.layerOnBound = CMatrix(n, 1);
        CMatrixArchive newer;
        WriteProfileSection(newer, 1, *m_page->Grid()->Model(), state, *m_analysis);
        const std::vector<std::uint8_t> &a = older.GetBuffer(), &b = newer.GetBuffer();
        QVERIFY(b.size() > a.size());
        // Only the section version differs in the common part: 1.0 then 2.0.
        int differing = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            differing += a[i] != b[i] ? 1 : 0;
        QVERIFY(differing >= 1 && differing <= 4);
        CMatrixArchive in(older.GetBuffer());
        ProfilePageState back;
        DispersionAnalysis other;
        CGridModel table;
        ReadProfileSection(in, 1, table, back, other);
        QVERIFY(in.AtEnd());
        QVERIFY(!back.ensemble.valid);
        CMatrixArchive in2(newer.GetBuffer());
        ReadProfileSection(in2, 1, table, back, other);
        QVERIFY(in2.AtEnd());
        QVERIFY(back.ensemble.valid);
        QCOMPARE(back.ensemble.depthOfInvestigation, 21.5);
    }

    void warningsNameTheLayersOnTheirBoundAndAShallowInvestigation()
    {
        EnsembleSummary e;
        QVERIFY(EnsembleText(e).isEmpty());
        e.valid = true;
        e.starts = 10;
        e.vs30 = 300;
        e.vs30P10 = 280;
        e.vs30P90 = 330;
        e.depthOfInvestigation = 45;
        e.layerOnBound = CMatrix(3, 1);
        QVERIFY(EnsembleWarnings(e).isEmpty());
        QVERIFY(EnsembleText(e).contains(QStringLiteral("range 10-90%: 280 - 330 m/s, 10 starts")));
        e.layerOnBound.Set(1, 1.0);
        e.layerOnBound.Set(2, 1.0);
        QCOMPARE(EnsembleWarnings(e),
            QStringLiteral("Warning: the Vs of layer(s) 2, 3 lies on its search bound"));
        e.layerOnBound.Set(0, 2.0);
        e.layerOnBound.Set(2, 2.0);
        QCOMPARE(EnsembleWarnings(e),
            QStringLiteral("Warning: the Vs of layer(s) 2 lies on its search bound\r\n"
                           "Warning: the band of layer(s) 1, 3 reaches its search bound: the "
                           "data allow Vs beyond it"));
        e.layerOnBound = CMatrix(3, 1);
        e.depthOfInvestigation = 18.25;
        QVERIFY(EnsembleWarnings(e).startsWith(
            QStringLiteral("Warning: Vs30 depends on depths below the depth of investigation")));
        QVERIFY(EnsembleText(e).endsWith(EnsembleWarnings(e)));
    }

    void sectionReadsBackTheTableControlsAndResults()
    {
        MakePage(3);
        CMessageBoxCapture boxes;
        m_page->OnTrialAndError();
        QVERIFY(m_page->Validity().forwardValid);
        m_page->Grid()->Model()->EndEdit(2, ColWaterTable, QStringLiteral("Yes"));
        CMatrixArchive out;
        m_page->SaveSection(out, 1);

        DispersionAnalysis other;
        CGUIProfiloIniziale restored(nullptr, nullptr, &other);
        restored.m_bRestoring = true;
        restored.Create();
        CMatrixArchive in(out.GetBuffer());
        restored.LoadSection(in, 1);
        QVERIFY(in.AtEnd());
        QVERIFY(*restored.Grid()->Model() == *m_page->Grid()->Model());
        QVERIFY(restored.Validity().forwardValid);
        QCOMPARE(other.m_results.apparentMisfit, m_analysis->m_results.apparentMisfit);
        QCOMPARE(
            other.m_profile.layers[1].finalVsText, m_analysis->m_profile.layers[1].finalVsText);
        QCOMPARE(restored.ProfileChart()->Region().Count(), 2);
    }
};

QTEST_MAIN(tst_CGUIProfiloIniziale)
#include "tst_CGUIProfiloIniziale.moc"
