// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of one fit run, each a number in its unit: what the window's
// fields and velmora-fit's options are parsed into once, checked by
// refusalOf before any work starts, and read by the run and the fits.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

constexpr int kWavelengths = 4;
constexpr int kMaxRadiusSteps = 1000;
// The widest spread of sizes a run may search: the standard deviation of
// ln R, a factor e between the radii one deviation apart.
constexpr double kMaxSigma = 1.0;

// The fitting modes. R, GR1, GR2 and Blank are numbered as the window's mode
// box has always listed its first four items; None when no item is selected
// there. None and Blank fit nothing. GR3 ("G, R (III)") fits radius,
// concentration and damping to the intensities and the polarisation ratios
// together; the window maps its item to this value explicitly.
enum class FitMode { None = -1, R = 0, GR1 = 1, GR2 = 2, Blank = 3, GR3 = 4 };

// The dielectric functions, numbered as the window's model box lists them;
// None when no item is selected there.
enum class Dielectric { None = -1, Drude = 0, Lorents = 1 };

// A closed range of a grid, lowest first.
struct Range {
    double lowest;
    double highest;
};

// The radii the fits search: rmin + j * (rmax - rmin) / steps.
struct RadiusGrid {
    double rmin = 20.0;  // nm
    double rmax = 200.0; // nm
    int steps = 200;
};

struct FitSettings {
    FitMode mode = FitMode::None;
    Dielectric model = Dielectric::None;
    std::array<double, kWavelengths> wavelengths{457.9, 514.5, 568.2, 647.1}; // nm
    RadiusGrid radius;
    // Mode R: the fixed plasma energy and damping, eV.
    double plasmaEnergy = 5.6;
    double damping = 1.0;
    // Mode "G, R (I)": the plasma energy and damping grids, eV.
    Range jointPlasmaEnergy{5.6, 5.6};
    Range jointDamping{0.0, 2.0};
    // Mode "G, R (II)": the fixed plasma energy and the damping grid of the
    // polarisation pass, eV.
    double polarizationPlasmaEnergy = 5.6;
    Range polarizationDamping{0.0, 2.0};
    // Every fitting mode: the particle in its medium (refractive index n
    // and background permittivity eps_inf, both 1 for the sphere in vacuum)
    // and the spread of its sizes (the standard deviation of ln R, searched
    // over this range; one value when lowest = highest, 0 for one size).
    double mediumIndex = 1.0;
    double epsInf = 1.0;
    Range sigma{0.0, 0.0};
    // Refine every time point's grid winner by least squares, with
    // standard errors (mode "G, R (III)" always refines).
    bool refine = false;
};

// Whether the mode runs a fit (R, "G, R (I)", "G, R (II)" or "G, R (III)").
constexpr bool fitsSomething(FitMode mode) {
    return mode == FitMode::R || mode == FitMode::GR1 || mode == FitMode::GR2 ||
           mode == FitMode::GR3;
}

// Whether a run refines its grid winners.
constexpr bool refinesWinners(const FitSettings& settings) {
    return fitsSomething(settings.mode) && (settings.refine || settings.mode == FitMode::GR3);
}

// Every value of FitSettings a user sets, each named by the window as a
// field and by velmora-fit as an option.
enum class Setting {
    Model,
    Wavelength1,
    Wavelength2,
    Wavelength3,
    Wavelength4,
    Rmin,
    Rmax,
    Steps,
    PlasmaEnergy,
    Damping,
    JointPlasmaEnergyLowest,
    JointPlasmaEnergyHighest,
    JointDampingLowest,
    JointDampingHighest,
    PolarizationPlasmaEnergy,
    PolarizationDampingLowest,
    PolarizationDampingHighest,
    MediumIndex,
    EpsInf,
    SigmaLowest,
    SigmaHighest,
};

// The setting of wavelength k (0..3).
constexpr Setting wavelengthSetting(int k) {
    return static_cast<Setting>(static_cast<int>(Setting::Wavelength1) + k);
}

// Why a setting cannot be run: `rule` says what is allowed, with "%s" where
// the setting's name goes.
struct Refusal {
    Setting setting;
    std::string rule;
};

// The refusal's message, naming the setting as `name` (a field's label in
// the window, an option in velmora-fit).
std::string refusalMessage(const Refusal& refusal, std::string_view name);

// The first setting the run cannot take, checked in this order: the model
// (when the mode fits), the wavelengths 1..4, Rmin, Rmax, the steps, then the
// values of the selected mode in the order of the Setting enum, then (when
// the mode fits) the medium index, eps_inf and the spread. Nothing when
// every setting can be run.
std::optional<Refusal> refusalOf(const FitSettings& settings);

} // namespace velmora
