// The document vela-cli analyse writes, opened in VELA: every page of the analysis is there,
// the results page on display, each page holding what the command printed, and saving it again
// gives the same sections (nothing a page keeps was left out or made up).
#include "CliTestSupport.h"
#include "SyntheticShot.h"

#include "app/controls/CGridModel.h"
#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/page/CDesktopOpen.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/profile/CGUIProfiloIniziale.h"
#include "app/profile/CProfileTable.h"
#include "app/shell/CMainFrame.h"
#include "app/shell/CWinQuiverDoc.h"
#include "app/shell/CWinQuiverView.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <cmath>
#include <map>
#include <sstream>

class tst_AnalyseDocument : public QObject
{
    Q_OBJECT

private slots:
    void documentOpensOnTheResultsWithEveryPage();
};

void tst_AnalyseDocument::documentOpensOnTheResultsWithEveryPage()
{
    const auto previousOpen = CDesktopOpen::SetHandler([](const QString &) { return true; });
    CMessageBoxCapture boxes;
    clitest::TempDir dir;
    const std::string record =
        dir.Write("shot.txt", synthshot::HalfSpaceShot(synthshot::RayleighRatio(0.25) * 300.0));
    const std::string vla = dir.Path("shot.vla");
    const clitest::CliResult run = clitest::RunCli(dir,
        "analyse '" + record + "' --dx 2 --dt 1 --band 8 45 --iterations 3 --layers 5 --out '" + vla
            + "'");
    QVERIFY2(run.exitCode == 0, run.err.c_str());
    std::map<std::string, std::string> values;
    std::vector<double> finalVs;
    std::istringstream out(run.out);
    std::string line;
    while (std::getline(out, line)) {
        const std::size_t colon = line.find(": ");
        if (colon != std::string::npos)
            values[line.substr(0, colon)] = line.substr(colon + 2);
        else if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
            finalVs.push_back(std::stod(line.substr(line.rfind(',') + 1)));
    }
    QCOMPARE(int(finalVs.size()), 6);

    CMainFrame frame;
    const QString path = QString::fromStdString(vla);
    QVERIFY(frame.OpenDocument(path));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(boxes.requests.size(), 0);
    CWinQuiverView *view = frame.View();
    QCOMPARE(view->CurrentStep(), 30);
    for (int step : { 5, 10, 15, 20, 30 })
        QVERIFY2(view->PageOfStep(step), qPrintable(QString::number(step)));
    QVERIFY(!view->PageOfStep(12));

    auto *data = qobject_cast<CGUIRispostaSperimentale1 *>(view->PageOfStep(5));
    QVERIFY(data);
    QCOMPARE(data->Traces().traceCount, 24);
    QCOMPARE(data->Traces().sampleCount, 1024);

    const DispersionAnalysis &analysis = view->Analysis();
    QCOMPARE(analysis.m_active.receiverSpacing, 2.0);
    QCOMPARE(analysis.m_active.receiversUsed, 24);
    QCOMPARE(analysis.m_curve.PointCount(), std::stoi(values.at("picked_points")));
    // Printed with seven significant digits.
    const double apparent = std::stod(values.at("misfit_apparent"));
    QVERIFY(std::abs(analysis.m_results.apparentMisfit - apparent) <= 1e-6 * apparent);

    auto *profile = qobject_cast<CGUIProfiloIniziale *>(view->PageOfStep(20));
    QVERIFY(profile);
    QCOMPARE(profile->Table()->LayerCount(), 5);
    for (int row = 1; row <= 6; ++row)
        QCOMPARE(profile->Table()->Grid()->GetItemText(row, ColFinalVs).toDouble(),
            finalVs[std::size_t(row - 1)]);

    // The results page: the category the command printed, in its status line.
    const QString status =
        view->PageOfStep(30)->findChild<QLineEdit *>(QStringLiteral("statusEdit"))->text();
    QVERIFY2(
        status.endsWith(QString::fromStdString(" " + values.at("category"))), qPrintable(status));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    const std::vector<std::uint8_t> again = frame.Document()->DocumentBytes();
    const QByteArray resaved(reinterpret_cast<const char *>(again.data()), qsizetype(again.size()));
    QCOMPARE(resaved.size(), written.size());
    // The data page takes the mean out of the traces once more when it reads them, which may
    // move their last bits; every section after the data page's is compared byte for byte.
    const QByteArray spectrumFrame("\x07Section\x03\x00\x00\x00", 12);
    const qsizetype from = written.indexOf(spectrumFrame);
    QVERIFY(from > 0);
    QCOMPARE(resaved.indexOf(spectrumFrame), from);
    QCOMPARE(resaved.left(from).left(120), written.left(from).left(120));
    const QByteArray rest = resaved.mid(from);
    qsizetype at = 0;
    while (at < rest.size() && rest[at] == written[from + at])
        ++at;
    QVERIFY2(at == rest.size(),
        qPrintable(QStringLiteral("first difference at byte %1").arg(from + at)));
    CDesktopOpen::SetHandler(previousOpen);
}

QTEST_MAIN(tst_AnalyseDocument)
#include "tst_AnalyseDocument.moc"
