// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ConsoleView.h"

#include <algorithm>
#include <cstdio>

namespace velmora::cli {

namespace {
constexpr int kBarWidth = 40;
}

void ConsoleView::createProgress(int maximum) {
    maximum_ = maximum;
    position_ = 0;
    shownPercent_ = -1;
    draw();
}

// A pass sets the bar back to 0 after each time point; the terminal keeps
// showing how far the pass has come.
void ConsoleView::setProgress(int position) {
    if (position > position_) {
        position_ = position;
        draw();
    }
}

void ConsoleView::setStatusText(int, const std::string& text) {
    std::string shown = text;
    shown.erase(0, shown.find_first_not_of('\t'));
    status_ = shown;
    shownPercent_ = -1;
    draw();
}

void ConsoleView::draw() {
    if (!showProgress_ || maximum_ <= 0) {
        return;
    }
    const int percent = static_cast<int>(100LL * std::min(position_, maximum_) / maximum_);
    if (percent == shownPercent_) {
        return;
    }
    shownPercent_ = percent;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(stderr, "\r\033[K[%s%s] %3d%% %s", std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), percent, status_.c_str());
    std::fflush(stderr);
    drawn_ = true;
}

void ConsoleView::warn(const std::string& message) {
    finish();
    std::fprintf(stderr, "Warning: %s\n", message.c_str());
    std::fflush(stderr);
}

void ConsoleView::finish() {
    if (drawn_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        drawn_ = false;
    }
}

} // namespace velmora::cli
