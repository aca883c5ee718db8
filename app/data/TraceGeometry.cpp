// Geometry stated by trace files: the evenly-spaced test of receiver positions, the source
// offset, and the positions and delay in SEG-Y / SU trace headers.
#include "app/data/ByteFields.h"
#include "app/data/TraceHeaders.h"
#include "app/data/TraceReaders.h"

#include <cmath>

bool TraceGeometry::SourceOffset(bool reversed, double &offset) const
{
    if (!hasSource || !hasReceivers)
        return false;
    offset = std::fabs(sourceM - (reversed ? lastReceiverM : firstReceiverM));
    return true;
}

void TraceGeometry::SetReceiverPositions(const std::vector<double> &positions)
{
    hasSpacing = false;
    hasReceivers = false;
    if (positions.empty())
        return;
    for (double p : positions) {
        if (!std::isfinite(p))
            return;
    }
    if (positions.size() >= 2) {
        const double step = (positions.back() - positions.front()) / double(positions.size() - 1);
        // Positions are written with a few decimals; a millimetre is the survey's resolution.
        const double tolerance = 1e-3;
        if (!(std::fabs(step) > tolerance))
            return;
        for (size_t i = 0; i < positions.size(); ++i) {
            if (std::fabs(positions[i] - (positions.front() + step * double(i))) > tolerance)
                return;
        }
        hasSpacing = true;
        spacingM = std::fabs(step);
    }
    hasReceivers = true;
    firstReceiverM = positions.front();
    lastReceiverM = positions.back();
}

TraceGeometry GeometryOfTraceHeaders(const ByteFields &file, uint64_t firstHeader,
    uint64_t traceLength, uint64_t traceCount, bool bigEndian)
{
    // Trace header fields (SEG-Y rev 1 byte positions, 0-based): offset 36, coordinate scalar
    // 70, source x 72, group x 80, delay recording time 108.
    auto i32 = [&](uint64_t header, uint64_t at) {
        uint32_t raw = 0;
        file.U32(header + at, bigEndian, raw);
        return double(int32_t(raw));
    };
    auto i16 = [&](uint64_t header, uint64_t at) {
        uint16_t raw = 0;
        file.U16(header + at, bigEndian, raw);
        return int(int16_t(raw));
    };
    TraceGeometry geometry;
    if (traceCount == 0 || !file.Has(firstHeader, 240))
        return geometry;
    const int scalar = i16(firstHeader, 70);
    const double scale = scalar > 0 ? double(scalar) : scalar < 0 ? 1.0 / -double(scalar) : 1.0;
    std::vector<double> groups, offsets;
    bool anyCoordinate = false, anyOffset = false;
    for (uint64_t t = 0; t < traceCount; ++t) {
        const uint64_t header = firstHeader + t * traceLength;
        if (!file.Has(header, 240))
            break;
        groups.push_back(i32(header, 80) * scale);
        offsets.push_back(i32(header, 36));
        anyCoordinate = anyCoordinate || groups.back() != 0.0 || i32(header, 72) != 0.0;
        anyOffset = anyOffset || offsets.back() != 0.0;
    }
    if (anyCoordinate) {
        geometry.SetReceiverPositions(groups);
        geometry.hasSource = true;
        geometry.sourceM = i32(firstHeader, 72) * scale;
    } else if (anyOffset) {
        // Only source-receiver offsets: the source is the origin.
        geometry.SetReceiverPositions(offsets);
        geometry.hasSource = true;
        geometry.sourceM = 0.0;
    }
    const int delay = i16(firstHeader, 108);
    if (delay != 0) {
        geometry.hasDelay = true;
        geometry.delayMs = delay;
    }
    return geometry;
}
