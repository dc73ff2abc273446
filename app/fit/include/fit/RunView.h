// SPDX-License-Identifier: GPL-3.0-or-later
// What a fit run reports while it goes, to whoever shows it: the window,
// velmora-fit and the tests each implement this interface. It says that the
// fit has started on a measurement, how far its work has come and which pass
// it is in, and asks whether to stop; the results come back from runFit as a
// FitResult. A run calls it from the thread it runs on; an implementation
// that shows on another thread marshals the calls itself.
#pragma once

#include "fit/FitResult.h"

#include <string>

namespace velmora {

class RunView {
public:
    virtual ~RunView() = default;

    // The measurement is read (T, timePoints and measured of `measurement`
    // are filled, nothing else) and the fit starts.
    virtual void started(const FitResult& measurement) = 0;
    // `done` of the fit's `total` steps are done (a step is one time point of
    // one pass); total stays the same through a run.
    virtual void advanced(int done, int total) = 0;
    // The pass the fit is in, as the user reads it ("Lambda = 457,9" during
    // the polarisation pass of mode "G, R (II)"); empty when it ends.
    virtual void passLabel(const std::string& label) = 0;

    // The stop test's flag: set when a run starts, cleared by a Stop.
    virtual bool runFlag() = 0;
    // Asks runFlag up to `count` times in a row and stops at the first
    // false; returns how many answered true. A view whose flag cannot change
    // between two of those questions in any way the run could tell answers
    // them all at once.
    virtual int pollsWhileSet(int count) {
        for (int n = 0; n < count; ++n) {
            if (!runFlag()) {
                return n;
            }
        }
        return count;
    }
    virtual void setRunFlag() = 0;

    // Asked when a fit finds the stop flag cleared. True (Yes) abandons the
    // run; false (No) sets the flag again and the fit goes on.
    virtual bool stopConfirmation() = 0;

    // A warning that does not end the run, such as a line of the measurement
    // whose intensities no sphere can give. A view that has no place for
    // warnings leaves them out.
    virtual void warn(const std::string& message) { static_cast<void>(message); }
};

} // namespace velmora
