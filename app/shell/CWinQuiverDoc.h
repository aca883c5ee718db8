// The analysis document: opening and saving .vla files through the main view's pages.
#ifndef VELA_APP_SHELL_CWINQUIVERDOC_H
#define VELA_APP_SHELL_CWINQUIVERDOC_H

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class CWinQuiverView;
class QIODevice;
class QWidget;

/// Stores nothing of its own: the file is the main view's header and its pages' sections.
/// Opening checks the whole file before the analysis on screen is replaced; saving writes a
/// temporary file beside the target and renames it over the target only once the whole
/// document is written.
class CWinQuiverDoc
{
    Q_DECLARE_TR_FUNCTIONS(CWinQuiverDoc)

public:
    /// @param view the main view whose pages make the document; not owned.
    /// @param dialogParent parent of the message boxes; may be nullptr.
    CWinQuiverDoc(CWinQuiverView *view, QWidget *dialogParent);

    /// A new, empty analysis: no file name, the current format version.
    void OnNewDocument();
    /// Opens a document. The file is read whole and every page built from it on the side
    /// first: a file that cannot be read, is damaged, truncated or from a newer version gets
    /// its message and leaves the view as it was. Returns true when the document was opened.
    bool OnOpenDocument(const QString &path);
    /// Saves the document under a path. A document opened from an older format is converted
    /// (with its notice, once). Returns false, with a message, when the file could not be
    /// written; the file already at that path is then unchanged.
    bool OnSaveDocument(const QString &path);

    /// The file the document was last opened from or saved to; empty for a new document.
    const QString &GetPathName() const { return m_pathName; }
    /// Format version in force: that of the file opened, CurrentVersion after a save.
    int Version() const { return m_version; }

    /// The bytes of the document as it would be saved now (the view's header and sections).
    std::vector<std::uint8_t> DocumentBytes();

    /// Writes a file through a temporary file in the same folder, renamed over `path` only
    /// when `write` has returned normally and every byte reached the disk. When `write` throws
    /// or the file system fails, the temporary file is removed, whatever was at `path` stays
    /// as it was, and false is returned with the reason in `error`.
    static bool SaveAtomically(
        const QString &path, const std::function<void(QIODevice &)> &write, QString *error);

private:
    CWinQuiverView *m_pView;
    QWidget *m_pDialogParent;
    QString m_pathName;
    int m_version;
};

#endif // VELA_APP_SHELL_CWINQUIVERDOC_H
