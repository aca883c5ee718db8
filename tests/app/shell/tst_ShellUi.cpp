// The frame, the navigation pane and the main view together: pages created and discarded,
// buttons enabled and highlighted by the navigation rules; start-up in each language.
#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/page/CChildDialog.h"
#include "app/page/CDesktopOpen.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/page/CStepTable.h"
#include "app/page/UserMessages.h"
#include "app/shell/CChildFormTest.h"
#include "app/shell/CGUIMain.h"
#include "app/shell/CGUISteps.h"
#include "app/shell/CMainFrame.h"
#include "app/shell/CWinQuiverApp.h"
#include "app/shell/CWinQuiverView.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrixArchive.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QList<int> ButtonSteps = { 1, 5, 10, 12, 15, 20, 30 };

QList<int> ExistingPages(const CWinQuiverView *view)
{
    QList<int> steps;
    for (int step : ButtonSteps) {
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

void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The data page in a window of a laptop's and of a desktop's screen size, and in the smallest
// window: never squeezed below
// what its layout needs (a smaller view scrolls), no wrapped text clipped, Next reachable.
void CheckDataPageLayout(CMainFrame *frame)
{
    // The smallest window the program allows as well, where the page must scroll.
    for (const QSize &screen : { QSize(1366, 768), QSize(1920, 1080), frame->minimumSize() }) {
        frame->resize(screen);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        frame->Steps()->OnGotoStep(1, 5 + FreshPageFlag);
        CChildDialog *page = frame->View()->CurrentPage();
        QVERIFY(qobject_cast<CGUIRispostaSperimentale1 *>(page));
        QCoreApplication::processEvents();
        const QSize needed = page->minimumSizeHint();
        QVERIFY2(page->height() >= needed.height() && page->width() >= needed.width(),
            qPrintable(QStringLiteral("%1x%2 page in a %3x%4 window needs %5x%6")
                           .arg(page->width())
                           .arg(page->height())
                           .arg(screen.width())
                           .arg(screen.height())
                           .arg(needed.width())
                           .arg(needed.height())));
        for (QLabel *label : page->findChildren<QLabel *>()) {
            if (label->wordWrap() && label->isVisible())
                QVERIFY2(label->height() >= label->heightForWidth(label->width()),
                    qPrintable(label->text()));
        }
        QScrollArea *scroll = frame->View()->PageScrollArea();
        auto *next = page->findChild<QPushButton *>(QStringLiteral("nextButton"));
        scroll->ensureWidgetVisible(next);
        QCoreApplication::processEvents();
        const QRect shown(next->mapTo(scroll->viewport(), QPoint(0, 0)), next->size());
        QVERIFY(scroll->viewport()->rect().contains(shown));
    }
}

} // namespace

class tst_ShellUi : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startShowsTheStartPageWithOnlyStartEnabled();
    void navigationRequestsRowByRow_data();
    void navigationRequestsRowByRow();
    void startAndNavigationFocusTheirButtons();
    void freshFlagRebuildsAnExistingPage();
    void stepButtonShowsTheKeptPage();
    void startPageButtonsSendTheirRequests();
    void pageThatDiscardsItselfSurvivesItsOwnRequest();
    void viewDiscardsOnlyKnownSteps();
    void newAnalysisAsksFirstThenStartsEmpty();
    void closingAModifiedAnalysisAsksFirst();
    void restoredStepsEnableTheirButtonsAndTheStoredOneShows();
    void pageRebuiltForADocumentStaysHiddenAndPagesWithoutSectionsStoreNothing();
    void helpOpensTheDocumentOfTheStepOnDisplay();
    void resizingTheViewResizesThePageOnDisplay();
    void dataPageLaysOutOnALaptopScreenAndScrollsToItsButtons();
    void tabReachesEveryButtonOfEveryPageAndComesBack();
    void standardShortcutsAndF1HelpOfThePageOnDisplay();
    void italianStartShowsItalianCaptions();
    void englishStartShowsEnglishCaptions();
    void commandLineFileOpensAfterTheWindowIsShown();
    void commandLineTraceFileOpensOnTheDataPage();

private:
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CMessageBoxCapture> m_boxes;
    QStringList m_opened;
    CDesktopOpen::Handler m_previousOpen;
};

void tst_ShellUi::init()
{
    m_boxes = std::make_unique<CMessageBoxCapture>();
    m_opened.clear();
    m_previousOpen = CDesktopOpen::SetHandler([this](const QString &target) {
        m_opened.append(target);
        return true;
    });
    m_frame = std::make_unique<CMainFrame>();
}

void tst_ShellUi::cleanup()
{
    m_frame.reset();
    FlushDeletes();
    CDesktopOpen::SetHandler(m_previousOpen);
    m_boxes.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_ShellUi::startShowsTheStartPageWithOnlyStartEnabled()
{
    CWinQuiverView *view = m_frame->View();
    QCOMPARE(view->CurrentStep(), 1);
    QCOMPARE(view->m_nCurrentPage, 1);
    QVERIFY(qobject_cast<CGUIMain *>(view->CurrentPage()));
    QCOMPARE(EnabledButtons(m_frame->Steps()), QList<int> { 1 });
    QCOMPARE(m_frame->Steps()->HighlightedStep(), 1);
    QVERIFY(m_frame->minimumWidth() >= 1000 && m_frame->minimumHeight() >= 550);
    QCOMPARE(m_frame->Steps()->width(), CGUISteps::PaneWidth);
}

void tst_ShellUi::navigationRequestsRowByRow_data()
{
    // Each request is a (sender, target) pair; the last one is the request under test.
    QTest::addColumn<QList<int>>("requests");
    QTest::addColumn<QList<int>>("pages");
    QTest::addColumn<QList<int>>("enabled");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("messages");
    const QList<int> toResults = { 1, 517, 5, 522, 10, 527, 15, 532, 20, 542 };
    QTest::newRow("start to active data")
        << QList<int> { 1, 517 } << QList<int> { 1, 5 } << QList<int> { 1, 5 } << 5 << 0;
    QTest::newRow("through every step to the results")
        << toResults << QList<int> { 1, 5, 10, 15, 20, 30 } << QList<int> { 1, 5, 10, 15, 20, 30 }
        << 30 << 0;
    QTest::newRow("results back to profile discards results")
        << toResults + QList<int> { 30, 20 } << QList<int> { 1, 5, 10, 15, 20 }
        << QList<int> { 1, 5, 10, 15, 20 } << 20 << 0;
    QTest::newRow("back to the curve keeps the profile page, disables its button")
        << toResults + QList<int> { 30, 15 } << QList<int> { 1, 5, 10, 15, 20 }
        << QList<int> { 1, 5, 10, 15 } << 15 << 0;
    QTest::newRow("insert curve from start drops the data pages")
        << QList<int> { 1, 517, 5, 522, 10, 1, 1, 527 } << QList<int> { 1, 15 }
        << QList<int> { 1, 15 } << 15 << 0;
    QTest::newRow("passive from active data disables the spectrum button")
        << QList<int> { 1, 517, 5, 522, 5, 524 } << QList<int> { 1, 5, 10, 12 }
        << QList<int> { 1, 5, 12 } << 12 << 0;
    QTest::newRow("back to start discards every page")
        << toResults + QList<int> { 30, 1 } << QList<int> { 1 } << QList<int> { 1 } << 1 << 0;
    QTest::newRow("unknown step changes nothing")
        << QList<int> { 1, 517, 5, 7 } << QList<int> { 1, 5 } << QList<int> { 1, 5 } << 5 << 1;
    QTest::newRow("512 alone is an unknown step")
        << QList<int> { 1, 512 } << QList<int> { 1 } << QList<int> { 1 } << 1 << 1;
}

void tst_ShellUi::navigationRequestsRowByRow()
{
    QFETCH(QList<int>, requests);
    QFETCH(QList<int>, pages);
    QFETCH(QList<int>, enabled);
    QFETCH(int, shown);
    QFETCH(int, messages);
    CGUISteps *pane = m_frame->Steps();
    for (int i = 0; i + 1 < requests.size(); i += 2)
        pane->OnGotoStep(requests[i], requests[i + 1]);
    FlushDeletes();
    QCOMPARE(ExistingPages(m_frame->View()), pages);
    QCOMPARE(EnabledButtons(pane), enabled);
    QCOMPARE(m_frame->View()->CurrentStep(), shown);
    QCOMPARE(pane->HighlightedStep(), shown);
    QCOMPARE(
        pane->Button(CStepTable::ButtonIdOfStep(shown))->property("highlighted").toBool(), true);
    QCOMPARE(m_boxes->requests.size(), messages);
    if (messages)
        QCOMPARE(
            m_boxes->requests.first().text, QStringLiteral("Schermata non ancora implementata"));
}

void tst_ShellUi::startAndNavigationFocusTheirButtons()
{
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
    CGUISteps *pane = m_frame->Steps();
    QCOMPARE(QApplication::focusWidget(), pane->Button(1004));
    // (sender, target, button expected to hold the focus afterwards)
    const int requests[][3] = { { 1, 517, 1005 }, { 5, 522, 1008 }, { 10, 527, 1006 },
        { 15, 532, 1009 }, { 20, 542, 1007 }, { 30, 20, 1009 }, { 20, 1, 1004 }, { 1, 517, 1005 },
        { 5, 524, 1012 } };
    for (const auto &request : requests) {
        pane->OnGotoStep(request[0], request[1]);
        if (request[1] % 512 == 15)
            continue; // the curve step moves no focus
        QCOMPARE(QApplication::focusWidget(), pane->Button(request[2]));
    }
}

void tst_ShellUi::freshFlagRebuildsAnExistingPage()
{
    CGUISteps *pane = m_frame->Steps();
    pane->OnGotoStep(1, 517);
    pane->OnGotoStep(5, 522);
    QPointer<CChildDialog> spectrum = m_frame->View()->PageOfStep(10);
    QPointer<CChildDialog> data = m_frame->View()->PageOfStep(5);
    pane->PressStepButton(5);
    QCOMPARE(m_frame->View()->PageOfStep(10), spectrum.data());
    pane->OnGotoStep(5, 522); // Next again: the spectrum page is built anew
    FlushDeletes();
    QVERIFY(spectrum.isNull());
    QVERIFY(m_frame->View()->PageOfStep(10));
    pane->OnGotoStep(10, 5); // Previous carries no fresh flag: the data page is kept
    FlushDeletes();
    QCOMPARE(m_frame->View()->PageOfStep(5), data.data());
    QCOMPARE(m_frame->View()->CurrentPage(), data.data());
}

void tst_ShellUi::stepButtonShowsTheKeptPage()
{
    CGUISteps *pane = m_frame->Steps();
    pane->OnGotoStep(1, 517);
    pane->OnGotoStep(5, 522);
    CChildDialog *data = m_frame->View()->PageOfStep(5);
    pane->Button(1005)->click();
    QCOMPARE(m_frame->View()->CurrentPage(), data);
    QCOMPARE(pane->HighlightedStep(), 5);
    QVERIFY(m_frame->View()->PageOfStep(10)); // a button discards nothing
    QVERIFY(pane->IsStepEnabled(10));
}

void tst_ShellUi::startPageButtonsSendTheirRequests()
{
    m_frame->View()->Analysis().m_bAnalysed = true;
    auto *start = qobject_cast<CGUIMain *>(m_frame->View()->CurrentPage());
    QVERIFY(start);
    start->findChild<QPushButton *>(QStringLiteral("analyseButton"))->click();
    QCOMPARE(m_frame->View()->CurrentStep(), 5);
    QVERIFY(m_frame->IsModified());
    m_frame->Steps()->OnGotoStep(5, 522);
    m_frame->Steps()->PressStepButton(1);
    start->findChild<QPushButton *>(QStringLiteral("curveButton"))->click();
    FlushDeletes();
    QCOMPARE(m_frame->View()->CurrentStep(), 15);
    QCOMPARE(ExistingPages(m_frame->View()), (QList<int> { 1, 15 }));
    QVERIFY(!m_frame->View()->Analysis().m_bAnalysed);
}

void tst_ShellUi::pageThatDiscardsItselfSurvivesItsOwnRequest()
{
    CGUISteps *pane = m_frame->Steps();
    pane->OnGotoStep(1, 527);
    QPointer<CChildDialog> curve = m_frame->View()->PageOfStep(15);
    QVERIFY(curve);
    // Its Previous goes back to the start, which discards the curve page itself.
    curve->findChild<QPushButton *>(QStringLiteral("previousButton"))->click();
    QCOMPARE(m_frame->View()->CurrentStep(), 1);
    QVERIFY(!m_frame->View()->PageOfStep(15));
    QVERIFY(curve); // still alive while its click handler returns
    FlushDeletes();
    QVERIFY(curve.isNull());
}

void tst_ShellUi::viewDiscardsOnlyKnownSteps()
{
    CWinQuiverView *view = m_frame->View();
    view->OnGotoStep(995, false);
    QVERIFY(qobject_cast<CChildFormTest *>(view->Page(0)));
    QCOMPARE(view->CurrentStep(), 995);
    view->OnDiscardStep(7);
    QVERIFY(view->Page(0));
    view->OnDiscardStep(995);
    QVERIFY(!view->Page(0));
    QCOMPARE(view->CurrentPage(), nullptr);
    QCOMPARE(view->m_nCurrentPage, -1);
    view->OnGotoStep(42, false); // unknown: nothing is created
    QCOMPARE(view->CurrentPage(), nullptr);
}

void tst_ShellUi::newAnalysisAsksFirstThenStartsEmpty()
{
    CGUISteps *pane = m_frame->Steps();
    pane->OnGotoStep(1, 517);
    pane->OnGotoStep(5, 522);
    m_frame->View()->Analysis().m_bAnalysed = true;
    m_frame->SetModified(true);
    m_boxes->answer = CMessageBox::Answer::No;
    m_frame->NewAnalysis();
    QCOMPARE(ExistingPages(m_frame->View()), (QList<int> { 1, 5, 10 }));
    QVERIFY(m_frame->View()->Analysis().m_bAnalysed);
    m_boxes->answer = CMessageBox::Answer::Yes;
    m_frame->NewAnalysis();
    FlushDeletes();
    QCOMPARE(m_boxes->requests.size(), 2);
    QCOMPARE(ExistingPages(m_frame->View()), QList<int> { 1 });
    QCOMPARE(EnabledButtons(pane), QList<int> { 1 });
    QCOMPARE(m_frame->View()->CurrentStep(), 1);
    QVERIFY(!m_frame->View()->Analysis().m_bAnalysed);
    QVERIFY(!m_frame->IsModified());
}

void tst_ShellUi::closingAModifiedAnalysisAsksFirst()
{
    m_frame->show();
    QVERIFY(m_frame->close()); // nothing to lose: no question
    QVERIFY(m_boxes->requests.isEmpty());
    m_frame->show();
    m_frame->SetModified(true);
    m_boxes->answer = CMessageBox::Answer::Cancel;
    QVERIFY(!m_frame->close());
    QVERIFY(m_frame->isVisible());
    m_boxes->answer = CMessageBox::Answer::No; // closes without saving
    QVERIFY(m_frame->close());
    QCOMPARE(m_boxes->requests.size(), 2);
}

void tst_ShellUi::restoredStepsEnableTheirButtonsAndTheStoredOneShows()
{
    CGUISteps *pane = m_frame->Steps();
    pane->OnRestoreStep(15, false);
    pane->OnRestoreStep(20, true);
    QCOMPARE(EnabledButtons(pane), (QList<int> { 1, 15, 20 }));
    QCOMPARE(m_frame->View()->CurrentStep(), 20);
    QCOMPARE(pane->HighlightedStep(), 20);
    QCOMPARE(ExistingPages(m_frame->View()), (QList<int> { 1, 20 }));
}

void tst_ShellUi::pageRebuiltForADocumentStaysHiddenAndPagesWithoutSectionsStoreNothing()
{
    m_frame->show();
    CWinQuiverView *view = m_frame->View();
    QPointer<CChildDialog> before = view->Page(1);
    CChildDialog *start = view->RecreatePageForDocument(1);
    CChildDialog *blank = view->RecreatePageForDocument(0);
    QVERIFY(start && blank);
    FlushDeletes();
    QVERIFY(before.isNull());
    QVERIFY(!start->isVisible());
    QVERIFY(!start->m_bRestoring); // cleared by the page's initialisation
    QCOMPARE(view->CurrentPage(), nullptr);
    QCOMPARE(view->RecreatePageForDocument(8), nullptr);

    // Neither page has a section body: storing writes nothing, loading reads nothing.
    CMatrixArchive out;
    start->SerializeSection(out, 1);
    blank->SerializeSection(out, 1);
    QVERIFY(out.GetBuffer().empty());
    CMatrixArchive in(std::vector<std::uint8_t> { 7, 7, 7 });
    start->SerializeSection(in, 1);
    QCOMPARE(in.GetPosition(), std::size_t(0));

    view->ShowPage(1);
    QCOMPARE(view->CurrentPage(), start);
    QVERIFY(start->isVisible());
}

void tst_ShellUi::helpOpensTheDocumentOfTheStepOnDisplay()
{
    CGUISteps *pane = m_frame->Steps();
    pane->OnGotoStep(1, 527);
    pane->Button(CGUISteps::HelpButtonId)->click();
    m_frame->View()->OnGotoStep(995, false);
    pane->Button(CGUISteps::HelpButtonId)->click();
    // Whether or not the help folder lies beside this program, each attempt names its file:
    // opened when present, reported when missing.
    QStringList attempts = m_opened;
    for (const MessageRequest &request : m_boxes->requests)
        attempts.append(request.text);
    QCOMPARE(attempts.size(), 2);
    QVERIFY(attempts[0].contains(
        QLatin1String("SchermataSelezioneCurvaDiDispersioneSperimentale.pdf")));
    QVERIFY(attempts[1].contains(QLatin1String("VelaHelp.pdf")));

    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("nothing.pdf"));
    m_opened.clear();
    QVERIFY(!CDesktopOpen::OpenLocal(nullptr, missing));
    QVERIFY(m_opened.isEmpty());
    QVERIFY(m_boxes->requests.last().text.contains(QLatin1String("nothing.pdf")));
}

void tst_ShellUi::resizingTheViewResizesThePageOnDisplay()
{
    m_frame->resize(1200, 800);
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    m_frame->resize(1300, 900);
    QScrollArea *scroll = m_frame->View()->PageScrollArea();
    QTRY_COMPARE(m_frame->View()->CurrentPage()->size(), scroll->viewport()->size());
}

void tst_ShellUi::dataPageLaysOutOnALaptopScreenAndScrollsToItsButtons()
{
    CheckDataPageLayout(m_frame.get());
    // The window opens over the whole free area of a laptop's screen (a panel takes 40 px),
    // at a comfortable size on a large one, and never below its minimum.
    QCOMPARE(CMainFrame::InitialSize(QRect(0, 0, 1366, 728)), QSize(1366, 728));
    QCOMPARE(CMainFrame::InitialSize(QRect(0, 40, 1920, 1040)), QSize(1600, 1000));
    QCOMPARE(CMainFrame::InitialSize(QRect(0, 0, 800, 600)), QSize(CMainFrame::MinimumWidth, 600));
}

void tst_ShellUi::standardShortcutsAndF1HelpOfThePageOnDisplay()
{
    const struct
    {
        const char *action;
        const char *keys;
    } shortcuts[] = { { "newAction", "Ctrl+N" }, { "openAction", "Ctrl+O" },
        { "saveAction", "Ctrl+S" }, { "saveAsAction", "Ctrl+Shift+S" },
        { "reportAction", "Ctrl+P" }, { "pageHelpAction", "F1" } };
    for (const auto &shortcut : shortcuts) {
        auto *action = m_frame->findChild<QAction *>(QLatin1String(shortcut.action));
        QVERIFY2(action, shortcut.action);
        QCOMPARE(action->shortcut(), QKeySequence(QLatin1String(shortcut.keys)));
    }
    QAction *help = m_frame->findChild<QAction *>(QStringLiteral("pageHelpAction"));
    m_frame->Steps()->OnGotoStep(1, 5 + FreshPageFlag);
    help->trigger();
    m_frame->Steps()->OnGotoStep(5, 1);
    help->trigger();
    QStringList attempts = m_opened;
    for (const MessageRequest &request : m_boxes->requests)
        attempts.append(request.text);
    QCOMPARE(attempts.size(), 2);
    QVERIFY(attempts[0].contains(QLatin1String("SchermataAnalisiDeiDatiSperimentali.pdf")));
    QVERIFY(attempts[1].contains(QLatin1String("SchermataPrincipale.pdf")));

    // A desktop without a viewer for the document: the user is told, not left waiting.
    CDesktopOpen::SetHandler([](const QString &) { return false; });
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("guide.pdf"));
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    m_boxes->requests.clear();
    QVERIFY(!CDesktopOpen::OpenLocal(nullptr, document));
    QCOMPARE(m_boxes->requests.size(), 1);
    QVERIFY(m_boxes->requests[0].text.startsWith(QLatin1String("No program on this system")));
    QVERIFY(m_boxes->requests[0].text.contains(QLatin1String("guide.pdf")));
}

void tst_ShellUi::italianStartShowsItalianCaptions()
{
    m_frame.reset();
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vela"),
            QStringLiteral("VELA"));
        settings.setValue(QStringLiteral("Language/Active"), 16);
    }
    {
        CWinQuiverApp app;
        QVERIFY(app.InitInstance({ QStringLiteral("VELA") }));
        QCOMPARE(app.Language(), 16);
        CMainFrame *frame = app.MainFrame();
        QCOMPARE(frame->Steps()->Button(1004)->text(), QStringLiteral("Inizio"));
        QCOMPARE(frame->Steps()->Button(1010)->text(), QStringLiteral("Aiuto"));
        // The main menu reads the same in both languages.
        QStringList menu;
        for (QAction *title : frame->menuBar()->actions()) {
            menu.append(title->text());
            for (QAction *item : title->menu()->actions()) {
                if (!item->isSeparator())
                    menu.append(item->text());
                if (item->menu()) {
                    for (QAction *sub : item->menu()->actions()) {
                        menu.append(sub->text());
                        if (sub->isChecked())
                            menu.append(QStringLiteral("checked"));
                    }
                }
            }
        }
        QCOMPARE(menu,
            (QStringList { "&VELA", "&New...", "&Open...", "&Save", "Save &as...", "2D Map",
                "Write &report...", "&Exit", "&Tools", "&Language", "&English", "&Italian",
                "checked", "&Help", "Help of this &page", "What's new...", "&Check for updates...",
                "&About VELA..." }));
        // Help comes in the interface language when its document is there.
        const QString italianHelp =
            QDir(CDesktopOpen::HelpFolder()).filePath(QStringLiteral("it/SchermataPrincipale.pdf"));
        if (QFileInfo::exists(italianHelp)) {
            m_opened.clear();
            frame->findChild<QAction *>(QStringLiteral("pageHelpAction"))->trigger();
            QCOMPARE(m_opened, QStringList { italianHelp });
        }
        auto *start = frame->View()->CurrentPage();
        QCOMPARE(start->findChild<QPushButton *>(QStringLiteral("analyseButton"))->text(),
            QStringLiteral("Analizza i dati sperimentali"));
        frame->Steps()->OnGotoStep(5, 7);
        QCOMPARE(
            m_boxes->requests.last().text, QStringLiteral("Schermata non ancora implementata"));
        // The Italian texts are longer: the data page still lays out on both screens.
        CheckDataPageLayout(frame);
        QVERIFY(!QTest::currentTestFailed());
    }
    QDir::setCurrent(previous);
}

void tst_ShellUi::englishStartShowsEnglishCaptions()
{
    m_frame.reset();
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vela"),
            QStringLiteral("VELA"));
        settings.setValue(QStringLiteral("Language/Active"), 7);
    }
    {
        CWinQuiverApp app;
        QVERIFY(app.InitInstance({ QStringLiteral("VELA") }));
        QCOMPARE(app.MainFrame()->Steps()->Button(1004)->text(), QStringLiteral("Start"));
        // The first start of this version offers "What's new": opened when found beside the
        // program, reported otherwise.
        QStringList attempts = m_opened;
        for (const MessageRequest &request : m_boxes->requests)
            attempts.append(request.text);
        QCOMPARE(attempts.size(), 1);
        QVERIFY(attempts.first().contains(QLatin1String("Whatsnew.txt")));
        app.ChooseLanguage(16);
        QCOMPARE(m_boxes->requests.last().text,
            QString::fromUtf8("La lingua italiana sar\u00e0 utilizzata al prossimo riavvio "
                              "del programma."));
        // The running program keeps its language.
        QCOMPARE(app.MainFrame()->Steps()->Button(1004)->text(), QStringLiteral("Start"));
        QFile file(dir.filePath(QStringLiteral("VELA.ini")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("Language=Italian"));
    }
    QDir::setCurrent(previous);
}

void tst_ShellUi::commandLineFileOpensAfterTheWindowIsShown()
{
    m_frame.reset();
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    bool shownWhenAsked = false;
    CWinQuiverApp app;
    CMessageBox::Handler previous =
        CMessageBox::SetHandler([&](QWidget *parent, const MessageRequest &request) {
            if (request.text.contains(QLatin1String("analysis.vla")))
                shownWhenAsked = parent && parent->isVisible();
            return CMessageBox::Answer::Ok;
        });
    QVERIFY(
        app.InitInstance({ QStringLiteral("VELA"), dir.filePath(QStringLiteral("analysis.vla")) }));
    CMessageBox::SetHandler(previous);
    QVERIFY(shownWhenAsked);
}

void tst_ShellUi::commandLineTraceFileOpensOnTheDataPage()
{
    m_frame.reset();
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    CWinQuiverApp app;
    QVERIFY(app.InitInstance(
        { QStringLiteral("VELA"), QStringLiteral(VELA_SAMPLES_DIR "/sample_shot.sg2") }));
    CWinQuiverView *view = app.MainFrame()->View();
    QCOMPARE(view->CurrentStep(), 5);
    QCOMPARE(app.MainFrame()->Steps()->HighlightedStep(), 5);
    auto *page = qobject_cast<CGUIRispostaSperimentale1 *>(view->CurrentPage());
    QVERIFY(page);
    QVERIFY(page->Traces().loaded);
    QCOMPARE(page->Traces().traceCount, 24);
}

void tst_ShellUi::tabReachesEveryButtonOfEveryPageAndComesBack()
{
    m_frame->resize(1366, 768);
    m_frame->show();
    m_frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
    CWinQuiverView *view = m_frame->View();
    for (int step : { 10, 12, 15, 20, 30 }) {
        view->OnGotoStep(step, false);
        FlushDeletes();
        CChildDialog *page = view->CurrentPage();
        QVERIFY(page);
        QList<QWidget *> buttons;
        for (QAbstractButton *button : page->findChildren<QAbstractButton *>()) {
            // Of a group of radio buttons Tab reaches the checked one; arrows choose the others.
            const bool otherRadio = qobject_cast<QRadioButton *>(button) && button->autoExclusive()
                && !button->isChecked();
            if (button->isVisibleTo(m_frame.get()) && button->isEnabled()
                && (button->focusPolicy() & Qt::TabFocus) && !otherRadio)
                buttons.append(button);
        }
        QVERIFY2(!buttons.isEmpty(), qPrintable(QString::number(step)));
        QWidget *first = buttons.first();
        first->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), first);
        // Tab walks the window: every button of the page is reached, and the walk comes back
        // to where it began (no field holds the focus). Inside a grid Tab moves from cell to
        // cell, as in a spreadsheet; Ctrl+Tab leaves it, as in every Qt table.
        QSet<QWidget *> seen;
        bool back = false;
        for (int i = 0; i < 400 && !back; ++i) {
            QWidget *focus = QApplication::focusWidget();
            QVERIFY2(focus, qPrintable(QString::number(step)));
            seen.insert(focus);
            const bool grid = qobject_cast<QAbstractItemView *>(focus) != nullptr;
            QTest::keyClick(focus, Qt::Key_Tab, grid ? Qt::ControlModifier : Qt::NoModifier);
            back = QApplication::focusWidget() == first;
        }
        QVERIFY2(back, qPrintable(QStringLiteral("step %1: no way back").arg(step)));
        for (QWidget *button : buttons)
            QVERIFY2(seen.contains(button),
                qPrintable(QStringLiteral("step %1: %2").arg(step).arg(button->objectName())));
    }
    m_frame->hide();
}

QTEST_MAIN(tst_ShellUi)
#include "tst_ShellUi.moc"
