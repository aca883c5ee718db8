// Dense real matrix with shared, copy-on-write storage.

#include "matrix/CMatrix.h"

#include "matrix/CMatrixArchive.h"
#include "matrix/MatrixError.h"
#include "matrix/MatrixSerial.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

using vela_matrix_detail::ElementCount;

namespace vela_matrix_detail {

std::size_t ElementCount(int rows, int cols)
{
    if (rows < 0 || cols < 0)
        throw CMatrixException(MatrixError::kInvalidOperation);
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    // Linear indices and GetCount() are int: a larger block could not be addressed.
    if (count > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw std::bad_alloc();
    return count;
}

void StoreMatrixHeader(CMatrixArchive &ar, int rows, int cols)
{
    ar.WriteInt32(kTagWord1);
    ar.WriteInt32(kTagWord2);
    ar.WriteInt32(kSerialVersion);
    ar.WriteInt32(cols);
    ar.WriteInt32(rows);
}

void LoadMatrixHeader(CMatrixArchive &ar, std::size_t elementBytes, int &rows, int &cols)
{
    const std::int32_t tag1 = ar.ReadInt32();
    const std::int32_t tag2 = ar.ReadInt32();
    if (tag1 != kTagWord1 || tag2 != kTagWord2)
        CMatrixArchive::ThrowBadClass();
    ar.ReadInt32(); // version: every version so far has the same layout
    const std::int32_t c = ar.ReadInt32();
    const std::int32_t r = ar.ReadInt32();
    if (r < 0 || c < 0)
        CMatrixArchive::ThrowBadClass();
    // A corrupt size must not make us allocate what the archive cannot fill.
    const std::size_t count = static_cast<std::size_t>(r) * static_cast<std::size_t>(c);
    if (count > ar.GetRemaining() / elementBytes)
        throw CArchiveException(CArchiveException::EndOfFile, ArchiveError::kEndOfFile);
    ElementCount(r, c);
    rows = r;
    cols = c;
}

void WriteDumpFile(const std::string &fileName, const std::string &text)
{
    std::FILE *file = std::fopen(fileName.c_str(), "wb");
    if (!file)
        return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

std::string DiagnosticDumpPath(const std::string &fileName)
{
    const char *dir = std::getenv("VELA_DUMP_DIR");
    if (!dir || !*dir)
        return std::string();
    return std::string(dir) + "/" + fileName;
}

} // namespace vela_matrix_detail

std::string FormatElement(double value)
{
    // to_chars follows printf's "%e" but ignores the locale, which a Qt program sets from the
    // environment (an Italian locale would print a decimal comma).
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 6);
    return std::string(text, result.ptr);
}

// ---- construction and sharing ----------------------------------------------------------------

CMatrix::CMatrix()
    : m_block(Block::Allocate(1))
{
}

CMatrix::CMatrix(int rows, int cols)
    : m_cols(cols)
    , m_rows(rows)
    , m_block(Block::Allocate(ElementCount(rows, cols)))
{
}

CMatrix::CMatrix(int rows, int cols, std::initializer_list<double> rowMajorValues)
    : CMatrix(rows, cols)
{
    const std::size_t n = std::min(m_block->count, rowMajorValues.size());
    std::copy_n(rowMajorValues.begin(), n, m_block->Data());
}

CMatrix::CMatrix(const CMatrix &other)
    : m_cols(other.m_cols)
    , m_rows(other.m_rows)
    , m_block(Block::Acquire(other.m_block))
{
}

CMatrix::CMatrix(CMatrix &&other) noexcept
    : m_cols(other.m_cols)
    , m_rows(other.m_rows)
    , m_block(other.m_block)
{
    // The moved-from matrix must stay usable; a 1 x 1 zero block keeps every accessor valid.
    // Allocation failure here is not recoverable anyway, hence noexcept.
    other.m_block = Block::Allocate(1);
    other.m_rows = 1;
    other.m_cols = 1;
}

CMatrix &CMatrix::operator=(const CMatrix &other)
{
    if (this != &other && m_block != other.m_block) {
        Block *old = m_block;
        m_block = Block::Acquire(other.m_block);
        Block::Release(old);
    }
    m_rows = other.m_rows;
    m_cols = other.m_cols;
    return *this;
}

CMatrix &CMatrix::operator=(CMatrix &&other) noexcept
{
    if (this != &other) {
        std::swap(m_block, other.m_block);
        std::swap(m_rows, other.m_rows);
        std::swap(m_cols, other.m_cols);
    }
    return *this;
}

CMatrix::~CMatrix() { Block::Release(m_block); }

CMatrix CMatrix::Column(const std::vector<double> &values)
{
    CMatrix m(static_cast<int>(values.size()), 1);
    std::copy(values.begin(), values.end(), m.m_block->Data());
    return m;
}

std::vector<double> CMatrix::ToVector() const
{
    return std::vector<double>(GetData(), GetData() + GetCount());
}

bool CMatrix::IsShared() const { return m_block->shares.load(std::memory_order_acquire) > 1; }

void CMatrix::Unshare()
{
    if (!IsShared())
        return;
    Block *copy = Block::Allocate(m_block->count);
    std::copy_n(m_block->Data(), m_block->count, copy->Data());
    Block::Release(m_block);
    m_block = copy;
}

void CMatrix::Adopt(Block *block, int rows, int cols)
{
    Block::Release(m_block);
    m_block = block;
    m_rows = rows;
    m_cols = cols;
}

void CMatrix::Set(int r, int c, double value)
{
    Unshare();
    SetRaw(r, c, value);
}

void CMatrix::Set(int i, double value)
{
    Unshare();
    SetRaw(i, value);
}

double *CMatrix::GetWritableData()
{
    Unshare();
    return m_block->Data();
}

// ---- row and column statistics ---------------------------------------------------------------

namespace {

// Smallest (less = true) or largest element of count values spaced stride apart; the first one
// wins ties.
double Extreme(const double *p, int count, std::ptrdiff_t stride, bool less, int *index)
{
    double best =
        less ? std::numeric_limits<double>::infinity() : -std::numeric_limits<double>::infinity();
    int where = -1;
    for (int k = 0; k < count; ++k) {
        const double v = p[k * stride];
        if (where < 0 || (less ? v < best : v > best)) {
            best = v;
            where = k;
        }
    }
    if (index)
        *index = where;
    return best;
}

double Average(const double *p, int count, std::ptrdiff_t stride)
{
    double sum = 0.0;
    for (int k = 0; k < count; ++k)
        sum += p[k * stride];
    return sum / count;
}

} // namespace

double CMatrix::RowMin(int r, int *index) const
{
    return Extreme(GetData() + static_cast<std::ptrdiff_t>(r) * m_cols, m_cols, 1, true, index);
}

double CMatrix::RowMax(int r, int *index) const
{
    return Extreme(GetData() + static_cast<std::ptrdiff_t>(r) * m_cols, m_cols, 1, false, index);
}

double CMatrix::ColMin(int c, int *index) const
{
    return Extreme(GetData() + c, m_rows, m_cols, true, index);
}

double CMatrix::ColMax(int c, int *index) const
{
    return Extreme(GetData() + c, m_rows, m_cols, false, index);
}

double CMatrix::RowMean(int r) const
{
    return Average(GetData() + static_cast<std::ptrdiff_t>(r) * m_cols, m_cols, 1);
}

double CMatrix::ColMean(int c) const { return Average(GetData() + c, m_rows, m_cols); }

bool CMatrix::AnyBelow(double x) const
{
    const double *p = GetData();
    return std::any_of(p, p + GetCount(), [x](double v) { return v < x; });
}

std::string CMatrix::RowToString(int r, const std::string &separator) const
{
    std::string text;
    for (int c = 0; c < m_cols; ++c) {
        if (c > 0)
            text += separator;
        text += FormatElement((*this)(r, c));
    }
    return text;
}

CMatrix CMatrix::GetRow(int r) const { return SubMatrix(r, 0, 1, m_cols); }

CMatrix CMatrix::GetColumn(int c) const { return SubMatrix(0, c, m_rows, 1); }

// ---- whole-matrix operations -----------------------------------------------------------------

namespace {

enum class Reduce { Max, Min, Mean, Sum };

double ReduceRun(const double *p, int count, std::ptrdiff_t stride, Reduce how)
{
    switch (how) {
    case Reduce::Max:
        return Extreme(p, count, stride, false, nullptr);
    case Reduce::Min:
        return Extreme(p, count, stride, true, nullptr);
    case Reduce::Mean:
        return Average(p, count, stride);
    case Reduce::Sum:
        break;
    }
    double sum = 0.0;
    for (int k = 0; k < count; ++k)
        sum += p[k * stride];
    return sum;
}

// MATLAB convention: a vector reduces to a scalar, a matrix to a row of column results.
CMatrix ReduceColumns(const CMatrix &m, Reduce how)
{
    if (m.GetRows() == 1 || m.GetCols() == 1) {
        CMatrix result(1, 1);
        result.SetRaw(0, ReduceRun(m.GetData(), m.GetCount(), 1, how));
        return result;
    }
    CMatrix result(1, m.GetCols());
    for (int c = 0; c < m.GetCols(); ++c)
        result.SetRaw(c, ReduceRun(m.GetData() + c, m.GetRows(), m.GetCols(), how));
    return result;
}

} // namespace

CMatrix CMatrix::Max() const { return ReduceColumns(*this, Reduce::Max); }

CMatrix CMatrix::Min() const { return ReduceColumns(*this, Reduce::Min); }

CMatrix CMatrix::Mean() const { return ReduceColumns(*this, Reduce::Mean); }

CMatrix CMatrix::Sum() const { return ReduceColumns(*this, Reduce::Sum); }

double CMatrix::MaxAll() const { return Max().Max()(0); }

double CMatrix::MinAll() const { return Min().Min()(0); }

double CMatrix::MeanAll() const { return Mean().Mean()(0); }

CMatrix CMatrix::Abs() const
{
    CMatrix result(m_rows, m_cols);
    std::transform(GetData(), GetData() + GetCount(), result.m_block->Data(),
        [](double v) { return std::fabs(v); });
    return result;
}

namespace {

// Element-wise operations compare columns before rows: callers rely on that message order.
void CheckSameShapeElementWise(int rows, int cols, int otherRows, int otherCols)
{
    if (cols != otherCols)
        throw CMatrixException(MatrixError::kColumnNumber);
    if (rows != otherRows)
        throw CMatrixException(MatrixError::kRowNumber);
}

template <class Op> CMatrix Combine(const CMatrix &a, const CMatrix &b, Op op)
{
    CMatrix result(a.GetRows(), a.GetCols());
    double *out = result.GetWritableData();
    const double *x = a.GetData();
    const double *y = b.GetData();
    for (int i = 0, n = a.GetCount(); i < n; ++i)
        out[i] = op(x[i], y[i]);
    return result;
}

template <class Op> CMatrix Map(const CMatrix &a, Op op)
{
    CMatrix result(a.GetRows(), a.GetCols());
    std::transform(a.GetData(), a.GetData() + a.GetCount(), result.GetWritableData(), op);
    return result;
}

} // namespace

CMatrix CMatrix::ElementProduct(const CMatrix &other) const
{
    CheckSameShapeElementWise(m_rows, m_cols, other.m_rows, other.m_cols);
    return Combine(*this, other, [](double x, double y) { return x * y; });
}

CMatrix CMatrix::ElementQuotient(const CMatrix &other) const
{
    CheckSameShapeElementWise(m_rows, m_cols, other.m_rows, other.m_cols);
    return Combine(*this, other, [](double x, double y) { return x / y; });
}

CMatrix CMatrix::operator*(const CMatrix &right) const
{
    if (m_cols != right.m_rows)
        throw CMatrixException(MatrixError::kNoCommonSize);
    CMatrix result(m_rows, right.m_cols);
    double *out = result.GetWritableData();
    const double *a = GetData();
    const double *b = right.GetData();
    const int n = right.m_cols;
    // i-k-j order walks both operands row by row; each element still accumulates its products
    // from zero in increasing k, the same sum as the textbook loop.
    for (int i = 0; i < m_rows; ++i) {
        double *row = out + static_cast<std::ptrdiff_t>(i) * n;
        for (int k = 0; k < m_cols; ++k) {
            const double aik = a[static_cast<std::ptrdiff_t>(i) * m_cols + k];
            const double *bk = b + static_cast<std::ptrdiff_t>(k) * n;
            for (int j = 0; j < n; ++j)
                row[j] += aik * bk[j];
        }
    }
    return result;
}

CMatrix CMatrix::operator+(const CMatrix &other) const
{
    if (m_rows != other.m_rows || m_cols != other.m_cols)
        throw CMatrixException(MatrixError::kInvalidOperation);
    return Combine(*this, other, [](double x, double y) { return x + y; });
}

CMatrix CMatrix::operator-(const CMatrix &other) const
{
    if (m_rows != other.m_rows || m_cols != other.m_cols)
        throw CMatrixException(MatrixError::kInvalidOperation);
    return Combine(*this, other, [](double x, double y) { return x - y; });
}

CMatrix CMatrix::operator+(double scalar) const
{
    return Map(*this, [scalar](double v) { return v + scalar; });
}

CMatrix CMatrix::operator-(double scalar) const
{
    return Map(*this, [scalar](double v) { return v - scalar; });
}

CMatrix CMatrix::operator*(double scalar) const
{
    return Map(*this, [scalar](double v) { return v * scalar; });
}

CMatrix operator*(double scalar, const CMatrix &m) { return m * scalar; }

CMatrix &CMatrix::operator*=(double scalar)
{
    double *p = GetWritableData();
    for (int i = 0, n = GetCount(); i < n; ++i)
        p[i] *= scalar;
    return *this;
}

void CMatrix::Transpose()
{
    Block *block = Block::Allocate(m_block->count);
    const double *src = GetData();
    double *dst = block->Data();
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_cols; ++c)
            dst[static_cast<std::ptrdiff_t>(c) * m_rows + r] =
                src[static_cast<std::ptrdiff_t>(r) * m_cols + c];
    Adopt(block, m_cols, m_rows);
}

CMatrix CMatrix::Transposed() const
{
    CMatrix copy(*this);
    copy.Transpose();
    return copy;
}

void CMatrix::Square()
{
    double *p = GetWritableData();
    for (int i = 0, n = GetCount(); i < n; ++i)
        p[i] *= p[i];
}

void CMatrix::ReverseColumns()
{
    double *p = GetWritableData();
    for (int c = 0; c < m_cols; ++c)
        for (int k = 0; k < m_rows / 2; ++k)
            std::swap(p[static_cast<std::ptrdiff_t>(k) * m_cols + c],
                p[static_cast<std::ptrdiff_t>(m_rows - 1 - k) * m_cols + c]);
}

CMatrix CMatrix::Inverse() const
{
    if (m_rows != m_cols)
        throw CMatrixException(MatrixError::kNotSquare);
    const int n = m_rows;
    CMatrix a(n, n);
    std::copy_n(GetData(), GetCount(), a.m_block->Data());
    double *p = a.m_block->Data();
    auto at = [p, n](
                  int r, int c) -> double & { return p[static_cast<std::ptrdiff_t>(r) * n + c]; };
    // Gauss-Jordan by columns without pivot search: a zero pivot fails even when the matrix is
    // regular, as the engine's callers expect.
    for (int i = 0; i < n; ++i) {
        const double pivot = at(i, i);
        at(i, i) = 1.0;
        if (pivot == 0.0)
            throw CMatrixException(MatrixError::kInversion);
        const double scale = 1.0 / pivot;
        for (int k = 0; k < n; ++k)
            at(k, i) *= scale;
        for (int j = 0; j < n; ++j) {
            if (j == i)
                continue;
            const double f = at(i, j);
            at(i, j) = 0.0;
            for (int k = 0; k < n; ++k)
                at(k, j) -= f * at(k, i);
        }
    }
    return a;
}

void CMatrix::Identity()
{
    double *p = GetWritableData();
    std::fill(p, p + GetCount(), 0.0);
    for (int i = 0; i < std::min(m_rows, m_cols); ++i)
        p[static_cast<std::ptrdiff_t>(i) * m_cols + i] = 1.0;
}

CMatrix CMatrix::Linspace(double a, double b, int n)
{
    CMatrix result(std::max(n, 0), 1);
    if (n <= 0)
        return result;
    double *p = result.GetWritableData();
    const double step = (b - a) / (n - 1);
    // Accumulated on purpose: stored grids were built this way and must be reproduced.
    p[0] = a;
    for (int i = 1; i < n; ++i)
        p[i] = p[i - 1] + step;
    return result;
}

CMatrix CMatrix::Logspace(double a, double b, int n)
{
    CMatrix result(std::max(n, 0), 1);
    if (n <= 0)
        return result;
    double *p = result.GetWritableData();
    for (int i = 0; i < n - 1; ++i)
        p[i] = std::pow(10.0, a + (b - a) * i / (n - 1));
    p[n - 1] = std::pow(10.0, b);
    return result;
}

CMatrix CMatrix::SubMatrix(int firstRow, int firstCol, int rowCount, int colCount) const
{
    if (firstRow < 0 || firstCol < 0 || rowCount < 0 || colCount < 0
        || static_cast<long long>(firstCol) + colCount > m_cols
        || static_cast<long long>(firstRow) + rowCount > m_rows)
        throw CMatrixException(MatrixError::kSubMatrix);
    CMatrix result(rowCount, colCount);
    double *out = result.GetWritableData();
    for (int r = 0; r < rowCount; ++r)
        std::copy_n(GetData() + static_cast<std::ptrdiff_t>(firstRow + r) * m_cols + firstCol,
            colCount, out + static_cast<std::ptrdiff_t>(r) * colCount);
    return result;
}

void CMatrix::AppendColumns(const CMatrix &other)
{
    if (other.m_rows != m_rows)
        throw CMatrixException(MatrixError::kConcatenate);
    const int cols = m_cols + other.m_cols;
    Block *block = Block::Allocate(ElementCount(m_rows, cols));
    for (int r = 0; r < m_rows; ++r) {
        double *row = block->Data() + static_cast<std::ptrdiff_t>(r) * cols;
        std::copy_n(GetData() + static_cast<std::ptrdiff_t>(r) * m_cols, m_cols, row);
        std::copy_n(other.GetData() + static_cast<std::ptrdiff_t>(r) * other.m_cols, other.m_cols,
            row + m_cols);
    }
    Adopt(block, m_rows, cols);
}

void CMatrix::AppendRows(const CMatrix &other)
{
    if (other.m_cols != m_cols)
        throw CMatrixException(MatrixError::kConcatenate);
    const int rows = m_rows + other.m_rows;
    Block *block = Block::Allocate(ElementCount(rows, m_cols));
    std::copy_n(GetData(), GetCount(), block->Data());
    std::copy_n(other.GetData(), other.GetCount(), block->Data() + GetCount());
    Adopt(block, rows, m_cols);
}

// ---- serialisation and text ------------------------------------------------------------------

void CMatrix::Serialize(CMatrixArchive &ar)
{
    if (ar.IsStoring())
        Store(ar);
    else
        Load(ar);
}

void CMatrix::Store(CMatrixArchive &ar) const
{
    // Check the mode before writing anything, so a wrong-mode archive gets its own error.
    if (!ar.IsStoring())
        throw CArchiveException(CArchiveException::ReadOnly, ArchiveError::kReadOnly);
    vela_matrix_detail::StoreMatrixHeader(ar, m_rows, m_cols);
    std::vector<double> columnMajor(GetCount());
    for (int c = 0; c < m_cols; ++c)
        for (int r = 0; r < m_rows; ++r)
            columnMajor[static_cast<std::size_t>(c) * m_rows + r] = (*this)(r, c);
    ar.WriteFloat64Array(columnMajor.data(), columnMajor.size());
}

void CMatrix::Load(CMatrixArchive &ar)
{
    if (!ar.IsLoading())
        throw CArchiveException(CArchiveException::WriteOnly, ArchiveError::kWriteOnly);
    int rows = 0;
    int cols = 0;
    vela_matrix_detail::LoadMatrixHeader(ar, sizeof(double), rows, cols);
    std::vector<double> columnMajor(static_cast<std::size_t>(rows) * cols);
    ar.ReadFloat64Array(columnMajor.data(), columnMajor.size());
    Block *block = Block::Allocate(columnMajor.size());
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r)
            block->Data()[static_cast<std::size_t>(r) * cols + c] =
                columnMajor[static_cast<std::size_t>(c) * rows + r];
    Adopt(block, rows, cols);
}

CMatrixArchive &operator<<(CMatrixArchive &ar, const CMatrix &m)
{
    m.Store(ar);
    return ar;
}

CMatrixArchive &operator>>(CMatrixArchive &ar, CMatrix &m)
{
    m.Load(ar);
    return ar;
}

void CMatrix::Dump(const std::string &fileName, const std::string &variableName) const
{
    std::string text = variableName + "=zeros(" + std::to_string(m_rows) + ","
        + std::to_string(m_cols) + ");" + variableName + "=[";
    for (int r = 0; r < m_rows; ++r)
        text += RowToString(r, ",") + "\r\n";
    text += "];";
    vela_matrix_detail::WriteDumpFile(fileName, text);
}

void CMatrix::DiagnosticDump(const std::string &fileName, const std::string &variableName) const
{
    const std::string path = vela_matrix_detail::DiagnosticDumpPath(fileName);
    if (!path.empty())
        Dump(path, variableName);
}
