// SPDX-License-Identifier: GPL-3.0-or-later
// The measure of mode "G, R (III)": how well one candidate's model explains
// a time point's intensities and polarisation ratios together.
#pragma once

#include "fit/Match.h"

#include <array>

namespace velmora {

struct CombinedMatch {
    double mean;    // MatchIntensities's concentration factor
    double vx;      // MatchIntensities's non-agreement factor, %
    double measure; // what the search minimises
    FpFault fault;
};

// measure = 8 V / (1 + V) + sum over k of (Pm_k - P_k)^2, V = 8 (Vx / 100)^2:
// the least sum over the concentration C of the squared intensity residuals
// measured_c / (C * model_c) - 1 (eight channels), plus the squared
// mismatches of the four polarisation ratios, the measured ones given. It is
// the sum of squares of the residuals that the refinement of the mode
// minimises, at the best concentration. A pure function of its arguments;
// the faults come in MatchIntensities's order, then the ratios' in
// wavelength order, then the sum's.
CombinedMatch combinedMatch(const Measured& measured,
                            const std::array<double, kWavelengths>& measuredRatios,
                            const std::array<ModelValue, kWavelengths>& models);

} // namespace velmora
