// SPDX-License-Identifier: GPL-3.0-or-later
// The refinement: its standard errors against the closed form of a linear
// fit, the intensity measure against Vx, and the coverage of the refined
// radius on a measurement rendered independently with known truth.
#include "fit/Refinement.h"
#include "fit/DataFile.h"
#include "fit/Match.h"
#include "fit/PolarizationRatio.h"
#include "fit/RefinementResiduals.h"
#include "fit/Search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace velmora {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(Refinement, LinearFitGivesClosedFormValuesAndErrors) {
    // y = a + b x with fixed scatter: the least-squares line and its
    // standard errors in closed form, in long double.
    const std::vector<double> x = {0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0};
    const std::vector<double> scatter = {0.3, -0.2, 0.5, -0.4, 0.1, -0.6, 0.2};
    std::vector<double> y(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        y[i] = 2.0 + 1500.0 * x[i] + scatter[i];
    }
    long double sx = 0, sy = 0, sxx = 0, sxy = 0;
    const long double n = x.size();
    for (std::size_t i = 0; i < x.size(); ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * static_cast<long double>(x[i]);
        sxy += x[i] * static_cast<long double>(y[i]);
    }
    const long double det = n * sxx - sx * sx;
    const long double b = (n * sxy - sx * sy) / det;
    const long double a = (sy - b * sx) / n;
    long double chi2 = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        chi2 += std::pow(y[i] - a - b * x[i], 2.0L);
    }
    const long double s2 = chi2 / (n - 2);
    const long double seA = std::sqrt(s2 * sxx / det);
    const long double seB = std::sqrt(s2 * n / det);

    const ResidualFunction line = [&](std::span<const double> p, std::span<double> r) {
        for (std::size_t i = 0; i < x.size(); ++i) {
            r[i] = y[i] - p[0] - p[1] * x[i];
        }
        return true;
    };
    // b's range excludes its solution: flagged.
    const std::vector<FreeParameter> free = {{0.0, -10.0, 10.0, 1.0},
                                             {1000.0, 900.0, 1400.0, 1000.0}};
    const Refinement fit = refine(line, static_cast<int>(x.size()), free);
    ASSERT_TRUE(fit.converged);
    EXPECT_FALSE(fit.insideRanges);
    // The solver stops when the sum of squares falls by less than 1e-10 of
    // itself: the values lie within 1e-4 of their standard errors.
    EXPECT_NEAR(fit.values[0], a, 1e-4 * seA);
    EXPECT_NEAR(fit.values[1], b, 1e-4 * seB);
    EXPECT_NEAR(fit.chi2Reduced / s2, 1.0, 1e-8);
    EXPECT_NEAR(fit.standardErrors[0] / seA, 1.0, 1e-6);
    EXPECT_NEAR(fit.standardErrors[1] / seB, 1.0, 1e-6);

    // Parameters that enter only as their sum are not determined.
    const ResidualFunction sum = [&](std::span<const double> p, std::span<double> r) {
        return line(std::vector<double>{p[0] + p[1], 1500.0}, r);
    };
    const std::vector<FreeParameter> both = {{0.0, -10.0, 10.0, 1.0}, {0.0, -10.0, 10.0, 1.0}};
    const Refinement degenerate = refine(sum, static_cast<int>(x.size()), both);
    EXPECT_EQ(degenerate.standardErrors[0], kInfinity);
    EXPECT_EQ(degenerate.standardErrors[1], kInfinity);

    // A start at which the model faults stays where it is, not converged.
    const ResidualFunction faulting = [](std::span<const double>, std::span<double>) {
        return false;
    };
    const Refinement failed = refine(faulting, 7, free);
    EXPECT_FALSE(failed.converged);
    EXPECT_EQ(failed.values[1], 1000.0);
    EXPECT_TRUE(std::isnan(failed.standardErrors[0]));
}

TEST(RefinementResiduals, IntensityMeasureProfilesVx) {
    // For fixed model values the least sum of squares over the
    // concentration is 8 V / (1 + V), V = 8 (Vx / 100)^2, reached at
    // Mean * (1 + V): the refinement minimises the modes' Vx.
    Measured measured;
    std::array<ModelValue, kWavelengths> models{};
    const std::array<double, 8> ratios = {1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 3.0};
    for (int k = 0; k < kWavelengths; ++k) {
        models[k] = {0.5 + k, 2.0 - 0.3 * k, FpFault::None};
        measured.iv[k] = 7.0 * ratios[2 * k] * models[k].iv;
        measured.ih[k] = 7.0 * ratios[2 * k + 1] * models[k].ih;
    }
    const MatchValue match = MatchIntensities(measured, models);
    ASSERT_NEAR(match.vx, 18.7083, 1e-4); // seven ratios of 1 and one of 3
    const double v = 8.0 * std::pow(match.vx / 100.0, 2);
    const ResidualFunction overConcentration = [&](std::span<const double> p, std::span<double> r) {
        return intensityResiduals(measured, models, p[0], r);
    };
    const std::vector<FreeParameter> c = {{match.mean, 0.0, kInfinity, match.mean}};
    const Refinement fit = refine(overConcentration, kIntensityResiduals, c);
    ASSERT_TRUE(fit.converged);
    EXPECT_NEAR(fit.values[0] / (match.mean * (1.0 + v)), 1.0, 1e-9);
    EXPECT_NEAR(fit.chi2 / (8.0 * v / (1.0 + v)), 1.0, 1e-9);

    // The ratio residuals are the damping pass's mismatches, with a sign.
    std::array<double, kRatioResiduals> ratioValues{};
    ASSERT_TRUE(ratioResiduals(measured, models, ratioValues));
    for (int k = 0; k < kWavelengths; ++k) {
        const double pm = measuredPolRatio(measured.iv[k], measured.ih[k]);
        EXPECT_DOUBLE_EQ(std::fabs(ratioValues[k]), polarizationMismatch(pm, models[k]).value);
    }
}

// Coverage of the refined radius on the measurement that
// synthetic/make-lognormal-measurement renders with its own Mie series:
// silver-like particles in water, log-normal width 0.15, 2 % noise.
TEST(RefinementCoverage, RadiusWithinItsStandardErrors) {
    const TDataTable table = ReadDataFile(VELMORA_SYNTHETIC_DIR "/LognormalSilverInWater.txt");
    const Particle particle{
        .wp = 9.0, .gam = 0.4, .w0 = kDrudeResonance, .epsInf = 4.0, .mediumIndex = 1.33};
    const std::array<double, kWavelengths> lambda = {457.9, 514.5, 568.2, 647.1};
    constexpr double kTrueSigma = 0.15;
    const int points = table.lineCount() - 1;
    ASSERT_GE(points, 50);
    SearchWindow window{1, 10};
    int accepted = 0;
    double concentration0 = 0.0;
    int within1 = 0;
    int within3 = 0;
    int converged = 0;
    int sigmaWithin3 = 0;
    for (int row = 0; row < points; ++row) {
        Measured measured;
        for (int k = 0; k < kWavelengths; ++k) {
            measured.iv[k] = table.field(row, 2 * k + 2);
            measured.ih[k] = table.field(row, 2 * k + 3);
        }
        // The grid's winner as mode "R" finds it: monodisperse spheres of
        // radius 20 + 2 j nm, j in a window of ten steps that follows the
        // accepted index, the least Vx below 100.
        double best = 100.0;
        for (int j = window.lo; j <= window.hi; ++j) {
            std::array<ModelValue, kWavelengths> models{};
            for (int k = 0; k < kWavelengths; ++k) {
                models[k] = particleIntensities(particle, lambda[k], 20.0 + 2.0 * j);
            }
            const MatchValue m = MatchIntensities(measured, models);
            if (m.vx < best) {
                best = m.vx;
                accepted = j;
                concentration0 = m.mean;
            }
        }
        window.moveTo(accepted, 10, 90);
        const double radius0 = 20.0 + 2.0 * accepted;
        const TimePointModel model{
            measured,       lambda,
            particle,       {radius0, 0.0},
            concentration0, {FreeValue::Radius, FreeValue::Concentration, FreeValue::Sigma}};
        const std::vector<FreeParameter> free = {{radius0, 20.0, 200.0, 180.0},
                                                 {concentration0, 0.0, kInfinity, concentration0},
                                                 {0.1, 0.0, 0.3, 0.3, true}};
        const Refinement fit = refine(intensityMeasure(model), kIntensityResiduals, free);
        const double truth = table.field(row, 10);
        converged += fit.converged;
        const double pull = (fit.values[0] - truth) / fit.standardErrors[0];
        within1 += std::fabs(pull) <= 1.0;
        within3 += std::fabs(pull) <= 3.0;
        const double sigmaPull = (fit.values[2] - kTrueSigma) / fit.standardErrors[2];
        sigmaWithin3 += std::fabs(sigmaPull) <= 3.0;
    }
    std::printf("radius within 1 SE of the truth at %d, within 3 SE at %d of %d points; "
                "sigma within 3 SE at %d\n",
                within1, within3, points, sigmaWithin3);
    EXPECT_EQ(converged, points);
    EXPECT_GE(within1, points / 2);
    EXPECT_LE(within1, points * 17 / 20);
    EXPECT_GE(within3, points * 19 / 20);
    EXPECT_GE(sigmaWithin3, points * 9 / 10);
}

} // namespace
} // namespace velmora
