// Behaviour of the real matrix: sharing, shape errors, reductions, spacing, inverse, dumps.

#include "matrix/CMatrix.h"
#include "matrix/MatrixError.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TempPath(const std::string &name) { return ::testing::TempDir() + "/" + name; }

// Operands must come out of a failed operation exactly as they went in.
void ExpectSame(const CMatrix &actual, const CMatrix &expected)
{
    ASSERT_EQ(actual.GetRows(), expected.GetRows());
    ASSERT_EQ(actual.GetCols(), expected.GetCols());
    EXPECT_EQ(actual.ToVector(), expected.ToVector());
}

// Distinct values, so that a changed element shows.
void FillIfZero(CMatrix &m)
{
    if (m.Abs().MaxAll() > 0.0)
        return;
    for (int i = 0; i < m.GetCount(); ++i)
        m.SetRaw(i, 1.5 * i - 2.0);
}

CMatrix DeepCopy(const CMatrix &m)
{
    CMatrix copy(m.GetRows(), m.GetCols());
    for (int i = 0; i < m.GetCount(); ++i)
        copy.SetRaw(i, m(i));
    return copy;
}

} // namespace

TEST(CMatrixCopyOnWrite, CopyingSetterOnCopyLeavesOriginalUnchanged)
{
    CMatrix a(2, 2, { 1, 2, 3, 4 });
    CMatrix b = a;
    EXPECT_TRUE(a.IsShared());
    b.Set(0, 1, 20.0);
    b.Set(3, 40.0);
    EXPECT_EQ(a.ToVector(), (std::vector<double> { 1, 2, 3, 4 }));
    EXPECT_EQ(b.ToVector(), (std::vector<double> { 1, 20, 3, 40 }));
    EXPECT_FALSE(a.IsShared());
}

TEST(CMatrixCopyOnWrite, RawSetterIsSeenByEverySharer)
{
    CMatrix a(1, 3);
    CMatrix b = a;
    CMatrix c;
    c = b;
    b.SetRaw(0, 2, 7.0);
    a.SetRaw(1, 5.0);
    for (const CMatrix *m : { &a, &b, &c })
        EXPECT_EQ(m->ToVector(), (std::vector<double> { 0, 5, 7 }));
}

TEST(CMatrixCopyOnWrite, DestroyingEitherCopyFirstLeavesTheOtherIntact)
{
    for (bool originalFirst : { true, false }) {
        SCOPED_TRACE(originalFirst ? "original destroyed first" : "copy destroyed first");
        auto original = std::make_unique<CMatrix>(CMatrix(2, 1, { 3, 4 }));
        auto copy = std::make_unique<CMatrix>(*original);
        std::unique_ptr<CMatrix> &gone = originalFirst ? original : copy;
        std::unique_ptr<CMatrix> &kept = originalFirst ? copy : original;
        gone.reset();
        CMatrix reuse(2, 1, { -1, -1 }); // would reuse a freed block
        EXPECT_FALSE(kept->IsShared());
        EXPECT_EQ(kept->ToVector(), (std::vector<double> { 3, 4 }));
        kept->Set(0, 9.0);
        EXPECT_EQ((*kept)(0), 9.0);
        EXPECT_EQ(reuse(0), -1.0);
    }
}

TEST(CMatrixCopyOnWrite, InPlaceOperationsLeaveSharersUnchanged)
{
    const std::vector<std::pair<const char *, std::function<void(CMatrix &)>>> operations = {
        { "times scalar", [](CMatrix &m) { m *= 2.0; } },
        { "transpose", [](CMatrix &m) { m.Transpose(); } },
        { "square", [](CMatrix &m) { m.Square(); } },
        { "reverse columns", [](CMatrix &m) { m.ReverseColumns(); } },
        { "identity", [](CMatrix &m) { m.Identity(); } },
        { "append columns", [](CMatrix &m) { m.AppendColumns(CMatrix(2, 1)); } },
        { "append rows", [](CMatrix &m) { m.AppendRows(CMatrix(1, 2)); } },
        { "writable data", [](CMatrix &m) { m.GetWritableData()[0] = 99.0; } },
    };
    for (const auto &[name, operation] : operations) {
        SCOPED_TRACE(name);
        const CMatrix original(2, 2, { 1, 2, 3, 4 });
        CMatrix copy = original;
        operation(copy);
        ExpectSame(original, CMatrix(2, 2, { 1, 2, 3, 4 }));
    }
}

TEST(CMatrixErrors, ShapeMismatchRaisesItsTextAndLeavesOperandsUnchanged)
{
    struct Case
    {
        const char *name;
        CMatrix left;
        CMatrix right;
        std::function<void(CMatrix &, CMatrix &)> operation;
        const char *message;
    };
    const std::vector<Case> cases = {
        { "element product, columns", CMatrix(2, 3), CMatrix(3, 2),
            [](CMatrix &a, CMatrix &b) { a.ElementProduct(b); }, MatrixError::kColumnNumber },
        { "element product, rows", CMatrix(2, 3), CMatrix(3, 3),
            [](CMatrix &a, CMatrix &b) { a.ElementProduct(b); }, MatrixError::kRowNumber },
        { "element quotient, columns first", CMatrix(2, 3), CMatrix(1, 1),
            [](CMatrix &a, CMatrix &b) { a.ElementQuotient(b); }, MatrixError::kColumnNumber },
        { "product", CMatrix(2, 3), CMatrix(2, 3), [](CMatrix &a, CMatrix &b) { (void)(a * b); },
            MatrixError::kNoCommonSize },
        { "sum", CMatrix(2, 3), CMatrix(3, 2), [](CMatrix &a, CMatrix &b) { (void)(a + b); },
            MatrixError::kInvalidOperation },
        { "difference", CMatrix(2, 3), CMatrix(2, 2), [](CMatrix &a, CMatrix &b) { (void)(a - b); },
            MatrixError::kInvalidOperation },
        { "sub-matrix past the columns", CMatrix(2, 3), CMatrix(),
            [](CMatrix &a, CMatrix &) { a.SubMatrix(0, 2, 1, 2); }, MatrixError::kSubMatrix },
        { "sub-matrix past the rows", CMatrix(2, 3), CMatrix(),
            [](CMatrix &a, CMatrix &) { a.SubMatrix(1, 0, 2, 1); }, MatrixError::kSubMatrix },
        { "sub-matrix at a negative row", CMatrix(2, 3), CMatrix(),
            [](CMatrix &a, CMatrix &) { a.SubMatrix(-1, 0, 1, 1); }, MatrixError::kSubMatrix },
        { "append columns", CMatrix(2, 3), CMatrix(3, 3),
            [](CMatrix &a, CMatrix &b) { a.AppendColumns(b); }, MatrixError::kConcatenate },
        { "append rows", CMatrix(2, 3), CMatrix(2, 2),
            [](CMatrix &a, CMatrix &b) { a.AppendRows(b); }, MatrixError::kConcatenate },
        { "inverse of non-square", CMatrix(2, 3), CMatrix(),
            [](CMatrix &a, CMatrix &) { a.Inverse(); }, MatrixError::kNotSquare },
        { "inverse with zero pivot", CMatrix(2, 2, { 0, 1, 1, 0 }), CMatrix(),
            [](CMatrix &a, CMatrix &) { a.Inverse(); }, MatrixError::kInversion },
        { "negative size", CMatrix(), CMatrix(), [](CMatrix &, CMatrix &) { (void)CMatrix(-1, 2); },
            MatrixError::kInvalidOperation },
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.name);
        FillIfZero(c.left);
        FillIfZero(c.right);
        const CMatrix leftBefore = DeepCopy(c.left);
        const CMatrix rightBefore = DeepCopy(c.right);
        try {
            c.operation(c.left, c.right);
            ADD_FAILURE() << "no exception";
        } catch (const CMatrixException &e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        ExpectSame(c.left, leftBefore);
        ExpectSame(c.right, rightBefore);
    }
}

TEST(CMatrixReductions, VectorsGiveAScalarAndMatricesARowOfColumnResults)
{
    const CMatrix column(3, 1, { 2, 9, -1 });
    const CMatrix row(1, 3, { 2, 9, -1 });
    const CMatrix m(2, 3, { 1, 5, -3, 4, 2, -6 });
    for (const CMatrix *v : { &column, &row }) {
        ExpectSame(v->Max(), CMatrix(1, 1, { 9 }));
        ExpectSame(v->Min(), CMatrix(1, 1, { -1 }));
        ExpectSame(v->Mean(), CMatrix(1, 1, { 10.0 / 3 }));
        ExpectSame(v->Sum(), CMatrix(1, 1, { 10 }));
    }
    ExpectSame(m.Max(), CMatrix(1, 3, { 4, 5, -3 }));
    ExpectSame(m.Min(), CMatrix(1, 3, { 1, 2, -6 }));
    ExpectSame(m.Mean(), CMatrix(1, 3, { 2.5, 3.5, -4.5 }));
    EXPECT_EQ(m.MaxAll(), 5.0);
    EXPECT_EQ(m.MinAll(), -6.0);
    EXPECT_DOUBLE_EQ(m.MeanAll(), 0.5);
}

TEST(CMatrixReductions, RowAndColumnExtremesReportTheFirstIndexOnTies)
{
    const CMatrix m(3, 4, { 5, 1, 7, 1, 7, 0, 7, 3, -2, 0, 2, 3 });
    int index = -1;
    EXPECT_EQ(m.RowMin(0, &index), 1.0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(m.RowMax(1, &index), 7.0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(m.ColMin(1, &index), 0.0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(m.ColMax(3, &index), 3.0);
    EXPECT_EQ(index, 1);
    EXPECT_DOUBLE_EQ(m.RowMean(2), 0.75);
    EXPECT_DOUBLE_EQ(m.ColMean(0), 10.0 / 3);
    EXPECT_TRUE(m.AnyBelow(-1.5));
    EXPECT_FALSE(m.AnyBelow(-2.0));
    EXPECT_FALSE(CMatrix(0, 3).AnyBelow(1e300));
}

TEST(CMatrixArithmetic, ProductSumsInIndexOrderAndTransposeExchangesShape)
{
    const CMatrix a(2, 3, { 1, 2, 3, 4, 5, 6 });
    const CMatrix b(3, 2, { 7, 8, 9, 10, 11, 12 });
    ExpectSame(a * b, CMatrix(2, 2, { 58, 64, 139, 154 }));
    ExpectSame(a.Transposed(), CMatrix(3, 2, { 1, 4, 2, 5, 3, 6 }));
    ExpectSame(a, CMatrix(2, 3, { 1, 2, 3, 4, 5, 6 }));
    ExpectSame(a.ElementProduct(a), CMatrix(2, 3, { 1, 4, 9, 16, 25, 36 }));
    ExpectSame(a - 1.0, CMatrix(2, 3, { 0, 1, 2, 3, 4, 5 }));
    ExpectSame(2.0 * a, CMatrix(2, 3, { 2, 4, 6, 8, 10, 12 }));
    ExpectSame(CMatrix(1, 3, { -1, 0, 2 }).Abs(), CMatrix(1, 3, { 1, 0, 2 }));

    CMatrix odd(3, 2, { 1, 2, 3, 4, 5, 6 });
    odd.ReverseColumns();
    ExpectSame(odd, CMatrix(3, 2, { 5, 6, 3, 4, 1, 2 }));
    CMatrix even(2, 1, { 1, 2 });
    even.ReverseColumns();
    ExpectSame(even, CMatrix(2, 1, { 2, 1 }));
}

TEST(CMatrixArithmetic, SubMatrixAndAppendPlaceBlocksWhereExpected)
{
    const CMatrix m(3, 3, { 1, 2, 3, 4, 5, 6, 7, 8, 9 });
    ExpectSame(m.SubMatrix(1, 1, 2, 2), CMatrix(2, 2, { 5, 6, 8, 9 }));
    ExpectSame(m.SubMatrix(3, 0, 0, 3), CMatrix(0, 3));
    CMatrix a(2, 1, { 1, 2 });
    a.AppendColumns(CMatrix(2, 2, { 3, 4, 5, 6 }));
    ExpectSame(a, CMatrix(2, 3, { 1, 3, 4, 2, 5, 6 }));
    a.AppendRows(CMatrix(1, 3, { 7, 8, 9 }));
    ExpectSame(a, CMatrix(3, 3, { 1, 3, 4, 2, 5, 6, 7, 8, 9 }));
}

TEST(CMatrixInverse, ProductWithTheOriginalIsTheIdentity)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> value(-1, 1);
    for (int n : { 1, 2, 5, 12 }) {
        SCOPED_TRACE(n);
        CMatrix a(n, n);
        for (int i = 0; i < n * n; ++i)
            a.SetRaw(i, value(random));
        for (int i = 0; i < n; ++i)
            a.SetRaw(i, i, a(i, i) + n); // diagonally dominant: no zero pivot
        const CMatrix product = a * a.Inverse();
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c)
                EXPECT_NEAR(product(r, c), r == c ? 1.0 : 0.0, 1e-10);
    }
}

TEST(CMatrixSpacing, LinspaceAccumulatesTheStep)
{
    ExpectSame(CMatrix::Linspace(0, 1, 5), CMatrix(5, 1, { 0, 0.25, 0.5, 0.75, 1 }));
    // 0.1 added ten times is not 1: the last element keeps the accumulated rounding.
    const CMatrix m = CMatrix::Linspace(0, 1, 11);
    double expected = 0.0;
    for (int i = 1; i < 11; ++i)
        expected += 0.1;
    EXPECT_EQ(m(10), expected);
    EXPECT_NE(m(10), 1.0);
    ExpectSame(CMatrix::Linspace(3, 7, 1), CMatrix(1, 1, { 3 }));
}

TEST(CMatrixSpacing, LogspaceEndsExactlyOnTenToTheB)
{
    const CMatrix m = CMatrix::Logspace(0, -10, 5);
    ASSERT_EQ(m.GetRows(), 5);
    ASSERT_EQ(m.GetCols(), 1);
    const double expected[] = { 1, 3.1622776601683795e-3, 1e-5, 3.1622776601683795e-8 };
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(m(i), expected[i], 1e-15 * expected[i]) << i;
    EXPECT_EQ(m(4), std::pow(10.0, -10.0));
}

TEST(CMatrixText, DumpWritesAMatlabScriptWithCrLfRows)
{
    const std::string path = TempPath("dump_2x2.m");
    CMatrix(2, 2, { 1, 2, 3, 4 }).Dump(path, "A");
    EXPECT_EQ(ReadFile(path),
        "A=zeros(2,2);A=[1.000000e+00,2.000000e+00\r\n3.000000e+00,4.000000e+00\r\n];");
    CMatrix(0, 3).Dump(path, "E");
    EXPECT_EQ(ReadFile(path), "E=zeros(0,3);E=[];");
    std::remove(path.c_str());
}

TEST(CMatrixText, DumpToAnUnwritablePathIsSilentlyIgnored)
{
    EXPECT_NO_THROW(CMatrix().Dump(TempPath("no/such/folder/x.m"), "x"));
}

TEST(CMatrixText, ElementsFormatLikePercentEWhateverTheLocale)
{
    const CMatrix row(1, 3, { -1234.5678, 1e-300, 0.5 });
    const std::string expected = "-1.234568e+03; 1.000000e-300; 5.000000e-01";
    EXPECT_EQ(row.RowToString(0, "; "), expected);
    // A decimal-comma locale (as a Qt program installs from the environment) must not leak in.
    const char *previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "it_IT.UTF-8"))
        GTEST_SKIP() << "no decimal-comma locale installed";
    EXPECT_EQ(row.RowToString(0, "; "), expected);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(CMatrixText, DiagnosticDumpWritesOnlyIntoTheFolderNamedByTheEnvironment)
{
    const std::string folder = ::testing::TempDir();
    const std::string path = folder + "/vr.m";
    std::remove(path.c_str());
    unsetenv("VELA_DUMP_DIR");
    CMatrix(1, 1, { 2 }).DiagnosticDump("vr.m", "vrc");
    EXPECT_FALSE(std::ifstream(path).good());
    setenv("VELA_DUMP_DIR", folder.c_str(), 1);
    CMatrix(1, 1, { 2 }).DiagnosticDump("vr.m", "vrc");
    unsetenv("VELA_DUMP_DIR");
    EXPECT_EQ(ReadFile(path), "vrc=zeros(1,1);vrc=[2.000000e+00\r\n];");
    std::remove(path.c_str());
}
