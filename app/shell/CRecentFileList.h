// The list of recently used files, newest first, kept in the settings.
#ifndef VELA_APP_SHELL_CRECENTFILELIST_H
#define VELA_APP_SHELL_CRECENTFILELIST_H

#include <QStringList>

class QSettings;

class CRecentFileList
{
public:
    /// @param size the most entries kept (16 for the program).
    explicit CRecentFileList(int size);

    /// Puts a path first; an entry for the same file moves rather than repeats, and the oldest
    /// entry drops out beyond the size.
    void Add(const QString &path);
    void Remove(const QString &path);
    const QStringList &Files() const { return m_files; }
    int Size() const { return m_size; }

    /// Reads and writes the section "Recent File List", keys "File1" ... "FileN".
    void Load(const QSettings &settings);
    void Save(QSettings &settings) const;

private:
    int m_size;
    QStringList m_files;
};

#endif // VELA_APP_SHELL_CRECENTFILELIST_H
