// SPDX-License-Identifier: MIT
// The order-by-order steps of the homogeneous sphere's series: Riccati-Bessel
// and angular recurrences, Mie coefficients, amplitude and efficiency sums.
// The sphere, coated-sphere and near-field exports all build their series
// from these steps, so a value comes out bit for bit the same whichever
// export reaches it.
#pragma once

#include "quellis/series/Cx.h"
#include "quellis/series/LogDerivativeStep.h"
#include "quellis/series/OrderQuotients.h"
#include "quellis/series/OrderTable.h"
#include "quellis/series/RiccatiBessel.h"
#include "quellis/series/Sphere.h"
#include "quellis/series/TermCount.h"

#include <algorithm>
#include <limits>

namespace quellis {

// psi_n(z), chi_n(z) and xi_n(z) = psi_n - i*chi_n by upward recurrence,
// holding orders n-1 and n; it starts at n = 1. xi_n and chi_n, which
// dominate upward, keep their digits at every order; psi_n only while n
// stays below about |z| (RiccatiBessel.h has it at every order). The near
// field reads xi_n alone from it.
class RiccatiBesselRecurrence {
public:
    explicit RiccatiBesselRecurrence(Cx z) : z_(z), realArgument_(z.im == 0 && z.re > 0) {
        const SineParts parts(z);
        const Cx sinZ = parts.sin();
        const Cx cosZ = parts.cos();
        const Cx inverseZ = z_.divideCount(1);
        psiPrev_ = sinZ;
        chiPrev_ = cosZ;
        psi_ = mul(inverseZ, psiPrev_) - cosZ;
        chi_ = mul(inverseZ, chiPrev_) + sinZ;
        xiPrev_ = outgoing(psiPrev_, chiPrev_);
        xi_ = outgoing(psi_, chi_);
    }

    // Moves from order n to n + 1. For a positive real z the functions are
    // real, and real products give what the complex products with zero
    // imaginary parts would, up to the sign of a zero.
    void advance() {
        ++order_;
        const Cx f = z_.divideCount(2.0 * order_ - 1);
        const Cx psiNext =
            realArgument_ ? real(f.re * psi_.re - psiPrev_.re) : mul(f, psi_) - psiPrev_;
        const Cx chiNext =
            realArgument_ ? real(f.re * chi_.re - chiPrev_.re) : mul(f, chi_) - chiPrev_;
        psiPrev_ = psi_;
        chiPrev_ = chi_;
        xiPrev_ = xi_;
        psi_ = psiNext;
        chi_ = chiNext;
        xi_ = realArgument_ ? Cx{psi_.re, -chi_.re} : outgoing(psi_, chi_);
    }

    Cx xi() const { return xi_; }
    Cx xiPrev() const { return xiPrev_; }

private:
    // xi = psi + (-i)*chi, the product formed as a complex multiplication.
    static Cx outgoing(Cx psi, Cx chi) { return psi + mul(Cx{0.0, -1.0}, chi); }

    Divisor z_;
    bool realArgument_;
    long order_ = 1;
    Cx psi_, psiPrev_, chi_, chiPrev_, xi_, xiPrev_;
};

// What a chain holds as its ratio where no order reads it.
inline constexpr double kUnreadRatio = std::numeric_limits<double>::quiet_NaN();

template <class Real> struct MieCoefficientOf {
    Complex<Real> a;
    Complex<Real> b;
};
using MieCoefficient = MieCoefficientOf<double>;

// The inside of one order of a coefficient: D_n/m for a_n and m D_n for
// b_n (D_n of the sphere, or the shell's Dbar and Gbar for a coated one),
// and the differences of those from D_n(x), the numerators' factors
// fa = D_n/m - D_n(x) and fb = m D_n - D_n(x).
template <class Real> struct CoefficientInsideOf {
    Complex<Real> aInside;
    Complex<Real> bInside;
    Complex<Real> fa;
    Complex<Real> fb;
};
using CoefficientInside = CoefficientInsideOf<double>;

// What the coefficients take from the index m alone.
template <class Real> struct IndexTerms {
    Complex<Real> m;
    Complex<Real> inverseM;
    Complex<Real> inverseMSquared;
    Complex<Real> indexTerm; // (1 - m^2)/m^2
};

[[gnu::always_inline]] inline IndexTerms<double> indexTermsOf(Cx m) {
    const Cx inverseM = reciprocal(m);
    return {m, inverseM, mul(inverseM, inverseM), div(mul(real(1) - m, real(1) + m), mul(m, m))};
}

// The steps of a coefficient of a positive real size x (MieCoefficients
// below) for any real type, the terms of x real numbers: the library runs
// them on doubles, the program on vector lanes of indices, so each lane
// takes the operations a double takes, in the same order.
//
// The inside from the ratios psi_{n+1}/psi_n of m x and of x, k = (n+1)/x:
// D_n(m x) = (n+1)/(m x) - q(m x) enters through its terms,
// D_n/m = (n+1)/(m^2 x) - q(mx)/m and m D_n = (n+1)/x - m q(mx), so the
// products with q(mx) serve both inside and numerator, and
// fa = (n+1)(1 - m^2)/(m^2 x) + q(x) - q(mx)/m, fb = q(x) - m q(mx).
template <class Real>
[[gnu::always_inline]] inline CoefficientInsideOf<Real>
insideFromRealRatios(const IndexTerms<Real>& t, double k, Complex<Real> ratioM, double ratioX) {
    const Complex<Real> ratioOverM = mul(ratioM, t.inverseM);
    const Complex<Real> ratioTimesM = mul(ratioM, t.m);
    return {{k * t.inverseMSquared.re - ratioOverM.re, k * t.inverseMSquared.im - ratioOverM.im},
            {k - ratioTimesM.re, -ratioTimesM.im},
            {k * t.indexTerm.re + ratioX - ratioOverM.re, k * t.indexTerm.im - ratioOverM.im},
            {ratioX - ratioTimesM.re, -ratioTimesM.im}};
}

// The inside from D_n(m x) and D_n(x) directly.
template <class Real>
[[gnu::always_inline]] inline CoefficientInsideOf<Real>
insideFromRealDerivative(const IndexTerms<Real>& t, Complex<Real> d, double dX) {
    const Complex<Real> aInside = mul(d, t.inverseM);
    const Complex<Real> bInside = mul(d, t.m);
    return {aInside, bInside, {aInside.re - dX, aInside.im}, {bInside.re - dX, bInside.im}};
}

// c = 1/psi_n from n/x, D_n(x) and the partners pb = -chi_{n-1}, p = -chi_n.
[[gnu::always_inline]] inline double realSizeWronskian(double nOverX, double dX, double pb,
                                                       double p) {
    return pb - (dX + nOverX) * p;
}

// g = inside + n/x.
template <class Real>
[[gnu::always_inline]] inline Complex<Real> plusOrderOverX(Complex<Real> inside, double nOverX) {
    return {inside.re + nOverX, inside.im};
}

// The divisor w = f + c i (g p - pb) of a coefficient f/w.
template <class Real>
[[gnu::always_inline]] inline Complex<Real>
realQuotientDivisor(Complex<Real> f, double c, Complex<Real> g, double pb, double p) {
    return {f.re - c * (g.im * p), f.im + c * (g.re * p - pb)};
}

// f/w as f conj(w)/|w|^2 from the norm |w|^2, one division.
template <class Real>
[[gnu::always_inline]] inline Complex<Real> quotientOverNorm(Complex<Real> f, Complex<Real> w,
                                                             Real norm) {
    const Real inverse = 1 / norm;
    return {(f.re * w.re + f.im * w.im) * inverse, (f.im * w.re - f.re * w.im) * inverse};
}

// a_n and b_n of a sphere of size x and index m (Bohren & Huffman 1983,
// eq. 4.88): with g = D_n(mx)/m + n/x,
// a_n = (g psi_n - psi_{n-1})/(g xi_n - xi_{n-1}) and b_n the same with
// h = m D_n(mx) + n/x. The numerators are formed as psi_n (g - r_n) with
// r_n = psi_{n-1}/psi_n = D_n(x) + n/x, so that their n/x terms cancel
// exactly rather than in rounding; for a positive real x the denominators
// are that same numerator minus i (g chi_n - chi_{n-1}), which keeps the
// real part of a_n (of order |a_n|^2 for a small sphere) exact.
class MieCoefficients {
public:
    [[gnu::always_inline]] MieCoefficients(Cx x, Cx m)
        : terms_(indexTermsOf(m)), inverseX_(reciprocal(x)), realX_(hasRealPartner(x)) {}

    Cx overM(Cx d) const { return mul(d, terms_.inverseM); }
    Cx timesM(Cx d) const { return mul(d, terms_.m); }
    // n/x as n times 1/x.
    Cx orderOverX(long n) const {
        const double k = static_cast<double>(n);
        return {k * inverseX_.re, k * inverseX_.im};
    }

    // fa and fb at an order n >= x, from the ratios psi_{n+1}/psi_n of mx
    // and of x: D_n(z) = (n+1)/z - psi_{n+1}(z)/psi_n(z), so
    // fa = (n+1)(1 - m^2)/(m^2 x) + q(x) - q(mx)/m and fb = q(x) - m q(mx),
    // free of the cancellation of their (n+1)/x terms that loses digits
    // when x is small.
    [[gnu::always_inline]] CoefficientInside fromRatios(long n, Cx d, Cx ratioM, Cx ratioX) const {
        const Cx aInside = overM(d);
        const Cx bInside = timesM(d);
        const Cx fa = mul(orderOverX(n + 1), terms_.indexTerm) + ratioX - overM(ratioM);
        const Cx fb = ratioX - timesM(ratioM);
        return {aInside, bInside, fa, fb};
    }

    // The same for a coated sphere, whose shell gives a_n and b_n each its
    // own logarithmic derivative (dA, dB) and ratio f_{n+1}/f_n (ratioA,
    // ratioB) of the shell's field at the outer surface.
    [[gnu::always_inline]] CoefficientInside fromShellRatios(long n, Cx dA, Cx dB, Cx ratioA,
                                                             Cx ratioB, Cx ratioX) const {
        const Cx fa = mul(orderOverX(n + 1), terms_.indexTerm) + ratioX - overM(ratioA);
        const Cx fb = ratioX - timesM(ratioB);
        return {overM(dA), timesM(dB), fa, fb};
    }

    // fa and fb from D_n(x) directly, where n < x.
    [[gnu::always_inline]] CoefficientInside fromDerivatives(Cx dA, Cx dB, Cx dX) const {
        const Cx aInside = overM(dA);
        const Cx bInside = timesM(dB);
        return {aInside, bInside, aInside - dX, bInside - dX};
    }

    // a_n and b_n from the inside, n/x, D_n(x) and the partners w_{n-1}, w_n
    // of psi_n (-i chi for a positive real x, xi otherwise). psi_n itself is
    // not formed: with c = w_{n-1} - r_n w_n = i/psi_n (the Wronskian,
    // r_n = D_n(x) + n/x), a_n = psi_n fa/(g xi_n - xi_{n-1}) becomes
    // fa/(fa + c (-i)(g chi_n - chi_{n-1})) for a real x and
    // i fa/(c (g xi_n - xi_{n-1})) otherwise, one division each. Where the
    // partner or c overflows, psi_n and the coefficients lie below the
    // smallest double: 0.
    [[gnu::always_inline]] MieCoefficient operator()(const CoefficientInside& in, Cx nOverX, Cx dX,
                                                     Cx partnerBefore, Cx partner) const {
        const Cx ratioBack = dX + nOverX;
        const Cx g = in.aInside + nOverX;
        const Cx h = in.bInside + nOverX;
        if (realX_) {
            const double c = partnerBefore.im - ratioBack.re * partner.im;
            if (overflowed(partner) || std::isinf(c)) {
                return {real(0.0), real(0.0)};
            }
            return {realQuotient(in.fa, c, g, partnerBefore.im, partner.im),
                    realQuotient(in.fb, c, h, partnerBefore.im, partner.im)};
        }
        const Cx c = partnerBefore - mul(ratioBack, partner);
        if (overflowed(partner) || overflowed(c)) {
            return {real(0.0), real(0.0)};
        }
        return {complexQuotient(in.fa, c, g, partnerBefore, partner),
                complexQuotient(in.fb, c, h, partnerBefore, partner)};
    }

    // The same steps for a positive real x, with D_n(x), its ratio, n/x and
    // the partners' parts pb = -chi_{n-1}, p = -chi_n real numbers: the
    // complex forms above would only add zeros to their imaginary parts.
    [[gnu::always_inline]] CoefficientInside fromRealRatios(long n, Cx ratioM,
                                                            double ratioX) const {
        return insideFromRealRatios(terms_, static_cast<double>(n + 1) * inverseX_.re, ratioM,
                                    ratioX);
    }
    [[gnu::always_inline]] CoefficientInside fromRealDerivative(Cx d, double dX) const {
        return insideFromRealDerivative(terms_, d, dX);
    }
    [[gnu::always_inline]] MieCoefficient forRealSize(const CoefficientInside& in, long n,
                                                      double dX, double pb, double p,
                                                      bool partnerOverflowed) const {
        const double nOverX = static_cast<double>(n) * inverseX_.re;
        const double c = realSizeWronskian(nOverX, dX, pb, p);
        if (partnerOverflowed || std::isinf(c)) {
            return {real(0.0), real(0.0)};
        }
        return {realQuotient(in.fa, c, plusOrderOverX(in.aInside, nOverX), pb, p),
                realQuotient(in.fb, c, plusOrderOverX(in.bInside, nOverX), pb, p)};
    }

private:
    // f/(f + c i (g p - pb)) with p = -chi_n, pb = -chi_{n-1}: the real part
    // of the divisor is that of f, exactly, for a real g. The quotient is
    // f conj(w)/|w|^2 for the divisor w, one division. Where |w|^2 leaves the
    // safe range, f and w are first divided by c: for a tiny size,
    // c = 1/psi_n times chi_n overflows while the coefficient is still a
    // double. A divisor that overflows even so puts it below the smallest
    // double: 0.
    [[gnu::always_inline]] static Cx realQuotient(Cx f, double c, Cx g, double pb, double p) {
        const Cx divisor = realQuotientDivisor(f, c, g, pb, p);
        const double norm = norm2(divisor);
        if (!normInSafeRange(norm)) {
            return scaledQuotient(f, c, g, pb, p);
        }
        return quotientOverNorm(f, divisor, norm);
    }

    [[gnu::cold, gnu::noinline]] static Cx scaledQuotient(Cx f, double c, Cx g, double pb,
                                                          double p) {
        const Cx scaledF{f.re / c, f.im / c};
        const Cx scaled{scaledF.re - g.im * p, scaledF.im + (g.re * p - pb)};
        if (std::isinf(scaled.re) || std::isinf(scaled.im)) {
            return real(0.0);
        }
        return div(scaledF, scaled);
    }

    // i f/(c (g xi_n - xi_{n-1})).
    [[gnu::always_inline]] static Cx complexQuotient(Cx f, Cx c, Cx g, Cx before, Cx current) {
        return mul(Cx{-f.im, f.re}, reciprocal(mul(c, mul(g, current) - before)));
    }

    IndexTerms<double> terms_;
    Cx inverseX_;
    bool realX_;
};

// D_n of one argument carried down from its continued-fraction start at
// order `restart`, with the ratio psi_{n+1}/psi_n: from the fraction at the
// start, then 1/(D_{n+1} + (n+1)/rho) as the step to order n forms it.
struct LogDerivativeChain {
    LogDerivativeStep step;
    long restart;
    Cx d;
    Cx ratio;

    // The chain of m x keeps the library's step (so its D_n are those of
    // Aden); that of x, read only by the coefficients, multiplies n into
    // 1/x and spares the divider a division per order.
    LogDerivativeChain(Cx rho, long start, bool multiplyInverse, LogDerivativeAndRatio atStart)
        : step(rho, multiplyInverse), restart(start), d(atStart.d), ratio(atStart.ratio) {}

    // To order n from n + 1; nothing above the start order.
    [[gnu::always_inline]] void moveTo(long n) {
        if (n < restart) {
            stepTo(n);
        }
    }
    // To order n from n + 1, for n below the start order.
    [[gnu::always_inline]] void stepTo(long n) {
        const Cx q = step.orderOverRho(n + 1);
        ratio = reciprocal(d + q);
        d = q - ratio;
    }
};

// The same chain for a positive real argument x in real arithmetic, n/x as
// n times 1/x: the coefficients alone read it.
struct RealLogDerivativeChain {
    double inverse;
    long restart;
    double d;
    double ratio;

    RealLogDerivativeChain(double x, long start, LogDerivativeAndRatio atStart)
        : inverse(1 / x), restart(start), d(atStart.d.re), ratio(atStart.ratio.re) {}

    [[gnu::always_inline]] void moveTo(long n) {
        if (n < restart) {
            stepTo(n);
        }
    }
    [[gnu::always_inline]] void stepTo(long n) {
        const double q = static_cast<double>(n + 1) * inverse;
        ratio = 1 / (d + q);
        d = q - ratio;
    }
};

// The order at which a series whose last order is `count` starts D_n(rho)
// from its continued fraction, for |rho| = modulus: at or above count, and
// from 2|rho| on where the fraction is quick.
[[gnu::always_inline]] inline long seriesRestart(int32_t terms, double modulus, long count) {
    const long start = std::max<long>(logDerivativeStart(terms, modulus), count);
    return std::max(logDerivativeRestart(terms, modulus, start), count);
}

// A chain's start values at order `start` for a series of `count` orders.
// The ratio there is read only by an order the series forms (start <= count);
// above those the first step replaces it, so its fraction is not summed.
inline LogDerivativeAndRatio chainStart(Cx rho, double modulus, long start, long count) {
    if (start > count) {
        return {logDerivativeAt(rho, modulus, start), Cx{kUnreadRatio, kUnreadRatio}};
    }
    return logDerivativeAndRatioAt(rho, modulus, start);
}

// Calls store(n, row) for the Riccati-Bessel functions of z at n = 0..last
// (last >= 0), for a series of `terms` orders: D_n starts where the series'
// own coefficients start it, so that a table and the coefficients share
// their D_n, and the start does not depend on `last`.
template <class Store> void forEachRiccatiBesselRow(Cx z, int32_t terms, long last, Store&& store) {
    const long count = std::max(last, 1L);
    OrderArray<RiccatiBesselRow> rows(count);
    riccatiBesselTable(z, count, std::max(count, seriesRestart(terms, abs(z), terms)), rows.data());
    for (long n = 0; n <= last; ++n) {
        store(n, rows[static_cast<std::size_t>(n)]);
    }
}

// The coefficient of order n from its inside, D_n(x) and the partners.
[[gnu::always_inline]] inline MieCoefficient coefficientAt(const MieCoefficients& coefficient,
                                                           long n, const CoefficientInside& inside,
                                                           Cx dX, Cx partnerBefore, Cx partner) {
    return coefficient(inside, coefficient.orderOverX(n), dX, partnerBefore, partner);
}

// A chain started for a series of `count` orders out of `terms`: at its
// restart order, from the continued fraction there.
inline LogDerivativeChain seriesChain(Cx rho, double modulus, int32_t terms, long count,
                                      bool multiplyInverse) {
    const long start = seriesRestart(terms, modulus, count);
    return LogDerivativeChain(rho, start, multiplyInverse, chainStart(rho, modulus, start, count));
}

// The chain of D_n(x) of a positive real x started for a series of `count`
// orders out of `terms`.
inline RealLogDerivativeChain realSeriesChain(double x, int32_t terms, long count) {
    const long start = seriesRestart(terms, x, count);
    return RealLogDerivativeChain(x, start, chainStart(real(x), x, start, count));
}

// D_n(rho) for a series whose every order lies far below a very large |rho|
// (upwardStable): the downward chain would start near |rho| and take
// about |rho| steps to reach the series, so D_n comes upward from D_0 into
// a table instead, and psi_{n+1}/psi_n = 1/(D_{n+1} + (n+1)/rho) from the
// next order. Moves as LogDerivativeChain does; it stands at order count as
// soon as the series reaches that order (its restart is count + 1).
class UpwardChain {
public:
    UpwardChain(Cx rho, long count) : step(rho), restart(count + 1), table_(count + 1) {
        logDerivativeUpward(rho, count + 1, table_.data());
    }

    void moveTo(long n) {
        if (n < restart) {
            stepTo(n);
        }
    }
    void stepTo(long n) {
        const auto k = static_cast<std::size_t>(n);
        d = table_[k];
        ratio = reciprocal(table_[k + 1] + step.orderOverRho(n + 1));
    }

    LogDerivativeStep step;
    long restart;
    Cx d{};
    Cx ratio{};

private:
    OrderTable table_;
};

// Calls use(chain) with the chain of D_n(rho), |rho| = modulus, for a
// series of `count` orders out of `terms`: where every order lies far below
// |rho|, upward if that is stable and else down from the fraction at order
// count (which a strongly absorbing rho makes converge quickly); otherwise
// down from its restart order. Either way the work is bounded by the orders
// the series forms (and at most 2 |rho| below kUpwardArgument), not by |rho|.
template <class Use>
[[gnu::always_inline]] inline void withIndexChain(Cx rho, double modulus, int32_t terms, long count,
                                                  Use&& use) {
    if (upwardSuffices(modulus, count + 1)) {
        if (upwardStable(rho, modulus, count + 1)) {
            UpwardChain chain(rho, count);
            use(chain);
            return;
        }
        LogDerivativeChain chain(rho, count, rho.im != 0, chainStart(rho, modulus, count, count));
        use(chain);
        return;
    }
    LogDerivativeChain chain = seriesChain(rho, modulus, terms, count, rho.im != 0);
    use(chain);
}

// The coefficients of orders 1..count of a sphere of positive real size x
// from the chain of D_n(m x) and the side that depends on x alone: the chain
// of D_n(x) (a RealLogDerivativeChain, or anything that moves through the
// same values order by order), -chi_n at orders 0..count and the first
// order whose chi_n has overflowed. D_n(m x) and D_n(x) come down from their
// restart orders, a step per order each, and each coefficient is formed as
// soon as both are known.
template <class InnerChain, class OuterChain>
[[gnu::always_inline]] inline void
realSizeCoefficientsFrom(const MieCoefficients& coefficient, double x, long count,
                         InnerChain& inner, OuterChain& outer, const double* minusChi,
                         long firstOverflow, MieCoefficient* coefficients) {
    // Down to the series' last order, then through the orders from x up
    // (formed from the ratios) and those below x (from D_n(x)).
    for (long n = std::max(inner.restart, outer.restart); n >= count; --n) {
        inner.moveTo(n);
        outer.moveTo(n);
    }
    const auto form = [&](long n, const CoefficientInside& inside) {
        const auto k = static_cast<std::size_t>(n);
        coefficients[k] = coefficient.forRealSize(inside, n, outer.d, minusChi[k - 1], minusChi[k],
                                                  n >= firstOverflow);
    };
    const auto formAt = [&](long n) {
        form(n, static_cast<double>(n) < x
                    ? coefficient.fromRealDerivative(inner.d, outer.d)
                    : coefficient.fromRealRatios(n, inner.ratio, outer.ratio));
    };
    formAt(count);
    long n = count - 1;
    for (; n >= 1 && static_cast<double>(n) >= x; --n) {
        inner.stepTo(n);
        outer.stepTo(n);
        form(n, coefficient.fromRealRatios(n, inner.ratio, outer.ratio));
    }
    for (; n >= 1; --n) {
        inner.stepTo(n);
        outer.stepTo(n);
        form(n, coefficient.fromRealDerivative(inner.d, outer.d));
    }
}

// The coefficients of orders 1..count of a sphere of positive real size x,
// into `coefficients`: chi_n goes up into a table, D_n(m x) and D_n(x) come
// down from their restart orders side by side, so that the two chains of
// dependent steps overlap, all of the x side in real arithmetic.
template <class InnerChain, class AfterStart>
void realSizeCoefficients(double x, Cx m, int32_t terms, long count, InnerChain& inner,
                          MieCoefficient* coefficients, AfterStart&& afterStart) {
    OrderArray<double> minusChi(count);
    RealLogDerivativeChain outer = realSeriesChain(x, terms, count);
    // chi_n and the caller's work after the start values, which need
    // neither, fill the wait for the fractions' chains of steps.
    const long firstOverflow = chiUpward(
        x, count, [&](long n, double chi) { minusChi[static_cast<std::size_t>(n)] = -chi; });
    const MieCoefficients coefficient(real(x), m);
    afterStart();
    realSizeCoefficientsFrom(coefficient, x, count, inner, outer, minusChi.data(), firstOverflow,
                             coefficients);
}

// Calls visit(n, MieCoefficient) for n = 1..count in increasing order: the
// coefficients of a sphere of size x and index m whose full series has
// `terms` orders. The partners of psi_n go up into a table first; then
// D_n(m x) and D_n(x) come down side by side from their restart orders, and
// each coefficient is formed as soon as both are known, so that the
// coefficients' divisions overlap the recurrences' chains of dependent
// steps (the steps of one order are forced inline for that). afterStart() runs right after the
// start values of those recurrences are asked for: work the caller places there (work that needs no
// coefficient) fills the wait for the continued fractions' chains.
//
// A short series of a very large sphere (every order below |m x|/2 and
// x/2) takes D_n upward instead and never runs the downward recurrences
// over the orders it does not return; so does the chain of D_n(m x) alone
// where every order lies below |m x|/2 (a huge index).
template <class Visit, class AfterStart>
void forEachMieCoefficient(Cx x, Cx m, int32_t terms, long count, Visit&& visit,
                           AfterStart&& afterStart) {
    if (count < 1) {
        return;
    }
    const Cx rho = mul(x, m);
    const double rhoModulus = abs(rho);
    // |x| of a positive real x is x itself: abs forms sqrt(x*x), and the
    // square root of a correctly rounded binary square is the number again.
    const double xModulus = hasRealPartner(x) ? x.re : abs(x);
    // Every table is taken before any is filled: a count beyond the memory
    // fails before it has written anything.
    OrderArray<MieCoefficient> coefficients(count);
    if (upwardStable(rho, rhoModulus, count) && upwardStable(x, xModulus, count)) {
        OrderTable partners(count);
        OrderTable dM(count);
        OrderTable dX(count);
        partnerTable(x, count, partners.data());
        const MieCoefficients coefficient(x, m);
        logDerivativeUpward(rho, count, dM.data());
        logDerivativeUpward(x, count, dX.data());
        afterStart();
        for (long n = 1; n <= count; ++n) {
            const auto k = static_cast<std::size_t>(n);
            coefficients[k] =
                coefficientAt(coefficient, n, coefficient.fromDerivatives(dM[k], dM[k], dX[k]),
                              dX[k], partners[k - 1], partners[k]);
        }
    } else {
        withIndexChain(rho, rhoModulus, terms, count, [&](auto& inner) {
            if (hasRealPartner(x)) {
                realSizeCoefficients(x.re, m, terms, count, inner, coefficients.data(), afterStart);
                return;
            }
            OrderTable partners(count);
            partnerTable(x, count, partners.data());
            const MieCoefficients coefficient(x, m);
            LogDerivativeChain outer = seriesChain(x, xModulus, terms, count, true);
            afterStart();
            for (long n = std::max(inner.restart, outer.restart); n >= 1; --n) {
                inner.moveTo(n);
                outer.moveTo(n);
                if (n <= count) {
                    const auto k = static_cast<std::size_t>(n);
                    const Cx dM = inner.d;
                    const CoefficientInside inside =
                        static_cast<double>(n) < x.re
                            ? coefficient.fromDerivatives(dM, dM, outer.d)
                            : coefficient.fromRatios(n, dM, inner.ratio, outer.ratio);
                    coefficients[k] = coefficientAt(coefficient, n, inside, outer.d,
                                                    partners[k - 1], partners[k]);
                }
            }
        });
    }
    for (long n = 1; n <= count; ++n) {
        visit(n, coefficients[static_cast<std::size_t>(n)]);
    }
}

// The same with nothing placed after the start.
template <class Visit>
void forEachMieCoefficient(Cx x, Cx m, int32_t terms, long count, Visit&& visit) {
    forEachMieCoefficient(x, m, terms, count, visit, [] {});
}

// The first `count` coefficients (count is usually termCount(Re x)).
template <class Visit> void forEachMieCoefficient(Cx x, Cx m, long count, Visit&& visit) {
    forEachMieCoefficient(x, m, termCount(x.re), count, visit);
}

// All termCount(Re x) coefficients.
template <class Visit> void forEachMieCoefficient(Cx x, Cx m, Visit&& visit) {
    const int32_t terms = termCount(x.re);
    forEachMieCoefficient(x, m, terms, terms, visit);
}

// pi_n(cos theta) and tau_n by upward recurrence (Bohren & Huffman 1983,
// eq. 4.47), holding orders n-1 and n;
// it starts at n = 1 (pi_0 = 0, pi_1 = 1, tau_1 = cos theta).
class AngularRecurrence {
public:
    explicit AngularRecurrence(double theta)
        : mu_(std::cos(theta)), pole_(mu_ == 1 || mu_ == -1), tau_(mu_) {}

    // Moves from order n to n + 1; each real factor is rounded to double and
    // multiplied in. The functions are real, so real products give what the
    // complex products with zero imaginary parts would, up to the sign of a
    // zero. At the poles (cos theta = +-1 exactly), whose recurrence
    // gathers rounding errors like n^2, the closed forms hold instead:
    // pi_n(1) = tau_n(1) = n(n+1)/2, pi_n(-1) = (-1)^(n+1) n(n+1)/2 and
    // tau_n(-1) = -pi_n(-1) (Bohren & Huffman 1983, sec. 4.4.1).
    void advance() {
        const double n = static_cast<double>(++order_);
        if (pole_) {
            advanceAtPole(n);
            return;
        }
        const double piNext =
            ((2 * n - 1) * mu_ / (n - 1)) * pi_ - successorRatio(order_) * piPrev_;
        piPrev_ = pi_;
        pi_ = piNext;
        tau_ = (n * mu_) * pi_ - (n + 1) * piPrev_;
    }

    long order() const { return order_; }
    Cx pi() const { return real(pi_); }
    Cx piPrev() const { return real(piPrev_); }
    Cx tau() const { return real(tau_); }

private:
    [[gnu::cold]] void advanceAtPole(double n) {
        const double half = n * (n + 1) / 2;
        piPrev_ = pi_;
        pi_ = mu_ > 0 || order_ % 2 == 1 ? half : -half;
        tau_ = mu_ > 0 ? half : -pi_;
    }

    double mu_;
    bool pole_;
    long order_ = 1;
    double piPrev_ = 0.0;
    double pi_ = 1.0;
    double tau_;
};

// S1 and S2 summed order by order (Bohren & Huffman 1983, eq. 4.74):
// c_n = (2n+1)/(n(n+1)). The angular
// functions and c_n are real, so their products with the coefficients are
// formed in real arithmetic: the complex products would add only signed
// zeros to them, and a sum that starts at +0 comes out the same either way.
// For any real type of the coefficients (vector lanes of indices too).
template <class Real> class AmplitudeSums {
public:
    [[gnu::always_inline]] void add(long n, const MieCoefficientOf<Real>& c, double pi,
                                    double tau) {
        const double weight = amplitudeWeight(n);
        const Complex<Real> s1Term{c.a.re * pi + c.b.re * tau, c.a.im * pi + c.b.im * tau};
        const Complex<Real> s2Term{c.a.re * tau + c.b.re * pi, c.a.im * tau + c.b.im * pi};
        s1_ = s1_ + Complex<Real>{weight * s1Term.re, weight * s1Term.im};
        s2_ = s2_ + Complex<Real>{weight * s2Term.re, weight * s2Term.im};
    }
    Complex<Real> s1() const { return s1_; }
    Complex<Real> s2() const { return s2_; }

private:
    Complex<Real> s1_{Real{}, Real{}};
    Complex<Real> s2_{Real{}, Real{}};
};

class AmplitudeAccumulator : public AmplitudeSums<double> {
public:
    Amplitudes sums() const { return {s1(), s2()}; }
};

// pi_n and tau_n of one angle at orders 1..terms in a table, filled apart
// from the coefficients (alongside their recurrences' start, or once for
// many indices) and read as the amplitudes are summed.
class AngularTable {
public:
    AngularTable(long terms, double theta) : values_(terms), terms_(terms), angular_(theta) {}

    void fill() {
        for (long n = 1; n <= terms_; ++n) {
            if (n > 1) {
                angular_.advance();
            }
            values_[static_cast<std::size_t>(n)] = {angular_.pi().re, angular_.tau().re};
        }
    }

    // Adds the terms of order n of S1 and S2.
    template <class Real>
    [[gnu::always_inline]] void addTerm(AmplitudeSums<Real>& sums, long n,
                                        const MieCoefficientOf<Real>& c) const {
        const Values& values = values_[static_cast<std::size_t>(n)];
        sums.add(n, c, values.pi, values.tau);
    }

private:
    struct Values {
        double pi;
        double tau;
    };
    OrderArray<Values> values_;
    long terms_;
    AngularRecurrence angular_;
};

// The three efficiency series (Bohren & Huffman 1983, eqs. 4.61 and 4.62
// for scattering and extinction, sec. 4.6 for backscattering), each term
// rounded before it is added.
class EfficiencyAccumulator {
public:
    void add(long n, MieCoefficient c) {
        const double weight = static_cast<double>(2 * n + 1);
        scattering_ +=
            weight * (c.a.re * c.a.re + c.a.im * c.a.im + c.b.re * c.b.re + c.b.im * c.b.im);
        extinction_ += weight * (c.a.re + c.b.re);
        const double signedWeight = (n % 2 == 0) ? weight : -weight;
        const Cx difference = c.a - c.b;
        back_ = back_ + Cx{signedWeight * difference.re, signedWeight * difference.im};
    }

    // The efficiencies for the size parameter `size` (factor 2/|size|^2).
    Efficiencies result(Cx size) const {
        const double f = 2 / (size.re * size.re + size.im * size.im);
        return {f * scattering_, f * extinction_, f * norm2(back_) / 2};
    }

private:
    double scattering_ = 0.0;
    double extinction_ = 0.0;
    Cx back_ = real(0.0);
};

} // namespace quellis
