#include "app/chart/CFileExportDialog.h"

#include <QLineEdit>

CFileExportDialog::CFileExportDialog(const QString &filter, QWidget *parent)
    : QFileDialog(parent)
{
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    // The name box must be reachable to keep its extension in step with the type.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::DontConfirmOverwrite, false);
    setOption(QFileDialog::ReadOnly, false);
    for (const auto &type : SplitFilter(filter)) {
        m_filters << type.first + QStringLiteral(" (") + QString(type.second).replace(';', ' ')
                + QLatin1Char(')');
        m_extensions << ExtensionOfDescription(type.first);
    }
    setNameFilters(m_filters);
    connect(this, &QFileDialog::filterSelected, this, &CFileExportDialog::OnTypeChanged);
}

QList<QPair<QString, QString>> CFileExportDialog::SplitFilter(const QString &filter)
{
    QList<QPair<QString, QString>> types;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty())
            break; // the "||" that ends the filter
        types.append({ parts.at(i), parts.at(i + 1) });
    }
    return types;
}

QString CFileExportDialog::ExtensionOfDescription(const QString &description)
{
    const int star = description.indexOf(QLatin1Char('*'));
    if (star < 0)
        return QString();
    const int close = description.indexOf(QLatin1Char(')'), star);
    return close < 0 ? description.mid(star + 1) : description.mid(star + 1, close - star - 1);
}

QString CFileExportDialog::AdjustFileName(const QString &name, const QString &extension)
{
    if (name.isEmpty())
        return QStringLiteral("*") + extension;
    const int dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name + extension : name.left(dot) + extension;
}

void CFileExportDialog::OnTypeChanged(const QString &filter)
{
    const int index = m_filters.indexOf(filter);
    if (index < 0)
        return;
    m_nFilterIndex = index + 1;
    auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!edit)
        return;
    m_fileName = AdjustFileName(edit->text(), m_extensions.at(index));
    edit->setText(m_fileName);
}
