// SPDX-License-Identifier: GPL-3.0-or-later
// The fast engine's table of averaged model values against the direct
// engine's averagedIntensities, entry by entry and bit for bit: random
// particles, radius grids and widths (0 and negligible ones among them),
// and the faults of indices, medians, nodes and grid points.
#include "fit/fast/SpreadTable.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

namespace velmora {
namespace {

constexpr std::array<double, kWavelengths> kLambdas = {457.9, 514.5, 568.2, 647.1};

// Every entry of the table is averagedIntensities of its radius, sigma and
// wavelength; returns the entries compared.
int expectTableIsAverages(const Particle& particle, const std::array<double, kWavelengths>& lambdas,
                          const GridTable& radii, int first, int last,
                          const std::vector<double>& sigmas, WorkerPool& pool) {
    const SpreadTable table(particle, lambdas, radii, first, last, sigmas, pool);
    int compared = 0;
    for (std::size_t s = 0; s < sigmas.size(); ++s) {
        for (int j = first; j <= last; ++j) {
            for (int k = 0; k < kWavelengths; ++k) {
                const ModelValue got = table.at(j, static_cast<int>(s), k);
                const GridPoint radius = radii.point(j);
                const ModelValue want =
                    radius.fault != FpFault::None
                        ? ModelValue{0.0, 0.0, radius.fault}
                        : averagedIntensities(particle, lambdas[k], {radius.value, sigmas[s]});
                EXPECT_EQ(std::bit_cast<std::uint64_t>(got.iv),
                          std::bit_cast<std::uint64_t>(want.iv))
                    << "radius " << radius.value << ", sigma " << sigmas[s] << ", k " << k;
                EXPECT_EQ(std::bit_cast<std::uint64_t>(got.ih),
                          std::bit_cast<std::uint64_t>(want.ih))
                    << "radius " << radius.value << ", sigma " << sigmas[s] << ", k " << k;
                EXPECT_EQ(got.fault, want.fault)
                    << "radius " << radius.value << ", sigma " << sigmas[s] << ", k " << k;
                ++compared;
            }
        }
    }
    return compared;
}

TEST(SpreadTable, EqualsAveragedIntensitiesOverRandomParticlesGridsAndWidths) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    WorkerPool pool(2);
    int compared = 0;
    for (int trial = 0; trial < 6; ++trial) {
        const Particle particle{.wp = 2.0 + 8.0 * uniform(random),
                                .gam = 0.05 + 2.0 * uniform(random),
                                .w0 = trial % 3 == 2 ? kLorentsResonance : kDrudeResonance,
                                .epsInf = trial % 2 == 0 ? 1.0 : 1.0 + 9.0 * uniform(random),
                                .mediumIndex = trial % 2 == 0 ? 1.0 : 1.0 + 0.6 * uniform(random)};
        // Steps small and large against the lattice, so that neighbouring
        // radii share most nodes, a few or none.
        const double rmin = 2.0 + 40.0 * uniform(random);
        const double dR = trial < 3 ? 0.05 + 0.5 * uniform(random) : 2.0 + 10.0 * uniform(random);
        const GridTable radii(rmin, dR, 0, 14);
        std::vector<double> sigmas = {0.0, 0.3 * uniform(random), 1e-13, -0.1, 0.02, 0.3};
        std::shuffle(sigmas.begin(), sigmas.end(), random);
        compared += expectTableIsAverages(particle, kLambdas, radii, 1, 14, sigmas, pool);
    }
    EXPECT_EQ(compared, 6 * 6 * 14 * kWavelengths);
}

TEST(SpreadTable, KeepsTheFaultsOfIndicesMediansNodesAndGridPoints) {
    WorkerPool pool(1);
    const std::vector<double> sigmas = {0.0, 0.25};
    // The Lorentz resonance at 457.9 nm without damping: the index of that
    // wavelength is 0 / 0, the other three are sound.
    const Particle pole{.wp = 3.0, .gam = 0.0, .w0 = photonEnergy(457.9)};
    // Medians of 0 and below: ln(median) faults when the sizes spread.
    const GridTable throughZero(-2.0, 1.0, 0, 4);
    // Medians of 1e-23 nm and so: their spheres are sound, but the series
    // of a sphere below about 4e-24 nm overflows, so their lowest nodes
    // fault.
    const GridTable tinyMedians(0.5e-23, 0.5e-23, 0, 3);
    // Medians near the largest double, whose upper nodes are infinite, and
    // grid points whose own arithmetic overflows.
    const GridTable overflowing(1.2e308, 2e307, 0, 6);
    for (const Particle& particle : {pole, Particle{.wp = 9.0, .gam = 0.4, .epsInf = 4.0}}) {
        expectTableIsAverages(particle, kLambdas, throughZero, 0, 4, sigmas, pool);
        expectTableIsAverages(particle, kLambdas, tinyMedians, 0, 3, sigmas, pool);
        expectTableIsAverages(particle, kLambdas, overflowing, 0, 6, sigmas, pool);
    }
    // The cases above fault as they are meant to, not by accident.
    const SpreadTable table(pole, kLambdas, throughZero, 0, 4, sigmas, pool);
    EXPECT_EQ(table.at(2, 1, 0).fault, FpFault::InvalidOperation); // the index
    EXPECT_EQ(table.at(2, 1, 1).fault, FpFault::DivisionByZero);   // ln 0
    EXPECT_EQ(table.at(1, 1, 1).fault, FpFault::InvalidOperation); // ln(-1)
    EXPECT_EQ(table.at(3, 1, 1).fault, FpFault::None);
    const SpreadTable tiny(pole, kLambdas, tinyMedians, 0, 3, sigmas, pool);
    EXPECT_EQ(tiny.at(1, 0, 1).fault, FpFault::None);
    EXPECT_EQ(tiny.at(1, 1, 1).fault, FpFault::Overflow);
    const SpreadTable huge(pole, kLambdas, overflowing, 0, 6, sigmas, pool);
    EXPECT_NE(huge.at(0, 1, 1).fault, FpFault::None);
    EXPECT_EQ(huge.at(6, 0, 1).fault, FpFault::Overflow); // the grid point
}

} // namespace
} // namespace velmora
