// SPDX-License-Identifier: GPL-3.0-or-later
// The fast engine's table of averaged model values against the direct
// engine's averagedIntensities, entry by entry and bit for bit: random
// particles, radius grids and widths (0 and negligible ones among them),
// and the faults of indices, medians, nodes and grid points; and fits with
// spreads, whose fast runs take their model values from the tables.
#include "fit/fast/SpreadTable.h"
#include "RecordingView.h"
#include "TestSupport.h"
#include "run/FitRun.h"

#include <gtest/gtest.h>

#include <algorithm>
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

std::vector<std::uint64_t> bitsOf(const std::vector<double>& values) {
    std::vector<std::uint64_t> bits;
    for (double v : values) {
        bits.push_back(std::bit_cast<std::uint64_t>(v));
    }
    return bits;
}

// Mode R with spreads searched from 0 to 0.3: the sphere in vacuum on
// spheres of one size (spread 0 is ModelIntensities's sphere, the others the
// tables' averages, and the prediction is at the middle spread, which need
// not be one of the grid's), and silver-like particles in water spread by
// 0.15, where the spreads win.
TEST(SpreadTable, FastFitsWithSpreadsAreTheDirectOnes) {
    test::ScratchDir dir;
    const std::string oneSize = dir.file("one-size.txt");
    std::vector<test::SyntheticPoint> points;
    for (int t = 0; t < 5; ++t) {
        points.push_back({2.0 * t, 40.0 + 7.0 * t, 1000.0});
    }
    test::writeMeasurement(oneSize, points);
    const std::string spread = dir.file("spread.txt");
    const std::string lines = test::readBytes(VELMORA_SYNTHETIC_DIR "/LognormalSilverInWater.txt");
    std::size_t end = 0;
    for (int i = 0; i < 5; ++i) {
        end = lines.find('\n', end) + 1;
    }
    test::writeText(spread, lines.substr(0, end));

    FitSettings vacuum;
    vacuum.mode = FitMode::R;
    vacuum.model = Dielectric::Drude;
    vacuum.sigma = {0.0, 0.3};
    FitSettings water = vacuum;
    water.mediumIndex = 1.33;
    water.epsInf = 4.0;
    water.plasmaEnergy = 9.0;
    water.damping = 0.4;
    for (const auto& [settings, path] : {std::pair{vacuum, oneSize}, std::pair{water, spread}}) {
        SCOPED_TRACE(path);
        test::RecordingView directView;
        test::RecordingView fastView;
        const FitResult d = runFit(settings, path, directView, EngineKind::Direct);
        const FitResult f = runFit(settings, path, fastView, EngineKind::Fast);
        ASSERT_TRUE(d.completed);
        EXPECT_EQ(bitsOf(f.Rfit), bitsOf(d.Rfit));
        EXPECT_EQ(bitsOf(f.Conc), bitsOf(d.Conc));
        EXPECT_EQ(bitsOf(f.VxFit), bitsOf(d.VxFit));
        EXPECT_EQ(bitsOf(f.SigmaFit), bitsOf(d.SigmaFit));
        EXPECT_EQ(f.ResultTable, d.ResultTable);
        EXPECT_EQ(fastView.calls(), directView.calls());
        ASSERT_EQ(f.Model.size(), d.Model.size());
        for (std::size_t row = 0; row < d.Model.size(); ++row) {
            for (std::size_t c = 0; c < d.Model[row].size(); ++c) {
                ASSERT_EQ(std::bit_cast<std::uint64_t>(f.Model[row][c]),
                          std::bit_cast<std::uint64_t>(d.Model[row][c]))
                    << "Model row " << row << ", column " << c;
            }
        }
        if (settings.mediumIndex != 1.0) {
            EXPECT_GT(*std::max_element(d.SigmaFit.begin(), d.SigmaFit.end()), 0.0);
        }
    }
}

} // namespace
} // namespace velmora
