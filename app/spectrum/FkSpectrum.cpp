#include "app/spectrum/FkSpectrum.h"

#include "app/data/UserNumber.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CComplexMatrix.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int SpatialSize = 256;
constexpr int HalfSpatial = SpatialSize / 2;
constexpr int RampLength = 51;
constexpr double RampStep = 0.06159985595274098; // pi / 51
constexpr double TwoPiWindow = 6.28318530717958; // the Hann window's 2 pi
constexpr double TwoPiPicking = 6.283192; // the constant of the wavenumber axis and picking
constexpr double ImageMaxFrequency = 90.0; // [Hz]

/// Cosine ramps of 51 samples at both ends of a window of n samples.
double TimeTaper(int i, int n)
{
    if (i < RampLength)
        return 0.5 * (1.0 - std::cos(i * RampStep));
    if (i > n - RampLength)
        return 0.5 * (1.0 - std::cos((n - i + 1) * RampStep));
    return 1.0;
}

/// Hann window over the full spatial size, evaluated from the nearer end.
double SpatialTaper(int j)
{
    if (j + 1 >= HalfSpatial)
        return 0.5 * (1.0 - std::cos(TwoPiWindow * (SpatialSize - j) / (SpatialSize + 1)));
    return 0.5 * (1.0 - std::cos(TwoPiWindow * (j + 1) / (SpatialSize + 1)));
}

int ClampByte(int value) { return std::clamp(value, 0, 255); }

QByteArray Format(const char *format, double a, double b)
{
    char buffer[2048]; // %f of a huge value runs to hundreds of digits
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return QByteArray(buffer);
}

bool WriteWhole(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

bool ComputeFkSpectrum(ShotRecord &rec)
{
    const int n = rec.timeSize;
    const CMatrix &a = rec.windowedTraces;
    if (n < 2 || a.GetRows() != n || a.GetCols() != SpatialSize || !(rec.timeStep > 0.0)
        || !(rec.receiverSpacing > 0.0))
        return false;

    // Columns past the receivers used hold zeros, and so do their transforms: only the used
    // ones go through the time FFT.
    const int used = std::clamp(rec.receiversUsed, 0, SpatialSize);
    const int offsets = std::min(used, rec.receiverOffsets.GetRows());
    CComplexMatrix c(n, std::max(used, 1));
    for (int i = 0; i < n; ++i) {
        const double wt = TimeTaper(i, n);
        for (int j = 0; j < used; ++j) {
            double value = a(i, j) * wt * SpatialTaper(j);
            if (j < offsets)
                value *= std::sqrt(rec.receiverOffsets(j));
            c.SetRaw(i, j, Complex(value, 0.0));
        }
    }
    c.FFT();

    // Only rows 0 .. n/2 - 1 are kept, so only they go through the spatial FFT.
    const int rows = n / 2;
    CComplexMatrix t(SpatialSize, rows);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < used; ++j)
            t.SetRaw(j, i, c(i, j));
    t.FFT();

    CMatrix spectrum(rows, SpatialSize);
    for (int j = 0; j < SpatialSize; ++j)
        for (int i = 0; i < rows; ++i) {
            const Complex &z = t(j, i);
            spectrum.SetRaw(i, j, std::sqrt(z.re * z.re + z.im * z.im));
        }

    CMatrix frequencies(rows, 1);
    for (int i = 0; i < rows; ++i)
        frequencies.SetRaw(i, 0, i * 1000.0 / (n * rec.timeStep));
    const double kNyquist = TwoPiPicking / (2.0 * rec.receiverSpacing);
    CMatrix wavenumbers(SpatialSize, 1);
    for (int j = 0; j < SpatialSize; ++j)
        wavenumbers.SetRaw(j, 0, kNyquist - j * 2.0 * kNyquist / SpatialSize);

    rec.spectrum = std::move(spectrum);
    rec.frequencyAxis = std::move(frequencies);
    rec.wavenumberAxis = std::move(wavenumbers);
    return true;
}

double SpectrumMaxFrequency(const ShotRecord &rec)
{
    const double half = rec.timeSize / 2;
    if (!(half > 0.0) || !(rec.timeStep > 0.0))
        return 0.0;
    return 1000.0 * rec.spectrum.GetRows() / (2.0 * half * rec.timeStep);
}

SpectrumBand CheckSpectrumBand(
    const QString &lowText, const QString &highText, const ShotRecord &rec)
{
    SpectrumBand band;
    const std::optional<double> low = ParseUserNumber(lowText);
    const std::optional<double> high = ParseUserNumber(highText);
    if (!low)
        band.errors += QCoreApplication::translate(
            "CGUIRispostaSperimentale2", "Insert the lower limit of the bandwidth\r\n");
    else if (*low < 0.0)
        band.errors += QCoreApplication::translate(
            "CGUIRispostaSperimentale2", "Bandwidth lower limit must be positive or zero\r\n");
    if (!high)
        band.errors += QCoreApplication::translate(
            "CGUIRispostaSperimentale2", "Insert upper limit of the bandwidth\r\n\"");
    else if (*high < 0.0)
        band.errors += QCoreApplication::translate(
            "CGUIRispostaSperimentale2", "Upper bandwidth limit must be positive\r\n");
    if (low && high && *low >= *high)
        band.errors += QCoreApplication::translate("CGUIRispostaSperimentale2",
            "Upper bandwidth limit must be greater than lower limit\r\n");
    const double maxFrequency = SpectrumMaxFrequency(rec);
    if (high && *high > maxFrequency)
        band.errors +=
            QCoreApplication::translate("CGUIRispostaSperimentale2", "Max bandwidth is %1\r\n")
                .arg(FormatUserNumber(maxFrequency));
    band.low = low.value_or(0.0);
    band.high = high.value_or(0.0);
    return band;
}

PickedCurve PickSpectrumCurve(const ShotRecord &rec, double low, double high)
{
    const CMatrix &s = rec.spectrum;
    const int rows = s.GetRows();
    const int n = rec.timeSize;
    const double dt = rec.timeStep;
    PickedCurve curve;
    if (rows <= 0 || s.GetCols() != SpatialSize || rec.wavenumberAxis.GetRows() != SpatialSize
        || rec.frequencyAxis.GetRows() != rows || !(dt > 0.0))
        return curve;
    const double scale = dt * (n / 2) * 0.002;
    const double first = std::floor(low * scale);
    const double last = std::min(std::ceil(high * scale), static_cast<double>(rows - 1));
    if (!(first <= last) || last < 0.0)
        return curve;
    const int i0 = static_cast<int>(std::max(first, 0.0));
    const int i1 = static_cast<int>(last);

    std::vector<double> velocities;
    std::vector<double> frequencies;
    for (int i = i0; i <= i1; ++i) {
        int peak = 0;
        for (int j = 1; j < SpatialSize; ++j)
            if (s(i, j) > s(i, peak))
                peak = j;
        const int shifted = peak < HalfSpatial ? peak + HalfSpatial : peak - HalfSpatial;
        const double k = rec.wavenumberAxis(shifted);
        // The zero wavenumber carries no phase velocity: such a row gives no point.
        if (k == 0.0)
            continue;
        const double velocity = (TwoPiPicking * i / n) / dt / k * 1000.0;
        if (!std::isfinite(velocity))
            continue;
        velocities.push_back(velocity);
        frequencies.push_back(rec.frequencyAxis(i));
    }
    curve.velocities = CMatrix::Column(velocities);
    curve.frequencies = CMatrix::Column(frequencies);
    return curve;
}

std::uint32_t SpectrumColour(int e)
{
    e = std::clamp(e, 0, 63);
    int red = 0;
    if (e >= 24 && e <= 38)
        red = 16 * (e - 23);
    else if (e >= 39 && e <= 55)
        red = 255;
    else if (e >= 56)
        red = 240 - 16 * (e - 56);
    int green = 0;
    if (e >= 8 && e <= 22)
        green = 16 * (e - 7);
    else if (e >= 23 && e <= 39)
        green = 255;
    else if (e >= 40 && e <= 54)
        green = 240 - 16 * (e - 40);
    static const int firstBlues[6] = { 144, 160, 182, 208, 224, 240 };
    int blue = 0;
    if (e <= 5)
        blue = firstBlues[e];
    else if (e <= 22)
        blue = 255;
    else if (e <= 37)
        blue = 240 - 16 * (e - 23);
    return 0xFF000000u | (static_cast<std::uint32_t>(ClampByte(red)) << 16)
        | (static_cast<std::uint32_t>(ClampByte(green)) << 8)
        | static_cast<std::uint32_t>(ClampByte(blue));
}

std::uint32_t SpectrumColourOf(double value)
{
    if (!(value > 0.0))
        return SpectrumColour(0);
    return SpectrumColour(static_cast<int>(std::min(std::floor(value * 64.0), 63.0)));
}

SpectrumImage MakeSpectrumImage(const ShotRecord &rec)
{
    SpectrumImage image;
    const CMatrix &s = rec.spectrum;
    const int rows = s.GetRows();
    if (rows <= 0 || s.GetCols() != SpatialSize || rec.timeSize < 2 || !(rec.timeStep > 0.0))
        return image;
    const double step = 1000.0 / (rec.timeSize * rec.timeStep);
    const int height = std::clamp(static_cast<int>(std::floor(ImageMaxFrequency / step)), 1, rows);
    const int width = HalfSpatial;

    // Block: rows 0 .. height-1, FFT columns 255 down to 128 (left to right).
    std::vector<double> block(static_cast<std::size_t>(height) * width);
    double sum = 0.0;
    for (int i = 0; i < height; ++i)
        for (int x = 0; x < width; ++x) {
            const double v = s(i, SpatialSize - 1 - x);
            block[static_cast<std::size_t>(i) * width + x] = v;
            sum += v;
        }
    const double clip = 2.0 * sum / static_cast<double>(block.size());
    double largest = 0.0;
    for (double &v : block) {
        v = std::min(v, clip);
        largest = std::max(largest, v);
    }

    image.width = width;
    image.height = height;
    image.pixels.resize(block.size());
    for (int i = 0; i < height; ++i) {
        const int top = height - 1 - i; // frequencies increase upwards
        for (int x = 0; x < width; ++x) {
            const double v = block[static_cast<std::size_t>(i) * width + x];
            image.pixels[static_cast<std::size_t>(top) * width + x] =
                SpectrumColourOf(largest > 0.0 ? v / largest : 0.0);
        }
    }
    image.maxWavenumber = rec.wavenumberAxis.GetRows() == SpatialSize
        ? rec.wavenumberAxis(0)
        : TwoPiPicking / (2.0 * rec.receiverSpacing);
    image.maxFrequency = height * step;
    return image;
}

bool WritePickedCurveText(
    const QString &path, const CMatrix &frequencies, const CMatrix &velocities)
{
    const int n = std::min(frequencies.GetCount(), velocities.GetCount());
    QByteArray out("%Experimental dispersion curve\r\n");
    out += "% " + QByteArray::number(n) + "x2\r\n";
    out += "%f[Hz]\tvs[m/s]\r\n";
    for (int i = 0; i < n; ++i)
        out += Format("%f %f\r\n", frequencies(i), velocities(i));
    out += "%==================================\r\n";
    return WriteWhole(path, out);
}

bool WriteSpectrumText(const QString &path, const ShotRecord &rec)
{
    const CMatrix &s = rec.spectrum;
    const int rows = std::min(s.GetRows(), rec.frequencyAxis.GetRows());
    const int cols = std::min(s.GetCols(), rec.wavenumberAxis.GetRows());
    QByteArray out("%Spectrum f-k of dispersion\r\n");
    out += "% " + QByteArray::number(static_cast<qint64>(s.GetRows()) * s.GetCols()) + "x3\r\n";
    out.reserve(out.size() + static_cast<qsizetype>(rows) * cols * 36);
    char buffer[4096]; // %f of a huge value runs to hundreds of digits
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
            const int length = std::snprintf(buffer, sizeof buffer, "%f\t%f\t%f\r\n", s(i, j),
                rec.frequencyAxis(i), rec.wavenumberAxis(j));
            out.append(buffer, std::min<int>(length, sizeof buffer - 1));
        }
    return WriteWhole(path, out);
}
