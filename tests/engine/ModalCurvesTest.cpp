// The forward computation as a whole: progress steps, row order, failures and their messages,
// and independence of the number of threads.
#include "ForwardTestModels.h"

#include "engine/ForwardParallel.h"
#include "engine/ModalCurves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace forwardtest;

namespace {

struct ForwardRun
{
    int result = 0;
    CMatrix velocities, grid;
    CComplexMatrix apparent, effective;
    std::vector<CComplexMatrix> sensitivities;
    std::vector<int> steps;
    std::vector<std::string> messages;
};

ForwardRun Forward(const Profile &p, const CMatrix &frequencies, long modes, bool effective,
    bool showMessages = true, const CMatrix &offsets = CMatrix::Column({ 1, 2, 3, 4, 5, 6, 7, 8 }))
{
    ForwardRun r;
    r.sensitivities.resize(static_cast<std::size_t>(p.Layers()));
    ForwardReporter reporter;
    reporter.step = [&r](int step) { r.steps.push_back(step); };
    reporter.message = [&r](const std::string &message) { r.messages.push_back(message); };
    r.result = CalcolaCurveModali(showMessages, p.Thicknesses(), p.Density(), p.Vp(), p.Vs(),
        frequencies, offsets, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, modes, 5.0f, &r.velocities, &r.grid,
        &r.apparent, r.sensitivities.data(), &r.effective, effective, reporter);
    return r;
}

bool Identical(const CComplexMatrix &a, const CComplexMatrix &b)
{
    if (a.GetRows() != b.GetRows() || a.GetCols() != b.GetCols())
        return false;
    for (int i = 0; i < a.GetCount(); ++i) {
        if (!(a(i) == b(i)))
            return false;
    }
    return true;
}

} // namespace

TEST(ModalCurves, ReportsItsStagesInOrder)
{
    const CMatrix f = CMatrix::Column({ 10.0, 20.0, 30.0 });
    const ForwardRun withEffective = Forward(Increasing(), f, 2, true);
    ASSERT_EQ(withEffective.result, 0);
    EXPECT_EQ(withEffective.steps, (std::vector<int> { 1, 4, 5, 3, 2 }));

    const ForwardRun without = Forward(Increasing(), f, 2, false);
    ASSERT_EQ(without.result, 0);
    EXPECT_EQ(without.steps, (std::vector<int> { 1, 4, 5, 3 }));
    ASSERT_EQ(without.effective.GetRows(), 3);
    ASSERT_EQ(without.effective.GetCols(), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(without.effective(i), Complex(0.0, 0.0));
    EXPECT_GT(withEffective.effective(0).Real(), 0.0);
}

TEST(ModalCurves, RowsFollowTheFrequenciesInAscendingOrder)
{
    const Profile p = LayerOverHalfSpace();
    const CMatrix f = CMatrix::Column({ 4.0, 9.0, 20.0, 45.0 });
    const ForwardRun r = Forward(p, f, 3, false);
    ASSERT_EQ(r.result, 0);
    ASSERT_EQ(r.velocities.GetRows(), 4);
    ASSERT_EQ(r.velocities.GetCols(), 3);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(f(i));
        const CMatrix alone = ModalVelocities(p, CMatrix::Column({ f(i) }), 1);
        EXPECT_NEAR(r.velocities(i, 0), alone(0, 0), 1e-9 * alone(0, 0));
        EXPECT_GT(r.velocities(i, 0), 0.0);
    }
    // Normal dispersion: slower with rising frequency; higher modes appear at the high end.
    EXPECT_GT(r.velocities(0, 0), r.velocities(3, 0));
    EXPECT_EQ(r.velocities(0, 2), 0.0);
    EXPECT_GT(r.velocities(3, 1), r.velocities(3, 0));
    EXPECT_EQ(r.grid.GetRows(), 3 * 1 + 300);
    EXPECT_EQ(r.apparent.GetRows(), 4);
    EXPECT_EQ(r.apparent.GetCols(), 8);
    EXPECT_EQ(r.sensitivities[1].GetRows(), 4);
}

TEST(ModalCurves, FrequencyWithoutFundamentalModeFailsWithOneMessage)
{
    struct Case
    {
        const char *name;
        std::vector<double> frequencies;
    };
    // A duplicated or a negative frequency is dropped by the solver; its row stays empty.
    for (const Case &c : { Case { "duplicate", { 10.0, 10.0, 20.0 } },
             Case { "negative", { -5.0, 10.0, 20.0 } }, Case { "zero", { 0.0, 10.0 } } }) {
        SCOPED_TRACE(c.name);
        const ForwardRun shown = Forward(Increasing(), CMatrix::Column(c.frequencies), 2, true);
        EXPECT_EQ(shown.result, ForwardComputationFailed);
        EXPECT_EQ(shown.messages, (std::vector<std::string> { "Modes not found!" }));
        EXPECT_EQ(shown.steps, (std::vector<int> { 1 }));
        // The later outputs keep what they held.
        EXPECT_EQ(shown.apparent.GetRows(), 1);

        const ForwardRun quiet =
            Forward(Increasing(), CMatrix::Column(c.frequencies), 2, true, false);
        EXPECT_EQ(quiet.result, ForwardComputationFailed);
        EXPECT_TRUE(quiet.messages.empty());
    }
}

TEST(ModalCurves, InvalidProfilesFailBeforeTheSolver)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char *name;
        Profile profile;
        std::vector<double> frequencies;
        long modes;
        std::vector<double> offsets = { 1.0, 2.0, 3.0 };
    };
    Profile zeroVs = Increasing();
    zeroVs.vs[2] = 0.0;
    Profile slowP = Increasing();
    slowP.vp[1] = slowP.vs[1];
    Profile notANumber = Increasing();
    notANumber.thickness[0] = nan;
    Profile noDensity = Increasing();
    noDensity.density[3] = 0.0;
    Profile shortThickness = Increasing();
    shortThickness.thickness.pop_back();
    const std::vector<double> good { 10.0, 20.0 };
    for (const Case &c :
        { Case { "zero Vs", zeroVs, good, 2 }, Case { "Vp = Vs", slowP, good, 2 },
            Case { "NaN thickness", notANumber, good, 2 },
            Case { "zero density", noDensity, good, 2 },
            Case { "missing thickness", shortThickness, good, 2 },
            Case { "descending frequencies", Increasing(), { 20.0, 10.0 }, 2 },
            Case { "no frequency", Increasing(), {}, 2 }, Case { "no mode", Increasing(), good, 0 },
            Case { "too many modes", Increasing(), good, 2001 },
            Case { "no offset", Increasing(), good, 2, {} } }) {
        SCOPED_TRACE(c.name);
        const ForwardRun r = Forward(c.profile, CMatrix::Column(c.frequencies), c.modes, true, true,
            CMatrix::Column(c.offsets));
        EXPECT_EQ(r.result, ForwardComputationFailed);
        EXPECT_TRUE(r.steps.empty());
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_NE(r.messages[0], "Modes not found!");
    }
}

TEST(ModalCurves, ResultsDoNotDependOnTheNumberOfThreads)
{
    const Profile p = Increasing();
    std::vector<double> frequencies;
    for (double f = 5.0; f <= 50.0; f += 2.5)
        frequencies.push_back(f);
    const CMatrix f = CMatrix::Column(frequencies);
    velamod::SetForwardThreadCount(1);
    const ForwardRun single = Forward(p, f, 4, true);
    velamod::SetForwardThreadCount(5);
    const ForwardRun several = Forward(p, f, 4, true);
    velamod::SetForwardThreadCount(0);
    ForwardRun serial;
    {
        // What a many-start worker does: keep its forward runs on its own thread.
        const velamod::SerialForwardScope scope;
        EXPECT_EQ(velamod::ParallelWorkerCount(100), 1);
        serial = Forward(p, f, 4, true);
    }
    EXPECT_FALSE(velamod::ForwardIsSerial());
    EXPECT_TRUE(Identical(single.apparent, serial.apparent));
    ASSERT_EQ(single.result, 0);
    ASSERT_EQ(several.result, 0);
    EXPECT_TRUE(Identical(single.apparent, several.apparent));
    EXPECT_TRUE(Identical(single.effective, several.effective));
    for (int l = 0; l < p.Layers(); ++l)
        EXPECT_TRUE(Identical(single.sensitivities[static_cast<std::size_t>(l)],
            several.sensitivities[static_cast<std::size_t>(l)]));
}
