// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/TidyTable.h"

#include "fit/Printable.h"

#include <array>
#include <charconv>
#include <cmath>

namespace velmora {

const std::string_view kTidyTableHeader =
    "time_s,radius_nm,radius_se_nm,sigma,sigma_se,wp_eV,wp_se_eV,gamma_eV,gamma_se_eV,"
    "concentration,concentration_se,vx_percent,chi2_red,converged,inside_ranges";

namespace {

// The shortest text that reads back as the same double, with the full stop
// whatever the locale; empty for NaN.
std::string cell(double value) {
    if (std::isnan(value)) {
        return {};
    }
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), ec == std::errc() ? end : buffer.data());
}

// A refinement's yes or no; empty where no refinement ran.
std::string flag(bool refined, bool value) {
    if (!refined) {
        return {};
    }
    return value ? "1" : "0";
}

std::string row(double time, const TimePointEstimates& e) {
    std::string line = cell(time);
    for (const Estimate* estimate :
         {&e.radius, &e.sigma, &e.plasmaEnergy, &e.damping, &e.concentration}) {
        line += ',' + cell(estimate->value) + ',' + cell(estimate->standardError);
    }
    line += ',' + cell(e.vx) + ',' + cell(e.chi2Reduced);
    line += ',' + flag(e.refined, e.converged) + ',' + flag(e.refined, e.insideRanges);
    return line;
}

std::string_view modeName(FitMode mode) {
    switch (mode) {
    case FitMode::R:
        return "R (radius)";
    case FitMode::GR1:
        return "GR1 (plasma energy, damping and radius)";
    case FitMode::GR2:
        return "GR2 (damping from the polarisation ratio, then radius)";
    case FitMode::GR3:
        return "GR3 (radius, concentration and damping from the intensities and the "
               "polarisation ratios together)";
    case FitMode::Blank:
        return "blank (no fit)";
    default:
        return "none (no fit)";
    }
}

std::string_view modelName(Dielectric model) {
    switch (model) {
    case Dielectric::Drude:
        return "Drude";
    case Dielectric::Lorents:
        return "Lorents";
    default:
        return "none";
    }
}

// One setting as a comment line: "# name = value unit".
std::string settingLine(std::string_view name, double value, std::string_view unit) {
    std::string line = "# " + std::string(name) + " = " + cell(value);
    if (!unit.empty()) {
        line += ' ' + std::string(unit);
    }
    return line;
}

std::vector<std::string> settingLines(const FitSettings& s) {
    std::vector<std::string> lines;
    for (int k = 0; k < kWavelengths; ++k) {
        std::string name = "wavelength ";
        name += std::to_string(k + 1);
        lines.push_back(settingLine(name, s.wavelengths[k], "nm"));
    }
    lines.push_back(settingLine("rmin", s.radius.rmin, "nm"));
    lines.push_back(settingLine("rmax", s.radius.rmax, "nm"));
    lines.push_back(settingLine("steps", s.radius.steps, ""));
    lines.push_back(settingLine("wp (mode R)", s.plasmaEnergy, "eV"));
    lines.push_back(settingLine("gamma (mode R)", s.damping, "eV"));
    lines.push_back(settingLine("wp min (mode GR1)", s.jointPlasmaEnergy.lowest, "eV"));
    lines.push_back(settingLine("wp max (mode GR1)", s.jointPlasmaEnergy.highest, "eV"));
    lines.push_back(settingLine("gamma min (mode GR1)", s.jointDamping.lowest, "eV"));
    lines.push_back(settingLine("gamma max (mode GR1)", s.jointDamping.highest, "eV"));
    lines.push_back(settingLine("wp (mode GR2)", s.polarizationPlasmaEnergy, "eV"));
    lines.push_back(settingLine("gamma min (mode GR2)", s.polarizationDamping.lowest, "eV"));
    lines.push_back(settingLine("gamma max (mode GR2)", s.polarizationDamping.highest, "eV"));
    lines.push_back(settingLine("medium index", s.mediumIndex, ""));
    lines.push_back(settingLine("eps_inf", s.epsInf, ""));
    lines.push_back(settingLine("sigma min", s.sigma.lowest, ""));
    lines.push_back(settingLine("sigma max", s.sigma.highest, ""));
    lines.push_back("# refine = " + std::string(s.refine ? "yes" : "no"));
    return lines;
}

} // namespace

std::vector<std::string> tidyTableLines(const FitResult& result, const FitSettings& settings,
                                        std::string_view measurementFile,
                                        std::string_view program) {
    std::vector<std::string> lines = {
        "# program = " + printable(program),
        "# measurement = " + printable(measurementFile),
        "# mode = " + std::string(modeName(settings.mode)),
        "# model = " + std::string(modelName(settings.model)),
    };
    for (std::string& line : settingLines(settings)) {
        lines.push_back(std::move(line));
    }
    lines.emplace_back(kTidyTableHeader);
    for (std::size_t i = 0; i < result.estimates.size(); ++i) {
        lines.push_back(row(result.time(static_cast<int>(i)), result.estimates[i]));
    }
    return lines;
}

} // namespace velmora
