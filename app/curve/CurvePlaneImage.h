// The dispersion spectrum resampled onto the curve page's chart plane (frequency against
// phase velocity, or against slowness x 1000), so that picked bars sit on the energy ridge.
#ifndef VELA_APP_CURVE_CURVEPLANEIMAGE_H
#define VELA_APP_CURVE_CURVEPLANEIMAGE_H

#include "app/curve/CurveTable.h"

#include <cstdint>
#include <vector>

class DispersionAnalysis;

/// Pixels (0xAARRGGBB, top row first) over a rectangle in the plane's units.
struct PlaneImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    double left = 0.0; ///< [Hz]
    double right = 0.0; ///< [Hz]
    double bottom = 0.0; ///< velocity [m/s] or slowness x 1000 [s/m]
    double top = 0.0;

    bool IsEmpty() const { return pixels.empty(); }
};

/// The plane's extent used for the image: frequencies up to min(100 Hz, the spectrum's
/// highest), velocities 0 .. maxVelocity, slownesses x 1000 0 .. 1000 / minVelocity.
struct PlaneExtent
{
    double maxFrequency = 100.0; ///< [Hz]
    double minVelocity = 50.0; ///< [m/s], for the slowness plane
    double maxVelocity = 1000.0; ///< [m/s]
};

/// The extent suited to a curve picked on the spectrum: velocities up to 2.5 times the median
/// plausible picked velocity (5 .. 2000 m/s), at least 500 m/s; slownesses up to that of half
/// the smallest plausible one.
PlaneExtent PlaneExtentFor(const CMatrix &pickedVelocities);

/// Resamples the active f-k spectrum (when the analysed flag is set) or else the passive image
/// (when the passive prepared flag is set) onto the plane, width x height pixels: at frequency
/// f and velocity v the amplitude at wavenumber 2 pi f / v, interpolated between the
/// neighbouring frequency rows and wavenumber columns; wavenumbers beyond the spatial Nyquist
/// are left dark. Each frequency is scaled to its largest amplitude and coloured with the
/// spectrum page's map. Empty when there is no spectrum.
PlaneImage MakePlaneImage(const DispersionAnalysis &analysis, CurvePlane plane,
    const PlaneExtent &extent, int width = 300, int height = 300);

#endif // VELA_APP_CURVE_CURVEPLANEIMAGE_H
