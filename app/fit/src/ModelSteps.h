// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of the model of one sphere, written once for ModelIntensities
// (the sphere in vacuum, in its single and batched forms) and the particle
// in its medium (ParticleModel). After each step `check` names the fault it
// raised, if any, and the steps end there; the arithmetic is the same
// whatever `check` does.
#pragma once

#include "DllUn/DllUn.h"
#include "fit/ParticleModel.h"

namespace velmora::steps {

// The size factor of the vacuum model, x = 6.28 R / lambda, and the
// detection angle, 6.28 / 3 rad, as the program has always taken them.
inline constexpr double kVacuumSizeFactor = 6.28;
inline constexpr double kDetectionAngle = 2.0933333333333333;
inline constexpr double kRootExponent = 0.5;

// The relative index m = sqrt(eps) / n of particleIndex: photon energy, D,
// permittivity, PowCom, the division by n (exact for n = 1, so the vacuum
// model keeps PowCom's m).
template <typename Check>
RefractiveIndex particleIndexSteps(const Particle& particle, double lambda, Check check) {
    const double gam = particle.gam;
    const double wp = particle.wp;
    const double w0 = particle.w0;
    double e = photonEnergy(lambda);
    if (const FpFault f = check(e); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    // eps_inf + wp^2 (w0^2 - E^2 + i gam E) / d, d = (w0^2 - E^2)^2 + gam^2 E^2.
    const double detuning = w0 * w0 - e * e;
    double d = detuning * detuning + (e * e) * (gam * gam);
    if (const FpFault f = check(d); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    const double wp2 = wp * wp;
    TComplex eps{particle.epsInf + wp2 * detuning / d, wp2 * gam * e / d};
    if (const FpFault f = check(eps.Re, eps.Im); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    TComplex root = dllun::powCom(eps, kRootExponent);
    if (const FpFault f = check(root.Re, root.Im); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    double re = root.Re / particle.mediumIndex;
    double im = root.Im / particle.mediumIndex;
    if (const FpFault f = check(re, im); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    return {re, im, FpFault::None};
}

// The steps from the scattering matrix, which `scatter` forms, on: the
// intensities I_V = S11 - S12 and I_H = S11 + S12.
template <typename Scatter, typename Check>
ModelValue intensitySteps(Scatter scatter, Check check) {
    dllun::ScatteringMatrix s = scatter();
    if (const FpFault f = check(s.s11.Re, s.s12.Re); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    double iv = s.s11.Re - s.s12.Re;
    double ih = s.s11.Re + s.s12.Re;
    if (const FpFault f = check(iv, ih); f != FpFault::None) {
        return {0.0, 0.0, f};
    }
    return {iv, ih, FpFault::None};
}

// Tests the flags after a step.
struct EachStep {
    template <typename... Values> FpFault operator()(Values&... values) const {
        return faultAfter(values...);
    }
};

} // namespace velmora::steps
