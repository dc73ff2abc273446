// SPDX-License-Identifier: MIT
// The near-field sums, each term grouped as the far-field sums group theirs.
#include "Near.h"

#include <cmath>

namespace quellis {
namespace {

constexpr Cx kI{0.0, 1.0};

// n(n+1), formed in integer arithmetic.
double orderProduct(long n) {
    return static_cast<double>(static_cast<long long>(n) * (n + 1));
}

// (2n+1)/(n(n+1)) i^n, with i^n through the library's power.
Cx fieldCoefficient(long n) {
    return mul(real(static_cast<double>(2 * n + 1) / orderProduct(n)),
               pow(kI, static_cast<double>(n)));
}

} // namespace

Amplitudes nearAmplitudes(Cx x, Cx rho, Cx m, double theta) {
    Amplitudes s{real(0.0), real(0.0)};
    forEachNearOrder(x, rho, m, theta, [&](const NearOrder& o) {
        const Cx weight = real(static_cast<double>(2 * o.n + 1) / orderProduct(o.n));
        s.s1 = s.s1 +
               mul(weight, mul(o.xiDerivative, mul(o.c.a, o.pi)) + mul(o.xi, mul(o.c.b, o.tau)));
        s.s2 = s.s2 +
               mul(weight, mul(o.xiDerivative, mul(o.c.a, o.tau)) + mul(o.xi, mul(o.c.b, o.pi)));
    });
    return s;
}

double nearLongitudinal(Cx x, Cx rho, Cx m, double theta) {
    const Cx sinTheta = real(std::sin(theta));
    Cx sum = real(0.0);
    forEachNearOrder(x, rho, m, theta, [&](const NearOrder& o) {
        sum = sum + mul(real(static_cast<double>(2 * o.n + 1)),
                        mul(o.xi, mul(sinTheta, mul(o.c.a, o.pi))));
    });
    return mul(sum, conj(sum)).re;
}

NearFieldComponents nearFields(Cx x, Cx rho, Cx m, double theta) {
    const Cx sinTheta = real(std::sin(theta));
    NearFieldComponents f{real(0.0), real(0.0), real(0.0), real(0.0), real(0.0), real(0.0)};
    forEachNearOrder(x, rho, m, theta, [&](const NearOrder& o) {
        const Cx a = o.c.a;
        const Cx b = o.c.b;
        const Cx radialWeight = real(orderProduct(o.n));
        const Cx e = fieldCoefficient(o.n);
        f.ePhi =
            f.ePhi + mul(e, mul(o.xi, mul(b, o.tau)) - mul(kI, mul(o.xiDerivative, mul(a, o.pi))));
        f.eTheta = f.eTheta +
                   mul(e, mul(o.xiDerivative, mul(kI, mul(a, o.tau))) - mul(o.xi, mul(b, o.pi)));
        f.eR = f.eR + mul(radialWeight, mul(mul(o.xi, mul(sinTheta, mul(a, o.pi))), kI));
        f.hPhi =
            f.hPhi + mul(e, mul(o.xiDerivative, mul(kI, mul(b, o.pi))) - mul(o.xi, mul(a, o.tau)));
        f.hTheta = f.hTheta +
                   mul(e, mul(o.xiDerivative, mul(kI, mul(b, o.tau))) - mul(o.xi, mul(a, o.pi)));
        f.hR = f.hR + mul(radialWeight, mul(o.xi, mul(sinTheta, mul(b, o.pi))));
    });
    return f;
}

} // namespace quellis
