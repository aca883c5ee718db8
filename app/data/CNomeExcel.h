// Small modal dialog that asks for the name of the worksheet to read from an Excel workbook.
#ifndef VELA_APP_DATA_CNOMEEXCEL_H
#define VELA_APP_DATA_CNOMEEXCEL_H

#include <QDialog>

#include <optional>

class QLineEdit;

/// "Nome foglio Excel": one edit box for the sheet name, OK and Cancel.
class CNomeExcel : public QDialog
{
    Q_OBJECT

public:
    explicit CNomeExcel(QWidget *parent = nullptr);

    /// Set from the edit box when OK is pressed; empty at construction.
    QString m_strNomeFoglio;

    /// Shows the dialog modally; the typed name (possibly empty) after OK, nothing after Cancel.
    static std::optional<QString> Ask(QWidget *parent);

public Q_SLOTS:
    void accept() override;

private:
    QLineEdit *m_edit = nullptr;
};

#endif // VELA_APP_DATA_CNOMEEXCEL_H
