#include "app/shell/CWinQuiverDoc.h"

#include "app/page/CMessageBox.h"
#include "app/shell/CDocumentFile.h"
#include "app/shell/CWinQuiverView.h"
#include "matrix/CMatrixArchive.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <exception>
#include <stdexcept>

CWinQuiverDoc::CWinQuiverDoc(CWinQuiverView *view, QWidget *dialogParent)
    : m_pView(view)
    , m_pDialogParent(dialogParent)
    , m_version(CDocumentFile::CurrentVersion)
{
}

void CWinQuiverDoc::OnNewDocument()
{
    m_pathName.clear();
    m_version = CDocumentFile::CurrentVersion;
}

bool CWinQuiverDoc::OnOpenDocument(const QString &path)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CMessageBox::Show(m_pDialogParent,
            tr("The file %1 cannot be opened: %2.").arg(shownPath, file.errorString()), QString(),
            MessageRequest::Icon::Error);
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    // First on the side: a scratch view with its own analysis reads the whole file, so that
    // a damaged file leaves the analysis on screen untouched.
    CDocumentFile::ReadResult result;
    try {
        CWinQuiverView scratch;
        CMatrixArchive ar(bytes.constData(), std::size_t(bytes.size()));
        result = scratch.ReadDocument(ar);
    } catch (const std::exception &error) {
        CMessageBox::Show(m_pDialogParent,
            tr("The file %1 is damaged or is not a VELA analysis (%2). The analysis on screen "
               "has not been changed.")
                .arg(shownPath, QString::fromUtf8(error.what())),
            QString(), MessageRequest::Icon::Error);
        return false;
    }
    if (result.status == CDocumentFile::ReadStatus::NewerVersion) {
        CMessageBox::Show(m_pDialogParent,
            tr("This file was generated with a newer version and cannot be opened"),
            tr("Wrong version"), MessageRequest::Icon::Warning);
        return false;
    }

    // The same bytes again, now into the view; they have just been read without fault.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        CMatrixArchive ar(bytes.constData(), std::size_t(bytes.size()));
        result = m_pView->ReadDocument(ar);
    } catch (const std::exception &error) {
        QApplication::restoreOverrideCursor();
        CMessageBox::Show(m_pDialogParent,
            tr("The file %1 could not be read completely (%2).")
                .arg(shownPath, QString::fromUtf8(error.what())),
            QString(), MessageRequest::Icon::Error);
        m_pathName.clear();
        return false;
    }
    QApplication::restoreOverrideCursor();
    m_pathName = path;
    m_version = result.version;
    return true;
}

std::vector<std::uint8_t> CWinQuiverDoc::DocumentBytes()
{
    CMatrixArchive ar;
    m_pView->WriteDocument(ar);
    return ar.GetBuffer();
}

bool CWinQuiverDoc::OnSaveDocument(const QString &path)
{
    if (m_version != CDocumentFile::CurrentVersion) {
        CMessageBox::Show(m_pDialogParent,
            tr("This file was created with an older version of the program. It will be "
               "converted to the latest version."),
            tr("Version upgrade"), MessageRequest::Icon::Information);
        m_version = CDocumentFile::CurrentVersion;
    }
    const QString shownPath = QDir::toNativeSeparators(path);
    auto failed = [&](const QString &reason) {
        CMessageBox::Show(m_pDialogParent,
            tr("The analysis could not be saved to %1 (%2). The file already there, if any, "
               "has not been changed.")
                .arg(shownPath, reason),
            QString(), MessageRequest::Icon::Error);
        return false;
    };

    QString reason;
    const bool saved = SaveAtomically(
        path,
        [this](QIODevice &out) {
            // The whole document is put together before the first byte is written.
            const std::vector<std::uint8_t> bytes = DocumentBytes();
            if (out.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()))
                != qint64(bytes.size()))
                throw std::runtime_error(out.errorString().toStdString());
        },
        &reason);
    if (!saved)
        return failed(reason);
    m_pathName = path;
    return true;
}

bool CWinQuiverDoc::SaveAtomically(
    const QString &path, const std::function<void(QIODevice &)> &write, QString *error)
{
    QSaveFile file(path);
    // Written in place, a failure would leave a half-written file under the user's name.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    try {
        write(file);
    } catch (const std::exception &failure) {
        file.cancelWriting();
        if (error)
            *error = QString::fromUtf8(failure.what());
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
