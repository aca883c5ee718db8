// SEG-2 reader. Layout after the SEG-2 standard (Pullan 1990): a file descriptor block with
// the trace pointer sub-block at byte 32, then one trace descriptor block per trace followed by
// its samples. All binary integers are little-endian.
#include "app/data/ByteFields.h"
#include "app/data/TraceReaders.h"
#include "app/data/UserNumber.h"

#include <QCoreApplication>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

namespace {

TraceReadResult Failed(const QString &detail)
{
    TraceReadResult result;
    result.detail = detail;
    return result;
}

// The sample interval in seconds, from the first trace descriptor's strings, or a negative
// value when the keyword is absent or no number follows it.
double SampleIntervalSeconds(const ByteFields &file, uint64_t begin, uint64_t end)
{
    static const char keyword[] = "SAMPLE_INTERVAL ";
    const uint64_t keywordLength = sizeof keyword - 1;
    end = std::min(end, file.Size());
    if (begin >= end)
        return -1.0;
    const auto *first = reinterpret_cast<const char *>(file.At(begin));
    const auto *last = first + (end - begin);
    const char *found = std::search(first, last, keyword, keyword + keywordLength);
    if (found == last)
        return -1.0;
    // The number is the first one in the 16 bytes after the keyword.
    const char *numberBegin = found + keywordLength;
    const uint64_t available = file.Size() - (begin + static_cast<uint64_t>(numberBegin - first));
    const char *numberEnd = numberBegin + std::min<uint64_t>(16, available);
    // The strings are NUL-terminated inside the block; the number ends there at the latest.
    numberEnd = std::find(numberBegin, numberEnd, '\0');
    double seconds = 0.0;
    if (!ScanDouble(numberBegin, numberEnd, seconds) || !std::isfinite(seconds))
        return -1.0;
    return seconds;
}

// The first number of the descriptor string "KEYWORD value ..." in the string list that runs
// from `begin` to `end` (each string: a 16-bit offset to the next one, then NUL-terminated
// text; an offset of 0 ends the list). Nothing when no string starts with the keyword.
std::optional<double> KeywordNumber(
    const ByteFields &file, uint64_t begin, uint64_t end, const char *keyword)
{
    const size_t keyLength = std::strlen(keyword);
    end = std::min(end, file.Size());
    for (uint64_t at = begin; at + 2 <= end;) {
        uint16_t step = 0;
        file.U16(at, false, step);
        if (step < 3)
            break;
        const auto *text = reinterpret_cast<const char *>(file.At(at + 2));
        const auto *textEnd = reinterpret_cast<const char *>(file.At(std::min(at + step, end)));
        textEnd = std::find(text, textEnd, '\0');
        if (size_t(textEnd - text) > keyLength && std::memcmp(text, keyword, keyLength) == 0
            && std::isspace(static_cast<unsigned char>(text[keyLength]))) {
            double value = 0.0;
            if (!ScanDouble(text + keyLength, textEnd, value) || !std::isfinite(value))
                return std::nullopt;
            return value;
        }
        at += step;
    }
    return std::nullopt;
}

int16_t Signed16(const unsigned char *p)
{
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
}

int32_t Signed32(const unsigned char *p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8
        | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// Bytes that `count` samples of a data format code occupy; 0 for codes that carry no samples
// this reader can decode (their column stays 0).
uint64_t BytesForSamples(int code, uint64_t count)
{
    switch (code) {
    case 1:
        return count * 2;
    case 2:
    case 4:
        return count * 4;
    case 3:
        // Four samples in ten bytes; a last group may be partly used but is stored whole.
        return (count + 3) / 4 * 10;
    case 5:
        return count * 8;
    default:
        return 0;
    }
}

} // namespace

TraceReadResult ReadSeg2Traces(const QByteArray &bytes)
{
    const ByteFields file(bytes);
    uint8_t id0 = 0, id1 = 0;
    if (!file.U8(0, id0) || !file.U8(1, id1) || id0 != 0x55 || id1 != 0x3A)
        return Failed(QCoreApplication::translate(
            "TraceReaders", "Not a SEG-2 file: the block identifier 0x3A55 is missing"));

    uint16_t traceCount = 0;
    if (!file.U16(6, false, traceCount))
        return Failed(QCoreApplication::translate(
            "TraceReaders", "The SEG-2 file ends inside its file descriptor block"));
    if (traceCount == 0)
        return Failed(
            QCoreApplication::translate("TraceReaders", "The SEG-2 file holds no traces"));
    if (!file.Has(32, uint64_t(traceCount) * 4))
        return Failed(QCoreApplication::translate(
            "TraceReaders", "The SEG-2 file ends inside its trace pointers"));

    std::vector<uint32_t> pointers(traceCount);
    for (uint16_t i = 0; i < traceCount; ++i)
        file.U32(32 + uint64_t(i) * 4, false, pointers[i]);

    const uint64_t first = pointers[0];
    uint16_t firstDescriptorSize = 0;
    uint32_t sampleCount = 0;
    if (!file.U16(first + 2, false, firstDescriptorSize)
        || !file.U32(first + 8, false, sampleCount))
        return Failed(QCoreApplication::translate(
            "TraceReaders", "The first trace pointer of the SEG-2 file points outside the file"));
    if (sampleCount == 0)
        return Failed(QCoreApplication::translate(
            "TraceReaders", "The first trace of the SEG-2 file has no samples"));
    // The matrix is number of samples x number of traces; a header that claims more elements
    // than the file has bytes cannot be a real record and must not size the allocation.
    if (uint64_t(sampleCount) * traceCount > file.Size())
        return Failed(QCoreApplication::translate("TraceReaders",
            "The SEG-2 file claims %1 samples per trace, more than the file can "
            "hold")
                          .arg(sampleCount));

    TraceReadResult result;
    const double intervalSeconds =
        SampleIntervalSeconds(file, first + 4, first + 4 + firstDescriptorSize);
    if (intervalSeconds >= 0.0) {
        result.hasTimeStep = true;
        result.timeStepMs = intervalSeconds * 1000.0;
    }
    result.timeUnit = QCoreApplication::translate("TraceReaders", "seconds");
    const uint64_t firstStringsEnd = first + firstDescriptorSize;
    if (const auto source = KeywordNumber(file, first + 32, firstStringsEnd, "SOURCE_LOCATION")) {
        result.geometry.hasSource = true;
        result.geometry.sourceM = *source;
    }
    if (const auto delay = KeywordNumber(file, first + 32, firstStringsEnd, "DELAY")) {
        result.geometry.hasDelay = true;
        result.geometry.delayMs = *delay * 1000.0;
    }
    std::vector<double> receiverPositions;
    result.samples = static_cast<int>(sampleCount);
    result.traces = traceCount;
    result.values.assign(size_t(sampleCount) * traceCount, 0.0);

    for (int trace = 0; trace < traceCount; ++trace) {
        const uint64_t offset = pointers[size_t(trace)];
        uint16_t descriptorSize = 0;
        uint32_t ownCount = 0;
        uint8_t code = 0;
        if (!file.U16(offset + 2, false, descriptorSize) || !file.U32(offset + 8, false, ownCount)
            || !file.U8(offset + 12, code))
            return Failed(QCoreApplication::translate(
                "TraceReaders", "The descriptor of trace %1 lies outside the SEG-2 file")
                              .arg(trace + 1));
        code &= 0x7F;
        if (const auto position =
                KeywordNumber(file, offset + 32, offset + descriptorSize, "RECEIVER_LOCATION"))
            receiverPositions.push_back(*position);
        // A trace longer than the first one is cut to the record's length: the matrix has
        // as many rows as the first trace has samples.
        const uint64_t count = std::min<uint64_t>(ownCount, sampleCount);
        const uint64_t dataStart = offset + descriptorSize;
        if (!file.Has(dataStart, BytesForSamples(code, count)))
            return Failed(QCoreApplication::translate(
                "TraceReaders", "The SEG-2 file ends inside the samples of trace %1")
                              .arg(trace + 1));
        const unsigned char *data = file.At(dataStart);
        auto put = [&](uint64_t sample, double value) {
            result.values[size_t(sample) * traceCount + size_t(trace)] = value;
        };
        switch (code) {
        case 1:
            for (uint64_t s = 0; s < count; ++s)
                put(s, Signed16(data + 2 * s));
            break;
        case 2:
            for (uint64_t s = 0; s < count; ++s)
                put(s, Signed32(data + 4 * s));
            break;
        case 3:
            for (uint64_t s = 0; s < count; ++s) {
                const unsigned char *group = data + s / 4 * 10;
                const unsigned k = unsigned(s % 4);
                const unsigned exponent = (unsigned(group[0] | group[1] << 8) >> (4 * k)) & 0xF;
                int mantissa = Signed16(group + 2 + 2 * k);
                // The mantissa is one's complement: a negative one is one more than its
                // two's-complement reading (the instrument's own ASCII export agrees).
                if (mantissa < 0)
                    mantissa += 1;
                put(s, std::ldexp(double(mantissa), int(exponent)));
            }
            break;
        case 4:
            for (uint64_t s = 0; s < count; ++s)
                put(s, FloatFromBits(uint32_t(Signed32(data + 4 * s))));
            break;
        case 5:
            for (uint64_t s = 0; s < count; ++s) {
                uint64_t bits = 0;
                file.U64(dataStart + 8 * s, false, bits);
                put(s, DoubleFromBits(bits));
            }
            break;
        default:
            break; // a format this reader does not know: the column stays 0
        }
    }
    // Every trace must state its position for the spread to be known.
    if (receiverPositions.size() == size_t(traceCount))
        result.geometry.SetReceiverPositions(receiverPositions);
    result.ok = true;
    return result;
}
