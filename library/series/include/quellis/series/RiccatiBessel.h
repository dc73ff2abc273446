// SPDX-License-Identifier: MIT
// Riccati-Bessel functions psi_n(z) = z j_n(z), chi_n(z) = -z y_n(z) and
// xi_n(z) = psi_n - i chi_n, right at every order for real and complex z.
//
// psi_n is the solution of the three-term recurrence that decays as n grows
// past |z|, so no upward recurrence keeps it (its errors grow like
// chi_n/psi_n). The partner of psi_n, which dominates upward, comes from
// the upward recurrence: chi_n for a positive real z (Bohren & Huffman
// 1983, sec. 4.4), xi_n otherwise, since for a large imaginary
// part psi_n and chi_n both grow like e^|Im z| and xi_n is their small
// difference. psi_n then follows at each order from the partner and the
// ratio r_n = psi_{n-1}/psi_n = D_n + n/z of the downward recurrence of
// D_n, through the Wronskian psi_n chi_{n-1} - psi_{n-1} chi_n = -1
// (equivalently psi_n xi_{n-1} - psi_{n-1} xi_n = i; the cross product of
// the spherical Bessel functions, Abramowitz & Stegun 1964, sec. 10.1).
// Neither factor loses digits near a zero of psi_n or when it underflows.
#pragma once

#include "quellis/series/Cx.h"

#include <cmath>

namespace quellis {

struct RiccatiBesselRow {
    Cx psi;
    Cx chi;
    Cx xi;
    Cx d; // D_n(z) = psi_n'/psi_n
};

// Whether psi_n's partner is chi_n (stored as -i chi_n) rather than xi_n.
inline bool hasRealPartner(Cx z) {
    return z.im == 0 && z.re > 0;
}

// The partner of psi_n that enters the Wronskian: -i chi_n for a positive
// real z, xi_n otherwise.
inline Cx partnerOf(Cx z, const RiccatiBesselRow& row) {
    return hasRealPartner(z) ? Cx{0.0, -row.chi.re} : row.xi;
}

// A value that has overflowed: infinite, and a number (not NaN).
inline bool overflowed(Cx a) {
    return (std::isinf(a.re) || std::isinf(a.im)) && !std::isnan(a.re) && !std::isnan(a.im);
}

// psi_n = i/(w_{n-1} - r_n w_n) for the partners w of psi_n (w = -i chi or
// w = xi) and r_n = psi_{n-1}/psi_n. Where the partner overflows, psi_n lies
// below the smallest double and is 0; where only the product r_n w_n does,
// the quotient is formed from the ratio of the partners.
inline Cx psiFromWronskian(bool realPartner, Cx partnerBefore, Cx partner, Cx ratioBack) {
    if (overflowed(partner)) {
        return real(0.0);
    }
    if (realPartner) {
        // w = -i chi of a real argument: psi_n = 1/(r_n chi_n - chi_{n-1}).
        return real(1 / (partnerBefore.im - ratioBack.re * partner.im));
    }
    const Cx w = partnerBefore - mul(ratioBack, partner);
    if (std::isfinite(w.re) && std::isfinite(w.im)) {
        return div(Cx{0.0, 1.0}, w);
    }
    // Where r_n xi_n overflows although xi_n does not (psi_n near or below
    // the smallest normal double): psi_n = (i/xi_n)/(xi_{n-1}/xi_n - r_n).
    return div(div(Cx{0.0, 1.0}, partner), div(partnerBefore, partner) - ratioBack);
}

// chi_n of a positive real x at orders 0..count (count >= 1) by upward
// recurrence in real arithmetic: chi_0 = cos x, chi_1 = chi_0/x + sin x,
// chi_n = (2n-1)/x chi_{n-1} - chi_{n-2}. Calls store(n, chi_n) and returns
// the first order whose chi_n has overflowed (count + 1 if none): from there
// on chi_n stays infinite (not inf - inf).
template <class Store> long chiUpward(double x, long count, Store&& store) {
    double before = std::cos(x);
    double current = before / x + std::sin(x);
    store(0, before);
    store(1, current);
    long n = 2;
    for (; n <= count && !std::isinf(current); ++n) {
        const double next = ((2.0 * n - 1) / x) * current - before;
        before = current;
        current = next;
        store(n, current);
    }
    const long firstOverflow = std::isinf(current) ? n - 1 : count + 1;
    for (; n <= count; ++n) {
        store(n, current);
    }
    return firstOverflow;
}

// The partner of psi_n at orders 0..count (count >= 1) by upward
// recurrence: -i chi_n for a positive real z, xi_n otherwise.
void partnerTable(Cx z, long count, Cx* partners);

// D_n(z) at orders 0..count, from the downward recurrence, or for an order
// count far below a very large |z| by the upward one (see logDerivative.cpp).
void logDerivativeTable(Cx z, long count, Cx* d);

// psi_n, chi_n, xi_n and D_n of z at orders 0..count (count >= 1), D_n
// carried down from its continued fraction at order `start` >= count (or
// upward where that suffices): a start fixed by the argument rather than by
// count gives the same values whatever count a caller's arrays allow.
void riccatiBesselTable(Cx z, long count, long start, RiccatiBesselRow* rows);

} // namespace quellis
