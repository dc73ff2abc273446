// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ConsoleView.h"

#include <algorithm>
#include <cstdio>

namespace velmora::cli {

namespace {
constexpr int kBarWidth = 40;
}

void ConsoleView::advanced(int done, int total) {
    done_ = done;
    total_ = total;
    draw();
}

void ConsoleView::passLabel(const std::string& label) {
    label_ = label;
    shownPercent_ = -1;
    draw();
}

void ConsoleView::draw() {
    if (!showProgress_ || total_ <= 0) {
        return;
    }
    const int percent = static_cast<int>(100LL * std::min(done_, total_) / total_);
    if (percent == shownPercent_) {
        return;
    }
    shownPercent_ = percent;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(stderr, "\r\033[K[%s%s] %3d%% %s", std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), percent, label_.c_str());
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
