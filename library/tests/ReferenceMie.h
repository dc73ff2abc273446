// SPDX-License-Identifier: MIT
// An independent evaluation of the homogeneous sphere's series, for the
// tests: long double throughout, std::complex arithmetic, D_n(m*x) and
// D_n(x) by downward recurrence from far above the last order, psi_n from
// the products of the ratios psi_{n-1}/psi_n and xi_n by upward recurrence,
// and the coefficients written in ratio form. Real size parameters only.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace reference {

using Real = long double;
using Complex = std::complex<Real>;

struct Result {
    Real qsca = 0, qext = 0, qback = 0;
    Complex s1, s2;
    std::vector<Complex> a, b; // orders 1..n at index n; index 0 unused
};

inline long termCount(Real x) {
    return std::lround(x + 4 * std::cbrt(x) + 2);
}

// D_n(z) for n = 0..last, from D = 0 at an order far above both last and |z|.
inline std::vector<Complex> logDerivatives(Complex z, long last) {
    const Real size = std::abs(z);
    const long start = std::max<long>(last, std::lround(size)) + 60 +
                       std::lround(8 * std::cbrt(size) + 0.05L * size);
    std::vector<Complex> d(static_cast<std::size_t>(last) + 1);
    Complex current = 0;
    for (long n = start; n >= 1; --n) {
        const Complex q = static_cast<Real>(n) / z;
        current = q - Real(1) / (current + q);
        if (n - 1 <= last) {
            d[static_cast<std::size_t>(n - 1)] = current;
        }
    }
    return d;
}

// The sphere of size x, index m; amplitudes at angle theta.
inline Result sphere(Real x, Complex m, Real theta) {
    const long n = termCount(x);
    const std::vector<Complex> dm = logDerivatives(m * x, n);
    const std::vector<Complex> dx = logDerivatives(Complex(x), n);
    Result r;
    r.a.resize(static_cast<std::size_t>(n) + 1);
    r.b.resize(static_cast<std::size_t>(n) + 1);
    const Complex i(0, 1);
    Complex psiPrev = std::sin(x);                  // psi_{k-1}
    Complex xiPrev = std::sin(x) - i * std::cos(x); // xi_{k-1}, then xi_k below
    Complex xi = std::sin(x) / x - std::cos(x) - i * (std::cos(x) / x + std::sin(x));
    const Real mu = std::cos(theta);
    Real piPrev = 0, pi = 1;
    Complex back = 0;
    for (long k = 1; k <= n; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        const Real kr = static_cast<Real>(k);
        const Complex psi = psiPrev / (dx[kk] + kr / x);
        if (k > 1) {
            const Complex xiNext = (2 * kr - 1) / x * xi - xiPrev;
            xiPrev = xi;
            xi = xiNext;
        }
        // ratio form: a = (psi/xi) (g - psi_{k-1}/psi_k) / (g - xi_{k-1}/xi_k)
        const Complex ga = dm[kk] / m + kr / x;
        const Complex gb = dm[kk] * m + kr / x;
        const Complex psiRatio = dx[kk] + kr / x;
        const Complex xiRatio = xiPrev / xi;
        const Complex a = psi / xi * (ga - psiRatio) / (ga - xiRatio);
        const Complex b = psi / xi * (gb - psiRatio) / (gb - xiRatio);
        r.a[kk] = a;
        r.b[kk] = b;
        if (k > 1) {
            const Real piNext = ((2 * kr - 1) * mu * pi - kr * piPrev) / (kr - 1);
            piPrev = pi;
            pi = piNext;
        }
        const Real tau = kr * mu * pi - (kr + 1) * piPrev;
        const Real weight = (2 * kr + 1) / (kr * (kr + 1));
        r.s1 += weight * (a * pi + b * tau);
        r.s2 += weight * (a * tau + b * pi);
        r.qsca += (2 * kr + 1) * (std::norm(a) + std::norm(b));
        r.qext += (2 * kr + 1) * (a.real() + b.real());
        back += (k % 2 == 0 ? 1 : -1) * (2 * kr + 1) * (a - b);
        psiPrev = psi;
    }
    r.qsca *= 2 / (x * x);
    r.qext *= 2 / (x * x);
    r.qback = std::norm(back) / (x * x);
    return r;
}

} // namespace reference
