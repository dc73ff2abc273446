// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Windows.h"

namespace velmora::ui {

VelmoraWindows::VelmoraWindows(Dialogs& dialogs, std::unique_ptr<HelpBrowser> helpBrowser)
    : Form1(dialogs), Form4(std::move(helpBrowser)) {
    Form1.attachCompanions(Form2, Form4);
}

} // namespace velmora::ui
