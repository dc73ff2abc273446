// SPDX-License-Identifier: GPL-3.0-or-later
// The program's four windows, created in their start-up order: the main
// window, "Intensity results", About (which shows itself) and Help.
#pragma once

#include "ui/About.h"
#include "ui/HelpDemo.h"
#include "ui/Intensity.h"
#include "ui/MainWindow.h"

#include <memory>

namespace velmora::ui {

class Dialogs;

struct VelmoraWindows {
    VelmoraWindows(Dialogs& dialogs, std::unique_ptr<HelpBrowser> helpBrowser);

    TForm1 Form1;
    TForm2 Form2;
    TForm3 Form3;
    TForm4 Form4;
};

} // namespace velmora::ui
