// SPDX-License-Identifier: MIT
// Inputs at the edges of the number range: complex routines whose results
// are ordinary doubles although their intermediate squares are not, and
// sizes for which no series is computed, which must come back as NaN
// without ending the caller's process or writing past its arrays.
#include "quellis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {

constexpr double kSqrt2 = std::numbers::sqrt2;
constexpr TComplex kSentinel{-7.25, 3.5};

bool isSentinel(const TComplex& a) {
    return a.Re == kSentinel.Re && a.Im == kSentinel.Im;
}

bool isNoAnswer(const TComplex& a) {
    return std::isnan(a.Re) && std::isnan(a.Im);
}

double relative(double value, double expected) {
    return std::fabs(value - expected) / std::fabs(expected);
}

TEST(ComplexRange, ModuliOfHugeAndTinyNumbers) {
    double r = 0;
    const TComplex huge{1e200, 1e200}, tiny{1e-200, 1e-200}, subnormal{3e-320, 4e-320};
    AbsCom(&huge, &r);
    EXPECT_LE(relative(r, kSqrt2 * 1e200), 2e-16);
    AbsCom(&tiny, &r);
    EXPECT_LE(relative(r, kSqrt2 * 1e-200), 2e-16);
    AbsCom(&subnormal, &r);
    EXPECT_LE(relative(r, 5e-320), 1e-3); // subnormals carry few digits
    const TComplex largest{std::numeric_limits<double>::max(), 0};
    AbsCom(&largest, &r);
    EXPECT_EQ(r, std::numeric_limits<double>::max());
}

TEST(ComplexRange, OrdinaryModuliKeepTheUnscaledFormula) {
    for (const TComplex a :
         {TComplex{3, 4}, TComplex{1.1, 2.3}, TComplex{-1e150, 7e149}, TComplex{2e-150, -3e-151}}) {
        double r = 0;
        AbsCom(&a, &r);
        EXPECT_EQ(r, std::sqrt(a.Re * a.Re + a.Im * a.Im));
        TComplex l;
        LogCom(&a, 0, &l);
        EXPECT_EQ(l.Re, std::log(a.Re * a.Re + a.Im * a.Im) / 2);
    }
}

TEST(ComplexRange, LogarithmPowerAndRootsOfHugeAndTinyNumbers) {
    TComplex r;
    const TComplex huge{1e200, 0};
    LogCom(&huge, 0, &r);
    EXPECT_LE(relative(r.Re, 200 * std::numbers::ln10), 1e-15);
    EXPECT_EQ(r.Im, 0.0);
    const TComplex tiny{1e-300, 1e-300};
    LogCom(&tiny, 0, &r);
    EXPECT_LE(relative(r.Re, -300 * std::numbers::ln10 + std::log(kSqrt2)), 1e-15);
    EXPECT_LE(relative(r.Im, std::numbers::pi / 4), 1e-15);

    // exp(ln|A| p) carries the rounding of ln|A| (about 460 here) times p:
    // some 1e-14 relative, as for any modulus near 1e200.
    PowCom(&huge, &r, 0.5);
    EXPECT_LE(relative(r.Re, 1e100), 1e-13);
    EXPECT_EQ(r.Im, 0.0);
    const TComplex diagonal{1e300, 1e300};
    PowCom(&diagonal, &r, 0.5); // (sqrt2 e300)^(1/2) at angle pi/8
    const double modulus = std::pow(2.0, 0.25) * 1e150;
    EXPECT_LE(relative(r.Re, modulus * std::cos(std::numbers::pi / 8)), 1e-13);
    EXPECT_LE(relative(r.Im, modulus * std::sin(std::numbers::pi / 8)), 1e-13);

    std::vector<TComplex> roots(3, kSentinel);
    RootCom(&huge, 2, roots.data(), 2);
    EXPECT_LE(relative(roots[0].Re, 1e100), 1e-13);
    EXPECT_LE(relative(roots[1].Re, -1e100), 1e-13);
    EXPECT_TRUE(isSentinel(roots[2]));
}

TEST(ComplexRange, TangentOfLargeImaginaryPartsTendsToPlusOrMinusI) {
    for (const double y : {400.0, 1e5, std::numeric_limits<double>::max()}) {
        for (const double x : {0.0, 1.0, -2.5}) {
            TComplex r;
            const TComplex up{x, y}, down{x, -y};
            TanCom(&up, &r);
            EXPECT_EQ(r.Im, 1.0) << x << " " << y;
            EXPECT_LE(std::fabs(r.Re), 1e-300) << x << " " << y;
            TanCom(&down, &r);
            EXPECT_EQ(r.Im, -1.0) << x << " " << y;
        }
    }
    // Below the overflow the described formula stands: tan(i y) = i tanh y.
    TComplex r;
    const TComplex moderate{0, 20};
    TanCom(&moderate, &r);
    const double t = std::exp(40.0);
    EXPECT_EQ(r.Im, ((t - 1 / t) / 2) / (1 + (1 / t + t) / 2));
}

// Sizes for which no series is computed: not finite, or a term count beyond
// an int32, or tables beyond the library's bound (x = 1e9 needs 1e9 orders).
const std::vector<double> kUnservedSizes{1e12, std::numeric_limits<double>::infinity(),
                                         -std::numeric_limits<double>::infinity(),
                                         std::numeric_limits<double>::quiet_NaN()};

TEST(BeyondTables, SphereExportsAnswerNaN) {
    const TComplex m{1.5, 0.01};
    for (const double size : kUnservedSizes) {
        SCOPED_TRACE(size);
        const TComplex x{size, 0};
        int32_t n = 7;
        std::vector<TComplex> psi(6, kSentinel), xi(6, kSentinel);
        Bessel(&x, &m, &n, psi.data(), 4, xi.data(), 3);
        EXPECT_EQ(n, -1);
        EXPECT_TRUE(isNoAnswer(psi[4]) && isNoAnswer(xi[3]) && isSentinel(psi[5]) &&
                    isSentinel(xi[4]));
        std::vector<TComplex> d(6, kSentinel);
        Aden(&x, &m, &n, d.data(), 4);
        EXPECT_EQ(n, -1);
        EXPECT_TRUE(isNoAnswer(d[0]) && isNoAnswer(d[4]) && isSentinel(d[5]));
        std::vector<TComplex> a(6, kSentinel), b(6, kSentinel);
        ScattKoef(&x, &m, &n, a.data(), 4, b.data(), 4);
        EXPECT_EQ(n, -1);
        EXPECT_TRUE(isSentinel(a[0]) && isNoAnswer(a[1]) && isNoAnswer(b[4]) && isSentinel(a[5]));
        std::vector<TComplex> pi(6, kSentinel), tau(6, kSentinel);
        AnglFun(&x, pi.data(), 4, 1.0, tau.data(), 4);
        EXPECT_TRUE(isNoAnswer(pi[4]) && isNoAnswer(tau[1]) && isSentinel(pi[5]));
        double qsca = 0, qext = 0, qback = 0;
        CrossSection(&x, &m, &qsca, &qext, &qback);
        EXPECT_TRUE(std::isnan(qsca) && std::isnan(qext) && std::isnan(qback));
        TComplex s1{0, 0}, s2{0, 0}, s11, s12, s33, s34;
        AmplMatrix(&x, &m, &s1, 1.0, &s2);
        EXPECT_TRUE(isNoAnswer(s1) && isNoAnswer(s2));
        ScatMatrix(&x, &m, &s11, 1.0, &s12, &s33, &s34);
        EXPECT_TRUE(std::isnan(s11.Re) && std::isnan(s12.Re) && std::isnan(s33.Re) &&
                    std::isnan(s34.Re));
    }
}

TEST(BeyondTables, CoatedAndNearFieldExportsAnswerNaN) {
    const TComplex core{1, 0}, m1{1.5, 0}, m2{1.2, 0};
    for (const double size : kUnservedSizes) {
        SCOPED_TRACE(size);
        const TComplex y{size, 0};
        double qsca = 0, qext = 0, qback = 0;
        CoatCrossSection(&core, &y, &m1, &m2, &qsca, &qext, &qback);
        EXPECT_TRUE(std::isnan(qsca) && std::isnan(qext) && std::isnan(qback));
        TComplex s1, s2, s11, s12, s33, s34;
        CoatAmplMatrix(&core, &y, &m1, &m2, 1.0, &s1, &s2);
        EXPECT_TRUE(isNoAnswer(s1) && isNoAnswer(s2));
        CoatScatMatrix(&core, &y, &m1, &m2, 1.0, &s11, &s12, &s33, &s34);
        EXPECT_TRUE(std::isnan(s11.Re));
        const int32_t n = 3;
        std::vector<TComplex> a(5, kSentinel), b(5, kSentinel);
        CoatScattKoef(&core, &y, &m1, &m2, &n, a.data(), 4, b.data(), 4);
        EXPECT_TRUE(isSentinel(a[0]) && isNoAnswer(a[3]) && isNoAnswer(b[1]) && isSentinel(a[4]));

        const TComplex rho{2, 0};
        NearAmplMatrix(&y, &rho, &m1, 1.0, &s1, &s2);
        EXPECT_TRUE(isNoAnswer(s1) && isNoAnswer(s2));
        NearScatMatrix(&y, &rho, &m1, 1.0, &s11, &s12, &s33, &s34);
        EXPECT_TRUE(std::isnan(s11.Re));
        TComplex l, e[6];
        NearLongAmpl(&y, &rho, &m1, 1.0, &l);
        EXPECT_TRUE(std::isnan(l.Re));
        NearFields(&y, &rho, &m1, 1.0, &e[0], &e[1], &e[2], &e[3], &e[4], &e[5]);
        for (const TComplex& component : e) {
            EXPECT_TRUE(isNoAnswer(component));
        }
        TComplex sphi, stheta, sr;
        NearPointing(&y, &rho, &m1, 1.0, 0.5, &sphi, &stheta, &sr);
        EXPECT_TRUE(std::isnan(sphi.Re) && std::isnan(stheta.Re) && std::isnan(sr.Re));
    }
}

// x = 1e9 needs 1e9 orders for its sums, more than any table holds: the
// sums are NaN. A caller who asks for a few coefficients gets them, without
// the downward recurrences over the orders it does not read.
TEST(BeyondTables, AVeryLargeSphereServesShortArrays) {
    const TComplex x{1e9, 0}, m{1.5, 0};
    double qsca = 0, qext = 0, qback = 0;
    CrossSection(&x, &m, &qsca, &qext, &qback);
    EXPECT_TRUE(std::isnan(qsca) && std::isnan(qext) && std::isnan(qback));
    int32_t n = 0;
    std::vector<TComplex> a(62, kSentinel), b(62, kSentinel);
    ScattKoef(&x, &m, &n, a.data(), 60, b.data(), 60);
    EXPECT_EQ(n, 1000004002);
    for (int k = 1; k <= 60; ++k) {
        // A non-absorbing sphere: Re a_n = |a_n|^2, that is |a_n - 1/2| = 1/2.
        EXPECT_NEAR(std::hypot(a[k].Re - 0.5, a[k].Im), 0.5, 1e-9) << k;
        EXPECT_NEAR(std::hypot(b[k].Re - 0.5, b[k].Im), 0.5, 1e-9) << k;
    }
    EXPECT_TRUE(isSentinel(a[61]) && isSentinel(a[0]));

    const TComplex metal{1e3, 1e6}, size{1e3, 0};
    int32_t nn = 0;
    std::vector<TComplex> d(12, kSentinel);
    Aden(&size, &metal, &nn, d.data(), 10);
    EXPECT_EQ(nn, 1000000515);
    // Deep in a strongly absorbing medium D_n = cot(rho) - ... tends to -i.
    EXPECT_NEAR(d[10].Re, 0, 1e-6);
    EXPECT_NEAR(d[10].Im, -1, 1e-6);
    EXPECT_TRUE(isSentinel(d[11]));
}

// A huge index at a modest size: D_n(m x) comes upward (or, strongly
// absorbing, down from its fraction at the series' last order) rather than
// down over the |m x| = 1e7 orders above the series. The references are the
// textbook formulas (Bohren & Huffman 1983, eqs. 4.56, 4.61, 4.62, 4.88) in
// mpmath at 60 digits, psi_n(z) = sqrt(pi z/2) J_{n+1/2}(z),
// chi_n(z) = -sqrt(pi z/2) Y_{n+1/2}(z), D_n = psi_{n-1}/psi_n - n/z.
TEST(LargeIndices, CostTheOrdersOfTheSeriesAndKeepTheirDigits) {
    const TComplex x{10, 0};
    const struct {
        TComplex m;
        double qsca, qext, qback;
    } cases[] = {{{1e6, 0}, 2.0624073484099865, 2.0624073484099865, 0.9292251831883487},
                 {{1e6, 1e6}, 2.062404513216495, 2.0624074833242636, 0.9292274492034539}};
    for (const auto& c : cases) {
        double qsca = 0, qext = 0, qback = 0;
        CrossSection(&x, &c.m, &qsca, &qext, &qback);
        EXPECT_LE(relative(qsca, c.qsca), 1e-13) << c.m.Im;
        EXPECT_LE(relative(qext, c.qext), 1e-13) << c.m.Im;
        EXPECT_LE(relative(qback, c.qback), 1e-12) << c.m.Im;
    }
}

// psi_n(1 + i) leaves the normal range near order 158 and the double range
// near 165, while chi_n stays finite to about order 163: psi_n is then the
// subnormal number, and 0 beyond, never NaN (it was NaN from order 160). References from mpmath as
// above: psi_150 = 3.3329964837443144e-287 - 3.3550693885391989e-287 i,
// psi_160 = 1.2301376675925406e-310 + 1.2225442010153955e-310 i.
TEST(CoatBesselRange, FunctionsPastTheDoubleRangeAreZeroOrInfinite) {
    const TComplex z{1, 1};
    const int32_t n = 200;
    std::vector<TComplex> psi(201, kSentinel), chi(201, kSentinel), xi(201, kSentinel);
    CoatBessel(&z, &z, &n, psi.data(), 200, chi.data(), 200, xi.data(), 200);
    for (int k = 0; k <= 200; ++k) {
        EXPECT_FALSE(std::isnan(psi[k].Re) || std::isnan(psi[k].Im)) << k;
        EXPECT_FALSE(std::isnan(chi[k].Re) || std::isnan(chi[k].Im)) << k;
    }
    EXPECT_LE(relative(psi[150].Re, 3.3329964837443144e-287), 1e-12);
    EXPECT_LE(relative(psi[150].Im, -3.3550693885391989e-287), 1e-12);
    EXPECT_LE(relative(psi[160].Re, 1.2301376675925406e-310), 1e-9);
    EXPECT_LE(relative(psi[160].Im, 1.2225442010153955e-310), 1e-9);
    EXPECT_EQ(psi[200].Re, 0.0);
    EXPECT_EQ(psi[200].Im, 0.0);

    // A small argument, whose xi_n overflows from about order 68 on: the
    // parts of chi_n and xi_n become infinite, never NaN.
    const TComplex small{0.001, 0.001};
    CoatBessel(&small, &small, &n, psi.data(), 200, chi.data(), 200, xi.data(), 200);
    for (int k = 0; k <= 200; ++k) {
        EXPECT_FALSE(std::isnan(psi[k].Re) || std::isnan(psi[k].Im)) << k;
        EXPECT_FALSE(std::isnan(chi[k].Re) || std::isnan(chi[k].Im)) << k;
        EXPECT_FALSE(std::isnan(xi[k].Re) || std::isnan(xi[k].Im)) << k;
    }
    EXPECT_TRUE(std::isinf(chi[200].Re) || std::isinf(chi[200].Im));

    // An argument that is not a number has no functions, at once whatever N.
    const TComplex nan{std::numeric_limits<double>::quiet_NaN(), 0};
    const int32_t most = std::numeric_limits<int32_t>::max();
    std::vector<TComplex> psiN(5, kSentinel), chiN(5, kSentinel), xiN(5, kSentinel);
    CoatBessel(&nan, &z, &most, psiN.data(), 3, chiN.data(), 3, xiN.data(), 3);
    EXPECT_TRUE(isNoAnswer(psiN[3]) && isNoAnswer(chiN[0]) && isNoAnswer(xiN[2]));
    EXPECT_TRUE(isSentinel(psiN[4]));
}

} // namespace
