#include "app/controls/CGridModel.h"

#include "matrix/CMatrixArchive.h"

#include <algorithm>

namespace {

const char *const StoredTag = "VelaGrid";
constexpr std::int32_t StoredVersion = 1;
// A stored grid larger than this is taken for foreign bytes rather than allocated.
constexpr std::int64_t MaxStoredCells = 4'000'000;
constexpr std::uint64_t MinStoredCellBytes = 1 + 3 * 4;

std::string ToBytes(const QString &text) { return text.toUtf8().toStdString(); }

QString FromBytes(const std::string &bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

CGridModel::CGridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

bool CGridModel::Contains(int row, int column) const
{
    return row >= 0 && row < m_rows && column >= 0 && column < m_columns;
}

CGridModel::Cell &CGridModel::At(int row, int column)
{
    return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns)
        + static_cast<std::size_t>(column)];
}

const CGridModel::Cell &CGridModel::At(int row, int column) const
{
    return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns)
        + static_cast<std::size_t>(column)];
}

void CGridModel::Resize(int rows, int columns)
{
    rows = std::max(rows, 0);
    columns = std::max(columns, 0);
    std::vector<Cell> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    for (int row = 0; row < std::min(rows, m_rows); ++row) {
        for (int column = 0; column < std::min(columns, m_columns); ++column)
            cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns)
                + static_cast<std::size_t>(column)] = std::move(At(row, column));
    }
    beginResetModel();
    m_cells = std::move(cells);
    m_rows = rows;
    m_columns = columns;
    m_fixedRows = std::min(m_fixedRows, m_rows);
    m_fixedColumns = std::min(m_fixedColumns, m_columns);
    endResetModel();
}

void CGridModel::SetRowCount(int rows) { Resize(rows, m_columns); }

void CGridModel::SetColumnCount(int columns) { Resize(m_rows, columns); }

void CGridModel::SetFixedRowCount(int rows)
{
    beginResetModel();
    m_fixedRows = std::clamp(rows, 0, m_rows);
    endResetModel();
}

void CGridModel::SetFixedColumnCount(int columns)
{
    beginResetModel();
    m_fixedColumns = std::clamp(columns, 0, m_columns);
    endResetModel();
}

int CGridModel::InsertRow(int row)
{
    if (row < m_fixedRows || row > m_rows)
        row = m_rows;
    beginInsertRows(QModelIndex(), row, row);
    m_cells.insert(m_cells.begin() + static_cast<std::ptrdiff_t>(row) * m_columns,
        static_cast<std::size_t>(m_columns), Cell());
    ++m_rows;
    endInsertRows();
    return row;
}

bool CGridModel::DeleteRow(int row)
{
    if (row < 0 || row >= m_rows)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    const auto first = m_cells.begin() + static_cast<std::ptrdiff_t>(row) * m_columns;
    m_cells.erase(first, first + m_columns);
    --m_rows;
    m_fixedRows = std::min(m_fixedRows, m_rows);
    endRemoveRows();
    return true;
}

bool CGridModel::IsFixed(int row, int column) const
{
    return row < m_fixedRows || column < m_fixedColumns;
}

void CGridModel::SetItemText(int row, int column, const QString &text)
{
    if (!Contains(row, column))
        return;
    At(row, column).text = text;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, { Qt::DisplayRole, Qt::EditRole });
}

QString CGridModel::GetItemText(int row, int column) const
{
    return Contains(row, column) ? At(row, column).text : QString();
}

void CGridModel::SetCellReadOnly(int row, int column, bool readOnly)
{
    if (!Contains(row, column))
        return;
    At(row, column).readOnly = readOnly;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed);
}

bool CGridModel::IsCellReadOnly(int row, int column) const
{
    return !Contains(row, column) || IsFixed(row, column) || At(row, column).readOnly;
}

void CGridModel::SetCellKind(int row, int column, GridCellKind kind, const QStringList &options)
{
    if (!Contains(row, column))
        return;
    Cell &cell = At(row, column);
    cell.kind = kind;
    cell.options = kind == GridCellKind::List ? options : QStringList();
}

GridCellKind CGridModel::CellKind(int row, int column) const
{
    return Contains(row, column) ? At(row, column).kind : GridCellKind::Text;
}

QStringList CGridModel::CellOptions(int row, int column) const
{
    return Contains(row, column) ? At(row, column).options : QStringList();
}

bool CGridModel::Accepts(int row, int column, const QString &text) const
{
    if (IsCellReadOnly(row, column))
        return false;
    const Cell &cell = At(row, column);
    if (cell.kind == GridCellKind::List && !cell.options.contains(text))
        return false;
    return !m_validator || m_validator(row, column, text);
}

bool CGridModel::EndEdit(int row, int column, const QString &text)
{
    if (!Accepts(row, column, text))
        return false;
    if (At(row, column).text != text)
        SetItemText(row, column, text);
    emit CellEdited(row, column);
    return true;
}

QString CGridModel::CopyText(int top, int left, int bottom, int right) const
{
    top = std::max(top, 0);
    left = std::max(left, 0);
    bottom = std::min(bottom, m_rows - 1);
    right = std::min(right, m_columns - 1);
    QString text;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (column > left)
                text += QLatin1Char('\t');
            text += At(row, column).text;
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

int CGridModel::PasteText(int row, int column, const QString &text)
{
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = normalised.split(QLatin1Char('\n'));
    // The line end after the last row does not start another row.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    int changed = 0;
    for (int line = 0; line < lines.size(); ++line) {
        const QStringList values = lines.at(line).split(QLatin1Char('\t'));
        for (int value = 0; value < values.size(); ++value) {
            const int targetRow = row + line;
            const int targetColumn = column + value;
            if (!Contains(targetRow, targetColumn))
                continue;
            if (EndEdit(targetRow, targetColumn, values.at(value)))
                ++changed;
        }
    }
    return changed;
}

int CGridModel::ClearCells(int top, int left, int bottom, int right)
{
    int cleared = 0;
    for (int row = std::max(top, 0); row <= std::min(bottom, m_rows - 1); ++row) {
        for (int column = std::max(left, 0); column <= std::min(right, m_columns - 1); ++column) {
            if (At(row, column).kind == GridCellKind::Text && EndEdit(row, column, QString()))
                ++cleared;
        }
    }
    return cleared;
}

void CGridModel::Store(CMatrixArchive &ar) const
{
    ar.WriteCountedString(StoredTag);
    ar.WriteInt32(StoredVersion);
    ar.WriteInt32(m_rows);
    ar.WriteInt32(m_columns);
    ar.WriteInt32(m_fixedRows);
    ar.WriteInt32(m_fixedColumns);
    for (const Cell &cell : m_cells) {
        ar.WriteCountedString(ToBytes(cell.text));
        ar.WriteInt32(static_cast<std::int32_t>(cell.kind));
        ar.WriteInt32(cell.readOnly ? 1 : 0);
        ar.WriteInt32(static_cast<std::int32_t>(cell.options.size()));
        for (const QString &option : cell.options)
            ar.WriteCountedString(ToBytes(option));
    }
}

void CGridModel::Load(CMatrixArchive &ar)
{
    if (ar.ReadCountedString() != StoredTag || ar.ReadInt32() != StoredVersion)
        CMatrixArchive::ThrowBadClass();
    const std::int32_t rows = ar.ReadInt32();
    const std::int32_t columns = ar.ReadInt32();
    const std::int32_t fixedRows = ar.ReadInt32();
    const std::int32_t fixedColumns = ar.ReadInt32();
    if (rows < 0 || columns < 0 || fixedRows < 0 || fixedColumns < 0 || fixedRows > rows
        || fixedColumns > columns || std::int64_t(rows) * columns > MaxStoredCells)
        CMatrixArchive::ThrowBadClass();
    // Every cell takes at least a length byte and three int32: a count the remaining bytes
    // cannot hold is foreign data, refused before any cell is allocated for it.
    if (std::uint64_t(rows) * std::uint64_t(columns) * MinStoredCellBytes > ar.GetRemaining())
        CMatrixArchive::ThrowBadClass();
    // Read everything first so that a short or foreign archive leaves the grid untouched.
    std::vector<Cell> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    for (Cell &cell : cells) {
        cell.text = FromBytes(ar.ReadCountedString());
        const std::int32_t kind = ar.ReadInt32();
        const std::int32_t readOnly = ar.ReadInt32();
        const std::int32_t optionCount = ar.ReadInt32();
        if ((kind != 0 && kind != 1) || (readOnly != 0 && readOnly != 1) || optionCount < 0
            || (kind == 0 && optionCount != 0) || optionCount > 10000)
            CMatrixArchive::ThrowBadClass();
        cell.kind = static_cast<GridCellKind>(kind);
        cell.readOnly = readOnly == 1;
        for (std::int32_t option = 0; option < optionCount; ++option)
            cell.options.append(FromBytes(ar.ReadCountedString()));
    }
    beginResetModel();
    m_rows = rows;
    m_columns = columns;
    m_fixedRows = fixedRows;
    m_fixedColumns = fixedColumns;
    m_cells = std::move(cells);
    endResetModel();
}

bool CGridModel::operator==(const CGridModel &other) const
{
    return m_rows == other.m_rows && m_columns == other.m_columns
        && m_fixedRows == other.m_fixedRows && m_fixedColumns == other.m_fixedColumns
        && m_cells == other.m_cells;
}

int CGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

int CGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant CGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !Contains(index.row(), index.column()))
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return At(index.row(), index.column()).text;
    return QVariant();
}

bool CGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    return EndEdit(index.row(), index.column(), value.toString());
}

Qt::ItemFlags CGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!IsCellReadOnly(index.row(), index.column()))
        result |= Qt::ItemIsEditable;
    return result;
}
