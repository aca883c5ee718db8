// What the dispersion-curve page holds and does, without a window: the table of points, its
// checks, picked bars, automatic points, import, export and the page's document section.
#ifndef VELA_APP_CURVE_CCURVETABLE_H
#define VELA_APP_CURVE_CCURVETABLE_H

#include "app/controls/CGridModel.h"
#include "app/curve/CurveTable.h"

#include <QObject>

#include <memory>

class CMatrixArchive;
class DispersionAnalysis;

/// The curve page's table: one fixed header row, the data rows, always one empty row at the
/// end. Each data row carries an item number (the chart bar that made it, 0 when typed).
/// Every successful check hands the valid rows to the analysis.
class CCurveTable
{
public:
    static constexpr int ColumnCount = 4;
    /// The outcome of a picked bar.
    enum class BarResult { Ignored, Duplicate, Added };

    /// @param grid the model the page's grid shows (not owned); nullptr for a table of its own.
    explicit CCurveTable(DispersionAnalysis *analysis, CGridModel *grid = nullptr);

    CGridModel &Grid() { return *m_grid; }
    const CGridModel &Grid() const { return *m_grid; }

    /// Header row and one empty row.
    void Reset();
    /// The data rows (from the first row below the header to the last row, the empty one
    /// included), with their item numbers.
    std::vector<CurveRow> Rows() const;
    /// Replaces the data rows; the empty row is added after them.
    void SetRows(const std::vector<CurveRow> &rows);
    /// Number of grid rows holding data (the trailing empty row is not counted).
    int DataRowCount() const;

    /// The cell-edit check for grid cell (row, column); on refusal `message` may name why.
    bool AcceptEdit(int row, int column, const QString &text, QString *message) const;
    /// After an accepted edit of the last (empty) row, adds a new empty row below it.
    void AfterEdit(int row);
    /// After clipboard operations: keeps exactly one empty row at the end. Returns true when
    /// only the empty row is left.
    bool KeepOneEmptyRow();

    /// The table check; on success the points are handed to the analysis. The grid row of the
    /// offending cell is check.row + 1.
    CurveCheck Check();
    /// Whether the last check found at least two points.
    bool NextEnabled() const { return m_nextEnabled; }
    const CurvePoints &Points() const { return m_points; }

    /// A bar picked on the chart in the current plane; `objectId` becomes the row's item.
    BarResult AddBar(double frequency, double y1, double y2, int objectId);

    /// Fills the table with the automatic points of the spectrum's picked curve. False when
    /// neither the analysed flag nor the passive prepared flag of the analysis is set.
    bool TakeAutomaticPoints();

    CurvePlane Plane() const { return m_plane; }
    void SetPlane(CurvePlane plane) { m_plane = plane; }

    /// Import: text file, or a sheet of a workbook when `sheet` is given. On failure the table
    /// is as before and `message` says why (empty for a text file without data lines).
    bool Import(const QString &path, const QString *sheet, QString *message);
    /// Export: text, or .xlsx when `workbook` is set.
    bool Export(const QString &path, bool workbook, QString *message) const;
    /// The report's table: the grid's column titles, and one row per point of the last check
    /// with the four values as "%g".
    QStringList ReportHeader() const;
    QList<QStringList> ReportTable() const;

    /// The chart's data export.
    bool WriteChartText(const QString &path) const;

    /// The "CDD" section: separator, tag, version 3.0, grid, the analysis's picked velocities
    /// and frequencies and analysed flag, the passive spectrum's three matrices and prepared
    /// flag, the plane (1 for f-v). Load throws on a corrupt section, changing nothing.
    void StoreSection(CMatrixArchive &ar) const;
    void LoadSection(CMatrixArchive &ar);

    /// The item number of data row `dataRow` (0-based below the header).
    int Item(int dataRow) const;

private:
    void SetHeader();

    DispersionAnalysis *m_analysis;
    std::unique_ptr<CGridModel> m_ownGrid;
    CGridModel *m_grid;
    std::vector<int> m_items; ///< per grid row (header included)
    CurvePlane m_plane = CurvePlane::FrequencyVelocity;
    CurvePoints m_points;
    bool m_nextEnabled = false;
};

#endif // VELA_APP_CURVE_CCURVETABLE_H
