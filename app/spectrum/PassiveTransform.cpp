// Slowness-frequency image of an ambient-noise record.

#include "app/spectrum/PassiveTransform.h"

#include "matrix/CComplexMatrix.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

constexpr double SlownessStart = -0.02; // [s/m]: 50 m/s
constexpr double MaxVelocity = 3000.0; // [m/s]
constexpr double MaxFrequency = 80.0; // [Hz]

QString Refuse(const char *text) { return QCoreApplication::translate("PassiveTransform", text); }

int NextPowerOfTwo(int n)
{
    int p = 2;
    while (p < n)
        p *= 2;
    return p;
}

// The slant-stacked trace of slowness p: the sum over the traces of trace j read at sample
// t + p x_j fs, linearly interpolated, positions outside the record skipped. `columns` holds
// the traces one after the other (trace j from j * samples).
void SlantStack(const std::vector<double> &columns, int samples, const std::vector<double> &offsets,
    double fs, double p, std::vector<double> &out)
{
    const int count = static_cast<int>(offsets.size());
    std::fill(out.begin(), out.end(), 0.0);
    for (int j = 0; j < count; ++j) {
        const double *trace = columns.data() + static_cast<size_t>(j) * samples;
        const double shift = p * offsets[static_cast<size_t>(j)] * fs;
        const double whole = std::floor(shift);
        const double a = shift - whole;
        const int i0 = static_cast<int>(whole);
        // Both t + i0 and t + i0 + 1 inside the record.
        const int tBegin = std::max(0, -i0);
        const int tEnd = std::min(samples, samples - 1 - i0);
        for (int t = tBegin; t < tEnd; ++t)
            out[static_cast<size_t>(t)] += trace[t + i0] + a * (trace[t + i0 + 1] - trace[t + i0]);
        // A position exactly on the last sample is inside too.
        if (a == 0.0) {
            const int t = samples - 1 - i0;
            if (t >= 0 && t < samples)
                out[static_cast<size_t>(t)] += trace[samples - 1];
        }
    }
}

// Magnitudes of bins [0, bins) of the slant stacks of slowness rows [begin, end) into the
// rows of `magnitude` (one row per slowness). Two real stacks share one complex transform (one
// as the real, the other as the imaginary part) and are separated by the symmetry of real
// spectra: A_k = (X_k + conj X_{L-k}) / 2, B_k = (X_k - conj X_{L-k}) / 2i.
void StackAndTransform(const std::vector<double> &columns, int samples,
    const std::vector<double> &offsets, double fs, const std::vector<double> &slowness, int length,
    int bins, int begin, int end, double *magnitude)
{
    constexpr int Chunk = 16; // complex columns per transform, two slownesses each
    std::vector<double> first(static_cast<size_t>(samples));
    std::vector<double> second(static_cast<size_t>(samples));
    for (int r0 = begin; r0 < end; r0 += 2 * Chunk) {
        const int rows = std::min(2 * Chunk, end - r0);
        const int count = (rows + 1) / 2;
        CComplexMatrix block(length, count);
        Complex *data = block.GetWritableData();
        for (int c = 0; c < count; ++c) {
            const int r = r0 + 2 * c;
            SlantStack(columns, samples, offsets, fs, slowness[static_cast<size_t>(r)], first);
            if (r + 1 < r0 + rows)
                SlantStack(
                    columns, samples, offsets, fs, slowness[static_cast<size_t>(r + 1)], second);
            else
                std::fill(second.begin(), second.end(), 0.0);
            const int kept = std::min(samples, length);
            for (int t = 0; t < kept; ++t)
                data[static_cast<size_t>(t) * count + c] =
                    Complex(first[static_cast<size_t>(t)], second[static_cast<size_t>(t)]);
        }
        block.FFT();
        for (int c = 0; c < count; ++c) {
            const int r = r0 + 2 * c;
            double *rowA = magnitude + static_cast<size_t>(r) * bins;
            double *rowB =
                r + 1 < r0 + rows ? magnitude + static_cast<size_t>(r + 1) * bins : nullptr;
            for (int k = 0; k < bins; ++k) {
                const Complex x = block(k, c);
                const Complex y = block((length - k) % length, c); // X_{L-k}
                // A = (x + conj y) / 2, B = (x - conj y) / 2i; only the moduli are needed.
                rowA[k] = 0.5 * std::hypot(x.re + y.re, x.im - y.im);
                if (rowB)
                    rowB[k] = 0.5 * std::hypot(x.re - y.re, x.im + y.im);
            }
        }
    }
}

} // namespace

CMatrix PassiveReduceColumns(const CMatrix &image, int outputColumns)
{
    const int rows = image.GetRows();
    const int inputColumns = image.GetCols();
    CMatrix reduced(rows, outputColumns);
    if (inputColumns == 0)
        return reduced;
    double *out = reduced.GetWritableData();
    for (int k = 0; k < outputColumns; ++k) {
        const int first = std::min(inputColumns - 1,
            static_cast<int>(static_cast<long long>(inputColumns) * k / outputColumns));
        const int end = std::max(first + 1,
            std::min(inputColumns,
                static_cast<int>(static_cast<long long>(inputColumns) * (k + 1) / outputColumns)));
        for (int r = 0; r < rows; ++r) {
            double largest = 0.0;
            for (int c = first; c < end; ++c)
                largest = std::max(largest, std::fabs(image(r, c)));
            out[static_cast<size_t>(r) * outputColumns + k] = largest;
        }
    }
    return reduced;
}

PassiveSpectrum ComputePassiveSpectrum(const CMatrix &traces, const PassiveParams &params)
{
    PassiveSpectrum result;
    const int samples = traces.GetRows();
    const int traceCount = traces.GetCols();
    if (samples < 2 || traceCount < 1) {
        result.message = Refuse(QT_TRANSLATE_NOOP(
            "PassiveTransform", "The passive spectrum needs at least one trace of two samples"));
        return result;
    }
    if (static_cast<int>(params.offsets.size()) != traceCount) {
        result.message = Refuse(
            QT_TRANSLATE_NOOP("PassiveTransform", "Every trace needs its receiver position"));
        return result;
    }
    for (double x : params.offsets) {
        if (!std::isfinite(x)) {
            result.message = Refuse(
                QT_TRANSLATE_NOOP("PassiveTransform", "Every trace needs its receiver position"));
            return result;
        }
    }
    if (!(params.timeStepMs > 0.0) || !std::isfinite(params.timeStepMs)) {
        result.message = Refuse(
            QT_TRANSLATE_NOOP("PassiveTransform", "The time step must be greater than zero"));
        return result;
    }
    if (params.slownessCount < 2 || params.slownessCount > 100000) {
        result.message = Refuse(QT_TRANSLATE_NOOP(
            "PassiveTransform", "The slowness grid needs from 2 to 100000 values"));
        return result;
    }
    const int length =
        params.transformLength > 0 ? params.transformLength : NextPowerOfTwo(samples);
    if (length < 2 || (length & (length - 1)) != 0) {
        result.message = Refuse(
            QT_TRANSLATE_NOOP("PassiveTransform", "The transform length must be a power of two"));
        return result;
    }

    const double fs = 1.0 / (params.timeStepMs * 0.001);
    const int n = params.slownessCount;
    const double slownessStep = 0.02 / n;

    // Frequency axis: 0 .. 80 Hz with the transform's step, or the active spectrum's range
    // when that ends below the transform's last frequency.
    const double frequencyStep = fs / length;
    const int lastTransformBin = length / 2;
    int firstBin = 0;
    int axisCount = static_cast<int>(std::lround(MaxFrequency / frequencyStep)) + 1;
    if (params.activeAnalysed && params.activeLastFrequency < lastTransformBin * frequencyStep
        && params.activeLastFrequency > params.activeFirstFrequency
        && params.activeFirstFrequency >= 0.0) {
        firstBin = static_cast<int>(std::lround(params.activeFirstFrequency / frequencyStep));
        axisCount = static_cast<int>(std::lround(
                        (params.activeLastFrequency - params.activeFirstFrequency) / frequencyStep))
            + 1;
    }
    axisCount = std::max(1, std::min(axisCount, lastTransformBin + 1 - firstBin));
    const int bins = firstBin + axisCount;

    // Slowness rows: the grid from -0.02 s/m towards 0, then its mirror image, so that row i
    // and row 2N-1-i hold opposite slownesses.
    std::vector<double> slowness(static_cast<size_t>(2 * n));
    for (int i = 0; i < n; ++i) {
        slowness[static_cast<size_t>(i)] = SlownessStart + i * slownessStep;
        slowness[static_cast<size_t>(2 * n - 1 - i)] = -slowness[static_cast<size_t>(i)];
    }

    // Each trace contiguous, so that the slant stack reads memory in order.
    std::vector<double> columns(static_cast<size_t>(samples) * traceCount);
    for (int t = 0; t < samples; ++t)
        for (int j = 0; j < traceCount; ++j)
            columns[static_cast<size_t>(j) * samples + t] = traces(t, j);

    std::vector<double> magnitude(static_cast<size_t>(2 * n) * bins);
    const double work = 2.0 * n * samples * traceCount;
    const int threads = work > 1e7
        ? static_cast<int>(std::min(4u, std::max(1u, std::thread::hardware_concurrency())))
        : 1;
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
        workers.emplace_back(StackAndTransform, std::cref(columns), samples,
            std::cref(params.offsets), fs, std::cref(slowness), length, bins, 2 * n * t / threads,
            2 * n * (t + 1) / threads, magnitude.data());
    }
    StackAndTransform(columns, samples, params.offsets, fs, slowness, length, bins, 0,
        2 * n / threads, magnitude.data());
    for (std::thread &worker : workers)
        worker.join();

    // Fold the two directions together, then divide each frequency column by its mean.
    std::vector<double> folded(static_cast<size_t>(n) * axisCount);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < axisCount; ++k) {
            folded[static_cast<size_t>(i) * axisCount + k] =
                magnitude[static_cast<size_t>(i) * bins + firstBin + k]
                + magnitude[static_cast<size_t>(2 * n - 1 - i) * bins + firstBin + k];
        }
    }
    for (int k = 0; k < axisCount; ++k) {
        double sum = 0.0;
        for (int i = 0; i < n; ++i)
            sum += folded[static_cast<size_t>(i) * axisCount + k];
        const double mean = sum / n;
        if (mean != 0.0) {
            for (int i = 0; i < n; ++i)
                folded[static_cast<size_t>(i) * axisCount + k] /= mean;
        }
    }

    // Velocity axis and resampling from the slowness grid (uniform in slowness).
    const double gridMin = -1.0 / SlownessStart;
    const double gridMax = -1.0 / (SlownessStart + (n - 1) * slownessStep);
    double vmax = MaxVelocity;
    if (params.activeAnalysed && params.activeMaxVelocity > gridMin)
        vmax = params.activeMaxVelocity;
    vmax = std::min({ vmax, gridMax, MaxVelocity });
    std::vector<double> velocities(PassiveVelocityCount);
    for (int r = 0; r < PassiveVelocityCount; ++r)
        velocities[static_cast<size_t>(r)] =
            gridMin + (vmax - gridMin) * r / (PassiveVelocityCount - 1);

    CMatrix resampled(PassiveVelocityCount, axisCount);
    double *out = resampled.GetWritableData();
    for (int r = 0; r < PassiveVelocityCount; ++r) {
        const double p = -1.0 / velocities[static_cast<size_t>(r)];
        const double u = std::clamp((p - SlownessStart) / slownessStep, 0.0, double(n - 1));
        const int i = std::min(n - 2, static_cast<int>(std::floor(u)));
        const double a = u - i;
        for (int k = 0; k < axisCount; ++k) {
            const double lo = folded[static_cast<size_t>(i) * axisCount + k];
            const double hi = folded[static_cast<size_t>(i + 1) * axisCount + k];
            out[static_cast<size_t>(r) * axisCount + k] = lo + a * (hi - lo);
        }
    }

    // The columns kept are exactly those of the frequency axis, so the reduction maps them
    // one to one onto it.
    CMatrix image = PassiveReduceColumns(resampled, axisCount);

    double lowest = image.GetData()[0];
    double highest = lowest;
    for (int i = 0; i < image.GetCount(); ++i) {
        lowest = std::min(lowest, image(i));
        highest = std::max(highest, image(i));
    }
    double *pixels = image.GetWritableData();
    for (int i = 0; i < image.GetCount(); ++i) {
        // A flat image (an all-zero record) has nothing to scale: it stays zero rather than
        // dividing by zero.
        pixels[i] = highest > lowest ? (pixels[i] - lowest) / (highest - lowest) : 0.0;
    }

    std::vector<double> frequencies;
    for (int k = 0; k < axisCount; ++k)
        frequencies.push_back((firstBin + k) * frequencyStep);
    result.image = image;
    result.frequencies = CMatrix::Column(frequencies);
    result.velocities = CMatrix::Column(velocities);
    result.ok = true;
    return result;
}

void PassivePeakCurve(const CMatrix &image, const CMatrix &frequencyAxis,
    const CMatrix &velocityAxis, double fmin, double fmax, CMatrix &frequencies,
    CMatrix &velocities)
{
    std::vector<double> f;
    std::vector<double> v;
    const int columns = std::min(image.GetCols(), frequencyAxis.GetCount());
    for (int c = 0; c < columns && image.GetRows() > 0; ++c) {
        const double frequency = frequencyAxis(c);
        if (frequency < fmin || frequency > fmax)
            continue;
        int row = -1;
        const double peak = image.ColMax(c, &row);
        if (!(peak > image.ColMin(c)) || row < 0 || row >= velocityAxis.GetCount())
            continue;
        f.push_back(frequency);
        v.push_back(velocityAxis(row));
    }
    frequencies = CMatrix(static_cast<int>(f.size()), 1);
    velocities = CMatrix(static_cast<int>(v.size()), 1);
    for (std::size_t i = 0; i < f.size(); ++i) {
        frequencies.Set(static_cast<int>(i), f[i]);
        velocities.Set(static_cast<int>(i), v[i]);
    }
}
