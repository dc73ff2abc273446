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

    void clearSeries(SeriesId) override {}
    void addPoints(SeriesId, std::span<const ChartPoint>) override {}
    void clearMemo(MemoId) override {}
    void addMemoLines(MemoId, std::span<const std::string>) override {}

    void createProgress(int maximum) override;
    void setProgress(int position) override;
    void setStatusText(int panel, const std::string& text) override;

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
    int maximum_ = 0;
    int position_ = 0; // the furthest position of the current pass
    int shownPercent_ = -1;
    std::string status_;
};

} // namespace velmora::cli
