#include "app/data/CNomeExcel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CNomeExcel::CNomeExcel(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Excel sheet name"));
    auto *layout = new QVBoxLayout(this);
    auto *prompt = new QLabel(tr("Enter the name of the Excel sheet that holds the data"), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("sheetNameEdit"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNomeExcel::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNomeExcel::reject);
    layout->addWidget(prompt);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
}

void CNomeExcel::accept()
{
    m_strNomeFoglio = m_edit->text();
    QDialog::accept();
}

std::optional<QString> CNomeExcel::Ask(QWidget *parent)
{
    CNomeExcel dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_strNomeFoglio;
}
