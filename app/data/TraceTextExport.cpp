#include "app/data/TraceTextExport.h"

#include "app/data/TraceSet.h"

#include <QSaveFile>

#include <cmath>

QByteArray ExportNumber(double value)
{
    if (value == 0.0 || std::fabs(value) >= 0.1 || !std::isfinite(value))
        return QByteArray::number(value, 'f', 6);
    // QByteArray::number writes a two-digit exponent, as C's "%e" does on this platform.
    return QByteArray::number(value, 'e', 6);
}

QByteArray TracesText(const TraceSet &set)
{
    const int samples = set.traces.GetRows();
    const int traces = set.traces.GetCols();
    QByteArray text;
    text += "%Experimental traces\r\n";
    text += "% " + QByteArray::number(samples) + 'x' + QByteArray::number(traces) + "\r\n";
    text += "%t[s]\t";
    for (int c = 0; c < traces; ++c)
        text += '\t' + QByteArray::number(c + 1);
    text += "\r\n";
    // The first column holds the time in seconds that its header announces, so that the
    // text reader gives the same time step back.
    const double secondsPerSample = set.timeStep * 0.001;
    for (int i = 0; i < samples; ++i) {
        text += ExportNumber(set.sampleAxis(i) * secondsPerSample);
        for (int c = 0; c < traces; ++c)
            text += '\t' + ExportNumber(set.traces(i, c));
        text += "\r\n";
    }
    return text;
}

bool WriteTracesText(const QString &path, const TraceSet &set)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(TracesText(set));
    return file.commit();
}
