// SPDX-License-Identifier: MIT
// The homogeneous-sphere exports. Each copies its inputs, sums its series
// order by order without keeping more tables than the series needs, and never
// writes past the last-element index of a caller's array.
#include "Unserved.h"
#include "quellis/series/SphereSeries.h"
#include "quellis/series/TermCount.h"

#include <algorithm>

using namespace quellis;

namespace {

// The highest order worth computing for arrays ending at these indexes when
// the series itself ends at `last`.
long lastOrderFor(long last, int32_t highA, int32_t highB) {
    return std::min<long>(last, std::max(highA, highB));
}

// The angular functions go into a table while the coefficients' series
// waits for the start value of D_n, so that their recurrence runs alongside
// that chain rather than before or after it.
Amplitudes sphereAmplitudes(Cx x, Cx m, double theta) {
    const int32_t terms = termCount(x.re);
    AngularTable angular(terms, theta);
    AmplitudeAccumulator sums;
    forEachMieCoefficient(
        x, m, terms, terms, [&](long n, MieCoefficient c) { angular.addTerm(sums, n, c); },
        [&] { angular.fill(); });
    return sums.sums();
}

// The efficiencies of a sphere so small that the series reduces to its
// electric-dipole term (Bohren & Huffman 1983, sec. 5.2, eqs. 5.8 and 5.9):
// with K = (m^2 - 1)/(m^2 + 2), Qsca = 8/3 x^4 |K|^2,
// Qext = 4x Im K + Qsca and Qback = 4 x^4 |K|^2. Their next terms are of
// relative order x^2 and (|m| x)^2.
Efficiencies rayleighEfficiencies(double x, Cx m) {
    const Cx square = mul(m, m);
    const Cx k = div(square - real(1), square + real(2));
    const double x2 = x * x;
    const double dipole = x2 * x2 * norm2(k);
    const double qsca = 8 * dipole / 3;
    return {qsca, 4 * x * k.im + qsca, 4 * dipole};
}

// Below this size, with |m x| below it too, the dipole terms are the
// efficiencies to double precision.
constexpr double kRayleighSize = 1e-6;

bool rayleighSphere(Cx x, Cx m) {
    return x.im == 0 && x.re > 0 && x.re < kRayleighSize && abs(mul(x, m)) < kRayleighSize;
}

void storeEfficiencies(const Efficiencies& q, double* qsca, double* qext, double* qback) {
    *qsca = q.qsca;
    *qext = q.qext;
    *qback = q.qback;
}

void storeScatteringElements(const ScatteringElements& e, TComplex* s11, TComplex* s12,
                             TComplex* s33, TComplex* s34) {
    *s11 = toT(e.s11);
    *s12 = toT(e.s12);
    *s33 = toT(e.s33);
    *s34 = toT(e.s34);
}

} // namespace

extern "C" {

void QUELLIS_CALL Bessel(const TComplex* X, const TComplex* /*M*/, int32_t* N, TComplex* Psi,
                         int32_t PsiHigh, TComplex* Xi, int32_t XiHigh) {
    const Cx x = fromT(*X);
    const auto unserved = [&] {
        fillNoAnswer(Psi, PsiHigh, 0);
        fillNoAnswer(Xi, XiHigh, 0);
    };
    if (beyondTables(x.re)) {
        *N = kCountBeyondRange;
        unserved();
        return;
    }
    const int32_t terms = termCount(x.re);
    *N = terms;
    const long last = lastOrderFor(std::max(terms, 1), PsiHigh, XiHigh);
    if (last < 0) {
        return;
    }
    answerOrNothing(
        [&] {
            forEachRiccatiBesselRow(x, terms, last, [&](long n, const RiccatiBesselRow& row) {
                storeWithin(Psi, PsiHigh, n, row.psi);
                storeWithin(Xi, XiHigh, n, row.xi);
            });
        },
        unserved);
}

void QUELLIS_CALL Aden(const TComplex* X, const TComplex* M, int32_t* NN, TComplex* D,
                       int32_t DHigh) {
    const Cx x = fromT(*X);
    const Cx m = fromT(*M);
    const Cx rho = mul(x, m);
    const auto unserved = [&] { fillNoAnswer(D, DHigh, 0); };
    const double modulus = abs(rho);
    if (beyondTables(x.re) || beyondTables(modulus)) {
        *NN = kCountBeyondRange;
        unserved();
        return;
    }
    const int32_t terms = termCount(x.re);
    const int32_t start = logDerivativeStart(terms, modulus);
    *NN = start;
    const long last = std::min<long>(start, DHigh);
    if (last < 0) {
        return;
    }
    answerOrNothing(
        [&] {
            OrderTable d(last);
            logDerivative(rho, start, logDerivativeRestart(terms, modulus, start), last, d.data());
            copyOrders(d, 0, last, D, DHigh);
        },
        unserved);
}

void QUELLIS_CALL ScattKoef(const TComplex* X, const TComplex* M, int32_t* N, TComplex* A,
                            int32_t AHigh, TComplex* B, int32_t BHigh) {
    const Cx x = fromT(*X);
    const Cx m = fromT(*M);
    const auto unserved = [&] {
        fillNoAnswer(A, AHigh, 1);
        fillNoAnswer(B, BHigh, 1);
    };
    if (beyondTables(x.re)) {
        *N = kCountBeyondRange;
        unserved();
        return;
    }
    const int32_t terms = termCount(x.re);
    *N = terms;
    answerOrNothing(
        [&] {
            forEachMieCoefficient(x, m, terms, lastOrderFor(terms, AHigh, BHigh),
                                  [&](long n, MieCoefficient c) {
                                      storeWithin(A, AHigh, n, c.a);
                                      storeWithin(B, BHigh, n, c.b);
                                  });
        },
        unserved);
}

void QUELLIS_CALL AnglFun(const TComplex* X, TComplex* Pi, int32_t PiHigh, double Theta,
                          TComplex* Tau, int32_t TauHigh) {
    if (beyondTables(X->Re)) {
        fillNoAnswer(Pi, PiHigh, 0);
        fillNoAnswer(Tau, TauHigh, 1);
        return;
    }
    const long last = lastOrderFor(std::max(termCount(X->Re), 1), PiHigh, TauHigh);
    if (last < 0) {
        return;
    }
    AngularRecurrence angular(Theta);
    storeWithin(Pi, PiHigh, 0, angular.piPrev());
    for (long n = 1; n <= last; ++n) {
        if (n > 1) {
            angular.advance();
        }
        storeWithin(Pi, PiHigh, n, angular.pi());
        storeWithin(Tau, TauHigh, n, angular.tau());
    }
}

void QUELLIS_CALL CrossSection(const TComplex* X, const TComplex* M, double* Qsca, double* Qext,
                               double* Qback) {
    const Cx x = fromT(*X);
    const Cx m = fromT(*M);
    const Efficiencies unserved{kNoAnswer, kNoAnswer, kNoAnswer};
    if (noParticle(x)) {
        storeEfficiencies(unserved, Qsca, Qext, Qback);
        return;
    }
    if (rayleighSphere(x, m)) {
        storeEfficiencies(rayleighEfficiencies(x.re, m), Qsca, Qext, Qback);
        return;
    }
    answerOrNothing(
        [&] {
            EfficiencyAccumulator sums;
            forEachMieCoefficient(x, m, [&](long n, MieCoefficient c) { sums.add(n, c); });
            storeEfficiencies(sums.result(x), Qsca, Qext, Qback);
        },
        [&] { storeEfficiencies(unserved, Qsca, Qext, Qback); });
}

void QUELLIS_CALL AmplMatrix(const TComplex* X, const TComplex* M, TComplex* S1, double Theta,
                             TComplex* S2) {
    const Cx x = fromT(*X);
    const Cx m = fromT(*M);
    Amplitudes s{noAnswer(), noAnswer()};
    if (!noParticle(x)) {
        answerOrNothing([&] { s = sphereAmplitudes(x, m, Theta); },
                        [&] {
                            s = {noAnswer(), noAnswer()};
                        });
    }
    *S1 = toT(s.s1);
    *S2 = toT(s.s2);
}

void QUELLIS_CALL ScatMatrix(const TComplex* X, const TComplex* M, TComplex* S11, double Theta,
                             TComplex* S12, TComplex* S33, TComplex* S34) {
    const Cx x = fromT(*X);
    const Cx m = fromT(*M);
    ScatteringElements e{noAnswer(), noAnswer(), noAnswer(), noAnswer()};
    if (!noParticle(x)) {
        answerOrNothing([&] { e = scatteringElements(sphereAmplitudes(x, m, Theta)); },
                        [&] {
                            e = {noAnswer(), noAnswer(), noAnswer(), noAnswer()};
                        });
    }
    storeScatteringElements(e, S11, S12, S33, S34);
}
}
