// The order-by-order steps of the homogeneous sphere's series: Riccati-Bessel
// and angular recurrences, Mie coefficients, amplitude and efficiency sums.
// The sphere, coated-sphere and near-field exports all build their series
// from these steps, so a value comes out bit for bit the same whichever
// export reaches it.
#pragma once

#include "Cx.h"
#include "LogDerivativeStep.h"
#include "OrderQuotients.h"
#include "OrderTable.h"
#include "Sphere.h"
#include "TermCount.h"

#include <algorithm>

namespace quellis {

// psi_n(z), chi_n(z) and xi_n(z) = psi_n - i*chi_n by upward recurrence,
// holding orders n-1 and n; it starts at n = 1.
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

    long order() const { return order_; }
    Cx psi() const { return psi_; }
    Cx psiPrev() const { return psiPrev_; }
    Cx chi() const { return chi_; }
    Cx chiPrev() const { return chiPrev_; }
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

struct MieCoefficient {
    Cx a;
    Cx b;
};

// psi_n and xi_n at one order.
struct RiccatiBesselValues {
    Cx psi;
    Cx xi;
};

// a_n and b_n of a sphere of size x and index m, order by order, from
// D_n(m*x) and the Riccati-Bessel functions of x at orders n - 1 and n.
class MieCoefficients {
public:
    MieCoefficients(Cx x, Cx m)
        : m_(m), xDivisor_(x), mDivisor_(m), realPsi_(x.im == 0 && x.re > 0) {}

    MieCoefficient operator()(long n, Cx dn, RiccatiBesselValues previous,
                              RiccatiBesselValues current) const {
        const Cx nOverX = xDivisor_.divideCount(static_cast<double>(n));
        const Cx g = mDivisor_.divide(dn) + nOverX;
        const Cx h = mul(dn, m_) + nOverX;
        return {div(timesPsi(g, current.psi) - previous.psi, mul(g, current.xi) - previous.xi),
                div(timesPsi(h, current.psi) - previous.psi, mul(h, current.xi) - previous.xi)};
    }

    MieCoefficient operator()(long n, Cx dn, const RiccatiBesselRecurrence& rb) const {
        return (*this)(n, dn, {rb.psiPrev(), rb.xiPrev()}, {rb.psi(), rb.xi()});
    }

private:
    // c*psi_n. For a positive real x, psi_n is real (the recurrence carries
    // it in real arithmetic), and the real products give what the complex
    // product with a zero imaginary part would, up to the sign of a zero.
    Cx timesPsi(Cx c, Cx psi) const {
        return realPsi_ ? Cx{c.re * psi.re, psi.re * c.im} : mul(c, psi);
    }

    Cx m_;
    Divisor xDivisor_;
    Divisor mDivisor_;
    bool realPsi_;
};

// Calls visit(n, MieCoefficient) for n = 1..count in increasing order: the
// coefficients of a sphere of size x and index m whose full series has
// `terms` orders. psi_n and xi_n go up into a table first; then D_n(m*x)
// comes down from its restart order, and each coefficient is formed as soon
// as its D_n is known, so that the coefficients' divisions overlap the
// recurrence's chain of dependent steps. afterStart() runs right after the
// start value of that recurrence is asked for: work the caller places there
// (work that needs no coefficient) fills the wait for the continued
// fraction's chain of steps.
template <class Visit, class AfterStart>
void forEachMieCoefficient(Cx x, Cx m, int32_t terms, long count, Visit&& visit,
                           AfterStart&& afterStart) {
    if (count < 1) {
        return;
    }
    const Cx rho = mul(x, m);
    const long start = std::max<long>(logDerivativeStart(terms, rho), count);
    const long restart = std::max(logDerivativeRestart(terms, rho, start), count);

    OrderArray<RiccatiBesselValues> functions(count);
    RiccatiBesselRecurrence rb(x);
    functions[0] = {rb.psiPrev(), rb.xiPrev()};
    for (long n = 1; n <= count; ++n) {
        if (n > 1) {
            rb.advance();
        }
        functions[static_cast<std::size_t>(n)] = {rb.psi(), rb.xi()};
    }

    OrderArray<MieCoefficient> coefficients(count);
    const MieCoefficients coefficient(x, m);
    const LogDerivativeStep step(rho);
    Cx d = logDerivativeAt(rho, restart);
    afterStart();
    for (long n = restart; n >= 1; --n) {
        // The next step first, so the chain's instructions come before the
        // coefficient's in the order the processor picks ready work.
        const Cx dn = d;
        if (n > 1) {
            d = step.down(n, d);
        }
        if (n <= count) {
            const auto k = static_cast<std::size_t>(n);
            coefficients[k] = coefficient(n, dn, functions[k - 1], functions[k]);
        }
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

// pi_n(cos theta) and tau_n by upward recurrence, holding orders n-1 and n;
// it starts at n = 1 (pi_0 = 0, pi_1 = 1, tau_1 = cos theta).
class AngularRecurrence {
public:
    explicit AngularRecurrence(double theta) : mu_(std::cos(theta)), tau_(mu_) {}

    // Moves from order n to n + 1; each real factor is rounded to double and
    // multiplied in. The functions are real, so real products give what the
    // complex products with zero imaginary parts would, up to the sign of a
    // zero.
    void advance() {
        const double n = static_cast<double>(++order_);
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
    double mu_;
    long order_ = 1;
    double piPrev_ = 0.0;
    double pi_ = 1.0;
    double tau_;
};

// S1 and S2 summed order by order: c_n = (2n+1)/(n(n+1)). The angular
// functions and c_n are real, so their products with the coefficients are
// formed in real arithmetic: the complex products would add only signed
// zeros to them, and a sum that starts at +0 comes out the same either way.
class AmplitudeAccumulator {
public:
    void add(long n, MieCoefficient c, double pi, double tau) {
        const double weight = amplitudeWeight(n);
        const Cx s1Term{c.a.re * pi + c.b.re * tau, c.a.im * pi + c.b.im * tau};
        const Cx s2Term{c.a.re * tau + c.b.re * pi, c.a.im * tau + c.b.im * pi};
        sums_.s1 = sums_.s1 + Cx{weight * s1Term.re, weight * s1Term.im};
        sums_.s2 = sums_.s2 + Cx{weight * s2Term.re, weight * s2Term.im};
    }
    Amplitudes sums() const { return sums_; }

private:
    Amplitudes sums_{real(0.0), real(0.0)};
};

// The three efficiency series, each term rounded before it is added.
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
