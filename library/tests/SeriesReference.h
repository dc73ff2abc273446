// SPDX-License-Identifier: MIT
// Independent evaluations for the order-by-order tests, at extended
// precision (long double) throughout:
// - Riccati-Bessel functions of any argument: D_n from a downward
//   recurrence started far above the orders in use, psi_n as products of
//   the ratios psi_{n-1}/psi_n = D_n + n/z from psi_0 = sin z, chi_n by
//   upward recurrence;
// - the Mie coefficients of a small sphere (|m x| up to about 2) from the
//   power series of psi_n, chi_n and their derivatives, with the numerator
//   of b_n summed in the form in which its leading terms have already
//   cancelled;
// - the outgoing function xi_n by upward recurrence.
#pragma once

#include "ReferenceMie.h"

#include <cmath>
#include <complex>
#include <vector>

namespace series {

using Real = long double;
using Complex = std::complex<Real>;

struct Functions {
    std::vector<Complex> psi, chi, xi; // orders 0..last
};

// xi_n(z) for n = 0..last by upward recurrence from xi_{-1} = e^{iz},
// xi_0 = -i e^{iz}.
inline std::vector<Complex> outgoing(Complex z, long last) {
    const Complex i(0, 1);
    std::vector<Complex> xi(last + 1);
    Complex before = std::exp(i * z);
    xi[0] = -i * before;
    for (long n = 1; n <= last; ++n) {
        const Complex current = (2 * static_cast<Real>(n) - 1) / z * xi[n - 1] - before;
        before = xi[n - 1];
        xi[n] = current;
    }
    return xi;
}

// For a real z, chi_n by upward recurrence and xi_n = psi_n - i chi_n; for
// a complex one xi_n by upward recurrence and chi_n = i (xi_n - psi_n),
// since psi_n and chi_n there share a large e^|Im z| that xi_n lacks.
inline Functions riccatiBessel(Complex z, long last) {
    const std::vector<Complex> d = reference::logDerivatives(z, last);
    Functions f{std::vector<Complex>(last + 1), std::vector<Complex>(last + 1),
                std::vector<Complex>(last + 1)};
    f.psi[0] = std::sin(z);
    for (long n = 1; n <= last; ++n) {
        f.psi[n] = f.psi[n - 1] / (d[n] + static_cast<Real>(n) / z);
    }
    const Complex i(0, 1);
    if (z.imag() == 0) {
        f.chi[0] = std::cos(z);
        f.chi[1] = std::cos(z) / z + std::sin(z);
        for (long n = 2; n <= last; ++n) {
            f.chi[n] = (2 * static_cast<Real>(n) - 1) / z * f.chi[n - 1] - f.chi[n - 2];
        }
        for (long n = 0; n <= last; ++n) {
            f.xi[n] = f.psi[n] - i * f.chi[n];
        }
        return f;
    }
    f.xi = outgoing(z, last);
    for (long n = 0; n <= last; ++n) {
        f.chi[n] = i * (f.xi[n] - f.psi[n]);
    }
    return f;
}

// A power series in w and its derivative: sum_k c_k w^k with
// c_k = c_{k-1} * step(k).
struct SeriesValue {
    Complex value;
    Complex derivative;
};

template <class Step> SeriesValue powerSeries(Complex w, Step step) {
    Complex value = 1, derivative = 0, power = 1; // power = w^(k-1)
    Real coefficient = 1;
    for (int k = 1; k <= 60; ++k) {
        coefficient *= step(k);
        derivative += static_cast<Real>(k) * coefficient * power;
        power *= w;
        value += coefficient * power;
    }
    return {value, derivative};
}

// psi_n(z) = z^{n+1}/(2n+1)!! S(z^2), S(w) = sum (-w/2)^k/(k! (2n+3)...(2n+2k+1)).
inline SeriesValue psiSeries(long n, Complex w) {
    return powerSeries(w, [n](int k) { return Real(-0.5) / (k * (2 * n + 2 * k + 1)); });
}

// chi_n(z) = (2n-1)!!/z^n T(z^2), T(w) = sum (-w/2)^k/(k! (1-2n)(3-2n)...(2k-1-2n)).
inline SeriesValue chiSeries(long n, Complex w) {
    return powerSeries(w, [n](int k) { return Real(-0.5) / (k * (2 * k - 1 - 2 * n)); });
}

inline Real doubleFactorial(long odd) {
    Real r = 1;
    for (long k = odd; k > 1; k -= 2) {
        r *= k;
    }
    return r;
}

struct Coefficients {
    std::vector<Complex> a, b; // orders 1..last at index n
};

// a_n and b_n of a small sphere from the power series (Bohren & Huffman
// 1983, eq. 4.53 with the derivatives written out):
// a_n = [m psi(mx) psi'(x) - psi(x) psi'(mx)] / [m psi(mx) xi'(x) - xi(x) psi'(mx)],
// b_n = [psi(mx) psi'(x) - m psi(x) psi'(mx)] / [psi(mx) xi'(x) - m xi(x) psi'(mx)].
inline Coefficients smallSphere(Real x, Complex m, long last) {
    Coefficients r{std::vector<Complex>(last + 1), std::vector<Complex>(last + 1)};
    const Complex i(0, 1);
    const Complex mx = m * x;
    const Complex wx = x * x, wm = mx * mx;
    for (long n = 1; n <= last; ++n) {
        const Real c = 1 / doubleFactorial(2 * n + 1);
        const Real cChi = doubleFactorial(2 * n - 1);
        const SeriesValue sx = psiSeries(n, wx), sm = psiSeries(n, wm), tx = chiSeries(n, wx);
        const Real nr = static_cast<Real>(n);
        const Complex psiX = c * std::pow(Complex(x), nr + 1) * sx.value;
        const Complex dPsiX =
            c * std::pow(Complex(x), nr) * ((nr + 1) * sx.value + Real(2) * wx * sx.derivative);
        const Complex psiM = c * std::pow(mx, nr + 1) * sm.value;
        const Complex dPsiM =
            c * std::pow(mx, nr) * ((nr + 1) * sm.value + Real(2) * wm * sm.derivative);
        const Complex chiX = cChi / std::pow(Complex(x), nr) * tx.value;
        const Complex dChiX =
            cChi / std::pow(Complex(x), nr + 1) * (-nr * tx.value + Real(2) * wx * tx.derivative);
        const Complex numeratorA = m * psiM * dPsiX - psiX * dPsiM;
        const Complex numeratorB = c * c * std::pow(m, nr + 1) * std::pow(Complex(x), 2 * nr + 1) *
                                   Real(2) * wx *
                                   (sm.value * sx.derivative - m * m * sx.value * sm.derivative);
        r.a[n] = numeratorA / (numeratorA - i * (m * psiM * dChiX - chiX * dPsiM));
        r.b[n] = numeratorB / (numeratorB - i * (psiM * dChiX - m * chiX * dPsiM));
    }
    return r;
}

} // namespace series
