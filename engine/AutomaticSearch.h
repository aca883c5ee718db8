// The automatic search of the S-velocity profile: an iterated, smoothness-regularised,
// damped linearised least-squares inversion, written against a forward model and a host
// that it is handed, so that VelamodCode runs it on the real forward computation and tests
// on small models of their own.
#ifndef VELA_ENGINE_AUTOMATICSEARCH_H
#define VELA_ENGINE_AUTOMATICSEARCH_H

#include "engine/VelamodCode.h"

#include <cstdint>
#include <functional>

class CMatrix;
class CComplexMatrix;

/// Result of a search that could not produce a final model: no forward computation of the
/// current model completed in any iteration.
/// (The other results are VelamodCode's: 0, SearchStopped -1, LastTrialFailed -2.)
constexpr int SearchNoFinalModel = VelamodCode::NoFinalModel;

/// Result of a search whose final forward computations failed: the best model is written
/// (final and current S velocities) with its misfit, but the final curves are missing.
constexpr int SearchFinalCurvesMissing = VelamodCode::FinalCurvesMissing;

/// End reason sent with SearchNoFinalModel (the others: 0 target reached, 1 iterations done,
/// 3 last trial failed, 4 no improvement).
constexpr std::int32_t EndReasonNoFinalModel =
    static_cast<std::int32_t>(EngineEndReason::NoFinalModel);

/// Damping values of the trials, tried in this order: 1, 10^-2.5, 10^-5, 10^-7.5, 10^-10.
constexpr int SearchTrialCount = 5;

/// One forward computation as the search needs it.
/// \param pVelocities, sVelocities  N x 1, m/s
/// \param frequencies               F x 1, Hz
/// \param computeEffective          true also computes the effective curve
/// \param modalVelocities           out: F x M, m/s
/// \param apparentVelocities        out: F x X (one column per receiver offset)
/// \param apparentSensitivities     out: N matrices F x X, d(apparent)/d(Vs of layer l)
/// \param effectiveVelocities       out: F x 1 (when computeEffective)
/// \return 0 on success, nonzero when the profile has no valid forward model
using SearchForwardModel = std::function<int(const CMatrix &pVelocities, const CMatrix &sVelocities,
    const CMatrix &frequencies, bool computeEffective, CMatrix &modalVelocities,
    CComplexMatrix &apparentVelocities, CComplexMatrix *apparentSensitivities,
    CComplexMatrix &effectiveVelocities)>;

/// Misfit of a theoretical curve against the experimental curve within the modal band,
/// in the complex (modulus) and real (absolute value) forms.
using SearchComplexMisfit =
    std::function<double(const CComplexMatrix &, const CMatrix &, const CMatrix &)>;
using SearchRealMisfit = std::function<double(const CMatrix &, const CMatrix &, const CMatrix &)>;

/// What the search reads and writes of its host: the counters and variables that the
/// progress notifications carry, the stop flag and the notification sinks.
struct SearchHost
{
    std::int32_t *iterationCounter = nullptr;
    std::int32_t *trialCounter = nullptr;
    std::int32_t *iterationsRequested = nullptr;
    double *latestTrialMisfit = nullptr;
    const bool *stopFlag = nullptr; ///< may be null: never stopped
    double *firstMisfit = nullptr; ///< may be null
    double *secondMisfit = nullptr; ///< may be null
    double *currentMisfit = nullptr; ///< may be null
    const double *targetMisfit = nullptr; ///< may be null: target 0
    std::function<void(int stepNumber, int stepValue)> step;
    std::function<void(int endReason)> end;
    SearchForwardModel forward;
    SearchComplexMisfit complexMisfit;
    SearchRealMisfit realMisfit;
};

/// The inputs and outputs of one search, as the 22 arguments of IdentificazioneAutomatica.
struct SearchArguments
{
    int iterationsRequested; ///< most iterations; 0 evaluates the start model only
    const CMatrix &frequencies; ///< F x 1, Hz, ascending
    const CMatrix &experimentalCurve; ///< F values, m/s
    const CMatrix &standardDeviations; ///< F values, m/s
    const CMatrix &densities; ///< N values (its larger dimension sets N)
    CMatrix &shearVelocities; ///< in: start model; out: the final model
    const CMatrix &poissonRatios; ///< N values
    bool strongContrasts; ///< true keeps isolated velocity spikes
    const CMatrix &lowerBounds; ///< N values, m/s
    const CMatrix &upperBounds; ///< N values, m/s
    CMatrix &finalShearVelocities; ///< out: the best model
    CComplexMatrix &effectiveCurve; ///< current mean apparent curve; out: dense effective
    CComplexMatrix &meanApparentCurve; ///< out: dense mean apparent curve
    CMatrix &modalVelocities; ///< out of every forward run; at the end the dense grid's
    CComplexMatrix *apparentSensitivities; ///< at least N matrices
    CMatrix &denseFrequencies; ///< out: the dense frequency grid
};

/// Runs the search. Returns 0 (end reasons 0, 1, 4), -1 stopped (no end notification),
/// -2 the last trial had no forward model (end reason 3; the best model found is written to
/// the final and current S velocities, the final curves are not computed), SearchNoFinalModel
/// (end reason EndReasonNoFinalModel, nothing written), SearchFinalCurvesMissing (after the
/// end notification of reason 0, 1 or 4: the best model is written, a final forward
/// computation failed, so the curves are missing). Matrix errors (a singular normal matrix,
/// mismatched sizes, vectors shorter than the profile or the frequencies: kNoCommonSize) are thrown
/// to the caller.
int RunAutomaticSearch(const SearchArguments &args, const SearchHost &host);

// ---- the pieces of one iteration, exposed for tests ----------------------------------------

/// floor(misfit x 100) x 0.01: the misfit truncated to two decimals, as the stopping rule
/// compares it.
double TruncatedMisfit(double misfit);

/// Vp = Vs sqrt((2 - 2 nu) / (1 - 2 nu)), element by element, shape of vs.
CMatrix PVelocities(const CMatrix &vs, const CMatrix &poisson);

/// N x N first-difference operator: row 0 zero, row k has -1 at k - 1 and 1 at k.
CMatrix RoughnessOperator(int n);

/// F x F diagonal of 1 / standard deviation.
CMatrix DataWeights(const CMatrix &standardDeviations);

/// Mean over the receiver offsets of an F x X apparent matrix, one value per frequency, as
/// a 1 x F row (also for a single offset).
CComplexMatrix MeanOverOffsets(const CComplexMatrix &apparent);

/// One damped step: the real parts of A^-1 b with A = damping R'R + (WJ)'(WJ) and
/// b = (WJ)' W (d - g + J m) (plain transposes). d: F experimental values, g: F current
/// curve values, J: F x N, m: N current velocities. Returns N x 1.
CMatrix DampedStep(double damping, const CMatrix &roughness, const CMatrix &weights,
    const CComplexMatrix &jacobian, const CMatrix &experimental, const CComplexMatrix &current,
    const CMatrix &model);

/// Replaces every interior velocity more than 1.7 times both neighbours, or below 1/1.7 of
/// both, by the mean of its neighbours, in ascending order (later layers see the new value).
void SmoothSpikes(CMatrix &velocities);

/// Velocities at or below their lower bound become the bound, then those at or above the
/// upper bound become that bound.
void ApplyBounds(CMatrix &velocities, const CMatrix &lowerBounds, const CMatrix &upperBounds);

/// Dense grid: from the first to the last frequency with (last - first) truncated points
/// (at least 2), built by repeated addition.
CMatrix DenseFrequencyGrid(const CMatrix &frequencies);

#endif // VELA_ENGINE_AUTOMATICSEARCH_H
