// SPDX-License-Identifier: MIT
// Caller arrays shorter than a series are filled up to their last index and
// not one element further, while the counts still report the full series;
// sizes outside the domain and series beyond 1001 orders stay well defined.
#include "quellis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

namespace {

constexpr TComplex kGuard{-777, 777};
constexpr TComplex kGlass{1.5, 0};

// An array of `size` elements followed by guard elements.
struct Guarded {
    explicit Guarded(int size) : values(static_cast<std::size_t>(size) + 8, kGuard) {}
    TComplex* data() { return values.data(); }
    bool untouchedFrom(int first) const {
        for (std::size_t i = static_cast<std::size_t>(first); i < values.size(); ++i) {
            if (values[i].Re != kGuard.Re || values[i].Im != kGuard.Im) {
                return false;
            }
        }
        return true;
    }
    std::vector<TComplex> values;
};

void expectSame(const TComplex& a, const TComplex& b) {
    EXPECT_EQ(a.Re, b.Re);
    EXPECT_EQ(a.Im, b.Im);
}

TEST(ShortArrays, BesselStopsAtEachArraysLastIndex) {
    const TComplex x{10, 0}; // N = 21
    Guarded psi(4), xi(6), psiFull(22), xiFull(22);
    int32_t n = 0;
    Bessel(&x, &kGlass, &n, psi.data(), 3, xi.data(), 5);
    EXPECT_EQ(n, 21);
    EXPECT_TRUE(psi.untouchedFrom(4));
    EXPECT_TRUE(xi.untouchedFrom(6));
    Bessel(&x, &kGlass, &n, psiFull.data(), 21, xiFull.data(), 21);
    for (int k = 0; k <= 3; ++k) {
        expectSame(psi.values[k], psiFull.values[k]);
    }
    for (int k = 0; k <= 5; ++k) {
        expectSame(xi.values[k], xiFull.values[k]);
    }
}

TEST(ShortArrays, AdenWritesTheOrdersThatFitWithTheirFullValues) {
    const TComplex x{20, 0}, m{1.33, 0.01};
    Guarded d(11), full(100);
    int32_t nn = 0;
    Aden(&x, &m, &nn, d.data(), 10);
    EXPECT_EQ(nn, 48); // N = 33 exceeds |m x| = 26.6
    EXPECT_TRUE(d.untouchedFrom(11));
    Aden(&x, &m, &nn, full.data(), 99);
    EXPECT_TRUE(full.untouchedFrom(49));
    for (int k = 0; k <= 10; ++k) {
        expectSame(d.values[k], full.values[k]);
    }
}

TEST(ShortArrays, ScattKoefFillsEachArrayOnlyAsFarAsItReaches) {
    const TComplex x{10, 0};
    Guarded a(5), b(1), aFull(22), bFull(22);
    int32_t n = 0;
    ScattKoef(&x, &kGlass, &n, a.data(), 4, b.data(), -1);
    EXPECT_EQ(n, 21);
    EXPECT_TRUE(a.untouchedFrom(5));
    expectSame(a.values[0], kGuard);
    EXPECT_TRUE(b.untouchedFrom(0));
    ScattKoef(&x, &kGlass, &n, aFull.data(), 21, bFull.data(), 21);
    for (int k = 1; k <= 4; ++k) {
        expectSame(a.values[k], aFull.values[k]);
    }
}

TEST(ShortArrays, AnglFunAndRootComStopAtTheLastIndex) {
    const TComplex x{10, 0};
    Guarded pi(3), tau(7);
    AnglFun(&x, pi.data(), 2, 0.5, tau.data(), 6);
    EXPECT_TRUE(pi.untouchedFrom(3));
    EXPECT_TRUE(tau.untouchedFrom(7));
    EXPECT_EQ(pi.values[2].Re, 3 * std::cos(0.5));
    Guarded roots(3);
    const TComplex a{0, 32};
    RootCom(&a, 5, roots.data(), 2);
    EXPECT_TRUE(roots.untouchedFrom(3));
    EXPECT_NEAR(std::hypot(roots.values[2].Re, roots.values[2].Im), 2.0, 1e-15);
}

TEST(ShortArrays, NegativeLastIndexWritesNothing) {
    const TComplex x{3, 0};
    Guarded psi(0), xi(0), d(0), pi(0), tau(0);
    int32_t n = 0;
    Bessel(&x, &kGlass, &n, psi.data(), -1, xi.data(), -1);
    Aden(&x, &kGlass, &n, d.data(), -1);
    AnglFun(&x, pi.data(), -1, 1.0, tau.data(), -1);
    EXPECT_TRUE(psi.untouchedFrom(0));
    EXPECT_TRUE(xi.untouchedFrom(0));
    EXPECT_TRUE(d.untouchedFrom(0));
    EXPECT_TRUE(pi.untouchedFrom(0));
    EXPECT_TRUE(tau.untouchedFrom(0));
}

TEST(LargeSeries, BeyondAThousandOrdersEveryOrderIsWritten) {
    const TComplex x{2000, 0}, m{1.33, 0.001};
    int32_t n = 0;
    Guarded a(2100), b(2100);
    ScattKoef(&x, &m, &n, a.data(), 2099, b.data(), 2099);
    ASSERT_EQ(n, 2052);
    EXPECT_TRUE(a.untouchedFrom(n + 1));
    // The coefficients fade out past the size parameter.
    EXPECT_GT(std::hypot(a.values[1000].Re, a.values[1000].Im), 1e-3);
    EXPECT_LT(std::hypot(a.values[n].Re, a.values[n].Im), 1e-6);
    int32_t nn = 0;
    Guarded d(3000);
    Aden(&x, &m, &nn, d.data(), 2999);
    EXPECT_EQ(nn, 2675); // round(|m x|) = 2660, plus 15
    EXPECT_TRUE(d.untouchedFrom(nn + 1));
}

// NN = max(N, round(|m x|)) + 15 on both sides of |m x| = N, rounding half
// to even: x = 2 has N = 9, and these m x are exact binary numbers.
TEST(ShortArrays, AdenStartOrderAroundTheTermCount) {
    const TComplex x{2, 0};
    const struct {
        double m;
        int32_t nn;
    } cases[] = {{0.5, 24}, {4.5, 24}, {4.75, 25}, {6.25, 27}, {6.75, 29}, {4.625, 24}};
    for (const auto& c : cases) {
        const TComplex m{c.m, 0};
        int32_t nn = 0;
        Guarded d(0);
        Aden(&x, &m, &nn, d.data(), 0);
        EXPECT_EQ(nn, c.nn) << "m = " << c.m;
    }
    // A complex index: |m x| = 2 |3 + 4i| = 10 exceeds N.
    const TComplex m{3, 4};
    int32_t nn = 0;
    Guarded d(0);
    Aden(&x, &m, &nn, d.data(), 0);
    EXPECT_EQ(nn, 25);
}

// A negative size has no terms, and a particle of negative size no answer:
// NaN efficiencies and amplitudes.
TEST(OutOfDomain, NegativeSizesGiveNoTermsAndNoAnswer) {
    const TComplex x{-2.5, 0};
    int32_t n = -1;
    Guarded a(4), b(4);
    ScattKoef(&x, &kGlass, &n, a.data(), 3, b.data(), 3);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(a.untouchedFrom(0));
    double qsca = 1, qext = 1, qback = 1;
    CrossSection(&x, &kGlass, &qsca, &qext, &qback);
    EXPECT_TRUE(std::isnan(qext));
    TComplex s1{1, 1}, s2{1, 1};
    AmplMatrix(&x, &kGlass, &s1, 1.0, &s2);
    EXPECT_TRUE(std::isnan(s1.Re));
    EXPECT_TRUE(std::isnan(s2.Im));
}

// X = 0 divides by zero; the result is not a number, and the calls return.
TEST(OutOfDomain, ZeroSizeGivesNotANumber) {
    const TComplex zero{0, 0};
    double qsca = 0, qext = 0, qback = 0;
    CrossSection(&zero, &kGlass, &qsca, &qext, &qback);
    EXPECT_FALSE(std::isfinite(qext));
    TComplex s11{0, 0}, s12, s33, s34;
    ScatMatrix(&zero, &kGlass, &s11, 1.0, &s12, &s33, &s34);
    EXPECT_FALSE(std::isfinite(s11.Re));
    int32_t nn = 0;
    Guarded d(20);
    Aden(&zero, &kGlass, &nn, d.data(), 19);
    EXPECT_EQ(nn, 17); // N = 2 for x = 0
    EXPECT_FALSE(std::isfinite(d.values[0].Re));
}

TEST(Threads, ConcurrentCallsGiveTheSingleThreadResults) {
    const TComplex sizes[] = {{3, 0}, {1500, 0}};
    const TComplex m{0.4, 1.7};
    TComplex expected[2];
    TComplex unused;
    for (int i = 0; i < 2; ++i) {
        ScatMatrix(&sizes[i], &m, &expected[i], 1.0, &unused, &unused, &unused);
    }
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int repeat = 0; repeat < 20; ++repeat) {
                const int i = (t + repeat) % 2;
                TComplex s11, s12, s33, s34;
                ScatMatrix(&sizes[i], &m, &s11, 1.0, &s12, &s33, &s34);
                mismatches[t] += s11.Re != expected[i].Re;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const int count : mismatches) {
        EXPECT_EQ(count, 0);
    }
}

} // namespace
