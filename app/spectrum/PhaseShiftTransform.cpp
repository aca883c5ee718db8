// Phase-shift dispersion image.

#include "app/spectrum/PhaseShiftTransform.h"

#include "matrix/CComplexMatrix.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

constexpr double TwoPi = 6.283185307179586;

QString Refuse(const char *text)
{
    return QCoreApplication::translate("PhaseShiftTransform", text);
}

int NextPowerOfTwo(int n)
{
    int p = 2;
    while (p < n)
        p *= 2;
    return p;
}

// Unit-amplitude spectra of all traces over the chosen bins, stored trace by trace with real
// and imaginary parts apart so that the velocity loop runs over contiguous arrays.
struct NormalisedSpectra
{
    int bins = 0;
    std::vector<double> re;
    std::vector<double> im;
};

// Sums the phase-shifted spectra for the velocities [begin, end) into the image rows.
void ScanVelocities(const NormalisedSpectra &spectra, const std::vector<double> &offsets,
    double firstOmega, double omegaStep, const std::vector<double> &velocities, int begin, int end,
    double *image)
{
    // The phase grows linearly with frequency, so the phasor of the next bin is this one times
    // a fixed rotation. Eight interleaved phasors, each stepped by eight bins, keep the
    // multiplications independent; every block of Block bins restarts from an exact sine and
    // cosine, so that rounding (about 1e-16 per step) cannot build up over long records.
    constexpr int Block = 512;
    constexpr int Lanes = 8;
    const int bins = spectra.bins;
    const int traces = static_cast<int>(offsets.size());
    std::vector<double> sumRe(static_cast<size_t>(bins));
    std::vector<double> sumIm(static_cast<size_t>(bins));
    std::vector<double> phaseRe(static_cast<size_t>(bins) + Lanes);
    std::vector<double> phaseIm(static_cast<size_t>(bins) + Lanes);
    for (int v = begin; v < end; ++v) {
        std::fill(sumRe.begin(), sumRe.end(), 0.0);
        std::fill(sumIm.begin(), sumIm.end(), 0.0);
        for (int j = 0; j < traces; ++j) {
            const double delay =
                offsets[static_cast<size_t>(j)] / velocities[static_cast<size_t>(v)];
            const double stepAngle = omegaStep * delay;
            double stepRe[Lanes];
            double stepIm[Lanes];
            for (int l = 0; l < Lanes; ++l) {
                stepRe[l] = std::cos(l * stepAngle);
                stepIm[l] = std::sin(l * stepAngle);
            }
            const double rLre = std::cos(Lanes * stepAngle);
            const double rLim = std::sin(Lanes * stepAngle);
            for (int blockStart = 0; blockStart < bins; blockStart += Block) {
                const int blockEnd = std::min(bins, blockStart + Block);
                const double angle = (firstOmega + blockStart * omegaStep) * delay;
                const double startRe = std::cos(angle);
                const double startIm = std::sin(angle);
                double zre[Lanes];
                double zim[Lanes];
                for (int l = 0; l < Lanes; ++l) {
                    zre[l] = startRe * stepRe[l] - startIm * stepIm[l];
                    zim[l] = startRe * stepIm[l] + startIm * stepRe[l];
                }
                for (int k = blockStart; k < blockEnd; k += Lanes) {
                    for (int l = 0; l < Lanes; ++l) {
                        phaseRe[static_cast<size_t>(k + l)] = zre[l];
                        phaseIm[static_cast<size_t>(k + l)] = zim[l];
                        const double nre = zre[l] * rLre - zim[l] * rLim;
                        zim[l] = zre[l] * rLim + zim[l] * rLre;
                        zre[l] = nre;
                    }
                }
            }
            // No aliasing between the arrays: lets the compiler run this loop on vector lanes.
            const double *__restrict ure = spectra.re.data() + static_cast<size_t>(j) * bins;
            const double *__restrict uim = spectra.im.data() + static_cast<size_t>(j) * bins;
            const double *__restrict pre = phaseRe.data();
            const double *__restrict pim = phaseIm.data();
            double *__restrict accRe = sumRe.data();
            double *__restrict accIm = sumIm.data();
            for (int k = 0; k < bins; ++k) {
                accRe[k] += ure[k] * pre[k] - uim[k] * pim[k];
                accIm[k] += ure[k] * pim[k] + uim[k] * pre[k];
            }
        }
        double *row = image + static_cast<size_t>(v) * bins;
        for (int k = 0; k < bins; ++k)
            row[k] = std::sqrt(sumRe[static_cast<size_t>(k)] * sumRe[static_cast<size_t>(k)]
                         + sumIm[static_cast<size_t>(k)] * sumIm[static_cast<size_t>(k)])
                / traces;
    }
}

} // namespace

std::vector<double> PhaseShiftOffsets(
    double sourceOffset, double spacing, int firstReceiver, int count)
{
    std::vector<double> offsets;
    for (int j = 0; j < count; ++j)
        offsets.push_back(sourceOffset + (firstReceiver + j) * spacing);
    return offsets;
}

PhaseShiftImage ComputePhaseShiftImage(const CMatrix &traces, const PhaseShiftParams &params)
{
    PhaseShiftImage result;
    const int samples = traces.GetRows();
    const int traceCount = traces.GetCols();
    if (samples < 2 || traceCount < 2) {
        result.message = Refuse(QT_TRANSLATE_NOOP("PhaseShiftTransform",
            "The phase-shift image needs at least two traces of two samples"));
        return result;
    }
    if (static_cast<int>(params.offsets.size()) != traceCount) {
        result.message = Refuse(QT_TRANSLATE_NOOP(
            "PhaseShiftTransform", "Every trace needs its distance from the source"));
        return result;
    }
    if (!(params.timeStepMs > 0.0) || !std::isfinite(params.timeStepMs)) {
        result.message = Refuse(
            QT_TRANSLATE_NOOP("PhaseShiftTransform", "The time step must be greater than zero"));
        return result;
    }
    if (!(params.minVelocity > 0.0) || !(params.maxVelocity > params.minVelocity)
        || !(params.velocityStep > 0.0) || !std::isfinite(params.maxVelocity)) {
        result.message = Refuse(QT_TRANSLATE_NOOP("PhaseShiftTransform",
            "The velocity range needs 0 < minimum < maximum and a step greater than zero"));
        return result;
    }
    const double rows =
        std::floor((params.maxVelocity - params.minVelocity) / params.velocityStep + 1e-9);
    if (rows + 1.0 > 100000.0) {
        result.message = Refuse(QT_TRANSLATE_NOOP(
            "PhaseShiftTransform", "The velocity step is too small for the velocity range"));
        return result;
    }
    if (!(params.minFrequency >= 0.0) || !(params.maxFrequency > params.minFrequency)
        || !std::isfinite(params.maxFrequency)) {
        result.message = Refuse(QT_TRANSLATE_NOOP(
            "PhaseShiftTransform", "The frequency band needs 0 <= lowest < highest frequency"));
        return result;
    }
    for (double x : params.offsets) {
        if (!std::isfinite(x)) {
            result.message = Refuse(QT_TRANSLATE_NOOP(
                "PhaseShiftTransform", "Every trace needs its distance from the source"));
            return result;
        }
    }

    const int length = NextPowerOfTwo(samples);
    const double timeStep = params.timeStepMs * 0.001;
    const double frequencyStep = 1.0 / (length * timeStep);
    const int firstBin =
        std::max(1, static_cast<int>(std::ceil(params.minFrequency / frequencyStep - 1e-9)));
    const int lastBin = std::min(
        length / 2, static_cast<int>(std::floor(params.maxFrequency / frequencyStep + 1e-9)));
    if (lastBin < firstBin) {
        result.message = Refuse(QT_TRANSLATE_NOOP(
            "PhaseShiftTransform", "No frequency of the record lies inside the band"));
        return result;
    }
    const int bins = lastBin - firstBin + 1;

    CComplexMatrix spectra(length, traceCount);
    {
        Complex *data = spectra.GetWritableData();
        const double *in = traces.GetData();
        for (size_t i = 0; i < static_cast<size_t>(samples) * traceCount; ++i)
            data[i] = Complex(in[i], 0.0);
    }
    spectra.FFT();

    NormalisedSpectra unit;
    unit.bins = bins;
    unit.re.assign(static_cast<size_t>(bins) * traceCount, 0.0);
    unit.im.assign(static_cast<size_t>(bins) * traceCount, 0.0);
    for (int j = 0; j < traceCount; ++j) {
        for (int k = 0; k < bins; ++k) {
            const Complex &z = spectra(firstBin + k, j);
            const double modulus = std::hypot(z.re, z.im);
            if (modulus > 0.0) {
                unit.re[static_cast<size_t>(j) * bins + k] = z.re / modulus;
                unit.im[static_cast<size_t>(j) * bins + k] = z.im / modulus;
            }
        }
    }

    std::vector<double> velocities;
    for (int i = 0; i <= static_cast<int>(rows); ++i)
        velocities.push_back(params.minVelocity + i * params.velocityStep);
    const int velocityCount = static_cast<int>(velocities.size());

    result.image = CMatrix(velocityCount, bins);
    double *image = result.image.GetWritableData();
    const double firstOmega = TwoPi * firstBin * frequencyStep;
    const double omegaStep = TwoPi * frequencyStep;

    // Velocities are independent of each other: split them over the available cores when the
    // image is large enough for the thread start to pay.
    const double work = static_cast<double>(velocityCount) * bins * traceCount;
    const int threads = work > 2e6
        ? static_cast<int>(std::min(4u, std::max(1u, std::thread::hardware_concurrency())))
        : 1;
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
        const int begin = velocityCount * t / threads;
        const int end = velocityCount * (t + 1) / threads;
        workers.emplace_back(ScanVelocities, std::cref(unit), std::cref(params.offsets), firstOmega,
            omegaStep, std::cref(velocities), begin, end, image);
    }
    ScanVelocities(
        unit, params.offsets, firstOmega, omegaStep, velocities, 0, velocityCount / threads, image);
    for (std::thread &worker : workers)
        worker.join();

    std::vector<double> frequencies;
    for (int k = 0; k < bins; ++k)
        frequencies.push_back((firstBin + k) * frequencyStep);
    result.frequencies = CMatrix::Column(frequencies);
    result.velocities = CMatrix::Column(velocities);
    result.ok = true;
    return result;
}
