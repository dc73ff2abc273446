// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/RunModel.h"

#include "fit/SizeDistribution.h"

namespace velmora {

bool isVacuumSphere(const RunParameters& p, double sigma) {
    return p.MediumIndex == 1.0 && p.EpsInf == 1.0 && sigma == 0.0;
}

bool usesVacuumSphere(const RunParameters& p) {
    return p.Sigma.size() == 1 && isVacuumSphere(p, p.Sigma.front());
}

Particle runParticle(const RunParameters& p, double gam, double wp) {
    return {.wp = wp, .gam = gam, .w0 = p.W0, .epsInf = p.EpsInf, .mediumIndex = p.MediumIndex};
}

ModelValue runModel(const RunParameters& p, double lambda, double radius, double gam, double wp,
                    double sigma) {
    if (isVacuumSphere(p, sigma)) {
        return ModelIntensities({lambda, radius, gam, wp, p.W0});
    }
    return averagedIntensities(runParticle(p, gam, wp), lambda, {radius, sigma});
}

} // namespace velmora
