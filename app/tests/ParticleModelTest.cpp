// SPDX-License-Identifier: GPL-3.0-or-later
// The particle in its medium and the spread of sizes: the vacuum model's
// bits kept, values in a medium against an independent series, and the
// accuracy of the size average's quadrature against a much finer rule.
#include "fit/ParticleModel.h"
#include "fit/SizeDistribution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace velmora {
namespace {

constexpr std::array<double, 4> kLambdas = {457.9, 514.5, 568.2, 647.1};

// Silver-like particles in water, as the synthetic measurement has them.
constexpr Particle kSilverInWater{
    .wp = 9.0, .gam = 0.4, .w0 = kDrudeResonance, .epsInf = 4.0, .mediumIndex = 1.33};

std::uint64_t bits(double v) {
    return std::bit_cast<std::uint64_t>(v);
}

TEST(ParticleModel, VacuumModelKeepsModelIntensitiesBits) {
    int compared = 0;
    for (const double w0 : {kDrudeResonance, kLorentsResonance}) {
        for (const auto& [wp, gam] : {std::pair{5.6, 1.0}, {3.0, 0.05}, {9.0, 2.5}, {0.0, 1.0}}) {
            const Particle particle{.wp = wp, .gam = gam, .w0 = w0};
            for (const double lambda : {457.9, 514.5, 568.2, 647.1, 300.0, 1064.0}) {
                for (double radius = 0.5; radius <= 400.0; radius *= 1.37) {
                    const ModelValue vacuum = ModelIntensities({lambda, radius, gam, wp, w0});
                    const ModelValue direct = particleIntensities(particle, lambda, radius);
                    const ModelValue monodisperse =
                        averagedIntensities(particle, lambda, {radius, 0.0});
                    for (const ModelValue& v : {direct, monodisperse}) {
                        ASSERT_EQ(bits(v.iv), bits(vacuum.iv)) << lambda << " nm, " << radius;
                        ASSERT_EQ(bits(v.ih), bits(vacuum.ih)) << lambda << " nm, " << radius;
                        ASSERT_EQ(v.fault, vacuum.fault);
                    }
                    ++compared;
                }
            }
        }
    }
    EXPECT_GT(compared, 500);
}

TEST(ParticleModel, InMediumAgreesWithIndependentSeries) {
    // |S1|^2 and |S2|^2 with x = 2 pi n R / lambda and m = sqrt(eps) / n,
    // from app/tests/synthetic/make-lognormal-measurement --reference (our
    // own series in mpmath at 30 digits).
    struct Case {
        double lambda, radius, iv, ih;
    };
    for (const Case& c : {Case{457.9, 20.0, 0.020028271012669756, 0.0051857939167149943},
                          Case{514.5, 60.0, 1.4885927422793396, 0.43694824176032495},
                          Case{647.1, 140.0, 0.2773837827953196, 1.9763723669567115}}) {
        const ModelValue v = particleIntensities(kSilverInWater, c.lambda, c.radius);
        ASSERT_EQ(v.fault, FpFault::None);
        EXPECT_NEAR(v.iv / c.iv, 1.0, 1e-11) << c.lambda << " nm, " << c.radius << " nm";
        EXPECT_NEAR(v.ih / c.ih, 1.0, 1e-11) << c.lambda << " nm, " << c.radius << " nm";
    }
}

// The log-normal average by composite 8-point Gauss-Legendre on panels of
// width 0.25 in z over |z| <= 9, with the normal density as weight.
ModelValue finerAverage(const Particle& particle, double lambda, LogNormalSizes sizes) {
    // Abramowitz & Stegun, table 25.4, n = 8.
    constexpr std::array<double, 4> x = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                         0.9602898564975363};
    constexpr std::array<double, 4> w = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                         0.1012285362903763};
    constexpr double half = 0.125;
    double iv = 0.0;
    double ih = 0.0;
    for (double centre = -9.0 + half; centre < 9.0; centre += 2.0 * half) {
        for (int i = 0; i < 4; ++i) {
            for (const double z : {centre - half * x[i], centre + half * x[i]}) {
                const double weight =
                    half * w[i] * std::exp(-0.5 * z * z) / std::sqrt(2.0 * std::numbers::pi);
                const ModelValue one =
                    particleIntensities(particle, lambda, sizes.median * std::exp(sizes.sigma * z));
                iv += weight * one.iv;
                ih += weight * one.ih;
            }
        }
    }
    return {iv, ih, FpFault::None};
}

TEST(SizeDistribution, QuadratureMatchesMuchFinerRule) {
    // The rule integrates the log-normal moments <R^k> = median^k
    // exp(k^2 sigma^2 / 2), the R^6 of small spheres among them; what it
    // misses is the tail beyond its span, exp(-(7 - k sigma)^2 / 2) at most.
    // The lattice's nodes lie anywhere against the median: medians across
    // one lattice step.
    for (const double sigma : {0.05, 0.3}) {
        for (double median = 40.0; median < 40.0 * std::exp(kSizeStep * sigma);
             median *= std::exp(0.13 * kSizeStep * sigma)) {
            const SizeQuadrature q = sizeQuadrature({median, sigma});
            ASSERT_EQ(q.fault, FpFault::None);
            ASSERT_TRUE(q.count >= 80 && q.count < kMaxSizeNodes) << q.count;
            for (const int k : {0, 1, 2, 6}) {
                double moment = 0.0;
                for (int i = 0; i < q.count; ++i) {
                    moment +=
                        q.weights[i] * std::pow(sizeNodeRadius(q.first + i, q.step) / median, k);
                }
                EXPECT_NEAR(moment / std::exp(0.5 * k * k * sigma * sigma), 1.0, 1e-7)
                    << "sigma " << sigma << ", median " << median << ", k " << k;
            }
        }
    }
    // The intensities: radii 5-150 nm, sigma up to 0.3, the four wavelengths,
    // the default particle and silver-like particles in water.
    double worst = 0.0;
    for (const Particle& particle : {Particle{.wp = 5.6, .gam = 1.0}, kSilverInWater}) {
        for (const double lambda : kLambdas) {
            for (const double median : {5.0, 30.0, 60.0, 90.0, 120.0, 150.0}) {
                // 0.15625: the lattice's coarsest step in z, 0.2.
                for (const double sigma : {0.1, 0.15625, 0.2, 0.3}) {
                    const ModelValue rule = averagedIntensities(particle, lambda, {median, sigma});
                    const ModelValue finer = finerAverage(particle, lambda, {median, sigma});
                    ASSERT_EQ(rule.fault, FpFault::None);
                    worst = std::max({worst, std::fabs(rule.iv / finer.iv - 1.0),
                                      std::fabs(rule.ih / finer.ih - 1.0)});
                }
            }
        }
    }
    EXPECT_LT(worst, 1e-7);
    RecordProperty("worst_relative_error", std::to_string(worst));
}

} // namespace
} // namespace velmora
