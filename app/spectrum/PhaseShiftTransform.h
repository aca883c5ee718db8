// The phase-shift dispersion image of an active shot: frequency against phase velocity.
#ifndef VELA_APP_SPECTRUM_PHASESHIFTTRANSFORM_H
#define VELA_APP_SPECTRUM_PHASESHIFTTRANSFORM_H

#include "matrix/CMatrix.h"

#include <QString>

#include <vector>

/// What the phase-shift transform needs besides the traces.
struct PhaseShiftParams
{
    double timeStepMs = 0.0; ///< sampling interval [ms], > 0
    /// True source-receiver distance of every trace column [m] (source offset + receiver
    /// position), one per column of the traces.
    std::vector<double> offsets;
    double minVelocity = 50.0; ///< [m/s], > 0
    double maxVelocity = 1000.0; ///< [m/s], > minVelocity
    /// [m/s]; 1 m/s keeps the grid within 0.5 % of any velocity above 200 m/s.
    double velocityStep = 1.0;
    double minFrequency = 1.0; ///< lowest frequency of the image [Hz], >= 0
    double maxFrequency = 100.0; ///< highest frequency of the image [Hz], above minFrequency
};

/// The image and its axes. `image` has one row per velocity and one column per frequency;
/// values run from 0 (no coherence) to 1 (every trace in phase along that velocity).
struct PhaseShiftImage
{
    bool ok = false;
    QString message; ///< why the transform was refused, when !ok
    CMatrix image { 0, 0 };
    CMatrix frequencies { 0, 1 }; ///< [Hz], one per image column, increasing
    CMatrix velocities { 0, 1 }; ///< [m/s], one per image row, increasing
};

/// The receiver distances from the source for a line of equally spaced receivers:
/// element j = sourceOffset + (firstReceiver + j) x spacing, for `count` receivers [m].
std::vector<double> PhaseShiftOffsets(
    double sourceOffset, double spacing, int firstReceiver, int count);

/// Phase-shift transform (Park, Miller and Xia 1998, "Imaging dispersion curves of surface
/// waves on multi-channel record"). Every trace (a column of `traces`, samples x traces) is
/// Fourier transformed, each spectral value is normalised to unit amplitude, and for every
/// trial phase velocity v the normalised spectra are summed with the phase shift
/// exp(+i 2 pi f x_j / v) that undoes the travel time to offset x_j. The modulus of the sum
/// divided by the number of traces is the image value at (v, f).
///
/// Frequencies are the bins of the zero-padded (next power of two) transform inside the
/// requested band, the 0 Hz bin excluded; velocities run from minVelocity by velocityStep up to
/// maxVelocity. A spectral value of exactly zero adds nothing, so an all-zero record gives an
/// all-zero image. Refused (ok false, message set) when the parameters or the offsets do not
/// fit the traces.
PhaseShiftImage ComputePhaseShiftImage(const CMatrix &traces, const PhaseShiftParams &params);

#endif // VELA_APP_SPECTRUM_PHASESHIFTTRANSFORM_H
