// SPDX-License-Identifier: GPL-3.0-or-later
// A RunView that records what a run reports to it, twice over: by kind
// (series, memo lines, progress, status texts) for tests that check one kind,
// and as a log of every call in order with every number's exact bits, so
// that two runs can be compared call by call. The stop flag can be cleared
// at a chosen stop test, and the stop question is answered as told.
#pragma once

#include "fit/RunView.h"

#include <map>
#include <string>
#include <vector>

namespace velmora::test {

class RecordingView : public RunView {
public:
    void clearSeries(SeriesId series) override;
    void addPoints(SeriesId series, std::span<const ChartPoint> points) override;
    void clearMemo(MemoId memo) override;
    void addMemoLines(MemoId memo, std::span<const std::string> lines) override;
    void createProgress(int maximum) override;
    void setProgress(int position) override;
    void setStatusText(int panel, const std::string& text) override;
    bool runFlag() override;
    void setRunFlag() override;
    bool stopConfirmation() override;
    void warn(const std::string& message) override;

    // The calls so far, one line each. A run of stop tests that all found
    // the flag set is one line with its count.
    const std::vector<std::string>& calls();

    // The stop flag; clearAtPoll = k clears it when runFlag() is called for
    // the k-th time (0: never), and the question is answered with answerYes.
    bool flag = false;
    int clearAtPoll = 0;
    bool answerYes = false;
    int polls = 0;
    int questions = 0;
    int pollsAtQuestion = 0;

    std::map<SeriesId, std::vector<ChartPoint>> series;
    std::vector<SeriesId> cleared; // in the order the run cleared them
    std::map<MemoId, std::vector<std::string>> memos;
    std::vector<int> progress; // createProgress(maximum) recorded as -maximum - 1
    std::vector<std::string> status;
    std::vector<std::string> warnings;

private:
    void log(std::string call);

    int setPolls_ = 0; // stop tests since the last other call, all finding the flag set
    std::vector<std::string> calls_;
};

} // namespace velmora::test
