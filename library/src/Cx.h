// The library's complex number and its arithmetic. Every export and every
// internal routine computes with these functions, so that a value formed
// inside the library rounds exactly as the same value formed through the
// exports (Smith division, the four-product multiplication, the phase rule).
#pragma once

#include "quellis.h"

#include <cmath>
#include <numbers>

namespace quellis {

struct Cx {
    double re;
    double im;
};

inline Cx fromT(const TComplex& a) {
    return {a.Re, a.Im};
}
inline TComplex toT(Cx a) {
    return {a.re, a.im};
}

inline Cx operator+(Cx a, Cx b) {
    return {a.re + b.re, a.im + b.im};
}
inline Cx operator-(Cx a, Cx b) {
    return {a.re - b.re, a.im - b.im};
}

// (x + iy)(c + id) = (x*c - y*d, x*d + c*y)
inline Cx mul(Cx a, Cx b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + b.re * a.im};
}

// A divisor prepared for Smith's division: the branch, the ratio r and the
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
inline bool normInSafeRange(double norm) {
    return norm >= 0x1p-1000 && norm <= 0x1p1000;
}

// 1/w for series whose values need double precision, not Smith's rounding.
// A real w takes the one correctly rounded division Smith's method reduces
// to; any other w is conj(w) times 1/|w|^2 where |w|^2 is safe to form, and
// Smith's division elsewhere (and for a w that is not a number). Either way
// the result costs a single division rather than Smith's three, two of them
// waiting on the first.
inline Cx reciprocal(Cx w) {
    if (w.im == 0) {
        return {1 / w.re, -0.0};
    }
    const double norm = w.re * w.re + w.im * w.im;
    if (normInSafeRange(norm)) {
        const double inverse = 1 / norm;
        return {w.re * inverse, -w.im * inverse};
    }
    return div(Cx{1.0, 0.0}, w);
}

inline Cx conj(Cx a) {
    return {a.re, -a.im};
}
inline double norm2(Cx a) {
    return a.re * a.re + a.im * a.im;
}
inline double abs(Cx a) {
    return std::sqrt(a.re * a.re + a.im * a.im);
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
    const double s = a.re * a.re + a.im * a.im;
    const double rho = (s != 0.0) ? std::exp(std::log(s) * (p / 2)) : 0.0;
    const double phi = phase(a);
    return {rho * std::cos(p * phi), rho * std::sin(p * phi)};
}

inline Cx exp(Cx a) {
    const double t = std::exp(a.re);
    return {t * std::cos(a.im), t * std::sin(a.im)};
}

inline Cx log(Cx a, int k) {
    return {std::log(a.re * a.re + a.im * a.im) / 2, phase(a) + 2 * std::numbers::pi * k};
}

// The pieces of sin A and cos A: t = e^Im A and the real sine and cosine of
// Re A, computed once when both functions of one argument are wanted. A real
// A has t = e^0 = 1 exactly, without calling the exponential.
struct SineParts {
    double sinRe, cosRe, t;
    explicit SineParts(Cx a)
        : sinRe(std::sin(a.re)), cosRe(std::cos(a.re)), t(a.im == 0 ? 1.0 : std::exp(a.im)) {}
    Cx sin() const { return {sinRe * (1 / t + t) / 2, cosRe * (t - 1 / t) / 2}; }
    Cx cos() const { return {cosRe * (1 / t + t) / 2, -sinRe * (t - 1 / t) / 2}; }
};

inline Cx sin(Cx a) {
    return SineParts(a).sin();
}
inline Cx cos(Cx a) {
    return SineParts(a).cos();
}

inline Cx tan(Cx a) {
    const double t = std::exp(2 * a.im);
    const double den = std::cos(2 * a.re) + (1 / t + t) / 2;
    return {std::sin(2 * a.re) / den, ((t - 1 / t) / 2) / den};
}

// 1 - A^2, the radicand shared by arcsin and arccos.
inline Cx oneMinusSquare(Cx a) {
    return {(1 - a.re * a.re) + a.im * a.im, (-2 * a.re) * a.im};
}

inline Cx arcsin(Cx a) {
    const Cx s = pow(oneMinusSquare(a), 0.5);
    const Cx l = log(Cx{s.re - a.im, s.im + a.re}, 0);
    return {l.im, -l.re};
}

inline Cx arccos(Cx a) {
    const Cx s = pow(oneMinusSquare(a), 0.5);
    const Cx l = log(Cx{a.re - s.im, a.im + s.re}, 0);
    return {l.im, -l.re};
}

inline Cx arctan(Cx a) {
    const Cx q = div(Cx{-a.re, 1 - a.im}, Cx{a.re, 1 + a.im});
    const Cx l = log(q, 0);
    return {l.im / 2, -l.re / 2};
}

} // namespace quellis
