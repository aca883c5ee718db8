// Complex numbers and the dense complex matrix, with inverse, derivative and column FFT.

#include "matrix/CComplexMatrix.h"

#include "matrix/CMatrixArchive.h"
#include "matrix/MatrixError.h"
#include "matrix/MatrixSerial.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using vela_matrix_detail::ElementCount;

// ---- Complex ---------------------------------------------------------------------------------

double Complex::Modulus() const { return std::sqrt(re * re + im * im); }

Complex Complex::operator/(const Complex &o) const
{
    const double d = o.re * o.re + o.im * o.im;
    return Complex((re * o.re + im * o.im) / d, (o.re * im - re * o.im) / d);
}

Complex &Complex::operator+=(const Complex &o) { return *this = *this + o; }

Complex &Complex::operator-=(const Complex &o) { return *this = *this - o; }

Complex &Complex::operator*=(const Complex &o) { return *this = *this * o; }

Complex Complex::operator/(double k) const
{
    const double inverse = 1.0 / k;
    return Complex(re * inverse, im * inverse);
}

Complex operator*(double k, const Complex &z) { return Complex(k * z.re, k * z.im); }

Complex operator*(int k, const Complex &z) { return static_cast<double>(k) * z; }

Complex operator/(double k, const Complex &z)
{
    const double d = z.re * z.re + z.im * z.im;
    return Complex(k * z.re / d, -(k * z.im / d));
}

Complex operator/(int k, const Complex &z) { return static_cast<double>(k) / z; }

Complex Exp(const Complex &z)
{
    const double e = std::exp(z.re);
    return Complex(e * std::cos(z.im), e * std::sin(z.im));
}

Complex Sqrt(const Complex &z)
{
    // On the imaginary axis the angle is the rounded right angle with the sign of im; taking
    // +90 degrees for a negative im as well would give a root whose square is -z.
    double t = 0.0;
    if (z.re != 0.0)
        t = std::atan2(z.im, z.re);
    else if (z.im > 0.0)
        t = 1.5707963268;
    else if (z.im < 0.0)
        t = -1.5707963268;
    const double r = std::sqrt(std::sqrt(z.re * z.re + z.im * z.im));
    return Complex(r * std::cos(t / 2), r * std::sin(t / 2));
}

// ---- construction and sharing ----------------------------------------------------------------

CComplexMatrix::CComplexMatrix()
    : m_block(Block::Allocate(1))
{
}

CComplexMatrix::CComplexMatrix(int rows, int cols)
    : m_cols(cols)
    , m_rows(rows)
    , m_block(Block::Allocate(ElementCount(rows, cols)))
{
}

CComplexMatrix::CComplexMatrix(const CMatrix &m)
    : CComplexMatrix(m.GetRows(), m.GetCols())
{
    Complex *out = m_block->Data();
    const double *in = m.GetData();
    for (int i = 0, n = m.GetCount(); i < n; ++i)
        out[i].re = in[i];
}

CComplexMatrix::CComplexMatrix(const CComplexMatrix &other)
    : m_cols(other.m_cols)
    , m_rows(other.m_rows)
    , m_block(Block::Acquire(other.m_block))
{
}

CComplexMatrix::CComplexMatrix(CComplexMatrix &&other) noexcept
    : m_cols(other.m_cols)
    , m_rows(other.m_rows)
    , m_block(other.m_block)
{
    other.m_block = Block::Allocate(1);
    other.m_rows = 1;
    other.m_cols = 1;
}

CComplexMatrix &CComplexMatrix::operator=(const CComplexMatrix &other)
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

CComplexMatrix &CComplexMatrix::operator=(CComplexMatrix &&other) noexcept
{
    if (this != &other) {
        std::swap(m_block, other.m_block);
        std::swap(m_rows, other.m_rows);
        std::swap(m_cols, other.m_cols);
    }
    return *this;
}

CComplexMatrix::~CComplexMatrix() { Block::Release(m_block); }

bool CComplexMatrix::IsShared() const
{
    return m_block->shares.load(std::memory_order_acquire) > 1;
}

void CComplexMatrix::Unshare()
{
    if (!IsShared())
        return;
    Block *copy = Block::Allocate(m_block->count);
    std::copy_n(m_block->Data(), m_block->count, copy->Data());
    Block::Release(m_block);
    m_block = copy;
}

void CComplexMatrix::Adopt(Block *block, int rows, int cols)
{
    Block::Release(m_block);
    m_block = block;
    m_rows = rows;
    m_cols = cols;
}

void CComplexMatrix::Set(int r, int c, const Complex &value)
{
    Unshare();
    SetRaw(r, c, value);
}

void CComplexMatrix::Set(int i, const Complex &value)
{
    Unshare();
    SetRaw(i, value);
}

Complex *CComplexMatrix::GetWritableData()
{
    Unshare();
    return m_block->Data();
}

CComplexMatrix CComplexMatrix::GetRow(int r) const { return SubMatrix(r, 0, 1, m_cols); }

CComplexMatrix CComplexMatrix::GetColumn(int c) const { return SubMatrix(0, c, m_rows, 1); }

// ---- arithmetic ------------------------------------------------------------------------------

namespace {

template <class A, class B, class Op> CComplexMatrix Combine(const A &a, const B &b, Op op)
{
    CComplexMatrix result(a.GetRows(), a.GetCols());
    Complex *out = result.GetWritableData();
    const auto *x = a.GetData();
    const auto *y = b.GetData();
    for (int i = 0, n = a.GetCount(); i < n; ++i)
        out[i] = op(x[i], y[i]);
    return result;
}

template <class Op> CComplexMatrix Map(const CComplexMatrix &a, Op op)
{
    CComplexMatrix result(a.GetRows(), a.GetCols());
    std::transform(a.GetData(), a.GetData() + a.GetCount(), result.GetWritableData(), op);
    return result;
}

template <class A, class B> void CheckSameShape(const A &a, const B &b)
{
    if (a.GetRows() != b.GetRows() || a.GetCols() != b.GetCols())
        throw CMatrixException(MatrixError::kInvalidOperation);
}

// Columns are compared before rows: callers rely on that message order.
template <class A, class B> void CheckSameShapeElementWise(const A &a, const B &b)
{
    if (a.GetCols() != b.GetCols())
        throw CMatrixException(MatrixError::kColumnNumber);
    if (a.GetRows() != b.GetRows())
        throw CMatrixException(MatrixError::kRowNumber);
}

// Matrix product of any real/complex pair; each element sums its products from zero in
// increasing k (i-k-j loop order keeps that order per element).
template <class A, class B> CComplexMatrix Product(const A &a, const B &b)
{
    if (a.GetCols() != b.GetRows())
        throw CMatrixException(MatrixError::kNoCommonSize);
    const int rows = a.GetRows();
    const int inner = a.GetCols();
    const int cols = b.GetCols();
    CComplexMatrix result(rows, cols);
    Complex *out = result.GetWritableData();
    const auto *pa = a.GetData();
    const auto *pb = b.GetData();
    for (int i = 0; i < rows; ++i) {
        Complex *row = out + static_cast<std::ptrdiff_t>(i) * cols;
        for (int k = 0; k < inner; ++k) {
            const auto aik = pa[static_cast<std::ptrdiff_t>(i) * inner + k];
            const auto *bk = pb + static_cast<std::ptrdiff_t>(k) * cols;
            for (int j = 0; j < cols; ++j)
                row[j] += aik * bk[j];
        }
    }
    return result;
}

} // namespace

CComplexMatrix CComplexMatrix::operator+(const CComplexMatrix &other) const
{
    CheckSameShape(*this, other);
    return Combine(*this, other, [](const Complex &x, const Complex &y) { return x + y; });
}

CComplexMatrix CComplexMatrix::operator-(const CComplexMatrix &other) const
{
    CheckSameShape(*this, other);
    return Combine(*this, other, [](const Complex &x, const Complex &y) { return x - y; });
}

CComplexMatrix operator-(const CMatrix &left, const CComplexMatrix &right)
{
    // The operands must match in shape: walking the real matrix's elements over a smaller
    // complex one would read outside it.
    CheckSameShape(left, right);
    return Combine(left, right, [](double x, const Complex &y) { return Complex(x, 0.0) - y; });
}

CComplexMatrix CComplexMatrix::operator*(const CComplexMatrix &right) const
{
    return Product(*this, right);
}

CComplexMatrix CComplexMatrix::operator*(const CMatrix &right) const
{
    return Product(*this, right);
}

CComplexMatrix operator*(const CMatrix &left, const CComplexMatrix &right)
{
    return Product(left, right);
}

CComplexMatrix CComplexMatrix::operator*(const Complex &scalar) const
{
    return Map(*this, [scalar](const Complex &z) { return scalar * z; });
}

CComplexMatrix operator*(const Complex &scalar, const CComplexMatrix &m) { return m * scalar; }

CComplexMatrix CComplexMatrix::ElementProduct(const CComplexMatrix &other) const
{
    CheckSameShapeElementWise(*this, other);
    return Combine(*this, other, [](const Complex &x, const Complex &y) { return x * y; });
}

CComplexMatrix CComplexMatrix::ElementProduct(const CMatrix &other) const
{
    CheckSameShapeElementWise(*this, other);
    return Combine(*this, other, [](const Complex &x, double y) { return x * y; });
}

CComplexMatrix ElementProduct(const CMatrix &left, const CComplexMatrix &right)
{
    CheckSameShapeElementWise(left, right);
    return Combine(left, right, [](double x, const Complex &y) { return x * y; });
}

CComplexMatrix CComplexMatrix::ElementQuotient(const CComplexMatrix &other) const
{
    CheckSameShapeElementWise(*this, other);
    return Combine(*this, other, [](const Complex &x, const Complex &y) { return x / y; });
}

void CComplexMatrix::Transpose()
{
    Block *block = Block::Allocate(m_block->count);
    const Complex *src = GetData();
    Complex *dst = block->Data();
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_cols; ++c)
            dst[static_cast<std::ptrdiff_t>(c) * m_rows + r] =
                src[static_cast<std::ptrdiff_t>(r) * m_cols + c];
    Adopt(block, m_cols, m_rows);
}

CComplexMatrix CComplexMatrix::Transposed() const
{
    CComplexMatrix copy(*this);
    copy.Transpose();
    return copy;
}

CComplexMatrix CComplexMatrix::Inverse() const
{
    if (m_rows != m_cols)
        throw CMatrixException(MatrixError::kNotSquare);
    const int n = m_rows;
    CComplexMatrix a(n, n);
    std::copy_n(GetData(), GetCount(), a.m_block->Data());
    Complex *p = a.m_block->Data();
    auto at = [p, n](
                  int r, int c) -> Complex & { return p[static_cast<std::ptrdiff_t>(r) * n + c]; };
    const Complex zero;
    // Gauss-Jordan by columns without pivot search: a zero pivot fails even when the matrix is
    // regular, as the engine's callers expect.
    for (int i = 0; i < n; ++i) {
        const Complex pivot = at(i, i);
        at(i, i) = Complex(1.0, 0.0);
        if (pivot == zero)
            throw CMatrixException(MatrixError::kInversion);
        const Complex scale = 1.0 / pivot;
        for (int k = 0; k < n; ++k)
            at(k, i) = at(k, i) * scale;
        for (int j = 0; j < n; ++j) {
            if (j == i)
                continue;
            const Complex f = at(i, j);
            at(i, j) = zero;
            for (int k = 0; k < n; ++k)
                at(k, j) -= f * at(k, i);
        }
    }
    return a;
}

void CComplexMatrix::Identity()
{
    Complex *p = GetWritableData();
    std::fill(p, p + GetCount(), Complex());
    for (int i = 0; i < std::min(m_rows, m_cols); ++i)
        p[static_cast<std::ptrdiff_t>(i) * m_cols + i] = Complex(1.0, 0.0);
}

void CComplexMatrix::Square()
{
    Complex *p = GetWritableData();
    for (int i = 0, n = GetCount(); i < n; ++i)
        p[i] = p[i] * p[i];
}

CComplexMatrix CComplexMatrix::Squared() const
{
    return Map(*this, [](const Complex &z) { return z * z; });
}

CComplexMatrix CComplexMatrix::Exp() const
{
    return Map(*this, [](const Complex &z) { return ::Exp(z); });
}

CComplexMatrix CComplexMatrix::Sqrt() const
{
    return Map(*this, [](const Complex &z) { return ::Sqrt(z); });
}

CComplexMatrix CComplexMatrix::Sum() const
{
    if (m_rows == 1) {
        CComplexMatrix result(1, 1);
        Complex sum;
        for (int c = 0; c < m_cols; ++c)
            sum += (*this)(0, c);
        result.SetRaw(0, sum);
        return result;
    }
    CComplexMatrix result(1, m_cols);
    Complex *out = result.GetWritableData();
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_cols; ++c)
            out[c] += (*this)(r, c);
    return result;
}

CComplexMatrix CComplexMatrix::Mean() const
{
    CComplexMatrix result = Sum();
    const int count = m_rows == 1 ? m_cols : m_rows;
    Complex *p = result.GetWritableData();
    for (int i = 0, n = result.GetCount(); i < n; ++i)
        p[i] = p[i] / count;
    return result;
}

Complex CComplexMatrix::RowMean(int r) const
{
    Complex sum;
    for (int c = 0; c < m_cols; ++c)
        sum += (*this)(r, c);
    return sum / m_cols;
}

Complex CComplexMatrix::ColMean(int c) const
{
    Complex sum;
    for (int r = 0; r < m_rows; ++r)
        sum += (*this)(r, c);
    return sum / m_rows;
}

CMatrix CComplexMatrix::Real() const
{
    CMatrix result(m_rows, m_cols);
    double *out = result.GetWritableData();
    const Complex *in = GetData();
    for (int i = 0, n = GetCount(); i < n; ++i)
        out[i] = in[i].re;
    return result;
}

CMatrix CComplexMatrix::IndicesAbove(int r, double threshold) const
{
    std::vector<double> indices;
    for (int j = 0; j < m_cols; ++j)
        if ((*this)(r, j).Modulus() > threshold)
            indices.push_back(j);
    return CMatrix::Column(indices);
}

CComplexMatrix CComplexMatrix::SubMatrix(
    int firstRow, int firstCol, int rowCount, int colCount) const
{
    if (firstRow < 0 || firstCol < 0 || rowCount < 0 || colCount < 0
        || static_cast<long long>(firstCol) + colCount > m_cols
        || static_cast<long long>(firstRow) + rowCount > m_rows)
        throw CMatrixException(MatrixError::kSubMatrix);
    CComplexMatrix result(rowCount, colCount);
    Complex *out = result.GetWritableData();
    for (int r = 0; r < rowCount; ++r)
        std::copy_n(GetData() + static_cast<std::ptrdiff_t>(firstRow + r) * m_cols + firstCol,
            colCount, out + static_cast<std::ptrdiff_t>(r) * colCount);
    return result;
}

void CComplexMatrix::AppendColumns(const CComplexMatrix &other)
{
    if (other.m_rows != m_rows)
        throw CMatrixException(MatrixError::kConcatenate);
    const int cols = m_cols + other.m_cols;
    Block *block = Block::Allocate(ElementCount(m_rows, cols));
    for (int r = 0; r < m_rows; ++r) {
        Complex *row = block->Data() + static_cast<std::ptrdiff_t>(r) * cols;
        std::copy_n(GetData() + static_cast<std::ptrdiff_t>(r) * m_cols, m_cols, row);
        std::copy_n(other.GetData() + static_cast<std::ptrdiff_t>(r) * other.m_cols, other.m_cols,
            row + m_cols);
    }
    Adopt(block, m_rows, cols);
}

void CComplexMatrix::AppendRows(const CComplexMatrix &other)
{
    if (other.m_cols != m_cols)
        throw CMatrixException(MatrixError::kConcatenate);
    const int rows = m_rows + other.m_rows;
    Block *block = Block::Allocate(ElementCount(rows, m_cols));
    std::copy_n(GetData(), GetCount(), block->Data());
    std::copy_n(other.GetData(), other.GetCount(), block->Data() + GetCount());
    Adopt(block, rows, m_cols);
}

// ---- derivative ------------------------------------------------------------------------------

CComplexMatrix CComplexMatrix::Diff(const CComplexMatrix &y, const CMatrix &h)
{
    if (y.m_rows == 1 && y.m_cols == 1)
        throw CMatrixException(MatrixError::kDiffScalar);
    // A 1 x n row is differentiated along the row, anything else down each column.
    const bool alongRow = y.m_rows == 1;
    const int n = alongRow ? y.m_cols : y.m_rows;
    const int lines = alongRow ? 1 : y.m_cols;
    const std::ptrdiff_t step = alongRow ? 1 : y.m_cols;
    const std::ptrdiff_t next = alongRow ? 0 : 1;
    // Too few step lengths would be read past the end of h.
    if (n > 1 && h.GetCount() < n - 1)
        throw CMatrixException(MatrixError::kInvalidOperation);

    CComplexMatrix result(y.m_rows, y.m_cols);
    Complex *out = result.GetWritableData();
    const double *hp = h.GetData();
    for (int line = 0; line < lines && n > 1; ++line) {
        const Complex *in = y.GetData() + line * next;
        Complex *dst = out + line * next;
        dst[0] = (in[step] - in[0]) / hp[0];
        for (int k = 1; k < n - 1; ++k)
            dst[k * step] = (in[(k + 1) * step] - in[(k - 1) * step]) / (hp[k - 1] + hp[k]);
        dst[(n - 1) * step] = (in[(n - 1) * step] - in[(n - 2) * step]) / hp[n - 2];
    }
    return result;
}

// ---- FFT -------------------------------------------------------------------------------------

namespace {

// Bit-reversal table and twiddle factors for one length, built once and reused for every column
// and for repeated transforms of the same length (the spectrum transforms thousands of columns
// of one length).
struct FftPlan
{
    int n = 0;
    int stages = 0;
    std::vector<int> destination; // row that input row j goes to
    std::vector<Complex> twiddles; // stage with half-length h starts at index h - 1
    std::vector<Complex> columns; // work space for a few columns, kept between calls
};

FftPlan &PlanFor(int n)
{
    thread_local FftPlan plan;
    if (plan.n == n)
        return plan;
    plan.n = n;
    plan.stages = 0;
    while (((n >> plan.stages) & 1) == 0)
        ++plan.stages;
    const int s = plan.stages;
    const int mask = (1 << s) - 1;

    // Only the lowest s bits are reversed; the higher bits keep each block of 2^s rows in
    // place, so a length that is not a power of two loses no sample.
    plan.destination.resize(n);
    for (int j = 0; j < n; ++j) {
        int reversed = 0;
        for (int b = 0; b < s; ++b)
            reversed |= ((j >> b) & 1) << (s - 1 - b);
        plan.destination[j] = (j & ~mask) | reversed;
    }

    // The twiddles of a stage are successive products w_k^m, as the butterflies have always
    // used them; precomputing them gives the same values bit for bit. The angle uses the
    // rounded constant 6.2831853072 rather than full-precision 2 pi.
    plan.twiddles.assign(static_cast<std::size_t>(1) << s, Complex());
    for (int k = 1; k <= s; ++k) {
        const int m = 1 << k;
        const int half = m / 2;
        const double angle = -6.2831853072 / m;
        const Complex wk(std::cos(angle), std::sin(angle));
        Complex w(1.0, 0.0);
        for (int i = 0; i < half; ++i) {
            plan.twiddles[half - 1 + i] = w;
            w = w * wk;
        }
    }
    return plan;
}

// One stage of butterflies over groups of 2 * half rows: t = w * hi, hi = lo - t, lo = lo + t,
// with w * hi formed exactly as Complex's product does. The SSE2 form performs the same IEEE
// operations (a - b computed as a + (-b), and the imaginary sum with its terms swapped, both
// exact identities), so both forms give identical bits.
#if defined(__SSE2__)
void Butterflies(Complex *x, int n, int half, const Complex *twiddles)
{
    const __m128d negateReal = _mm_set_pd(0.0, -0.0); // flips the sign of the low lane only
    for (int g = 0; g < n; g += 2 * half) {
        double *lo = &x[g].re;
        double *hi = &x[g + half].re;
        for (int m = 0; m < half; ++m) {
            const __m128d w = _mm_loadu_pd(&twiddles[m].re); // [wr, wi]
            const __m128d h = _mm_loadu_pd(hi + 2 * m); // [hr, hi]
            const __m128d a = _mm_mul_pd(_mm_unpacklo_pd(w, w), h); // [wr hr, wr hi]
            const __m128d b = _mm_mul_pd(_mm_unpackhi_pd(w, w), _mm_shuffle_pd(h, h, 1));
            const __m128d t = _mm_add_pd(a, _mm_xor_pd(b, negateReal)); // [wr hr - wi hi, ..]
            const __m128d l = _mm_loadu_pd(lo + 2 * m);
            _mm_storeu_pd(hi + 2 * m, _mm_sub_pd(l, t));
            _mm_storeu_pd(lo + 2 * m, _mm_add_pd(l, t));
        }
    }
}
#else
void Butterflies(Complex *x, int n, int half, const Complex *twiddles)
{
    for (int g = 0; g < n; g += 2 * half) {
        Complex *lo = x + g;
        Complex *hi = x + g + half;
        for (int m = 0; m < half; ++m) {
            const Complex t = twiddles[m] * hi[m];
            hi[m] = lo[m] - t;
            lo[m] = lo[m] + t;
        }
    }
}
#endif

} // namespace

void CComplexMatrix::FFT()
{
    const int n = m_rows;
    if (n < 2)
        throw CMatrixException(MatrixError::kFftTooShort);
    FftPlan &plan = PlanFor(n);
    Complex *data = GetWritableData();
    // Columns are strided in the row-major block; moving a few neighbouring columns at a time
    // reads each cache line once instead of once per column.
    const int batch = std::min(m_cols, 4);
    plan.columns.resize(static_cast<std::size_t>(n) * batch);
    Complex *work = plan.columns.data();
    for (int c0 = 0; c0 < m_cols; c0 += batch) {
        const int count = std::min(batch, m_cols - c0);
        // Reversing bits is its own inverse, so gathering row destination[j] into place j is
        // the same permutation as scattering row j to destination[j], and reads faster.
        for (int j = 0; j < n; ++j) {
            const Complex *row = data + static_cast<std::ptrdiff_t>(plan.destination[j]) * m_cols;
            for (int b = 0; b < count; ++b)
                work[static_cast<std::ptrdiff_t>(b) * n + j] = row[c0 + b];
        }
        for (int b = 0; b < count; ++b)
            for (int k = 1; k <= plan.stages; ++k)
                Butterflies(work + static_cast<std::ptrdiff_t>(b) * n, n, 1 << (k - 1),
                    plan.twiddles.data() + (1 << (k - 1)) - 1);
        for (int j = 0; j < n; ++j) {
            Complex *row = data + static_cast<std::ptrdiff_t>(j) * m_cols;
            for (int b = 0; b < count; ++b)
                row[c0 + b] = work[static_cast<std::ptrdiff_t>(b) * n + j];
        }
    }
}

// ---- serialisation and text ------------------------------------------------------------------

void CComplexMatrix::Serialize(CMatrixArchive &ar)
{
    if (ar.IsStoring())
        Store(ar);
    else
        Load(ar);
}

void CComplexMatrix::Store(CMatrixArchive &ar) const
{
    if (!ar.IsStoring())
        throw CArchiveException(CArchiveException::ReadOnly, ArchiveError::kReadOnly);
    vela_matrix_detail::StoreMatrixHeader(ar, m_rows, m_cols);
    std::vector<double> columnMajor(2 * static_cast<std::size_t>(GetCount()));
    std::size_t i = 0;
    for (int c = 0; c < m_cols; ++c)
        for (int r = 0; r < m_rows; ++r) {
            columnMajor[i++] = (*this)(r, c).re;
            columnMajor[i++] = (*this)(r, c).im;
        }
    ar.WriteFloat64Array(columnMajor.data(), columnMajor.size());
}

void CComplexMatrix::Load(CMatrixArchive &ar)
{
    if (!ar.IsLoading())
        throw CArchiveException(CArchiveException::WriteOnly, ArchiveError::kWriteOnly);
    int rows = 0;
    int cols = 0;
    vela_matrix_detail::LoadMatrixHeader(ar, sizeof(Complex), rows, cols);
    std::vector<double> columnMajor(2 * static_cast<std::size_t>(rows) * cols);
    ar.ReadFloat64Array(columnMajor.data(), columnMajor.size());
    Block *block = Block::Allocate(static_cast<std::size_t>(rows) * cols);
    std::size_t i = 0;
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r, i += 2)
            block->Data()[static_cast<std::size_t>(r) * cols + c] =
                Complex(columnMajor[i], columnMajor[i + 1]);
    Adopt(block, rows, cols);
}

CMatrixArchive &operator<<(CMatrixArchive &ar, const CComplexMatrix &m)
{
    m.Store(ar);
    return ar;
}

CMatrixArchive &operator>>(CMatrixArchive &ar, CComplexMatrix &m)
{
    m.Load(ar);
    return ar;
}

void CComplexMatrix::Dump(const std::string &fileName, const std::string &variableName) const
{
    std::string text = variableName + "=zeros(" + std::to_string(m_rows) + ","
        + std::to_string(m_cols) + ");" + variableName + "=[";
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_cols; ++c) {
            const Complex &z = (*this)(r, c);
            if (c > 0)
                text += ",";
            text += FormatElement(z.re);
            if (!std::signbit(z.im))
                text += "+";
            text += FormatElement(z.im) + "i";
        }
        text += "\r\n";
    }
    text += "];";
    vela_matrix_detail::WriteDumpFile(fileName, text);
}

void CComplexMatrix::DiagnosticDump(
    const std::string &fileName, const std::string &variableName) const
{
    const std::string path = vela_matrix_detail::DiagnosticDumpPath(fileName);
    if (!path.empty())
        Dump(path, variableName);
}
