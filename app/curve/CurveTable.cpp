#include "app/curve/CurveTable.h"

#include "app/data/CExcelAccess.h"
#include "app/data/UserNumber.h"

#include <QCoreApplication>
#include <QFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

QString FormatG(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return QString::fromLatin1(buffer);
}

QString Format2(double value)
{
    char buffer[512]; // "%.2f" of a huge value runs to hundreds of digits
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return QString::fromLatin1(buffer);
}

QByteArray FormatF(double value)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%f", value);
    return QByteArray(buffer);
}

bool WriteWhole(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size() && file.flush();
}

/// The text a cell is exported with: as typed, "0" when empty.
QByteArray ExportCell(const QString &cell)
{
    return cell.trimmed().isEmpty() ? QByteArray("0") : cell.toUtf8();
}

} // namespace

bool CurveRow::IsEmpty() const
{
    return std::all_of(
        cells.begin(), cells.end(), [](const QString &c) { return c.trimmed().isEmpty(); });
}

std::optional<double> ParseCurveCell(const QString &text)
{
    const QByteArray bytes = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toLatin1();
    double value = 0.0;
    const char *end = bytes.constData() + bytes.size();
    const char *after = ScanDouble(bytes.constData(), end, value);
    if (!after || after != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool CurveHasFrequency(const std::vector<CurveRow> &rows, double frequency)
{
    return std::any_of(rows.begin(), rows.end(), [&](const CurveRow &row) {
        const std::optional<double> f = ParseCurveCell(row.cells[0]);
        return f && *f == frequency;
    });
}

bool CurveCellAccepted(const QString &text, CurveColumn column,
    const std::vector<CurveRow> &otherRows, QString *message)
{
    if (text.isEmpty())
        return true;
    const std::optional<double> value = ParseCurveCell(text);
    if (!value)
        return false;
    if (column == CurveColumn::Frequency && CurveHasFrequency(otherRows, *value)) {
        if (message)
            *message =
                QCoreApplication::translate("CGUICurvaDispersione", "Frequency already present!");
        return false;
    }
    return true;
}

CurveCheck CheckCurveTable(const std::vector<CurveRow> &rows)
{
    CurveCheck check;
    std::vector<double> f, v, lo, hi;
    const auto fail = [&](int row, CurveColumn column, const QString &message) {
        check.ok = false;
        check.row = row;
        check.column = column;
        check.message = message;
        return check;
    };
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const CurveRow &row = rows[static_cast<std::size_t>(r)];
        if (row.cells[0].trimmed().isEmpty())
            continue;
        std::array<double, 4> values {};
        for (int c = 0; c < 4; ++c) {
            const std::optional<double> value =
                ParseUserNumber(row.cells[static_cast<std::size_t>(c)]);
            if (!value)
                return fail(r, static_cast<CurveColumn>(c),
                    QCoreApplication::translate(
                        "CGUICurvaDispersione", "Input parameters are needed in the table"));
            values[static_cast<std::size_t>(c)] = *value;
        }
        const double frequency = values[0];
        const double velocity = values[1];
        const double minimum = values[2];
        const double maximum = values[3];
        if (maximum < minimum)
            return fail(r, CurveColumn::Minimum,
                QCoreApplication::translate("CGUICurvaDispersione",
                    "Minimum velocity must be lower than maximum velocity"));
        if (velocity < minimum)
            return fail(r, CurveColumn::Velocity,
                QCoreApplication::translate("CGUICurvaDispersione",
                    "Velocity must not be lower than its minimum velocity"));
        if (maximum < velocity)
            return fail(r, CurveColumn::Velocity,
                QCoreApplication::translate("CGUICurvaDispersione",
                    "Maximum velocity must be greater than medium velocity"));
        if (frequency <= 0.0)
            return fail(r, CurveColumn::Frequency,
                QCoreApplication::translate("CGUICurvaDispersione", "Frequency must be positive"));
        f.push_back(frequency);
        v.push_back(velocity);
        lo.push_back(minimum);
        hi.push_back(maximum);
    }
    check.points.frequencies = CMatrix::Column(f);
    check.points.velocities = CMatrix::Column(v);
    check.points.minVelocities = CMatrix::Column(lo);
    check.points.maxVelocities = CMatrix::Column(hi);
    return check;
}

CurveRow CurveRowOf(double frequency, double velocity, double minimum, double maximum)
{
    CurveRow row;
    row.cells = { FormatG(frequency), FormatG(velocity), FormatG(minimum), FormatG(maximum) };
    return row;
}

std::optional<CurveRow> CurveRowFromBar(CurvePlane plane, double frequency, double y1, double y2)
{
    if (!std::isfinite(frequency) || !std::isfinite(y1) || !std::isfinite(y2))
        return std::nullopt;
    if (plane == CurvePlane::FrequencyVelocity) {
        const double velocity = (y1 + y2) / 2.0;
        if (!(frequency > 0.0) || !(velocity > 0.0))
            return std::nullopt;
        return CurveRowOf(
            frequency, velocity, std::max(0.0, std::min(y1, y2)), std::max(0.0, std::max(y1, y2)));
    }
    const double s1 = y1 * 0.001;
    const double s2 = y2 * 0.001;
    const double mean = (s1 + s2) / 2.0;
    // A bar at or below zero slowness has no velocity.
    if (!(mean > 0.0))
        return std::nullopt;
    const double velocity = 1.0 / mean;
    const double spread = std::abs(s1 - s2) * 0.5 * velocity * velocity;
    return CurveRowOf(frequency, velocity, std::max(0.0, velocity - spread), velocity + spread);
}

std::vector<CurveRow> AutomaticCurveRows(const CMatrix &frequencies, const CMatrix &velocities)
{
    std::vector<CurveRow> rows;
    const int n = std::min(frequencies.GetCount(), velocities.GetCount());
    if (n <= 0)
        return rows;
    const int k = std::min(n, 20);
    const double step = static_cast<double>(n) / k;
    // K positions 0, step, ..., (K - 1) step: with N up to 20 every point is taken, the last
    // one included.
    for (int m = 0; m < k; ++m) {
        const double position = m * step;
        const int index = std::min(static_cast<int>(std::floor(position)), n - 1);
        const double fraction = position - index;
        double f = frequencies(index);
        double v = velocities(index);
        if (index + 1 < n && fraction > 0.0) {
            f += fraction * (frequencies(index + 1) - f);
            v += fraction * (velocities(index + 1) - v);
        }
        if (v >= 5.0 && v <= 2000.0)
            rows.push_back(CurveRowOf(f, v, 0.9 * v, 1.1 * v));
    }
    return rows;
}

bool ReadCurveTextFile(const QString &path, std::vector<CurveRow> &rows, QString *message)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (message)
            *message =
                QCoreApplication::translate("CGUICurvaDispersione", "Couldn't open source file");
        return false;
    }
    std::vector<CurveRow> read;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().replace(',', '.').trimmed();
        if (line.isEmpty() || line.startsWith('%'))
            continue;
        double values[4] = {};
        const char *at = line.constData();
        const char *end = at + line.size();
        bool ok = true;
        for (double &value : values) {
            at = at ? ScanDouble(at, end, value) : nullptr;
            if (!at || !std::isfinite(value)) {
                ok = false;
                break;
            }
        }
        if (!ok) {
            if (message)
                *message = QCoreApplication::translate("CGUICurvaDispersione", "Format not valid");
            return false;
        }
        read.push_back(CurveRowOf(values[0], values[1], values[2], values[3]));
    }
    if (read.empty()) {
        // A file without data lines leaves the table as it is.
        if (message)
            message->clear();
        return false;
    }
    rows = std::move(read);
    return true;
}

bool ReadCurveSheet(
    const QString &path, const QString &sheet, std::vector<CurveRow> &rows, QString *message)
{
    CMatrix table;
    QString detail;
    if (CExcelAccess::ReadSheet(path, sheet, table, &detail) != 0) {
        if (message)
            *message = QCoreApplication::translate("CGUICurvaDispersione", "Error during reading");
        return false;
    }
    if (table.GetCols() != 4) {
        if (message)
            *message = QCoreApplication::translate("CGUICurvaDispersione",
                "The sheet must hold exactly four columns: frequency, velocity, "
                "minimum and maximum velocity");
        return false;
    }
    std::vector<CurveRow> read;
    for (int r = 0; r < table.GetRows(); ++r) {
        CurveRow row;
        for (int c = 0; c < 4; ++c)
            row.cells[static_cast<std::size_t>(c)] = Format2(table(r, c));
        read.push_back(row);
    }
    rows = std::move(read);
    return true;
}

bool WriteCurveTextFile(const QString &path, const std::vector<CurveRow> &rows)
{
    QByteArray out;
    for (const CurveRow &row : rows) {
        if (row.IsEmpty())
            continue;
        for (const QString &cell : row.cells)
            out += ExportCell(cell) + ' ';
        out += "\r\n";
    }
    return WriteWhole(path, out);
}

bool WriteCurveWorkbook(const QString &path, const std::vector<CurveRow> &rows, QString *message)
{
    QFile::remove(path);
    lxw_workbook *workbook = workbook_new(path.toUtf8().constData());
    if (!workbook) {
        if (message)
            *message = QCoreApplication::translate("CGUICurvaDispersione", "Error during writing");
        return false;
    }
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "VELA");
    static const char *const headers[4] = { "f", "Vs", "Vsmin", "Vsmax" };
    for (int c = 0; c < 4; ++c)
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), headers[c], nullptr);
    lxw_row_t sheetRow = 1;
    for (const CurveRow &row : rows) {
        if (row.IsEmpty())
            continue;
        for (int c = 0; c < 4; ++c) {
            const QString &cell = row.cells[static_cast<std::size_t>(c)];
            const std::optional<double> value = ParseUserNumber(cell);
            if (value || cell.trimmed().isEmpty())
                worksheet_write_number(
                    sheet, sheetRow, static_cast<lxw_col_t>(c), value.value_or(0.0), nullptr);
            else
                worksheet_write_string(
                    sheet, sheetRow, static_cast<lxw_col_t>(c), cell.toUtf8().constData(), nullptr);
        }
        ++sheetRow;
    }
    if (workbook_close(workbook) != LXW_NO_ERROR) {
        if (message)
            *message = QCoreApplication::translate("CGUICurvaDispersione", "Error during writing");
        return false;
    }
    return true;
}

bool WriteCurvePageText(const QString &path, const CMatrix *pickedFrequencies,
    const CMatrix *pickedVelocities, const CurvePoints &points)
{
    QByteArray out;
    if (pickedFrequencies && pickedVelocities) {
        const int n = std::min(pickedFrequencies->GetCount(), pickedVelocities->GetCount());
        // The line is a "%" comment like every other heading, so that the file loads as data.
        out += "%Experimental dispersion curve\r\n";
        out += "% " + QByteArray::number(n) + "x2\r\n";
        out += "%f[Hz]\tvs[m/s]\r\n";
        for (int i = 0; i < n; ++i)
            out +=
                FormatF((*pickedFrequencies)(i)) + ' ' + FormatF((*pickedVelocities)(i)) + "\r\n";
        out += "%==================================\r\n";
    }
    const int n = points.Count();
    out += "%Experimental dispersion curve with velocity bounds\r\n";
    out += "% " + QByteArray::number(n) + "x4\r\n";
    out += "%f[Hz]\tvs[m/s]\tvs_min[m/s]\tvs_max[m/s]\r\n";
    for (int i = 0; i < n; ++i)
        out += FormatF(points.frequencies(i)) + ' ' + FormatF(points.velocities(i)) + ' '
            + FormatF(points.minVelocities(i)) + ' ' + FormatF(points.maxVelocities(i)) + "\r\n";
    out += "%==================================\r\n";
    return WriteWhole(path, out);
}
