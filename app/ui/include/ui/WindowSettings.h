// SPDX-License-Identifier: GPL-3.0-or-later
// What the window remembers from one start to the next: the fitting mode, the
// dielectric function, the Refine box and the text of every field. A first start (nothing
// stored) shows the defaults; a stored value that is out of range is left
// out. The program reads them at start and writes them at exit (an
// unattended run does neither, so that its results depend on its command
// line alone).
#pragma once

class QSettings;

namespace velmora::ui {

class MainWindow;

void restoreWindowSettings(MainWindow& window, const QSettings& settings);
void saveWindowSettings(const MainWindow& window, QSettings& settings);

} // namespace velmora::ui
