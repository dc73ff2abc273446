// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/SizeDistribution.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {
// exp(-z^2/2) at z = z0 + i * dz for i = 0, 1, ...: each from the last by
// the factor exp(-z dz - dz^2/2), which itself changes by exp(-dz^2) from
// node to node, so that a quadrature takes three exponentials, not one per
// node. Over the at most kMaxSizeNodes products the relative error stays
// below 1e-13.
class GaussianAlongLattice {
public:
    GaussianAlongLattice(double z0, double dz)
        : value_(std::exp(-0.5 * z0 * z0)), factor_(std::exp(-z0 * dz - 0.5 * dz * dz)),
          factorStep_(std::exp(-dz * dz)) {}

    double next() {
        const double v = value_;
        value_ *= factor_;
        factor_ *= factorStep_;
        return v;
    }

private:
    double value_;
    double factor_;
    double factorStep_;
};

// The weight exp(-z^2/2) less its tangent at |z| = kSizeSpan, where the
// Gaussian is `edge`: 0 with its slope there.
double taperedWeight(double gaussian, double z, double edge) {
    return gaussian - edge * (1.0 + kSizeSpan * (kSizeSpan - std::fabs(z)));
}
} // namespace

SizeQuadrature sizeQuadrature(LogNormalSizes sizes) {
    SizeQuadrature q;
    double median = sizes.median;
    double sigma = std::fabs(sizes.sigma);
    clearFpFlags();
    pinFp(median, sigma);
    // ln 0 divides by zero and the logarithm of a negative number or NaN is
    // invalid, as IEEE 754 has it; they are named here because not every C
    // library raises those flags (MinGW's ln 0 raises the invalid one).
    if (median == 0.0) {
        q.fault = FpFault::DivisionByZero;
        return q;
    }
    if (!(median > 0.0)) {
        q.fault = FpFault::InvalidOperation;
        return q;
    }
    double logMedian = std::log(median);
    if (const FpFault f = faultAfter(logMedian); f != FpFault::None) {
        q.fault = f;
        return q;
    }
    if (!std::isfinite(logMedian) || !std::isfinite(sigma)) {
        q.fault = FpFault::InvalidOperation;
        return q;
    }
    q.step = sizeLatticeStep(sigma);
    const double lowest = std::ceil((logMedian - kSizeSpan * sigma) / q.step);
    const double highest = std::floor((logMedian + kSizeSpan * sigma) / q.step);
    q.first = static_cast<std::int64_t>(lowest);
    q.count = static_cast<int>(std::min<double>(highest - lowest + 1.0, kMaxSizeNodes));
    const double firstZ = (static_cast<double>(q.first) * q.step - logMedian) / sigma;
    const double zStep = q.step / sigma;
    GaussianAlongLattice gaussian(firstZ, zStep);
    const double edge = std::exp(-0.5 * kSizeSpan * kSizeSpan);
    double sum = 0.0;
    for (int i = 0; i < q.count; ++i) {
        q.weights[i] = taperedWeight(gaussian.next(), firstZ + i * zStep, edge);
        sum += q.weights[i];
    }
    const double normalisation = 1.0 / sum;
    for (int i = 0; i < q.count; ++i) {
        q.weights[i] *= normalisation;
    }
    return q;
}

double sizeLatticeStep(double sigma) {
    int exponent = 0;
    std::frexp(kSizeStep * std::fabs(sigma), &exponent);
    return std::ldexp(1.0, exponent - 1);
}

double sizeNodeRadius(std::int64_t node, double step) {
    return std::exp(static_cast<double>(node) * step);
}

ModelValue averagedIntensities(const Particle& particle, double lambda, LogNormalSizes sizes) {
    const RefractiveIndex index = particleIndex(particle, lambda);
    const double factor = sizeFactor(particle);
    if (index.fault != FpFault::None || !spreadsSizes(sizes.sigma)) {
        return sphereIntensities(factor, lambda, sizes.median, index);
    }
    const SizeQuadrature q = sizeQuadrature(sizes);
    std::array<ModelValue, kMaxSizeNodes> nodes{};
    int evaluated = 0;
    for (int i = 0; i < q.count; ++i) {
        nodes[i] = sphereIntensities(factor, lambda, sizeNodeRadius(q.first + i, q.step), index);
        evaluated = i + 1;
        if (nodes[i].fault != FpFault::None) {
            break;
        }
    }
    return sumOverNodes<1>(q, {nodes.data()}, static_cast<std::size_t>(evaluated))[0];
}

} // namespace velmora
