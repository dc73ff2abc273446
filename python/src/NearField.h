// SPDX-License-Identifier: MIT
// The physical electric and magnetic fields of a plane wave scattered by a
// homogeneous sphere, at a point (rho, theta, phi) with rho = k r.
//
// Bohren & Huffman (1983), section 4.4: an incident field E = exp(i k z) x
// (time dependence exp(-i omega t)) and H in units of k/(omega mu), so that
// the incident H has amplitude 1 too and the incident intensity
// 1/2 Re(E x conj H) is 1/2. With E_n = i^n (2n+1)/(n(n+1)) and the outgoing
// Riccati-Bessel function xi_n = psi_n - i chi_n, the scattered field is
//   E_s = sum E_n (i a_n N_e1n - b_n M_o1n),  H_s = sum E_n (i b_n N_o1n + a_n M_e1n),
// whose radial parts carry E_n n(n+1) = i^n (2n+1). Inside the sphere the
// field is that of eq. 4.40 with c_n, d_n from the boundary conditions:
//   c_n psi_n(m x) = m (psi_n(x) - b_n xi_n(x)),  d_n psi_n(m x) = psi_n(x) - a_n xi_n(x).
#pragma once

#include <array>
#include <complex>

namespace quellis_python {

// Components (phi, theta, r) of E and of H. Without their azimuth and
// distance factors, as the library's NearFields gives them, the point's
// components are E_phi = ePhi sin(phi)/rho, E_theta = eTheta cos(phi)/rho,
// E_r = eR cos(phi)/rho^2, H_phi = hPhi cos(phi)/rho,
// H_theta = hTheta sin(phi)/rho, H_r = hR sin(phi)/rho^2.
struct FieldComponents {
    std::complex<double> ePhi, eTheta, eR, hPhi, hTheta, hR;
};

// The scattered field (outside the sphere) or the total field: outside the
// sphere incident plus scattered, inside it the internal field.
enum class FieldPart { Scattered, Total };

// The field at (rho, theta) without azimuth and distance factors. The
// series has the library's N = round(x + 4 x^(1/3) + 2) orders. The
// scattered field is given for rho >= x only (NaN inside).
FieldComponents sphereField(double x, std::complex<double> m, double rho, double theta,
                            FieldPart part);

// The components at azimuth phi: the factors above applied.
FieldComponents atPoint(const FieldComponents& f, double rho, double phi);

// 1/2 Re(E x conj H) at a point, as (phi, theta, r) components.
std::array<double, 3> poyntingVector(const FieldComponents& atPoint);

} // namespace quellis_python
