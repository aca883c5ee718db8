// The forward computation of the engine: Rayleigh modes, eigenfunctions, apparent and
// effective dispersion curves of one layered profile.
#ifndef VELA_ENGINE_MODALCURVES_H
#define VELA_ENGINE_MODALCURVES_H

#include <functional>
#include <string>

class CMatrix;
class CComplexMatrix;

/// How the forward computation reports to its host. Both members may be empty.
struct ForwardReporter
{
    /// Called with the progress step numbers 1 (before the solver), 4 (eigenfunctions),
    /// 5 (integrals), 3 (apparent curve) and 2 (effective curve), in that order; the
    /// engine object forwards them to SegnalaStep.
    std::function<void(int stepNumber)> step;
    /// Receives the messages meant for the user ("Modes not found!"); when empty they are
    /// written to standard error. The engine never opens a window.
    std::function<void(const std::string &message)> message;
};

/// Failure code of CalcolaCurveModali.
constexpr int ForwardComputationFailed = -1;

/// The message of a profile without a fundamental mode at some frequency.
inline constexpr const char *ModesNotFoundMessage = "Modes not found!";

/// Forward computation of one layered profile.
///
/// Converts the profile to km and km/s for SolveRayleighModes, turns its rows back into
/// ascending frequency and m/s, then computes the eigenfunctions (CalcolaAutofunzioni),
/// their integrals (CalcolaIntegraliModali), the apparent curve (CurvaApparente) and, when
/// asked, the effective curve (CurvaEffettiva), reporting the steps 1, 4, 5, 3, 2.
///
/// \param showMessages           true: "Modes not found!" and input errors go to
///                               reporter.message
/// \param thicknesses            L x 1, m (L = N - 1)
/// \param densities              N x 1 (any common unit; the host divides kg/m^3 by 1000)
/// \param pVelocities            N x 1, m/s, half-space last
/// \param sVelocities            N x 1, m/s, half-space last; N = its element count (1..99)
/// \param frequencies            F x 1, Hz, ascending, distinct, positive
/// \param receiverOffsets        X x 1, m, source-to-receiver distances (equally spaced for
///                               the effective curve)
/// \param horizontalForce1       F1 of the source (effective curve only)
/// \param horizontalForce2       F2 of the source (effective curve only)
/// \param verticalForce          Fz of the source; also scales the eigenfunctions
/// \param azimuth                radians, spread against F1 (effective curve only)
/// \param firstDepth             m, depth of one end of the apparent-curve path
/// \param secondDepth            m, depth of the other end
/// \param modeCount              M >= 1, modes to compute
/// \param refinement             refinement factor of the solver (below 1 means 5)
/// \param modalVelocities        out: F x M, m/s, 0 where a mode does not exist
/// \param depthGrid              out: (3 L + 300) x F, m
/// \param apparentVelocities     out: F x X, m/s
/// \param apparentSensitivities  out: caller's array of at least N matrices, each F x X (may
///                               be null when the sensitivities are not wanted)
/// \param effectiveVelocities    out: F x 1, m/s (a zero vector when not computed)
/// \param computeEffective       true computes the effective curve
/// \param reporter               progress and message sinks
/// \return 0, or ForwardComputationFailed when some frequency has no fundamental mode, the
///         profile is not valid (sizes, non-finite or non-positive values), or a matrix
///         error was raised. On a failure the outputs after modalVelocities are left as they
///         were.
int CalcolaCurveModali(bool showMessages, const CMatrix &thicknesses, const CMatrix &densities,
    const CMatrix &pVelocities, const CMatrix &sVelocities, const CMatrix &frequencies,
    const CMatrix &receiverOffsets, double horizontalForce1, double horizontalForce2,
    double verticalForce, double azimuth, double firstDepth, double secondDepth, long modeCount,
    float refinement, CMatrix *modalVelocities, CMatrix *depthGrid,
    CComplexMatrix *apparentVelocities, CComplexMatrix *apparentSensitivities,
    CComplexMatrix *effectiveVelocities, bool computeEffective,
    const ForwardReporter &reporter = {});

/// Checks the inputs of a forward computation: 1 to 99 layers with matching counts, finite
/// values, S velocities and densities > 0, P velocities above the S velocities, at least one
/// finite frequency in ascending order, 1 to 2000 modes, at least one finite offset.
/// \return an empty string when valid, otherwise a one-line reason
std::string CheckForwardProfile(const CMatrix &thicknesses, const CMatrix &densities,
    const CMatrix &pVelocities, const CMatrix &sVelocities, const CMatrix &frequencies,
    const CMatrix &receiverOffsets, long modeCount);

#endif // VELA_ENGINE_MODALCURVES_H
