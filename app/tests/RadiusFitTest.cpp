// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "fit/DataFile.h"
#include "fit/IntensityCheck.h"
#include "fit/Search.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Radius grid of the default fields: Rmin = 20, dR = 0.9.
double candidate(int j) {
    return gridValue(20.0, j, gridStep(20.0, 200.0, 200));
}

class RadiusFitTest : public ::testing::Test {
protected:
    FitResult run(const std::vector<test::SyntheticPoint>& points, const std::string& n = "200",
                  const std::string& rmax = "200") {
        test::writeMeasurement(file(), points);
        FieldInputs inputs = test::inputsFor(FitMode::R, file());
        test::setField(inputs, Field::N, n);
        test::setField(inputs, Field::Rmax, rmax);
        return runFit(inputs, view);
    }
    std::string file() const { return dir.file("DemoDat.txt"); }

    test::ScratchDir dir;
    test::RecordingView view;
};

TEST_F(RadiusFitTest, FindsTheGridRadiusOfExactModelIntensities) {
    const FitResult r = run({{0.0, candidate(7), 50.0}, {1.0, candidate(12), 40.0}});
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.Rfit[1], candidate(7));
    EXPECT_NEAR(r.Conc[1], 50.0, 1e-9);
    EXPECT_LT(r.VxFit[1], 1e-9);
    EXPECT_EQ(r.Rfit[2], candidate(12));
    EXPECT_NEAR(r.Conc[2], 40.0, 1e-9);
}

TEST_F(RadiusFitTest, WindowFollowsTheAcceptedIndexUpwardsOnly) {
    // Index 7, then 25 (beyond the window 7..17), then 3 (below it).
    const FitResult r =
        run({{0.0, candidate(7), 50.0}, {1.0, candidate(25), 50.0}, {2.0, candidate(3), 50.0}});
    EXPECT_EQ(r.Rfit[1], candidate(7));
    EXPECT_GT(r.Rfit[2], r.Rfit[1]);
    EXPECT_LE(r.Rfit[2], candidate(17));
    EXPECT_GE(r.Rfit[3], r.Rfit[2]);
    EXPECT_LE(r.Rfit[3], candidate(27));
}

TEST_F(RadiusFitTest, FirstTimePointNeverTriesRmin) {
    const FitResult r = run({{0.0, 20.0, 50.0}});
    EXPECT_EQ(r.Rfit[1], candidate(1));
}

TEST_F(RadiusFitTest, ZeroIntensitiesAcceptNothingAndKeepTheWindow) {
    test::writeMeasurement(file(), {{0.0, candidate(7), 50.0}});
    std::string text = test::readBytes(file());
    text += "1\t0\t0\t0\t0\t0\t0\t0\t0\n";
    test::writeText(file(), text);
    std::vector<test::SyntheticPoint> last = {{2.0, candidate(16), 50.0}};
    test::writeMeasurement(dir.file("last.txt"), last);
    test::writeText(file(), text + test::readBytes(dir.file("last.txt")));
    const FitResult r = runFit(test::inputsFor(FitMode::R, file()), view);
    EXPECT_EQ(r.Rfit[2], 0.0);
    EXPECT_EQ(r.Conc[2], 0.0);
    EXPECT_EQ(r.VxFit[2], 0.0);
    // The window is still 7..17 at the third time point.
    EXPECT_EQ(r.Rfit[3], candidate(16));
    ASSERT_EQ(test::overTime(r, Quantity::Radius).size(), 3u);
    EXPECT_EQ(test::overTime(r, Quantity::Radius)[1], 0.0);
    // The run says which line it cannot fit, and goes on.
    EXPECT_EQ(view.warnings, std::vector<std::string>{
                                 file() + ", line 2: field 2 (V at wavelength 1) is 0; intensities "
                                          "must be positive, so the fit of this time point means "
                                          "nothing"});
}

TEST_F(RadiusFitTest, NegativeIntensitiesGiveNegativeConcentrationAndVx) {
    // Vx carries the sign of Mean, so the most negative Vx, the candidate that
    // agrees worst, wins.
    const FitResult r = run({{0.0, candidate(5), -30.0}});
    Measured measured;
    const TDataTable table = ReadDataFile(file());
    for (int k = 1; k <= 4; ++k) {
        measured.iv[k - 1] = table.field(0, 2 * k);
        measured.ih[k - 1] = table.field(0, 2 * k + 1);
    }
    RunParameters p;
    p.Lambda = {0.0, 457.9, 514.5, 568.2, 647.1};
    double lowest = 100.0;
    int winner = 0;
    for (int j = 1; j <= 10; ++j) {
        const MatchValue m = scoreCandidate(measured, p, candidate(j), 1.0, 5.6, 0.0);
        EXPECT_LT(m.mean, 0.0);
        if (m.vx < lowest) {
            lowest = m.vx;
            winner = j;
        }
    }
    EXPECT_EQ(r.Rfit[1], candidate(winner));
    EXPECT_EQ(r.VxFit[1], lowest);
    EXPECT_LT(r.Conc[1], 0.0);
    ASSERT_EQ(view.warnings.size(), 1u);
    const std::string start = file() + ", line 1: field 2 (V at wavelength 1) is -";
    EXPECT_EQ(view.warnings[0].substr(0, start.size()), start);
}

// A warning for each of the first lines that cannot be fitted, then one
// that counts the rest; a short line's missing intensities count as 0.
TEST(IntensityCheckTest, WarnsByLineAndCountsTheRest) {
    test::ScratchDir dir;
    std::string text = "0\t1\t1\t1\t1\t1\t1\t1\t1\n"
                       "1\t1\t1\t1\t1\t1\t1\t1\n";
    for (int line = 3; line <= kMaxIntensityWarnings + 4; ++line) {
        text += std::to_string(line) + "\t1\t1\t1\t1\t1\t1\t-2.5\t0\n";
    }
    test::writeText(dir.file("m.txt"), text);
    const std::vector<std::string> warnings =
        nonPositiveIntensityWarnings(ReadDataFile(dir.file("m.txt")), "m.txt");
    ASSERT_EQ(warnings.size(), static_cast<std::size_t>(kMaxIntensityWarnings + 1));
    EXPECT_EQ(warnings[0], "m.txt, line 2: field 9 (H at wavelength 4) is 0; intensities must be "
                           "positive, so the fit of this time point means nothing");
    EXPECT_EQ(warnings[1].substr(0, 52), "m.txt, line 3: field 8 (V at wavelength 4) is -2.5; ");
    EXPECT_EQ(warnings.back(), "m.txt: 3 more lines with intensities that are not positive");
}

TEST_F(RadiusFitTest, TheFirstWindowNeverReachesBeyondRmax) {
    // N = 10, the fewest steps mode R takes: the first window 1..10 ends at
    // Rmax itself, which the fit can find.
    const FitResult r = run({{0.0, 29.0, 50.0}, {1.0, 29.0, 50.0}}, "10", "29");
    EXPECT_NEAR(r.Rfit[1], 29.0, 1e-9);
    EXPECT_NEAR(r.Rfit[2], 29.0, 1e-9);
    EXPECT_EQ(r.Model.size(), 11u);
    // With N = 9 the first window would try a radius above Rmax.
    EXPECT_THROW(run({{0.0, 29.0, 50.0}}, "9", "29"), FieldError);
}

TEST_F(RadiusFitTest, EveryLineIsATimePoint) {
    const FitResult r =
        run({{0.0, candidate(3), 50.0}, {5.0, candidate(4), 50.0}, {10.0, candidate(5), 50.0}});
    ASSERT_EQ(r.timePoints, 3);
    EXPECT_EQ(r.T[3], 10.0);
    EXPECT_EQ(r.Rfit[3], candidate(5));
    EXPECT_EQ(r.ResultTable.size(), 4u);
    EXPECT_EQ(r.ResultTable[3].substr(0, 13), "10.000\t24.500");
    EXPECT_EQ(r.measured.size(), 3u);
}

TEST_F(RadiusFitTest, ModelHoldsThePredictionOverItsOwnGrid) {
    const FitResult r = run({{0.0, candidate(3), 50.0}}, "10", "29");
    ASSERT_EQ(r.Model.size(), 11u);
    const std::vector<double>& radii = r.predictionRadii;
    ASSERT_EQ(radii.size(), 10u);
    for (int i = 1; i <= 10; ++i) {
        const double radius = 20.0 + (i - 1) * 0.9;
        EXPECT_NEAR(radii[i - 1], radius, 1e-12);
        for (int k = 1; k <= 4; ++k) {
            const double lambda[] = {0.0, 457.9, 514.5, 568.2, 647.1};
            const ModelValue m = ModelIntensities({lambda[k], radii[i - 1], 1.0, 5.6, 0.0});
            EXPECT_EQ(r.Model[i][2 * k - 2], m.iv);
            EXPECT_EQ(r.Model[i][2 * k - 1], m.ih);
        }
    }
}

TEST_F(RadiusFitTest, LorentsModelIsUsedThroughoutTheRun) {
    test::writeMeasurement(file(), {{0.0, candidate(9), 50.0, 1.0, 5.6, kLorentsResonance}});
    FieldInputs inputs = test::inputsFor(FitMode::R, file());
    inputs.dielectric = static_cast<int>(Dielectric::Lorents);
    const FitResult r = runFit(inputs, view);
    EXPECT_EQ(r.Rfit[1], candidate(9));
    EXPECT_LT(r.VxFit[1], 1e-9);
}

} // namespace
} // namespace velmora
