// SPDX-License-Identifier: MIT
// The scattering matrix of a prepared size against the export's, bit for
// bit, and the floating-point flags the two raise: the prepared side is
// compiled into this program from the library's sources, the export comes
// from the shared object.
#include "quellis/series/PreparedSphereSize.h"
#include "quellis.h"
#include "quellis/series/PreparedSizeLanes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using quellis::Cx;
using quellis::PreparedSphereSize;

// Vectors of 2, 4 and 8 doubles, the lane widths the series is run in.
typedef double Lanes2 __attribute__((vector_size(16)));
typedef double Lanes4 __attribute__((vector_size(32)));
typedef double Lanes8 __attribute__((vector_size(64)));

constexpr int kFaultFlags = FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID;
constexpr double kAngle = 2.0933333333333333;

struct Outcome {
    quellis::ScatteringElements elements;
    int flags;
};

Outcome fromExport(double x, Cx m, double theta) {
    const TComplex size{x, 0.0};
    const TComplex index{m.re, m.im};
    TComplex s11{}, s12{}, s33{}, s34{};
    std::feclearexcept(FE_ALL_EXCEPT);
    ScatMatrix(&size, &index, &s11, theta, &s12, &s33, &s34);
    const int flags = std::fetestexcept(kFaultFlags);
    return {{quellis::fromT(s11), quellis::fromT(s12), quellis::fromT(s33), quellis::fromT(s34)},
            flags};
}

// The same bits, or both not a number: a NaN's sign is not part of IEEE
// arithmetic's result (and a NaN formed from numbers raises the invalid
// flag, which is compared on its own).
bool sameValue(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}
bool sameBits(Cx a, Cx b) {
    return sameValue(a.re, b.re) && sameValue(a.im, b.im);
}

// Prepares x once and checks every index against the export: the four
// elements bit for bit, and the flags of the preparation and the index's
// own side together equal to those of the export's call.
void expectExportFor(double x, const std::vector<Cx>& indices, double theta = kAngle) {
    ASSERT_TRUE(PreparedSphereSize::serves(x)) << x;
    std::feclearexcept(FE_ALL_EXCEPT);
    const PreparedSphereSize prepared(x, theta);
    const int sizeFlags = std::fetestexcept(kFaultFlags);
    for (const Cx m : indices) {
        SCOPED_TRACE(testing::Message() << std::hexfloat << "x=" << x << " m=(" << m.re << ","
                                        << m.im << ") theta=" << theta);
        const Outcome expected = fromExport(x, m, theta);
        std::feclearexcept(FE_ALL_EXCEPT);
        const quellis::ScatteringElements e = prepared.elements(m);
        const int flags = std::fetestexcept(kFaultFlags) | sizeFlags;
        EXPECT_TRUE(sameBits(e.s11, expected.elements.s11));
        EXPECT_TRUE(sameBits(e.s12, expected.elements.s12));
        EXPECT_TRUE(sameBits(e.s33, expected.elements.s33));
        EXPECT_TRUE(sameBits(e.s34, expected.elements.s34));
        EXPECT_EQ(flags, expected.flags);
    }
}

// The indices in the lanes of `Real`: every index the lanes keep (not
// marked for the series one by one) gives the export's elements bit for
// bit. Returns how many they kept.
template <class Real>
std::size_t expectLanesMatchExport(const PreparedSphereSize& prepared, double x,
                                   const std::vector<Cx>& indices, double theta) {
    std::vector<PreparedSphereSize::IndexStart> starts;
    for (const Cx m : indices) {
        starts.push_back(prepared.indexStart(m));
    }
    std::vector<quellis::Amplitudes> amplitudes(indices.size());
    std::vector<unsigned char> rerun(indices.size(), 1);
    quellis::PreparedSizeLanes<Real>(prepared).amplitudes(starts, amplitudes, rerun);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (rerun[i]) {
            continue;
        }
        ++kept;
        const Cx m = indices[i];
        SCOPED_TRACE(testing::Message() << std::hexfloat << "lanes=" << sizeof(Real) / 8
                                        << " x=" << x << " m=(" << m.re << "," << m.im << ")");
        const quellis::ScatteringElements e = quellis::scatteringElements(amplitudes[i]);
        const Outcome expected = fromExport(x, m, theta);
        EXPECT_TRUE(sameBits(e.s11, expected.elements.s11));
        EXPECT_TRUE(sameBits(e.s12, expected.elements.s12));
        EXPECT_TRUE(sameBits(e.s33, expected.elements.s33));
        EXPECT_TRUE(sameBits(e.s34, expected.elements.s34));
    }
    return kept;
}

// Prepares x once and runs the indices in the lanes of each width; returns
// how many indices the lanes kept at every width.
std::size_t expectLanesMatchExport(double x, const std::vector<Cx>& indices,
                                   double theta = kAngle) {
    const PreparedSphereSize prepared(x, theta);
    const std::size_t kept = expectLanesMatchExport<Lanes2>(prepared, x, indices, theta);
    EXPECT_EQ(expectLanesMatchExport<Lanes4>(prepared, x, indices, theta), kept);
    EXPECT_EQ(expectLanesMatchExport<Lanes8>(prepared, x, indices, theta), kept);
    return kept;
}

// log-uniform in [low, high].
double logUniform(std::mt19937_64& rng, double low, double high) {
    std::uniform_real_distribution<double> u(std::log(low), std::log(high));
    return std::exp(u(rng));
}

std::vector<Cx> randomIndices(std::mt19937_64& rng, int count) {
    std::vector<Cx> indices;
    std::uniform_int_distribution<int> kind(0, 3);
    for (int i = 0; i < count; ++i) {
        const double re = logUniform(rng, 1e-3, 20);
        switch (kind(rng)) {
        case 0: // not absorbing
            indices.push_back({re, 0.0});
            break;
        case 1: // weakly absorbing
            indices.push_back({re, logUniform(rng, 1e-12, 1e-2)});
            break;
        case 2: // a metal's index: small real part, large imaginary part
            indices.push_back({logUniform(rng, 1e-3, 1), logUniform(rng, 1, 1e3)});
            break;
        default:
            indices.push_back({re, logUniform(rng, 1e-2, 30)});
            break;
        }
    }
    return indices;
}

TEST(PreparedSphereSize, RandomSizesAndIndicesMatchTheExport) {
    std::mt19937_64 rng(16);
    for (int i = 0; i < 150; ++i) {
        const double x = logUniform(rng, 1e-3, 600);
        expectExportFor(x, randomIndices(rng, 12));
    }
}

// Blocks of 13 indices (no multiple of any width), the kinds mixed within a
// block: the lanes keep the absorbing ones (a real m x divides, and leaves
// for the series one by one).
TEST(PreparedSphereSize, RandomIndicesInLanesMatchTheExport) {
    std::mt19937_64 rng(161);
    std::size_t kept = 0;
    std::size_t total = 0;
    for (int i = 0; i < 120; ++i) {
        const double x = logUniform(rng, 1e-3, 600);
        const std::vector<Cx> indices = randomIndices(rng, 13);
        kept += expectLanesMatchExport(x, indices);
        total += indices.size();
    }
    EXPECT_GT(kept, total / 2);
}

// The program's indices (a free-electron metal's, small and weakly
// absorbing to large and strongly absorbing) at its sizes: the lanes keep
// them all.
TEST(PreparedSphereSize, MetalIndicesInLanesMatchTheExport) {
    std::vector<Cx> indices;
    for (double re = 0.02; re < 4; re *= 1.9) {
        for (double im = 0.05; im < 20; im *= 2.3) {
            indices.push_back({re, im});
        }
    }
    for (const double x : {0.05, 0.3, 1.1, 2.5, 7.0}) {
        EXPECT_EQ(expectLanesMatchExport(x, indices), indices.size()) << x;
        // Chains that start from fractions the lanes sum are among them.
        const PreparedSphereSize prepared(x, kAngle);
        const auto inLanes = std::count_if(indices.begin(), indices.end(), [&](Cx m) {
            return prepared.indexStart(m).fractionInLanes;
        });
        EXPECT_GT(inLanes, 0) << x;
    }
}

TEST(PreparedSphereSize, EdgeIndicesMatchTheExport) {
    const std::vector<Cx> edges{
        {1.0, 0.0},
        {1.0 + 0x1p-52, 0.0}, // |m - 1| at its smallest
        {1.0 - 0x1p-53, 1e-300},
        {1.0, 0x1p-60},
        {0.05, 1e4},    // an imaginary part far beyond the sizes' own
        {300.0, 200.0}, // |m x| where D_n(m x) restarts far above the series
        {1e-8, 1e-8},   // |m| tiny
        {1.5, -0.2},    // a gain medium
        {0.0, 0.0},     // the index's own faults reach the export too
        {std::numeric_limits<double>::quiet_NaN(), 0.0},
    };
    for (const double x : {1e-3, 0.5, 3.14, 40.0, 250.0}) {
        expectExportFor(x, edges);
        // Lanes that leave the common path share their blocks with lanes
        // that keep it.
        const std::size_t kept = expectLanesMatchExport(x, edges);
        EXPECT_GT(kept, 0U) << x;
        EXPECT_LT(kept, edges.size()) << x;
    }
}

TEST(PreparedSphereSize, EdgeSizesMatchTheExport) {
    const std::vector<Cx> indices{{1.33, 0.0}, {0.2, 3.5}, {1.5, 0.01}, {7.0, 200.0}};
    // Tiny sizes (chi_n overflows from order 2 on below about 1e-154, and
    // 1/x itself beyond the subnormals), sizes where the term count steps,
    // sizes at and beside whole orders (where a coefficient switches from
    // the ratios to D_n(x)), and the largest size served.
    std::vector<double> sizes{1e-6,
                              1e-7,
                              1e-120,
                              1e-160,
                              1e-200,
                              1e-300,
                              4e-320,
                              1.0,
                              7.0,
                              80.0,
                              std::nextafter(80.0, 0.0),
                              std::nextafter(80.0, 100.0),
                              99999.0};
    for (double x = 0.5; x < 60; x *= 1.37) {
        // The largest size of each term count and the smallest of the next.
        double low = x;
        double high = 2 * x;
        const int32_t terms = quellis::termCount(low);
        while (std::nextafter(low, high) < high) {
            const double mid = low + (high - low) / 2;
            (quellis::termCount(mid) == terms ? low : high) = mid;
        }
        sizes.push_back(low);
        sizes.push_back(high);
    }
    for (const double x : sizes) {
        expectExportFor(x, indices);
        expectLanesMatchExport(x, indices);
    }
    // Other angles than the program's, the forward and backward directions
    // among them.
    for (const double theta : {0.0, 1e-9, 1.0, 3.141592653589793}) {
        expectExportFor(12.5, indices, theta);
    }
}

TEST(PreparedSphereSize, ServesOnlyTheSizesOfThatSeries) {
    EXPECT_TRUE(PreparedSphereSize::serves(4e-320));
    EXPECT_TRUE(PreparedSphereSize::serves(99999.0));
    EXPECT_FALSE(PreparedSphereSize::serves(1e5)); // D_n may come upward from here on
    EXPECT_FALSE(PreparedSphereSize::serves(0.0));
    EXPECT_FALSE(PreparedSphereSize::serves(-1.0));
    EXPECT_FALSE(PreparedSphereSize::serves(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(PreparedSphereSize::serves(std::numeric_limits<double>::infinity()));
}

} // namespace
