// The application object: start-up, interface language, settings, opening files and the
// "What's new", update and about commands.
#ifndef VELA_APP_SHELL_CWINQUIVERAPP_H
#define VELA_APP_SHELL_CWINQUIVERAPP_H

#include "app/shell/CRecentFileList.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CMainFrame;
class QTranslator;

/// Lives beside the QApplication for the whole run. Settings go through QSettings with the
/// organisation "Vela" and the application "VELA".
class CWinQuiverApp : public QObject
{
    Q_OBJECT

public:
    CWinQuiverApp();
    ~CWinQuiverApp() override;

    /// Start-up: chooses the language (and installs its translation), creates and shows the
    /// main frame with the start page, opens the file named on the command line (after the
    /// window is shown) and opens "Whatsnew.txt" when the program's version changed.
    /// @param arguments the command line, program name first.
    /// @return false when the program cannot start.
    bool InitInstance(const QStringList &arguments);

    /// The language in force for this run (16 Italian, anything else English).
    int Language() const { return m_language; }
    CMainFrame *MainFrame() const { return m_frame.get(); }
    CRecentFileList &RecentFiles() { return m_recentFiles; }

    /// The one route by which a file reaches the program (command line, Open, recent files):
    /// ".vla" is an analysis document; anything else is a trace file, read on a fresh
    /// experimental-data page (whose messages report a file it cannot read).
    /// @return true when the file was opened.
    bool OpenFile(const QString &path);
    /// Puts a file at the head of the recent files, stores the list and refreshes the menu.
    void NoteRecentFile(const QString &path);
    /// A language chosen in the menu: stored for the next start, with its notice.
    void ChooseLanguage(int language);
    void ShowWhatsNew();
    void CheckForUpdates();
    void ShowAbout();

    /// The product version compiled into the program.
    static QString ProductVersion();
    /// Path of the language file: "VELA.ini" in the current directory.
    static QString LanguageFilePath();
    /// Installs the Italian translation of the program (and of Qt's own dialogs) when the
    /// language is Italian. Returns false when the Italian translation cannot be loaded.
    bool InstallTranslation(int language);

private:
    int m_language = 0;
    CRecentFileList m_recentFiles { 16 };
    std::unique_ptr<QTranslator> m_translator;
    std::unique_ptr<QTranslator> m_qtTranslator;
    std::unique_ptr<CMainFrame> m_frame;
};

#endif // VELA_APP_SHELL_CWINQUIVERAPP_H
