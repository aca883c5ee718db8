// Guided picking of a dispersion curve on a frequency-velocity image: the ridge is followed
// from its clearest frequency towards both ends of the band.
#ifndef VELA_APP_SPECTRUM_GUIDEDPICK_H
#define VELA_APP_SPECTRUM_GUIDEDPICK_H

#include "matrix/CMatrix.h"

#include <vector>

/// How the ridge is followed.
struct GuidedPickOptions
{
    double minFrequency = 0.0; ///< band [Hz]
    double maxFrequency = 0.0; ///< band [Hz]
    /// Half-width of the search window around the previous pick, as a fraction of its
    /// velocity. Small enough that an aliased branch or a higher mode, which stand well apart
    /// in velocity, cannot take over from one column to the next.
    double window = 0.05;
    /// The fundamental mode is the slowest: where a slower ridge within this fraction below
    /// the previous pick is nearly as strong as the window's peak (slowerModeRatio of it), as
    /// at a mode osculation, the pick moves onto that slower ridge.
    double slowerModeReach = 0.15;
    double slowerModeRatio = 0.8;
    /// A point is left out when its peak is less than this many times the mean of its column.
    double minContrast = 1.5;
    /// The bounds of a point are where the image falls below this fraction of the peak.
    double boundLevel = 0.9;
};

/// One picked point. lower <= velocity <= upper.
struct GuidedPickPoint
{
    double frequency = 0.0; ///< [Hz]
    double velocity = 0.0; ///< [m/s], refined between grid rows by a parabola through the peak
    double lower = 0.0; ///< [m/s]
    double upper = 0.0; ///< [m/s]
};

/// Follows the ridge of `image` (one row per velocity of `velocities`, increasing; one column
/// per frequency of `frequencies`, increasing; values >= 0).
///
/// The start is the column inside the band whose maximum stands out most against the column's
/// mean; from there each neighbouring column, first towards lower then towards higher
/// frequencies, takes its largest value within `window` of the previous pick, or a slower
/// local maximum within slowerModeReach below it that reaches slowerModeRatio of that value
/// (the strongest such). Weak points
/// (contrast below minContrast) are left out of the result, and the following column searches
/// around the last kept pick. Points come out in increasing frequency. An image with no
/// column in the band, or whose columns are all flat, gives no point.
std::vector<GuidedPickPoint> GuidedPick(const CMatrix &image, const CMatrix &frequencies,
    const CMatrix &velocities, const GuidedPickOptions &options);

#endif // VELA_APP_SPECTRUM_GUIDEDPICK_H
