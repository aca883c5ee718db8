// Test helpers that assemble trace files byte by byte from the formats' published layouts
// (SEG-2 standard, SEG-Y rev 0, Seismic Unix trace layout, DRM header + data at 50000).
#ifndef VELA_TESTS_APP_DATA_TRACEFILEBUILDERS_H
#define VELA_TESTS_APP_DATA_TRACEFILEBUILDERS_H

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

/// Appends little- or big-endian fields.
class Bytes
{
public:
    explicit Bytes(bool bigEndian = false)
        : m_big(bigEndian)
    {
    }
    Bytes &U8(unsigned v)
    {
        data.append(char(v & 0xFF));
        return *this;
    }
    Bytes &U16(unsigned v) { return Put(v, 2); }
    Bytes &U32(uint32_t v) { return Put(v, 4); }
    Bytes &I16(int v) { return Put(uint16_t(int16_t(v)), 2); }
    Bytes &I32(int32_t v) { return Put(uint32_t(v), 4); }
    Bytes &F32(float v)
    {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return Put(bits, 4);
    }
    Bytes &F64(double v)
    {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return Put(bits, 8);
    }
    Bytes &Text(const std::string &text)
    {
        data.append(text.data(), qsizetype(text.size()));
        return *this;
    }
    Bytes &Zeros(qsizetype count)
    {
        data.append(QByteArray(count, '\0'));
        return *this;
    }
    Bytes &PadTo(qsizetype size)
    {
        if (data.size() < size)
            Zeros(size - data.size());
        return *this;
    }
    QByteArray data;

private:
    Bytes &Put(uint64_t v, int size)
    {
        for (int i = 0; i < size; ++i)
            data.append(char((v >> (8 * (m_big ? size - 1 - i : i))) & 0xFF));
        return *this;
    }
    bool m_big;
};

/// One SEG-2 trace: its data format code, its sample count as the descriptor states it, the
/// data bytes, and the descriptor's strings.
struct Seg2Trace
{
    int code = 4;
    uint32_t samples = 0;
    QByteArray data;
    std::vector<std::string> strings;
};

/// A SEG-2 file: file descriptor block (0x3A55, revision 1, pointers at 32), one file string,
/// then for every trace a descriptor block (0x4422, strings from byte 32, size rounded up to 4)
/// followed by its data.
inline QByteArray Seg2File(const std::vector<Seg2Trace> &traces)
{
    const uint16_t n = uint16_t(traces.size());
    Bytes head;
    head.U16(0x3A55).U16(1).U16(4u * n).U16(n).U8(1).U8(0).U8(0).U8(1).U8(0x0A).U8(0);
    head.PadTo(32);
    const qsizetype pointerStart = head.data.size();
    head.Zeros(4 * n);
    const std::string fileString = "ACQUISITION_DATE 07/12/2026";
    head.U16(uint16_t(fileString.size() + 3)).Text(fileString).U8(0).U16(0);
    while (head.data.size() % 4)
        head.U8(0);
    for (uint16_t i = 0; i < n; ++i) {
        const Seg2Trace &trace = traces[i];
        const uint32_t offset = uint32_t(head.data.size());
        for (int b = 0; b < 4; ++b)
            head.data[pointerStart + 4 * i + b] = char((offset >> (8 * b)) & 0xFF);
        Bytes strings;
        for (const std::string &s : trace.strings)
            strings.U16(uint16_t(s.size() + 3)).Text(s).U8(0);
        strings.U16(0);
        qsizetype blockSize = 32 + strings.data.size();
        blockSize = (blockSize + 3) / 4 * 4;
        Bytes descriptor;
        descriptor.U16(0x4422).U16(uint16_t(blockSize)).U32(uint32_t(trace.data.size()));
        descriptor.U32(trace.samples).U8(uint8_t(trace.code)).PadTo(32);
        descriptor.data.append(strings.data);
        descriptor.PadTo(blockSize);
        head.data.append(descriptor.data);
        head.data.append(trace.data);
    }
    return head.data;
}

/// A SEG-Y file: blank textual header, binary header with interval, sample count and format,
/// then `traceCount` traces of a 240-byte header and big-endian 32-bit words.
inline QByteArray SegyFile(uint16_t intervalUs, uint16_t samples, uint16_t format,
    const std::vector<std::vector<uint32_t>> &words)
{
    Bytes file(true);
    file.Text(std::string(3200, ' '));
    file.Zeros(16).U16(intervalUs).U16(0).U16(samples).U16(0).U16(format);
    file.PadTo(3600);
    for (const auto &trace : words) {
        file.Zeros(240);
        for (uint32_t w : trace)
            file.U32(w);
    }
    return file.data;
}

/// An SU file: per trace a 240-byte header with the sample count at byte 114 (int16), then the
/// samples as 32-bit floats, all in the given byte order.
inline QByteArray SuFile(bool bigEndian, const std::vector<std::vector<float>> &traces)
{
    Bytes file(bigEndian);
    for (const auto &trace : traces) {
        const qsizetype start = file.data.size();
        file.PadTo(start + 114).I16(int(trace.size())).PadTo(start + 240);
        for (float v : trace)
            file.F32(v);
    }
    return file.data;
}

/// A DRM file: the header lines (CR LF), NUL padding up to byte 50000, then the given
/// little-endian int32 words.
inline QByteArray DrmFile(const std::vector<std::string> &header, const std::vector<int32_t> &words)
{
    Bytes file;
    for (const std::string &line : header)
        file.Text(line + "\r\n");
    file.Text("\r\n").PadTo(50000);
    for (int32_t w : words)
        file.I32(w);
    return file.data;
}

#endif // VELA_TESTS_APP_DATA_TRACEFILEBUILDERS_H
