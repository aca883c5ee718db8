#include "app/controls/CGridCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <climits>

namespace {

/// Paints fixed cells like headers and greys read-only cells; edits with a line editor or a
/// drop-down list, according to the cell's kind.
class CGridDelegate : public QStyledItemDelegate
{
public:
    CGridDelegate(CGridModel *model, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_model(model)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        QStyleOptionViewItem styled = option;
        const int row = index.row();
        const int column = index.column();
        if (m_model->IsFixed(row, column)) {
            painter->fillRect(option.rect, option.palette.button());
            styled.state &= ~QStyle::State_Selected;
            styled.font.setBold(true);
            styled.displayAlignment = Qt::AlignCenter;
        } else if (m_model->IsCellReadOnly(row, column)) {
            painter->fillRect(option.rect, option.palette.alternateBase());
        }
        QStyledItemDelegate::paint(painter, styled, index);
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        if (m_model->CellKind(index.row(), index.column()) == GridCellKind::List) {
            auto *combo = new QComboBox(parent);
            combo->addItems(m_model->CellOptions(index.row(), index.column()));
            return combo;
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            combo->setCurrentIndex(std::max(0, combo->findText(index.data().toString())));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(
        QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        // A refused edit leaves the model as it was, so the view shows the old text again.
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            model->setData(index, combo->currentText());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    CGridModel *m_model;
};

} // namespace

CGridCtrl::CGridCtrl(QWidget *parent)
    : QTableView(parent)
    , m_model(new CGridModel(this))
{
    setModel(m_model);
    setItemDelegate(new CGridDelegate(m_model, this));
    // Fixed rows and columns are cells of the model, drawn as headers by the delegate.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    connect(m_model, &CGridModel::CellEdited, this, &CGridCtrl::CellEdited);
}

void CGridCtrl::SetItemText(int row, int column, const QString &text)
{
    m_model->SetItemText(row, column, text);
}

void CGridCtrl::SetCellReadOnly(int row, int column, bool readOnly)
{
    m_model->SetCellReadOnly(row, column, readOnly);
}

bool CGridCtrl::IsCellReadOnly(int row, int column) const
{
    return m_model->IsCellReadOnly(row, column);
}

void CGridCtrl::SetCellList(int row, int column, const QStringList &options)
{
    m_model->SetCellKind(row, column, GridCellKind::List, options);
}

void CGridCtrl::SetEndEditValidator(CGridModel::EndEditValidator validator)
{
    m_model->SetEndEditValidator(std::move(validator));
}

void CGridCtrl::FocusCell(int row, int column)
{
    const QModelIndex cell = m_model->index(row, column);
    if (!cell.isValid())
        return;
    setCurrentIndex(cell);
    scrollTo(cell);
    setFocus();
}

bool CGridCtrl::SelectedRect(int *top, int *left, int *bottom, int *right) const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return false;
    *top = *left = INT_MAX;
    *bottom = *right = -1;
    for (const QModelIndex &cell : selected) {
        *top = std::min(*top, cell.row());
        *left = std::min(*left, cell.column());
        *bottom = std::max(*bottom, cell.row());
        *right = std::max(*right, cell.column());
    }
    return true;
}

void CGridCtrl::Copy()
{
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SelectedRect(&top, &left, &bottom, &right))
        QApplication::clipboard()->setText(m_model->CopyText(top, left, bottom, right));
}

void CGridCtrl::Cut()
{
    int top = 0, left = 0, bottom = 0, right = 0;
    if (!SelectedRect(&top, &left, &bottom, &right))
        return;
    QApplication::clipboard()->setText(m_model->CopyText(top, left, bottom, right));
    m_model->ClearCells(top, left, bottom, right);
}

void CGridCtrl::Paste()
{
    int top = 0, left = 0, bottom = 0, right = 0;
    if (!SelectedRect(&top, &left, &bottom, &right)) {
        const QModelIndex current = currentIndex();
        if (!current.isValid())
            return;
        top = current.row();
        left = current.column();
    }
    m_model->PasteText(top, left, QApplication::clipboard()->text());
}

void CGridCtrl::Print(QPrinter *printer) const
{
    QPainter painter(printer);
    if (!painter.isActive())
        return;
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const double scale = printer->resolution() / 96.0;
    const double rowHeight = (fontMetrics().height() + 8) * scale;
    std::vector<double> widths(static_cast<std::size_t>(m_model->GetColumnCount()));
    for (int column = 0; column < m_model->GetColumnCount(); ++column)
        widths[static_cast<std::size_t>(column)] = columnWidth(column) * scale;
    painter.setFont(font());
    double y = 0.0;
    for (int row = 0; row < m_model->GetRowCount(); ++row) {
        if (y + rowHeight > page.height() && row > 0) {
            printer->newPage();
            y = 0.0;
        }
        double x = 0.0;
        for (int column = 0; column < m_model->GetColumnCount(); ++column) {
            const QRectF cell(x, y, widths[static_cast<std::size_t>(column)], rowHeight);
            if (m_model->IsFixed(row, column))
                painter.fillRect(cell, QColor(230, 230, 230));
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(4 * scale, 0, -4 * scale, 0),
                Qt::AlignVCenter | Qt::AlignLeft, m_model->GetItemText(row, column));
            x += widths[static_cast<std::size_t>(column)];
        }
        y += rowHeight;
    }
}

void CGridCtrl::PrintWithDialog()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        Print(&printer);
}

void CGridCtrl::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        Cut();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        return;
    }
    // Tab moves from cell to cell as in a spreadsheet; Ctrl+Tab (Ctrl+Shift+Tab backwards)
    // leaves the grid, so the keyboard is never caught in a table.
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (event->modifiers() & Qt::ControlModifier)) {
        const bool backwards =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        QWidget::focusNextPrevChild(!backwards);
        return;
    }
    QTableView::keyPressEvent(event);
}

void CGridCtrl::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(tr("Cut"), this, &CGridCtrl::Cut);
    menu.addAction(tr("Copy"), this, &CGridCtrl::Copy);
    menu.addAction(tr("Paste"), this, &CGridCtrl::Paste);
    menu.addSeparator();
    menu.addAction(tr("Print..."), this, &CGridCtrl::PrintWithDialog);
    menu.exec(event->globalPos());
}
