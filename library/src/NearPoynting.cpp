// SPDX-License-Identifier: MIT
// The Poynting vector of the scattered near field: the field components with
// their azimuth and distance factors put back, then 1/2 Re(E x conj H).
#include "Near.h"

#include <cmath>

namespace quellis {
namespace {

// Both parts of a component times factor/distance.
Cx scaled(Cx component, double factor, double distance) {
    return {factor * component.re / distance, factor * component.im / distance};
}

// Re(e * conj h).
double realProduct(Cx e, Cx h) {
    return mul(e, conj(h)).re;
}

} // namespace

NearPoynting nearPoynting(Cx x, Cx rho, Cx m, double theta, double phi) {
    const NearFieldComponents f = nearFields(x, rho, m, theta);
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double r = rho.re;
    const double r2 = r * r;
    const Cx ePhi = scaled(f.ePhi, sinPhi, r);
    const Cx eTheta = scaled(f.eTheta, cosPhi, r);
    const Cx eR = scaled(f.eR, cosPhi, r2);
    const Cx hPhi = scaled(f.hPhi, cosPhi, r);
    const Cx hTheta = scaled(f.hTheta, sinPhi, r);
    const Cx hR = scaled(f.hR, sinPhi, r2);
    return {0.5 * (realProduct(eR, hTheta) - realProduct(eTheta, hR)),
            0.5 * (realProduct(ePhi, hR) - realProduct(eR, hPhi)),
            0.5 * (realProduct(eTheta, hPhi) - realProduct(ePhi, hTheta))};
}

} // namespace quellis
