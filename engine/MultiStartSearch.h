// The search with many starts: the written automatic search run from K starting profiles
// drawn inside the Vs bounds, the best model kept, and the ensemble of the models that fit
// the data about as well, from which the uncertainty of the profile and of Vs30 follows.
#ifndef VELA_ENGINE_MULTISTARTSEARCH_H
#define VELA_ENGINE_MULTISTARTSEARCH_H

#include "engine/Ensemble.h"
#include "engine/VelamodExport.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/// The data and the profile of a search, as the written search takes them.
struct MultiStartProblem
{
    int iterations = 10; ///< most iterations of each start
    double targetMisfit = 0.05; ///< each start stops below it (fraction)
    CMatrix frequencies; ///< F x 1, Hz, ascending
    CMatrix experimentalCurve; ///< F, m/s
    CMatrix standardDeviations; ///< F, m/s, > 0
    CMatrix thicknesses; ///< N - 1, m (kept by every start)
    CMatrix densities; ///< N (g/cm^3)
    CMatrix startVelocities; ///< N, m/s: the first start
    CMatrix poissonRatios; ///< N
    CMatrix lowerBounds; ///< N, m/s
    CMatrix upperBounds; ///< N, m/s (equal to the lower bound: the layer is fixed)
    CMatrix receiverOffsets; ///< X, m
    long modeCount = 1;
    bool strongContrasts = false;
    float refinement = 5.0f; ///< refinement factor of the dispersion solver
    double firstDepth = 0.0; ///< m
    double secondDepth = 0.0; ///< m
};

/// Where a many-start search stands, reported after each start that ends.
struct MultiStartProgress
{
    int startsDone = 0;
    int starts = 0;
    double bestNormalisedMisfit = 1e99; ///< over the starts ended so far
};

struct MultiStartOptions
{
    /// K >= 1 starts: the problem's start, then K - 1 drawn inside the bounds.
    int starts = 10;
    /// The drawn starts depend on this alone: the same seed gives the same result, whatever
    /// the thread count.
    std::uint64_t seed = 1;
    /// Threads running starts side by side; 0: all hardware threads.
    int threads = 0;
    /// The ensemble holds the models whose normalised misfit is at most
    /// max(1, ensembleCloseness x the best one): within the data's uncertainty, or, when even
    /// the best does not fit that well, close to the best.
    double ensembleCloseness = 1.25;
    /// After the starts, the ensemble is filled out by random walks, from the best models of
    /// the starts that fit within the threshold (the best first, in turn), that stay among the
    /// models within the threshold: each step changes the Vs of one free layer (or of two
    /// adjacent ones, keeping their travel time) by a factor drawn log-uniformly within
    /// exp(+-exploreStep), inside the bounds, and is kept when the changed model still fits
    /// within the threshold. Two more walks of four times as many steps
    /// set out from the best model and keep only the steps that raise Vs30, or lower it: they
    /// seek the extremes of Vs30 among the models that fit. Every state of every walk is an
    /// ensemble member, so the band describes the models that fit, not only the paths of the
    /// searches. 0 walks: the ensemble is the searches' models alone.
    int exploreWalks = 8;
    int exploreSteps = 60;
    double exploreStep = 0.2;
    /// Raised by the host at any time: no further start begins and the running ones stop at
    /// their next check; the result keeps the best model found so far.
    const std::atomic<bool> *stop = nullptr;
    /// Called after each start that ends, never from two threads at once.
    std::function<void(const MultiStartProgress &)> progress;
};

/// How one start went.
struct StartOutcome
{
    int code = 0; ///< the written search's result (VelamodCode codes)
    double bestMisfit = 1e99; ///< the written search's misfit of its best model
    double bestNormalisedMisfit = 1e99; ///< the best normalised misfit among its models
    int modelsEvaluated = 0; ///< distinct models with a forward computation
};

struct MultiStartResult
{
    /// 0: a best model was found (see finalCurvesMissing); VelamodCode::SearchStopped: the
    /// stop was raised, the best model so far is given; VelamodCode::NoFinalModel: no start
    /// produced any model; VelamodCode::InternalError: the inputs are inconsistent (message).
    int code = 0;
    std::string message;
    /// The final forward computations of the best model failed: its curves are missing, its
    /// model and misfits are given.
    bool finalCurvesMissing = false;
    int bestStart = -1; ///< the start that found the best model
    CMatrix bestVelocities; ///< N x 1, m/s
    double apparentMisfit = 1e99; ///< relative misfit of the mean apparent curve
    double effectiveMisfit = 1e99; ///< relative misfit of the effective curve
    double normalisedMisfit = 1e99; ///< normalised misfit of the mean apparent curve
    /// Curves of the best model on the dense frequency grid, as the written search gives them.
    CComplexMatrix effectiveCurve; ///< F' x 1
    CComplexMatrix apparentCurve; ///< 1 x F'
    CMatrix modalVelocities; ///< F' x M
    CMatrix denseFrequencies; ///< F', Hz
    std::vector<StartOutcome> starts;
    /// The ensemble: how many models, the normalised misfit they stay within, the band of
    /// their Vs per layer and the 10 % and 90 % points of their Vs30 (both ranges widened,
    /// where needed, to take in the best model).
    int ensembleSize = 0;
    double ensembleThreshold = 0.0;
    velamod::VelocityBand band;
    std::vector<CMatrix> ensemble; ///< the members, N x 1 each, m/s
    double vs30 = 0.0; ///< of the best model, m/s
    double vs30P10 = 0.0; ///< m/s
    double vs30P90 = 0.0; ///< m/s
    double depthOfInvestigation = 0.0; ///< m
    /// Per layer: 1 when the best Vs lies on a bound; otherwise 2 when the layer's top lies
    /// above the depth of investigation and its band (10 % or 90 % point) reaches a bound, so
    /// that the bound, not the data, cuts the band there; 0 else.
    std::vector<int> layerOnBound;
};

/// Runs the search from K starts. Never throws for data the written search accepts; a start
/// that fails (a singular system, no forward model) keeps the models it evaluated.
VELAMOD_EXPORT MultiStartResult RunMultiStartSearch(
    const MultiStartProblem &problem, const MultiStartOptions &options);

/// Start k of a seed: k = 0 is none of this function's business; for k >= 1 every layer's Vs
/// is drawn log-uniformly between its bounds (a fixed layer keeps its value), from a stream
/// that depends only on the seed and k.
CMatrix DrawStart(
    const CMatrix &lowerBounds, const CMatrix &upperBounds, std::uint64_t seed, int start);

#endif // VELA_ENGINE_MULTISTARTSEARCH_H
