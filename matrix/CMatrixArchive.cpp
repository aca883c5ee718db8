// Little-endian binary archive over a file or a memory buffer.

#include "matrix/CMatrixArchive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr bool kHostIsLittleEndian = false;
#else
constexpr bool kHostIsLittleEndian = true;
#endif

// Copies count values of size bytes each, reversing every value's bytes on a big-endian host.
void CopyLittleEndian(void *dst, const void *src, std::size_t size, std::size_t count)
{
    std::memcpy(dst, src, size * count);
    if (!kHostIsLittleEndian) {
        auto *bytes = static_cast<std::uint8_t *>(dst);
        for (std::size_t i = 0; i < count; ++i)
            std::reverse(bytes + i * size, bytes + (i + 1) * size);
    }
}

std::string WithPath(const char *text, const std::string &path, int error = 0)
{
    std::string message = std::string(text) + ": " + path;
    if (error)
        message += " (" + std::string(std::strerror(error)) + ")";
    return message;
}

} // namespace

CMatrixArchive::CMatrixArchive() = default;

CMatrixArchive::CMatrixArchive(std::vector<std::uint8_t> bytes)
    : m_mode(Load)
    , m_buffer(std::move(bytes))
{
}

CMatrixArchive::CMatrixArchive(const void *data, std::size_t size)
    : m_mode(Load)
    , m_buffer(
          static_cast<const std::uint8_t *>(data), static_cast<const std::uint8_t *>(data) + size)
{
}

CMatrixArchive::CMatrixArchive(const std::string &path, Mode mode)
    : m_mode(mode)
    , m_path(path)
{
    if (mode == Store) {
        m_file = std::fopen(path.c_str(), "wb");
        if (!m_file)
            throw CArchiveException(
                CArchiveException::OpenFailed, WithPath(ArchiveError::kOpenFailed, path, errno));
        return;
    }
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw CArchiveException(
            CArchiveException::OpenFailed, WithPath(ArchiveError::kOpenFailed, path, errno));
    // Read the whole file: later reads cannot fail half-way on the disk, and the size of what
    // is left is known before a corrupt length makes anyone allocate.
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        m_buffer.insert(m_buffer.end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        throw CArchiveException(
            CArchiveException::OpenFailed, WithPath(ArchiveError::kOpenFailed, path));
}

CMatrixArchive::CMatrixArchive(CMatrixArchive &&other) noexcept
    : m_mode(other.m_mode)
    , m_buffer(std::move(other.m_buffer))
    , m_position(other.m_position)
    , m_written(other.m_written)
    , m_file(other.m_file)
    , m_path(std::move(other.m_path))
    , m_closed(other.m_closed)
{
    other.m_file = nullptr;
    other.m_closed = true;
}

CMatrixArchive &CMatrixArchive::operator=(CMatrixArchive &&other) noexcept
{
    if (this != &other) {
        if (m_file)
            std::fclose(m_file);
        m_mode = other.m_mode;
        m_buffer = std::move(other.m_buffer);
        m_position = other.m_position;
        m_written = other.m_written;
        m_file = other.m_file;
        m_path = std::move(other.m_path);
        m_closed = other.m_closed;
        other.m_file = nullptr;
        other.m_closed = true;
    }
    return *this;
}

CMatrixArchive::~CMatrixArchive()
{
    if (m_file)
        std::fclose(m_file);
}

void CMatrixArchive::Close()
{
    if (!m_file)
        return;
    std::FILE *file = m_file;
    m_file = nullptr;
    m_closed = true;
    const bool failed = std::ferror(file) != 0;
    if (std::fclose(file) != 0 || failed)
        throw CArchiveException(
            CArchiveException::IoError, WithPath(ArchiveError::kIoError, m_path));
}

std::size_t CMatrixArchive::GetPosition() const { return m_mode == Load ? m_position : m_written; }

std::size_t CMatrixArchive::GetRemaining() const
{
    return m_mode == Load ? m_buffer.size() - m_position : 0;
}

void CMatrixArchive::SetPosition(std::size_t position)
{
    CheckLoading();
    if (position > m_buffer.size())
        throw CArchiveException(CArchiveException::EndOfFile, ArchiveError::kEndOfFile);
    m_position = position;
}

int CMatrixArchive::PeekByte() const
{
    CheckLoading();
    return m_position < m_buffer.size() ? m_buffer[m_position] : -1;
}

void CMatrixArchive::CheckStoring() const
{
    if (m_mode != Store)
        throw CArchiveException(CArchiveException::ReadOnly, ArchiveError::kReadOnly);
    if (m_closed)
        throw CArchiveException(
            CArchiveException::IoError, WithPath(ArchiveError::kIoError, m_path));
}

void CMatrixArchive::CheckLoading() const
{
    if (m_mode != Load)
        throw CArchiveException(CArchiveException::WriteOnly, ArchiveError::kWriteOnly);
}

void CMatrixArchive::CheckAvailable(std::size_t count) const
{
    if (count > m_buffer.size() - m_position)
        throw CArchiveException(CArchiveException::EndOfFile, ArchiveError::kEndOfFile);
}

[[noreturn]] void CMatrixArchive::ThrowBadClass()
{
    throw CArchiveException(CArchiveException::BadClass, ArchiveError::kBadClass);
}

// ---- writing ---------------------------------------------------------------------------------

void CMatrixArchive::WriteBytes(const void *data, std::size_t count)
{
    CheckStoring();
    if (count == 0)
        return;
    if (m_file) {
        if (std::fwrite(data, 1, count, m_file) != count)
            throw CArchiveException(
                CArchiveException::IoError, WithPath(ArchiveError::kIoError, m_path, errno));
    } else {
        const auto *bytes = static_cast<const std::uint8_t *>(data);
        m_buffer.insert(m_buffer.end(), bytes, bytes + count);
    }
    m_written += count;
}

void CMatrixArchive::WriteByte(std::uint8_t value) { WriteBytes(&value, 1); }

void CMatrixArchive::WriteUInt16(std::uint16_t value)
{
    std::uint8_t bytes[2];
    CopyLittleEndian(bytes, &value, 2, 1);
    WriteBytes(bytes, 2);
}

void CMatrixArchive::WriteInt32(std::int32_t value)
{
    std::uint8_t bytes[4];
    CopyLittleEndian(bytes, &value, 4, 1);
    WriteBytes(bytes, 4);
}

void CMatrixArchive::WriteUInt32(std::uint32_t value)
{
    std::uint8_t bytes[4];
    CopyLittleEndian(bytes, &value, 4, 1);
    WriteBytes(bytes, 4);
}

void CMatrixArchive::WriteFloat32(float value)
{
    static_assert(sizeof(float) == 4, "float must be IEEE 754 single precision");
    std::uint8_t bytes[4];
    CopyLittleEndian(bytes, &value, 4, 1);
    WriteBytes(bytes, 4);
}

void CMatrixArchive::WriteFloat64(double value)
{
    static_assert(sizeof(double) == 8, "double must be IEEE 754 double precision");
    std::uint8_t bytes[8];
    CopyLittleEndian(bytes, &value, 8, 1);
    WriteBytes(bytes, 8);
}

void CMatrixArchive::WriteFloat64Array(const double *values, std::size_t count)
{
    if (kHostIsLittleEndian) {
        WriteBytes(values, count * sizeof(double));
        return;
    }
    std::vector<std::uint8_t> bytes(count * sizeof(double));
    CopyLittleEndian(bytes.data(), values, sizeof(double), count);
    WriteBytes(bytes.data(), bytes.size());
}

void CMatrixArchive::WriteCountedString(const std::string &text)
{
    const std::size_t length = text.size();
    if (length > 0xFFFFFFFFu)
        throw CArchiveException(
            CArchiveException::IoError, WithPath(ArchiveError::kIoError, m_path));
    if (length < 255) {
        WriteByte(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFF) {
        WriteByte(0xFF);
        WriteUInt16(static_cast<std::uint16_t>(length));
    } else {
        WriteByte(0xFF);
        WriteUInt16(0xFFFF);
        WriteUInt32(static_cast<std::uint32_t>(length));
    }
    WriteBytes(text.data(), length);
}

void CMatrixArchive::WriteLine(const std::string &text)
{
    WriteBytes(text.data(), text.size());
    WriteBytes("\r\n", 2);
}

void CMatrixArchive::WriteText(const std::string &text) { WriteBytes(text.data(), text.size()); }

// ---- reading ---------------------------------------------------------------------------------

void CMatrixArchive::ReadBytes(void *data, std::size_t count)
{
    CheckLoading();
    CheckAvailable(count);
    if (count == 0)
        return;
    std::memcpy(data, m_buffer.data() + m_position, count);
    m_position += count;
}

std::uint8_t CMatrixArchive::ReadByte()
{
    std::uint8_t value = 0;
    ReadBytes(&value, 1);
    return value;
}

std::uint16_t CMatrixArchive::ReadUInt16()
{
    std::uint8_t bytes[2];
    ReadBytes(bytes, 2);
    std::uint16_t value = 0;
    CopyLittleEndian(&value, bytes, 2, 1);
    return value;
}

std::int32_t CMatrixArchive::ReadInt32()
{
    std::uint8_t bytes[4];
    ReadBytes(bytes, 4);
    std::int32_t value = 0;
    CopyLittleEndian(&value, bytes, 4, 1);
    return value;
}

std::uint32_t CMatrixArchive::ReadUInt32()
{
    std::uint8_t bytes[4];
    ReadBytes(bytes, 4);
    std::uint32_t value = 0;
    CopyLittleEndian(&value, bytes, 4, 1);
    return value;
}

float CMatrixArchive::ReadFloat32()
{
    std::uint8_t bytes[4];
    ReadBytes(bytes, 4);
    float value = 0;
    CopyLittleEndian(&value, bytes, 4, 1);
    return value;
}

double CMatrixArchive::ReadFloat64()
{
    std::uint8_t bytes[8];
    ReadBytes(bytes, 8);
    double value = 0;
    CopyLittleEndian(&value, bytes, 8, 1);
    return value;
}

void CMatrixArchive::ReadFloat64Array(double *values, std::size_t count)
{
    CheckLoading();
    if (count > GetRemaining() / sizeof(double))
        throw CArchiveException(CArchiveException::EndOfFile, ArchiveError::kEndOfFile);
    if (count == 0)
        return;
    CopyLittleEndian(values, m_buffer.data() + m_position, sizeof(double), count);
    m_position += count * sizeof(double);
}

std::string CMatrixArchive::ReadCountedString()
{
    CheckLoading();
    const std::size_t start = m_position;
    try {
        std::size_t length = ReadByte();
        if (length == 0xFF) {
            length = ReadUInt16();
            if (length == 0xFFFF)
                length = ReadUInt32();
        }
        CheckAvailable(length);
        std::string text(reinterpret_cast<const char *>(m_buffer.data() + m_position), length);
        m_position += length;
        return text;
    } catch (const CArchiveException &) {
        m_position = start;
        throw;
    }
}

bool CMatrixArchive::ReadLine(std::string &line)
{
    CheckLoading();
    if (m_position >= m_buffer.size())
        return false;
    const auto begin = m_buffer.begin() + static_cast<std::ptrdiff_t>(m_position);
    auto newline = std::find(begin, m_buffer.end(), std::uint8_t('\n'));
    auto end = newline;
    if (end != begin && end[-1] == '\r')
        --end;
    line.assign(begin, end);
    m_position =
        static_cast<std::size_t>(newline - m_buffer.begin()) + (newline == m_buffer.end() ? 0 : 1);
    return true;
}

std::string CMatrixArchive::ReadLine()
{
    std::string line;
    if (!ReadLine(line))
        throw CArchiveException(CArchiveException::EndOfFile, ArchiveError::kEndOfFile);
    return line;
}

// ---- stream operators ------------------------------------------------------------------------

CMatrixArchive &operator<<(CMatrixArchive &ar, std::int32_t value)
{
    ar.WriteInt32(value);
    return ar;
}

CMatrixArchive &operator<<(CMatrixArchive &ar, std::uint32_t value)
{
    ar.WriteUInt32(value);
    return ar;
}

CMatrixArchive &operator<<(CMatrixArchive &ar, float value)
{
    ar.WriteFloat32(value);
    return ar;
}

CMatrixArchive &operator<<(CMatrixArchive &ar, double value)
{
    ar.WriteFloat64(value);
    return ar;
}

CMatrixArchive &operator<<(CMatrixArchive &ar, const std::string &countedString)
{
    ar.WriteCountedString(countedString);
    return ar;
}

CMatrixArchive &operator>>(CMatrixArchive &ar, std::int32_t &value)
{
    value = ar.ReadInt32();
    return ar;
}

CMatrixArchive &operator>>(CMatrixArchive &ar, std::uint32_t &value)
{
    value = ar.ReadUInt32();
    return ar;
}

CMatrixArchive &operator>>(CMatrixArchive &ar, float &value)
{
    value = ar.ReadFloat32();
    return ar;
}

CMatrixArchive &operator>>(CMatrixArchive &ar, double &value)
{
    value = ar.ReadFloat64();
    return ar;
}

CMatrixArchive &operator>>(CMatrixArchive &ar, std::string &countedString)
{
    countedString = ar.ReadCountedString();
    return ar;
}
