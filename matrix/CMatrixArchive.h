// Little-endian binary archive over a file or a memory buffer: the container of matrices,
// engine job and result files and document files.

#ifndef VELA_MATRIX_CMATRIXARCHIVE_H
#define VELA_MATRIX_CMATRIXARCHIVE_H

#include "matrix/MatrixError.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

/// Failure of a CMatrixArchive operation. what() is one of the ArchiveError texts (for
/// OpenFailed and IoError followed by ": " and the file path).
class CArchiveException : public std::runtime_error
{
public:
    enum Cause {
        BadClass, ///< the bytes are not the expected object (tag mismatch, negative size)
        EndOfFile, ///< a read needed more bytes than the archive holds
        ReadOnly, ///< a write on an archive opened for loading
        WriteOnly, ///< a read on an archive opened for storing
        OpenFailed, ///< the file could not be opened
        IoError ///< the file could not be read or written completely
    };

    CArchiveException(Cause cause, const std::string &message)
        : std::runtime_error(message)
        , m_cause(cause)
    {
    }
    Cause GetCause() const { return m_cause; }

private:
    Cause m_cause;
};

/// Binary stream in one direction: loading (reading) or storing (writing), over a file or a
/// memory buffer. Values are packed without padding, little-endian: int32, uint16, uint32 and
/// float32 in 4 (2) bytes, float64 in 8, bytes as they are.
///
/// Strings come in two forms:
///  - counted string (MFC CString form): length prefix, then the bytes without terminator.
///    Length < 255: one byte; < 0xFFFF: 0xFF then uint16; otherwise 0xFF, 0xFFFF, uint32;
///  - text line: the bytes followed by CR LF, no length; read back up to LF, the line end
///    removed.
/// Strings are byte strings; the archive does no character-set conversion.
///
/// Failures throw CArchiveException: reading past the end (EndOfFile), writing to a loading
/// archive (ReadOnly), reading from a storing one (WriteOnly), a file that cannot be opened
/// (OpenFailed) or written (IoError). Objects reading themselves throw BadClass on bytes that
/// are not theirs.
///
/// A file opened for loading is read whole at construction, so reads never touch the disk
/// and the number of remaining bytes is always known. A file opened for storing is written
/// through a buffered stream; call Close() to learn whether everything reached the disk (the
/// destructor closes silently).
///
/// Example, a job file:
///   CMatrixArchive ar(path, CMatrixArchive::Store);  // throws OpenFailed
///   ar << freq << int32_t(3) << 0.5f << 0.0;         // CMatrix, int32, float32, float64
///   ar.Close();                                       // throws IoError
class CMatrixArchive
{
public:
    enum Mode { Load, Store };

    /// Memory archive for storing; GetBuffer() returns what has been written.
    CMatrixArchive();
    /// Memory archive loading from a copy of bytes.
    explicit CMatrixArchive(std::vector<std::uint8_t> bytes);
    /// Memory archive loading from a copy of size bytes at data (e.g. a QByteArray's).
    CMatrixArchive(const void *data, std::size_t size);
    /// File archive. Load reads the whole file now; Store creates or truncates it.
    /// Throws CArchiveException(OpenFailed) when the file cannot be opened (or read).
    CMatrixArchive(const std::string &path, Mode mode);
    CMatrixArchive(const CMatrixArchive &) = delete;
    CMatrixArchive &operator=(const CMatrixArchive &) = delete;
    CMatrixArchive(CMatrixArchive &&other) noexcept;
    CMatrixArchive &operator=(CMatrixArchive &&other) noexcept;
    /// Closes a file without reporting errors.
    ~CMatrixArchive();

    bool IsLoading() const { return m_mode == Load; }
    bool IsStoring() const { return m_mode == Store; }

    /// Flushes and closes a storing file archive; throws CArchiveException(IoError) when the
    /// bytes did not all reach the file. Nothing to do for memory or loading archives. Later
    /// writes throw IoError.
    void Close();

    /// Memory archive: the bytes written so far (storing) or the whole buffer (loading).
    /// File loading archive: the file's bytes. File storing archive: empty.
    const std::vector<std::uint8_t> &GetBuffer() const { return m_buffer; }
    /// Loading: read position in bytes from the start. Storing: bytes written so far.
    std::size_t GetPosition() const;
    /// Loading: bytes left to read (0 when storing).
    std::size_t GetRemaining() const;
    /// Loading: true when every byte has been read. Storing: always true.
    bool AtEnd() const { return GetRemaining() == 0; }
    /// Loading: moves the read position (0 <= position <= buffer size, else EndOfFile).
    /// Throws WriteOnly when storing.
    void SetPosition(std::size_t position);
    /// Loading: the next byte without consuming it, or -1 at the end. Throws WriteOnly when
    /// storing.
    int PeekByte() const;

    // ---- writing (throw ReadOnly on a loading archive, IoError on a failed file write) ----

    void WriteBytes(const void *data, std::size_t count);
    void WriteByte(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteInt32(std::int32_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteFloat32(float value);
    void WriteFloat64(double value);
    /// count doubles as consecutive float64 values (one bulk write).
    void WriteFloat64Array(const double *values, std::size_t count);
    /// Counted string (see class doc).
    void WriteCountedString(const std::string &text);
    /// text followed by CR LF.
    void WriteLine(const std::string &text);
    /// text as bytes, nothing added.
    void WriteText(const std::string &text);

    // ---- reading (throw WriteOnly on a storing archive, EndOfFile when bytes run out; a
    // failed read consumes nothing) ----

    void ReadBytes(void *data, std::size_t count);
    std::uint8_t ReadByte();
    std::uint16_t ReadUInt16();
    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    float ReadFloat32();
    double ReadFloat64();
    /// count consecutive float64 values into values (EndOfFile before anything is read when
    /// fewer than 8 * count bytes are left).
    void ReadFloat64Array(double *values, std::size_t count);
    /// Counted string (see class doc).
    std::string ReadCountedString();
    /// Reads up to and including the next LF and returns the text without the line end (LF and
    /// a CR before it). The last line may lack its line end. Throws EndOfFile when nothing is
    /// left to read.
    std::string ReadLine();
    /// As ReadLine() but returns false instead of throwing at the end.
    bool ReadLine(std::string &line);

    /// Throws CArchiveException(BadClass); for objects that find bytes that are not theirs.
    [[noreturn]] static void ThrowBadClass();

private:
    void CheckStoring() const;
    void CheckLoading() const;
    void CheckAvailable(std::size_t count) const;

    Mode m_mode = Store;
    std::vector<std::uint8_t> m_buffer; ///< memory archive, or the loaded file's bytes
    std::size_t m_position = 0; ///< read position (loading)
    std::size_t m_written = 0; ///< bytes written (storing)
    std::FILE *m_file = nullptr; ///< storing file, null for memory archives
    std::string m_path; ///< file path, for messages
    bool m_closed = false;
};

// MFC-style stream operators: ar << value stores, ar >> value loads.
// int32_t, uint32_t, float (float32) and double (float64); std::string as a counted string.
CMatrixArchive &operator<<(CMatrixArchive &ar, std::int32_t value);
CMatrixArchive &operator<<(CMatrixArchive &ar, std::uint32_t value);
CMatrixArchive &operator<<(CMatrixArchive &ar, float value);
CMatrixArchive &operator<<(CMatrixArchive &ar, double value);
CMatrixArchive &operator<<(CMatrixArchive &ar, const std::string &countedString);
CMatrixArchive &operator>>(CMatrixArchive &ar, std::int32_t &value);
CMatrixArchive &operator>>(CMatrixArchive &ar, std::uint32_t &value);
CMatrixArchive &operator>>(CMatrixArchive &ar, float &value);
CMatrixArchive &operator>>(CMatrixArchive &ar, double &value);
CMatrixArchive &operator>>(CMatrixArchive &ar, std::string &countedString);

#endif // VELA_MATRIX_CMATRIXARCHIVE_H
