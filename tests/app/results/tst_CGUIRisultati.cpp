// The results page's wiring: the profile summary, the answers passed on and shown, the codes
// beside row 0, the buttons' requests, and its document section read back equal (or refused
// whole when damaged).
#include "app/controls/CGridCtrl.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/results/CGUIRisultati.h"
#include "app/results/ReportWriter.h"
#include "app/results/ResultsForm.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrixArchive.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

// 10 m at 300 m/s, 10 m at 500 m/s over 700 m/s: Vs30 443.7 m/s.
DispersionAnalysis StiffSite()
{
    DispersionAnalysis analysis;
    const double rows[][4] = { { 10, 300, 0.3, 1800 }, { 10, 500, 0.3, 1900 },
        { 0, 700, 0.25, 2000 } };
    double depth = 0.0;
    for (const auto &row : rows) {
        LayerRecord layer;
        layer.thickness = row[0];
        depth += row[0];
        layer.depth = depth;
        layer.vs = row[1];
        layer.poisson = row[2];
        layer.density = row[3];
        layer.description = QStringLiteral("unit %1").arg(analysis.m_profile.layers.size() + 1);
        analysis.m_profile.layers.push_back(layer);
    }
    return analysis;
}

QByteArray SectionOf(CGUIRisultati &page)
{
    CMatrixArchive ar;
    page.SaveSection(ar, 1);
    return QByteArray(
        reinterpret_cast<const char *>(ar.GetBuffer().data()), qsizetype(ar.GetBuffer().size()));
}

} // namespace

class tst_CGUIRisultati : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startShowsTheProfileAndVs30WithNoCategory();
    void answersLeadToTheCategoryAndHighlightIt();
    void dontKnowAsksToVerifyTheSoil();
    void codesInForceTodayAskOnlyWhatTheyNeed();
    void offsetMovesTheReferencePlane();
    void buttonsSendTheirRequests();
    void sectionReadsBackEqualUnderEveryCode();
    void damagedSectionChangesNothing();
    void reportChapterSaysWhatWasAnswered();
    void sectionWithoutAPageEqualsThePagesOwn();
    void rangeAndDepthOfInvestigationOnThePageAndInTheReport();

private:
    template <typename T> T *Find(const char *name)
    {
        T *child = m_page->findChild<T *>(QLatin1String(name));
        if (!child)
            qFatal("no child %s", name);
        return child;
    }

    DispersionAnalysis m_analysis;
    std::unique_ptr<CGUIRisultati> m_page;
    std::unique_ptr<CMessageBoxCapture> m_boxes;
};

void tst_CGUIRisultati::init()
{
    m_boxes = std::make_unique<CMessageBoxCapture>();
    m_analysis = StiffSite();
    m_page = std::make_unique<CGUIRisultati>(nullptr, nullptr, &m_analysis);
    m_page->Create();
    m_page->resize(1200, 800);
    m_page->show();
}

void tst_CGUIRisultati::cleanup()
{
    m_page.reset();
    m_boxes.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_CGUIRisultati::startShowsTheProfileAndVs30WithNoCategory()
{
    auto *summary = Find<CGridCtrl>("summaryGrid");
    QCOMPARE(summary->GetRowCount(), 4);
    QCOMPARE(summary->GetItemText(3, 2), QStringLiteral("oo"));
    QCOMPARE(summary->GetItemText(2, 3), QStringLiteral("20"));
    QCOMPARE(summary->GetItemText(2, 7), QStringLiteral("500"));
    // Vp of Poisson 0.25 is sqrt(3) Vs.
    QCOMPARE(summary->GetItemText(3, 9), QStringLiteral("1212"));
    QVERIFY(summary->IsCellReadOnly(1, 2));
    QCOMPARE(Find<QLineEdit>("averageEdit")->text(), QStringLiteral("443"));
    QVERIFY(Find<QLineEdit>("statusEdit")->text().isEmpty());
    QVERIFY(!Find<QLineEdit>("offsetEdit")->isVisible());
    QVERIFY(Find<QRadioButton>("yes1")->isEnabled());
    QVERIFY(!Find<QRadioButton>("yes2")->isEnabled());
    QCOMPARE(Find<QTableWidget>("categoryTable")->rowCount(), 7);
    // The bed-rock list: every layer, then "Not found".
    QCOMPARE(Find<QComboBox>("bedrockCombo")->count(), 4);
}

void tst_CGUIRisultati::answersLeadToTheCategoryAndHighlightIt()
{
    Find<QRadioButton>("yes1")->click();
    QVERIFY(Find<QRadioButton>("yes2")->isEnabled());
    Find<QRadioButton>("no2")->click();
    QVERIFY(Find<QLineEdit>("statusEdit")->text().isEmpty()); // B waits for row 6
    QVERIFY(Find<QRadioButton>("yes6")->isEnabled());
    Find<QRadioButton>("yes6")->click();
    QCOMPARE(Find<QLineEdit>("statusEdit")->text(), QStringLiteral("Soil type B"));
    auto *table = Find<QTableWidget>("categoryTable");
    for (int row = 0; row < table->rowCount(); ++row) {
        const bool highlighted = table->item(row, 1)->background() == m_page->palette().highlight();
        QCOMPARE(highlighted, table->item(row, 0)->text() == QLatin1String("B"));
    }
    // Changing an earlier answer clears what followed it.
    Find<QRadioButton>("no1")->click();
    QCOMPARE(Find<QLineEdit>("statusEdit")->text(), QStringLiteral("Soil type S2"));
    QVERIFY(!Find<QRadioButton>("yes6")->isChecked());
    QVERIFY(!Find<QRadioButton>("yes6")->isEnabled());
}

void tst_CGUIRisultati::dontKnowAsksToVerifyTheSoil()
{
    Find<QRadioButton>("dontKnow1")->click();
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].text,
        QStringLiteral("Verify soil nature before proceeding with soil classification"));
    QCOMPARE(m_boxes->requests[0].caption, QStringLiteral("Error"));
    QVERIFY(!Find<QRadioButton>("yes2")->isEnabled());
}

void tst_CGUIRisultati::codesInForceTodayAskOnlyWhatTheyNeed()
{
    Find<QRadioButton>("codeNtc2018")->click();
    QCOMPARE(Find<QTableWidget>("categoryTable")->rowCount(), 5);
    QVERIFY(Find<QLineEdit>("offsetEdit")->isVisible());
    QVERIFY(!Find<QRadioButton>("yes1")->isVisible());
    QVERIFY(!Find<QRadioButton>("yes5")->isVisible());
    QVERIFY(Find<QRadioButton>("no2")->isEnabled());
    Find<QRadioButton>("no2")->click();
    // No bed rock: 30 m averaged, the same as Vs30; B, and the substrate list says so.
    QCOMPARE(Find<QLineEdit>("averageEdit")->text(), QStringLiteral("443"));
    QCOMPARE(Find<QLineEdit>("statusEdit")->text(), QStringLiteral("Soil type B"));
    QCOMPARE(Find<QComboBox>("bedrockCombo")->currentIndex(), 3);
    Find<QRadioButton>("yes2")->click();
    QVERIFY(Find<QLineEdit>("statusEdit")->text().contains(QLatin1String("site-specific")));

    Find<QRadioButton>("codeAsce722")->click();
    QCOMPARE(Find<QTableWidget>("categoryTable")->rowCount(), 9);
    QVERIFY(!Find<QComboBox>("bedrockCombo")->isVisible());
    Find<QRadioButton>("no2")->click();
    // 30.48 / (10/300 + 10/500 + 10.48/700) = 446.2 m/s: class C.
    QCOMPARE(Find<QLineEdit>("averageEdit")->text(), QStringLiteral("446"));
    QCOMPARE(Find<QLineEdit>("statusEdit")->text(), QStringLiteral("Soil type C"));

    // Back to the old definitions: the offset field goes away.
    Find<QRadioButton>("no0")->click();
    QVERIFY(!Find<QLineEdit>("offsetEdit")->isVisible());
    QCOMPARE(Find<QTableWidget>("categoryTable")->rowCount(), 7);
    QVERIFY(Find<QRadioButton>("yes1")->isVisible());
}

void tst_CGUIRisultati::offsetMovesTheReferencePlane()
{
    Find<QRadioButton>("yes0")->click();
    auto *offset = Find<QLineEdit>("offsetEdit");
    QVERIFY(offset->isVisible());
    Find<QRadioButton>("yes1")->click();
    offset->selectAll();
    QTest::keyClicks(offset, QStringLiteral("5,0"));
    // 30 / (5/300 + 10/500 + 15/700) = 516.4 m/s, and the answers start again.
    QCOMPARE(Find<QLineEdit>("averageEdit")->text(), QStringLiteral("516"));
    QVERIFY(!Find<QRadioButton>("yes1")->isChecked());
    QCOMPARE(m_page->Classification().Offset(), 5.0);
}

void tst_CGUIRisultati::buttonsSendTheirRequests()
{
    QSignalSpy gotoStep(m_page.get(), &CChildDialog::GotoStep);
    QSignalSpy report(m_page.get(), &CChildDialog::WriteReportRequest);
    Find<QPushButton>("previousButton")->click();
    QCOMPARE(gotoStep.size(), 1);
    QCOMPARE(gotoStep[0], (QVariantList { 30, 20 }));
    Find<QPushButton>("saveButton")->click();
    QCOMPARE(report.size(), 1);
    m_boxes->answer = CMessageBox::Answer::No;
    Find<QPushButton>("exitButton")->click();
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(
        m_boxes->requests[0].text, QStringLiteral("Are you sure you want to quit the program?"));
    QCOMPARE(m_boxes->requests[0].caption, QStringLiteral("Confirm exit"));
    QVERIFY(m_page->isVisible());
    m_boxes->answer = CMessageBox::Answer::Yes;
    Find<QPushButton>("exitButton")->click();
    QVERIFY(!m_page->isVisible());
}

void tst_CGUIRisultati::sectionReadsBackEqualUnderEveryCode()
{
    const char *codes[] = { nullptr, "yes0", "no0", "codeNtc2018", "codeAsce722" };
    for (const char *code : codes) {
        qInfo() << "definitions chosen with" << (code ? code : "nothing");
        m_page->InitPage();
        if (code)
            Find<QRadioButton>(code)->click();
        if (code && QLatin1String(code) != QLatin1String("no0")) {
            auto *offset = Find<QLineEdit>("offsetEdit");
            offset->selectAll();
            QTest::keyClicks(offset, QStringLiteral("2.5"));
        }
        // Answer through the page, as the user does, with the plain answers.
        for (const char *name : { "yes1", "no2", "no3", "no4", "no5", "yes6" }) {
            auto *radio = Find<QRadioButton>(name);
            if (radio->isEnabled() && radio->isVisible())
                radio->click();
        }
        const QByteArray bytes = SectionOf(*m_page);
        const QString status = Find<QLineEdit>("statusEdit")->text();
        const QString average = Find<QLineEdit>("averageEdit")->text();

        DispersionAnalysis other;
        CGUIRisultati restored(nullptr, nullptr, &other);
        restored.m_bRestoring = true;
        restored.Create();
        CMatrixArchive in(bytes.constData(), std::size_t(bytes.size()));
        restored.LoadSection(in, 1);
        QVERIFY(in.AtEnd());
        QCOMPARE(SectionOf(restored), bytes);
        QCOMPARE(restored.findChild<QLineEdit *>("statusEdit")->text(), status);
        QCOMPARE(restored.findChild<QLineEdit *>("averageEdit")->text(), average);
        QCOMPARE(restored.findChild<CGridCtrl *>("summaryGrid")->GetItemText(2, 7),
            QStringLiteral("500"));
    }
}

void tst_CGUIRisultati::damagedSectionChangesNothing()
{
    Find<QRadioButton>("yes1")->click();
    Find<QRadioButton>("no2")->click();
    Find<QRadioButton>("yes6")->click();
    const QByteArray bytes = SectionOf(*m_page);

    m_analysis.m_profile.layers.pop_back();
    CGUIRisultati other(nullptr, nullptr, &m_analysis);
    other.Create();
    const QByteArray before = SectionOf(other);
    for (qsizetype size = 0; size < bytes.size(); ++size) {
        CMatrixArchive in(bytes.constData(), std::size_t(size));
        bool refused = false;
        try {
            other.LoadSection(in, 1);
        } catch (const CArchiveException &) {
            refused = true;
        }
        if (!refused) {
            // Only the line end of a last text line can go missing unnoticed, and there is none
            // at the end of this section.
            QFAIL(qPrintable(QStringLiteral("read %1 of %2 bytes").arg(size).arg(bytes.size())));
        }
        QCOMPARE(SectionOf(other), before);
    }
}

void tst_CGUIRisultati::reportChapterSaysWhatWasAnswered()
{
    Find<QRadioButton>("yes0")->click();
    for (const char *name : { "yes1", "no2", "yes6" })
        Find<QRadioButton>(name)->click();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.rtf"));
    ReportWriter report;
    QCOMPARE(report.Open(path), RtfOk);
    m_page->WriteReport(report);
    QVERIFY(report.Close());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    const char *expected[] = { "Final results", "Reference plane z=0 [m]", "Vs30 [m/s]",
        "You are using the definitions included in DM 14 gennaio 2008",
        "The site does belongs to classes A, B, C, D, E or S1",
        "The site is not susceptible to liquefaction or there is not sensitive clay.",
        "The mechanic characteristics of the layers gradually improve with depth", "Soil type ",
        "Type of ground", "Type S2: Deposits of liquefiable soils" };
    for (const char *text : expected)
        QVERIFY2(rtf.contains(text), text);
    QVERIFY(rtf.indexOf("443") > rtf.indexOf("Vs30 [m/s]"));
    // Rows never reached leave no sentence.
    QVERIFY(!rtf.contains("alteration layer"));
    QVERIFY(!rtf.contains("bed rock"));
}

void tst_CGUIRisultati::sectionWithoutAPageEqualsThePagesOwn()
{
    // What a program without windows writes for the same profile and answers.
    Find<QRadioButton>("codeNtc2018")->click();
    auto *offset = Find<QLineEdit>("offsetEdit");
    offset->selectAll();
    QTest::keyClicks(offset, QStringLiteral("1.5"));
    Find<QRadioButton>("no2")->click();
    CSoilClassification classification;
    classification.SetProfile(
        ResultsForm::LayersOfSummary(*Find<CGridCtrl>("summaryGrid")->Model()));
    classification.Init();
    classification.SetCode(SoilCode::Ntc2018);
    classification.SetOffset(1.5);
    classification.AnswerPlainly();
    CMatrixArchive ar;
    ResultsForm::WriteSection(
        ar, m_analysis.m_profile.layers, classification, QStringLiteral("1.5"), true);
    const QByteArray windowless(
        reinterpret_cast<const char *>(ar.GetBuffer().data()), qsizetype(ar.GetBuffer().size()));
    QCOMPARE(windowless, SectionOf(*m_page));
}

void tst_CGUIRisultati::rangeAndDepthOfInvestigationOnThePageAndInTheReport()
{
    // No search from many starts: no line.
    QVERIFY(!Find<QLabel>("ensembleLine")->isVisible());
    m_analysis.m_results.vs30P10 = 431.4;
    m_analysis.m_results.vs30P90 = 468.6;
    m_analysis.m_results.depthOfInvestigation = 22.4;
    m_page->InitPage();
    auto *line = Find<QLabel>("ensembleLine");
    QVERIFY(line->isVisible());
    QCOMPARE(line->text(),
        QStringLiteral("Vs30 of the models that fit the data (10-90%): 431 - 469 m/s; depth of "
                       "investigation: 22.4 m (warning: Vs30 depends on depths below the depth "
                       "of investigation)"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.rtf"));
    ReportWriter report;
    QCOMPARE(report.Open(path), RtfOk);
    m_page->WriteReport(report);
    QVERIFY(report.Close());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    QVERIFY(rtf.indexOf("431 - 469 m/s") > rtf.indexOf("Vs30 [m/s]"));
    // Deep enough: no warning.
    QVERIFY(!ResultsForm::EnsembleLine(400, 450, 35).contains(QStringLiteral("warning")));
}

QTEST_MAIN(tst_CGUIRisultati)
#include "tst_CGUIRisultati.moc"
