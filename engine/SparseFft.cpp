// Pruned radix-2 FFT of a zero-padded record.
#include "engine/SparseFft.h"

#include "matrix/CComplexMatrix.h"

#include <algorithm>
#include <cmath>

namespace velamod {

namespace {

int BitReverse(int value, int bits)
{
    int reversed = 0;
    for (int b = 0; b < bits; ++b)
        reversed |= ((value >> b) & 1) << (bits - 1 - b);
    return reversed;
}

} // namespace

ZeroPaddedFft::ZeroPaddedFft(int length)
    : m_length(length)
{
    while ((1 << m_stages) < length)
        ++m_stages;
    // The twiddles of a stage are the successive products w_k^m of the column FFT, formed
    // with the same Complex product, so they carry the same bits.
    m_twiddles.assign(static_cast<std::size_t>(length), Complex());
    for (int k = 1; k <= m_stages; ++k) {
        const int half = 1 << (k - 1);
        const double angle = -6.2831853072 / (2 * half);
        const Complex step(std::cos(angle), std::sin(angle));
        Complex w(1.0, 0.0);
        for (int i = 0; i < half; ++i) {
            m_twiddles[static_cast<std::size_t>(half - 1 + i)] = w;
            w = w * step;
        }
    }
    m_work.assign(static_cast<std::size_t>(length), Complex());
    m_norms.assign(static_cast<std::size_t>(length), 0.0);
}

void ZeroPaddedFft::SquaredModuli(const Complex *record, int count, double *norms)
{
    // With count <= 2^q, bit reversal puts input j at the start of block bitrev_q(j) of
    // length / 2^q rows, and the first stages only copy it over its block (their other
    // operand is 0). The remaining q stages run as in the full transform.
    int q = 0;
    while ((1 << q) < count)
        ++q;
    const int blockSize = m_length >> q;
    Complex *x = m_work.data();
    for (int b = 0; b < (1 << q); ++b) {
        const int input = BitReverse(b, q);
        const Complex value = input < count ? record[input] : Complex(0.0, 0.0);
        std::fill(x + static_cast<std::ptrdiff_t>(b) * blockSize,
            x + static_cast<std::ptrdiff_t>(b + 1) * blockSize, value);
    }
    for (int k = m_stages - q + 1; k <= m_stages; ++k) {
        const int half = 1 << (k - 1);
        const Complex *twiddles = m_twiddles.data() + (half - 1);
        for (int g = 0; g < m_length; g += 2 * half) {
            Complex *lo = x + g;
            Complex *hi = x + g + half;
            for (int m = 0; m < half; ++m) {
                const Complex t = twiddles[m] * hi[m];
                hi[m] = lo[m] - t;
                lo[m] = lo[m] + t;
            }
        }
    }
    for (int bin = 0; bin < m_length; ++bin)
        norms[bin] = x[bin].re * x[bin].re + x[bin].im * x[bin].im;
}

int ZeroPaddedFft::PeakBin(const Complex *record, int count)
{
    SquaredModuli(record, count, m_norms.data());
    double largest = -1.0;
    for (int bin = 0; bin < m_length; ++bin)
        largest = std::max(largest, m_norms[static_cast<std::size_t>(bin)]);
    // Moduli are compared, as the column's peak is defined; distinct squares may share a
    // root, so the candidates near the top are checked through sqrt.
    const double modulus = std::sqrt(largest);
    const double threshold = largest * (1.0 - 1e-12);
    for (int bin = m_length - 1; bin >= 0; --bin) {
        const double norm = m_norms[static_cast<std::size_t>(bin)];
        if (norm >= threshold && std::sqrt(norm) == modulus)
            return bin;
    }
    return 0;
}

} // namespace velamod
