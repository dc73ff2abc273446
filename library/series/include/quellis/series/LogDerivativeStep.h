// SPDX-License-Identifier: MIT
// One step down the recurrence of the logarithmic derivative
// D_n(rho) = psi_n'(rho)/psi_n(rho): D_{n-1} = n/rho - 1/(D_n + n/rho)
// (Bohren & Huffman 1983, eq. 4.89). The quotient 1/(D_n + n/rho) it forms
// on the way is psi_n/psi_{n-1}, the ratio of consecutive functions.
#pragma once

#include "quellis/series/Cx.h"

namespace quellis {

// k/rho as k times 1/rho.
template <class Real>
[[gnu::always_inline]] inline Complex<Real> orderTimes(double k, Complex<Real> inverseRho) {
    return {k * inverseRho.re, k * inverseRho.im};
}

class LogDerivativeStep {
public:
    explicit LogDerivativeStep(Cx rho) : LogDerivativeStep(rho, rho.im != 0) {}

    // With multiplyInverse, n/rho is n times 1/rho for a real rho too (one
    // rounding more, no division), wherever |rho|^2 is safe to form. Smith's
    // divisor of rho serves only the steps that divide, so it is prepared
    // only for them (a divisor of 1 stands in otherwise, costing nothing).
    LogDerivativeStep(Cx rho, bool multiplyInverse)
        : inverseRho_(reciprocal(rho)),
          scaleInverse_(multiplyInverse && normInSafeRange(norm2(rho))),
          byRho_(scaleInverse_ ? Divisor(real(1.0)) : Divisor(rho)) {}

    // D_{n-1} from D_n. A real rho divides n by it exactly; a complex one
    // multiplies n into 1/rho, so that a step costs one division in all.
    Cx down(long n, Cx dn) const {
        const Cx q = orderOverRho(n);
        return q - reciprocal(dn + q);
    }

    // n/rho.
    Cx orderOverRho(long n) const {
        const double k = static_cast<double>(n);
        return scaleInverse_ ? orderTimes(k, inverseRho_) : byRho_.divideCount(k);
    }

    // Whether n/rho is n times 1/rho, and 1/rho.
    bool multipliesInverse() const { return scaleInverse_; }
    Cx inverseRho() const { return inverseRho_; }

private:
    Cx inverseRho_;
    bool scaleInverse_;
    Divisor byRho_;
};

} // namespace quellis
