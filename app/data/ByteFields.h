// Bounds-checked reads of little- and big-endian fields from a file held in memory.
// Every read says whether the bytes were there; nothing reads past the end.
#ifndef VELA_APP_DATA_BYTEFIELDS_H
#define VELA_APP_DATA_BYTEFIELDS_H

#include <QByteArray>

#include <cstdint>
#include <cstring>

class ByteFields
{
public:
    explicit ByteFields(const QByteArray &bytes)
        : m_data(reinterpret_cast<const unsigned char *>(bytes.constData()))
        , m_size(static_cast<uint64_t>(bytes.size()))
    {
    }

    uint64_t Size() const { return m_size; }
    /// True when `count` bytes from `offset` lie inside the file.
    bool Has(uint64_t offset, uint64_t count) const
    {
        return offset <= m_size && count <= m_size - offset;
    }
    const unsigned char *At(uint64_t offset) const { return m_data + offset; }

    bool U8(uint64_t offset, uint8_t &value) const;
    bool U16(uint64_t offset, bool bigEndian, uint16_t &value) const;
    bool U32(uint64_t offset, bool bigEndian, uint32_t &value) const;
    bool U64(uint64_t offset, bool bigEndian, uint64_t &value) const;

private:
    const unsigned char *m_data;
    uint64_t m_size;
};

inline bool ByteFields::U8(uint64_t offset, uint8_t &value) const
{
    if (!Has(offset, 1))
        return false;
    value = m_data[offset];
    return true;
}

inline bool ByteFields::U16(uint64_t offset, bool bigEndian, uint16_t &value) const
{
    if (!Has(offset, 2))
        return false;
    const unsigned char *p = m_data + offset;
    value = bigEndian ? static_cast<uint16_t>(p[0] << 8 | p[1])
                      : static_cast<uint16_t>(p[1] << 8 | p[0]);
    return true;
}

inline bool ByteFields::U32(uint64_t offset, bool bigEndian, uint32_t &value) const
{
    if (!Has(offset, 4))
        return false;
    const unsigned char *p = m_data + offset;
    value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | p[bigEndian ? i : 3 - i];
    return true;
}

inline bool ByteFields::U64(uint64_t offset, bool bigEndian, uint64_t &value) const
{
    if (!Has(offset, 8))
        return false;
    const unsigned char *p = m_data + offset;
    value = 0;
    for (int i = 0; i < 8; ++i)
        value = value << 8 | p[bigEndian ? i : 7 - i];
    return true;
}

inline float FloatFromBits(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline double DoubleFromBits(uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

#endif // VELA_APP_DATA_BYTEFIELDS_H
