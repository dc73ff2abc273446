// SPDX-License-Identifier: GPL-3.0-or-later
// MatchIntensities: how well one parameter set's model intensities explain a
// time point's eight measured intensities.
#pragma once

#include "fit/FitSettings.h"
#include "fit/FpFault.h"
#include "fit/IntensityModel.h"

#include <array>

namespace velmora {

// The measured V and H intensities of one time point, per wavelength.
struct Measured {
    std::array<double, kWavelengths> iv{};
    std::array<double, kWavelengths> ih{};
};

struct MatchValue {
    double mean; // the concentration factor: the mean of the measured/model ratios
    double err;  // the root of the summed squared deviations from mean, over 8
    double vx;   // the non-agreement factor in percent; 100 when mean is 0
    FpFault fault;
};

// The agreement of the measured intensities with the model values of the
// four wavelengths, a pure function of its arguments. The faults come in the
// order the run computes: for each wavelength in turn the fault of its model
// evaluation, then its V ratio, then its H ratio; then the sums, the root and
// Vx.
MatchValue MatchIntensities(const Measured& measured,
                            const std::array<ModelValue, kWavelengths>& models);

} // namespace velmora
