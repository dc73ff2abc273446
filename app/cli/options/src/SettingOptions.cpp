// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/SettingOptions.h"

#include "fit/Numbers.h"
#include "fit/Printable.h"
#include "fit/RunError.h"
#include "fit/SearchGeometry.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace velmora::options {

namespace {

// A default as the command line writes it: the shortest text that reads
// back as the same number, with the full stop.
std::string shown(double value) {
    std::string text = formatGeneral(value);
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

// A decimal option and the setting it sets.
struct NumberOption {
    const char* name;
    Setting setting;
    double& (*value)(FitSettings&);
    const char* description;
};

const NumberOption kNumberOptions[] = {
    {"--rmin", Setting::Rmin, [](FitSettings& s) -> double& { return s.radius.rmin; },
     "smallest radius in nm"},
    {"--rmax", Setting::Rmax, [](FitSettings& s) -> double& { return s.radius.rmax; },
     "largest radius in nm"},
    {"--wp", Setting::PlasmaEnergy, [](FitSettings& s) -> double& { return s.plasmaEnergy; },
     "plasma energy in eV, mode R"},
    {"--gamma", Setting::Damping, [](FitSettings& s) -> double& { return s.damping; },
     "damping in eV, mode R"},
    {"--wp-min", Setting::JointPlasmaEnergyLowest,
     [](FitSettings& s) -> double& { return s.jointPlasmaEnergy.lowest; },
     "smallest plasma energy in eV, mode GR1"},
    {"--wp-max", Setting::JointPlasmaEnergyHighest,
     [](FitSettings& s) -> double& { return s.jointPlasmaEnergy.highest; },
     "largest plasma energy in eV, mode GR1"},
    {"--gamma-min", Setting::JointDampingLowest,
     [](FitSettings& s) -> double& { return s.jointDamping.lowest; },
     "smallest damping in eV, mode GR1"},
    {"--gamma-max", Setting::JointDampingHighest,
     [](FitSettings& s) -> double& { return s.jointDamping.highest; },
     "largest damping in eV, mode GR1"},
    {"--wp2", Setting::PolarizationPlasmaEnergy,
     [](FitSettings& s) -> double& { return s.polarizationPlasmaEnergy; },
     "plasma energy in eV, mode GR2"},
    {"--gamma2-min", Setting::PolarizationDampingLowest,
     [](FitSettings& s) -> double& { return s.polarizationDamping.lowest; },
     "smallest damping in eV, mode GR2"},
    {"--gamma2-max", Setting::PolarizationDampingHighest,
     [](FitSettings& s) -> double& { return s.polarizationDamping.highest; },
     "largest damping in eV, mode GR2"},
};

constexpr const char* kModeOption = "--mode";
constexpr const char* kModelOption = "--model";
constexpr const char* kStepsOption = "--steps";
constexpr const char* kWavelengthsOption = "--wavelengths";

// The number an option's text holds; a text that is none is a bad command
// line naming the option.
template <typename Parse>
auto optionValue(const std::string& option, const std::string& text, Parse parse) {
    try {
        return parse(text);
    } catch (const RunError& failure) {
        throw CLI::ValidationError(option + ": " + failure.what());
    }
}

// The parts of a text between its commas.
std::vector<std::string> commaSeparated(const std::string& text) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == ',') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// --wavelengths takes one argument holding all four values, so that the
// argument after it stays a file however many values it holds.
void addWavelengths(CLI::App& app, GivenSettings& given) {
    const FitSettings defaults;
    std::string shownDefaults;
    for (int k = 0; k < kWavelengths; ++k) {
        shownDefaults += (k == 0 ? "" : ",") + shown(defaults.wavelengths[k]);
    }
    app.add_option_function<std::string>(
           kWavelengthsOption,
           [&given](const std::string& text) {
               const std::vector<std::string> values = commaSeparated(text);
               if (values.size() != kWavelengths) {
                   throw CLI::ValidationError(
                       std::string(kWavelengthsOption) + ": four wavelengths are needed, " +
                       "separated by commas without spaces (L1,L2,L3,L4); got " +
                       std::to_string(values.size()) + " in '" + printable(text) + "'");
               }
               for (int k = 0; k < kWavelengths; ++k) {
                   given.texts[wavelengthSetting(k)] = values[k];
               }
           },
           "the four laser wavelengths in nm")
        ->type_name("L1,L2,L3,L4")
        ->default_str(shownDefaults);
}

void addNumber(CLI::App& app, GivenSettings& given, const std::string& name, Setting setting,
               const std::string& description, const std::string& defaultText) {
    app.add_option_function<std::string>(
           name, [&given, setting](const std::string& text) { given.texts[setting] = text; },
           description)
        ->type_name("NUMBER")
        ->default_str(defaultText);
}

// A choice of a name table; its default shown when the program has one.
template <typename Value>
void addChoice(CLI::App& app, const std::string& name, const std::string& typeName,
               std::string& chosen, const std::map<std::string, Value>& table,
               std::string description, const std::string& withoutDefault) {
    const std::string defaultName = chosen;
    if (defaultName.empty()) {
        description += "; " + withoutDefault;
    }
    CLI::Option* option = app.add_option(name, chosen, description)
                              ->transform(CLI::IsMember(namesOf(table), CLI::ignore_case));
    if (!defaultName.empty()) {
        option->default_str(defaultName);
    }
    option->type_name(typeName);
}

} // namespace

const std::map<std::string, FitMode>& modeNames() {
    static const std::map<std::string, FitMode> modes = {
        {"R", FitMode::R}, {"GR1", FitMode::GR1}, {"GR2", FitMode::GR2}, {"none", FitMode::None}};
    return modes;
}

const std::map<std::string, Dielectric>& modelNames() {
    static const std::map<std::string, Dielectric> models = {{"Drude", Dielectric::Drude},
                                                             {"Lorents", Dielectric::Lorents}};
    return models;
}

void addSettingOptions(CLI::App& app, GivenSettings& given) {
    addChoice(app, kModeOption, "MODE", given.mode, modeNames(),
              "fitting mode: radius (R), plasma energy, damping and radius (GR1, \"G, R (I)\"), "
              "damping from the polarisation ratio (GR2, \"G, R (II)\") or none; any letter case",
              "by default no mode is selected");
    addChoice(app, kModelOption, "MODEL", given.model, modelNames(),
              "dielectric function; any letter case", "by default none is selected");
    addWavelengths(app, given);
    FitSettings defaults;
    for (const NumberOption& number : kNumberOptions) {
        addNumber(app, given, number.name, number.setting, number.description,
                  shown(number.value(defaults)));
        if (number.setting == Setting::Rmax) {
            addNumber(app, given, kStepsOption, Setting::Steps,
                      "number of radius steps, at least " + std::to_string(firstReach(FitMode::R)) +
                          " (mode R) or " + std::to_string(firstReach(FitMode::GR1)) +
                          " (GR1, GR2) and at most " + std::to_string(kMaxRadiusSteps),
                      std::to_string(defaults.radius.steps));
        }
    }
}

std::string optionName(Setting setting) {
    for (const NumberOption& number : kNumberOptions) {
        if (number.setting == setting) {
            return number.name;
        }
    }
    switch (setting) {
    case Setting::Steps:
        return kStepsOption;
    case Setting::Model:
        return kModelOption;
    default:
        return std::string(kWavelengthsOption) + " (wavelength " +
               std::to_string(static_cast<int>(setting) - static_cast<int>(Setting::Wavelength1) +
                              1) +
               ")";
    }
}

FitSettings settingsOf(const GivenSettings& given, FitSettings base) {
    FitSettings& s = base;
    if (!given.mode.empty()) {
        s.mode = modeNames().at(given.mode);
    }
    if (!given.model.empty()) {
        s.model = modelNames().at(given.model);
    }
    for (int k = 0; k < kWavelengths; ++k) {
        if (const auto text = given.texts.find(wavelengthSetting(k)); text != given.texts.end()) {
            s.wavelengths[k] = optionValue(kWavelengthsOption, text->second, parseDecimal);
        }
    }
    for (const NumberOption& number : kNumberOptions) {
        if (const auto text = given.texts.find(number.setting); text != given.texts.end()) {
            number.value(s) = optionValue(number.name, text->second, parseDecimal);
        }
    }
    if (const auto text = given.texts.find(Setting::Steps); text != given.texts.end()) {
        s.radius.steps = optionValue(kStepsOption, text->second, parseInteger);
    }
    if (const auto refusal = refusalOf(s)) {
        throw CLI::ValidationError(refusalMessage(*refusal, optionName(refusal->setting)));
    }
    return s;
}

} // namespace velmora::options
