// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing half of a run's reports, carried out on the user-interface
// thread: what the window does with the series points, memo lines, progress
// and status text a run hands over.
#pragma once

#include "ui/RunDrawing.h"

namespace velmora::ui {

class RunDisplay : public RunDrawing {
public:
    // Called after a batch of drawing calls, once per screen update.
    virtual void finishBatch() = 0;
};

} // namespace velmora::ui
