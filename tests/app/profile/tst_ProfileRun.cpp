// The profile page's engine runs, progress and exports: jobs built from the analysis, the real
// runner on a curve computed from a known profile, stand-in runners for the outcomes the real
// one cannot be made to give, and the two chart exports read back.
#include "app/profile/ProfileReport.h"
#include "app/profile/ProfileRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// Three layers over a half-space, every field the runs read.
void SetProfile(DispersionAnalysis &a, const std::vector<double> &vs)
{
    const double h[] = { 3, 5, 8, 0 };
    a.m_profile.layers.clear();
    for (std::size_t l = 0; l < vs.size(); ++l) {
        LayerRecord r;
        r.thickness = h[l];
        r.density = 1800 + 100 * double(l);
        r.poisson = 0.3;
        r.vs = vs[l];
        r.vsMin = 0.5 * vs[l];
        r.vsMax = 2 * vs[l];
        r.finalVs = vs[l];
        a.m_profile.layers.push_back(r);
    }
    a.m_profile.receiverSpacing = 1.0;
    a.m_profile.receiverCount = 24;
    a.m_profile.modeCount = 2;
    a.m_profile.solverParameter = 75;
    a.m_profile.iterationCount = 5;
    a.m_profile.targetMisfit = 0.01;
}

void SetCurve(DispersionAnalysis &a, const std::vector<double> &f, const std::vector<double> &v)
{
    std::vector<double> sd, hi, lo;
    for (double x : v) {
        sd.push_back(0.05 * x);
        hi.push_back(1.15 * x);
        lo.push_back(0.85 * x);
    }
    a.m_curve.frequencies = CMatrix::Column(f);
    a.m_curve.velocities = CMatrix::Column(v);
    a.m_curve.standardDeviations = CMatrix::Column(sd);
    a.m_curve.maxVelocities = CMatrix::Column(hi);
    a.m_curve.minVelocities = CMatrix::Column(lo);
}

EngineRunRequest Request(const QString &runner)
{
    EngineRunRequest r;
    r.runnerPath = runner.toStdString();
    return r;
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

QStringList Lines(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QString text = QString::fromLatin1(f.readAll());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class tst_ProfileRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offsetsSpanTheSpreadAndOneReceiverHasOne()
    {
        const CMatrix one = ReceiverOffsets(2.5, 1);
        QCOMPARE(one.GetCount(), 1);
        QCOMPARE(one(0), 2.5);
        const CMatrix four = ReceiverOffsets(2.0, 4);
        QCOMPARE(four.GetCount(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(four(i), 2.0 * (i + 1));
    }

    void jobsCarryTheProfileInEngineUnitsAndFixedBoundsAsVs()
    {
        DispersionAnalysis a;
        SetProfile(a, { 150, 250, 350, 500 });
        SetCurve(a, { 10, 20 }, { 200, 180 });
        a.m_profile.layers[1].vsFixed = true;
        const SearchJob s = BuildSearchJob(a);
        QVERIFY2(CheckSearchJob(s).empty(), CheckSearchJob(s).c_str());
        QCOMPARE(s.thickness.GetCount(), 3);
        QCOMPARE(s.density(2), 2.0);
        QCOMPARE(s.vsMin(1), 250.0);
        QCOMPARE(s.vsMax(1), 250.0);
        QCOMPARE(s.vsMin(0), 75.0);
        QCOMPARE(s.targetMisfit, 0.01);
        QCOMPARE(s.iterations, 5);
        QCOMPARE(s.deviations(1), 0.05 * 180);
        const ForwardJob f = BuildForwardJob(a);
        QVERIFY(CheckForwardJob(f).empty());
        QCOMPARE(f.solverParameter, 75.0f);
        QCOMPARE(f.offsets.GetCount(), 24);
    }

    void runnerEndingWellWithoutResultIsASuccessWithNoMisfits()
    {
        QTemporaryDir dir;
        DispersionAnalysis a;
        SetProfile(a, { 150, 250, 350, 500 });
        SetCurve(a, { 10, 20 }, { 200, 180 });
        ProfileValidity v;
        v.searchValid = true;
        const ProfileRunReport report =
            RunForwardJob(a, v, Request(Script(dir, "quiet", "exit 0")));
        QCOMPARE(report.code, 0);
        QVERIFY(!v.forwardValid);
        QVERIFY(!v.searchValid);
        const QString text = MisfitText(a.m_results.apparentMisfit, a.m_results.effectiveMisfit);
        QCOMPARE(text.count(QStringLiteral(">100%")), 2);

        const ProfileRunReport failed = RunForwardJob(a, v, Request(Script(dir, "fail", "exit 1")));
        QCOMPARE(failed.code, 1);
        QVERIFY(!failed.notStarted);
        const ProfileRunReport missing =
            RunForwardJob(a, v, Request(dir.filePath(QStringLiteral("none"))));
        QCOMPARE(missing.code, 1);
        QVERIFY(missing.notStarted);
        QVERIFY(missing.message.startsWith(QStringLiteral("Could not start process.")));
    }

    void trialAndErrorThenSearchRecoverAKnownProfile()
    {
        // The experimental curve is the apparent curve of the true profile, from a first run.
        DispersionAnalysis truth;
        SetProfile(truth, { 150, 250, 350, 500 });
        std::vector<double> f;
        for (int i = 0; i < 20; ++i)
            f.push_back(6.0 + 2.0 * i);
        SetCurve(truth, f, std::vector<double>(f.size(), 200.0));
        ProfileValidity v;
        QCOMPARE(RunForwardJob(truth, v, Request(QStringLiteral(VELA_RUNNER_PATH))).code, 0);
        QVERIFY(v.forwardValid);
        std::vector<double> apparent;
        for (int i = 0; i < int(f.size()); ++i)
            apparent.push_back(truth.m_results.apparentCurve(i).Modulus());
        QCOMPARE(truth.m_profile.layers[2].finalVsText, QStringLiteral("350"));

        DispersionAnalysis start;
        SetProfile(start, { 190, 320, 300, 600 });
        SetCurve(start, f, apparent);
        ProfileValidity sv;
        int notifications = 0;
        EngineRunRequest request = Request(QStringLiteral(VELA_RUNNER_PATH));
        request.progress = [&](const EngineProgress &r) {
            TakeProgress(start, r);
            ++notifications;
        };
        QCOMPARE(RunForwardJob(start, sv, request).code, 0);
        const double startMisfit = start.m_results.apparentMisfit;
        QVERIFY(startMisfit > 0.02);
        const ProfileRunReport report = RunSearchJob(start, sv, request);
        QVERIFY2(sv.searchValid, qPrintable(report.message));
        QVERIFY(notifications > 10);
        QVERIFY(start.m_search.bestMisfit > 0);
        QVERIFY(start.m_search.bestMisfit < startMisfit);
        QVERIFY(start.m_results.apparentMisfit < startMisfit);
        QVERIFY(std::fabs(start.m_results.finalVs(0) - 150) < 0.15 * 150);
        // The search's curves come on a finer grid; the export reads them at the curve's
        // frequencies, where a forward run of the final profile computes them directly.
        QVERIFY(start.m_results.frequencies.GetCount() > int(f.size()));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("d.txt"));
        QVERIFY(WriteDispersionExport(path, start));
        const QStringList lines = Lines(path);
        DispersionAnalysis check;
        std::vector<double> finalVs;
        for (int l = 0; l < 4; ++l)
            finalVs.push_back(start.m_results.finalVs(l));
        SetProfile(check, finalVs);
        SetCurve(check, f, apparent);
        ProfileValidity cv;
        QCOMPARE(RunForwardJob(check, cv, Request(QStringLiteral(VELA_RUNNER_PATH))).code, 0);
        QCOMPARE(lines.size(), 3 + int(f.size()));
        for (int i = 0; i < int(f.size()); ++i) {
            const QStringList cells = lines[3 + i].split(QLatin1Char('\t'));
            QCOMPARE(cells.size(), 2 + 6);
            const double direct = check.m_results.apparentCurve(i).Modulus();
            // Near the onset of the second mode (8 Hz) the apparent curve bends sharply and the
            // interpolation between grid points departs from it by about 1 %.
            QVERIFY2(std::fabs(cells[6].toDouble() - direct) < 0.03 * direct,
                qPrintable(lines[3 + i] + QStringLiteral(" direct %1").arg(direct)));
            QVERIFY2(std::fabs(cells[1].toDouble() - check.m_results.modalVelocities(i, 0))
                    < 0.01 * check.m_results.modalVelocities(i, 0),
                qPrintable(lines[3 + i]));
        }
        QCOMPARE(start.m_profile.layers[0].finalVsText,
            QString::asprintf("%.0f", start.m_results.finalVs(0)));
    }

    void stoppedSearchResetsResultsButKeepsTheModes()
    {
        DispersionAnalysis a;
        SetProfile(a, { 150, 250, 350, 500 });
        SetCurve(a, { 10, 14, 18, 22 }, { 220, 200, 190, 180 });
        a.m_results.modalVelocities = CMatrix(2, 2);
        a.m_results.modalVelocities.Set(0, 0, 123.0);
        std::atomic<bool> stop { false };
        EngineRunRequest request = Request(QStringLiteral(VELA_RUNNER_PATH));
        request.killRequest = &stop;
        request.progress = [&](const EngineProgress &r) {
            if (r.kind == EngineProgressKindStep
                && r.stepNumber == StepNumber(EngineStep::BeforeTrial))
                stop = true;
        };
        ProfileValidity v { true, true };
        RunSearchJob(a, v, request);
        QVERIFY(!v.forwardValid);
        QVERIFY(!v.searchValid);
        QCOMPARE(a.m_results.finalVs.GetCount(), 1);
        QCOMPARE(a.m_results.finalVs(0), 0.0);
        QCOMPARE(a.m_results.modalVelocities(0, 0), 123.0);
    }

    void searchWhoseFinalRunsFailKeepsItsModelAndSaysSo()
    {
        // No iteration takes the start as the answer; zero densities make its final forward
        // runs fail. The model stays, the curves are missing and the page can say so.
        DispersionAnalysis a;
        SetProfile(a, { 150, 250, 350, 500 });
        for (LayerRecord &layer : a.m_profile.layers)
            layer.density = 0;
        a.m_profile.iterationCount = 0;
        SetCurve(a, { 10, 14, 18, 22 }, { 220, 200, 190, 180 });
        ProfileValidity v;
        const ProfileRunReport report =
            RunSearchJob(a, v, Request(QStringLiteral(VELA_RUNNER_PATH)));
        QVERIFY2(report.message.isEmpty(), qPrintable(report.message));
        QVERIFY(report.finalCurvesMissing);
        QVERIFY(v.searchValid);
        QCOMPARE(a.m_results.finalVs.GetCount(), 4);
        QCOMPARE(a.m_results.finalVs(3), 500.0);
        QCOMPARE(a.m_profile.layers[1].finalVsText, QStringLiteral("250"));
        QCOMPARE(a.m_results.apparentCurve.GetCount(), 1);
        // It never measured a misfit: none is shown.
        QCOMPARE(KeptModelApparentMisfit(a), ProfileRunResults::NoRunMisfit);

        // A search that did measure its best model before the last trial failed shows that
        // misfit, since the final run measured none.
        a.m_results.apparentMisfit = ProfileRunResults::NoRunMisfit;
        a.m_search.currentMisfit = 0.057;
        QCOMPARE(KeptModelApparentMisfit(a), 0.057);
        const QString text = MissingCurvesText(KeptModelApparentMisfit(a));
        QVERIFY2(text.contains(QStringLiteral(": 6%")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("could not be computed")));
        a.m_results.apparentMisfit = 0.04;
        QCOMPARE(KeptModelApparentMisfit(a), 0.04);

        // A successful search has its curves.
        SetProfile(a, { 150, 250, 350, 500 });
        a.m_profile.iterationCount = 0;
        QVERIFY(!RunSearchJob(a, v, Request(QStringLiteral(VELA_RUNNER_PATH))).finalCurvesMissing);
        QVERIFY(a.m_results.apparentCurve.GetCount() > 1);
    }

    void debuggingCopiesGoOnlyWhereTheDumpFolderPoints()
    {
        DispersionAnalysis a;
        SetProfile(a, { 150, 250, 350, 500 });
        SetCurve(a, { 10, 20, 30 }, { 200, 180, 170 });
        ProfileValidity v;
        QTemporaryDir cwd;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(cwd.path());
        qunsetenv("VELA_DUMP_DIR");
        QCOMPARE(RunForwardJob(a, v, Request(QStringLiteral(VELA_RUNNER_PATH))).code, 0);
        QVERIFY(QDir(cwd.path()).entryList(QDir::Files).isEmpty());
        QTemporaryDir dumps;
        qputenv("VELA_DUMP_DIR", dumps.path().toLocal8Bit());
        QCOMPARE(RunForwardJob(a, v, Request(QStringLiteral(VELA_RUNNER_PATH))).code, 0);
        qunsetenv("VELA_DUMP_DIR");
        QDir::setCurrent(previous);
        const QStringList written = QDir(dumps.path()).entryList(QDir::Files);
        for (const char *name : { "vr.m", "effettiva.m", "teorica.m", "vsfinale.m" })
            QVERIFY2(written.contains(QString::fromLatin1(name)), name);
        QFile vs(QDir(dumps.path()).filePath(QStringLiteral("vsfinale.m")));
        QVERIFY(vs.open(QIODevice::ReadOnly));
        QVERIFY(vs.readAll().contains("vsfinalec"));
    }

    void computedValuesAreReadAtTheExperimentalFrequencies()
    {
        const CMatrix grid = CMatrix::Column({ 10, 12, 14 });
        const std::vector<double> mode { 100, 120, 0 };
        QCOMPARE(ResultValueAt(grid, mode, 11, 0), 110.0);
        QCOMPARE(ResultValueAt(grid, mode, 12, 0), 120.0);
        QCOMPARE(ResultValueAt(grid, mode, 13, 0), 0.0); // no mode above 12 Hz
        QCOMPARE(ResultValueAt(grid, mode, 5, 2), 100.0);
        // Results without matching frequencies are read row by row.
        QCOMPARE(ResultValueAt(CMatrix::Column({ 1, 2 }), mode, 11, 1), 120.0);
        QCOMPARE(ResultValueAt(CMatrix::Column({ 1, 2 }), mode, 11, 5), 0.0);
    }

    void bestMisfitIgnoresZeroTrials()
    {
        DispersionAnalysis a;
        EngineProgress r;
        r.latestTrialMisfit = 0.0;
        TakeProgress(a, r);
        QCOMPARE(a.m_search.bestMisfit, -1.0);
        r.latestTrialMisfit = 0.3;
        TakeProgress(a, r);
        r.latestTrialMisfit = 0.4;
        TakeProgress(a, r);
        QCOMPARE(a.m_search.bestMisfit, 0.3);
    }

    void misfitTextShowsPercentOrAboveHundred()
    {
        QCOMPARE(MisfitText(0.234, 1.5),
            QStringLiteral("Error between apparent curve and experimental curve: 23%\r\n"
                           "Error between effective curve and experimental curve: >100%"));
    }

    void exportsDeclareTheirColumnsAndRows()
    {
        QTemporaryDir dir;
        DispersionAnalysis a;
        SetProfile(a, { 150, 500 });
        a.m_profile.layers[0].finalVs = 160;
        a.m_profile.layers[1].finalVs = 480;
        a.m_profile.modeCount = 1;
        SetCurve(a, { 10, 20, 30 }, { 200, 180, 170 });
        a.m_results.modalVelocities = CMatrix(3, 1, { 210, 185, 171 });
        a.m_results.apparentCurve = CComplexMatrix(3, 1);
        a.m_results.effectiveCurve = CComplexMatrix(3, 1);
        a.m_results.apparentCurve.Set(1, Complex(3, 4));
        a.m_results.effectiveCurve.Set(1, Complex(6, 8));
        const QString dispersion = dir.filePath(QStringLiteral("d.txt"));
        QVERIFY(WriteDispersionExport(dispersion, a));
        const QStringList d = Lines(dispersion);
        QCOMPARE(d.size(), 6);
        QCOMPARE(d[0], QStringLiteral("%%Traces"));
        QCOMPARE(d[1], QStringLiteral("% 3x7"));
        QCOMPARE(d[2].split(QLatin1Char('\t')).size(), 7);
        const QStringList row = d[4].split(QLatin1Char('\t'));
        QCOMPARE(row.size(), 7);
        QCOMPARE(row[1].toDouble(), 185.0);
        QCOMPARE(row[3].toDouble(), 0.85 * 180);
        QCOMPARE(row[4].toDouble(), 1.15 * 180);
        QCOMPARE(row[5].toDouble(), 5.0); // apparent modulus first
        QCOMPARE(row[6].toDouble(), 10.0);

        const QString profile = dir.filePath(QStringLiteral("p.txt"));
        QVERIFY(WriteProfileExport(profile, a));
        QCOMPARE(Lines(profile),
            QStringList({ QStringLiteral("%Velocity"), QStringLiteral("% 2x2"),
                QStringLiteral("%d[m]\tvs[m/s]"), QStringLiteral("3.000000\t160.000000"),
                QStringLiteral("Inf\t480.000000") }));
    }

    void reportChapterFollowsTheLayersAndTheLastRun()
    {
        DispersionAnalysis a;
        SetProfile(a, { 150, 500 });
        a.m_profile.layers[0].description = QStringLiteral("sand");
        a.m_profile.layers[0].thicknessText = QStringLiteral("3");
        a.m_profile.layers[1].vsFixed = true;
        a.m_profile.layers[1].waterTable = true;
        using Kind = ProfileReportItem::Kind;
        const std::vector<ProfileReportItem> trial = ProfileReport(a, false, 0);
        const std::vector<ProfileReportItem> search = ProfileReport(a, true, 2);
        // The search adds its two parameters; everything else is the same.
        QCOMPARE(search.size(), trial.size() + 2);
        QCOMPARE(trial.front().text, QStringLiteral("Field profile"));
        QCOMPARE(trial[1].value, QStringLiteral("1"));
        QCOMPARE(search[6].text, QStringLiteral("Maximum error [%]"));
        QCOMPARE(search[6].value, QString::asprintf("%e", 1.0));
        int subHeadings = 0, fixed = 0, water = 0;
        for (const ProfileReportItem &item : trial) {
            subHeadings += item.kind == Kind::SubHeading;
            fixed += item.text == QStringLiteral("Vs is fixed");
            water += item.text == QStringLiteral("This layer is water table");
            if (item.text == QStringLiteral("Vp [m/s]") && item.value.isEmpty())
                QFAIL("Vp without a value");
        }
        QCOMPARE(subHeadings, 2);
        QCOMPARE(fixed, 1);
        QCOMPARE(water, 1);
        QCOMPARE(trial[6].text, QStringLiteral("Layer 1: sand"));
        QCOMPARE(trial.back().kind, Kind::ProfileChart);
        QCOMPARE(trial.back().text, QStringLiteral("Numerical Vs profile"));
        QCOMPARE(search.back().text, QStringLiteral("Velocity; incertezza 0.5 sigma"));
    }

    void uncertaintyLinesWidenWithTheCurveWidthAndTheMisfitAtTheLayersPoint()
    {
        DispersionAnalysis a;
        SetCurve(a, { 10, 20 }, { 200, 100 });
        a.m_results.finalVs = CMatrix::Column({ 300, 400 });
        a.m_results.frequencies = CMatrix::Column({ 10, 20 });
        a.m_results.apparentCurve = CComplexMatrix(2, 1);
        a.m_results.apparentCurve.Set(0, Complex(220, 0)); // 10 % above the point
        a.m_results.apparentCurve.Set(1, Complex(100, 0)); // on the point
        // Layer 1 uses point 0 (width 0.3 of the +-15 % bounds), layer 2 point 1 with a width
        // wide enough to take the lower line below zero.
        const CMatrix widths = CMatrix::Column({ 0.3, 2.0 });
        const CMatrix points = CMatrix::Column({ 0, 1 });
        std::vector<double> lower, upper;
        UncertaintyProfiles(a, widths, points, UncertaintyFactor(1), &lower, &upper);
        const double c = UncertaintyFactor(1);
        QVERIFY(c > 0.05 && c < 0.1); // "0.1 sigma (8%)"
        QVERIFY(std::fabs(lower[0] - 300 * (1 - c * 0.4)) < 1e-9);
        QVERIFY(std::fabs(upper[0] - 300 * (1 + c * 0.4)) < 1e-9);
        UncertaintyProfiles(a, widths, points, UncertaintyFactor(3), &lower, &upper);
        QCOMPARE(lower[1], 0.0);
        QVERIFY(upper[1] > 400 * 2);
        QVERIFY(UncertaintyFactor(1) < UncertaintyFactor(2));
        QVERIFY(UncertaintyFactor(2) < UncertaintyFactor(3));
        QCOMPARE(UncertaintyFactor(0), 0.0);
    }

    void profileStepLineDrawsTheHalfSpaceTenMetresThick()
    {
        const StepLine line = ProfileStepLine({ 3, 5 }, { 100, 200, 300 });
        QCOMPARE(line.depth, (std::vector<double> { 0, 3, 3, 8, 8, 18 }));
        QCOMPARE(line.vs, (std::vector<double> { 100, 100, 200, 200, 300, 300 }));
    }
};

QTEST_GUILESS_MAIN(tst_ProfileRun)
#include "tst_ProfileRun.moc"
