// The cells of an editable grid: texts, editor kinds, read-only states, fixed header rows and
// columns, the end-of-edit check, tab-separated clipboard text and the stored form.
#ifndef VELA_APP_CONTROLS_CGRIDMODEL_H
#define VELA_APP_CONTROLS_CGRIDMODEL_H

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <vector>

class CMatrixArchive;

/// How a cell is edited in place.
enum class GridCellKind {
    Text = 0, ///< a one-line editor
    List = 1, ///< a drop-down list of fixed options (the Yes/No cells)
};

/// Row and column indices count the fixed (header) rows and columns, which come first: with one
/// fixed row, the first data row is row 1. Fixed cells are never editable.
class CGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /// Decides whether an edit ends: receives the cell and the text typed or chosen, returns
    /// false to refuse it (the cell keeps its text).
    using EndEditValidator = std::function<bool(int row, int column, const QString &text)>;

    explicit CGridModel(QObject *parent = nullptr);

    // ---- size ----
    /// Resizes the grid; new cells are empty Text cells, cells beyond the new size are dropped.
    void SetRowCount(int rows);
    void SetColumnCount(int columns);
    int GetRowCount() const { return m_rows; }
    int GetColumnCount() const { return m_columns; }
    void SetFixedRowCount(int rows);
    void SetFixedColumnCount(int columns);
    int GetFixedRowCount() const { return m_fixedRows; }
    int GetFixedColumnCount() const { return m_fixedColumns; }
    /// Inserts an empty row before `row` (at the end when row is out of range); returns its
    /// index.
    int InsertRow(int row = -1);
    /// Deletes a row; false when out of range.
    bool DeleteRow(int row);
    bool IsFixed(int row, int column) const;

    // ---- cells (out-of-range indices are ignored / answer empty) ----
    void SetItemText(int row, int column, const QString &text);
    QString GetItemText(int row, int column) const;
    void SetCellReadOnly(int row, int column, bool readOnly);
    /// Read-only cells and fixed cells cannot be edited.
    bool IsCellReadOnly(int row, int column) const;
    /// Makes a cell a drop-down list with these options (or a text cell again with Text).
    void SetCellKind(int row, int column, GridCellKind kind, const QStringList &options = {});
    GridCellKind CellKind(int row, int column) const;
    QStringList CellOptions(int row, int column) const;

    /// The check run when an in-place edit or a paste ends on a cell.
    void SetEndEditValidator(EndEditValidator validator) { m_validator = std::move(validator); }
    /// Ends an edit of a cell by the user: refused when the cell is read-only or fixed, the text
    /// is not one of a list cell's options, or the validator says no. Emits CellEdited when the
    /// text is taken.
    bool EndEdit(int row, int column, const QString &text);

    // ---- clipboard ----
    /// The texts of a rectangle as tab-separated text: cells joined by tabs, each row ended by
    /// CR LF. The rectangle is clipped to the grid.
    QString CopyText(int top, int left, int bottom, int right) const;
    /// Pastes tab-separated text with its first cell at (row, column). Rows may end in LF or
    /// CR LF. Cells beyond the grid are dropped; read-only, fixed and refused cells keep their
    /// text. Returns the number of cells changed.
    int PasteText(int row, int column, const QString &text);
    /// Empties the editable cells of a rectangle (the second half of a cut); returns how many.
    int ClearCells(int top, int left, int bottom, int right);

    // ---- stored form ----
    /// Writes the grid: sizes, then every cell's text, kind, options and read-only state.
    void Store(CMatrixArchive &ar) const;
    /// Reads what Store wrote and replaces the grid. Throws CArchiveException (BadClass) on bytes
    /// that are not a stored grid, leaving the grid as it was.
    void Load(CMatrixArchive &ar);
    /// Same texts, kinds, options, read-only states and sizes.
    bool operator==(const CGridModel &other) const;

    // ---- QAbstractTableModel ----
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

Q_SIGNALS:
    /// The user changed a cell (in-place edit or paste), after the validator accepted it.
    void CellEdited(int row, int column);

private:
    struct Cell
    {
        QString text;
        GridCellKind kind = GridCellKind::Text;
        QStringList options;
        bool readOnly = false;

        bool operator==(const Cell &other) const
        {
            return text == other.text && kind == other.kind && options == other.options
                && readOnly == other.readOnly;
        }
    };

    bool Contains(int row, int column) const;
    Cell &At(int row, int column);
    const Cell &At(int row, int column) const;
    bool Accepts(int row, int column, const QString &text) const;
    void Resize(int rows, int columns);

    int m_rows = 0;
    int m_columns = 0;
    int m_fixedRows = 0;
    int m_fixedColumns = 0;
    std::vector<Cell> m_cells; ///< row by row
    EndEditValidator m_validator;
};

#endif // VELA_APP_CONTROLS_CGRIDMODEL_H
