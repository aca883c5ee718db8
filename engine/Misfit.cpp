// Misfit of a theoretical dispersion curve inside the band of the profile's modes.
#include "engine/Misfit.h"

#include "engine/VelamodCode.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velamod {

namespace {

// The band [0.9 x slowest, 1.1 x fastest] of row i of the modal velocities, scanned from
// column 0 up to the first exact 0 after it.
bool InModalBand(const CMatrix &modalVelocities, int i, double t)
{
    const int modes = modalVelocities.GetCols();
    double lowest = modalVelocities(i, 0);
    double highest = lowest;
    for (int m = 1; m < modes; ++m) {
        const double c = modalVelocities(i, m);
        if (c == 0.0)
            break;
        if (c > highest)
            highest = c;
        else if (c < lowest)
            lowest = c;
    }
    return 0.9 * lowest <= t && t <= 1.1 * highest;
}

} // namespace

double NormalisedMisfit(const double *theoretical, int count, const CMatrix &experimentalCurve,
    const CMatrix &deviations, const CMatrix &modalVelocities)
{
    if (count <= 0 || experimentalCurve.GetCount() < count || deviations.GetCount() < count
        || modalVelocities.GetRows() < count || modalVelocities.GetCols() < 1)
        return VelamodCode::NoMisfit;
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        const double e = experimentalCurve(i);
        const double sigma = deviations(i);
        if (!std::isfinite(e) || !std::isfinite(sigma) || !(sigma > 0.0))
            return VelamodCode::NoMisfit;
        const double t = theoretical[i];
        double r = MissedPointResidual;
        if (std::isfinite(t)) {
            r = std::fabs(t - e) / sigma;
            if (!InModalBand(modalVelocities, i, t))
                r = std::max(r, MissedPointResidual);
        }
        sum += r * r;
    }
    const double misfit = std::sqrt(sum / count);
    return std::isfinite(misfit) ? misfit : VelamodCode::NoMisfit;
}

double ModalBandMisfit(const double *theoretical, int count, const CMatrix &experimentalCurve,
    const CMatrix &modalVelocities)
{
    // Too short an experimental curve or modal table would be read past its end.
    if (count <= 0 || experimentalCurve.GetCount() < count || modalVelocities.GetRows() < count
        || modalVelocities.GetCols() < 1)
        return VelamodCode::NoMisfit;
    double squaredDifference = 0.0;
    double squaredExperimental = 0.0;
    const int modes = modalVelocities.GetCols();
    for (int i = 0; i < count; ++i) {
        double lowest = modalVelocities(i, 0);
        double highest = lowest;
        for (int m = 1; m < modes; ++m) {
            const double c = modalVelocities(i, m);
            if (c == 0.0)
                break;
            if (c > highest)
                highest = c;
            else if (c < lowest)
                lowest = c;
        }
        const double t = theoretical[i];
        if (0.9 * lowest <= t && t <= 1.1 * highest) {
            const double e = experimentalCurve(i);
            squaredDifference += (t - e) * (t - e);
            squaredExperimental += e * e;
        }
    }
    if (squaredExperimental == 0.0)
        return VelamodCode::NoMisfit;
    const double misfit = std::sqrt(squaredDifference / squaredExperimental);
    // A non-finite experimental value must not pass for a valid misfit.
    return std::isfinite(misfit) ? misfit : VelamodCode::NoMisfit;
}

} // namespace velamod

double VelamodCode::CalcolaErrore(const CComplexMatrix &theoreticalCurve,
    const CMatrix &experimentalCurve, const CMatrix &modalVelocities) const
{
    try {
        const int count = theoreticalCurve.GetCount();
        std::vector<double> magnitude(static_cast<std::size_t>(count > 0 ? count : 0));
        for (int i = 0; i < count; ++i)
            magnitude[static_cast<std::size_t>(i)] = theoreticalCurve(i).Modulus();
        return velamod::ModalBandMisfit(
            magnitude.data(), count, experimentalCurve, modalVelocities);
    } catch (...) {
        return NoMisfit;
    }
}

double VelamodCode::CalcolaErrore(const CMatrix &theoreticalCurve, const CMatrix &experimentalCurve,
    const CMatrix &modalVelocities) const
{
    try {
        const int count = theoreticalCurve.GetCount();
        std::vector<double> magnitude(static_cast<std::size_t>(count > 0 ? count : 0));
        for (int i = 0; i < count; ++i)
            magnitude[static_cast<std::size_t>(i)] = std::fabs(theoreticalCurve(i));
        return velamod::ModalBandMisfit(
            magnitude.data(), count, experimentalCurve, modalVelocities);
    } catch (...) {
        return NoMisfit;
    }
}
