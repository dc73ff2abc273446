// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one fit at a time on a worker thread with the stack of
// kFitThreadStackBytes and hands its reports to the window at screen pace:
// at most drawsPerSecond times a second a slice of at most drawBudget of
// drawing, so the event loop is never held for long. When the fit has ended,
// the rest is drawn in such slices too, one event-loop turn apart, and only
// then is the run finished.
// The program-wide run flag lives here: a run sets it when it starts and the
// Stop action clears it; the stop question a run asks is put to the user on
// the user-interface thread while the run waits for the answer.
#pragma once

#include "run/FitRun.h"
#include "ui/BufferedRunView.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class QThread;

namespace velmora::ui {

class RunDisplay;

// How a run ended.
struct RunOutcome {
    enum class Kind { Done, Stopped, Failed };
    Kind kind = Kind::Done;
    QString errorMessage;       // the failure's message, exactly (Failed)
    std::optional<Field> field; // the field that made it fail, if one did
    double seconds = 0.0;       // from start to end, on the wall clock
    // The run's settings were accepted, so it went on to read the file.
    bool begun = false;
    // The measurement file was read (and its points drawn).
    bool measurementRead = false;
    // A finished run's result in tidy form (File -> "Save as CSV…").
    std::vector<std::string> tidyTable{};
};

class RunController : public QObject {
    Q_OBJECT
public:
    static constexpr int drawsPerSecond = 20;
    static constexpr std::chrono::milliseconds drawBudget{10};

    // askStop answers the stop question on the user-interface thread
    // (true = Yes).
    RunController(RunDisplay& display, std::function<bool()> askStop, QObject* parent = nullptr);
    ~RunController() override;

    // From start until finished: fitting, then drawing what is left.
    bool isRunning() const { return worker_ != nullptr; }
    // The fit's thread has not ended yet.
    bool isFitting() const { return worker_ != nullptr && !fitEnded_; }
    bool runFlag() const { return runFlag_.load(); }

    // Starts a run on a snapshot of the window's fields; false while a run
    // is going (nothing is started then).
    bool start(FieldInputs inputs);
    // The Stop action: clears the run flag.
    void stop() { runFlag_.store(false); }
    // The window is closing: the run ends at its next stop test without
    // asking (a radius fit, which has none, runs to its end).
    void abandon();

signals:
    // The run has ended and everything it reported is drawn.
    void finished(const velmora::ui::RunOutcome& outcome);

private:
    bool askStopFromWorker();
    void answerStopQuestion();
    // One slice of drawing; true when everything reported is shown.
    bool drawPending();
    void onWorkerFinished();
    void finish();

    RunDisplay& display_;
    std::function<bool()> askStop_;
    std::atomic<bool> runFlag_{false};
    std::unique_ptr<BufferedRunView> view_;
    QThread* worker_ = nullptr;
    bool fitEnded_ = false;
    RunOutcome outcome_;
    QElapsedTimer clock_;
    QTimer drawTimer_;

    std::mutex questionMutex_;
    std::condition_variable questionAnswered_;
    bool answerReady_ = false;
    bool answerYes_ = false;
    bool abandoned_ = false;
};

} // namespace velmora::ui
