// SPDX-License-Identifier: GPL-3.0-or-later
// The model a run fits, one function for both engines: the sphere in vacuum
// of one size (ModelIntensities, the program's described model) when the
// medium index and eps_inf are 1 and the spread is 0, and otherwise the
// particle in its medium averaged over the log-normal spread of sizes.
#pragma once

#include "fit/ParticleModel.h"
#include "fit/RunParameters.h"

namespace velmora {

// Whether every model value of the run is ModelIntensities's: n = 1,
// eps_inf = 1 and no spread searched.
bool usesVacuumSphere(const RunParameters& p);

// Whether the run's model values of spread sigma are ModelIntensities's:
// n = 1, eps_inf = 1 and sigma = 0.
bool isVacuumSphere(const RunParameters& p, double sigma);

// The particle of the run with the given damping and plasma energy (eV).
Particle runParticle(const RunParameters& p, double gam, double wp);

// The model intensities of radius (nm; the median of a spread) at the
// wavelength lambda (nm) with damping gam, plasma energy wp and spread
// sigma. ModelIntensities's value for the sphere in vacuum of one size,
// averagedIntensities's otherwise.
ModelValue runModel(const RunParameters& p, double lambda, double radius, double gam, double wp,
                    double sigma);

} // namespace velmora
