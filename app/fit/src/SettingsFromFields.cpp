// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/FieldInputs.h"
#include "fit/Numbers.h"
#include "fit/RunError.h"

#include <string_view>

namespace velmora {

namespace {

struct FieldOfSetting {
    Setting setting;
    Field field;
    std::string_view label; // as the window labels the field
};

constexpr FieldOfSetting kFieldsOfSettings[] = {
    {Setting::Wavelength1, Field::Lambda1, "λ1"},
    {Setting::Wavelength2, Field::Lambda2, "λ2"},
    {Setting::Wavelength3, Field::Lambda3, "λ3"},
    {Setting::Wavelength4, Field::Lambda4, "λ4"},
    {Setting::Rmin, Field::Rmin, "Rmin"},
    {Setting::Rmax, Field::Rmax, "Rmax"},
    {Setting::Steps, Field::N, "N"},
    {Setting::PlasmaEnergy, Field::Wp, "ωp"},
    {Setting::Damping, Field::Gam, "γ"},
    {Setting::JointPlasmaEnergyLowest, Field::WpMin, "ωp min"},
    {Setting::JointPlasmaEnergyHighest, Field::WpMax, "ωp max"},
    {Setting::JointDampingLowest, Field::GamMin, "γ min"},
    {Setting::JointDampingHighest, Field::GamMax, "γ max"},
    {Setting::PolarizationPlasmaEnergy, Field::PolWp, "ωp"},
    {Setting::PolarizationDampingLowest, Field::PolGamMin, "γ min"},
    {Setting::PolarizationDampingHighest, Field::PolGamMax, "γ max"},
    {Setting::MediumIndex, Field::MediumIndex, "n medium"},
    {Setting::EpsInf, Field::EpsInf, "ε∞"},
    {Setting::SigmaLowest, Field::SigmaMin, "σ min"},
    {Setting::SigmaHighest, Field::SigmaMax, "σ max"},
};

const FieldOfSetting& fieldOf(Setting setting) {
    for (const FieldOfSetting& entry : kFieldsOfSettings) {
        if (entry.setting == setting) {
            return entry;
        }
    }
    throw std::logic_error("a setting without a field");
}

double fieldDecimal(const FieldInputs& inputs, Field field) {
    try {
        return parseDecimal(inputs.text(field));
    } catch (const RunError& failure) {
        throw FieldError(failure.what(), field);
    }
}

int fieldInteger(const FieldInputs& inputs, Field field) {
    try {
        return parseInteger(inputs.text(field));
    } catch (const RunError& failure) {
        throw FieldError(failure.what(), field);
    }
}

} // namespace

Field settingField(Setting setting) {
    return fieldOf(setting).field;
}

const std::string& FieldInputs::text(Field field) const {
    static const std::string none;
    const auto found = texts.find(field);
    return found == texts.end() ? none : found->second;
}

FieldInputs FieldInputs::defaults() {
    FieldInputs inputs;
    for (const FieldDefault& d : kFieldDefaults) {
        inputs.text(d.field) = d.text;
    }
    return inputs;
}

FitSettings settingsFromFields(const FieldInputs& in) {
    FitSettings s;
    s.mode = static_cast<FitMode>(in.fitMode);
    s.model = static_cast<Dielectric>(in.dielectric);
    for (int k = 0; k < kWavelengths; ++k) {
        s.wavelengths[k] = fieldDecimal(in, lambdaField(k + 1));
    }
    s.radius.rmin = fieldDecimal(in, Field::Rmin);
    s.radius.rmax = fieldDecimal(in, Field::Rmax);
    s.jointPlasmaEnergy.highest = fieldDecimal(in, Field::WpMax);
    s.jointPlasmaEnergy.lowest = fieldDecimal(in, Field::WpMin);
    s.jointDamping.highest = fieldDecimal(in, Field::GamMax);
    s.jointDamping.lowest = fieldDecimal(in, Field::GamMin);
    s.radius.steps = fieldInteger(in, Field::N);
    if (s.mode == FitMode::R) {
        s.plasmaEnergy = fieldDecimal(in, Field::Wp);
        s.damping = fieldDecimal(in, Field::Gam);
    } else if (s.mode == FitMode::GR2 || s.mode == FitMode::GR3) {
        s.polarizationPlasmaEnergy = fieldDecimal(in, Field::PolWp);
        s.polarizationDamping.lowest = fieldDecimal(in, Field::PolGamMin);
        s.polarizationDamping.highest = fieldDecimal(in, Field::PolGamMax);
    }
    s.mediumIndex = fieldDecimal(in, Field::MediumIndex);
    s.epsInf = fieldDecimal(in, Field::EpsInf);
    s.sigma.lowest = fieldDecimal(in, Field::SigmaMin);
    s.sigma.highest = fieldDecimal(in, Field::SigmaMax);
    s.refine = in.refine;
    if (const auto refusal = refusalOf(s)) {
        if (refusal->setting == Setting::Model) {
            throw RunError(refusalMessage(*refusal, ""));
        }
        const FieldOfSetting& field = fieldOf(refusal->setting);
        throw FieldError(refusalMessage(*refusal, field.label), field.field);
    }
    return s;
}

} // namespace velmora
