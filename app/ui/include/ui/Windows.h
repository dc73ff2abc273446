// SPDX-License-Identifier: GPL-3.0-or-later
// The program's four windows, created in their start-up order: the main
// window, "Intensity results", About (which shows itself) and Help.
#pragma once

#include "ui/AboutWindow.h"
#include "ui/HelpWindow.h"
#include "ui/IntensityWindow.h"
#include "ui/MainWindow.h"

#include <memory>

namespace velmora::ui {

class Dialogs;

struct VelmoraWindows {
    VelmoraWindows(Dialogs& dialogs, std::unique_ptr<HelpBrowser> helpBrowser);

    MainWindow mainWindow;
    IntensityWindow intensityWindow;
    AboutWindow aboutWindow;
    HelpWindow helpWindow;
};

} // namespace velmora::ui
