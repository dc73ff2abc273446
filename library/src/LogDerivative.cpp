// The logarithmic derivative D_n(rho) = psi_n'(rho)/psi_n(rho) by downward
// recurrence. The recurrence starts from the value of its continued fraction
// at the start order, evaluated with Lentz's method at extended precision, so
// no start error travels down into the orders in use, however large and
// weakly absorbing the sphere.
#include "Sphere.h"
#include "TermCount.h"

#include <algorithm>
#include <cmath>

namespace quellis {
namespace {

// A complex number at extended precision, for the continued fraction only.
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
WideCx scaled(long double s, WideCx a) {
    return {s * a.re, s * a.im};
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

// Past the start order the terms grow and the fraction converges within a
// few dozen steps; the bound only stops a fraction that cannot converge.
constexpr long kMaxFractionTerms = 1000000;

// D_n(rho) = J_{n-1/2}(rho)/J_{n+1/2}(rho) - n/rho, the ratio written as the
// continued fraction b_0 + 1/(b_1 + 1/(b_2 + ...)), b_j = (-1)^j (2n+2j+1)/rho.
Cx logDerivativeAt(Cx rho, long n) {
    const WideCx inverseRho =
        reciprocal(WideCx{static_cast<long double>(rho.re), static_cast<long double>(rho.im)});
    const auto term = [&](long j) {
        const long double weight = 2.0L * static_cast<long double>(n + j) + 1;
        return scaled(j % 2 == 0 ? weight : -weight, inverseRho);
    };
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
        const long double change = std::fabs(step.re - 1) + std::fabs(step.im);
        if (!(change >= tolerance)) {
            break; // converged, or the argument is not a number
        }
    }
    const Cx ratio{static_cast<double>(value.re), static_cast<double>(value.im)};
    return ratio - div(real(static_cast<double>(n)), rho);
}

} // namespace

int32_t logDerivativeStart(Cx x, Cx m) {
    const int32_t terms = termCount(x.re);
    const int32_t modulus = roundToInt(abs(mul(x, m)));
    const int32_t start = std::max(terms, modulus);
    // A count beyond any table that can exist stands for "no usable count".
    return start > INT32_MAX - 15 ? 15 : start + 15;
}

void logDerivative(Cx rho, long nn, Cx* d) {
    logDerivative(rho, nn, nn, d);
}

void logDerivative(Cx rho, long nn, long highestStored, Cx* d) {
    if (nn < 0) {
        return;
    }
    Cx current = logDerivativeAt(rho, nn);
    if (nn <= highestStored) {
        d[nn] = current;
    }
    const Divisor byRho(rho);
    for (long n = nn; n >= 1; --n) {
        const Cx q = byRho.divide(real(static_cast<double>(n)));
        current = q - div(real(1), current + q);
        if (n - 1 <= highestStored) {
            d[n - 1] = current;
        }
    }
}

} // namespace quellis
