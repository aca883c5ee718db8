// The rules of the ground-profile table: its layout, the default table proposed from the
// experimental curve, the depth column, layer-count changes, every cell rule, the input check,
// collecting the profile, and the text import and export. Plain QtCore over a CGridModel.
#ifndef VELA_APP_PROFILE_CPROFILETABLE_H
#define VELA_APP_PROFILE_CPROFILETABLE_H

#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrix.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class CGridModel;

/// Columns of the profile table.
enum ProfileColumn : int {
    ColLayer = 0,
    ColDescription = 1,
    ColThickness = 2,
    ColDepth = 3,
    ColDensity = 4,
    ColWaterTable = 5,
    ColPoisson = 6,
    ColVs = 7,
    ColVsFixed = 8,
    ColVsMin = 9,
    ColVsMax = 10,
    ColVp = 11,
    ColAlluvial = 12,
    ColFinalVs = 13,
    ProfileColumnCount = 14,
};

/// The initial Vs proposed for each row from the experimental curve, with the relative width of
/// the curve and the index of the point used (kept for the uncertainty lines).
struct InitialVsProposal
{
    std::vector<double> vs; ///< [m/s], one per layer, the half-space last
    std::vector<double> widths; ///< (max - min) / v at the chosen point
    std::vector<int> points; ///< index of the chosen curve point
};

/// Proposes a Vs for every layer above the half-space of the given thicknesses [m] and for the
/// half-space: the curve point whose depth 0.4 v / f lies nearest to the layer's middle gives
/// v / 0.9; the half-space takes the first point. Never below 10 m/s. An empty curve proposes
/// 10 m/s with no width everywhere.
InitialVsProposal ProposeInitialVs(
    const ExperimentalCurve &curve, const std::vector<double> &thicknesses);

/// Vp from Vs and Poisson's ratio: Vs sqrt((2 - 2 nu) / (1 - 2 nu)).
double VpFromVsPoisson(double vs, double poisson);
/// Poisson's ratio from Vp / Vs = r: (r^2 - 2) / (2 r^2 - 2).
double PoissonFromVpVs(double vp, double vs);

/// A number typed into a cell that must hold one number and nothing else (',' read as '.').
std::optional<double> ExactCellNumber(const QString &text);

/// Outcome of an import.
struct ProfileImportResult
{
    bool ok = false;
    QString message; ///< when refused: "Too many layers", "Insufficient number of layers!", ...
};

/// The profile table's rules over a grid model of one header row, one fixed column, a row per
/// layer and the half-space row last. Attach() installs the end-of-edit check and the follow-up
/// of accepted edits; every other member may be called directly (the page and the tests do).
class CProfileTable : public QObject
{
    Q_OBJECT

public:
    /// Highest number of layers above the half-space.
    static constexpr int MaxLayers = 9;
    /// Layers of the default table.
    static constexpr int DefaultLayers = 8;
    /// Poisson's ratio set by a water table.
    static constexpr double WaterTablePoisson = 0.48;

    /// @param grid the table's cells; not owned. @param yes, no the words of the yes/no cells.
    CProfileTable(CGridModel *grid, const QString &yes, const QString &no);

    /// Installs the edit check and connects the follow-up of accepted edits.
    void Attach();

    CGridModel *Grid() const { return m_grid; }
    const QString &Yes() const { return m_yes; }
    const QString &No() const { return m_no; }

    /// The 14 column headers, translated.
    static QStringList Headers();
    /// Widths of the 14 columns in pixels.
    static std::vector<int> ColumnWidths();

    /// Layers above the half-space (table rows minus the header and the half-space).
    int LayerCount() const;
    /// Row of the half-space.
    int HalfSpaceRow() const { return LayerCount() + 1; }

    /// The default table: eight layers of 2, 3, 3, 4, 4, 5, 5, 6 m over the half-space, with Vs
    /// proposed from the curve, bounds at half and twice Vs, density 1800, Poisson 0.2 and the
    /// matching Vp, every yes/no cell "No".
    void SetDefaultTable(const ExperimentalCurve &curve);
    /// Deletes rows above the half-space, or inserts empty ones there, until n layers remain.
    void SetLayerCount(int n);
    /// Writes the depth column from the thicknesses.
    void RecomputeDepths();

    /// The end-of-edit check: false refuses the text (the cell keeps its old one).
    bool AcceptEdit(int row, int column, const QString &text) const;
    /// The follow-up of an accepted edit of a cell (bounds, Vp, Poisson, read-only states).
    void ApplyEdit(int row, int column);

    /// First empty cell of the columns a run needs, in layer rows (the half-space row skipped),
    /// row by row; false when there is none.
    bool FirstMissingCell(int *row, int *column) const;

    /// Copies the table into the profile's layer records (N = layer rows + half-space).
    void Collect(GroundProfile &profile) const;
    /// Writes every layer's final Vs into column 13 ("%.0f").
    void SetFinalVs(const CMatrix &finalVs);

    /// Relative widths and point indices of the last proposal, one per row.
    const CMatrix &Widths() const { return m_widths; }
    const CMatrix &Points() const { return m_points; }
    void SetProposal(const CMatrix &widths, const CMatrix &points);

    /// Writes the table as text: every row, header included, each cell followed by ", " (',' in
    /// the description becomes ';'), CR LF after each row.
    bool ExportText(const QString &path, QString *error) const;
    /// Reads a table written by ExportText, or the older form with twelve commas per line.
    /// Refused files leave the table as it was.
    ProfileImportResult ImportText(const QString &path);

Q_SIGNALS:
    /// A rule changed the table after an edit (so the page redraws and marks the document).
    void TableChanged();

private:
    QString Text(int row, int column) const;
    void SetText(int row, int column, const QString &text);
    std::optional<double> Number(int row, int column) const;
    bool IsYes(int row, int column) const;
    bool IsYesText(const QString &text) const;
    void FormatLayerRow(int row, int number);
    void MoveBoundsForVs(int row, double vs);
    void ApplyPoissonRule(int row);

    CGridModel *m_grid;
    QString m_yes;
    QString m_no;
    CMatrix m_widths { 0, 1 };
    CMatrix m_points { 0, 1 };
};

#endif // VELA_APP_PROFILE_CPROFILETABLE_H
