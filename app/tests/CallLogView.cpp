#include "CallLogView.h"

#include <cstdio>

namespace velmora::test {

namespace {

std::string exact(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

} // namespace

void CallLogView::add(std::string call) {
    if (setPolls_ > 0) {
        calls_.push_back("runFlag set x" + std::to_string(setPolls_));
        setPolls_ = 0;
    }
    calls_.push_back(std::move(call));
}

const std::vector<std::string>& CallLogView::calls() {
    add("end");
    calls_.pop_back();
    return calls_;
}

void CallLogView::clearSeries(SeriesId series) {
    add("clearSeries " + std::to_string(static_cast<int>(series)));
}

void CallLogView::addPoints(SeriesId series, std::span<const ChartPoint> points) {
    std::string call = "addPoints " + std::to_string(static_cast<int>(series));
    for (const ChartPoint& p : points) {
        call +=
            ' ' + exact(p.x) + ',' + exact(p.y) + ',' + std::to_string(static_cast<int>(p.colour));
    }
    add(std::move(call));
}

void CallLogView::clearMemo(MemoId memo) {
    add("clearMemo " + std::to_string(static_cast<int>(memo)));
}

void CallLogView::addMemoLines(MemoId memo, std::span<const std::string> lines) {
    std::string call = "addMemoLines " + std::to_string(static_cast<int>(memo));
    for (const std::string& line : lines) {
        call += '|' + line;
    }
    add(std::move(call));
}

void CallLogView::createProgress(int maximum) {
    add("createProgress " + std::to_string(maximum));
}

void CallLogView::setProgress(int position) {
    add("setProgress " + std::to_string(position));
}

void CallLogView::setStatusText(int panel, const std::string& text) {
    add("setStatusText " + std::to_string(panel) + ' ' + text);
}

bool CallLogView::runFlag() {
    ++polls;
    if (polls == clearAtPoll) {
        flag_ = false;
    }
    if (flag_) {
        ++setPolls_;
        return true;
    }
    add("runFlag cleared at " + std::to_string(polls));
    return false;
}

void CallLogView::setRunFlag() {
    flag_ = true;
    add("setRunFlag");
}

bool CallLogView::stopConfirmation() {
    add(answerYes ? "stopConfirmation yes" : "stopConfirmation no");
    return answerYes;
}

} // namespace velmora::test
