// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RunController.h"

#include "fit/FieldInputs.h"
#include "fit/ThreadStack.h"
#include "results/TidyTable.h"
#include "ui/ResultDrawing.h"
#include "ui/RunDisplay.h"

#include <QThread>

#include <exception>
#include <utility>

namespace velmora::ui {

RunController::RunController(RunDisplay& display, std::function<bool()> askStop, QObject* parent)
    : QObject(parent), display_(display), askStop_(std::move(askStop)) {
    connect(&drawTimer_, &QTimer::timeout, this, [this] {
        if (!fitEnded_) {
            drawPending();
        } else if (drawPending()) {
            finish();
        }
    });
}

RunController::~RunController() {
    if (worker_ == nullptr) {
        return;
    }
    abandon();
    worker_->wait();
}

void RunController::abandon() {
    // A pending or later stop question is answered Yes, so a stoppable fit
    // ends at its next check.
    {
        std::scoped_lock lock(questionMutex_);
        abandoned_ = true;
    }
    questionAnswered_.notify_all();
    runFlag_.store(false);
}

bool RunController::start(FieldInputs inputs) {
    if (isRunning()) {
        return false;
    }
    runFlag_.store(true);
    abandoned_ = false;
    fitEnded_ = false;
    drawTimer_.setInterval(1000 / drawsPerSecond);
    outcome_ = {};
    clock_.start();
    view_ = std::make_unique<BufferedRunView>(runFlag_, [this] { return askStopFromWorker(); });
    BufferedRunView* view = view_.get();
    worker_ = QThread::create([this, view, inputs = std::move(inputs)] {
        try {
            const FitResult result = runFit(inputs, *view);
            if (result.completed) {
                drawResult(*view, result);
                outcome_.tidyTable =
                    tidyTableLines(result, settingsFromFields(inputs), inputs.dataFile,
                                   std::string("velmora ") + VELMORA_VERSION);
            } else {
                outcome_.kind = RunOutcome::Kind::Stopped;
            }
        } catch (const FieldError& failure) {
            outcome_ = {RunOutcome::Kind::Failed, QString::fromStdString(failure.what()),
                        failure.field()};
        } catch (const std::exception& failure) {
            outcome_ = {RunOutcome::Kind::Failed, QString::fromStdString(failure.what()),
                        std::nullopt};
        }
        outcome_.begun = view->begun();
        outcome_.measurementRead = view->measurementRead();
    });
    worker_->setParent(this);
    worker_->setObjectName(QStringLiteral("FitRun"));
    worker_->setStackSize(kFitThreadStackBytes);
    connect(worker_, &QThread::finished, this, &RunController::onWorkerFinished);
    drawTimer_.start();
    worker_->start();
    return true;
}

bool RunController::askStopFromWorker() {
    std::unique_lock lock(questionMutex_);
    if (abandoned_) {
        return true;
    }
    answerReady_ = false;
    QMetaObject::invokeMethod(this, &RunController::answerStopQuestion, Qt::QueuedConnection);
    questionAnswered_.wait(lock, [this] { return answerReady_ || abandoned_; });
    return abandoned_ || answerYes_;
}

void RunController::answerStopQuestion() {
    // What came before the question goes on screen first: a slice now, the
    // rest while the question waits.
    drawPending();
    const bool yes = askStop_();
    {
        std::scoped_lock lock(questionMutex_);
        answerYes_ = yes;
        answerReady_ = true;
    }
    questionAnswered_.notify_all();
}

bool RunController::drawPending() {
    if (view_) {
        view_->drain(display_);
    }
    return display_.show(drawBudget);
}

// The rest is drawn a slice per turn of the event loop, between its other
// timers and events.
void RunController::onWorkerFinished() {
    fitEnded_ = true;
    drawTimer_.setInterval(0);
    drawTimer_.start();
}

void RunController::finish() {
    drawTimer_.stop();
    worker_->deleteLater();
    worker_ = nullptr;
    view_.reset();
    outcome_.seconds = static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
    emit finished(outcome_);
}

} // namespace velmora::ui
