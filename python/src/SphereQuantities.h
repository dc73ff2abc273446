// SPDX-License-Identifier: MIT
// The efficiencies of a homogeneous sphere and the quantities formed from
// the same coefficients: absorption, asymmetry parameter, radiation pressure.
#pragma once

#include <complex>

namespace quellis_python {

struct SphereQuantities {
    double qext, qsca, qabs, qback, qpr, g;
};

// From the Mie coefficients a_n, b_n of the library (Bohren & Huffman 1983,
// eqs. 4.61, 4.62 and 4.74; Qback as the library defines it):
//   Qext = 2/x^2 sum (2n+1) Re(a_n + b_n)
//   Qsca = 2/x^2 sum (2n+1) (|a_n|^2 + |b_n|^2)
//   g Qsca = 4/x^2 [sum n(n+2)/(n+1) Re(a_n a*_{n+1} + b_n b*_{n+1})
//                   + sum (2n+1)/(n(n+1)) Re(a_n b*_n)]
//   Qabs = Qext - Qsca, Qpr = Qext - g Qsca; g = 0 where Qsca = 0.
SphereQuantities sphereQuantities(double x, std::complex<double> m);

} // namespace quellis_python
