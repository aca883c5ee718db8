// The written automatic search must keep giving, bit for bit, what it gave before the
// many-start search was built around it: every notification with the counters and misfit
// variables it carries, and every output matrix, on the real forward computation.
//
// Each case folds all of that into a 64-bit FNV-1a digest. The digests below were recorded
// from the search as it stood before that work; a change to the search's arithmetic, order of
// operations or notifications changes them. Should a deliberate change ever be made, record
// new digests with VELA_PRINT_SEARCH_DIGESTS=1 in the environment and say why in the commit.
#include "engine/AutomaticSearch.h"
#include "engine/ModalCurves.h"
#include "engine/VelamodCode.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class Digest
{
public:
    void Bytes(const void *data, std::size_t count)
    {
        const auto *p = static_cast<const unsigned char *>(data);
        for (std::size_t i = 0; i < count; ++i) {
            m_value ^= p[i];
            m_value *= 1099511628211ull;
        }
    }
    void Int(std::int64_t v) { Bytes(&v, sizeof v); }
    void Double(double v) { Bytes(&v, sizeof v); }
    void Matrix(const CMatrix &m)
    {
        Int(m.GetRows());
        Int(m.GetCols());
        for (int i = 0; i < m.GetCount(); ++i)
            Double(m(i));
    }
    void Matrix(const CComplexMatrix &m)
    {
        Int(m.GetRows());
        Int(m.GetCols());
        for (int i = 0; i < m.GetCount(); ++i) {
            Double(m(i).Real());
            Double(m(i).Imag());
        }
    }
    std::uint64_t Value() const { return m_value; }

private:
    std::uint64_t m_value = 14695981039346656037ull;
};

// Five layers over a half-space, searched on its own mean apparent curve (slightly noisy, so
// the target is not met at once) from a start 25 % too fast.
struct Site
{
    CMatrix thickness = CMatrix::Column({ 2, 3, 4, 5, 6 });
    CMatrix density = CMatrix::Column({ 1.8, 1.8, 1.9, 1.9, 2.0, 2.1 });
    CMatrix vs = CMatrix::Column({ 160, 210, 250, 340, 420, 520 });
    CMatrix poisson = CMatrix::Column({ 0.35, 0.33, 0.33, 0.3, 0.3, 0.28 });
    CMatrix frequencies = CMatrix::Linspace(6.0, 40.0, 14);
    CMatrix offsets = CMatrix::Linspace(2.0, 24.0, 12);
    CMatrix deviations;
    CMatrix curve;

    Site()
    {
        CMatrix modal, grid;
        CComplexMatrix apparent, effective;
        std::vector<CComplexMatrix> sensitivities(6);
        CalcolaCurveModali(false, thickness, density, PVelocities(vs, poisson), vs, frequencies,
            offsets, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 2, 5.0f, &modal, &grid, &apparent,
            sensitivities.data(), &effective, false);
        const CComplexMatrix mean = MeanOverOffsets(apparent);
        curve = CMatrix(mean.GetCount(), 1);
        deviations = CMatrix(mean.GetCount(), 1);
        for (int i = 0; i < mean.GetCount(); ++i) {
            curve.Set(i, mean(i).Modulus() * (i % 3 == 0 ? 1.02 : (i % 3 == 1 ? 0.985 : 1.0)));
            deviations.Set(i, 0.04 * curve(i));
        }
    }
};

struct SearchCase
{
    int iterations = 4;
    double target = 0.0;
    bool strong = false;
    int stopAtStep8 = -1; // raise the stop flag at this occurrence of step 8
    double startFactor = 1.25;
};

std::uint64_t SearchDigest(const Site &s, const SearchCase &r, int &endReason)
{
    Digest d;
    endReason = -1;
    std::int32_t iteration = -1, trial = -1, requested = -1;
    double latest = -1, first = 1e99, second = 1e99, current = -1, target = r.target;
    bool stop = false;
    int step8 = 0;
    auto record = [&](int kind, int a, int b) {
        d.Int(kind);
        d.Int(a);
        d.Int(b);
        d.Int(iteration);
        d.Int(trial);
        d.Int(requested);
        d.Double(latest);
        d.Double(first);
        d.Double(second);
        d.Double(current);
    };
    SearchHost h;
    h.iterationCounter = &iteration;
    h.trialCounter = &trial;
    h.iterationsRequested = &requested;
    h.latestTrialMisfit = &latest;
    h.stopFlag = &stop;
    h.firstMisfit = &first;
    h.secondMisfit = &second;
    h.currentMisfit = &current;
    h.targetMisfit = &target;
    h.step = [&](int step, int value) {
        record(1063, step, value);
        if (step == 8 && step8++ == r.stopAtStep8)
            stop = true;
    };
    h.end = [&](int reason) {
        endReason = reason;
        record(1064, reason, 0);
    };
    VelamodCode engine;
    h.forward = [&](const CMatrix &vp, const CMatrix &vs, const CMatrix &f, bool computeEffective,
                    CMatrix &modal, CComplexMatrix &apparent, CComplexMatrix *sensitivities,
                    CComplexMatrix &effective) {
        CMatrix grid;
        return CalcolaCurveModali(false, s.thickness, s.density, vp, vs, f, s.offsets, 0.0, 0.0,
            1.0, 0.0, 0.0, 0.0, 2, 5.0f, &modal, &grid, &apparent, sensitivities, &effective,
            computeEffective);
    };
    h.complexMisfit = [&](const CComplexMatrix &c, const CMatrix &e, const CMatrix &m) {
        return engine.CalcolaErrore(c, e, m);
    };
    h.realMisfit = [&](const CMatrix &c, const CMatrix &e, const CMatrix &m) {
        return engine.CalcolaErrore(c, e, m);
    };

    CMatrix vs = s.vs * r.startFactor;
    const CMatrix lower = s.vs * 0.5, upper = s.vs * 2.0;
    CMatrix finalVs, modal, dense;
    CComplexMatrix effective, apparent;
    std::vector<CComplexMatrix> sensitivities(6);
    const SearchArguments args { r.iterations, s.frequencies, s.curve, s.deviations, s.density, vs,
        s.poisson, r.strong, lower, upper, finalVs, effective, apparent, modal,
        sensitivities.data(), dense };
    d.Int(RunAutomaticSearch(args, h));
    d.Matrix(vs);
    d.Matrix(finalVs);
    d.Matrix(effective);
    d.Matrix(apparent);
    d.Matrix(modal);
    d.Matrix(dense);
    return d.Value();
}

// The exported entry point, with its own notifications printed (no window) and kept out of
// the digest; its outputs and misfit variables go in.
std::uint64_t EngineDigest(const Site &s)
{
    bool stop = false;
    int spareA = 0, spareB = 0;
    double second = 1e99, first = 1e99, current = 0, target = 0.0;
    CMatrix spareMatrixA, spareMatrixB;
    VelamodCode engine;
    engine.SetPointer(&stop, &spareA, &second, &first, &current, &target, &spareB, &spareMatrixA,
        &spareMatrixB, NoNotificationWindow);
    CMatrix vs = s.vs * 0.8;
    const CMatrix lower = s.vs * 0.5, upper = s.vs * 2.0;
    CMatrix finalVs, modal, dense;
    CComplexMatrix effective, apparent;
    std::vector<CComplexMatrix> sensitivities(6);
    Digest d;
    d.Int(engine.IdentificazioneAutomatica(3, s.frequencies, s.curve, s.deviations, s.thickness,
        s.density, vs, s.poisson, 2, false, 5.0f, s.offsets, 0.0, 0.0, lower, upper, finalVs,
        effective, apparent, modal, sensitivities.data(), dense));
    d.Double(first);
    d.Double(second);
    d.Double(current);
    d.Matrix(vs);
    d.Matrix(finalVs);
    d.Matrix(effective);
    d.Matrix(apparent);
    d.Matrix(modal);
    d.Matrix(dense);
    return d.Value();
}

bool PrintDigests() { return std::getenv("VELA_PRINT_SEARCH_DIGESTS") != nullptr; }

} // namespace

TEST(AutomaticSearchRegression, NotificationsAndOutputsAreBitIdenticalToTheWrittenSearch)
{
    const Site site;
    struct Case
    {
        const char *name;
        SearchCase run;
        int endReason; // -1: none (stopped)
        std::uint64_t digest;
    };
    SearchCase iterationsDone;
    SearchCase targetReached;
    targetReached.target = 0.05;
    SearchCase strongAndSlowStart;
    strongAndSlowStart.strong = true;
    strongAndSlowStart.startFactor = 0.7;
    strongAndSlowStart.iterations = 6;
    SearchCase stoppedInTrials;
    stoppedInTrials.stopAtStep8 = 7;
    SearchCase zeroIterations;
    zeroIterations.iterations = 0;
    const Case cases[] = {
        { "iterations done", iterationsDone, 1, 0x23940606446a055bull },
        { "target reached", targetReached, 0, 0x49608936b67690e2ull },
        { "strong contrasts from a slow start", strongAndSlowStart, 4, 0x781b73cfd39e6762ull },
        { "stopped during the trials", stoppedInTrials, -1, 0xef13b03be83f9b53ull },
        { "zero iterations", zeroIterations, 1, 0x171d8df14eb2364eull },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        int endReason = -1;
        const std::uint64_t digest = SearchDigest(site, c.run, endReason);
        if (PrintDigests())
            std::printf("%s: 0x%016llxull end %d\n", c.name,
                static_cast<unsigned long long>(digest), endReason);
        EXPECT_EQ(endReason, c.endReason);
        EXPECT_EQ(digest, c.digest);
    }
}

TEST(AutomaticSearchRegression, ExportedSearchIsBitIdenticalToTheWrittenSearch)
{
    const std::uint64_t digest = EngineDigest(Site());
    if (PrintDigests())
        std::printf("exported: 0x%016llxull\n", static_cast<unsigned long long>(digest));
    EXPECT_EQ(digest, 0x12feedb4620cf4dfull);
}
