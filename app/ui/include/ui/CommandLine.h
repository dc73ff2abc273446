// SPDX-License-Identifier: GPL-3.0-or-later
// velmora's command line, parsed with CLI11 before any window exists (help,
// the version and errors need no display): the options of velmora-fit that
// set the mode, the dielectric function and the fields, the measurement file
// to open at once, and --quit-after-run. The toolkit's own options (one dash
// and a word: -platform offscreen) are left to the application object.
#pragma once

#include "fit/Fields.h"
#include "fit/FitSettings.h"

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmora::ui {

class MainWindow;

struct WindowOptions {
    std::optional<FitMode> mode;
    std::optional<Dielectric> model;
    std::map<Field, std::string> fields; // the texts given, comma as decimal mark
    bool refine = false;                 // --refine ticks the Refine box
    std::optional<std::string> file;     // opened at once, as Open starts a run
    // Closes the window when the run ends and prints its status line and
    // the run's largest event-loop pause.
    bool quitAfterRun = false;
};

// What the command line asks for: options to open the window with, or an
// exit status once help, the version or an error has been printed.
struct WindowCommandLine {
    std::optional<WindowOptions> options;
    int exitStatus = 0;
};

// Parses the arguments after the program name; help and the version go to
// out, errors to err (exit status 2).
WindowCommandLine parseWindowCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                         std::ostream& err);

// Selects the mode and the dielectric function and fills the fields the
// options name; the rest keep their defaults.
void applyOptions(const WindowOptions& options, MainWindow& window);

} // namespace velmora::ui
