// The profile page and the automatic-search dialog, offscreen, with the real runner and with
// stand-ins: trial and error, a search with its log and chart, Stop, a runner that dies, the
// input check and the document section.
#include "app/chart/CChartWidget.h"
#include "app/controls/CGridCtrl.h"
#include "app/controls/CGridModel.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/profile/CDialogAutomatica.h"
#include "app/profile/CGUIProfiloIniziale.h"
#include "app/profile/CProfileTable.h"
#include "app/profile/ProfileReport.h"
#include "app/results/ReportWriter.h"
#include "matrix/CMatrixArchive.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
