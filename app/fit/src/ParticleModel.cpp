// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/ParticleModel.h"

#include "ModelSteps.h"

#include <numbers>

namespace velmora {

bool isVacuumModel(const Particle& particle) {
    return particle.epsInf == 1.0 && particle.mediumIndex == 1.0;
}

double sizeFactor(const Particle& particle) {
    return isVacuumModel(particle) ? steps::kVacuumSizeFactor
                                   : 2.0 * std::numbers::pi * particle.mediumIndex;
}

RefractiveIndex particleIndex(const Particle& particle, double lambda) {
    Particle pinned = particle;
    clearFpFlags();
    pinFp(lambda, pinned.gam, pinned.wp, pinned.w0, pinned.epsInf, pinned.mediumIndex);
    return steps::particleIndexSteps(pinned, lambda, steps::EachStep{});
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
    return steps::intensitySteps([&] { return dllun::scatMatrix(x, m, steps::kDetectionAngle); },
                                 steps::EachStep{});
}

ModelValue particleIntensities(const Particle& particle, double lambda, double radius) {
    return sphereIntensities(sizeFactor(particle), lambda, radius, particleIndex(particle, lambda));
}

} // namespace velmora
