#include "app/page/CDesktopOpen.h"

#include "app/page/CMessageBox.h"
#include "app/page/CStepTable.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <utility>

namespace {

CDesktopOpen::Handler &CurrentHandler()
{
    static CDesktopOpen::Handler handler;
    return handler;
}

bool Dispatch(const QString &target, const QUrl &url)
{
    const CDesktopOpen::Handler &handler = CurrentHandler();
    return handler ? handler(target) : QDesktopServices::openUrl(url);
}

} // namespace

bool CDesktopOpen::OpenLocal(QWidget *parent, const QString &path)
{
    if (!QFileInfo::exists(path)) {
        CMessageBox::Show(parent,
            QCoreApplication::translate("CDesktopOpen", "Cannot find \"%1\".")
                .arg(QDir::toNativeSeparators(path)),
            QString(), MessageRequest::Icon::Warning);
        return false;
    }
    if (Dispatch(path, QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())))
        return true;
    // Without a viewer the desktop fails silently; the user must at least learn where it is.
    CMessageBox::Show(parent,
        QCoreApplication::translate("CDesktopOpen",
            "No program on this system opens \"%1\". Install a viewer for this kind of "
            "document, or open the file yourself.")
            .arg(QDir::toNativeSeparators(path)),
        QString(), MessageRequest::Icon::Warning);
    return false;
}

bool CDesktopOpen::OpenWeb(const QString &address) { return Dispatch(address, QUrl(address)); }

bool CDesktopOpen::OpenStepHelp(QWidget *parent, int stepCode)
{
    const QString document = CStepTable::HelpDocument(stepCode);
    // The documents of the interface language lie in the subfolder the translation names;
    // the English ones in the help folder itself, which also serves when a translated one is
    // missing.
    const QString language =
        QCoreApplication::translate("CDesktopOpen", ".", "subfolder of the help documents");
    const QString translated =
        QDir::cleanPath(QDir(QDir(HelpFolder()).filePath(language)).filePath(document));
    if (QFileInfo::exists(translated))
        return OpenLocal(parent, translated);
    return OpenLocal(parent, QDir(HelpFolder()).filePath(document));
}

QString CDesktopOpen::HelpFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
}

QString CDesktopOpen::DocumentsFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("documents"));
}

CDesktopOpen::Handler CDesktopOpen::SetHandler(Handler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}
