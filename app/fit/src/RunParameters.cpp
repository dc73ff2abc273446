// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/RunParameters.h"

#include "fit/IntensityModel.h"
#include "fit/Search.h"

namespace velmora {

RunParameters runParameters(const FitSettings& s) {
    RunParameters p;
    for (int k = 1; k <= kWavelengths; ++k) {
        p.Lambda[k] = s.wavelengths[k - 1];
    }
    p.Rmin = s.radius.rmin;
    p.Rmax = s.radius.rmax;
    p.WpMax = s.jointPlasmaEnergy.highest;
    p.WpMin = s.jointPlasmaEnergy.lowest;
    p.GamMax = s.jointDamping.highest;
    p.GamMin = s.jointDamping.lowest;
    p.N = s.radius.steps;
    p.dR = gridStep(p.Rmin, p.Rmax, p.N);
    p.W0 = s.model == Dielectric::Lorents ? kLorentsResonance : kDrudeResonance;
    return p;
}

} // namespace velmora
