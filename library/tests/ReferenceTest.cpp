// SPDX-License-Identifier: MIT
// The homogeneous sphere against values it did not produce: an independent
// long-double evaluation of the series (ReferenceMie.h) from x = 0.01 to
// 5000, and published tables.
#include "PublishedValues.h"
#include "ReferenceMie.h"
#include "quellis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

struct Case {
    double x;
    double mRe, mIm;
};

// Dielectric, weakly absorbing and metallic spheres, small to very large,
// among them the large weakly absorbing ones a start of D_n from zero spoils.
const Case kCases[] = {
    {0.01, 1.5, 0},  {0.01, 0.4, 1.7},   {0.1, 0.05, 3},     {0.3, 1.5, 0.01},    {1, 1.5, 0},
    {3, 0.4, 1.7},   {10, 0.75, 0},      {30, 1.5, 0.001},   {100, 0.05, 3},      {100, 1.33, 1e-5},
    {300, 0.4, 1.7}, {500, 1.5, 0},      {900, 1.05, 0.001}, {1000, 1.5, 0.001},  {2000, 0.4, 1.7},
    {5000, 1.5, 0},  {5000, 1.5, 0.001}, {5000, 0.05, 3},    {5000, 1.05, 0.001},
};

double relative(double actual, long double expected) {
    return static_cast<double>(std::fabs(actual - expected) / std::fabs(expected));
}

double relative(TComplex actual, reference::Complex expected) {
    return static_cast<double>(std::abs(reference::Complex(actual.Re, actual.Im) - expected) /
                               std::abs(expected));
}

TEST(IndependentSeries, EfficienciesAgree) {
    for (const Case& c : kCases) {
        const TComplex x{c.x, 0}, m{c.mRe, c.mIm};
        double qsca, qext, qback;
        CrossSection(&x, &m, &qsca, &qext, &qback);
        const reference::Result r = reference::sphere(c.x, {c.mRe, c.mIm}, 0);
        SCOPED_TRACE(testing::Message()
                     << "x = " << c.x << ", m = " << c.mRe << " + " << c.mIm << "i");
        EXPECT_LT(relative(qsca, r.qsca), 1e-11);
        EXPECT_LT(relative(qext, r.qext), 1e-11);
        // The backscattering sum cancels over many orders for large spheres.
        EXPECT_LT(relative(qback, r.qback), 1e-10);
    }
}

TEST(IndependentSeries, AmplitudesAgree) {
    for (const Case& c : kCases) {
        for (const double theta : {0.0, 1.0, 2.0933333333333333, std::numbers::pi}) {
            const TComplex x{c.x, 0}, m{c.mRe, c.mIm};
            TComplex s1, s2;
            AmplMatrix(&x, &m, &s1, theta, &s2);
            const reference::Result r = reference::sphere(c.x, {c.mRe, c.mIm}, theta);
            SCOPED_TRACE(testing::Message() << "x = " << c.x << ", m = " << c.mRe << " + " << c.mIm
                                            << "i, theta = " << theta);
            // Straight backwards (cos theta = -1) the rounding of the angular
            // recurrence adds up with the square of the order count.
            const double orders = static_cast<double>(r.a.size());
            const double tolerance =
                theta == std::numbers::pi ? 1e-10 + 4e-17 * orders * orders : 1e-10;
            EXPECT_LT(relative(s1, r.s1), tolerance);
            EXPECT_LT(relative(s2, r.s2), tolerance);
        }
    }
}

TEST(IndependentSeries, CoefficientsAgreeOrderByOrder) {
    for (const Case& c : kCases) {
        const TComplex x{c.x, 0}, m{c.mRe, c.mIm};
        std::vector<TComplex> a(6000), b(6000);
        int32_t n = 0;
        ScattKoef(&x, &m, &n, a.data(), 5999, b.data(), 5999);
        const reference::Result r = reference::sphere(c.x, {c.mRe, c.mIm}, 0);
        ASSERT_EQ(static_cast<std::size_t>(n) + 1, r.a.size());
        // Far past the size parameter the coefficients fade below any scale
        // that matters; compare them against the largest one.
        const long double scale = std::abs(r.a[1]) + std::abs(r.b[1]) + 1e-300L;
        for (int k = 1; k <= n; ++k) {
            const auto kk = static_cast<std::size_t>(k);
            SCOPED_TRACE(testing::Message() << "x = " << c.x << ", m = " << c.mRe << " + " << c.mIm
                                            << "i, order " << k);
            const long double floor = 1e-12L * std::max(scale, std::abs(r.a[kk]));
            EXPECT_LT(std::abs(reference::Complex(a[kk].Re, a[kk].Im) - r.a[kk]),
                      1e-10L * std::abs(r.a[kk]) + floor);
            EXPECT_LT(std::abs(reference::Complex(b[kk].Re, b[kk].Im) - r.b[kk]),
                      1e-10L * std::abs(r.b[kk]) + floor);
        }
    }
}

// The logarithmic derivative at every order it writes, including the start
// order itself, for spheres where a start from zero is far off, and on each
// side of where the start value changes its form: an argument below 2^-30,
// starts at twice |m x| and above it, and a start between |m x| and twice it.
TEST(IndependentSeries, LogarithmicDerivativeIsRightAtEveryOrder) {
    const Case cases[] = {{500, 1.5, 0},    {900, 1.05, 0.001}, {60, 1.33, 0},
                          {3, 0.4, 1.7},    {5000, 1.5, 0.001}, {1e-12, 1.5, 0.5},
                          {1e-6, 1.5, 0.5}, {3.2, 0.4, 1.7},    {20, 0.05, 3}};
    for (const Case& c : cases) {
        const TComplex x{c.x, 0}, m{c.mRe, c.mIm};
        int32_t nn = 0;
        std::vector<TComplex> d(20000);
        Aden(&x, &m, &nn, d.data(), 19999);
        // The argument as the library forms it in double, m*x.
        const reference::Complex rho(c.x * c.mRe, c.x * c.mIm);
        const std::vector<reference::Complex> expected = reference::logDerivatives(rho, nn);
        for (int k = 0; k <= nn; ++k) {
            const auto kk = static_cast<std::size_t>(k);
            // Relative to the function's own scale: D_n of a real argument
            // passes through zero between its poles.
            const long double scale = std::max(std::abs(expected[kk]), 1.0L);
            ASSERT_LT(std::abs(reference::Complex(d[kk].Re, d[kk].Im) - expected[kk]),
                      5e-13L * scale)
                << "x = " << c.x << ", m = " << c.mRe << " + " << c.mIm << "i, order " << k
                << " of " << nn;
        }
    }
}

TEST(IndependentSeries, VeryLargeSpheresTendToExtinctionTwo) {
    const TComplex x{5000, 0};
    for (const TComplex m : {TComplex{1.5, 0}, TComplex{1.33, 0.01}, TComplex{0.4, 1.7}}) {
        double qsca, qext, qback;
        CrossSection(&x, &m, &qsca, &qext, &qback);
        EXPECT_NEAR(qext, 2.0, 0.02) << m.Re;
        EXPECT_LE(qsca, qext * (1 + 1e-12)) << m.Re;
    }
}

using published::expectDigits;

TEST(PublishedValues, DuTable) {
    published::expectDuTable(CrossSection);
}

TEST(PublishedValues, BohrenHuffmanSphere) {
    const TComplex x{2 * std::numbers::pi * 0.525 / 0.6328, 0};
    double qsca, qext, qback;
    const TComplex clear{1.55, 0};
    CrossSection(&x, &clear, &qsca, &qext, &qback);
    expectDigits(qext, 3.10543, 6);
    expectDigits(qsca, 3.10543, 6);
    expectDigits(qback, 2.92534, 6);
    const TComplex absorbing{1.55, 0.1};
    CrossSection(&x, &absorbing, &qsca, &qext, &qback);
    expectDigits(qext, 2.86165188243, 12);
    expectDigits(qsca, 1.66424911991, 12);
    expectDigits(qback, 0.20599534080, 11);
}

TEST(PublishedValues, BohrenHuffmanPhaseMatrix) {
    published::expectBohrenHuffmanPhaseMatrix(ScatMatrix);
}

} // namespace
