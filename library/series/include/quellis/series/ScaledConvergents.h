// SPDX-License-Identifier: MIT
// The chain of the scaled convergents of the continued fraction that starts
// D_n(rho) (LogDerivative.cpp), one step at a time, for a real or complex
// number of any real type: the library runs it on doubles, the program on
// vector lanes of arguments, each lane through a double's operations in the
// same order.
#pragma once

#include "quellis/series/Cx.h"

namespace quellis {

// w a and a b, real or complex.
[[gnu::always_inline]] inline double times(double a, double b) {
    return a * b;
}
template <class Real> [[gnu::always_inline]] inline Complex<Real> times(double w, Complex<Real> a) {
    return {w * a.re, w * a.im};
}
template <class Real>
[[gnu::always_inline]] inline Complex<Real> times(Complex<Real> a, Complex<Real> b) {
    return mul(a, b);
}

// The fraction has converged once its convergents differ by less than this
// relative to their value; a fraction that cannot converge stops after so
// many terms.
inline constexpr double kFractionTolerance = 1e-17;
inline constexpr long kMaxFractionTerms = 1000000;

// The convergents A''_j, B''_j and the tail's C''_j at j and j - 1, which
// follow X''_j = w_j X''_{j-1} + rho^2 X''_{j-2}, and |rho|^(2j+1).
template <class Number, class Real, bool carryTail> struct ScaledConvergents {
    Number rhoSquared;
    Real modulusSquared;
    Number numerator;
    Number numeratorBefore;
    Number denominator;
    Number denominatorBefore;
    Number tail;
    Number tailBefore;
    Real rhoPower;

    // The step with the real weight w.
    [[gnu::always_inline]] void step(double w) {
        const Number nextNumerator = times(w, numerator) + times(rhoSquared, numeratorBefore);
        const Number nextDenominator = times(w, denominator) + times(rhoSquared, denominatorBefore);
        numeratorBefore = numerator;
        numerator = nextNumerator;
        denominatorBefore = denominator;
        denominator = nextDenominator;
        if constexpr (carryTail) {
            const Number nextTail = times(w, tail) + times(rhoSquared, tailBefore);
            tailBefore = tail;
            tail = nextTail;
        }
        rhoPower *= modulusSquared;
    }

    // Whether the chain goes on: A''_j/B''_j and A''_{j-1}/B''_{j-1} differ
    // by |rho|^(2j+1)/|B''_j B''_{j-1}|, still above the tolerance relative to
    // the value (false once converged, or for an argument that is not a
    // number). size(a) is |Re a| + |Im a|.
    template <class Size> [[gnu::always_inline]] auto goesOn(Size size) const {
        return kFractionTolerance * size(numerator) * size(denominatorBefore) < rhoPower;
    }
};

} // namespace quellis
