// The two dispersion curves of a profile that a multichannel survey would see: the apparent
// curve of the superposed modes (with its sensitivity to each layer's S velocity) and the
// effective curve picked from the f-k spectrum of a synthetic vertical record.
#ifndef VELA_ENGINE_APPARENTEFFECTIVE_H
#define VELA_ENGINE_APPARENTEFFECTIVE_H

class CMatrix;
class CComplexMatrix;
struct EigenfunctionSet;
struct ModalIntegrals;

/// Number of points of the spatial FFT of the effective curve.
constexpr int EffectiveFftLength = 8192;

/// Apparent phase velocity of the superposed modes at every frequency and offset, and its
/// derivative with respect to the S velocity of every layer.
///
/// At frequency f_i the present modes m (modal velocity c_m != 0) are weighted by
/// A_mn = a_m a_n b_m b_n / (U_m I1_m U_n I1_n), where a and b are the vertical eigenfunction
/// r2 at the first grid rows at or below firstDepth and secondDepth (row 0 when a depth lies
/// below the grid). With theta_mn = omega x (1/c_m - 1/c_n),
/// T_mn = A_mn cos(theta_mn) / sqrt(c_m c_n), S_mn = T_mn (1/c_m + 1/c_n), the apparent
/// velocity is 2 P / J with P = sum T_mn, J = sum S_mn over all ordered pairs. A single
/// present mode gives exactly its own velocity. The sensitivity to layer l is
/// sum_m d(2P/J)/dc_m * dc_m/dbeta_l with the amplitudes held fixed.
///
/// \param frequencies            F values, Hz
/// \param modalVelocities        F x M, m/s (0: absent)
/// \param integrals              of CalcolaIntegraliModali (U, I1, dc/dbeta)
/// \param depthGrid              S x F, m
/// \param eigenfunctions         of CalcolaAutofunzioni
/// \param layerCount             N, layers including the half-space
/// \param receiverOffsets        X values, m
/// \param firstDepth             m
/// \param secondDepth            m
/// \param apparentVelocities     out: F x X, m/s (complex; the modulus is the velocity)
/// \param apparentSensitivities  out: N matrices, each replaced by F x X
/// Throws CMatrixException (kInvalidOperation) when the inputs do not match in size.
void CurvaApparente(const CMatrix &frequencies, const CMatrix &modalVelocities,
    const ModalIntegrals &integrals, const CMatrix &depthGrid,
    const EigenfunctionSet &eigenfunctions, int layerCount, const CMatrix &receiverOffsets,
    double firstDepth, double secondDepth, CComplexMatrix &apparentVelocities,
    CComplexMatrix *apparentSensitivities);

/// Effective phase velocity: the velocity an f-k analysis of a synthetic vertical record of
/// the spread would pick.
///
/// The record at offset x_j is sum_m s_m r2_m e^{i pi/4} e^{-i k_m x_j}
/// / (8 c_m U_m I1_m sqrt(pi k_m / 2)) (the far-field modal sum with the geometric spreading
/// sqrt(x) removed), where s_m = Fz r2_m + i (F1 cos(azimuth) + F2 sin(azimuth)) r1_m and the
/// eigenfunctions are taken at grid row 0. Each frequency's record is zero-padded to
/// EffectiveFftLength points and transformed with the column FFT of CComplexMatrix; the peak
/// bin n* (the highest index among equal maxima) gives kappa = K - n* 2pi/(8192 dx) with
/// K = 2pi/dx, dx = x_1 - x_0. Along frequency, a drop of kappa by more than 0.7 K adds K to it
/// and to every later value. The effective velocity is 2 pi f / kappa.
///
/// \param frequencies        F values, Hz, ascending
/// \param modalVelocities    F x M, m/s (0: absent)
/// \param integrals          of CalcolaIntegraliModali (U, I1)
/// \param eigenfunctions     of CalcolaAutofunzioni
/// \param receiverOffsets    X values, m, equally spaced
/// \param horizontalForce1   F1
/// \param horizontalForce2   F2
/// \param verticalForce      Fz
/// \param azimuth            radians, angle of the spread against F1
/// \param effectiveVelocities out: F x 1, (velocity m/s, 0). A spread that cannot be
///                           transformed (fewer than 2 or more than 8192 offsets, or
///                           x_1 <= x_0) gives an F x 1 zero vector.
void CurvaEffettiva(const CMatrix &frequencies, const CMatrix &modalVelocities,
    const ModalIntegrals &integrals, const EigenfunctionSet &eigenfunctions,
    const CMatrix &receiverOffsets, double horizontalForce1, double horizontalForce2,
    double verticalForce, double azimuth, CComplexMatrix &effectiveVelocities);

#endif // VELA_ENGINE_APPARENTEFFECTIVE_H
