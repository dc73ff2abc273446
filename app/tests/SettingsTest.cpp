// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "fit/SearchGeometry.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace velmora {
namespace {

struct RefusalCase {
    const char* what;
    FitMode mode;
    std::function<void(FitSettings&)> change;
    Setting refused;
};

// Each case breaks one setting of otherwise good settings; the check refuses
// exactly that setting.
TEST(SettingsTest, EachRefusalNamesTheBrokenSetting) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const RefusalCase cases[] = {
        {"no model for a fit", FitMode::GR2, [](FitSettings& s) { s.model = Dielectric::None; },
         Setting::Model},
        {"zero wavelength", FitMode::R, [](FitSettings& s) { s.wavelengths[2] = 0.0; },
         Setting::Wavelength3},
        {"negative wavelength", FitMode::None, [](FitSettings& s) { s.wavelengths[0] = -457.9; },
         Setting::Wavelength1},
        {"negative Rmin", FitMode::R, [](FitSettings& s) { s.radius.rmin = -30.0; }, Setting::Rmin},
        {"Rmax below Rmin", FitMode::R,
         [](FitSettings& s) {
             s.radius = {200.0, 20.0, 200};
         },
         Setting::Rmax},
        {"Rmax equal to Rmin", FitMode::GR1, [](FitSettings& s) { s.radius.rmax = 20.0; },
         Setting::Rmax},
        {"infinite Rmax", FitMode::None, [](FitSettings& s) { s.radius.rmax = inf; },
         Setting::Rmax},
        {"zero steps", FitMode::None, [](FitSettings& s) { s.radius.steps = 0; }, Setting::Steps},
        {"too many steps", FitMode::R, [](FitSettings& s) { s.radius.steps = 1001; },
         Setting::Steps},
        {"first window beyond Rmax, R", FitMode::R, [](FitSettings& s) { s.radius.steps = 9; },
         Setting::Steps},
        {"first window beyond Rmax, GR1", FitMode::GR1, [](FitSettings& s) { s.radius.steps = 19; },
         Setting::Steps},
        {"first window beyond Rmax, GR2", FitMode::GR2, [](FitSettings& s) { s.radius.steps = 19; },
         Setting::Steps},
        {"infinite damping, R", FitMode::R, [](FitSettings& s) { s.damping = inf; },
         Setting::Damping},
        {"reversed plasma energies, GR1", FitMode::GR1,
         [](FitSettings& s) {
             s.jointPlasmaEnergy = {6.0, 5.0};
         },
         Setting::JointPlasmaEnergyLowest},
        {"infinite highest damping, GR1", FitMode::GR1,
         [](FitSettings& s) { s.jointDamping.highest = inf; }, Setting::JointDampingHighest},
        {"reversed dampings, GR2", FitMode::GR2,
         [](FitSettings& s) {
             s.polarizationDamping = {2.0, 1.0};
         },
         Setting::PolarizationDampingLowest},
        {"first window beyond Rmax, GR3", FitMode::GR3, [](FitSettings& s) { s.radius.steps = 9; },
         Setting::Steps},
        {"reversed dampings, GR3", FitMode::GR3,
         [](FitSettings& s) {
             s.polarizationDamping = {2.0, 1.0};
         },
         Setting::PolarizationDampingLowest},
        {"medium index 0", FitMode::R, [](FitSettings& s) { s.mediumIndex = 0.0; },
         Setting::MediumIndex},
        {"medium index NaN", FitMode::GR3,
         [](FitSettings& s) { s.mediumIndex = std::numeric_limits<double>::quiet_NaN(); },
         Setting::MediumIndex},
        {"infinite eps_inf", FitMode::GR1, [](FitSettings& s) { s.epsInf = -inf; },
         Setting::EpsInf},
        {"negative spread", FitMode::R,
         [](FitSettings& s) {
             s.sigma = {-0.1, 0.2};
         },
         Setting::SigmaLowest},
        {"reversed spreads", FitMode::GR2,
         [](FitSettings& s) {
             s.sigma = {0.3, 0.2};
         },
         Setting::SigmaLowest},
        {"spread above its maximum", FitMode::GR3,
         [](FitSettings& s) {
             s.sigma = {0.0, 1.5};
         },
         Setting::SigmaHighest},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        FitSettings settings;
        settings.mode = c.mode;
        settings.model = Dielectric::Drude;
        ASSERT_FALSE(refusalOf(settings).has_value());
        c.change(settings);
        const auto refusal = refusalOf(settings);
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->setting, c.refused);
    }
}

TEST(SettingsTest, TheSmallestGridsThatFitTheFirstWindowsRun) {
    for (const FitMode mode :
         {FitMode::None, FitMode::R, FitMode::GR1, FitMode::GR2, FitMode::GR3}) {
        FitSettings settings;
        settings.mode = mode;
        settings.model = Dielectric::Lorents;
        settings.radius.steps = firstReach(mode);
        EXPECT_FALSE(refusalOf(settings).has_value()) << static_cast<int>(mode);
        settings.radius.steps = kMaxRadiusSteps;
        EXPECT_FALSE(refusalOf(settings).has_value()) << static_cast<int>(mode);
    }
    // Values a mode does not read are not its to refuse.
    FitSettings settings;
    settings.mode = FitMode::R;
    settings.model = Dielectric::Drude;
    settings.polarizationDamping = {2.0, 1.0};
    settings.jointPlasmaEnergy = {7.0, 5.0};
    EXPECT_FALSE(refusalOf(settings).has_value());
    // A run without a fit reads no particle; the widest spread and a medium
    // below n = 1 are particles a fit takes.
    settings.mode = FitMode::None;
    settings.mediumIndex = -1.0;
    EXPECT_FALSE(refusalOf(settings).has_value());
    settings.mode = FitMode::GR3;
    settings.polarizationDamping = {0.0, 2.0};
    settings.mediumIndex = 0.5;
    settings.epsInf = -3.0;
    settings.sigma = {kMaxSigma, kMaxSigma};
    EXPECT_FALSE(refusalOf(settings).has_value());
}

// The window's defaults and the settings' own are the same numbers, so the
// window and velmora-fit start from the same run.
TEST(SettingsTest, TheFieldDefaultsAreTheSettingsDefaults) {
    for (const FitMode mode : {FitMode::R, FitMode::GR1, FitMode::GR2}) {
        FieldInputs inputs = FieldInputs::defaults();
        inputs.fitMode = static_cast<int>(mode);
        inputs.dielectric = static_cast<int>(Dielectric::Drude);
        const FitSettings parsed = settingsFromFields(inputs);
        const FitSettings defaults;
        EXPECT_EQ(parsed.wavelengths, defaults.wavelengths);
        EXPECT_EQ(parsed.radius.rmin, defaults.radius.rmin);
        EXPECT_EQ(parsed.radius.rmax, defaults.radius.rmax);
        EXPECT_EQ(parsed.radius.steps, defaults.radius.steps);
        EXPECT_EQ(parsed.jointPlasmaEnergy.lowest, defaults.jointPlasmaEnergy.lowest);
        EXPECT_EQ(parsed.jointPlasmaEnergy.highest, defaults.jointPlasmaEnergy.highest);
        EXPECT_EQ(parsed.jointDamping.lowest, defaults.jointDamping.lowest);
        EXPECT_EQ(parsed.jointDamping.highest, defaults.jointDamping.highest);
        if (mode == FitMode::R) {
            EXPECT_EQ(parsed.plasmaEnergy, defaults.plasmaEnergy);
            EXPECT_EQ(parsed.damping, defaults.damping);
        }
        if (mode == FitMode::GR2) {
            EXPECT_EQ(parsed.polarizationPlasmaEnergy, defaults.polarizationPlasmaEnergy);
            EXPECT_EQ(parsed.polarizationDamping.lowest, defaults.polarizationDamping.lowest);
            EXPECT_EQ(parsed.polarizationDamping.highest, defaults.polarizationDamping.highest);
        }
    }
}

// The window's refusals name the field by its label and point at it.
TEST(SettingsTest, FieldRefusalsNameAndPointAtTheField) {
    struct FieldCase {
        FitMode mode;
        Field field;
        const char* text;
        const char* message;
    };
    const FieldCase cases[] = {
        {FitMode::R, Field::N, "0",
         "N must be at least 10 and at most 1000 radius steps in mode R"},
        {FitMode::GR1, Field::N, "1001",
         "N must be at least 20 and at most 1000 radius steps in mode G, R (I)"},
        {FitMode::None, Field::N, "-5", "N must be at least 1 and at most 1000 radius steps"},
        {FitMode::R, Field::Rmax, "20", "Rmax must be a radius above the smallest radius"},
        {FitMode::R, Field::Lambda2, "0", "λ2 must be a wavelength above 0 nm"},
        {FitMode::GR2, Field::PolGamMin, "3", "γ min must not be above the highest damping"},
        {FitMode::R, Field::Gam, "1;5", "'1;5' is not a valid floating point value"},
    };
    for (const FieldCase& c : cases) {
        FieldInputs inputs = test::inputsFor(c.mode, "unused.txt");
        test::setField(inputs, c.field, c.text);
        SCOPED_TRACE(c.message);
        try {
            settingsFromFields(inputs);
            ADD_FAILURE() << "not refused";
        } catch (const FieldError& e) {
            EXPECT_EQ(e.field(), c.field);
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

} // namespace
} // namespace velmora
