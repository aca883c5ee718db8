// Save dialog whose file name follows the chosen file type: choosing another type puts that
// type's extension on the typed name.
#ifndef VELA_APP_CHART_CFILEEXPORTDIALOG_H
#define VELA_APP_CHART_CFILEEXPORTDIALOG_H

#include <QFileDialog>
#include <QStringList>

/// Save-mode file dialog, asking before overwriting, with no default name or extension.
/// Constructed with a filter in the form "Description (*.ext)|*.ext|...||"; after it closes
/// the caller reads the chosen path (selectedFiles) and the chosen type (m_nFilterIndex, from 1).
class CFileExportDialog : public QFileDialog
{
    Q_OBJECT

public:
    CFileExportDialog(const QString &filter, QWidget *parent = nullptr);

    /// Filter converted to the dialog's own form: one "Description (patterns)" per type.
    QStringList m_filters;
    /// Extension of each type: the text between "*" and ")" of its description (".txt").
    QStringList m_extensions;
    /// The file name as last adjusted.
    QString m_fileName;
    /// Chosen type, 1-based; 1 at construction.
    int m_nFilterIndex = 1;

    /// Splits a "|"-separated filter into (description, pattern) pairs.
    static QList<QPair<QString, QString>> SplitFilter(const QString &filter);
    /// The extension a description announces: the text between its "*" and ")".
    static QString ExtensionOfDescription(const QString &description);
    /// The name after a type change: "*" + extension when empty; otherwise everything from
    /// the first "." replaced by the extension, or the extension appended when there is no ".".
    static QString AdjustFileName(const QString &name, const QString &extension);

private:
    void OnTypeChanged(const QString &filter);
};

#endif // VELA_APP_CHART_CFILEEXPORTDIALOG_H
