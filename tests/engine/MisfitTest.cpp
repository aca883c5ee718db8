// The misfit inside the modal band: the acceptance test at its edges and the cases without
// a valid misfit.
#include "engine/VelamodCode.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double NoMisfit = 1e99;

// Modal velocities of three frequencies: two modes, one mode, no mode yet.
CMatrix Modes() { return CMatrix(3, 3, { 100.0, 200.0, 0.0, 150.0, 0.0, 0.0, 0.0, 0.0, 0.0 }); }

} // namespace

TEST(CalcolaErrore, CountsOnlyFrequenciesInsideTheModalBand)
{
    const VelamodCode engine;
    struct Case
    {
        const char *name;
        std::vector<double> theoretical;
        std::vector<double> experimental;
        double expected;
    };
    for (const Case &c : {
             // identical curves in the band
             Case { "identical", { 120.0, 150.0, 7.0 }, { 120.0, 150.0, 5.0 }, 0.0 },
             // exactly 0.9 x the slowest and 1.1 x the fastest are accepted
             Case { "band edges", { 90.0, 165.0, 1.0 }, { 100.0, 150.0, 1.0 },
                 std::sqrt((100.0 + 225.0) / (100.0 * 100.0 + 150.0 * 150.0)) },
             // just outside the band: that frequency is skipped
             Case { "beyond the top", { 120.0, 165.0001, 1.0 }, { 100.0, 150.0, 1.0 }, 0.2 },
             Case { "below the bottom", { 89.999, 150.0, 1.0 }, { 100.0, 100.0, 1.0 }, 0.5 },
             // a row of zeros accepts only 0, which then counts against the experiment
             Case { "empty row", { 100.0, 150.0, 0.0 }, { 100.0, 150.0, 50.0 },
                 50.0 / std::sqrt(100.0 * 100.0 + 150.0 * 150.0 + 2500.0) },
             Case { "negative real value", { -100.0, -150.0, 3.0 }, { 100.0, 0.0, 7.0 }, 1.5 },
         }) {
        SCOPED_TRACE(c.name);
        const CMatrix theory = CMatrix::Column(c.theoretical);
        EXPECT_NEAR(engine.CalcolaErrore(theory, CMatrix::Column(c.experimental), Modes()),
            c.expected, 1e-12);
        // The complex overload compares the modulus.
        const CComplexMatrix complexTheory(theory);
        EXPECT_NEAR(engine.CalcolaErrore(complexTheory, CMatrix::Column(c.experimental), Modes()),
            c.expected, 1e-12);
    }
}

TEST(CalcolaErrore, ComplexValueCountsByItsModulus)
{
    const VelamodCode engine;
    CComplexMatrix theory(1, 1);
    theory.Set(0, Complex(3.0, 4.0));
    const CMatrix modes(1, 1, { 5.0 });
    EXPECT_NEAR(engine.CalcolaErrore(theory, CMatrix(1, 1, { 4.0 }), modes), 0.25, 1e-15);
}

TEST(CalcolaErrore, NoValidMisfitGivesTheSentinel)
{
    const VelamodCode engine;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char *name;
        CMatrix theoretical;
        CMatrix experimental;
        CMatrix modes;
    };
    for (const Case &c : {
             Case { "empty theoretical curve", CMatrix(0, 1), CMatrix(1, 1, { 1.0 }), Modes() },
             Case { "nothing in the band", CMatrix(2, 1, { 500.0, 500.0 }),
                 CMatrix(2, 1, { 100.0, 150.0 }), Modes() },
             Case { "experimental zeros", CMatrix(2, 1, { 100.0, 150.0 }),
                 CMatrix(2, 1, { 0.0, 0.0 }), Modes() },
             Case { "experimental curve too short", CMatrix(3, 1, { 100.0, 150.0, 0.0 }),
                 CMatrix(2, 1, { 100.0, 150.0 }), Modes() },
             Case { "modal table too short", CMatrix(2, 1, { 100.0, 150.0 }),
                 CMatrix(2, 1, { 100.0, 150.0 }), CMatrix(1, 2, { 100.0, 200.0 }) },
             Case { "non-finite experiment", CMatrix(2, 1, { 100.0, 150.0 }),
                 CMatrix(2, 1, { nan, 150.0 }), Modes() },
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(engine.CalcolaErrore(c.theoretical, c.experimental, c.modes), NoMisfit);
        EXPECT_EQ(
            engine.CalcolaErrore(CComplexMatrix(c.theoretical), c.experimental, c.modes), NoMisfit);
    }
}

TEST(CalcolaErrore, ModalScanStopsAtTheFirstZero)
{
    // The third mode's value after a zero does not widen the band.
    const VelamodCode engine;
    const CMatrix modes(1, 4, { 100.0, 0.0, 500.0, 600.0 });
    EXPECT_EQ(
        engine.CalcolaErrore(CMatrix(1, 1, { 400.0 }), CMatrix(1, 1, { 400.0 }), modes), NoMisfit);
    // Without the zero the band reaches 1.1 x 600.
    const CMatrix full(1, 3, { 100.0, 500.0, 600.0 });
    EXPECT_EQ(engine.CalcolaErrore(CMatrix(1, 1, { 400.0 }), CMatrix(1, 1, { 400.0 }), full), 0.0);
}
