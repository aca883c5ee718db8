#include "app/shell/CMainFrame.h"

#include "app/page/CDesktopOpen.h"
#include "app/page/CMessageBox.h"
#include "app/page/CStepTable.h"
#include "app/shell/CGUISteps.h"
#include "app/shell/CLanguageChoice.h"
#include "app/shell/CWinQuiverApp.h"
#include "app/shell/CWinQuiverDoc.h"
#include "app/shell/CWinQuiverView.h"
#include "app/spectrum/CDialog2DMap.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>

QSize CMainFrame::InitialSize(const QRect &available)
{
    // A laptop screen is used whole; a large one gets a window of a comfortable size.
    const QSize comfortable(1600, 1000);
    if (!available.isValid())
        return QSize(1180, 740);
    return available.size().boundedTo(comfortable).expandedTo(QSize(MinimumWidth, MinimumHeight));
}

CMainFrame::CMainFrame(CWinQuiverApp *app, QWidget *parent)
    : QMainWindow(parent)
    , m_app(app)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(InitialSize(QGuiApplication::primaryScreen()
            ? QGuiApplication::primaryScreen()->availableGeometry()
            : QRect()));

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->setHandleWidth(1);
    m_pSteps = new CGUISteps(splitter);
    m_pView = new CWinQuiverView(splitter);
    splitter->addWidget(m_pSteps);
    splitter->addWidget(m_pView);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    m_statusText = new QLabel(tr("Ready"), this);
    statusBar()->addWidget(m_statusText, 1);

    m_doc = std::make_unique<CWinQuiverDoc>(m_pView, this);
    UpdateTitle();
    CreateMenus();

    m_pSteps->SetView(m_pView);
    m_pView->OnSetStepsPane(m_pSteps);
    connect(m_pSteps, &CGUISteps::DocModified, this, [this] { SetModified(true); });
    connect(m_pSteps, &CGUISteps::MapRequested, this, &CMainFrame::OpenMapDialog);
    m_pSteps->PressStepButton(Step::Start);
    m_pSteps->ResetButtons();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CreateMenus()
{
    // The main menu reads the same in both languages: the Italian file keeps these captions.
    m_fileMenu = menuBar()->addMenu(tr("&VELA"));
    // The shortcuts every desktop program has, so that a keyboard user finds them.
    auto addFileAction = [this](const QString &text, const char *name, const QKeySequence &keys,
                             auto slot) {
        QAction *action = m_fileMenu->addAction(text, this, slot);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        return action;
    };
    addFileAction(tr("&New..."), "newAction", QKeySequence(QStringLiteral("Ctrl+N")),
        &CMainFrame::NewAnalysis);
    addFileAction(tr("&Open..."), "openAction", QKeySequence(QStringLiteral("Ctrl+O")),
        &CMainFrame::OpenDocumentDialog);
    addFileAction(tr("&Save"), "saveAction", QKeySequence(QStringLiteral("Ctrl+S")),
        &CMainFrame::SaveDocument);
    addFileAction(tr("Save &as..."), "saveAsAction", QKeySequence(QStringLiteral("Ctrl+Shift+S")),
        &CMainFrame::SaveDocumentAs);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(tr("2D Map"), this, &CMainFrame::OpenMapDialog);
    QAction *report =
        m_fileMenu->addAction(tr("Write &report..."), this, [this] { m_pView->OnWriteReport(); });
    report->setObjectName(QStringLiteral("reportAction"));
    report->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    // The recent files go between these two separators; empty, the menu collapses them.
    m_fileMenu->addSeparator();
    m_recentSeparator = m_fileMenu->addSeparator();
    m_exitAction = m_fileMenu->addAction(tr("&Exit"), this, &QWidget::close);
    m_exitAction->setObjectName(QStringLiteral("exitAction"));

    QMenu *tools = menuBar()->addMenu(tr("&Tools"));
    QMenu *language = tools->addMenu(tr("&Language"));
    auto *group = new QActionGroup(this);
    m_englishAction = language->addAction(tr("&English"));
    m_italianAction = language->addAction(tr("&Italian"));
    for (QAction *action : { m_englishAction, m_italianAction }) {
        action->setCheckable(true);
        group->addAction(action);
    }
    connect(m_englishAction, &QAction::triggered, this, [this] {
        if (m_app)
            m_app->ChooseLanguage(CLanguageChoice::English);
    });
    connect(m_italianAction, &QAction::triggered, this, [this] {
        if (m_app)
            m_app->ChooseLanguage(CLanguageChoice::Italian);
    });
    QMenu *help = tools->addMenu(tr("&Help"));
    QAction *pageHelp = help->addAction(tr("Help of this &page"), this, &CMainFrame::OpenPageHelp);
    pageHelp->setObjectName(QStringLiteral("pageHelpAction"));
    pageHelp->setShortcut(QKeySequence(Qt::Key_F1));
    help->addAction(tr("What's new..."), this, [this] {
        if (m_app)
            m_app->ShowWhatsNew();
    });
    help->addAction(tr("&Check for updates..."), this, [this] {
        if (m_app)
            m_app->CheckForUpdates();
    });
    help->addAction(tr("&About VELA..."), this, [this] {
        if (m_app)
            m_app->ShowAbout();
    });
}

void CMainFrame::SetStatusText(const QString &text) { m_statusText->setText(text); }

void CMainFrame::CheckLanguage(int language)
{
    (CLanguageChoice::IsItalian(language) ? m_italianAction : m_englishAction)->setChecked(true);
}

void CMainFrame::SetRecentFiles(const QStringList &files)
{
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    for (int index = 0; index < files.size(); ++index) {
        const QString path = files.at(index);
        auto *action = new QAction(
            QStringLiteral("&%1 %2").arg(index + 1).arg(QDir::toNativeSeparators(path)), this);
        connect(action, &QAction::triggered, this, [this, path] {
            if (m_app)
                m_app->OpenFile(path);
            else
                OpenDocument(path);
        });
        m_fileMenu->insertAction(m_recentSeparator, action);
        m_recentActions.append(action);
    }
}

void CMainFrame::SetModified(bool modified) { setWindowModified(modified); }

void CMainFrame::OpenMapDialog()
{
    CDialog2DMap dialog(this);
    dialog.exec();
}

void CMainFrame::NewAnalysis()
{
    if (IsModified()
        && CMessageBox::Show(this, tr("The current analysis has not been saved. Discard it?"),
               QString(), MessageRequest::Icon::Question, MessageRequest::Buttons::YesNo)
            != CMessageBox::Answer::Yes)
        return;
    m_pView->DiscardAllPages();
    // Nothing of the previous analysis may reach the new one's pages or report.
    m_pView->ResetAnalysis();
    m_pSteps->PressStepButton(Step::Start);
    m_pSteps->ResetButtons();
    m_doc->OnNewDocument();
    SetModified(false);
    UpdateTitle();
}

void CMainFrame::OpenDocumentDialog()
{
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open"), QString(), tr("VELA Files (*.vla)"));
    if (path.isEmpty())
        return;
    if (m_app)
        m_app->OpenFile(path);
    else
        OpenDocument(path);
}

bool CMainFrame::OpenDocument(const QString &path)
{
    if (!m_doc->OnOpenDocument(path))
        return false;
    SetModified(false);
    UpdateTitle();
    NoteRecentFile(path);
    return true;
}

bool CMainFrame::SaveDocument()
{
    if (m_doc->GetPathName().isEmpty())
        return SaveDocumentAs();
    return SaveDocumentTo(m_doc->GetPathName());
}

bool CMainFrame::SaveDocumentAs()
{
    QString path = QFileDialog::getSaveFileName(
        this, tr("Save as"), m_doc->GetPathName(), tr("VELA Files (*.vla)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".vla");
    return SaveDocumentTo(path);
}

bool CMainFrame::SaveDocumentTo(const QString &path)
{
    if (!m_doc->OnSaveDocument(path))
        return false;
    SetModified(false);
    UpdateTitle();
    NoteRecentFile(path);
    return true;
}

void CMainFrame::UpdateTitle()
{
    const QString name = m_doc->GetPathName().isEmpty()
        ? tr("Untitled")
        : QFileInfo(m_doc->GetPathName()).fileName();
    setWindowTitle(name + QStringLiteral("[*] - VELA"));
}

void CMainFrame::NoteRecentFile(const QString &path)
{
    if (m_app)
        m_app->NoteRecentFile(path);
}

void CMainFrame::OpenPageHelp() { CDesktopOpen::OpenStepHelp(this, m_pView->CurrentStep()); }

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (IsModified()) {
        const QString name = m_doc->GetPathName().isEmpty()
            ? tr("Untitled")
            : QFileInfo(m_doc->GetPathName()).fileName();
        const CMessageBox::Answer answer =
            CMessageBox::Show(this, tr("Save changes to %1?").arg(name), QString(),
                MessageRequest::Icon::Question, MessageRequest::Buttons::YesNoCancel);
        // A save that fails or is cancelled keeps the window open with the analysis in it.
        if (answer == CMessageBox::Answer::Cancel
            || (answer == CMessageBox::Answer::Yes && !SaveDocument())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}
