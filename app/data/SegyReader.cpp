// SEG-Y reader: 3200-byte textual header (skipped), 400-byte big-endian binary header, then
// traces of a 240-byte header and the samples as 32-bit words (IBM or IEEE floats).
#include "app/data/ByteFields.h"
#include "app/data/TraceHeaders.h"
#include "app/data/TraceReaders.h"

#include <QCoreApplication>

#include <cmath>

namespace {

const uint64_t BinaryHeaderEnd = 3600;
const uint64_t TraceHeaderSize = 240;

TraceReadResult Failed(const QString &message, const QString &detail = QString())
{
    TraceReadResult result;
    result.message = message;
    result.detail = detail.isEmpty() ? message : detail;
    return result;
}

// IBM System/360 hexadecimal float: sign bit, 7-bit excess-64 base-16 exponent, 24-bit
// fraction, value = (-1)^s * F * 2^-24 * 16^(E-64).
double IbmToDouble(uint32_t word)
{
    const uint32_t fraction = word & 0x00FFFFFFu;
    if (fraction == 0)
        return 0.0;
    const int exponent = int((word >> 24) & 0x7F) - 64;
    const double value = std::ldexp(double(fraction), 4 * exponent - 24);
    return (word & 0x80000000u) ? -value : value;
}

} // namespace

TraceReadResult ReadSegyTraces(const QByteArray &bytes)
{
    const ByteFields file(bytes);
    const QString endedEarly =
        QCoreApplication::translate("TraceReaders", "Unexpected end of SEGY file");
    uint16_t intervalMicroseconds = 0, sampleCount = 0, formatCode = 0;
    if (!file.Has(0, BinaryHeaderEnd) || !file.U16(3216, true, intervalMicroseconds)
        || !file.U16(3220, true, sampleCount) || !file.U16(3224, true, formatCode))
        return Failed(endedEarly,
            QCoreApplication::translate(
                "TraceReaders", "Unexpected end of SEGY file (inside the file headers)"));
    if (formatCode != 1 && formatCode != 5)
        return Failed(QCoreApplication::translate(
                          "TraceReaders", "This SEGY file uses a not compatible format"),
            QCoreApplication::translate("TraceReaders",
                "This SEGY file uses a not compatible format (data sample format "
                "code %1; only 1, IBM float, and 5, IEEE float, are read)")
                .arg(formatCode));
    if (sampleCount == 0)
        return Failed(QString(),
            QCoreApplication::translate(
                "TraceReaders", "The SEGY binary header gives 0 samples per trace"));

    // First pass: a trace is present when the first 12 bytes of its header can be read.
    const uint64_t traceLength = TraceHeaderSize + uint64_t(sampleCount) * 4;
    uint64_t traceCount = 0;
    for (uint64_t offset = BinaryHeaderEnd; file.Has(offset, 12); offset += traceLength)
        ++traceCount;
    if (traceCount == 0)
        return Failed(QString(),
            QCoreApplication::translate("TraceReaders", "The SEGY file holds no traces"));
    if (traceCount > 0x7FFFFFFF)
        return Failed(QString(),
            QCoreApplication::translate("TraceReaders", "The SEGY file holds too many traces"));
    if (!file.Has(BinaryHeaderEnd, traceCount * traceLength))
        return Failed(endedEarly,
            QCoreApplication::translate(
                "TraceReaders", "Unexpected end of SEGY file (inside trace %1)")
                .arg(traceCount));

    TraceReadResult result;
    result.samples = sampleCount;
    result.traces = int(traceCount);
    result.values.assign(size_t(sampleCount) * traceCount, 0.0);
    for (uint64_t trace = 0; trace < traceCount; ++trace) {
        const uint64_t dataStart = BinaryHeaderEnd + trace * traceLength + TraceHeaderSize;
        for (uint64_t s = 0; s < sampleCount; ++s) {
            uint32_t word = 0;
            file.U32(dataStart + 4 * s, true, word);
            result.values[size_t(s) * traceCount + trace] =
                formatCode == 1 ? IbmToDouble(word) : double(FloatFromBits(word));
        }
    }
    result.hasTimeStep = true;
    result.timeStepMs = intervalMicroseconds * 0.001;
    result.timeUnit = QCoreApplication::translate("TraceReaders", "microseconds");
    result.geometry = GeometryOfTraceHeaders(file, BinaryHeaderEnd, traceLength, traceCount, true);
    result.ok = true;
    return result;
}
