// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's input fields and combo boxes by name, and their default
// texts: the one place that says which field Edit<k> holds which parameter.
#pragma once

#include <array>
#include <string_view>

namespace velmora {

// The text fields Edit1..Edit21; the value is the number in the field's name.
// Edit19 does not exist.
enum class Field {
    // The four wavelengths, nm.
    Lambda1 = 1,
    Lambda2 = 2,
    Lambda3 = 3,
    Lambda4 = 4,
    // Mode "R": plasma energy and damping, eV.
    Wp = 5,
    Gam = 6,
    // Mode "G, R (I)": ranges of plasma energy and damping, eV.
    WpMin = 7,
    WpMax = 11,
    GamMin = 12,
    GamMax = 13,
    // Every mode: the radius range, nm, and the number of radius steps.
    Rmin = 8,
    Rmax = 9,
    N = 10,
    // Mode "G, R (II)": plasma energy and damping range, eV.
    PolWp = 18,
    PolGamMin = 20,
    PolGamMax = 21,
    // Every mode: the particle in its medium (the medium's refractive index
    // and the background permittivity eps_inf) and the range of the spread
    // of sizes (the standard deviation of ln R).
    MediumIndex = 14,
    EpsInf = 15,
    SigmaMin = 16,
    SigmaMax = 17,
};

// One past the highest field number: arrays indexed by field number.
constexpr int kFieldSlots = 22;

// The wavelength field of wavelength k (1..4).
constexpr Field lambdaField(int k) {
    return static_cast<Field>(static_cast<int>(Field::Lambda1) + k - 1);
}

struct FieldDefault {
    Field field;
    std::string_view text;
};

// The text every field shows when the window opens.
constexpr std::array<FieldDefault, 20> kFieldDefaults{{
    {Field::Lambda1, "457,9"}, {Field::Lambda2, "514,5"}, {Field::Lambda3, "568,2"},
    {Field::Lambda4, "647,1"}, {Field::Wp, "5,6"},        {Field::Gam, "1"},
    {Field::WpMin, "5,6"},     {Field::Rmin, "20"},       {Field::Rmax, "200"},
    {Field::N, "200"},         {Field::WpMax, "5,6"},     {Field::GamMin, "0"},
    {Field::GamMax, "2"},      {Field::PolWp, "5,6"},     {Field::PolGamMin, "0"},
    {Field::PolGamMax, "2"},   {Field::MediumIndex, "1"}, {Field::EpsInf, "1"},
    {Field::SigmaMin, "0"},    {Field::SigmaMax, "0"},
}};

// The default text of a field.
constexpr std::string_view defaultText(Field field) {
    for (const FieldDefault& d : kFieldDefaults) {
        if (d.field == field) {
            return d.text;
        }
    }
    return {};
}

} // namespace velmora
