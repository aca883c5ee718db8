// Exception type of the matrix library and the fixed texts it carries.
// Tests and callers compare what() against these constants, never against copies of the text.

#ifndef VELA_MATRIX_MATRIXERROR_H
#define VELA_MATRIX_MATRIXERROR_H

#include <stdexcept>

/// Fixed English texts of the matrix operations' failures. The spelling is part of the
/// interface (it reaches the user and the logs unchanged), typos included.
namespace MatrixError {
/// Sum or difference of two matrices of different shapes (also negative sizes).
inline constexpr const char *kInvalidOperation = "Invalid operation";
/// Matrix product whose left column count differs from the right row count.
inline constexpr const char *kNoCommonSize = "Matrices do not have common size";
/// Element-wise operation on operands with different column counts (checked first).
inline constexpr const char *kColumnNumber = "The column number must be equal";
/// Element-wise operation on operands with the same column count but different row counts.
inline constexpr const char *kRowNumber = "The row number must be equal";
/// Inverse of a non-square matrix.
inline constexpr const char *kNotSquare = "Matrix must be square.";
/// Zero pivot met by the inverse (there is no row exchange).
inline constexpr const char *kInversion = "Matrix inversion error";
/// FFT of a column shorter than 2.
inline constexpr const char *kFftTooShort = "Number of bit too smmall";
/// Sub-matrix block that reaches outside the source.
inline constexpr const char *kSubMatrix = "Sub matrix is not contained in source";
/// Appending columns (rows) of a matrix with another row (column) count.
inline constexpr const char *kConcatenate = "Cannot concatenate matrices, not same size";
/// Numerical derivative of a 1 x 1 matrix.
inline constexpr const char *kDiffScalar = "Cannot calculate Diff of a scalar";
} // namespace MatrixError

/// The one exception type of matrix arithmetic. what() is one of the MatrixError texts.
/// An operation that throws leaves its operands unchanged.
class CMatrixException : public std::runtime_error
{
public:
    explicit CMatrixException(const char *message)
        : std::runtime_error(message)
    {
    }
};

/// Fixed texts of the archive failures (see CArchiveException in CMatrixArchive.h).
namespace ArchiveError {
inline constexpr const char *kBadClass = "Unexpected object type in archive";
inline constexpr const char *kEndOfFile = "Unexpected end of file";
inline constexpr const char *kReadOnly = "Attempt to write into an archive opened for loading";
inline constexpr const char *kWriteOnly = "Attempt to read from an archive opened for storing";
inline constexpr const char *kOpenFailed = "Cannot open file";
inline constexpr const char *kIoError = "File input/output error";
} // namespace ArchiveError

#endif // VELA_MATRIX_MATRIXERROR_H
