// Statistics of a set of layered profiles.
#include "engine/Ensemble.h"

#include "matrix/CMatrix.h"

#include <algorithm>
#include <cmath>

namespace velamod {

namespace {

constexpr double Vs30Depth = 30.0;

} // namespace

double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const double position = std::clamp(p, 0.0, 1.0) * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return values[below] + fraction * (values[above] - values[below]);
}

double Vs30(const CMatrix &thicknesses, const CMatrix &velocities, double referenceDepth)
{
    const int layers = thicknesses.GetCount();
    const double from = std::max(0.0, referenceDepth);
    const double to = from + Vs30Depth;
    double top = 0.0;
    double travelTime = 0.0;
    for (int l = 0; l < layers; ++l) {
        const double bottom = top + thicknesses(l);
        const double inside = std::min(bottom, to) - std::max(top, from);
        if (inside > 0.0)
            travelTime += inside / velocities(l);
        top = bottom;
    }
    const double belowLayers = to - std::max(top, from);
    if (belowLayers > 0.0)
        travelTime += belowLayers / velocities(layers);
    return Vs30Depth / travelTime;
}

double DepthOfInvestigation(const CMatrix &frequencies, const CMatrix &velocities)
{
    double longest = 0.0;
    const int count = std::min(frequencies.GetCount(), velocities.GetCount());
    for (int i = 0; i < count; ++i) {
        const double f = frequencies(i), v = velocities(i);
        if (std::isfinite(f) && std::isfinite(v) && f > 0.0 && v > 0.0)
            longest = std::max(longest, v / f);
    }
    return 0.5 * longest;
}

VelocityBand EnsembleBand(const CMatrix &thicknesses, const std::vector<CMatrix> &profiles)
{
    VelocityBand band;
    if (profiles.empty())
        return band;
    const int layers = profiles.front().GetCount();
    double top = 0.0;
    std::vector<double> column(profiles.size());
    for (int l = 0; l < layers; ++l) {
        const double h = l < thicknesses.GetCount() ? thicknesses(l) : 0.0;
        for (std::size_t k = 0; k < profiles.size(); ++k)
            column[k] = profiles[k](l);
        band.top.push_back(top);
        band.bottom.push_back(top + h);
        band.p10.push_back(Percentile(column, 0.1));
        band.median.push_back(Percentile(column, 0.5));
        band.p90.push_back(Percentile(column, 0.9));
        top += h;
    }
    return band;
}

} // namespace velamod
