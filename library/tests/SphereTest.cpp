// SPDX-License-Identifier: MIT
// The homogeneous sphere through its exports: the published small-sphere
// values, the term counts, and the identities every correct series obeys.
#include "quellis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr TComplex kOne{1, 0};
constexpr TComplex kGlass{1.5, 0};

struct Efficiency {
    double qsca, qext, qback;
};

Efficiency crossSection(TComplex x, TComplex m) {
    Efficiency q{};
    CrossSection(&x, &m, &q.qsca, &q.qext, &q.qback);
    return q;
}

struct Amplitude {
    TComplex s1, s2;
};

Amplitude amplitudes(TComplex x, TComplex m, double theta) {
    Amplitude a{};
    AmplMatrix(&x, &m, &a.s1, theta, &a.s2);
    return a;
}

struct Elements {
    TComplex s11, s12, s33, s34;
};

Elements scatMatrix(TComplex x, TComplex m, double theta) {
    Elements e{};
    ScatMatrix(&x, &m, &e.s11, theta, &e.s12, &e.s33, &e.s34);
    return e;
}

double norm(TComplex a) {
    return a.Re * a.Re + a.Im * a.Im;
}

// Checks a value to the digits it is quoted with.
void expectDigits(double actual, double quoted, int significantDigits) {
    const double scale =
        std::pow(10.0, std::floor(std::log10(std::fabs(quoted))) - (significantDigits - 1));
    EXPECT_NEAR(actual, quoted, 0.5 * scale);
}

TEST(TermCounts, FollowTheSizeParameter) {
    const struct {
        double x;
        int32_t n;
    } cases[] = {{0.1, 4}, {1, 7}, {5, 14}, {10, 21}, {100, 121}};
    for (const auto& c : cases) {
        const TComplex x{c.x, 0};
        TComplex psi[200], xi[200];
        int32_t n = -1;
        Bessel(&x, &kGlass, &n, psi, 199, xi, 199);
        EXPECT_EQ(n, c.n) << c.x;
        TComplex a[200], b[200];
        n = -1;
        ScattKoef(&x, &kGlass, &n, a, 199, b, 199);
        EXPECT_EQ(n, c.n) << c.x;
    }
}

TEST(TermCounts, StartOrderOfTheLogarithmicDerivative) {
    const TComplex x{1, 0};
    TComplex d[40];
    int32_t nn = -1;
    Aden(&x, &kGlass, &nn, d, 39);
    EXPECT_EQ(nn, 22);
    const TComplex large{100, 0}, dense{3, 0.5};
    Aden(&large, &dense, &nn, d, 39); // |M*X| = 304.1 beyond N = 121
    EXPECT_EQ(nn, 319);
}

TEST(Bessel, LowOrdersAreTheClosedForms) {
    const TComplex x{1, 0};
    TComplex psi[8], xi[8];
    int32_t n = 0;
    Bessel(&x, &kGlass, &n, psi, 7, xi, 7);
    EXPECT_EQ(psi[0].Re, std::sin(1.0));
    EXPECT_EQ(xi[0].Re, std::sin(1.0));
    EXPECT_EQ(xi[0].Im, -std::cos(1.0));
    EXPECT_DOUBLE_EQ(psi[1].Re, std::sin(1.0) - std::cos(1.0));
    EXPECT_DOUBLE_EQ(xi[1].Im, -(std::cos(1.0) + std::sin(1.0)));
}

TEST(Bessel, DoesNotDependOnTheIndex) {
    const TComplex x{7.5, 0.25};
    const TComplex indexes[] = {{1.5, 0}, {0.4, 1.7}, {1e30, -5}};
    TComplex psiRef[40], xiRef[40];
    int32_t n = 0;
    Bessel(&x, &indexes[0], &n, psiRef, 39, xiRef, 39);
    for (const TComplex& m : indexes) {
        TComplex psi[40], xi[40];
        Bessel(&x, &m, &n, psi, 39, xi, 39);
        for (int k = 0; k <= n; ++k) {
            EXPECT_EQ(psi[k].Re, psiRef[k].Re);
            EXPECT_EQ(xi[k].Im, xiRef[k].Im);
        }
    }
}

TEST(Bessel, WritesOrdersZeroAndOneEvenWithoutTerms) {
    const TComplex negative{-3, 0};
    TComplex psi[3] = {{9, 9}, {9, 9}, {9, 9}}, xi[3] = {{9, 9}, {9, 9}, {9, 9}};
    int32_t n = -1;
    Bessel(&negative, &kGlass, &n, psi, 2, xi, 2);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(psi[1].Re, std::sin(-3.0) / -3.0 - std::cos(-3.0));
    EXPECT_EQ(psi[2].Re, 9.0);
    EXPECT_EQ(xi[2].Im, 9.0);
}

TEST(ScattKoef, FirstCoefficientsOfAGlassSphere) {
    const TComplex x{1, 0};
    TComplex a[8], b[8];
    int32_t n = 0;
    ScattKoef(&x, &kGlass, &n, a, 7, b, 7);
    EXPECT_EQ(n, 7);
    expectDigits(a[1].Re, 0.0348727, 6);
    expectDigits(a[1].Im, -0.183457, 6);
    expectDigits(b[1].Re, 0.000800506, 6);
    expectDigits(b[1].Im, -0.0282819, 6);
}

TEST(ScattKoef, LeavesElementZeroAlone) {
    const TComplex x{2, 0};
    TComplex a[12], b[12];
    a[0] = {4, 5};
    b[0] = {6, 7};
    int32_t n = 0;
    ScattKoef(&x, &kGlass, &n, a, 11, b, 11);
    EXPECT_EQ(a[0].Re, 4.0);
    EXPECT_EQ(a[0].Im, 5.0);
    EXPECT_EQ(b[0].Re, 6.0);
    EXPECT_EQ(b[0].Im, 7.0);
}

TEST(ScattKoef, AnIndexOfOneScattersNothing) {
    for (const double size : {0.5, 5.0, 50.0}) {
        const TComplex x{size, 0};
        std::vector<TComplex> a(80), b(80);
        int32_t n = 0;
        ScattKoef(&x, &kOne, &n, a.data(), 79, b.data(), 79);
        for (int k = 1; k <= n; ++k) {
            EXPECT_LT(std::hypot(a[k].Re, a[k].Im), 1e-14) << size << " order " << k;
            EXPECT_LT(std::hypot(b[k].Re, b[k].Im), 1e-14) << size << " order " << k;
        }
        const Efficiency q = crossSection(x, kOne);
        EXPECT_LT(std::fabs(q.qext), 1e-14);
    }
}

TEST(CrossSection, SmallSpheresToTheQuotedDigits) {
    const Efficiency glass = crossSection({1, 0}, kGlass);
    expectDigits(glass.qsca, 0.215098, 6);
    expectDigits(glass.qext, 0.215098, 6);
    expectDigits(glass.qback, 0.186586, 6);
    const Efficiency absorbing = crossSection({1, 0}, {1.5, 0.1});
    expectDigits(absorbing.qsca, 0.208740, 6);
    expectDigits(absorbing.qext, 0.482370, 6);
    expectDigits(absorbing.qback, 0.176962, 6);
}

TEST(CrossSection, ARealIndexScattersAllItRemoves) {
    for (const double size : {0.05, 0.8, 4.0, 40.0, 400.0}) {
        for (const TComplex m : {TComplex{1.33, 0}, TComplex{0.75, 0}, TComplex{2.5, 0}}) {
            const Efficiency q = crossSection({size, 0}, m);
            EXPECT_NEAR(q.qsca, q.qext, 1e-12 * q.qext) << size << " " << m.Re;
        }
    }
}

TEST(CrossSection, AnAbsorbingSphereRemovesMoreThanItScatters) {
    for (const TComplex m : {TComplex{1.5, 0.01}, TComplex{0.4, 1.7}, TComplex{0.05, 3}}) {
        const Efficiency q = crossSection({3, 0}, m);
        EXPECT_GT(q.qext, q.qsca) << m.Re;
    }
}

TEST(AmplMatrix, ForwardAmplitudesAreEqualAndGiveTheExtinction) {
    const Amplitude forward = amplitudes({1, 0}, kGlass, 0);
    EXPECT_EQ(forward.s1.Re, forward.s2.Re);
    EXPECT_EQ(forward.s1.Im, forward.s2.Im);
    expectDigits(forward.s1.Re, 0.0537744, 6);
    expectDigits(forward.s1.Im, -0.346146, 6);
    // The optical theorem, Qext = 4/x^2 Re S1(0), for several spheres.
    for (const double size : {1.0, 3.0, 30.0, 300.0}) {
        for (const TComplex m : {kGlass, TComplex{0.4, 1.7}, TComplex{1.5, 0.001}}) {
            const Amplitude s = amplitudes({size, 0}, m, 0);
            const Efficiency q = crossSection({size, 0}, m);
            EXPECT_NEAR(4 / (size * size) * s.s1.Re, q.qext, 1e-11 * q.qext) << size;
        }
    }
}

TEST(AmplMatrix, BackwardAmplitudesAreOpposite) {
    // At theta = pi, tau_n = -pi_n, so S2 = -S1; S1(pi) = sum (-1)^(n+1)(2n+1)(a_n-b_n)/2.
    const TComplex x{4.5, 0}, m{1.33, 0.02};
    const Amplitude back = amplitudes(x, m, kPi);
    EXPECT_NEAR(back.s2.Re, -back.s1.Re, 1e-13);
    EXPECT_NEAR(back.s2.Im, -back.s1.Im, 1e-13);
    const Efficiency q = crossSection(x, m);
    EXPECT_NEAR(4 * norm(back.s1) / (x.Re * x.Re), q.qback, 1e-12 * q.qback);
}

TEST(AnglFun, ForwardAndBackwardValues) {
    const TComplex x{10, 0}; // N = 21
    TComplex pi[22], tau[22];
    AnglFun(&x, pi, 21, 0.0, tau, 21);
    EXPECT_EQ(pi[0].Re, 0.0);
    for (int n = 1; n <= 21; ++n) {
        EXPECT_NEAR(pi[n].Re, n * (n + 1) / 2.0, 1e-12 * n * n) << n;
        EXPECT_NEAR(tau[n].Re, n * (n + 1) / 2.0, 1e-12 * n * n) << n;
        EXPECT_EQ(pi[n].Im, 0.0);
    }
    AnglFun(&x, pi, 21, kPi, tau, 21);
    for (int n = 1; n <= 21; ++n) {
        const double expected = (n % 2 == 1 ? 1.0 : -1.0) * n * (n + 1) / 2.0;
        EXPECT_NEAR(pi[n].Re, expected, 1e-12 * n * n) << n;
        EXPECT_NEAR(tau[n].Re, -expected, 1e-12 * n * n) << n;
    }
}

// At the poles the recurrence would gather rounding errors like n^2; the
// closed forms hold exactly at every order, so S1(0) = S2(0) exactly and the
// optical theorem Qext = 4/x^2 Re S(0) holds to rounding even at x = 10^4
// (the recurrence left it 3e-11 apart there).
TEST(AnglFun, PolesAreExactAtEveryOrder) {
    const TComplex x{1e4, 0}; // N = 10088
    std::vector<TComplex> pi(10089), tau(10089);
    AnglFun(&x, pi.data(), 10088, 0.0, tau.data(), 10088);
    for (int n = 1; n <= 10088; ++n) {
        const double half = n * (n + 1.0) / 2;
        ASSERT_EQ(pi[n].Re, half) << n;
        ASSERT_EQ(tau[n].Re, half) << n;
    }
    AnglFun(&x, pi.data(), 10088, kPi, tau.data(), 10088);
    for (int n = 1; n <= 10088; ++n) {
        const double half = (n % 2 == 1 ? 1.0 : -1.0) * n * (n + 1.0) / 2;
        ASSERT_EQ(pi[n].Re, half) << n;
        ASSERT_EQ(tau[n].Re, -half) << n;
    }
    const TComplex m{1.5, 0.01};
    double qsca, qext, qback;
    CrossSection(&x, &m, &qsca, &qext, &qback);
    TComplex s1, s2;
    AmplMatrix(&x, &m, &s1, 0.0, &s2);
    EXPECT_EQ(s1.Re, s2.Re);
    EXPECT_NEAR(4 / (x.Re * x.Re) * s1.Re, qext, 1e-13 * qext);
}

TEST(AnglFun, LeavesTauZeroAlone) {
    const TComplex x{1, 0};
    TComplex pi[8], tau[8];
    tau[0] = {3, 4};
    AnglFun(&x, pi, 7, 1.0, tau, 7);
    EXPECT_EQ(tau[0].Re, 3.0);
    EXPECT_EQ(tau[0].Im, 4.0);
    EXPECT_EQ(tau[1].Re, std::cos(1.0));
}

TEST(ScatMatrix, GlassSphereAtARightAngleAndAtTheFittingAngle) {
    const Elements right = scatMatrix({1, 0}, kGlass, kPi / 2);
    expectDigits(right.s11.Re, 0.0387895, 6);
    expectDigits(right.s12.Re, -0.0385067, 6);
    expectDigits(right.s33.Re, 0.00463387, 6);
    expectDigits(right.s34.Re, -0.000622191, 6);
    const Elements fit = scatMatrix({1, 0}, kGlass, 2.0933333333333333);
    expectDigits(fit.s11.Re, 0.0363505, 6);
    expectDigits(fit.s12.Re, -0.0240865, 6);
}

TEST(ScatMatrix, ElementsAreFormedFromTheAmplitudes) {
    for (const double theta : {0.0, 0.3, kPi / 2, 2.0933333333333333, kPi}) {
        const TComplex x{6.5, 0}, m{0.4, 1.7};
        const Elements e = scatMatrix(x, m, theta);
        const Amplitude s = amplitudes(x, m, theta);
        EXPECT_DOUBLE_EQ(e.s11.Re - e.s12.Re, norm(s.s1)) << theta;
        EXPECT_DOUBLE_EQ(e.s11.Re + e.s12.Re, norm(s.s2)) << theta;
        const double s33 = s.s1.Re * s.s2.Re + s.s1.Im * s.s2.Im;
        const double s34 = s.s2.Im * s.s1.Re - s.s2.Re * s.s1.Im;
        EXPECT_NEAR(e.s33.Re, s33, 1e-15 * e.s11.Re) << theta;
        EXPECT_NEAR(e.s34.Re, s34, 1e-15 * e.s11.Re) << theta;
        for (const TComplex& element : {e.s11, e.s12, e.s33, e.s34}) {
            EXPECT_EQ(element.Im, 0.0) << theta;
        }
    }
}

TEST(ScatMatrix, OutputsMayAliasTheInputs) {
    const TComplex x{2.5, 0}, m{1.5, 0.01};
    const Elements separate = scatMatrix(x, m, 1.0);
    TComplex inOut[2] = {x, m};
    TComplex s33, s34;
    ScatMatrix(&inOut[0], &inOut[1], &inOut[0], 1.0, &inOut[1], &s33, &s34);
    EXPECT_EQ(inOut[0].Re, separate.s11.Re);
    EXPECT_EQ(inOut[1].Re, separate.s12.Re);
    EXPECT_EQ(s33.Re, separate.s33.Re);
    TComplex s1 = x, s2 = m;
    AmplMatrix(&s1, &s2, &s1, 1.0, &s2);
    const Amplitude expected = amplitudes(x, m, 1.0);
    EXPECT_EQ(s1.Re, expected.s1.Re);
    EXPECT_EQ(s2.Im, expected.s2.Im);
}

} // namespace
