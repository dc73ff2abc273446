// SPDX-License-Identifier: MIT
// The six coated-sphere exports. Every one copies its inputs, and none writes
// past the last-element index of a caller's array; the series lengths come
// from Re Y (or from the caller's N) and tables beyond 1001 orders are sized
// from the orders needed.
#include "Coat.h"
#include "Unserved.h"
#include "quellis/series/Sphere.h"
#include "quellis/series/TermCount.h"

#include <algorithm>
#include <cmath>

using namespace quellis;

namespace {

CoatedSphere coatedSphere(const TComplex* X, const TComplex* Y, const TComplex* M1,
                          const TComplex* M2) {
    return {fromT(*X), fromT(*Y), fromT(*M1), fromT(*M2)};
}

// Below this outer size (with the particle's |m1 x| and |m2 y| below it
// too) the efficiencies are those of the coated sphere's dipole to double
// precision (the next terms are of relative order y^2), where the series'
// functions would leave the double range for much smaller sizes.
constexpr double kDipoleSize = 1e-8;

bool dipoleParticle(const CoatedSphere& sphere) {
    return sphere.y.im == 0 && sphere.x.im == 0 && sphere.y.re < kDipoleSize &&
           abs(mul(sphere.y, sphere.m2)) < kDipoleSize &&
           abs(mul(sphere.x, sphere.m1)) < kDipoleSize;
}

// The dipole of a coated sphere (Bohren & Huffman 1983, eq. 5.36): with
// e1 = m1^2, e2 = m2^2 and the core's volume fraction f = (x/y)^3,
// K = [(e2 - 1)(e1 + 2 e2) + f (e1 - e2)(1 + 2 e2)] /
//     [(e2 + 2)(e1 + 2 e2) + f (2 e2 - 2)(e1 - e2)].
Cx dipoleFactor(const CoatedSphere& sphere) {
    const Cx e1 = mul(sphere.m1, sphere.m1);
    const Cx e2 = mul(sphere.m2, sphere.m2);
    const double ratio = sphere.x.re / sphere.y.re;
    const Cx f = real(ratio * ratio * ratio);
    const Cx core = e1 + mul(real(2), e2);
    const Cx contrast = e1 - e2;
    return div(mul(e2 - real(1), core) + mul(f, mul(contrast, real(1) + mul(real(2), e2))),
               mul(e2 + real(2), core) + mul(f, mul(mul(real(2), e2) - real(2), contrast)));
}

// Qsca = 8/3 y^4 |K|^2, Qext = 4 y Im K + Qsca, Qback = 4 y^4 |K|^2.
Efficiencies dipoleEfficiencies(const CoatedSphere& sphere) {
    const Cx k = dipoleFactor(sphere);
    const double y = sphere.y.re;
    const double yk = y * y * abs(k);
    const double dipole = yk * yk;
    const double qsca = 8 * dipole / 3;
    return {qsca, 4 * y * k.im + qsca, 4 * dipole};
}

// S1 = 3/2 a_1 and S2 = 3/2 a_1 cos(theta) with the dipole's
// a_1 = -i alpha/(1 - i alpha), alpha = 2/3 y^3 K, whose real part carries
// the scattering (Re a_1 = |a_1|^2 for a real K).
Amplitudes dipoleAmplitudes(const CoatedSphere& sphere, double theta) {
    const double y = sphere.y.re;
    const Cx alpha = mul(real(2 * y * y * y / 3), dipoleFactor(sphere));
    const Cx minusIAlpha{alpha.im, -alpha.re};
    const Cx a1 = div(minusIAlpha, real(1) + minusIAlpha);
    const Cx s1 = mul(real(1.5), a1);
    return {s1, mul(real(std::cos(theta)), s1)};
}

Efficiencies coatedEfficiencies(const CoatedSphere& sphere) {
    if (dipoleParticle(sphere)) {
        return dipoleEfficiencies(sphere);
    }
    const long count = termCount(sphere.y.re);
    EfficiencyAccumulator sums;
    if (count >= 1) {
        CoatedSeries series(sphere, count);
        for (long n = 1; n <= count; ++n) {
            sums.add(n, series.next());
        }
    }
    return sums.result(sphere.y);
}

Amplitudes coatedAmplitudes(const CoatedSphere& sphere, double theta) {
    if (dipoleParticle(sphere)) {
        return dipoleAmplitudes(sphere, theta);
    }
    const long count = termCount(sphere.y.re);
    AmplitudeAccumulator sums;
    if (count >= 1) {
        CoatedSeries series(sphere, count);
        AngularRecurrence angular(theta);
        for (long n = 1; n <= count; ++n) {
            if (n > 1) {
                angular.advance();
            }
            sums.add(n, series.next(), angular.pi().re, angular.tau().re);
        }
    }
    return sums.sums();
}

// The series length CoatBessel carries D_n down for: the caller's N, or
// where N lies far above the argument, 100 orders above 2|z| (there the
// continued fraction is exact to rounding), so that a short array does not
// pay for orders it cannot receive.
int32_t besselTerms(Cx z, int32_t n, long count) {
    const double quick = std::ceil(2 * abs(z)) + 100;
    if (quick < static_cast<double>(n)) {
        return static_cast<int32_t>(std::max(static_cast<long>(quick), count));
    }
    return n;
}

// A coated sphere without an answer (NaN outputs): an outer or core size
// without one. A core of size 0 is none: the particle is the homogeneous
// sphere of the shell's index.
bool coatBeyondTables(const CoatedSphere& sphere) {
    return noParticle(sphere.y) || noParticle(sphere.x);
}

void storeEfficiencies(const Efficiencies& q, double* qsca, double* qext, double* qback) {
    *qsca = q.qsca;
    *qext = q.qext;
    *qback = q.qback;
}

Amplitudes coatedAmplitudesOrNothing(const CoatedSphere& sphere, double theta) {
    Amplitudes s{noAnswer(), noAnswer()};
    if (!coatBeyondTables(sphere)) {
        answerOrNothing([&] { s = coatedAmplitudes(sphere, theta); },
                        [&] {
                            s = {noAnswer(), noAnswer()};
                        });
    }
    return s;
}

} // namespace

extern "C" {

void QUELLIS_CALL CoatBessel(const TComplex* Z, const TComplex*, const int32_t* N, TComplex* Psi,
                             int32_t PsiHigh, TComplex* Chi, int32_t ChiHigh, TComplex* Xi,
                             int32_t XiHigh) {
    const Cx z = fromT(*Z);
    const long last =
        std::min<long>(std::max<int32_t>(*N, 1), std::max({PsiHigh, ChiHigh, XiHigh}));
    if (last < 0) {
        return;
    }
    const auto unserved = [&] {
        fillNoAnswer(Psi, std::min<long>(PsiHigh, last), 0);
        fillNoAnswer(Chi, std::min<long>(ChiHigh, last), 0);
        fillNoAnswer(Xi, std::min<long>(XiHigh, last), 0);
    };
    // An argument that is not a finite number has no functions, whatever N.
    if (!std::isfinite(z.re) || !std::isfinite(z.im)) {
        unserved();
        return;
    }
    answerOrNothing(
        [&] {
            const int32_t terms = besselTerms(z, std::max<int32_t>(*N, 1), last);
            forEachRiccatiBesselRow(z, terms, last, [&](long n, const RiccatiBesselRow& row) {
                storeWithin(Psi, PsiHigh, n, row.psi);
                storeWithin(Chi, ChiHigh, n, row.chi);
                storeWithin(Xi, XiHigh, n, row.xi);
            });
        },
        unserved);
}

void QUELLIS_CALL CoatAden(const TComplex* X, const TComplex* M, const int32_t* N, TComplex* D,
                           int32_t DHigh) {
    const Cx z = mul(fromT(*X), fromT(*M));
    const long last = std::min<long>(std::max<int32_t>(*N, 0), DHigh);
    if (last < 0) {
        return;
    }
    answerOrNothing(
        [&] {
            OrderTable d(last);
            logDerivativeTable(z, last, d.data());
            copyOrders(d, 0, last, D, DHigh);
        },
        [&] { fillNoAnswer(D, static_cast<int32_t>(last), 0); });
}

void QUELLIS_CALL CoatScattKoef(const TComplex* X, const TComplex* Y, const TComplex* M1,
                                const TComplex* M2, const int32_t* N, TComplex* A, int32_t AHigh,
                                TComplex* B, int32_t BHigh) {
    const CoatedSphere sphere = coatedSphere(X, Y, M1, M2);
    const long last = std::min<long>(*N, std::max(AHigh, BHigh));
    if (last < 1) {
        return;
    }
    const auto unserved = [&] {
        fillNoAnswer(A, std::min<long>(AHigh, last), 1);
        fillNoAnswer(B, std::min<long>(BHigh, last), 1);
    };
    if (coatBeyondTables(sphere)) {
        unserved();
        return;
    }
    answerOrNothing(
        [&] {
            CoatedSeries series(sphere, last);
            for (long n = 1; n <= last; ++n) {
                const MieCoefficient c = series.next();
                storeWithin(A, AHigh, n, c.a);
                storeWithin(B, BHigh, n, c.b);
            }
        },
        unserved);
}

void QUELLIS_CALL CoatCrossSection(const TComplex* X, const TComplex* Y, const TComplex* M1,
                                   const TComplex* M2, double* Qsca, double* Qext, double* Qback) {
    const CoatedSphere sphere = coatedSphere(X, Y, M1, M2);
    const Efficiencies unserved{kNoAnswer, kNoAnswer, kNoAnswer};
    if (coatBeyondTables(sphere)) {
        storeEfficiencies(unserved, Qsca, Qext, Qback);
        return;
    }
    answerOrNothing([&] { storeEfficiencies(coatedEfficiencies(sphere), Qsca, Qext, Qback); },
                    [&] { storeEfficiencies(unserved, Qsca, Qext, Qback); });
}

void QUELLIS_CALL CoatAmplMatrix(const TComplex* X, const TComplex* Y, const TComplex* M1,
                                 const TComplex* M2, double Theta, TComplex* S1, TComplex* S2) {
    const Amplitudes s = coatedAmplitudesOrNothing(coatedSphere(X, Y, M1, M2), Theta);
    *S1 = toT(s.s1);
    *S2 = toT(s.s2);
}

void QUELLIS_CALL CoatScatMatrix(const TComplex* X, const TComplex* Y, const TComplex* M1,
                                 const TComplex* M2, double Theta, TComplex* S11, TComplex* S12,
                                 TComplex* S33, TComplex* S34) {
    const ScatteringElements e =
        scatteringElements(coatedAmplitudesOrNothing(coatedSphere(X, Y, M1, M2), Theta));
    *S11 = toT(e.s11);
    *S12 = toT(e.s12);
    *S33 = toT(e.s33);
    *S34 = toT(e.s34);
}
}
