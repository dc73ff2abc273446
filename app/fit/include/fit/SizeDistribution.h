// SPDX-License-Identifier: GPL-3.0-or-later
// A spread of sizes: radii distributed log-normally by number, ln R normal
// around ln(median) with standard deviation sigma, and the model
// intensities averaged over that distribution.
#pragma once

#include "fit/ParticleModel.h"

#include <array>

namespace velmora {

struct LogNormalSizes {
    double median; // nm
    double sigma;  // standard deviation of ln R; its sign does not matter
};

// The quadrature of the average: the trapezoidal rule in z = ln(R/median)/sigma
// with step kSizeStep over |z| <= kSizeSpan, weights exp(-z^2/2) normalised
// to sum 1. Evenly spaced nodes resolve the oscillation of the intensities
// with the radius in the distribution's upper tail, where Gauss-Hermite
// nodes lie too far apart; for integrands that are analytic near the real
// axis the rule converges geometrically in 1/step.
constexpr double kSizeStep = 0.2;
constexpr double kSizeSpan = 7.0;
constexpr int kSizeNodes = 71; // 2 * kSizeSpan / kSizeStep + 1

struct SizeNode {
    double z;      // ln(R / median) / sigma
    double weight; // sums to 1 over the nodes
};
const std::array<SizeNode, kSizeNodes>& sizeNodes();

// The number-weighted average of the intensities over the distribution:
// sum of weight * I(median * exp(sigma * z)). With sigma = 0 exactly the
// intensities of one sphere of the median radius, particleIntensities's
// bits. A fault of any node is the average's fault (the node evaluations
// clear and test the flags step by step).
ModelValue averagedIntensities(const Particle& particle, double lambda, LogNormalSizes sizes);

} // namespace velmora
