// Shot records of a homogeneous ground for the analyse tests: the Rayleigh velocity from the
// closed Rayleigh equation, and a text record of a wavelet travelling at it.
#ifndef VELA_TESTS_CLI_SYNTHETICSHOT_H
#define VELA_TESTS_CLI_SYNTHETICSHOT_H

#include <cmath>
#include <cstdio>
#include <string>

namespace synthshot {

constexpr int Traces = 24;
constexpr int Samples = 1024;
constexpr double TimeStep = 0.001; // [s]
constexpr double Spacing = 2.0; // [m]
constexpr double SourceOffset = 4.0; // [m] from the source to receiver 1
constexpr double Pi = 3.14159265358979323846;

// Rayleigh velocity over Vs of a homogeneous half-space: the root in (0, 1) of the Rayleigh
// equation in xi = (c / Vs)^2, xi^3 - 8 xi^2 + (24 - 16 / k) xi - 16 (1 - 1 / k) = 0 with
// k = (Vp / Vs)^2, found by bisection.
inline double RayleighRatio(double poisson)
{
    const double k = (2.0 - 2.0 * poisson) / (1.0 - 2.0 * poisson);
    const auto f = [k](double xi) {
        return xi * xi * xi - 8.0 * xi * xi + (24.0 - 16.0 / k) * xi - 16.0 * (1.0 - 1.0 / k);
    };
    double low = 1e-6;
    double high = 1.0 - 1e-9;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (low + high);
        if ((f(low) < 0.0) == (f(mid) < 0.0))
            low = mid;
        else
            high = mid;
    }
    return std::sqrt(0.5 * (low + high));
}

// A shot over a homogeneous ground: a Ricker wavelet (25 Hz) travelling along the spread at the
// Rayleigh velocity c, as a text record (time [s], then one column per trace).
inline std::string HalfSpaceShot(double c)
{
    std::string text;
    char number[40];
    for (int s = 0; s < Samples; ++s) {
        const double t = s * TimeStep;
        std::snprintf(number, sizeof number, "%.4f", t);
        text += number;
        for (int j = 0; j < Traces; ++j) {
            const double x = SourceOffset + j * Spacing;
            const double a = Pi * 25.0 * (t - 0.05 - x / c);
            const double value = (1.0 - 2.0 * a * a) * std::exp(-a * a) / std::sqrt(x);
            std::snprintf(number, sizeof number, "\t%.9g", value);
            text += number;
        }
        text += '\n';
    }
    return text;
}

} // namespace synthshot

#endif // VELA_TESTS_CLI_SYNTHETICSHOT_H
