// SPDX-License-Identifier: GPL-3.0-or-later
// The particle in its medium: a metal sphere whose permittivity follows the
// Drude or Lorentz model on a background eps_inf, in a medium of refractive
// index n. The intensities keep the instrument normalisation of
// ModelIntensities (I_V = S11 - S12, I_H = S11 + S12 at the detection angle);
// with n = 1 and eps_inf = 1 they are ModelIntensities's, bit for bit.
#pragma once

#include "fit/IntensityModel.h"

namespace velmora {

struct Particle {
    double wp;                   // plasma energy, eV
    double gam;                  // damping, eV
    double w0 = kDrudeResonance; // resonance energy: 0 Drude, kLorentsResonance Lorentz
    double epsInf = 1.0;         // background permittivity eps_inf
    double mediumIndex = 1.0;    // refractive index n of the medium
};

// The model of ModelIntensities: a sphere in vacuum with eps_inf = 1.
bool isVacuumModel(const Particle& particle);

// x / (R / lambda): 6.28 in that model, whose tables keep it,
// 2 pi n otherwise.
double sizeFactor(const Particle& particle);

// The sphere's index relative to the medium, m = sqrt(eps) / n, with
//   eps = eps_inf + wp^2 / (w0^2 - E^2 - i gam E)
// (for w0 = 0 the Drude form eps_inf - wp^2 / (E^2 + i gam E)) at the
// photon energy E of the vacuum wavelength lambda (nm). The flags are
// cleared first and tested after each step; fault names the first step that
// faulted.
RefractiveIndex particleIndex(const Particle& particle, double lambda);

// The intensities of one sphere of the given radius (nm) whose relative
// index particleIndex gave, at the size parameter sizeFactor * R / lambda.
// The flags are cleared first and tested after each step.
ModelValue sphereIntensities(double sizeFactor, double lambda, double radius,
                             const RefractiveIndex& index);

// particleIndex and sphereIntensities in one.
ModelValue particleIntensities(const Particle& particle, double lambda, double radius);

} // namespace velmora
