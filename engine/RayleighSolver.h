// Rayleigh modal phase velocities of a flat layered elastic half-space.
// Works in km, km/s and single precision internally; knows nothing of CMatrix.
#ifndef VELA_ENGINE_RAYLEIGHSOLVER_H
#define VELA_ENGINE_RAYLEIGHSOLVER_H

/// Most layers the solver accepts, half-space included.
constexpr int RayleighMaxLayers = 99;
/// Most modes the solver looks for at one frequency.
constexpr int RayleighMaxModes = 2000;

/// Phase velocities of Rayleigh modes 1..M at each kept frequency.
///
/// The frequencies are taken in the order given, negative ones dropped, near-duplicates
/// (closer than 1e-7 Hz) removed, and swept from the highest to the lowest. Row r of the
/// output belongs to the r-th frequency of that sweep, i.e. rows come in DESCENDING
/// frequency order; column j holds mode j + 1 (mode 1 is the slowest root). Entries for
/// which no mode was found are left untouched, so the caller passes a zero-filled array.
/// The number of modes at a frequency never exceeds that of the previous (higher) one;
/// when the highest frequency has no mode, nothing is written.
///
/// \param thicknessKm     layer thicknesses, km (n - 1 values; the sign is ignored)
/// \param vpKmS           P velocities, km/s (n values, half-space last)
/// \param vsKmS           S velocities, km/s (n values; a value <= 1e-4 * Vp marks a fluid)
/// \param density         densities, any common unit (n values)
/// \param layerCount      n, layers including the half-space, held as a float (1..99)
/// \param frequencyCount  F, values in frequencyHz
/// \param modeCount       modes requested; also the row length of the output; the search
///                        stops at RayleighMaxModes modes
/// \param refinement      refinement factor R of the root scan; below 1 means 5
/// \param frequencyHz     F frequencies, Hz
/// \param velocitiesKmS   out: F x modeCount values, km/s, row by row
/// \return 0 always
///
/// The scan of each frequency is independent, so frequencies are spread over all
/// hardware threads; the result does not depend on the number of threads. The function is
/// re-entrant.
int SolveRayleighModes(const float *thicknessKm, const float *vpKmS, const float *vsKmS,
    const float *density, const float *layerCount, const int *frequencyCount, const int *modeCount,
    const float *refinement, const float *frequencyHz, double *velocitiesKmS);

/// The Rayleigh secular (dispersion) function of a layered half-space at angular frequency
/// omegaRadS and wavenumber wavenumberRadKm, in the normalised compound-matrix form; its
/// zeros in k at fixed omega are the modes. Arguments as for SolveRayleighModes, with the
/// layer count as an integer. Only the sign and the zeros are meaningful.
float RayleighSecular(int layerCount, const float *thicknessKm, const float *vpKmS,
    const float *vsKmS, const float *density, float omegaRadS, float wavenumberRadKm);

namespace velamod {

/// Counters of one solver call, for benchmarks and tests.
struct RayleighSolverStats
{
    long long secularEvaluations = 0; ///< secular-function evaluations, bisection included
};

/// SolveRayleighModes on at most threadCount threads (0: all hardware threads).
/// Bit-identical to SolveRayleighModes for any thread count. stats may be null.
int SolveRayleighModesThreaded(const float *thicknessKm, const float *vpKmS, const float *vsKmS,
    const float *density, const float *layerCount, const int *frequencyCount, const int *modeCount,
    const float *refinement, const float *frequencyHz, double *velocitiesKmS, int threadCount,
    RayleighSolverStats *stats);

/// The straightforward single-threaded scan: one sample at a time, every layer term
/// recomputed at each sample. Kept as the yardstick of the optimised scan, which must give
/// bit-identical results (tests and benchmarks compare the two). stats may be null.
int SolveRayleighModesReference(const float *thicknessKm, const float *vpKmS, const float *vsKmS,
    const float *density, const float *layerCount, const int *frequencyCount, const int *modeCount,
    const float *refinement, const float *frequencyHz, double *velocitiesKmS,
    RayleighSolverStats *stats);

/// Number of coarse steps the scan takes at one frequency (exposed for tests; arguments as
/// for SolveRayleighModes, by value). 0 when the layer count is out of range.
int RayleighCoarseSteps(const float *thicknessKm, const float *vpKmS, const float *vsKmS,
    const float *density, float layerCount, float refinement, float frequencyHz);

} // namespace velamod

#endif // VELA_ENGINE_RAYLEIGHSOLVER_H
