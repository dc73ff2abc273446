// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CommandLine.h"

#include "ui/MainWindow.h"

#include "fit/FieldInputs.h"
#include "options/SettingOptions.h"

#include <CLI/CLI.hpp>

#include <QLineEdit>

#include <algorithm>
#include <ostream>
#include <set>

namespace velmora::ui {

namespace {

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
    velmora::options::GivenSettings given;
    velmora::options::addSettingOptions(app, given);
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
    if (!given.mode.empty()) {
        options.mode = velmora::options::modeNames().at(given.mode);
    }
    if (!given.model.empty()) {
        options.model = velmora::options::modelNames().at(given.model);
    }
    for (const auto& [setting, text] : given.texts) {
        options.fields[settingField(setting)] = fieldText(text);
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
