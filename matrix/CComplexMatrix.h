// Complex numbers and the dense complex matrix with shared, copy-on-write storage, complex
// arithmetic, inverse, numerical derivative and the in-place column FFT.

#ifndef VELA_MATRIX_CCOMPLEXMATRIX_H
#define VELA_MATRIX_CCOMPLEXMATRIX_H

#include "matrix/CMatrix.h"
#include "matrix/MatrixBlock.h"

#include <cassert>
#include <string>

class CMatrixArchive;

/// Complex number: real part then imaginary part, two doubles, 16 bytes, no other state.
/// The arithmetic uses the textbook formulas written out below (not std::complex), so that
/// results are reproducible bit for bit wherever the library is compiled.
class Complex
{
public:
    double re = 0.0;
    double im = 0.0;

    Complex() = default;
    Complex(double real, double imag)
        : re(real)
        , im(imag)
    {
    }

    double Real() const { return re; }
    double Imag() const { return im; }
    /// sqrt(re^2 + im^2).
    double Modulus() const;

    bool operator==(const Complex &o) const { return re == o.re && im == o.im; }
    bool operator!=(const Complex &o) const { return !(*this == o); }
    Complex operator-() const { return Complex(-re, -im); }
    Complex operator+(const Complex &o) const { return Complex(re + o.re, im + o.im); }
    Complex operator-(const Complex &o) const { return Complex(re - o.re, im - o.im); }
    /// (a.re b.re - a.im b.im, a.im b.re + a.re b.im).
    Complex operator*(const Complex &o) const
    {
        return Complex(re * o.re - im * o.im, im * o.re + re * o.im);
    }
    /// With d = b.re^2 + b.im^2: ((a.re b.re + a.im b.im) / d, (b.re a.im - a.re b.im) / d).
    /// Division by 0 + 0i gives infinities / NaN; nothing is checked.
    Complex operator/(const Complex &o) const;
    Complex &operator+=(const Complex &o);
    Complex &operator-=(const Complex &o);
    Complex &operator*=(const Complex &o);

    /// Part-wise product with a real or integer scalar.
    Complex operator*(double k) const { return Complex(re * k, im * k); }
    Complex operator*(int k) const { return *this * static_cast<double>(k); }
    /// Each part multiplied by 1 / k.
    Complex operator/(double k) const;
    Complex operator/(int k) const { return *this / static_cast<double>(k); }
};
static_assert(sizeof(Complex) == 16, "Complex must be two packed doubles");

Complex operator*(double k, const Complex &z);
Complex operator*(int k, const Complex &z);
/// k / z: with d = z.re^2 + z.im^2, (k z.re / d, -(k z.im / d)).
Complex operator/(double k, const Complex &z);
Complex operator/(int k, const Complex &z);
/// e^re (cos im, sin im).
Complex Exp(const Complex &z);
/// Principal square root: with the angle t = atan2(im, re) when re != 0, t = +-1.5707963268
/// (the sign of im) when re == 0 and im != 0, and t = 0 at the origin, the result is
/// (re^2 + im^2)^(1/4) * (cos t/2, sin t/2). Its square is z: sqrt(0 - 4i) = 1.414 - 1.414i.
Complex Sqrt(const Complex &z);

/// Dense rows x cols matrix of Complex, stored row by row, with exactly the sharing,
/// copy-on-write, in-place and failure conventions of CMatrix (see there): copies share, Set()
/// unshares before writing, SetRaw() writes into the shared block, operations that throw
/// CMatrixException leave their operands unchanged, indices are not range-tested.
class CComplexMatrix
{
public:
    // ---- construction and access ----------------------------------------------------------

    /// 1 x 1 zero matrix.
    CComplexMatrix();
    /// rows x cols zero matrix; negative sizes throw CMatrixException(kInvalidOperation), more
    /// than INT_MAX elements std::bad_alloc.
    CComplexMatrix(int rows, int cols);
    /// Same shape as m, real parts copied, imaginary parts 0.
    explicit CComplexMatrix(const CMatrix &m);
    CComplexMatrix(const CComplexMatrix &other);
    CComplexMatrix(CComplexMatrix &&other) noexcept;
    CComplexMatrix &operator=(const CComplexMatrix &other);
    CComplexMatrix &operator=(CComplexMatrix &&other) noexcept;
    ~CComplexMatrix();

    int GetRows() const { return m_rows; }
    int GetCols() const { return m_cols; }
    int GetCount() const { return m_rows * m_cols; }
    bool IsEmpty() const { return m_rows == 0 || m_cols == 0; }

    /// Element (r, c) / linear element i (row by row).
    const Complex &operator()(int r, int c) const
    {
        assert(r >= 0 && r < m_rows && c >= 0 && c < m_cols);
        return m_block->Data()[static_cast<std::size_t>(r) * m_cols + c];
    }
    const Complex &operator()(int i) const
    {
        assert(i >= 0 && i < m_rows * m_cols);
        return m_block->Data()[i];
    }
    Complex Get(int r, int c) const { return (*this)(r, c); }
    Complex Get(int i) const { return (*this)(i); }

    /// Copying setters (unshare, then write) and raw setters (write into the shared block).
    void Set(int r, int c, const Complex &value);
    void Set(int i, const Complex &value);
    void SetRaw(int r, int c, const Complex &value)
    {
        assert(r >= 0 && r < m_rows && c >= 0 && c < m_cols);
        m_block->Data()[static_cast<std::size_t>(r) * m_cols + c] = value;
    }
    void SetRaw(int i, const Complex &value)
    {
        assert(i >= 0 && i < m_rows * m_cols);
        m_block->Data()[i] = value;
    }

    /// Read-only / writable (unsharing) views of the elements, row by row.
    const Complex *GetData() const { return m_block->Data(); }
    Complex *GetWritableData();
    bool IsShared() const;

    /// Row r as a new 1 x cols matrix; column c as a new rows x 1 matrix.
    CComplexMatrix GetRow(int r) const;
    CComplexMatrix GetColumn(int c) const;

    // ---- arithmetic (new result unless marked in place) -----------------------------------

    /// Element-wise sum / difference; same shape required, else kInvalidOperation.
    CComplexMatrix operator+(const CComplexMatrix &other) const;
    CComplexMatrix operator-(const CComplexMatrix &other) const;
    /// Matrix products; GetCols() must equal right.GetRows(), else kNoCommonSize. Each element
    /// is the sum of products in index order, accumulated from zero.
    CComplexMatrix operator*(const CComplexMatrix &right) const;
    CComplexMatrix operator*(const CMatrix &right) const;
    /// Every element times the complex scalar.
    CComplexMatrix operator*(const Complex &scalar) const;
    /// Element-wise product / quotient (this / other). Throws kColumnNumber when the column
    /// counts differ, else kRowNumber when the row counts differ.
    CComplexMatrix ElementProduct(const CComplexMatrix &other) const;
    CComplexMatrix ElementProduct(const CMatrix &other) const;
    CComplexMatrix ElementQuotient(const CComplexMatrix &other) const;

    /// In place: rows and cols exchanged.
    void Transpose();
    /// The transpose as a new matrix.
    CComplexMatrix Transposed() const;
    /// Gauss-Jordan inverse without pivot search, computed on a private copy. Throws
    /// kNotSquare for a non-square matrix and kInversion when a pivot is exactly 0 + 0i
    /// (also for some regular matrices, since rows are never exchanged).
    CComplexMatrix Inverse() const;
    /// In place: all elements 0, then (i, i) = 1 + 0i.
    void Identity();
    /// In place: each element multiplied by itself.
    void Square();
    /// Each element multiplied by itself, as a new matrix.
    CComplexMatrix Squared() const;
    /// Element-wise Exp() / Sqrt() of Complex, new matrices.
    CComplexMatrix Exp() const;
    CComplexMatrix Sqrt() const;

    /// Row vector: 1 x 1 with the sum of its elements; otherwise (an n x 1 column included)
    /// a 1 x cols row of column sums.
    CComplexMatrix Sum() const;
    /// The shapes of Sum() holding the sums divided by the number of elements summed.
    CComplexMatrix Mean() const;
    /// Mean of row r / of column c.
    Complex RowMean(int r) const;
    Complex ColMean(int c) const;
    /// Real parts as a CMatrix of the same shape.
    CMatrix Real() const;
    /// n x 1 CMatrix of the column indices j of row r, increasing, whose element modulus is
    /// strictly above threshold.
    CMatrix IndicesAbove(int r, double threshold) const;

    /// Block of rowCount x colCount starting at (firstRow, firstCol); kSubMatrix unless the
    /// source contains it.
    CComplexMatrix SubMatrix(int firstRow, int firstCol, int rowCount, int colCount) const;
    /// In place: other's columns to the right (needs as many rows) / other's rows below (needs
    /// as many columns); otherwise kConcatenate.
    void AppendColumns(const CComplexMatrix &other);
    void AppendRows(const CComplexMatrix &other);

    /// Numerical derivative of y along each column (along the row for a 1 x n row).
    /// h holds the step lengths between consecutive samples (h(k) = distance from sample k to
    /// k + 1, in the abscissa's unit), read by linear index, at least n - 1 of them for n
    /// samples. First element (y1 - y0) / h0, last (y[n-1] - y[n-2]) / h[n-2], interior k
    /// (y[k+1] - y[k-1]) / (h[k-1] + h[k]). The result has y's shape.
    /// Throws kDiffScalar for a 1 x 1 y and kInvalidOperation when h is too short.
    static CComplexMatrix Diff(const CComplexMatrix &y, const CMatrix &h);

    /// In place, forward, unscaled radix-2 FFT of every column:
    /// X_k = sum_j x_j e^(-i c j k / n) with c = 6.2831853072 (this truncated constant, not
    /// 2 pi), n = GetRows(). Throws kFftTooShort when n < 2 (matrix unchanged).
    /// For n = 2^s * q with q odd only the s stages of the lowest set bit are performed: each
    /// consecutive block of 2^s rows receives the 2^s-point transform of itself (odd n leaves
    /// the matrix unchanged). Callers pass powers of two.
    void FFT();

    // ---- serialisation and text ---------------------------------------------------------

    /// Stores into or loads from ar according to its mode.
    void Serialize(CMatrixArchive &ar);
    /// Tag words 0x434D6174, 0x72697843 (the same as CMatrix: the reader must know which class
    /// comes next), version 1, cols, rows, then the elements column-major, each as real then
    /// imaginary float64: 20 + 16 * rows * cols bytes. Throws CArchiveException(ReadOnly) on a
    /// loading archive.
    void Store(CMatrixArchive &ar) const;
    /// Reads the form written by Store(); failures as CMatrix::Load, matrix unchanged.
    void Load(CMatrixArchive &ar);

    /// Text dump as a MATLAB script like CMatrix::Dump, each element written as
    /// "<re>+<im>i" (or "<re>-<|im|>i") with "%e" numbers. Failures are silently ignored.
    void Dump(const std::string &fileName, const std::string &variableName) const;
    /// Dump into the folder named by VELA_DUMP_DIR; nothing when it is not set.
    void DiagnosticDump(const std::string &fileName, const std::string &variableName) const;

private:
    using Block = vela_matrix_detail::Block<Complex>;

    void Unshare();
    void Adopt(Block *block, int rows, int cols);

    int m_cols = 1;
    int m_rows = 1;
    Block *m_block = nullptr;
};

/// scalar * m: every element times the complex scalar.
CComplexMatrix operator*(const Complex &scalar, const CComplexMatrix &m);
/// Real x complex matrix product; left.GetCols() must equal right.GetRows(), else
/// kNoCommonSize.
CComplexMatrix operator*(const CMatrix &left, const CComplexMatrix &right);
/// Real-times-complex element-wise product; checks as CComplexMatrix::ElementProduct.
CComplexMatrix ElementProduct(const CMatrix &left, const CComplexMatrix &right);
/// Real minus complex, element by element (the real matrix made complex, less right); same
/// shape required, else kInvalidOperation.
CComplexMatrix operator-(const CMatrix &left, const CComplexMatrix &right);

/// ar << m stores m, ar >> m loads it.
CMatrixArchive &operator<<(CMatrixArchive &ar, const CComplexMatrix &m);
CMatrixArchive &operator>>(CMatrixArchive &ar, CComplexMatrix &m);

#endif // VELA_MATRIX_CCOMPLEXMATRIX_H
