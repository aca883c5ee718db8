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
    return Dispatch(path, QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool CDesktopOpen::OpenWeb(const QString &address) { return Dispatch(address, QUrl(address)); }

bool CDesktopOpen::OpenStepHelp(QWidget *parent, int stepCode)
{
    return OpenLocal(parent, QDir(HelpFolder()).filePath(CStepTable::HelpDocument(stepCode)));
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
