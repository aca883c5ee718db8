// Writes the analysis report: asks for the file, writes the title page and every page's chapter
// in slot order, and tells the user how it went.
#ifndef VELA_APP_RESULTS_REPORTDRIVER_H
#define VELA_APP_RESULTS_REPORTDRIVER_H

#include <QList>
#include <QString>

class CChildDialog;
class QWidget;

/// The report request (UM_WRITE_REPORT) as the main view carries it out.
class ReportDriver
{
public:
    /// The save dialog: "Report.rtf" proposed, ".rtf" added when no extension is typed, an
    /// existing file replaced only after asking. Empty for Cancel.
    static QString ChooseFile(QWidget *parent);

    /// Writes the report of `pages` (slot order; nullptr for an empty slot) into `path`: the
    /// title page, then each page's WriteReport. Charts are drawn off screen at 640 x 640.
    /// Shows "Impossible to open file" when the file cannot be created, "Data successfully
    /// exported in <path>" once the whole report lies under that name, and a failure message
    /// when it could not be written completely (nothing is then left under that name).
    /// @return true when the report was written.
    static bool Write(QWidget *parent, const QString &path, const QList<CChildDialog *> &pages);

    /// Product name and copyright compiled into the program, as on the title page.
    static QString ProductName();
    static QString LegalCopyright();
};

#endif // VELA_APP_RESULTS_REPORTDRIVER_H
