// From the data page through the spectrum to the curve page in the whole program, saved as an
// analysis document and opened again: both pages and the analysis come back as they were.
#include "app/chart/CChartWidget.h"
#include "app/controls/CGridCtrl.h"
#include "app/curve/CGUICurvaDispersione.h"
#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/shell/CMainFrame.h"
#include "app/shell/CWinQuiverView.h"
#include "app/spectrum/CGUIRispostaSperimentale2.h"
#include "app/spectrum/DispersionAnalysis.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class tst_SpectrumCurveDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromTracesToCurveAndBackThroughTheDocument();
};

void tst_SpectrumCurveDocument::fromTracesToCurveAndBackThroughTheDocument()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString document = dir.filePath(QStringLiteral("analysis.vla"));
    CMessageBoxCapture boxes(CMessageBox::Answer::Ok);

    std::vector<CurveRow> rows;
    QByteArray spectrumBytes;
    int pickedPoints = 0;
    {
        CMainFrame frame;
        CWinQuiverView *view = frame.View();
        view->OnGotoStep(5, true);
        auto *data = view->findChild<CGUIRispostaSperimentale1 *>();
        QVERIFY(data);
        QVERIFY(data->OpenTraceFile(QStringLiteral(VELA_SAMPLES_DIR "/sample_shot.sg2")));
        data->findChild<QLineEdit *>(QStringLiteral("spacingEdit"))->setText(QStringLiteral("1"));
        data->findChild<QPushButton *>(QStringLiteral("nextButton"))->click();

        auto *spectrum = view->findChild<CGUIRispostaSperimentale2 *>();
        QVERIFY(spectrum);
        QVERIFY(view->Analysis().m_bAnalysed);
        QCOMPARE(spectrum->SpectrumChartWidget()->Region().Count(), 1);
        spectrum->findChild<QLineEdit *>(QStringLiteral("lowerLimitEdit"))->setText("5");
        spectrum->findChild<QLineEdit *>(QStringLiteral("upperLimitEdit"))->setText("60");
        spectrum->findChild<QPushButton *>(QStringLiteral("pickButton"))->click();
        QVERIFY(spectrum->State().curvePicked);
        pickedPoints = spectrum->State().curve.frequencies.GetRows();
        spectrum->findChild<QPushButton *>(QStringLiteral("nextButton"))->click();

        auto *curve = view->findChild<CGUICurvaDispersione *>();
        QVERIFY(curve);
        curve->findChild<QAction *>(QStringLiteral("automaticAction"))->trigger();
        QVERIFY(curve->Table().DataRowCount() > 2);
        QVERIFY(curve->findChild<QPushButton *>(QStringLiteral("nextButton"))->isEnabled());
        rows = curve->Table().Rows();
        const ShotRecord &rec = view->Analysis().m_active;
        spectrumBytes = QByteArray(reinterpret_cast<const char *>(rec.spectrum.GetData()),
            rec.spectrum.GetCount() * static_cast<int>(sizeof(double)));
        QVERIFY(frame.SaveDocumentTo(document));
    }

    CMainFrame frame;
    QVERIFY(frame.OpenDocument(document));
    CWinQuiverView *view = frame.View();
    const DispersionAnalysis &analysis = view->Analysis();
    QVERIFY(analysis.m_bAnalysed);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(analysis.m_active.spectrum.GetData()),
                 analysis.m_active.spectrum.GetCount() * static_cast<int>(sizeof(double))),
        spectrumBytes);
    auto *spectrum = view->findChild<CGUIRispostaSperimentale2 *>();
    QVERIFY(spectrum);
    QVERIFY(spectrum->State().curvePicked);
    QCOMPARE(spectrum->State().curve.frequencies.GetRows(), pickedPoints);
    QCOMPARE(spectrum->findChild<QLineEdit *>(QStringLiteral("upperLimitEdit"))->text(),
        QStringLiteral("60"));
    auto *curve = view->findChild<CGUICurvaDispersione *>();
    QVERIFY(curve);
    const std::vector<CurveRow> back = curve->Table().Rows();
    QCOMPARE(back.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        QVERIFY(back[i].cells == rows[i].cells);
    QCOMPARE(analysis.m_curve.PointCount(), static_cast<int>(rows.size()) - 1);
}

QTEST_MAIN(tst_SpectrumCurveDocument)
#include "tst_SpectrumCurveDocument.moc"
