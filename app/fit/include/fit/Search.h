// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces every fitting mode shares: grid values, the window of radius
// indices a time point searches, the score of one candidate and the stop
// test.
#pragma once

#include "fit/Match.h"
#include "fit/RunParameters.h"
#include "fit/RunView.h"

#include <algorithm>

namespace velmora {

// The window of radius indices lo..hi that a time point searches (none when
// hi < lo). It starts at the index the last time point accepted and reaches
// `width` indices higher, never past N, so the fitted radius never shrinks.
struct SearchWindow {
    int lo;
    int hi;

    void moveTo(int accepted, int width, int n) {
        lo = accepted;
        hi = std::min(accepted + width, n);
    }

    // The number of indices lo..hi, 0 when hi < lo; hi - lo is computed
    // wide, so a window whose hi was pulled down to a very negative N does
    // not overflow.
    int size() const {
        return static_cast<int>(std::max<long long>(static_cast<long long>(hi) - lo + 1, 0));
    }
};

// (highest - lowest) / steps, the step of a grid; throws RunError when the
// arithmetic faults (steps = 0 divides by zero).
double gridStep(double lowest, double highest, int steps);

struct GridPoint {
    double value;
    FpFault fault;
};

// start + index * step, the value of a grid point, with the fault its
// arithmetic raised.
GridPoint gridPoint(double start, int index, double step);

// gridPoint's value; throws RunError when the arithmetic faults.
double gridValue(double start, int index, double step);

// MatchIntensities of one candidate: the four evaluations of the run's model
// (runModel) at the run's wavelengths (Lambda[1..4]), then the match; throws
// RunError at the first fault.
MatchValue scoreCandidate(const Measured& measured, const RunParameters& p, double radius,
                          double gam, double wp, double sigma);

// Thrown when the user answers Yes to the stop question: the run ends at
// once, without the results stage.
struct RunStopped {};

// The stop test of the fits with free plasma parameters: when the stop flag
// is cleared, asks the stop question; Yes throws RunStopped, No sets the flag
// again and the caller goes on with the work it was about to do.
void pollStop(RunView& view);

// The stop question of a stop test that found the flag cleared: Yes throws
// RunStopped, No sets the flag again.
void answerStop(RunView& view);

// `count` stop tests in a row, as `count` calls of pollStop make them.
void pollStops(RunView& view, int count);

} // namespace velmora
