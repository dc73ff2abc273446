// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UnattendedRun.h"

#include "ui/MainWindow.h"
#include "ui/RunController.h"
#include "ui/StatusPanels.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

namespace velmora::ui {

UnattendedRun::UnattendedRun(MainWindow& window, std::ostream& out) : window_(window), out_(out) {
    connect(&window_.runController(), &RunController::finished, this,
            &UnattendedRun::onRunFinished);
}

void UnattendedRun::start(const std::function<void()>& startRun) {
    meter_.start();
    startRun();
    if (!window_.runGoing()) {
        // Refused before it started: the window says why.
        onRunFinished(RunOutcome{RunOutcome::Kind::Failed, {}, std::nullopt, 0.0});
    }
}

void UnattendedRun::onRunFinished(const RunOutcome& outcome) {
    const int status = outcome.kind == RunOutcome::Kind::Done ? 0 : 1;
    QTimer::singleShot(paintingMs, this, [this, status] {
        meter_.stop();
        out_ << window_.statusPanels()->note()->fullText().toStdString() << '\n'
             << "largest pause " << meter_.largestPauseMs() << " ms" << std::endl;
        window_.close();
        QApplication::exit(status);
    });
}

} // namespace velmora::ui
