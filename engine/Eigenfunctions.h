// Rayleigh-mode eigenfunctions of a layered half-space sampled on the engine's depth grid,
// their energy integrals, group velocities and the partial derivatives of the phase
// velocity with respect to each layer's S and P velocity.
#ifndef VELA_ENGINE_EIGENFUNCTIONS_H
#define VELA_ENGINE_EIGENFUNCTIONS_H

#include "matrix/CMatrix.h"

#include <complex>
#include <cstddef>
#include <vector>

/// Layered model in m, m/s, half-space last (its thickness is 0).
struct LayeredProfile
{
    int layerCount = 0; ///< N, half-space included
    std::vector<double> thickness, top, density, beta, alpha; ///< N values each
    double halfSpaceTop = 0.0; ///< H = sum of the thicknesses, m
    double betaMax = 0.0; ///< largest S velocity, m/s
};

/// The displacement-stress vector of one mode at one depth, and the depth derivatives of the
/// displacements (per m).
struct EigenfunctionSample
{
    std::complex<double> r1, r2, r3, r4, dr1, dr2;
};

/// Displacement-stress eigenfunctions of every mode at every frequency (the "Autofunzioni").
///
/// Conventions: z positive downwards (m); a mode of wavenumber k moves the ground as
/// u_x = r1(z) e^{i(kx - wt)}, u_z = i r2(z) e^{i(kx - wt)}, with shear stress r3 and normal
/// stress r4 (tau_xz = r3 e^{...}, tau_zz = i r4 e^{...}). The overall scale (and phase) of a
/// mode is arbitrary; every later use divides it out.
///
/// The set holds what defines each mode exactly: the wavenumber used and the amplitudes of
/// the four waves in every layer. Sample() evaluates r1, r2, r3, r4, r1', r2' at any row of
/// the depth grid from them; nothing is tabulated in advance, since the curves need only a
/// few depths and a full table (6 x S x F x M values) would cost more to allocate than to
/// compute.
struct EigenfunctionSet
{
    int depthCount = 0; ///< S = 3 L + 300 depth rows
    int frequencyCount = 0; ///< F
    int modeCount = 0; ///< M
    int layerCount = 0; ///< N = L + 1, half-space included

    LayeredProfile profile; ///< the model the modes belong to
    CMatrix depthGrid; ///< S x F, m (shares the grid of CalcolaAutofunzioni)
    std::vector<double> angularFrequency; ///< F values, rad/s

    /// Wavenumber (rad/m) at which mode m of frequency i was evaluated, at index
    /// ModeIndex(i, m): omega / c, raised by factors of 1.0001 while it makes the phase
    /// velocity coincide with a body-wave velocity; 0 for an absent mode.
    std::vector<double> wavenumber;

    /// Wave amplitudes at index AmplitudeIndex(i, m, layer, w): w = 0 down-going P, 1 down-going
    /// SV (both referred to the top of the layer), 2 up-going P, 3 up-going SV (referred to
    /// the bottom of the layer; always 0 in the half-space).
    std::vector<std::complex<double>> amplitudes;

    std::size_t ModeIndex(int i, int m) const
    {
        return static_cast<std::size_t>(i) * modeCount + m;
    }
    std::size_t AmplitudeIndex(int i, int m, int layer, int wave) const
    {
        return (ModeIndex(i, m) * layerCount + layer) * 4 + wave;
    }

    /// Eigenfunctions of mode m of frequency i at the depth of grid row `row` (column i): rows
    /// 3l..3l+2 lie in finite layer l, the later ones in the half-space. All zero for an
    /// absent mode.
    EigenfunctionSample Sample(int row, int i, int m) const;
};

/// Energy integrals, group velocities and partial derivatives of every mode at every
/// frequency (the "Integrali Modali"). Absent modes hold 0 everywhere.
struct ModalIntegrals
{
    int frequencyCount = 0; ///< F
    int modeCount = 0; ///< M
    int layerCount = 0; ///< N, half-space included

    /// I1 = 1/2 integral of rho (r1^2 + r2^2) dz, at index ModeIndex(i, m) (plain complex
    /// squares; the imaginary part carries only rounding for a true mode).
    std::vector<std::complex<double>> energy;
    /// Group velocity U = (2 k I2 + I3) / (2 omega I1), m/s, at index ModeIndex(i, m).
    std::vector<std::complex<double>> groupVelocity;
    /// dc/dbeta_l and dc/dalpha_l (dimensionless: m/s of phase velocity per m/s of the layer's
    /// S or P velocity, at constant frequency), at index DerivativeIndex(l, i, m).
    std::vector<std::complex<double>> dcdBeta, dcdAlpha;

    std::size_t ModeIndex(int i, int m) const
    {
        return static_cast<std::size_t>(i) * modeCount + m;
    }
    std::size_t DerivativeIndex(int layer, int i, int m) const
    {
        return (static_cast<std::size_t>(layer) * frequencyCount + i) * modeCount + m;
    }
};

/// Rows of the depth grid for L finite layers: 3 L + 300.
int DepthGridRows(int finiteLayerCount);

/// Depth grid and eigenfunctions (wave amplitudes) of every present mode.
///
/// Depth grid (S x F, m): rows 3l, 3l+1, 3l+2 lie at a quarter, half and three quarters of
/// finite layer l; rows 3L..3L+299 are equally spaced from H = sum of thicknesses (exclusive)
/// to zmax(i) = 1.5 max(H, beta_max / f_i) (inclusive), and zmax is at least 30 m.
///
/// Each mode's field is the response of the layered half-space to a vertical surface point
/// force at (omega, k), built with generalized reflection and transmission coefficients
/// (Kennett; Luco and Apsel; Chen 1993): per interface the modified coefficients T_d, T_u,
/// R_du, R_ud with the layers' phase factors folded in, so that no exponential exceeds 1 in
/// modulus; the recursion for the generalized coefficients from the deepest interface up; the
/// surface condition; then the amplitudes downwards. At a modal wavenumber the surface matrix
/// is singular and the field is its null vector, scaled by the force.
///
/// \param frequencies      F values, Hz, ascending
/// \param modalVelocities  F x M, m/s, 0 where a mode does not exist
/// \param thicknesses      at least L values, m (sign ignored)
/// \param densities        N values (any common unit)
/// \param sVelocities      N values, m/s, all > 0 (half-space last); N = number of values
/// \param pVelocities      N values, m/s
/// \param verticalForce    the exciting force; it only scales the field (0 is taken as 1)
/// \param depthGrid        out: S x F, m
/// \param eigenfunctions   out: replaced
/// Throws CMatrixException (kInvalidOperation) when a matrix is too short. The frequencies
/// are processed in parallel (see ForwardParallel.h); the result does not depend on it.
void CalcolaAutofunzioni(const CMatrix &frequencies, const CMatrix &modalVelocities,
    const CMatrix &thicknesses, const CMatrix &densities, const CMatrix &sVelocities,
    const CMatrix &pVelocities, double verticalForce, CMatrix &depthGrid,
    EigenfunctionSet &eigenfunctions);

/// Energy integrals I1, I2, I3, group velocity and per-layer partial derivatives of every
/// present mode.
///
/// The depth integrals are evaluated exactly: in each layer the eigenfunctions are sums of
/// four exponential waves, so every product integrates in closed form, and the half-space
/// integral runs to infinity for a mode that decays with depth (to the grid's last depth
/// otherwise). The kernels are those of Aki and Richards (1980, 7.3):
///   K_beta  = rho beta [(k r2 - r1')^2 - 4 k r1 r2'] / (2 k^2 U I1),
///   K_alpha = rho alpha (k r1 + r2')^2 / (2 k^2 U I1),
/// integrated over each layer (the half-space from its top down). They satisfy
/// sum_l (alpha_l dc/dalpha_l + beta_l dc/dbeta_l) = c^2 / U.
///
/// \param depthGrid       the grid of CalcolaAutofunzioni (its last depth bounds the
///                        half-space integral of a mode that does not decay)
/// \param eigenfunctions  the set of CalcolaAutofunzioni for the same model
/// \param integrals       out: replaced
/// Other parameters as for CalcolaAutofunzioni.
void CalcolaIntegraliModali(const CMatrix &frequencies, const CMatrix &modalVelocities,
    const CMatrix &depthGrid, const EigenfunctionSet &eigenfunctions, const CMatrix &thicknesses,
    const CMatrix &densities, const CMatrix &sVelocities, const CMatrix &pVelocities,
    ModalIntegrals &integrals);

#endif // VELA_ENGINE_EIGENFUNCTIONS_H
