// Behaviour of Complex and the complex matrix: arithmetic formulas, FFT against a direct DFT,
// inverse, derivative, reductions, shape errors and sharing.

#include "matrix/CComplexMatrix.h"
#include "matrix/MatrixError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

// The FFT's rounded value of 2 pi.
constexpr long double kTwoPi = 6.2831853072L;

void ExpectComplexNear(const Complex &actual, const Complex &expected, double tolerance)
{
    EXPECT_NEAR(actual.re, expected.re, tolerance);
    EXPECT_NEAR(actual.im, expected.im, tolerance);
}

bool SameElements(const CComplexMatrix &a, const CComplexMatrix &b)
{
    if (a.GetRows() != b.GetRows() || a.GetCols() != b.GetCols())
        return false;
    for (int i = 0; i < a.GetCount(); ++i)
        if (a(i) != b(i))
            return false;
    return true;
}

CComplexMatrix DeepCopy(const CComplexMatrix &m)
{
    CComplexMatrix copy(m.GetRows(), m.GetCols());
    for (int i = 0; i < m.GetCount(); ++i)
        copy.SetRaw(i, m(i));
    return copy;
}

CComplexMatrix Random(int rows, int cols, std::mt19937 &random)
{
    std::uniform_real_distribution<double> value(-1, 1);
    CComplexMatrix m(rows, cols);
    for (int i = 0; i < m.GetCount(); ++i)
        m.SetRaw(i, Complex(value(random), value(random)));
    return m;
}

// Direct DFT of rows [first, first + n) of column c, computed in long double with the rounded
// constant; the angle of j k is taken modulo n, as the butterflies' twiddles never exceed one
// turn.
std::vector<Complex> DirectDft(const CComplexMatrix &m, int c, int first, int n)
{
    std::vector<Complex> result(n);
    for (int k = 0; k < n; ++k) {
        long double re = 0, im = 0;
        for (int j = 0; j < n; ++j) {
            const long double angle = -kTwoPi * ((static_cast<long long>(j) * k) % n) / n;
            const Complex x = m(first + j, c);
            re += x.re * std::cos(angle) - x.im * std::sin(angle);
            im += x.im * std::cos(angle) + x.re * std::sin(angle);
        }
        result[k] = Complex(static_cast<double>(re), static_cast<double>(im));
    }
    return result;
}

// Norm-wise relative error of the rows [first, first + n) of column c against expected.
double RelativeError(
    const CComplexMatrix &m, int c, int first, const std::vector<Complex> &expected)
{
    double error = 0, norm = 0;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const Complex d = m(first + static_cast<int>(k), c) - expected[k];
        error += d.re * d.re + d.im * d.im;
        norm += expected[k].re * expected[k].re + expected[k].im * expected[k].im;
    }
    return std::sqrt(error / norm);
}

} // namespace

TEST(ComplexArithmetic, QuotientsAndProductsFollowTheTextbookFormulas)
{
    const Complex a(3, -2), b(1, 4);
    EXPECT_EQ(a * b, Complex(11, 10));
    ExpectComplexNear(a / b, Complex(-5.0 / 17, -14.0 / 17), 1e-15);
    ExpectComplexNear(2.0 / b, Complex(2.0 / 17, -8.0 / 17), 1e-15);
    EXPECT_EQ(2 / b, 2.0 / b);
    EXPECT_EQ(a / 4, Complex(0.75, -0.5));
    EXPECT_EQ(2 * a, a * 2.0);
    EXPECT_EQ(-a, Complex(-3, 2));
    EXPECT_DOUBLE_EQ(Complex(3, 4).Modulus(), 5.0);
    ExpectComplexNear(Exp(Complex(1, M_PI / 2)), Complex(0, M_E), 1e-15);
    Complex c = a;
    c *= b;
    c -= Complex(1, 1);
    c += Complex(0, 1);
    EXPECT_EQ(c, Complex(10, 10));
}

TEST(ComplexArithmetic, SquareRootSquaresBackOnEveryAxis)
{
    struct Case
    {
        Complex z;
        Complex root;
    };
    const double r2 = std::sqrt(2.0);
    const std::vector<Case> cases = {
        { Complex(0, 4), Complex(r2, r2) },
        // On the negative imaginary axis the root lies below the real axis: its square is z.
        { Complex(0, -4), Complex(r2, -r2) },
        { Complex(0, 0), Complex(0, 0) },
        { Complex(4, 0), Complex(2, 0) },
        { Complex(-4, 0), Complex(0, 2) },
        { Complex(3, -4), Complex(2, -1) },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.z.re) + " " + std::to_string(c.z.im));
        const Complex root = Sqrt(c.z);
        ExpectComplexNear(root, c.root, 1e-9);
        ExpectComplexNear(root * root, c.z, 1e-9);
    }
}

TEST(CComplexMatrixFft, MatchesADirectDftForRandomPowerOfTwoColumns)
{
    std::mt19937 random(2024);
    for (int n = 2; n <= 1024; n *= 2) {
        SCOPED_TRACE(n);
        // Three columns, so a mix-up of column stride shows.
        const CComplexMatrix input = Random(n, 3, random);
        const CComplexMatrix pristine = DeepCopy(input);
        CComplexMatrix m = input;
        m.FFT();
        EXPECT_TRUE(SameElements(input, pristine)); // the transform unshared before writing
        for (int c = 0; c < 3; ++c)
            EXPECT_LT(RelativeError(m, c, 0, DirectDft(input, c, 0, n)), 1e-10) << "column " << c;
    }
}

namespace {

// The textbook radix-2 loop, one column at a time, twiddles advanced by repeated products.
void ReferenceFft(std::vector<Complex> &x)
{
    const int n = static_cast<int>(x.size());
    int s = 0;
    while ((n >> s) % 2 == 0)
        ++s;
    std::vector<Complex> copy = x;
    for (int j = 0; j < n; ++j) {
        int reversed = 0;
        for (int b = 0; b < s; ++b)
            reversed |= ((j >> b) & 1) << (s - 1 - b);
        x[(j >> s << s) | reversed] = copy[j];
    }
    for (int k = 1; k <= s; ++k) {
        const int half = 1 << (k - 1);
        const double a = -6.2831853072 / (2 * half);
        const Complex wk(std::cos(a), std::sin(a));
        for (int g = 0; g < n; g += 2 * half) {
            Complex w(1, 0);
            for (int m = 0; m < half; ++m) {
                const Complex t = w * x[g + m + half];
                x[g + m + half] = x[g + m] - t;
                x[g + m] = x[g + m] + t;
                w = w * wk;
            }
        }
    }
}

} // namespace

TEST(CComplexMatrixFft, EqualsTheTextbookButterflyLoopBitForBit)
{
    std::mt19937 random(17);
    for (int rows : { 2, 8, 256, 24 }) {
        SCOPED_TRACE(rows);
        CComplexMatrix m = Random(rows, 6, random); // 6 columns: not a whole number of batches
        const CComplexMatrix input = DeepCopy(m);
        m.FFT();
        for (int c = 0; c < 6; ++c) {
            std::vector<Complex> x(rows);
            for (int j = 0; j < rows; ++j)
                x[j] = input(j, c);
            ReferenceFft(x);
            for (int j = 0; j < rows; ++j)
                ASSERT_EQ(m(j, c), x[j]) << "row " << j << " column " << c;
        }
    }
}

TEST(CComplexMatrixFft, OtherLengthsTransformEachBlockOfTheLowestPowerOfTwo)
{
    std::mt19937 random(5);
    struct Case
    {
        int rows;
        int block;
    };
    for (const Case &c : { Case { 12, 4 }, Case { 40, 8 }, Case { 6, 2 }, Case { 7, 1 } }) {
        SCOPED_TRACE(c.rows);
        const CComplexMatrix input = Random(c.rows, 2, random);
        CComplexMatrix m = input;
        m.FFT();
        for (int col = 0; col < 2; ++col)
            for (int first = 0; first < c.rows; first += c.block)
                EXPECT_LT(
                    RelativeError(m, col, first, DirectDft(input, col, first, c.block)), 1e-10);
    }
}

TEST(CComplexMatrixFft, ImpulseGivesOnesAndLengthTwoGivesSumAndDifference)
{
    CComplexMatrix impulse(8, 1);
    impulse.SetRaw(0, Complex(1, 0));
    impulse.FFT();
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(impulse(k), Complex(1, 0)) << k;

    CComplexMatrix pair(2, 2);
    pair.SetRaw(0, 0, Complex(1, 2));
    pair.SetRaw(1, 0, Complex(3, -5));
    pair.SetRaw(0, 1, Complex(-1, 0));
    pair.SetRaw(1, 1, Complex(0.5, 0.25));
    pair.FFT();
    EXPECT_EQ(pair(0, 0), Complex(4, -3));
    EXPECT_EQ(pair(1, 0), Complex(-2, 7));
    EXPECT_EQ(pair(0, 1), Complex(-0.5, 0.25));
    EXPECT_EQ(pair(1, 1), Complex(-1.5, -0.25));
}

TEST(CComplexMatrixFft, ColumnShorterThanTwoRaisesAndIsUnchanged)
{
    CComplexMatrix m(1, 4);
    m.SetRaw(2, Complex(1, 1));
    try {
        m.FFT();
        ADD_FAILURE() << "no exception";
    } catch (const CMatrixException &e) {
        EXPECT_STREQ(e.what(), MatrixError::kFftTooShort);
    }
    EXPECT_EQ(m(2), Complex(1, 1));
}

TEST(CComplexMatrixInverse, ProductWithTheOriginalIsTheIdentity)
{
    std::mt19937 random(3);
    for (int n : { 1, 3, 8 }) {
        SCOPED_TRACE(n);
        CComplexMatrix a = Random(n, n, random);
        for (int i = 0; i < n; ++i)
            a.SetRaw(i, i, a(i, i) + Complex(n, 0));
        const CComplexMatrix before = DeepCopy(a);
        const CComplexMatrix product = a * a.Inverse();
        EXPECT_TRUE(SameElements(a, before));
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c)
                ExpectComplexNear(product(r, c), Complex(r == c ? 1 : 0, 0), 1e-10);
    }
}

TEST(CComplexMatrixDiff, QuadraticGivesExactCentralDifferencesAndOneSidedEnds)
{
    // y = x^2 + i 3x on x = 1, 1.5, ..., 4: central differences are exact for a quadratic.
    const int n = 7;
    const double h = 0.5;
    CComplexMatrix column(n, 2);
    CComplexMatrix row(1, n);
    for (int k = 0; k < n; ++k) {
        const double x = 1 + h * k;
        column.SetRaw(k, 0, Complex(x * x, 3 * x));
        column.SetRaw(k, 1, Complex(-x * x, 0));
        row.SetRaw(k, Complex(x * x, 3 * x));
    }
    const CMatrix steps(n - 1, 1, { h, h, h, h, h, h });
    const CComplexMatrix dc = CComplexMatrix::Diff(column, steps);
    const CComplexMatrix dr = CComplexMatrix::Diff(row, steps);
    ASSERT_EQ(dc.GetRows(), n);
    ASSERT_EQ(dc.GetCols(), 2);
    ASSERT_EQ(dr.GetRows(), 1);
    ASSERT_EQ(dr.GetCols(), n);
    for (int k = 0; k < n; ++k) {
        const double x = 1 + h * k;
        // one-sided ends: (x1^2 - x0^2) / h = x0 + x1
        const double slope = k == 0 ? 2 * x + h : k == n - 1 ? 2 * x - h : 2 * x;
        ExpectComplexNear(dc(k, 0), Complex(slope, 3), 1e-12);
        ExpectComplexNear(dc(k, 1), Complex(-slope, 0), 1e-12);
        ExpectComplexNear(dr(k), Complex(slope, 3), 1e-12);
    }
}

TEST(CComplexMatrixDiff, NonUniformStepsUseTheSumOfTheTwoNeighbouringSteps)
{
    CComplexMatrix y(3, 1);
    y.SetRaw(0, Complex(0, 0));
    y.SetRaw(1, Complex(1, 0));
    y.SetRaw(2, Complex(5, 2));
    const CComplexMatrix d = CComplexMatrix::Diff(y, CMatrix(2, 1, { 1, 3 }));
    EXPECT_EQ(d(0), Complex(1, 0));
    EXPECT_EQ(d(1), Complex(1.25, 0.5));
    ExpectComplexNear(d(2), Complex(4.0 / 3, 2.0 / 3), 1e-15);
}

TEST(CComplexMatrixReductions, SumAndMeanShapes)
{
    CComplexMatrix row(1, 3), column(3, 1), m(2, 3);
    for (int i = 0; i < 3; ++i) {
        row.SetRaw(i, Complex(i, 1));
        column.SetRaw(i, Complex(i, 1));
    }
    for (int i = 0; i < 6; ++i)
        m.SetRaw(i, Complex(i, -i));
    for (const CComplexMatrix *v : { &row, &column }) {
        const CComplexMatrix s = v->Sum();
        ASSERT_EQ(s.GetRows(), 1);
        ASSERT_EQ(s.GetCols(), 1);
        EXPECT_EQ(s(0), Complex(3, 3));
        EXPECT_EQ(v->Mean()(0), Complex(1, 1));
    }
    const CComplexMatrix s = m.Sum();
    ASSERT_EQ(s.GetCols(), 3);
    EXPECT_EQ(s(0), Complex(3, -3));
    EXPECT_EQ(s(2), Complex(7, -7));
    EXPECT_EQ(m.Mean()(1), Complex(2.5, -2.5));
    EXPECT_EQ(m.RowMean(1), Complex(4, -4));
    EXPECT_EQ(m.ColMean(2), Complex(3.5, -3.5));
    const CMatrix indices = m.IndicesAbove(1, 5.0);
    EXPECT_EQ(indices.ToVector(), (std::vector<double> { 1, 2 })); // |4-4i| = 5.66 > 5
    EXPECT_EQ(m.Real().ToVector(), (std::vector<double> { 0, 1, 2, 3, 4, 5 }));
}

TEST(CComplexMatrixArithmetic, MixedRealAndComplexOperations)
{
    const CMatrix real(2, 2, { 1, 2, 3, 4 });
    CComplexMatrix z(2, 2);
    z.SetRaw(0, Complex(0, 1));
    z.SetRaw(3, Complex(2, -1));
    const CComplexMatrix fromReal(real);
    EXPECT_EQ(fromReal(1, 0), Complex(3, 0));
    EXPECT_EQ((real - z)(0), Complex(1, -1));
    EXPECT_EQ((real * z)(0, 1), Complex(4, -2)); // 1 * 0 + 2 * (2 - i)
    EXPECT_EQ((z * real)(1, 0), Complex(6, -3)); // 0 * 1 + (2 - i) * 3
    EXPECT_EQ(ElementProduct(real, z)(3), Complex(8, -4));
    EXPECT_EQ(z.ElementProduct(real)(0), Complex(0, 1));
    EXPECT_EQ((Complex(0, 2) * z)(0), Complex(-2, 0));
    CComplexMatrix t = z;
    t.Transpose();
    EXPECT_EQ(t(1, 1), Complex(2, -1));
    t.Identity();
    EXPECT_EQ(t(0, 0), Complex(1, 0));
    EXPECT_EQ(t(0, 1), Complex(0, 0));
    EXPECT_EQ(z(0), Complex(0, 1)); // in-place operations left the shared original alone
}

TEST(CComplexMatrixErrors, ShapeMismatchRaisesItsTextAndLeavesOperandsUnchanged)
{
    std::mt19937 random(9);
    using Operation = std::function<void(CComplexMatrix &, CComplexMatrix &)>;
    struct Case
    {
        const char *name;
        int leftRows, leftCols, rightRows, rightCols;
        Operation operation;
        const char *message;
    };
    const std::vector<Case> cases = {
        { "sum", 2, 3, 3, 2, [](auto &a, auto &b) { (void)(a + b); },
            MatrixError::kInvalidOperation },
        { "difference", 2, 3, 2, 2, [](auto &a, auto &b) { (void)(a - b); },
            MatrixError::kInvalidOperation },
        { "real minus complex", 2, 3, 3, 3, [](auto &a, auto &b) { (void)(a.Real() - b); },
            MatrixError::kInvalidOperation },
        { "product", 2, 3, 2, 3, [](auto &a, auto &b) { (void)(a * b); },
            MatrixError::kNoCommonSize },
        { "complex x real", 2, 3, 2, 3, [](auto &a, auto &b) { (void)(a * b.Real()); },
            MatrixError::kNoCommonSize },
        { "real x complex", 2, 3, 2, 3, [](auto &a, auto &b) { (void)(a.Real() * b); },
            MatrixError::kNoCommonSize },
        { "element product, columns", 2, 3, 3, 2,
            [](auto &a, auto &b) { (void)a.ElementProduct(b); }, MatrixError::kColumnNumber },
        { "element quotient, rows", 2, 3, 3, 3,
            [](auto &a, auto &b) { (void)a.ElementQuotient(b); }, MatrixError::kRowNumber },
        { "real element product", 2, 3, 2, 2,
            [](auto &a, auto &b) { (void)ElementProduct(a.Real(), b); },
            MatrixError::kColumnNumber },
        { "inverse", 2, 3, 1, 1, [](auto &a, auto &) { (void)a.Inverse(); },
            MatrixError::kNotSquare },
        { "sub-matrix", 2, 3, 1, 1, [](auto &a, auto &) { (void)a.SubMatrix(1, 1, 1, 3); },
            MatrixError::kSubMatrix },
        { "append columns", 2, 3, 3, 3, [](auto &a, auto &b) { a.AppendColumns(b); },
            MatrixError::kConcatenate },
        { "append rows", 2, 3, 2, 2, [](auto &a, auto &b) { a.AppendRows(b); },
            MatrixError::kConcatenate },
        { "derivative of a scalar", 1, 1, 1, 1,
            [](auto &a, auto &) { (void)CComplexMatrix::Diff(a, CMatrix()); },
            MatrixError::kDiffScalar },
        { "derivative with too few steps", 4, 1, 1, 1,
            [](auto &a, auto &) { (void)CComplexMatrix::Diff(a, CMatrix(2, 1)); },
            MatrixError::kInvalidOperation },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CComplexMatrix left = Random(c.leftRows, c.leftCols, random);
        CComplexMatrix right = Random(c.rightRows, c.rightCols, random);
        const CComplexMatrix leftBefore = DeepCopy(left), rightBefore = DeepCopy(right);
        try {
            c.operation(left, right);
            ADD_FAILURE() << "no exception";
        } catch (const CMatrixException &e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_TRUE(SameElements(left, leftBefore));
        EXPECT_TRUE(SameElements(right, rightBefore));
    }

    // A zero pivot fails although [[0, 1], [1, 0]] is regular: rows are never exchanged.
    CComplexMatrix swap(2, 2);
    swap.SetRaw(0, 1, Complex(1, 0));
    swap.SetRaw(1, 0, Complex(1, 0));
    const CComplexMatrix before = DeepCopy(swap);
    try {
        (void)swap.Inverse();
        ADD_FAILURE() << "no exception";
    } catch (const CMatrixException &e) {
        EXPECT_STREQ(e.what(), MatrixError::kInversion);
    }
    EXPECT_TRUE(SameElements(swap, before));
}

TEST(CComplexMatrixCopyOnWrite, CopyingSetterUnsharesAndRawSetterIsShared)
{
    CComplexMatrix a(2, 1);
    CComplexMatrix b = a;
    b.SetRaw(1, Complex(1, 2));
    EXPECT_EQ(a(1), Complex(1, 2));
    b.Set(0, 0, Complex(5, 5));
    EXPECT_EQ(a(0), Complex(0, 0));
    EXPECT_EQ(b(0), Complex(5, 5));
    EXPECT_FALSE(a.IsShared());
}

TEST(CComplexMatrixText, DumpWritesEachElementAsRealPlusImaginary)
{
    CComplexMatrix z(1, 2);
    z.SetRaw(0, Complex(1, -2));
    z.SetRaw(1, Complex(0, 0.5));
    const std::string path = ::testing::TempDir() + "/complex_dump.m";
    z.Dump(path, "cz");
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(
        text, "cz=zeros(1,2);cz=[1.000000e+00-2.000000e+00i,0.000000e+00+5.000000e-01i\r\n];");
    std::remove(path.c_str());
}
