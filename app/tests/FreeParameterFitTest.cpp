// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "fit/IntensityModel.h"
#include "fit/Numbers.h"
#include "fit/PolarizationRatio.h"
#include "fit/Search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

constexpr double kLambda[] = {0.0, 457.9, 514.5, 568.2, 647.1};

// Narrow fields that keep these fits quick: radii 40..60 nm in 20 steps of 1.
FieldInputs narrowInputs(FitMode mode, const std::string& file) {
    FieldInputs inputs = test::inputsFor(mode, file);
    test::setField(inputs, Field::Rmin, "40");
    test::setField(inputs, Field::Rmax, "60");
    test::setField(inputs, Field::N, "20");
    return inputs;
}

TEST(FreePlasmaFit, RecoversTheDampingOfItsGrid) {
    test::ScratchDir dir;
    const double gam = gridValue(0.0, 40, gridStep(0.0, 2.0, 100));
    const double r1 = 40.0 + 5.0;
    const double r2 = 40.0 + 8.0;
    test::writeMeasurement(dir.file("d.txt"), {{0.0, r1, 20.0, gam}, {1.0, r2, 20.0, gam}});
    test::RecordingView view;
    const FitResult r = runFit(narrowInputs(FitMode::GR1, dir.file("d.txt")), view);
    ASSERT_TRUE(r.completed);
    for (int t = 1; t <= 2; ++t) {
        EXPECT_EQ(r.GamFit[t], gam) << t;
        // The single plasma energy of the default range, tried 21 times.
        EXPECT_EQ(r.WpFit[t], 5.6);
        EXPECT_NEAR(r.Conc[t], 20.0, 1e-9);
        EXPECT_LT(r.VxFit[t], 1e-9);
    }
    EXPECT_EQ(r.Rfit[1], r1);
    EXPECT_EQ(r.Rfit[2], r2);
    EXPECT_EQ(view.progress, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
    EXPECT_EQ(test::overTime(r, Quantity::PlasmaEnergy).size(), 2u);
    EXPECT_EQ(test::overTime(r, Quantity::Damping)[0], gam);
    EXPECT_EQ(r.predictionRadii.size(), 20u);
    EXPECT_EQ(r.ResultTable[0], "Time\tRadius\tConc\tVx\tGamma\tWp [eV]");
    EXPECT_EQ(r.ResultTable[1].substr(r.ResultTable[1].size() - 12), "\t0.800\t5.600");
}

// The prediction of mode "G, R (I)" is the model at the run's mean fitted
// damping and plasma energy, computed here point by point.
TEST(FreePlasmaFit, PredictionIsTheModelAtTheMeanFittedParameters) {
    test::ScratchDir dir;
    const double dGam = gridStep(0.0, 2.0, 100);
    const double gam1 = gridValue(0.0, 30, dGam);
    const double gam2 = gridValue(0.0, 70, dGam);
    test::writeMeasurement(dir.file("d.txt"), {{0.0, 45.0, 20.0, gam1}, {1.0, 48.0, 20.0, gam2}});
    test::RecordingView view;
    const FitResult r = runFit(narrowInputs(FitMode::GR1, dir.file("d.txt")), view);
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.GamFit[1], gam1);
    ASSERT_EQ(r.GamFit[2], gam2);
    const double meanGam = (gam1 + gam2) / 2.0;
    double lowest = INFINITY;
    double highest = -INFINITY;
    ASSERT_EQ(r.predictionRadii.size(), 20u);
    for (int c = 0; c < 8; ++c) {
        for (int i = 0; i < 20; ++i) {
            const ModelValue expected = ModelIntensities(
                {kLambda[c / 2 + 1], r.predictionRadii[i], meanGam, 5.6, kDrudeResonance});
            EXPECT_DOUBLE_EQ(r.Model[i + 1][c], c % 2 == 0 ? expected.iv : expected.ih)
                << c << ' ' << i;
            lowest = std::min(lowest, r.Model[i + 1][c]);
            highest = std::max(highest, r.Model[i + 1][c]);
        }
    }
    // No flat lines at 0.
    EXPECT_GT(lowest, 0.0);
    EXPECT_GT(highest, lowest);
}

class PolarizationFitTest : public ::testing::Test {
protected:
    std::string file() const { return dir.file("d.txt"); }
    test::ScratchDir dir;
    test::RecordingView view;
};

TEST_F(PolarizationFitTest, EqualPolarisationsChooseTheModelRatioClosestToZero) {
    // H = V at every wavelength: Pm = 0.
    test::writeText(file(), "0\t3\t3\t2\t2\t1\t1\t5\t5\n");
    const FitResult r = runFit(narrowInputs(FitMode::GR2, file()), view);
    ASSERT_TRUE(r.completed);
    // Differential check: the same search written out plainly.
    std::array<double, 4> damping{};
    for (int k = 1; k <= 4; ++k) {
        double best = 1.0;
        for (int j = 1; j <= 20; ++j) {
            for (int s = 1; s <= 100; ++s) {
                const double g = 0.0 + s * (2.0 / 100);
                const ModelValue m = ModelIntensities({kLambda[k], 40.0 + j * 1.0, g, 5.6, 0.0});
                const double d = std::fabs(0.0 - (m.ih - m.iv) / (m.ih + m.iv));
                if (d < best) {
                    best = d;
                    damping[k - 1] = g;
                }
            }
        }
    }
    const double mean = (((damping[0] + damping[1]) + damping[2]) + damping[3]) / 4;
    double squares = 0.0;
    for (double g : damping) {
        squares += (mean - g) * (mean - g);
    }
    EXPECT_EQ(r.GamFit[1], mean);
    EXPECT_EQ(r.GamSpread[1], 100.0 * squares / (4.0 * mean));
    EXPECT_EQ(view.labels, (std::vector<std::string>{"Lambda = 457,9", "Lambda = 514,5",
                                                     "Lambda = 568,2", "Lambda = 647,1", ""}));
    // Four polarisation passes and the radius fit, one step per time point
    // each.
    EXPECT_EQ(view.progress,
              (std::vector<std::pair<int, int>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    // The mode reports the spread and the mean damping, not Vx.
    EXPECT_EQ(test::overTime(r, Quantity::DampingSpread)[0], r.GamSpread[1]);
    EXPECT_EQ(test::overTime(r, Quantity::MeanDamping)[0], r.GamFit[1]);
    EXPECT_TRUE(test::overTime(r, Quantity::NonAgreement).empty());
    // Np and Nb are always 0; the mean damping follows them.
    const std::string& line = r.ResultTable[1];
    EXPECT_EQ(line.substr(line.size() - 18), "\t0.000\t0.000\t" + formatFixed(mean, 3));
}

TEST_F(PolarizationFitTest, RecoversRadiusAndFillsThePredictionWithTheMeanDamping) {
    const double gam = 0.0 + 45 * (2.0 / 100);
    test::writeMeasurement(file(), {{0.0, 46.0, 20.0, gam}, {1.0, 49.0, 20.0, gam}});
    const FitResult r = runFit(narrowInputs(FitMode::GR2, file()), view);
    ASSERT_TRUE(r.completed);
    for (int t = 1; t <= 2; ++t) {
        EXPECT_NEAR(r.GamFit[t], gam, 0.03) << t;
    }
    EXPECT_NEAR(r.Rfit[1], 46.0, 2.0);
    EXPECT_NEAR(r.Rfit[2], 49.0, 2.0);
    const double meanGam = (r.GamFit[1] + r.GamFit[2]) / 2;
    for (int i : {1, 7, 20}) {
        const ModelValue m = ModelIntensities({kLambda[3], 40.0 + (i - 1), meanGam, 5.6, 0.0});
        EXPECT_EQ(r.Model[i][4], m.iv) << i;
        EXPECT_EQ(r.Model[i][5], m.ih) << i;
    }
}

TEST_F(PolarizationFitTest, ZeroMeanDampingHasZeroSpread) {
    test::writeMeasurement(file(), {{0.0, 46.0, 20.0}});
    FieldInputs inputs = narrowInputs(FitMode::GR2, file());
    test::setField(inputs, Field::PolGamMax, "0");
    const FitResult r = runFit(inputs, view);
    EXPECT_EQ(r.GamFit[1], 0.0);
    EXPECT_EQ(r.GamSpread[1], 0.0);
}

TEST_F(PolarizationFitTest, TimePointWithoutAMatchKeepsItsZerosAndTheWindowStartsAtOne) {
    // V = -1, H = 3: the measured ratio is 2, at least 1 away from every model
    // ratio, so the first time point accepts no pair.
    const double gam = 0.0 + 45 * (2.0 / 100);
    test::writeMeasurement(file(), {{1.0, 46.0, 20.0, gam}});
    test::writeText(file(), "0\t-1\t3\t-1\t3\t-1\t3\t-1\t3\n" + test::readBytes(file()));
    const FitResult r = runFit(narrowInputs(FitMode::GR2, file()), view);
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.GamFit[1], 0.0);
    EXPECT_EQ(r.GamSpread[1], 0.0);
    EXPECT_NEAR(r.GamFit[2], gam, 0.03);
}

TEST(PolarizationRatio, MeasuredRatioIsGuardedAndTheModelRatioIsNot) {
    EXPECT_EQ(measuredPolRatio(2.0, 2.0), 0.0);
    EXPECT_EQ(measuredPolRatio(-2.0, 2.0), 0.0);
    EXPECT_EQ(measuredPolRatio(1.0, 3.0), 0.5);
    EXPECT_EQ(polarizationMismatch(0.5, {1.0, 3.0, FpFault::None}).value, 0.0);
    EXPECT_EQ(polarizationMismatch(0.0, {0.0, 0.0, FpFault::None}).fault,
              FpFault::InvalidOperation);
    EXPECT_EQ(polarizationMismatch(0.0, {-1.0, 1.0, FpFault::None}).fault, FpFault::DivisionByZero);
    EXPECT_EQ(polarizationMismatch(0.0, {1.0, 1.0, FpFault::Overflow}).fault, FpFault::Overflow);
}

} // namespace
} // namespace velmora
