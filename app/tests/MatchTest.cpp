// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/Match.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velmora {
namespace {

std::array<ModelValue, kWavelengths> unitModels() {
    std::array<ModelValue, kWavelengths> models{};
    models.fill({1.0, 1.0, FpFault::None});
    return models;
}

TEST(MatchIntensities, SevenRatiosOfOneAndOneOfThree) {
    Measured measured;
    measured.iv = {1.0, 1.0, 1.0, 1.0};
    measured.ih = {1.0, 1.0, 3.0, 1.0};
    const MatchValue m = MatchIntensities(measured, unitModels());
    EXPECT_EQ(m.fault, FpFault::None);
    EXPECT_DOUBLE_EQ(m.mean, 1.25);
    EXPECT_DOUBLE_EQ(m.err, std::sqrt(3.5) / 8);
    EXPECT_NEAR(m.vx, 18.7083, 5e-5);
}

TEST(MatchIntensities, ExactMultiplesOfTheModelAgreeFully) {
    std::array<ModelValue, kWavelengths> models = {ModelValue{0.5, 0.25, FpFault::None},
                                                   {2.0, 4.0, FpFault::None},
                                                   {0.125, 8.0, FpFault::None},
                                                   {1.0, 16.0, FpFault::None}};
    Measured measured;
    for (int k = 0; k < kWavelengths; ++k) {
        measured.iv[k] = 3.0 * models[k].iv;
        measured.ih[k] = 3.0 * models[k].ih;
    }
    const MatchValue m = MatchIntensities(measured, models);
    EXPECT_EQ(m.mean, 3.0);
    EXPECT_EQ(m.err, 0.0);
    EXPECT_EQ(m.vx, 0.0);
}

TEST(MatchIntensities, ZeroMeanScoresHundredAndNegativeMeanKeepsItsSign) {
    Measured zero;
    EXPECT_EQ(MatchIntensities(zero, unitModels()).vx, 100.0);
    Measured negative;
    negative.iv = {-1.0, -1.0, -1.0, -1.0};
    negative.ih = {-1.0, -1.0, -3.0, -1.0};
    const MatchValue m = MatchIntensities(negative, unitModels());
    EXPECT_DOUBLE_EQ(m.mean, -1.25);
    EXPECT_NEAR(m.vx, -18.7083, 5e-5);
}

TEST(MatchIntensities, ZeroModelIntensityDividesByZeroOrIsInvalid) {
    Measured measured;
    measured.iv = {1.0, 1.0, 1.0, 1.0};
    measured.ih = {1.0, 1.0, 1.0, 1.0};
    auto models = unitModels();
    models[2].ih = 0.0;
    EXPECT_EQ(MatchIntensities(measured, models).fault, FpFault::DivisionByZero);
    measured.ih[2] = 0.0;
    EXPECT_EQ(MatchIntensities(measured, models).fault, FpFault::InvalidOperation);
}

TEST(MatchIntensities, FirstFaultInEvaluationOrderWins) {
    Measured measured;
    measured.iv = {1.0, 0.0, 1.0, 1.0};
    measured.ih = {1.0, 1.0, 1.0, 1.0};
    auto models = unitModels();
    // Wavelength 2: V is 0/0 (invalid) before H is 1/0 (division by zero).
    models[1] = {0.0, 0.0, FpFault::None};
    EXPECT_EQ(MatchIntensities(measured, models).fault, FpFault::InvalidOperation);
    // A fault of the model at wavelength 3 comes after the ratios of 2 ...
    models[2] = {0.0, 0.0, FpFault::Overflow};
    EXPECT_EQ(MatchIntensities(measured, models).fault, FpFault::InvalidOperation);
    // ... and before the ratios of wavelength 4.
    models[1] = {1.0, 1.0, FpFault::None};
    models[3] = {0.0, 0.0, FpFault::None};
    EXPECT_EQ(MatchIntensities(measured, models).fault, FpFault::Overflow);
}

TEST(MatchIntensities, HugeRatiosOverflow) {
    Measured measured;
    measured.iv = {1e300, 1.0, 1.0, 1.0};
    measured.ih = {1.0, 1.0, 1.0, 1.0};
    auto models = unitModels();
    models[0].iv = 1e-300;
    EXPECT_EQ(MatchIntensities(measured, models).fault, FpFault::Overflow);
    // Underflow is no fault.
    models[0].iv = 1e300;
    measured.iv[0] = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(MatchIntensities(measured, models).fault, FpFault::None);
}

} // namespace
} // namespace velmora
