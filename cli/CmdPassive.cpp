// vela-cli passive: the slowness-frequency image of an ambient-noise record and the velocity
// of its largest value at each frequency of a band.
#include "cli/Commands.h"

#include "app/data/CExcelAccess.h"
#include "app/data/TraceReaders.h"
#include "app/spectrum/PassiveTransform.h"
#include "cli/CliOptions.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

const char *const Command = "passive";

int Usage(const std::string &message)
{
    return CliBadInput(Command,
        message
            + " (usage: vela-cli passive FILE --dx M [--dt MS] [--receivers FIRST LAST]"
              " [--window START_MS END_MS] --band FMIN FMAX [--image OUT.png])");
}

bool Number(const char *text, const char *option, double &value, std::string &error)
{
    return CliNumberOption(CliOption { option, text }, value, error);
}

// The 64-colour map of the spectrum images, from dark blue through green and yellow to red.
QRgb SpectrumColour(int e)
{
    const int red = e <= 23 ? 0 : e <= 38 ? 16 * (e - 23) : e <= 55 ? 255 : 240 - 16 * (e - 56);
    const int green = e <= 7 ? 0
        : e <= 22            ? 16 * (e - 7)
        : e <= 39            ? 255
        : e <= 54            ? 240 - 16 * (e - 40)
                             : 0;
    static const int firstBlues[6] = { 144, 160, 182, 208, 224, 240 };
    const int blue = e <= 5 ? firstBlues[e] : e <= 22 ? 255 : e <= 37 ? 240 - 16 * (e - 23) : 0;
    return qRgb(std::min(red, 255), std::min(green, 255), std::min(blue, 255));
}

// One pixel per image value: frequency to the right, velocity upwards; values 0..1 coloured
// through the map (value x 64, at most entry 63).
bool WriteImage(const PassiveSpectrum &spectrum, const QString &path)
{
    const int rows = spectrum.image.GetRows();
    const int columns = spectrum.image.GetCols();
    QImage picture(columns, rows, QImage::Format_RGB32);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int entry =
                std::clamp(static_cast<int>(std::floor(spectrum.image(r, c) * 64.0)), 0, 63);
            picture.setPixel(c, rows - 1 - r, SpectrumColour(entry));
        }
    }
    return picture.save(path, "PNG");
}

} // namespace

int CmdPassive(int argc, char **argv)
{
    UseCliNumberFormat();
    QString path;
    QString imagePath;
    double dx = 0.0;
    double dt = 0.0;
    bool haveDx = false;
    bool haveDt = false;
    bool haveBand = false;
    bool haveWindow = false;
    bool haveReceivers = false;
    double band[2] = { 0.0, 0.0 };
    double window[2] = { 0.0, 0.0 };
    int receivers[2] = { 0, 0 };
    std::string error;
    for (int i = 0; i < argc; ++i) {
        const std::string name = argv[i];
        auto values = [&](int count) {
            if (i + count >= argc) {
                error = "option " + name + " needs " + (count == 1 ? "a value" : "two values");
                return false;
            }
            return true;
        };
        if (name == "--dx" || name == "--dt") {
            if (!values(1))
                return Usage(error);
            double value = 0.0;
            if (!CliPositiveOption(CliOption { name, argv[++i] },
                    name == "--dx" ? "the receiver spacing" : "the time step", value, error))
                return CliBadInput(Command, error);
            (name == "--dx" ? dx : dt) = value;
            (name == "--dx" ? haveDx : haveDt) = true;
        } else if (name == "--band" || name == "--window") {
            if (!values(2))
                return Usage(error);
            double *pair = name == "--band" ? band : window;
            if (!Number(argv[i + 1], name.c_str(), pair[0], error)
                || !Number(argv[i + 2], name.c_str(), pair[1], error))
                return CliBadInput(Command, error);
            i += 2;
            (name == "--band" ? haveBand : haveWindow) = true;
        } else if (name == "--receivers") {
            if (!values(2))
                return Usage(error);
            for (int k = 0; k < 2; ++k) {
                if (!CliWholeOption(
                        CliOption { name, argv[i + 1 + k] }, 1, 100000, receivers[k], error))
                    return CliBadInput(Command, error);
            }
            i += 2;
            haveReceivers = true;
        } else if (name == "--image") {
            if (!values(1))
                return Usage(error);
            imagePath = QString::fromLocal8Bit(argv[++i]);
        } else if (name.rfind("--", 0) == 0) {
            return Usage("unknown option '" + name + "'");
        } else if (path.isEmpty()) {
            path = QString::fromLocal8Bit(argv[i]);
        } else {
            return Usage("unexpected argument '" + name + "'");
        }
    }
    if (path.isEmpty())
        return Usage("missing FILE");
    if (!haveDx)
        return Usage("missing --dx M");
    if (!haveBand)
        return Usage("missing --band FMIN FMAX");
    if (!(band[0] >= 0.0) || !(band[1] > band[0]))
        return CliBadInput(Command, "the band needs 0 <= FMIN < FMAX");

    QString sheet;
    if (TraceFormatForPath(path) == TraceFormat::Excel) {
        // As `vela-cli traces`: the workbook's first sheet.
        QString message;
        const QStringList names = CExcelAccess::SheetNames(path, &message);
        if (names.isEmpty())
            return CliBadInput(Command, message.toStdString());
        sheet = names.first();
    }
    const TraceReadResult read = ReadTraceFile(path, sheet);
    if (!read.ok) {
        const QString why = read.detail.isEmpty() ? read.message : read.detail;
        return CliBadInput(Command, why.isEmpty() ? "the file cannot be read" : why.toStdString());
    }
    if (!haveDt) {
        if (!read.hasTimeStep)
            return CliBadInput(Command, "the file gives no time step: use --dt MS");
        dt = read.timeStepMs;
    }
    if (!(dt > 0.0))
        return CliBadInput(Command, "the time step must be positive");

    int first = 0;
    int last = read.traces - 1;
    if (haveReceivers) {
        if (receivers[0] > receivers[1] || receivers[1] > read.traces)
            return CliBadInput(
                Command, "--receivers needs 1 <= FIRST <= LAST <= " + std::to_string(read.traces));
        first = receivers[0] - 1;
        last = receivers[1] - 1;
    }
    int firstSample = 0;
    int lastSample = read.samples - 1;
    if (haveWindow) {
        if (!(window[0] >= 0.0) || !(window[1] > window[0]))
            return CliBadInput(Command, "the window needs 0 <= START_MS < END_MS");
        // Samples from the whole part of start / dt to the whole part of end / dt, as the
        // data pages take their window.
        const double start = std::floor(window[0] / dt);
        const double end = std::floor(window[1] / dt);
        if (start > read.samples - 2)
            return CliBadInput(Command, "the window starts after the end of the record");
        firstSample = static_cast<int>(start);
        lastSample = static_cast<int>(std::min<double>(end, read.samples - 1));
        if (lastSample <= firstSample)
            return CliBadInput(Command, "the window holds fewer than two samples");
    }

    const int used = last - first + 1;
    const int samples = lastSample - firstSample + 1;
    CMatrix traces(samples, used);
    for (int s = 0; s < samples; ++s)
        for (int j = 0; j < used; ++j)
            traces.SetRaw(s, j, read.At(firstSample + s, first + j));
    PassiveParams params;
    params.timeStepMs = dt;
    for (int j = 0; j < used; ++j)
        params.offsets.push_back((first + j) * dx);
    const PassiveSpectrum spectrum = ComputePassiveSpectrum(traces, params);
    if (!spectrum.ok)
        return CliBadInput(Command, spectrum.message.toStdString());

    const int columns = spectrum.frequencies.GetCount();
    if (columns == 0 || band[0] > spectrum.frequencies(columns - 1)
        || band[1] < spectrum.frequencies(0))
        return CliBadInput(Command,
            "no frequency of the image (" + std::to_string(spectrum.frequencies(0)) + " to "
                + std::to_string(spectrum.frequencies(columns - 1)) + " Hz) lies inside the band");
    if (!imagePath.isEmpty() && !WriteImage(spectrum, imagePath))
        return CliFailure(Command, "cannot write the image " + imagePath.toStdString());

    QByteArray out = "freq_hz,velocity_ms\n";
    CMatrix frequencies;
    CMatrix velocities;
    PassivePeakCurve(spectrum.image, spectrum.frequencies, spectrum.velocities, band[0], band[1],
        frequencies, velocities);
    for (int i = 0; i < frequencies.GetCount(); ++i)
        out += QByteArray::number(frequencies(i), 'g', 10) + ','
            + QByteArray::number(velocities(i), 'g', 10) + '\n';
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    return 0;
}
