// One step down the recurrence of the logarithmic derivative
// D_n(rho) = psi_n'(rho)/psi_n(rho): D_{n-1} = n/rho - 1/(D_n + n/rho).
#pragma once

#include "Cx.h"

namespace quellis {

class LogDerivativeStep {
public:
    explicit LogDerivativeStep(Cx rho) : byRho_(rho) {}

    // D_{n-1} from D_n. n/rho does not wait on D_n; the chain from one order
    // to the next waits on the single division of the reciprocal.
    Cx down(long n, Cx dn) const {
        const Cx q = byRho_.divideCount(static_cast<double>(n));
        return q - reciprocal(dn + q);
    }

private:
    Divisor byRho_;
};

} // namespace quellis
