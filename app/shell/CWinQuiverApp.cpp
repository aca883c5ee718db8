#include "app/shell/CWinQuiverApp.h"

#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/page/CDesktopOpen.h"
#include "app/page/CMessageBox.h"
#include "app/page/UserMessages.h"
#include "app/shell/CGUIMain.h"
#include "app/shell/CGUISteps.h"
#include "app/shell/CLanguageChoice.h"
#include "app/shell/CMainFrame.h"
#include "app/shell/CVersionCheck.h"
#include "app/shell/CWinQuiverView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#ifndef VELA_VERSION
#define VELA_VERSION "0.0.0"
#endif

CWinQuiverApp::CWinQuiverApp() = default;

CWinQuiverApp::~CWinQuiverApp()
{
    m_frame.reset();
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    if (m_qtTranslator)
        QCoreApplication::removeTranslator(m_qtTranslator.get());
}

bool CWinQuiverApp::InitInstance(const QStringList &arguments)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Vela"));
    QCoreApplication::setApplicationName(QStringLiteral("VELA"));
    QCoreApplication::setApplicationVersion(ProductVersion());

    QSettings settings;
    bool languageFileWritten = true;
    m_language = CLanguageChoice::ChooseAtStart(
        settings, QLocale::system(), LanguageFilePath(), &languageFileWritten);
    InstallTranslation(m_language);
    m_recentFiles.Load(settings);

    m_frame = std::make_unique<CMainFrame>(this);
    m_frame->CheckLanguage(m_language);
    m_frame->SetRecentFiles(m_recentFiles.Files());
    if (!languageFileWritten)
        m_frame->SetStatusText(tr("The language file %1 could not be written.")
                                   .arg(QDir::toNativeSeparators(LanguageFilePath())));

    // The file opens into the window already shown.
    m_frame->show();
    const QStringList files = arguments.mid(1);
    for (const QString &argument : files) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            OpenFile(argument);
            break;
        }
    }

    if (CVersionCheck::VersionChanged(settings, ProductVersion()))
        ShowWhatsNew();
    return true;
}

bool CWinQuiverApp::OpenFile(const QString &path)
{
    if (!m_frame)
        return false;
    if (QFileInfo(path).suffix().compare(QLatin1String("vla"), Qt::CaseInsensitive) == 0) {
        if (m_frame->IsModified()
            && CMessageBox::Show(m_frame.get(),
                   tr("The current analysis has not been saved. Discard it?"), QString(),
                   MessageRequest::Icon::Question, MessageRequest::Buttons::YesNo)
                != CMessageBox::Answer::Yes)
            return false;
        return m_frame->OpenDocument(path);
    }
    // Any other file is taken for a trace file: it opens on a fresh experimental-data page,
    // reached as the start page's "Analyse experimental data" reaches it.
    m_frame->Steps()->OnGotoStep(CGUIMain::StepCode, Step::ActiveData + FreshPageFlag);
    auto *page = qobject_cast<CGUIRispostaSperimentale1 *>(m_frame->View()->CurrentPage());
    if (!page) {
        m_frame->SetStatusText(
            tr("%1 was not opened: trace files are opened from the experimental data page.")
                .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    m_frame->SetModified(true);
    return page->OpenTraceFile(path);
}

void CWinQuiverApp::NoteRecentFile(const QString &path)
{
    m_recentFiles.Add(QFileInfo(path).absoluteFilePath());
    QSettings settings;
    m_recentFiles.Save(settings);
    if (m_frame)
        m_frame->SetRecentFiles(m_recentFiles.Files());
}

void CWinQuiverApp::ChooseLanguage(int language)
{
    QSettings settings;
    const bool written = CLanguageChoice::StoreChoice(settings, language, LanguageFilePath());
    if (m_frame)
        m_frame->CheckLanguage(language);
    // The notice is in the language chosen, whatever the language in force.
    const QString notice = CLanguageChoice::IsItalian(language)
        ? QString::fromUtf8("La lingua italiana sar\u00e0 utilizzata al prossimo riavvio del "
                            "programma.")
        : QStringLiteral("English will be used next time you restart this program.");
    CMessageBox::Show(m_frame.get(), notice, QString(), MessageRequest::Icon::Information);
    if (!written && m_frame)
        m_frame->SetStatusText(tr("The language file %1 could not be written.")
                                   .arg(QDir::toNativeSeparators(LanguageFilePath())));
}

void CWinQuiverApp::ShowWhatsNew()
{
    // Looked for in the current directory first, as the language file is, then beside the
    // program, so that starting the program from another folder still finds it.
    const QString name = QStringLiteral("Whatsnew.txt");
    QString path = QDir::current().filePath(name);
    if (!QFileInfo::exists(path)
        && QFileInfo::exists(QDir(QCoreApplication::applicationDirPath()).filePath(name)))
        path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    CDesktopOpen::OpenLocal(m_frame.get(), path);
}

void CWinQuiverApp::CheckForUpdates()
{
    // No update page is published for this program; an installation may name one.
    const QString address =
        QSettings().value(QStringLiteral("Updates/Address")).toString().trimmed();
    if (address.isEmpty()) {
        CMessageBox::Show(m_frame.get(), tr("No update page is configured for this installation."),
            QString(), MessageRequest::Icon::Information);
        return;
    }
    CDesktopOpen::OpenWeb(address);
}

void CWinQuiverApp::ShowAbout()
{
    CMessageBox::Show(m_frame.get(),
        tr("VELA version %1\n\nMultichannel analysis of surface waves: dispersion "
           "spectrum, dispersion curve, Vs profile, Vs30 and soil category.")
            .arg(ProductVersion()),
        tr("About VELA"), MessageRequest::Icon::Information);
}

QString CWinQuiverApp::ProductVersion() { return QStringLiteral(VELA_VERSION); }

QString CWinQuiverApp::LanguageFilePath()
{
    return QDir::current().filePath(CLanguageChoice::LanguageFileName());
}

bool CWinQuiverApp::InstallTranslation(int language)
{
    if (!CLanguageChoice::IsItalian(language))
        return true;
    m_translator = std::make_unique<QTranslator>();
    if (!m_translator->load(QStringLiteral(":/i18n/vela_it.qm"))) {
        m_translator.reset();
        return false;
    }
    QCoreApplication::installTranslator(m_translator.get());
    // Qt's own buttons and dialogs (Yes, No, Cancel, file dialogs) in Italian too.
    m_qtTranslator = std::make_unique<QTranslator>();
    if (m_qtTranslator->load(
            QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(m_qtTranslator.get());
    else
        m_qtTranslator.reset();
    return true;
}
