// The 240-byte trace headers that SEG-Y and Seismic Unix files share.
#ifndef VELA_APP_DATA_TRACEHEADERS_H
#define VELA_APP_DATA_TRACEHEADERS_H

#include <cstdint>

class ByteFields;
struct TraceGeometry;

/// Receiver and source positions (group and source x with the coordinate scalar, or the
/// offsets when no coordinate is set) and the delay recording time of `traceCount` traces whose
/// headers start at `firstHeader`, `traceLength` bytes apart. Headers lying outside the file
/// are not read. All-zero positions and a zero delay count as not stated.
TraceGeometry GeometryOfTraceHeaders(const ByteFields &file, uint64_t firstHeader,
    uint64_t traceLength, uint64_t traceCount, bool bigEndian);

#endif // VELA_APP_DATA_TRACEHEADERS_H
