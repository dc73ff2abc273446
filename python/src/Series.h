// SPDX-License-Identifier: MIT
// The tables of one Mie series, taken from the library's exports into
// buffers that each thread keeps and reuses, so that a loop over many
// elements allocates only while its series grow.
#pragma once

#include "quellis.h"

#include <complex>
#include <cstdint>
#include <vector>

namespace quellis_python {

using Complex = std::complex<double>;

inline Complex fromLibrary(const TComplex& z) {
    return {z.Re, z.Im};
}
inline TComplex toLibrary(Complex z) {
    return {z.real(), z.imag()};
}

// The library's number of terms for a size parameter, round(x + 4 x^(1/3) + 2),
// as a first guess of the tables' length.
int32_t termCountGuess(double x);

// a_n and b_n for n = 1..N (element 0 unused) of a sphere of size x and
// relative index m; returns N.
int32_t sphereCoefficients(double x, Complex m, std::vector<TComplex>& a, std::vector<TComplex>& b);

// pi_n(cos theta) and tau_n(cos theta) for n = 0..max(N, 1), N from x.
void angularFunctions(double x, double theta, int32_t orders, std::vector<TComplex>& pi,
                      std::vector<TComplex>& tau);

// psi_n(z) and xi_n(z) = psi_n - i chi_n for n = 0..max(orders, 1).
void riccatiBessel(Complex z, int32_t orders, std::vector<TComplex>& psi,
                   std::vector<TComplex>& xi);

} // namespace quellis_python
