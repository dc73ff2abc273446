// SPDX-License-Identifier: MIT
// The Riccati-Bessel table of one argument: partners upward, D_n downward,
// psi_n from the Wronskian at each order.
#include "quellis/series/RiccatiBessel.h"
#include "quellis/series/Sphere.h"

#include <cmath>

namespace quellis {

namespace {

// f xi_{n-1} - xi_{n-2}. Where a product overflows (inf - inf in one part),
// the step is taken again scaled down by 2^600 and scaled back: each part is
// then the finite value or an infinity of its own sign, never NaN.
Cx upwardStep(Cx f, Cx current, Cx before) {
    const Cx next = mul(f, current) - before;
    if (std::isfinite(next.re) && std::isfinite(next.im)) {
        return next;
    }
    constexpr double down = 0x1p-600, up = 0x1p600;
    const Cx scaled =
        mul(f, Cx{current.re * down, current.im * down}) - Cx{before.re * down, before.im * down};
    return {scaled.re * up, scaled.im * up};
}

} // namespace

void partnerTable(Cx z, long count, Cx* partners) {
    const Divisor byZ(z);
    if (hasRealPartner(z)) {
        // Stored as -i chi_n.
        chiUpward(z.re, count, [&](long n, double chi) { partners[n] = {0.0, -chi}; });
        return;
    }
    // xi_{-1} = e^{iz}, xi_0 = -i e^{iz}, xi_n = (2n-1)/z xi_{n-1} - xi_{n-2}.
    const Cx phase = exp(Cx{-z.im, z.re});
    Cx before = Cx{phase.im, -phase.re};
    Cx current = mul(byZ.divideCount(1), before) - phase;
    partners[0] = before;
    partners[1] = current;
    for (long n = 2; n <= count; ++n) {
        const Cx next = overflowed(current)
                            ? current
                            : upwardStep(byZ.divideCount(2.0 * n - 1), current, before);
        before = current;
        current = next;
        partners[n] = current;
    }
}

void riccatiBesselTable(Cx z, long count, long start, RiccatiBesselRow* rows) {
    OrderTable partners(count);
    OrderTable d(count);
    partnerTable(z, count, partners.data());
    logDerivative(z, start, start, count, d.data());
    const bool realPartner = hasRealPartner(z);
    const Divisor byZ(z);
    const SineParts parts(z);
    const Cx sinZ = parts.sin();
    const Cx cosZ = parts.cos();
    for (long n = 0; n <= count; ++n) {
        const auto k = static_cast<std::size_t>(n);
        const Cx psi = n == 0 ? sinZ
                              : psiFromWronskian(realPartner, partners[k - 1], partners[k],
                                                 d[k] + byZ.divideCount(static_cast<double>(n)));
        Cx chi;
        Cx xi;
        if (realPartner) {
            chi = real(-partners[k].im);
            xi = {psi.re, partners[k].im};
        } else {
            // chi_n = i (xi_n - psi_n); chi_0 = cos z directly.
            const Cx difference = partners[k] - psi;
            chi = n == 0 ? cosZ : Cx{-difference.im, difference.re};
            xi = partners[k];
        }
        rows[k] = {psi, chi, xi, d[k]};
    }
}

} // namespace quellis
