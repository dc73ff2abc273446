// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line options that set a fit's settings, written once for
// velmora-fit and velmora: --mode, --model, --wavelengths, the radius grid
// and the plasma energy and damping of each mode. Their texts are kept as
// typed; velmora-fit reads them into FitSettings (settingsOf), the window
// puts them into its fields.
#pragma once

#include "fit/FitSettings.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace velmora::options {

// The settings' options as given.
struct GivenSettings {
    // The mode and dielectric function by name (a key of modeNames() or
    // modelNames()). What a program puts here before the options are added
    // is its default and shown as such; empty: no default, none selected.
    std::string mode;
    std::string model;
    // The text of every other setting given, as typed (a wavelength's from
    // --wavelengths, the steps' from --steps, ...).
    std::map<Setting, std::string> texts;
};

// The fitting modes and the dielectric functions by their names on the
// command line (matched in any letter case).
const std::map<std::string, FitMode>& modeNames();
const std::map<std::string, Dielectric>& modelNames();

// The names of a name table, as CLI::IsMember takes them.
template <typename Value> std::set<std::string> namesOf(const std::map<std::string, Value>& table) {
    std::set<std::string> names;
    for (const auto& entry : table) {
        names.insert(entry.first);
    }
    return names;
}

// Adds the settings' options to `app`, writing what is given into `given`.
// --wavelengths takes exactly four values separated by commas, in one
// argument; anything else is a bad command line.
void addSettingOptions(CLI::App& app, GivenSettings& given);

// The option that sets a setting, as a refusal names it.
std::string optionName(Setting setting);

// `base` changed by the options given, then checked by refusalOf. A text
// that is no number, or a refused setting, throws CLI::ValidationError with
// a message naming the option.
FitSettings settingsOf(const GivenSettings& given, FitSettings base = {});

} // namespace velmora::options
