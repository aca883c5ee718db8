// The .vla document: saved and opened back equal for every page, older files upgraded once,
// newer ones refused, zero bytes between frames skipped, damaged files (every truncation)
// refused without touching the analysis on screen, and saves that cannot finish leaving the
// previous file as it was.
#include "app/controls/CGridModel.h"
#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/page/CChildDialog.h"
#include "app/page/CDesktopOpen.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/page/CStepTable.h"
#include "app/profile/CGUIProfiloIniziale.h"
#include "app/profile/CProfileTable.h"
#include "app/shell/CGUISteps.h"
#include "app/shell/CMainFrame.h"
#include "app/shell/CWinQuiverApp.h"
#include "app/shell/CWinQuiverDoc.h"
#include "app/shell/CWinQuiverView.h"
#include "app/spectrum/DispersionAnalysis.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <stdexcept>

namespace {

const QList<int> AllSteps = { 995, 1, 5, 10, 12, 15, 20, 30 };
const QList<int> ButtonSteps = { 1, 5, 10, 12, 15, 20, 30 };

void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QList<int> ExistingPages(const CWinQuiverView *view)
{
    QList<int> steps;
    for (int step : AllSteps) {
        if (view->PageOfStep(step))
            steps.append(step);
    }
    return steps;
}

QList<int> EnabledButtons(const CGUISteps *pane)
{
    QList<int> steps;
    for (int step : ButtonSteps) {
        if (pane->IsStepEnabled(step))
            steps.append(step);
    }
    return steps;
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray Bytes(const std::vector<std::uint8_t> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

// Where two documents first differ, for the failure message.
QByteArray Difference(const QByteArray &actual, const QByteArray &expected)
{
    qsizetype at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    return QStringLiteral("sizes %1 and %2, first difference at byte %3: ...%4 against ...%5")
        .arg(actual.size())
        .arg(expected.size())
        .arg(at)
        .arg(QString::fromLatin1(actual.mid(std::max<qsizetype>(0, at - 24), 48).toHex()),
            QString::fromLatin1(expected.mid(std::max<qsizetype>(0, at - 24), 48).toHex()))
        .toLatin1();
}

#define COMPARE_DOCUMENTS(actual, expected)                                                        \
    do {                                                                                           \
        const QByteArray a = (actual), e = (expected);                                             \
        QVERIFY2(a == e, Difference(a, e).constData());                                            \
    } while (false)

// The frame of a slot held by no page, as the program writes it.
QByteArray AbsentFrame(int slot)
{
    QByteArray frame("\x07Section", 8);
    const char index[4] = { char(slot), 0, 0, 0 };
    frame.append(index, 4);
    frame.append(QByteArray(4, '\0'));
    return frame;
}

} // namespace

class tst_Document : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void savedDocumentOpensEqual_data();
    void savedDocumentOpensEqual();
    void olderFormatOpensShiftedAndUpgradesOnce();
    void newerFormatIsRefusedAndNothingChanges();
    void zeroBytesBetweenFramesAreSkipped();
    void documentWithNoPagesOpensAtTheStart();
    void everyTruncationIsRefusedWithoutTouchingTheAnalysis();
    void framesThatAreNotFramesAreRefused_data();
    void framesThatAreNotFramesAreRefused();
    void interruptedSaveLeavesThePreviousFile();
    void saveThatCannotBeWrittenSaysSoAndKeepsTheDocument();
    void closingAModifiedAnalysisOffersToSaveIt();
    void documentOnTheCommandLineOpensAndHeadsTheRecentFiles();

private:
    // A frame with the pages of `steps`, the data page (when among them) holding the small
    // trace file, and `displayed` on display.
    std::unique_ptr<CMainFrame> MakeAnalysis(const QList<int> &steps, int displayed);
    QString TraceFile();

    std::unique_ptr<CMessageBoxCapture> m_boxes;
    std::unique_ptr<QTemporaryDir> m_dir;
    CDesktopOpen::Handler m_previousOpen;
};

void tst_Document::init()
{
    m_boxes = std::make_unique<CMessageBoxCapture>();
    m_dir = std::make_unique<QTemporaryDir>();
    // Nothing is handed to the desktop (the "What's new" text of a first start).
    m_previousOpen = CDesktopOpen::SetHandler([](const QString &) { return true; });
}

void tst_Document::cleanup()
{
    FlushDeletes();
    CDesktopOpen::SetHandler(m_previousOpen);
    m_boxes.reset();
    m_dir.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QString tst_Document::TraceFile()
{
    // Time in seconds, then three traces. Each trace sums exactly to zero, so that the trace
    // chart's removal of the mean leaves the samples as they are.
    const QString path = m_dir->filePath(QStringLiteral("shot.txt"));
    if (!QFile::exists(path))
        WriteFile(path,
            "0.000 0.5 -0.5 2\n0.001 -0.25 0.75 -1\n0.002 -0.25 0.25 0.125\n"
            "0.003 1 -1.5 -0.125\n0.004 -1 1 -1\n");
    return path;
}

std::unique_ptr<CMainFrame> tst_Document::MakeAnalysis(const QList<int> &steps, int displayed)
{
    auto frame = std::make_unique<CMainFrame>();
    CWinQuiverView *view = frame->View();
    // A final profile for the results page: 10 m at 300 m/s, 10 m at 500 m/s over 700 m/s.
    const double rows[][2] = { { 10, 300 }, { 10, 500 }, { 0, 700 } };
    for (const auto &row : rows) {
        LayerRecord layer;
        layer.thickness = row[0];
        layer.vs = row[1];
        layer.finalVs = row[1];
        layer.poisson = 0.3;
        view->Analysis().m_profile.layers.push_back(layer);
    }
    view->OnDiscardStep(1);
    for (int step : steps) {
        view->OnGotoStep(step, false);
        // The profile page's table is the profile: the same layers are typed into it.
        if (auto *page = qobject_cast<CGUIProfiloIniziale *>(view->PageOfStep(step))) {
            CProfileTable *table = page->Table();
            table->SetLayerCount(2);
            CMatrix finalVs(3, 1);
            for (int row = 1; row <= 3; ++row) {
                if (row < 3) {
                    table->Grid()->SetItemText(row, ColThickness, QStringLiteral("10"));
                    table->ApplyEdit(row, ColThickness);
                }
                const QString vs = QString::number(rows[row - 1][1]);
                table->Grid()->SetItemText(row, ColVs, vs);
                table->ApplyEdit(row, ColVs);
                finalVs.Set(row - 1, rows[row - 1][1]);
            }
            table->SetFinalVs(finalVs);
            table->Collect(view->Analysis().m_profile);
        }
    }
    if (auto *data = qobject_cast<CGUIRispostaSperimentale1 *>(view->PageOfStep(5)))
        data->OpenTraceFile(TraceFile());
    if (CChildDialog *results = view->PageOfStep(30)) {
        for (const char *answer : { "yes1", "no2", "yes6" })
            results->findChild<QRadioButton *>(QLatin1String(answer))->click();
    }
    view->OnGotoStep(displayed, false);
    FlushDeletes();
    m_boxes->requests.clear(); // the data page's notes on reading traces
    return frame;
}

void tst_Document::savedDocumentOpensEqual_data()
{
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<int>("displayed");
    QTest::newRow("every slot") << AllSteps << 5;
    QTest::newRow("passive page absent") << QList<int> { 1, 5, 10, 15, 20, 30 } << 30;
    QTest::newRow("some absent") << QList<int> { 1, 5, 15 } << 15;
    QTest::newRow("start page only") << QList<int> { 1 } << 1;
}

void tst_Document::savedDocumentOpensEqual()
{
    QFETCH(QList<int>, steps);
    QFETCH(int, displayed);
    auto saved = MakeAnalysis(steps, displayed);
    const QString path = m_dir->filePath(QStringLiteral("site.vla"));
    saved->SetModified(true);
    QVERIFY(saved->SaveDocumentTo(path));
    QVERIFY(!saved->IsModified());
    QVERIFY(saved->windowTitle().startsWith(QLatin1String("site.vla")));
    const QByteArray bytes = ReadFile(path);
    QCOMPARE(int(bytes.at(0)), CStepTable::SlotOfStep(displayed));

    // Opened into another window that holds a different analysis.
    auto opened = MakeAnalysis({ 1, 5, 10 }, 10);
    opened->SetModified(true);
    QVERIFY(opened->OpenDocument(path));
    FlushDeletes();
    QCOMPARE(m_boxes->requests.size(), 0);
    QVERIFY(!opened->IsModified());
    QVERIFY(opened->windowTitle().startsWith(QLatin1String("site.vla")));
    CWinQuiverView *view = opened->View();
    QCOMPARE(ExistingPages(view), steps);
    QList<int> buttons = steps;
    buttons.removeAll(995);
    QCOMPARE(EnabledButtons(opened->Steps()), buttons);
    QCOMPARE(view->CurrentStep(), displayed);
    QCOMPARE(opened->Steps()->HighlightedStep(), displayed);
    QVERIFY(!view->CurrentPage()->isHidden());

    auto *data = qobject_cast<CGUIRispostaSperimentale1 *>(view->PageOfStep(5));
    QCOMPARE(data != nullptr, steps.contains(5));
    if (data) {
        const TraceSet &set = data->Traces();
        QVERIFY(set.loaded);
        QCOMPARE(set.traceCount, 3);
        QCOMPARE(set.sampleCount, 5);
        QCOMPARE(set.traces(3, 2), -0.125);
        QCOMPARE(set.fileName, TraceFile());
    }
    if (CChildDialog *results = view->PageOfStep(30)) {
        QCOMPARE(results->findChild<QLineEdit *>(QStringLiteral("statusEdit"))->text(),
            QStringLiteral("Soil type B"));
        QVERIFY(results->findChild<QRadioButton *>(QStringLiteral("yes6"))->isChecked());
    }
    // Everything every page holds is in its section: saving again gives the same bytes.
    COMPARE_DOCUMENTS(Bytes(opened->Document()->DocumentBytes()), bytes);
}

void tst_Document::olderFormatOpensShiftedAndUpgradesOnce()
{
    auto saved = MakeAnalysis({ 1, 5, 15, 20, 30 }, 20);
    const QByteArray current = Bytes(saved->Document()->DocumentBytes());
    // The older layout: no digits in the first marker and no frame for the passive page.
    QByteArray older = current;
    QVERIFY(older.indexOf(QByteArray("\x09"
                                     "01Section"))
        == 4);
    older.replace(4, 10, QByteArray("\x07Section"));
    const qsizetype passive = older.indexOf(AbsentFrame(4));
    QVERIFY(passive > 0);
    older.remove(passive, AbsentFrame(4).size());
    // Nor the profile section's 999 spare words, which the current version added.
    const QByteArray spare(999 * 4, '\0');
    const qsizetype spareAt = older.indexOf(spare, older.indexOf("PPT\r\n"));
    QVERIFY(spareAt > 0);
    older.remove(spareAt, spare.size());
    const QString path = m_dir->filePath(QStringLiteral("old.vla"));
    WriteFile(path, older);

    auto opened = std::make_unique<CMainFrame>();
    QVERIFY(opened->OpenDocument(path));
    FlushDeletes();
    QCOMPARE(opened->Document()->Version(), 0);
    QCOMPARE(ExistingPages(opened->View()), (QList<int> { 1, 5, 15, 20, 30 }));
    QCOMPARE(opened->View()->CurrentStep(), 20);

    QVERIFY(opened->SaveDocumentTo(path));
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].caption, QStringLiteral("Version upgrade"));
    QCOMPARE(m_boxes->requests[0].text,
        QStringLiteral("This file was created with an older version of the program. It will be "
                       "converted to the latest version."));
    COMPARE_DOCUMENTS(ReadFile(path), current);
    QVERIFY(opened->SaveDocumentTo(path));
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(opened->Document()->Version(), 1);
}

void tst_Document::newerFormatIsRefusedAndNothingChanges()
{
    auto source = MakeAnalysis({ 1, 5, 15 }, 15);
    QByteArray newer = Bytes(source->Document()->DocumentBytes());
    newer.replace(4, 10,
        QByteArray("\x09"
                   "02Section"));
    const QString path = m_dir->filePath(QStringLiteral("newer.vla"));
    WriteFile(path, newer);

    auto frame = MakeAnalysis({ 1, 5 }, 5);
    const QByteArray before = Bytes(frame->Document()->DocumentBytes());
    QPointer<CChildDialog> page = frame->View()->CurrentPage();
    QVERIFY(!frame->OpenDocument(path));
    FlushDeletes();
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].text,
        QStringLiteral("This file was generated with a newer version and cannot be opened"));
    QCOMPARE(m_boxes->requests[0].caption, QStringLiteral("Wrong version"));
    QCOMPARE(m_boxes->requests[0].icon, MessageRequest::Icon::Warning);
    QVERIFY(!page.isNull());
    QCOMPARE(frame->View()->CurrentPage(), page.data());
    COMPARE_DOCUMENTS(Bytes(frame->Document()->DocumentBytes()), before);
    QVERIFY(frame->Document()->GetPathName().isEmpty());
}

void tst_Document::zeroBytesBetweenFramesAreSkipped()
{
    auto source = MakeAnalysis({ 1, 5, 15, 30 }, 5);
    const QByteArray bytes = Bytes(source->Document()->DocumentBytes());
    QByteArray padded = bytes;
    // Before every marker, the first one included, a different number of zero bytes.
    int zeros = 1;
    for (qsizetype at = padded.lastIndexOf("Section"); at > 0;
         at = padded.lastIndexOf("Section", at - 1)) {
        const qsizetype marker = padded.at(at - 1) == '\x07' ? at - 1 : at - 3;
        padded.insert(marker, QByteArray(zeros++, '\0'));
    }
    QCOMPARE(zeros, 9);
    const QString path = m_dir->filePath(QStringLiteral("padded.vla"));
    WriteFile(path, padded);
    auto opened = std::make_unique<CMainFrame>();
    QVERIFY(opened->OpenDocument(path));
    COMPARE_DOCUMENTS(Bytes(opened->Document()->DocumentBytes()), bytes);
}

void tst_Document::documentWithNoPagesOpensAtTheStart()
{
    QByteArray empty("\x06\0\0\0", 4); // the profile page was on display
    empty.append(QByteArray("\x09"
                            "01Section")
        + QByteArray(8, '\0'));
    for (int slot = 1; slot < 8; ++slot)
        empty.append(AbsentFrame(slot));
    const QString path = m_dir->filePath(QStringLiteral("empty.vla"));
    WriteFile(path, empty);
    auto frame = MakeAnalysis({ 1, 5, 10, 15 }, 15);
    QVERIFY(frame->OpenDocument(path));
    FlushDeletes();
    QCOMPARE(EnabledButtons(frame->Steps()), QList<int> { 1 });
    QCOMPARE(ExistingPages(frame->View()), QList<int> { 1 });
    QCOMPARE(frame->View()->CurrentStep(), 1);
}

void tst_Document::everyTruncationIsRefusedWithoutTouchingTheAnalysis()
{
    auto source = MakeAnalysis({ 995, 1, 5, 10, 15, 20, 30 }, 5);
    const QByteArray bytes = Bytes(source->Document()->DocumentBytes());
    source.reset();

    auto frame = MakeAnalysis({ 1, 5, 12 }, 12);
    const QByteArray before = Bytes(frame->Document()->DocumentBytes());
    QList<QPointer<CChildDialog>> pages;
    for (int step : AllSteps)
        pages.append(frame->View()->PageOfStep(step));
    const QString path = m_dir->filePath(QStringLiteral("cut.vla"));
    // Every cut in the header, the first frames and the tail; in between (the spectra's long
    // matrices) cuts at an odd stride, so that every frame still gets many, without the
    // whole program's reopening taking minutes for each of tens of thousands of bytes.
    QList<qsizetype> sizes;
    const qsizetype head = std::min<qsizetype>(bytes.size(), 1024);
    const qsizetype tail = std::max<qsizetype>(head, bytes.size() - 64);
    const qsizetype stride = std::max<qsizetype>(1, (tail - head) / 400) | 1;
    for (qsizetype size = 0; size < bytes.size();
         size += (size < head || size >= tail) ? 1 : stride)
        sizes.append(size);
    int refused = 0;
    for (qsizetype size : sizes) {
        WriteFile(path, bytes.left(size));
        m_boxes->requests.clear();
        if (frame->OpenDocument(path)) {
            // Only the line end of the last text line may go missing unnoticed.
            QVERIFY2(size >= bytes.size() - 2, qPrintable(QString::number(size)));
            COMPARE_DOCUMENTS(Bytes(frame->Document()->DocumentBytes()), bytes);
            break;
        }
        ++refused;
        FlushDeletes();
        QCOMPARE(m_boxes->requests.size(), 1);
        QCOMPARE(m_boxes->requests[0].icon, MessageRequest::Icon::Error);
        QVERIFY(m_boxes->requests[0].text.contains(QDir::toNativeSeparators(path)));
        for (int index = 0; index < AllSteps.size(); ++index)
            QCOMPARE(frame->View()->PageOfStep(AllSteps[index]), pages[index].data());
        QCOMPARE(frame->View()->CurrentStep(), 12);
        COMPARE_DOCUMENTS(Bytes(frame->Document()->DocumentBytes()), before);
    }
    QVERIFY(refused >= sizes.size() - 2);
}

void tst_Document::framesThatAreNotFramesAreRefused_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    // The frame of the passive page (absent) altered.
    QTest::newRow("presence flag 2")
        << AbsentFrame(4) << AbsentFrame(4).left(12) + QByteArray("\x02\0\0\0", 4);
    QTest::newRow("marker of another kind")
        << AbsentFrame(4) << QByteArray("\x07Sektion") + AbsentFrame(4).mid(8);
    QTest::newRow("first marker without its version digits") << QByteArray("\x09"
                                                                           "01Section")
                                                             << QByteArray("\x09"
                                                                           "xySection");
}

void tst_Document::framesThatAreNotFramesAreRefused()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    auto source = MakeAnalysis({ 1, 5, 15 }, 5);
    QByteArray bytes = Bytes(source->Document()->DocumentBytes());
    const qsizetype at = bytes.indexOf(from);
    QVERIFY(at >= 0);
    bytes.replace(at, from.size(), to);
    const QString path = m_dir->filePath(QStringLiteral("altered.vla"));
    WriteFile(path, bytes);
    auto frame = MakeAnalysis({ 1, 10 }, 10);
    const QByteArray before = Bytes(frame->Document()->DocumentBytes());
    QVERIFY(!frame->OpenDocument(path));
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].icon, MessageRequest::Icon::Error);
    COMPARE_DOCUMENTS(Bytes(frame->Document()->DocumentBytes()), before);
    QCOMPARE(frame->View()->CurrentStep(), 10);
}

void tst_Document::interruptedSaveLeavesThePreviousFile()
{
    const QString path = m_dir->filePath(QStringLiteral("kept.vla"));
    const QByteArray previous("the previous analysis, byte for byte");
    WriteFile(path, previous);
    QString error;
    QVERIFY(!CWinQuiverDoc::SaveAtomically(
        path,
        [](QIODevice &out) {
            out.write("half a document");
            throw std::runtime_error("disk full");
        },
        &error));
    QCOMPARE(error, QStringLiteral("disk full"));
    QCOMPARE(ReadFile(path), previous);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList { "kept.vla" });

    QVERIFY(CWinQuiverDoc::SaveAtomically(
        path, [](QIODevice &out) { out.write("complete"); }, &error));
    QCOMPARE(ReadFile(path), QByteArray("complete"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList { "kept.vla" });
}

void tst_Document::saveThatCannotBeWrittenSaysSoAndKeepsTheDocument()
{
    auto frame = MakeAnalysis({ 1, 5 }, 5);
    frame->SetModified(true);
    // A folder stands where the file should go.
    const QString path = m_dir->filePath(QStringLiteral("folder.vla"));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.vla")));
    QVERIFY(!frame->SaveDocumentTo(path));
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].icon, MessageRequest::Icon::Error);
    QVERIFY(m_boxes->requests[0].text.contains(QDir::toNativeSeparators(path)));
    QVERIFY(frame->IsModified());
    QVERIFY(frame->Document()->GetPathName().isEmpty());
}

void tst_Document::closingAModifiedAnalysisOffersToSaveIt()
{
    auto frame = MakeAnalysis({ 1, 5 }, 5);
    const QString path = m_dir->filePath(QStringLiteral("closing.vla"));
    QVERIFY(frame->SaveDocumentTo(path));
    frame->show();
    frame->SetModified(true);
    m_boxes->answer = CMessageBox::Answer::Cancel;
    QVERIFY(!frame->close());
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests[0].buttons, MessageRequest::Buttons::YesNoCancel);
    QVERIFY(m_boxes->requests[0].text.contains(QLatin1String("closing.vla")));
    QFile::remove(path);
    m_boxes->answer = CMessageBox::Answer::Yes;
    QVERIFY(frame->close());
    QVERIFY(QFile::exists(path));
}

void tst_Document::documentOnTheCommandLineOpensAndHeadsTheRecentFiles()
{
    const QString path = m_dir->filePath(QStringLiteral("field.vla"));
    {
        auto source = MakeAnalysis({ 1, 5, 15 }, 15);
        QVERIFY(source->SaveDocumentTo(path));
    }
    FlushDeletes();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->path());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    {
        CWinQuiverApp app;
        QVERIFY(app.InitInstance({ QStringLiteral("VELA"), path }));
        CMainFrame *frame = app.MainFrame();
        QCOMPARE(ExistingPages(frame->View()), (QList<int> { 1, 5, 15 }));
        QCOMPARE(frame->View()->CurrentStep(), 15);
        QVERIFY(frame->windowTitle().startsWith(QLatin1String("field.vla")));
        QCOMPARE(app.RecentFiles().Files().value(0), QFileInfo(path).absoluteFilePath());
        bool listed = false;
        for (QAction *action : frame->menuBar()->actions().first()->menu()->actions())
            listed = listed || action->text().endsWith(QDir::toNativeSeparators(path));
        QVERIFY(listed);
    }
    // The list is kept for the next start.
    QCOMPARE(QSettings().value(QStringLiteral("Recent File List/File1")).toString(),
        QFileInfo(path).absoluteFilePath());
}

QTEST_MAIN(tst_Document)
#include "tst_Document.moc"
