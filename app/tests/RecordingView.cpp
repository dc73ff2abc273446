// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingView.h"

#include <cstdio>

namespace velmora::test {

namespace {

std::string exact(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

} // namespace

void RecordingView::log(std::string call) {
    if (setPolls_ > 0) {
        calls_.push_back("runFlag set x" + std::to_string(setPolls_));
        setPolls_ = 0;
    }
    calls_.push_back(std::move(call));
}

const std::vector<std::string>& RecordingView::calls() {
    log("end");
    calls_.pop_back();
    return calls_;
}

void RecordingView::started(const FitResult& measurement) {
    ++starts;
    std::string call = "started " + std::to_string(measurement.timePoints);
    for (const Channels& row : measurement.measured) {
        for (double value : row) {
            call += ' ' + exact(value);
        }
    }
    log(std::move(call));
}

void RecordingView::advanced(int done, int total) {
    progress.emplace_back(done, total);
    log("advanced " + std::to_string(done) + " of " + std::to_string(total));
}

void RecordingView::passLabel(const std::string& label) {
    labels.push_back(label);
    log("passLabel " + label);
}

bool RecordingView::runFlag() {
    ++polls;
    if (polls == clearAtPoll) {
        flag = false;
    }
    if (flag) {
        ++setPolls_;
        return true;
    }
    log("runFlag cleared at " + std::to_string(polls));
    return false;
}

void RecordingView::setRunFlag() {
    flag = true;
    log("setRunFlag");
}

bool RecordingView::stopConfirmation() {
    ++questions;
    pollsAtQuestion = polls;
    log(answerYes ? "stopConfirmation yes" : "stopConfirmation no");
    return answerYes;
}

void RecordingView::warn(const std::string& message) {
    warnings.push_back(message);
    log("warn " + message);
}

} // namespace velmora::test
