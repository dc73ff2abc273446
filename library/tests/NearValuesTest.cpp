// SPDX-License-Identifier: MIT
// The near-field exports: published values of one sphere, the relations
// between the five exports, and the sums checked against the same sums
// formed from the sphere exports (Bessel functions, coefficients, angular
// functions), also for points inside the sphere's radius and for series
// longer than 1001 orders.
#include "quellis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace {

using C = std::complex<double>;

constexpr double kHalfPi = std::numbers::pi / 2;
const TComplex kX{1, 0};
const TComplex kRho{2, 0};
const TComplex kM{1.5, 0};

C c(TComplex a) {
    return {a.Re, a.Im};
}

void expectNear(TComplex actual, double re, double im, double tolerance) {
    EXPECT_NEAR(actual.Re, re, tolerance);
    EXPECT_NEAR(actual.Im, im, tolerance);
}

struct Fields {
    TComplex ePhi, eTheta, eR, hPhi, hTheta, hR;
};

Fields fieldsAt(const TComplex& x, const TComplex& rho, const TComplex& m, double theta) {
    Fields f{};
    NearFields(&x, &rho, &m, theta, &f.ePhi, &f.eTheta, &f.eR, &f.hPhi, &f.hTheta, &f.hR);
    return f;
}

TEST(NearValues, AmplitudesAndScatteringMatrixOfTheSphereAtRhoTwo) {
    TComplex s1, s2;
    NearAmplMatrix(&kX, &kRho, &kM, kHalfPi, &s1, &s2);
    expectNear(s1, 0.237860, -0.0894982, 1e-6);
    expectNear(s2, -0.0482442, -0.0258361, 1e-7);

    TComplex s11, s12, s33, s34;
    NearScatMatrix(&kX, &kRho, &kM, kHalfPi, &s11, &s12, &s33, &s34);
    expectNear(s11, 0.0337913, 0, 1e-7);
    expectNear(s12, -0.0307963, 0, 1e-7);
    expectNear(s33, -0.00916311, 0, 1e-8);
    expectNear(s34, -0.0104631, 0, 1e-7);
}

TEST(NearValues, LongitudinalFieldsAndPoyntingVectorAtRhoTwo) {
    TComplex l{-1, -1};
    NearLongAmpl(&kX, &kRho, &kM, kHalfPi, &l);
    expectNear(l, 0.387050, 0, 1e-6);
    EXPECT_EQ(l.Im, 0.0);

    const Fields f = fieldsAt(kX, kRho, kM, kHalfPi);
    expectNear(f.ePhi, 0.233718, -0.0911061, 1e-6);
    expectNear(f.eTheta, -0.0258368, 0.0487238, 1e-7);
    expectNear(f.eR, 0.367819, -0.182183, 1e-6);
    expectNear(f.hPhi, 0.00452574, 0.0297468, 1e-7);
    expectNear(f.hTheta, -0.275444, 0.149578, 1e-6);
    expectNear(f.hR, -0.0376351, -0.0503521, 1e-7);

    TComplex sPhi, sTheta, sR;
    NearPointing(&kX, &kRho, &kM, kHalfPi, std::numbers::pi / 4, &sPhi, &sTheta, &sR);
    expectNear(sPhi, -0.00397136, 0, 1e-8);
    expectNear(sTheta, -1.41848e-05, 0, 1e-10);
    expectNear(sR, 0.00495852, 0, 1e-8);
}

TEST(NearValues, ScatteringMatrixIsFormedFromTheAmplitudes) {
    for (double theta : {0.0, 0.7, kHalfPi, 2.5, std::numbers::pi}) {
        const TComplex x{3, 0}, rho{4.5, 0}, m{1.5, 0.2};
        TComplex s1, s2, s11, s12, s33, s34;
        NearAmplMatrix(&x, &rho, &m, theta, &s1, &s2);
        NearScatMatrix(&x, &rho, &m, theta, &s11, &s12, &s33, &s34);
        const double scale = std::norm(c(s1)) + std::norm(c(s2));
        EXPECT_NEAR(s11.Re - s12.Re, std::norm(c(s1)), 1e-14 * scale);
        EXPECT_NEAR(s11.Re + s12.Re, std::norm(c(s2)), 1e-14 * scale);
        EXPECT_NEAR(s33.Re, (c(s1) * std::conj(c(s2))).real(), 1e-14 * scale);
        EXPECT_NEAR(s34.Re, (c(s2) * std::conj(c(s1))).imag(), 1e-14 * scale);
        for (const TComplex& e : {s11, s12, s33, s34}) {
            EXPECT_EQ(e.Im, 0.0);
        }
    }
}

TEST(NearValues, ForwardDirectionHasNoRadialComponents) {
    TComplex l{-1, -1};
    NearLongAmpl(&kX, &kRho, &kM, 0.0, &l);
    EXPECT_EQ(l.Re, 0.0);
    EXPECT_EQ(l.Im, 0.0);
    const Fields f = fieldsAt(kX, kRho, kM, 0.0);
    EXPECT_EQ(std::abs(c(f.eR)), 0.0);
    EXPECT_EQ(std::abs(c(f.hR)), 0.0);
}

TEST(NearValues, PoyntingVectorAtZeroAzimuthKeepsOnlyTheCosineComponents) {
    const double theta = 1.1;
    const Fields f = fieldsAt(kX, kRho, kM, theta);
    TComplex sPhi, sTheta, sR;
    NearPointing(&kX, &kRho, &kM, theta, 0.0, &sPhi, &sTheta, &sR);
    const double r = kRho.Re;
    const C eR = c(f.eR) / (r * r);
    const C eTheta = c(f.eTheta) / r;
    const C hPhi = c(f.hPhi) / r;
    EXPECT_EQ(sPhi.Re, 0.0);
    EXPECT_NEAR(sTheta.Re, -0.5 * (eR * std::conj(hPhi)).real(), 1e-15);
    EXPECT_NEAR(sR.Re, 0.5 * (eTheta * std::conj(hPhi)).real(), 1e-15);
}

TEST(NearValues, FarAwayTheOrderPhasesRemain) {
    const TComplex rho{100, 0};
    TComplex s1, s2;
    NearAmplMatrix(&kX, &rho, &kM, kHalfPi, &s1, &s2);
    expectNear(s1, -0.266574, 0.0926058, 1e-6);
}

// S1 and S2 of the near field formed from the sphere exports: xi_n(rho)
// from CoatBessel (which takes the order count from its caller), a_n and b_n
// from ScattKoef, pi_n and tau_n from AnglFun.
struct NearSums {
    C s1, s2;
};

NearSums sumsFromSphereExports(const TComplex& x, const TComplex& rho, const TComplex& m,
                               double theta) {
    int32_t count = 0;
    std::vector<TComplex> a(4000), b(4000), pi(4000), tau(4000), psi(4000), chi(4000), xi(4000);
    ScattKoef(&x, &m, &count, a.data(), 3999, b.data(), 3999);
    AnglFun(&x, pi.data(), 3999, theta, tau.data(), 3999);
    CoatBessel(&rho, &m, &count, psi.data(), 3999, chi.data(), 3999, xi.data(), 3999);
    NearSums s{};
    for (int n = 1; n <= count; ++n) {
        const C xiN = c(xi[n]);
        const C xiDerivative = c(xi[n - 1]) - (n / rho.Re) * xiN;
        const double weight = (2.0 * n + 1) / (n * (n + 1.0));
        s.s1 += weight * (xiDerivative * c(a[n]) * c(pi[n]) + xiN * c(b[n]) * c(tau[n]));
        s.s2 += weight * (xiDerivative * c(a[n]) * c(tau[n]) + xiN * c(b[n]) * c(pi[n]));
    }
    return s;
}

void expectSumsFromSphereExports(const TComplex& x, const TComplex& rho, const TComplex& m,
                                 double theta) {
    TComplex s1, s2;
    NearAmplMatrix(&x, &rho, &m, theta, &s1, &s2);
    const NearSums expected = sumsFromSphereExports(x, rho, m, theta);
    const double scale = std::abs(expected.s1) + std::abs(expected.s2);
    ASSERT_TRUE(std::isfinite(scale));
    EXPECT_LE(std::abs(c(s1) - expected.s1), 1e-12 * scale);
    EXPECT_LE(std::abs(c(s2) - expected.s2), 1e-12 * scale);
}

TEST(NearValues, SumsAgreeWithTheSphereExportsOutsideTheSphere) {
    expectSumsFromSphereExports({1, 0}, {2, 0}, {1.5, 0}, 0.4);
    expectSumsFromSphereExports({8, 0}, {12, 0}, {1.33, 0.01}, 2.0);
}

// Inside the radius N(rho) < N: the radial functions are carried up to N.
TEST(NearValues, PointsInsideTheRadiusReadEveryOrderTheyNeed) {
    expectSumsFromSphereExports({5, 0}, {1, 0}, {1.5, 0.1}, 1.0);
    expectSumsFromSphereExports({20, 0}, {3, 0}, {1.33, 0}, 0.3);
}

// N(rho) and N beyond the 1001 orders of the stack tables.
TEST(NearValues, SeriesLongerThanTheStackTablesAreComputedInFull) {
    expectSumsFromSphereExports({1, 0}, {1500, 0}, {1.5, 0}, 0.8);
    expectSumsFromSphereExports({1000, 0}, {1010, 0}, {1.33, 0.001}, 0.05);
}

} // namespace
