// SPDX-License-Identifier: MIT
// The logarithmic derivative D_n(rho) = psi_n'(rho)/psi_n(rho) by downward
// recurrence (Bohren & Huffman 1983, eq. 4.89; Wiscombe 1980, Appl. Opt.
// 19, 1505). The recurrence starts from the value of its continued fraction
// (Lentz 1976, Appl. Opt. 15, 668) at the start order, so no start error travels down into the
// orders in use, however large and weakly absorbing the sphere.
#include "quellis/series/LogDerivativeStep.h"
#include "quellis/series/RiccatiBessel.h"
#include "quellis/series/ScaledConvergents.h"
#include "quellis/series/Sphere.h"
#include "quellis/series/TermCount.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

namespace quellis {
namespace {

// Sum of the moduli of the parts, a cheap norm for the convergence tests.
double size(Cx a) {
    return std::fabs(a.re) + std::fabs(a.im);
}

// The partial denominators b_j = (-1)^j (2n+2j+1)/rho of the continued
// fraction J_{n-1/2}(rho)/J_{n+1/2}(rho) = b_0 + 1/(b_1 + 1/(b_2 + ...)).
template <class Complex> struct FractionTerms {
    Complex inverseRho;
    long n;
    Complex operator()(long j) const {
        const auto weight = 2 * static_cast<decltype(inverseRho.re)>(n + j) + 1;
        const auto signedWeight = j % 2 == 0 ? weight : -weight;
        return {signedWeight * inverseRho.re, signedWeight * inverseRho.im};
    }
};

// The same convergents scaled by powers of rho, A''_j = A_j rho^(j+1) (and
// likewise B''_j), which follow A''_j = w_j A''_{j-1} + rho^2 A''_{j-2} with
// the real weights w_j = (-1)^j (2n+2j+1): a step of the chain is a real
// times a complex number and an addition, the product with rho^2 being ready
// a step early, and no division comes before the chain. The convergents
// differ by |rho|^(2j+1) / |B''_j B''_{j-1}|, which the test compares. From
// n >= 2|rho| every |b_j| exceeds 4 and the fraction converges within about
// twenty steps, so for 2^-30 <= |rho| <= 2^16 the powers of |rho| stay in
// range; should they not, the unscaled convergents take over.
//
// A positive real rho runs the same steps in real arithmetic: its complex
// steps would add only zero imaginary parts, so the values are the same.
// D_n together with psi_{n+1}/psi_n = 1/(D_{n+1} + (n+1)/rho), the latter
// from the fraction at order n + 1 (for the rarely used forms of the
// fraction that do not carry its tail).
LogDerivativeAndRatio withRatioFromNextOrder(Cx rho, double modulus, long n, Cx d) {
    const double next = static_cast<double>(n + 1);
    return {d, reciprocal(logDerivativeAt(rho, modulus, n + 1) + div(real(next), rho))};
}

[[gnu::always_inline]] inline double inverse(double a) {
    return 1 / a;
}
[[gnu::always_inline]] inline Cx inverse(Cx a) {
    return reciprocal(a);
}
double size(double a) {
    return std::fabs(a);
}
template <class Number> Number fromReal(double a) {
    if constexpr (std::is_same_v<Number, Cx>) {
        return real(a);
    } else {
        return a;
    }
}
Cx toComplex(double a) {
    return real(a);
}
Cx toComplex(Cx a) {
    return a;
}

// D_n(rho) from its fraction summed by its convergents A_j/B_j, formed by
// the fundamental three-term recurrences of continued fractions (Wallis) A_j = b_j A_{j-1} +
// A_{j-2} (and the same for B_j): each step is a multiplication and an addition, with no division
// waiting on the one before, and only the final quotient A/B takes one.
// Consecutive convergents differ by exactly 1/|B_j B_{j-1}| (every partial
// numerator is 1), so the fraction has converged once that is below the
// tolerance relative to |A_j/B_j|, that is once tol |A_j| |B_{j-1}| reaches 1:
// the same number of terms as summing the increments. For n > |rho| every
// |b_j| exceeds 2, so the B_j grow at least geometrically; the loop ends
// before A_j or B_j can overflow, since with |rho| above 1e-100 no single
// step multiplies them by more than 1e110. 1/rho is formed once, and n/rho
// as n times 1/rho. A positive real rho runs the same steps in real
// arithmetic, as the scaled convergents below do.
template <class Number> Cx logDerivativeByConvergents(Number rho, long n) {
    const Number inverseRho = inverse(rho);
    double weight = 2 * static_cast<double>(n) + 1;
    Number numerator = times(weight, inverseRho);
    Number numeratorBefore = fromReal<Number>(1.0);
    Number denominator = fromReal<Number>(1.0);
    Number denominatorBefore = fromReal<Number>(0.0);
    // b_j = (-1)^j (2n+2j+1)/rho.
    const auto step = [&](double w) {
        const Number b = times(w, inverseRho);
        const Number nextNumerator = times(b, numerator) + numeratorBefore;
        const Number nextDenominator = times(b, denominator) + denominatorBefore;
        numeratorBefore = numerator;
        numerator = nextNumerator;
        denominatorBefore = denominator;
        denominator = nextDenominator;
    };
    // Two steps between tests: the test costs as much as a step, and one
    // step more than needed only brings the value closer.
    for (long j = 1; j < kMaxFractionTerms; j += 2) {
        weight += 2;
        step(-weight);
        weight += 2;
        step(weight);
        if (!(kFractionTolerance * size(numerator) * size(denominatorBefore) < 1)) {
            break; // converged, or the argument is not a number
        }
    }
    const double order = static_cast<double>(n);
    return toComplex(times(numerator, inverse(denominator)) - times(order, inverseRho));
}

template <bool carryTail, class Number>
[[gnu::always_inline]] inline LogDerivativeAndRatio
logDerivativeByScaledConvergents(Number rho, double modulus, long n) {
    double weight = 2 * static_cast<double>(n) + 1;
    // The numerators of the fraction's tail 1/(b_1 + 1/(b_2 + ...)) =
    // -psi_{n+1}/psi_n, scaled alike: they follow the same recurrence from
    // C''_{-1} = 1, C''_0 = 0, and share the denominators.
    ScaledConvergents<Number, double, carryTail> c{times(rho, rho),
                                                   modulus * modulus,
                                                   fromReal<Number>(weight),
                                                   fromReal<Number>(1.0),
                                                   rho,
                                                   fromReal<Number>(0.0),
                                                   fromReal<Number>(0.0),
                                                   fromReal<Number>(1.0),
                                                   modulus};
    for (long j = 1; j < kMaxFractionTerms; j += 2) {
        weight += 2;
        c.step(-weight);
        weight += 2;
        c.step(weight);
        if (!c.goesOn([](Number a) { return size(a); })) {
            break;
        }
    }
    const Number& numerator = c.numerator;
    const Number& denominator = c.denominator;
    const Number& tail = c.tail;
    if (!(c.rhoPower <= std::numeric_limits<double>::max())) {
        return withRatioFromNextOrder(toComplex(rho), modulus, n,
                                      logDerivativeByConvergents(toComplex(rho), n));
    }
    const Number inverseRho = inverse(rho);
    const Number inverseDenominator = inverse(denominator);
    const double order = static_cast<double>(n);
    const Number d = times(numerator, inverseDenominator) - times(order, inverseRho);
    if constexpr (carryTail) {
        return {toComplex(d), toComplex(times(-1.0, times(tail, inverseDenominator)))};
    }
    // psi_{n+1}/psi_n = (n+1)/rho - D_n, which for n < 4|rho| loses less
    // than two digits to the cancellation.
    return {toComplex(d), toComplex(times(order + 1, inverseRho) - d)};
}

// A complex number at extended precision, for Lentz's method.
struct WideCx {
    long double re;
    long double im;
};

WideCx operator+(WideCx a, WideCx b) {
    return {a.re + b.re, a.im + b.im};
}
WideCx operator*(WideCx a, WideCx b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

// 1/a; the extended exponent range leaves no room for overflow in |a|^2 for
// any double-sized a.
WideCx reciprocal(WideCx a) {
    const long double inverseNorm = 1 / (a.re * a.re + a.im * a.im);
    return {a.re * inverseNorm, -a.im * inverseNorm};
}

// Lentz's substitute for a vanishing partial denominator.
WideCx nonZero(WideCx a) {
    constexpr long double tiny = 1e-300L;
    return (a.re == 0 && a.im == 0) ? WideCx{tiny, 0} : a;
}

// The fraction by Lentz's method at extended precision, for orders at or
// below |rho|, where partial denominators may come close to zero and the
// value converges only after many terms.
Cx fractionByLentz(Cx rho, long n) {
    const FractionTerms<WideCx> term{reciprocal(WideCx{rho.re, rho.im}), n};
    constexpr long double tolerance = 1e-18L;
    WideCx value = nonZero(term(0));
    WideCx numerators = value;
    WideCx denominators{0, 0};
    for (long j = 1; j < kMaxFractionTerms; ++j) {
        const WideCx b = term(j);
        denominators = reciprocal(nonZero(b + denominators));
        numerators = nonZero(b + reciprocal(numerators));
        const WideCx step = numerators * denominators;
        value = value * step;
        if (!(std::fabs(step.re - 1) + std::fabs(step.im) >= tolerance)) {
            break; // converged, or the argument is not a number
        }
    }
    return {static_cast<double>(value.re), static_cast<double>(value.im)};
}

// Below this |rho| the partial denominators (2n+2j+1)/|rho| are so large
// that the convergents could overflow; Lentz's extended range takes over.
constexpr double kSmallestConvergentArgument = 1e-100;

// The form of the fraction that evaluates D_n(rho): the scaled
// convergents from n >= 2|rho|, the plain ones from n >= |rho| + 1 (either
// in real arithmetic for a positive real rho), Lentz's method below.
enum class FractionForm { scaledReal, scaled, convergentsReal, convergents, lentz };

FractionForm fractionForm(Cx rho, double modulus, long n) {
    if (static_cast<double>(n) >= modulus + 1 && modulus > kSmallestConvergentArgument) {
        const bool positiveReal = rho.im == 0 && rho.re > 0;
        if (static_cast<double>(n) >= 2 * modulus && modulus >= 0x1p-30 && modulus <= 0x1p16) {
            return positiveReal ? FractionForm::scaledReal : FractionForm::scaled;
        }
        return positiveReal ? FractionForm::convergentsReal : FractionForm::convergents;
    }
    return FractionForm::lentz;
}

} // namespace

bool fractionTakesScaledConvergents(Cx rho, double modulus, long n) {
    return fractionForm(rho, modulus, n) == FractionForm::scaled;
}

// D_n(rho) = J_{n-1/2}(rho)/J_{n+1/2}(rho) - n/rho (Lentz 1976 for the
// fraction; Wiscombe 1980 for starting the downward recurrence from it).
Cx logDerivativeAt(Cx rho, double modulus, long n) {
    switch (fractionForm(rho, modulus, n)) {
    case FractionForm::scaledReal:
        return logDerivativeByScaledConvergents<false>(rho.re, modulus, n).d;
    case FractionForm::scaled:
        return logDerivativeByScaledConvergents<false>(rho, modulus, n).d;
    case FractionForm::convergentsReal:
        return logDerivativeByConvergents(rho.re, n);
    case FractionForm::convergents:
        return logDerivativeByConvergents(rho, n);
    case FractionForm::lentz:
        break;
    }
    return fractionByLentz(rho, n) - div(real(static_cast<double>(n)), rho);
}

LogDerivativeAndRatio logDerivativeAndRatioAt(Cx rho, double modulus, long n) {
    // From n >= 4|rho| on, (n+1)/rho - D_n would cancel: the fraction's
    // tail gives the ratio instead.
    const bool carryTail = static_cast<double>(n) >= 4 * modulus;
    switch (fractionForm(rho, modulus, n)) {
    case FractionForm::scaledReal:
        return carryTail ? logDerivativeByScaledConvergents<true>(rho.re, modulus, n)
                         : logDerivativeByScaledConvergents<false>(rho.re, modulus, n);
    case FractionForm::scaled:
        return carryTail ? logDerivativeByScaledConvergents<true>(rho, modulus, n)
                         : logDerivativeByScaledConvergents<false>(rho, modulus, n);
    default:
        return withRatioFromNextOrder(rho, modulus, n, logDerivativeAt(rho, modulus, n));
    }
}

void logDerivativeUpward(Cx rho, long highest, Cx* d) {
    Cx current = div(real(1), tan(rho));
    d[0] = current;
    const LogDerivativeStep step(rho);
    for (long n = 1; n <= highest; ++n) {
        const Cx q = step.orderOverRho(n);
        current = reciprocal(q - current) - q;
        d[n] = current;
    }
}

void logDerivativeTable(Cx z, long count, Cx* d) {
    if (upwardStable(z, abs(z), count)) {
        logDerivativeUpward(z, count, d);
        return;
    }
    logDerivative(z, count, d);
}

void logDerivative(Cx rho, long nn, Cx* d) {
    logDerivative(rho, nn, nn, nn, d);
}

void logDerivative(Cx rho, long nn, long restart, long highestStored, Cx* d) {
    if (nn < 0) {
        return;
    }
    const double modulus = abs(rho);
    if (highestStored < nn && upwardSuffices(modulus, highestStored)) {
        // Every stored order lies far below |rho|: upward, or down from the
        // fraction at the highest stored order, never over the |rho| orders
        // above them.
        if (upwardStable(rho, modulus, highestStored)) {
            logDerivativeUpward(rho, highestStored, d);
        } else {
            logDerivative(rho, highestStored, highestStored, highestStored, d);
        }
        return;
    }
    Cx current = logDerivativeAt(rho, modulus, nn);
    if (nn <= highestStored) {
        d[nn] = current;
    }
    const LogDerivativeStep step(rho);
    for (long n = nn; n >= 1; --n) {
        current =
            (n - 1 == restart) ? logDerivativeAt(rho, modulus, restart) : step.down(n, current);
        if (n - 1 <= highestStored) {
            d[n - 1] = current;
        }
    }
}

} // namespace quellis
