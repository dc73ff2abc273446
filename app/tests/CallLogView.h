// A RunView that writes down every call a run makes to it, every number
// with its exact bits, so that two runs can be compared call by call. A run
// of stop tests that all found the flag set is one entry with its count. The
// flag can be cleared at a chosen stop test, and the stop question is
// answered as told.
#pragma once

#include "fit/RunView.h"

#include <string>
#include <vector>

namespace velmora::test {

class CallLogView : public RunView {
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

    // The calls so far.
    const std::vector<std::string>& calls();

    // clearAtPoll = k clears the flag at the k-th stop test (0: never).
    int clearAtPoll = 0;
    bool answerYes = false;
    int polls = 0;

private:
    void add(std::string call);

    bool flag_ = false;
    int setPolls_ = 0; // stop tests since the last other call, all finding the flag set
    std::vector<std::string> calls_;
};

} // namespace velmora::test
