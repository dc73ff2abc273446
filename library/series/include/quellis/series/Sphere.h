// SPDX-License-Identifier: MIT
// The homogeneous sphere's building blocks, shared by the sphere, coated
// sphere and near-field exports. The order-by-order steps of the series
// (Riccati-Bessel and angular recurrences, coefficients, sums) are in
// SphereSeries.h. Every array argument here must hold the orders the
// function writes; the callers size their OrderTables for it.
#pragma once

#include "quellis/series/Cx.h"
#include "quellis/series/OrderTable.h"
#include "quellis/series/TermCount.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quellis {

// The start order of the downward recurrence of D_n(m*x) from the term count
// N of x and the modulus of the argument rho = m*x: NN = max(N, round(|rho|)) + 15.
[[gnu::always_inline]] inline int32_t logDerivativeStart(int32_t terms, double modulus) {
    // round(|rho|) cannot exceed N where |rho| does not: no rounding then.
    const int32_t start =
        modulus <= static_cast<double>(terms) ? terms : std::max(terms, roundToInt(modulus));
    // A count beyond any table that can exist stands for "no usable count".
    return start > INT32_MAX - 15 ? 15 : start + 15;
}

// D_n(rho) = psi_n'(rho)/psi_n(rho) at the single order n, from its
// continued fraction, accurate to double precision; `modulus` is |rho|
// (abs(rho)), which the caller has formed for its start orders.
Cx logDerivativeAt(Cx rho, double modulus, long n);

// D_n(rho) and the ratio psi_{n+1}(rho)/psi_n(rho), which is minus the
// fraction's tail after its first term, at the single order n.
struct LogDerivativeAndRatio {
    Cx d;
    Cx ratio;
};
LogDerivativeAndRatio logDerivativeAndRatioAt(Cx rho, double modulus, long n);

// Whether logDerivativeAndRatioAt(rho, modulus, n) sums the scaled
// convergents of the fraction (ScaledConvergents.h) in complex arithmetic:
// n >= 2|rho| and n >= |rho| + 1, |rho| from 2^-30 to 2^16, rho not a
// positive real number.
bool fractionTakesScaledConvergents(Cx rho, double modulus, long n);

// The order at which a series of `terms` Mie coefficients starts D_n(rho)
// afresh from its continued fraction, below the start order `start` of the
// full recurrence: the lowest order of at least `terms` with n >= 2|rho|,
// where the fraction's partial denominators exceed 4 and it converges
// within a few steps, so the orders between it and `start`, which no
// coefficient reads, are skipped. `start` itself when that order is not
// below it.
[[gnu::always_inline]] inline long logDerivativeRestart(int32_t terms, double modulus, long start) {
    const double fastOrder = 2 * modulus;
    if (!(fastOrder < static_cast<double>(start))) {
        return start; // also for an argument that is not a number
    }
    if (fastOrder <= static_cast<double>(terms)) {
        return terms; // the ceiling of 2|rho| is then at most N
    }
    return std::max<long>(terms, static_cast<long>(std::ceil(fastOrder)));
}

// From this |rho| on, D_n at orders up to |rho|/2 comes upward from
// D_0 = cot rho (D_n = 1/(n/rho - D_{n-1}) - n/rho, Bohren & Huffman 1983,
// eq. 4.89 turned round): there psi_n does not decay, the upward recurrence
// keeps its digits, and a call that wants only those orders does not run
// the downward recurrence over the |rho| orders above them.
inline constexpr double kUpwardArgument = 1e5;

// Whether orders 0..highest of D_n(rho) may come upward, for |rho| = modulus.
inline bool upwardSuffices(double modulus, long highest) {
    return modulus >= kUpwardArgument && static_cast<double>(highest) <= modulus / 2;
}

// Whether that upward recurrence also keeps its digits: an error at order 0
// grows by |psi_0/psi_n|^2 up to order n, about e^{n^2 Im rho/|rho|^2} for
// n far below |rho|, which is kept below e. (Where it is not, the
// continued fraction at order `highest` converges within about 20 highest
// terms, and the downward recurrence starts there.)
inline bool upwardStable(Cx rho, double modulus, long highest) {
    const double reach = static_cast<double>(highest) / modulus;
    return upwardSuffices(modulus, highest) && reach * reach * std::fabs(rho.im) <= 1;
}

// D_n(rho) for n = 0..highest by the upward recurrence.
void logDerivativeUpward(Cx rho, long highest, Cx* d);

// D_n(rho) = psi_n'(rho)/psi_n(rho) for n = 0..nn, by downward recurrence
// from an accurate value at order nn.
void logDerivative(Cx rho, long nn, Cx* d);

// The same recurrence from order nn, taken afresh from the continued
// fraction at order `restart` (0 <= restart <= nn) so that the orders from
// there down equal those of a coefficient series, storing only orders
// 0..min(nn, highestStored) (none when highestStored < 0).
void logDerivative(Cx rho, long nn, long restart, long highestStored, Cx* d);

struct Amplitudes {
    Cx s1;
    Cx s2;
};

struct ScatteringElements {
    Cx s11;
    Cx s12;
    Cx s33;
    Cx s34;
};

// S11, S12, S33 and S34 from the two amplitudes.
ScatteringElements scatteringElements(Amplitudes s);

struct Efficiencies {
    double qsca;
    double qext;
    double qback;
};

} // namespace quellis
