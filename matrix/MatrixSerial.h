// Header of the serialised matrix form, shared by CMatrix and CComplexMatrix. Internal to the
// matrix library.

#ifndef VELA_MATRIX_MATRIXSERIAL_H
#define VELA_MATRIX_MATRIXSERIAL_H

#include <cstddef>
#include <cstdint>
#include <string>

class CMatrixArchive;

namespace vela_matrix_detail {

/// The two tag words that open every serialised matrix, real or complex.
inline constexpr std::int32_t kTagWord1 = 0x434D6174;
inline constexpr std::int32_t kTagWord2 = 0x72697843;
inline constexpr std::int32_t kSerialVersion = 1;

/// Writes tag words, version, cols and rows.
void StoreMatrixHeader(CMatrixArchive &ar, int rows, int cols);
/// Reads and checks the header written by StoreMatrixHeader(): BadClass on a tag mismatch or
/// a negative size, EndOfFile when fewer than rows * cols * elementBytes bytes follow.
void LoadMatrixHeader(CMatrixArchive &ar, std::size_t elementBytes, int &rows, int &cols);

/// Number of elements of a rows x cols matrix; kInvalidOperation for negative sizes.
std::size_t ElementCount(int rows, int cols);

/// Writes text to fileName (binary mode, so CR LF stay as written); errors are ignored.
void WriteDumpFile(const std::string &fileName, const std::string &text);
/// The folder named by VELA_DUMP_DIR joined with fileName, or "" when it is not set.
std::string DiagnosticDumpPath(const std::string &fileName);

} // namespace vela_matrix_detail

#endif // VELA_MATRIX_MATRIXSERIAL_H
