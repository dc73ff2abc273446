// SPDX-License-Identifier: GPL-3.0-or-later
// The polarisation ratio (H - V) / (H + V) of a measurement and of the model,
// which mode "G, R (II)" matches wavelength by wavelength.
#pragma once

#include "fit/IntensityModel.h"

namespace velmora {

// The measured ratio; 0 when H - V or H + V is 0. Throws RunError when the
// arithmetic faults.
double measuredPolRatio(double v, double h);

struct PolarizationMismatch {
    double value; // |measured ratio - model ratio|
    FpFault fault;
};

// How far the model's ratio lies from the measured one, a pure function of
// its arguments: the model evaluation's fault first, then the ratio (which
// has no guard: I_H + I_V = 0 faults) and the difference.
PolarizationMismatch polarizationMismatch(double measuredRatio, const ModelValue& model);

} // namespace velmora
