// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <optional>

namespace velmora {
namespace {

class RunErrorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeMeasurement(file(), {{0.0, 30.0, 50.0}, {1.0, 31.0, 50.0}, {2.0, 32.0, 50.0}});
        view.memos[MemoId::Memo1] = {"previous run"};
        view.memos[MemoId::Memo2] = {"previous run"};
    }
    std::string file() const { return dir.file("DemoDat.txt"); }

    // The message the run fails with, or "completed".
    std::string failureOf(const RunInputs& inputs) {
        try {
            runFit(inputs, view);
        } catch (const RunError& e) {
            return e.what();
        }
        return "completed";
    }
    std::string failureWithField(FitMode mode, Field field, std::string_view text) {
        RunInputs inputs = test::inputsFor(mode, file());
        test::setField(inputs, field, text);
        return failureOf(inputs);
    }
    bool nothingDrawn() const { return view.series.empty() && view.cleared.empty(); }

    test::ScratchDir dir;
    test::RecordingView view;
};

TEST_F(RunErrorsTest, SetUpFieldsFailBeforeTheFileIsRead) {
    EXPECT_EQ(failureWithField(FitMode::R, Field::Rmax, "abc"),
              "'abc' is not a valid floating point value");
    EXPECT_TRUE(nothingDrawn());
    EXPECT_TRUE(view.flag);
    EXPECT_TRUE(view.memos[MemoId::Memo1].empty());
    EXPECT_EQ(view.memos[MemoId::Memo2].size(), 1u);
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "2,5"), "'2,5' is not a valid integer value");
}

TEST_F(RunErrorsTest, FieldsAreParsedInTheirOrder) {
    RunInputs inputs = test::inputsFor(FitMode::R, file());
    test::setField(inputs, Field::N, "x10");
    test::setField(inputs, Field::GamMin, "x12");
    test::setField(inputs, Field::WpMin, "x7");
    EXPECT_EQ(failureOf(inputs), "'x7' is not a valid floating point value");
    test::setField(inputs, Field::Lambda4, "x4");
    EXPECT_EQ(failureOf(inputs), "'x4' is not a valid floating point value");
}

TEST_F(RunErrorsTest, ZeroStepsFaultInTheSetUp) {
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "0"), "Floating point division by zero");
    RunInputs inputs = test::inputsFor(FitMode::R, dir.file("missing.txt"));
    test::setField(inputs, Field::N, "0");
    test::setField(inputs, Field::Rmax, "20");
    EXPECT_EQ(failureOf(inputs), "Invalid floating point operation");
    EXPECT_TRUE(nothingDrawn());
}

TEST_F(RunErrorsTest, TooManyStepsAreRefused) {
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "1001"),
              "N = 1001 exceeds the limit of 1000 radius steps");
    EXPECT_TRUE(nothingDrawn());
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "1000"), "completed");
}

TEST_F(RunErrorsTest, NegativeStepsGiveAnEmptyGrid) {
    // Mode R still tries its first window, whose radii are now negative.
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "-5"), "Invalid floating point operation");
    RunInputs inputs = test::inputsFor(FitMode::None, file());
    test::setField(inputs, Field::N, "-5");
    const RunResult r = runFit(inputs, view);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.Model.size(), 1u);
    EXPECT_TRUE(view.series[SeriesId::Series16].empty());
}

TEST_F(RunErrorsTest, MissingFileDrawsNothing) {
    EXPECT_EQ(failureOf(test::inputsFor(FitMode::R, "no-such-file.txt")),
              "Cannot open file no-such-file.txt: No such file or directory");
    EXPECT_TRUE(nothingDrawn());
    EXPECT_TRUE(view.memos[MemoId::Memo1].empty());
}

TEST_F(RunErrorsTest, ModeFieldErrorsLeaveTheMeasurementDrawn) {
    EXPECT_EQ(failureWithField(FitMode::R, Field::Gam, "1;5"),
              "'1;5' is not a valid floating point value");
    EXPECT_EQ(view.series[SeriesId::Series8].size(), 3u);
    EXPECT_EQ(view.series[SeriesId::Series3][0].colour, Colour::Green);
    // The result series were cleared, in their order, before the fit.
    const std::vector<SeriesId> firstCleared(view.cleared.begin() + 8, view.cleared.begin() + 11);
    EXPECT_EQ(firstCleared, (std::vector<SeriesId>{SeriesId::LineSeries2, SeriesId::LineSeries3,
                                                   SeriesId::Series9}));
    EXPECT_EQ(view.cleared.size(), 8u + 19u);
    EXPECT_EQ(view.memos[MemoId::Memo2].size(), 1u);
    EXPECT_EQ(failureWithField(FitMode::GR2, Field::PolWp, "x"),
              "'x' is not a valid floating point value");
    EXPECT_EQ(failureWithField(FitMode::GR2, Field::PolGamMax, "y"),
              "'y' is not a valid floating point value");
}

// A failure caused by one field names it, so that the window can mark it; the
// message stays the same.
TEST_F(RunErrorsTest, FieldFailuresNameTheirField) {
    const auto failingField = [&](FitMode mode, Field field, std::string_view text) {
        RunInputs inputs = test::inputsFor(mode, file());
        test::setField(inputs, field, text);
        try {
            runFit(inputs, view);
        } catch (const FieldError& e) {
            return std::optional<Field>(e.field());
        } catch (const RunError&) {
        }
        return std::optional<Field>();
    };
    for (const Field field : {Field::Lambda3, Field::Rmin, Field::WpMax, Field::GamMin}) {
        EXPECT_EQ(failingField(FitMode::R, field, "abc"), field);
    }
    EXPECT_EQ(failingField(FitMode::R, Field::N, "2,5"), Field::N);
    EXPECT_EQ(failingField(FitMode::R, Field::N, "1001"), Field::N);
    EXPECT_EQ(failingField(FitMode::R, Field::Gam, "1;5"), Field::Gam);
    EXPECT_EQ(failingField(FitMode::GR2, Field::PolGamMin, "y"), Field::PolGamMin);
    EXPECT_EQ(failingField(FitMode::GR2, Field::PolWp, "x"), Field::PolWp);
    // A fault of the arithmetic belongs to no one field.
    EXPECT_EQ(failingField(FitMode::R, Field::Rmin, "-30"), std::nullopt);
}

TEST_F(RunErrorsTest, FittingNeedsADielectricFunction) {
    RunInputs inputs = test::inputsFor(FitMode::GR1, file());
    inputs.dielectric = static_cast<int>(Dielectric::None);
    EXPECT_EQ(failureOf(inputs), "Choose a dielectric function (Drude or Lorents) before fitting");
    EXPECT_EQ(view.series[SeriesId::Series1].size(), 3u);
    // Without a fit nothing needs one.
    inputs.fitMode = static_cast<int>(FitMode::None);
    EXPECT_EQ(failureOf(inputs), "completed");
}

TEST_F(RunErrorsTest, ModelFaultsEndTheRun) {
    EXPECT_EQ(failureWithField(FitMode::R, Field::Lambda3, "0"), "Floating point division by zero");
    EXPECT_EQ(view.series[SeriesId::Series1].size(), 3u);
    EXPECT_TRUE(view.series[SeriesId::Series9].empty());
    EXPECT_EQ(failureWithField(FitMode::R, Field::Rmin, "-30"), "Invalid floating point operation");
    EXPECT_EQ(failureWithField(FitMode::GR2, Field::Lambda1, "0"),
              "Floating point division by zero");
    // Without a fit the photon energy of the results stage divides by zero.
    EXPECT_EQ(failureWithField(FitMode::None, Field::Lambda2, "0"),
              "Floating point division by zero");
}

TEST_F(RunErrorsTest, ZeroModelIntensityInMatchIntensities) {
    // A plasma energy of 0 leaves (up to rounding) no scattering: the ratios
    // explode or fault, and the run must not crash either way.
    const std::string message = failureWithField(FitMode::R, Field::Wp, "0");
    EXPECT_TRUE(message == "completed" || message == "Floating point division by zero" ||
                message == "Floating point overflow")
        << message;
}

TEST_F(RunErrorsTest, DecimalFieldsTakeTheFullStop) {
    RunInputs comma = test::inputsFor(FitMode::R, file());
    RunInputs stop = comma;
    for (Field field :
         {Field::Lambda1, Field::Lambda2, Field::Lambda3, Field::Lambda4, Field::Wp}) {
        std::string text = comma.text(field);
        text[text.find(',')] = '.';
        test::setField(stop, field, text);
    }
    test::RecordingView other;
    EXPECT_EQ(runFit(comma, view).ResultTable, runFit(stop, other).ResultTable);
}

} // namespace
} // namespace velmora
