// The homogeneous-sphere exports. Each copies its inputs, sums its series
// order by order without keeping more tables than the series needs, and never
// writes past the last-element index of a caller's array.
#include "SphereSeries.h"
#include "TermCount.h"

#include <algorithm>

using namespace quellis;

namespace {

// The highest order worth computing for arrays ending at these indexes when
// the series itself ends at `last`.
long lastOrderFor(long last, int32_t highA, int32_t highB) {
    return std::min<long>(last, std::max(highA, highB));
}

// pi_n and tau_n, real numbers.
struct AngularValues {
    double pi;
    double tau;
};

// The angular functions go into a table while the coefficients' series
// waits for the start value of D_n, so that their recurrence runs alongside
// that chain rather than before or after it.
Amplitudes sphereAmplitudes(Cx x, Cx m, double theta) {
    const int32_t terms = termCount(x.re);
    OrderArray<AngularValues> angularValues(terms);
    AngularRecurrence angular(theta);
    AmplitudeAccumulator sums;
    forEachMieCoefficient(
        x, m, terms, terms,
        [&](long n, MieCoefficient c) {
            const AngularValues& values = angularValues[static_cast<std::size_t>(n)];
            sums.add(n, c, values.pi, values.tau);
        },
        [&] {
            for (long n = 1; n <= terms; ++n) {
                if (n > 1) {
                    angular.advance();
                }
                angularValues[static_cast<std::size_t>(n)] = {angular.pi().re, angular.tau().re};
            }
        });
    return sums.sums();
}

} // namespace

extern "C" {

void QUELLIS_CALL Bessel(const TComplex* X, const TComplex* /*M*/, int32_t* N, TComplex* Psi,
                         int32_t PsiHigh, TComplex* Xi, int32_t XiHigh) {
    const Cx x = fromT(*X);
    const int32_t terms = termCount(x.re);
    *N = terms;
    const long last = lastOrderFor(std::max(terms, 1), PsiHigh, XiHigh);
    if (last < 0) {
        return;
    }
    RiccatiBesselRecurrence rb(x);
    storeWithin(Psi, PsiHigh, 0, rb.psiPrev());
    storeWithin(Xi, XiHigh, 0, rb.xiPrev());
    for (long n = 1; n <= last; ++n) {
        if (n > 1) {
            rb.advance();
        }
        storeWithin(Psi, PsiHigh, n, rb.psi());
        storeWithin(Xi, XiHigh, n, rb.xi());
    }
}

void QUELLIS_CALL Aden(const TComplex* X, const TComplex* M, int32_t* NN, TComplex* D,
                       int32_t DHigh) {
    const Cx x = fromT(*X);
    const Cx m = fromT(*M);
    const Cx rho = mul(x, m);
    const int32_t terms = termCount(x.re);
    const int32_t start = logDerivativeStart(terms, rho);
    *NN = start;
    const long last = std::min<long>(start, DHigh);
    if (last < 0) {
        return;
    }
    OrderTable d(last);
    logDerivative(rho, start, logDerivativeRestart(terms, rho, start), last, d.data());
    copyOrders(d, 0, last, D, DHigh);
}

void QUELLIS_CALL ScattKoef(const TComplex* X, const TComplex* M, int32_t* N, TComplex* A,
                            int32_t AHigh, TComplex* B, int32_t BHigh) {
    const Cx x = fromT(*X);
    const Cx m = fromT(*M);
    const int32_t terms = termCount(x.re);
    *N = terms;
    forEachMieCoefficient(x, m, terms, lastOrderFor(terms, AHigh, BHigh),
                          [&](long n, MieCoefficient c) {
                              storeWithin(A, AHigh, n, c.a);
                              storeWithin(B, BHigh, n, c.b);
                          });
}

void QUELLIS_CALL AnglFun(const TComplex* X, TComplex* Pi, int32_t PiHigh, double Theta,
                          TComplex* Tau, int32_t TauHigh) {
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
    EfficiencyAccumulator sums;
    forEachMieCoefficient(x, m, [&](long n, MieCoefficient c) { sums.add(n, c); });
    const Efficiencies q = sums.result(x);
    *Qsca = q.qsca;
    *Qext = q.qext;
    *Qback = q.qback;
}

void QUELLIS_CALL AmplMatrix(const TComplex* X, const TComplex* M, TComplex* S1, double Theta,
                             TComplex* S2) {
    const Amplitudes s = sphereAmplitudes(fromT(*X), fromT(*M), Theta);
    *S1 = toT(s.s1);
    *S2 = toT(s.s2);
}

void QUELLIS_CALL ScatMatrix(const TComplex* X, const TComplex* M, TComplex* S11, double Theta,
                             TComplex* S12, TComplex* S33, TComplex* S34) {
    const ScatteringElements e = scatteringElements(sphereAmplitudes(fromT(*X), fromT(*M), Theta));
    *S11 = toT(e.s11);
    *S12 = toT(e.s12);
    *S33 = toT(e.s33);
    *S34 = toT(e.s34);
}
}
