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

std::string number(SeriesId series) {
    return std::to_string(static_cast<int>(series));
}

std::string number(MemoId memo) {
    return std::to_string(static_cast<int>(memo));
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

void RecordingView::clearSeries(SeriesId id) {
    series[id].clear();
    cleared.push_back(id);
    log("clearSeries " + number(id));
}

void RecordingView::addPoints(SeriesId id, std::span<const ChartPoint> points) {
    series[id].insert(series[id].end(), points.begin(), points.end());
    std::string call = "addPoints " + number(id);
    for (const ChartPoint& p : points) {
        call +=
            ' ' + exact(p.x) + ',' + exact(p.y) + ',' + std::to_string(static_cast<int>(p.colour));
    }
    log(std::move(call));
}

void RecordingView::clearMemo(MemoId memo) {
    memos[memo].clear();
    log("clearMemo " + number(memo));
}

void RecordingView::addMemoLines(MemoId memo, std::span<const std::string> lines) {
    memos[memo].insert(memos[memo].end(), lines.begin(), lines.end());
    std::string call = "addMemoLines " + number(memo);
    for (const std::string& line : lines) {
        call += '|' + line;
    }
    log(std::move(call));
}

void RecordingView::createProgress(int maximum) {
    progress.push_back(-maximum - 1);
    log("createProgress " + std::to_string(maximum));
}

void RecordingView::setProgress(int position) {
    progress.push_back(position);
    log("setProgress " + std::to_string(position));
}

void RecordingView::setStatusText(int panel, const std::string& text) {
    status.push_back(std::to_string(panel) + ":" + text);
    log("setStatusText " + std::to_string(panel) + ' ' + text);
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
