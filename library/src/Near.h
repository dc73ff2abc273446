// SPDX-License-Identifier: MIT
// The field scattered by a homogeneous sphere (size x, index m) at a finite
// distance rho = k r from its centre: the far-field sums with the outgoing
// radial function xi_n(rho) and its derivative in place of their asymptotic
// forms.
#pragma once

#include "quellis/series/Cx.h"
#include "quellis/series/Sphere.h"
#include "quellis/series/SphereSeries.h"
#include "quellis/series/TermCount.h"

namespace quellis {

// Everything one order of a near-field sum needs.
struct NearOrder {
    long n;
    MieCoefficient c;
    Cx pi;
    Cx tau;
    Cx xi;           // xi_n(rho)
    Cx xiDerivative; // xi_{n-1}(rho) - (n / Re rho) xi_n(rho)
};

// Calls visit(NearOrder) for n = 1..N(Re x) in increasing order. The radial
// functions follow the sphere's orders whatever rho is, so a point inside
// the sphere's radius (N(rho) < N) reads no order that was never formed.
template <class Visit> void forEachNearOrder(Cx x, Cx rho, Cx m, double theta, Visit&& visit) {
    RiccatiBesselRecurrence radial(rho);
    AngularRecurrence angular(theta);
    forEachMieCoefficient(x, m, termCount(x.re), [&](long n, MieCoefficient c) {
        if (n > 1) {
            radial.advance();
            angular.advance();
        }
        const Cx nOverRho = real(static_cast<double>(n) / rho.re);
        visit(NearOrder{n, c, angular.pi(), angular.tau(), radial.xi(),
                        radial.xiPrev() - mul(nOverRho, radial.xi())});
    });
}

// S1 and S2 with a_n weighted by xi_n'(rho) and b_n by xi_n(rho).
Amplitudes nearAmplitudes(Cx x, Cx rho, Cx m, double theta);

// |sum (2n+1) xi_n sin(theta) a_n pi_n|^2.
double nearLongitudinal(Cx x, Cx rho, Cx m, double theta);

// The six spherical components of the scattered fields, without their
// azimuth factors (sin phi or cos phi) and distance factors (1/rho or
// 1/rho^2).
struct NearFieldComponents {
    Cx ePhi;
    Cx eTheta;
    Cx eR;
    Cx hPhi;
    Cx hTheta;
    Cx hR;
};
NearFieldComponents nearFields(Cx x, Cx rho, Cx m, double theta);

// Time-averaged Poynting vector 1/2 Re(E x conj H) of the scattered field at
// (rho, theta, phi), in the basis (phi, theta, r).
struct NearPoynting {
    double phi;
    double theta;
    double r;
};
NearPoynting nearPoynting(Cx x, Cx rho, Cx m, double theta, double phi);

} // namespace quellis
