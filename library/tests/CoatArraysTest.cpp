// SPDX-License-Identifier: MIT
// The coated sphere's array exports: CoatBessel against Bessel, CoatAden
// against an extended-precision downward recurrence, and the caller's
// last-element index respected by all three.
#include "quellis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

namespace {

using C = std::complex<double>;
using Wide = std::complex<long double>;

C c(TComplex a) {
    return {a.Re, a.Im};
}

constexpr TComplex kSentinel{-7.25, 3.5};

bool untouched(const TComplex& a) {
    return a.Re == kSentinel.Re && a.Im == kSentinel.Im;
}

std::vector<TComplex> filled(std::size_t size) {
    return std::vector<TComplex>(size, kSentinel);
}

TEST(CoatArrays, BesselFunctionsAgreeWithTheSphereExport) {
    for (TComplex z : {TComplex{5, 0}, TComplex{3, 1}, TComplex{40, 0.5}}) {
        const TComplex unused{2, 0};
        int32_t n = 0;
        std::vector<TComplex> psi(200), xi(200);
        Bessel(&z, &unused, &n, psi.data(), 199, xi.data(), 199);
        std::vector<TComplex> coatPsi(200), coatChi(200), coatXi(200);
        CoatBessel(&z, &unused, &n, coatPsi.data(), 199, coatChi.data(), 199, coatXi.data(), 199);
        for (int k = 0; k <= n; ++k) {
            EXPECT_EQ(c(coatPsi[k]), c(psi[k])) << k;
            EXPECT_EQ(c(coatXi[k]), c(xi[k])) << k;
            // xi = psi - i chi
            EXPECT_LE(std::abs(c(coatXi[k]) - (c(coatPsi[k]) - C(0, 1) * c(coatChi[k]))),
                      1e-15 * std::abs(c(coatXi[k])));
        }
    }
}

TEST(CoatArrays, BesselWritesOrdersZeroAndOneForSmallCounts) {
    const TComplex z{2, 0}, m{1, 0};
    for (int32_t n : {0, 1, -3}) {
        auto psi = filled(4), chi = filled(4), xi = filled(4);
        CoatBessel(&z, &m, &n, psi.data(), 3, chi.data(), 3, xi.data(), 3);
        EXPECT_NEAR(psi[0].Re, std::sin(2.0), 1e-15);
        EXPECT_NEAR(chi[0].Re, std::cos(2.0), 1e-15);
        EXPECT_NEAR(psi[1].Re, std::sin(2.0) / 2 - std::cos(2.0), 1e-15);
        EXPECT_TRUE(untouched(psi[2]) && untouched(chi[2]) && untouched(xi[2])) << n;
    }
}

TEST(CoatArrays, NoArrayIsWrittenPastItsLastIndex) {
    const TComplex z{4, 0.2}, m{1.5, 0};
    const int32_t n = 30;
    auto psi = filled(6), chi = filled(3), xi = filled(9);
    CoatBessel(&z, &m, &n, psi.data(), 4, chi.data(), 1, xi.data(), 7);
    EXPECT_TRUE(untouched(psi[5]) && untouched(chi[2]) && untouched(xi[8]));
    EXPECT_FALSE(untouched(psi[4]) || untouched(chi[1]) || untouched(xi[7]));

    auto d = filled(6);
    CoatAden(&z, &m, &n, d.data(), 4);
    EXPECT_TRUE(untouched(d[5]));
    EXPECT_FALSE(untouched(d[4]));

    const TComplex x{2, 0}, y{4, 0}, m1{1.5, 1}, m2{1.33, 0};
    auto a = filled(5), b = filled(8);
    CoatScattKoef(&x, &y, &m1, &m2, &n, a.data(), 3, b.data(), 6);
    EXPECT_TRUE(untouched(a[0]) && untouched(b[0]));
    EXPECT_TRUE(untouched(a[4]) && untouched(b[7]));
    EXPECT_FALSE(untouched(a[3]) || untouched(b[6]));
}

TEST(CoatArrays, ScattKoefWritesNothingForNoOrders) {
    const TComplex x{1, 0}, y{2, 0}, m1{1.5, 0}, m2{1.2, 0};
    for (int32_t n : {0, -1}) {
        auto a = filled(4), b = filled(4);
        CoatScattKoef(&x, &y, &m1, &m2, &n, a.data(), 3, b.data(), 3);
        for (int k = 0; k < 4; ++k) {
            EXPECT_TRUE(untouched(a[k]) && untouched(b[k])) << k;
        }
    }
}

// More orders than the stack tables hold: the first orders do not depend on
// how many follow.
TEST(CoatArrays, ScattKoefComputesOrdersPastTheStackTables) {
    const TComplex x{600, 0}, y{1200, 0}, m1{1.5, 0.01}, m2{1.33, 0};
    const int32_t many = 1300, fewer = 900;
    std::vector<TComplex> a(many + 1), b(many + 1), a2(fewer + 1), b2(fewer + 1);
    CoatScattKoef(&x, &y, &m1, &m2, &many, a.data(), many, b.data(), many);
    CoatScattKoef(&x, &y, &m1, &m2, &fewer, a2.data(), fewer, b2.data(), fewer);
    for (int n = 1; n <= many; ++n) {
        ASSERT_TRUE(std::isfinite(std::abs(c(a[n]))) && std::isfinite(std::abs(c(b[n])))) << n;
    }
    for (int n = 1; n <= fewer; ++n) {
        EXPECT_LE(std::abs(c(a[n]) - c(a2[n])), 1e-12 * std::abs(c(a[n])) + 1e-300) << n;
    }
}

// D_n(z) by downward recurrence from far above, at extended precision.
std::vector<Wide> logDerivativeReference(Wide z, int last) {
    const int start = last + static_cast<int>(std::abs(z)) + 200;
    std::vector<Wide> d(start + 1);
    for (int n = start; n >= 1; --n) {
        const Wide q = static_cast<long double>(n) / z;
        d[n - 1] = q - 1.0L / (d[n] + q);
    }
    return d;
}

// Upward from cot z, D_n of an absorbing argument loses every digit within
// a few orders; these are the arguments of gold- and silver-like shells.
TEST(CoatArrays, LogarithmicDerivativeIsAccurateForAbsorbingArguments) {
    const std::vector<std::pair<TComplex, TComplex>> cases{
        {{50, 0}, {0.2, 3}}, {{60, 0}, {0.05, 4}}, {{10, 0}, {1.5, 0}}, {{0.1, 0}, {1.5, 1}}};
    for (const auto& [x, m] : cases) {
        const int32_t n = 80;
        std::vector<TComplex> d(n + 1);
        CoatAden(&x, &m, &n, d.data(), n);
        const auto expected = logDerivativeReference(Wide(x.Re, x.Im) * Wide(m.Re, m.Im), n);
        for (int k = 0; k <= n; ++k) {
            const Wide actual(d[k].Re, d[k].Im);
            EXPECT_LE(std::abs(actual - expected[k]), 1e-13L * std::abs(expected[k]))
                << "x=" << x.Re << " m=(" << m.Re << "," << m.Im << ") n=" << k;
        }
    }
}

TEST(CoatArrays, LogarithmicDerivativeOfOrderZeroOnlyForNoOrders) {
    const TComplex x{1, 0}, m{1.5, 0};
    const int32_t n = 0;
    auto d = filled(3);
    CoatAden(&x, &m, &n, d.data(), 2);
    EXPECT_NEAR(d[0].Re, 1 / std::tan(1.5), 1e-15);
    EXPECT_TRUE(untouched(d[1]));
}

} // namespace
