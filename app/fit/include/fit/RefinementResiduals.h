// SPDX-License-Identifier: GPL-3.0-or-later
// The residuals whose sum of squares a refinement minimises, one per measure
// that the modes minimise on their grids:
//
// - the intensities (modes "R", "G, R (I)" and the radius pass of
//   "G, R (II)", which minimise Vx): e_c = measured_c / (C * model_c) - 1
//   over the eight channels, with the concentration C free. For fixed model
//   parameters the least sum over C is 8 V / (1 + V), V = 8 (Vx / 100)^2, a
//   rising function of Vx: the refined model parameters minimise Vx, and the
//   refined C is Mean * (1 + V), Mean being MatchIntensities's;
// - the polarisation ratios (the damping pass of "G, R (II)", which
//   minimises |Pm - P| at one wavelength): e_k = Pm_k - P_k, the measured
//   ratio (measuredPolRatio) less the model's (I_H - I_V) / (I_H + I_V),
//   over the four wavelengths. The concentration does not enter;
// - both together (mode "G, R (III)"): the eight intensity residuals and the
//   four ratio residuals stacked.
#pragma once

#include "fit/Match.h"
#include "fit/Refinement.h"
#include "fit/SizeDistribution.h"

#include <vector>

namespace velmora {

// The values a refinement may free, in the order they take in p.
enum class FreeValue { Radius, Concentration, PlasmaEnergy, Damping, Sigma };

// One time point: what was measured, and the model with its fixed values
// (the free ones are taken from p).
struct TimePointModel {
    Measured measured;
    std::array<double, kWavelengths> lambda;
    Particle particle;
    LogNormalSizes sizes;
    double concentration;
    std::vector<FreeValue> free;
};

// The model with the free values of p put in.
TimePointModel withValues(const TimePointModel& model, std::span<const double> p);

// The averaged model intensities of the four wavelengths.
std::array<ModelValue, kWavelengths> modelValues(const TimePointModel& model);

constexpr int kIntensityResiduals = 2 * kWavelengths;
constexpr int kRatioResiduals = kWavelengths;

// e_c = measured_c / (C * model_c) - 1, V before H per wavelength; false
// when a model value faults.
bool intensityResiduals(const Measured& measured,
                        const std::array<ModelValue, kWavelengths>& models, double concentration,
                        std::span<double> out);

// e_k = measuredPolRatio(V_k, H_k) - (I_H - I_V) / (I_H + I_V); false when
// a model value faults.
bool ratioResiduals(const Measured& measured, const std::array<ModelValue, kWavelengths>& models,
                    std::span<double> out);

// The residual functions of the two measures over the model's free values.
ResidualFunction intensityMeasure(const TimePointModel& model);
ResidualFunction ratioMeasure(const TimePointModel& model);

// Mode "G, R (III)": the intensity residuals followed by the ratio
// residuals, kCombinedResiduals in all; at the best concentration their sum
// of squares is combinedMatch's measure.
constexpr int kCombinedResiduals = kIntensityResiduals + kRatioResiduals;
ResidualFunction combinedMeasure(const TimePointModel& model);

// How the combined residuals share the eight intensities' noises: an
// intensity residual is its intensity's relative noise, a ratio residual
// (1 - Pm_k^2) / 2 times the H noise less the V noise of its wavelength
// (to first order). Refining with this map keeps the standard errors from
// counting the intensities twice.
ResidualNoise combinedNoise(const Measured& measured);

} // namespace velmora
