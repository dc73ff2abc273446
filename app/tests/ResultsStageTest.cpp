// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/ResultsStage.h"
#include "TestSupport.h"
#include "results/TableFile.h"
#include "results/TidyTable.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmora {
namespace {

// A run state of `points` time points with the default wavelengths, radius
// 50 nm and concentration 1 everywhere, and every measured intensity 1.
class ResultsStageTest : public ::testing::Test {
protected:
    void prepare(int points, FitMode mode) {
        settings.mode = mode;
        state = std::make_unique<RunState>(RunState{settings, view, {}, {}, {}});
        RunParameters& p = state->params;
        p.Lambda = {0.0, 457.9, 514.5, 568.2, 647.1};
        p.Rmin = 20.0;
        p.N = 0;
        FitResult& r = state->result;
        r.timePoints = points;
        for (auto* a :
             {&r.T, &r.Rfit, &r.Conc, &r.VxFit, &r.GamFit, &r.WpFit, &r.GamSpread, &r.SigmaFit}) {
            a->assign(points + 1, 0.0);
        }
        r.Model.assign(1, {});
        r.Norm.assign(points + 1, {});
        rows.assign(points, {});
        for (int t = 1; t <= points; ++t) {
            rows[t - 1].fill(1.0);
            rows[t - 1][0] = t;
            r.T[t] = t;
            r.Rfit[t] = 50.0;
            r.Conc[t] = 1.0;
        }
    }
    void setMeasured(int t, int column, double value) { rows[t - 1][column - 1] = value; }
    void runStage() {
        for (const auto& row : rows) {
            state->table.addRow() = row;
        }
        runResultsStage(*state);
    }

    FitSettings settings;
    test::RecordingView view;
    std::unique_ptr<RunState> state;
    std::vector<std::array<double, kMaxDataFields>> rows;
};

TEST_F(ResultsStageTest, HeadersFollowTheMode) {
    EXPECT_EQ(resultTableHeader(FitMode::R), std::vector<std::string>{"Time\tRadius\tConc\tVx"});
    EXPECT_EQ(resultTableHeader(FitMode::GR1),
              std::vector<std::string>{"Time\tRadius\tConc\tVx\tGamma\tWp [eV]"});
    EXPECT_EQ(resultTableHeader(FitMode::GR2),
              std::vector<std::string>{"Time\tRadius\tConc\tVx\tNp\tNb\tGamma [eV]"});
    EXPECT_EQ(resultTableHeader(FitMode::Blank),
              std::vector<std::string>{"Time\tRadius\tConc\tVx\tGamma"});
    EXPECT_TRUE(resultTableHeader(FitMode::None).empty());
}

TEST_F(ResultsStageTest, NoModeWritesNoResultLines) {
    prepare(3, FitMode::None);
    runStage();
    EXPECT_TRUE(state->result.ResultTable.empty());
    EXPECT_EQ(state->result.ResonanceTable.size(), 5u);
}

TEST_F(ResultsStageTest, ResultLinesUseFixedDecimals) {
    prepare(2, FitMode::GR1);
    FitResult& r = state->result;
    r.T[1] = -0.5;
    r.Conc[1] = 12345.67;
    r.VxFit[1] = 1.23449;
    r.GamFit[1] = 0.8;
    r.WpFit[1] = 5.6126;
    runStage();
    EXPECT_EQ(r.ResultTable[1], "-0.500\t50.000\t12345.7\t1.234\t0.800\t5.613");
}

// The fitted parameters of each mode reach its table and its estimates; the
// parameters a mode holds fixed are the settings' values.
TEST_F(ResultsStageTest, FittedParametersFollowTheDescribedColumns) {
    settings.polarizationPlasmaEnergy = 6.25;
    prepare(2, FitMode::GR2);
    FitResult& r = state->result;
    r.GamFit[2] = 0.4375;
    r.VxFit[2] = 3.0;
    r.SigmaFit[2] = 0.25;
    r.estimates.resize(2);
    r.estimates[0].radius = {.value = 51.5, .standardError = 0.25};
    r.estimates[0].refined = true;
    runStage();
    EXPECT_EQ(r.ResultTable[2], "2.000\t50.000\t1.0\t3.000\t0.000\t0.000\t0.438");
    ASSERT_EQ(r.estimates.size(), 2u);
    EXPECT_EQ(r.estimates[0].radius.value, 51.5); // a refined time point is kept
    EXPECT_EQ(r.estimates[0].radius.standardError, 0.25);
    const TimePointEstimates& grid = r.estimates[1];
    EXPECT_EQ(grid.plasmaEnergy.value, 6.25);
    EXPECT_EQ(grid.damping.value, 0.4375);
    EXPECT_EQ(grid.vx, 3.0);
    EXPECT_EQ(grid.sigma.value, 0.25);
    EXPECT_TRUE(std::isnan(grid.radius.standardError));
    EXPECT_FALSE(grid.refined);

    settings.plasmaEnergy = 7.5;
    settings.damping = 0.125;
    prepare(1, FitMode::R);
    runStage();
    EXPECT_EQ(state->result.estimates[0].plasmaEnergy.value, 7.5);
    EXPECT_EQ(state->result.estimates[0].damping.value, 0.125);
    EXPECT_EQ(state->result.estimates[0].radius.value, 50.0);
}

// A refined time point in the tidy table: its errors written, the ones it
// lacks empty, and its flags as 1 and 0.
TEST(TidyTable, RowOfARefinedTimePoint) {
    FitResult r;
    r.T = {0.0, 1.5};
    TimePointEstimates e;
    e.radius = {.value = 51.25, .standardError = 0.5};
    e.sigma.value = 0.125;
    e.plasmaEnergy.value = 5.6;
    e.damping = {.value = 0.1, .standardError = 0.01};
    e.concentration.value = 3.0;
    e.vx = 2.5;
    e.chi2Reduced = 1.25;
    e.refined = true;
    e.converged = true;
    e.insideRanges = false;
    r.estimates = {e};
    const std::vector<std::string> lines = tidyTableLines(r, FitSettings{}, "m.txt", "p 1");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], kTidyTableHeader);
    EXPECT_EQ(lines.back(), "1.5,51.25,0.5,0.125,,5.6,,0.1,0.01,3,,2.5,1.25,1,0");
    EXPECT_EQ(lines[0], "# program = p 1");
}

TEST_F(ResultsStageTest, FewerThanThirtyTimePointsHaveNoPeaks) {
    prepare(29, FitMode::R);
    runStage();
    EXPECT_EQ(state->result.ResonanceTable,
              (std::vector<std::string>{"W [eV]\tRmaxV\tRmaxH", "2.708\t0.000\t0.000",
                                        "2.410\t0.000\t0.000", "2.182\t0.000\t0.000",
                                        "1.916\t0.000\t0.000"}));
    EXPECT_EQ(state->result.vPeakTable[1], "2.708\t0.000");
    EXPECT_EQ(state->result.hPeakTable[4], "1.916\t0.000");
}

TEST_F(ResultsStageTest, PeaksTakeTheFirstMaximumOutsideTheLastThirty) {
    prepare(40, FitMode::R);
    FitResult& r = state->result;
    for (int t = 1; t <= 40; ++t) {
        r.Rfit[t] = 100.0 + t;
    }
    // Wavelength 1, V: Norm = V / (3.14 R^2 C); make t = 4 and t = 6 equal
    // maxima (the earlier wins) and t = 35 larger still (not searched).
    setMeasured(4, 2, 1e6 * (3.14 * (104.0 * 104.0)));
    setMeasured(6, 2, 1e6 * (3.14 * (106.0 * 106.0)));
    setMeasured(35, 2, 1e9);
    // Wavelength 2: no positive normalised intensity at all.
    for (int t = 1; t <= 40; ++t) {
        setMeasured(t, 4, 0.0);
        setMeasured(t, 5, -1.0);
    }
    runStage();
    EXPECT_EQ(r.Norm[4][0], r.Norm[6][0]);
    EXPECT_EQ(r.ResonanceTable[1].substr(0, 13), "2.708\t104.000");
    // The peak search starts afresh for every wavelength.
    EXPECT_EQ(r.ResonanceTable[2], "2.410\t0.000\t0.000");
    EXPECT_EQ(r.Norm[0], (std::array<double, 8>{}));
}

TEST_F(ResultsStageTest, UnfittedTimePointsHaveZeroNorm) {
    prepare(3, FitMode::R);
    state->result.Conc[2] = 0.0;
    state->result.Rfit[3] = 0.0;
    runStage();
    EXPECT_EQ(state->result.Norm[2], (std::array<double, 8>{}));
    EXPECT_EQ(state->result.Norm[3], (std::array<double, 8>{}));
    EXPECT_DOUBLE_EQ(state->result.Norm[1][0], 1.0 / (3.14 * 2500.0));
    EXPECT_DOUBLE_EQ(state->result.Norm[1][1], 1.0 / (4.13 * 2500.0));
}

TEST_F(ResultsStageTest, SavedTablesHaveTheirExactBytes) {
    prepare(2, FitMode::R);
    state->result.VxFit[2] = 3.5;
    runStage();
    test::ScratchDir dir;
    writeTableFile(dir.file("a_RNV.dat"), state->result.ResultTable);
    EXPECT_EQ(test::readBytes(dir.file("a_RNV.dat")),
              "Time\tRadius\tConc\tVx\r\n1.000\t50.000\t1.0\t0.000\r\n"
              "2.000\t50.000\t1.0\t3.500\r\n");
    writeTableFile(dir.file("a_WR.dat"), state->result.ResonanceTable);
    EXPECT_EQ(test::readBytes(dir.file("a_WR.dat")),
              "W [eV]\tRmaxV\tRmaxH\r\n2.708\t0.000\t0.000\r\n2.410\t0.000\t0.000\r\n"
              "2.182\t0.000\t0.000\r\n1.916\t0.000\t0.000\r\n");
}

TEST(TableFile, EmptyTableIsAnEmptyFile) {
    test::ScratchDir dir;
    writeTableFile(dir.file("empty.dat"), {});
    EXPECT_EQ(test::readBytes(dir.file("empty.dat")), "");
}

TEST(TableFile, ReplacesAnExistingFileAndLeavesNoTemporary) {
    test::ScratchDir dir;
    test::writeText(dir.file("t.dat"), "old content that is longer\r\n");
    const std::vector<std::string> lines = {"a\tb"};
    writeTableFile(dir.file("t.dat"), lines);
    EXPECT_EQ(test::readBytes(dir.file("t.dat")), "a\tb\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(TableFile, FailureSaysWhatAndLeavesTheTargetIntact) {
    test::ScratchDir dir;
    const std::vector<std::string> lines = {"x"};
    try {
        writeTableFile(dir.file("missing/t.dat"), lines);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(
            std::string(e.what()).rfind("Cannot write file " + dir.file("missing/t.dat") + ": ", 0),
            0u)
            << e.what();
    }
    // A directory in the way of the target: the rename fails, nothing is left.
    std::filesystem::create_directory(dir.file("busy.dat"));
    test::writeText(dir.file("busy.dat/inside"), "keep");
    EXPECT_THROW(writeTableFile(dir.file("busy.dat"), lines), std::runtime_error);
    EXPECT_EQ(test::readBytes(dir.file("busy.dat/inside")), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace velmora
