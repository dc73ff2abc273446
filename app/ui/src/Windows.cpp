// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Windows.h"

namespace velmora::ui {

VelmoraWindows::VelmoraWindows(Dialogs& dialogs, std::unique_ptr<HelpBrowser> helpBrowser)
    : mainWindow(dialogs), aboutWindow(&mainWindow), helpWindow(std::move(helpBrowser)) {
    mainWindow.attachCompanions(intensityWindow, helpWindow, aboutWindow);
}

} // namespace velmora::ui
