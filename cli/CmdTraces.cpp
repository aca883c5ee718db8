// vela-cli traces: reads a trace file with the reader the active data page uses and prints
// what it holds.
#include "cli/Commands.h"

#include "app/data/CExcelAccess.h"
#include "app/data/TraceReaders.h"

#include <QString>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// At least nine significant digits, and never the locale's decimal comma.
QByteArray Number(double value) { return QByteArray::number(value, 'g', 10); }

int Usage()
{
    std::fprintf(stderr, "usage: vela-cli traces FILE [--sheet NAME] (vela-cli traces --help)\n");
    return 2;
}

} // namespace

int CmdTraces(int argc, char **argv)
{
    QString path;
    QString sheet;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sheet") == 0) {
            if (i + 1 >= argc)
                return Usage();
            sheet = QString::fromLocal8Bit(argv[++i]);
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            return Usage();
        } else if (path.isEmpty()) {
            path = QString::fromLocal8Bit(argv[i]);
        } else {
            return Usage();
        }
    }
    if (path.isEmpty())
        return Usage();

    const TraceFormat format = TraceFormatForPath(path);
    if (format == TraceFormat::Excel && sheet.isEmpty()) {
        // Without --sheet the workbook's first sheet is read.
        QString message;
        const QStringList names = CExcelAccess::SheetNames(path, &message);
        if (names.isEmpty()) {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
            return 2;
        }
        sheet = names.first();
    }

    const TraceReadResult read = ReadTraceFile(path, sheet);
    if (!read.ok) {
        if (!read.message.isEmpty())
            std::fprintf(stderr, "%s\n", read.message.toLocal8Bit().constData());
        if (!read.detail.isEmpty() && read.detail != read.message)
            std::fprintf(stderr, "%s\n", read.detail.toLocal8Bit().constData());
        return 2;
    }

    QByteArray out;
    out += "format: " + TraceFormatName(format).toLatin1() + '\n';
    out += "traces: " + QByteArray::number(read.traces) + '\n';
    out += "samples: " + QByteArray::number(read.samples) + '\n';
    out += "time_step_ms: " + (read.hasTimeStep ? Number(read.timeStepMs) : QByteArray("unknown"))
        + '\n';
    // What the data page proposes: the file's spacing (else the page's default 1), and the
    // source offset and delay only when the file states them.
    const TraceGeometry &geometry = read.geometry;
    out +=
        "spacing_m: " + (geometry.hasSpacing ? Number(geometry.spacingM) : QByteArray("1")) + '\n';
    double offset = 0.0;
    if (geometry.SourceOffset(false, offset))
        out += "source_offset_m: " + Number(offset) + '\n';
    if (geometry.hasDelay)
        out += "delay_ms: " + Number(geometry.delayMs) + '\n';
    out += "trace,rms,s0,s1,s2,s3,s4\n";
    for (int t = 0; t < read.traces; ++t) {
        double sum = 0.0;
        for (int s = 0; s < read.samples; ++s)
            sum += read.At(s, t) * read.At(s, t);
        out += QByteArray::number(t + 1) + ',' + Number(std::sqrt(sum / read.samples));
        for (int s = 0; s < 5; ++s) {
            out += ',';
            if (s < read.samples)
                out += Number(read.At(s, t));
        }
        out += '\n';
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}
