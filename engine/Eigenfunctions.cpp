// Rayleigh-mode eigenfunctions by generalized reflection and transmission coefficients, and
// their energy integrals, group velocities and partial derivatives.
//
// The P-SV field of a homogeneous layer is a sum of four exponential waves (down- and up-going
// P and SV) with vertical wavenumbers nu = sqrt(k^2 - omega^2/v^2), Re nu >= 0. Down-going
// amplitudes are referred to the top of their layer and up-going ones to its bottom, so every
// phase factor e^{-nu d} has modulus at most 1 and the recursion stays stable at any
// frequency (Kennett 1983; Luco and Apsel 1983; Chen 1993; Hisada 1994).
#include "engine/Eigenfunctions.h"

#include "engine/ForwardParallel.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"
#include "matrix/MatrixError.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

using Cd = std::complex<double>;

constexpr double TwoPi = 6.283185307179586;
constexpr int HalfSpaceRows = 300;
constexpr double MinimumGridDepth = 30.0; // m
// A phase velocity closer than this to a body-wave velocity (m/s) makes the down- and
// up-going waves of that type identical; the wavenumber is then nudged by NudgeFactor.
constexpr double BodyWaveGuard = 0.0001;
constexpr double NudgeFactor = 1.0001;

using Profile = LayeredProfile;

Profile ReadProfile(const CMatrix &thicknesses, const CMatrix &densities,
    const CMatrix &sVelocities, const CMatrix &pVelocities)
{
    Profile p;
    p.layerCount = sVelocities.GetCount();
    const int finite = p.layerCount - 1;
    if (p.layerCount < 1 || thicknesses.GetCount() < finite || densities.GetCount() < p.layerCount
        || pVelocities.GetCount() < p.layerCount)
        throw CMatrixException(MatrixError::kInvalidOperation);
    const auto n = static_cast<std::size_t>(p.layerCount);
    p.thickness.assign(n, 0.0);
    p.top.assign(n, 0.0);
    p.density.resize(n);
    p.beta.resize(n);
    p.alpha.resize(n);
    double depth = 0.0;
    for (int l = 0; l < p.layerCount; ++l) {
        const auto u = static_cast<std::size_t>(l);
        p.top[u] = depth;
        if (l < finite) {
            p.thickness[u] = std::fabs(thicknesses(l));
            depth += p.thickness[u];
        }
        p.density[u] = densities(l);
        p.beta[u] = sVelocities(l);
        p.alpha[u] = pVelocities(l);
        p.betaMax = std::max(p.betaMax, p.beta[u]);
    }
    p.halfSpaceTop = depth;
    return p;
}

// Depth of the last grid row for frequency f (Hz).
double GridBottom(const Profile &p, double frequency)
{
    const double reach = frequency > 0.0 ? p.betaMax / frequency : p.halfSpaceTop;
    const double bottom = 1.5 * std::max(p.halfSpaceTop, reach);
    return bottom > MinimumGridDepth ? bottom : MinimumGridDepth;
}

// sqrt(k^2 - kv^2) with a non-negative real part: real for an evanescent wave, positive
// imaginary for a propagating one.
Cd VerticalWavenumber(double k, double bodyWavenumber)
{
    const double product = (k - bodyWavenumber) * (k + bodyWavenumber);
    return product >= 0.0 ? Cd(std::sqrt(product), 0.0) : Cd(0.0, std::sqrt(-product));
}

// e^{-nu d} for a nu that is either real or imaginary (cheaper than the general exponential).
Cd Decay(const Cd &nu, double distance)
{
    if (nu.imag() == 0.0)
        return Cd(std::exp(-nu.real() * distance), 0.0);
    if (nu.real() == 0.0)
        return Cd(std::cos(nu.imag() * distance), -std::sin(nu.imag() * distance));
    return std::exp(-nu * distance);
}

// The wave terms of one layer at (omega, k).
struct LayerTerms
{
    Cd nuA, nuB; // vertical wavenumbers of P and SV
    Cd phaseA, phaseB; // e^{-nu h} across the layer
    double mu = 0.0, lambda = 0.0;
    // Wave-to-field matrix: rows r1..r4, columns down P, down SV, up P, up SV.
    Cd e[4][4];
    // d/dz of each wave term divided by the term: -nu down, +nu up.
    Cd slope[4];
};

void BuildLayer(const Profile &p, int l, double omega, double k, LayerTerms &t)
{
    const auto u = static_cast<std::size_t>(l);
    const double beta = p.beta[u];
    const double alpha = p.alpha[u];
    const double rho = p.density[u];
    t.nuA = VerticalWavenumber(k, omega / alpha);
    t.nuB = VerticalWavenumber(k, omega / beta);
    const double h = p.thickness[u];
    t.phaseA = Decay(t.nuA, h);
    t.phaseB = Decay(t.nuB, h);
    t.mu = rho * beta * beta;
    t.lambda = rho * alpha * alpha - 2.0 * t.mu;
    const double chi = 2.0 * k * k - (omega / beta) * (omega / beta);
    const Cd muChi = t.mu * chi;
    const Cd shearA = 2.0 * t.mu * k * t.nuA;
    const Cd shearB = 2.0 * t.mu * k * t.nuB;
    // Columns follow from the potentials of each wave; the rows satisfy
    // r1' = k r2 + r3/mu, r2' = (r4 - lambda k r1)/(lambda + 2 mu).
    t.e[0][0] = k;
    t.e[0][1] = t.nuB;
    t.e[0][2] = k;
    t.e[0][3] = -t.nuB;
    t.e[1][0] = t.nuA;
    t.e[1][1] = k;
    t.e[1][2] = -t.nuA;
    t.e[1][3] = k;
    t.e[2][0] = -shearA;
    t.e[2][1] = -muChi;
    t.e[2][2] = shearA;
    t.e[2][3] = -muChi;
    t.e[3][0] = -muChi;
    t.e[3][1] = -shearB;
    t.e[3][2] = -muChi;
    t.e[3][3] = shearB;
    t.slope[0] = -t.nuA;
    t.slope[1] = -t.nuB;
    t.slope[2] = t.nuA;
    t.slope[3] = t.nuB;
}

// 2 x 2 complex matrices and vectors, row by row.
struct Mat2
{
    Cd a, b, c, d;
};
struct Vec2
{
    Cd x, y;
};

Mat2 operator*(const Mat2 &p, const Mat2 &q)
{
    return { p.a * q.a + p.b * q.c, p.a * q.b + p.b * q.d, p.c * q.a + p.d * q.c,
        p.c * q.b + p.d * q.d };
}
Mat2 operator+(const Mat2 &p, const Mat2 &q)
{
    return { p.a + q.a, p.b + q.b, p.c + q.c, p.d + q.d };
}
Vec2 operator*(const Mat2 &p, const Vec2 &v)
{
    return { p.a * v.x + p.b * v.y, p.c * v.x + p.d * v.y };
}
// |z|^2 without the overflow-guarded hypot that std::norm goes through.
double Norm2(const Cd &z) { return z.real() * z.real() + z.imag() * z.imag(); }

// 1 / z without the library's overflow-guarded complex division (the values here are far
// from the overflow range, and the guarded division was a noticeable share of the stage).
Cd Reciprocal(const Cd &z)
{
    const double norm = Norm2(z);
    return Cd(z.real() / norm, -z.imag() / norm);
}

Mat2 Inverse(const Mat2 &m)
{
    const Cd inverseDet = Reciprocal(m.a * m.d - m.b * m.c);
    return { m.d * inverseDet, -m.b * inverseDet, -m.c * inverseDet, m.a * inverseDet };
}

// Solves g x = b in place for `columns` right-hand sides (b becomes x): Gaussian elimination
// with row equilibration and partial pivoting. Displacement and stress rows differ by the
// rigidity (about 1e5 in these units), which equilibration removes.
void Solve4(Cd g[4][4], Cd b[4][4], int columns)
{
    for (int r = 0; r < 4; ++r) {
        double largest = 0.0;
        for (int c = 0; c < 4; ++c)
            largest = std::max(largest, Norm2(g[r][c]));
        if (largest > 0.0) {
            const double scale = 1.0 / std::sqrt(largest);
            for (int c = 0; c < 4; ++c)
                g[r][c] *= scale;
            for (int c = 0; c < columns; ++c)
                b[r][c] *= scale;
        }
    }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if (Norm2(g[r][col]) > Norm2(g[pivot][col]))
                pivot = r;
        }
        if (pivot != col) {
            std::swap(g[pivot], g[col]);
            std::swap(b[pivot], b[col]);
        }
        const Cd inverse = Reciprocal(g[col][col]);
        for (int r = col + 1; r < 4; ++r) {
            const Cd factor = g[r][col] * inverse;
            if (factor == Cd(0.0, 0.0))
                continue;
            for (int c = col; c < 4; ++c)
                g[r][c] -= factor * g[col][c];
            for (int c = 0; c < columns; ++c)
                b[r][c] -= factor * b[col][c];
        }
    }
    for (int col = 3; col >= 0; --col) {
        const Cd inverse = Reciprocal(g[col][col]);
        for (int c = 0; c < columns; ++c) {
            Cd sum = b[col][c];
            for (int j = col + 1; j < 4; ++j)
                sum -= g[col][j] * b[j][c];
            b[col][c] = sum * inverse;
        }
    }
}

// Modified coefficients of one interface and the generalized ones below it.
struct InterfaceTerms
{
    Mat2 td, tu, rdu, rud; // with the phase factors of the adjacent layers folded in
    Mat2 generalTd, generalRdu; // generalized: all interfaces below included
};

// Per-thread scratch storage, sized once per stage.
struct Workspace
{
    std::vector<LayerTerms> layers;
    std::vector<InterfaceTerms> interfaces;
    std::vector<Cd> numeratorBeta, numeratorAlpha;

    explicit Workspace(int layerCount)
        : layers(static_cast<std::size_t>(layerCount))
        , interfaces(static_cast<std::size_t>(std::max(0, layerCount - 1)))
        , numeratorBeta(static_cast<std::size_t>(layerCount))
        , numeratorAlpha(static_cast<std::size_t>(layerCount))
    {
    }
};

// Raises k while the phase velocity omega/k sits on a body-wave velocity of some layer.
double GuardedWavenumber(const Profile &p, double omega, double k)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const double c = omega / k;
        bool onBodyWave = false;
        for (int l = 0; l < p.layerCount && !onBodyWave; ++l) {
            const auto u = static_cast<std::size_t>(l);
            onBodyWave = std::fabs(p.beta[u] - c) < BodyWaveGuard
                || std::fabs(p.alpha[u] - c) < BodyWaveGuard;
        }
        if (!onBodyWave)
            break;
        k *= NudgeFactor;
    }
    return k;
}

// Wave amplitudes of every layer (4 per layer) of the surface-force response at (omega, k).
void SolveWaveField(
    const Profile &p, double omega, double k, double force, Workspace &ws, Cd *amplitudes)
{
    const int n = p.layerCount;
    for (int l = 0; l < n; ++l)
        BuildLayer(p, l, omega, k, ws.layers[static_cast<std::size_t>(l)]);

    // Modified coefficients: continuity of the four field components at interface l, with
    // the unknown outgoing waves (down into l+1, up into l) on the left.
    for (int l = 0; l + 1 < n; ++l) {
        const LayerTerms &upper = ws.layers[static_cast<std::size_t>(l)];
        const LayerTerms &lower = ws.layers[static_cast<std::size_t>(l + 1)];
        const bool lowerIsHalfSpace = l + 1 == n - 1;
        Cd g[4][4];
        Cd b[4][4] = {};
        for (int r = 0; r < 4; ++r) {
            g[r][0] = lower.e[r][0];
            g[r][1] = lower.e[r][1];
            g[r][2] = -upper.e[r][2];
            g[r][3] = -upper.e[r][3];
            b[r][0] = upper.e[r][0] * upper.phaseA;
            b[r][1] = upper.e[r][1] * upper.phaseB;
            if (!lowerIsHalfSpace) {
                b[r][2] = -lower.e[r][2] * lower.phaseA;
                b[r][3] = -lower.e[r][3] * lower.phaseB;
            }
        }
        Solve4(g, b, lowerIsHalfSpace ? 2 : 4);
        InterfaceTerms &it = ws.interfaces[static_cast<std::size_t>(l)];
        it.td = { b[0][0], b[0][1], b[1][0], b[1][1] };
        it.rdu = { b[2][0], b[2][1], b[3][0], b[3][1] };
        it.rud = { b[0][2], b[0][3], b[1][2], b[1][3] };
        it.tu = { b[2][2], b[2][3], b[3][2], b[3][3] };
    }

    // Generalized coefficients from the deepest interface upwards.
    for (int l = n - 2; l >= 0; --l) {
        InterfaceTerms &it = ws.interfaces[static_cast<std::size_t>(l)];
        if (l == n - 2) {
            it.generalTd = it.td;
            it.generalRdu = it.rdu;
            continue;
        }
        const InterfaceTerms &below = ws.interfaces[static_cast<std::size_t>(l + 1)];
        // Reverberations between this interface and the stack below: (I - R_ud R^_du)^-1.
        const Mat2 loop = it.rud * below.generalRdu;
        const Mat2 reverberation { 1.0 - loop.a, -loop.b, -loop.c, 1.0 - loop.d };
        it.generalTd = Inverse(reverberation) * it.td;
        it.generalRdu = it.rdu + it.tu * below.generalRdu * it.generalTd;
    }

    // Surface stresses of unit down-going waves in the first layer plus the up-going waves
    // that the stack below sends back. At a mode this matrix is singular, and the down-going
    // amplitudes are its null vector: the adjugate column D^-1 (0, s) without the factor
    // 1/det, which would only scale the field and overflows at an exact root.
    const LayerTerms &first = ws.layers[0];
    Mat2 surface { first.e[2][0], first.e[2][1], first.e[3][0], first.e[3][1] };
    if (n > 1) {
        const Mat2 upStress { first.e[2][2] * first.phaseA, first.e[2][3] * first.phaseB,
            first.e[3][2] * first.phaseA, first.e[3][3] * first.phaseB };
        surface = surface + upStress * ws.interfaces[0].generalRdu;
    }
    const double source = k * force / TwoPi;
    Vec2 down;
    if (Norm2(surface.a) + Norm2(surface.b) >= Norm2(surface.c) + Norm2(surface.d))
        down = { -surface.b * source, surface.a * source };
    else
        down = { surface.d * source, -surface.c * source };

    for (int l = 0; l < n; ++l) {
        Cd *a = amplitudes + static_cast<std::size_t>(l) * 4;
        a[0] = down.x;
        a[1] = down.y;
        if (l + 1 < n) {
            const InterfaceTerms &it = ws.interfaces[static_cast<std::size_t>(l)];
            const Vec2 up = it.generalRdu * down;
            a[2] = up.x;
            a[3] = up.y;
            down = it.generalTd * down;
        } else {
            a[2] = a[3] = Cd(0.0, 0.0);
        }
    }
}

// Integral over 0..h of e^{-s z}.
Cd IntegralDecay(const Cd &s, double h)
{
    const Cd x = s * h;
    if (std::abs(x) < 1e-4)
        return h * (1.0 - x / 2.0 + x * x / 6.0);
    return (1.0 - std::exp(-x)) / s;
}

// Integral over 0..h of e^{-p z} e^{-q (h - z)}: a down-going term times an up-going one.
Cd IntegralCross(const Cd &p, const Cd &q, double h)
{
    const Cd difference = (q - p) * h;
    if (std::abs(difference) < 1e-4) {
        const Cd half = difference / 2.0;
        return h * std::exp(-(p + q) * h / 2.0) * (1.0 + half * half / 6.0);
    }
    return (std::exp(-p * h) - std::exp(-q * h)) / (q - p);
}

// Integral over the half-space of e^{-s z}: to infinity when the product decays, otherwise
// down to the grid's last depth (a phase velocity above the half-space's S velocity).
Cd IntegralHalfSpace(const Cd &s, double depthRange)
{
    if (s.real() > 0.0)
        return 1.0 / s;
    return IntegralDecay(s, depthRange);
}

// Plain bilinear form x^T g y.
Cd Bilinear(const Cd *x, const Cd g[4][4], const Cd *y, int size)
{
    Cd sum(0.0, 0.0);
    for (int p = 0; p < size; ++p) {
        Cd row(0.0, 0.0);
        for (int q = 0; q < size; ++q)
            row += g[p][q] * y[q];
        sum += x[p] * row;
    }
    return sum;
}

} // namespace

int DepthGridRows(int finiteLayerCount) { return 3 * finiteLayerCount + HalfSpaceRows; }

void CalcolaAutofunzioni(const CMatrix &frequencies, const CMatrix &modalVelocities,
    const CMatrix &thicknesses, const CMatrix &densities, const CMatrix &sVelocities,
    const CMatrix &pVelocities, double verticalForce, CMatrix &depthGrid,
    EigenfunctionSet &eigenfunctions)
{
    const Profile p = ReadProfile(thicknesses, densities, sVelocities, pVelocities);
    const int frequencyCount = frequencies.GetCount();
    const int modeCount = modalVelocities.GetCols();
    if (modalVelocities.GetRows() < frequencyCount)
        throw CMatrixException(MatrixError::kInvalidOperation);
    const int finite = p.layerCount - 1;
    const int rows = DepthGridRows(finite);

    CMatrix grid(rows, frequencyCount);
    double *gridData = grid.GetWritableData();
    for (int i = 0; i < frequencyCount; ++i) {
        for (int l = 0; l < finite; ++l) {
            const auto u = static_cast<std::size_t>(l);
            for (int q = 0; q < 3; ++q)
                gridData[(3 * l + q) * frequencyCount + i] =
                    p.top[u] + p.thickness[u] * (q + 1) / 4.0;
        }
        const double bottom = GridBottom(p, frequencies(i));
        const double step = (bottom - p.halfSpaceTop) / HalfSpaceRows;
        for (int j = 1; j <= HalfSpaceRows; ++j)
            gridData[(3 * finite + j - 1) * frequencyCount + i] = p.halfSpaceTop + j * step;
    }

    EigenfunctionSet &set = eigenfunctions;
    set.depthCount = rows;
    set.frequencyCount = frequencyCount;
    set.modeCount = modeCount;
    set.layerCount = p.layerCount;
    set.profile = p;
    set.depthGrid = grid;
    set.angularFrequency.resize(static_cast<std::size_t>(frequencyCount));
    for (int i = 0; i < frequencyCount; ++i)
        set.angularFrequency[static_cast<std::size_t>(i)] = TwoPi * frequencies(i);
    const std::size_t modes = static_cast<std::size_t>(frequencyCount) * modeCount;
    set.wavenumber.assign(modes, 0.0);
    set.amplitudes.assign(modes * p.layerCount * 4, Cd(0.0, 0.0));

    const double force = verticalForce != 0.0 ? verticalForce : 1.0;
    std::vector<Workspace> workspaces(
        static_cast<std::size_t>(velamod::ParallelWorkerCount(frequencyCount)),
        Workspace(p.layerCount));
    velamod::ParallelFor(
        frequencyCount, static_cast<int>(workspaces.size()), [&](int i, int worker) {
            Workspace &ws = workspaces[static_cast<std::size_t>(worker)];
            const double omega = set.angularFrequency[static_cast<std::size_t>(i)];
            if (!(omega > 0.0))
                return;
            for (int m = 0; m < modeCount; ++m) {
                const double c = modalVelocities(i, m);
                if (c == 0.0)
                    continue;
                const double k = GuardedWavenumber(p, omega, omega / c);
                set.wavenumber[set.ModeIndex(i, m)] = k;
                SolveWaveField(
                    p, omega, k, force, ws, &set.amplitudes[set.AmplitudeIndex(i, m, 0, 0)]);
            }
        });
    depthGrid = grid;

    // Diagnostic dump of r1 of the last mode computed (each mode overwrote the file in turn).
    if (std::getenv("VELA_DUMP_DIR")) {
        for (int i = frequencyCount - 1; i >= 0; --i) {
            for (int m = modeCount - 1; m >= 0; --m) {
                if (set.wavenumber[set.ModeIndex(i, m)] == 0.0)
                    continue;
                CComplexMatrix r1(rows, 1);
                for (int row = 0; row < rows; ++row) {
                    const Cd value = set.Sample(row, i, m).r1;
                    r1.SetRaw(row, Complex(value.real(), value.imag()));
                }
                r1.DiagnosticDump("r1.txt", "r1");
                return;
            }
        }
    }
}

EigenfunctionSample EigenfunctionSet::Sample(int row, int i, int m) const
{
    EigenfunctionSample sample;
    const double k = wavenumber[ModeIndex(i, m)];
    if (k == 0.0)
        return sample;
    const int finite = layerCount - 1;
    const int l = std::min(row / 3, finite);
    const auto u = static_cast<std::size_t>(l);
    LayerTerms t;
    BuildLayer(profile, l, angularFrequency[static_cast<std::size_t>(i)], k, t);
    const Cd *a = &amplitudes[AmplitudeIndex(i, m, l, 0)];
    const double z = depthGrid(row, i);
    const double fromTop = z - profile.top[u];
    Cd wave[4] = { a[0] * Decay(t.nuA, fromTop), a[1] * Decay(t.nuB, fromTop), Cd(0.0, 0.0),
        Cd(0.0, 0.0) };
    if (l < finite) {
        const double toBottom = profile.top[u] + profile.thickness[u] - z;
        wave[2] = a[2] * Decay(t.nuA, toBottom);
        wave[3] = a[3] * Decay(t.nuB, toBottom);
    }
    Cd field[4];
    for (int r = 0; r < 4; ++r)
        field[r] =
            t.e[r][0] * wave[0] + t.e[r][1] * wave[1] + t.e[r][2] * wave[2] + t.e[r][3] * wave[3];
    sample.r1 = field[0];
    sample.r2 = field[1];
    sample.r3 = field[2];
    sample.r4 = field[3];
    for (int q = 0; q < 4; ++q) {
        const Cd sloped = t.slope[q] * wave[q];
        sample.dr1 += t.e[0][q] * sloped;
        sample.dr2 += t.e[1][q] * sloped;
    }
    return sample;
}

void CalcolaIntegraliModali(const CMatrix &frequencies, const CMatrix &modalVelocities,
    const CMatrix &depthGrid, const EigenfunctionSet &eigenfunctions, const CMatrix &thicknesses,
    const CMatrix &densities, const CMatrix &sVelocities, const CMatrix &pVelocities,
    ModalIntegrals &integrals)
{
    const Profile p = ReadProfile(thicknesses, densities, sVelocities, pVelocities);
    const int frequencyCount = frequencies.GetCount();
    const int modeCount = modalVelocities.GetCols();
    const EigenfunctionSet &set = eigenfunctions;
    if (modalVelocities.GetRows() < frequencyCount || set.frequencyCount != frequencyCount
        || set.modeCount != modeCount || set.layerCount != p.layerCount
        || depthGrid.GetCols() != frequencyCount || depthGrid.GetRows() < 1)
        throw CMatrixException(MatrixError::kInvalidOperation);
    const int n = p.layerCount;

    ModalIntegrals &out = integrals;
    out.frequencyCount = frequencyCount;
    out.modeCount = modeCount;
    out.layerCount = n;
    const std::size_t modes = static_cast<std::size_t>(frequencyCount) * modeCount;
    out.energy.assign(modes, Cd(0.0, 0.0));
    out.groupVelocity.assign(modes, Cd(0.0, 0.0));
    out.dcdBeta.assign(modes * n, Cd(0.0, 0.0));
    out.dcdAlpha.assign(modes * n, Cd(0.0, 0.0));

    std::vector<Workspace> workspaces(
        static_cast<std::size_t>(velamod::ParallelWorkerCount(frequencyCount)), Workspace(n));
    velamod::ParallelFor(
        frequencyCount, static_cast<int>(workspaces.size()), [&](int i, int worker) {
            Workspace &ws = workspaces[static_cast<std::size_t>(worker)];
            const double omega = TwoPi * frequencies(i);
            const double halfSpaceRange = depthGrid(depthGrid.GetRows() - 1, i) - p.halfSpaceTop;
            for (int m = 0; m < modeCount; ++m) {
                const double k = set.wavenumber[set.ModeIndex(i, m)];
                if (modalVelocities(i, m) == 0.0 || k == 0.0)
                    continue;
                Cd energy(0.0, 0.0), kinetic2(0.0, 0.0), cross3(0.0, 0.0);
                for (int l = 0; l < n; ++l) {
                    const auto u = static_cast<std::size_t>(l);
                    LayerTerms &t = ws.layers[u];
                    BuildLayer(p, l, omega, k, t);
                    const bool halfSpace = l == n - 1;
                    const int waves = halfSpace ? 2 : 4;
                    const double h = p.thickness[u];
                    const Cd nu[4] = { t.nuA, t.nuB, t.nuA, t.nuB };

                    // Integrals over the layer of the products of its wave terms.
                    Cd g[4][4];
                    for (int a = 0; a < waves; ++a) {
                        for (int b = a; b < waves; ++b) {
                            Cd value;
                            if (halfSpace)
                                value = IntegralHalfSpace(nu[a] + nu[b], halfSpaceRange);
                            else if ((a < 2) == (b < 2))
                                value = IntegralDecay(nu[a] + nu[b], h);
                            else
                                value = IntegralCross(nu[a], nu[b], h);
                            g[a][b] = g[b][a] = value;
                        }
                    }

                    // Coefficients of r1, r2 and their derivatives on the wave terms.
                    const Cd *amplitude = &set.amplitudes[set.AmplitudeIndex(i, m, l, 0)];
                    Cd r1[4], r2[4], d1[4], d2[4];
                    Cd shear[4], dilatation[4];
                    for (int q = 0; q < waves; ++q) {
                        r1[q] = t.e[0][q] * amplitude[q];
                        r2[q] = t.e[1][q] * amplitude[q];
                        d1[q] = t.slope[q] * r1[q];
                        d2[q] = t.slope[q] * r2[q];
                        shear[q] = k * r2[q] - d1[q];
                        dilatation[q] = k * r1[q] + d2[q];
                    }
                    const Cd r1r1 = Bilinear(r1, g, r1, waves);
                    const Cd r2r2 = Bilinear(r2, g, r2, waves);
                    const Cd r1d2 = Bilinear(r1, g, d2, waves);
                    const Cd r2d1 = Bilinear(r2, g, d1, waves);
                    const double rho = p.density[u];
                    energy += 0.5 * rho * (r1r1 + r2r2);
                    kinetic2 += 0.5 * ((t.lambda + 2.0 * t.mu) * r1r1 + t.mu * r2r2);
                    cross3 += t.lambda * r1d2 - t.mu * r2d1;
                    ws.numeratorBeta[u] = Bilinear(shear, g, shear, waves) - 4.0 * k * r1d2;
                    ws.numeratorAlpha[u] = Bilinear(dilatation, g, dilatation, waves);
                }
                const Cd group = (2.0 * k * kinetic2 + cross3) / (2.0 * omega * energy);
                const std::size_t index = out.ModeIndex(i, m);
                out.energy[index] = energy;
                out.groupVelocity[index] = group;
                const Cd common = 1.0 / (2.0 * k * k * group * energy);
                for (int l = 0; l < n; ++l) {
                    const auto u = static_cast<std::size_t>(l);
                    const std::size_t at = out.DerivativeIndex(l, i, m);
                    out.dcdBeta[at] = p.density[u] * p.beta[u] * common * ws.numeratorBeta[u];
                    out.dcdAlpha[at] = p.density[u] * p.alpha[u] * common * ws.numeratorAlpha[u];
                }
            }
        });
}
