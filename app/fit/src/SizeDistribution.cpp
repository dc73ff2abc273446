// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/SizeDistribution.h"

#include <cmath>

namespace velmora {

namespace {
std::array<SizeNode, kSizeNodes> makeSizeNodes() {
    std::array<SizeNode, kSizeNodes> nodes{};
    constexpr int half = kSizeNodes / 2;
    double sum = 0.0;
    for (int j = 0; j < kSizeNodes; ++j) {
        const double z = (j - half) * kSizeStep;
        nodes[j] = {z, std::exp(-0.5 * z * z)};
        sum += nodes[j].weight;
    }
    for (SizeNode& node : nodes) {
        node.weight /= sum;
    }
    return nodes;
}
} // namespace

const std::array<SizeNode, kSizeNodes>& sizeNodes() {
    static const std::array<SizeNode, kSizeNodes> nodes = makeSizeNodes();
    return nodes;
}

ModelValue averagedIntensities(const Particle& particle, double lambda, LogNormalSizes sizes) {
    const RefractiveIndex index = particleIndex(particle, lambda);
    const double factor = sizeFactor(particle);
    const double sigma = std::fabs(sizes.sigma);
    if (sigma == 0.0) {
        return sphereIntensities(factor, lambda, sizes.median, index);
    }
    double iv = 0.0;
    double ih = 0.0;
    for (const SizeNode& node : sizeNodes()) {
        const ModelValue one =
            sphereIntensities(factor, lambda, sizes.median * std::exp(sigma * node.z), index);
        if (one.fault != FpFault::None) {
            return one;
        }
        iv += node.weight * one.iv;
        ih += node.weight * one.ih;
    }
    // Sums of finite non-negative terms can only overflow.
    if (!std::isfinite(iv) || !std::isfinite(ih)) {
        return {0.0, 0.0, FpFault::Overflow};
    }
    return {iv, ih, FpFault::None};
}

} // namespace velmora
