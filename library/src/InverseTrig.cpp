// SPDX-License-Identifier: MIT
// Complex arcsine and arccosine by the algorithm of Hull, Fairgrieve and
// Tang (1997, "Implementing the complex arcsine and arccosine functions
// using exception handling", ACM TOMS 23, 299), and the complex arctangent
// by Kahan's form of -(i/2) ln((i - A)/(i + A)) (1987, "Branch cuts for
// complex elementary functions"): both take the real and imaginary parts
// from quantities that do not cancel.
#include "InverseTrig.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quellis {
namespace {

constexpr double kPi = std::numbers::pi;

// arcsin A = A to rounding below this modulus (the next term, A^3/6, is
// below 2e-19 of A), and arcsin A = pi/2 - arg A + i ln(2|A|) above it (the
// next term is 1/(4A^2) beside a logarithm above 19).
constexpr double kSmallArcsine = 1e-9;
constexpr double kLargeArcsine = 1e8;

// The crossovers of Hull, Fairgrieve and Tang between the closed forms and
// the forms that avoid their cancellation.
constexpr double kACross = 1.5;
constexpr double kBCross = 0.6417;

// ln|A| for any finite A, scaled where |A| would overflow.
double logModulus(double x, double y) {
    if (std::max(x, y) > 0x1p1000) {
        return std::log(std::hypot(x * 0x1p-2, y * 0x1p-2)) + 2 * std::numbers::ln2;
    }
    return std::log(std::hypot(x, y));
}

// arcsin and arccos of x + iy for x, y >= 0: arcsin = asinRe + i im and
// arccos = acosRe - i im.
struct FirstQuadrant {
    double asinRe;
    double acosRe;
    double im;
};

FirstQuadrant firstQuadrant(double x, double y) {
    if (x > kLargeArcsine || y > kLargeArcsine) {
        return {std::atan2(x, y), std::atan2(y, x), logModulus(x, y) + std::numbers::ln2};
    }
    if (x < kSmallArcsine && y < kSmallArcsine) {
        return {x, kPi / 2 - x, y};
    }
    // r and s are the distances from A to -1 and to 1, a = (r + s)/2 >= 1
    // and b = x/a <= 1: arcsin A = arcsin b + i ln(a + sqrt(a^2 - 1)).
    const double r = std::hypot(x + 1, y);
    const double s = std::hypot(x - 1, y);
    const double a = 0.5 * (r + s);
    const double b = x / a;
    const double aPlusX = a + x;
    const double ySquared = y * y;
    FirstQuadrant q{};
    if (b <= kBCross) {
        q.asinRe = std::asin(b);
        q.acosRe = std::acos(b);
    } else {
        // arcsin b = atan(x/d) with d = sqrt(a^2 - x^2), formed without
        // cancelling a - x.
        const double d =
            x <= 1 ? std::sqrt(0.5 * aPlusX * (ySquared / (r + (x + 1)) + (s + (1 - x))))
                   : y * std::sqrt(0.5 * (aPlusX / (r + (x + 1)) + aPlusX / (s + (x - 1))));
        q.asinRe = std::atan(x / d);
        q.acosRe = std::atan(d / x);
    }
    if (x < 1 && y < 0x1p-52 * (1 - x)) {
        // Off the cut and close to the real axis: y/sqrt(1 - x^2) to rounding.
        q.im = y / std::sqrt((1 - x) * (1 + x));
    } else if (a <= kACross) {
        // a - 1 without cancellation, then ln(1 + (a - 1) + sqrt((a - 1)(a + 1))).
        const double aMinusOne = x < 1 ? 0.5 * (ySquared / (r + (x + 1)) + ySquared / (s + (1 - x)))
                                       : 0.5 * (ySquared / (r + (x + 1)) + (s + (x - 1)));
        q.im = std::log1p(aMinusOne + std::sqrt(aMinusOne * (a + 1)));
    } else {
        q.im = std::log(a + std::sqrt(a * a - 1));
    }
    return q;
}

// The sign of the imaginary part of arcsin: that of Im A off the real axis.
// On it the principal formula, as its complex operations round, gives -0
// for |Re A| <= 1, and on the cuts the side continuous with the lower half
// plane for Re A > 1 and with the upper for Re A < -1, whatever the sign of
// a zero Im A.
double arcsinImaginarySign(Cx a) {
    if (a.im != 0) {
        return a.im;
    }
    return a.re < -1 ? 1.0 : -1.0;
}

// The real part of arcsin: odd in Re A, with +0 for a zero Re A of either
// sign, as the principal formula gives it.
double arcsinRealPart(Cx a, double magnitude) {
    return a.re == 0 ? 0.0 : std::copysign(magnitude, a.re);
}

// arctan A = pi/2 sign(Re A) + i Im A/|A|^2 to rounding above this modulus,
// where |A|^2 would overflow; +pi/2 on the imaginary axis.
constexpr double kLargeArctangent = 1e150;

// Below this, x^2 + (1 - y)^2 may have lost its digits to underflow.
constexpr double kSmallArctangentDenominator = 1e-290;

// Re arctan A and Im arctan A for y >= 0.
Cx arctanUpperHalf(double x, double y) {
    if (std::max(std::fabs(x), y) > kLargeArctangent) {
        const double scale = std::max(std::fabs(x), y);
        const double xs = x / scale, ys = y / scale;
        return {x == 0 ? kPi / 2 : std::copysign(kPi / 2, x), (ys / (xs * xs + ys * ys)) / scale};
    }
    // Re = atan2(2x, 1 - |A|^2)/2, +pi/2 on the cut, and
    // Im = ln(|A + i|^2/|A - i|^2)/4, which for y >= 0 never hands log1p a
    // sum near -1.
    const double re =
        x == 0 && y > 1 ? kPi / 2 : 0.5 * std::atan2(2 * x, (1 - y) * (1 + y) - x * x);
    const double denominator = x * x + (1 - y) * (1 - y);
    const double im = denominator > kSmallArctangentDenominator
                          ? 0.25 * std::log1p(4 * y / denominator)
                          : 0.25 * (std::log(4 * y) - 2 * std::log(std::hypot(x, 1 - y)));
    return {re, im};
}

} // namespace

Cx arcsin(Cx a) {
    const FirstQuadrant q = firstQuadrant(std::fabs(a.re), std::fabs(a.im));
    return {arcsinRealPart(a, q.asinRe), std::copysign(q.im, arcsinImaginarySign(a))};
}

Cx arccos(Cx a) {
    const FirstQuadrant q = firstQuadrant(std::fabs(a.re), std::fabs(a.im));
    // On the real axis the principal formula gives -0 for |Re A| <= 1 here
    // too, and on the cuts -i times the arcsine's imaginary part.
    const double im =
        a.im == 0 && a.re >= -1 && a.re <= 1 ? -0.0 : -std::copysign(q.im, arcsinImaginarySign(a));
    return {std::signbit(a.re) ? kPi - q.acosRe : q.acosRe, im};
}

Cx arctan(Cx a) {
    // arctan conj A = conj arctan A off the cuts; on the cut of the lower
    // half plane the real part is +pi/2 as on the upper one.
    const Cx upper = arctanUpperHalf(a.re, std::fabs(a.im));
    // On the real axis the principal formula gives -0 as the imaginary part,
    // and +0 as the real part for a zero Re A of either sign.
    return {a.re == 0 ? std::fabs(upper.re) : upper.re,
            a.im == 0 ? -0.0 : std::copysign(upper.im, a.im)};
}

} // namespace quellis
