// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/ParticleModel.h"

#include "DllUn/DllUn.h"

#include <numbers>

namespace velmora {

namespace {
constexpr double kVacuumSizeFactor = 6.28;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDetectionAngle = 2.0933333333333333;
constexpr double kRootExponent = 0.5;

RefractiveIndex faulted(FpFault fault) {
    return {0.0, 0.0, fault};
}
} // namespace

bool isVacuumModel(const Particle& particle) {
    return particle.epsInf == 1.0 && particle.mediumIndex == 1.0;
}

double sizeFactor(const Particle& particle) {
    return isVacuumModel(particle) ? kVacuumSizeFactor : kTwoPi * particle.mediumIndex;
}

RefractiveIndex particleIndex(const Particle& particle, double lambda) {
    double gam = particle.gam;
    double wp = particle.wp;
    double w0 = particle.w0;
    double epsInf = particle.epsInf;
    double n = particle.mediumIndex;
    clearFpFlags();
    pinFp(lambda, gam, wp, w0, epsInf, n);
    double e = photonEnergy(lambda);
    if (const FpFault f = faultAfter(e); f != FpFault::None) {
        return faulted(f);
    }
    // eps_inf + wp^2 (w0^2 - E^2 + i gam E) / d, d = (w0^2 - E^2)^2 + gam^2 E^2:
    // with eps_inf = 1 the steps of ModelIntensities, operation for operation.
    const double detuning = w0 * w0 - e * e;
    double d = detuning * detuning + (e * e) * (gam * gam);
    if (const FpFault f = faultAfter(d); f != FpFault::None) {
        return faulted(f);
    }
    const double wp2 = wp * wp;
    TComplex eps{epsInf + wp2 * detuning / d, wp2 * gam * e / d};
    if (const FpFault f = faultAfter(eps.Re, eps.Im); f != FpFault::None) {
        return faulted(f);
    }
    TComplex root = dllun::powCom(eps, kRootExponent);
    if (const FpFault f = faultAfter(root.Re, root.Im); f != FpFault::None) {
        return faulted(f);
    }
    // Division by n = 1 is exact, so the vacuum model keeps PowCom's m.
    double re = root.Re / n;
    double im = root.Im / n;
    if (const FpFault f = faultAfter(re, im); f != FpFault::None) {
        return faulted(f);
    }
    return {re, im, FpFault::None};
}

ModelValue sphereIntensities(double sizeFactor, double lambda, double radius,
                             const RefractiveIndex& index) {
    if (index.fault != FpFault::None) {
        return {0.0, 0.0, index.fault};
    }
    TComplex m{index.re, index.im};
    clearFpFlags();
    pinFp(sizeFactor, lambda, radius, m);
    TComplex x{sizeFactor * radius / lambda, 0.0};
    if (const FpFault f = faultAfter(x.Re); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    dllun::ScatteringMatrix s = dllun::scatMatrix(x, m, kDetectionAngle);
    if (const FpFault f = faultAfter(s.s11.Re, s.s12.Re); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    double iv = s.s11.Re - s.s12.Re;
    double ih = s.s11.Re + s.s12.Re;
    if (const FpFault f = faultAfter(iv, ih); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    return {iv, ih, FpFault::None};
}

ModelValue particleIntensities(const Particle& particle, double lambda, double radius) {
    return sphereIntensities(sizeFactor(particle), lambda, radius, particleIndex(particle, lambda));
}

} // namespace velmora
