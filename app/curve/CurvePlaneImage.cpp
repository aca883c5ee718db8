#include "app/curve/CurvePlaneImage.h"

#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/FkSpectrum.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double TwoPi = 6.283192; // as the wavenumber axis is built
constexpr int SpatialSize = 256;

/// Amplitude of the active spectrum at frequency f [Hz] and wavenumber k [rad/m] (k >= 0),
/// bilinear between rows and columns; 0 outside.
double ActiveAmplitude(const ShotRecord &rec, double f, double k)
{
    const CMatrix &s = rec.spectrum;
    const int rows = s.GetRows();
    const double df = 1000.0 / (rec.timeSize * rec.timeStep);
    const double kn = rec.wavenumberAxis(0);
    if (!(kn > 0.0) || !(df > 0.0) || k < 0.0 || k > kn)
        return 0.0;
    const double r = f / df;
    if (r < 0.0 || r > rows - 1)
        return 0.0;
    // Shifted index s = 128 (1 - k / kN); FFT column s + 128, wrapping to 0 at s = 128.
    const double shifted = 128.0 * (1.0 - k / kn);
    const int s0 = std::clamp(static_cast<int>(std::floor(shifted)), 0, 127);
    const double ts = std::clamp(shifted - s0, 0.0, 1.0);
    const int c0 = s0 + 128;
    const int c1 = (c0 + 1) % SpatialSize;
    const int r0 = std::clamp(static_cast<int>(std::floor(r)), 0, rows - 1);
    const int r1 = std::min(r0 + 1, rows - 1);
    const double tr = r - r0;
    const double a0 = s(r0, c0) + ts * (s(r0, c1) - s(r0, c0));
    const double a1 = s(r1, c0) + ts * (s(r1, c1) - s(r1, c0));
    return a0 + tr * (a1 - a0);
}

/// Index of the axis value nearest to x, or -1 when x lies outside the axis by more than
/// half a step.
int Nearest(const CMatrix &axis, double x)
{
    const int n = axis.GetCount();
    if (n == 0)
        return -1;
    int best = 0;
    for (int i = 1; i < n; ++i)
        if (std::abs(axis(i) - x) < std::abs(axis(best) - x))
            best = i;
    const double step = n > 1 ? std::abs(axis(n - 1) - axis(0)) / (n - 1) : 0.0;
    return std::abs(axis(best) - x) <= 0.5 * step + 1e-12 ? best : -1;
}

double PassiveAmplitude(const DispersionAnalysis &a, double f, double v)
{
    const CMatrix &p = a.m_passiveImage;
    const int nf = a.m_passiveFrequencyAxis.GetCount();
    const int nv = a.m_passiveVelocityAxis.GetCount();
    const int i = Nearest(a.m_passiveFrequencyAxis, f);
    const int j = Nearest(a.m_passiveVelocityAxis, v);
    if (i < 0 || j < 0)
        return 0.0;
    if (p.GetRows() == nf && p.GetCols() == nv)
        return p(i, j);
    if (p.GetRows() == nv && p.GetCols() == nf)
        return p(j, i);
    return 0.0;
}

} // namespace

PlaneExtent PlaneExtentFor(const CMatrix &pickedVelocities)
{
    PlaneExtent extent;
    std::vector<double> plausible;
    for (int i = 0; i < pickedVelocities.GetCount(); ++i) {
        const double v = pickedVelocities(i);
        if (v >= 5.0 && v <= 2000.0)
            plausible.push_back(v);
    }
    if (plausible.empty())
        return extent;
    // The median keeps a few aliased picks from stretching the plane.
    std::sort(plausible.begin(), plausible.end());
    const double median = plausible[plausible.size() / 2];
    extent.maxVelocity = std::max(500.0, 2.5 * median);
    extent.minVelocity = std::max(20.0, 0.5 * plausible.front());
    return extent;
}

PlaneImage MakePlaneImage(const DispersionAnalysis &analysis, CurvePlane plane,
    const PlaneExtent &extent, int width, int height)
{
    PlaneImage image;
    const ShotRecord &rec = analysis.m_active;
    const bool active = analysis.m_bAnalysed && rec.spectrum.GetRows() > 1
        && rec.spectrum.GetCols() == SpatialSize && rec.wavenumberAxis.GetRows() == SpatialSize
        && rec.timeSize > 0 && rec.timeStep > 0.0;
    const bool passive =
        !active && analysis.m_bPassivePrepared && !analysis.m_passiveImage.IsEmpty();
    if ((!active && !passive) || width <= 0 || height <= 0)
        return image;

    double maxFrequency = extent.maxFrequency;
    if (active)
        maxFrequency = std::min(maxFrequency, rec.frequencyAxis(rec.spectrum.GetRows() - 1));
    else if (analysis.m_passiveFrequencyAxis.GetCount() > 0)
        maxFrequency = std::min(maxFrequency, analysis.m_passiveFrequencyAxis.Max().MaxAll());
    if (!(maxFrequency > 0.0))
        return image;
    image.left = 0.0;
    image.right = maxFrequency;
    image.bottom = 0.0;
    image.top =
        plane == CurvePlane::FrequencyVelocity ? extent.maxVelocity : 1000.0 / extent.minVelocity;

    std::vector<double> values(static_cast<std::size_t>(width) * height, 0.0);
    for (int py = 0; py < height; ++py) {
        const double y = image.top - (py + 0.5) / height * (image.top - image.bottom);
        const double v = plane == CurvePlane::FrequencyVelocity ? y : 1000.0 / y;
        for (int px = 0; px < width; ++px) {
            const double f = image.left + (px + 0.5) / width * (image.right - image.left);
            const double value =
                active ? ActiveAmplitude(rec, f, TwoPi * f / v) : PassiveAmplitude(analysis, f, v);
            values[static_cast<std::size_t>(py) * width + px] = value;
        }
    }
    // Each frequency is scaled to its own largest amplitude: the ridge then shows at every
    // frequency, not only where the source put most energy.
    for (int px = 0; px < width; ++px) {
        double largest = 0.0;
        for (int py = 0; py < height; ++py)
            largest = std::max(largest, values[static_cast<std::size_t>(py) * width + px]);
        for (int py = 0; py < height; ++py) {
            double &value = values[static_cast<std::size_t>(py) * width + px];
            value = largest > 0.0 ? value / largest : 0.0;
        }
    }
    image.width = width;
    image.height = height;
    image.pixels.resize(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        image.pixels[i] = SpectrumColourOf(values[i]);
    return image;
}
