// Pruned radix-2 FFT of a zero-padded record.
#include "engine/SparseFft.h"

#include "matrix/CComplexMatrix.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velamod {

namespace {

// Transforms returned by finished leases, ready for reuse.
std::mutex g_poolMutex;
std::vector<std::unique_ptr<ZeroPaddedFft>> g_pool;
// More idle transforms than this are freed rather than kept.
constexpr std::size_t MaxPooled = 16;

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

namespace {

// One stage of butterflies over groups of 2 * half rows: t = w * hi, hi = lo - t, lo = lo + t,
// with w * hi formed as Complex's product forms it. The SSE2 form performs the same IEEE
// operations (a - b as a + (-b), and the imaginary sum with its two terms swapped), so both
// forms give the same bits as the column FFT.
void Stage(Complex *x, int n, int half, const Complex *twiddles)
{
#if defined(__SSE2__)
    const __m128d negateReal = _mm_set_pd(0.0, -0.0);
    for (int g = 0; g < n; g += 2 * half) {
        double *lo = &x[g].re;
        double *hi = &x[g + half].re;
        for (int m = 0; m < half; ++m) {
            const __m128d w = _mm_loadu_pd(&twiddles[m].re);
            const __m128d h = _mm_loadu_pd(hi + 2 * m);
            const __m128d a = _mm_mul_pd(_mm_unpacklo_pd(w, w), h);
            const __m128d b = _mm_mul_pd(_mm_unpackhi_pd(w, w), _mm_shuffle_pd(h, h, 1));
            const __m128d t = _mm_add_pd(a, _mm_xor_pd(b, negateReal));
            const __m128d l = _mm_loadu_pd(lo + 2 * m);
            _mm_storeu_pd(hi + 2 * m, _mm_sub_pd(l, t));
            _mm_storeu_pd(lo + 2 * m, _mm_add_pd(l, t));
        }
    }
#else
    for (int g = 0; g < n; g += 2 * half) {
        Complex *lo = x + g;
        Complex *hi = x + g + half;
        for (int m = 0; m < half; ++m) {
            const Complex t = twiddles[m] * hi[m];
            hi[m] = lo[m] - t;
            lo[m] = lo[m] + t;
        }
    }
#endif
}

} // namespace

void ZeroPaddedFft::SquaredModuli(const Complex *record, int count, double *norms)
{
    // With count <= 2^q, bit reversal puts input j at the start of block bitrev_q(j) of
    // length / 2^q rows, and the first stages only copy it over its block (their other
    // operand is 0). The remaining q stages run as in the full transform; the first of them
    // reads the two constant blocks of each pair directly.
    int q = 0;
    while ((1 << q) < count)
        ++q;
    const int blockSize = m_length >> q;
    Complex *x = m_work.data();
    auto blockValue = [&](int block) {
        const int input = BitReverse(block, q);
        return input < count ? record[input] : Complex(0.0, 0.0);
    };
    if (q == 0) {
        std::fill(x, x + m_length, blockValue(0));
    } else {
        const int half = blockSize;
        const Complex *twiddles = m_twiddles.data() + (half - 1);
        for (int g = 0; g < m_length; g += 2 * half) {
            const Complex lo = blockValue(g / blockSize);
            const Complex hi = blockValue(g / blockSize + 1);
            for (int m = 0; m < half; ++m) {
                const Complex t = twiddles[m] * hi;
                x[g + half + m] = lo - t;
                x[g + m] = lo + t;
            }
        }
    }
    for (int k = m_stages - q + 2; k <= m_stages; ++k) {
        const int half = 1 << (k - 1);
        Stage(x, m_length, half, m_twiddles.data() + (half - 1));
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

ZeroPaddedFftLease::ZeroPaddedFftLease(int length)
{
    {
        std::lock_guard<std::mutex> lock(g_poolMutex);
        for (auto it = g_pool.begin(); it != g_pool.end(); ++it) {
            if ((*it)->Length() == length) {
                m_fft = std::move(*it);
                g_pool.erase(it);
                break;
            }
        }
    }
    if (!m_fft)
        m_fft = std::make_unique<ZeroPaddedFft>(length);
}

ZeroPaddedFftLease::~ZeroPaddedFftLease()
{
    if (!m_fft)
        return;
    try {
        std::lock_guard<std::mutex> lock(g_poolMutex);
        if (g_pool.size() < MaxPooled)
            g_pool.push_back(std::move(m_fft));
    } catch (...) {
        // Could not keep it: it is simply freed.
    }
}

} // namespace velamod
