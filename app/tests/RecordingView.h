// SPDX-License-Identifier: GPL-3.0-or-later
// A RunView that records what a run reports to it, twice over: by kind
// (starts, progress, pass labels) for tests that check one kind, and as a log
// of every call in order with every number's exact bits, so that two runs can
// be compared call by call. The stop flag can be cleared at a chosen stop
// test, and the stop question is answered as told.
#pragma once

#include "fit/RunView.h"

#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

class RecordingView : public RunView {
public:
    void started(const FitResult& measurement) override;
    void advanced(int done, int total) override;
    void passLabel(const std::string& label) override;
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

    int starts = 0;                            // started() calls
    std::vector<std::pair<int, int>> progress; // (done, total) of every advanced()
    std::vector<std::string> labels;           // every pass label
    std::vector<std::string> warnings;

private:
    void log(std::string call);

    int setPolls_ = 0; // stop tests since the last other call, all finding the flag set
    std::vector<std::string> calls_;
};

} // namespace velmora::test
