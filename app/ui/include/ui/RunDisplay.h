// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing half of a run's reports, carried out on the user-interface
// thread: what the window does with the series points, memo lines, progress
// and status text a run hands over. Taking a report only notes it; show puts
// what was noted on screen a slice at a time, so that the event loop is
// never held for long however much a run reports at once.
#pragma once

#include "ui/RunDrawing.h"

#include <chrono>

namespace velmora::ui {

class RunDisplay : public RunDrawing {
public:
    // Shows what was reported since the last call, starting no new piece of
    // work once `budget` has passed; true when everything reported is shown.
    virtual bool show(std::chrono::milliseconds budget) = 0;
};

} // namespace velmora::ui
