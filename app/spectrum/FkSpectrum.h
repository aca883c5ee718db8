// The frequency-wavenumber spectrum of an active shot: transform, band check, picking of the
// strongest wavenumber per frequency, the colour image and the two text exports.
#ifndef VELA_APP_SPECTRUM_FKSPECTRUM_H
#define VELA_APP_SPECTRUM_FKSPECTRUM_H

#include "matrix/CMatrix.h"

#include <QString>

#include <cstdint>
#include <vector>

struct ShotRecord;

/// Computes spectrum, frequency axis and wavenumber axis of a prepared active record from its
/// windowed traces (time size x 256) and receiver offsets: cosine ramps of 51 samples at both
/// ends of the window, a Hann window over the 256 columns, sqrt(offset) spreading correction,
/// 2-D FFT, modulus of the first timeSize / 2 rows. Returns false, leaving the record as it
/// was, when the record is not a prepared active one (time size below 2, not 256 columns,
/// time step or receiver spacing not positive).
bool ComputeFkSpectrum(ShotRecord &rec);

/// The band limits as the spectrum page reads them from its two fields.
struct SpectrumBand
{
    double low = 0.0; ///< [Hz]
    double high = 0.0; ///< [Hz]
    /// Every failing rule's message, each ending in CR LF, in the rules' order; empty when the
    /// band is valid.
    QString errors;
};

/// The highest frequency the band may reach: 1000 x rows / (2 x (N / 2) x dt) [Hz].
double SpectrumMaxFrequency(const ShotRecord &rec);

/// Reads and checks the band fields (numbers with "," read as ".") against the record.
SpectrumBand CheckSpectrumBand(
    const QString &lowText, const QString &highText, const ShotRecord &rec);

/// The curve picked on the spectrum: one point per frequency row of the band, the phase
/// velocity of the strongest wavenumber. Column vectors of equal length, increasing frequency.
struct PickedCurve
{
    CMatrix velocities { 0, 1 }; ///< [m/s]
    CMatrix frequencies { 0, 1 }; ///< [Hz]
};

/// Picks rows floor(low / df) to ceil(high / df) (at most the last). A row whose strongest
/// column is the zero wavenumber has no finite velocity and gives no point.
PickedCurve PickSpectrumCurve(const ShotRecord &rec, double low, double high);

/// The spectrum image as the page shows it: wavenumbers 0 .. k_N from left to right (FFT
/// columns 255 down to 128), frequencies up to 90 Hz increasing upwards, amplitudes clipped at
/// twice the block's mean, scaled to the largest remaining one, through the 64-colour map.
struct SpectrumImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; ///< 0xAARRGGBB, top row first
    double maxWavenumber = 0.0; ///< right edge [rad/m]
    double maxFrequency = 0.0; ///< top edge: rows x frequency step [Hz]
};

SpectrumImage MakeSpectrumImage(const ShotRecord &rec);

/// Entry e (0..63) of the colour map, opaque, 0xAARRGGBB.
std::uint32_t SpectrumColour(int entry);

/// Colour of a value in 0..1: entry floor(64 x value), at most 63 (negative gives 0).
std::uint32_t SpectrumColourOf(double value);

/// The chart's data export of the picked curve: "%Experimental dispersion curve", the size
/// line, the header, "frequency velocity" lines, the closing line; CR LF line ends. The file is
/// created or replaced; returns false when it cannot be written.
bool WritePickedCurveText(
    const QString &path, const CMatrix &frequencies, const CMatrix &velocities);

/// The chart's data export of the spectrum: amplitude, frequency and wavenumber per element,
/// row by row. The file is created or replaced; returns false when it cannot be written.
bool WriteSpectrumText(const QString &path, const ShotRecord &rec);

#endif // VELA_APP_SPECTRUM_FKSPECTRUM_H
