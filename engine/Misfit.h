// Misfit between a theoretical and the experimental dispersion curve, counted only at the
// frequencies where the theoretical value lies in the band of the profile's modes. The
// exported entry points are the two VelamodCode::CalcolaErrore overloads.
#ifndef VELA_ENGINE_MISFIT_H
#define VELA_ENGINE_MISFIT_H

class CMatrix;

namespace velamod {

/// The misfit of CalcolaErrore for theoretical values already reduced to magnitudes.
///
/// At frequency i the band is [0.9 min, 1.1 max] of row i of the modal velocities, scanned
/// from column 0 up to the first exact 0 after it (the first element counts even when it is
/// 0). Accepted frequencies add (t - e)^2 and e^2; the result is sqrt(sum (t - e)^2 / sum e^2).
///
/// \param theoretical       count magnitudes, m/s
/// \param count             F, number of frequencies
/// \param experimentalCurve at least F values in linear element order, m/s
/// \param modalVelocities   at least F rows, m/s
/// \return the relative RMS misfit, or 1e99 when F < 1, when no frequency is accepted, when
///         the accepted experimental values are all 0, when the experimental curve or the
///         modal velocities are shorter than F, or when the result is not finite
double ModalBandMisfit(const double *theoretical, int count, const CMatrix &experimentalCurve,
    const CMatrix &modalVelocities);

/// Residual, in standard deviations, that a point the profile's modes do not reach counts
/// as at least: such a point is not fitted, however close its value happens to lie.
constexpr double MissedPointResidual = 3.0;

/// Misfit normalised by the data's standard deviations: the root mean square of
/// (t - e) / sigma over every experimental point, so that 1 means "fits within the data's
/// uncertainty". Unlike ModalBandMisfit no point is left out: a point whose theoretical value
/// lies outside the modal band (the band of ModalBandMisfit) or is not finite is a miss and
/// counts as max(MissedPointResidual, |t - e| / sigma) (MissedPointResidual when t is not
/// finite).
///
/// \param theoretical        count magnitudes, m/s
/// \param count              F, number of experimental points
/// \param experimentalCurve  at least F values, m/s
/// \param deviations         at least F standard deviations, m/s
/// \param modalVelocities    at least F rows, m/s
/// \return the normalised misfit (dimensionless, >= 0), or 1e99 when F < 1, when a vector
///         is too short, or when an experimental value is not finite or a standard deviation
///         is not finite and positive
double NormalisedMisfit(const double *theoretical, int count, const CMatrix &experimentalCurve,
    const CMatrix &deviations, const CMatrix &modalVelocities);

} // namespace velamod

#endif // VELA_ENGINE_MISFIT_H
