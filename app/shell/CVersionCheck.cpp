#include "app/shell/CVersionCheck.h"

#include <QSettings>

bool CVersionCheck::VersionChanged(QSettings &settings, const QString &productVersion)
{
    const QString key = QStringLiteral("Version/Last");
    if (settings.value(key, QStringLiteral("0")).toString() == productVersion)
        return false;
    settings.setValue(key, productVersion);
    return true;
}
