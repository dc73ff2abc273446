// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PauseMeter.h"

#include <algorithm>

namespace velmora::ui {

PauseMeter::PauseMeter(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(tickMs);
    connect(&timer_, &QTimer::timeout, this, &PauseMeter::tick);
}

void PauseMeter::start() {
    largest_ = 0;
    lastTick_ = 0;
    clock_.start();
    timer_.start();
}

void PauseMeter::stop() {
    if (!timer_.isActive()) {
        return;
    }
    tick();
    timer_.stop();
}

void PauseMeter::tick() {
    const qint64 now = clock_.elapsed();
    largest_ = std::max(largest_, now - lastTick_);
    lastTick_ = now;
}

} // namespace velmora::ui
