// SPDX-License-Identifier: MIT
// The functions and coefficients a caller reads order by order, against the
// independent extended-precision evaluations of SeriesReference.h: every
// order written, for real and complex arguments, small spheres included.
#include "ReferenceMie.h"
#include "SeriesReference.h"
#include "quellis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace {

using series::Complex;
using series::Real;

Complex wide(TComplex a) {
    return {a.Re, a.Im};
}

Real relative(TComplex value, Complex expected) {
    return std::abs(wide(value) - expected) / std::abs(expected);
}

int32_t termCountOf(double x) {
    return static_cast<int32_t>(std::nearbyint(x + 4 * std::cbrt(x) + 2));
}

const std::vector<TComplex> kIndices{{0.4, 1.7}, {1.5, 0},      {1.5, 0.1},
                                     {0.992, 0}, {1.33, 0.001}, {3, 4}};

// psi_n, chi_n and xi_n at every order up to an N well above |z|.
TEST(EveryOrder, RiccatiBesselFunctionsOfAnyArgument) {
    const TComplex unused{1, 0};
    for (const TComplex z : std::vector<TComplex>{{0.01, 0},
                                                  {1, 0},
                                                  {10, 0},
                                                  {100, 0},
                                                  {0.2, 0.85},
                                                  {0.05, 0.01},
                                                  {2, 5},
                                                  {13.3, 0.5},
                                                  {30, 20}}) {
        const double modulus = std::hypot(z.Re, z.Im);
        const int32_t n = static_cast<int32_t>(modulus) + 30;
        std::vector<TComplex> psi(n + 1), chi(n + 1), xi(n + 1);
        CoatBessel(&z, &unused, &n, psi.data(), n, chi.data(), n, xi.data(), n);
        const series::Functions f = series::riccatiBessel(wide(z), n);
        for (int k = 0; k <= n; ++k) {
            SCOPED_TRACE(testing::Message() << "z=(" << z.Re << "," << z.Im << ") n=" << k);
            // Near a zero of psi_n (real z, n < z) only its absolute error
            // is small: the scale is the function's envelope |xi_n|.
            const Real psiScale = z.Im == 0 && k < z.Re ? std::abs(f.xi[k]) : std::abs(f.psi[k]);
            EXPECT_LE(std::abs(wide(psi[k]) - f.psi[k]), 1e-13L * psiScale);
            EXPECT_LE(std::abs(wide(chi[k]) - f.chi[k]),
                      1e-13L * std::max(std::abs(f.chi[k]), z.Im == 0 ? std::abs(f.xi[k]) : 0));
            EXPECT_LE(relative(xi[k], f.xi[k]), 1e-13L);
        }
    }
}

// Bessel gives the same functions at the sphere's own term count.
TEST(EveryOrder, BesselAgreesForRealSizes) {
    for (const double size : {0.01, 0.3, 1.0, 7.5}) {
        const TComplex x{size, 0}, m{1.5, 0};
        int32_t n = 0;
        std::vector<TComplex> psi(40), xi(40);
        Bessel(&x, &m, &n, psi.data(), 39, xi.data(), 39);
        const series::Functions f = series::riccatiBessel(size, n);
        for (int k = 0; k <= n; ++k) {
            EXPECT_LE(relative(psi[k], f.psi[k]), 1e-13L) << size << " " << k;
            EXPECT_LE(relative(xi[k], f.xi[k]), 1e-13L) << size << " " << k;
        }
    }
}

struct Sphere {
    double x;
    TComplex m;
};

// a_n and b_n of the sphere at every order n <= N, relative to the larger
// of their own modulus and `floorShare` of the largest coefficient: a
// coefficient that passes close to zero in the oscillating orders of a
// large sphere keeps only the absolute accuracy of its neighbours, whatever
// the method.
void checkSphereCoefficients(const Sphere& s, const std::vector<Complex>& a,
                             const std::vector<Complex>& b, long double tolerance,
                             long double floorShare) {
    const TComplex x{s.x, 0};
    int32_t n = 0;
    std::vector<TComplex> ca(a.size()), cb(b.size());
    const auto high = static_cast<int32_t>(a.size()) - 1;
    ScattKoef(&x, &s.m, &n, ca.data(), high, cb.data(), high);
    ASSERT_EQ(n, high);
    Real largest = 0;
    for (int k = 1; k <= n; ++k) {
        largest = std::max({largest, std::abs(a[k]), std::abs(b[k])});
    }
    const Real floor = floorShare * largest;
    for (int k = 1; k <= n; ++k) {
        EXPECT_LE(std::abs(wide(ca[k]) - a[k]), tolerance * std::max(std::abs(a[k]), floor))
            << "a_" << k;
        EXPECT_LE(std::abs(wide(cb[k]) - b[k]), tolerance * std::max(std::abs(b[k]), floor))
            << "b_" << k;
    }
}

TEST(EveryOrder, SphereCoefficientsOfSmallSpheresAgreeWithTheSeries) {
    for (const double x : {1e-6, 1e-4, 0.01, 0.05, 0.3}) {
        for (const TComplex m : kIndices) {
            SCOPED_TRACE(testing::Message() << "x=" << x << " m=(" << m.Re << "," << m.Im << ")");
            const series::Coefficients r =
                series::smallSphere(x, Complex(m.Re, m.Im), termCountOf(x));
            checkSphereCoefficients({x, m}, r.a, r.b, 1e-12L, 0);
        }
    }
}

TEST(EveryOrder, SphereCoefficientsAgreeWithTheLongDoubleSeries) {
    for (const double x : {1.0, 3.0, 10.0, 30.0, 100.0}) {
        for (const TComplex m : kIndices) {
            SCOPED_TRACE(testing::Message() << "x=" << x << " m=(" << m.Re << "," << m.Im << ")");
            const reference::Result r = reference::sphere(x, Complex(m.Re, m.Im), 0);
            checkSphereCoefficients({x, m}, r.a, r.b, 1e-12L, 1e-2L);
        }
    }
}

struct Angular {
    Real pi, tau;
};

// pi_n(cos theta) and tau_n for n = 1..last by their upward recurrences.
std::vector<Angular> angularFunctions(Real theta, int last) {
    const Real mu = std::cos(theta);
    std::vector<Angular> f(last + 1);
    Real piBefore = 0, pi = 1;
    for (int k = 1; k <= last; ++k) {
        if (k > 1) {
            const Real next = ((2 * k - 1) * mu * pi - k * piBefore) / (k - 1);
            piBefore = pi;
            pi = next;
        }
        f[k] = {pi, k * mu * pi - (k + 1) * piBefore};
    }
    return f;
}

// Efficiencies and amplitudes of small spheres from the series coefficients.
TEST(EveryOrder, SmallSphereEfficienciesAndAmplitudes) {
    for (const double x : {1e-6, 1e-5, 1e-4, 1e-3, 1e-2}) {
        for (const TComplex m : kIndices) {
            SCOPED_TRACE(testing::Message() << "x=" << x << " m=(" << m.Re << "," << m.Im << ")");
            const int32_t n = termCountOf(x);
            const series::Coefficients r = series::smallSphere(x, Complex(m.Re, m.Im), n);
            Real sca = 0, ext = 0;
            Complex back = 0, s1 = 0, s2 = 0;
            const std::vector<Angular> angular = angularFunctions(1, n);
            for (int k = 1; k <= n; ++k) {
                const Real pi = angular[k].pi, tau = angular[k].tau;
                sca += Real(2 * k + 1) * (std::norm(r.a[k]) + std::norm(r.b[k]));
                ext += Real(2 * k + 1) * (r.a[k].real() + r.b[k].real());
                back += Real(k % 2 ? -1 : 1) * Real(2 * k + 1) * (r.a[k] - r.b[k]);
                const Real weight = Real(2 * k + 1) / (k * (k + 1));
                s1 += weight * (r.a[k] * pi + r.b[k] * tau);
                s2 += weight * (r.a[k] * tau + r.b[k] * pi);
            }
            const TComplex size{x, 0};
            double qsca = 0, qext = 0, qback = 0;
            CrossSection(&size, &m, &qsca, &qext, &qback);
            EXPECT_LE(std::fabs(qsca - 2 * sca / (x * x)) / (2 * sca / (x * x)), 1e-12L);
            EXPECT_LE(std::fabs(qext - 2 * ext / (x * x)) / (2 * ext / (x * x)), 1e-12L);
            EXPECT_LE(std::fabs(qback - std::norm(back) / (x * x)) / (std::norm(back) / (x * x)),
                      1e-12L);
            TComplex t1, t2;
            AmplMatrix(&size, &m, &t1, 1.0, &t2);
            EXPECT_LE(relative(t1, s1), 1e-12L);
            EXPECT_LE(relative(t2, s2), 1e-12L);
        }
    }
}

// Below x = 1e-6 the efficiencies are the dipole limit: 8/3 x^4 |K|^2,
// 4x Im K + Qsca and 4 x^4 |K|^2 with K = (m^2-1)/(m^2+2); positive and
// finite down to sizes whose cross sections are still doubles, and
// continuous with the series at the switch.
TEST(EveryOrder, TinySpheresFollowTheRayleighLimit) {
    for (const TComplex m : kIndices) {
        const Complex mm(m.Re, m.Im);
        const Complex k = (mm * mm - Real(1)) / (mm * mm + Real(2));
        for (const double x : {9.99e-7, 1e-8, 1e-20, 1e-60}) {
            const TComplex size{x, 0};
            double qsca = 0, qext = 0, qback = 0;
            CrossSection(&size, &m, &qsca, &qext, &qback);
            const Real x4 = Real(x) * x * x * x;
            const Real sca = 8 * x4 * std::norm(k) / 3;
            EXPECT_LE(std::fabs(qsca - sca) / sca, 1e-11L) << x;
            EXPECT_LE(std::fabs(qext - (4 * x * k.imag() + sca)) / (4 * x * k.imag() + sca), 1e-11L)
                << x;
            EXPECT_LE(std::fabs(qback - 4 * x4 * std::norm(k)) / (4 * x4 * std::norm(k)), 1e-11L)
                << x;
            EXPECT_GT(qsca, 0);
        }
    }
}

// Down to sizes whose first coefficient lies near the smallest double,
// where 1/psi_1 times chi_1 overflows although a_1 does not: a_1 is the
// dipole term -(2i/3) x^3 (m^2-1)/(m^2+2) (its next term is of relative
// order x^2), and the higher terms, smaller still, are finite.
TEST(EveryOrder, TinySpheresKeepTheirDipoleCoefficient) {
    for (const TComplex m : kIndices) {
        const Complex mm(m.Re, m.Im);
        const Complex k = (mm * mm - Real(1)) / (mm * mm + Real(2));
        for (const double x : {1e-20, 1e-60, 1e-90, 1e-100}) {
            const TComplex size{x, 0};
            int32_t n = 0;
            std::vector<TComplex> a(3), b(3);
            ScattKoef(&size, &m, &n, a.data(), 2, b.data(), 2);
            const Complex dipole = Complex(0, Real(-2) / 3) * (Real(x) * x * x) * k;
            EXPECT_LE(relative(a[1], dipole), 1e-12L) << x << " " << m.Re;
            for (const TComplex higher : {b[1], a[2], b[2]}) {
                EXPECT_TRUE(std::isfinite(higher.Re) && std::isfinite(higher.Im)) << x;
                EXPECT_LE(std::abs(wide(higher)), std::abs(dipole)) << x;
            }
        }
    }
}

// Close to small and nearly index-matched spheres xi_n(rho) grows like
// rho^-n and magnifies any error of the high orders: the near-field sums
// against the same sums of the series coefficients.
TEST(EveryOrder, NearFieldCloseToSmallSpheres) {
    for (const double x : {0.05, 0.1, 0.26, 0.3}) {
        for (const TComplex m : std::vector<TComplex>{{0.992, 0}, {1.5, 0}, {1.5, 0.1}}) {
            for (const double share : {1.0, 1.3, 2.0}) {
                const double rho = x * share;
                SCOPED_TRACE(testing::Message()
                             << "x=" << x << " m=(" << m.Re << "," << m.Im << ") rho=" << rho);
                const int32_t n = termCountOf(x);
                const series::Coefficients r = series::smallSphere(x, Complex(m.Re, m.Im), n);
                const std::vector<Complex> xi = series::outgoing(rho, n);
                const std::vector<Angular> angular = angularFunctions(0.8L, n);
                Complex s1 = 0, s2 = 0;
                for (int k = 1; k <= n; ++k) {
                    const Real pi = angular[k].pi, tau = angular[k].tau;
                    const Complex derivative = xi[k - 1] - Real(k) / rho * xi[k];
                    const Real weight = Real(2 * k + 1) / (k * (k + 1));
                    s1 += weight * (derivative * r.a[k] * pi + xi[k] * r.b[k] * tau);
                    s2 += weight * (derivative * r.a[k] * tau + xi[k] * r.b[k] * pi);
                }
                const TComplex size{x, 0}, distance{rho, 0};
                TComplex t1, t2;
                NearAmplMatrix(&size, &distance, &m, 0.8, &t1, &t2);
                EXPECT_LE(relative(t1, s1), 1e-12L);
                EXPECT_LE(relative(t2, s2), 1e-12L);
            }
        }
    }
}

} // namespace
