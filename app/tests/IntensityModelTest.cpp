#include "fit/IntensityModel.h"
#include "fit/Match.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmora {
namespace {

ModelValue drude(double radius, double lambda = 457.9) {
    return ModelIntensities({lambda, radius, 1.0, 5.6, kDrudeResonance});
}

ModelValue lorents(double radius) {
    return ModelIntensities({457.9, radius, 1.0, 5.6, kLorentsResonance});
}

void expectRelativelyNear(double actual, double expected, double tolerance) {
    EXPECT_NEAR(actual, expected, std::fabs(expected) * tolerance);
}

TEST(IntensityModel, PhotonEnergyOfTheFirstWavelength) {
    expectRelativelyNear(photonEnergy(457.9), 2.70767, 2e-6);
}

TEST(IntensityModel, DrudeListedValues) {
    const ModelValue small = drude(20.0);
    EXPECT_EQ(small.fault, FpFault::None);
    expectRelativelyNear(small.iv, 0.0031166, 5e-5);
    expectRelativelyNear(small.ih, 0.00079038, 5e-5);
    // So small a sphere scatters H about cos^2(120 degrees) = 1/4 as strongly as V.
    EXPECT_NEAR(small.ih / small.iv, 0.25, 0.01);
    const ModelValue large = drude(100.0);
    expectRelativelyNear(large.iv, 0.51968, 5e-5);
    expectRelativelyNear(large.ih, 0.86249, 5e-5);
}

TEST(IntensityModel, LorentsListedValues) {
    const ModelValue small = lorents(20.0);
    expectRelativelyNear(small.iv, 0.00050815, 5e-5);
    expectRelativelyNear(small.ih, 0.00012989, 5e-5);
    const ModelValue large = lorents(100.0);
    expectRelativelyNear(large.iv, 0.64390, 5e-5);
    expectRelativelyNear(large.ih, 0.52685, 5e-5);
}

TEST(IntensityModel, FaultsAreReportedNotSignalled) {
    // A wavelength of 0 divides by zero in the photon energy.
    EXPECT_EQ(drude(20.0, 0.0).fault, FpFault::DivisionByZero);
    // A negative radius takes the logarithm of a negative size parameter.
    EXPECT_EQ(drude(-20.0).fault, FpFault::InvalidOperation);
    // No damping at the resonance energy: D = 0 and 0/0 in the permittivity.
    EXPECT_EQ(ModelIntensities({457.9, 20.0, 0.0, 5.6, photonEnergy(457.9)}).fault,
              FpFault::InvalidOperation);
    // A huge plasma energy overflows in its square.
    EXPECT_EQ(ModelIntensities({457.9, 20.0, 1.0, 1e200, 0.0}).fault, FpFault::Overflow);
    // A plasma energy of 0 is no fault here: eps = 1, the sphere is the
    // medium itself and scatters (up to rounding) nothing.
    const ModelValue empty = ModelIntensities({457.9, 20.0, 1.0, 0.0, kDrudeResonance});
    EXPECT_EQ(empty.fault, FpFault::None);
    EXPECT_LT(std::fabs(empty.iv), 1e-20);
    EXPECT_LT(std::fabs(empty.ih), 1e-20);
}

} // namespace
} // namespace velmora
