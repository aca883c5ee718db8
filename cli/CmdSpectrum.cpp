// vela-cli spectrum: reads a shot with the reader of the active data page, hands it to the
// analysis, computes the f-k spectrum and picks the curve in a band, as the spectrum page does.
#include "cli/Commands.h"

#include "app/curve/CurveTable.h"
#include "app/data/TraceReaders.h"
#include "app/data/TraceSet.h"
#include "app/data/CExcelAccess.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/FkSpectrum.h"
#include "cli/CliOptions.h"

#include <QImage>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char *const Name = "spectrum";

int Usage()
{
    return CliBadInput(Name,
        "usage: vela-cli spectrum FILE [--sheet NAME] --dx M [--dt MS] [--receivers FIRST LAST] "
        "[--window START_MS END_MS] [--reverse] --band FMIN FMAX [--points OUT.txt] "
        "[--image OUT.png]");
}

bool Number(const char *text, double &value)
{
    std::string error;
    return CliNumberOption(CliOption { std::string(), text }, value, error);
}

bool Whole(const char *text, int &value)
{
    double number = 0.0;
    if (!Number(text, number) || number != std::floor(number) || std::abs(number) > 1e9)
        return false;
    value = static_cast<int>(number);
    return true;
}

/// The band messages joined into one line.
std::string OneLine(const QString &messages)
{
    QStringList parts = messages.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (QString &part : parts)
        part = part.trimmed();
    parts.removeAll(QString());
    return parts.join(QStringLiteral("; ")).toStdString();
}

QByteArray CsvNumber(double value) { return QByteArray::number(value, 'g', 10); }

} // namespace

int CmdSpectrum(int argc, char **argv)
{
    QString path;
    QString sheet;
    QString pointsPath;
    QString imagePath;
    QString bandLow;
    QString bandHigh;
    double dx = 0.0;
    double dt = 0.0;
    bool haveDx = false;
    bool haveDt = false;
    bool haveBand = false;
    bool haveReceivers = false;
    bool haveWindow = false;
    bool reverse = false;
    int firstReceiver = 0;
    int lastReceiver = 0;
    double windowStart = 0.0;
    double windowEnd = 0.0;

    for (int i = 0; i < argc; ++i) {
        const char *arg = argv[i];
        const auto values = [&](int count) { return i + count < argc; };
        if (std::strcmp(arg, "--sheet") == 0) {
            if (!values(1))
                return Usage();
            sheet = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(arg, "--dx") == 0) {
            if (!values(1) || !Number(argv[i + 1], dx) || !(dx > 0.0))
                return CliBadInput(Name, "--dx needs a receiver spacing above 0 m");
            haveDx = true;
            ++i;
        } else if (std::strcmp(arg, "--dt") == 0) {
            if (!values(1) || !Number(argv[i + 1], dt) || !(dt > 0.0))
                return CliBadInput(Name, "--dt needs a time step above 0 ms");
            haveDt = true;
            ++i;
        } else if (std::strcmp(arg, "--receivers") == 0) {
            if (!values(2) || !Whole(argv[i + 1], firstReceiver)
                || !Whole(argv[i + 2], lastReceiver))
                return CliBadInput(Name, "--receivers needs two whole numbers FIRST LAST");
            haveReceivers = true;
            i += 2;
        } else if (std::strcmp(arg, "--window") == 0) {
            if (!values(2) || !Number(argv[i + 1], windowStart) || !Number(argv[i + 2], windowEnd))
                return CliBadInput(Name, "--window needs two times START_MS END_MS");
            haveWindow = true;
            i += 2;
        } else if (std::strcmp(arg, "--reverse") == 0) {
            reverse = true;
        } else if (std::strcmp(arg, "--band") == 0) {
            if (!values(2))
                return CliBadInput(Name, "--band needs two frequencies FMIN FMAX");
            bandLow = QString::fromLocal8Bit(argv[i + 1]);
            bandHigh = QString::fromLocal8Bit(argv[i + 2]);
            haveBand = true;
            i += 2;
        } else if (std::strcmp(arg, "--points") == 0) {
            if (!values(1))
                return Usage();
            pointsPath = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(arg, "--image") == 0) {
            if (!values(1))
                return Usage();
            imagePath = QString::fromLocal8Bit(argv[++i]);
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return CliBadInput(Name, std::string("unknown option ") + arg);
        } else if (path.isEmpty()) {
            path = QString::fromLocal8Bit(arg);
        } else {
            return Usage();
        }
    }
    if (path.isEmpty())
        return Usage();
    if (!haveDx)
        return CliBadInput(Name, "missing --dx M");
    if (!haveBand)
        return CliBadInput(Name, "missing --band FMIN FMAX");

    if (TraceFormatForPath(path) == TraceFormat::Excel && sheet.isEmpty()) {
        // Without --sheet the workbook's first sheet is read.
        QString message;
        const QStringList names = CExcelAccess::SheetNames(path, &message);
        if (names.isEmpty())
            return CliBadInput(Name, message.toStdString());
        sheet = names.first();
    }
    const TraceReadResult read = ReadTraceFile(path, sheet);
    if (!read.ok) {
        QString message = read.message;
        if (!read.detail.isEmpty() && read.detail != read.message)
            message += (message.isEmpty() ? QString() : QStringLiteral(": ")) + read.detail;
        return CliBadInput(Name, message.simplified().toStdString());
    }

    TraceSet set;
    set.Replace(read, path);
    if (haveDt) {
        // The whole record, measured with the step given.
        set.timeStep = dt;
        set.windowEnd = set.sampleCount * dt;
    }
    if (!(set.timeStep > 0.0))
        return CliBadInput(Name, "the file gives no time step: use --dt MS");
    set.receiverSpacing = dx;
    if (reverse)
        set.Reverse();
    set.reversed = reverse;
    if (haveReceivers) {
        if (firstReceiver < 1 || lastReceiver < firstReceiver || lastReceiver > set.traceCount)
            return CliBadInput(Name,
                "--receivers must satisfy 1 <= FIRST <= LAST <= " + std::to_string(set.traceCount));
        set.firstReceiver = firstReceiver - 1;
        set.lastReceiver = lastReceiver - 1;
    } else {
        set.firstReceiver = 0;
        set.lastReceiver = set.traceCount - 1;
    }
    if (set.lastReceiver - set.firstReceiver + 1 > 256)
        return CliBadInput(Name, "at most 256 receivers take part in the transform");
    if (haveWindow) {
        if (windowStart < 0.0 || !(windowEnd > windowStart))
            return CliBadInput(Name, "--window needs 0 <= START_MS < END_MS");
        if (windowStart >= set.sampleCount * set.timeStep)
            return CliBadInput(Name, "--window starts after the end of the record");
        set.windowStart = windowStart;
        set.windowEnd = windowEnd;
    }
    set.windowSampleCount = static_cast<int>(set.windowEnd / set.timeStep) + 1;

    DispersionAnalysis analysis;
    if (!analysis.HandOverActiveTraces(set) || !ComputeFkSpectrum(analysis.m_active))
        return CliBadInput(Name, "the window holds too few samples for a spectrum");

    const SpectrumBand band = CheckSpectrumBand(bandLow, bandHigh, analysis.m_active);
    if (!band.errors.isEmpty())
        return CliBadInput(Name, OneLine(band.errors));
    const PickedCurve curve = PickSpectrumCurve(analysis.m_active, band.low, band.high);

    if (!imagePath.isEmpty()) {
        const SpectrumImage image = MakeSpectrumImage(analysis.m_active);
        const QImage picture(reinterpret_cast<const uchar *>(image.pixels.data()), image.width,
            image.height, image.width * 4, QImage::Format_ARGB32);
        if (image.pixels.empty() || !picture.copy().save(imagePath, "PNG"))
            return CliFailure(Name, imagePath.toStdString() + ": cannot write the image");
    }
    if (!pointsPath.isEmpty()) {
        const std::vector<CurveRow> rows = AutomaticCurveRows(curve.frequencies, curve.velocities);
        if (!WriteCurveTextFile(pointsPath, rows))
            return CliFailure(Name, pointsPath.toStdString() + ": cannot write the points");
    }

    QByteArray out("freq_hz,velocity_ms\n");
    for (int p = 0; p < curve.frequencies.GetRows(); ++p) {
        if (!std::isfinite(curve.velocities(p)))
            continue;
        out += CsvNumber(curve.frequencies(p)) + ',' + CsvNumber(curve.velocities(p)) + '\n';
    }
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    return 0;
}
