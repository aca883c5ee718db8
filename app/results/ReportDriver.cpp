#include "app/results/ReportDriver.h"

#include "app/chart/CChartWidget.h"
#include "app/page/CChildDialog.h"
#include "app/page/CMessageBox.h"
#include "app/results/ReportWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

#include <exception>

namespace {

// Texts are marked where they stand (QT_TRANSLATE_NOOP) and translated here.
QString Translated(const char *text) { return QCoreApplication::translate("ReportDriver", text); }

} // namespace

QString ReportDriver::ChooseFile(QWidget *parent)
{
    QFileDialog dialog(parent, QString(), QStringLiteral("Report.rtf"),
        Translated(QT_TRANSLATE_NOOP("ReportDriver", "Rich Text Format (*.rtf)")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("rtf"));
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool ReportDriver::Write(QWidget *parent, const QString &path, const QList<CChildDialog *> &pages)
{
    const QString caption = Translated(QT_TRANSLATE_NOOP("ReportDriver", "RTF export"));
    ReportWriter report(&CChartWidget::ExportRegion);
    if (report.Open(path) != RtfOk) {
        CMessageBox::Show(parent,
            Translated(QT_TRANSLATE_NOOP("ReportDriver", "Impossible to open file")), caption,
            MessageRequest::Icon::Error);
        return false;
    }
    report.TitlePage(ProductName(), LegalCopyright());
    // A chapter that fails half-way (a matrix error) abandons the whole report: the writer then
    // leaves nothing under the chosen name.
    QString failure;
    try {
        for (CChildDialog *page : pages) {
            if (page)
                page->WriteReport(report);
        }
    } catch (const std::exception &error) {
        failure = QString::fromUtf8(error.what());
    }
    if (!failure.isEmpty()) {
        report.Abandon();
        CMessageBox::Show(parent,
            Translated(QT_TRANSLATE_NOOP("ReportDriver", "The report could not be written: %1"))
                .arg(failure),
            caption, MessageRequest::Icon::Error);
        return false;
    }
    if (!report.Close()) {
        CMessageBox::Show(parent,
            Translated(QT_TRANSLATE_NOOP("ReportDriver",
                           "The report could not be written completely (is the disk full?); "
                           "nothing was saved as %1."))
                .arg(QDir::toNativeSeparators(path)),
            caption, MessageRequest::Icon::Error);
        return false;
    }
    CMessageBox::Show(parent,
        Translated(QT_TRANSLATE_NOOP("ReportDriver", "Data successfully exported in %1"))
            .arg(QDir::toNativeSeparators(path)),
        caption, MessageRequest::Icon::Information);
    return true;
}

QString ReportDriver::ProductName()
{
#ifdef VELA_PRODUCT_NAME
    return QStringLiteral(VELA_PRODUCT_NAME);
#else
    return QStringLiteral("VELA");
#endif
}

QString ReportDriver::LegalCopyright()
{
#ifdef VELA_LEGAL_COPYRIGHT
    return QString::fromUtf8(VELA_LEGAL_COPYRIGHT);
#else
    return QStringLiteral("<no version info found>");
#endif
}
