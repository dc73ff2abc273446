// SPDX-License-Identifier: MIT
// The shell of a coated sphere is described through ratios and logarithmic
// derivatives of its Riccati-Bessel functions, never through the functions
// themselves: in an absorbing shell psi_n and chi_n grow like e^{Im z} and
// xi_n decays like e^{-Im z}, so the functions overflow or cancel long before
// their ratios do. This header holds the order-0 values and the upward step
// of those ratios.
#pragma once

#include "quellis/series/Cx.h"

#include <cmath>

namespace quellis {

// e^{2iz} - 1, without cancellation for small |z|.
inline Cx expTwoIzMinusOne(Cx z) {
    const double a = -2 * z.im;
    const double b = 2 * z.re;
    const double halfSin = std::sin(z.re);
    return {std::expm1(a) * std::cos(b) - 2 * halfSin * halfSin, std::exp(a) * std::sin(b)};
}

// psi_0(v)/xi_0(v) divided by psi_0(w)/xi_0(w). With psi_0/xi_0 =
// (e^{2iz} - 1)/(2 e^{2iz}) the quotient is
// (e^{2iv} - 1)/(e^{2iw} - 1) * e^{2i(w - v)}, whose factors stay finite for
// Im w >= Im v >= 0 however large.
inline Cx outgoingRatioAtZero(Cx v, Cx w) {
    const Cx d = w - v;
    return mul(div(expTwoIzMinusOne(v), expTwoIzMinusOne(w)), exp(Cx{-2 * d.im, 2 * d.re}));
}

// psi_0(v)/chi_0(v) divided by psi_0(w)/chi_0(w), that is tan v / tan w.
inline Cx standingRatioAtZero(Cx v, Cx w) {
    return div(tan(v), tan(w));
}

// The logarithmic derivative D_n = f_n'/f_n of a solution f_n of the
// Riccati-Bessel recurrence that does not decay faster than psi_n as n
// grows (xi_n or chi_n), carried upward: f_n/f_{n-1} = n/z - D_{n-1} and
// D_n = f_{n-1}/f_n - n/z.
class UpwardLogDerivative {
public:
    UpwardLogDerivative(Cx z, Cx atZero) : z_(z), d_(atZero) {}

    // Moves from order n - 1 to n; returns f_n/f_{n-1}.
    Cx advance(long n) {
        const Cx nOverZ = z_.divide(real(static_cast<double>(n)));
        const Cx step = nOverZ - d_;
        d_ = div(real(1), step) - nOverZ;
        return step;
    }

    Cx value() const { return d_; }

private:
    Divisor z_;
    Cx d_;
};

// D_0 of xi_0 = -i e^{iz}: exactly i.
inline Cx outgoingLogDerivativeAtZero() {
    return Cx{0.0, 1.0};
}

// D_0 of chi_0 = cos z: -tan z.
inline Cx standingLogDerivativeAtZero(Cx z) {
    const Cx t = tan(z);
    return Cx{-t.re, -t.im};
}

} // namespace quellis
