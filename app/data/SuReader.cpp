// Seismic Unix reader: traces of a 240-byte header and 32-bit IEEE float samples, no file
// header. The machine's byte order (little-endian) is the usual one, but real Seismic Unix
// output is often big-endian (the XDR build): that reading is taken when only it fits.
#include "app/data/ByteFields.h"
#include "app/data/TraceHeaders.h"
#include "app/data/TraceReaders.h"

#include <QCoreApplication>

namespace {

const uint64_t TraceHeaderSize = 240;

// The sample count at byte 114 in one byte order, and whether the file length is then a
// whole, positive number of traces.
bool Fits(const ByteFields &file, bool bigEndian, int &samples, uint64_t &traces)
{
    uint16_t raw = 0;
    if (!file.U16(114, bigEndian, raw))
        return false;
    samples = int16_t(raw);
    if (samples <= 0)
        return false;
    const uint64_t traceLength = TraceHeaderSize + 4 * uint64_t(samples);
    traces = file.Size() / traceLength;
    return traces > 0 && file.Size() % traceLength == 0;
}

} // namespace

TraceReadResult ReadSuTraces(const QByteArray &bytes)
{
    const ByteFields file(bytes);
    TraceReadResult result;
    int samples = 0;
    uint64_t traces = 0;
    bool bigEndian = false;
    if (!Fits(file, false, samples, traces)) {
        if (!Fits(file, true, samples, traces)) {
            result.detail = QCoreApplication::translate("TraceReaders",
                "The SU file length is not a whole number of traces for the "
                "sample count at byte 114, in either byte order");
            return result;
        }
        bigEndian = true;
    }
    if (traces > 0x7FFFFFFF) {
        result.detail =
            QCoreApplication::translate("TraceReaders", "The SU file holds too many traces");
        return result;
    }
    result.samples = samples;
    result.traces = int(traces);
    result.values.assign(size_t(samples) * traces, 0.0);
    const uint64_t traceLength = TraceHeaderSize + 4 * uint64_t(samples);
    for (uint64_t t = 0; t < traces; ++t) {
        const uint64_t dataStart = t * traceLength + TraceHeaderSize;
        for (int s = 0; s < samples; ++s) {
            uint32_t word = 0;
            file.U32(dataStart + 4 * uint64_t(s), bigEndian, word);
            result.values[size_t(s) * traces + t] = FloatFromBits(word);
        }
    }
    // The sample interval in microseconds at byte 116; a zero one leaves the step in force.
    uint16_t intervalMicroseconds = 0;
    file.U16(116, bigEndian, intervalMicroseconds);
    if (intervalMicroseconds > 0) {
        result.hasTimeStep = true;
        result.timeStepMs = intervalMicroseconds * 0.001;
    }
    result.timeUnit = QCoreApplication::translate("TraceReaders", "microseconds");
    result.geometry = GeometryOfTraceHeaders(file, 0, traceLength, traces, bigEndian);
    result.ok = true;
    return result;
}
