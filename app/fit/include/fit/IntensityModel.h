// SPDX-License-Identifier: GPL-3.0-or-later
// The polarised intensities that Mie theory predicts for one metal sphere:
// the permittivity of the selected dielectric model, its square root as the
// refractive index (PowCom) and the scattering matrix at 120 degrees
// (ScatMatrix).
#pragma once

#include "fit/FpFault.h"

#include <span>

namespace velmora {

// The resonance energy W0 (eV) of the dielectric models.
constexpr double kDrudeResonance = 0.0;
constexpr double kLorentsResonance = 2.54;

// The photon energy in eV of a vacuum wavelength in nm: h*c in J*nm over the
// elementary charge in C. Not checked for faults.
inline double photonEnergy(double lambda) {
    return 1.986447461038579e-16 / (1.60217733e-19 * lambda);
}

struct ModelParams {
    double lambda; // wavelength, nm
    double radius; // nm
    double gam;    // damping, eV
    double wp;     // plasma energy, eV
    double w0;     // resonance energy of the dielectric model, eV
};

struct ModelValue {
    double iv;     // I_V = S11 - S12
    double ih;     // I_H = S11 + S12
    FpFault fault; // the first fault of the evaluation; iv and ih are 0 then
};

// A pure function of its parameters. The flags are tested
// after each step (photon energy, D, permittivity, PowCom, size parameter,
// ScatMatrix, the two intensities); the evaluation ends at the first step
// that faults. Allocates nothing.
ModelValue ModelIntensities(const ModelParams& params);

// The refractive index of the steps before the size parameter (photon
// energy, D, permittivity, PowCom), computed as ModelIntensities computes
// it, with the flags cleared first and tested after each step: fault names
// the first step that faulted (m is then unset), exactly as
// ModelIntensities would name it.
struct RefractiveIndex {
    double re;
    double im;
    FpFault fault;
};
RefractiveIndex refractiveIndexOf(double lambda, double gam, double wp, double w0);

// ModelIntensities of params[i] into out[i] for every i, with the flags
// cleared once before the batch and tested once after it instead of at
// every step; an evaluation whose step leaves the finite range ends there.
// Only a batch that raised a fault or ended an evaluation early is
// evaluated again, one parameter set after another and step by step, so
// every value and every fault is exactly ModelIntensities's. out holds at
// least params.size().
void modelIntensitiesBatch(std::span<const ModelParams> params, std::span<ModelValue> out);

// modelIntensitiesBatch for parameter sets of one wavelength and radius,
// whose refractive indices refractiveIndexOf has given in indices[i]: an
// index that faulted is the evaluation's fault; the others take the size
// parameter, the scattering matrix and the intensities, the matrix's steps
// that depend on the size alone formed once for all of them. The flags are
// cleared once and tested once; a batch that raised a fault or ended an
// evaluation early is evaluated again by ModelIntensities, one parameter
// set after another, so every value and every fault is exactly
// ModelIntensities's.
void modelIntensitiesOfOneSize(std::span<const ModelParams> params,
                               std::span<const RefractiveIndex> indices, std::span<ModelValue> out);

} // namespace velmora
