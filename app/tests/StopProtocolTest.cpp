// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Mode "G, R (II)" on two time points with radii 40..60 nm in 20 steps polls
// the stop flag at: 1 wavelength 1, 2-3 its time points, 4 wavelength 2,
// 5-6, 7 wavelength 3, 8-9, 10 wavelength 4, 11-12, then before every
// candidate of the radius fit (13 on).
class StopProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeMeasurement(file(), {{0.0, 46.0, 20.0, 0.7}, {1.0, 49.0, 20.0, 0.7}});
    }
    FieldInputs inputs(FitMode mode) const {
        FieldInputs in = test::inputsFor(mode, file());
        test::setField(in, Field::Rmin, "40");
        test::setField(in, Field::Rmax, "60");
        test::setField(in, Field::N, "20");
        return in;
    }
    std::string file() const { return dir.file("d.txt"); }

    FitResult runStoppedAt(FitMode mode, int poll, bool yes, test::RecordingView& view) {
        view.clearAtPoll = poll;
        view.answerYes = yes;
        return runFit(inputs(mode), view);
    }

    test::ScratchDir dir;
};

void expectSameResults(const FitResult& a, const FitResult& b) {
    EXPECT_EQ(a.completed, b.completed);
    EXPECT_EQ(a.Rfit, b.Rfit);
    EXPECT_EQ(a.Conc, b.Conc);
    EXPECT_EQ(a.VxFit, b.VxFit);
    EXPECT_EQ(a.GamFit, b.GamFit);
    EXPECT_EQ(a.WpFit, b.WpFit);
    EXPECT_EQ(a.GamSpread, b.GamSpread);
    EXPECT_EQ(a.Model, b.Model);
    EXPECT_EQ(a.ResultTable, b.ResultTable);
    EXPECT_EQ(a.ResonanceTable, b.ResonanceTable);
}

TEST_F(StopProtocolTest, NoResumesExactlyWhereTheRunPaused) {
    test::RecordingView plain;
    const FitResult reference = runFit(inputs(FitMode::GR2), plain);
    ASSERT_TRUE(reference.completed);
    ASSERT_GT(plain.polls, 20);
    // At a wavelength, inside FitPolarizationRatio, in the radius fit.
    for (int poll : {1, 4, 2, 3, 12, 13, 20, plain.polls}) {
        test::RecordingView view;
        const FitResult r = runStoppedAt(FitMode::GR2, poll, false, view);
        EXPECT_EQ(view.questions, 1) << poll;
        EXPECT_EQ(view.pollsAtQuestion, poll);
        EXPECT_TRUE(view.flag);
        EXPECT_EQ(view.polls, plain.polls) << poll;
        expectSameResults(r, reference);
    }
}

TEST_F(StopProtocolTest, YesEndsTheRunAtOnceWithoutResults) {
    for (int poll : {1, 2, 6, 13}) {
        test::RecordingView view;
        const FitResult r = runStoppedAt(FitMode::GR2, poll, true, view);
        EXPECT_FALSE(r.completed) << poll;
        // Asked once, also inside FitPolarizationRatio, and nothing polled after.
        EXPECT_EQ(view.questions, 1) << poll;
        EXPECT_EQ(view.polls, poll);
        // No results stage and nothing to show over time: the window keeps
        // what it showed before, but for what the run's start emptied.
        EXPECT_TRUE(r.ResultTable.empty());
        EXPECT_TRUE(r.ResonanceTable.empty());
        EXPECT_TRUE(r.predictionRadii.empty());
        EXPECT_TRUE(r.overTime.empty());
    }
}

TEST_F(StopProtocolTest, YesInsideAPassLeavesItsProgressBar) {
    test::RecordingView view;
    runStoppedAt(FitMode::GR2, 3, true, view);
    // The first pass's first time point is done, its second stopped: one
    // step of the four passes' and the radius fit's ten.
    EXPECT_EQ(view.progress, (std::vector<std::pair<int, int>>{{1, 10}}));
}

TEST_F(StopProtocolTest, FreePlasmaFitAsksBeforeEveryCandidate) {
    // One time point: 21 plasma energies x 101 dampings x 21 radii.
    test::writeMeasurement(file(), {{0.0, 46.0, 20.0, 0.7}});
    test::RecordingView plain;
    const FitResult reference = runFit(inputs(FitMode::GR1), plain);
    EXPECT_EQ(plain.polls, 21 * 101 * 21);
    test::RecordingView no;
    expectSameResults(runStoppedAt(FitMode::GR1, 5000, false, no), reference);
    EXPECT_EQ(no.questions, 1);
    test::RecordingView yes;
    EXPECT_FALSE(runStoppedAt(FitMode::GR1, 5000, true, yes).completed);
    EXPECT_EQ(yes.polls, 5000);
    EXPECT_TRUE(yes.progress.empty());
}

// A view that answers a row of stop tests at once, as the window does, and
// finds the flag cleared at its `clearAtRow`th row.
class RowAnsweringView : public test::RecordingView {
public:
    int pollsWhileSet(int count) override {
        ++rows;
        if (rows == clearAtRow) {
            flag = false;
        }
        if (!flag) {
            ++polls; // the one test that found it cleared
            return 0;
        }
        polls += count;
        return count;
    }
    int rows = 0;
    int clearAtRow = 0;
};

TEST_F(StopProtocolTest, RowsAnsweredAtOnceResumeAsTestsAskedOneByOne) {
    test::writeMeasurement(file(), {{0.0, 46.0, 20.0, 0.7}, {1.0, 49.0, 20.0, 0.7}});
    test::RecordingView plain;
    const FitResult reference = runFit(inputs(FitMode::GR1), plain);
    for (int row : {0, 1, 2, 15, 21, 30}) {
        RowAnsweringView view;
        view.clearAtRow = row;
        const FitResult r = runFit(inputs(FitMode::GR1), view);
        expectSameResults(r, reference);
        EXPECT_EQ(view.questions, row == 0 ? 0 : 1) << row;
        EXPECT_EQ(view.polls, plain.polls) << row;
    }
}

TEST_F(StopProtocolTest, RadiusFitNeverPolls) {
    test::RecordingView view;
    view.clearAtPoll = 1;
    view.answerYes = true;
    const FitResult r = runFit(inputs(FitMode::R), view);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(view.polls, 0);
    EXPECT_TRUE(view.flag);
}

} // namespace
} // namespace velmora
