// SPDX-License-Identifier: MIT
// The fourteen complex-arithmetic exports: each copies its inputs, computes
// with the library's own arithmetic and writes through its output pointers.
#include "InverseTrig.h"
#include "quellis/series/Cx.h"

#include <numbers>

using namespace quellis;

extern "C" {

void QUELLIS_CALL SprCom(const TComplex* A, TComplex* R) {
    *R = toT(conj(fromT(*A)));
}

void QUELLIS_CALL AbsCom(const TComplex* A, double* R) {
    *R = quellis::abs(fromT(*A));
}

void QUELLIS_CALL MultCom(const TComplex* A, const TComplex* B, TComplex* R) {
    *R = toT(mul(fromT(*A), fromT(*B)));
}

void QUELLIS_CALL DivCom(const TComplex* A, const TComplex* B, TComplex* R) {
    *R = toT(div(fromT(*A), fromT(*B)));
}

void QUELLIS_CALL RootCom(const TComplex* A, int32_t n, TComplex* R, int32_t RHigh) {
    const Cx a = fromT(*A);
    if (n < 0) {
        return;
    }
    const double s = a.re * a.re + a.im * a.im;
    double rho = (s != 0.0) ? std::exp(std::log(s) / 2 / n) : 0.0;
    if (!squareSumHolds(s, a)) {
        rho = std::exp(std::log(std::hypot(a.re, a.im)) / n);
    }
    double phi = phase(a) / n;
    const double step = 2 * std::numbers::pi / n;
    for (int32_t k = 0; k < n && k <= RHigh; ++k) {
        R[k] = TComplex{rho * std::cos(phi), rho * std::sin(phi)};
        phi = phi + step;
    }
}

void QUELLIS_CALL PowCom(const TComplex* A, TComplex* R, double p) {
    *R = toT(quellis::pow(fromT(*A), p));
}

void QUELLIS_CALL ExpCom(const TComplex* A, TComplex* R) {
    *R = toT(quellis::exp(fromT(*A)));
}

void QUELLIS_CALL LogCom(const TComplex* A, int32_t k, TComplex* R) {
    *R = toT(quellis::log(fromT(*A), k));
}

void QUELLIS_CALL SinCom(const TComplex* A, TComplex* R) {
    *R = toT(quellis::sin(fromT(*A)));
}

void QUELLIS_CALL CosCom(const TComplex* A, TComplex* R) {
    *R = toT(quellis::cos(fromT(*A)));
}

void QUELLIS_CALL TanCom(const TComplex* A, TComplex* R) {
    *R = toT(quellis::tan(fromT(*A)));
}

void QUELLIS_CALL ArcsinCom(const TComplex* A, TComplex* R) {
    *R = toT(arcsin(fromT(*A)));
}

void QUELLIS_CALL ArccosCom(const TComplex* A, TComplex* R) {
    *R = toT(arccos(fromT(*A)));
}

void QUELLIS_CALL ArctanCom(const TComplex* A, TComplex* R) {
    *R = toT(arctan(fromT(*A)));
}
}
