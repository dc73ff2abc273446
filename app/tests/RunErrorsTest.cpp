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
    }
    std::string file() const { return dir.file("DemoDat.txt"); }

    // The message the run fails with, or "completed".
    std::string failureOf(const FieldInputs& inputs) {
        try {
            runFit(inputs, view);
        } catch (const RunError& e) {
            return e.what();
        }
        return "completed";
    }
    std::string failureWithField(FitMode mode, Field field, std::string_view text) {
        FieldInputs inputs = test::inputsFor(mode, file());
        test::setField(inputs, field, text);
        return failureOf(inputs);
    }
    bool nothingDrawn() const { return view.starts == 0; }

    test::ScratchDir dir;
    test::RecordingView view;
};

// A refused field changes nothing: the run does not start.
TEST_F(RunErrorsTest, SetUpFieldsFailBeforeTheFileIsRead) {
    EXPECT_EQ(failureWithField(FitMode::R, Field::Rmax, "abc"),
              "'abc' is not a valid floating point value");
    EXPECT_TRUE(nothingDrawn());
    EXPECT_FALSE(view.flag);
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "2,5"), "'2,5' is not a valid integer value");
}

TEST_F(RunErrorsTest, FieldsAreParsedInTheirOrder) {
    FieldInputs inputs = test::inputsFor(FitMode::R, file());
    test::setField(inputs, Field::N, "x10");
    test::setField(inputs, Field::GamMin, "x12");
    test::setField(inputs, Field::WpMin, "x7");
    EXPECT_EQ(failureOf(inputs), "'x7' is not a valid floating point value");
    test::setField(inputs, Field::Lambda4, "x4");
    EXPECT_EQ(failureOf(inputs), "'x4' is not a valid floating point value");
}

// A grid the first window of the mode would overrun (it would report radii
// above Rmax), an empty one and one beyond the tables are refused before the
// file is read; Rmax is checked before N.
TEST_F(RunErrorsTest, StepCountsOutsideTheModesRangeAreRefused) {
    const std::string rangeOfR = "N must be at least 10 and at most 1000 radius steps in mode R";
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "0"), rangeOfR);
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "9"), rangeOfR);
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "1001"), rangeOfR);
    EXPECT_EQ(failureWithField(FitMode::None, Field::N, "-5"),
              "N must be at least 1 and at most 1000 radius steps");
    FieldInputs inputs = test::inputsFor(FitMode::R, dir.file("missing.txt"));
    test::setField(inputs, Field::N, "0");
    test::setField(inputs, Field::Rmax, "20");
    EXPECT_EQ(failureOf(inputs), "Rmax must be a radius above the smallest radius");
    EXPECT_TRUE(nothingDrawn());
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "10"), "completed");
    EXPECT_EQ(failureWithField(FitMode::R, Field::N, "1000"), "completed");
}

TEST_F(RunErrorsTest, MissingFileDrawsNothing) {
    EXPECT_EQ(failureOf(test::inputsFor(FitMode::R, "no-such-file.txt")),
              "Cannot open file no-such-file.txt: No such file or directory");
    EXPECT_TRUE(nothingDrawn());
}

// The fields of the selected mode are read with the others, before the
// measurement; the fields of other modes are not read at all.
TEST_F(RunErrorsTest, ModeFieldErrorsAreFoundBeforeTheMeasurementIsRead) {
    EXPECT_EQ(failureWithField(FitMode::R, Field::Gam, "1;5"),
              "'1;5' is not a valid floating point value");
    EXPECT_TRUE(nothingDrawn());
    EXPECT_EQ(failureWithField(FitMode::GR2, Field::PolWp, "x"),
              "'x' is not a valid floating point value");
    EXPECT_EQ(failureWithField(FitMode::GR2, Field::PolGamMax, "y"),
              "'y' is not a valid floating point value");
    EXPECT_TRUE(nothingDrawn());
    EXPECT_EQ(failureWithField(FitMode::GR1, Field::PolGamMax, "y"), "completed");
}

// A failure caused by one field names it, so that the window can mark it; the
// message stays the same.
TEST_F(RunErrorsTest, FieldFailuresNameTheirField) {
    const auto failingField = [&](FitMode mode, Field field, std::string_view text) {
        FieldInputs inputs = test::inputsFor(mode, file());
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
    EXPECT_EQ(failingField(FitMode::R, Field::Rmin, "-30"), Field::Rmin);
    EXPECT_EQ(failingField(FitMode::GR1, Field::WpMin, "6"), Field::WpMin);
    EXPECT_EQ(failingField(FitMode::R, Field::Gam, "1;5"), Field::Gam);
    EXPECT_EQ(failingField(FitMode::GR2, Field::PolGamMin, "y"), Field::PolGamMin);
    EXPECT_EQ(failingField(FitMode::GR2, Field::PolWp, "x"), Field::PolWp);
    // A fault of the arithmetic belongs to no one field.
    EXPECT_EQ(failingField(FitMode::None, Field::Lambda2, "1e-320"), std::nullopt);
}

TEST_F(RunErrorsTest, FittingNeedsADielectricFunction) {
    FieldInputs inputs = test::inputsFor(FitMode::GR1, file());
    inputs.dielectric = static_cast<int>(Dielectric::None);
    EXPECT_EQ(failureOf(inputs), "Choose a dielectric function (Drude or Lorents) before fitting");
    EXPECT_TRUE(nothingDrawn());
    // Without a fit nothing needs one.
    inputs.fitMode = static_cast<int>(FitMode::None);
    EXPECT_EQ(failureOf(inputs), "completed");
}

TEST_F(RunErrorsTest, ModelFaultsEndTheRun) {
    // A wavelength so short that its size parameters overflow.
    EXPECT_EQ(failureWithField(FitMode::R, Field::Lambda3, "1e-300"), "Floating point overflow");
    // The measurement was read and shown before the fault.
    EXPECT_EQ(view.starts, 1);
    // Without a fit the photon energy of the results stage divides by zero:
    // the denominator underflows to 0.
    EXPECT_EQ(failureWithField(FitMode::None, Field::Lambda2, "1e-320"),
              "Floating point division by zero");
    EXPECT_EQ(failureWithField(FitMode::R, Field::Lambda1, "0"),
              "λ1 must be a wavelength above 0 nm");
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
    FieldInputs comma = test::inputsFor(FitMode::R, file());
    FieldInputs stop = comma;
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
