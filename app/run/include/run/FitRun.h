// SPDX-License-Identifier: GPL-3.0-or-later
// One fit run: set-up, reading and drawing of the measurement, the fit of the
// selected mode and the results stage, reported through a RunView.
#pragma once

#include "fit/RunError.h"
#include "fit/RunInputs.h"
#include "fit/RunResult.h"
#include "fit/RunView.h"

namespace velmora {

// How a run evaluates its fits. Direct computes every candidate of every
// search one model evaluation after another, in the order the fitting loops
// meet them; it is the reference. Fast computes each distinct model value of
// the run once and scores the candidates of a time point in parallel on all
// cores, with the same results, the same reports to the view and the same
// messages.
enum class EngineKind { Direct, Fast };

// Runs one fit. Throws RunError with the user-facing message when the run
// fails; what was reported to the view before the failure stays reported.
// The view is called only from the calling thread.
RunResult runFit(const RunInputs& inputs, RunView& view, EngineKind engine = EngineKind::Fast);

} // namespace velmora
