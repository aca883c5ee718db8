// vela-cli spectrum: reads a shot with the reader of the active data page (several files of
// repeated blows are stacked), hands it to the analysis, computes the f-k spectrum and picks the
// curve in a band, as the spectrum page does; or, with --method phase-shift, computes the
// phase-shift image at the true offsets and prints its guided pick.
#include "cli/Commands.h"

#include "app/curve/CurveTable.h"
#include "app/data/CExcelAccess.h"
#include "app/data/TraceReaders.h"
#include "app/data/TraceSet.h"
#include "app/data/TraceStack.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/FkSpectrum.h"
#include "app/spectrum/GuidedPick.h"
#include "app/spectrum/PhaseShiftTransform.h"
#include "cli/CliOptions.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char *const Name = "spectrum";

int Usage()
{
    return CliBadInput(Name,
        "usage: vela-cli spectrum FILE [FILE...] [--sheet NAME] --dx M [--dt MS] "
        "[--receivers FIRST LAST] [--window START_MS END_MS] [--reverse] --band FMIN FMAX "
        "[--method fk|phase-shift] [--vrange VMIN VMAX] [--source-offset M] [--points OUT.txt] "
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

// The curve page's automatic points from the guided pick: the same K = min(N, 20) positions
// as from the f-k curve, but each point keeps its own bounds from the width of its peak.
std::vector<CurveRow> GuidedCurveRows(const std::vector<GuidedPickPoint> &points)
{
    std::vector<CurveRow> rows;
    const int n = static_cast<int>(points.size());
    const int k = std::min(n, 20);
    for (int m = 0; m < k; ++m) {
        const GuidedPickPoint &p = points[static_cast<size_t>(m * n / k)];
        rows.push_back(CurveRowOf(p.frequency, p.velocity, p.lower, p.upper));
    }
    return rows;
}

} // namespace

int CmdSpectrum(int argc, char **argv)
{
    QStringList paths;
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
    bool phaseShift = false;
    bool haveVelocityRange = false;
    bool haveSourceOffset = false;
    double minVelocity = 50.0;
    double maxVelocity = 1000.0;
    double sourceOffset = 0.0;

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
        } else if (std::strcmp(arg, "--method") == 0) {
            if (!values(1)
                || (std::strcmp(argv[i + 1], "fk") != 0
                    && std::strcmp(argv[i + 1], "phase-shift") != 0))
                return CliBadInput(Name, "--method needs fk or phase-shift");
            phaseShift = std::strcmp(argv[++i], "phase-shift") == 0;
        } else if (std::strcmp(arg, "--vrange") == 0) {
            if (!values(2) || !Number(argv[i + 1], minVelocity) || !Number(argv[i + 2], maxVelocity)
                || !(minVelocity > 0.0) || !(maxVelocity > minVelocity) || maxVelocity > 100000.0)
                return CliBadInput(
                    Name, "--vrange needs two velocities 0 < VMIN < VMAX <= 100000 m/s");
            haveVelocityRange = true;
            i += 2;
        } else if (std::strcmp(arg, "--source-offset") == 0) {
            if (!values(1) || !Number(argv[i + 1], sourceOffset) || !(sourceOffset >= 0.0))
                return CliBadInput(Name, "--source-offset needs a distance of at least 0 m");
            haveSourceOffset = true;
            ++i;
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
        } else {
            paths.append(QString::fromLocal8Bit(arg));
        }
    }
    if (paths.isEmpty())
        return Usage();
    if (!haveDx)
        return CliBadInput(Name, "missing --dx M");
    if (!haveBand)
        return CliBadInput(Name, "missing --band FMIN FMAX");
    if (!phaseShift && (haveVelocityRange || haveSourceOffset))
        return CliBadInput(Name, "--vrange and --source-offset need --method phase-shift");
    // The source stands one receiver spacing before the first receiver unless told otherwise.
    if (!haveSourceOffset)
        sourceOffset = dx;

    // Repeated blows at one source position are summed trace by trace; records of another
    // geometry are refused.
    TraceReadResult read;
    for (const QString &path : paths) {
        QString fileSheet = sheet;
        if (TraceFormatForPath(path) == TraceFormat::Excel && fileSheet.isEmpty()) {
            // Without --sheet the workbook's first sheet is read.
            QString message;
            const QStringList names = CExcelAccess::SheetNames(path, &message);
            if (names.isEmpty())
                return CliBadInput(Name, message.toStdString());
            fileSheet = names.first();
        }
        const TraceReadResult one = ReadTraceFile(path, fileSheet);
        if (!one.ok) {
            QString message = one.message;
            if (!one.detail.isEmpty() && one.detail != one.message)
                message += (message.isEmpty() ? QString() : QStringLiteral(": ")) + one.detail;
            return CliBadInput(Name, message.simplified().toStdString());
        }
        QString refused;
        if (!StackTraceRead(read, one, &refused))
            return CliBadInput(Name, (path + QStringLiteral(": ") + refused).toStdString());
    }
    const QString path = paths.first();

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
    if (phaseShift) {
        const ShotRecord &rec = analysis.m_active;
        const int used = rec.receiversUsed;
        if (used < 2)
            return CliBadInput(Name, "the phase-shift image needs at least two receivers");
        CMatrix traces(rec.windowedTraces.GetRows(), used);
        for (int r = 0; r < traces.GetRows(); ++r)
            for (int j = 0; j < used; ++j)
                traces.SetRaw(r, j, rec.windowedTraces(r, j));
        PhaseShiftParams params;
        params.timeStepMs = rec.timeStep;
        for (int j = 0; j < used; ++j)
            params.offsets.push_back(sourceOffset + rec.receiverOffsets(j));
        params.minVelocity = minVelocity;
        params.maxVelocity = maxVelocity;
        // 1 m/s, or finer for a narrow range, so that the grid has at least 200 rows.
        params.velocityStep = std::min(1.0, (maxVelocity - minVelocity) / 200.0);
        params.minFrequency = band.low;
        params.maxFrequency = band.high;
        const PhaseShiftImage image = ComputePhaseShiftImage(traces, params);
        if (!image.ok)
            return CliBadInput(Name, image.message.toStdString());
        GuidedPickOptions options;
        options.minFrequency = band.low;
        options.maxFrequency = band.high;
        const std::vector<GuidedPickPoint> points =
            GuidedPick(image.image, image.frequencies, image.velocities, options);

        if (!imagePath.isEmpty()) {
            // Frequency to the right, phase velocity upwards, in the spectrum's colours.
            const int rows = image.image.GetRows();
            const int columns = image.image.GetCols();
            QImage picture(columns, rows, QImage::Format_ARGB32);
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c)
                    picture.setPixel(c, rows - 1 - r, SpectrumColourOf(image.image(r, c)));
            if (!picture.save(imagePath, "PNG"))
                return CliFailure(Name, imagePath.toStdString() + ": cannot write the image");
        }
        if (!pointsPath.isEmpty() && !WriteCurveTextFile(pointsPath, GuidedCurveRows(points)))
            return CliFailure(Name, pointsPath.toStdString() + ": cannot write the points");
        QByteArray out("freq_hz,velocity_ms\n");
        for (const GuidedPickPoint &p : points)
            out += CsvNumber(p.frequency) + ',' + CsvNumber(p.velocity) + '\n';
        std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
        return 0;
    }

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
