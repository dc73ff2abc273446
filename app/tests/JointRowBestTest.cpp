// SPDX-License-Identifier: GPL-3.0-or-later
// The fast joint scorer's row winner against the joint search's own rule:
// every candidate of the row read in the search's order (damping outermost,
// then radius), the first of strictly lower factor kept, a fault met where
// it lies.
#include "fit/IntensityModel.h"
#include "fit/RunError.h"
#include "fit/fast/FastJointScorer.h"
#include "fit/fast/GridTable.h"
#include "fit/fast/WorkerPool.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace velmora {
namespace {

constexpr int kPlasmaSteps = 20;
constexpr int kDampingSteps = 100;

struct Scan {
    bool faulted = false;
    int gamIndex = -1;
    int radiusIndex = -1;
    double mean = 0.0;
    double vx = std::numeric_limits<double>::infinity();
};

Scan scanRow(const FastJointScorer& scorer, int i, const SearchWindow& window) {
    Scan scan;
    try {
        for (int j = 0; j <= kDampingSteps; ++j) {
            const double gam = scorer.damping(j);
            for (int k = window.lo; k <= window.hi; ++k) {
                const double radius = scorer.radius(k);
                const CandidateScore s = scorer.score({i, j, k, 0.0, gam, radius});
                if (s.vx < scan.vx) {
                    scan = {false, j, k, s.mean, s.vx};
                }
            }
        }
    } catch (const RunError&) {
        scan.faulted = true;
    }
    return scan;
}

struct Fields {
    double rmin;
    double dR;
    double wpMin;
    double wpMax;
    double gamMin;
    double gamMax;
    double w0;
    double lambda2 = 514.5;
};

struct Compared {
    int winners = 0; // fault-free rows with a winner
    int faulted = 0; // rows whose scan met a fault
};

// Compares every row of every time point of a short run.
Compared compareRows(const Fields& f, const std::vector<Measured>& points) {
    RunParameters p;
    p.Lambda = {0.0, 457.9, f.lambda2, 568.2, 647.1};
    p.Rmin = f.rmin;
    p.dR = f.dR;
    p.N = 60;
    p.WpMin = f.wpMin;
    p.WpMax = f.wpMax;
    p.GamMin = f.gamMin;
    p.GamMax = f.gamMax;
    p.W0 = f.w0;
    WorkerPool pool;
    const GridTable radii(p.Rmin, p.dR, 0, p.N);
    FastJointScorer scorer(p, pool, radii, (p.WpMax - p.WpMin) / kPlasmaSteps,
                           (p.GamMax - p.GamMin) / kDampingSteps, 0.0);
    Compared compared;
    SearchWindow window{0, 20};
    for (std::size_t t = 0; t < points.size(); ++t) {
        scorer.beginTimePoint(points[t], window);
        for (int i = 0; i <= kPlasmaSteps; ++i) {
            scorer.plasmaEnergy(i);
            if (scorer.repeatsEarlierRow(i)) {
                continue;
            }
            SCOPED_TRACE("time point " + std::to_string(t) + ", row " + std::to_string(i));
            const RowBest best = scorer.rowBest(i);
            const Scan scan = scanRow(scorer, i, window);
            if (scan.faulted) {
                EXPECT_FALSE(best.faultFree);
                ++compared.faulted;
                continue;
            }
            if (!best.faultFree) {
                continue; // a fault in the row that the scan would meet too
            }
            EXPECT_EQ(best.gamIndex, scan.gamIndex);
            EXPECT_EQ(best.radiusIndex, scan.radiusIndex);
            if (scan.radiusIndex >= 0) {
                EXPECT_EQ(std::bit_cast<std::uint64_t>(best.vx),
                          std::bit_cast<std::uint64_t>(scan.vx));
                EXPECT_EQ(std::bit_cast<std::uint64_t>(best.mean),
                          std::bit_cast<std::uint64_t>(scan.mean));
                ++compared.winners;
            }
        }
        window.moveTo(window.lo + static_cast<int>(t % 3), 20, p.N);
    }
    return compared;
}

// A measurement made from the model itself, scaled, with noise.
std::vector<Measured> modelPoints(std::mt19937_64& rng, int count, double radius) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    constexpr double lambda[] = {457.9, 514.5, 568.2, 647.1};
    std::vector<Measured> points(count);
    for (Measured& m : points) {
        for (int k = 0; k < 4; ++k) {
            const ModelValue v = ModelIntensities({lambda[k], radius, 0.8, 5.6, 0.0});
            m.iv[k] = 100.0 * v.iv * (1.0 + 0.05 * unit(rng));
            m.ih[k] = 100.0 * v.ih * (1.0 + 0.05 * unit(rng));
        }
        radius += 2.0 * unit(rng);
    }
    return points;
}

TEST(JointRowBestTest, RowWinnerIsTheSearchOrdersFirstLowestFactor) {
    std::mt19937_64 rng(77);
    const std::vector<Measured> points = modelPoints(rng, 4, 40.0);
    EXPECT_GT(compareRows({20.0, 1.0, 4.5, 7.0, 0.0, 2.0, 0.0}, points).winners, 50);
    EXPECT_GT(compareRows({20.0, 1.0, 5.0, 6.0, 0.0, 5.0, 2.54}, points).winners, 50);
}

// Repeated grid values tie whole columns or rows: the lowest damping index,
// then the lowest radius index, must win.
TEST(JointRowBestTest, TiesGoToTheFirstCandidateInSearchOrder) {
    std::mt19937_64 rng(78);
    const std::vector<Measured> points = modelPoints(rng, 3, 30.0);
    EXPECT_GT(compareRows({30.0, 0.0, 4.5, 7.0, 0.0, 2.0, 0.0}, points).winners, 0); // equal radii
    EXPECT_GT(compareRows({20.0, 1.0, 5.6, 5.6, 1.0, 1.0, 0.0}, points).winners,
              0); // equal dampings
    EXPECT_GT(compareRows({30.0, 0.0, 5.6, 5.6, 1.0, 1.0, 0.0}, points).winners,
              0); // one candidate
    // Nothing measured: every factor is 100, all candidates tie.
    EXPECT_GT(compareRows({20.0, 1.0, 4.5, 7.0, 0.0, 2.0, 0.0}, std::vector<Measured>(2)).winners,
              0);
}

TEST(JointRowBestTest, FaultsAreLeftToTheSearch) {
    std::mt19937_64 rng(79);
    const std::vector<Measured> points = modelPoints(rng, 2, 40.0);
    // At the wavelength whose photon energy is the Lorents resonance, the
    // damping 0 of the range -1..1 divides 0 by 0 in the permittivity.
    const double resonance = 1.986447461038579e-16 / (1.60217733e-19 * kLorentsResonance);
    ASSERT_EQ(photonEnergy(resonance), kLorentsResonance);
    const Compared lorents = compareRows({20.0, 1.0, 4.5, 7.0, -1.0, 1.0, 2.54, resonance}, points);
    EXPECT_GT(lorents.faulted, 0);
    // A NaN damping step faults every damping grid point.
    const Compared nan = compareRows({20.0, 1.0, 4.5, 7.0, 0.0, std::nan(""), 0.0}, points);
    EXPECT_GT(nan.faulted, 0);
    EXPECT_EQ(nan.winners, 0);
}

} // namespace
} // namespace velmora
