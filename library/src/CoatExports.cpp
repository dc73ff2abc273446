// The six coated-sphere exports. Every one copies its inputs, and none writes
// past the last-element index of a caller's array; the series lengths come
// from Re Y (or from the caller's N) and tables beyond 1001 orders are sized
// from the orders needed.
#include "Coat.h"
#include "Sphere.h"
#include "TermCount.h"

#include <algorithm>

using namespace quellis;

namespace {

CoatedSphere coatedSphere(const TComplex* X, const TComplex* Y, const TComplex* M1,
                          const TComplex* M2) {
    return {fromT(*X), fromT(*Y), fromT(*M1), fromT(*M2)};
}

Efficiencies coatedEfficiencies(const CoatedSphere& sphere) {
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

} // namespace

extern "C" {

void QUELLIS_CALL CoatBessel(const TComplex* Z, const TComplex*, const int32_t* N, TComplex* Psi,
                             int32_t PsiHigh, TComplex* Chi, int32_t ChiHigh, TComplex* Xi,
                             int32_t XiHigh) {
    const Cx z = fromT(*Z);
    const long last =
        std::min<long>(std::max<int32_t>(*N, 1), std::max({PsiHigh, ChiHigh, XiHigh}));
    RiccatiBesselRecurrence rb(z);
    storeWithin(Psi, PsiHigh, 0, rb.psiPrev());
    storeWithin(Chi, ChiHigh, 0, rb.chiPrev());
    storeWithin(Xi, XiHigh, 0, rb.xiPrev());
    for (long n = 1; n <= last; ++n) {
        if (n > 1) {
            rb.advance();
        }
        storeWithin(Psi, PsiHigh, n, rb.psi());
        storeWithin(Chi, ChiHigh, n, rb.chi());
        storeWithin(Xi, XiHigh, n, rb.xi());
    }
}

void QUELLIS_CALL CoatAden(const TComplex* X, const TComplex* M, const int32_t* N, TComplex* D,
                           int32_t DHigh) {
    const Cx z = mul(fromT(*X), fromT(*M));
    const long last = std::min<long>(std::max<int32_t>(*N, 0), DHigh);
    if (last < 0) {
        return;
    }
    OrderTable d(last);
    logDerivative(z, last, d.data());
    copyOrders(d, 0, last, D, DHigh);
}

void QUELLIS_CALL CoatScattKoef(const TComplex* X, const TComplex* Y, const TComplex* M1,
                                const TComplex* M2, const int32_t* N, TComplex* A, int32_t AHigh,
                                TComplex* B, int32_t BHigh) {
    const CoatedSphere sphere = coatedSphere(X, Y, M1, M2);
    const long last = std::min<long>(*N, std::max(AHigh, BHigh));
    if (last < 1) {
        return;
    }
    CoatedSeries series(sphere, last);
    for (long n = 1; n <= last; ++n) {
        const MieCoefficient c = series.next();
        storeWithin(A, AHigh, n, c.a);
        storeWithin(B, BHigh, n, c.b);
    }
}

void QUELLIS_CALL CoatCrossSection(const TComplex* X, const TComplex* Y, const TComplex* M1,
                                   const TComplex* M2, double* Qsca, double* Qext, double* Qback) {
    const Efficiencies q = coatedEfficiencies(coatedSphere(X, Y, M1, M2));
    *Qsca = q.qsca;
    *Qext = q.qext;
    *Qback = q.qback;
}

void QUELLIS_CALL CoatAmplMatrix(const TComplex* X, const TComplex* Y, const TComplex* M1,
                                 const TComplex* M2, double Theta, TComplex* S1, TComplex* S2) {
    const Amplitudes s = coatedAmplitudes(coatedSphere(X, Y, M1, M2), Theta);
    *S1 = toT(s.s1);
    *S2 = toT(s.s2);
}

void QUELLIS_CALL CoatScatMatrix(const TComplex* X, const TComplex* Y, const TComplex* M1,
                                 const TComplex* M2, double Theta, TComplex* S11, TComplex* S12,
                                 TComplex* S33, TComplex* S34) {
    const ScatteringElements e =
        scatteringElements(coatedAmplitudes(coatedSphere(X, Y, M1, M2), Theta));
    *S11 = toT(e.s11);
    *S12 = toT(e.s12);
    *S33 = toT(e.s33);
    *S34 = toT(e.s34);
}
}
