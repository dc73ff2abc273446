// SPDX-License-Identifier: MIT
// The sphere's sums equal, bit for bit, what a caller gets by combining the
// lower exports with the complex-arithmetic exports in the order the
// formulas state: the library sums its series directly, but each value
// rounds as if every step went through the exports. The coefficients
// themselves agree with the textbook combination of Bessel and Aden to
// rounding.
#include "quellis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TComplex add(TComplex a, TComplex b) {
    return {a.Re + b.Re, a.Im + b.Im};
}
TComplex sub(TComplex a, TComplex b) {
    return {a.Re - b.Re, a.Im - b.Im};
}
TComplex mul(TComplex a, TComplex b) {
    TComplex r;
    MultCom(&a, &b, &r);
    return r;
}
TComplex div(TComplex a, TComplex b) {
    TComplex r;
    DivCom(&a, &b, &r);
    return r;
}
TComplex real(double v) {
    return {v, 0};
}

void expectSame(TComplex a, TComplex b) {
    EXPECT_EQ(a.Re, b.Re);
    EXPECT_EQ(a.Im, b.Im);
}

struct Sphere {
    TComplex x, m;
};

const Sphere kSpheres[] = {{{1, 0}, {1.5, 0}},
                           {{3, 0}, {0.4, 1.7}},
                           {{30, 0}, {1.5, 0.01}},
                           {{7, 0.5}, {0.05, 3}},
                           {{120, 0}, {1.33, 1e-5}}};

// chi_n (the imaginary part of xi_n for a real size) and the angular
// functions follow their upward recurrences, which they dominate, through
// the exports bit for bit. psi_n does not: it decays upward, and comes from
// the Wronskian (see RiccatiBesselTest.cpp).
TEST(Layering, RecurrencesStepThroughTheComplexExports) {
    for (const Sphere& s : kSpheres) {
        int32_t n = 0;
        std::vector<TComplex> psi(200), xi(200), pi(200), tau(200);
        Bessel(&s.x, &s.m, &n, psi.data(), 199, xi.data(), 199);
        const double theta = 0.7;
        AnglFun(&s.x, pi.data(), 199, theta, tau.data(), 199);
        TComplex chiPrev, chi;
        CosCom(&s.x, &chiPrev);
        SinCom(&s.x, &chi);
        chi = add(mul(div(real(1), s.x), chiPrev), chi);
        const double mu = std::cos(theta);
        for (int k = 2; k <= n; ++k) {
            const TComplex f = div(real(2.0 * k - 1), s.x);
            const TComplex chiNext = sub(mul(f, chi), chiPrev);
            chiPrev = chi;
            chi = chiNext;
            if (s.x.Im == 0) {
                EXPECT_EQ(xi[k].Im, -chi.Re);
            }
            expectSame(pi[k], sub(mul(real((2.0 * k - 1) * mu / (k - 1)), pi[k - 1]),
                                  mul(real(static_cast<double>(k) / (k - 1)), pi[k - 2])));
            expectSame(tau[k], sub(mul(real(k * mu), pi[k]), mul(real(k + 1.0), pi[k - 1])));
        }
    }
}

double relativeDistance(TComplex a, TComplex b) {
    return std::hypot(a.Re - b.Re, a.Im - b.Im) / std::hypot(b.Re, b.Im);
}

// With psi_n right at every order, the textbook combination of Bessel and
// Aden gives ScattKoef's coefficients to rounding (these sizes are large
// enough that its numerators do not cancel).
TEST(Layering, ScattKoefAgreesWithBesselAndAden) {
    for (const Sphere& s : kSpheres) {
        int32_t n = 0, nn = 0, count = 0;
        std::vector<TComplex> psi(200), xi(200), d(400), a(200), b(200);
        Bessel(&s.x, &s.m, &n, psi.data(), 199, xi.data(), 199);
        Aden(&s.x, &s.m, &nn, d.data(), 399);
        ScattKoef(&s.x, &s.m, &count, a.data(), 199, b.data(), 199);
        ASSERT_EQ(count, n);
        for (int k = 1; k <= n; ++k) {
            const TComplex nOverX = div(real(k), s.x);
            const TComplex g = add(div(d[k], s.m), nOverX);
            const TComplex h = add(mul(d[k], s.m), nOverX);
            const TComplex ak = div(sub(mul(g, psi[k]), psi[k - 1]), sub(mul(g, xi[k]), xi[k - 1]));
            const TComplex bk = div(sub(mul(h, psi[k]), psi[k - 1]), sub(mul(h, xi[k]), xi[k - 1]));
            EXPECT_LT(relativeDistance(a[k], ak), 1e-11) << s.x.Re << " " << k;
            EXPECT_LT(relativeDistance(b[k], bk), 1e-11) << s.x.Re << " " << k;
        }
    }
}

TEST(Layering, AmplitudesAndMatrixCombineCoefficientsAndAngularFunctions) {
    for (const Sphere& s : kSpheres) {
        for (const double theta : {0.0, 1.0, 2.0933333333333333}) {
            int32_t n = 0;
            std::vector<TComplex> a(200), b(200), pi(200), tau(200);
            ScattKoef(&s.x, &s.m, &n, a.data(), 199, b.data(), 199);
            AnglFun(&s.x, pi.data(), 199, theta, tau.data(), 199);
            TComplex s1{0, 0}, s2{0, 0};
            for (int k = 1; k <= n; ++k) {
                const TComplex c = real((2.0 * k + 1) / (k * (k + 1)));
                s1 = add(s1, mul(c, add(mul(a[k], pi[k]), mul(b[k], tau[k]))));
                s2 = add(s2, mul(c, add(mul(a[k], tau[k]), mul(b[k], pi[k]))));
            }
            TComplex t1, t2;
            AmplMatrix(&s.x, &s.m, &t1, theta, &t2);
            expectSame(t1, s1);
            expectSame(t2, s2);

            TComplex s11, s12, s33, s34, c1, c2;
            ScatMatrix(&s.x, &s.m, &s11, theta, &s12, &s33, &s34);
            SprCom(&s1, &c1);
            SprCom(&s2, &c2);
            const TComplex p = mul(c2, s1), q = mul(s2, c1);
            EXPECT_EQ(s11.Re,
                      (s1.Re * s1.Re + s1.Im * s1.Im + s2.Re * s2.Re + s2.Im * s2.Im) * 0.5);
            EXPECT_EQ(s12.Re,
                      ((s2.Re * s2.Re + s2.Im * s2.Im) - (s1.Re * s1.Re + s1.Im * s1.Im)) * 0.5);
            expectSame(s33, {(p.Re + q.Re) * 0.5, (p.Im + q.Im) * 0.5});
            expectSame(s34, mul({0, 0.5}, sub(p, q)));
        }
    }
}

TEST(Layering, EfficienciesSumTheCoefficients) {
    for (const Sphere& s : kSpheres) {
        int32_t n = 0;
        std::vector<TComplex> a(200), b(200);
        ScattKoef(&s.x, &s.m, &n, a.data(), 199, b.data(), 199);
        double sca = 0, ext = 0;
        TComplex back{0, 0};
        for (int k = 1; k <= n; ++k) {
            const double w = 2.0 * k + 1;
            sca +=
                w * (a[k].Re * a[k].Re + a[k].Im * a[k].Im + b[k].Re * b[k].Re + b[k].Im * b[k].Im);
            ext += w * (a[k].Re + b[k].Re);
            const double sw = (k % 2 == 0 ? 1.0 : -1.0) * w;
            back = add(back, {sw * (a[k].Re - b[k].Re), sw * (a[k].Im - b[k].Im)});
        }
        const double f = 2 / (s.x.Re * s.x.Re + s.x.Im * s.x.Im);
        double qsca, qext, qback;
        CrossSection(&s.x, &s.m, &qsca, &qext, &qback);
        EXPECT_EQ(qsca, f * sca);
        EXPECT_EQ(qext, f * ext);
        EXPECT_EQ(qback, f * (back.Re * back.Re + back.Im * back.Im) / 2);
    }
}

} // namespace
