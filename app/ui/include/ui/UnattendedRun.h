// SPDX-License-Identifier: GPL-3.0-or-later
// velmora --quit-after-run: one run in the window, then the window closes.
// The run's status line ("Done in 0.41 s") and the largest pause of the
// event loop from the start of the run until the painting after its end
// ("largest pause 37 ms") go to standard output; the exit status is 0 after
// a finished run and 1 after one that failed or was stopped.
#pragma once

#include "ui/PauseMeter.h"

#include <QObject>

#include <functional>
#include <ostream>

namespace velmora::ui {

class MainWindow;
struct RunOutcome;

class UnattendedRun : public QObject {
    Q_OBJECT
public:
    // How long the meter keeps measuring after the run, while the window
    // paints what the run left.
    static constexpr int paintingMs = 100;

    UnattendedRun(MainWindow& window, std::ostream& out);

    // Starts the run with `startRun` (which opens a file or runs Open);
    // quits the application with the exit status once the run has ended.
    void start(const std::function<void()>& startRun);

private:
    void onRunFinished(const RunOutcome& outcome);

    MainWindow& window_;
    std::ostream& out_;
    PauseMeter meter_;
};

} // namespace velmora::ui
