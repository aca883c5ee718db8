// What a set of layered S-velocity profiles says about the ground: percentiles of Vs with
// depth, Vs30, and how deep the experimental curve can see.
#ifndef VELA_ENGINE_ENSEMBLE_H
#define VELA_ENGINE_ENSEMBLE_H

#include <vector>

class CMatrix;

namespace velamod {

/// The p-quantile (0 <= p <= 1) of values, interpolated linearly between the order
/// statistics at position p (n - 1). An empty set gives 0.
double Percentile(std::vector<double> values, double p);

/// Vs30 below a reference depth: 30 m divided by the vertical travel time of S waves from
/// referenceDepth to referenceDepth + 30 m, the half-space reaching down without end.
/// \param thicknesses     L values, m (layers above the half-space)
/// \param velocities      L + 1 values, m/s, half-space last (all > 0)
/// \param referenceDepth  m below the surface, >= 0
/// \return m/s
double Vs30(const CMatrix &thicknesses, const CMatrix &velocities, double referenceDepth = 0.0);

/// Depth below which the experimental curve carries no information: half the longest
/// wavelength v / f of its points (surface waves sense about half a wavelength deep).
/// \param frequencies  F values, Hz (points with f <= 0 or non-finite values are skipped)
/// \param velocities   F values, m/s
/// \return m, 0 when no point is usable
double DepthOfInvestigation(const CMatrix &frequencies, const CMatrix &velocities);

/// The 10 %, 50 % and 90 % points of the S velocity of every layer over a set of profiles
/// that share one layering, with each layer's depth range.
struct VelocityBand
{
    std::vector<double> top; ///< m, depth of each layer's top (the half-space's last)
    std::vector<double> bottom; ///< m, depth of each layer's bottom (half-space: its top)
    std::vector<double> p10; ///< m/s
    std::vector<double> median; ///< m/s
    std::vector<double> p90; ///< m/s
};

/// Band of the profiles' S velocities per layer.
/// \param thicknesses  L values, m
/// \param profiles     S velocities, each L + 1 values (m/s); at least one
VelocityBand EnsembleBand(const CMatrix &thicknesses, const std::vector<CMatrix> &profiles);

} // namespace velamod

#endif // VELA_ENGINE_ENSEMBLE_H
