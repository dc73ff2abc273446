// SPDX-License-Identifier: GPL-3.0-or-later
// What velmora-fit shows of a run: a progress bar on standard error when it
// is a terminal, and the run's warnings on standard error (the tables come
// from the run's result). Nothing
// clears the stop flag, so the stop question never arises.
#pragma once

#include "fit/RunView.h"

#include <string>

namespace velmora::cli {

class ConsoleView : public RunView {
public:
    explicit ConsoleView(bool showProgress) : showProgress_(showProgress) {}

    void started(const FitResult&) override {}
    void advanced(int done, int total) override;
    void passLabel(const std::string& label) override;

    bool runFlag() override { return true; }
    int pollsWhileSet(int count) override { return count; }
    void setRunFlag() override {}
    bool stopConfirmation() override { return false; }
    void warn(const std::string& message) override;

    // Removes the progress bar from the terminal.
    void finish();

private:
    void draw();

    bool showProgress_;
    bool drawn_ = false;
    int total_ = 0;
    int done_ = 0;
    int shownPercent_ = -1;
    std::string label_;
};

} // namespace velmora::cli
