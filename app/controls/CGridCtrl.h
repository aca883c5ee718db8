// The editable grid of the pages' tables: fixed header row and column, in-place line and
// drop-down editors, read-only cells, cut/copy/paste of rectangles and printing.
#ifndef VELA_APP_CONTROLS_CGRIDCTRL_H
#define VELA_APP_CONTROLS_CGRIDCTRL_H

#include "app/controls/CGridModel.h"

#include <QTableView>

class QPrinter;

/// A table view over its own CGridModel. Indices count the fixed rows and columns, as in the
/// model. The common cell operations are forwarded here so that pages seldom need Model().
class CGridCtrl : public QTableView
{
    Q_OBJECT

public:
    explicit CGridCtrl(QWidget *parent = nullptr);

    CGridModel *Model() const { return m_model; }

    void SetRowCount(int rows) { m_model->SetRowCount(rows); }
    void SetColumnCount(int columns) { m_model->SetColumnCount(columns); }
    int GetRowCount() const { return m_model->GetRowCount(); }
    int GetColumnCount() const { return m_model->GetColumnCount(); }
    void SetFixedRowCount(int rows) { m_model->SetFixedRowCount(rows); }
    void SetFixedColumnCount(int columns) { m_model->SetFixedColumnCount(columns); }
    void SetItemText(int row, int column, const QString &text);
    QString GetItemText(int row, int column) const { return m_model->GetItemText(row, column); }
    void SetCellReadOnly(int row, int column, bool readOnly);
    bool IsCellReadOnly(int row, int column) const;
    /// Makes a cell a drop-down list of options (the Yes/No cells).
    void SetCellList(int row, int column, const QStringList &options);
    void SetEndEditValidator(CGridModel::EndEditValidator validator);
    /// Gives the keyboard focus to a cell and selects it (a page pointing at a wrong value).
    void FocusCell(int row, int column);

    /// Copies the selected rectangle to the clipboard as tab-separated text.
    void Copy();
    /// Copies, then empties the editable cells of the selection.
    void Cut();
    /// Pastes the clipboard's tab-separated text at the selection's top-left cell.
    void Paste();
    /// The selection's bounding rectangle; false when nothing is selected.
    bool SelectedRect(int *top, int *left, int *bottom, int *right) const;

    /// Prints the whole grid, page after page, on a printer that is set up already.
    void Print(QPrinter *printer) const;
    /// Asks for a printer and prints.
    void PrintWithDialog();

Q_SIGNALS:
    /// The user changed a cell (forwarded from the model).
    void CellEdited(int row, int column);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    CGridModel *m_model;
};

#endif // VELA_APP_CONTROLS_CGRIDCTRL_H
