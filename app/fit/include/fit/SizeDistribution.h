// SPDX-License-Identifier: GPL-3.0-or-later
// A spread of sizes: radii distributed log-normally by number, ln R normal
// around ln(median) with standard deviation sigma, and the model
// intensities averaged over that distribution.
#pragma once

#include "fit/ParticleModel.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace velmora {

struct LogNormalSizes {
    double median; // nm
    double sigma;  // standard deviation of ln R; its sign does not matter
};

// The quadrature of the average: the trapezoidal rule in
// z = ln(R / median) / sigma over |z| <= kSizeSpan, its nodes on a lattice
// fixed in ln R, node k at ln R = k * h, not on the median. The lattice step
// h is kSizeStep * |sigma| rounded down to a power of two, so the step in z
// lies in (kSizeStep / 2, kSizeStep], k * h is exact, and the lattice of a
// sigma holds every node of the lattices of larger sigmas: the averages of
// every median and sigma of a search share their spheres, which the fast
// engine computes once per node. The weights are exp(-z^2/2) less its
// tangent at |z| = kSizeSpan, so that they reach 0 with their slope there
// and a node entering or leaving the span as the median or sigma moves
// changes the average smoothly; normalised to sum 1. Evenly spaced nodes
// resolve the oscillation of the intensities with the radius in the
// distribution's upper tail, where Gauss-Hermite nodes lie too far apart;
// for integrands that are analytic near the real axis the rule converges
// geometrically in 1/step, wherever the lattice lies.
constexpr double kSizeStep = 0.2;
constexpr double kSizeSpan = 8.0;
// At most this many lattice nodes lie within the span (2 * kSizeSpan / step
// in z, plus 1).
constexpr int kMaxSizeNodes = 162;

// Below this |sigma| the spread is the single sphere of the median radius:
// it would move the intensities by a relative sigma^2 x^2 / 2, less than
// 1e-16 for every size parameter x below 1e4, and the lattice indices
// would no longer be exact.
constexpr double kNegligibleSigma = 1e-12;

// Whether sigma spreads the sizes (NaN does, and faults).
inline bool spreadsSizes(double sigma) {
    return !(sigma < kNegligibleSigma && sigma > -kNegligibleSigma);
}

struct SizeQuadrature {
    FpFault fault = FpFault::None; // of ln(median), or a median or sigma not finite
    double step = 0.0;             // of the lattice in ln R, a power of two
    std::int64_t first = 0;        // the lattice index of the first node
    int count = 0;                 // nodes first .. first + count - 1
    std::array<double, kMaxSizeNodes> weights{};
};

// The nodes and weights of a spreading distribution. A median that is not
// above 0 faults as its logarithm does; a median or sigma that is not
// finite is an invalid operation. The flags are cleared first.
SizeQuadrature sizeQuadrature(LogNormalSizes sizes);

// The lattice step of a sigma: kSizeStep * |sigma| rounded down to a power
// of two.
double sizeLatticeStep(double sigma);

// The radius of lattice node k, exp(k * step): the same bits for every
// average that shares the node, whichever sigma's lattice names it.
double sizeNodeRadius(std::int64_t node, double step);

// The weighted sums of the spheres of a quadrature's nodes, in the order of
// the nodes, for several columns of node values at once (one per
// wavelength in the fast engine's table), each column's sums exactly those
// of that column alone. The quadrature's own fault comes first, then a
// column's first node that faulted (its values are 0), and a sum that
// leaves the finite range is an overflow. Every column holds `nodes` values:
// all count of them, or those up to a fault.
template <std::size_t Columns>
std::array<ModelValue, Columns> sumOverNodes(const SizeQuadrature& quadrature,
                                             const std::array<const ModelValue*, Columns>& columns,
                                             std::size_t nodes) {
    std::array<ModelValue, Columns> sums{};
    if (quadrature.fault != FpFault::None) {
        sums.fill({0.0, 0.0, quadrature.fault});
        return sums;
    }
    for (std::size_t i = 0; i < nodes; ++i) {
        const double weight = quadrature.weights[i];
        for (std::size_t c = 0; c < Columns; ++c) {
            const ModelValue& one = columns[c][i];
            if (sums[c].fault == FpFault::None) {
                sums[c].fault = one.fault;
            }
            sums[c].iv += weight * one.iv;
            sums[c].ih += weight * one.ih;
        }
    }
    for (ModelValue& sum : sums) {
        if (sum.fault != FpFault::None) {
            sum = {0.0, 0.0, sum.fault};
        } else if (!std::isfinite(sum.iv) || !std::isfinite(sum.ih)) {
            // Sums of finite non-negative terms can only overflow.
            sum = {0.0, 0.0, FpFault::Overflow};
        }
    }
    return sums;
}

// The number-weighted average of the intensities over the distribution.
// A refractive index that faulted is the average's fault before anything
// else. Without a spread exactly the intensities of one sphere of the median
// radius, particleIntensities's bits.
ModelValue averagedIntensities(const Particle& particle, double lambda, LogNormalSizes sizes);

} // namespace velmora
