// The pruned transform of a zero-padded record against the column FFT it stands in for.
#include "engine/SparseFft.h"
#include "matrix/CComplexMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

TEST(ZeroPaddedFft, ModuliEqualThoseOfTheColumnFftBitForBit)
{
    std::mt19937 random(42);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    struct Case
    {
        int length;
        int count;
    };
    for (const Case &c : { Case { 8192, 24 }, Case { 8192, 1 }, Case { 8192, 2 }, Case { 8192, 33 },
             Case { 8192, 8192 }, Case { 64, 5 }, Case { 2, 1 } }) {
        SCOPED_TRACE(std::to_string(c.length) + " rows, " + std::to_string(c.count) + " samples");
        std::vector<Complex> record;
        CComplexMatrix column(c.length, 1);
        for (int j = 0; j < c.count; ++j) {
            record.emplace_back(value(random), value(random));
            column.Set(j, record.back());
        }
        column.FFT();
        velamod::ZeroPaddedFft transform(c.length);
        std::vector<double> norms(static_cast<std::size_t>(c.length));
        transform.SquaredModuli(record.data(), c.count, norms.data());
        int mismatches = 0;
        int peak = 0;
        double largest = -1.0;
        for (int bin = 0; bin < c.length; ++bin) {
            const Complex x = column(bin);
            if (norms[static_cast<std::size_t>(bin)] != x.re * x.re + x.im * x.im)
                ++mismatches;
            if (x.Modulus() >= largest) {
                largest = x.Modulus();
                peak = bin;
            }
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(transform.PeakBin(record.data(), c.count), peak);
    }
}

TEST(ZeroPaddedFft, EqualPeaksGoToTheHighestBin)
{
    // A single impulse has a flat spectrum: every bin ties, the last one wins.
    velamod::ZeroPaddedFft transform(8192);
    const Complex impulse(1.0, 0.0);
    EXPECT_EQ(transform.PeakBin(&impulse, 1), 8191);
    // Two equal samples one row apart: |1 + e^{-i c n / 8192}| peaks at bin 0 only.
    const Complex pair[2] = { Complex(1.0, 0.0), Complex(1.0, 0.0) };
    EXPECT_EQ(transform.PeakBin(pair, 2), 0);
}
