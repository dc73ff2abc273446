// SPDX-License-Identifier: MIT
#include "NearField.h"

#include "Series.h"

#include <cmath>
#include <limits>
#include <vector>

namespace quellis_python {
namespace {

constexpr Complex kI{0.0, 1.0};

// i^n, exactly.
Complex iPower(int32_t n) {
    switch (n % 4) {
    case 0:
        return 1.0;
    case 1:
        return kI;
    case 2:
        return -1.0;
    default:
        return -kI;
    }
}

// The tables of one point: coefficients, angular functions, term count.
struct PointSeries {
    std::vector<TComplex> a, b, pi, tau;
    int32_t orders = 0;
    double sinTheta = 0.0;

    PointSeries(double x, Complex m, double theta) : sinTheta(std::sin(theta)) {
        orders = sphereCoefficients(x, m, a, b);
        angularFunctions(x, theta, orders, pi, tau);
    }
};

// What every field sum shares at order n: the weight E_n, the radial
// component's weight, the coefficients and the angular functions.
struct OrderTerms {
    std::size_t n;
    double nn; // n as a double
    Complex e, radial, a, b, pi, tau;
};

// Calls add(terms) for the orders 1..N of the point's series.
template <typename Add> void forEachOrder(const PointSeries& s, Add add) {
    for (int32_t n = 1; n <= s.orders; ++n) {
        const double nn = n;
        add(OrderTerms{static_cast<std::size_t>(n), nn,
                       iPower(n) * ((2.0 * nn + 1.0) / (nn * (nn + 1.0))),
                       iPower(n + 1) * (2.0 * nn + 1.0) * s.sinTheta, fromLibrary(s.a[n]),
                       fromLibrary(s.b[n]), fromLibrary(s.pi[n]), fromLibrary(s.tau[n])});
    }
}

FieldComponents scatteredField(const PointSeries& s, double rho) {
    thread_local std::vector<TComplex> psi, xi;
    riccatiBessel(rho, s.orders, psi, xi);
    FieldComponents f{};
    forEachOrder(s, [&](const OrderTerms& t) {
        const std::size_t n = t.n;
        const Complex h = fromLibrary(xi[n]);
        const Complex hD = fromLibrary(xi[n - 1]) - (t.nn / rho) * h;
        f.ePhi += t.e * (t.b * h * t.tau - kI * t.a * hD * t.pi);
        f.eTheta += t.e * (kI * t.a * hD * t.tau - t.b * h * t.pi);
        f.eR += t.radial * t.a * h * t.pi;
        f.hPhi += t.e * (kI * t.b * hD * t.pi - t.a * h * t.tau);
        f.hTheta += t.e * (kI * t.b * hD * t.tau - t.a * h * t.pi);
        f.hR += t.radial * t.b * h * t.pi;
    });
    return f;
}

// The plane wave exp(i rho cos theta) along x (E) and y (H), in the same
// form as the scattered components.
void addIncident(FieldComponents& f, double rho, double theta) {
    const Complex wave = std::exp(kI * (rho * std::cos(theta)));
    const Complex tangential = rho * std::cos(theta) * wave;
    const Complex radial = rho * rho * std::sin(theta) * wave;
    f.eTheta += tangential;
    f.ePhi -= rho * wave;
    f.eR += radial;
    f.hTheta += tangential;
    f.hPhi += rho * wave;
    f.hR += radial;
}

FieldComponents internalField(const PointSeries& s, double x, Complex m, double rho) {
    thread_local std::vector<TComplex> psiX, xiX, psiMx, psiMr, unused;
    riccatiBessel(x, s.orders, psiX, xiX);
    riccatiBessel(m * x, s.orders, psiMx, unused);
    riccatiBessel(m * rho, s.orders, psiMr, unused);
    const Complex mRho = m * rho;
    FieldComponents f{};
    forEachOrder(s, [&](const OrderTerms& t) {
        const std::size_t n = t.n;
        // psi_n(m rho) and its derivative, each over psi_n(m x).
        const Complex inner = fromLibrary(psiMr[n]);
        const Complex innerD = fromLibrary(psiMr[n - 1]) - (t.nn / mRho) * inner;
        const Complex edge = fromLibrary(psiMx[n]);
        const Complex ratio = inner / edge, ratioD = innerD / edge;
        const Complex psi = fromLibrary(psiX[n]), xi = fromLibrary(xiX[n]);
        const Complex cScale = m * (psi - t.b * xi), dScale = psi - t.a * xi;
        const Complex c = cScale * ratio, cD = cScale * ratioD;
        const Complex d = dScale * ratio, dD = dScale * ratioD;
        f.eTheta += t.e * (t.pi * c - kI * t.tau * dD) / m;
        f.ePhi += t.e * (kI * t.pi * dD - t.tau * c) / m;
        f.eR -= t.radial * t.pi * d / (m * m);
        f.hTheta += t.e * (t.pi * d - kI * t.tau * cD);
        f.hPhi += t.e * (t.tau * d - kI * t.pi * cD);
        f.hR -= t.radial * t.pi * c / m;
    });
    return f;
}

} // namespace

FieldComponents sphereField(double x, Complex m, double rho, double theta, FieldPart part) {
    const PointSeries series(x, m, theta);
    if (rho < x) {
        if (part == FieldPart::Scattered) {
            const Complex nan{std::numeric_limits<double>::quiet_NaN(), 0.0};
            return {nan, nan, nan, nan, nan, nan};
        }
        return internalField(series, x, m, rho);
    }
    FieldComponents f = scatteredField(series, rho);
    if (part == FieldPart::Total) {
        addIncident(f, rho, theta);
    }
    return f;
}

FieldComponents atPoint(const FieldComponents& f, double rho, double phi) {
    const double s = std::sin(phi), c = std::cos(phi);
    return {f.ePhi * (s / rho), f.eTheta * (c / rho), f.eR * (c / (rho * rho)),
            f.hPhi * (c / rho), f.hTheta * (s / rho), f.hR * (s / (rho * rho))};
}

std::array<double, 3> poyntingVector(const FieldComponents& p) {
    const auto cross = [](Complex e1, Complex h2, Complex e2, Complex h1) {
        return 0.5 * (e1 * std::conj(h2) - e2 * std::conj(h1)).real();
    };
    return {cross(p.eR, p.hTheta, p.eTheta, p.hR), cross(p.ePhi, p.hR, p.eR, p.hPhi),
            cross(p.eTheta, p.hPhi, p.ePhi, p.hTheta)};
}

} // namespace quellis_python
