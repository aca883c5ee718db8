// Wiring of the active experimental-data page: reading files through browse, the append
// question and merge rule, the field checks, Next and Previous, the document section and the
// traces export. Message boxes are captured, never shown.
#include "app/chart/CChartWidget.h"
#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/data/TraceReaders.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/page/UserMessages.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrixArchive.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>

namespace {

// A text record: `samples` rows of time (1 ms step) and `traces` columns.
QString WriteTextRecord(const QTemporaryDir &dir, const QString &name, int samples, int traces)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("% test record\n");
    for (int s = 0; s < samples; ++s) {
        QByteArray line = QByteArray::number(s * 0.001);
        for (int t = 0; t < traces; ++t)
            line += ' ' + QByteArray::number((t + 1) * ((s % 3) - 1));
        file.write(line + '\n');
    }
    return path;
}

// Element-wise equality up to the rounding that removing a mean again (every drawing does)
// leaves on mean-free traces.
bool Near(const std::vector<double> &a, const std::vector<double> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::fabs(a[i] - b[i]) > 1e-12)
            return false;
    }
    return true;
}

QString RealWorld(const QString &relative)
{
    return QStringLiteral(VELA_REALWORLD_DIR "/") + relative;
}

// The field loses the keyboard focus, as when the user clicks or tabs elsewhere.
void LoseFocus(QLineEdit *edit)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(edit, &event);
}

} // namespace

class tst_CGUIRispostaSperimentale1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void initialPageHasNextAndParametersDisabled();
    void readingAFileFillsFieldsListsAndEnablesNext();
    void cancelAtTheAppendQuestionLeavesEverythingUntouched();
    void appendWithOtherSampleCountShowsMergeMessageAndKeepsTraces();
    void appendWithSameSampleCountPlacesTracesAfter();
    void freshReadReplacesTracesAndResetsSpacing();
    void failedReadOverALoadedRecordChangesNothing();
    void failedFirstReadLeavesTheEmptyPage();
    void realRecordsProposeTheirTimeStepAndGeometry();
    void timeStepsNeedingAttentionAreAnnounced();
    void traceViewSettingsRedrawWithoutTouchingTheDocument();
    void tabWalksEveryControlInReadingOrderAndComesBack();
    void cancelledExcelSheetNameChangesNothing();
    void timeStepFieldRefusesZeroWithInvaldStep();
    void windowEndFieldRewritesDecimalComma();
    void reversedBoxMirrorsTracesAndMarksModified();
    void nextWithErrorsShowsCollectedMessageAndStays();
    void nextHandsOverInOrderAndGoesToSpectrum();
    void previousGoesToStartPage();
    void sectionRoundTripRestoresThePage();
    void sectionWithoutTracesLeavesNextDisabled();
    void stackingAddsRepeatedBlowsAndRefusesAnotherGeometry();
    void sectionKeepsStackAndSourceOffsetAndOldBytesOtherwise();
    void chartExportWritesTheTracesText();

private:
    std::unique_ptr<CGUIRispostaSperimentale1> MakePage();
    QLineEdit *Edit(const char *name)
    {
        return m_page->findChild<QLineEdit *>(QLatin1String(name));
    }
    QPushButton *Button(const char *name)
    {
        return m_page->findChild<QPushButton *>(QLatin1String(name));
    }

    QTemporaryDir m_dir;
    DispersionAnalysis m_analysis;
    std::unique_ptr<CMessageBoxCapture> m_boxes;
    std::unique_ptr<CGUIRispostaSperimentale1> m_page;
    QString m_chosenFile;
};

std::unique_ptr<CGUIRispostaSperimentale1> tst_CGUIRispostaSperimentale1::MakePage()
{
    auto page = std::make_unique<CGUIRispostaSperimentale1>(nullptr, nullptr, &m_analysis);
    page->SetFileChooser([this]() { return m_chosenFile; });
    page->Create();
    return page;
}

void tst_CGUIRispostaSperimentale1::init()
{
    m_analysis = DispersionAnalysis();
    m_boxes = std::make_unique<CMessageBoxCapture>(CMessageBox::Answer::Ok);
    m_page = MakePage();
    m_chosenFile.clear();
}

void tst_CGUIRispostaSperimentale1::cleanup()
{
    m_page.reset();
    m_boxes.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_CGUIRispostaSperimentale1::initialPageHasNextAndParametersDisabled()
{
    QVERIFY(!Button("nextButton")->isEnabled());
    QVERIFY(!Edit("timeStepEdit")->isEnabled());
    QVERIFY(!Edit("spacingEdit")->isEnabled());
    QVERIFY(!m_page->findChild<QCheckBox *>(QStringLiteral("reversedCheck"))->isEnabled());
    QCOMPARE(m_page->TraceChartWidget()->Region().Title(), QStringLiteral("Measures"));
    QCOMPARE(m_page->TraceChartWidget()->Region().LeftLabel(), QStringLiteral("Time [s]"));
}

void tst_CGUIRispostaSperimentale1::readingAFileFillsFieldsListsAndEnablesNext()
{
    m_chosenFile = WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6);
    QSignalSpy modified(m_page.get(), &CChildDialog::DocModified);
    m_page->OnBrowse();
    QVERIFY(m_page->Traces().loaded);
    QCOMPARE(Edit("fileNameEdit")->text(), m_chosenFile);
    QCOMPARE(Edit("timeStepEdit")->text(), QStringLiteral("1"));
    QCOMPARE(Edit("spacingEdit")->text(), QStringLiteral("1"));
    QCOMPARE(Edit("windowStartEdit")->text(), QStringLiteral("0"));
    QCOMPARE(Edit("windowEndEdit")->text(), QStringLiteral("9"));
    auto *last = m_page->findChild<QComboBox *>(QStringLiteral("lastReceiverCombo"));
    QCOMPARE(last->count(), 6);
    QCOMPARE(last->currentText(), QStringLiteral("6"));
    QVERIFY(Button("nextButton")->isEnabled());
    QVERIFY(Edit("timeStepEdit")->isEnabled());
    QCOMPARE(m_page->findChild<QLabel *>(QStringLiteral("informationLabel"))->text(),
        QStringLiteral("(6 receivers, 10 time samples)"));
    QVERIFY(modified.count() >= 1);
    // The concatenation hint, with its "don't show again" value name.
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].caption, QStringLiteral("Concatenate traces"));
    QCOMPARE(m_boxes->requests[0].dontShowAgainKey,
        QStringLiteral("{3BF2F8BE-5886-11DF-AA0E-E465DFD72085}"));
    // Reading removed each trace's mean from the stored traces (the spectrum and the document
    // take them so, drawn or not): 6 wiggles and the outline.
    const TraceReadResult read = ReadTraceFile(m_chosenFile);
    for (int t = 0; t < read.traces; ++t) {
        double mean = 0.0;
        for (int i = 0; i < read.samples; ++i)
            mean += read.At(i, t) / read.samples;
        QVERIFY(mean != 0.0);
        for (int i = 0; i < read.samples; ++i)
            QVERIFY(std::fabs(m_page->Traces().traces(i, t) - (read.At(i, t) - mean)) < 1e-12);
    }
    QCOMPARE(m_page->TraceChartWidget()->Region().Count(), 7);
    QCOMPARE(m_page->TraceChartWidget()->Region().LeftLabel(), QStringLiteral("Time [s]"));
}

void tst_CGUIRispostaSperimentale1::cancelAtTheAppendQuestionLeavesEverythingUntouched()
{
    const QString first = WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6);
    QVERIFY(m_page->OpenTraceFile(first));
    m_boxes->requests.clear();
    m_boxes->answer = CMessageBox::Answer::Cancel;
    bool chooserCalled = false;
    m_page->SetFileChooser([&]() {
        chooserCalled = true;
        return QString();
    });
    m_page->OnBrowse();
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].caption, QStringLiteral("Append traces"));
    QCOMPARE(m_boxes->requests[0].text,
        QStringLiteral("Insert the new traces AFTER the current traces?"));
    QVERIFY(!chooserCalled);
    QCOMPARE(Edit("fileNameEdit")->text(), first);
    QCOMPARE(m_page->Traces().traceCount, 6);
}

void tst_CGUIRispostaSperimentale1::appendWithOtherSampleCountShowsMergeMessageAndKeepsTraces()
{
    const QString first = WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6);
    QVERIFY(m_page->OpenTraceFile(first));
    Edit("spacingEdit")->setText(QStringLiteral("2"));
    m_boxes->requests.clear();
    m_boxes->answer = CMessageBox::Answer::Yes;
    m_chosenFile = WriteTextRecord(m_dir, QStringLiteral("b.txt"), 12, 3);
    m_page->OnBrowse();
    QCOMPARE(m_boxes->requests.size(), 2);
    QCOMPARE(m_boxes->requests[1].text,
        QStringLiteral("The traces cannot be merged (they have a different number of time "
                       "samples)"));
    QCOMPARE(m_boxes->requests[1].caption, QStringLiteral("Error"));
    QCOMPARE(m_page->Traces().traceCount, 6);
    QCOMPARE(m_page->Traces().sampleCount, 10);
    QCOMPARE(Edit("fileNameEdit")->text(), first);
    QCOMPARE(Edit("spacingEdit")->text(), QStringLiteral("2"));
    QVERIFY(Button("nextButton")->isEnabled());
}

void tst_CGUIRispostaSperimentale1::appendWithSameSampleCountPlacesTracesAfter()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    m_boxes->requests.clear();
    m_boxes->answer = CMessageBox::Answer::Yes;
    m_chosenFile = WriteTextRecord(m_dir, QStringLiteral("b.txt"), 10, 3);
    m_page->OnBrowse();
    QCOMPARE(m_page->Traces().traceCount, 9);
    QCOMPARE(m_page->findChild<QComboBox *>(QStringLiteral("lastReceiverCombo"))->count(), 9);
    // No concatenation hint after an append: only the question was asked.
    QCOMPARE(m_boxes->requests.size(), 1);
}

void tst_CGUIRispostaSperimentale1::freshReadReplacesTracesAndResetsSpacing()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    Edit("spacingEdit")->setText(QStringLiteral("3"));
    Edit("windowStartEdit")->setText(QStringLiteral("2"));
    m_boxes->answer = CMessageBox::Answer::No;
    m_chosenFile = WriteTextRecord(m_dir, QStringLiteral("b.txt"), 20, 4);
    m_page->OnBrowse();
    QCOMPARE(m_page->Traces().traceCount, 4);
    QCOMPARE(m_page->Traces().sampleCount, 20);
    QCOMPARE(Edit("spacingEdit")->text(), QStringLiteral("1"));
    QCOMPARE(Edit("windowStartEdit")->text(), QStringLiteral("0"));
    QCOMPARE(Edit("windowEndEdit")->text(), QStringLiteral("19"));
}

void tst_CGUIRispostaSperimentale1::failedReadOverALoadedRecordChangesNothing()
{
    const QString first = WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6);
    QVERIFY(m_page->OpenTraceFile(first));
    Edit("spacingEdit")->setText(QStringLiteral("2.5"));
    const std::vector<double> traces(
        m_page->Traces().traces.GetData(), m_page->Traces().traces.GetData() + 60);
    // A SEG-Y file cut inside its first trace: the reader's own reason comes first.
    QByteArray segy(3600, '\0');
    segy[3217] = char(0xE8); // 1000 us
    segy[3221] = 100; // samples
    segy[3225] = 5; // IEEE floats
    segy.append(QByteArray(240 + 40, '\x01'));
    const QString damaged = m_dir.filePath(QStringLiteral("cut.sgy"));
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(segy);
    file.close();
    for (CMessageBox::Answer answer : { CMessageBox::Answer::No, CMessageBox::Answer::Yes }) {
        // A fresh read and an append alike.
        m_boxes->requests.clear();
        m_boxes->answer = answer;
        m_chosenFile = damaged;
        m_page->OnBrowse();
        QCOMPARE(m_boxes->requests.size(), 2);
        QVERIFY(m_boxes->requests[0].noIsDefault); // Enter never merges two records
        QCOMPARE(m_boxes->requests[1].text,
            QStringLiteral("Unexpected end of SEGY file\nIncorrect file format"));
        QCOMPARE(m_boxes->requests[1].caption, QStringLiteral("Error"));
        QVERIFY(m_page->Traces().loaded);
        QCOMPARE(m_page->Traces().fileName, first);
        QCOMPARE(Edit("fileNameEdit")->text(), first);
        QCOMPARE(Edit("spacingEdit")->text(), QStringLiteral("2.5"));
        QCOMPARE(m_page->Traces().traceCount, 6);
        QVERIFY(std::equal(traces.begin(), traces.end(), m_page->Traces().traces.GetData()));
        QVERIFY(Button("nextButton")->isEnabled());
    }
    // A file that cannot be opened says so before the format message.
    m_boxes->requests.clear();
    QVERIFY(!m_page->OpenTraceFile(m_dir.filePath(QStringLiteral("missing.sg2"))));
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].text,
        QStringLiteral("Couldn't open source file\nIncorrect file format"));
    QCOMPARE(Edit("fileNameEdit")->text(), first);
}

void tst_CGUIRispostaSperimentale1::failedFirstReadLeavesTheEmptyPage()
{
    QVERIFY(!m_page->OpenTraceFile(m_dir.filePath(QStringLiteral("missing.sg2"))));
    QVERIFY(!m_page->Traces().loaded);
    QVERIFY(Edit("fileNameEdit")->text().isEmpty());
    QVERIFY(!Button("nextButton")->isEnabled());
}

void tst_CGUIRispostaSperimentale1::realRecordsProposeTheirTimeStepAndGeometry()
{
    const QString wghs = RealWorld(QStringLiteral("seg2/wghs_11.dat"));
    if (!QFileInfo::exists(wghs))
        QSKIP("real field records not present");
    Edit("timeStepEdit")->setText(QStringLiteral("7"));
    QVERIFY(m_page->OpenTraceFile(wghs));
    QCOMPARE(Edit("timeStepEdit")->text(), QStringLiteral("1"));
    QCOMPARE(Edit("spacingEdit")->text(), QStringLiteral("2"));
    QCOMPARE(m_page->findChild<QLabel *>(QStringLiteral("informationLabel"))->text(),
        QStringLiteral("(24 receivers, 1500 time samples) from the file: spacing 2 m, source "
                       "10 m from the first receiver, trigger at 500 ms"));
    // The window still counts from the first sample as written.
    QCOMPARE(Edit("windowEndEdit")->text(), QStringLiteral("1499"));

    // Both SU files carry their own interval (250 us little-endian, 1000 us big-endian).
    m_boxes->requests.clear();
    QVERIFY(m_page->OpenTraceFile(RealWorld(QStringLiteral("su/kit_1_first_trace.su"))));
    QCOMPARE(Edit("timeStepEdit")->text(), QStringLiteral("0.25"));
    QCOMPARE(Edit("spacingEdit")->text(), QStringLiteral("1")); // one trace: no spacing
    QVERIFY(m_page->findChild<QLabel *>(QStringLiteral("informationLabel"))
                ->text()
                .endsWith(QLatin1String("source 3 m from the first receiver, trigger at 100 ms")));
    QVERIFY(m_page->OpenTraceFile(RealWorld(QStringLiteral("su/lomablanca_1_bigendian.su"))));
    QCOMPARE(Edit("timeStepEdit")->text(), QStringLiteral("1"));
    QCOMPARE(Edit("spacingEdit")->text(), QStringLiteral("1")); // no coordinates in its headers
    // An end-off shot beyond the last receiver: the page points at the reversal box, and once
    // it is ticked the offset counts from the receiver nearest the source.
    QVERIFY(m_page->OpenTraceFile(RealWorld(QStringLiteral("seg2/albca_Shot2.dat"))));
    auto *information = m_page->findChild<QLabel *>(QStringLiteral("informationLabel"));
    QVERIFY(information->text().endsWith(
        QLatin1String("source 146 m from the first receiver but 5 m from the last one")));
    m_page->findChild<QCheckBox *>(QStringLiteral("reversedCheck"))->click();
    QVERIFY(information->text().endsWith(QLatin1String("source 5 m from the first receiver")));
    // A one-receiver record does not reach the spectrum.
    QVERIFY(m_page->OpenTraceFile(RealWorld(QStringLiteral("su/kit_1_first_trace.su"))));
    m_boxes->requests.clear();
    QVERIFY(m_page->ValidateInput());
    QVERIFY(m_boxes->requests.last().text.contains(QLatin1String("Use at least two receivers")));
}

void tst_CGUIRispostaSperimentale1::timeStepsNeedingAttentionAreAnnounced()
{
    // An SU file whose headers carry no interval keeps the step in force and says so.
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    QByteArray su;
    for (int t = 0; t < 3; ++t) {
        QByteArray header(240, '\0');
        header[114] = 4;
        su += header + QByteArray(16, '\0');
    }
    const QString suPath = m_dir.filePath(QStringLiteral("plain.su"));
    QFile file(suPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(su);
    file.close();
    m_boxes->requests.clear();
    QVERIFY(m_page->OpenTraceFile(suPath));
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].caption, QStringLiteral("Time step"));
    QVERIFY(m_boxes->requests[0].text.contains(QLatin1String("no time step")));
    QVERIFY(m_boxes->requests[0].text.contains(QLatin1String("1 ms")));
    QCOMPARE(Edit("timeStepEdit")->text(), QStringLiteral("1"));

    // Times written in milliseconds where seconds are expected: a step of 1000 ms.
    const QString path = m_dir.filePath(QStringLiteral("ms.txt"));
    QFile text(path);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("0 1 2\n1 3 4\n2 5 6\n3 7 8\n");
    text.close();
    m_boxes->requests.clear();
    QVERIFY(m_page->OpenTraceFile(path));
    QCOMPARE(Edit("timeStepEdit")->text(), QStringLiteral("1000"));
    QCOMPARE(m_boxes->requests.size(), 1);
    QVERIFY(m_boxes->requests[0].text.contains(QLatin1String("1000 ms")));
    QVERIFY(m_boxes->requests[0].text.contains(QLatin1String("seconds")));
}

void tst_CGUIRispostaSperimentale1::traceViewSettingsRedrawWithoutTouchingTheDocument()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    Edit("spacingEdit")->setText(QStringLiteral("2"));
    CMatrixArchive before;
    m_page->SaveSection(before, 1);
    QSignalSpy modified(m_page.get(), &CChildDialog::DocModified);
    m_page->findChild<QCheckBox *>(QStringLiteral("metresViewCheck"))->click();
    m_page->findChild<QCheckBox *>(QStringLiteral("commonScaleCheck"))->click();
    const CChartRegion &region = m_page->TraceChartWidget()->Region();
    // Six filled lobe outlines, six wiggles and the frame, in metres from the source.
    QCOMPARE(region.Count(), 13);
    QCOMPARE(region.BottomLabel(), QStringLiteral("Distance from the source [m]"));
    // The view spans the frame: one spacing before the first receiver to one after the last.
    QCOMPARE(region.ViewRange().xMin, -2.0);
    QCOMPARE(region.ViewRange().xMax, 12.0);
    CMatrixArchive after;
    m_page->SaveSection(after, 1);
    QVERIFY(before.GetBuffer() == after.GetBuffer());
    QCOMPARE(modified.count(), 0);
}

void tst_CGUIRispostaSperimentale1::tabWalksEveryControlInReadingOrderAndComesBack()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    m_page->resize(1200, 700);
    m_page->show();
    m_page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
    Edit("fileNameEdit")->setFocus();
    QStringList visited;
    for (int i = 0; i < 20; ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        visited << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
        if (QApplication::focusWidget() == Edit("fileNameEdit"))
            break;
    }
    // Every field and button once, in the order they read on the page, then round again:
    // valid values never hold the focus back.
    QCOMPARE(visited,
        (QStringList { "fileNameEdit", "browseButton", "stackButton", "spacingEdit",
            "reversedCheck", "sourceOffsetEdit", "timeStepEdit", "lastReceiverCombo",
            "windowStartEdit", "windowEndEdit", "metresViewCheck", "commonScaleCheck",
            "previousButton", "helpButton", "passiveButton", "nextButton" }));
    QCOMPARE(QApplication::focusWidget(), Edit("fileNameEdit"));
    QVERIFY(m_boxes->requests.size() <= 1); // only the concatenation hint of the read
    m_page->hide();
}

void tst_CGUIRispostaSperimentale1::cancelledExcelSheetNameChangesNothing()
{
    m_page->SetSheetChooser([]() { return std::optional<QString>(); });
    QVERIFY(!m_page->OpenTraceFile(m_dir.filePath(QStringLiteral("book.xls"))));
    QVERIFY(m_boxes->requests.isEmpty());
    QVERIFY(Edit("fileNameEdit")->text().isEmpty());
}

void tst_CGUIRispostaSperimentale1::timeStepFieldRefusesZeroWithInvaldStep()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    m_boxes->requests.clear();
    QLineEdit *step = Edit("timeStepEdit");
    step->setText(QStringLiteral("0"));
    LoseFocus(step);
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].text, QStringLiteral("Invald step"));
    QCOMPARE(m_page->Traces().timeStep, 1.0);
    // Leaving the field again without touching it checks it again: the refused value cannot
    // be left behind.
    LoseFocus(step);
    QCOMPARE(m_boxes->requests.size(), 2);
    QCOMPARE(m_boxes->requests[1].text, QStringLiteral("Invald step"));
    QLineEdit *start = Edit("windowStartEdit");
    start->setText(QStringLiteral("9999"));
    LoseFocus(start);
    LoseFocus(start);
    QCOMPARE(m_boxes->requests.size(), 4);
    QCOMPARE(m_boxes->requests[3].text, QStringLiteral("Invalid valuee"));
    QCOMPARE(m_page->Traces().windowStart, 0.0);
}

void tst_CGUIRispostaSperimentale1::windowEndFieldRewritesDecimalComma()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    m_boxes->requests.clear();
    QLineEdit *end = Edit("windowEndEdit");
    end->setText(QStringLiteral("4,50"));
    LoseFocus(end);
    QVERIFY(m_boxes->requests.isEmpty());
    QCOMPARE(end->text(), QStringLiteral("4.5"));
    QCOMPARE(m_page->Traces().windowEnd, 4.5);
}

void tst_CGUIRispostaSperimentale1::reversedBoxMirrorsTracesAndMarksModified()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    const std::vector<double> before = m_page->Traces().traces.GetColumn(0).ToVector();
    QSignalSpy modified(m_page.get(), &CChildDialog::DocModified);
    m_page->findChild<QCheckBox *>(QStringLiteral("reversedCheck"))->click();
    QCOMPARE(modified.count(), 1);
    QVERIFY(Near(m_page->Traces().traces.GetColumn(5).ToVector(), before));
}

void tst_CGUIRispostaSperimentale1::nextWithErrorsShowsCollectedMessageAndStays()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    m_boxes->requests.clear();
    Edit("spacingEdit")->setText(QStringLiteral("-1"));
    Edit("windowStartEdit")->setText(QStringLiteral("9"));
    QSignalSpy goTo(m_page.get(), &CChildDialog::GotoStep);
    Button("nextButton")->click();
    QCOMPARE(goTo.count(), 0);
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].text,
        QStringLiteral("Errors:\nDistance between two consecutive receivers must be positive\n"
                       "Total time must be greater than initial time\n"));
    QVERIFY(!m_analysis.m_bPrepared);
}

void tst_CGUIRispostaSperimentale1::nextHandsOverInOrderAndGoesToSpectrum()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    Edit("spacingEdit")->setText(QStringLiteral("2,5"));
    Edit("windowStartEdit")->setText(QStringLiteral("1"));
    Edit("windowEndEdit")->setText(QStringLiteral("7,5"));
    auto *last = m_page->findChild<QComboBox *>(QStringLiteral("lastReceiverCombo"));
    last->setCurrentIndex(3);
    QSignalSpy goTo(m_page.get(), &CChildDialog::GotoStep);
    Button("nextButton")->click();
    QCOMPARE(goTo.count(), 1);
    QCOMPARE(goTo[0][0].toInt(), 5);
    QCOMPARE(goTo[0][1].toInt(), 10 + FreshPageFlag);
    QVERIFY(m_analysis.m_bPrepared);
    const ShotRecord &rec = m_analysis.m_active;
    QCOMPARE(rec.fileName, Edit("fileNameEdit")->text());
    QCOMPARE(rec.timeStep, 1.0);
    QCOMPARE(rec.receiverSpacing, 2.5);
    QCOMPARE(rec.traceCount, 6);
    QCOMPARE(rec.firstReceiver, 0);
    QCOMPARE(rec.lastReceiver, 3);
    QCOMPARE(rec.receiversUsed, 4);
    QCOMPARE(rec.windowSampleCount, 8);
    // Window 1 .. 7.5 ms at 1 ms: samples 1 to 7, seven samples, so eight rows.
    QCOMPARE(rec.firstWindowSample, 1);
    QCOMPARE(rec.timeSize, 8);
    QCOMPARE(rec.windowedTraces.GetRows(), 8);
    QCOMPARE(rec.windowedTraces.GetCols(), 256);
    QCOMPARE(rec.timeAxis(0), 1.0);
    QCOMPARE(rec.recordLength, 9.0);
    QCOMPARE(rec.receiverOffsets.GetRows(), 4);
    QCOMPARE(rec.receiverOffsets(3), 7.5);
    // Next also computes the spectrum the spectrum page opens on.
    QVERIFY(m_analysis.m_bAnalysed);
    QCOMPARE(rec.spectrum.GetRows(), 4);
    QCOMPARE(rec.spectrum.GetCols(), 256);
}

void tst_CGUIRispostaSperimentale1::previousGoesToStartPage()
{
    QSignalSpy goTo(m_page.get(), &CChildDialog::GotoStep);
    Button("previousButton")->click();
    QCOMPARE(goTo.count(), 1);
    QCOMPARE(goTo[0][0].toInt(), 5);
    QCOMPARE(goTo[0][1].toInt(), 1);
}

void tst_CGUIRispostaSperimentale1::sectionRoundTripRestoresThePage()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    Edit("spacingEdit")->setText(QStringLiteral("1,5"));
    Edit("windowEndEdit")->setText(QStringLiteral("8"));
    m_page->findChild<QComboBox *>(QStringLiteral("lastReceiverCombo"))->setCurrentIndex(4);
    m_page->findChild<QCheckBox *>(QStringLiteral("reversedCheck"))->click();
    CMatrixArchive out;
    m_page->SaveSection(out, 1);

    auto restored = std::make_unique<CGUIRispostaSperimentale1>(nullptr, nullptr, &m_analysis);
    restored->m_bRestoring = true;
    restored->Create();
    CMatrixArchive in(out.GetBuffer());
    restored->SerializeSection(in, 1);
    auto edit = [&](const char *name) {
        return restored->findChild<QLineEdit *>(QLatin1String(name))->text();
    };
    QCOMPARE(edit("spacingEdit"), QStringLiteral("1,5"));
    QCOMPARE(edit("windowEndEdit"), QStringLiteral("8"));
    QCOMPARE(edit("fileNameEdit"), Edit("fileNameEdit")->text());
    QCOMPARE(
        restored->findChild<QComboBox *>(QStringLiteral("lastReceiverCombo"))->currentIndex(), 4);
    QVERIFY(restored->findChild<QCheckBox *>(QStringLiteral("reversedCheck"))->isChecked());
    QVERIFY(restored->findChild<QPushButton *>(QStringLiteral("nextButton"))->isEnabled());
    QVERIFY(restored->Traces().loaded);
    QVERIFY(Near(restored->Traces().traces.ToVector(), m_page->Traces().traces.ToVector()));
    QCOMPARE(restored->Traces().windowEnd, 8.0);
}

void tst_CGUIRispostaSperimentale1::sectionWithoutTracesLeavesNextDisabled()
{
    CMatrixArchive out;
    m_page->SaveSection(out, 1);
    auto restored = std::make_unique<CGUIRispostaSperimentale1>(nullptr, nullptr, &m_analysis);
    restored->m_bRestoring = true;
    restored->Create();
    CMatrixArchive in(out.GetBuffer());
    restored->LoadSection(in, 1);
    QVERIFY(!restored->Traces().loaded);
    QVERIFY(!restored->findChild<QPushButton *>(QStringLiteral("nextButton"))->isEnabled());
}

void tst_CGUIRispostaSperimentale1::chartExportWritesTheTracesText()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    const QString path = m_dir.filePath(QStringLiteral("export.txt"));
    QCOMPARE(m_page->TraceChartWidget()->RequestExportText(path), 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.startsWith("%Experimental traces\r\n% 10x6\r\n%t[s]\t\t1\t2\t3\t4\t5\t6\r\n"));
    QCOMPARE(text.count('\n'), 13);
}

void tst_CGUIRispostaSperimentale1::stackingAddsRepeatedBlowsAndRefusesAnotherGeometry()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    const std::vector<double> single = m_page->Traces().traces.ToVector();
    auto *stack = m_page->findChild<QToolButton *>(QStringLiteral("stackButton"));
    QVERIFY(stack->isEnabled());

    // The same blow again: every sample doubles (both records mean-free).
    m_chosenFile = WriteTextRecord(m_dir, QStringLiteral("b.txt"), 10, 6);
    m_boxes->requests.clear();
    QSignalSpy modified(m_page.get(), &CChildDialog::DocModified);
    stack->click();
    QVERIFY(m_boxes->requests.isEmpty());
    QCOMPARE(modified.count(), 1);
    std::vector<double> doubled = single;
    for (double &v : doubled)
        v *= 2.0;
    QVERIFY(Near(m_page->Traces().traces.ToVector(), doubled));
    QCOMPARE(m_page->Form().stackedFiles, QStringList { m_chosenFile });
    QVERIFY(m_page->findChild<QLabel *>(QStringLiteral("informationLabel"))
                ->text()
                .contains(QStringLiteral("2 records stacked")));

    // Another trace count, another sample count: refused with a message, nothing changes.
    const struct
    {
        int samples;
        int traces;
        const char *reason;
    } others[] = { { 10, 5, "different number of traces" },
        { 12, 6, "different number of time samples" } };
    for (const auto &other : others) {
        m_chosenFile = WriteTextRecord(m_dir,
            QStringLiteral("c%1x%2.txt").arg(other.samples).arg(other.traces), other.samples,
            other.traces);
        m_boxes->requests.clear();
        QVERIFY(!m_page->StackTraceFile(m_chosenFile));
        QCOMPARE(m_boxes->requests.size(), 1);
        QVERIFY2(m_boxes->requests.front().text.contains(QLatin1String(other.reason)),
            qPrintable(m_boxes->requests.front().text));
        QVERIFY(Near(m_page->Traces().traces.ToVector(), doubled));
        QCOMPARE(m_page->Form().stackedFiles.size(), 1);
    }

    // A fresh read forgets the stack.
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("d.txt"), 10, 6)));
    QVERIFY(m_page->Form().stackedFiles.isEmpty());
}

void tst_CGUIRispostaSperimentale1::sectionKeepsStackAndSourceOffsetAndOldBytesOtherwise()
{
    QVERIFY(m_page->OpenTraceFile(WriteTextRecord(m_dir, QStringLiteral("a.txt"), 10, 6)));
    // A text record states no source: the field stays empty, meaning one spacing.
    QVERIFY(Edit("sourceOffsetEdit")->text().isEmpty());
    CMatrixArchive plain;
    m_page->SaveSection(plain, 1);
    const std::vector<std::uint8_t> oldBytes = plain.GetBuffer();

    Edit("sourceOffsetEdit")->setText(QStringLiteral("7,5"));
    CMatrixArchive extended;
    m_page->SaveSection(extended, 1);
    const std::vector<std::uint8_t> offsetBytes = extended.GetBuffer();

    // The older layout stays a prefix of the newer one, only the version differs.
    CMatrixArchive head;
    head.WriteLine(std::string(28, '='));
    head.WriteLine("10 RSP1");
    const std::size_t at = head.GetBuffer().size();
    CMatrixArchive oldIn(oldBytes);
    oldIn.ReadLine();
    oldIn.ReadLine();
    QCOMPARE(oldIn.ReadFloat32(), 1.0f);
    CMatrixArchive newIn(offsetBytes);
    newIn.ReadLine();
    newIn.ReadLine();
    QCOMPARE(newIn.ReadFloat32(), 2.0f);
    QVERIFY(offsetBytes.size() > oldBytes.size());
    QVERIFY(std::equal(oldBytes.begin() + at + 4, oldBytes.end(), offsetBytes.begin() + at + 4));

    m_chosenFile = WriteTextRecord(m_dir, QStringLiteral("b.txt"), 10, 6);
    QVERIFY(m_page->StackTraceFile(m_chosenFile));
    CMatrixArchive stackedOut;
    m_page->SaveSection(stackedOut, 1);
    const std::vector<std::uint8_t> newBytes = stackedOut.GetBuffer();

    for (const auto &[bytes, offset, stacked] : { std::tuple { oldBytes, QString(), 0 },
             std::tuple { newBytes, QStringLiteral("7,5"), 1 } }) {
        DispersionAnalysis analysis;
        auto restored = std::make_unique<CGUIRispostaSperimentale1>(nullptr, nullptr, &analysis);
        restored->Create();
        CMatrixArchive in(bytes);
        restored->LoadSection(in, 1);
        QVERIFY(in.AtEnd());
        QCOMPARE(
            restored->findChild<QLineEdit *>(QStringLiteral("sourceOffsetEdit"))->text(), offset);
        QCOMPARE(int(restored->Form().stackedFiles.size()), stacked);
        // Without a typed offset the source stands one spacing before the first receiver.
        QCOMPARE(analysis.m_activeSourceOffset, stacked ? 7.5 : 1.0);
        // Saved again, the section keeps its version and layout (the traces may differ in
        // the last bit: loading removes their means once more).
        CMatrixArchive again;
        restored->SaveSection(again, 1);
        QCOMPARE(again.GetBuffer().size(), bytes.size());
        QVERIFY(std::equal(bytes.begin(), bytes.begin() + at + 4, again.GetBuffer().begin()));
    }
}

QTEST_MAIN(tst_CGUIRispostaSperimentale1)
#include "tst_CGUIRispostaSperimentale1.moc"
