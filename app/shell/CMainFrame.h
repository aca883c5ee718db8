// The main window: menu, status bar, the step navigation pane and the main view side by side.
#ifndef VELA_APP_SHELL_CMAINFRAME_H
#define VELA_APP_SHELL_CMAINFRAME_H

#include <QMainWindow>

#include <memory>

class CGUISteps;
class CWinQuiverApp;
class CWinQuiverDoc;
class CWinQuiverView;
class QAction;
class QLabel;
class QMenu;

class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int MinimumWidth = 1000;
    static constexpr int MinimumHeight = 550;

    /// The size the window opens at on a screen whose free area is `available`: all of it on a
    /// laptop, at most 1600 x 1000 on larger screens, never below the minimum.
    static QSize InitialSize(const QRect &available);

    /// Creates the panes and menus and shows the start page. @param app may be nullptr (tests):
    /// the commands that need the application object then do nothing.
    explicit CMainFrame(CWinQuiverApp *app = nullptr, QWidget *parent = nullptr);
    ~CMainFrame() override;

    CGUISteps *Steps() const { return m_pSteps; }
    CWinQuiverView *View() const { return m_pView; }
    CWinQuiverDoc *Document() const { return m_doc.get(); }

    /// Opens a .vla document (Open, recent files, command line): on success the title shows
    /// its name, it heads the recent files and the document is unmodified.
    bool OpenDocument(const QString &path);
    /// Save: under the document's file, or as Save as when it has none. Returns true when
    /// saved.
    bool SaveDocument();
    /// Save as: asks for a file ("VELA Files (*.vla)") and saves there.
    bool SaveDocumentAs();
    /// Saves under a path without asking (Save as once the file is chosen).
    bool SaveDocumentTo(const QString &path);

    /// Shows a note in the status bar's message field.
    void SetStatusText(const QString &text);
    /// Marks the language item of a stored value (Italian for 16, English otherwise).
    void CheckLanguage(int language);
    /// Rebuilds the recent-file items of the first menu.
    void SetRecentFiles(const QStringList &files);
    /// The document-modified mark of the window.
    void SetModified(bool modified);
    bool IsModified() const { return isWindowModified(); }
    /// Opens the two-dimensional map dialog (modal).
    void OpenMapDialog();
    /// Starts a new, empty analysis: every page is deleted and the start page shows.
    void NewAnalysis();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateMenus();
    void OpenDocumentDialog();
    /// F1: the help document of the page on display (the general one when none is).
    void OpenPageHelp();
    void UpdateTitle();
    void NoteRecentFile(const QString &path);

    CWinQuiverApp *m_app = nullptr;
    CGUISteps *m_pSteps = nullptr;
    CWinQuiverView *m_pView = nullptr;
    std::unique_ptr<CWinQuiverDoc> m_doc;
    QLabel *m_statusText = nullptr;
    QMenu *m_fileMenu = nullptr;
    QAction *m_recentSeparator = nullptr;
    QAction *m_exitAction = nullptr;
    QList<QAction *> m_recentActions;
    QAction *m_englishAction = nullptr;
    QAction *m_italianAction = nullptr;
};

#endif // VELA_APP_SHELL_CMAINFRAME_H
