// An independent Rayleigh mode finder for tests, in double precision and sharing nothing
// with the engine's solver.
#ifndef VELA_TESTS_ENGINE_INDEPENDENTRAYLEIGH_H
#define VELA_TESTS_ENGINE_INDEPENDENTRAYLEIGH_H

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace independent {

/// A layered model in km, km/s and g/cm^3; the last layer is the half-space.
struct IndependentModel
{
    std::vector<double> h, vp, vs, rho;
};

// Independent check: the P-SV motion-stress system dr/dz = A r of Aki and Richards (r1, r2
// horizontal and vertical displacement, r3, r4 shear and normal traction), each layer
// propagated by the matrix exponential of A h in double precision, the half-space closed by
// its left eigenvectors of the growing waves. Its roots in c are the modes. Nothing is shared
// with the solver's compound-matrix formulas. Cancellation limits it to models whose total
// evanescent phase stays moderate, which the cases below respect.

using Matrix4 = std::array<std::array<double, 4>, 4>;

inline Matrix4 Multiply(const Matrix4 &a, const Matrix4 &b)
{
    Matrix4 c {};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int l = 0; l < 4; ++l)
                c[i][j] += a[i][l] * b[l][j];
    return c;
}

inline Matrix4 Exponential(Matrix4 a)
{
    double norm = 0.0;
    for (int j = 0; j < 4; ++j) {
        double column = 0.0;
        for (int i = 0; i < 4; ++i)
            column += std::fabs(a[i][j]);
        norm = std::max(norm, column);
    }
    int squarings = 0;
    while (norm > 0.25) {
        norm *= 0.5;
        ++squarings;
    }
    const double scale = std::ldexp(1.0, -squarings);
    for (auto &row : a)
        for (double &x : row)
            x *= scale;
    Matrix4 sum {}, term {};
    for (int i = 0; i < 4; ++i)
        sum[i][i] = term[i][i] = 1.0;
    for (int order = 1; order <= 20; ++order) {
        term = Multiply(term, a);
        for (auto &row : term)
            for (double &x : row)
                x /= order;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                sum[i][j] += term[i][j];
    }
    for (int s = 0; s < squarings; ++s)
        sum = Multiply(sum, sum);
    return sum;
}

struct Elastic
{
    double mu, lambda, rho;
};

inline Elastic Moduli(const IndependentModel &m, std::size_t i)
{
    const double rho = m.rho[i], beta = m.vs[i], alpha = m.vp[i];
    const double mu = rho * beta * beta;
    return { mu, rho * alpha * alpha - 2.0 * mu, rho };
}

inline Matrix4 SystemMatrix(const Elastic &e, double k, double omega)
{
    const double l2m = e.lambda + 2.0 * e.mu;
    const double zeta = 4.0 * e.mu * (e.lambda + e.mu) / l2m;
    Matrix4 a {};
    a[0] = { 0.0, k, 1.0 / e.mu, 0.0 };
    a[1] = { -k * e.lambda / l2m, 0.0, 0.0, 1.0 / l2m };
    a[2] = { k * k * zeta - omega * omega * e.rho, 0.0, 0.0, k * e.lambda / l2m };
    a[3] = { 0.0, -omega * omega * e.rho, -k, 0.0 };
    return a;
}

// Left eigenvector of A for the eigenvalue s (l A = s l), fourth component 1.
inline std::array<double, 4> LeftEigenvector(const Elastic &e, double k, double omega, double s)
{
    const double l2m = e.lambda + 2.0 * e.mu;
    const double l3 =
        (s * s * l2m - k * k * e.mu + omega * omega * e.rho) / (k * s * (e.lambda + e.mu));
    const double l1 = e.mu * (s * l3 + k);
    const double l2 = (k * l1 - omega * omega * e.rho) / s;
    return { l1, l2, l3, 1.0 };
}

// Determinant whose zeros in c (below the half-space S velocity) are the modes.
inline double HaskellDeterminant(const IndependentModel &m, double omega, double c)
{
    const double k = omega / c;
    Matrix4 p {};
    for (int i = 0; i < 4; ++i)
        p[i][i] = 1.0;
    for (std::size_t i = 0; i < m.h.size(); ++i) {
        Matrix4 a = SystemMatrix(Moduli(m, i), k, omega);
        for (auto &row : a)
            for (double &x : row)
                x *= m.h[i];
        p = Multiply(Exponential(a), p);
    }
    const std::size_t last = m.vs.size() - 1;
    const Elastic half = Moduli(m, last);
    const double nuP = std::sqrt(k * k - omega * omega / (m.vp[last] * m.vp[last]));
    const double nuS = std::sqrt(k * k - omega * omega / (m.vs[last] * m.vs[last]));
    const auto lp = LeftEigenvector(half, k, omega, nuP);
    const auto ls = LeftEigenvector(half, k, omega, nuS);
    double g[2][2];
    for (int column = 0; column < 2; ++column) {
        double gp = 0.0, gs = 0.0;
        for (int i = 0; i < 4; ++i) {
            gp += lp[i] * p[i][column];
            gs += ls[i] * p[i][column];
        }
        g[0][column] = gp;
        g[1][column] = gs;
    }
    return g[0][0] * g[1][1] - g[0][1] * g[1][0];
}

// Roots in c of the determinant between cLow and just below the half-space S velocity.
inline std::vector<double> IndependentModes(
    const IndependentModel &m, double frequency, double cLow)
{
    const double omega = 6.283185307179586 * frequency;
    const double cHigh = m.vs.back() * (1.0 - 1e-7);
    std::vector<double> roots;
    const int samples = 20000;
    double previousC = cLow, previous = HaskellDeterminant(m, omega, cLow);
    for (int i = 1; i <= samples; ++i) {
        const double c = cLow + (cHigh - cLow) * i / samples;
        const double value = HaskellDeterminant(m, omega, c);
        if ((value > 0) != (previous > 0)) {
            double a = previousC, b = c, fa = previous;
            for (int it = 0; it < 60; ++it) {
                const double mid = 0.5 * (a + b), fm = HaskellDeterminant(m, omega, mid);
                if ((fm > 0) == (fa > 0)) {
                    a = mid;
                    fa = fm;
                } else {
                    b = mid;
                }
            }
            roots.push_back(0.5 * (a + b));
        }
        previousC = c;
        previous = value;
    }
    return roots;
}

} // namespace independent

#endif // VELA_TESTS_ENGINE_INDEPENDENTRAYLEIGH_H
