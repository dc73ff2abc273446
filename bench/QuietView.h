// SPDX-License-Identifier: GPL-3.0-or-later
// The view of a benchmark's runs: shows nothing and is never stopped.
#pragma once

#include "fit/RunView.h"

#include <string>

namespace velmora {

class QuietView : public RunView {
public:
    void started(const FitResult&) override {}
    void advanced(int, int) override {}
    void passLabel(const std::string&) override {}
    bool runFlag() override { return true; }
    int pollsWhileSet(int count) override { return count; }
    void setRunFlag() override {}
    bool stopConfirmation() override { return false; }
};

} // namespace velmora
