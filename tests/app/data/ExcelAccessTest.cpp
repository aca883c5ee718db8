// Excel access on workbooks written by independent libraries: .xlsx by libxlsxwriter, .xls by
// python3-xlwt (skipped when that module is absent).
#include "app/chart/CFileExportDialog.h"
#include "app/data/CExcelAccess.h"
#include "app/data/TraceReaders.h"
#include "matrix/CMatrix.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cstdlib>
#include <fstream>
#include <variant>
#include <vector>

namespace {

// A sheet as a list of cells: row, column, and a number or a text.
struct SheetCell
{
    int row;
    int col;
    std::variant<double, std::string> value;
};

// The same test sheet in every workbook: a text header, a row of zeros at time 0, rows with
// decimal commas in text cells, a blank row, and data that starts in column B.
const std::vector<SheetCell> &TestSheet()
{
    static const std::vector<SheetCell> cells = {
        { 0, 1, std::string("t [us]") },
        { 0, 2, std::string("geofono 1") },
        { 0, 3, std::string("geofono 2") }, //
        { 1, 1, 0.0 },
        { 1, 2, 0.0 },
        { 1, 3, 0.0 }, //
        { 2, 1, 500.0 },
        { 2, 2, std::string("1,25") },
        { 2, 3, -2.0 }, //
        { 4, 1, 1000.0 },
        { 4, 2, 3.5 },
        { 4, 3, std::string("-0,5") },
    };
    return cells;
}

void WriteXlsx(const QString &path, const char *sheetName)
{
    lxw_workbook *workbook = workbook_new(path.toUtf8().constData());
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Altro");
    worksheet_write_number(sheet, 0, 0, 99.0, nullptr);
    sheet = workbook_add_worksheet(workbook, sheetName);
    for (const SheetCell &cell : TestSheet()) {
        if (const double *number = std::get_if<double>(&cell.value))
            worksheet_write_number(
                sheet, lxw_row_t(cell.row), lxw_col_t(cell.col), *number, nullptr);
        else
            worksheet_write_string(sheet, lxw_row_t(cell.row), lxw_col_t(cell.col),
                std::get<std::string>(cell.value).c_str(), nullptr);
    }
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
}

bool WriteXls(const QTemporaryDir &dir, const QString &path, const char *sheetName)
{
    if (std::system("/usr/bin/python3 -c 'import xlwt' 2>/dev/null") != 0)
        return false;
    const std::string script = dir.filePath(QStringLiteral("make_xls.py")).toStdString();
    std::ofstream out(script);
    out << "import xlwt\nbook = xlwt.Workbook()\nbook.add_sheet('Altro').write(0, 0, 99)\n"
        << "sheet = book.add_sheet('" << sheetName << "')\n";
    for (const SheetCell &cell : TestSheet()) {
        out << "sheet.write(" << cell.row << ", " << cell.col << ", ";
        if (const double *number = std::get_if<double>(&cell.value))
            out << *number;
        else
            out << "'" << std::get<std::string>(cell.value) << "'";
        out << ")\n";
    }
    out << "book.save('" << path.toStdString() << "')\n";
    out.close();
    return std::system(("/usr/bin/python3 " + script).c_str()) == 0;
}

std::vector<double> Rows(const CMatrix &m)
{
    std::vector<double> values;
    for (int r = 0; r < m.GetRows(); ++r) {
        for (int c = 0; c < m.GetCols(); ++c)
            values.push_back(m(r, c));
    }
    return values;
}

class ExcelWorkbook : public ::testing::TestWithParam<const char *>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("traces.") + QString::fromLatin1(GetParam()));
        if (QString::fromLatin1(GetParam()) == QLatin1String("xlsx")) {
            WriteXlsx(m_path, "Dati");
        } else if (!WriteXls(m_dir, m_path, "Dati")) {
            GTEST_SKIP() << "python3-xlwt not installed";
        }
    }
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

TEST_P(ExcelWorkbook, ReadsNumericRowsOfTheUsedAreaWithDecimalCommas)
{
    CMatrix m;
    QString message;
    ASSERT_EQ(CExcelAccess::ReadSheet(m_path, QStringLiteral("Dati"), m, &message), 0)
        << qPrintable(message);
    ASSERT_EQ(m.GetRows(), 3);
    ASSERT_EQ(m.GetCols(), 3);
    // The header row and the blank row are left out; the all-zero row keeps its place.
    EXPECT_EQ(Rows(m), (std::vector<double> { 0, 0, 0, 500, 1.25, -2, 1000, 3.5, -0.5 }));
}

TEST_P(ExcelWorkbook, SheetNameWithOrWithoutDollarInAnyCase)
{
    for (const char *name : { "Dati", "Dati$", "DATI", "dati$" }) {
        SCOPED_TRACE(name);
        CMatrix m;
        EXPECT_EQ(CExcelAccess::ReadSheet(m_path, QString::fromLatin1(name), m), 0);
        EXPECT_EQ(m.GetRows(), 3);
    }
}

TEST_P(ExcelWorkbook, MissingSheetIsADatabaseErrorWithAOneByOneZeroResult)
{
    CMatrix m(4, 4);
    QString message;
    EXPECT_EQ(CExcelAccess::ReadSheet(m_path, QStringLiteral("Foglio9"), m, &message), -1);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Database error: "))) << qPrintable(message);
    EXPECT_EQ(m.GetRows(), 1);
    EXPECT_EQ(m.GetCols(), 1);
    EXPECT_EQ(m(0, 0), 0.0);
}

TEST_P(ExcelWorkbook, ListsSheetsInWorkbookOrder)
{
    EXPECT_EQ(CExcelAccess::SheetNames(m_path), (QStringList { "Altro", "Dati" }));
}

TEST_P(ExcelWorkbook, TraceReaderTakesTimeFromColumnZeroInMicroseconds)
{
    // The trace reader picks the Excel access by the .xls extension; the workbook kind is
    // told by content, so an .xlsx saved under .xls reads as well.
    const QString xlsPath = m_dir.filePath(QStringLiteral("record.xls"));
    ASSERT_TRUE(QFile::copy(m_path, xlsPath));
    const TraceReadResult r = ReadTraceFile(xlsPath, QStringLiteral("Dati"));
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    EXPECT_EQ(r.traces, 2);
    EXPECT_EQ(r.samples, 3);
    EXPECT_EQ(r.values, (std::vector<double> { 0, 0, 1.25, -2, 3.5, -0.5 }));
    EXPECT_DOUBLE_EQ(r.timeStepMs, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExcelWorkbook, ::testing::Values("xlsx", "xls"));

TEST(ExcelAccess, FilesThatAreNotWorkbooksFailWithAMessage)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("plain.xls"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0 1 2\n");
    file.close();
    const QString fakeZip = dir.filePath(QStringLiteral("broken.xlsx"));
    QFile zip(fakeZip);
    ASSERT_TRUE(zip.open(QIODevice::WriteOnly));
    zip.write("PK\x03\x04 not really a zip archive");
    zip.close();
    const QString fakeOle = dir.filePath(QStringLiteral("broken2.xls"));
    QFile ole(fakeOle);
    ASSERT_TRUE(ole.open(QIODevice::WriteOnly));
    ole.write(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\x01'));
    ole.close();
    for (const QString &path :
        { text, fakeZip, fakeOle, dir.filePath(QStringLiteral("none.xls")) }) {
        SCOPED_TRACE(qPrintable(path));
        CMatrix m;
        QString message;
        EXPECT_EQ(CExcelAccess::ReadSheet(path, QStringLiteral("Dati"), m, &message), -1);
        EXPECT_TRUE(message.startsWith(QStringLiteral("Database error: ")));
        const TraceReadResult r = ReadTraceFile(path, QStringLiteral("Dati"));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, message);
    }
}

TEST(CFileExportDialogNaming, TypeChangeKeepsTheNameAndSwapsTheExtension)
{
    const struct
    {
        const char *name;
        const char *extension;
        const char *expected;
    } cases[] = {
        { "", ".txt", "*.txt" },
        { "curve", ".xlsx", "curve.xlsx" },
        { "curve.txt", ".xlsx", "curve.xlsx" },
        { "site.a.b.txt", ".txt", "site.txt" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CFileExportDialog::AdjustFileName(
                      QString::fromLatin1(c.name), QString::fromLatin1(c.extension)),
            QString::fromLatin1(c.expected));
    }
}

TEST(CFileExportDialogNaming, FilterSplitsIntoTypesWithTheirExtensions)
{
    const auto types = CFileExportDialog::SplitFilter(
        QStringLiteral("Text file (*.txt)|*.txt|Excel file (*.xlsx)|*.xlsx||"));
    ASSERT_EQ(types.size(), 2);
    EXPECT_EQ(types[1].first, QStringLiteral("Excel file (*.xlsx)"));
    EXPECT_EQ(types[1].second, QStringLiteral("*.xlsx"));
    EXPECT_EQ(CFileExportDialog::ExtensionOfDescription(types[0].first), QStringLiteral(".txt"));
    EXPECT_EQ(CFileExportDialog::ExtensionOfDescription(QStringLiteral("All files")), QString());
}
