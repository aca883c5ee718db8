// Reading an Excel worksheet into a matrix of numbers: .xls workbooks through FreeXL, .xlsx
// workbooks by unzipping them (minizip) and reading the sheet XML.
#ifndef VELA_APP_DATA_CEXCELACCESS_H
#define VELA_APP_DATA_CEXCELACCESS_H

#include <QString>
#include <QStringList>

class CMatrix;

/// Excel access shared by the trace reader and the dispersion-curve import.
///
/// A worksheet is read as a table: one matrix row per sheet row and one column per sheet
/// column of the used area. Every cell is read as text with each "," taken as ".", and parsed
/// as one number; a cell that gives none counts as non-numeric and stays 0. Rows without any
/// numeric cell (blank rows, text headers) are left out; the others keep their sheet order.
/// The kind of workbook is told by its content, not its extension.
class CExcelAccess
{
public:
    /// Reads the worksheet `sheet` of the workbook at `path` into `out`.
    /// @param sheet the worksheet's name, with or without a trailing "$", in any letter case.
    /// @param out on success the R x K numbers (R the rows with a numeric cell, K the columns
    ///        of the used area); on failure a 1 x 1 zero matrix.
    /// @param message on failure, "Database error: " followed by what went wrong (the workbook
    ///        cannot be opened, is not an Excel workbook, has no such sheet, ...).
    /// @return 0 on success, -1 on failure.
    static int ReadSheet(
        const QString &path, const QString &sheet, CMatrix &out, QString *message = nullptr);

    /// The worksheet names of a workbook, in workbook order; empty, with `message` set, when
    /// the workbook cannot be read.
    static QStringList SheetNames(const QString &path, QString *message = nullptr);
};

#endif // VELA_APP_DATA_CEXCELACCESS_H
