// Experimental dispersion curves for vela-cli: one point per line, ascending frequency.
#ifndef VELA_CLI_CLICURVEFILE_H
#define VELA_CLI_CLICURVEFILE_H

#include <string>
#include <vector>

/// A curve file as read. Points without bounds have hasBounds false and min/max 0.
struct CliCurve
{
    std::vector<double> frequencies; ///< [Hz], strictly increasing
    std::vector<double> velocities; ///< [m/s], positive
    std::vector<double> minimum, maximum; ///< velocity bounds [m/s], when given
    std::vector<bool> hasBounds;

    int PointCount() const { return static_cast<int>(frequencies.size()); }
};

/// Most points a curve file may hold: beyond this it is certainly not a picked curve.
constexpr int CliCurveMaxPoints = 10000;

/// Reads a curve file: lines "frequency velocity [min max]", numbers separated by blanks,
/// tabs or commas and read without regard to the locale; blank lines and lines whose first
/// non-blank character is '#' or '%' are ignored.
/// Fails, with a one-line message naming the file (and the line where there is one), on: a
/// file that cannot be read, a line of other than 2 or 4 numbers, a token that is not a
/// finite number, a frequency that is not positive or does not exceed the previous one, a
/// velocity that is not positive, a maximum that does not exceed the minimum, no point at
/// all, and more than CliCurveMaxPoints points.
/// \return true and `curve` filled, or false and `error` set
bool ReadCliCurveFile(const std::string &path, CliCurve &curve, std::string &error);

/// The standard deviation of each point for the automatic search: a sixth of the bounds'
/// width where bounds are given, else `relativeWithoutBounds` times the velocity.
std::vector<double> CliCurveDeviations(const CliCurve &curve, double relativeWithoutBounds);

#endif // VELA_CLI_CLICURVEFILE_H
