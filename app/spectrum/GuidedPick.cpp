// Guided ridge picking on a frequency-velocity image.

#include "app/spectrum/GuidedPick.h"

#include <algorithm>
#include <cmath>

namespace {

double ColumnMean(const CMatrix &image, int column)
{
    double sum = 0.0;
    for (int r = 0; r < image.GetRows(); ++r)
        sum += image(r, column);
    return sum / image.GetRows();
}

// The row range [first, last] of the velocities within `window` of `velocity`; at least the
// row nearest to it.
void WindowRows(const CMatrix &velocities, double velocity, double window, int &first, int &last)
{
    const int rows = velocities.GetRows();
    first = rows;
    last = -1;
    for (int r = 0; r < rows; ++r) {
        if (std::fabs(velocities(r) - velocity) <= window * velocity) {
            first = std::min(first, r);
            last = std::max(last, r);
        }
    }
    if (last < 0) {
        int nearest = 0;
        for (int r = 1; r < rows; ++r) {
            if (std::fabs(velocities(r) - velocity) < std::fabs(velocities(nearest) - velocity))
                nearest = r;
        }
        first = last = nearest;
    }
}

int PeakRow(const CMatrix &image, int column, int first, int last)
{
    int best = first;
    for (int r = first + 1; r <= last; ++r) {
        if (image(r, column) > image(best, column))
            best = r;
    }
    return best;
}

// The strongest local maximum of the column slower than row `below` and not slower than
// `slowest` [m/s] that reaches `level`; -1 when there is none.
int SlowerRidge(const CMatrix &image, const CMatrix &velocities, int column, int below,
    double slowest, double level)
{
    int best = -1;
    for (int r = 1; r < below && r < image.GetRows() - 1; ++r) {
        if (velocities(r) < slowest)
            continue;
        const double value = image(r, column);
        if (value >= level && value >= image(r - 1, column) && value > image(r + 1, column)
            && (best < 0 || value > image(best, column)))
            best = r;
    }
    return best;
}

// The velocity where the column falls below `level` going from the peak row in direction
// `step`, linearly interpolated between rows; the end of the axis when it never does.
double BoundVelocity(
    const CMatrix &image, const CMatrix &velocities, int column, int peak, int step, double level)
{
    int r = peak;
    while (r + step >= 0 && r + step < image.GetRows()) {
        const double here = image(r, column);
        const double next = image(r + step, column);
        if (next < level) {
            const double t = here > next ? (here - level) / (here - next) : 0.0;
            return velocities(r) + t * (velocities(r + step) - velocities(r));
        }
        r += step;
    }
    return velocities(r);
}

// The peak's velocity refined by the vertex of the parabola through the peak row and its two
// neighbours (rows equally spaced in velocity, as every image here has them).
double RefinedVelocity(const CMatrix &image, const CMatrix &velocities, int column, int peak)
{
    if (peak <= 0 || peak >= image.GetRows() - 1)
        return velocities(peak);
    const double below = image(peak - 1, column);
    const double top = image(peak, column);
    const double above = image(peak + 1, column);
    const double curvature = below - 2.0 * top + above;
    if (!(curvature < 0.0))
        return velocities(peak);
    const double shift = std::clamp(0.5 * (below - above) / curvature, -0.5, 0.5);
    const double step = velocities(peak + 1) - velocities(peak);
    return velocities(peak) + shift * step;
}

} // namespace

std::vector<GuidedPickPoint> GuidedPick(const CMatrix &image, const CMatrix &frequencies,
    const CMatrix &velocities, const GuidedPickOptions &options)
{
    std::vector<GuidedPickPoint> points;
    const int rows = image.GetRows();
    const int columns = image.GetCols();
    if (rows < 1 || columns < 1 || frequencies.GetCount() != columns
        || velocities.GetCount() != rows)
        return points;

    int firstColumn = columns;
    int lastColumn = -1;
    for (int c = 0; c < columns; ++c) {
        if (frequencies(c) >= options.minFrequency && frequencies(c) <= options.maxFrequency) {
            firstColumn = std::min(firstColumn, c);
            lastColumn = std::max(lastColumn, c);
        }
    }
    if (lastColumn < 0)
        return points;

    std::vector<double> contrast(static_cast<size_t>(columns), 0.0);
    int start = -1;
    for (int c = firstColumn; c <= lastColumn; ++c) {
        const double mean = ColumnMean(image, c);
        const double peak = image.ColMax(c);
        contrast[static_cast<size_t>(c)] = mean > 0.0 ? peak / mean : 0.0;
        if (contrast[static_cast<size_t>(c)] > 1.0
            && (start < 0
                || contrast[static_cast<size_t>(c)] > contrast[static_cast<size_t>(start)]))
            start = c;
    }
    if (start < 0)
        return points;

    auto pickColumn = [&](int column, int peak) {
        GuidedPickPoint point;
        point.frequency = frequencies(column);
        point.velocity = RefinedVelocity(image, velocities, column, peak);
        const double level = options.boundLevel * image(peak, column);
        point.lower =
            std::min(point.velocity, BoundVelocity(image, velocities, column, peak, -1, level));
        point.upper =
            std::max(point.velocity, BoundVelocity(image, velocities, column, peak, +1, level));
        return point;
    };
    auto strongEnough = [&](int column, int peak) {
        const double mean = ColumnMean(image, column);
        return mean > 0.0 && image(peak, column) >= options.minContrast * mean;
    };

    int startPeak = 0;
    image.ColMax(start, &startPeak);
    std::vector<GuidedPickPoint> lower;
    std::vector<GuidedPickPoint> upper;
    for (int direction : { -1, +1 }) {
        double previous = velocities(startPeak);
        for (int c = start + direction; c >= firstColumn && c <= lastColumn; c += direction) {
            int first = 0;
            int last = 0;
            WindowRows(velocities, previous, options.window, first, last);
            int peak = PeakRow(image, c, first, last);
            const int slower =
                SlowerRidge(image, velocities, c, first, previous * (1.0 - options.slowerModeReach),
                    options.slowerModeRatio * image(peak, c));
            if (slower >= 0)
                peak = slower;
            if (!strongEnough(c, peak))
                continue;
            previous = velocities(peak);
            (direction < 0 ? lower : upper).push_back(pickColumn(c, peak));
        }
    }

    points.assign(lower.rbegin(), lower.rend());
    if (strongEnough(start, startPeak))
        points.push_back(pickColumn(start, startPeak));
    points.insert(points.end(), upper.begin(), upper.end());
    return points;
}
