#include "engine/AutomaticSearch.h"

#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"
#include "matrix/MatrixError.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int ResultStopped = -1;
constexpr int ResultLastTrialFailed = -2;

// Starts above every misfit a forward run can produce (no valid misfit is 1e99), so the
// first completed iteration always improves on it.
constexpr double InitialBestMisfit = 1e100;

// A spike is a layer faster than this many times both neighbours, or slower than its
// reciprocal (written out as the constant the comparison has always used).
constexpr double SpikeRatio = 1.7;
constexpr double DipRatio = 0.5882352941176471;

CMatrix AsColumn(const CMatrix &m)
{
    if (m.GetCols() == 1)
        return m;
    CMatrix c(m.GetCount(), 1);
    for (int i = 0; i < m.GetCount(); ++i)
        c.SetRaw(i, m(i));
    return c;
}

CComplexMatrix AsColumn(const CComplexMatrix &m)
{
    if (m.GetCols() == 1)
        return m;
    CComplexMatrix c(m.GetCount(), 1);
    for (int i = 0; i < m.GetCount(); ++i)
        c.SetRaw(i, m(i));
    return c;
}

// F x N: column j is sensitivity j averaged over the offsets, like the curve itself.
CComplexMatrix Jacobian(const CComplexMatrix *sensitivities, int layers, int frequencies)
{
    CComplexMatrix j(frequencies, layers);
    for (int l = 0; l < layers; ++l) {
        const CComplexMatrix mean = MeanOverOffsets(sensitivities[l]);
        for (int i = 0; i < frequencies && i < mean.GetCount(); ++i)
            j.SetRaw(i, l, mean(i));
    }
    return j;
}

} // namespace

double TruncatedMisfit(double misfit) { return std::floor(misfit * 100.0) * 0.01; }

CMatrix PVelocities(const CMatrix &vs, const CMatrix &poisson)
{
    CMatrix vp(vs.GetRows(), vs.GetCols());
    for (int i = 0; i < vs.GetCount(); ++i) {
        const double nu = poisson(i);
        vp.SetRaw(i, vs(i) * std::sqrt((2.0 - 2.0 * nu) / (1.0 - 2.0 * nu)));
    }
    return vp;
}

CMatrix RoughnessOperator(int n)
{
    CMatrix r(n, n);
    for (int k = 1; k < n; ++k) {
        r.SetRaw(k, k - 1, -1.0);
        r.SetRaw(k, k, 1.0);
    }
    return r;
}

CMatrix DataWeights(const CMatrix &standardDeviations)
{
    const int f = standardDeviations.GetCount();
    CMatrix w(f, f);
    for (int k = 0; k < f; ++k)
        w.SetRaw(k, k, 1.0 / standardDeviations(k));
    return w;
}

CComplexMatrix MeanOverOffsets(const CComplexMatrix &apparent)
{
    // Row means, summed in offset order: for several offsets the same values as averaging
    // the transposed matrix by columns, and still one value per frequency for a single one.
    const int f = apparent.GetRows();
    const int x = apparent.GetCols();
    CComplexMatrix mean(1, f);
    for (int i = 0; i < f; ++i) {
        Complex sum;
        for (int c = 0; c < x; ++c)
            sum += apparent(i, c);
        mean.SetRaw(i, x > 0 ? sum / x : sum);
    }
    return mean;
}

CMatrix DampedStep(double damping, const CMatrix &roughness, const CMatrix &weights,
    const CComplexMatrix &jacobian, const CMatrix &experimental, const CComplexMatrix &current,
    const CMatrix &model)
{
    const CComplexMatrix wj = weights * jacobian;
    const CComplexMatrix wjT = wj.Transposed();
    const CMatrix rtr = roughness.Transposed() * roughness;
    const CComplexMatrix a = CComplexMatrix(rtr * damping) + wjT * wj;
    const CComplexMatrix residual =
        (AsColumn(experimental) - AsColumn(current)) + jacobian * AsColumn(model);
    const CComplexMatrix b = (wjT * weights) * residual;
    return AsColumn((a.Inverse() * b).Real());
}

void SmoothSpikes(CMatrix &v)
{
    const int n = v.GetCount();
    for (int i = 1; i + 1 < n; ++i) {
        const double below = v(i - 1), here = v(i), above = v(i + 1);
        if ((here > SpikeRatio * below && here > SpikeRatio * above)
            || (here < DipRatio * below && here < DipRatio * above))
            v.Set(i, (below + above) / 2.0);
    }
}

void ApplyBounds(CMatrix &v, const CMatrix &lowerBounds, const CMatrix &upperBounds)
{
    for (int i = 0; i < v.GetCount(); ++i) {
        if (v(i) <= lowerBounds(i))
            v.Set(i, lowerBounds(i));
        if (v(i) >= upperBounds(i))
            v.Set(i, upperBounds(i));
    }
}

CMatrix DenseFrequencyGrid(const CMatrix &frequencies)
{
    const int count = std::max(frequencies.GetRows(), frequencies.GetCols());
    const double first = frequencies(0);
    const double last = frequencies(count - 1);
    // One point per hertz of the band; a band narrower than 2 Hz still gets both its ends
    // rather than an empty grid that no forward run could use.
    const int points = static_cast<int>(std::trunc(last - first));
    return CMatrix::Linspace(first, last, std::max(points, 2));
}

int RunAutomaticSearch(const SearchArguments &a, const SearchHost &h)
{
    // The host may raise the flag at any time (from a notification handler); never let the
    // compiler keep an old value.
    auto stopped = [&h] {
        return h.stopFlag != nullptr && *static_cast<const volatile bool *>(h.stopFlag);
    };
    auto target = [&h] { return h.targetMisfit ? *h.targetMisfit : 0.0; };
    auto setCurrentMisfit = [&h](double value) {
        if (h.currentMisfit)
            *h.currentMisfit = value;
    };
    auto stopPath = [&h] {
        h.step(StepNumber(EngineStep::RunEnd), 0);
        return ResultStopped;
    };

    // Vectors shorter than the profile would be read past their end; refuse them the way
    // the matrix operations refuse mismatched operands.
    const int layers = std::max(a.densities.GetRows(), a.densities.GetCols());
    const int frequencyCount = a.frequencies.GetCount();
    if (frequencyCount < 1 || layers < 1 || a.shearVelocities.GetCount() != layers
        || a.poissonRatios.GetCount() < layers || a.lowerBounds.GetCount() < layers
        || a.upperBounds.GetCount() < layers || a.experimentalCurve.GetCount() < frequencyCount)
        throw CMatrixException(MatrixError::kNoCommonSize);

    // Set-up.
    *h.iterationsRequested = a.iterationsRequested;
    *h.latestTrialMisfit = 0.0;
    *h.trialCounter = 0;
    *h.iterationCounter = 0;
    h.step(StepNumber(EngineStep::SearchStart), 0);

    const CMatrix damping = CMatrix::Logspace(0.0, -10.0, SearchTrialCount);
    const CMatrix roughness = RoughnessOperator(layers);
    const CMatrix weights = DataWeights(a.standardDeviations);
    CMatrix model = AsColumn(a.shearVelocities);
    CMatrix vp = PVelocities(model, a.poissonRatios);
    vp.DiagnosticDump("vp1.m", "vp");

    CComplexMatrix apparent, effective;
    double bestMisfit = InitialBestMisfit;
    CMatrix bestModel;
    bool haveBest = false;
    bool noImprovement = false;
    bool modelFailure = false;

    if (a.iterationsRequested != 0) {
        h.step(StepNumber(EngineStep::SearchSetUpDone), a.iterationsRequested);
        *h.iterationCounter = 0;
        do {
            // A best misfit whose two-decimal truncation equals the target goes on.
            if (!(TruncatedMisfit(bestMisfit) >= target()) || noImprovement || stopped()) {
                if (stopped())
                    return stopPath();
                break;
            }
            h.step(StepNumber(EngineStep::IterationStart), *h.iterationCounter);
            if (stopped())
                return stopPath();

            if (h.forward(vp, model, a.frequencies, false, a.modalVelocities, apparent,
                    a.apparentSensitivities, effective)
                == 0) {
                CMatrix iterationBestModel = model;
                a.effectiveCurve = MeanOverOffsets(apparent);
                double iterationBest =
                    h.complexMisfit(a.effectiveCurve, a.experimentalCurve, a.modalVelocities);
                setCurrentMisfit(iterationBest);
                const CComplexMatrix jacobian =
                    Jacobian(a.apparentSensitivities, layers, frequencyCount);

                for (int k = 0; k < SearchTrialCount; ++k) {
                    *h.trialCounter = k;
                    h.step(StepNumber(EngineStep::BeforeTrial), k);
                    if (stopped())
                        return stopPath();
                    CMatrix trial = DampedStep(damping(k), roughness, weights, jacobian,
                        a.experimentalCurve, a.effectiveCurve, model);
                    if (!a.strongContrasts)
                        SmoothSpikes(trial);
                    if (iterationBest > target() && !stopped())
                        ApplyBounds(trial, a.lowerBounds, a.upperBounds);
                    const CMatrix trialVp = PVelocities(trial, a.poissonRatios);
                    if (h.forward(trialVp, trial, a.frequencies, false, a.modalVelocities, apparent,
                            a.apparentSensitivities, effective)
                        != 0) {
                        modelFailure = true;
                        continue;
                    }
                    modelFailure = false;
                    const CMatrix trialCurve = AsColumn(MeanOverOffsets(apparent).Real());
                    const double misfit =
                        h.realMisfit(trialCurve, a.experimentalCurve, a.modalVelocities);
                    *h.latestTrialMisfit = misfit;
                    h.step(StepNumber(EngineStep::TrialMisfitDone), 0);
                    if (misfit < iterationBest) {
                        iterationBest = misfit;
                        iterationBestModel = trial;
                    }
                    if (misfit <= target())
                        break;
                }

                if (bestMisfit <= iterationBest) {
                    noImprovement = true;
                } else {
                    bestMisfit = iterationBest;
                    setCurrentMisfit(bestMisfit);
                    bestModel = iterationBestModel;
                    haveBest = true;
                }
                // Without improvement this goes back to the best model found before.
                model = bestModel;
                vp = PVelocities(model, a.poissonRatios);
                h.step(StepNumber(EngineStep::IterationEnd), *h.iterationCounter);
            }
            ++*h.iterationCounter;
        } while (*h.iterationCounter < a.iterationsRequested);
    }

    // Outcome.
    if (a.iterationsRequested == 0) {
        // Nothing to search: the start model is the answer, evaluated like a final model.
        bestModel = model;
        h.end(EndReasonNumber(EngineEndReason::IterationsDone));
    } else if (!haveBest) {
        // No forward run of a current model ever completed: there is no model to return.
        h.end(EndReasonNumber(EngineEndReason::NoFinalModel));
        h.step(StepNumber(EngineStep::RunEnd), 0);
        return SearchNoFinalModel;
    } else if (TruncatedMisfit(bestMisfit) <= target()) {
        h.end(EndReasonNumber(EngineEndReason::TargetReached));
    } else if (modelFailure) {
        // The run ends without its final curves, but the best model it found (its misfit is
        // in the current-misfit variable) is not thrown away with them.
        a.finalShearVelocities = bestModel;
        a.shearVelocities = bestModel;
        h.end(EndReasonNumber(EngineEndReason::LastTrialFailed));
        h.step(StepNumber(EngineStep::RunEnd), 0);
        return ResultLastTrialFailed;
    } else if (noImprovement) {
        h.end(EndReasonNumber(EngineEndReason::NoImprovement));
    } else {
        // The iteration counter reached the request (the only other way out of the loop).
        h.end(EndReasonNumber(EngineEndReason::IterationsDone));
    }

    // Final model and its curves, on the experimental frequencies and on a dense grid.
    a.finalShearVelocities = bestModel;
    a.shearVelocities = bestModel;
    vp = PVelocities(bestModel, a.poissonRatios);
    a.denseFrequencies = DenseFrequencyGrid(a.frequencies);

    h.step(StepNumber(EngineStep::BeforeFinalForward), 0);
    if (h.forward(vp, bestModel, a.frequencies, true, a.modalVelocities, apparent,
            a.apparentSensitivities, effective)
        != 0) {
        h.step(StepNumber(EngineStep::RunEnd), 0);
        return SearchFinalCurvesMissing;
    }
    if (h.firstMisfit)
        *h.firstMisfit = h.complexMisfit(effective, a.experimentalCurve, a.modalVelocities);
    a.meanApparentCurve = MeanOverOffsets(apparent);
    if (h.secondMisfit)
        *h.secondMisfit =
            h.complexMisfit(a.meanApparentCurve, a.experimentalCurve, a.modalVelocities);

    if (h.forward(vp, bestModel, a.denseFrequencies, true, a.modalVelocities, apparent,
            a.apparentSensitivities, effective)
        != 0) {
        h.step(StepNumber(EngineStep::RunEnd), 0);
        return SearchFinalCurvesMissing;
    }
    a.meanApparentCurve = MeanOverOffsets(apparent);
    a.effectiveCurve = effective;
    h.step(StepNumber(EngineStep::AfterFinalForward), 0);
    h.step(StepNumber(EngineStep::RunEnd), 0);
    return 0;
}
