// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/FitSettings.h"
#include "fit/Numbers.h"
#include "fit/SearchGeometry.h"

#include <cmath>
#include <string>

namespace velmora {

namespace {

// " in mode <name>" for a mode that fits, as the window lists it.
std::string inMode(FitMode mode) {
    switch (mode) {
    case FitMode::R:
        return " in mode R";
    case FitMode::GR1:
        return " in mode G, R (I)";
    case FitMode::GR2:
        return " in mode G, R (II)";
    case FitMode::GR3:
        return " in mode G, R (III)";
    default:
        return "";
    }
}

// The first of the values that is not finite.
std::optional<Refusal> firstInfinite(std::initializer_list<std::pair<Setting, double>> values) {
    for (const auto& [setting, value] : values) {
        if (!std::isfinite(value)) {
            return Refusal{setting, "%s must be a finite number"};
        }
    }
    return std::nullopt;
}

std::optional<Refusal> rangeRefusal(Setting lowest, Setting highest, const Range& range,
                                    const char* quantity) {
    if (auto refusal = firstInfinite({{lowest, range.lowest}, {highest, range.highest}})) {
        return refusal;
    }
    if (range.lowest > range.highest) {
        return Refusal{lowest, std::string("%s must not be above the highest ") + quantity};
    }
    return std::nullopt;
}

std::optional<Refusal> gridRefusal(const FitSettings& s) {
    for (int k = 0; k < kWavelengths; ++k) {
        if (!std::isfinite(s.wavelengths[k]) || s.wavelengths[k] <= 0.0) {
            return Refusal{wavelengthSetting(k), "%s must be a wavelength above 0 nm"};
        }
    }
    const RadiusGrid& grid = s.radius;
    if (!std::isfinite(grid.rmin) || grid.rmin < 0.0) {
        return Refusal{Setting::Rmin, "%s must be a radius of at least 0 nm"};
    }
    if (!std::isfinite(grid.rmax) || grid.rmax <= grid.rmin) {
        return Refusal{Setting::Rmax, "%s must be a radius above the smallest radius"};
    }
    const int fewest = firstReach(s.mode);
    if (grid.steps < fewest || grid.steps > kMaxRadiusSteps) {
        return Refusal{Setting::Steps, "%s must be at least " + std::to_string(fewest) +
                                           " and at most " + std::to_string(kMaxRadiusSteps) +
                                           " radius steps" + inMode(s.mode)};
    }
    return std::nullopt;
}

std::optional<Refusal> modeRefusal(const FitSettings& s) {
    switch (s.mode) {
    case FitMode::R:
        return firstInfinite(
            {{Setting::PlasmaEnergy, s.plasmaEnergy}, {Setting::Damping, s.damping}});
    case FitMode::GR1:
        if (auto refusal =
                rangeRefusal(Setting::JointPlasmaEnergyLowest, Setting::JointPlasmaEnergyHighest,
                             s.jointPlasmaEnergy, "plasma energy")) {
            return refusal;
        }
        return rangeRefusal(Setting::JointDampingLowest, Setting::JointDampingHighest,
                            s.jointDamping, "damping");
    case FitMode::GR2:
    case FitMode::GR3:
        if (auto refusal =
                firstInfinite({{Setting::PolarizationPlasmaEnergy, s.polarizationPlasmaEnergy}})) {
            return refusal;
        }
        return rangeRefusal(Setting::PolarizationDampingLowest, Setting::PolarizationDampingHighest,
                            s.polarizationDamping, "damping");
    default:
        return std::nullopt;
    }
}

// The particle in its medium and the spread of its sizes, read by every
// fitting mode.
std::optional<Refusal> particleRefusal(const FitSettings& s) {
    if (!std::isfinite(s.mediumIndex) || s.mediumIndex <= 0.0) {
        return Refusal{Setting::MediumIndex, "%s must be a refractive index above 0"};
    }
    if (auto refusal = firstInfinite({{Setting::EpsInf, s.epsInf}})) {
        return refusal;
    }
    if (auto refusal =
            rangeRefusal(Setting::SigmaLowest, Setting::SigmaHighest, s.sigma, "spread")) {
        return refusal;
    }
    if (s.sigma.lowest < 0.0) {
        return Refusal{Setting::SigmaLowest, "%s must be a spread of at least 0"};
    }
    if (s.sigma.highest > kMaxSigma) {
        return Refusal{Setting::SigmaHighest,
                       "%s must be a spread of at most " + formatGeneral(kMaxSigma)};
    }
    return std::nullopt;
}

} // namespace

std::optional<Refusal> refusalOf(const FitSettings& settings) {
    if (fitsSomething(settings.mode) && settings.model == Dielectric::None) {
        return Refusal{Setting::Model,
                       "Choose a dielectric function (Drude or Lorents) before fitting"};
    }
    if (auto refusal = gridRefusal(settings)) {
        return refusal;
    }
    if (auto refusal = modeRefusal(settings)) {
        return refusal;
    }
    return fitsSomething(settings.mode) ? particleRefusal(settings) : std::nullopt;
}

std::string refusalMessage(const Refusal& refusal, std::string_view name) {
    std::string message = refusal.rule;
    if (const auto at = message.find("%s"); at != std::string::npos) {
        message.replace(at, 2, name);
    }
    return message;
}

} // namespace velmora
