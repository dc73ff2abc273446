// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/RunParameters.h"

#include "fit/IntensityModel.h"
#include "fit/Search.h"
#include "fit/SearchGeometry.h"

namespace velmora {

std::vector<double> sigmaGrid(const Range& sigma) {
    if (sigma.lowest == sigma.highest) {
        return {sigma.lowest};
    }
    const double step = gridStep(sigma.lowest, sigma.highest, kSigmaSteps);
    std::vector<double> grid;
    for (int s = 0; s <= kSigmaSteps; ++s) {
        grid.push_back(gridValue(sigma.lowest, s, step));
    }
    return grid;
}

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
    p.MediumIndex = s.mediumIndex;
    p.EpsInf = s.epsInf;
    p.Sigma = sigmaGrid(s.sigma);
    return p;
}

} // namespace velmora
