// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CommandLine.h"

#include "ui/MainWindow.h"

#include <CLI/CLI.hpp>

#include <QLineEdit>

#include <algorithm>
#include <ostream>
#include <set>

namespace velmora::ui {

namespace {

const std::map<std::string, FitMode> kModes = {
    {"R", FitMode::R}, {"GR1", FitMode::GR1}, {"GR2", FitMode::GR2}, {"none", FitMode::None}};
const std::map<std::string, Dielectric> kModels = {{"Drude", Dielectric::Drude},
                                                   {"Lorents", Dielectric::Lorents}};

struct FieldOption {
    const char* name;
    Field field;
    const char* description;
};

// The names velmora-fit gives these fields.
const FieldOption kFieldOptions[] = {
    {"--rmin", Field::Rmin, "smallest radius in nm"},
    {"--rmax", Field::Rmax, "largest radius in nm"},
    {"--steps", Field::N, "number of radius steps"},
    {"--wp", Field::Wp, "plasma energy in eV, mode R"},
    {"--gamma", Field::Gam, "damping in eV, mode R"},
    {"--wp-min", Field::WpMin, "smallest plasma energy in eV, mode GR1"},
    {"--wp-max", Field::WpMax, "largest plasma energy in eV, mode GR1"},
    {"--gamma-min", Field::GamMin, "smallest damping in eV, mode GR1"},
    {"--gamma-max", Field::GamMax, "largest damping in eV, mode GR1"},
    {"--wp2", Field::PolWp, "plasma energy in eV, mode GR2"},
    {"--gamma2-min", Field::PolGamMin, "smallest damping in eV, mode GR2"},
    {"--gamma2-max", Field::PolGamMax, "largest damping in eV, mode GR2"},
};

template <typename Value>
std::vector<std::string> names(const std::map<std::string, Value>& table) {
    std::vector<std::string> keys;
    for (const auto& entry : table) {
        keys.push_back(entry.first);
    }
    return keys;
}

// A number as the window's fields show it: with the decimal comma.
std::string fieldText(std::string text) {
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

// The toolkit's own options (-platform offscreen, -style=fusion, -reverse,
// ...) are the application object's to read: one dash and a word. These
// take the next argument as their value unless they carry it after "=".
const std::set<std::string> kToolkitOptionsWithValue = {"-platform",        "-platformpluginpath",
                                                        "-platformtheme",   "-plugin",
                                                        "-qwindowgeometry", "-qwindowicon",
                                                        "-qwindowtitle",    "-display",
                                                        "-geometry",        "-style",
                                                        "-stylesheet",      "-session",
                                                        "-title",           "-name"};

bool isToolkitOption(const std::string& arg) {
    return arg.size() > 2 && arg[0] == '-' && arg[1] != '-';
}

// The arguments without the toolkit's options and their values.
std::vector<std::string> ownArguments(const std::vector<std::string>& args) {
    std::vector<std::string> own;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!isToolkitOption(args[i])) {
            own.push_back(args[i]);
        } else if (kToolkitOptionsWithValue.count(args[i]) > 0) {
            ++i;
        }
    }
    return own;
}

constexpr const char* kDescription =
    "Opens the velmora window, which fits time-resolved light-scattering measurements to Mie "
    "theory. The options set the window's fields as velmora-fit's do; with FILE the window opens "
    "it and starts a run at once, as File -> Open does. Decimal values take the full stop or the "
    "comma. The toolkit's own options (-platform offscreen, -style NAME, ...) are taken too.";

} // namespace

WindowCommandLine parseWindowCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                         std::ostream& err) {
    WindowOptions options;
    CLI::App app{kDescription, "velmora"};
    app.set_version_flag("--version", std::string("velmora ") + VELMORA_VERSION);
    std::string file;
    app.add_option("FILE", file, "the measurement file to open")->type_name("FILE");
    std::string mode;
    app.add_option("--mode", mode,
                   "fitting mode: radius (R), plasma energy, damping and radius (GR1, \"G, R "
                   "(I)\"), damping from the polarisation ratio (GR2, \"G, R (II)\") or none; any "
                   "letter case; by default no mode is selected")
        ->type_name("MODE")
        ->transform(CLI::IsMember(names(kModes), CLI::ignore_case));
    std::string model;
    app.add_option("--model", model,
                   "dielectric function; any letter case; by default none is selected")
        ->type_name("MODEL")
        ->transform(CLI::IsMember(names(kModels), CLI::ignore_case));
    std::vector<std::string> wavelengths;
    app.add_option("--wavelengths", wavelengths, "the four laser wavelengths in nm")
        ->type_name("L1,L2,L3,L4")
        ->delimiter(',')
        ->expected(4);
    std::map<Field, std::string> texts;
    for (const FieldOption& option : kFieldOptions) {
        std::string field(defaultText(option.field));
        std::replace(field.begin(), field.end(), ',', '.');
        app.add_option(option.name, texts[option.field], option.description)
            ->type_name("NUMBER")
            ->default_str(field);
    }
    app.add_flag("--quit-after-run", options.quitAfterRun,
                 "close the window when the run ends, print its status line and the largest "
                 "pause of the event loop during the run; exit status 0 after a finished run, 1 "
                 "after one that failed or was stopped");
    try {
        // CLI11 takes the arguments last first.
        const std::vector<std::string> own = ownArguments(args);
        std::vector<std::string> reversed(own.rbegin(), own.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error, out, err);
        return {std::nullopt, status == 0 ? 0 : 2};
    }
    if (!mode.empty()) {
        options.mode = kModes.at(mode);
    }
    if (!model.empty()) {
        options.model = kModels.at(model);
    }
    for (std::size_t k = 0; k < wavelengths.size(); ++k) {
        options.fields[lambdaField(static_cast<int>(k) + 1)] = fieldText(wavelengths[k]);
    }
    for (const FieldOption& option : kFieldOptions) {
        if (app.count(option.name) > 0) {
            options.fields[option.field] = fieldText(texts[option.field]);
        }
    }
    if (!file.empty()) {
        options.file = file;
    }
    return {std::move(options), 0};
}

void applyOptions(const WindowOptions& options, MainWindow& window) {
    if (options.mode) {
        window.selectMode(static_cast<int>(*options.mode));
    }
    if (options.model) {
        window.selectModel(static_cast<int>(*options.model));
    }
    for (const auto& [field, text] : options.fields) {
        window.edit(field)->setText(QString::fromStdString(text));
    }
}

} // namespace velmora::ui
