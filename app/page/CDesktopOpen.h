// Opening a document, folder or web page with the desktop's own program, replaceable in tests.
#ifndef VELA_APP_PAGE_CDESKTOPOPEN_H
#define VELA_APP_PAGE_CDESKTOPOPEN_H

#include <QString>

#include <functional>

class QWidget;

class CDesktopOpen
{
public:
    /// Receives a local path or a web address; answers whether the desktop accepted it.
    using Handler = std::function<bool(const QString &target)>;

    /// Opens a local file or folder. A path that does not exist, or one the desktop has no
    /// program for, is reported with a message box naming it (the desktop would otherwise fail
    /// silently).
    static bool OpenLocal(QWidget *parent, const QString &path);
    /// Opens a web address in the browser.
    static bool OpenWeb(const QString &address);
    /// Opens the help document of a step in the interface language (help/it for Italian),
    /// looked for in the help folder beside the program; the English one when it is missing.
    static bool OpenStepHelp(QWidget *parent, int stepCode);
    /// The folder that holds the help documents ("help" beside the program).
    static QString HelpFolder();
    /// The documents folder opened by "Bibliography" ("documents" beside the program).
    static QString DocumentsFolder();
    /// Installs a handler (an empty one restores the desktop) and returns the previous one.
    static Handler SetHandler(Handler handler);
};

#endif // VELA_APP_PAGE_CDESKTOPOPEN_H
