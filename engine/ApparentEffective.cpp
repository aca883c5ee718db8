// Apparent and effective dispersion curves of the superposed Rayleigh modes.
#include "engine/ApparentEffective.h"

#include "engine/Eigenfunctions.h"
#include "engine/ForwardParallel.h"
#include "engine/SparseFft.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"
#include "matrix/MatrixError.h"

#include <cmath>
#include <complex>
#include <vector>

namespace {

using Cd = std::complex<double>;

constexpr double TwoPi = 6.283185307179586;
constexpr double Pi = 3.141592653589793;
// A wavenumber drop larger than this fraction of 2 pi / dx between neighbouring frequencies
// is taken as an alias of the spatial sampling.
constexpr double UnwrapFraction = 0.7;

// First row of grid column i at or below `depth`; row 0 when the depth lies below the grid.
int RowAtDepth(const CMatrix &depthGrid, int i, double depth)
{
    for (int row = 0; row < depthGrid.GetRows(); ++row) {
        if (depthGrid(row, i) >= depth)
            return row;
    }
    return 0;
}

// One present mode at one frequency.
struct ApparentMode
{
    int column = 0;
    double velocity = 0.0;
    Cd weight; // a b / (U I1): A_mn = weight_m weight_n
};

// Per-thread scratch of the apparent curve.
struct ApparentScratch
{
    std::vector<ApparentMode> modes;
    std::vector<Cd> dP, dJ, gradient;
};

} // namespace

void CurvaApparente(const CMatrix &frequencies, const CMatrix &modalVelocities,
    const ModalIntegrals &integrals, const CMatrix &depthGrid,
    const EigenfunctionSet &eigenfunctions, int layerCount, const CMatrix &receiverOffsets,
    double firstDepth, double secondDepth, CComplexMatrix &apparentVelocities,
    CComplexMatrix *apparentSensitivities)
{
    const int frequencyCount = frequencies.GetCount();
    const int modeCount = modalVelocities.GetCols();
    const int offsetCount = receiverOffsets.GetCount();
    const EigenfunctionSet &set = eigenfunctions;
    if (modalVelocities.GetRows() < frequencyCount || set.frequencyCount != frequencyCount
        || set.modeCount != modeCount || integrals.frequencyCount != frequencyCount
        || integrals.modeCount != modeCount || integrals.layerCount < layerCount
        || depthGrid.GetCols() != frequencyCount || depthGrid.GetRows() != set.depthCount
        || layerCount < 1)
        throw CMatrixException(MatrixError::kInvalidOperation);

    CComplexMatrix apparent(frequencyCount, offsetCount);
    Complex *apparentData = apparent.GetWritableData();
    std::vector<Complex *> sensitivityData(static_cast<std::size_t>(layerCount), nullptr);
    for (int l = 0; l < layerCount; ++l) {
        if (!apparentSensitivities)
            break;
        apparentSensitivities[l] = CComplexMatrix(frequencyCount, offsetCount);
        sensitivityData[static_cast<std::size_t>(l)] = apparentSensitivities[l].GetWritableData();
    }

    std::vector<ApparentScratch> scratch(
        static_cast<std::size_t>(velamod::ParallelWorkerCount(frequencyCount)));
    for (ApparentScratch &s : scratch) {
        s.modes.reserve(static_cast<std::size_t>(modeCount));
        s.dP.resize(static_cast<std::size_t>(modeCount));
        s.dJ.resize(static_cast<std::size_t>(modeCount));
        s.gradient.resize(static_cast<std::size_t>(modeCount));
    }

    velamod::ParallelFor(frequencyCount, static_cast<int>(scratch.size()), [&](int i, int worker) {
        ApparentScratch &s = scratch[static_cast<std::size_t>(worker)];
        const double omega = TwoPi * frequencies(i);
        const int rowV = RowAtDepth(depthGrid, i, firstDepth);
        const int rowW = RowAtDepth(depthGrid, i, secondDepth);
        s.modes.clear();
        for (int m = 0; m < modeCount; ++m) {
            const double c = modalVelocities(i, m);
            if (c == 0.0)
                continue;
            const std::size_t index = integrals.ModeIndex(i, m);
            const Cd a = set.Sample(rowV, i, m).r2;
            const Cd b = rowW == rowV ? a : set.Sample(rowW, i, m).r2;
            s.modes.push_back(
                { m, c, a * b / (integrals.groupVelocity[index] * integrals.energy[index]) });
        }
        const int present = static_cast<int>(s.modes.size());

        for (int j = 0; j < offsetCount; ++j) {
            const double x = receiverOffsets(j);
            Cd sumP(0.0, 0.0), sumJ(0.0, 0.0);
            for (int p = 0; p < present; ++p)
                s.dP[static_cast<std::size_t>(p)] = s.dJ[static_cast<std::size_t>(p)] =
                    Cd(0.0, 0.0);
            // T_mn = T_nm and S_mn = S_nm, so each unordered pair is evaluated once and counted
            // twice; dT_mn/dc_m follows from theta, 1/sqrt(c_m c_n) and (1/c_m + 1/c_n).
            for (int p = 0; p < present; ++p) {
                const ApparentMode &mp = s.modes[static_cast<std::size_t>(p)];
                const double cm = mp.velocity;
                for (int q = p; q < present; ++q) {
                    const ApparentMode &mq = s.modes[static_cast<std::size_t>(q)];
                    const double cn = mq.velocity;
                    const Cd amplitude = mp.weight * mq.weight;
                    const double theta = omega * x * (1.0 / cm - 1.0 / cn);
                    const double cosine = std::cos(theta);
                    const double sine = std::sin(theta);
                    const double root = std::sqrt(cm * cn);
                    const double slownessSum = 1.0 / cm + 1.0 / cn;
                    const Cd t = amplitude * (cosine / root);
                    const Cd dTdcm = amplitude
                        * ((2.0 * omega * x * sine - cm * cosine) / (2.0 * cm * cm * root));
                    const Cd dTdcn = amplitude
                        * (-(2.0 * omega * x * sine + cn * cosine) / (2.0 * cn * cn * root));
                    const Cd dSdcm = dTdcm * slownessSum - t / (cm * cm);
                    const Cd dSdcn = dTdcn * slownessSum - t / (cn * cn);
                    const double multiplicity = p == q ? 1.0 : 2.0;
                    sumP += multiplicity * t;
                    sumJ += multiplicity * t * slownessSum;
                    s.dP[static_cast<std::size_t>(p)] += multiplicity * dTdcm;
                    s.dP[static_cast<std::size_t>(q)] += multiplicity * dTdcn;
                    s.dJ[static_cast<std::size_t>(p)] += multiplicity * dSdcm;
                    s.dJ[static_cast<std::size_t>(q)] += multiplicity * dSdcn;
                }
            }
            const std::size_t out = static_cast<std::size_t>(i) * offsetCount + j;
            const Cd velocity = present > 0 ? 2.0 * sumP / sumJ : Cd(0.0, 0.0);
            apparentData[out] = Complex(velocity.real(), velocity.imag());
            if (!apparentSensitivities || present == 0)
                continue;
            const Cd jSquared = sumJ * sumJ;
            for (int p = 0; p < present; ++p) {
                const auto u = static_cast<std::size_t>(p);
                s.gradient[u] = 2.0 * (s.dP[u] * sumJ - sumP * s.dJ[u]) / jSquared;
            }
            for (int l = 0; l < layerCount; ++l) {
                Cd sum(0.0, 0.0);
                for (int p = 0; p < present; ++p) {
                    const int m = s.modes[static_cast<std::size_t>(p)].column;
                    sum += s.gradient[static_cast<std::size_t>(p)]
                        * integrals.dcdBeta[integrals.DerivativeIndex(l, i, m)];
                }
                sensitivityData[static_cast<std::size_t>(l)][out] = Complex(sum.real(), sum.imag());
            }
        }
    });
    apparentVelocities = apparent;
}

void CurvaEffettiva(const CMatrix &frequencies, const CMatrix &modalVelocities,
    const ModalIntegrals &integrals, const EigenfunctionSet &eigenfunctions,
    const CMatrix &receiverOffsets, double horizontalForce1, double horizontalForce2,
    double verticalForce, double azimuth, CComplexMatrix &effectiveVelocities)
{
    const int frequencyCount = frequencies.GetCount();
    const int modeCount = modalVelocities.GetCols();
    const int offsetCount = receiverOffsets.GetCount();
    const EigenfunctionSet &set = eigenfunctions;
    if (modalVelocities.GetRows() < frequencyCount || set.frequencyCount != frequencyCount
        || set.modeCount != modeCount || integrals.frequencyCount != frequencyCount
        || integrals.modeCount != modeCount)
        throw CMatrixException(MatrixError::kInvalidOperation);

    CComplexMatrix effective(frequencyCount, 1);
    const double spacing = offsetCount >= 2 ? receiverOffsets(1) - receiverOffsets(0) : 0.0;
    if (offsetCount < 2 || offsetCount > EffectiveFftLength || !(spacing > 0.0)) {
        effectiveVelocities = effective;
        return;
    }

    const double horizontal =
        horizontalForce1 * std::cos(azimuth) + horizontalForce2 * std::sin(azimuth);
    const Cd quarterTurn = std::polar(1.0, Pi / 4.0);
    std::vector<int> peakBin(static_cast<std::size_t>(frequencyCount), 0);
    // Per worker: the transform with its tables and scratch, the record and the modal terms.
    const auto workers = static_cast<std::size_t>(velamod::ParallelWorkerCount(frequencyCount));
    std::vector<velamod::ZeroPaddedFftLease> transforms;
    transforms.reserve(workers);
    for (std::size_t w = 0; w < workers; ++w)
        transforms.emplace_back(EffectiveFftLength);
    std::vector<std::vector<Complex>> records(
        workers, std::vector<Complex>(static_cast<std::size_t>(offsetCount)));
    std::vector<std::vector<Cd>> coefficients(
        workers, std::vector<Cd>(static_cast<std::size_t>(modeCount)));
    std::vector<std::vector<double>> wavenumbers(
        workers, std::vector<double>(static_cast<std::size_t>(modeCount)));

    velamod::ParallelFor(frequencyCount, static_cast<int>(workers), [&](int i, int worker) {
        const auto w = static_cast<std::size_t>(worker);
        std::vector<Cd> &coefficient = coefficients[w];
        std::vector<double> &wavenumber = wavenumbers[w];
        const double omega = TwoPi * frequencies(i);
        int present = 0;
        for (int m = 0; m < modeCount; ++m) {
            const double c = modalVelocities(i, m);
            if (c == 0.0)
                continue;
            const std::size_t index = integrals.ModeIndex(i, m);
            const EigenfunctionSample top = set.Sample(0, i, m);
            const Cd r1 = top.r1;
            const Cd r2 = top.r2;
            const double k = omega / c;
            const Cd source = verticalForce * r2 + Cd(0.0, horizontal) * r1;
            // The far-field factor 1/sqrt(pi k x / 2) times the sqrt(x) that removes the
            // geometric spreading: written without x, it stays finite at x = 0.
            coefficient[static_cast<std::size_t>(present)] = source * r2 * quarterTurn
                / (8.0 * c * integrals.groupVelocity[index] * integrals.energy[index]
                    * std::sqrt(Pi * k / 2.0));
            wavenumber[static_cast<std::size_t>(present)] = k;
            ++present;
        }

        std::vector<Complex> &record = records[w];
        for (int j = 0; j < offsetCount; ++j) {
            const double x = receiverOffsets(j);
            Cd sum(0.0, 0.0);
            for (int p = 0; p < present; ++p) {
                const auto u = static_cast<std::size_t>(p);
                sum += coefficient[u] * std::polar(1.0, -wavenumber[u] * x);
            }
            record[static_cast<std::size_t>(j)] = Complex(sum.real(), sum.imag());
        }
        // The record zero-padded to 8192 samples and transformed as by the column FFT of
        // CComplexMatrix, without the butterflies that only move zeros.
        const int peak = transforms[w]->PeakBin(record.data(), offsetCount);
        peakBin[static_cast<std::size_t>(i)] = peak;
    });

    const double fullTurn = TwoPi / spacing;
    const double binWidth = TwoPi / (EffectiveFftLength * spacing);
    Complex *out = effective.GetWritableData();
    double lift = 0.0;
    double previous = 0.0;
    for (int i = 0; i < frequencyCount; ++i) {
        double kappa = fullTurn - peakBin[static_cast<std::size_t>(i)] * binWidth + lift;
        if (i > 0 && previous - kappa > UnwrapFraction * fullTurn) {
            lift += fullTurn;
            kappa += fullTurn;
        }
        previous = kappa;
        out[i] = Complex(TwoPi * frequencies(i) / kappa, 0.0);
    }
    effectiveVelocities = effective;
}
