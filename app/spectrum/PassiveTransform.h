// The slowness-frequency image of an ambient-noise record (passive acquisition).
#ifndef VELA_APP_SPECTRUM_PASSIVETRANSFORM_H
#define VELA_APP_SPECTRUM_PASSIVETRANSFORM_H

#include "matrix/CMatrix.h"

#include <QString>

#include <vector>

/// Number of slowness values of the grid. Its step 0.02 / N s/m is 3.6 m/s at 300 m/s and
/// 10 m/s at 500 m/s, as fine as the 300-value velocity axis the image is drawn on.
constexpr int PassiveSlownessCount = 500;

/// Number of velocities of the image.
constexpr int PassiveVelocityCount = 300;

/// Inputs of the passive transform besides the traces.
struct PassiveParams
{
    double timeStepMs = 0.0; ///< sampling interval [ms], > 0
    /// Distance of every trace column from the first receiver of the line [m] (receiver index
    /// x spacing), one per column.
    std::vector<double> offsets;
    int slownessCount = PassiveSlownessCount; ///< N, >= 2
    /// Length of the Fourier transform of each slowness trace: a power of two (a shorter one
    /// than the record transforms only its first samples); 0 takes the smallest power of two
    /// that holds the whole record, so no sample is lost.
    int transformLength = 0;
    /// When an active spectrum exists, its largest velocity [m/s] and its frequency range [Hz]
    /// bound the passive image so that both can be compared on one page.
    bool activeAnalysed = false;
    double activeMaxVelocity = 0.0;
    double activeFirstFrequency = 0.0;
    double activeLastFrequency = 0.0;
};

/// The image (PassiveVelocityCount rows, one per velocity; one column per frequency; values
/// 0..1) and its axes.
struct PassiveSpectrum
{
    bool ok = false;
    QString message; ///< why the transform was refused, when !ok
    CMatrix image { 0, 0 };
    CMatrix frequencies { 0, 1 }; ///< [Hz], increasing
    CMatrix velocities { 0, 1 }; ///< [m/s], increasing
};

/// Slant stack (tau-p) of a noise record followed by a Fourier transform of every slowness
/// trace. `traces` holds the windowed record, one column per used receiver.
///
/// The slowness grid is p_i = -0.02 + i 0.02 / N s/m (i = 0 .. N-1, velocities -1 / p from
/// 50 m/s to 50 N m/s), stacked together with its mirror +|p_i|: a wave reaches the line from
/// either end, and folding the magnitude of slowness -p with that of +p makes both directions
/// count at one velocity. Each folded frequency column is divided by its mean, resampled onto
/// PassiveVelocityCount velocities from 50 m/s up to 3000 m/s (or the active spectrum's
/// largest velocity), limited to frequencies up to 80 Hz (or the active spectrum's range), and
/// finally scaled to 0..1. A record without variation gives an all-zero image.
/// Refused (ok false, message set) when the parameters do not fit the traces.
PassiveSpectrum ComputePassiveSpectrum(const CMatrix &traces, const PassiveParams &params);

/// Column reduction: output column k of each row takes the largest absolute value among the
/// input columns (C k) / K up to, but excluding, (C (k + 1)) / K (integer division; at least
/// column (C k) / K), for C input and K output columns.
CMatrix PassiveReduceColumns(const CMatrix &image, int outputColumns);

/// The ridge of a passive image read column by column: for every frequency in [fmin, fmax] the
/// velocity of the column's largest value. A flat column (an all-zero record) has no largest
/// value and gives no point. `frequencies` and `velocities` receive n x 1 columns.
void PassivePeakCurve(const CMatrix &image, const CMatrix &frequencyAxis,
    const CMatrix &velocityAxis, double fmin, double fmax, CMatrix &frequencies,
    CMatrix &velocities);

#endif // VELA_APP_SPECTRUM_PASSIVETRANSFORM_H
