// The experimental dispersion curve as the curve page's table holds it: cell and table checks,
// points from picked bars and from the spectrum's curve, text and Excel import and export.
#ifndef VELA_APP_CURVE_CURVETABLE_H
#define VELA_APP_CURVE_CURVETABLE_H

#include "matrix/CMatrix.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

/// Column of the table: frequency [Hz], phase velocity, minimum and maximum velocity [m/s].
enum class CurveColumn { Frequency = 0, Velocity = 1, Minimum = 2, Maximum = 3 };

/// One data row as text cells, and the identifier of the chart bar that made it (0 if typed).
struct CurveRow
{
    std::array<QString, 4> cells;
    int item = 0;

    bool IsEmpty() const;
};

/// Plane of the curve page's chart: frequency-velocity or frequency-slowness (x 1000).
enum class CurvePlane { FrequencyVelocity, FrequencySlowness };

/// The valid points of a table, four column vectors in table order.
struct CurvePoints
{
    CMatrix frequencies { 0, 1 };
    CMatrix velocities { 0, 1 };
    CMatrix minVelocities { 0, 1 };
    CMatrix maxVelocities { 0, 1 };

    int Count() const { return frequencies.GetRows(); }
};

/// Outcome of the table check: on failure the message and the cell that gets the focus.
struct CurveCheck
{
    bool ok = true;
    QString message;
    int row = -1; ///< index into the rows checked
    CurveColumn column = CurveColumn::Frequency;
    CurvePoints points; ///< filled when ok
};

/// Reads a cell as one number and nothing after it ("," read as "."); nothing when it is not.
std::optional<double> ParseCurveCell(const QString &text);

/// The cell-edit check: an empty text is accepted; otherwise exactly one number. In the
/// frequency column a value equal to the frequency of another row is refused with
/// "Frequency already present!" in `message`. otherRows are the data rows other than the one
/// edited.
bool CurveCellAccepted(const QString &text, CurveColumn column,
    const std::vector<CurveRow> &otherRows, QString *message);

/// The table check over the data rows; rows whose frequency cell is empty are skipped.
CurveCheck CheckCurveTable(const std::vector<CurveRow> &rows);

/// True when a data row's frequency reads as exactly f.
bool CurveHasFrequency(const std::vector<CurveRow> &rows, double frequency);

/// The row a vertical bar picked on the chart gives (frequency f, vertical values y1 and y2 of
/// the plane), or nothing when the bar is ignored (f-v plane: f or the mid value not
/// positive; f-p plane: a mid slowness that is not positive).
std::optional<CurveRow> CurveRowFromBar(CurvePlane plane, double frequency, double y1, double y2);

/// Automatic points from the curve picked on the spectrum (frequencies ascending): K =
/// min(N, 20) positions evenly spread from the first point, interpolated linearly; those with
/// a velocity in 5 .. 2000 m/s become rows with bounds 0.9 and 1.1 times the velocity, or,
/// when the pick gave bounds of its own (`lower` and `upper` as long as the curve), those
/// bounds interpolated the same way.
std::vector<CurveRow> AutomaticCurveRows(const CMatrix &frequencies, const CMatrix &velocities,
    const CMatrix *lower = nullptr, const CMatrix *upper = nullptr);

/// Rows with every value written as "%g" (frequency, velocity, minimum, maximum).
CurveRow CurveRowOf(double frequency, double velocity, double minimum, double maximum);

/// Reads a four-column text curve file (see the page's import). Fails with "Couldn't open
/// source file" or "Format not valid" in `message`.
bool ReadCurveTextFile(const QString &path, std::vector<CurveRow> &rows, QString *message);

/// Reads a sheet of a .xls/.xlsx workbook; a sheet without exactly four columns is refused.
/// Values are written with "%.2lf".
bool ReadCurveSheet(
    const QString &path, const QString &sheet, std::vector<CurveRow> &rows, QString *message);

/// Writes the table as text: per data row the four cells each followed by one blank, then
/// CR LF; an empty cell is written as "0"; rows with all four cells empty are left out.
bool WriteCurveTextFile(const QString &path, const std::vector<CurveRow> &rows);

/// Writes the table as a .xlsx workbook with one sheet "VELA" and the header f, Vs, Vsmin,
/// Vsmax; cells that read as numbers are written as numbers, empty cells as 0.
bool WriteCurveWorkbook(const QString &path, const std::vector<CurveRow> &rows, QString *message);

/// The page's chart data export: the picked curve of the spectrum when `picked` is set, then
/// the table's points.
bool WriteCurvePageText(const QString &path, const CMatrix *pickedFrequencies,
    const CMatrix *pickedVelocities, const CurvePoints &points);

#endif // VELA_APP_CURVE_CURVETABLE_H
