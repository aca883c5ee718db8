// Spectrum of a short record zero-padded to a power-of-two length, computed with exactly the
// arithmetic of CComplexMatrix::FFT but without the butterflies that only move zeros.
#ifndef VELA_ENGINE_SPARSEFFT_H
#define VELA_ENGINE_SPARSEFFT_H

#include <memory>
#include <vector>

class Complex;

namespace velamod {

/// Forward FFT of a column of `length` rows whose first `count` rows hold `record` and whose
/// other rows are 0, as CComplexMatrix::FFT computes it (bit reversal, then radix-2 stages
/// with the twiddles w_k^m of the constant 6.2831853072). With count <= 2^q the first
/// log2(length) - q stages only copy values, so they are skipped: for 24 samples in 8192
/// rows, 5 of the 13 stages remain. The moduli are bit for bit those of the full transform
/// (only the signs of zero parts may differ).
class ZeroPaddedFft
{
public:
    /// \param length a power of two, at least 2
    explicit ZeroPaddedFft(int length);

    int Length() const { return m_length; }

    /// Squared moduli re^2 + im^2 of every bin, in bin order.
    /// \param record  count values, 1 <= count <= Length()
    /// \param norms   out: Length() values
    void SquaredModuli(const Complex *record, int count, double *norms);

    /// The bin of largest modulus sqrt(re^2 + im^2); of equal moduli the highest bin wins.
    int PeakBin(const Complex *record, int count);

private:
    int m_length = 0;
    int m_stages = 0;
    std::vector<Complex> m_twiddles; // the stage of half-length h starts at index h - 1
    std::vector<Complex> m_work;
    std::vector<double> m_norms;
};

/// A ZeroPaddedFft borrowed from a process-wide pool for the lifetime of the lease: its tables
/// and scratch (some 300 kB for 8192 rows) are built once and reused by later calls instead
/// of being allocated and faulted in on every forward computation. Thread-safe.
class ZeroPaddedFftLease
{
public:
    explicit ZeroPaddedFftLease(int length);
    ~ZeroPaddedFftLease();
    ZeroPaddedFftLease(ZeroPaddedFftLease &&) noexcept = default;
    ZeroPaddedFftLease(const ZeroPaddedFftLease &) = delete;
    ZeroPaddedFftLease &operator=(const ZeroPaddedFftLease &) = delete;
    ZeroPaddedFftLease &operator=(ZeroPaddedFftLease &&) = delete;

    ZeroPaddedFft &operator*() const { return *m_fft; }
    ZeroPaddedFft *operator->() const { return m_fft.get(); }

private:
    std::unique_ptr<ZeroPaddedFft> m_fft;
};

} // namespace velamod

#endif // VELA_ENGINE_SPARSEFFT_H
