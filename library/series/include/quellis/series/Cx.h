// SPDX-License-Identifier: MIT
// The library's complex number and its arithmetic. Every export and every
// internal routine computes with these functions, so that a value formed
// inside the library rounds exactly as the same value formed through the
// exports (Smith division, the four-product multiplication, the phase rule).
#pragma once

#include "quellis.h"

#include <cmath>
#include <numbers>

namespace quellis {

// A complex number of any real type: a double, or a vector of doubles whose
// lanes each hold one number (the program's series in vector lanes). The
// arithmetic written once for both gives every lane the operations a double
// gets, in the same order.
template <class Real> struct Complex {
    Real re;
    Real im;
};
using Cx = Complex<double>;

inline Cx fromT(const TComplex& a) {
    return {a.Re, a.Im};
}
inline TComplex toT(Cx a) {
    return {a.re, a.im};
}

template <class Real> inline Complex<Real> operator+(Complex<Real> a, Complex<Real> b) {
    return {a.re + b.re, a.im + b.im};
}
template <class Real> inline Complex<Real> operator-(Complex<Real> a, Complex<Real> b) {
    return {a.re - b.re, a.im - b.im};
}

// (x + iy)(c + id) = (x*c - y*d, x*d + c*y)
template <class Real> inline Complex<Real> mul(Complex<Real> a, Complex<Real> b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + b.re * a.im};
}

// A divisor prepared for Smith's division (Smith 1962, "Algorithm 116:
// Complex division", Commun. ACM 5, 435): the branch, the ratio r and the
// denominator depend on the divisor alone, so a series that divides many
// values by one number prepares them once. |c| = |d| takes the first branch.
// A zero divisor is not tested: it reaches the floating-point arithmetic as
// it is.
class Divisor {
public:
    explicit Divisor(Cx b)
        : first_(std::fabs(b.re) >= std::fabs(b.im)), positiveReal_(b.im == 0 && b.re > 0),
          r_(first_ ? b.im / b.re : b.re / b.im),
          den_(first_ ? r_ * b.im + b.re : r_ * b.re + b.im) {}

    // a/b, exactly as Smith's division forms it.
    Cx divide(Cx a) const {
        const double x = a.re, y = a.im;
        if (first_) {
            return {(y * r_ + x) / den_, (y - x * r_) / den_};
        }
        return {(x * r_ + y) / den_, (y * r_ - x) / den_};
    }

    // k/b for a finite k (a count, in the series). When b is a positive real
    // number, Smith's first branch has r = 0 and den = b, and its quotient is
    // exactly (k/b, +0): one division instead of two.
    Cx divideCount(double k) const {
        if (positiveReal_) {
            return {k / den_, 0.0};
        }
        return divide(Cx{k, 0.0});
    }

private:
    bool first_;
    bool positiveReal_;
    double r_;
    double den_;
};

inline Cx div(Cx a, Cx b) {
    return Divisor(b).divide(a);
}

// Squared moduli in this range leave w/|w|^2 clear of overflow and of
// precision lost to underflow.
// For vector lanes, the mask of the lanes in range.
template <class Real> inline auto normInSafeRange(Real norm) {
    return norm >= 0x1p-1000 && norm <= 0x1p1000;
}

// conj(w)/|w|^2 from the norm |w|^2, one division.
template <class Real>
[[gnu::always_inline]] inline Complex<Real> conjugateOverNorm(Complex<Real> w, Real norm) {
    const Real inverse = 1 / norm;
    return {w.re * inverse, -w.im * inverse};
}

template <class Real> inline Real norm2(Complex<Real> a) {
    return a.re * a.re + a.im * a.im;
}

// 1/w for series whose values need double precision, not Smith's rounding.
// A real w takes the one correctly rounded division Smith's method reduces
// to; any other w is conj(w) times 1/|w|^2 where |w|^2 is safe to form, and
// Smith's division elsewhere (and for a w that is not a number). Either way
// the result costs a single division rather than Smith's three, two of them
// waiting on the first.
// Always inlined: it sits in the chain of every recurrence step.
[[gnu::always_inline]] inline Cx reciprocal(Cx w) {
    if (w.im == 0) {
        return {1 / w.re, -0.0};
    }
    const double norm = norm2(w);
    if (normInSafeRange(norm)) {
        return conjugateOverNorm(w, norm);
    }
    return div(Cx{1.0, 0.0}, w);
}

inline Cx conj(Cx a) {
    return {a.re, -a.im};
}
// Whether s = x*x + y*y, formed in double, holds |a|^2 to rounding: it has
// neither overflowed nor underflowed below the range where the smaller
// square's lost bits would count (2^-968 leaves them below 2^-106 of s).
// Where it has, the moduli below are taken by hypot, which scales.
inline bool squareSumHolds(double s, Cx a) {
    if (s >= 0x1p-968 && s <= 0x1.fffffffffffffp+1023) {
        return true;
    }
    if (std::isnan(s)) {
        return true;
    }
    if (std::isinf(s)) {
        return std::isinf(a.re) || std::isinf(a.im);
    }
    return s >= 0x1p-968 || (a.re == 0 && a.im == 0);
}

// |a| = sqrt(x*x + y*y) (the C library's scaled hypot where that sum
// overflows or underflows).
inline double abs(Cx a) {
    const double s = a.re * a.re + a.im * a.im;
    return squareSumHolds(s, a) ? std::sqrt(s) : std::hypot(a.re, a.im);
}

// ln|a| = ln(x*x + y*y)/2, or ln(hypot(x, y)) where that sum does not hold.
inline double logModulus(Cx a) {
    const double s = a.re * a.re + a.im * a.im;
    return squareSumHolds(s, a) ? std::log(s) / 2 : std::log(std::hypot(a.re, a.im));
}

// |a|^p = exp(ln(x*x + y*y) * (p/2)) for a != 0, and 0 for a = 0; through
// ln(hypot(x, y)) where the sum does not hold.
inline double modulusPower(Cx a, double p) {
    const double s = a.re * a.re + a.im * a.im;
    if (squareSumHolds(s, a)) {
        return (s != 0.0) ? std::exp(std::log(s) * (p / 2)) : 0.0;
    }
    return std::exp(std::log(std::hypot(a.re, a.im)) * p);
}
inline Cx real(double v) {
    return {v, 0.0};
}

// The phase angle in (-pi, pi]: x = 0 gives sign(y)*pi/2; a negative x with
// y >= 0 (negative zero included) gives arctan(y/x) + pi.
inline double phase(Cx a) {
    const double x = a.re, y = a.im;
    constexpr double pi = std::numbers::pi;
    if (x == 0.0) {
        const double sign = (y > 0.0) ? 1.0 : (y < 0.0 ? -1.0 : 0.0);
        return sign * (pi / 2);
    }
    if (x > 0.0) {
        return std::atan(y / x);
    }
    if (y >= 0.0) {
        return std::atan(y / x) + pi;
    }
    return std::atan(y / x) - pi;
}

// A to the real power p, principal value; A = 0 gives 0 for every p.
inline Cx pow(Cx a, double p) {
    const double rho = modulusPower(a, p);
    const double phi = phase(a);
    return {rho * std::cos(p * phi), rho * std::sin(p * phi)};
}

inline Cx exp(Cx a) {
    const double t = std::exp(a.re);
    return {t * std::cos(a.im), t * std::sin(a.im)};
}

inline Cx log(Cx a, int k) {
    return {logModulus(a), phase(a) + 2 * std::numbers::pi * k};
}

// f cosh y (or f sinh y with sinhSign = sign y) for |y| beyond 709, where
// cosh y = sinh y = e^|y|/2 to rounding but may overflow while f cosh y does
// not: (f e^{|y|/2}) (e^{|y|/2}/2). f = 0 gives 0.
inline double timesLargeHyperbolic(double f, double y, double sinhSign) {
    if (f == 0) {
        return f * sinhSign;
    }
    const double half = std::exp(std::fabs(y) / 2);
    return (f * half) * (half / 2) * sinhSign;
}

// The pieces of sin A and cos A: the real sine and cosine of Re A and the
// hyperbolic cosine and sine of Im A, computed once when both functions of
// one argument are wanted: sin(x + iy) = sin x cosh y + i cos x sinh y and
// cos(x + iy) = cos x cosh y - i sin x sinh y, each part to a few ulps for
// every argument whose result is a double (no cancellation of e^y - e^-y
// for small y, no overflow of cosh y for large y where sin x or cos x keeps
// the product finite). A real A has cosh 0 = 1 and sinh 0 = 0 exactly,
// without calling them.
struct SineParts {
    double sinRe, cosRe, y, coshIm, sinhIm;
    explicit SineParts(Cx a)
        : sinRe(std::sin(a.re)), cosRe(std::cos(a.re)), y(a.im),
          coshIm(a.im == 0 ? 1.0 : std::cosh(a.im)), sinhIm(a.im == 0 ? 0.0 : std::sinh(a.im)) {}
    Cx sin() const { return {timesCosh(sinRe), timesSinh(cosRe)}; }
    Cx cos() const { return {timesCosh(cosRe), timesSinh(-sinRe)}; }

private:
    static constexpr double kLargeHyperbolic = 709;
    double timesCosh(double f) const {
        return std::fabs(y) <= kLargeHyperbolic ? f * coshIm : timesLargeHyperbolic(f, y, 1.0);
    }
    double timesSinh(double f) const {
        return std::fabs(y) <= kLargeHyperbolic ? f * sinhIm
                                                : timesLargeHyperbolic(f, y, y < 0 ? -1.0 : 1.0);
    }
};

inline Cx sin(Cx a) {
    return SineParts(a).sin();
}
inline Cx cos(Cx a) {
    return SineParts(a).cos();
}

// tan(x + iy) = (sin x cos x + i sinh y cosh y)/(cos^2 x + sinh^2 y), a
// denominator of two squares that never cancels (Kahan's form), to a few
// ulps for every argument. From |y| = 20 on tanh|y| is 1 to rounding and
// cos^2 x is negligible beside sinh^2 y: tan A = 4 sin x cos x e^{-2|y|}
// + i sign(y), which neither overflows nor divides inf by inf however large
// |y|. A real A is the real tangent.
inline Cx tan(Cx a) {
    const double x = a.re, y = a.im;
    if (y == 0) {
        return {std::tan(x), y};
    }
    const double s = std::sin(x), c = std::cos(x);
    if (std::fabs(y) > 20) {
        return {4 * (s * c) * std::exp(-2 * std::fabs(y)), y < 0 ? -1.0 : 1.0};
    }
    const double sh = std::sinh(y);
    const double den = c * c + sh * sh;
    return {(s * c) / den, (sh * std::cosh(y)) / den};
}

} // namespace quellis
