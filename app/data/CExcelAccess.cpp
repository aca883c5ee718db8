#include "app/data/CExcelAccess.h"

#include "matrix/CMatrix.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

#include <freexl.h>
#include <unzip.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

namespace {

// One cell as the workbook holds it: a number, or a text to be parsed.
struct Cell
{
    bool isNumber = false;
    double number = 0.0;
    QString text;
};

// Cells of a sheet by (row, column), 0-based.
using SheetCells = std::map<std::pair<long, long>, Cell>;

// A cell text as a number: "," read as ".", then one number from the start, as "%lf" reads it.
std::optional<double> NumberOfText(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace(',', '.');
    const char *p = bytes.constData();
    const char *end = p + bytes.size();
    while (p < end && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end || *p == '+' || *p == '-')
        return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec != std::errc())
        return std::nullopt;
    return negative ? -value : value;
}

bool SameSheetName(const QString &wanted, const QString &actual)
{
    // The ODBC driver named worksheets "Name$"; users type either form.
    if (wanted.compare(actual, Qt::CaseInsensitive) == 0)
        return true;
    return wanted.endsWith(QLatin1Char('$'))
        && wanted.chopped(1).compare(actual, Qt::CaseInsensitive) == 0;
}

// ---- .xls through FreeXL --------------------------------------------------------------

class XlsHandle
{
public:
    ~XlsHandle()
    {
        if (handle)
            freexl_close(handle);
    }
    const void *handle = nullptr;
};

bool OpenXls(const QString &path, XlsHandle &xls, QStringList &names, QString &error)
{
    const QByteArray native = QFile::encodeName(path);
    if (freexl_open(native.constData(), &xls.handle) != FREEXL_OK) {
        error = QCoreApplication::translate(
            "CExcelAccess", "the workbook cannot be read as an Excel file");
        return false;
    }
    unsigned int count = 0;
    if (freexl_get_info(xls.handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        error =
            QCoreApplication::translate("CExcelAccess", "the workbook's sheets cannot be listed");
        return false;
    }
    for (unsigned int i = 0; i < count && i < 0xFFFF; ++i) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(xls.handle, static_cast<unsigned short>(i), &name)
                != FREEXL_OK
            || !name) {
            error = QCoreApplication::translate(
                "CExcelAccess", "the workbook's sheets cannot be listed");
            return false;
        }
        names << QString::fromUtf8(name);
    }
    return true;
}

bool ReadXlsSheet(XlsHandle &xls, int index, SheetCells &cells, QString &error)
{
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(xls.handle, static_cast<unsigned short>(index)) != FREEXL_OK
        || freexl_worksheet_dimensions(xls.handle, &rows, &columns) != FREEXL_OK) {
        error = QCoreApplication::translate("CExcelAccess", "the sheet cannot be read");
        return false;
    }
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(xls.handle, r, c, &value) != FREEXL_OK) {
                error =
                    QCoreApplication::translate("CExcelAccess", "cell %1 of row %2 cannot be read")
                        .arg(c + 1)
                        .arg(r + 1);
                return false;
            }
            Cell cell;
            switch (value.type) {
            case FREEXL_CELL_INT:
                cell.isNumber = true;
                cell.number = value.value.int_value;
                break;
            case FREEXL_CELL_DOUBLE:
                cell.isNumber = true;
                cell.number = value.value.double_value;
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                cell.text = QString::fromUtf8(value.value.text_value);
                break;
            default:
                continue; // empty cell
            }
            cells[{ long(r), long(c) }] = cell;
        }
    }
    return true;
}

// ---- .xlsx through minizip and the sheet XML ----------------------------------------------

// Parts of a workbook larger than this are refused rather than inflated into memory.
const uLong MaxPartSize = 512ul * 1024 * 1024;

class ZipHandle
{
public:
    ~ZipHandle()
    {
        if (zip)
            unzClose(zip);
    }
    unzFile zip = nullptr;
};

bool ReadPart(unzFile zip, const QString &name, QByteArray &data)
{
    if (unzLocateFile(zip, name.toUtf8().constData(), 0) != UNZ_OK)
        return false;
    unz_file_info info;
    if (unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK
        || info.uncompressed_size > MaxPartSize || unzOpenCurrentFile(zip) != UNZ_OK)
        return false;
    data.resize(qsizetype(info.uncompressed_size));
    int read = data.isEmpty() ? 0 : unzReadCurrentFile(zip, data.data(), unsigned(data.size()));
    const bool complete = read == int(data.size());
    // A further read must find the end; a lying size field would otherwise cut the part.
    char extra = 0;
    const bool atEnd = unzReadCurrentFile(zip, &extra, 1) == 0;
    return unzCloseCurrentFile(zip) == UNZ_OK && complete && atEnd;
}

struct XlsxSheet
{
    QString name;
    QString part; // path inside the archive, e.g. "xl/worksheets/sheet1.xml"
};

bool ListXlsxSheets(unzFile zip, QList<XlsxSheet> &sheets, QString &error)
{
    QByteArray workbook, relations;
    if (!ReadPart(zip, QStringLiteral("xl/workbook.xml"), workbook)
        || !ReadPart(zip, QStringLiteral("xl/_rels/workbook.xml.rels"), relations)) {
        error = QCoreApplication::translate("CExcelAccess", "the file is not an Excel workbook");
        return false;
    }
    QHash<QString, QString> targets;
    QXmlStreamReader rels(relations);
    while (!rels.atEnd()) {
        rels.readNext();
        if (rels.isStartElement() && rels.name() == QLatin1String("Relationship")) {
            const QXmlStreamAttributes a = rels.attributes();
            QString target = a.value(QLatin1String("Target")).toString();
            target = target.startsWith(QLatin1Char('/')) ? target.mid(1)
                                                         : QStringLiteral("xl/") + target;
            targets.insert(a.value(QLatin1String("Id")).toString(), target);
        }
    }
    QXmlStreamReader book(workbook);
    while (!book.atEnd()) {
        book.readNext();
        if (book.isStartElement() && book.name() == QLatin1String("sheet")) {
            XlsxSheet sheet;
            sheet.name = book.attributes().value(QLatin1String("name")).toString();
            for (const QXmlStreamAttribute &attribute : book.attributes()) {
                if (attribute.name() == QLatin1String("id"))
                    sheet.part = targets.value(attribute.value().toString());
            }
            sheets << sheet;
        }
    }
    if (book.hasError() || rels.hasError()) {
        error = QCoreApplication::translate("CExcelAccess", "the workbook's sheet list is damaged");
        return false;
    }
    return true;
}

QStringList ReadSharedStrings(unzFile zip)
{
    QStringList strings;
    QByteArray data;
    if (!ReadPart(zip, QStringLiteral("xl/sharedStrings.xml"), data))
        return strings;
    QXmlStreamReader xml(data);
    QString current;
    bool inItem = false;
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("si")) {
                inItem = true;
                current.clear();
            } else if (xml.name() == QLatin1String("rPh")) {
                ++phonetic; // reading aids of East Asian text are not part of the value
            } else if (inItem && phonetic == 0 && xml.name() == QLatin1String("t")) {
                current += xml.readElementText();
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("si")) {
                strings << current;
                inItem = false;
            } else if (xml.name() == QLatin1String("rPh")) {
                --phonetic;
            }
        }
    }
    return strings;
}

// "BC12" -> column 54 (0-based); -1 when the reference has no letters.
long ColumnOfReference(QStringView reference)
{
    long column = 0;
    int letters = 0;
    for (QChar ch : reference) {
        const char c = char(ch.toUpper().toLatin1());
        if (c < 'A' || c > 'Z')
            break;
        column = column * 26 + (c - 'A' + 1);
        if (++letters > 4)
            return -1;
    }
    return letters ? column - 1 : -1;
}

bool ReadXlsxSheet(unzFile zip, const QString &part, SheetCells &cells, QString &error)
{
    QByteArray data;
    if (part.isEmpty() || !ReadPart(zip, part, data)) {
        error = QCoreApplication::translate(
            "CExcelAccess", "the sheet's data cannot be found in the workbook");
        return false;
    }
    const QStringList shared = ReadSharedStrings(zip);
    QXmlStreamReader xml(data);
    long row = -1;
    long column = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("row")) {
            bool ok = false;
            const long r = xml.attributes().value(QLatin1String("r")).toLong(&ok);
            row = ok && r > 0 ? r - 1 : row + 1;
            column = -1;
        } else if (xml.name() == QLatin1String("c")) {
            const QXmlStreamAttributes a = xml.attributes();
            const long c = ColumnOfReference(a.value(QLatin1String("r")));
            column = c >= 0 ? c : column + 1;
            const QString type = a.value(QLatin1String("t")).toString();
            QString value;
            bool hasValue = false;
            // Read the cell's content: <v> for stored values, <is><t> for inline text.
            while (!(xml.isEndElement() && xml.name() == QLatin1String("c")) && !xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement()
                    && (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t"))) {
                    value += xml.readElementText();
                    hasValue = true;
                }
            }
            if (!hasValue || row < 0)
                continue;
            Cell cell;
            if (type == QLatin1String("s")) {
                bool ok = false;
                const int index = value.toInt(&ok);
                if (!ok || index < 0 || index >= shared.size())
                    continue;
                cell.text = shared.at(index);
            } else if (type.isEmpty() || type == QLatin1String("n")) {
                const std::optional<double> number = NumberOfText(value);
                cell.isNumber = number.has_value();
                cell.number = number.value_or(0.0);
                cell.text = value;
            } else if (type == QLatin1String("b") || type == QLatin1String("e")) {
                continue; // booleans and error values are not data
            } else {
                cell.text = value; // "str" and "inlineStr"
            }
            cells[{ row, column }] = cell;
        }
    }
    if (xml.hasError()) {
        error = QCoreApplication::translate("CExcelAccess", "the sheet's data are damaged (%1)")
                    .arg(xml.errorString());
        return false;
    }
    return true;
}

// ---- common ------------------------------------------------------------------------------

enum class WorkbookKind { Unknown, Xls, Xlsx };

WorkbookKind KindOfWorkbook(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QCoreApplication::translate("CExcelAccess", "the workbook cannot be opened (%1)")
                    .arg(file.errorString());
        return WorkbookKind::Unknown;
    }
    const QByteArray head = file.read(8);
    if (head.startsWith("PK\x03\x04"))
        return WorkbookKind::Xlsx;
    if (head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return WorkbookKind::Xls;
    error = QCoreApplication::translate("CExcelAccess", "the file is not an Excel workbook");
    return WorkbookKind::Unknown;
}

bool ReadCells(const QString &path, const QString &sheet, SheetCells &cells, QString &error)
{
    const WorkbookKind kind = KindOfWorkbook(path, error);
    if (kind == WorkbookKind::Unknown)
        return false;
    QStringList names;
    auto indexOf = [&](const QStringList &list) {
        for (int i = 0; i < list.size(); ++i) {
            if (SameSheetName(sheet, list.at(i)))
                return i;
        }
        return -1;
    };
    auto notFound = [&](const QStringList &list) {
        error = QCoreApplication::translate(
            "CExcelAccess", "the workbook has no sheet named \"%1\" (its sheets: %2)")
                    .arg(sheet, list.join(QStringLiteral(", ")));
        return false;
    };
    if (kind == WorkbookKind::Xls) {
        XlsHandle xls;
        if (!OpenXls(path, xls, names, error))
            return false;
        const int index = indexOf(names);
        return index < 0 ? notFound(names) : ReadXlsSheet(xls, index, cells, error);
    }
    ZipHandle zip;
    zip.zip = unzOpen64(QFile::encodeName(path).constData());
    QList<XlsxSheet> sheets;
    if (!zip.zip) {
        error = QCoreApplication::translate("CExcelAccess", "the workbook cannot be unpacked");
        return false;
    }
    if (!ListXlsxSheets(zip.zip, sheets, error))
        return false;
    for (const XlsxSheet &s : sheets)
        names << s.name;
    const int index = indexOf(names);
    return index < 0 ? notFound(names)
                     : ReadXlsxSheet(zip.zip, sheets.at(index).part, cells, error);
}

} // namespace

int CExcelAccess::ReadSheet(
    const QString &path, const QString &sheet, CMatrix &out, QString *message)
{
    SheetCells cells;
    QString error;
    if (!ReadCells(path, sheet, cells, error)) {
        out = CMatrix(1, 1);
        if (message)
            *message = QCoreApplication::translate("CExcelAccess", "Database error: ") + error;
        return -1;
    }
    if (cells.empty()) {
        out = CMatrix(0, 0);
        return 0;
    }
    long firstColumn = cells.begin()->first.second, lastColumn = firstColumn;
    for (const auto &entry : cells) {
        firstColumn = std::min(firstColumn, entry.first.second);
        lastColumn = std::max(lastColumn, entry.first.second);
    }
    const long columns = lastColumn - firstColumn + 1;
    if (columns > 0x10000) {
        out = CMatrix(1, 1);
        if (message)
            *message = QCoreApplication::translate("CExcelAccess", "Database error: ")
                + QCoreApplication::translate(
                    "CExcelAccess", "the sheet is wider than Excel allows");
        return -1;
    }
    // Every row with at least one numeric cell is kept, an all-zero one included, so that
    // a record whose first sample is zero on every trace keeps its sample order.
    std::vector<std::vector<double>> rows;
    long currentRow = -1;
    std::vector<double> values;
    bool numeric = false;
    auto closeRow = [&]() {
        if (currentRow >= 0 && numeric)
            rows.push_back(values);
    };
    for (const auto &entry : cells) {
        if (entry.first.first != currentRow) {
            closeRow();
            currentRow = entry.first.first;
            values.assign(size_t(columns), 0.0);
            numeric = false;
        }
        const Cell &cell = entry.second;
        const std::optional<double> number =
            cell.isNumber ? std::optional<double>(cell.number) : NumberOfText(cell.text);
        if (number) {
            values[size_t(entry.first.second - firstColumn)] = *number;
            numeric = true;
        }
    }
    closeRow();
    CMatrix result(int(rows.size()), int(columns));
    for (size_t r = 0; r < rows.size(); ++r) {
        for (long c = 0; c < columns; ++c)
            result.SetRaw(int(r), int(c), rows[r][size_t(c)]);
    }
    out = result;
    return 0;
}

QStringList CExcelAccess::SheetNames(const QString &path, QString *message)
{
    QString error;
    QStringList names;
    const WorkbookKind kind = KindOfWorkbook(path, error);
    if (kind == WorkbookKind::Xls) {
        XlsHandle xls;
        if (!OpenXls(path, xls, names, error))
            names.clear();
    } else if (kind == WorkbookKind::Xlsx) {
        ZipHandle zip;
        zip.zip = unzOpen64(QFile::encodeName(path).constData());
        QList<XlsxSheet> sheets;
        if (!zip.zip)
            error = QCoreApplication::translate("CExcelAccess", "the workbook cannot be unpacked");
        else if (ListXlsxSheets(zip.zip, sheets, error)) {
            for (const XlsxSheet &s : sheets)
                names << s.name;
        }
    }
    if (names.isEmpty() && message)
        *message = QCoreApplication::translate("CExcelAccess", "Database error: ") + error;
    return names;
}
