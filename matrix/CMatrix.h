// Dense matrix of doubles with shared, copy-on-write storage: the numeric array type that the
// engine, the runner and the application exchange, store and serialise.

#ifndef VELA_MATRIX_CMATRIX_H
#define VELA_MATRIX_CMATRIX_H

#include "matrix/MatrixBlock.h"

#include <cassert>
#include <initializer_list>
#include <string>
#include <vector>

class CMatrixArchive;

/// Dense rows x cols matrix of doubles, stored row by row (element (r, c) is linear element
/// c + r * cols). A vector is an n x 1 column or a 1 x n row; linear index i addresses element
/// number i of either.
///
/// Sharing. Copies (copy constructor, assignment) share one element block. The copying setters
/// Set() first give this matrix a private block when the block is shared, so other copies never
/// see the write. The raw setters SetRaw() write into the shared block in place, so every
/// sharer sees the write; use them only on a matrix you have just created and not yet copied.
/// Operations marked "in place" first take a private block, then change it. All other
/// operations return a new matrix and leave their operands unchanged.
///
/// Failures. Shape mismatches throw CMatrixException carrying one of the MatrixError texts;
/// the operands are then unchanged. Indices are not range-tested (assert in debug builds only):
/// callers keep 0 <= r < GetRows(), 0 <= c < GetCols(), 0 <= i < GetRows() * GetCols().
///
/// The values carry whatever unit the caller gives them; no operation converts units.
///
/// Example:
///   CMatrix f = CMatrix::Linspace(5.0, 50.0, 10);  // 10 x 1 column, Hz
///   CMatrix g = f;                                   // shares f's block
///   g.Set(0, 1.0);                                   // g unshares; f(0) is still 5
class CMatrix
{
public:
    // ---- construction and access ----------------------------------------------------------

    /// 1 x 1 matrix holding 0.
    CMatrix();
    /// rows x cols zero matrix. 0 rows or 0 columns give an empty matrix. Negative sizes throw
    /// CMatrixException(kInvalidOperation); more than INT_MAX elements throw std::bad_alloc.
    CMatrix(int rows, int cols);
    /// rows x cols matrix filled row by row from values (missing values stay 0, extra values
    /// are ignored). Convenient for tables and tests: CMatrix(2, 2, {1, 2, 3, 4}).
    CMatrix(int rows, int cols, std::initializer_list<double> rowMajorValues);
    /// Shares other's block.
    CMatrix(const CMatrix &other);
    /// Takes other's block; other is left a 1 x 1 zero matrix.
    CMatrix(CMatrix &&other) noexcept;
    /// Shares other's block (the old block is released first); assignment to itself does
    /// nothing.
    CMatrix &operator=(const CMatrix &other);
    /// Takes other's block; other receives this matrix's previous block and shape.
    CMatrix &operator=(CMatrix &&other) noexcept;
    ~CMatrix();

    /// n x 1 column holding values in order.
    static CMatrix Column(const std::vector<double> &values);
    /// The elements in linear (row by row) order.
    std::vector<double> ToVector() const;

    int GetRows() const { return m_rows; }
    int GetCols() const { return m_cols; }
    /// rows * cols.
    int GetCount() const { return m_rows * m_cols; }
    /// True when the matrix has no element (0 rows or 0 columns).
    bool IsEmpty() const { return m_rows == 0 || m_cols == 0; }

    /// Element (r, c).
    double operator()(int r, int c) const
    {
        assert(r >= 0 && r < m_rows && c >= 0 && c < m_cols);
        return m_block->Data()[static_cast<std::size_t>(r) * m_cols + c];
    }
    /// Linear element i (row by row).
    double operator()(int i) const
    {
        assert(i >= 0 && i < m_rows * m_cols);
        return m_block->Data()[i];
    }
    /// Same as operator()(r, c) / operator()(i).
    double Get(int r, int c) const { return (*this)(r, c); }
    double Get(int i) const { return (*this)(i); }

    /// Copying setter: unshares the block when it is shared, then writes. Always succeeds.
    void Set(int r, int c, double value);
    void Set(int i, double value);
    /// Raw setter: writes into the (possibly shared) block in place; every sharer sees it.
    void SetRaw(int r, int c, double value)
    {
        assert(r >= 0 && r < m_rows && c >= 0 && c < m_cols);
        m_block->Data()[static_cast<std::size_t>(r) * m_cols + c] = value;
    }
    void SetRaw(int i, double value)
    {
        assert(i >= 0 && i < m_rows * m_cols);
        m_block->Data()[i] = value;
    }

    /// Read-only view of the elements in row-by-row order (GetCount() of them).
    const double *GetData() const { return m_block->Data(); }
    /// Writable view of the elements: unshares the block first, so the writes stay private.
    /// Valid until this matrix is next copied, assigned or reshaped.
    double *GetWritableData();
    /// True when another matrix shares this matrix's block.
    bool IsShared() const;

    // ---- row and column statistics -------------------------------------------------------

    /// Smallest / largest element of row r; its column index (the first one on ties) goes to
    /// *index when index is given. An empty row gives +inf / -inf and index -1.
    double RowMin(int r, int *index = nullptr) const;
    double RowMax(int r, int *index = nullptr) const;
    /// Smallest / largest element of column c, with its row index (first on ties).
    double ColMin(int c, int *index = nullptr) const;
    double ColMax(int c, int *index = nullptr) const;
    /// Sum of row r's / column c's elements divided by their number.
    double RowMean(int r) const;
    double ColMean(int c) const;
    /// True when some element is strictly below x; false for an empty matrix.
    bool AnyBelow(double x) const;
    /// Elements of row r, each formatted as FormatElement() does, joined by separator.
    std::string RowToString(int r, const std::string &separator) const;
    /// Row r as a new 1 x cols matrix; column c as a new rows x 1 matrix.
    CMatrix GetRow(int r) const;
    CMatrix GetColumn(int c) const;

    // ---- whole-matrix operations (new result unless marked in place) ----------------------

    /// Row or column vector: 1 x 1 matrix with the largest element. Otherwise a 1 x cols row
    /// with the largest element of each column (-inf for a column without elements).
    CMatrix Max() const;
    /// As Max() with the smallest element (+inf for a column without elements).
    CMatrix Min() const;
    /// As Max() with the arithmetic mean (NaN for a column without elements).
    CMatrix Mean() const;
    /// Whole-matrix maximum, minimum, mean: the column-wise operation applied twice.
    double MaxAll() const;
    double MinAll() const;
    double MeanAll() const;
    /// Sum: row or column vector gives 1 x 1, otherwise a 1 x cols row of column sums.
    CMatrix Sum() const;

    /// Element-wise absolute value, as a new matrix (the operand is left unchanged).
    CMatrix Abs() const;
    /// Element-wise product. Throws kColumnNumber when the column counts differ, else
    /// kRowNumber when the row counts differ.
    CMatrix ElementProduct(const CMatrix &other) const;
    /// Element-wise quotient this / other, same checks as ElementProduct().
    CMatrix ElementQuotient(const CMatrix &other) const;
    /// Matrix product: throws kNoCommonSize unless GetCols() == right.GetRows(). Each element
    /// is the plain sum of products in index order.
    CMatrix operator*(const CMatrix &right) const;
    /// Sum / difference of two matrices of the same shape, else kInvalidOperation.
    CMatrix operator+(const CMatrix &other) const;
    CMatrix operator-(const CMatrix &other) const;
    /// Every element plus / less the scalar.
    CMatrix operator+(double scalar) const;
    CMatrix operator-(double scalar) const;
    /// Every element times the scalar, as a new matrix.
    CMatrix operator*(double scalar) const;
    /// In place: every element times the scalar.
    CMatrix &operator*=(double scalar);

    /// In place: rows and cols exchanged, elements rebuilt accordingly.
    void Transpose();
    /// The transpose as a new matrix.
    CMatrix Transposed() const;
    /// In place: every element replaced by its square.
    void Square();
    /// In place: each column's order reversed.
    void ReverseColumns();
    /// Inverse by Gauss-Jordan elimination without pivot search, computed on a copy.
    /// Throws kNotSquare for a non-square matrix, kInversion on a zero pivot (even for a
    /// regular matrix, since rows are never exchanged).
    CMatrix Inverse() const;
    /// In place: all elements 0, then 1 on the diagonal.
    void Identity();

    /// n x 1 column: a, then each next element adds (b - a) / (n - 1) to the previous one
    /// (accumulated, so the last may differ from b by rounding). n = 1 gives a; n <= 0 gives an
    /// empty 0 x 1 column.
    static CMatrix Linspace(double a, double b, int n);
    /// n x 1 column: element i is 10^(a + (b - a) * i / (n - 1)), the last one exactly 10^b.
    /// n = 1 gives 10^b; n <= 0 an empty 0 x 1 column.
    static CMatrix Logspace(double a, double b, int n);

    /// Block of rowCount x colCount starting at (firstRow, firstCol). Throws kSubMatrix unless
    /// the source contains the block (negative arguments count as outside).
    CMatrix SubMatrix(int firstRow, int firstCol, int rowCount, int colCount) const;
    /// In place: other's columns placed to the right. Throws kConcatenate unless other has as
    /// many rows.
    void AppendColumns(const CMatrix &other);
    /// In place: other's rows placed below. Throws kConcatenate unless other has as many
    /// columns.
    void AppendRows(const CMatrix &other);

    // ---- serialisation and text ---------------------------------------------------------

    /// Stores into or loads from ar according to its mode (see Store / Load).
    void Serialize(CMatrixArchive &ar);
    /// Writes the tag words 0x434D6174 and 0x72697843, version 1, cols, rows (int32 each) and
    /// the elements as float64 in column-major order: 20 + 8 * rows * cols bytes.
    /// Throws CArchiveException(ReadOnly) on a loading archive.
    void Store(CMatrixArchive &ar) const;
    /// Reads the form written by Store(). A tag mismatch or negative size throws
    /// CArchiveException(BadClass); missing bytes throw CArchiveException(EndOfFile); a storing
    /// archive throws CArchiveException(WriteOnly). On any failure this matrix is unchanged.
    void Load(CMatrixArchive &ar);

    /// Text dump as a MATLAB script: "name=zeros(r,c);name=[", the rows (elements "%e" joined
    /// by ",", each row ended by CR LF), then "];". Creates or truncates fileName. Failures to
    /// open or write are silently ignored: dumps are diagnostics nobody reads back.
    void Dump(const std::string &fileName, const std::string &variableName) const;
    /// Diagnostic dump: writes Dump(dir + "/" + fileName, variableName) only when the
    /// environment variable VELA_DUMP_DIR names a folder; otherwise does nothing.
    void DiagnosticDump(const std::string &fileName, const std::string &variableName) const;

private:
    using Block = vela_matrix_detail::Block<double>;

    /// Gives this matrix a private copy of its block when the block is shared.
    void Unshare();
    /// Replaces the block and shape by a fresh block (share count 1) of rows x cols.
    void Adopt(Block *block, int rows, int cols);

    int m_cols = 1;
    int m_rows = 1;
    Block *m_block = nullptr;
};

/// scalar * m: every element times the scalar, as a new matrix.
CMatrix operator*(double scalar, const CMatrix &m);

/// ar << m stores m, ar >> m loads it (see CMatrix::Store / CMatrix::Load).
CMatrixArchive &operator<<(CMatrixArchive &ar, const CMatrix &m);
CMatrixArchive &operator>>(CMatrixArchive &ar, CMatrix &m);

/// One element as C's "%e" prints it in the "C" locale ("1.000000e+00": six decimals, at
/// least two exponent digits), independent of the process locale.
std::string FormatElement(double value);

#endif // VELA_MATRIX_CMATRIX_H
