#include "app/shell/CRecentFileList.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace {

QString KeyOf(int index) { return QStringLiteral("Recent File List/File%1").arg(index + 1); }

bool SameFile(const QString &a, const QString &b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

CRecentFileList::CRecentFileList(int size)
    : m_size(size > 0 ? size : 1)
{
}

void CRecentFileList::Add(const QString &path)
{
    if (path.isEmpty())
        return;
    Remove(path);
    m_files.prepend(QFileInfo(path).absoluteFilePath());
    while (m_files.size() > m_size)
        m_files.removeLast();
}

void CRecentFileList::Remove(const QString &path)
{
    m_files.erase(std::remove_if(m_files.begin(), m_files.end(),
                      [&path](const QString &entry) { return SameFile(entry, path); }),
        m_files.end());
}

void CRecentFileList::Load(const QSettings &settings)
{
    m_files.clear();
    for (int index = 0; index < m_size; ++index) {
        const QString path = settings.value(KeyOf(index)).toString();
        if (!path.isEmpty())
            m_files.append(path);
    }
}

void CRecentFileList::Save(QSettings &settings) const
{
    for (int index = 0; index < m_size; ++index) {
        if (index < m_files.size())
            settings.setValue(KeyOf(index), m_files.at(index));
        else
            settings.remove(KeyOf(index));
    }
}
