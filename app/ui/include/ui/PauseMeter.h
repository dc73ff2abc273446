// SPDX-License-Identifier: GPL-3.0-or-later
// How long the event loop went without serving a timer: a precise timer
// ticks every tickMs while the meter runs, and the largest time between two
// ticks (or between the last tick and stop) is the largest pause. An event
// loop that is never blocked shows about tickMs.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace velmora::ui {

class PauseMeter : public QObject {
    Q_OBJECT
public:
    static constexpr int tickMs = 5;

    explicit PauseMeter(QObject* parent = nullptr);

    // Starts measuring anew.
    void start();
    // Stops; the time since the last tick counts as a pause too, so that a
    // block that lasts until now is not missed.
    void stop();
    bool running() const { return timer_.isActive(); }

    // The largest pause since start, in milliseconds; while running, up to
    // the last tick.
    qint64 largestPauseMs() const { return largest_; }

private:
    void tick();

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastTick_ = 0;
    qint64 largest_ = 0;
};

} // namespace velmora::ui
