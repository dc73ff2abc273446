// SPDX-License-Identifier: MIT
// The coated sphere: a core of size x and index m1 inside a concentric shell
// of outer size y and index m2. Its Mie coefficients come order by order from
// CoatedSeries; the exports sum them exactly as for the homogeneous sphere,
// with y in the place of x.
#pragma once

#include "CoatShell.h"
#include "quellis/series/Cx.h"
#include "quellis/series/OrderTable.h"
#include "quellis/series/RiccatiBessel.h"
#include "quellis/series/SphereSeries.h"

namespace quellis {

struct CoatedSphere {
    Cx x;  // core size parameter
    Cx y;  // outer size parameter
    Cx m1; // core index relative to the medium
    Cx m2; // shell index relative to the medium
};

// a_n and b_n of a coated sphere for n = 1, 2, ... count, one order per
// call of next().
//
// The shell's field is psi_n(m2 r) plus a multiple of a second solution set
// by the core. The switch of the classical algorithm (Toon & Ackerman 1981,
// Appl. Opt. 20, 3657), which drops the core
// once that multiple (taken with chi_n) is negligible at the outer surface,
// is kept with its thresholds; everything else is formed with xi_n as the
// second solution and with ratios of the functions only (Yang 2003, Appl. Opt. 42, 1710: the
// recursive form), which stays finite and accurate for absorbing cores and shells.
class CoatedSeries {
public:
    CoatedSeries(const CoatedSphere& sphere, long count);
    CoatedSeries(const CoatedSeries&) = delete;
    CoatedSeries& operator=(const CoatedSeries&) = delete;

    // The coefficients of the next order, starting at n = 1.
    MieCoefficient next();

private:
    // Dbar and Gbar, the shell's logarithmic derivatives at the outer surface
    // for a_n and b_n, while the core still counts.
    struct ShellDerivatives {
        Cx forA;
        Cx forB;
        // f_{n+1}/f_n of the same two fields, from which a_n and b_n are
        // formed without cancelling the n/y of their derivatives.
        Cx ratioA;
        Cx ratioB;
    };
    ShellDerivatives shellDerivatives(long n, Cx du, Cx dv, Cx dw);
    // Dbar, Gbar and the two ratios from the core's shares of the shell
    // field, taken with a second solution of log derivative secondD at w.
    ShellDerivatives shellFields(long n, Cx dw, Cx shareA, Cx shareB, Cx secondD) const;
    // psi_{n+1}(z)/psi_n(z) = 1/(D_{n+1}(z) + (n+1)/z) from a table of D.
    static Cx psiRatio(const OrderTable& d, const Divisor& byZ, long n);

    Cx v_;        // m2 x
    Cx w_;        // m2 y
    Divisor byU_; // m1 x
    Divisor byV_;
    Divisor byW_;
    Cx indexRatio_; // m2 / m1
    OrderTable du_; // D_n(m1 x)
    OrderTable dv_; // D_n(m2 x)
    OrderTable dw_; // D_n(m2 y)
    UpwardLogDerivative outgoingV_;
    UpwardLogDerivative outgoingW_;
    UpwardLogDerivative standingV_;
    UpwardLogDerivative standingW_;
    Cx outgoingRatio_; // [psi_n(v)/xi_n(v)] / [psi_n(w)/xi_n(w)]
    Cx standingRatio_; // [psi_n(v)/chi_n(v)] / [psi_n(w)/chi_n(w)]
    bool coreNegligible_ = false;
    // Real indices and sizes: the shell's fields are formed with chi_n as the
    // second solution, in real numbers, so that Re a_n = |a_n|^2 holds to
    // rounding (a non-absorbing particle scatters all it removes).
    bool real_ = false;
    Cx y_;
    OrderArray<RiccatiBesselRow> outer_; // psi_n, chi_n, xi_n, D_n of y
    MieCoefficients outerCoefficients_;
    long order_ = 0;
};

} // namespace quellis
