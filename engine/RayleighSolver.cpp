// Rayleigh modal phase velocities of a layered half-space.
//
// The secular function is the P-SV dispersion function of the Thomson-Haskell propagator in
// the compound-matrix (delta-matrix) form of Dunkin (1965, BSSA 55, 335-358), as arranged by
// Herrmann and Wang for surf96 (Computer Programs in Seismology): the 5-component vector of
// 2 x 2 minors is started in the half-space and carried up through each layer with the layer's
// compound matrix. Growing exponentials are factored out of the hyperbolic terms and every
// layer ends with a normalisation, so the function stays finite however thick the stack is;
// only its sign and zeros mean something. Acoustic (fluid) layers carry the first two
// components with the 2 x 2 acoustic propagator.
//
// The roots are bracketed by a scan from slow to fast phase velocity (large to small k) whose
// sampling density rises near every body-wave velocity of the model, then refined by
// bisection.
//
// Two implementations of the scan live here and must agree bit for bit: the straightforward
// one evaluates one sample at a time, the optimised one evaluates blocks of samples with
// vectorisable loops and spreads the frequencies over threads. Both use the same scalar
// formulas, the same own float sine/cosine/exponential (the library's vectorised versions
// round differently from the scalar ones), and no contraction into fused multiply-adds (the
// file is compiled with -ffp-contract=off), so each sample sees exactly the same operations.
#include "engine/RayleighSolver.h"

#include "engine/ForwardParallel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr double TwoPi = 6.283185307179586;
// Samples evaluated together by the optimised scan: one AVX-512 register of floats. On the
// 10-layer benchmark profile 32 ran 40% slower (register spills) and 8 ran 75% slower.
constexpr int Batch = 16;

// The block kernels are cloned per instruction set; everything they call must be inlined
// into each clone to be compiled for it.
#define VELA_INLINE inline __attribute__((always_inline))

// ---------------------------------------------------------------------------------------
// Float transcendental functions, branch-free so that loops over samples vectorise.

// 2^n for -126 <= n <= 127, by building the exponent field.
VELA_INLINE float PowerOfTwo(int n)
{
    const std::int32_t bits = (n + 127) << 23;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// e^x for -87 <= x <= 0 (Cody-Waite reduction, Cephes polynomial; about 1 ulp).
VELA_INLINE float ExpNonPositive(float x)
{
    const float t = x * 1.44269504088896341f;
    const int n = static_cast<int>(t < 0.0f ? t - 0.5f : t + 0.5f);
    const float fn = static_cast<float>(n);
    float r = x - fn * 0.693359375f;
    r = r - fn * -2.12194440e-4f;
    const float z = r * r;
    const float poly = (((((1.9875691500e-4f * r + 1.3981999507e-3f) * r + 8.3334519073e-3f) * r
                             + 4.1665795894e-2f)
                                * r
                            + 1.6666665459e-1f)
                               * r
                           + 5.0000001201e-1f)
            * z
        + r + 1.0f;
    return poly * PowerOfTwo(n);
}

// sin x and cos x for 0 <= x (reduction by pi/2 in three parts, Cephes polynomials). The
// argument is clamped far beyond any layer phase so that the quadrant count cannot overflow.
VELA_INLINE void SinCosNonNegative(float x, float &sine, float &cosine)
{
    x = x < 8.0e6f ? x : 8.0e6f;
    const int n = static_cast<int>(x * 0.636619772367581f + 0.5f);
    const float fn = static_cast<float>(n);
    const float r =
        ((x - fn * 1.5703125f) - fn * 4.837512969970703125e-4f) - fn * 7.54978995489188216e-8f;
    const float z = r * r;
    const float sinR =
        ((-1.9515295891e-4f * z + 8.3321608736e-3f) * z - 1.6666654611e-1f) * z * r + r;
    const float cosR =
        ((2.443315711809948e-5f * z - 1.388731625493765e-3f) * z + 4.166664568298827e-2f) * z * z
        - 0.5f * z + 1.0f;
    const int quadrant = n & 3;
    const float s = (quadrant & 1) ? cosR : sinR;
    const float c = (quadrant & 1) ? sinR : cosR;
    sine = (quadrant & 2) ? -s : s;
    cosine = ((quadrant + 1) & 2) ? -c : c;
}

// ---------------------------------------------------------------------------------------
// The model and the per-frequency terms.

struct Model
{
    int layerCount = 0;
    float thickness[RayleighMaxLayers] = {};
    float alpha[RayleighMaxLayers] = {};
    float beta[RayleighMaxLayers] = {};
    float rho[RayleighMaxLayers] = {};
    bool fluid[RayleighMaxLayers] = {};
    bool allFluid = false;
    // Ascending distinct body-wave velocities, then the 1e30 sentinel.
    float velocities[2 * RayleighMaxLayers + 1] = {};
    int velocityCount = 0;
    float cmin = 0.0f;
    float cmax = 0.0f;
    bool hasSlowestLayer = false;
    float refinement = 5.0f;
    int subdivision = 5; // integer part of the refinement factor, at least 1
    int modeLimit = 0;
};

// Everything of one layer that depends on the frequency but not on the wavenumber.
struct LayerTerms
{
    float ka = 0.0f; // omega / alpha
    float kb = 0.0f; // omega / beta
    float gammk = 0.0f; // 2 beta^2 / omega^2
    float h = 0.0f;
    float rho = 0.0f;
    bool fluid = false;
};

struct FrequencyTerms
{
    float omega = 0.0f; // never below 1e-4
    int layerCount = 0;
    bool allFluid = false;
    LayerTerms layers[RayleighMaxLayers];
};

// The layer's terms at angular frequency omega (already clamped).
inline LayerTerms MakeLayerTerms(const Model &model, int i, float omega)
{
    LayerTerms terms;
    terms.ka = omega / model.alpha[i];
    terms.kb = omega / model.beta[i];
    const float t = model.beta[i] / omega;
    terms.gammk = 2.0f * t * t;
    terms.h = model.thickness[i];
    terms.rho = model.rho[i];
    terms.fluid = model.fluid[i];
    return terms;
}

inline float ClampOmega(float omega)
{
    // omega is never taken below 1e-4 so that k = 0 stays finite.
    return omega < 1.0e-4f ? 1.0e-4f : omega;
}

void MakeFrequencyTerms(const Model &model, float omega, FrequencyTerms &terms)
{
    terms.omega = ClampOmega(omega);
    terms.layerCount = model.layerCount;
    terms.allFluid = model.allFluid;
    for (int i = 0; i < model.layerCount; ++i)
        terms.layers[i] = MakeLayerTerms(model, i, terms.omega);
}

// ---------------------------------------------------------------------------------------
// The secular function, one sample: the formulas both scans share.

VELA_INLINE float VerticalWavenumber(float k, float kv)
{
    return std::sqrt(std::fabs(k - kv) * (k + kv));
}

// Start vector in the half-space.
VELA_INLINE void StartVector(const LayerTerms &half, bool allFluid, float k, float k2, float e[5])
{
    const float ra = VerticalWavenumber(k, half.ka);
    if (allFluid) {
        e[0] = -half.rho;
        // With the acoustic propagator below this is the decaying pressure wave of the
        // half-space; halving the second component would move every acoustic root.
        e[1] = ra;
        e[2] = 0.0f;
        e[3] = 0.0f;
        e[4] = 0.0f;
        return;
    }
    const float rb = VerticalWavenumber(k, half.kb);
    const float gam = half.gammk * k2;
    const float gamm1 = gam - 1.0f;
    const float rarb = ra * rb;
    e[0] = half.rho * half.rho * (gamm1 * gamm1 - gam * half.gammk * rarb);
    e[1] = -half.rho * ra;
    e[2] = half.rho * (gamm1 - half.gammk * rarb);
    e[3] = half.rho * rb;
    e[4] = k2 - rarb;
}

// Phase terms of one wave type across a layer: cos, sin/nu and -nu sin of nu h for a
// propagating wave, the limits for k on the branch point, and for an evanescent wave the
// hyperbolic functions with e^(nu h) factored out (exponent returned in exponent).
struct Phase
{
    float cosine, sineOverNu, nuSine, exponent;
};

VELA_INLINE Phase PropagatingPhase(float nu, float h)
{
    float sine, cosine;
    SinCosNonNegative(nu * h, sine, cosine);
    return { cosine, sine / nu, -nu * sine, 0.0f };
}

VELA_INLINE Phase EvanescentPhase(float nu, float h)
{
    const float x = nu * h;
    // e^(-2x) is below float resolution of 1 from x = 16 on.
    const float e2x = ExpNonPositive(-2.0f * (x < 16.0f ? x : 16.0f));
    const float fac = x < 16.0f ? e2x : 0.0f;
    const float coshFactored = (1.0f + fac) * 0.5f;
    const float sinhFactored = (1.0f - fac) * 0.5f;
    return { coshFactored, sinhFactored / nu, nu * sinhFactored, x };
}

VELA_INLINE Phase BranchPointPhase(float h) { return { 1.0f, h, 0.0f, 0.0f }; }

VELA_INLINE Phase AnyPhase(float k, float kv, float nu, float h)
{
    if (k < kv)
        return PropagatingPhase(nu, h);
    if (k == kv)
        return BranchPointPhase(h);
    return EvanescentPhase(nu, h);
}

// e^-(x + y), the factor that the compound matrix carries for the factored exponentials;
// taken as 0 once it is far below float resolution. (The cross factor e^(y - x) belongs to
// the Haskell matrix of the eigenfunctions; the compound matrix never needs it.)
VELA_INLINE float JointFactor(float exponentSum)
{
    const float value = ExpNonPositive(-(exponentSum < 60.0f ? exponentSum : 60.0f));
    return exponentSum < 60.0f ? value : 0.0f;
}

// Multiplies e by Dunkin's compound matrix of a solid layer and normalises.
VELA_INLINE void SolidLayer(
    const LayerTerms &layer, float k2, const Phase &p, const Phase &s, float a0, float e[5])
{
    const float cosp = p.cosine, w = p.sineOverNu, x = p.nuSine;
    const float cosq = s.cosine, y = s.sineOverNu, z = s.nuSine;
    const float cpcq = cosp * cosq;
    const float cpy = cosp * y;
    const float cpz = cosp * z;
    const float cqw = cosq * w;
    const float cqx = cosq * x;
    const float xy = x * y;
    const float xz = x * z;
    const float wy = w * y;
    const float wz = w * z;

    const float rho = layer.rho;
    const float rho2 = rho * rho;
    const float gammk = layer.gammk;
    const float gam = gammk * k2;
    const float gamm1 = gam - 1.0f;
    const float twgm1 = gam + gamm1;
    const float gmgmk = gam * gammk;
    const float gmgm1 = gam * gamm1;
    const float gm1sq = gamm1 * gamm1;
    const float a0pq = a0 - cpcq;
    const float t = -2.0f * k2;

    // Elements c[j][i]: the new component i gathers c[j][i] * e[j].
    const float c11 = cpcq - 2.0f * gmgm1 * a0pq - gmgmk * xz - k2 * gm1sq * wy;
    const float c12 = (k2 * cpy - cqx) / rho;
    const float c13 = -(twgm1 * a0pq + gammk * xz + k2 * gamm1 * wy) / rho;
    const float c14 = (cpz - k2 * cqw) / rho;
    const float c15 = -(2.0f * k2 * a0pq + xz + k2 * k2 * wy) / rho2;
    const float c21 = (gmgmk * cpz - gm1sq * cqw) * rho;
    const float c22 = cpcq;
    const float c23 = gammk * cpz - gamm1 * cqw;
    const float c24 = -wz;
    const float c25 = c14;
    const float c41 = (gm1sq * cpy - gmgmk * cqx) * rho;
    const float c42 = -xy;
    const float c43 = gamm1 * cpy - gammk * cqx;
    const float c44 = c22;
    const float c45 = c12;
    const float c51 =
        -(2.0f * gmgmk * gm1sq * a0pq + gmgmk * gmgmk * xz + gm1sq * gm1sq * wy) * rho2;
    const float c52 = c41;
    const float c53 =
        -(gammk * gamm1 * twgm1 * a0pq + gam * gammk * gammk * xz + gamm1 * gm1sq * wy) * rho;
    const float c54 = c21;
    const float c55 = c11;
    const float c31 = t * c53;
    const float c32 = t * c43;
    const float c33 = a0 + 2.0f * (cpcq - c11);
    const float c34 = t * c23;
    const float c35 = t * c13;

    const float e1 = e[0], e2 = e[1], e3 = e[2], e4 = e[3], e5 = e[4];
    const float n1 = e1 * c11 + e2 * c21 + e3 * c31 + e4 * c41 + e5 * c51;
    const float n2 = e1 * c12 + e2 * c22 + e3 * c32 + e4 * c42 + e5 * c52;
    const float n3 = e1 * c13 + e2 * c23 + e3 * c33 + e4 * c43 + e5 * c53;
    const float n4 = e1 * c14 + e2 * c24 + e3 * c34 + e4 * c44 + e5 * c54;
    const float n5 = e1 * c15 + e2 * c25 + e3 * c35 + e4 * c45 + e5 * c55;

    float largest = 0.0f;
    largest = std::fabs(n1) > largest ? std::fabs(n1) : largest;
    largest = std::fabs(n2) > largest ? std::fabs(n2) : largest;
    largest = std::fabs(n3) > largest ? std::fabs(n3) : largest;
    largest = std::fabs(n4) > largest ? std::fabs(n4) : largest;
    largest = std::fabs(n5) > largest ? std::fabs(n5) : largest;
    largest = largest < 1.0e-40f ? 1.0f : largest;
    e[0] = n1 / largest;
    e[1] = n2 / largest;
    e[2] = n3 / largest;
    e[3] = n4 / largest;
    e[4] = n5 / largest;
}

// Acoustic layer: the first two components (normal stress and vertical displacement
// minors) pass through the 2 x 2 propagator; the others are kept.
VELA_INLINE void FluidLayer(const LayerTerms &layer, const Phase &p, float e[5])
{
    const float n1 = p.cosine * e[0] - layer.rho * p.sineOverNu * e[1];
    const float n2 = -(p.nuSine / layer.rho) * e[0] + p.cosine * e[1];
    float largest = 0.0f;
    largest = std::fabs(n1) > largest ? std::fabs(n1) : largest;
    largest = std::fabs(n2) > largest ? std::fabs(n2) : largest;
    largest = std::fabs(e[2]) > largest ? std::fabs(e[2]) : largest;
    largest = std::fabs(e[3]) > largest ? std::fabs(e[3]) : largest;
    largest = std::fabs(e[4]) > largest ? std::fabs(e[4]) : largest;
    largest = largest < 1.0e-40f ? 1.0f : largest;
    e[0] = n1 / largest;
    e[1] = n2 / largest;
    e[2] = e[2] / largest;
    e[3] = e[3] / largest;
    e[4] = e[4] / largest;
}

// One layer, any regime, one sample.
VELA_INLINE void AnyLayer(const LayerTerms &layer, float k, float k2, float e[5])
{
    const float ra = VerticalWavenumber(k, layer.ka);
    const Phase p = AnyPhase(k, layer.ka, ra, layer.h);
    if (layer.fluid) {
        FluidLayer(layer, p, e);
        return;
    }
    const float rb = VerticalWavenumber(k, layer.kb);
    const Phase s = AnyPhase(k, layer.kb, rb, layer.h);
    const float a0 = JointFactor(p.exponent + s.exponent);
    SolidLayer(layer, k2, p, s, a0, e);
}

inline float SecularOneSample(const FrequencyTerms &terms, float k)
{
    const float k2 = k * k;
    float e[5];
    const int n = terms.layerCount;
    StartVector(terms.layers[n - 1], terms.allFluid, k, k2, e);
    for (int i = n - 2; i >= 0; --i)
        AnyLayer(terms.layers[i], k, k2, e);
    return e[0];
}

// The straightforward evaluation: every layer term is recomputed for the sample.
float SecularFromModel(const Model &model, float omega, float k)
{
    const float w = ClampOmega(omega);
    const float k2 = k * k;
    float e[5];
    const int n = model.layerCount;
    StartVector(MakeLayerTerms(model, n - 1, w), model.allFluid, k, k2, e);
    for (int i = n - 2; i >= 0; --i)
        AnyLayer(MakeLayerTerms(model, i, w), k, k2, e);
    return e[0];
}

// ---------------------------------------------------------------------------------------
// The secular function, a block of Batch samples. The regime of a wave type in a layer
// (propagating or evanescent) is the same for every sample of a block except near its branch
// point, so it is decided once per block and layer; such blocks run branch-free loops, the
// rare block that straddles a branch point goes sample by sample.

enum class Regime { Propagating, Evanescent, Mixed };

VELA_INLINE Regime BlockRegime(const float *k, float kv)
{
    bool allBelow = true, allAbove = true;
    for (int s = 0; s < Batch; ++s) {
        allBelow = allBelow && k[s] < kv;
        allAbove = allAbove && k[s] > kv;
    }
    return allBelow ? Regime::Propagating : (allAbove ? Regime::Evanescent : Regime::Mixed);
}

struct Block
{
    alignas(64) float k[Batch];
    alignas(64) float k2[Batch];
    alignas(64) float e[5][Batch];
};

VELA_INLINE void LoadLane(const Block &b, int s, float e[5])
{
    for (int c = 0; c < 5; ++c)
        e[c] = b.e[c][s];
}

VELA_INLINE void StoreLane(Block &b, int s, const float e[5])
{
    for (int c = 0; c < 5; ++c)
        b.e[c][s] = e[c];
}

template <bool EvanescentP, bool EvanescentS>
VELA_INLINE void SolidLayerBlock(const LayerTerms &layer, Block &b)
{
    for (int s = 0; s < Batch; ++s) {
        const float k = b.k[s];
        const float ra = VerticalWavenumber(k, layer.ka);
        const float rb = VerticalWavenumber(k, layer.kb);
        const Phase p = EvanescentP ? EvanescentPhase(ra, layer.h) : PropagatingPhase(ra, layer.h);
        const Phase q = EvanescentS ? EvanescentPhase(rb, layer.h) : PropagatingPhase(rb, layer.h);
        // With both waves propagating the exponent sum is 0 and e^0 is exactly 1.
        const float a0 = (EvanescentP || EvanescentS) ? JointFactor(p.exponent + q.exponent) : 1.0f;
        float e[5];
        LoadLane(b, s, e);
        SolidLayer(layer, b.k2[s], p, q, a0, e);
        StoreLane(b, s, e);
    }
}

template <bool EvanescentP> VELA_INLINE void FluidLayerBlock(const LayerTerms &layer, Block &b)
{
    for (int s = 0; s < Batch; ++s) {
        const float ra = VerticalWavenumber(b.k[s], layer.ka);
        const Phase p = EvanescentP ? EvanescentPhase(ra, layer.h) : PropagatingPhase(ra, layer.h);
        float e[5];
        LoadLane(b, s, e);
        FluidLayer(layer, p, e);
        StoreLane(b, s, e);
    }
}

// Per-sample regime choice inside a block: every phase is computed both ways and the one the
// sample's regime calls for is kept, exactly as one sample alone would compute it.
VELA_INLINE Phase SelectPhase(float k, float kv, float nu, float h)
{
    const Phase propagating = PropagatingPhase(nu, h);
    const Phase evanescent = EvanescentPhase(nu, h);
    const Phase branch = BranchPointPhase(h);
    const bool below = k < kv, at = k == kv;
    Phase p;
    p.cosine = below ? propagating.cosine : (at ? branch.cosine : evanescent.cosine);
    p.sineOverNu =
        below ? propagating.sineOverNu : (at ? branch.sineOverNu : evanescent.sineOverNu);
    p.nuSine = below ? propagating.nuSine : (at ? branch.nuSine : evanescent.nuSine);
    p.exponent = below ? propagating.exponent : (at ? branch.exponent : evanescent.exponent);
    return p;
}

VELA_INLINE void MixedSolidLayerBlock(const LayerTerms &layer, Block &b)
{
    for (int s = 0; s < Batch; ++s) {
        const float k = b.k[s];
        const float ra = VerticalWavenumber(k, layer.ka);
        const float rb = VerticalWavenumber(k, layer.kb);
        const Phase p = SelectPhase(k, layer.ka, ra, layer.h);
        const Phase q = SelectPhase(k, layer.kb, rb, layer.h);
        const float a0 = JointFactor(p.exponent + q.exponent);
        float e[5];
        LoadLane(b, s, e);
        SolidLayer(layer, b.k2[s], p, q, a0, e);
        StoreLane(b, s, e);
    }
}

VELA_INLINE void MixedFluidLayerBlock(const LayerTerms &layer, Block &b)
{
    for (int s = 0; s < Batch; ++s) {
        const float ra = VerticalWavenumber(b.k[s], layer.ka);
        const Phase p = SelectPhase(b.k[s], layer.ka, ra, layer.h);
        float e[5];
        LoadLane(b, s, e);
        FluidLayer(layer, p, e);
        StoreLane(b, s, e);
    }
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define VELA_SOLVER_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define VELA_SOLVER_CLONES
#endif

// Secular function at the Batch wavenumbers of k into value.
VELA_SOLVER_CLONES void SecularBlock(const FrequencyTerms &terms, const float *k, float *value)
{
    Block b;
    for (int s = 0; s < Batch; ++s) {
        b.k[s] = k[s];
        b.k2[s] = k[s] * k[s];
    }
    const int n = terms.layerCount;
    const LayerTerms &half = terms.layers[n - 1];
    for (int s = 0; s < Batch; ++s) {
        float e[5];
        StartVector(half, terms.allFluid, b.k[s], b.k2[s], e);
        StoreLane(b, s, e);
    }
    for (int i = n - 2; i >= 0; --i) {
        const LayerTerms &layer = terms.layers[i];
        const Regime p = BlockRegime(b.k, layer.ka);
        if (layer.fluid) {
            if (p == Regime::Propagating)
                FluidLayerBlock<false>(layer, b);
            else if (p == Regime::Evanescent)
                FluidLayerBlock<true>(layer, b);
            else
                MixedFluidLayerBlock(layer, b);
            continue;
        }
        const Regime q = BlockRegime(b.k, layer.kb);
        if (p == Regime::Propagating && q == Regime::Propagating)
            SolidLayerBlock<false, false>(layer, b);
        else if (p == Regime::Propagating && q == Regime::Evanescent)
            SolidLayerBlock<false, true>(layer, b);
        else if (p == Regime::Evanescent && q == Regime::Propagating)
            SolidLayerBlock<true, false>(layer, b);
        else if (p == Regime::Evanescent && q == Regime::Evanescent)
            SolidLayerBlock<true, true>(layer, b);
        else
            MixedSolidLayerBlock(layer, b);
    }
    for (int s = 0; s < Batch; ++s)
        value[s] = b.e[0][s];
}

// ---------------------------------------------------------------------------------------
// Set-up of one call.

// Rayleigh velocity of a half-space: 5 Newton steps from 0.95 beta, single precision.
float HalfSpaceRayleighVelocity(float alpha, float beta)
{
    float c = 0.95f * beta;
    const float beta2 = beta * beta;
    const float alpha2 = alpha * alpha;
    for (int step = 0; step < 5; ++step) {
        const float s = 1.0f - c * c / beta2;
        const float p = 1.0f - c * c / alpha2;
        const float rs = std::sqrt(s);
        const float rp = std::sqrt(p);
        const float twoMinus = 2.0f - c * c / beta2;
        const float value = twoMinus * twoMinus - 4.0f * rs * rp;
        const float slope =
            -4.0f * twoMinus * c / beta2 + 4.0f * c * (rp / (beta2 * rs) + rs / (alpha2 * rp));
        c = c - value / slope;
    }
    return c;
}

// Integer part of a count, kept inside the int range whatever the input.
int WholeCount(float value)
{
    if (!(value > 0.0f))
        return 0;
    return value >= 2.0e9f ? 2000000000 : static_cast<int>(value);
}

// Reads the caller's arrays into the model; false when the layer count is out of range.
bool BuildModel(const float *thicknessKm, const float *vpKmS, const float *vsKmS,
    const float *density, float layerCountValue, int modeCount, float refinement, Model &model)
{
    if (!(layerCountValue >= 1.0f && layerCountValue < RayleighMaxLayers + 1.0f))
        return false;
    const int n = static_cast<int>(layerCountValue);
    // A model with a non-finite value has no modes to find; say nothing rather than guess.
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(vpKmS[i]) || !std::isfinite(vsKmS[i]) || !std::isfinite(density[i])
            || (i < n - 1 && !std::isfinite(thicknessKm[i])))
            return false;
    }
    model.layerCount = n;
    model.allFluid = true;
    for (int i = 0; i < n; ++i) {
        model.thickness[i] = i < n - 1 ? std::fabs(thicknessKm[i]) : 0.0f;
        model.alpha[i] = vpKmS[i];
        model.beta[i] = vsKmS[i];
        model.rho[i] = density[i];
        model.fluid[i] = model.beta[i] <= 0.0001f * model.alpha[i];
        if (model.beta[i] > 0.0f)
            model.allFluid = false;
    }

    // Sorted distinct body-wave velocities.
    float sorted[2 * RayleighMaxLayers];
    int count = 0;
    for (int i = 0; i < n; ++i) {
        if (model.alpha[i] > 0.0f)
            sorted[count++] = model.alpha[i];
        if (model.beta[i] > 0.0f)
            sorted[count++] = model.beta[i];
    }
    std::sort(sorted, sorted + count);
    model.velocityCount = 0;
    for (int i = 0; i < count; ++i) {
        if (model.velocityCount > 0
            && std::fabs(sorted[i] - model.velocities[model.velocityCount - 1]) < 1.0e-7f)
            continue;
        model.velocities[model.velocityCount++] = sorted[i];
    }
    model.velocities[model.velocityCount++] = 1.0e30f;

    model.cmax = 0.0f;
    for (int i = 0; i < n; ++i) {
        const float v = model.allFluid ? model.alpha[i] : model.beta[i];
        model.cmax = v > model.cmax ? v : model.cmax;
    }

    // Slowest layer: solid by its beta, fluid (beta = 0) by its alpha; ties keep the first.
    float slowest = 1.0e20f;
    int slowestLayer = -1;
    bool slowestSolid = false;
    for (int i = 0; i < n; ++i) {
        if (model.beta[i] > 0.0f && model.beta[i] < slowest) {
            slowest = model.beta[i];
            slowestLayer = i;
            slowestSolid = true;
        } else if (model.beta[i] == 0.0f && model.alpha[i] < slowest) {
            slowest = model.alpha[i];
            slowestLayer = i;
            slowestSolid = false;
        }
    }
    model.hasSlowestLayer = slowestLayer >= 0;
    if (model.hasSlowestLayer) {
        model.cmin = slowestSolid
            ? 0.95f * HalfSpaceRayleighVelocity(model.alpha[slowestLayer], model.beta[slowestLayer])
            : 0.9f * model.alpha[slowestLayer];
    }

    model.refinement = refinement < 1.0f ? 5.0f : refinement;
    // Past a million subdivisions a scan would never end anyway; the bound keeps counts in range.
    model.subdivision = std::min(1000000, std::max(1, WholeCount(std::fabs(model.refinement))));
    model.modeLimit = std::min(modeCount, RayleighMaxModes);
    return true;
}

// The kept frequencies in sweep order: negative (and non-finite) values dropped, sorted
// descending by insertion, a value within 1e-7 of its neighbour dropped.
std::vector<float> SweepFrequencies(const float *frequencyHz, int frequencyCount)
{
    std::vector<float> kept;
    kept.reserve(static_cast<std::size_t>(std::max(frequencyCount, 0)));
    for (int i = 0; i < frequencyCount; ++i) {
        const float f = frequencyHz[i];
        if (!(f >= 0.0f) || !std::isfinite(f))
            continue;
        std::size_t at = 0;
        while (at < kept.size() && kept[at] >= f)
            ++at;
        if (at > 0 && std::fabs(kept[at - 1] - f) < 1.0e-7f)
            continue;
        if (at < kept.size() && std::fabs(kept[at] - f) < 1.0e-7f)
            continue;
        kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(at), f);
    }
    return kept;
}

// ---------------------------------------------------------------------------------------
// The scan of one frequency.

// The wavenumber range and coarse steps of one frequency.
struct ScanPlan
{
    float omega = 0.0f; // 2 pi f, not clamped
    float kmax = 0.0f;
    float kmin = 0.0f;
    float klow = 0.0f;
    float dk = 0.0f;
    int steps = 0;
};

ScanPlan PlanScan(const Model &model, float frequency)
{
    ScanPlan plan;
    plan.omega = static_cast<float>(TwoPi * static_cast<double>(frequency));
    plan.kmax = plan.omega / model.cmin;
    plan.kmin = plan.omega / model.cmax;
    plan.klow = plan.omega / (model.cmax + 0.03f);

    // Coarse steps grow with the number of vertical P wavelengths in the stack.
    const int n = model.layerCount;
    float sum = 0.0f;
    const float inverseCmax2 = 1.0f / (model.cmax * model.cmax);
    for (int i = 0; i < n - 1; ++i) {
        const float slowness2 = 1.0f / (model.alpha[i] * model.alpha[i]) - inverseCmax2;
        sum += model.thickness[i] * std::sqrt(slowness2 > 0.0f ? slowness2 : 0.0f);
    }
    int coarse = WholeCount(10.0f * 2.0f * frequency * sum + 200.0f);
    // A stiff half-space makes the modes crowd near cmax: sample more finely. A fluid layer
    // above the half-space leaves the count as it is.
    if (n >= 2 && model.beta[n - 2] > 0.0f) {
        const float ratio = model.beta[n - 1] / model.beta[n - 2];
        if (ratio > 3.0f)
            coarse = WholeCount(3.0f * static_cast<float>(coarse));
        else if (ratio > 1.0f)
            coarse = WholeCount(ratio * static_cast<float>(coarse));
    }
    plan.steps = WholeCount(static_cast<float>(coarse) * model.refinement);
    if (plan.steps < 1)
        plan.steps = 1;
    plan.dk = (plan.kmax - plan.kmin) / static_cast<float>(plan.steps);
    return plan;
}

// Walks the sample wavenumbers of one frequency after kmax, in scan order. The sampling
// depends only on the model and the plan, never on the function values.
class SampleWalker
{
public:
    SampleWalker(const Model &model, const ScanPlan &plan)
        : m_model(model)
        , m_plan(plan)
    {
        m_stepEnd = plan.kmax;
    }

    // The next sample; false after the last sample of the last coarse step.
    bool Next(float &k)
    {
        if (m_sample >= m_samplesInStep && !NextStep())
            return false;
        ++m_sample;
        k = m_sample == m_samplesInStep
            ? m_stepEnd
            : m_stepStart - static_cast<float>(m_sample) * m_sampleSpacing;
        return true;
    }

private:
    bool NextStep()
    {
        if (m_step >= m_plan.steps)
            return false;
        ++m_step;
        m_stepStart = m_stepEnd;
        m_stepEnd = m_step == m_plan.steps ? m_plan.kmin + 0.01f * m_plan.dk
                                           : m_plan.kmax - static_cast<float>(m_step) * m_plan.dk;
        const bool pastLastVelocity = m_velocity >= m_model.velocityCount - 1;
        if (m_denseStepsLeft > 0) {
            --m_denseStepsLeft;
        } else if (pastLastVelocity || m_stepEnd > m_plan.omega / m_model.velocities[m_velocity]) {
            m_samplesInStep = 1;
        } else {
            // The scan reaches a body-wave velocity, where modes crowd: sample the next
            // coarse steps densely, the more so the larger the jump to the next velocity
            // (the sentinel makes the last jump the largest).
            float q = m_model.velocities[m_velocity + 1] / m_model.velocities[m_velocity];
            q = q > 3.0f ? 3.01f : (q < 1.01f ? 1.01f : q);
            ++m_velocity;
            const int m = m_model.subdivision;
            m_denseStepsLeft = m + 4 * static_cast<int>(q) - 1;
            m_samplesInStep =
                WholeCount(static_cast<float>(static_cast<int>(10.0f * q)) * static_cast<float>(m));
        }
        m_sample = 0;
        m_sampleSpacing = (m_stepStart - m_stepEnd) / static_cast<float>(m_samplesInStep);
        return true;
    }

    const Model &m_model;
    const ScanPlan &m_plan;
    int m_step = 0;
    int m_velocity = 0;
    int m_denseStepsLeft = 0;
    int m_samplesInStep = 0;
    int m_sample = 0;
    float m_stepStart = 0.0f;
    float m_stepEnd = 0.0f;
    float m_sampleSpacing = 0.0f;
};

inline bool IsPositive(float value)
{
    return value > 0.0f; // a value <= 0 counts as negative
}

// Bisection of a bracket [low, high] whose ends have opposite signs; evaluate(k) is the
// secular function. Returns the midpoint of the final bracket.
template <typename Evaluate>
float RefineRoot(float low, bool lowPositive, float high, Evaluate &&evaluate)
{
    for (int halving = 0; halving < 15 && !(high - low < 1.0e-9f * low); ++halving) {
        const float middle = (low + high) * 0.5f;
        const bool middlePositive = IsPositive(evaluate(middle));
        if (middlePositive != lowPositive) {
            high = middle;
        } else {
            low = middle;
            lowPositive = middlePositive;
        }
    }
    return (low + high) * 0.5f;
}

// The straightforward scan of one frequency: roots appended to roots (up to the mode
// limit), their number returned.
int ScanReference(const Model &model, float frequency, float *roots, long long &evaluations)
{
    const ScanPlan plan = PlanScan(model, frequency);
    auto evaluate = [&](float k) {
        ++evaluations;
        return SecularFromModel(model, plan.omega, k);
    };
    int found = 0;
    float previousK = plan.kmax;
    bool previousPositive = IsPositive(evaluate(plan.kmax));
    SampleWalker walker(model, plan);
    float k;
    while (found < model.modeLimit && walker.Next(k)) {
        if (k < plan.klow)
            break;
        const bool positive = IsPositive(evaluate(k));
        if (positive != previousPositive)
            roots[found++] = RefineRoot(k, positive, previousK, evaluate);
        previousK = k;
        previousPositive = positive;
    }
    return found;
}

// Bisection of many brackets at once: the same halvings as RefineRoot for each bracket, the
// midpoints of all brackets still open evaluated together in blocks.
void RefineRootsBlocked(const FrequencyTerms &terms, float *low, unsigned char *lowPositive,
    float *high, int *halvings, int count, float *roots, long long &evaluations)
{
    std::fill(halvings, halvings + count, 0);
    alignas(64) float k[Batch];
    alignas(64) float value[Batch];
    int open[Batch];
    for (int first = 0; first < count; first += Batch) {
        const int last = std::min(count, first + Batch);
        for (;;) {
            int lanes = 0;
            for (int r = first; r < last; ++r) {
                if (halvings[r] < 15 && !(high[r] - low[r] < 1.0e-9f * low[r])) {
                    open[lanes] = r;
                    k[lanes++] = (low[r] + high[r]) * 0.5f;
                }
            }
            if (lanes == 0)
                break;
            for (int s = lanes; s < Batch; ++s)
                k[s] = k[lanes - 1];
            SecularBlock(terms, k, value);
            evaluations += lanes;
            for (int s = 0; s < lanes; ++s) {
                const int r = open[s];
                const bool middlePositive = IsPositive(value[s]);
                if (middlePositive != (lowPositive[r] != 0)) {
                    high[r] = k[s];
                } else {
                    low[r] = k[s];
                    lowPositive[r] = middlePositive;
                }
                ++halvings[r];
            }
        }
        for (int r = first; r < last; ++r)
            roots[r] = (low[r] + high[r]) * 0.5f;
    }
}

// The optimised scan of one frequency: samples evaluated Batch at a time, then walked in
// order exactly as the straightforward scan walks them; the brackets are refined together at
// the end.
// Working storage of one thread's scans, sized once per call so that the scans allocate
// nothing.
struct ScanScratch
{
    explicit ScanScratch(int modeLimit)
        : low(static_cast<std::size_t>(modeLimit))
        , high(static_cast<std::size_t>(modeLimit))
        , lowPositive(static_cast<std::size_t>(modeLimit))
        , halvings(static_cast<std::size_t>(modeLimit))
    {
    }
    std::vector<float> low, high;
    std::vector<unsigned char> lowPositive;
    std::vector<int> halvings;
};

int ScanBlocked(
    const Model &model, float frequency, float *roots, ScanScratch &scratch, long long &evaluations)
{
    const ScanPlan plan = PlanScan(model, frequency);
    FrequencyTerms terms;
    MakeFrequencyTerms(model, plan.omega, terms);
    int found = 0;
    float previousK = plan.kmax;
    ++evaluations;
    bool previousPositive = IsPositive(SecularOneSample(terms, plan.kmax));
    SampleWalker walker(model, plan);
    alignas(64) float k[Batch];
    alignas(64) float value[Batch];
    bool more = true;
    while (found < model.modeLimit && more) {
        int count = 0;
        while (count < Batch) {
            if (!walker.Next(k[count]) || k[count] < plan.klow) {
                more = false;
                break;
            }
            ++count;
        }
        if (count == 0)
            break;
        for (int s = count; s < Batch; ++s)
            k[s] = k[count - 1]; // padding, never looked at
        SecularBlock(terms, k, value);
        evaluations += count;
        for (int s = 0; s < count && found < model.modeLimit; ++s) {
            const bool positive = IsPositive(value[s]);
            if (positive != previousPositive) {
                scratch.low[found] = k[s];
                scratch.lowPositive[found] = positive;
                scratch.high[found] = previousK;
                ++found;
            }
            previousK = k[s];
            previousPositive = positive;
        }
    }
    if (found > 0) {
        RefineRootsBlocked(terms, scratch.low.data(), scratch.lowPositive.data(),
            scratch.high.data(), scratch.halvings.data(), found, roots, evaluations);
    }
    return found;
}

// Writes the roots in sweep order with the mode cap: never more modes than at the previous
// (higher) frequency; nothing at all when the highest frequency has none.
void WriteRows(const std::vector<float> &sweep, const std::vector<float> &roots,
    const std::vector<int> &found, int stride, int modeCount, double *velocitiesKmS)
{
    int cap = RayleighMaxModes;
    for (std::size_t row = 0; row < sweep.size(); ++row) {
        const int count = std::min(found[row], cap);
        if (row == 0 && count == 0)
            return;
        const double omega = static_cast<float>(TwoPi * static_cast<double>(sweep[row]));
        for (int j = 0; j < count; ++j) {
            velocitiesKmS[row * static_cast<std::size_t>(modeCount) + j] =
                omega / static_cast<double>(roots[row * static_cast<std::size_t>(stride) + j]);
        }
        cap = count;
    }
}

enum class ScanKind { Reference, Blocked };

int Solve(const float *thicknessKm, const float *vpKmS, const float *vsKmS, const float *density,
    const float *layerCount, const int *frequencyCount, const int *modeCount,
    const float *refinement, const float *frequencyHz, double *velocitiesKmS, ScanKind kind,
    int threadCount, velamod::RayleighSolverStats *stats)
{
    if (stats)
        *stats = velamod::RayleighSolverStats();
    Model model;
    if (!BuildModel(
            thicknessKm, vpKmS, vsKmS, density, *layerCount, *modeCount, *refinement, model))
        return 0;
    if (model.modeLimit < 1 || !model.hasSlowestLayer)
        return 0;
    const std::vector<float> sweep = SweepFrequencies(frequencyHz, *frequencyCount);
    if (sweep.empty())
        return 0;

    const int frequencies = static_cast<int>(sweep.size());
    const int stride = model.modeLimit;
    std::vector<float> roots(static_cast<std::size_t>(frequencies) * stride);
    std::vector<int> found(static_cast<std::size_t>(frequencies), 0);
    std::atomic<int> nextRow { 0 };
    // A frequency without roots zeroes every lower one: nothing below it is scanned.
    std::atomic<int> firstEmpty { frequencies };
    std::atomic<long long> evaluations { 0 };

    auto work = [&]() {
        long long local = 0;
        ScanScratch scratch(kind == ScanKind::Blocked ? model.modeLimit : 0);
        for (;;) {
            const int row = nextRow.fetch_add(1);
            if (row >= frequencies || row > firstEmpty.load())
                break;
            float *rowRoots = roots.data() + static_cast<std::size_t>(row) * stride;
            const int count = kind == ScanKind::Reference
                ? ScanReference(model, sweep[row], rowRoots, local)
                : ScanBlocked(model, sweep[row], rowRoots, scratch, local);
            found[row] = count;
            if (count == 0) {
                int current = firstEmpty.load();
                while (row < current && !firstEmpty.compare_exchange_weak(current, row)) { }
            }
        }
        evaluations += local;
    };

    if (threadCount <= 0)
        threadCount =
            velamod::ForwardIsSerial() ? 1 : static_cast<int>(std::thread::hardware_concurrency());
    threadCount = std::max(1, std::min(threadCount, frequencies));
    std::vector<std::thread> helpers;
    for (int t = 1; t < threadCount; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error &) {
            break; // no more threads to be had: the ones running share the work
        }
    }
    work();
    for (std::thread &helper : helpers)
        helper.join();

    // Rows past the first empty one may not have been scanned; the cap zeroes them anyway.
    for (int row = firstEmpty.load() + 1; row < frequencies; ++row)
        found[static_cast<std::size_t>(row)] = 0;
    WriteRows(sweep, roots, found, stride, *modeCount, velocitiesKmS);
    if (stats)
        stats->secularEvaluations = evaluations.load();
    return 0;
}

} // namespace

int SolveRayleighModes(const float *thicknessKm, const float *vpKmS, const float *vsKmS,
    const float *density, const float *layerCount, const int *frequencyCount, const int *modeCount,
    const float *refinement, const float *frequencyHz, double *velocitiesKmS)
{
    return Solve(thicknessKm, vpKmS, vsKmS, density, layerCount, frequencyCount, modeCount,
        refinement, frequencyHz, velocitiesKmS, ScanKind::Blocked, 0, nullptr);
}

float RayleighSecular(int layerCount, const float *thicknessKm, const float *vpKmS,
    const float *vsKmS, const float *density, float omegaRadS, float wavenumberRadKm)
{
    Model model;
    if (!BuildModel(
            thicknessKm, vpKmS, vsKmS, density, static_cast<float>(layerCount), 1, 5.0f, model))
        return 0.0f;
    return SecularFromModel(model, omegaRadS, wavenumberRadKm);
}

namespace velamod {

int SolveRayleighModesThreaded(const float *thicknessKm, const float *vpKmS, const float *vsKmS,
    const float *density, const float *layerCount, const int *frequencyCount, const int *modeCount,
    const float *refinement, const float *frequencyHz, double *velocitiesKmS, int threadCount,
    RayleighSolverStats *stats)
{
    return Solve(thicknessKm, vpKmS, vsKmS, density, layerCount, frequencyCount, modeCount,
        refinement, frequencyHz, velocitiesKmS, ScanKind::Blocked, threadCount, stats);
}

int SolveRayleighModesReference(const float *thicknessKm, const float *vpKmS, const float *vsKmS,
    const float *density, const float *layerCount, const int *frequencyCount, const int *modeCount,
    const float *refinement, const float *frequencyHz, double *velocitiesKmS,
    RayleighSolverStats *stats)
{
    return Solve(thicknessKm, vpKmS, vsKmS, density, layerCount, frequencyCount, modeCount,
        refinement, frequencyHz, velocitiesKmS, ScanKind::Reference, 1, stats);
}

int RayleighCoarseSteps(const float *thicknessKm, const float *vpKmS, const float *vsKmS,
    const float *density, float layerCount, float refinement, float frequencyHz)
{
    Model model;
    if (!BuildModel(thicknessKm, vpKmS, vsKmS, density, layerCount, 1, refinement, model)
        || !model.hasSlowestLayer)
        return 0;
    return PlanScan(model, frequencyHz).steps;
}

} // namespace velamod
