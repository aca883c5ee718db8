// The dispersion-curve page: typing with its refusals, bars in both planes, the cursor label,
// automatic points, import and export through the dialogs, Next and Previous, the section.
#include "app/chart/CChartImage.h"
#include "app/chart/CChartWidget.h"
#include "app/chart/CErrorBarSeries.h"
#include "app/controls/CGridCtrl.h"
#include "app/curve/CGUICurvaDispersione.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/page/UserMessages.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrixArchive.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <qcustomplot.h>

class tst_CGUICurvaDispersione : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void typingAddsRowsAndRefusesRepeatedFrequencies();
    void barsInBothPlanesAndTheCursorLabel();
    void automaticPointsNeedASpectrum();
    void importAndExportThroughTheDialogs();
    void nextChecksWithMessagesAndPreviousFollowsTheFlags();
    void sectionRoundTrip();
    void reportChapterHoldsTheTable();

private:
    std::unique_ptr<CGUICurvaDispersione> MakePage(DispersionAnalysis *analysis)
    {
        auto page = std::make_unique<CGUICurvaDispersione>(nullptr, nullptr, analysis);
        page->Create();
        return page;
    }
    CGridModel *Model() { return m_page->Grid()->Model(); }
    void Type(int row, const QStringList &cells)
    {
        for (int c = 0; c < cells.size(); ++c)
            Model()->EndEdit(row, c, cells[c]);
    }
    const CErrorBarSeries *Points()
    {
        for (const auto &object : m_page->ChartWidget()->Region().Objects())
            if (auto *series = dynamic_cast<const CErrorBarSeries *>(object.get()))
                return series;
        return nullptr;
    }
    QAction *Action(const char *name) { return m_page->findChild<QAction *>(QLatin1String(name)); }
    QStringList Texts()
    {
        QStringList texts;
        for (const MessageRequest &r : m_boxes->requests)
            texts << r.text;
        return texts;
    }

    DispersionAnalysis m_analysis;
    std::unique_ptr<CMessageBoxCapture> m_boxes;
    std::unique_ptr<CGUICurvaDispersione> m_page;
    QTemporaryDir m_dir;
};

void tst_CGUICurvaDispersione::init()
{
    m_analysis = DispersionAnalysis();
    m_boxes = std::make_unique<CMessageBoxCapture>(CMessageBox::Answer::Ok);
    m_page = MakePage(&m_analysis);
}

void tst_CGUICurvaDispersione::cleanup()
{
    m_page.reset();
    m_boxes.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_CGUICurvaDispersione::typingAddsRowsAndRefusesRepeatedFrequencies()
{
    auto *next = m_page->findChild<QPushButton *>(QStringLiteral("nextButton"));
    QCOMPARE(Model()->GetRowCount(), 2);
    QVERIFY(!next->isEnabled());
    // Without spectrum or points the chart opens on a plane where bars can be drawn.
    QCOMPARE(m_page->ChartWidget()->Plot()->yAxis->range().upper, 1000.0);
    QCOMPARE(m_page->ChartWidget()->Plot()->xAxis->range().upper, 100.0);
    Type(1, { "20", "200", "180", "220" });
    QCOMPARE(Model()->GetRowCount(), 3);
    QVERIFY(!next->isEnabled()); // one point
    QVERIFY(!Model()->EndEdit(2, 0, QStringLiteral("20")));
    QCOMPARE(Texts(), QStringList { "Frequency already present!" });
    QVERIFY(!Model()->EndEdit(2, 0, QStringLiteral("1O")));
    QCOMPARE(Model()->GetItemText(2, 0), QString());
    Type(2, { "8,5", "300", "270", "330" });
    QVERIFY(next->isEnabled());
    QCOMPARE(m_analysis.m_curve.PointCount(), 2);
    QCOMPARE(m_analysis.m_curve.frequencies(0), 8.5);
    const CErrorBarSeries *points = Points();
    QVERIFY(points);
    QCOMPARE(points->PointCount(), 2);
}

void tst_CGUICurvaDispersione::barsInBothPlanesAndTheCursorLabel()
{
    m_page->OnBarPicked(11, 12.5, 150.0, 250.0);
    QCOMPARE(m_page->Table().DataRowCount(), 1);
    QCOMPARE(m_page->Table().Item(0), 11);
    m_page->OnBarPicked(12, 12.5, 100.0, 120.0);
    QCOMPARE(Texts(), QStringList { "Frequency already present!" });
    QCOMPARE(m_page->Table().DataRowCount(), 1);

    auto *label = m_page->findChild<QLabel *>(QStringLiteral("cursorLabel"));
    m_page->OnCursorMoved(12.345, 201.234);
    QCOMPARE(label->text(), QStringLiteral("(12.35 Hz;201.23 m/s)"));
    m_page->findChild<QRadioButton *>(QStringLiteral("planeFpRadio"))->setChecked(true);
    QCOMPARE(m_page->Table().Plane(), CurvePlane::FrequencySlowness);
    m_page->OnCursorMoved(12.345, 4.5);
    QCOMPARE(label->text(), QStringLiteral("(12.35 Hz;0.004500 s/m)"));
    m_page->OnCursorLeft();
    QVERIFY(label->text().isEmpty());

    // f-p: a bar from 2 to 4 gives 333.333 m/s, 222.222 .. 444.444.
    m_page->OnBarPicked(13, 30.0, 2.0, 4.0);
    QCOMPARE(m_page->Table().DataRowCount(), 2);
    QCOMPARE(Model()->GetItemText(2, 1), QStringLiteral("333.333"));
    QCOMPARE(Model()->GetItemText(2, 2), QStringLiteral("222.222"));
    QCOMPARE(Model()->GetItemText(2, 3), QStringLiteral("444.444"));
    // The points are drawn as slowness x 1000 in this plane.
    const CErrorBarSeries *points = Points();
    QVERIFY(points);
    QCOMPARE(points->PointCount(), 2);
    QVERIFY(qAbs(points->Y()[1] - 3.0) < 1e-5);
    QCOMPARE(m_page->ChartWidget()->Region().LeftLabel(),
        QStringLiteral("Reciprocal phase velocity [s/m]*1000"));
}

void tst_CGUICurvaDispersione::automaticPointsNeedASpectrum()
{
    Action("automaticAction")->trigger();
    QCOMPARE(Texts(), QStringList { "Function not available" });
    QCOMPARE(m_boxes->requests[0].caption, QStringLiteral("Error"));
    m_analysis.m_bAnalysed = true;
    m_analysis.m_pickedFrequencies = CMatrix(4, 1, { 5, 10, 15, 20 });
    m_analysis.m_pickedVelocities = CMatrix(4, 1, { 400, 300, 3000, 200 });
    Action("automaticAction")->trigger();
    QCOMPARE(m_page->Table().DataRowCount(), 3);
    QCOMPARE(Model()->GetItemText(3, 0), QStringLiteral("20"));
    QCOMPARE(Model()->GetItemText(3, 3), QStringLiteral("220"));
}

void tst_CGUICurvaDispersione::importAndExportThroughTheDialogs()
{
    const QString text = m_dir.filePath(QStringLiteral("in.txt"));
    {
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("% picked by hand\r\n5 300 270 330\r\n10 250 225 275\r\n");
    }
    QString open = text;
    m_page->SetOpenChooser([&]() { return open; });
    Action("importAction")->trigger();
    QCOMPARE(m_page->Table().DataRowCount(), 2);

    // Export as Excel: the extension follows the chosen type; read back through the import.
    m_page->SetSaveChooser(
        [&]() { return qMakePair(m_dir.filePath(QStringLiteral("out")), true); });
    Action("saveAsAction")->trigger();
    QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("out.xlsx"))));
    m_page->SetSaveChooser(
        [&]() { return qMakePair(m_dir.filePath(QStringLiteral("out.xlsx")), false); });
    Action("saveAsAction")->trigger();
    QFile written(m_dir.filePath(QStringLiteral("out.txt")));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("5 300 270 330 \r\n10 250 225 275 \r\n"));

    Action("newTableAction")->trigger();
    QCOMPARE(m_page->Table().DataRowCount(), 0);
    open = m_dir.filePath(QStringLiteral("out.xlsx"));
    m_page->SetSheetChooser([]() { return std::optional<QString>(QStringLiteral("VELA")); });
    Action("importAction")->trigger();
    QCOMPARE(m_page->Table().DataRowCount(), 2);
    QCOMPARE(Model()->GetItemText(2, 3), QStringLiteral("275.00"));

    // A bad file leaves the table as it was.
    {
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("5 300 270\r\n");
    }
    open = text;
    Action("importAction")->trigger();
    QCOMPARE(Texts().last(), QStringLiteral("Format not valid"));
    QCOMPARE(m_page->Table().DataRowCount(), 2);
}

void tst_CGUICurvaDispersione::nextChecksWithMessagesAndPreviousFollowsTheFlags()
{
    QSignalSpy goTo(m_page.get(), &CChildDialog::GotoStep);
    Type(1, { "20", "200", "180", "220" });
    Type(2, { "10", "300", "320", "330" });
    auto *next = m_page->findChild<QPushButton *>(QStringLiteral("nextButton"));
    next->setEnabled(true);
    next->click();
    QCOMPARE(Texts(),
        (QStringList {
            "Velocity must not be lower than its minimum velocity", "Verify input data" }));
    QCOMPARE(goTo.count(), 0);
    Model()->EndEdit(2, 2, QStringLiteral("280"));
    next->click();
    QCOMPARE(goTo.count(), 1);
    QCOMPARE(goTo[0][0].toInt(), 15);
    QCOMPARE(goTo[0][1].toInt(), 20 + FreshPageFlag);

    auto *previous = m_page->findChild<QPushButton *>(QStringLiteral("previousButton"));
    previous->click();
    m_analysis.m_bAnalysed = true;
    previous->click();
    m_analysis.m_bPassivePrepared = true;
    previous->click();
    QCOMPARE(goTo.count(), 4);
    QCOMPARE(goTo[1][1].toInt(), 1);
    QCOMPARE(goTo[2][1].toInt(), 10);
    QCOMPARE(goTo[3][1].toInt(), 12);
}

void tst_CGUICurvaDispersione::sectionRoundTrip()
{
    Type(1, { "20", "200", "180", "220" });
    Type(2, { "10", "300", "280", "330" });
    m_page->findChild<QRadioButton *>(QStringLiteral("planeFpRadio"))->setChecked(true);
    CMatrixArchive out;
    m_page->SaveSection(out, 1);
    DispersionAnalysis restored;
    auto page = MakePage(&restored);
    CMatrixArchive in(out.GetBuffer());
    page->LoadSection(in, 1);
    QVERIFY(in.AtEnd());
    QVERIFY(page->findChild<QRadioButton *>(QStringLiteral("planeFpRadio"))->isChecked());
    QCOMPARE(page->Table().DataRowCount(), 2);
    QCOMPARE(restored.m_curve.PointCount(), 2);
    QCOMPARE(restored.m_curve.frequencies(0), 10.0);
    QVERIFY(page->findChild<QPushButton *>(QStringLiteral("nextButton"))->isEnabled());
    CMatrixArchive again;
    page->SaveSection(again, 1);
    QVERIFY(again.GetBuffer() == out.GetBuffer());
}

void tst_CGUICurvaDispersione::reportChapterHoldsTheTable()
{
    Type(1, { "20", "200", "180", "220" });
    Type(2, { "10,5", "300", "280", "330.0" });
    const QString path = m_dir.filePath(QStringLiteral("report.rtf"));
    ReportWriter report;
    QCOMPARE(report.Open(path), int(RtfOk));
    m_page->WriteReport(report);
    QCOMPARE(report.ChapterCount(), 1);
    QCOMPARE(report.TableCount(), 1);
    QVERIFY(report.Close());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    QVERIFY(rtf.contains("Dispersion curve"));
    QVERIFY(rtf.contains("V. fase min [m/s]"));
    // Rows as "%g", in table order.
    QCOMPARE(m_page->ReportTable(),
        (QList<QStringList> { { "20", "200", "180", "220" }, { "10.5", "300", "280", "330" } }));
    QVERIFY(rtf.contains("10.5"));
}

QTEST_MAIN(tst_CGUICurvaDispersione)
#include "tst_CGUICurvaDispersione.moc"
