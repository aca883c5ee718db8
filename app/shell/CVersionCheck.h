// Whether this is the first start of a new version of the program.
#ifndef VELA_APP_SHELL_CVERSIONCHECK_H
#define VELA_APP_SHELL_CVERSIONCHECK_H

#include <QString>

class QSettings;

class CVersionCheck
{
public:
    /// Compares productVersion with "Version"/"Last" (default "0"). When they differ, stores
    /// productVersion there and returns true (the caller then opens "Whatsnew.txt").
    static bool VersionChanged(QSettings &settings, const QString &productVersion);
};

#endif // VELA_APP_SHELL_CVERSIONCHECK_H
